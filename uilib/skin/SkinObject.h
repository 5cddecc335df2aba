#pragma once
// The base of every skin object: the skin manager attaches one to each window it skins by
// replacing the window's procedure, and messages reach it both there and through the hooked
// default procedures; subclasses draw their window from the skin through the message map.
#include "platform/mfc/SyncObject.h"
#include "platform/mfc/Wnd.h"

#include <vector>

class CWVPSkinManager;
class CWVPSkinManagerClass;
class CWVPSkinManagerMetrics;

// The registered messages by which a window refuses skinning (answer non-zero to the query) and
// asks its skin object to query again.
UINT WVPSkinQueryStateMessage();
UINT WVPSkinUpdateStateMessage();

class CWVPSkinObject : public CWnd
{
    DECLARE_DYNAMIC(CWVPSkinObject)
  public:
    // How a message reached the object: its own window procedure or one of the hooked defaults.
    enum DefProcKind
    {
        kDefProcWindow = 0,
        kDefProcCallWindowProc = 1,
        kDefProcDefWindowProc = 2,
        kDefProcDefMDIChildProc = 3,
        kDefProcDefFrameProc = 4,
        kDefProcDefDlgProc = 5,
    };

    // One message being routed through the object, newest first.
    struct DEFWINDOW_DESCRIPTIOR
    {
        int nKind;
        FARPROC pfnDefProc; // the unhooked function of the kind
        LPVOID lpExtra;     // CallWindowProc's procedure, DefFrameProc's MDI client, else null
        UINT nMessage;
    };

    CWVPSkinObject();
    ~CWVPSkinObject() override;

    void OnFinalRelease() override;
    WNDPROC* GetSuperWndProcAddr() override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Dispatches through the skin objects' own message maps only: the window's own object, not
    // this one, answers the framework's window messages.
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    virtual void OnSkinChanged(BOOL bPrevState, BOOL bNewState);
    virtual void RefreshMetrics();
    virtual void OnHookAttached(LPCREATESTRUCTW lpcs, BOOL bAuto);
    virtual void OnHookDetached(BOOL bAuto);
    virtual BOOL OnHookMessage(UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult);
    virtual BOOL OnHookDefWindowProc(UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult);
    virtual BOOL IsDefWindowProcAvail(int nMessage) const;
    virtual BOOL IsPassThroughMessage(UINT nMessage);

    // Subclasses the window (unless the no-subclass flag is set) and tells the object.
    void Attach(HWND hWnd, LPCREATESTRUCTW lpcs, BOOL bAuto);
    // Puts the previous procedure back while the skin's is still the window's, and tells the object.
    void Detach(BOOL bDestroyed);

    // The procedure put on every skinned window.
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
    // The common body of the hooked default procedures; TRUE when the object answered lResult.
    static BOOL OnHookDefProc(HWND hWnd, FARPROC pfnDefProc, int nKind, LPVOID lpExtra, UINT nMessage, WPARAM& wParam,
                              LPARAM& lParam, LRESULT& lResult);

    // Runs the window's own processing without the message coming back to the object.
    LRESULT CallDefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    CWVPSkinManagerClass* GetSkinClass() const;
    CString GetSchemaClassName() const
    {
        return m_strClassName;
    }
    CWVPSkinManagerMetrics* GetMetrics() const;
    COLORREF GetColor(int nIndex) const;
    BOOL IsSkinEnabled() const;

    CWVPSkinManager* GetSkinManager() const
    {
        return m_pManager;
    }
    void SetSkinManager(CWVPSkinManager* pManager)
    {
        m_pManager = pManager;
    }
    BOOL IsNoSubclass() const
    {
        return m_bNoSubclass;
    }
    void SetNoSubclass(BOOL bNoSubclass)
    {
        m_bNoSubclass = bNoSubclass;
    }
    BOOL IsOptedOut() const
    {
        return m_bOptedOut;
    }
    WNDPROC GetPreviousWndProc() const
    {
        return m_wndProc;
    }
    HWND GetSkinnedWindow() const
    {
        return m_hWnd;
    }

  protected:
    // Adds a reference and puts the descriptor at the head; PopDescriptor undoes both.
    void PushDescriptor(int nKind, FARPROC pfnDefProc, LPVOID lpExtra, UINT nMessage);
    void PopDescriptor();
    // The newest descriptor's message, or 0 with none.
    UINT GetTopDescriptorMessage();
    BOOL GetTopDescriptor(DEFWINDOW_DESCRIPTIOR& descriptor);
    void QueryOptOut();

    WNDPROC m_wndProc = nullptr;
    CWVPSkinManager* m_pManager = nullptr;
    CString m_strClassName;
    BOOL m_bNoSubclass = FALSE;    // no-subclass: messages arrive only through hooked defaults
    BOOL m_bSystemWndProc = FALSE; // the previous procedure is the system's
    BOOL m_bOptedOut = FALSE;      // the window answered the query-state message non-zero
    BOOL m_bUnicode = TRUE;
    CCriticalSection m_csDescriptors;
    std::vector<DEFWINDOW_DESCRIPTIOR> m_arrDescriptors; // newest at the back

    DECLARE_MESSAGE_MAP()
};

// Whether a window procedure belongs to the system (its classes' procedures and the handles it
// gives procedures that must be converted between character sets).
bool WVPIsSystemWindowProc(WNDPROC pfnWndProc);
// Whether the address is one of the handles Wine gives procedures it converts between character
// sets: such a handle can be given to CallWindowProc but not called directly.
bool WVPIsWinProcHandle(ULONG_PTR address);
// CallWindowProcW past the skin's hook.
LRESULT WVPSkinCallWindowProc(WNDPROC pfnWndProc, HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
