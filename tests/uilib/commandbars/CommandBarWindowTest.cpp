// The command bar as a window without real input: what it paints for hot and pressed controls,
// selection rules, the tracking loop's end on a quit request or a vanished owner, and the keyboard
// tips it derives (clashes resolved with caption letters, then digits).
#include "CommandBarHost.h"
#include "DibCanvas.h"
#include "ProbeProcess.h"
#include "RwTest.h"
#include "WideText.h"
#include "uilib/commandbars/CommandBarKeyboardTip.h"
#include "uilib/commandbars/KeyboardManager.h"
#include "uilib/commandbars/MouseManager.h"

#include <string>
#include <vector>

using rwtest::CommandBarHost;
using rwtest::HostLog;

namespace
{
// The bar's client area as WM_PRINTCLIENT draws it.
void PrintBar(CWVPCommandBar* bar, DibCanvas& canvas)
{
    ::SendMessageW(bar->GetSafeHwnd(), WM_PRINTCLIENT, WPARAM(canvas.dc()), PRF_CLIENT);
}

int CountDifferent(const DibCanvas& a, const DibCanvas& b, const CRect& rc)
{
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += a.At(x, y) != b.At(x, y);
    return n;
}

BOOL KeyboardHooked()
{
    CWVPKeyboardManager* keyboard = WVPKeyboardManagerNA();
    return keyboard && keyboard->IsHooked();
}

// Ends a tracking loop that should have ended on its own, so that a fault fails the test instead
// of hanging it.
CWVPCommandBar* g_failsafeBar = nullptr;
bool g_failsafeFired = false;
void CALLBACK FailsafeTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    g_failsafeFired = true;
    if (g_failsafeBar)
        WVPMouseManager()->CloseTrackedBars();
}

HWND g_doomed = nullptr;
void CALLBACK DestroyTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    ::DestroyWindow(g_doomed);
}

void RunTrackingLoop(CWVPCommandBar* bar)
{
    g_failsafeBar = bar;
    g_failsafeFired = false;
    const UINT_PTR failsafe = ::SetTimer(nullptr, 0, 10000, FailsafeTimer);
    bar->PumpTrackingMessages();
    ::KillTimer(nullptr, failsafe);
    g_failsafeBar = nullptr;
}
} // namespace

