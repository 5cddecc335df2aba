#include "RwTest.h"

#include "engine/Thread.h"

#include <atomic>
#include <stdexcept>
#include <string>

namespace
{
std::atomic<bool> g_keepBusy(false);
std::atomic<int> g_destroyed(0);

// Records what the base class calls, and keeps a handle of its own to read the exit code.
class ProbeThread : public CThread
{
public:
    enum Mode
    {
        kReturn,
        kThrow,
        kBusy,
        kUntilStopped // runs until a Stop has taken its handle
    };

    explicit ProbeThread(Mode mode) : m_mode(mode) {}
    ~ProbeThread() override
    {
        ++g_destroyed;
        if (m_watch)
            ::CloseHandle(m_watch);
    }

    int Run() override
    {
        m_ranOnWin32Thread = IsWin32Thread();
        m_running = true;
        if (m_mode == kThrow)
            throw std::runtime_error("run failed");
        while (m_mode == kBusy && g_keepBusy)
            ::Sleep(1);
        while (m_mode == kUntilStopped && m_hThread.load() != INVALID_HANDLE_VALUE)
            ::Sleep(1);
        return 0;
    }
    void OnStarted() override
    {
        ::DuplicateHandle(::GetCurrentProcess(), m_hThread.load(), ::GetCurrentProcess(), &m_watch, 0, FALSE,
                          DUPLICATE_SAME_ACCESS);
    }
    void OnStopped(int timedOut) override { m_stoppedWith = timedOut; }
    void OnExit() override { m_exited = true; }
    void OnException() override { m_exception = true; }

    void SetSelfDelete() { m_selfDelete = true; }

    Mode m_mode;
    HANDLE m_watch = nullptr;
    std::atomic<bool> m_ranOnWin32Thread{false};
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_exited{false};
    std::atomic<bool> m_exception{false};
    int m_stoppedWith = -1;
};

DWORD ExitCodeAfterEnd(HANDLE thread)
{
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread, 10000));
    DWORD code = 12345;
    ::GetExitCodeThread(thread, &code);
    return code;
}
}

TEST(Thread, EndsByItselfThenStopFindsNoThread)
{
    ProbeThread thread(ProbeThread::kReturn);
    ASSERT_TRUE(thread.Start());
    EXPECT_EQ(0u, ExitCodeAfterEnd(thread.m_watch));
    EXPECT_TRUE(thread.m_ranOnWin32Thread);
    EXPECT_TRUE(thread.m_exited);
    // The ending thread took its own handle before it ended.
    EXPECT_EQ(-1, thread.Stop(-1));
    EXPECT_EQ(-1, thread.m_stoppedWith);
}

TEST(Thread, ThrowingRunEndsNormally)
{
    ProbeThread thread(ProbeThread::kThrow);
    ASSERT_TRUE(thread.Start());
    EXPECT_EQ(0u, ExitCodeAfterEnd(thread.m_watch));
    EXPECT_TRUE(thread.m_exception);
    EXPECT_TRUE(thread.m_exited);
}

TEST(Thread, StopWaitsForTheThread)
{
    ProbeThread thread(ProbeThread::kUntilStopped);
    ASSERT_TRUE(thread.Start());
    EXPECT_EQ(1, thread.Stop(-1));
    EXPECT_EQ(0, thread.m_stoppedWith);
    EXPECT_EQ(0u, ExitCodeAfterEnd(thread.m_watch));
}

TEST(Thread, StopTimeoutTerminatesABusyThread)
{
    g_keepBusy = true;
    ProbeThread thread(ProbeThread::kBusy);
    ASSERT_TRUE(thread.Start());
    EXPECT_EQ(0, thread.Stop(0));
    EXPECT_EQ(1, thread.m_stoppedWith);
    EXPECT_EQ(CThread::kStopExitCode, ExitCodeAfterEnd(thread.m_watch));
    g_keepBusy = false;
}

TEST(Thread, DestroyingARunningThreadTerminatesIt)
{
    g_keepBusy = true;
    HANDLE watch = nullptr;
    {
        ProbeThread thread(ProbeThread::kBusy);
        ASSERT_TRUE(thread.Start());
        ::DuplicateHandle(::GetCurrentProcess(), thread.m_watch, ::GetCurrentProcess(), &watch, 0, FALSE,
                          DUPLICATE_SAME_ACCESS);
        // Destroyed only inside Run: before it, the derived part would be gone when the thread
        // calls Run through the object.
        while (!thread.m_running)
            ::Sleep(1);
    }
    EXPECT_EQ(CThread::kDestroyExitCode, ExitCodeAfterEnd(watch));
    ::CloseHandle(watch);
    g_keepBusy = false;
}

TEST(Thread, SelfDeletingThreadDeletesItsObject)
{
    int before = g_destroyed;
    g_keepBusy = true;
    ProbeThread* thread = new ProbeThread(ProbeThread::kBusy);
    thread->SetSelfDelete();
    ASSERT_TRUE(thread->Start());
    g_keepBusy = false;
    for (int i = 0; i < 5000 && g_destroyed == before; ++i)
        ::Sleep(1);
    EXPECT_EQ(before + 1, g_destroyed);
}
