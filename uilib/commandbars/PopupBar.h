#pragma once
// A popup bar: the menu or drop-down a popup control opens, or a context menu tracked at a point;
// a command bar of type 2 at position 5 shown in a top-level tool window that places itself
// against the control (or point) that opened it and stays inside the monitor's work area.
#include "uilib/commandbars/CommandBar.h"

class CWVPControlPopup;

// Open-direction flags of a popup.
const DWORD WVP_POPUP_OPENLEFT = 0x1;  // opens toward the left (right edges aligned when below)
const DWORD WVP_POPUP_OPENBELOW = 0x2; // opens below the exclude rectangle, else beside it
const DWORD WVP_POPUP_OPENUP = 0x4;    // a popup tracked at a point ends at the point

// Tracking flags (the platform's TPM_ values).
const UINT WVP_TRACK_RECURSE = 0x1;
const UINT WVP_TRACK_RIGHTBUTTON = 0x2;
const UINT WVP_TRACK_RIGHTALIGN = 0x8;
const UINT WVP_TRACK_NONOTIFY = 0x80;
const UINT WVP_TRACK_RETURNCMD = 0x100;

// Messages a popup sends to its owner site (lParam: the popup).
const UINT WVP_WM_POPUPSHOWING = 10331;
const UINT WVP_WM_POPUPCLOSED = 10333;

// A popup taller than the work area scrolls its items with an arrow area at each end: resting
// the mouse over one shows one more item on that side at every tick.
const UINT_PTR WVP_TIMER_SCROLLDOWN = 5001;
const UINT_PTR WVP_TIMER_SCROLLUP = 5002;
const UINT WVP_SCROLL_INTERVAL = 80;
const int WVP_SCROLL_AREA_HEIGHT = 16;

class CWVPPopupBar : public CWVPCommandBar
{
    DECLARE_DYNCREATE(CWVPPopupBar)

  public:
    CWVPPopupBar();
    ~CWVPPopupBar() override;

    // A new popup bar (one reference for the caller) of the manager.
    static CWVPPopupBar* AFX_CDECL CreatePopupBar(CWVPCommandBarManager* manager);
    // Shows the popup at the screen point (or against the exclude rectangle) for the site window
    // and tracks it until it closes: TRUE, or the chosen command with WVP_TRACK_RETURNCMD (0 when
    // none was chosen); 0 for a missing popup or one that cannot open.
    static int AFX_CDECL TrackPopupBar(CWVPCommandBar* pPopup, UINT flags, int x, int y, HWND site = nullptr,
                                       LPCRECT exclude = nullptr, HWND owner = nullptr);
    // Shows an ordinary menu as a popup bar of the default look (made first when the program has
    // no paint manager yet); the popup-menu function's tracker, installed with the classes.
    static BOOL AFX_CDECL TrackMenu(HMENU hMenu, UINT nFlags, int x, int y, CWnd* pWnd, int nIDToolBar, BOOL bNoNotify,
                                    BOOL* pResult);
    // Called by an executing control with its bar's root: TRUE when the root is a popup tracked for
    // its command, which then ends its tracking and keeps the command for its caller.
    static BOOL AFX_CDECL ReturnTrackedCommand(CWVPCommandBar* pRoot, int id);

    // A new popup bar with copies of this bar's controls (one reference for the caller).
    CWVPPopupBar* Clone(BOOL recursive);

    CWVPCommandBar* GetParentCommandBar() const override;
    CWVPControlPopup* GetControlPopup() const
    {
        return m_pControlPopup;
    }
    void SetControlPopup(CWVPControlPopup* pControl)
    {
        m_pControlPopup = pControl;
    }
    // Shows the items that only an expanded popup shows; FALSE when there were none.
    BOOL ExpandHiddenItems();
    BOOL IsShowShadow() const
    {
        return m_bShowShadow;
    }
    void SetShowShadow(BOOL show)
    {
        m_bShowShadow = show;
    }