TEST(CommandBarWindowTest, PaintsHotAndPressedControlsOnly)
{
    CommandBarHost host;
    host.Add(wvpControlButton, 11, L"One");
    host.Add(wvpControlButton, 12, L"Two");
    host.Add(wvpControlButton, 13, L"Three");
    host.Layout();
    CRect client;
    ::GetClientRect(host.bar->GetSafeHwnd(), &client);
    DibCanvas normal(client.Width(), client.Height()), hot(client.Width(), client.Height()),
        pressed(client.Width(), client.Height());
    PrintBar(host.bar, normal);

    EXPECT_TRUE(host.bar->SetSelected(1, FALSE));
    EXPECT_FALSE(host.bar->SetSelected(1, FALSE)) << "selecting the selected control again changes nothing";
    EXPECT_EQ(1, host.bar->GetControl(1)->GetSelected());
    PrintBar(host.bar, hot);
    host.bar->GetControl(1)->SetPressed(1);
    PrintBar(host.bar, pressed);

    const CRect two = host.bar->GetControl(1)->GetRect();
    EXPECT_GT(CountDifferent(normal, hot, two), 10) << "the hot control is drawn differently";
    EXPECT_GT(CountDifferent(hot, pressed, two), 10) << "the pressed control is drawn differently";
    for (int other : {0, 2})
    {
        const CRect rc = host.bar->GetControl(other)->GetRect();
        EXPECT_EQ(0, CountDifferent(normal, hot, rc)) << other;
        EXPECT_EQ(0, CountDifferent(normal, pressed, rc)) << other;
    }
    // The bar's own WM_PAINT shows the same picture as WM_PRINTCLIENT.
    ::RedrawWindow(host.bar->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    DibCanvas screen(client.Width(), client.Height());
    HDC dc = ::GetDC(host.bar->GetSafeHwnd());
    ::BitBlt(screen.dc(), 0, 0, client.Width(), client.Height(), dc, 0, 0, SRCCOPY);
    ::ReleaseDC(host.bar->GetSafeHwnd(), dc);
    EXPECT_EQ(0, CountDifferent(pressed, screen, client));

    host.bar->GetControl(1)->SetPressed(0);
    EXPECT_TRUE(host.bar->SetSelected(-1, FALSE));
    EXPECT_EQ(0, host.bar->GetControl(1)->GetSelected());
    EXPECT_FALSE(host.bar->SetSelected(7, FALSE)) << "an index outside the bar selects nothing";
}

TEST(CommandBarWindowTest, DisabledControlCannotOpen)
{
    CommandBarHost host;
    host.Add(wvpControlPopup, 0, L"&Menu")->SetEnabled(0);
    host.Layout();
    EXPECT_FALSE(host.bar->SetPopuped(0, FALSE));
    EXPECT_EQ(-1, host.bar->GetPopuped());
}

TEST(CommandBarWindowTest, QuitRequestEndsTrackingAndIsPostedAgain)
{
    CommandBarHost host;
    host.Add(wvpControlButton, 11, L"&One");
    host.Layout();
    ASSERT_TRUE(host.bar->SetTrackingMode(1, TRUE, TRUE));
    EXPECT_EQ(0, host.bar->GetSelected());
    EXPECT_TRUE(KeyboardHooked());
    ::PostQuitMessage(7);
    RunTrackingLoop(host.bar);
    EXPECT_FALSE(g_failsafeFired) << "the loop did not end on WM_QUIT";
    EXPECT_EQ(0, host.bar->GetTrackingMode());
    EXPECT_EQ(0, WVPMouseManager()->GetTrackedCount());
    EXPECT_FALSE(KeyboardHooked());
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit request was swallowed";
    EXPECT_EQ(7u, msg.wParam);
}

TEST(CommandBarWindowTest, OwnerDestroyedWhileTrackingEndsCleanly)
{
    // The bar works for a separate owner window, which a timer destroys while the loop runs.
    CommandBarHost host;
    host.Add(wvpControlButton, 11, L"&One");
    host.Add(wvpControlButton, 12, L"&Two");
    host.Layout();
    HWND owner = ::CreateWindowExW(0, L"RwCommandBarHost", L"Owner", WS_POPUP | WS_VISIBLE, 600, 100, 100, 100, nullptr,
                                   nullptr, ::GetModuleHandleW(nullptr), nullptr);
    host.bar->SetOwnerSite(owner);
    CWVPCommandBar* second = static_cast<CWVPCommandBar*>(CWVPCommandBar::CreateObject());
    second->CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, 0, 40, 100, 24, host.host, nullptr);
    ASSERT_TRUE(second->SetTrackingMode(1, FALSE, TRUE));
    ASSERT_TRUE(host.bar->SetTrackingMode(1, TRUE, TRUE));
    EXPECT_EQ(2, WVPMouseManager()->GetTrackedCount());
    g_doomed = owner;
    ::SetTimer(nullptr, 0, 30, DestroyTimer);
    RunTrackingLoop(host.bar);
    EXPECT_FALSE(g_failsafeFired) << "tracking outlived its owner";
    EXPECT_FALSE(::IsWindow(owner));
    EXPECT_EQ(0, host.bar->GetTrackingMode());
    EXPECT_EQ(0, second->GetTrackingMode()) << "every tracked bar is released";
    EXPECT_EQ(0, WVPMouseManager()->GetTrackedCount());
    EXPECT_EQ(-1, host.bar->GetSelected());
    EXPECT_FALSE(KeyboardHooked()) << "no keyboard hook is left";
    second->InternalRelease();
}

struct TipCase
{
    std::vector<LPCWSTR> captions;
    std::vector<LPCWSTR> tips;
};

