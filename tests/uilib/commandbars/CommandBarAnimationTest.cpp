// A bar painted through its redraw animation: unchanged redraws cost no drawing and no timer, a
// change cross-fades in six steps, and newer direct drawing is not overwritten by a running fade.
#include "RwTest.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/CommandBarAnimation.h"

#include <vector>

namespace
{
const wchar_t kBarClass[] = L"RwAnimatedBarTest";
const DWORD kDeadline = 10000;

// A bar whose drawing is one colour, so that every pixel tells which picture it shows.
class CColourBar : public CWVPCommandBar
{
  public:
    void DrawCommandBar(CDC* pDC, CRect rcClipBox) override
    {
        ++m_draws;
        HBRUSH brush = ::CreateSolidBrush(m_colour);
        ::FillRect(pDC->GetSafeHdc(), &rcClipBox, brush);
        ::DeleteObject(brush);
    }
    COLORREF m_colour = RGB(0, 255, 0);
    int m_draws = 0;
};

CColourBar* g_bar = nullptr;
// The pixel that each animation tick leaves at the probe point.
std::vector<COLORREF> g_ticks;
CPoint g_probe(10, 10);

COLORREF ScreenPixel(CPoint pt)
{
    HDC dc = ::GetDC(g_bar->GetSafeHwnd());
    const COLORREF colour = ::GetPixel(dc, pt.x, pt.y);
    ::ReleaseDC(g_bar->GetSafeHwnd(), dc);
    return colour;
}

// The bar window's procedure as the bar's own message handlers wire it: paints and the
// animation's timer go to the animation.
LRESULT CALLBACK BarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT && g_bar)
    {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        g_bar->GetAnimation()->OnPaint(CDC::FromHandle(dc), ps.rcPaint);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    if (message == WM_TIMER && wParam == WVP_TIMER_BARANIMATION && g_bar)
    {
        g_bar->GetAnimation()->OnAnimationTimer();
        g_ticks.push_back(ScreenPixel(g_probe));
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// One shown bar window for the suite: hiding a shown top-level window is slow without a window
// manager.
class CommandBarAnimationTest : public ::testing::Test
{
  protected:
    static inline HWND s_window = nullptr;

    static void SetUpTestSuite()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = BarProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kBarClass;
        ::RegisterClassW(&wc);
        s_window = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST, kBarClass, L"",
                                     WS_POPUP | WS_VISIBLE, 20, 20, 80, 30, nullptr, nullptr, wc.hInstance, nullptr);
    }
    static void TearDownTestSuite()
    {
        ::DestroyWindow(s_window);
    }

    void SetUp() override
    {
        ASSERT_NE(nullptr, s_window);
        g_bar = new CColourBar;
        g_bar->Attach(s_window);
        g_ticks.clear();
    }
    void TearDown() override
    {
        g_bar->GetAnimation()->OnDestroyWindow();
        g_bar->Detach();
        g_bar->InternalRelease();
        g_bar = nullptr;
    }

    // Paints the whole bar now, as a WM_PAINT does.
    static void PaintAll()
    {
        ::InvalidateRect(s_window, nullptr, FALSE);
        ::UpdateWindow(s_window);
    }
    // Runs the message loop until the running fades are over.
    static bool PumpUntilIdle()
    {
        const DWORD start = ::GetTickCount();
        while (g_bar->GetAnimation()->GetAnimationCount() > 0)
        {
            if (::GetTickCount() - start > kDeadline)
                return false;
            MSG msg;
            if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                ::DispatchMessageW(&msg);
            else
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
        return true;
    }
};
} // namespace

TEST_F(CommandBarAnimationTest, WithoutAnimationTheBarPaintsDirectlyAndKeepsNoPicture)
{
    g_bar->m_colour = RGB(10, 20, 30);
    PaintAll();
    EXPECT_EQ(RGB(10, 20, 30), ScreenPixel(CPoint(5, 5)));
    EXPECT_FALSE(g_bar->GetAnimation()->HasCachedPicture());
    // A redraw request only invalidates: the next paint draws.
    g_bar->m_colour = RGB(40, 50, 60);
    const CRect rc(0, 0, 20, 20);
    g_bar->GetAnimation()->RedrawRect(&rc, TRUE);
    EXPECT_EQ(0, g_bar->GetAnimation()->GetAnimationCount());
    ::UpdateWindow(s_window);
    EXPECT_EQ(RGB(40, 50, 60), ScreenPixel(CPoint(5, 5)));
    EXPECT_EQ(RGB(10, 20, 30), ScreenPixel(CPoint(30, 5)));
}

