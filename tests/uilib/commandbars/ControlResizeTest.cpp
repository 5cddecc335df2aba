// The customize resize of a control's edge on a bar window, driven by posted mouse and key
// messages: which points grab an edge, how far the edge follows, Escape and WM_QUIT cancelling
// (WM_QUIT staying queued for the thread's own loop), and the minimum width.
#include "RwTest.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/ControlButton.h"
#include "uilib/commandbars/Controls.h"

namespace
{
// A button that cannot be made narrower than 20 pixels.
class CMinWidthButton : public CWVPControlButton
{
  public:
    int GetCustomizeMinWidth() const override
    {
        return 20;
    }
};

// A bar window in a site with one control at (10, 10, 40, 40) and a manager in customize mode.
struct Fixture
{
    HWND site = nullptr;
    HWND barWindow = nullptr;
    CWVPCommandBarManager* manager = nullptr;
    CWVPCommandBar* bar = nullptr;
    CWVPControl* control = nullptr;

    explicit Fixture(bool minWidth)
    {
        site = ::CreateWindowExW(0, L"STATIC", L"site", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 240, 120, nullptr,
                                 nullptr, nullptr, nullptr);
        barWindow = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 60, site, nullptr,
                                      nullptr, nullptr);
        manager = new CWVPCommandBarManager;
        manager->SetCustomizeMode(TRUE);
        bar = static_cast<CWVPCommandBar*>(CWVPCommandBar::CreateObject());
        bar->Attach(barWindow);
        bar->SetPosition(wvpBarTop);
        bar->SetOwnerSite(site);
        bar->SetCommandBars(manager);
        control = minWidth ? bar->GetControls()->Add(new CMinWidthButton)
                           : bar->GetControls()->AddByType(wvpControlButton, 4711);
        control->SetRect(CRect(10, 10, 40, 40));
        control->SetWidth(30);
        Drain();
    }
    ~Fixture()
    {
        bar->Detach();
        bar->InternalRelease();
        manager->InternalRelease();
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
};

enum End
{
    EndRelease,
    EndEscape,
    EndQuit,
};
} // namespace

TEST(ControlResizeTest, EdgesFollowTheMouseUntilReleased)
{
    struct Case
    {
        const char* name;
        int grabX;
        int moveX;
        End end;
        bool minWidth;
        BOOL started;
        int width;
    } cases[] = {
        {"left edge, 2 pixels in", 12, 2, EndRelease, false, TRUE, 40},
        {"left edge, 3 pixels in is no edge", 13, 2, EndRelease, false, FALSE, 30},
        {"right edge, 2 pixels in", 38, 58, EndRelease, false, TRUE, 50},
        {"right edge, 3 pixels in is no edge", 37, 58, EndRelease, false, FALSE, 30},
        {"outside the control", 45, 58, EndRelease, false, FALSE, 30},
        {"Escape cancels", 38, 58, EndEscape, false, TRUE, 30},
        {"WM_QUIT cancels", 38, 58, EndQuit, false, TRUE, 30},
        {"right edge held at the minimum", 38, 0, EndRelease, true, TRUE, 20},
        {"left edge held at the minimum", 11, 60, EndRelease, true, TRUE, 20},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Fixture f(c.minWidth);
        ::PostMessageW(f.barWindow, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(c.moveX, 20));
        if (c.end == EndRelease)
            ::PostMessageW(f.barWindow, WM_LBUTTONUP, 0, MAKELPARAM(c.moveX, 20));
        else if (c.end == EndEscape)
            ::PostMessageW(f.barWindow, WM_KEYDOWN, VK_ESCAPE, 0);
        else
            ::PostQuitMessage(9);
        if (!c.started)
            ::PostMessageW(f.barWindow, WM_APP, 0, 0); // marks that nothing took the queue

        EXPECT_EQ(c.started, f.control->CustomizeStartResize(CPoint(c.grabX, 20)));
        EXPECT_EQ(c.width, f.control->GetWidth());
        EXPECT_NE(f.barWindow, ::GetCapture());
        EXPECT_EQ(c.started ? f.control : nullptr, f.manager->GetDragControl());
        MSG msg;
        if (c.end == EndQuit)
        {
            ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
            EXPECT_EQ(9u, msg.wParam);
        }
        if (!c.started)
            EXPECT_TRUE(::PeekMessageW(&msg, f.barWindow, WM_APP, WM_APP, PM_NOREMOVE));
    }
}
