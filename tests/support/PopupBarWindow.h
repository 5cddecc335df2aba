// The popup bar that the calling thread shows now, for tests that read or drive a command-bar
// popup from inside its tracking loop (as ThreadMenuWindow finds the system's menus).
#pragma once

#include <windows.h>

#include "MenuWindow.h"
#include "uilib/commandbars/PopupBar.h"

namespace rwtest
{
// The calling thread's visible popup bar, or null.
inline CWVPPopupBar* ThreadPopupBar()
{
    CWnd* wnd = CWnd::FromHandlePermanent(ThreadVisibleWindow(L"WVPPopupBar"));
    return wnd && wnd->IsKindOf(RUNTIME_CLASS(CWVPPopupBar)) ? static_cast<CWVPPopupBar*>(wnd) : nullptr;
}
} // namespace rwtest