TEST_F(CommandBarAnimationTest, AnUnchangedRedrawDrawsNothingAndStartsNoTimer)
{
    g_bar->EnableAnimation(TRUE);
    PaintAll();
    ASSERT_TRUE(g_bar->GetAnimation()->HasCachedPicture());
    const CRect rc(0, 0, 40, 20);
    const int draws = g_bar->m_draws;
    g_bar->GetAnimation()->RedrawRect(&rc, TRUE);
    EXPECT_EQ(draws + 1, g_bar->m_draws); // rendered off screen and compared
    EXPECT_EQ(0, g_bar->GetAnimation()->GetAnimationCount());
    EXPECT_FALSE(::KillTimer(s_window, WVP_TIMER_BARANIMATION));
}

TEST_F(CommandBarAnimationTest, AChangeCrossFadesInSixSteps)
{
    g_bar->EnableAnimation(TRUE);
    g_bar->m_colour = RGB(0, 255, 0);
    PaintAll();
    g_bar->m_colour = RGB(255, 0, 0);
    const CRect rc(0, 0, 40, 20);
    g_bar->GetAnimation()->RedrawRect(&rc, TRUE);
    // The first step shows at once, the others come from the animation timer.
    std::vector<COLORREF> steps{ScreenPixel(g_probe)};
    ASSERT_TRUE(PumpUntilIdle());
    steps.insert(steps.end(), g_ticks.begin(), g_ticks.end());
    // The new picture's weight is step * 255 / 6 out of 256: red rises from 0, green falls from 255.
    const std::vector<COLORREF> expected{RGB(41, 212, 0), RGB(84, 169, 0), RGB(126, 127, 0),
                                         RGB(169, 84, 0), RGB(211, 42, 0), RGB(255, 0, 0)};
    EXPECT_EQ(expected, steps);
    // The timer ended with the fade; outside the rectangle nothing changed.
    EXPECT_FALSE(::KillTimer(s_window, WVP_TIMER_BARANIMATION));
    EXPECT_EQ(RGB(0, 255, 0), ScreenPixel(CPoint(60, 10)));
}

TEST_F(CommandBarAnimationTest, DirectDrawingOverARunningFadeStays)
{
    g_bar->EnableAnimation(TRUE);
    g_bar->m_colour = RGB(0, 0, 0);
    PaintAll();
    g_bar->m_colour = RGB(255, 255, 255);
    const CRect fade(0, 0, 40, 20);
    g_bar->GetAnimation()->RedrawRect(&fade, TRUE);
    g_bar->m_colour = RGB(0, 0, 255);
    const CRect direct(20, 0, 60, 20);
    g_bar->GetAnimation()->RedrawRect(&direct, FALSE);
    EXPECT_EQ(1, g_bar->GetAnimation()->GetAnimationCount());
    g_probe = CPoint(30, 10);
    ASSERT_TRUE(PumpUntilIdle());
    g_probe = CPoint(10, 10);
    EXPECT_EQ(std::vector<COLORREF>(5, RGB(0, 0, 255)), g_ticks);
    EXPECT_EQ(RGB(255, 255, 255), ScreenPixel(CPoint(10, 10)));

    // A second fade over the whole first one replaces it at once.
    g_bar->m_colour = RGB(0, 0, 0);
    g_bar->GetAnimation()->RedrawRect(&fade, TRUE);
    g_bar->m_colour = RGB(255, 0, 0);
    const CRect wider(0, 0, 50, 25);
    g_bar->GetAnimation()->RedrawRect(&wider, TRUE);
    EXPECT_EQ(1, g_bar->GetAnimation()->GetAnimationCount());
    ASSERT_TRUE(PumpUntilIdle());
    EXPECT_EQ(RGB(255, 0, 0), ScreenPixel(CPoint(10, 10)));
}

TEST_F(CommandBarAnimationTest, AResizedBarRebuildsItsPicture)
{
    g_bar->SetAnimationParam(TRUE);
    g_bar->m_colour = RGB(1, 2, 3);
    PaintAll();
    ASSERT_TRUE(g_bar->GetAnimation()->HasCachedPicture());
    ::SetWindowPos(s_window, nullptr, 0, 0, 100, 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    g_bar->m_colour = RGB(4, 5, 6);
    ::UpdateWindow(s_window);
    EXPECT_EQ(RGB(4, 5, 6), ScreenPixel(CPoint(90, 10)));
    // The old part was not invalid: it shows the old drawing until painted from the new picture.
    EXPECT_EQ(RGB(1, 2, 3), ScreenPixel(CPoint(5, 5)));
    const CRect old(0, 0, 20, 20);
    ::InvalidateRect(s_window, &old, FALSE);
    ::UpdateWindow(s_window);
    EXPECT_EQ(RGB(4, 5, 6), ScreenPixel(CPoint(5, 5)));
    ::SetWindowPos(s_window, nullptr, 0, 0, 80, 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    g_bar->SetAnimationParam(FALSE);
}
