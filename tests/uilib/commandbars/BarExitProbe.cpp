// A console program for the command bars' clean-exit test: a bar tracks on the main thread and on
// a second thread that is still running (so the thread's keyboard and mouse hooks are installed),
// then the exit sequence runs and the program returns the exit code given on its command line. A
// check that fails returns a code of its own (90 and up) instead.
#include "platform/mfc/ExitSequence.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/KeyboardManager.h"
#include "uilib/commandbars/MouseManager.h"

#include <cstdlib>

namespace
{
enum Failure
{
    kNotTracking = 90,
    kNotHooked,
    kManagerLeft,
    kThreadFailed,
};

HANDLE g_threadReady = nullptr;
HANDLE g_threadGo = nullptr;

CWVPCommandBar* TrackingBar()
{
    CWVPCommandBar* bar = static_cast<CWVPCommandBar*>(CWVPCommandBar::CreateObject());
    bar->CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr);
    bar->SetTrackingMode(1, TRUE, TRUE);
    return bar;
}

DWORD WINAPI TrackingThread(LPVOID)
{
    CWVPCommandBar* bar = TrackingBar();
    const bool hooked = WVPKeyboardManagerNA() && WVPKeyboardManagerNA()->IsHooked();
    ::SetEvent(g_threadReady);
    // The main thread's exit sequence runs while this thread still tracks.
    ::WaitForSingleObject(g_threadGo, INFINITE);
    (void)bar;
    return hooked ? 0 : 1;
}

int Run()
{
    g_threadReady = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_threadGo = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = ::CreateThread(nullptr, 0, &TrackingThread, nullptr, 0, nullptr);
    if (!thread || ::WaitForSingleObject(g_threadReady, 10000) != WAIT_OBJECT_0)
        return kThreadFailed;
    CWVPCommandBar* bar = TrackingBar();
    if (!bar->GetTrackingMode() || WVPMouseManagerNA()->GetTrackedCount() != 1)
        return kNotTracking;
    if (!WVPKeyboardManagerNA()->IsHooked())
        return kNotHooked;
    AfxRunExitHandlers();
    if (WVPKeyboardManagerNA() || WVPMouseManagerNA())
        return kManagerLeft;
    ::SetEvent(g_threadGo);
    DWORD threadResult = 1;
    ::WaitForSingleObject(thread, INFINITE);
    ::GetExitCodeThread(thread, &threadResult);
    ::CloseHandle(thread);
    return threadResult == 0 ? 0 : kThreadFailed;
}
} // namespace

int main(int argc, char** argv)
{
    const int failure = Run();
    if (failure)
        return failure;
    return argc > 1 ? std::atoi(argv[1]) : 0;
}
