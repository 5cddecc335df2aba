#pragma once
// A command bar: the window that owns a collection of controls, lays them out and draws them
// through its paint manager. This is the bar's model as controls, collections and paint managers
// see it (type, position, sizes, selection, owner site); the bar window's tracking, keyboard and
// idle update build on it.
#include "platform/mfc/Mfc.h"
#include "uilib/commandbars/CommandBarAnimation.h"

#include <memory>
#include "uilib/commandbars/HookManager.h"

class CWVPControl;
class CWVPControls;
class CWVPPaintManager;
class CWVPImageManager;
class CWVPCommandBarManager;
class CWVPCommandBarKeyboardTip;
class CWVPToolTipContext;

enum WVPBarType
{
    wvpBarTypeMenuBar = 0,
    wvpBarTypeNormal = 1,
    wvpBarTypePopup = 2,
};

enum WVPBarPosition
{
    wvpBarTop = 0,
    wvpBarBottom = 1,
    wvpBarLeft = 2,
    wvpBarRight = 3,
    wvpBarFloating = 4,
    wvpBarPopup = 5,
    wvpBarNone = 7,
};

// Bar flags ("Flags").
const DWORD WVP_BARFLAG_HIDEWRAP = 0x20;
const DWORD WVP_BARFLAG_STRETCHED = 0x40;
const DWORD WVP_BARFLAG_LARGEBUTTONS = 0x200000;

// Bar style bits ("Style").
const DWORD WVP_BARSTYLE_GRIPPER = 0x400000;

// Messages a bar sends to its site window.
const UINT WVP_WM_CONTROLSELECTED = 10326;
const UINT WVP_WM_MENUBARTRACKING = 10328;
const UINT WVP_WM_CONTROLRBUTTONUP = 10329;
const UINT WVP_WM_TRACKINGKEYDOWN = 10330;

// The bar's window timers, and the message a popup posts to have keyboard tips shown again.
const UINT_PTR WVP_TIMER_HOVER = 112223;
const UINT_PTR WVP_TIMER_EXPANDPOPUP = 112224;
const UINT_PTR WVP_TIMER_SHOWKEYBOARDTIPS = 52426;
const UINT WVP_HOVER_DELAY = 300;
const UINT WVP_EXPAND_DELAY = 5000;

// Key codes of CWVPCommandBar::ProcessSpecialKey.
enum WVPSpecialKey
{
    wvpKeyNext = 0,
    wvpKeyPrev = 1,
    wvpKeyCollapse = 2,
    wvpKeyExpand = 3,
    wvpKeyEscape = 4,
    wvpKeyReturn = 5,
    wvpKeyHome = 6,
    wvpKeyEnd = 7,
    wvpKeyHorzPrev = 8,
    wvpKeyHorzNext = 9,
    wvpKeySysMenu = 10,
};

class CWVPCommandBar : public CWnd, public CWVPHookManagerHookAble
{
    DECLARE_DYNCREATE(CWVPCommandBar)

  public:
    CWVPCommandBar();
    ~CWVPCommandBar() override;
    // A bar whose window still exists destroys it before it goes.
    void OnFinalRelease() override;

    int GetType() const
    {
        return m_barType;
    }
    int GetPosition() const
    {
        return m_barPosition;
    }
    // A tool bar docks or floats there; a plain bar only records it.
    virtual BOOL SetPosition(int position)
    {
        m_barPosition = position;
        return TRUE;
    }
    BOOL IsVerticalPosition() const
    {
        return m_barPosition == wvpBarLeft || m_barPosition == wvpBarRight;
    }
    CWVPControls* GetControls() const
    {
        return m_pControls;
    }
    CWVPCommandBarManager* GetCommandBars() const
    {
        return m_pCommandBars;
    }
    void SetCommandBars(CWVPCommandBarManager* manager)
    {
        m_pCommandBars = manager;
    }

    // The bar's own paint manager, else the manager's, else the process-wide one.
    CWVPPaintManager* GetPaintManager() const;
    void SetPaintManager(CWVPPaintManager* paintManager);
    // The bar takes over the caller's reference and releases the one it held.
    CWVPImageManager* GetImageManager() const;
    void SetImageManager(CWVPImageManager* imageManager);

