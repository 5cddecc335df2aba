#include "RwTest.h"

#include "platform/mfc/Mfc.h"

namespace
{
struct WorkerData
{
    CWinThread* pSeen = nullptr;
    int nCalls = 0;
};

UINT Worker(LPVOID pParam)
{
    WorkerData* pData = static_cast<WorkerData*>(pParam);
    pData->pSeen = AfxGetThread();
    ++pData->nCalls;
    return 7;
}

UINT EndsEarly(LPVOID)
{
    // Ending the thread cannot be caught and turned into a return.
    try
    {
        AfxEndThread(9, FALSE);
    }
    catch (...)
    {
    }
    return 1;
}

UINT Throws(LPVOID)
{
    AfxThrowUserException();
}

UINT ExitsThroughWin32(LPVOID)
{
    ::ExitThread(11);
}

CEvent* g_pDeleted = nullptr;
CEvent* g_pStarted = nullptr;

// A thread object that reports its deletion and either fails to start or runs a message loop.
class CLoopThread : public CWinThread
{
    DECLARE_DYNCREATE(CLoopThread)
  public:
    static BOOL s_bStart;
    ~CLoopThread() override
    {
        g_pDeleted->SetEvent();
    }
    BOOL InitInstance() override
    {
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE); // the queue exists from here on
        g_pStarted->SetEvent();
        return s_bStart;
    }
    int ExitInstance() override
    {
        return s_bStart ? CWinThread::ExitInstance() : 5;
    }
};
BOOL CLoopThread::s_bStart = FALSE;
IMPLEMENT_DYNCREATE(CLoopThread, CWinThread)

// A user-interface thread: its main window is a hidden popup; the test closes it from outside.
HWND g_hUiMain = nullptr;

class CUiThread : public CWinThread
{
    DECLARE_DYNCREATE(CUiThread)
  public:
    BOOL InitInstance() override
    {
        CWnd* main = new CWnd;
        if (!main->CreateEx(0, AfxRegisterWndClass(0), L"ui", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr))
        {
            delete main;
            return FALSE;
        }
        m_pMainWnd = main;
        m_pOwnedMain = main;
        g_hUiMain = main->m_hWnd;
        g_pStarted->SetEvent();
        return TRUE;
    }
    int ExitInstance() override
    {
        delete m_pOwnedMain;
        return CWinThread::ExitInstance() + 20;
    }
    CWnd* m_pOwnedMain = nullptr;
};
IMPLEMENT_DYNCREATE(CUiThread, CWinThread)

