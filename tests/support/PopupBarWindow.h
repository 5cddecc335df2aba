// The popup bar that the calling thread shows now, for tests that read or drive a command-bar
// popup from inside its tracking loop (as MenuWindow.h finds the system's menus).
#pragma once

#include <windows.h>

#include "uilib/commandbars/PopupBar.h"

namespace rwtest
{
inline BOOL CALLBACK FindVisiblePopupBar(HWND hWnd, LPARAM param)
{
    wchar_t name[16] = {};
    if (::GetClassNameW(hWnd, name, 16) && ::lstrcmpW(name, L"WVPPopupBar") == 0 && ::IsWindowVisible(hWnd))
    {
        *reinterpret_cast<HWND*>(param) = hWnd;
        return FALSE;
    }
    return TRUE;
}

// The calling thread's visible popup bar, or null.
inline CWVPPopupBar* ThreadPopupBar()
{
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindVisiblePopupBar, reinterpret_cast<LPARAM>(&found));
    CWnd* wnd = found ? CWnd::FromHandlePermanent(found) : nullptr;
    return wnd && wnd->IsKindOf(RUNTIME_CLASS(CWVPPopupBar)) ? static_cast<CWVPPopupBar*>(wnd) : nullptr;
}
} // namespace rwtest
