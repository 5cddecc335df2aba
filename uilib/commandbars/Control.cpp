#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/CommandBarResources.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/ControlAction.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/MenuSoundPlayer.h"
#include "uilib/commandbars/MouseManager.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/commandbars/PopupBar.h"
#include "uilib/commandbars/PromptText.h"
#include "uilib/foundation/CaptureLoop.h"
#include "uilib/foundation/ImageManager.h"
#include "uilib/foundation/PropExchange.h"
#include "uilib/foundation/ResourceManager.h"

#include <algorithm>
#include <windowsx.h>

IMPLEMENT_SERIAL(CWVPControl, CCmdTarget, VERSIONABLE_SCHEMA | 0x21)

namespace
{
const int kRoleButtonMenu = 57;
const int kRolePushButton = 43;
const int kRoleMenuItem = 12;
const LONG kStateFocusable = 0x100000;
const LONG kStateSelectedFocusedHot = 0x86;
const LONG kStateInvisible = 0x8000;
const LONG kStateUnavailable = 1;
const LONG kStateChecked = 0x10;
const LONG kStatePressed = 8;
const LONG kStateHasPopup = 0x40000000;
const int kResizeLeftGrip = 3;
const int kResizeRightGrip = 2;

BSTR AllocText(const CString& text)
{
    return ::SysAllocStringLen(text.GetString(), text.GetLength());
}

// The pressed-state loop of a button under the mouse: follows the mouse in and out of the
// rectangle, repeats the command on its timer and ends on release.
class CPressLoop : public CWVPCaptureLoop
{
  public:
    CPressLoop(CWVPControl* control, HWND bar, CRect rc, BOOL repeat)
        : CWVPCaptureLoop(bar), m_pControl(control), m_rc(rc), m_bRepeat(repeat), m_bClick(FALSE),
          m_bHavePoint(FALSE)
    {
    }
    BOOL Clicked() const
    {
        return m_bClick;
    }

  protected:
    BOOL OnMessage(MSG& msg) override
    {
        if (!m_pControl->GetParent())
        {
            Stop();
            return FALSE;
        }
        switch (msg.message)
        {
        case WM_LBUTTONUP:
        {
            CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            if (msg.hwnd != GetWindow())
                ::MapWindowPoints(msg.hwnd, GetWindow(), &pt, 1);
            m_last = pt;
            m_bHavePoint = TRUE;
            m_bClick = m_pControl->GetSelected() && m_rc.PtInRect(m_last);
            Stop();
            return TRUE;
        }
        case WM_CANCELMODE:
        case WM_RBUTTONDOWN:
            Stop();
            return TRUE;
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE)
            {
                Stop();
                return TRUE;
            }
            return FALSE;
        case WM_TIMER:
            if (msg.wParam == WVP_TIMER_EXECUTEREPEAT && msg.hwnd == GetWindow())
            {
                if (m_pControl->GetSelected())
                    m_pControl->ExecuteCommand(m_pControl->GetParent()->GetOwnerSite());
                return TRUE;
            }
            return FALSE;
        case WM_MOUSEMOVE:
        {
            CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            if (msg.hwnd != GetWindow())
                ::MapWindowPoints(msg.hwnd, GetWindow(), &pt, 1);
            m_last = pt;
            m_bHavePoint = TRUE;
            const int selected = m_rc.PtInRect(pt) ? 1 : 0;
            if (selected != m_pControl->GetSelected())
            {
                m_pControl->SetSelectedState(selected);
                m_pControl->RedrawParent(TRUE);
            }
            return TRUE;
        }
        default:
            return FALSE;
        }
    }

  private:
    CWVPControl* m_pControl;
    CRect m_rc;
    BOOL m_bRepeat;
    BOOL m_bClick;
    BOOL m_bHavePoint;
    CPoint m_last;
};

// The customize resize of a control's edge: the frame follows the mouse on the desktop until the
// button is released (accept) or Escape, a lost capture or WM_QUIT cancels.
class CResizeLoop : public CWVPCaptureLoop
{
  public:
    CResizeLoop(HWND bar, CDC* pDesktopDC, CRect rc, BOOL leftEdge, int grabOffset, int minWidth)
        : CWVPCaptureLoop(bar), m_pDC(pDesktopDC), m_rc(rc), m_bLeft(leftEdge), m_nOffset(grabOffset),
          m_nMinWidth(minWidth), m_bAccepted(FALSE)
    {
    }
    CRect GetRect() const
    {
        return m_rc;
    }
    BOOL Accepted() const
    {
        return m_bAccepted;
    }

  protected:
    BOOL OnMessage(MSG& msg) override
    {
        switch (msg.message)
        {
        case WM_MOUSEMOVE:
        {
            CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            ::ClientToScreen(msg.hwnd, &pt);
            CRect moved = m_rc;
            if (m_bLeft)
                moved.left = std::min<int>(pt.x - m_nOffset, moved.right - m_nMinWidth);
            else
                moved.right = std::max<int>(pt.x - m_nOffset, moved.left + m_nMinWidth);
            if (moved != m_rc)
            {
                CWVPControl::DrawResizeFrame(m_pDC, m_rc);
                m_rc = moved;
                CWVPControl::DrawResizeFrame(m_pDC, m_rc);
            }
            return TRUE;
        }
        case WM_LBUTTONUP:
            m_bAccepted = TRUE;
            Stop();
            return TRUE;
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE)
            {
                Stop();
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
        }
    }

