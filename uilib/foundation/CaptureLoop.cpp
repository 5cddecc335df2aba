#include "uilib/foundation/CaptureLoop.h"

CWVPCaptureLoop::CWVPCaptureLoop(HWND hwnd, BOOL bTakeCapture)
    : m_hwnd(hwnd), m_bTakeCapture(bTakeCapture), m_bStop(FALSE)
{
}

CWVPCaptureLoop::Result CWVPCaptureLoop::Run()
{
    m_bStop = FALSE;
    if (!::IsWindow(m_hwnd))
        return CaptureLost;
    if (m_bTakeCapture)
        ::SetCapture(m_hwnd);
    Result result = Stopped;
    while (Running())
    {
        if (!::IsWindow(m_hwnd) || (m_bTakeCapture && ::GetCapture() != m_hwnd))
        {
            result = CaptureLost;
            break;
        }
        MSG msg;
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
        {
            ::WaitMessage();
            continue;
        }
        if (!OnNextMessage(msg))
            break;
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1)
        {
            ::PostQuitMessage(got == 0 ? int(msg.wParam) : 0);
            result = Quit;
            break;
        }
        if (!Running())
        {
            ::PostMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
            break;
        }
        if (!OnMessage(msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    if (m_bTakeCapture && ::IsWindow(m_hwnd) && ::GetCapture() == m_hwnd)
        ::ReleaseCapture();
    return result;
}
