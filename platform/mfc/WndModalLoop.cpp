// Modal loops: the loop of modal windows, the message pump of threads without a thread object,
// and the owner disabled while a modal window runs.
#include "platform/mfc/Wnd.h"

#include "platform/mfc/ThreadState.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/WndInternal.h"

BOOL AFXAPI AfxPumpMessage()
{
    // The loop of a thread without a framework thread object.
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    MSG& msg = state->m_msgCur;
    if (!::GetMessageW(&msg, nullptr, 0, 0))
        return FALSE;
    try
    {
        if (msg.message != WM_KICKIDLE && !CWnd::WalkPreTranslateTree(nullptr, &msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    catch (...)
    {
        AfxReportHandlerException(msg.message, "message pre-translation");
    }
    return TRUE;
}

BOOL CWnd::ContinueModal()
{
    return (m_nFlags & WF_CONTINUEMODAL) != 0;
}

void CWnd::EndModalLoop(int result)
{
    m_nModalResult = result;
    if (m_nFlags & WF_CONTINUEMODAL)
    {
        m_nFlags &= ~WF_CONTINUEMODAL;
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0); // wake the loop
    }
}

int CWnd::RunModalLoop(DWORD flags)
{
    HWND hWnd = m_hWnd;
    BOOL idle = TRUE;
    LONG idleCount = 0;
    BOOL showIdle = (flags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    HWND parent = ::GetParent(hWnd);
    m_nFlags |= (WF_MODALLOOP | WF_CONTINUEMODAL);
    CWinThread* thread = AfxGetThread();
    MSG msg;

    for (;;)
    {
        // Idle work while the queue is empty: show the dialog, then let the owner update itself.
        while (idle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
        {
            if (showIdle)
            {
                ::ShowWindow(hWnd, SW_SHOWNORMAL);
                ::UpdateWindow(hWnd);
                showIdle = FALSE;
            }
            if (!(flags & MLF_NOIDLEMSG) && parent && idleCount == 0)
                ::SendMessageW(parent, WM_ENTERIDLE, MSGF_DIALOGBOX, (LPARAM)hWnd);
            if ((flags & MLF_NOKICKIDLE) || !::SendMessageW(hWnd, WM_KICKIDLE, MSGF_DIALOGBOX, idleCount++))
                idle = FALSE;
        }

        do
        {
            if (!ContinueModal())
                goto done;
            if (!(thread ? thread->PumpMessage() : AfxPumpMessage()))
            {
                // WM_QUIT ends the modal loop; the thread's own loop still needs it, with its code.
                ::PostQuitMessage((int)AfxGetThreadState()->m_msgCur.wParam);
                goto done;
            }
            if (!::IsWindow(hWnd) || !ContinueModal())
                goto done;
            if (showIdle && (msg.message == 0x118 || msg.message == WM_SYSKEYDOWN))
            {
                ::ShowWindow(hWnd, SW_SHOWNORMAL);
                ::UpdateWindow(hWnd);
                showIdle = FALSE;
            }
            if (thread && thread->IsIdleMessage(&AfxGetThreadState()->m_msgCur))
            {
                idle = TRUE;
                idleCount = 0;
            }
        } while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }

done:
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    return m_nModalResult;
}

CModalOwner::CModalOwner(CWnd* parent) : m_hWnd(nullptr), m_bReenable(FALSE)
{
    m_hWnd = CWnd::GetSafeOwner(parent)->GetSafeHwnd();
    // The owner is disabled for the modal window's life, as the system's own modal dialogs do.
    if (m_hWnd && m_hWnd != ::GetDesktopWindow() && ::IsWindowEnabled(m_hWnd))
    {
        ::EnableWindow(m_hWnd, FALSE);
        m_bReenable = TRUE;
    }
}

void CModalOwner::Release(HWND modal)
{
    if (m_bReenable)
        ::EnableWindow(m_hWnd, TRUE);
    m_bReenable = FALSE;
    // The owner takes the activation back from the modal window, or after it went away on its own.
    HWND active = ::GetActiveWindow();
    if (m_hWnd && (active == nullptr || (modal && active == modal)))
        ::SetActiveWindow(m_hWnd);
}
