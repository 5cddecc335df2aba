#pragma once
// A command bar: the window that owns a collection of controls, lays them out and draws them
// through its paint manager. This is the bar's model as controls, collections and paint managers
// see it (type, position, sizes, selection, owner site); the bar window's tracking, keyboard and
// idle update build on it.
#include "platform/mfc/Mfc.h"
#include "uilib/commandbars/CommandBarAnimation.h"

#include <memory>

class CWVPControl;
class CWVPControls;
class CWVPPaintManager;
class CWVPImageManager;
class CWVPCommandBarManager;

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

// Sent to the site when a control's selection changes (wParam: the control when selected, else 0).
const UINT WVP_WM_CONTROLSELECTED = 10326;

class CWVPCommandBar : public CWnd
{
    DECLARE_DYNCREATE(CWVPCommandBar)

  public:
    CWVPCommandBar();
    ~CWVPCommandBar() override;

    int GetType() const
    {
        return m_barType;
    }
    int GetPosition() const
    {
        return m_barPosition;
    }
    void SetPosition(int position)
    {
        m_barPosition = position;
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
    void Redraw(LPCRECT rc = nullptr, BOOL animate = FALSE);
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
        return m_bNoNotifyTracking;
    }
    void SetNoNotifyTracking(BOOL noNotify)
    {
        m_bNoNotifyTracking = noNotify;
    }

    // Painting goes through the bar's redraw animation (CommandBarAnimation.h), which asks the bar
    // to draw itself.
    virtual void DrawCommandBar(CDC* pDC, CRect rcClipBox);
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
    BOOL m_bNoNotifyTracking = FALSE;
    std::unique_ptr<CWVPCommandBarAnimation> m_pAnimation = std::make_unique<CWVPCommandBarAnimation>(this);
};
