#include "platform/mfc/Thread.h"

#include "platform/mfc/Exception.h"
#include "platform/mfc/ThreadState.h"
#include "platform/mfc/Wnd.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

namespace
{
thread_local CWinThread* t_pCurrentThread = nullptr;

const UINT kFailedExitCode = UINT(-1);

// Detaches the thread object from the calling thread and deletes it when asked.
void EndThread(CWinThread* pThread, BOOL bDelete)
{
    // The thread's window state (handle maps, temporary objects) ends with it.
    try
    {
        AfxTermThreadState();
    }
    catch (...)
    {
    }
    t_pCurrentThread = nullptr;
    if (!pThread || !bDelete)
        return;
    try
    {
        pThread->Delete();
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
}

// Starts a new thread object at the given priority; deletes it and returns null on failure.
CWinThread* StartThread(CWinThread* pThread, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                        LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs))
    {
        delete pThread;
        return nullptr;
    }
    pThread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        pThread->ResumeThread();
    return pThread;
}
} // namespace

CWinThread::CWinThread() : CWinThread(nullptr, nullptr)
{
}

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_hThread(nullptr), m_nThreadID(0), m_bAutoDelete(TRUE), m_pMainWnd(nullptr), m_pActiveWnd(nullptr),
      m_pfnThreadProc(pfnThreadProc), m_pThreadParams(pParam), m_msgCur()
{
}

CWinThread::~CWinThread()
{
    if (m_hThread)
        ::CloseHandle(m_hThread);
    if (t_pCurrentThread == this)
        t_pCurrentThread = nullptr;
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (m_hThread)
        return FALSE;
    // Always start suspended, so that the handle and id are stored before the thread can end.
    DWORD id = 0;
    HANDLE h = ::CreateThread(lpSecurityAttrs, nStackSize, ThreadEntry, this, dwCreateFlags | CREATE_SUSPENDED, &id);
    if (!h)
        return FALSE;
    m_hThread = h;
    m_nThreadID = id;
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        ::ResumeThread(h);
    return TRUE;
}

DWORD CWinThread::SuspendThread()
{
    return ::SuspendThread(m_hThread);
}

DWORD CWinThread::ResumeThread()
{
    return ::ResumeThread(m_hThread);
}

BOOL CWinThread::SetThreadPriority(int nPriority)
{
    return ::SetThreadPriority(m_hThread, nPriority);
}

int CWinThread::GetThreadPriority()
{
    return ::GetThreadPriority(m_hThread);
}

BOOL CWinThread::PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostThreadMessageW(m_nThreadID, message, wParam, lParam);
}

BOOL CWinThread::InitInstance()
{
    return FALSE;
}

int CWinThread::ExitInstance()
{
    return m_msgCur.message == WM_QUIT ? int(m_msgCur.wParam) : 0;
}

void CWinThread::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

DWORD WINAPI CWinThread::ThreadEntry(LPVOID pParam)
{
    CWinThread* pThread = static_cast<CWinThread*>(pParam);
    t_pCurrentThread = pThread;
    UINT nExitCode = kFailedExitCode;
    try
    {
        if (pThread->m_pfnThreadProc)
            nExitCode = pThread->m_pfnThreadProc(pThread->m_pThreadParams);
        else if (pThread->InitInstance())
            nExitCode = UINT(pThread->Run());
        else
        {
            // A failed start still ends cleanly: its main window goes first.
            if (pThread->m_pMainWnd && pThread->m_pMainWnd->m_hWnd)
                pThread->m_pMainWnd->DestroyWindow();
            nExitCode = UINT(pThread->ExitInstance());
        }
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
    EndThread(pThread, TRUE);
    return nExitCode;
}

CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                                  DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (!pfnThreadProc)
        return nullptr;
    CWinThread* pThread = new CWinThread(pfnThreadProc, pParam);
    return StartThread(pThread, nPriority, nStackSize, dwCreateFlags, lpSecurityAttrs);
}

CWinThread* AFXAPI AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                                  LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (!pThreadClass || !pThreadClass->IsDerivedFrom(RUNTIME_CLASS(CWinThread)))
        return nullptr;
    CWinThread* pThread = static_cast<CWinThread*>(pThreadClass->CreateObject());
    if (!pThread)
        return nullptr;
    return StartThread(pThread, nPriority, nStackSize, dwCreateFlags, lpSecurityAttrs);
}

void AFXAPI AfxEndThread(UINT nExitCode, BOOL bDelete)
{
    EndThread(t_pCurrentThread, bDelete);
    ::ExitThread(nExitCode);
}

CWinThread* AFXAPI AfxGetThread()
{
    return t_pCurrentThread;
}

void AFXAPI AfxSetThread(CWinThread* pThread)
{
    t_pCurrentThread = pThread;
}
