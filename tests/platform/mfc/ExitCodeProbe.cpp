// A small console program for the exit-sequence test: process-wide objects of every kind, exit
// handlers that record their order in a file, and an exit code given on the command line.
#include "platform/mfc/Mfc.h"

#include <cstdlib>
#include <cstring>

namespace
{
HANDLE g_hLog = INVALID_HANDLE_VALUE;

void Log(const char* text)
{
    DWORD written;
    ::WriteFile(g_hLog, text, DWORD(std::strlen(text)), &written, nullptr);
}

struct CLoggedState : CNoTrackObject
{
    // Destructors that call Win32: they must run inside the exit sequence, never later.
    ~CLoggedState() override
    {
        Log(m_name);
    }
    const char* m_name = "state,";
};

struct CThreadState : CLoggedState
{
    CThreadState()
    {
        m_name = "thread-local,";
    }
};

struct CProcessState : CLoggedState
{
    CProcessState()
    {
        m_name = "process-local,";
    }
};

CCriticalSection g_lock;
CThreadLocal<CThreadState> g_threadState;
CProcessLocal<CProcessState> g_processState;
CString g_text(L"a process-wide string");

void Record(void* context)
{
    Log(static_cast<const char*>(context));
}

UINT Worker(LPVOID)
{
    g_threadState.GetData();
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    g_hLog = ::CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (g_hLog == INVALID_HANDLE_VALUE)
        return 3;
    AfxRegisterExitHandler(Record, const_cast<char*>("first,"));
    {
        CSingleLock lock(&g_lock, TRUE);
        g_threadState.GetData();
        g_processState.GetData();
    }
    AfxRegisterExitHandler(Record, const_cast<char*>("second,"));
    CWinThread* pThread = AfxBeginThread(Worker, nullptr, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    pThread->m_bAutoDelete = FALSE;
    pThread->ResumeThread();
    ::WaitForSingleObject(pThread->m_hThread, INFINITE);
    delete pThread;
    Log("main,");
    AfxRunExitHandlers();
    ::CloseHandle(g_hLog);
    return std::atoi(argv[1]);
}