    CSize GetIconSize() const;
    void SetIconSize(CSize size)
    {
        m_szIcons = size;
    }
    CSize GetButtonSize() const;
    void SetButtonSize(CSize size)
    {
        m_szButtons = size;
    }
    CSize GetLargeIconSize() const;
    BOOL GetShowTextBelowIcons() const
    {
        return m_bTextBelow;
    }
    void ShowTextBelowIcons(BOOL show)
    {
        m_bTextBelow = show;
    }
    int GetDefaultButtonStyle() const
    {
        return m_nDefaultButtonStyle;
    }
    void SetDefaultButtonStyle(int style)
    {
        m_nDefaultButtonStyle = style;
    }
    DWORD GetFlags() const
    {
        return m_dwFlags;
    }
    void SetFlags(DWORD flags)
    {
        m_dwFlags = flags;
    }
    int GetMRUWidth() const
    {
        return m_nMRUWidth;
    }
    int GetRowSpacing() const
    {
        return m_nRowSpacing;
    }
    CString GetTitle() const
    {
        return m_strTitle;
    }
    void SetTitle(LPCWSTR title)
    {
        m_strTitle = title;
    }
    BOOL IsKeyboardCuesVisible() const;
    BOOL IsCustomizeMode() const;
    BOOL IsCustomizable() const
    {
        return m_bCustomizable;
    }
    // The window that receives the bar's commands and notifications.
    HWND GetOwnerSite() const;
    void SetOwnerSite(HWND site)
    {
        m_hwndOwner = site;
    }

    // Selection and the open popup, by control index (-1 none).
    int GetSelected() const
    {
        return m_nSelected;
    }
    virtual BOOL SetSelected(int index, BOOL keyboard = FALSE);
    int GetPopuped() const
    {
        return m_nPopuped;
    }
    virtual BOOL SetPopuped(int index, BOOL keyboard = FALSE);
    int GetTrackingMode() const
    {
        return m_nTrackingMode;
    }
    virtual BOOL SetTrackingMode(int mode, BOOL selectFirst = TRUE, BOOL keyboard = FALSE);
    // Opens this bar as the popup of a control; a bar without a window refuses.
    virtual BOOL Popup(CWVPControl* pControl, BOOL keyboard);

    // Layout and redraw requests.
    void DelayLayout()
    {
        m_dwLayoutFlags |= 1;
    }
    void DelayRedraw()
    {
        m_dwLayoutFlags |= 2;
    }
    DWORD GetLayoutFlags() const
    {
        return m_dwLayoutFlags;
    }
    virtual void Redraw(LPCRECT rc = nullptr, BOOL animate = FALSE);
    virtual void OnControlsReset();
    void SetWrappedLayout(BOOL wrapped)
    {
        m_bWrapped = wrapped;
    }
    BOOL IsWrappedLayout() const
    {
        return m_bWrapped;
    }
    void SetMultiColumn(BOOL multi)
    {
        m_bMultiColumn = multi;
    }
    BOOL IsMultiColumn() const
    {
        return m_bMultiColumn;
    }
    virtual int GetResizeMode() const
    {
        return 0;
    }
    // The bar whose control opened this one (none for bars that are not popups).
    virtual CWVPCommandBar* GetParentCommandBar() const
    {
        return nullptr;
    }

