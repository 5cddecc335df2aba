// The popup menu that the calling thread shows now. Tests that drive a menu from inside its modal
// loop look it up here rather than by class name over the whole desktop, where the menus of test
// programs running beside them would be found as well.
#pragma once

#include <windows.h>

namespace rwtest
{
inline BOOL CALLBACK FindVisibleMenuWindow(HWND hWnd, LPARAM param)
{
    wchar_t name[16] = {};
    if (::GetClassNameW(hWnd, name, 16) && ::lstrcmpW(name, L"#32768") == 0 && ::IsWindowVisible(hWnd))
    {
        *reinterpret_cast<HWND*>(param) = hWnd;
        return FALSE;
    }
    return TRUE;
}

// The calling thread's visible popup menu window, or null.
inline HWND ThreadMenuWindow()
{
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindVisibleMenuWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}
} // namespace rwtest
