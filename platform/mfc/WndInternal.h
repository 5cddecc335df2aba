// What the window layer's source files share: the window handle map, the property that keeps a
// left object's previous procedure, and the report of a handler that failed.
#pragma once

#include "platform/mfc/HandleMap.h"
#include "platform/mfc/Wnd.h"

// The window property that keeps the previous procedure of a window whose object left it while
// another subclasser sat on top, so that AfxWndProc can pass its messages on.
extern const wchar_t kAfxPassThroughProp[];
// The calling thread's map of window objects, made on first use when create is set.
CHandleMap<CWnd, HWND>* AfxWndMap(bool create);
// Writes a failed handler to the debug output: the message and what went wrong.
void AfxReportHandlerException(UINT message, const char* what);