    // The bar as a window: drawing, hot tracking, timers and its place among the bars.
    virtual void DrawCommandBar(CDC* pDC, CRect rcClip);
    virtual void FillCommandBar(CDC* pDC);
    // Whether the bar shows (tool bars and popups answer their own state); a plain bar answers
    // whether its window is visible.
    virtual BOOL IsVisible() const;
    virtual BOOL HitTestBar(POINT ptScreen) const;
    virtual void EnsureVisible(CWVPControl* pControl);
    virtual void OnControlsChanged();
    virtual void OnIdleUpdate();
    virtual BOOL IsPopupBar() const
    {
        return FALSE;
    }
    virtual BOOL IsRibbonBar() const
    {
        return FALSE;
    }
    virtual void EndTracking();
    virtual void ClearSelection();
    virtual BOOL OnFrameAccel(UINT key);
    virtual void OnPopupRButtonUp(CWVPCommandBar* pPopup, CPoint pt);
    // The topmost bar of the popup chain.
    CWVPCommandBar* GetRootParent() const;
    // The window the bar works for, and (for a bar without a manager) the one given when tracked.
    HWND GetSite() const;
    void SetSite(HWND site)
    {
        m_hwndSite = site;
    }
    // The site window when it is a frame window, else null.
    CFrameWnd* GetSiteFrame() const;
    // Whether the site frame is in context-help mode.
    BOOL IsHelpMode() const;
    int GetControlCount() const;
    CWVPControl* GetControl(int index) const;
    BOOL GetShowGripper() const
    {
        return (m_dwStyle & WVP_BARSTYLE_GRIPPER) != 0;
    }
    void SetShowGripper(BOOL show)
    {
        m_dwStyle = show ? (m_dwStyle | WVP_BARSTYLE_GRIPPER) : (m_dwStyle & ~WVP_BARSTYLE_GRIPPER);
    }
    BOOL IsLayoutRTL() const;
    int GetLockCount() const
    {
        return m_nLockCount;
    }
    // Redraws are only marked pending while the redraw lock is above 0.
    void LockRedraw(BOOL lock)
    {
        m_nRedrawLock += lock ? 1 : -1;
    }
    // The hot-tracking handler; the mouse manager calls it too, with points outside the bar.
    afx_msg void OnMouseMove(UINT flags, CPoint pt);

    // Tracking and keyboard: the modal loop, the keys of a tracking bar and its keyboard tips.
    void PumpTrackingMessages();
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
    // 0 not handled, 1 handled (the key is eaten), 2 the key passes to the focus window.
    virtual int OnHookKeyDown(UINT key, LPARAM lParam);
    virtual BOOL ProcessSpecialKey(int code);
    // The control whose accelerator or first letter the key types, -1 for none; `ambiguous`
    // tells whether another control answers the same key.
    int FindAccelerator(UINT key, BOOL* ambiguous) const;
    virtual void CreateKeyboardTips();
    virtual void OnKeyboardTip(CWVPCommandBarKeyboardTip* pTip);
    virtual void OnKeyboardTipChar(UINT key);
    void HideKeyboardTips();
    // The manager's keyboard-tip level when its tips are shown for this bar, else 0.
    int GetKeyboardTipsState() const;
    // How the current selection was made: 0 by the mouse, else the keyboard kind.
    int GetKeyboardSelection() const
    {
        return m_bKeyboardSelection;
    }

    // The window that had the focus before the bar (or one of its edit fields) took it.
    HWND GetSavedFocus() const
    {
        return m_hwndSavedFocus;
    }
    void SetSavedFocus(HWND hWnd)
    {
        m_hwndSavedFocus = hWnd;
    }

    // Set while a modal operation runs over the tracked bars (the mouse manager's lock).
    int m_nLockCount;
    // Still reacts to mouse moves while the thread's mouse manager is locked.
    BOOL m_bIgnoreMouseLock;
    // A mouse selection starts the hover timer; moving over the bar moves an open popup along.
    BOOL m_bHover;
    // The caret of the focus window hides while the bar tracks.
    BOOL m_bHideCaret;
    // Recorded by the popup tracking from its flags: right-button tracking, no notification,
    // recursive tracking.
    BOOL m_bRightButtonTracking;
    BOOL m_bNoNotify;
    BOOL m_bRecursiveTracking;
    // Tracking began by the mouse: the first popup opened afterwards animates.
    BOOL m_bMouseStartedTracking;
    // Set while the manager lists the bar among its bars.
    BOOL m_bListedInManager;

