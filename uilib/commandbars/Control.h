#pragma once
// One item of a command bar: a button, popup, split button, combo box, edit, label, check box,
// radio button or gallery. The base holds what every control shares (identity, texts, state,
// geometry, style, saved keys, the bound action) and the operations through which bars lay out,
// draw, hit-test, track and execute controls; the control classes override them.
#include "platform/mfc/Mfc.h"
#include "uilib/foundation/Accessible.h"

class CWVPControls;
class CWVPControl;
class CWVPCommandBar;
class CWVPControlAction;
class CWVPPaintManager;
class CWVPImageManager;
class CWVPImageManagerIcon;
class CWVPPropExchange;
class CWVPCommandBarManager;

enum WVPControlType
{
    wvpControlError = 0,
    wvpControlButton = 1,
    wvpControlPopup = 2,
    wvpControlButtonPopup = 3,
    wvpControlSplitButtonPopup = 4,
    wvpControlComboBox = 5,
    wvpControlEdit = 6,
    wvpControlCustom = 7,
    wvpControlLabel = 8,
    wvpControlCheckBox = 9,
    wvpControlGallery = 10,
    wvpControlRadioButton = 11,
};

enum WVPButtonStyle
{
    wvpButtonAutomatic = 0,
    wvpButtonCaption = 1,
    wvpButtonIcon = 2,
    wvpButtonIconAndCaption = 3,
    wvpButtonIconAndCaptionBelow = 4,
    wvpButtonCaptionAndDescription = 5,
};

// Control flags ("Flags").
const DWORD WVP_CONTROLFLAG_RIGHTALIGN = 0x01;
const DWORD WVP_CONTROLFLAG_SKIPFOCUS = 0x02;
const DWORD WVP_CONTROLFLAG_NOMOVABLE = 0x10;
const DWORD WVP_CONTROLFLAG_STRETCHED = 0x20;
const DWORD WVP_CONTROLFLAG_WRAPROW = 0x80;

// Hide flags ("HideFlags").
const DWORD WVP_HIDE_HIDDEN = 0x01;
const DWORD WVP_HIDE_WRAP = 0x02;
const DWORD WVP_HIDE_SCROLL = 0x08;
const DWORD WVP_HIDE_EXPAND = 0x20;

// The notification record a control sends to its site with message 10338.
struct NMWVPCONTROL
{
    NMHDR hdr;
    CWVPControl* pControl;
};

const UINT WVP_WM_CONTROLNOTIFY = 10338;
const UINT WVP_NOTIFY_EXECUTE = 100;
const UINT WVP_TIMER_EXECUTEREPEAT = 4269;


class CWVPControl : public CCmdTarget, public CWVPAccessible
{
    DECLARE_SERIAL(CWVPControl)

  public:
    class CDocTemplateMap : public CMap<UINT, UINT, BOOL, BOOL>
    {
      public:
        CDocTemplateMap() : CMap<UINT, UINT, BOOL, BOOL>(10)
        {
        }
        void CopyFrom(const CDocTemplateMap& other);
    };

    CWVPControl();
    ~CWVPControl() override;

    virtual CString GetCaption() const;
    virtual CString GetDescription() const;
    virtual CString GetTooltip() const;
    virtual void SetBeginGroup(BOOL beginGroup);
    virtual void SetEnabled(int enabled);
    virtual int GetSelected() const;
    virtual void SetFocused(BOOL focused);
    virtual BOOL IsFocused() const;
    virtual int GetPressed() const;
    virtual void SetRect(CRect rc);
    virtual BOOL IsVisible(DWORD mask = 0) const;
    virtual BOOL IsCaptionVisible() const;
    virtual BOOL Compare(CWVPControl* pOther);
    virtual CWVPCommandBar* GetCommandBar() const;
    virtual BOOL HasCustomBackground() const;
    virtual void SetHideFlags(DWORD flags);
    virtual void OnExecute();
    virtual CSize GetSize(CDC* pDC);
    virtual void Draw(CDC* pDC);
    virtual void OnCalcDynamicSize(DWORD mode);
    virtual CWVPImageManagerIcon* GetImage(int width = 16) const;
    virtual void DoPropExchange(CWVPPropExchange* pPX);
    virtual BOOL ActivateByKeyboard();
    virtual BOOL GetPopuped() const;
    virtual void SetAction(CWVPControlAction* pAction);
    virtual void InvalidatePlacement();
    virtual void SetWidth(int width);
    virtual void SetHeight(int height);
    virtual CSize GetButtonSize() const;
    virtual CSize GetIconSize() const;
    virtual void Copy(CWVPControl* pSource, BOOL recursive = FALSE);
    virtual void OnClick(BOOL keyboard = FALSE, CPoint pt = CPoint(0, 0));
    virtual BOOL IsFocusable() const;
    virtual BOOL OnHookKeyDown(UINT key);
    virtual BOOL OnHookMouseWheel(UINT flags, short delta, CPoint pt);
    virtual void SetParent(CWVPCommandBar* pBar);
    virtual BOOL OnSetPopup(BOOL open);
    virtual void OnLButtonUp(CPoint pt);
    virtual BOOL OnRButtonDown(CPoint pt);
    virtual BOOL OnRButtonUp(CPoint pt);
    virtual BOOL OnLButtonDblClk(CPoint pt);
    virtual void OnMouseMove(CPoint pt);
    virtual void OnMouseHover();
    virtual BOOL OnSetSelected(int state);
    virtual BOOL IsCustomizeDragOverAvail(CWVPCommandBar* pBar);
    virtual BOOL IsCustomizeResizeAllow() const;
    virtual int GetCustomizeMinWidth() const;
    virtual int GetCustomizeMinHeight() const;
    virtual void OnIdleUpdate();
    virtual void OnRemoved();
    virtual INT_PTR OnToolHitTest(CPoint pt, TOOLINFO* pTI);
    virtual BOOL IsCustomizeMovable() const;
    virtual void OnActionChanged(int property);
    virtual void OnActionChanging(int property);
    virtual void OnCaptionChanged();
    virtual CWVPControl* Clone(BOOL recursive = FALSE);

