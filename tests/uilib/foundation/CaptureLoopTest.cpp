// The modal loop helper run without the capture, as a pop-up picker runs it: another window may
// hold the capture meanwhile, a message the loop declines before taking it stays queued, and a
// message taken after the owner ended the loop (from a message sent while the loop waited) is
// posted again for the thread's own loop.
#include "RwTest.h"
#include "uilib/foundation/CaptureLoop.h"

namespace
{
const UINT kEnd = WM_APP;          // ends the loop through its owner, as a handler would
const UINT kDeclined = WM_APP + 1; // declined by the loop before it is taken
const UINT kLater = WM_APP + 2;    // queued after the message that ends the loop

bool g_running;

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kEnd)
    {
        g_running = false;
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

class PickerLoop : public CWVPCaptureLoop
{
  public:
    explicit PickerLoop(HWND hwnd) : CWVPCaptureLoop(hwnd, FALSE)
    {
    }
    // Run between the look at the next message and its taking (a sent message that arrives then is
    // handled while the loop takes it).
    void (*beforeTaking)(HWND) = nullptr;

  protected:
    BOOL OnNextMessage(const MSG& msg) override
    {
        if (msg.message == kDeclined)
            return FALSE;
        if (beforeTaking)
            beforeTaking(GetWindow());
        return TRUE;
    }
    BOOL KeepRunning() override
    {
        return g_running;
    }
    BOOL OnMessage(MSG&) override
    {
        return FALSE;
    }
};

DWORD WINAPI SendEnd(LPVOID window)
{
    ::SendNotifyMessageW(static_cast<HWND>(window), kEnd, 0, 0);
    return 0;
}

// Another thread sends the ending message, which waits for the loop's thread to take it.
void SendEndFromAnotherThread(HWND hwnd)
{
    HANDLE thread = ::CreateThread(nullptr, 0, SendEnd, hwnd, 0, nullptr);
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
}
} // namespace

TEST(CaptureLoop, PickerLoopLeavesWhatItDoesNotTakeQueued)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"RwCaptureLoopOwner";
    ::RegisterClassW(&wc);
    const struct
    {
        const char* name;
        UINT first;       // posted first
        bool sendEnd;     // kEnd arrives from another thread just before `first` is taken
        UINT queuedAfter; // a message still queued when the loop has ended
    } cases[] = {
        {"ended by a handler", kEnd, false, kLater},
        {"declined before it was taken", kDeclined, false, kDeclined},
        {"taken after the owner ended it", WM_USER, true, WM_USER},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                                      nullptr);
        HWND other = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                                       nullptr);
        ::SetCapture(other);
        ::PostMessageW(hwnd, c.first, 0, 0);
        ::PostMessageW(hwnd, kLater, 0, 0);
        g_running = true;
        PickerLoop loop(hwnd);
        if (c.sendEnd)
            loop.beforeTaking = SendEndFromAnotherThread;
        EXPECT_EQ(CWVPCaptureLoop::Stopped, loop.Run());
        EXPECT_EQ(c.first == kDeclined, g_running);
        EXPECT_EQ(other, ::GetCapture()) << "the loop leaves the capture alone";
        MSG msg;
        EXPECT_TRUE(::PeekMessageW(&msg, hwnd, c.queuedAfter, c.queuedAfter, PM_REMOVE));
        ::ReleaseCapture();
        ::DestroyWindow(other);
        ::DestroyWindow(hwnd);
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
        }
    }
}