  private:
    CDC* m_pDC;
    CRect m_rc;
    BOOL m_bLeft;
    int m_nOffset;
    int m_nMinWidth;
    BOOL m_bAccepted;
};
} // namespace

void CWVPControl::CDocTemplateMap::CopyFrom(const CDocTemplateMap& other)
{
    RemoveAll();
    for (POSITION pos = other.GetStartPosition(); pos;)
    {
        UINT key = 0;
        BOOL value = FALSE;
        other.GetNextAssoc(pos, key, value);
        SetAt(key, value);
    }
}

CWVPControl::CWVPControl()
    : m_nTag(0), m_nIndex(0), m_nId(0), m_nIconId(0), m_nHelpId(0), m_nCustomIconId(0), m_bWrap(FALSE),
      m_bBeginGroup(FALSE), m_nEnabled(1), m_nChecked(0), m_nSelected(0), m_nPressed(0), m_bTemporary(FALSE),
      m_rcLayout(0, 0, 0, 0), m_rcControl(0, 0, 0, 0), m_rcRow(0, 0, 0, 0), m_dwHideFlags(0), m_dwFlags(0),
      m_pControls(nullptr), m_nType(wvpControlError), m_pParent(nullptr), m_bRevealed(FALSE), m_bDefaultItem(FALSE),
      m_nStyle(0), m_nCustomStyle(-1), m_nDefaultStyle(0), m_bCloseSubMenuOnClick(TRUE), m_pAction(nullptr),
      m_nWidth(0), m_nHeight(0), m_nExecuteOnPressInterval(0), m_szIcon(0, 0)
{
    EnableAutomation();
}

CWVPControl::~CWVPControl()
{
    if (m_pAction)
        m_pAction->RemoveControl(this);
    m_pAction = nullptr;
}

CCmdTarget* CWVPControl::GetAccessibleCmdTarget()
{
    return this;
}

CString CWVPControl::GetCaption() const
{
    if (!m_strCustomCaption.IsEmpty())
        return m_strCustomCaption;
    if (!m_strCaption.IsEmpty())
        return m_strCaption;
    return m_pAction ? m_pAction->GetCaption() : CString();
}

CString CWVPControl::GetDescription() const
{
    if (!m_strDescriptionText.IsEmpty())
        return m_strDescriptionText;
    return m_pAction ? m_pAction->GetDescription() : CString();
}

CString CWVPControl::GetTooltip() const
{
    if (!m_strTooltipText.IsEmpty())
        return m_strTooltipText;
    return m_pAction ? m_pAction->GetTooltip() : CString();
}

void CWVPControl::SetBeginGroup(BOOL beginGroup)
{
    if (m_bBeginGroup == beginGroup)
        return;
    m_bBeginGroup = beginGroup;
    DelayLayoutParent();
}

void CWVPControl::SetEnabled(int enabled)
{
    if (m_nEnabled == enabled)
        return;
    m_nEnabled = enabled;
    RedrawParent(TRUE);
}

int CWVPControl::GetSelected() const
{
    return m_nSelected;
}

void CWVPControl::SetFocused(BOOL)
{
}

BOOL CWVPControl::IsFocused() const
{
    return FALSE;
}

int CWVPControl::GetPressed() const
{
    return m_nPressed;
}

void CWVPControl::SetRect(CRect rc)
{
    m_rcControl = rc;
}

BOOL CWVPControl::IsVisible(DWORD mask) const
{
    if (m_pAction && !m_pAction->IsVisible())
        return FALSE;
    return (m_dwHideFlags & ~mask) == 0;
}

