#include "engine/Thread.h"

#include "engine/FaultGuard.h"

#include <string.h>

namespace
{
thread_local bool t_isWin32Thread = false;
}

CThread::CThread()
    : m_hThread(INVALID_HANDLE_VALUE), m_watch(nullptr), m_threadId(0), m_stopRequested(false), m_selfDelete(false)
{
    memset(m_name, 0, sizeof(m_name));
}

CThread::~CThread()
{
    HANDLE thread = m_hThread.exchange(INVALID_HANDLE_VALUE);
    if (thread != INVALID_HANDLE_VALUE)
    {
        // Only a thread that was never stopped can still run here.
        if (::WaitForSingleObject(thread, 0) == WAIT_TIMEOUT)
            ::TerminateThread(thread, kDestroyExitCode);
        ::CloseHandle(thread);
    }
    HANDLE watch = m_watch.exchange(nullptr);
    if (watch)
        ::CloseHandle(watch);
    m_threadId = 0;
}

bool CThread::HasEnded() const
{
    HANDLE watch = m_watch;
    return watch && ::WaitForSingleObject(watch, 0) == WAIT_OBJECT_0;
}

bool CThread::IsWin32Thread()
{
    return t_isWin32Thread;
}

void CThread::MarkWin32Thread()
{
    t_isWin32Thread = true;
}

bool CThread::Start()
{
    OnBeforeStart();
    DWORD id = 0;
    HANDLE thread = ::CreateThread(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, &id);
    if (!thread)
        return false;
    m_threadId = id;
    HANDLE watch = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), thread, ::GetCurrentProcess(), &watch, SYNCHRONIZE, FALSE, 0);
    HANDLE previous = m_watch.exchange(watch);
    if (previous)
        ::CloseHandle(previous);
    m_hThread.store(thread);
    // Created suspended so that the handle is stored, and OnStarted sees it, before the thread can
    // end and take it.
    try
    {
        OnStarted();
    }
    catch (...)
    {
        ::ResumeThread(thread);
        throw;
    }
    ::ResumeThread(thread);
    return true;
}

DWORD WINAPI CThread::ThreadProc(LPVOID param)
{
    CThread* self = static_cast<CThread*>(param);
    MarkWin32Thread();
    try
    {
        DWORD fault = 0;
        auto run = [self] { self->Run(); };
        if (!FaultGuarded(run, &fault))
            self->OnFault(fault);
    }
    catch (...)
    {
        try
        {
            self->OnException();
        }
        catch (...)
        {
        }
    }
    try
    {
        self->OnExit();
    }
    catch (...)
    {
    }
    // Everything the ending thread needs of its object is read before it gives the handle back:
    // from then on a Stop finds no thread and its caller may delete the object at once. A Stop
    // that takes the handle first clears m_selfDelete only after that, so a true value read here
    // means no one else can own the object's end.
    bool selfDelete = self->m_selfDelete;
    memset(self->m_name, 0, sizeof(self->m_name));
    HANDLE thread = self->m_hThread.exchange(INVALID_HANDLE_VALUE);
    if (thread != INVALID_HANDLE_VALUE)
    {
        // The thread ended by itself before anyone stopped it: it cleans up after itself.
        ::CloseHandle(thread);
        if (selfDelete)
            delete self;
    }
    return 0;
}

int CThread::Stop(int milliseconds)
{
    m_stopRequested = true;
    HANDLE thread = m_hThread.exchange(INVALID_HANDLE_VALUE);
    if (thread == INVALID_HANDLE_VALUE)
        return -1;
    // A suspended thread must be able to run to its end.
    for (DWORD count = ::ResumeThread(thread); count != 0 && count != (DWORD)-1; count = ::ResumeThread(thread))
    {
    }
    m_selfDelete = false;
    int result = 1;
    if (::WaitForSingleObject(thread, milliseconds < 0 ? INFINITE : (DWORD)milliseconds) != WAIT_OBJECT_0)
    {
        OnStopped(1);
        ::TerminateThread(thread, kStopExitCode);
        result = 0;
    }
    else
    {
        OnStopped(0);
    }
    m_threadId = 0;
    memset(m_name, 0, sizeof(m_name));
    ::CloseHandle(thread);
    return result;
}
