// Screen and work-area rectangles of the monitor at a point, rectangle, window or the cursor,
// through the multi-monitor functions of User32 bound at run time, with single-screen fall-backs
// when they are missing or find no monitor.
#pragma once

#include <windows.h>

#include "platform/mfc/Rect.h"
#include "uilib/foundation/ModuleHandle.h"

class CWnd;

class CWVPMonitorHelper
{
  public:
    // bindMonitorFunctions FALSE builds the helper of a system without monitor functions.
    explicit CWVPMonitorHelper(BOOL bindMonitorFunctions = TRUE);
    virtual ~CWVPMonitorHelper() = default;

    CRect GetScreenAreaAtPoint(POINT point);
    CRect GetScreenAreaOfRect(const RECT& rect);
    CRect GetWorkAreaAtPoint(POINT point);
    CRect GetWorkAreaOfRect(const RECT& rect);
    CRect GetWorkAreaOfHwnd(HWND hwnd);
    CRect GetWorkAreaOfWnd(const CWnd* wnd);
    CRect GetWorkAreaAtCursor();

    BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* info);
    BOOL HasMonitorFunctions() const
    {
        return m_pfnMonitorFromPoint != nullptr;
    }

  private:
    CRect ScreenArea(HMONITOR monitor);
    CRect WorkArea(HMONITOR monitor);

    int(WINAPI* m_pfnGetSystemMetrics)(int);
    HMONITOR(WINAPI* m_pfnMonitorFromWindow)(HWND, DWORD);
    HMONITOR(WINAPI* m_pfnMonitorFromRect)(LPCRECT, DWORD);
    HMONITOR(WINAPI* m_pfnMonitorFromPoint)(POINT, DWORD);
    BOOL(WINAPI* m_pfnGetMonitorInfo)(HMONITOR, LPMONITORINFO);
    CWVPModuleHandle m_user32;
};

CWVPMonitorHelper& WVPMonitorHelper();