BOOL CWVPControl::IsCaptionVisible() const
{
    if (m_pParent && m_pParent->GetType() == wvpBarTypePopup)
        return TRUE;
    if (GetCaption().IsEmpty())
        return FALSE;
    switch (GetStyle())
    {
    case wvpButtonCaption:
    case wvpButtonIconAndCaption:
    case wvpButtonIconAndCaptionBelow:
        return TRUE;
    case wvpButtonIcon:
        return FALSE;
    default:
        break;
    }
    switch (m_nType)
    {
    case wvpControlButton:
    case wvpControlButtonPopup:
    case wvpControlSplitButtonPopup:
        return GetImage(0) == nullptr;
    case wvpControlPopup:
    case wvpControlLabel:
    case wvpControlCheckBox:
    case wvpControlRadioButton:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CWVPControl::Compare(CWVPControl* pOther)
{
    return GetStyle() == pOther->GetStyle() && m_nType == pOther->m_nType && m_nId == pOther->m_nId &&
           m_dwFlags == pOther->m_dwFlags && m_bBeginGroup == pOther->m_bBeginGroup &&
           GetIconId() == pOther->GetIconId() && m_strCaption == pOther->m_strCaption &&
           m_strTooltipText == pOther->m_strTooltipText && m_strDescriptionText == pOther->m_strDescriptionText &&
           m_strCustomCaption == pOther->m_strCustomCaption && m_nCustomStyle == pOther->m_nCustomStyle &&
           m_strParameter == pOther->m_strParameter &&
           (m_dwHideFlags & 0x10) == (pOther->m_dwHideFlags & 0x10) && m_nWidth == pOther->m_nWidth;
}

CWVPCommandBar* CWVPControl::GetCommandBar() const
{
    return nullptr;
}

BOOL CWVPControl::HasCustomBackground() const
{
    return FALSE;
}

void CWVPControl::SetHideFlags(DWORD flags)
{
    m_dwHideFlags = flags;
}

void CWVPControl::OnExecute()
{
    WVPMenuSoundPlayer()->RequestSound(CWVPMenuSoundPlayer::kCommandSound);
    m_nPressed = IsOnNonPopupBar() ? 2 : 0;
    CWVPCommandBar* pBar = m_pParent;
    CWVPCommandBarManager* manager = pBar ? pBar->GetCommandBars() : nullptr;
    if (manager && m_nId)
        manager->SetCommandUsed(m_nId);

    // A tracked popup that returns its command ends its tracking with it.
    CWVPCommandBar* pRoot = pBar ? pBar->GetRootParent() : nullptr;
    if (pRoot && CWVPPopupBar::ReturnTrackedCommand(pRoot, m_nId))
        return;

    InternalAddRef();
    if (m_bCloseSubMenuOnClick && pBar)
    {
        // Open popups close first; a command chosen in a popup ends the menus' tracking.
        if (!pBar->IsPopupBar())
            pBar->SetPopuped(-1);
        else if (pRoot->m_bRecursiveTracking)
            pRoot->EndTracking();
        else if (manager)
            manager->ClosePopups();
        else
            WVPMouseManager()->CloseTrackedBars();
    }
    if (m_nId)
    {
        ExecuteCommand(pBar ? pBar->GetOwnerSite() : nullptr);
        if ((!m_bCloseSubMenuOnClick || m_nPressed) && m_pParent)
        {
            m_nPressed = 0;
            RedrawParent(TRUE);
        }
    }
    InternalRelease();
}

CSize CWVPControl::GetSize(CDC* pDC)
{
    return GetPaintManager()->DrawControl(pDC, this, FALSE);
}

void CWVPControl::Draw(CDC* pDC)
{
    GetPaintManager()->DrawControl(pDC, this, TRUE);
}

void CWVPControl::OnCalcDynamicSize(DWORD)
{
}

CWVPImageManagerIcon* CWVPControl::GetImage(int width) const
{
    if (m_nCustomIconId == 0 && m_nIconId <= 0)
    {
        if (!m_pAction && m_nId == 0)
            return nullptr;
        if (m_pAction && m_pAction->GetIconId() <= 0 && m_pAction->GetId() == 0)
            return nullptr;
    }
    const int id = GetIconId();
    if (id <= 0)
        return nullptr;
    return GetImageManager()->GetImage(UINT(id), width);
}

void CWVPControl::DoPropExchange(CWVPPropExchange* pPX)
{
    long type = m_nType, id = m_nId, iconId = m_nIconId, customIconId = m_nCustomIconId, helpId = m_nHelpId;
    long style = m_nStyle, customStyle = m_nCustomStyle, width = m_nWidth, height = m_nHeight;
    long interval = m_nExecuteOnPressInterval, hide = long(m_dwHideFlags), flags = long(m_dwFlags);
    long tag = long(m_nTag);
    WVPExchangeLong(pPX, L"Type", type, wvpControlButton);
    WVPExchangeLong(pPX, L"Id", id, 0);
    WVPExchangeLong(pPX, L"Tag", tag, 0);
    WVPExchangeLong(pPX, L"IconId", iconId, 0);
    WVPExchangeLong(pPX, L"CustomIconId", customIconId, 0);
    WVPExchangeBool(pPX, L"BeginGroup", m_bBeginGroup, FALSE);
    WVPExchangeLong(pPX, L"HideFlags", hide, 0);
    WVPExchangeLong(pPX, L"Flags", flags, 0);
    WVPExchangeString(pPX, L"Caption", m_strCaption, L"");
    WVPExchangeString(pPX, L"CustomCaption", m_strCustomCaption, L"");
    WVPExchangeString(pPX, L"ShortcutText", m_strShortcutText, L"");
    WVPExchangeString(pPX, L"TooltipText", m_strTooltipText, L"");
    WVPExchangeString(pPX, L"DescriptionText", m_strDescriptionText, L"");
    WVPExchangeString(pPX, L"Parameter", m_strParameter, L"");
    const UINT schema = pPX->GetSchema();
    if (schema >= 2)
        WVPExchangeString(pPX, L"Category", m_strCategory, L"");
    if (schema >= 4)
        WVPExchangeBool(pPX, L"DefaultItem", m_bDefaultItem, FALSE);
    if (schema >= 7)
        WVPExchangeBool(pPX, L"CloseSubMenuOnClick", m_bCloseSubMenuOnClick, TRUE);
    if (schema >= 8)
    {
        WVPExchangeLong(pPX, L"CustomStyle", customStyle, -1);
        if (pPX->IsLoading() && schema < 18 && customStyle == 0)
            customStyle = -1;
    }
    if (schema >= 17)
        WVPExchangeLong(pPX, L"HelpId", helpId, 0);
    if (schema >= 18)
        WVPExchangeLong(pPX, L"Style", style, 0);
    if (schema >= 19)
    {
        WVPExchangeLong(pPX, L"Width", width, 0);
        WVPExchangeLong(pPX, L"Height", height, 0);
        WVPExchangeLong(pPX, L"ExecuteOnPressInterval", interval, 0);
    }
    if (schema >= 23)
        WVPExchangeString(pPX, L"ShortcutTextAuto", m_strShortcutTextAuto, L"");
    if (schema >= 24)
        WVPExchangeString(pPX, L"KeyboardTip", m_strKeyboardTip, L"");
    if (schema >= 26)
        WVPExchangeSize(pPX, L"IconSize", m_szIcon, CSize(0, 0));
    if (!pPX->IsLoading())
        return;
    m_nType = int(type);
    m_nId = int(id);
    m_nTag = DWORD_PTR(tag);
    m_nIconId = int(iconId);
    m_nCustomIconId = int(customIconId);
    m_nHelpId = int(helpId);
    m_nStyle = int(style);
    m_nCustomStyle = int(customStyle);
    m_nWidth = int(width);
    m_nHeight = int(height);
    m_nExecuteOnPressInterval = int(interval);
    m_dwHideFlags = DWORD(hide);
    m_dwFlags = DWORD(flags);
    CWVPCommandBarManager* manager = m_pParent ? m_pParent->GetCommandBars()
                                               : (m_pControls ? m_pControls->GetCommandBars() : nullptr);
    if (manager && manager->FindAction(m_nId))
        SetAction(manager->FindAction(m_nId));
    OnCaptionChanged();
}

BOOL CWVPControl::ActivateByKeyboard()
{
    OnExecute();
    return TRUE;
}

BOOL CWVPControl::GetPopuped() const
{
    return FALSE;
}

void CWVPControl::SetAction(CWVPControlAction* pAction)
{
    if (m_pAction == pAction)
        return;
    if (m_pAction)
        m_pAction->RemoveControl(this);
    m_pAction = pAction;
    if (pAction)
        pAction->AddControl(this);
}

void CWVPControl::InvalidatePlacement()
{
}

void CWVPControl::SetWidth(int width)
{
    if (m_nWidth == width)
        return;
    m_nWidth = width;
    DelayLayoutParent();
}

void CWVPControl::SetHeight(int height)
{
    if (m_nHeight == height)
        return;
    m_nHeight = height;
    DelayLayoutParent();
}

CSize CWVPControl::GetButtonSize() const
{
    return m_pParent ? m_pParent->GetButtonSize() : CSize(22, 22);
}

CSize CWVPControl::GetIconSize() const
{
    if (m_szIcon.cx || m_szIcon.cy)
        return m_szIcon;
    return m_pParent ? m_pParent->GetIconSize() : CSize(16, 16);
}

void CWVPControl::Copy(CWVPControl* pSource, BOOL)
{
    m_nId = pSource->m_nId;
    SetAction(pSource->m_pAction);
    m_nTag = pSource->m_nTag;
    m_dwFlags = pSource->m_dwFlags;
    m_nType = pSource->m_nType;
    m_strCaption = pSource->m_strCaption;
    m_strShortcutText = pSource->m_strShortcutText;
    m_strShortcutTextAuto = pSource->m_strShortcutTextAuto;
    m_strTooltipText = pSource->m_strTooltipText;
    m_strDescriptionText = pSource->m_strDescriptionText;
    m_strParameter = pSource->m_strParameter;
    m_strKeyboardTip = pSource->m_strKeyboardTip;
    m_strCustomCaption = pSource->m_strCustomCaption;
    m_strCategory = pSource->m_strCategory;
    m_nCustomIconId = pSource->m_nCustomIconId;
    m_nIconId = pSource->m_nIconId;
    m_nHelpId = pSource->m_nHelpId;
    m_bTemporary = pSource->m_bTemporary;
    m_dwHideFlags = pSource->m_dwHideFlags;
    m_bDefaultItem = pSource->m_bDefaultItem;
    m_nEnabled = pSource->m_nEnabled;
    m_nChecked = pSource->m_nChecked;
    m_nCustomStyle = pSource->m_nCustomStyle;
    m_nStyle = pSource->m_nStyle;
    m_nWidth = std::max(pSource->m_nWidth, GetCustomizeMinWidth());
    m_nHeight = pSource->m_nHeight;
    m_szIcon = pSource->m_szIcon;
    m_bBeginGroup = pSource->m_bBeginGroup;
    m_bCloseSubMenuOnClick = pSource->m_bCloseSubMenuOnClick;
    m_nExecuteOnPressInterval = pSource->m_nExecuteOnPressInterval;
    m_docTemplatesAssigned.CopyFrom(pSource->m_docTemplatesAssigned);
    m_docTemplatesExcluded.CopyFrom(pSource->m_docTemplatesExcluded);
    OnCaptionChanged();
}

void CWVPControl::OnClick(BOOL, CPoint)
{
}

BOOL CWVPControl::IsFocusable() const
{
    return FALSE;
}

BOOL CWVPControl::OnHookKeyDown(UINT)
{
    return FALSE;
}

BOOL CWVPControl::OnHookMouseWheel(UINT, short, CPoint)
{
    return FALSE;
}

void CWVPControl::SetParent(CWVPCommandBar* pBar)
{
    m_pParent = pBar;
}

BOOL CWVPControl::OnSetPopup(BOOL)
{
    return FALSE;
}

void CWVPControl::OnLButtonUp(CPoint)
{
}

BOOL CWVPControl::OnRButtonDown(CPoint)
{
    return FALSE;
}

BOOL CWVPControl::OnRButtonUp(CPoint)
{
    return FALSE;
}

BOOL CWVPControl::OnLButtonDblClk(CPoint pt)
{
    OnClick(FALSE, pt);
    return TRUE;
}

void CWVPControl::OnMouseMove(CPoint)
{
}

void CWVPControl::OnMouseHover()
{
    if (!m_pParent)
        return;
    const BOOL wasOpen = m_pParent->GetPopuped() != -1;
    m_pParent->SetPopuped(-1);
    if (wasOpen && m_pParent->GetTrackingMode() == 2 && m_pParent->GetPosition() != wvpBarPopup)
        m_pParent->SetTrackingMode(0);
}

BOOL CWVPControl::OnSetSelected(int state)
{
    if (state == m_nSelected)
        return FALSE;
    if ((state == 2 || state == 3) && m_pParent && m_pParent->GetPopuped() != -1 &&
        m_pParent->GetPopuped() != m_nIndex)
        m_pParent->SetPopuped(-1);
    m_nSelected = state;
    if (!GetEnabled() && state == 1)
        return TRUE;
    RedrawParent(state == 0);
    return TRUE;
}

BOOL CWVPControl::IsCustomizeDragOverAvail(CWVPCommandBar*)
{
    return TRUE;
}

BOOL CWVPControl::IsCustomizeResizeAllow() const
{
    return FALSE;
}

int CWVPControl::GetCustomizeMinWidth() const
{
    return 0;
}

int CWVPControl::GetCustomizeMinHeight() const
{
    return 0;
}

void CWVPControl::OnIdleUpdate()
{
}

void CWVPControl::OnRemoved()
{
    SetAction(nullptr);
}

INT_PTR CWVPControl::OnToolHitTest(CPoint, TOOLINFO*)
{
    return -1;
}

BOOL CWVPControl::IsCustomizeMovable() const
{
    return m_pParent && m_pParent->IsCustomizable() && !(m_dwFlags & WVP_CONTROLFLAG_NOMOVABLE);
}

void CWVPControl::OnActionChanged(int property)
{
    if (property == CWVPControlAction::PropertyCaption)
        OnCaptionChanged();
}

void CWVPControl::OnActionChanging(int)
{
}

void CWVPControl::OnCaptionChanged()
{
}

CWVPControl* CWVPControl::Clone(BOOL recursive)
{
    CWVPControl* pClone = static_cast<CWVPControl*>(GetRuntimeClass()->CreateObject());
    pClone->Copy(this, recursive);
    return pClone;
}

int CWVPControl::GetStyle() const
{
    if (m_nCustomStyle != -1)
        return m_nCustomStyle;
    if (m_nStyle != 0)
        return m_nStyle;
    if (m_nDefaultStyle != 0)
        return m_nDefaultStyle;
    return m_pParent ? m_pParent->GetDefaultButtonStyle() : 0;
}

int CWVPControl::GetIconId() const
{
    if (m_nCustomIconId != 0)
        return m_nCustomIconId;
    if (m_nIconId > 0)
        return m_nIconId;
    if (m_pAction)
        return m_pAction->GetIconId() > 0 ? m_pAction->GetIconId() : m_pAction->GetId();
    return m_nId;
}

int CWVPControl::GetEnabled() const
{
    if (m_nEnabled == -1)
        return m_pAction ? m_pAction->GetEnabled() : 1;
    return m_nEnabled;
}

int CWVPControl::GetChecked() const
{
    if (m_nChecked == -1)
        return m_pAction ? m_pAction->GetChecked() : 0;
    return m_nChecked;
}

void CWVPControl::SetChecked(int checked)
{
    if (m_nChecked == checked)
        return;
    m_nChecked = checked;
    RedrawParent(TRUE);
}

CString CWVPControl::GetShortcutText() const
{
    if (!m_strShortcutText.IsEmpty())
        return m_strShortcutText;
    if (m_pAction && !m_pAction->GetShortcutText().IsEmpty())
        return m_pAction->GetShortcutText();
    return m_strShortcutTextAuto;
}

void CWVPControl::SetShortcutTextAuto(LPCWSTR text)
{
    const CString shortcut = text ? text : L"";
    if (shortcut == m_strShortcutTextAuto)
        return;
    m_strShortcutTextAuto = shortcut;
    DelayLayoutParent();
}

CString CWVPControl::GetKeyboardTip() const
{
    if (!m_strKeyboardTip.IsEmpty())
        return m_strKeyboardTip;
    return m_pAction ? m_pAction->GetKeyboardTip() : CString();
}

CWVPPaintManager* CWVPControl::GetPaintManager() const
{
    if (m_pParent)
        return m_pParent->GetPaintManager();
    if (m_pControls && m_pControls->GetCommandBars())
        return m_pControls->GetCommandBars()->GetPaintManager();
    return CWVPPaintManager::GetInstance();
}

CWVPImageManager* CWVPControl::GetImageManager() const
{
    if (m_pParent)
        return m_pParent->GetImageManager();
    if (m_pControls && m_pControls->GetCommandBars())
        return m_pControls->GetCommandBars()->GetImageManager();
    return WVPImageManager();
}

BOOL CWVPControl::IsCustomizeMode() const
{
    return m_pParent ? m_pParent->IsCustomizeMode() : FALSE;
}

void CWVPControl::DelayLayoutParent()
{
    if (m_pParent)
        m_pParent->DelayLayout();
}

void CWVPControl::RedrawParent(BOOL animate)
{
    if (m_pParent && IsVisible(0))
        m_pParent->Redraw(m_rcControl, animate);
}

void CWVPControl::SetVisible(BOOL visible)
{
    const DWORD flags = visible ? (m_dwHideFlags & ~WVP_HIDE_HIDDEN) : (m_dwHideFlags | WVP_HIDE_HIDDEN);
    if (flags == m_dwHideFlags)
        return;
    SetHideFlags(flags);
    DelayLayoutParent();
}

void CWVPControl::SetDefaultItem(BOOL defaultItem)
{
    if (m_bDefaultItem == defaultItem)
        return;
    m_bDefaultItem = defaultItem;
    DelayLayoutParent();
}

void CWVPControl::SetExpandReveal(BOOL reveal)
{
    m_bRevealed = reveal;
    if (!reveal)
        SetHideFlags(m_dwHideFlags & ~WVP_HIDE_EXPAND);
}

LRESULT CWVPControl::NotifySite(HWND site, UINT code, NMHDR* record)
{
    if (!site)
    {
        if (!m_pParent)
            return 0;
        site = m_pParent->GetOwnerSite();
    }
    NMWVPCONTROL local = {};
    NMWVPCONTROL* notify = record ? reinterpret_cast<NMWVPCONTROL*>(record) : &local;
    notify->hdr.hwndFrom = nullptr;
    notify->hdr.idFrom = UINT_PTR(m_nId);
    notify->hdr.code = code;
    notify->pControl = this;
    if (!site)
        return 0;
    const LRESULT answer = ::SendMessageW(site, WVP_WM_CONTROLNOTIFY, WPARAM(m_nId), LPARAM(notify));
    if (answer)
        return answer;
    if (!m_pParent)
        return 0;
    CWnd* pSite = CWnd::FromHandlePermanent(site);
    if (!pSite)
        return 0;
    AFX_NOTIFY notifyInfo = {};
    LRESULT result = 0;
    notifyInfo.pResult = &result;
    notifyInfo.pNMHDR = &notify->hdr;
    if (pSite->OnCmdMsg(UINT(m_nId), MAKELONG(code, WM_NOTIFY), &notifyInfo, nullptr))
        return result;
    return 0;
}

void CWVPControl::ExecuteCommand(HWND site)
{
    // A popup tracked without notification tells no one.
    if (m_pParent && m_pParent->GetRootParent()->m_bNoNotify)
        return;
    if (!site && m_pParent)
        site = m_pParent->GetOwnerSite();
    if (NotifySite(site, WVP_NOTIFY_EXECUTE, nullptr) == 0 && site)
        ::SendMessageW(site, WM_COMMAND, WPARAM(m_nId), 0);
}

LRESULT CWVPControl::NotifyOwner(UINT code)
{
    return m_pParent ? NotifySite(m_pParent->GetOwnerSite(), code, nullptr) : 0;
}

LRESULT CWVPControl::NotifyOwnerEx(UINT code, NMHDR* record)
{
    return m_pParent ? NotifySite(m_pParent->GetOwnerSite(), code, record) : 0;
}

void CWVPControl::SetID(int id)
{
    if (id == m_nId)
        return;
    CString text;
    if (WVPResourceManager()->LoadString(&text, UINT(id)))
        SetPrompt(text);
    m_nId = id;
}

void CWVPControl::SetPrompt(LPCWSTR text)
{
    if (!text || !*text)
        return;
    const WVPPromptParts prompt = WVPSplitPrompt(text);
    if (prompt.hasNewLine)
    {
        m_strTooltipText = prompt.parts[1];
        m_strDescriptionText = prompt.parts[0];
    }
    else
        m_strTooltipText = m_strDescriptionText = text;
    if (m_strCaption.IsEmpty())
    {
        if (prompt.count > 2)
            m_strCaption = prompt.parts[2];
        else
        {
            m_strCaption = m_strTooltipText;
            OnCaptionChanged();
        }
    }
    if (m_strKeyboardTip.IsEmpty())
        m_strKeyboardTip = prompt.parts[3];
}

void CWVPControl::SetCaption(LPCWSTR text)
{
    CString caption = text ? text : L"";
    BOOL shortcutChanged = FALSE;
    const int tab = caption.Find(L'\t');
    if (tab >= 0)
    {
        const CString shortcut = caption.Mid(tab + 1);
        shortcutChanged = shortcut != m_strShortcutTextAuto;
        m_strShortcutTextAuto = shortcut;
        caption = caption.Left(tab);
    }
    if (caption != m_strCaption)
    {
        m_strCaption = caption;
        OnCaptionChanged();
        DelayLayoutParent();
    }
    else if (shortcutChanged)
        DelayLayoutParent();
}

BOOL CWVPControl::SetCaptionFromResource(UINT id)
{
    CString text;
    if (!WVPResourceManager()->LoadString(&text, id))
        return FALSE;
    SetCaption(text);
    return TRUE;
}

void CWVPControl::ClickToolBarButton(CRect rc)
{
    if (rc.IsRectEmpty())
        rc = m_rcControl;
    CWVPCommandBar* pBar = m_pParent;
    if (!pBar || !pBar->GetSafeHwnd())
        return;
    pBar->SetPopuped(-1);
    pBar->SetSelected(m_nIndex);
    m_nSelected = 1;
    m_nPressed = 1;
    RedrawParent(TRUE);
    InternalAddRef();
    const BOOL repeat = m_nExecuteOnPressInterval > 0;
    const HWND hwnd = pBar->GetSafeHwnd();
    if (repeat)
    {
        ::SetTimer(hwnd, WVP_TIMER_EXECUTEREPEAT, UINT(m_nExecuteOnPressInterval), nullptr);
        ExecuteCommand(pBar->GetOwnerSite());
    }
    CPressLoop loop(this, hwnd, rc, repeat);
    loop.Run();
    const BOOL click = loop.Clicked() && !repeat;
    if (repeat && ::IsWindow(hwnd))
        ::KillTimer(hwnd, WVP_TIMER_EXECUTEREPEAT);
    m_nPressed = click && IsOnNonPopupBar() ? 2 : 0;
    if (m_pParent && m_nSelected)
    {
        m_pParent->SetSelected(-1);
        // The status line keeps what the command may have shown when the mouse leaves the button.
        m_pParent->SetStatusControl(m_nIndex);
        m_nSelected = 0;
    }
    if (click)
    {
        OnExecute();
        if (m_nPressed == 0)
        {
            InternalRelease();
            return;
        }
        m_nPressed = 0;
    }
    RedrawParent(TRUE);
    InternalRelease();
}

BOOL CWVPControl::IsCursorOver() const
{
    if (!m_pParent || !m_pParent->GetSafeHwnd())
        return FALSE;
    CPoint pt;
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_pParent->GetSafeHwnd(), &pt);
    return m_rcControl.PtInRect(pt);
}

BOOL CWVPControl::IsOnNonPopupBar() const
{
    return !(m_pParent && m_pParent->GetPosition() == wvpBarPopup);
}

BOOL CWVPControl::SetCustomizeResizeCursor(CPoint pt)
{
    if (!IsCustomizeMode() || !IsCustomizeResizeAllow() || !m_rcControl.PtInRect(pt))
        return FALSE;
    if (pt.x - m_rcControl.left >= kResizeLeftGrip && m_rcControl.right - pt.x > kResizeRightGrip)
        return FALSE;
    if (HCURSOR cursor = WVPResourceManager()->LoadCursor(IDC_WVP_RESIZE_HORZ))
        ::SetCursor(cursor);
    return TRUE;
}

BOOL CWVPControl::CustomizeStartResize(CPoint pt)
{
    if (!m_pParent || !::IsWindow(m_pParent->GetSafeHwnd()) || !m_rcControl.PtInRect(pt))
        return FALSE;
    const BOOL leftEdge = pt.x - m_rcControl.left < kResizeLeftGrip;
    if (!leftEdge && m_rcControl.right - pt.x > kResizeRightGrip)
        return FALSE;
    // Keep the control while the loop runs: a command of another window may remove it.
    InternalAddRef();
    CWVPCommandBar* pBar = m_pParent;
    pBar->InternalAddRef();
    const HWND bar = pBar->GetSafeHwnd();
    CWVPCommandBarManager* manager = pBar->GetCommandBars();
    if (manager)
        manager->SetDragControl(nullptr);
    pBar->Redraw();
    ::UpdateWindow(bar);

    CRect rc = m_rcControl;
    ::MapWindowPoints(bar, nullptr, reinterpret_cast<LPPOINT>(&rc), 2);
    CPoint grab = pt;
    ::ClientToScreen(bar, &grab);
    if (HCURSOR cursor = WVPResourceManager()->LoadCursor(IDC_WVP_RESIZE_HORZ))
        ::SetCursor(cursor);
    const HWND desktop = ::GetDesktopWindow();
    const BOOL locked = ::LockWindowUpdate(desktop);
    const HDC hdc = ::GetDCEx(desktop, nullptr, DCX_WINDOW | DCX_CACHE | (locked ? DCX_LOCKWINDOWUPDATE : 0));
    CDC dc;
    dc.Attach(hdc);
    DrawResizeFrame(&dc, rc);
    CResizeLoop loop(bar, &dc, rc, leftEdge, grab.x - (leftEdge ? rc.left : rc.right), GetCustomizeMinWidth());
    loop.Run();
    DrawResizeFrame(&dc, loop.GetRect());
    dc.Detach();
    ::ReleaseDC(desktop, hdc);
    if (locked)
        ::LockWindowUpdate(nullptr);
    if (manager)
        manager->SetDragControl(this);

    if (loop.Accepted() && loop.GetRect().Width() != rc.Width() && m_pParent == pBar)
    {
        int width = loop.GetRect().Width();
        if (pBar->GetPosition() == wvpBarPopup)
            width -= pBar->GetPaintManager()->GetPopupBarGripperWidth(pBar);
        SetWidth(width);
    }
    pBar->Redraw();
    pBar->InternalRelease();
    InternalRelease();
    return TRUE;
}

void AFX_CDECL CWVPControl::DrawResizeFrame(CDC* pDC, CRect rc)
{
    pDC->PatBlt(rc.left, rc.top, rc.Width(), 2, DSTINVERT);
    pDC->PatBlt(rc.left, rc.bottom - 2, rc.Width(), 2, DSTINVERT);
    pDC->PatBlt(rc.left, rc.top + 2, 2, rc.Height() - 4, DSTINVERT);
    pDC->PatBlt(rc.right - 2, rc.top + 2, 2, rc.Height() - 4, DSTINVERT);
}

HRESULT CWVPControl::GetAccessibleParent(IDispatch** ppdispParent)
{
    if (!ppdispParent)
        return E_INVALIDARG;
    *ppdispParent = nullptr;
    if (!m_pParent)
        return E_FAIL;
    *ppdispParent = m_pParent->GetIDispatch(TRUE);
    return *ppdispParent ? S_OK : E_FAIL;
}

HRESULT CWVPControl::GetAccessibleChildCount(LONG* pcountChildren)
{
    if (!pcountChildren)
        return E_INVALIDARG;
    *pcountChildren = GetCommandBar() ? 1 : 0;
    return S_OK;
}

HRESULT CWVPControl::GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild)
{
    if (!ppdispChild)
        return E_INVALIDARG;
    *ppdispChild = nullptr;
    if (WVPGetChildIndex(varChild) == 1 && GetCommandBar())
        *ppdispChild = GetCommandBar()->GetIDispatch(TRUE);
    return *ppdispChild ? S_OK : S_FALSE;
}

