#pragma once
// A modal mouse-capture loop on a window (a pressed button, a dragged thumb or edge): it pulls
// the thread's messages and hands each to the loop's handler until the handler stops it, the
// window loses the capture or is destroyed, or WM_QUIT arrives. WM_QUIT is posted again, so the
// thread's own message loop still ends. A pop-up that closes on a click elsewhere runs the same
// loop without taking the capture.
#include <windows.h>

class CWVPCaptureLoop
{
  public:
    enum Result
    {
        Stopped = 0,     // the handler stopped the loop
        CaptureLost = 1, // another window took the capture, or the window went away
        Quit = 2,        // WM_QUIT arrived (and was posted again)
    };

    // With bTakeCapture FALSE the loop neither takes the capture nor ends when another window has
    // it; it ends when stopped, on WM_QUIT or when the window goes away.
    explicit CWVPCaptureLoop(HWND hwnd, BOOL bTakeCapture = TRUE);
    virtual ~CWVPCaptureLoop() = default;
    CWVPCaptureLoop(const CWVPCaptureLoop&) = delete;
    CWVPCaptureLoop& operator=(const CWVPCaptureLoop&) = delete;

    // Takes the capture for the window and runs until the loop ends; the capture is released
    // when the window still holds it.
    Result Run();
    void Stop()
    {
        m_bStop = TRUE;
    }
    HWND GetWindow() const
    {
        return m_hwnd;
    }

  protected:
    // One message: TRUE when the handler dealt with it, FALSE to translate and dispatch it.
    virtual BOOL OnMessage(MSG& msg) = 0;
    // The next message while it is still queued: FALSE stops the loop and leaves it there, for the
    // thread's own loop to take.
    virtual BOOL OnNextMessage(const MSG& msg)
    {
        (void)msg;
        return TRUE;
    }
    // Whether the loop goes on, for owners that end it from their own message handlers. A message
    // taken after the loop was ended that way (by a message sent while it waited) is posted again.
    virtual BOOL KeepRunning()
    {
        return TRUE;
    }

  private:
    BOOL Running()
    {
        return !m_bStop && KeepRunning();
    }

    HWND m_hwnd;
    BOOL m_bTakeCapture;
    BOOL m_bStop;
};
