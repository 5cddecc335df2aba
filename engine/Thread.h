// Base of every thread the engine starts of its own (conversion jobs, the preview player): one
// Win32 thread running the subclass's Run, stoppable with a time-out after which it is terminated.
#pragma once

#include <windows.h>

#include <atomic>

class CThread
{
public:
    CThread();
    virtual ~CThread();

    virtual int Run() = 0;
    virtual void OnBeforeStart() {}
    virtual void OnStarted() {}
    virtual void OnStopped(int timedOut) { (void)timedOut; }
    virtual void OnExit() {}
    virtual void OnException() {}
    // A processor fault (an access violation...) ended Run: code is its exception code. The
    // thread goes on to its normal end afterwards.
    virtual void OnFault(DWORD code)
    {
        (void)code;
        OnException();
    }

    // True when the thread was created.
    bool Start();
    // Waits up to milliseconds (-1: no limit) for the thread to end. 1 when it ended by itself,
    // 0 when it had to be terminated, -1 when no thread was attached.
    int Stop(int milliseconds);

    // True once a thread was started and has ended, whichever way it ended (also when it never
    // reached the end of its procedure).
    bool HasEnded() const;

    static DWORD WINAPI ThreadProc(LPVOID param);

    // Whether the calling thread may call Win32: true on threads this class started and on
    // threads marked with MarkWin32Thread (the UI thread). FFmpeg's and libx264's own threads
    // are plain threads and stay unmarked.
    static bool IsWin32Thread();
    static void MarkWin32Thread();

    static constexpr DWORD kStopExitCode = (DWORD)-8888;
    static constexpr DWORD kDestroyExitCode = (DWORD)-8008;
    static constexpr int kNameCapacity = 128;

protected:
    std::atomic<HANDLE> m_hThread; // INVALID_HANDLE_VALUE when no thread is attached
    // A handle of the last started thread of its own, kept until the object goes: tells whether
    // that thread still runs.
    std::atomic<HANDLE> m_watch;
    DWORD m_threadId;
    std::atomic<bool> m_stopRequested;
    std::atomic<bool> m_selfDelete;
    char m_name[kNameCapacity];
};