HRESULT CWVPControl::GetAccessibleName(VARIANT varChild, BSTR* pszName)
{
    if (WVPGetChildIndex(varChild) != 0 || !pszName)
        return E_INVALIDARG;
    CString name = CWVPPaintManager::StripMnemonics(GetCaption());
    const CString shortcut = GetShortcutText();
    if (!shortcut.IsEmpty())
        name += L"\t" + shortcut;
    if (name.IsEmpty())
        name = GetTooltip();
    *pszName = AllocText(name);
    return S_OK;
}

HRESULT CWVPControl::GetAccessibleDescription(VARIANT varChild, BSTR* pszDescription)
{
    if (WVPGetChildIndex(varChild) != 0 || !pszDescription)
        return E_INVALIDARG;
    *pszDescription = AllocText(GetDescription());
    return S_OK;
}

HRESULT CWVPControl::GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole)
{
    if (WVPGetChildIndex(varChild) != 0 || !pvarRole)
        return E_INVALIDARG;
    if (!m_pParent || !m_pParent->GetSafeHwnd())
        return E_FAIL;
    V_VT(pvarRole) = VT_I4;
    const int type = m_pParent->GetType();
    if (type == wvpBarTypeNormal || type == 3)
        V_I4(pvarRole) = GetCommandBar() ? kRoleButtonMenu : kRolePushButton;
    else
        V_I4(pvarRole) = kRoleMenuItem;
    return S_OK;
}

