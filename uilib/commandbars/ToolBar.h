#pragma once
// The command bar that lives in a frame: docked in one of the frame's dock bars or floating in a
// top-level window of its own, moved and resized by its dock context, with a chevron for the
// controls that do not fit and a close button while it floats. The menu bar derives from it.
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/ControlPopup.h"

class CWVPDockBar;
class CWVPDockContext;
class CWVPPopupBar;

// Command ids of the tool bar's own controls.
const UINT WVP_ID_TOOLBAR_EXPAND = 9148;
const UINT WVP_ID_TOOLBAR_HIDE = 9149;
const UINT WVP_ID_TOOLBAR_CUSTOMIZE = 9122;
// Messages a tool bar sends to its site.
const UINT WVP_WM_BARVISIBLECHANGED = 10325; // wParam the bar, lParam the new visible state
const UINT WVP_WM_TOOLBARRESET = 10340;      // lParam the bar
// The reset confirmation, with the bar's title formatted in.
const UINT WVP_IDS_CONFIRMRESET = 9173;
// Window style bit of bars that follow their frame's activation (WM_FLOATSTATUS).
const DWORD WVP_BARWINDOW_FLOATSTATUS = 0x100;
// The dock flags of "Flags": where the bar may dock, and whether it may float.
const DWORD WVP_BARFLAG_DOCKTOP = 0x01;
const DWORD WVP_BARFLAG_DOCKBOTTOM = 0x02;
const DWORD WVP_BARFLAG_DOCKLEFT = 0x04;
const DWORD WVP_BARFLAG_DOCKRIGHT = 0x08;
const DWORD WVP_BARFLAG_FLOATING = 0x10;
const DWORD WVP_BARFLAG_DOCKANY = 0x0F;
const DWORD WVP_BARFLAG_MOVABLE = 0x1F;
const DWORD WVP_BARFLAG_FILLROW = 0x100000;
// Room reserved at the end of a docked bar for its chevron.
const int WVP_EXPAND_BUTTON_SPACE = 11;
// Borders of a floating bar, and the band of its edges that resizes it.
const int WVP_FLOATING_BORDER = 3;

class CWVPToolBar : public CWVPCommandBar
{
    DECLARE_DYNCREATE(CWVPToolBar)

  public:
    // The chevron at the end of a bar whose controls do not all fit: its popup lists them.
    class CControlButtonExpand : public CWVPControlPopup
    {
      public:
        CControlButtonExpand();
        ~CControlButtonExpand() override;
        void SetRect(CRect rc) override;
        void Draw(CDC* pDC) override;
        // The paint manager places the chevron; it takes no room among the controls.
        CSize GetSize(CDC* pDC) override;
        BOOL OnSetPopup(BOOL open) override;
        // Some control of the bar is hidden only because it did not fit.
        BOOL HasHiddenControls() const
        {
            return m_bHiddenControls;
        }

      protected:
        BOOL m_bHiddenControls;
    };

    // The close button of a floating bar: hides the bar.
    class CControlButtonHide : public CWVPControlButton
    {
      public:
        CControlButtonHide();
        void Draw(CDC* pDC) override;
        CSize GetSize(CDC* pDC) override;
        void OnExecute() override;
    };

    CWVPToolBar();
    ~CWVPToolBar() override;

    // Positions 0 to 3 dock the bar at that side of the manager's frame, 4 floats it; FALSE for
    // any other position or without a manager.
    BOOL SetPosition(int position) override;
    BOOL LoadToolBar(UINT id, BOOL loadBitmap = TRUE) override;
    void SetVisible(BOOL visible) override;
    BOOL IsVisible() const override
    {
        return m_bVisible;
    }
    void OnControlsChanged() override;
    CRect GetBorders() override;
    int OnHookKeyDown(UINT key, LPARAM lParam) override;
    // The floating layout: caption strip, close and expand buttons, controls for the length.
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    // A copy of the bar's state and controls (BuiltIn, TearOff and Closeable with them).
    virtual void Copy(CWVPToolBar* pSource, BOOL recursive = FALSE);
    virtual CWVPToolBar* Clone(BOOL recursive = FALSE);

