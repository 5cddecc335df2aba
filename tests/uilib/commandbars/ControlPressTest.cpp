// The pressed-state loop of a button on a bar window, driven by posted mouse messages: a release
// inside executes once, a release outside does not, the repeat timer executes while held, and
// WM_QUIT ends the loop and stays in the queue for the thread's own loop.
#include "RwTest.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/ControlButton.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/foundation/CaptureLoop.h"

#include <windowsx.h>

namespace
{
const LPCWSTR kSiteClass = L"RwControlPressSite";
int g_commands = 0;
int g_lastCommand = 0;

LRESULT CALLBACK SiteProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
    {
        ++g_commands;
        g_lastCommand = LOWORD(wParam);
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// A site window and a bar window (a child of it) with one button at (10, 10, 40, 40).
struct Fixture
{
    HWND site = nullptr;
    HWND barWindow = nullptr;
    CWVPCommandBar* bar = nullptr;
    CWVPControl* button = nullptr;

    Fixture()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = SiteProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kSiteClass;
        ::RegisterClassW(&wc);
        site = ::CreateWindowExW(0, kSiteClass, L"site", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 120, nullptr,
                                 nullptr, wc.hInstance, nullptr);
        barWindow = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 150, 60, site, nullptr,
                                      wc.hInstance, nullptr);
        bar = static_cast<CWVPCommandBar*>(CWVPCommandBar::CreateObject());
        bar->Attach(barWindow);
        bar->SetPosition(wvpBarTop);
        bar->SetOwnerSite(site);
        button = bar->GetControls()->AddByType(wvpControlButton, 4711);
        button->SetRect(CRect(10, 10, 40, 40));
        g_commands = 0;
        g_lastCommand = 0;
        Drain();
    }
    ~Fixture()
    {
        bar->Detach();
        bar->InternalRelease();
        ::DestroyWindow(site);
        Drain();
    }
    static void Drain()
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            if (msg.message != WM_QUIT)
                ::DispatchMessageW(&msg);
    }
    void Post(UINT message, int x, int y)
    {
        ::PostMessageW(barWindow, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
    }
};
} // namespace

TEST(ControlPressTest, AReleaseInsideExecutesOnce)
{
    Fixture f;
    f.Post(WM_MOUSEMOVE, 20, 20);
    f.Post(WM_LBUTTONUP, 20, 20);
    f.button->OnClick(FALSE, CPoint(20, 20));
    EXPECT_EQ(1, g_commands);
    EXPECT_EQ(4711, g_lastCommand);
    EXPECT_EQ(0, f.button->GetPressed());
    EXPECT_EQ(0, f.button->GetSelected());
    EXPECT_NE(f.barWindow, ::GetCapture());
    // The status line is left to what the command showed while the mouse leaves the button.
    EXPECT_EQ(f.button->GetIndex(), f.bar->GetStatusControl());
}

TEST(ControlPressTest, AReleaseOutsideDoesNotExecute)
{
    Fixture f;
    f.Post(WM_MOUSEMOVE, 100, 50);
    f.Post(WM_LBUTTONUP, 100, 50);
    f.button->OnClick(FALSE, CPoint(20, 20));
    EXPECT_EQ(0, g_commands);
}

TEST(ControlPressTest, HoldingRepeatsAndTheReleaseAddsNothing)
{
    Fixture f;
    f.button->SetExecuteOnPressInterval(50);
    // Three ticks of the repeat timer while the button is held, then the release.
    for (int i = 0; i < 3; ++i)
        ::PostMessageW(f.barWindow, WM_TIMER, WVP_TIMER_EXECUTEREPEAT, 0);
    f.Post(WM_LBUTTONUP, 20, 20);
    f.button->OnClick(FALSE, CPoint(20, 20));
    // Once at the press, once per tick, none at the release.
    EXPECT_EQ(4, g_commands);
}

TEST(ControlPressTest, QuitEndsTheLoopAndIsPostedAgain)
{
    Fixture f;
    ::PostQuitMessage(7);
    f.button->OnClick(FALSE, CPoint(20, 20));
    EXPECT_EQ(0, g_commands);
    EXPECT_EQ(0, f.button->GetPressed());
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
}

// A loop whose window loses the capture ends, as does one whose handler stops it.
TEST(ControlPressTest, CaptureLoopsEndOnLostCapture)
{
    Fixture f;
    struct Loop : CWVPCaptureLoop
    {
        using CWVPCaptureLoop::CWVPCaptureLoop;
        int seen = 0;
        BOOL OnMessage(MSG& msg) override
        {
            ++seen;
            if (msg.message == WM_APP)
                ::SetCapture(::GetParent(GetWindow()));
            if (msg.message == WM_APP + 1)
                Stop();
            return FALSE;
        }
    } loop(f.barWindow);
    ::PostMessageW(f.barWindow, WM_APP, 0, 0);
    ::PostMessageW(f.barWindow, WM_NULL, 0, 0);
    EXPECT_EQ(CWVPCaptureLoop::CaptureLost, loop.Run());
    ::ReleaseCapture();
    ::PostMessageW(f.barWindow, WM_APP + 1, 0, 0);
    EXPECT_EQ(CWVPCaptureLoop::Stopped, loop.Run());
    EXPECT_NE(f.barWindow, ::GetCapture());
}
