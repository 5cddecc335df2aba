#pragma once
// The thread's mouse service for tracking command bars: the stack of tracked bars (the last one
// is the innermost popup), windows whose clicks must not close them, the lock that modal work
// over the bars takes, and mouse-leave watching. Its mouse hook closes the tracked bars on a click
// outside them. One per thread (WVPMouseManager), deleted when the thread ends or at exit.
#include "platform/mfc/Mfc.h"
#include "platform/mfc/ThreadLocal.h"

class CWVPCommandBar;

class CWVPMouseManager : public CNoTrackObject
{
  public:
    typedef CArray<CWVPCommandBar*, CWVPCommandBar*> CTrackArray;
    typedef CArray<HWND, HWND> CTrustedArray;

    CWVPMouseManager();
    ~CWVPMouseManager() override;
    CWVPMouseManager(const CWVPMouseManager&) = delete;
    CWVPMouseManager& operator=(const CWVPMouseManager&) = delete;

    void AddTrackedBar(CWVPCommandBar* pBar);
    void RemoveTrackedBar(CWVPCommandBar* pBar);
    // Ends the tracking of every tracked bar (each removes itself).
    void CloseTrackedBars();
    // While the first tracked bar is locked, ends the tracking of the bars that are not.
    void CloseUnlockedTrackedBars();
    void LockTrackedBars(BOOL lock);
    BOOL IsTrackedBar(CWVPCommandBar* pBar) const;
    const CTrackArray& GetTrackedBars() const
    {
        return m_arrTracked;
    }
    INT_PTR GetTrackedCount() const
    {
        return m_arrTracked.GetSize();
    }
    CWVPCommandBar* GetTopTrackedBar() const
    {
        return m_arrTracked.GetSize() ? m_arrTracked[m_arrTracked.GetSize() - 1] : nullptr;
    }

    void AddTrustedWindow(HWND hWnd);
    void RemoveTrustedWindow(HWND hWnd);

    // TRUE when bars are tracked and this one is null, locked or not among them.
    BOOL IsBarInputBlocked(CWVPCommandBar* pBar) const;
    // The innermost tracked bar under a screen point, or null.
    CWVPCommandBar* TrackedBarFromPoint(POINT pt) const;
    // Whether a button-down taken by the asking bar's tracking loop lies outside the tracked bars.
    BOOL IsClickOutsideTrackedBars(CWVPCommandBar* pAsking, const MSG* pMsg) const;
    // Forgets the last mouse point and sets the cursor where it is, so that a fresh move comes.
    static void AFX_CDECL RefreshCursorPosition();
    // Watches the window until the cursor leaves it; it then gets WM_MOUSELEAVE.
    void WatchMouseLeave(HWND hWnd);
    static BOOL AFX_CDECL IsTopParentActive(HWND hWnd);

    BOOL IsLocked() const
    {
        return m_nLock > 0;
    }
    // The lock taken around modal work over the tracked bars (a dock drag).
    int m_nLock;
    // The bar whose control the mouse selected last.
    CWVPCommandBar* m_pHoverBar;
    // Set by a popup that expanded its hidden items; read by the popups that open after it.
    BOOL m_bExpandedPopups;
    // Eats the next left button-up (the one of the click that expanded a popup).
    BOOL m_bSwallowButtonUp;

    static LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK MouseLeaveTimerProc(HWND hWnd, UINT message, UINT_PTR id, DWORD time);

  private:
    // Looks at a mouse message outside the hook's own business while bars are tracked.
    void PreviewMouseMessage(UINT message, POINT pt);
    void RouteMouseToTrackedBar(CWVPCommandBar* pBar, UINT message, POINT pt);
    BOOL IsInTrustedWindow(POINT pt) const;
    static BOOL AFX_CDECL IsImeWindow(HWND hWnd);
    static BOOL AFX_CDECL IsBarUnderPoint(CWVPCommandBar* pBar, POINT pt, HWND hwndUnder);

    CTrackArray m_arrTracked;
    HHOOK m_hMouseHook;
    HWND m_hwndWatched;
    CTrustedArray m_arrTrusted;
};

// The calling thread's mouse manager, made on first use (which installs its mouse hook).
CWVPMouseManager* AFX_CDECL WVPMouseManager();
// The calling thread's mouse manager, or null when the thread has none.
CWVPMouseManager* AFX_CDECL WVPMouseManagerNA();

// The thread timer of mouse-leave watching.
const UINT_PTR WVP_TIMER_MOUSELEAVE = 113341;