    // The docked layout: controls for the length, with room for the chevron when some do not fit.
    virtual CSize CalcDockingLayout(int length, DWORD mode);
    // Back to the controls the bar was loaded with (asking first when `confirm`).
    virtual void Reset(BOOL confirm);
    // Creates (or re-parents) the bar's window in the site, docked or floating.
    virtual BOOL CreateToolBar(CWnd* pParent, BOOL floating);
    virtual BOOL CanReset();

    // The bar exists, has a window, shows, and its window is not empty.
    static BOOL AFX_CDECL IsBarShown(CWVPCommandBar* pBar);
    // Copies into the popup the controls hidden only because they did not fit, made visible.
    void AddHiddenControlsToPopup(CWVPCommandBar* pPopup);

    CWVPDockBar* GetDockBar() const
    {
        return m_pDockBar;
    }
    void SetDockBar(CWVPDockBar* pDockBar)
    {
        m_pDockBar = pDockBar;
    }
    CWVPDockContext* GetDockContext() const
    {
        return m_pDockContext;
    }
    BOOL IsBuiltIn() const
    {
        return m_bBuiltIn;
    }
    void SetBuiltIn(BOOL builtIn)
    {
        m_bBuiltIn = builtIn;
    }
    BOOL IsTearOff() const
    {
        return m_bTearOff;
    }
    void SetTearOff(BOOL tearOff)
    {
        m_bTearOff = tearOff;
    }
    BOOL IsCloseable() const
    {
        return m_bCloseable;
    }
    void SetCloseable(BOOL closeable)
    {
        m_bCloseable = closeable;
    }
    BOOL IsShowExpandButton() const
    {
        return m_bShowExpandButton;
    }
    void ShowExpandButton(BOOL show)
    {
        m_bShowExpandButton = show;
    }
    BOOL IsContextMenuPresent() const
    {
        return m_bContextMenuPresent;
    }
    void SetContextMenuPresent(BOOL present)
    {
        m_bContextMenuPresent = present;
    }
    BOOL IsFloating() const
    {
        return m_barPosition == wvpBarFloating;
    }
    CControlButtonExpand* GetExpandButton()
    {
        ForgetRemovedButtons();
        return m_pExpandButton;
    }
    CControlButtonHide* GetHideButton()
    {
        ForgetRemovedButtons();
        return m_pHideButton;
    }
    // The bar's width the last time it floated (0 when it never did).
    int m_nMRUFloatWidth;

  protected:
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT hitTest, UINT message);
    afx_msg void OnRButtonDown(UINT flags, CPoint pt);
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnNcActivate(BOOL active);
    afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT hitTest, UINT message);
    afx_msg void OnLButtonDown(UINT flags, CPoint pt);
    afx_msg LRESULT OnNcHitTest(CPoint pt);
    afx_msg void OnNcLButtonDown(UINT hitTest, CPoint pt);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnClose();
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint pt);
    DECLARE_MESSAGE_MAP()

    // The gripper strip of a docked bar, in client coordinates (empty when it shows none).
    CRect GetGripperRect();
    // The chevron and close button are the bar's controls: a bar whose controls were replaced
    // forgets them.
    void ForgetRemovedButtons();
    CControlButtonExpand* EnsureExpandButton();
    CControlButtonHide* EnsureHideButton();
    void RedrawIfLayoutPending(DWORD mode);

    CWVPDockBar* m_pDockBar;
    CWVPDockContext* m_pDockContext;
    CControlButtonExpand* m_pExpandButton;
    CControlButtonHide* m_pHideButton;
    BOOL m_bBuiltIn;
    BOOL m_bTearOff;
    BOOL m_bCloseable;
    BOOL m_bShowExpandButton;
    BOOL m_bContextMenuPresent;
    BOOL m_bInRelayout;
    BOOL m_bVisible;
};
