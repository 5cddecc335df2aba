#pragma once
// A modal mouse-capture loop on a window (a pressed button, a dragged thumb or edge): it pulls
// the thread's messages and hands each to the loop's handler until the handler stops it, the
// window loses the capture or is destroyed, or WM_QUIT arrives. WM_QUIT is posted again, so the
// thread's own message loop still ends.
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

    explicit CWVPCaptureLoop(HWND hwnd);
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

  private:
    HWND m_hwnd;
    BOOL m_bStop;
};