TEST(CommandBarWindowTest, KeyboardTipsResolveClashes)
{
    const TipCase cases[] = {
        {{L"&File", L"&Edit", L"&View"}, {L"F", L"E", L"V"}},
        {{L"Save", L"Save As", L"Settings", L"&Open"}, {L"SA", L"SV", L"SE", L"O"}},
        {{L"Fish && Chips", L"&&Gone", L"Ex&it"}, {L"F", L"&", L"I"}},
        {{L"S", L"S", L"S"}, {L"S1", L"S2", L"S3"}},
        {{L"New &Tab", L"&Tools"}, {L"TN", L"TO"}},
    };
    for (const TipCase& c : cases)
    {
        CommandBarHost host;
        for (LPCWSTR caption : c.captions)
            host.Add(wvpControlButton, 20, caption);
        host.Layout();
        ASSERT_TRUE(host.bar->SetTrackingMode(1, TRUE, TRUE));
        host.manager->ShowKeyboardTips(host.bar, 1);
        EXPECT_EQ(1, host.bar->GetKeyboardTipsState());
        auto& tips = host.manager->GetKeyboardTips();
        ASSERT_EQ(INT_PTR(c.tips.size()), tips.GetSize()) << rwtest::Utf8(c.captions[0]);
        for (size_t i = 0; i < c.tips.size(); ++i)
        {
            const CString text = tips[INT_PTR(i)]->GetTipText();
            EXPECT_EQ(rwtest::Utf8(c.tips[i]), rwtest::Utf8(text)) << rwtest::Utf8(c.captions[0]) << " tip " << i;
            // Each tip window shows near its control's bottom-left corner.
            const HWND tip = tips[INT_PTR(i)]->GetSafeHwnd();
            ASSERT_TRUE(::IsWindowVisible(tip));
            RECT rc;
            ::GetWindowRect(tip, &rc);
            POINT anchor = {host.bar->GetControl(int(i))->GetRect().left + 12,
                            host.bar->GetControl(int(i))->GetRect().bottom - 11};
            ::ClientToScreen(host.bar->GetSafeHwnd(), &anchor);
            EXPECT_EQ(anchor.x, rc.left);
            EXPECT_EQ(anchor.y, rc.top);
            EXPECT_GE(rc.right - rc.left, 16);
            EXPECT_GE(rc.bottom - rc.top, 15);
        }
        host.bar->SetTrackingMode(0, TRUE, FALSE);
        EXPECT_EQ(0, host.manager->GetKeyboardTips().GetSize()) << "tips go when tracking ends";
    }
}

// A whole process whose bars still track on two threads when the exit sequence runs: the thread
// managers and their hooks go in the sequence and the exit code survives (the probe answers 90
// and up when a check fails).
TEST(CommandBarExitTest, TrackingHooksEndInTheExitSequence)
{
    const std::string probe = std::string(RW_BINARY_DIR) + "/tests/rwbarexitprobe.exe.so";
    for (DWORD code : {37u, 0u})
        EXPECT_EQ(code, rwtest::RunProbe(probe, std::to_string(code)));
}

TEST(CommandBarWindowTest, FrameAcceleratorStartsTrackingAndRunsTheControl)
{
    CommandBarHost host;
    host.Add(wvpControlButton, 31, L"&New");
    host.Add(wvpControlButton, 32, L"&Open");
    host.Layout();
    host.manager->AddBar(host.bar);
    EXPECT_FALSE(host.manager->OnFrameAccel('O')) << "without a menu bar only option bit 0 picks a bar";
    host.manager->m_nKeyboardOptions = 1;
    EXPECT_FALSE(host.manager->OnFrameAccel('Z'));
    EXPECT_TRUE(HostLog().commands.empty());
    EXPECT_TRUE(host.manager->OnFrameAccel('O'));
    EXPECT_EQ(std::vector<int>{32}, HostLog().commands);
    EXPECT_EQ(1, host.bar->GetTrackingMode());
    EXPECT_EQ(1, host.bar->GetSelected());
    host.manager->m_nKeyboardOptions = 2;
    EXPECT_FALSE(host.manager->OnFrameAccel('N')) << "option value 2 turns frame accelerators off";
    host.bar->SetTrackingMode(0, TRUE, FALSE);
}

TEST(CommandBarWindowTest, HelpHitTestNamesTheControlUnderThePoint)
{
    CommandBarHost host;
    host.Add(wvpControlButton, 41, L"Plain");
    host.Add(wvpControlButton, 42, L"Helped");
    host.Layout();
    CWVPControl* helped = host.bar->GetControl(1);
    const int kHelpId = 77;
    helped->SetHelpId(kHelpId);
    auto helpAt = [&](CPoint pt) {
        return ::SendMessageW(host.bar->GetSafeHwnd(), WM_HELPHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    };
    EXPECT_EQ(0x10000 + 41, helpAt(host.bar->GetControl(0)->GetRect().CenterPoint()));
    EXPECT_EQ(0x10000 + kHelpId, helpAt(helped->GetRect().CenterPoint()));
    CRect client;
    ::GetClientRect(host.bar->GetSafeHwnd(), &client);
    EXPECT_EQ(0, helpAt(CPoint(client.right - 1, client.bottom - 1))) << "no control and no bar id";
}
