// The window procedure of every framework window: it finds the object of the handle and runs
// the message through it, containing whatever a handler throws.
#include "platform/mfc/Wnd.h"

#include <exception>

#include "platform/mfc/Exception.h"
#include "platform/mfc/ThreadState.h"
#include "platform/mfc/WndInternal.h"

const wchar_t kAfxPassThroughProp[] = L"RwAfxOldProc";

void AfxReportHandlerException(UINT message, const char* what)
{
    char line[256];
    ::wsprintfA(line, "Reelwright: message 0x%04X: handler failed: %s\n", message, what ? what : "unknown exception");
    ::OutputDebugStringA(line);
}

WNDPROC AFXAPI AfxGetAfxWndProc()
{
    return &AfxWndProc;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    try
    {
        if (message == WM_QUERYAFXWNDPROC)
            return 1;
        CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
        if (!wnd)
        {
            // The object left while another subclasser still chained to us: pass the message on.
            WNDPROC old = (WNDPROC)::GetPropW(hWnd, kAfxPassThroughProp);
            if (message == WM_NCDESTROY)
                ::RemovePropW(hWnd, kAfxPassThroughProp);
            if (old)
                return ::CallWindowProcW(old, hWnd, message, wParam, lParam);
            return ::DefWindowProcW(hWnd, message, wParam, lParam);
        }
        return AfxCallWndProc(wnd, hWnd, message, wParam, lParam);
    }
    catch (...)
    {
        AfxReportHandlerException(message, "window procedure");
        return message == WM_CREATE ? -1 : 0;
    }
}

LRESULT AFXAPI AfxCallWndProc(CWnd* wnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    MSG saved = state->m_lastSentMsg;
    state->m_lastSentMsg.hwnd = hWnd;
    state->m_lastSentMsg.message = message;
    state->m_lastSentMsg.wParam = wParam;
    state->m_lastSentMsg.lParam = lParam;

    LRESULT result = 0;
    try
    {
        result = wnd->WindowProc(message, wParam, lParam);
    }
    catch (CException* e)
    {
        AfxReportHandlerException(message, "framework exception");
        e->Delete();
        result = message == WM_CREATE ? -1 : 0;
    }
    catch (const std::exception& e)
    {
        AfxReportHandlerException(message, e.what());
        result = message == WM_CREATE ? -1 : 0;
    }
    catch (...)
    {
        AfxReportHandlerException(message, nullptr);
        result = message == WM_CREATE ? -1 : 0;
    }

    // A window that did not run the framework's final cleanup still gets it.
    if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == wnd)
    {
        try
        {
            wnd->CWnd::OnNcDestroy();
        }
        catch (...)
        {
            AfxReportHandlerException(message, "final cleanup");
        }
    }
    state->m_lastSentMsg = saved;
    return result;
}
