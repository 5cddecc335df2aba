// The application entry: AfxWinMain runs InitInstance, the loop and ExitInstance of the one
// application object, ends the loop when the main window goes, shuts a failed start down (main
// window destroyed, ExitInstance once) and runs the exit handlers before it returns.
#include "RwTest.h"

#include "platform/mfc/Mfc.h"
#include "platform/mfc/ThreadState.h"

namespace
{
int g_exitHandlerRuns = 0;

void CountExitHandler(void*)
{
    ++g_exitHandlerRuns;
}

class CEntryApp : public CWinApp
{
public:
    CEntryApp() : CWinApp(L"EntryTest") {}

    bool m_startSucceeds = true;
    int m_exitInstanceRuns = 0;
    int m_idleUpdates = 0;
    HWND m_mainWindow = nullptr;

    BOOL InitInstance() override
    {
        AfxRegisterExitHandler(CountExitHandler, nullptr);
        CFrameWnd* frame = new CFrameWnd;
        if (!frame->Create(nullptr, L"main", WS_POPUP, CRect(0, 0, 100, 100)))
            return FALSE;
        m_pMainWnd = frame;
        m_mainWindow = frame->m_hWnd;
        if (!m_startSucceeds)
            return FALSE;
        frame->ShowWindow(SW_SHOWNA);
        return TRUE;
    }
    BOOL OnIdle(LONG count) override
    {
        // The first idle time closes the main window, which ends the loop.
        if (count == 0 && ++m_idleUpdates == 1)
            m_pMainWnd->PostMessage(WM_CLOSE);
        return CWinApp::OnIdle(count);
    }
    int ExitInstance() override
    {
        ++m_exitInstanceRuns;
        CWinApp::ExitInstance();
        return m_startSucceeds ? 3 : 4;
    }
};

CEntryApp theApp;

TEST(WinAppTest, TheEntryRunsTheApplicationAndTheExitHandlers)
{
    struct Case
    {
        bool startSucceeds;
        int result;
    };
    for (const Case& c : {Case{true, 3}, Case{false, 4}})
    {
        SCOPED_TRACE(c.startSucceeds ? "start succeeds" : "start fails");
        theApp.m_startSucceeds = c.startSucceeds;
        theApp.m_exitInstanceRuns = 0;
        theApp.m_idleUpdates = 0;
        g_exitHandlerRuns = 0;

        EXPECT_EQ(c.result, AfxWinMain(::GetModuleHandleW(nullptr), nullptr, ::GetCommandLineW(), SW_SHOW));
        EXPECT_EQ(1, theApp.m_exitInstanceRuns);
        EXPECT_EQ(1, g_exitHandlerRuns);
        EXPECT_FALSE(::IsWindow(theApp.m_mainWindow));
        EXPECT_EQ(nullptr, theApp.m_pMainWnd);
        EXPECT_EQ(c.startSucceeds ? 1 : 0, theApp.m_idleUpdates > 0 ? 1 : 0);
    }
    EXPECT_EQ(&theApp, AfxGetApp());
    EXPECT_EQ(&theApp, AfxGetThread());
    EXPECT_EQ(::GetModuleHandleW(nullptr), AfxGetModuleState()->m_hCurrentInstanceHandle);
    EXPECT_EQ(0, ::lstrcmpW(L"EntryTest", theApp.m_pszAppName));
}

TEST(WinAppTest, WrappersLeaveTheSystemAloneOnceTheExitHandlersHaveRun)
{
    // After the exit handlers only static destructors run, when Win32 calls would end the process:
    // the wrappers then only forget their handles.
    AfxStartWindowLayer();
    CBrush* brush = new CBrush(RGB(1, 2, 3));
    HGDIOBJ handle = brush->m_hObject;
    AfxRunExitHandlers();
    EXPECT_TRUE(AfxWindowLayerTerminated());
    delete brush;
    EXPECT_EQ(OBJ_BRUSH, (DWORD)::GetObjectType(handle)); // still there: nothing was called
    ::DeleteObject(handle);
    AfxStartWindowLayer();
    EXPECT_FALSE(AfxWindowLayerTerminated());
}

UINT AFX_CDECL Worker(LPVOID param)
{
    *static_cast<DWORD*>(param) = ::GetCurrentThreadId();
    return AfxGetThread() ? 7 : 0;
}

TEST(WinAppTest, WorkerThreadsRunOnWin32ThreadsWithTheirOwnThreadObject)
{
    DWORD workerId = 0;
    CWinThread* thread = AfxBeginThread(Worker, &workerId, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, thread);
    thread->m_bAutoDelete = FALSE;
    thread->ResumeThread();
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread->m_hThread, 10000));
    DWORD code = 0;
    ::GetExitCodeThread(thread->m_hThread, &code);
    EXPECT_EQ(7u, code);
    EXPECT_EQ(thread->m_nThreadID, workerId);
    delete thread;
}
}
