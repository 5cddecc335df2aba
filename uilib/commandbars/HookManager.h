#pragma once
// The window-hook service of the command bars: it subclasses a window once, however many objects
// want its messages, and offers every message to the registered receivers before the window's own
// procedure sees it. Shadows, menu bars, custom controls and auto-complete watchers use it.
#include "platform/mfc/Mfc.h"

// The face of an object that receives another window's messages through the hook manager (and
// the key messages of the keyboard manager). Owners unregister their receivers explicitly
// (CWVPHookManager::RemoveHookable); the destructor does not.
class CWVPHookManagerHookAble
{
  public:
    // Answers of OnHookMessage.
    enum
    {
        HookNotHandled = 0, // ask the next receiver
        HookHandled = 1,    // the window procedure returns the stored result; the window never sees it
        HookStop = 2        // ask no further receiver; the window's own procedure gets the message
    };

    CWVPHookManagerHookAble();
    virtual ~CWVPHookManagerHookAble();

    // Called for every message of a hooked window (WM_NCDESTROY excepted). A receiver may change
    // wParam and lParam: the window's own procedure receives the changed values.
    virtual int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) = 0;

    // When set, the hook sink deletes the receiver when it is removed from the sink and when the
    // sink itself goes (the window is destroyed or unhooked).
    BOOL m_bAutoDelete;
};

// The process-wide map from hooked window to its sink; made by WVPHookManager on first use and
// torn down by the program's exit sequence, which restores every subclassed window procedure.
class CWVPHookManager
{
  public:
    // The receivers of one subclassed window, in the order of registration.
    class CHookSink : public CArray<CWVPHookManagerHookAble*, CWVPHookManagerHookAble*>
    {
      public:
        // Subclasses the window.
        explicit CHookSink(HWND hWnd);
        // Restores the saved window procedure (while ours is still the current one) and deletes the
        // auto-delete receivers.
        ~CHookSink() override;

        // Index of the receiver, -1 when absent.
        INT_PTR Find(CWVPHookManagerHookAble* pHook) const;
        // Offers the message to the receivers, newest first; TRUE when one handled it.
        BOOL Dispatch(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult);
        // Removes one receiver; a sink left empty leaves the manager and is deleted.
        void RemoveHook(CWVPHookManagerHookAble* pHook);

        HWND GetHwnd() const { return m_hWnd; }
        WNDPROC GetSavedWndProc() const { return m_pfnOldWndProc; }
        BOOL IsUnicode() const { return m_bUnicode; }

      private:
        friend class CWVPHookManager;
        WNDPROC m_pfnOldWndProc;
        HWND m_hWnd;
        BOOL m_bUnicode;
        // Window procedure calls under way for this sink; a sink removed meanwhile is deleted when
        // the last of them returns.
        int m_nDispatchDepth;
        BOOL m_bRemoved;
    };

    CWVPHookManager();
    ~CWVPHookManager();
    CWVPHookManager(const CWVPHookManager&) = delete;
    CWVPHookManager& operator=(const CWVPHookManager&) = delete;

    // Hooks the window for the receiver (subclassing it on the first receiver); a receiver is held
    // at most once per window.
    void SetHook(HWND hWnd, CWVPHookManagerHookAble* pHook);
    // Removes the receiver from one window (nothing when the window is not hooked).
    void RemoveHook(HWND hWnd, CWVPHookManagerHookAble* pHook);
    // Removes the receiver from every hooked window.
    void RemoveHookable(CWVPHookManagerHookAble* pHook);
    // Forgets the window and deletes its sink, which unhooks it.
    void RemoveWindow(HWND hWnd);
    // Deletes every sink and empties the map.
    void RemoveAllSinks();

    // The sink of a window, null when the window is not hooked.
    CHookSink* Lookup(HWND hWnd) const;
    // The number of hooked windows.
    INT_PTR GetCount() const;

    // The window procedure installed on every hooked window.
    static LRESULT CALLBACK HookWndProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);

  private:
    friend class CHookSink;
    // Takes the sink out of the map and deletes it, or leaves the deletion to the window procedure
    // calls under way for it.
    void ReleaseSink(CHookSink* pSink);

    CMap<HWND, HWND, CHookSink*, CHookSink*> m_mapHooks;
};

// The process-wide hook manager, made on first use; its exit handler removes every hook.
CWVPHookManager* AFX_CDECL WVPHookManager();
