// A framework thread on a real Win32 thread: either a worker that runs a thread function, or a
// thread object whose InitInstance/Run/ExitInstance the application overrides (the window
// classes add the message loop's details on top of Run).
#pragma once

#include "platform/mfc/CmdTarget.h"
#include "platform/mfc/Exception.h"

class CWnd;

typedef UINT (*AFX_THREADPROC)(LPVOID pParam);

class CWinThread : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinThread)
  public:
    CWinThread();
    // A worker: CreateThread runs pfnThreadProc(pParam) on the new thread.
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    // Closes the thread handle (the thread itself is not stopped).
    ~CWinThread() override;

    // Starts the thread; CREATE_SUSPENDED leaves it suspended until ResumeThread.
    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
    DWORD SuspendThread();
    DWORD ResumeThread();
    BOOL SetThreadPriority(int nPriority);
    int GetThreadPriority();
    BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam);
    operator HANDLE() const
    {
        return m_hThread;
    }

    // Thread objects without a thread function: set up, run, clean up. InitInstance returning
    // FALSE skips Run. The default Run dispatches messages until WM_QUIT, then calls ExitInstance.
    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();
    // Called when the thread ends: deletes the object when m_bAutoDelete is set.
    virtual void Delete();

    // The window layer's message loop (WinThreadLoop.cpp): Run takes messages through
    // PumpMessage, which offers each to PreTranslateMessage, and runs OnIdle while the queue is
    // empty (count 0 updates the main window's user interface, count 1 deletes temporary objects).
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL PumpMessage();
    virtual BOOL OnIdle(LONG lCount);
    virtual BOOL IsIdleMessage(MSG* pMsg);
    virtual LRESULT ProcessWndProcException(CException* e, const MSG* pMsg);
    virtual CWnd* GetMainWnd();
    // Runs a thread message through the message map (ON_THREAD_MESSAGE entries).
    BOOL DispatchThreadMessageEx(MSG* pMsg);

    HANDLE m_hThread;
    DWORD m_nThreadID;
    BOOL m_bAutoDelete;
    CWnd* m_pMainWnd;
    CWnd* m_pActiveWnd;
    AFX_THREADPROC m_pfnThreadProc;
    LPVOID m_pThreadParams;

  protected:
    // The message being processed by Run; ExitInstance returns the wParam of WM_QUIT.
    MSG m_msgCur;

    DECLARE_MESSAGE_MAP()

  private:
    static DWORD WINAPI ThreadEntry(LPVOID pParam);
};

// Posts WM_QUIT to the calling thread.
void AFXAPI AfxPostQuitMessage(int nExitCode);

// Creates and starts a worker thread (deleted automatically when it ends); null on failure.
CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority = THREAD_PRIORITY_NORMAL,
                                  UINT nStackSize = 0, DWORD dwCreateFlags = 0,
                                  LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
// Creates an object of a CWinThread-derived class and starts it; null on failure.
CWinThread* AFXAPI AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority = THREAD_PRIORITY_NORMAL,
                                  UINT nStackSize = 0, DWORD dwCreateFlags = 0,
                                  LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
// Ends the calling thread at once with nExitCode, deleting its thread object when bDelete is set
// (and its m_bAutoDelete). Like ExitThread, it runs no destructors of the thread's stack; a
// catch-all handler cannot stop it.
[[noreturn]] void AFXAPI AfxEndThread(UINT nExitCode, BOOL bDelete = TRUE);
// The framework thread object of the calling thread, or null.
CWinThread* AFXAPI AfxGetThread();
// Makes pThread the calling thread's object (the application object does this for the main thread).
void AFXAPI AfxSetThread(CWinThread* pThread);