HRESULT CWVPControl::GetAccessibleState(VARIANT varChild, VARIANT* pvarState)
{
    if (WVPGetChildIndex(varChild) != 0 || !pvarState)
        return E_INVALIDARG;
    LONG state = kStateFocusable;
    if (m_nSelected)
        state |= kStateSelectedFocusedHot;
    if (!m_pParent || !::IsWindowVisible(m_pParent->GetSafeHwnd()) || !IsVisible(0))
        state |= kStateInvisible;
    if (!GetEnabled())
        state |= kStateUnavailable;
    if (GetChecked())
        state |= kStateChecked;
    if (GetPressed())
        state |= kStatePressed;
    if (GetCommandBar())
        state |= kStateHasPopup;
    V_VT(pvarState) = VT_I4;
    V_I4(pvarState) = state;
    return S_OK;
}

HRESULT CWVPControl::GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction)
{
    if (WVPGetChildIndex(varChild) != 0 || !pszDefaultAction)
        return E_INVALIDARG;
    *pszDefaultAction = ::SysAllocString(L"Click");
    return S_OK;
}

HRESULT CWVPControl::AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                                        VARIANT varChild)
{
    if (WVPGetChildIndex(varChild) != 0 || !pxLeft || !pyTop || !pcxWidth || !pcyHeight)
        return E_INVALIDARG;
    *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
    if (!m_pParent || !m_pParent->GetSafeHwnd() || !IsVisible(0))
        return S_OK;
    CRect rc = m_rcControl;
    ::MapWindowPoints(m_pParent->GetSafeHwnd(), nullptr, reinterpret_cast<POINT*>(&rc), 2);
    *pxLeft = rc.left;
    *pyTop = rc.top;
    *pcxWidth = rc.Width();
    *pcyHeight = rc.Height();
    return S_OK;
}

HRESULT CWVPControl::AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild)
{
    if (!pvarChild || !m_pParent || !m_pParent->GetSafeHwnd())
        return E_INVALIDARG;
    CPoint pt(xLeft, yTop);
    ::ScreenToClient(m_pParent->GetSafeHwnd(), &pt);
    CRect client;
    ::GetClientRect(m_pParent->GetSafeHwnd(), &client);
    if (!client.PtInRect(pt) || !m_rcControl.PtInRect(pt))
    {
        V_VT(pvarChild) = VT_EMPTY;
        return S_FALSE;
    }
    V_VT(pvarChild) = VT_I4;
    V_I4(pvarChild) = CHILDID_SELF;
    return S_OK;
}

HRESULT CWVPControl::AccessibleDoDefaultAction(VARIANT varChild)
{
    if (WVPGetChildIndex(varChild) != 0)
        return E_INVALIDARG;
    OnClick(TRUE, CPoint(0, 0));
    return S_OK;
}
