// A docked tool bar dragged by real input (SendInput in a virtual desktop of the test's own, see
// tools/wineprefix.sh): pulled away from the dock bars it floats, pulled back onto the top dock
// bar it docks again. The steps run from a thread timer, inside the drag's own loop.
#include "RwTest.h"
#include "RealInput.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/DockBar.h"
#include "uilib/commandbars/MouseManager.h"
#include "uilib/commandbars/ToolBar.h"

#include <functional>
#include <vector>

namespace
{
const UINT IDR_GOOD = 3001;

using rwtest::SendMouse;

std::vector<std::function<void()>>* g_steps = nullptr;
size_t g_next = 0;

void CALLBACK StepTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_steps && g_next < g_steps->size())
        (*g_steps)[g_next++]();
}

// Runs the steps one per timer tick, pumping until they are done and the input is handled.
bool RunSteps(std::vector<std::function<void()>> steps)
{
    g_steps = &steps;
    g_next = 0;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 40, StepTimer);
    const DWORD deadline = ::GetTickCount() + 15000;
    while (g_next < steps.size() && LONG(deadline - ::GetTickCount()) > 0)
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    // The last release is handled before the check.
    for (DWORD until = ::GetTickCount() + 300; LONG(until - ::GetTickCount()) > 0;)
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    ::KillTimer(nullptr, timer);
    g_steps = nullptr;
    return g_next == steps.size();
}

// A press at `from`, moves in small steps to `to`, a release there.
std::vector<std::function<void()>> Drag(CPoint from, CPoint to)
{
    std::vector<std::function<void()>> steps;
    steps.push_back([=] { SendMouse(0, from); });
    steps.push_back([=] { SendMouse(MOUSEEVENTF_LEFTDOWN, from); });
    const int count = 8;
    for (int i = 1; i <= count; ++i)
    {
        const CPoint at(from.x + (to.x - from.x) * i / count, from.y + (to.y - from.y) * i / count);
        steps.push_back([=] { SendMouse(0, at); });
    }
    steps.push_back([=] { SendMouse(MOUSEEVENTF_LEFTUP, to); });
    return steps;
}
} // namespace

TEST(ToolBarDragTest, DraggedBarFloatsAndDocksAgain)
{
    CFrameWnd* frame = new CFrameWnd();
    ASSERT_TRUE(frame->Create(nullptr, L"frame", WS_OVERLAPPEDWINDOW, CRect(100, 100, 700, 500)));
    CWnd pane;
    pane.Create(L"STATIC", L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), frame, AFX_IDW_PANE_FIRST);
    CWVPCommandBarManager manager;
    ASSERT_TRUE(manager.Create(frame));
    CWVPToolBar* bar = manager.AddToolBar(L"Tools", IDR_GOOD);
    ASSERT_TRUE(bar != nullptr);
    bar->LoadToolBar(IDR_GOOD);
    bar->SetShowGripper(TRUE);
    frame->ShowWindow(SW_SHOW);
    ::SetForegroundWindow(frame->m_hWnd);
    frame->RecalcLayout();
    frame->UpdateWindow();

    // Pulled from its gripper to the middle of the client area: the bar floats there.
    CRect rcBar;
    bar->GetWindowRect(&rcBar);
    const CPoint gripper(rcBar.left + 3, rcBar.CenterPoint().y);
    CRect rcClient;
    frame->GetClientRect(&rcClient);
    frame->ClientToScreen(&rcClient);
    const CPoint middle = rcClient.CenterPoint();
    ASSERT_TRUE(RunSteps(Drag(gripper, middle)));
    EXPECT_EQ(wvpBarFloating, bar->GetPosition());
    EXPECT_TRUE(bar->GetDockBar() == nullptr);
    EXPECT_TRUE(::GetWindowLongW(bar->m_hWnd, GWL_STYLE) & WS_POPUP);
    CRect rcFloating;
    bar->GetWindowRect(&rcFloating);
    EXPECT_TRUE(rcFloating.PtInRect(middle)) << rcFloating.left << "," << rcFloating.top;
    CRect rcPane;
    pane.GetWindowRect(&rcPane);
    EXPECT_EQ(rcClient.top, rcPane.top);

    // Pulled by its caption back onto the top of the frame: docked at the top again.
    const CPoint caption(rcFloating.left + 6, rcFloating.top + 5);
    ASSERT_TRUE(RunSteps(Drag(caption, CPoint(rcClient.left + 40, rcClient.top + 4))));
    EXPECT_EQ(wvpBarTop, bar->GetPosition());
    EXPECT_TRUE(bar->GetDockBar() == manager.GetDockBar(wvpBarTop));
    EXPECT_TRUE(::GetWindowLongW(bar->m_hWnd, GWL_STYLE) & WS_CHILD);
    frame->RecalcLayout();
    pane.GetWindowRect(&rcPane);
    bar->GetWindowRect(&rcBar);
    EXPECT_EQ(rcBar.bottom, rcPane.top);

    manager.SetSite(nullptr);
    frame->DestroyWindow();
}
