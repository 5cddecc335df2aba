// Scroll bars pressed and dragged with real input (SendInput in a virtual desktop of the test's
// own, see tools/wineprefix.sh): a slider's thumb reports the positions it passes, and a
// gallery's arrows, held arrows and thumb scroll its rows.
#include "CommandBarHost.h"
#include "RealInput.h"
#include "RwTest.h"
#include "uilib/commandbars/ControlAction.h"
#include "uilib/commandbars/ControlGallery.h"
#include "uilib/commandbars/GalleryItemCollection.h"
#include "uilib/commandbars/ScrollBase.h"
#include "uilib/commandbars/SliderPaintManager.h"
#include "uilib/themes/DefaultTheme.h"

#include <functional>
#include <utility>
#include <vector>

using rwtest::CommandBarHost;
using rwtest::PumpUntil;
using rwtest::SendMouse;

namespace
{
POINT ToScreen(HWND hwnd, POINT pt)
{
    ::ClientToScreen(hwnd, &pt);
    return pt;
}

bool Foreground(HWND hwnd)
{
    ::SetForegroundWindow(hwnd);
    ::SetFocus(hwnd);
    return PumpUntil([&] { return ::GetForegroundWindow() == hwnd; });
}

// A horizontal slider in a window of its own: range 0..100, no page; it records every scroll.
class CTestSlider : public CWVPScrollBase
{
  public:
    static const int kRange = 100;

    CTestSlider() : m_theme(new CWVPDefaultTheme), m_painter(m_theme)
    {
        m_theme->RefreshMetrics();
        m_painter.RefreshMetrics();
        m_info.vertical = FALSE;
        const HINSTANCE instance = ::GetModuleHandleW(nullptr);
        WNDCLASSW wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        wc.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"RwTestSlider";
        ::RegisterClassW(&wc);
        m_hwnd = ::CreateWindowExW(0, L"RwTestSlider", L"", WS_POPUP | WS_VISIBLE, 100, 300, 600, 40, nullptr, nullptr,
                                   instance, this);
        ::SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        CalculateScrollBarInfo();
    }
    ~CTestSlider() override
    {
        ::DestroyWindow(m_hwnd);
        m_theme->InternalRelease();
    }

    BOOL IsScrollBarEnabled() const override
    {
        return TRUE;
    }
    CWnd* GetParentWindow() const override
    {
        return CWnd::FromHandle(m_hwnd);
    }
    CRect GetScrollBarRect() override
    {
        return CRect(20, 10, 236, 30);
    }
    void GetScrollInfo(SCROLLINFO* info) override
    {
        info->nMin = 0;
        info->nMax = kRange;
        info->nPage = 0;
        info->nPos = m_pos;
    }
    void DoScroll(int command, int position) override
    {
        scrolls.push_back(std::make_pair(command, position));
        if (command == SB_THUMBTRACK || command == SB_THUMBPOSITION)
            m_pos = position;
    }
    void RedrawScrollBar() override
    {
        ::InvalidateRect(m_hwnd, nullptr, TRUE);
    }
    CWVPScrollBarPaintManager* GetScrollBarPaintManager() override
    {
        return &m_painter;
    }

    // The screen point at the thumb's centre.
    POINT ThumbPoint()
    {
        CalculateScrollBarInfo();
        return ToScreen(m_hwnd, {(m_info.thumbStart + m_info.thumbEnd) / 2, 20});
    }

    HWND m_hwnd = nullptr;
    int m_pos = 0;
    bool pressed = false;
    std::vector<std::pair<int, int>> scrolls;

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        CTestSlider* self = reinterpret_cast<CTestSlider*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && message == WM_LBUTTONDOWN)
        {
            self->pressed = true;
            self->TrackScrollBar(CWnd::FromHandle(hwnd), CPoint(short(LOWORD(lParam)), short(HIWORD(lParam))), FALSE);
            self->pressed = false;
            return 0;
        }
        if (self && message == WM_PAINT)
        {
            PAINTSTRUCT ps;
            CDC dc;
            dc.Attach(::BeginPaint(hwnd, &ps));
            self->CalculateScrollBarInfo();
            self->m_painter.DrawScrollBar(&dc, self);
            dc.Detach();
            ::EndPaint(hwnd, &ps);
            return 0;
        }
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }

    CWVPDefaultTheme* m_theme;
    CWVPSliderPaintManager m_painter;
};

// A bar holding one gallery of 30 cells of 20 x 20 (six rows; three show).
struct GalleryBar
{
    CommandBarHost host;
    CWVPControlGallery* gallery = nullptr;

    GalleryBar()
    {
        host.manager->EnableActions();
        CWVPGalleryItemCollection* items = new CWVPGalleryItemCollection;
        for (int i = 0; i < 30; ++i)
            items->AddItem(100 + i, L"Cell");
        gallery = static_cast<CWVPControlGallery*>(host.bar->GetControls()->AddByType(wvpControlGallery, 700));
        gallery->GetAction()->SetAttachedObject(items);
        host.Layout();
        gallery->CalculateScrollBarInfo();
    }
    int Maximum() const
    {
        return gallery->GetItemsHeight() - gallery->GetItemsArea().Height();
    }
    POINT BarPoint(int along) const
    {
        const CRect rc = gallery->GetScrollBarRect();
        return ToScreen(host.bar->GetSafeHwnd(), {rc.CenterPoint().x, along});
    }
};

// Ends a hold from inside the press's loop once the condition holds.
std::function<bool()>* g_releaseWhen = nullptr;