    // Bars placed in a frame: shown state, borders, floating layout and controls from a TOOLBAR
    // resource (ToolBar.cpp, CommandBarResources.cpp).
    virtual void SetVisible(BOOL visible);
    virtual CRect GetBorders();
    virtual CSize CalcDynamicLayout(int length, DWORD mode);
    virtual BOOL LoadToolBar(UINT id, BOOL loadBitmap = TRUE);
    BOOL SetButtons(const UINT* ids, int count);
    UINT GetBarID() const
    {
        return m_nBarID;
    }
    void SetBarID(UINT id)
    {
        m_nBarID = id;
    }
    UINT m_nBarID = 0;

    // Replaces (or extends) the controls by those built from the menu; FALSE for a menu that is
    // not a valid menu, the controls left as they were.
    BOOL LoadMenu(CMenu* pMenu, BOOL replace = TRUE);

    // Idle update of the controls and the status line (CommandBarUpdate.cpp). The update object
    // is CCommandBarCmdUI (CommandBarCmdUI.h).
    class CCommandBarCmdUI;
    UINT GetActiveDocTemplate() const;
    void UpdateDocTemplateControls();
    void UpdateControlsCmdUI();
    virtual void OnControlSelected(BOOL selected, CWVPControl* pControl);
    void ShowStatusText(LPCWSTR text);
    virtual void UpdateShortcuts();
    // The control whose description the status line already shows (-1 none).
    int GetStatusControl() const
    {
        return m_nStatusControl;
    }
    void SetStatusControl(int index)
    {
        m_nStatusControl = index;
    }
    // Set on the root bar while it tracks without announcing commands: its controls then get no
    // command updates.
    BOOL IsNoNotifyTracking() const
    {
        return m_bNoNotify;
    }
    void SetNoNotifyTracking(BOOL noNotify)
    {
        m_bNoNotify = noNotify;
    }

    // Painting goes through the bar's redraw animation (CommandBarAnimation.h), which asks the bar
    // to draw itself.
    CWVPCommandBarAnimation* GetAnimation() const
    {
        return m_pAnimation.get();
    }
    void EnableAnimation(BOOL enable)
    {
        m_pAnimation->EnableAnimation(enable);
        Redraw();
    }
    BOOL IsAnimationEnabled() const
    {
        return m_pAnimation->IsAnimationEnabled();
    }
    // Keeps the cached picture of the bar even without animation.
    void SetAnimationParam(BOOL cachedPainting)
    {
        m_pAnimation->SetCachedPainting(cachedPainting);
    }

    int m_barType;
    int m_barPosition;
    DWORD m_dwFlags;
    int m_nDefaultButtonStyle;
    int m_nMRUWidth;
    int m_nRowSpacing;

  protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnLButtonDown(UINT flags, CPoint pt);
    afx_msg void OnLButtonUp(UINT flags, CPoint pt);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint pt);
    afx_msg void OnRButtonUp(UINT flags, CPoint pt);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg void OnMouseLeave();
    afx_msg void OnNcMouseMove(UINT hitTest, CPoint pt);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcHitTest(CPoint pt);
    afx_msg void OnNcLButtonDown(UINT hitTest, CPoint pt);
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    DECLARE_MESSAGE_MAP()

    // Leaves the tracked bars and the keyboard manager (destruction and removal).
    void ReleaseTracking();
    BOOL IsMouseLockedFor() const;

    DWORD m_dwStyle;
    HWND m_hwndSite;
    HWND m_hwndSavedFocus;
    int m_bKeyboardSelection;
    int m_nRedrawLock;
    CWVPToolTipContext* m_pToolTipContext;

    CWVPControls* m_pControls;
    CWVPCommandBarManager* m_pCommandBars;
    CWVPPaintManager* m_pPaintManager;
    CWVPImageManager* m_pImageManager;
    CSize m_szIcons;
    CSize m_szButtons;
    BOOL m_bTextBelow;
    BOOL m_bCustomizable;
    CString m_strTitle;
    HWND m_hwndOwner;
    int m_nSelected;
    int m_nPopuped;
    int m_nTrackingMode;
    DWORD m_dwLayoutFlags;
    BOOL m_bWrapped;
    BOOL m_bMultiColumn;

    int m_nStatusControl = -1;
    std::unique_ptr<CWVPCommandBarAnimation> m_pAnimation = std::make_unique<CWVPCommandBarAnimation>(this);
};
