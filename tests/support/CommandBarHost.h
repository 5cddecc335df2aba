// A top-level window with a plain command bar across its top, for the command bars' window and
// tracking tests: the host records the commands its bar sends and the clicks and keys that reach
// it or its target child; the bar is laid out once as a horizontal docked bar.
#pragma once

#include <windows.h>

#include "RwTest.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/Controls.h"

#include <vector>

namespace rwtest
{
struct CommandBarHostLog
{
    std::vector<int> commands;  // WM_COMMAND ids, in order
    std::vector<UINT> hostKeys; // WM_KEYDOWN keys the host received
    int targetClicks = 0;       // WM_LBUTTONDOWN on the target child
};

inline CommandBarHostLog& HostLog()
{
    static CommandBarHostLog log;
    return log;
}

inline LRESULT CALLBACK CommandBarHostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_COMMAND:
        HostLog().commands.push_back(LOWORD(wParam));
        return 0;
    case WM_KEYDOWN:
        HostLog().hostKeys.push_back(UINT(wParam));
        return 0;
    default:
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

inline LRESULT CALLBACK CommandBarTargetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_LBUTTONDOWN)
        ++HostLog().targetClicks;
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

class CommandBarHost
{
  public:
    static const int kWidth = 480;
    static const int kHeight = 200;

    // The host at the screen point, with a bar of no controls yet and a target child below it.
    explicit CommandBarHost(POINT at = {100, 100}, BOOL withManager = TRUE)
    {
        HostLog() = CommandBarHostLog();
        const HINSTANCE instance = ::GetModuleHandleW(nullptr);
        WNDCLASSW wc = {};
        wc.lpfnWndProc = CommandBarHostProc;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        wc.hbrBackground = HBRUSH(COLOR_WINDOW + 1);
        wc.lpszClassName = L"RwCommandBarHost";
        ::RegisterClassW(&wc);
        wc.lpfnWndProc = CommandBarTargetProc;
        wc.hbrBackground = HBRUSH(COLOR_APPWORKSPACE + 1);
        wc.lpszClassName = L"RwCommandBarTarget";
        ::RegisterClassW(&wc);
        host = ::CreateWindowExW(0, L"RwCommandBarHost", L"Bar host", WS_POPUP | WS_VISIBLE, at.x, at.y, kWidth,
                                 kHeight, nullptr, nullptr, instance, nullptr);
        target = ::CreateWindowExW(0, L"RwCommandBarTarget", L"", WS_CHILD | WS_VISIBLE, 20, 120, 200, 60, host,
                                   nullptr, instance, nullptr);
        if (withManager)
        {
            manager = new CWVPCommandBarManager;
            manager->SetSite(host);
        }
        bar = static_cast<CWVPCommandBar*>(CWVPCommandBar::CreateObject());
        bar->SetPosition(wvpBarTop);
        bar->SetShowGripper(FALSE);
        bar->SetCommandBars(manager);
        bar->SetOwnerSite(host);
        bar->CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512))), L"",
                      WS_CHILD | WS_VISIBLE, 0, 0, kWidth, 30, host, nullptr);
    }
    ~CommandBarHost()
    {
        bar->InternalRelease();
        if (manager)
            manager->InternalRelease();
        if (::IsWindow(host))
            ::DestroyWindow(host);
    }
    CommandBarHost(const CommandBarHost&) = delete;
    CommandBarHost& operator=(const CommandBarHost&) = delete;

    CWVPControl* Add(int type, int id, LPCWSTR caption, int style = 1 /* caption only */)
    {
        CWVPControl* control = bar->GetControls()->AddByType(type, id);
        control->SetCaption(caption);
        control->SetStyle(style);
        return control;
    }

    // Lays the controls out in one row and sizes the bar to them.
    void Layout()
    {
        HDC screen = ::GetDC(bar->GetSafeHwnd());
        CDC dc;
        dc.Attach(screen);
        const DWORD kHorzDockCommit = 0x08 | 0x40;
        const CSize size = bar->GetControls()->CalcDynamicSize(&dc, kWidth, kHorzDockCommit, CRect(2, 2, 2, 2));
        dc.Detach();
        ::ReleaseDC(bar->GetSafeHwnd(), screen);
        ::SetWindowPos(bar->GetSafeHwnd(), nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        ::InvalidateRect(bar->GetSafeHwnd(), nullptr, FALSE);
        ::UpdateWindow(host);
    }

    // The screen point at the centre of a control (or at an offset from its left edge).
    POINT ControlPoint(int index, int fromLeft = -1) const
    {
        const CRect rc = bar->GetControl(index)->GetRect();
        POINT pt = {fromLeft < 0 ? rc.CenterPoint().x : rc.left + fromLeft, rc.CenterPoint().y};
        ::ClientToScreen(bar->GetSafeHwnd(), &pt);
        return pt;
    }
    POINT TargetPoint() const
    {
        POINT pt = {100, 30};
        ::ClientToScreen(target, &pt);
        return pt;
    }

    HWND host = nullptr;
    HWND target = nullptr;
    CWVPCommandBarManager* manager = nullptr;
    CWVPCommandBar* bar = nullptr;
};

// Pumps the thread's messages until the condition holds; false after the limit.
template <class Condition> bool PumpUntil(Condition condition, DWORD limit = 10000)
{
    const DWORD start = ::GetTickCount();
    while (!condition())
    {
        if (::GetTickCount() - start > limit)
            return false;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}
} // namespace rwtest
