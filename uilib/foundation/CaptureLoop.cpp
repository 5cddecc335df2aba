#include "uilib/foundation/CaptureLoop.h"

CWVPCaptureLoop::CWVPCaptureLoop(HWND hwnd) : m_hwnd(hwnd), m_bStop(FALSE)
{
}

CWVPCaptureLoop::Result CWVPCaptureLoop::Run()
{
    m_bStop = FALSE;
    if (!::IsWindow(m_hwnd))
        return CaptureLost;
    ::SetCapture(m_hwnd);
    Result result = Stopped;
    while (!m_bStop)
    {
        if (!::IsWindow(m_hwnd) || ::GetCapture() != m_hwnd)
        {
            result = CaptureLost;
            break;
        }
        MSG msg;
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1)
        {
            ::PostQuitMessage(got == 0 ? int(msg.wParam) : 0);
            result = Quit;
            break;
        }
        if (!OnMessage(msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    if (::IsWindow(m_hwnd) && ::GetCapture() == m_hwnd)
        ::ReleaseCapture();
    return result;
}
