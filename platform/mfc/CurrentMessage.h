// Shows framework code the message being handled: writes one message into the thread's record
// of it and puts the previous record back when it goes. Window procedures that run outside
// AfxWndProc (subclassing hooks) use it around the code they call.
#pragma once

#include "platform/mfc/ThreadState.h"

class CAfxCurrentMessage
{
  public:
    CAfxCurrentMessage(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
        : m_pState(AfxGetThreadState()), m_saved(m_pState->m_lastSentMsg)
    {
        m_pState->m_lastSentMsg.hwnd = hWnd;
        m_pState->m_lastSentMsg.message = nMessage;
        m_pState->m_lastSentMsg.wParam = wParam;
        m_pState->m_lastSentMsg.lParam = lParam;
    }
    ~CAfxCurrentMessage()
    {
        m_pState->m_lastSentMsg = m_saved;
    }
    CAfxCurrentMessage(const CAfxCurrentMessage&) = delete;
    CAfxCurrentMessage& operator=(const CAfxCurrentMessage&) = delete;

  private:
    _AFX_THREAD_STATE* m_pState;
    MSG m_saved;
};