    // Where the popup opens: its point, the area it must not cover and its directions.
    CPoint GetPopupPoint() const
    {
        return m_ptPopup;
    }
    void SetPopupPoint(CPoint pt)
    {
        m_ptPopup = pt;
    }
    CRect GetExcludeRect() const
    {
        return m_rcExclude;
    }
    void SetExcludeRect(const CRect& rc)
    {
        m_rcExclude = rc;
    }
    DWORD GetOpenDirection() const
    {
        return m_dwOpenDirection;
    }
    void SetOpenDirection(DWORD flags)
    {
        m_dwOpenDirection = flags;
    }
    // The popup is too tall for the work area and scrolls.
    BOOL IsScrolling() const
    {
        return m_bScrolling;
    }
    // The first control shown and the first one after the shown ones while the popup scrolls.
    int GetFirstVisibleIndex() const
    {
        return m_nFirstVisible;
    }
    int GetEndIndex() const
    {
        return m_nEndIndex;
    }
    // The arrow area at the bottom (scrolls down) or the top (scrolls up); empty when not shown.
    CRect GetScrollAreaRect(BOOL up) const
    {
        return m_scrollAreas[up ? 1 : 0];
    }
    // Places the controls that fit a popup of the height, down from the first visible index or up
    // to the end index; the others are hidden from view.
    void LayoutScrolling(int height, BOOL upward, BOOL redraw);

    BOOL Popup(CWVPControl* pControl, BOOL keyboard) override;
    BOOL IsPopupBar() const override
    {
        return TRUE;
    }
    BOOL IsVisible() const override
    {
        return m_hWnd && ::IsWindowVisible(m_hWnd);
    }
    BOOL SetTrackingMode(int mode, BOOL selectFirst = TRUE, BOOL keyboard = FALSE) override;
    // Selecting an item scrolled out of view scrolls it into view first.
    BOOL SetSelected(int index, BOOL keyboard = FALSE) override;
    // Hosted child windows are handed back to the site before the window goes.
    BOOL DestroyWindow() override;
    // An open popup lays itself out again and moves to its new place.
    void OnControlsChanged() override;

    virtual BOOL Create();
    // The popup's screen rectangle for a size, opened at the point.
    virtual CRect CalcPopupPosition(CPoint pt, CSize size);
    // The exclude rectangle, point and directions from the parent control and its bar.
    virtual void UpdateExcludeRect();
    virtual void AdjustExcludeRect(CRect& rc, BOOL vertical);
    // The popup's size, laid out as a menu (a length above 0 wraps it into columns of that height).
    CSize CalcPopupLayout(int length);

  protected:
    // Wrapping long menus into columns is allowed.
    BOOL IsWrapAllowed() const;
    void DrawCommandBar(CDC* pDC, CRect rcClip) override;
    // Starts or stops the arrow areas' timers for the pointer at a client point.
    void TrackScrollAreas(CPoint pt);
    // One tick of an arrow area's timer: one more control on its side, or the timer stops.
    void OnScrollTimer(UINT_PTR id);
    // Kills the arrow areas' timers and forgets the areas.
    void StopScrolling();
    // Shadows of an open popup, where the paint manager shows them.
    void SetShadows();

    // A popup never takes the activation from the window it works for.
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
    afx_msg void OnMouseMove(UINT flags, CPoint pt);
    afx_msg void OnMouseLeave();
    afx_msg void OnTimer(UINT_PTR id);
    DECLARE_MESSAGE_MAP()

    CWVPControlPopup* m_pControlPopup;
    BOOL m_bShowShadow;
    BOOL m_bExpanded;
    CPoint m_ptPopup;
    CRect m_rcExclude;
    DWORD m_dwOpenDirection;
    BOOL m_bScrolling;
    BOOL m_bInLayout;
    int m_nFirstVisible;
    int m_nEndIndex;
    // Bottom and top arrow areas, and whether each one's timer runs.
    CRect m_scrollAreas[2];
    BOOL m_scrollTimers[2];
    // Set while TrackPopupBar runs on this popup with WVP_TRACK_RETURNCMD: where the chosen command
    // goes (the caller's own result, valid only during the call).
    int* m_pReturnCommand;
};
