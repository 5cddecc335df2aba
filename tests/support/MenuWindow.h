// The popup menu that the calling thread shows now. Tests that drive a menu from inside its modal
// loop look it up here rather than by class name over the whole desktop, where the menus of test
// programs running beside them would be found as well.
#pragma once

#include <windows.h>

namespace rwtest
{
struct ThreadWindowSearch
{
    LPCWSTR className;
    HWND found;
};

inline BOOL CALLBACK FindVisibleWindowOfClass(HWND hWnd, LPARAM param)
{
    auto* search = reinterpret_cast<ThreadWindowSearch*>(param);
    wchar_t name[32] = {};
    if (::GetClassNameW(hWnd, name, 32) && ::lstrcmpW(name, search->className) == 0 && ::IsWindowVisible(hWnd))
    {
        search->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

// The calling thread's first visible top-level window of the class, or null.
inline HWND ThreadVisibleWindow(LPCWSTR className)
{
    ThreadWindowSearch search = {className, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindVisibleWindowOfClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The calling thread's visible popup menu window, or null.
inline HWND ThreadMenuWindow()
{
    return ThreadVisibleWindow(L"#32768");
}
} // namespace rwtest
