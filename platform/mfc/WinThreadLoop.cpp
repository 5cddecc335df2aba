// The message loop of framework threads: idle updates of the main window, pre-translation from
// the target window up to the frame, thread messages through the message map.
#include "platform/mfc/Thread.h"

#include <vector>

#include "platform/mfc/ControlBar.h"
#include "platform/mfc/ThreadState.h"
#include "platform/mfc/Wnd.h"
#include "platform/mfc/WinApp.h"

BEGIN_MESSAGE_MAP(CWinThread, CCmdTarget)
END_MESSAGE_MAP()

namespace
{
// Timer ticks of the system (caret blinks) do not end idle time.
const UINT kSystemTimer = 0x0118;

// Gathers the thread's top-level frames and bars other than the main window for the idle update.
struct IdleTargets
{
    HWND main;
    std::vector<HWND> windows; // the main window first
};

BOOL CALLBACK CollectIdleTarget(HWND hWnd, LPARAM lParam)
{
    IdleTargets* targets = reinterpret_cast<IdleTargets*>(lParam);
    try
    {
        CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
        if (wnd && hWnd != targets->main && (wnd->IsFrameWnd() || wnd->IsKindOf(RUNTIME_CLASS(CControlBar))))
            targets->windows.push_back(hWnd);
    }
    catch (...)
    {
        return FALSE;
    }
    return TRUE;
}

void ReportLoopException(const char* what)
{
    char line[256];
    ::wsprintfA(line, "Reelwright: thread %lu: message handling failed: %s\n", ::GetCurrentThreadId(),
                what ? what : "unknown exception");
    ::OutputDebugStringA(line);
}
}

void AFXAPI AfxPostQuitMessage(int nExitCode)
{
    ::PostQuitMessage(nExitCode);
}

CWnd* CWinThread::GetMainWnd()
{
    if (m_pActiveWnd)
        return m_pActiveWnd;
    return m_pMainWnd;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg)
{
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    // A mouse move that did not move, a paint and the caret blink do not end idle time.
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE)
    {
        if (state->m_ptCursorLast.x == pMsg->pt.x && state->m_ptCursorLast.y == pMsg->pt.y &&
            pMsg->message == state->m_nMsgLast)
            return FALSE;
        state->m_ptCursorLast = pMsg->pt;
        state->m_nMsgLast = pMsg->message;
        return TRUE;
    }
    return pMsg->message != WM_PAINT && pMsg->message != kSystemTimer;
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    if (lCount <= 0)
    {
        // The main window first, then every other visible frame and top-level bar of the thread
        // (floating tool bars, mini frames). Handles are collected first: an update may destroy windows.
        IdleTargets targets = {m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr, {}};
        if (targets.main)
            targets.windows.push_back(targets.main);
        ::EnumThreadWindows(::GetCurrentThreadId(), CollectIdleTarget, (LPARAM)&targets);
        for (HWND hWnd : targets.windows)
        {
            CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
            if (!wnd || !::IsWindowVisible(hWnd))
                continue;
            AfxCallWndProc(wnd, hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
            if (::IsWindow(hWnd))
                wnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        }
        return TRUE;
    }
    if (lCount == 1)
        AfxDeleteTempMaps();
    return FALSE;
}

int CWinThread::Run()
{
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    BOOL idle = TRUE;
    LONG idleCount = 0;
    for (;;)
    {
        while (idle && !::PeekMessageW(&state->m_msgCur, nullptr, 0, 0, PM_NOREMOVE))
        {
            if (!OnIdle(idleCount++))
                idle = FALSE;
        }
        do
        {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&m_msgCur))
            {
                idle = TRUE;
                idleCount = 0;
            }
        } while (::PeekMessageW(&state->m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinThread::PumpMessage()
{
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    BOOL got = ::GetMessageW(&m_msgCur, nullptr, 0, 0);
    state->m_msgCur = m_msgCur;
    if (got == 0 || got == -1)
        return FALSE;
    MSG& msg = m_msgCur;
    try
    {
        if (msg.message != WM_KICKIDLE && !PreTranslateMessage(&msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    catch (CException* e)
    {
        ProcessWndProcException(e, &msg);
        e->Delete();
    }
    catch (...)
    {
        ReportLoopException("message pre-translation");
    }
    return TRUE;
}

BOOL CWinThread::DispatchThreadMessageEx(MSG* pMsg)
{
    if (pMsg->message == WM_COMMAND || pMsg->message == WM_NOTIFY)
        return FALSE;
    const AFX_MSGMAP_ENTRY* entry =
        AfxWalkMessageMap(GetMessageMap(), pMsg->message, 0, 0, [](const AFX_MSGMAP_ENTRY&) { return true; });
    if (!entry)
        return FALSE;
    AFX_MSGCALL call = {};
    call.message = pMsg->message;
    call.wParam = pMsg->wParam;
    call.lParam = pMsg->lParam;
    call.bHandled = TRUE;
    entry->pfn(this, call);
    return TRUE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    if (!pMsg->hwnd && DispatchThreadMessageEx(pMsg))
        return TRUE;

    CWnd* main = AfxGetMainWnd();
    if (CWnd::WalkPreTranslateTree(main ? main->m_hWnd : nullptr, pMsg))
        return TRUE;

    // Messages of windows outside the main window (modeless dialogs) still meet its accelerators.
    if (main && main->m_hWnd && pMsg->hwnd)
    {
        HWND top = pMsg->hwnd;
        for (HWND parent = top; parent; parent = ::GetParent(parent))
            top = parent;
        if (top != main->m_hWnd && ::GetWindowThreadProcessId(top, nullptr) == ::GetCurrentThreadId())
            return main->PreTranslateMessage(pMsg);
    }
    return FALSE;
}

LRESULT CWinThread::ProcessWndProcException(CException*, const MSG* pMsg)
{
    ReportLoopException("handler");
    return pMsg && pMsg->message == WM_CREATE ? -1 : 0;
}