    // Accessibility.
    HRESULT GetAccessibleParent(IDispatch** ppdispParent) override;
    HRESULT GetAccessibleChildCount(LONG* pcountChildren) override;
    HRESULT GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild) override;
    HRESULT GetAccessibleName(VARIANT varChild, BSTR* pszName) override;
    HRESULT GetAccessibleDescription(VARIANT varChild, BSTR* pszDescription) override;
    HRESULT GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole) override;
    HRESULT GetAccessibleState(VARIANT varChild, VARIANT* pvarState) override;
    HRESULT GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    HRESULT AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                               VARIANT varChild) override;
    HRESULT AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) override;
    HRESULT AccessibleDoDefaultAction(VARIANT varChild) override;
    CCmdTarget* GetAccessibleCmdTarget() override;

    int GetType() const
    {
        return m_nType;
    }
    void SetType(int type)
    {
        m_nType = type;
    }
    int GetID() const
    {
        return m_nId;
    }
    int GetIndex() const
    {
        return m_nIndex;
    }
    int GetHelpId() const
    {
        return m_nHelpId;
    }
    void SetHelpId(int id)
    {
        m_nHelpId = id;
    }
    CWVPCommandBar* GetParent() const
    {
        return m_pParent;
    }
    CWVPControls* GetControls() const
    {
        return m_pControls;
    }
    CWVPControlAction* GetAction() const
    {
        return m_pAction;
    }
    BOOL GetBeginGroup() const
    {
        return m_bBeginGroup;
    }
    DWORD GetHideFlags() const
    {
        return m_dwHideFlags;
    }
    BOOL IsTemporary() const
    {
        return m_bTemporary;
    }
    BOOL GetWrap() const
    {
        return m_bWrap;
    }
    void SetWrap(BOOL wrap)
    {
        m_bWrap = wrap;
    }
    CRect GetRowRect() const
    {
        return m_rcRow;
    }
    void SetRowRect(CRect rc)
    {
        m_rcRow = rc;
    }
    int GetWidth() const
    {
        return m_nWidth;
    }
    int GetHeight() const
    {
        return m_nHeight;
    }
    DWORD GetFlags() const
    {
        return m_dwFlags;
    }
    void SetFlags(DWORD flags)
    {
        m_dwFlags = flags;
    }
    void SetStyle(int style)
    {
        m_nStyle = style;
    }
    int GetOwnStyle() const
    {
        return m_nStyle;
    }
    void SetCustomStyle(int style)
    {
        m_nCustomStyle = style;
    }
    void SetIconId(int id)
    {
        m_nIconId = id;
    }
    void SetCustomIcon(int id)
    {
        m_nCustomIconId = id;
    }
    void SetIconSize(CSize size)
    {
        m_szIcon = size;
    }
    void SetTooltip(LPCWSTR text)
    {
        m_strTooltipText = text;
    }
    void SetDescription(LPCWSTR text)
    {
        m_strDescriptionText = text;
    }
    void SetShortcutText(LPCWSTR text)
    {
        m_strShortcutText = text;
    }
    void SetParameter(LPCWSTR text)
    {
        m_strParameter = text;
    }
    CString GetParameter() const
    {
        return m_strParameter;
    }
    void SetTag(DWORD_PTR tag)
    {
        m_nTag = tag;
    }
    DWORD_PTR GetTag() const
    {
        return m_nTag;
    }
    void SetExecuteOnPressInterval(int interval)
    {
        m_nExecuteOnPressInterval = interval;
    }
    void SetPressed(int pressed)
    {
        m_nPressed = pressed;
    }
    void SetSelectedState(int selected)
    {
        m_nSelected = selected;
    }

    int GetStyle() const;
    int GetIconId() const;
    int GetEnabled() const;
    int GetChecked() const;
    void SetChecked(int checked);
    CRect GetRect() const
    {
        return m_rcControl;
    }
    CRect GetLayoutRect() const
    {
        return m_rcLayout;
    }
    void SetLayoutRect(CRect rc)
    {
        m_rcLayout = rc;
    }
    CString GetShortcutText() const;
    CString GetKeyboardTip() const;
    CWVPPaintManager* GetPaintManager() const;
    CWVPImageManager* GetImageManager() const;
    BOOL IsCustomizeMode() const;
    void DelayLayoutParent();
    void RedrawParent(BOOL animate = TRUE);
    void SetVisible(BOOL visible);
    BOOL GetDefaultItem() const
    {
        return m_bDefaultItem;
    }
    void SetDefaultItem(BOOL defaultItem);
    void SetExpandReveal(BOOL reveal);
    BOOL GetExpandReveal() const
    {
        return m_bRevealed;
    }
    LRESULT NotifySite(HWND site, UINT code, NMHDR* record);
    LRESULT NotifySite(CWnd* site, UINT code, NMHDR* record)
    {
        return NotifySite(site->GetSafeHwnd(), code, record);
    }
    void ExecuteCommand(HWND site);
    LRESULT NotifyOwner(UINT code);
    LRESULT NotifyOwnerEx(UINT code, NMHDR* record);
    void SetID(int id);
    void SetPrompt(LPCWSTR text);
    void SetCaption(LPCWSTR text);
    BOOL SetCaptionFromResource(UINT id);
    // The pressed-state loop of a button under the mouse; an empty rectangle means the control's.
    void ClickToolBarButton(CRect rc = CRect(0, 0, 0, 0));
    BOOL IsCursorOver() const;
    BOOL IsOnNonPopupBar() const;
    BOOL SetCustomizeResizeCursor(CPoint pt);
    // In customize mode: drags the left or right edge grabbed at the point (bar client
    // coordinates) with a frame on the desktop; Escape cancels, release accepts. FALSE when the
    // point is not on an edge.
    BOOL CustomizeStartResize(CPoint pt);
    static void AFX_CDECL DrawResizeFrame(CDC* pDC, CRect rc);
    BOOL IsOverDwmCaption() const
    {
        return FALSE;
    }

    // Kept by the collection.
    void AttachTo(CWVPControls* pControls, int index)
    {
        m_pControls = pControls;
        m_nIndex = index;
    }
    void SetTemporary(BOOL temporary)
    {
        m_bTemporary = temporary;
    }

  protected:
    friend class CWVPControlAction;
    friend class CWVPControls;

    DWORD_PTR m_nTag;
    int m_nIndex;
    int m_nId;
    int m_nIconId;
    int m_nHelpId;
    int m_nCustomIconId;
    BOOL m_bWrap;
    BOOL m_bBeginGroup;
    int m_nEnabled;
    int m_nChecked;
    int m_nSelected;
    int m_nPressed;
    BOOL m_bTemporary;
    CRect m_rcLayout;
    CRect m_rcControl;
    CRect m_rcRow;
    DWORD m_dwHideFlags;
    DWORD m_dwFlags;
    CString m_strCaption;
    CString m_strCustomCaption;
    CString m_strShortcutText;
    CString m_strShortcutTextAuto;
    CString m_strTooltipText;
    CString m_strDescriptionText;
    CString m_strParameter;
    CString m_strKeyboardTip;
    CWVPControls* m_pControls;
    int m_nType;
    CWVPCommandBar* m_pParent;
    BOOL m_bRevealed;
    CString m_strCategory;
    BOOL m_bDefaultItem;
    CDocTemplateMap m_docTemplatesAssigned;
    CDocTemplateMap m_docTemplatesExcluded;
    int m_nStyle;
    int m_nCustomStyle;
    int m_nDefaultStyle;
    BOOL m_bCloseSubMenuOnClick;
    CWVPControlAction* m_pAction;
    int m_nWidth;
    int m_nHeight;
    int m_nExecuteOnPressInterval;
    CSize m_szIcon;
};
