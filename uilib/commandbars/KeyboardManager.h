#pragma once
// The thread's keyboard service for tracking command bars: while any receiver is registered it
// holds a keyboard hook and a call-window-procedure hook on the thread, offers every key-down to
// the receivers (the newest first) and closes the tracked bars when the application is
// deactivated. One per thread (WVPKeyboardManager), deleted when the thread ends or at exit.
#include "platform/mfc/Mfc.h"
#include "platform/mfc/ThreadLocal.h"

class CWVPHookManagerHookAble;

class CWVPKeyboardManager : public CNoTrackObject
{
  public:
    CWVPKeyboardManager();
    ~CWVPKeyboardManager() override;
    CWVPKeyboardManager(const CWVPKeyboardManager&) = delete;
    CWVPKeyboardManager& operator=(const CWVPKeyboardManager&) = delete;

    // Installs the hooks (when not yet installed) and appends the receiver unless it is listed.
    void AddReceiver(CWVPHookManagerHookAble* pReceiver);
    // Removes the receiver; the hooks go with the last one.
    void RemoveReceiver(CWVPHookManagerHookAble* pReceiver);
    BOOL IsReceiver(CWVPHookManagerHookAble* pReceiver) const
    {
        return m_receivers.Find(pReceiver) != nullptr;
    }
    BOOL IsHooked() const
    {
        return m_hKeyboardHook != nullptr || m_hCallWndProcHook != nullptr;
    }

    // TRUE installs the hook on this thread (answers null when one is installed already); FALSE
    // removes it.
    HHOOK InstallKeyboardHook(BOOL install);
    HHOOK InstallCallWndProcHook(BOOL install);

    // Offers a key message to the receivers, the newest first; TRUE when the key is eaten (the
    // first receiver that answers decides; a key nobody answers is eaten too).
    BOOL DispatchKeyMessage(UINT message, WPARAM wParam, LPARAM lParam);

    static LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CallWndProcHook(int code, WPARAM wParam, LPARAM lParam);

  private:
    HHOOK m_hKeyboardHook;
    HHOOK m_hCallWndProcHook;
    CList<CWVPHookManagerHookAble*, CWVPHookManagerHookAble*> m_receivers;
};

// The calling thread's keyboard manager, made on first use.
CWVPKeyboardManager* AFX_CDECL WVPKeyboardManager();
// The calling thread's keyboard manager, or null when the thread has none.
CWVPKeyboardManager* AFX_CDECL WVPKeyboardManagerNA();