DWORD RunToEnd(CWinThread* pThread)
{
    EXPECT_EQ(::WaitForSingleObject(pThread->m_hThread, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    ::GetExitCodeThread(pThread->m_hThread, &code);
    return code;
}
} // namespace

TEST(WinThread, WorkersRunOnWin32ThreadsAndReportTheirExitCodes)
{
    struct Case
    {
        AFX_THREADPROC proc;
        DWORD expected;
    };
    const Case cases[] = {{Worker, 7}, {EndsEarly, 9}, {Throws, DWORD(-1)}, {ExitsThroughWin32, 11}};
    for (const Case& c : cases)
    {
        WorkerData data;
        CWinThread* pThread = AfxBeginThread(c.proc, &data, THREAD_PRIORITY_BELOW_NORMAL, 0, CREATE_SUSPENDED);
        ASSERT_NE(pThread, nullptr);
        pThread->m_bAutoDelete = FALSE;
        EXPECT_NE(pThread->m_nThreadID, 0u);
        EXPECT_EQ(pThread->GetThreadPriority(), THREAD_PRIORITY_BELOW_NORMAL);
        pThread->ResumeThread();
        EXPECT_EQ(RunToEnd(pThread), c.expected);
        if (c.proc == Worker)
        {
            EXPECT_EQ(data.pSeen, pThread);
            EXPECT_EQ(data.nCalls, 1);
        }
        delete pThread;
    }
    EXPECT_EQ(AfxGetThread(), nullptr);

    // Constructed with its function, started later, deleted by its owner.
    WorkerData data;
    CWinThread owned(Worker, &data);
    owned.m_bAutoDelete = FALSE;
    ASSERT_TRUE(owned.CreateThread());
    EXPECT_FALSE(owned.CreateThread());
    EXPECT_EQ(RunToEnd(&owned), 7u);
    EXPECT_EQ(data.pSeen, &owned);
}

TEST(WinThread, ThreadObjectsRunTheirLoopAndDeleteThemselves)
{
    CEvent deleted(FALSE, TRUE);
    CEvent started(FALSE, TRUE);
    g_pDeleted = &deleted;
    g_pStarted = &started;

    CLoopThread::s_bStart = FALSE;
    CWinThread* pThread = AfxBeginThread(RUNTIME_CLASS(CLoopThread));
    ASSERT_NE(pThread, nullptr);
    EXPECT_TRUE(deleted.Lock(10000));

    deleted.ResetEvent();
    started.ResetEvent();
    CLoopThread::s_bStart = TRUE;
    pThread = AfxBeginThread(RUNTIME_CLASS(CLoopThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(pThread, nullptr);
    HANDLE hThread = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), pThread->m_hThread, ::GetCurrentProcess(), &hThread, 0, FALSE,
                      DUPLICATE_SAME_ACCESS);
    pThread->ResumeThread();
    ASSERT_TRUE(started.Lock(10000));
    EXPECT_TRUE(pThread->PostThreadMessage(WM_QUIT, 3, 0));
    EXPECT_TRUE(deleted.Lock(10000));
    EXPECT_EQ(::WaitForSingleObject(hThread, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    ::GetExitCodeThread(hThread, &code);
    EXPECT_EQ(code, 3u);
    ::CloseHandle(hThread);

    EXPECT_EQ(AfxBeginThread(RUNTIME_CLASS(CObject)), nullptr);
    EXPECT_EQ(AfxBeginThread(static_cast<AFX_THREADPROC>(nullptr), nullptr), nullptr);
}

TEST(WinThread, AUserInterfaceThreadEndsWhenItsMainWindowCloses)
{
    CEvent started(FALSE, TRUE);
    g_pStarted = &started;
    CWinThread* pThread = AfxBeginThread(RUNTIME_CLASS(CUiThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(pThread, nullptr);
    pThread->m_bAutoDelete = FALSE;
    pThread->ResumeThread();
    ASSERT_TRUE(started.Lock(10000));
    ASSERT_TRUE(::PostMessageW(g_hUiMain, WM_CLOSE, 0, 0));
    EXPECT_EQ(RunToEnd(pThread), 20u); // the loop ended through WM_QUIT 0
    EXPECT_FALSE(::IsWindow(g_hUiMain));
    EXPECT_EQ(nullptr, pThread->m_pMainWnd);
    if (::WaitForSingleObject(pThread->m_hThread, 0) != WAIT_OBJECT_0)
    {
        pThread->PostThreadMessage(WM_QUIT, 0, 0); // the fault: end the thread before its object goes
        ::WaitForSingleObject(pThread->m_hThread, 10000);
    }
    delete pThread;
}

TEST(SyncObjects, LocksExcludeAndEventsSignal)
{
    struct Shared
    {
        CCriticalSection lock;
        int counter = 0;
    } shared;
    auto add = [](LPVOID p) -> UINT {
        Shared* s = static_cast<Shared*>(p);
        for (int i = 0; i < 20000; ++i)
        {
            CSingleLock guard(&s->lock, TRUE);
            int v = s->counter;
            s->counter = v + 1;
        }
        return 0;
    };
    CWinThread* threads[4];
    for (CWinThread*& t : threads)
    {
        t = AfxBeginThread(static_cast<AFX_THREADPROC>(add), &shared, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
        t->m_bAutoDelete = FALSE;
        t->ResumeThread();
    }
    for (CWinThread* t : threads)
    {
        RunToEnd(t);
        delete t;
    }
    EXPECT_EQ(shared.counter, 80000);

    CEvent manual(FALSE, TRUE);
    EXPECT_FALSE(manual.Lock(0));
    manual.SetEvent();
    EXPECT_TRUE(manual.Lock(0));
    EXPECT_TRUE(manual.Lock(0));
    manual.ResetEvent();
    EXPECT_FALSE(manual.Lock(0));
    CEvent automatic(TRUE);
    EXPECT_TRUE(automatic.Lock(0));
    EXPECT_FALSE(automatic.Lock(0));

    CSemaphore semaphore(2, 2);
    EXPECT_TRUE(semaphore.Lock(0));
    EXPECT_TRUE(semaphore.Lock(0));
    EXPECT_FALSE(semaphore.Lock(0));
    EXPECT_TRUE(semaphore.Unlock());
    EXPECT_TRUE(semaphore.Lock(0));

    // A mutex held here cannot be taken by another thread.
    CMutex mutex(TRUE);
    auto tryTake = [](LPVOID p) -> UINT { return static_cast<CMutex*>(p)->Lock(0) ? 1 : 0; };
    CWinThread* pThread =
        AfxBeginThread(static_cast<AFX_THREADPROC>(tryTake), &mutex, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    pThread->m_bAutoDelete = FALSE;
    pThread->ResumeThread();
    EXPECT_EQ(RunToEnd(pThread), 0u);
    delete pThread;
    {
        CSingleLock guard(&mutex);
        EXPECT_FALSE(guard.IsLocked());
        EXPECT_TRUE(guard.Lock(0));
        EXPECT_TRUE(guard.IsLocked());
        EXPECT_TRUE(guard.Unlock());
        EXPECT_FALSE(guard.IsLocked());
    }
    EXPECT_TRUE(mutex.Unlock());
}
