#include "uilib/foundation/MonitorHelper.h"

#include "platform/mfc/ExitSequence.h"
#include "platform/mfc/Rect.h"
#include "platform/mfc/Wnd.h"
#include "uilib/foundation/OSVersionInfo.h"

CWVPMonitorHelper::CWVPMonitorHelper(BOOL bindMonitorFunctions)
    : m_pfnGetSystemMetrics(nullptr), m_pfnMonitorFromWindow(nullptr), m_pfnMonitorFromRect(nullptr),
      m_pfnMonitorFromPoint(nullptr), m_pfnGetMonitorInfo(nullptr)
{
    if (!bindMonitorFunctions)
        return;
    bool bound = m_user32.Init(L"User32.dll");
    bool unicode = WVPOSVersionInfo().IsWinNT4OrGreater() != FALSE;
    bound = bound && m_user32.GetProcAddress(&m_pfnGetSystemMetrics, "GetSystemMetrics") &&
            m_user32.GetProcAddress(&m_pfnMonitorFromWindow, "MonitorFromWindow") &&
            m_user32.GetProcAddress(&m_pfnMonitorFromRect, "MonitorFromRect") &&
            m_user32.GetProcAddress(&m_pfnMonitorFromPoint, "MonitorFromPoint") &&
            m_user32.GetProcAddress(&m_pfnGetMonitorInfo, unicode ? "GetMonitorInfoW" : "GetMonitorInfoA");
    if (!bound)
    {
        m_pfnGetSystemMetrics = nullptr;
        m_pfnMonitorFromWindow = nullptr;
        m_pfnMonitorFromRect = nullptr;
        m_pfnMonitorFromPoint = nullptr;
        m_pfnGetMonitorInfo = nullptr;
    }
}

BOOL CWVPMonitorHelper::GetMonitorInfo(HMONITOR monitor, MONITORINFO* info)
{
    if (!monitor || !m_pfnGetMonitorInfo)
        return FALSE;
    info->cbSize = sizeof(MONITORINFO);
    return m_pfnGetMonitorInfo(monitor, info);
}

CRect CWVPMonitorHelper::ScreenArea(HMONITOR monitor)
{
    MONITORINFO info;
    if (GetMonitorInfo(monitor, &info))
        return CRect(info.rcMonitor);
    return CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
}

CRect CWVPMonitorHelper::WorkArea(HMONITOR monitor)
{
    MONITORINFO info;
    if (GetMonitorInfo(monitor, &info))
        return CRect(info.rcWork);
    CRect work(0, 0, 0, 0);
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

CRect CWVPMonitorHelper::GetScreenAreaAtPoint(POINT point)
{
    return ScreenArea(m_pfnMonitorFromPoint ? m_pfnMonitorFromPoint(point, MONITOR_DEFAULTTONULL) : nullptr);
}

CRect CWVPMonitorHelper::GetScreenAreaOfRect(const RECT& rect)
{
    return ScreenArea(m_pfnMonitorFromRect ? m_pfnMonitorFromRect(&rect, MONITOR_DEFAULTTONULL) : nullptr);
}

CRect CWVPMonitorHelper::GetWorkAreaAtPoint(POINT point)
{
    return WorkArea(m_pfnMonitorFromPoint ? m_pfnMonitorFromPoint(point, MONITOR_DEFAULTTONULL) : nullptr);
}

CRect CWVPMonitorHelper::GetWorkAreaOfRect(const RECT& rect)
{
    return WorkArea(m_pfnMonitorFromRect ? m_pfnMonitorFromRect(&rect, MONITOR_DEFAULTTONULL) : nullptr);
}

CRect CWVPMonitorHelper::GetWorkAreaOfHwnd(HWND hwnd)
{
    return WorkArea(m_pfnMonitorFromWindow ? m_pfnMonitorFromWindow(hwnd, MONITOR_DEFAULTTONULL) : nullptr);
}

CRect CWVPMonitorHelper::GetWorkAreaOfWnd(const CWnd* wnd)
{
    return GetWorkAreaOfHwnd(wnd ? wnd->GetSafeHwnd() : nullptr);
}

CRect CWVPMonitorHelper::GetWorkAreaAtCursor()
{
    POINT cursor = {0, 0};
    ::GetCursorPos(&cursor);
    return GetWorkAreaAtPoint(cursor);
}

namespace
{
CWVPMonitorHelper* g_monitorHelper = nullptr;

void DestroyMonitorHelper(void*)
{
    delete g_monitorHelper;
    g_monitorHelper = nullptr;
}
} // namespace

CWVPMonitorHelper& WVPMonitorHelper()
{
    if (!g_monitorHelper)
    {
        g_monitorHelper = new CWVPMonitorHelper;
        AfxRegisterExitHandler(&DestroyMonitorHelper, nullptr);
    }
    return *g_monitorHelper;
}