void CALLBACK ReleaseTick(HWND, UINT, UINT_PTR id, DWORD)
{
    if (g_releaseWhen && (*g_releaseWhen)())
    {
        ::KillTimer(nullptr, id);
        SendMouse(MOUSEEVENTF_LEFTUP, {0, 0});
        g_releaseWhen = nullptr;
    }
}

// Lets go of a press that is still held after the limit, so that a lost release fails the test
// instead of hanging it.
struct PressWatchdog
{
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        SendMouse(MOUSEEVENTF_LEFTUP, {0, 0});
        ::ReleaseCapture();
    }
    PressWatchdog() : timer(::SetTimer(nullptr, 0, 15000, Tick))
    {
    }
    ~PressWatchdog()
    {
        ::KillTimer(nullptr, timer);
    }
    UINT_PTR timer;
};
} // namespace

TEST(ScrollBaseDragTest, DraggedSliderReportsItsPositions)
{
    CTestSlider slider;
    ASSERT_TRUE(Foreground(slider.m_hwnd));
    PressWatchdog watchdog;
    // Thumb pixels 36..209 stand for 0..100; the pointer holds the thumb 5 pixels from its left.
    // The drags stay inside the window: the desktop does not route input outside it to the
    // window that holds the capture.
    struct Drag
    {
        const char* name;
        int dx;
        int position;
    } drags[] = {{"to the middle", 86, 50}, {"beyond the right end", 150, 100}, {"back past the left end", -200, 0}};
    for (const Drag& d : drags)
    {
        slider.scrolls.clear();
        const POINT from = slider.ThumbPoint();
        const int start = slider.m_pos;
        SendMouse(0, from);
        SendMouse(MOUSEEVENTF_LEFTDOWN, from);
        for (int step = 1; step <= 4; ++step)
            SendMouse(0, {from.x + d.dx * step / 4, from.y});
        SendMouse(MOUSEEVENTF_LEFTUP, {from.x + d.dx, from.y});
        ASSERT_TRUE(PumpUntil([&] { return !slider.scrolls.empty() && slider.scrolls.back().first == SB_ENDSCROLL; }))
            << d.name;
        EXPECT_FALSE(slider.pressed);
        // Tracking starts at the old position, moves one way and ends where the thumb was let go.
        const auto& s = slider.scrolls;
        ASSERT_GE(s.size(), 4u) << d.name;
        EXPECT_EQ(std::make_pair(int(SB_THUMBTRACK), start), s.front()) << d.name;
        for (size_t i = 1; i + 2 < s.size(); ++i)
        {
            EXPECT_EQ(SB_THUMBTRACK, s[i].first) << d.name;
            EXPECT_TRUE(d.dx > 0 ? s[i].second > s[i - 1].second : s[i].second < s[i - 1].second) << d.name;
        }
        EXPECT_EQ(std::make_pair(int(SB_THUMBPOSITION), d.position), s[s.size() - 2]) << d.name;
        EXPECT_EQ(d.position, slider.m_pos) << d.name;
    }
}

TEST(ScrollBaseDragTest, GalleryScrollsByArrowsHeldArrowsAndThumb)
{
    GalleryBar g;
    ASSERT_TRUE(Foreground(g.host.host));
    PressWatchdog watchdog;
    const CRect bar = g.gallery->GetScrollBarRect();
    const int arrow = g.gallery->m_info.startArrowEnd - bar.top;
    ASSERT_EQ(60, g.Maximum());

    // One click on the down arrow scrolls one row.
    const POINT down = g.BarPoint(bar.bottom - arrow / 2);
    SendMouse(MOUSEEVENTF_LEFTDOWN, down);
    SendMouse(MOUSEEVENTF_LEFTUP, down);
    ASSERT_TRUE(PumpUntil([&] { return g.gallery->GetScrollOffset() == 20; }));

    // Held, it repeats to the end.
    std::function<bool()> atEnd = [&] { return g.gallery->GetScrollOffset() == g.Maximum(); };
    g_releaseWhen = &atEnd;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, ReleaseTick);
    SendMouse(MOUSEEVENTF_LEFTDOWN, down);
    EXPECT_TRUE(PumpUntil([&] { return g_releaseWhen == nullptr && ::GetCapture() == nullptr; }));
    ::KillTimer(nullptr, timer);
    g_releaseWhen = nullptr;
    EXPECT_EQ(g.Maximum(), g.gallery->GetScrollOffset());

    // The thumb dragged to the top.
    g.gallery->CalculateScrollBarInfo();
    const WVP_SCROLLBAR_POSINFO& info = g.gallery->m_info;
    const POINT thumb = g.BarPoint((info.thumbStart + info.thumbEnd) / 2);
    SendMouse(MOUSEEVENTF_LEFTDOWN, thumb);
    const POINT top = g.BarPoint(bar.top + 1);
    SendMouse(0, {thumb.x, (thumb.y + top.y) / 2});
    SendMouse(0, top);
    SendMouse(MOUSEEVENTF_LEFTUP, top);
    ASSERT_TRUE(PumpUntil([&] { return g.gallery->GetScrollOffset() == 0 && ::GetCapture() == nullptr; }));

    // A page-area click below the thumb scrolls one view.
    g.gallery->CalculateScrollBarInfo();
    const POINT page = g.BarPoint(info.endArrowStart - 2);
    SendMouse(MOUSEEVENTF_LEFTDOWN, page);
    SendMouse(MOUSEEVENTF_LEFTUP, page);
    EXPECT_TRUE(PumpUntil([&] { return g.gallery->GetScrollOffset() == g.gallery->GetItemsArea().Height(); }));
}
