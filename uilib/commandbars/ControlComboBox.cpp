#include "uilib/commandbars/ControlComboBox.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/ControlAction.h"
#include "uilib/commandbars/ControlComboBoxList.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/MouseManager.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/foundation/DCGuards.h"
#include "uilib/foundation/ImageManager.h"
#include "uilib/foundation/ImageManagerIcon.h"

IMPLEMENT_SERIAL(CWVPControlComboBox, CWVPControlPopup, VERSIONABLE_SCHEMA | 0x21)

namespace
{
const int kDefaultWidth = 100;
const int kDefaultDropDownItemCount = 12;
// The edit window: child window with automatic horizontal scrolling, inset in the field.
const DWORD kEditWindowStyle = WS_CHILD | ES_AUTOHSCROLL;
const int kFieldInset = 3;
const int kLabelGap = 4;
const int kIconGap = 2;
// The layout flag of a vertically docked bar, and the hide flag that takes fields off such bars.
const DWORD kLayoutVertDock = 0x10;
const DWORD kHideVerticalDock = 0x04;
// Text drawn by the control: single line, vertically centred, no prefix.
const UINT kComboTextFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
// Properties of a bound action that the field follows.
const int kActionEnabled = 0;
const int kActionVisible = 2;
const int kActionEditHint = 4;
// The paint manager's colour of an unselected list item's background.
const int kListItemBackColor = 5;
const int kItemTextIndent = 3;
const int kItemIconIndent = 2;
const DWORD kRtlLayoutStyle = WS_EX_LAYOUTRTL;

BOOL IsDown(int key)
{
    return (::GetKeyState(key) & 0x8000) != 0;
}

BOOL IsPopupTypeBar(const CWVPCommandBar* pBar)
{
    return pBar && (pBar->GetType() == wvpBarTypePopup || pBar->GetPosition() == wvpBarPopup);
}
} // namespace

CWVPControlComboBox::CWVPControlComboBox(CWVPCommandBarManager* pManager)
    : m_pEdit(nullptr), m_bDropDown(FALSE), m_nComboStyle(0), m_nSavedSel(-1), m_bReplace(FALSE), m_nLabelWidth(0),
      m_nDropDownButtonWidth(0), m_bAutoComplete(FALSE), m_bSuppressCompletion(FALSE), m_dwShellAutoCompleteFlags(0),
      m_bFocused(FALSE), m_nEditIconId(0), m_bAccepted(FALSE), m_nDropDownItemCount(kDefaultDropDownItemCount),
      m_bTextStale(TRUE), m_dwEditStyle(0), m_nCurSel(-1), m_bUpdating(FALSE)
{
    m_nType = wvpControlComboBox;
    m_nWidth = kDefaultWidth;
    CWVPControlComboBoxList* pList =
        static_cast<CWVPControlComboBoxList*>(RUNTIME_CLASS(CWVPControlComboBoxList)->CreateObject());
    pList->SetCommandBars(pManager);
    pList->CreateListWindow();
    SetCommandBar(pList);
    pList->InternalRelease();
}

CWVPControlComboBox::~CWVPControlComboBox()
{
    if (m_pEdit)
    {
        m_pEdit->m_pControl = nullptr;
        if (::IsWindow(m_pEdit->m_hWnd))
            m_pEdit->DestroyWindow();
        delete m_pEdit;
        m_pEdit = nullptr;
    }
}

// --- Drop-down and selection -------------------------------------------------------------------

CWVPControlComboBoxPopupBar* CWVPControlComboBox::GetComboPopup() const
{
    return m_pCommandBar && m_pCommandBar->IsKindOf(RUNTIME_CLASS(CWVPControlComboBoxPopupBar))
               ? static_cast<CWVPControlComboBoxPopupBar*>(m_pCommandBar)
               : nullptr;
}

CWVPControlComboBoxList* CWVPControlComboBox::GetComboList() const
{
    return m_pCommandBar && m_pCommandBar->IsKindOf(RUNTIME_CLASS(CWVPControlComboBoxList))
               ? static_cast<CWVPControlComboBoxList*>(m_pCommandBar)
               : nullptr;
}

int CWVPControlComboBox::GetCurSel() const
{
    CWVPControlComboBoxPopupBar* pPopup = GetComboPopup();
    return pPopup ? pPopup->GetCurSel() : m_nCurSel;
}

void CWVPControlComboBox::SetCurSel(int index)
{
    CWVPControlComboBoxPopupBar* pPopup = GetComboPopup();
    if (pPopup && pPopup->GetCurSel() == index && m_nCurSel == index)
        return;
    m_nCurSel = index;
    if (pPopup)
        pPopup->SetCurSel(index);
    OnSelChanged();
}

CString CWVPControlComboBox::GetListBoxText() const
{
    CString text;
    CWVPControlComboBoxPopupBar* pPopup = GetComboPopup();
    const int index = GetCurSel();
    if (pPopup && index >= 0)
        pPopup->GetText(index, text);
    return text;
}

CString CWVPControlComboBox::GetText() const
{
    return GetListBoxText();
}

void CWVPControlComboBox::OnSelChanged()
{
    m_bUpdating = TRUE;
    SetDisplayedText(GetListBoxText());
    m_bUpdating = FALSE;
    RedrawParent(TRUE);
    NotifyOwner(CBN_SELCHANGE);
}

void CWVPControlComboBox::SelectMatchingItem()
{
    CWVPControlComboBoxPopupBar* pPopup = GetComboPopup();
    if (m_bUpdating || !m_pEdit || !pPopup)
        return;
    const CString text = GetEditText();
    const int exact = pPopup->FindStringExact(0, text);
    if (exact >= 0)
    {
        pPopup->SetCurSel(exact);
        return;
    }
    // Nothing equals the text: the list only scrolls to the first item that starts with it.
    const int prefix = pPopup->FindString(0, text);
    pPopup->SetTopIndex(prefix);
    pPopup->SetCurSel(prefix);
    pPopup->SetCurSel(-1);
}

// --- Text and hint -----------------------------------------------------------------------------

CString CWVPControlComboBox::GetDisplayedText() const
{
    if (m_pEdit && ::IsWindow(m_pEdit->m_hWnd) && m_bTextStale)
    {
        m_pEdit->GetWindowText(m_strText);
        m_bTextStale = FALSE;
    }
    return m_strText;
}

void CWVPControlComboBox::SetDisplayedText(LPCWSTR text)
{
    const CString value = text ? text : L"";
    if (m_pEdit && ::IsWindow(m_pEdit->m_hWnd))
    {
        // Compared with the window itself: text set before the window existed is not in it yet.
        CString shown;
        m_pEdit->GetWindowText(shown);
        if (shown != value)
            m_pEdit->SetEditWindowText(value);
    }
    m_strText = value;
    m_bTextStale = FALSE;
}

BOOL CWVPControlComboBox::IsHintText(const CString& text) const
{
    const CString hint = GetEditHint();
    return !hint.IsEmpty() && text == hint;
}

BOOL CWVPControlComboBox::IsHintShown() const
{
    return m_pEdit && IsHintText(GetDisplayedText());
}

CString CWVPControlComboBox::GetEditText() const
{
    const CString text = GetDisplayedText();
    return m_pEdit && IsHintText(text) ? CString() : text;
}

void CWVPControlComboBox::SetEditText(LPCWSTR text)
{
    if (!text || !*text)
        SetDisplayedText(m_pEdit ? LPCWSTR(GetEditHint()) : L"");
    else
        SetDisplayedText(text);
}

CString CWVPControlComboBox::GetEditHint() const
{
    if (!m_strEditHint.IsEmpty())
        return m_strEditHint;
    return m_pAction ? m_pAction->GetEditHint() : CString();
}

void CWVPControlComboBox::SetEditHint(LPCWSTR hint)
{
    if (IsHintShown())
        SetDisplayedText(L"");
    m_strEditHint = hint ? hint : L"";
    ShowHintIfEmpty();
    RedrawParent(FALSE);
}

void CWVPControlComboBox::ShowHintIfEmpty()
{
    const CString hint = GetEditHint();
    if (!m_pEdit || hint.IsEmpty() || !GetDisplayedText().IsEmpty() || ::GetFocus() == m_pEdit->m_hWnd)
        return;
    SetDisplayedText(hint);
    m_pEdit->UpdateCharFormat();
}

void CWVPControlComboBox::StoreWindowText()
{
    if (m_pEdit && ::IsWindow(m_pEdit->m_hWnd))
    {
        m_bTextStale = TRUE;
        GetDisplayedText();
    }
}

void CWVPControlComboBox::FillCharFormat(CHARFORMAT2W& cf)
{
    ::ZeroMemory(&cf, sizeof(cf));
    cf.dwMask = CFM_COLOR | CFM_BACKCOLOR;
    const BOOL grey = !GetEnabled() || IsHintShown();
    cf.crTextColor = ::GetSysColor(grey ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
    CWVPPaintManager* pPaintManager = GetPaintManager();
    cf.crBackColor = pPaintManager ? pPaintManager->GetEditBackColor(this) : ::GetSysColor(COLOR_WINDOW);
}

// --- Edit window -------------------------------------------------------------------------------

void CWVPControlComboBox::SetDropDown(BOOL editable)
{
    m_bDropDown = editable;
    if (editable && !m_pEdit)
        m_pEdit = CreateEditWindowObject();
    else if (!editable && m_pEdit)
    {
        StoreWindowText();
        m_pEdit->m_pControl = nullptr;
        if (::IsWindow(m_pEdit->m_hWnd))
            m_pEdit->DestroyWindow();
        delete m_pEdit;
        m_pEdit = nullptr;
    }
    m_bReplace = TRUE;
    DelayLayoutParent();
}

CWVPControlComboBoxEditCtrl* CWVPControlComboBox::CreateEditWindowObject()
{
    CWVPControlComboBoxEditCtrl* pEdit = new CWVPControlComboBoxEditCtrl();
    pEdit->m_pControl = this;
    return pEdit;
}

void CWVPControlComboBox::DestroyEditWindow()
{
    if (m_pEdit && ::IsWindow(m_pEdit->m_hWnd))
        m_pEdit->DestroyWindow();
}

void CWVPControlComboBox::SetLabelWidth(int width)
{
    if (width != m_nLabelWidth)
    {
        m_nLabelWidth = width;
        m_bReplace = TRUE;
    }
}

void CWVPControlComboBox::SetDropDownButtonWidth(int width)
{
    if (width != m_nDropDownButtonWidth)
    {
        m_nDropDownButtonWidth = width;
        m_bReplace = TRUE;
    }
}

void CWVPControlComboBox::SetRect(CRect rc)
{
    if (!m_pEdit)
    {
        m_rcControl = rc;
        return;
    }
    HWND hBar = m_pParent ? m_pParent->GetSafeHwnd() : nullptr;
    BOOL exists = ::IsWindow(m_pEdit->m_hWnd);
    if (exists && ((m_pEdit->GetExStyle() & kRtlLayoutStyle) || ::GetParent(m_pEdit->m_hWnd) != hBar))
    {
        m_pEdit->DestroyWindow();
        exists = FALSE;
    }
    if (exists && rc == m_rcControl && !m_bReplace)
        return;
    m_rcControl = rc;
    if (!hBar)
        return;
    if (!exists)
    {
        if (!m_pEdit->CreateEditWindow(m_dwEditStyle | kEditWindowStyle, m_pParent))
            return;
        if (!GetEnabled())
            m_pEdit->EnableWindow(FALSE);
    }
    if (CWVPPaintManager* pPaintManager = GetPaintManager())
        if (CFont* pFont = pPaintManager->GetControlFont(m_pParent, FALSE))
            m_pEdit->SendMessage(WM_SETFONT, WPARAM(pFont->GetSafeHandle()), FALSE);
    m_pEdit->SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    if (::GetFocus() != m_pEdit->m_hWnd)
        SetEditText(m_strText.IsEmpty() || IsHintText(m_strText) ? L"" : LPCWSTR(m_strText));
    m_pEdit->UpdateCharFormat();
    m_pEdit->SetGlass(IsOverDwmCaption());

    CRect rcEdit(rc.left + m_nLabelWidth + kLabelGap, rc.top + kFieldInset,
                 rc.right - m_nDropDownButtonWidth - kFieldInset, rc.bottom - kFieldInset);
    InsetForEditIcon(rcEdit.left);
    m_pEdit->MoveWindow(rcEdit, TRUE);
    UpdateWindowVisibility();
    m_bReplace = FALSE;
}

void CWVPControlComboBox::UpdateWindowVisibility()
{
    if (!m_pEdit || !::IsWindow(m_pEdit->m_hWnd))
        return;
    const BOOL show = m_pControls && m_pParent && IsVisible() && m_pParent->GetSafeHwnd();
    ::SetWindowPos(m_pEdit->m_hWnd, nullptr, 0, 0, 0, 0,
                   (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWVPControlComboBox::InvalidatePlacement()
{
    m_bReplace = TRUE;
}

void CWVPControlComboBox::InsetForEditIcon(int& left)
{
    if (m_nEditIconId <= 0)
        return;
    CWVPImageManager* pImages = GetImageManager();
    CWVPImageManagerIcon* pIcon = pImages ? pImages->GetImage(UINT(m_nEditIconId), 0) : nullptr;
    if (pIcon)
        left += pIcon->GetExtent().cx + kIconGap;
}

void CWVPControlComboBox::SetParent(CWVPCommandBar* pBar)
{
    const BOOL changed = pBar && pBar != m_pParent;
    CWVPControlPopup::SetParent(pBar);
    if (pBar && m_pCommandBar && !m_pCommandBar->GetCommandBars())
        m_pCommandBar->SetCommandBars(pBar->GetCommandBars());
    if (changed && m_pCommandBar && ::IsWindow(m_pCommandBar->GetSafeHwnd()) && pBar->GetOwnerSite())
        ::SetWindowLongPtrW(m_pCommandBar->GetSafeHwnd(), GWLP_HWNDPARENT, LONG_PTR(pBar->GetOwnerSite()));
    if (!pBar)
        DestroyEditWindow();
}

void CWVPControlComboBox::OnRemoved()
{
    if (m_pEdit && ::IsWindow(m_pEdit->m_hWnd))
    {
        m_pEdit->ShowWindow(SW_HIDE);
        if (!m_pControls)
            m_pEdit->DestroyWindow();
    }
    CWVPControlPopup::OnRemoved();
}

void CWVPControlComboBox::SetEnabled(int enabled)
{
    if (enabled == m_nEnabled)
        return;
    CWVPControlPopup::SetEnabled(enabled);
    if (m_pEdit && ::IsWindow(m_pEdit->m_hWnd))
    {
        m_pEdit->EnableWindow(GetEnabled());
        m_pEdit->UpdateCharFormat();
    }
    RedrawParent(TRUE);
}

void CWVPControlComboBox::SetHideFlags(DWORD flags)
{
    if (flags == m_dwHideFlags)
        return;
    CWVPControlPopup::SetHideFlags(flags);
    UpdateWindowVisibility();
    DelayLayoutParent();
}

void CWVPControlComboBox::OnCalcDynamicSize(DWORD mode)
{
    if (mode & kLayoutVertDock)
        m_dwHideFlags |= kHideVerticalDock;
    else
        m_dwHideFlags &= ~kHideVerticalDock;
}

void CWVPControlComboBox::OnActionChanged(int property)
{
    if (property == kActionVisible)
        UpdateWindowVisibility();
    else if (property == kActionEnabled && m_pEdit && ::IsWindow(m_pEdit->m_hWnd))
    {
        m_pEdit->EnableWindow(GetEnabled());
        m_pEdit->UpdateCharFormat();
    }
    else if (property == kActionEditHint)
        ShowHintIfEmpty();
    CWVPControlPopup::OnActionChanged(property);
}

void CWVPControlComboBox::OnActionChanging(int property)
{
    if (property == kActionEditHint && IsHintShown())
        SetDisplayedText(L"");
    CWVPControlPopup::OnActionChanging(property);
}

BOOL CWVPControlComboBox::IsCaptionVisible() const
{
    if (IsPopupTypeBar(m_pParent))
        return TRUE;
    if (GetCaption().IsEmpty())
        return FALSE;
    const int style = GetStyle();
    if (style == wvpButtonCaption || style == wvpButtonIconAndCaption || style == wvpButtonIconAndCaptionBelow)
        return TRUE;
    return m_nComboStyle == WVP_COMBOSTYLE_LABEL;
}

BOOL CWVPControlComboBox::Compare(CWVPControl* pOther)
{
    return CWVPControlPopup::Compare(pOther) && pOther->IsKindOf(RUNTIME_CLASS(CWVPControlComboBox));
}

void CWVPControlComboBox::Copy(CWVPControl* pSource, BOOL recursive)
{
    if (pSource->IsKindOf(RUNTIME_CLASS(CWVPControlComboBox)))
    {
        CWVPControlComboBox* pCombo = static_cast<CWVPControlComboBox*>(pSource);
        m_dwEditStyle = pCombo->m_dwEditStyle;
        m_nComboStyle = pCombo->m_nComboStyle;
        m_strEditHint = pCombo->m_strEditHint;
        SetDropDown(pCombo->m_bDropDown);
        SetEditText(pCombo->GetEditText());
        m_bAutoComplete = pCombo->m_bAutoComplete;
        m_dwShellAutoCompleteFlags = pCombo->m_dwShellAutoCompleteFlags;
        m_nEditIconId = pCombo->m_nEditIconId;
        m_nDropDownItemCount = pCombo->m_nDropDownItemCount;
        CWVPControlComboBoxList* pSourceList = pCombo->GetComboList();
        CWVPControlComboBoxList* pList = GetComboList();
        if (pSourceList && pList && pList != pSourceList)
        {
            pList->ResetContent();
            pList->Copy(pSourceList);
        }
    }
    // The popup copy would share or clone the drop-down: the combo box keeps its own list.
    CWVPCommandBar* pOwnBar = m_pCommandBar;
    if (pOwnBar)
        pOwnBar->InternalAddRef();
    CWVPControlPopup::Copy(pSource, recursive);
    if (pOwnBar)
    {
        if (m_pCommandBar != pOwnBar)
            SetCommandBar(pOwnBar);
        pOwnBar->InternalRelease();
    }
}

CWVPControl* CWVPControlComboBox::Clone(BOOL recursive)
{
    CWVPControl* pClone = static_cast<CWVPControl*>(GetRuntimeClass()->CreateObject());
    pClone->Copy(this, recursive);
    return pClone;
}

BOOL CWVPControlComboBox::IsCustomizeResizeAllow() const
{
    return TRUE;
}

int CWVPControlComboBox::GetCustomizeMinWidth() const
{
    return m_nDropDownButtonWidth + m_nLabelWidth + 5;
}

BOOL CWVPControlComboBox::IsFocusable() const
{
    return TRUE;
}

// --- Focus -------------------------------------------------------------------------------------

BOOL CWVPControlComboBox::IsFocused() const
{
    return m_bFocused;
}

void CWVPControlComboBox::SetFocused(BOOL focused)
{
    if (focused == m_bFocused)
        return;
    m_bFocused = focused;
    CWVPMouseManager* pMouse = WVPMouseManager();
    if (focused)
    {
        m_nSavedSel = GetCurSel();
        m_bAccepted = FALSE;
        if (m_pEdit && ::IsWindow(m_pEdit->m_hWnd) && ::GetFocus() != m_pEdit->m_hWnd)
            m_pEdit->SetFocus();
        if (m_pParent)
        {
            m_pParent->SetTrackingMode(1, FALSE, FALSE);
            m_pParent->SetSelected(m_nIndex);
        }
        ++pMouse->m_nLock;
        NotifyOwner(CBN_SETFOCUS);
    }
    else
    {
        if (!m_pEdit && !m_bAccepted && !GetPopuped())
        {
            SetCurSel(m_nSavedSel);
            NotifyOwner(CBN_SELENDCANCEL);
        }
        if (m_pEdit && ::IsWindow(m_pEdit->m_hWnd) && ::GetFocus() == m_pEdit->m_hWnd && m_pParent)
        {
            const HWND saved = m_pParent->GetSavedFocus();
            ::SetFocus(::IsWindow(saved) ? saved : nullptr);
        }
        --pMouse->m_nLock;
        NotifyOwner(CBN_KILLFOCUS);
    }
    RedrawParent(TRUE);
}

void CWVPControlComboBox::OnSetFocus(HWND hWndOld)
{
    if (IsHintShown())
    {
        SetDisplayedText(L"");
        m_pEdit->UpdateCharFormat();
    }
    m_strTextOnFocus = GetEditText();
    m_bSuppressCompletion = TRUE;
    SelectMatchingItem();
    if (m_pParent)
    {
        if (!m_pParent->GetSavedFocus())
            m_pParent->SetSavedFocus(hWndOld ? hWndOld : m_pParent->GetSite());
        // Another control's open popup closes; this combo box's own list (opening now) stays.
        if (!GetPopuped() && m_pParent->GetPopuped() != m_nIndex)
            m_pParent->SetPopuped(-1);
    }
    SetFocused(TRUE);
}

void CWVPControlComboBox::OnKillFocus()
{
    ShowHintIfEmpty();
    SetFocused(FALSE);
    if (GetPopuped() && m_pParent)
        m_pParent->SetPopuped(-1);
}

BOOL CWVPControlComboBox::ActivateByKeyboard()
{
    if (m_pParent)
        m_pParent->HideKeyboardTips();
    SetFocused(TRUE);
    return TRUE;
}

BOOL CWVPControlComboBox::OnSetSelected(int state)
{
    const BOOL changed = CWVPControlPopup::OnSetSelected(state);
    if (!state)
    {
        SetFocused(FALSE);
        if (GetPopuped() && m_pParent && m_pParent->GetPosition() != wvpBarPopup)
            m_pParent->SetPopuped(-1);
    }
    if (m_pEdit && ::IsWindow(m_pEdit->m_hWnd))
        m_pEdit->UpdateCharFormat();
    return changed;
}

// --- Clicks, list and execution ----------------------------------------------------------------

void CWVPControlComboBox::OnClick(BOOL keyboard, CPoint pt)
{
    if (m_pEdit && m_pEdit->IsComposing())
        return;
    if (IsCustomizeMode())
    {
        CWVPControlPopup::OnClick(keyboard, pt);
        return;
    }
    if (keyboard)
    {
        if (!GetEnabled())
            return;
        if (m_bFocused)
            OnExecute();
        else
            SetFocused(TRUE);
        return;
    }
    if (GetPopuped() && m_bFocused && m_pParent)
    {
        m_pParent->SetPopuped(-1);
        return;
    }
    CWVPControlPopup::OnClick(keyboard, pt);
}

BOOL CWVPControlComboBox::OnSetPopup(BOOL open)
{
    if (open)
    {
        m_bAccepted = FALSE;
        m_nSavedSel = GetCurSel();
        if (m_pEdit && ::IsWindow(m_pEdit->m_hWnd) && ::GetFocus() != m_pEdit->m_hWnd)
            m_pEdit->SetFocus();
    }
    else if (GetPopuped())
    {
        if (!m_bFocused && !m_pEdit && !m_bAccepted)
            SetCurSel(m_nSavedSel);
        if (!m_bAccepted)
            NotifyOwner(CBN_SELENDCANCEL);
    }
    return CWVPControlPopup::OnSetPopup(open);
}

void CWVPControlComboBox::OnExecute()
{
    if ((GetCurSel() != -1 && GetPopuped()) || (m_bFocused && !m_pEdit))
        NotifyOwner(CBN_SELENDOK);
    m_bAccepted = TRUE;
    m_nSavedSel = GetCurSel();
    CWVPControlPopup::OnExecute();
}

void CWVPControlComboBox::OnMouseMove(CPoint pt)
{
    CWVPControlPopup::OnMouseMove(pt);
    if (!GetEnabled() || !m_nSelected)
        return;
    const BOOL overArrow = pt.x >= m_rcControl.right - m_nDropDownButtonWidth && m_rcControl.PtInRect(pt);
    const int state = overArrow ? 5 : (m_nSelected == 5 ? 1 : m_nSelected);
    if (state != m_nSelected)
    {
        m_nSelected = state;
        RedrawParent(FALSE);
    }
}

void CWVPControlComboBox::OnMouseHover()
{
}

BOOL CWVPControlComboBox::OnHookMouseWheel(UINT, short delta, CPoint)
{
    CWVPControlComboBoxPopupBar* pPopup = GetComboPopup();
    if (!m_bFocused || GetPopuped() || !pPopup)
        return FALSE;
    pPopup->ProcessComboKey(this, delta <= 0 ? VK_DOWN : VK_UP);
    return TRUE;
}

void CWVPControlComboBox::PassKeyToDropDown(UINT key)
{
    if (CWVPControlComboBoxPopupBar* pPopup = GetComboPopup())
    {
        if (pPopup->GetTrackingMode())
            pPopup->OnHookKeyDown(key, 0);
        else
            pPopup->ProcessComboKey(this, key);
    }
}

BOOL CWVPControlComboBox::OnHookKeyDown(UINT key)
{
    if (!m_bFocused)
        return 0;
    m_bSuppressCompletion = key == VK_DELETE || key == VK_BACK;
    if (m_pEdit && m_pEdit->IsComposing())
        return 2;
    const BOOL alt = IsDown(VK_MENU);
    switch (key)
    {
    case VK_TAB:
    case VK_RETURN:
        return 0;
    case VK_ESCAPE: {
        InternalAddRef();
        if (m_pCommandBar)
            m_pCommandBar->SetTrackingMode(0);
        SetCurSel(m_nSavedSel);
        if (m_pEdit)
            SetEditText(m_strTextOnFocus);
        SetFocused(FALSE);
        const BOOL popupBar = IsPopupTypeBar(m_pParent);
        InternalRelease();
        return popupBar ? 1 : 0;
    }
    default:
        break;
    }
    if (alt && !IsDown(VK_CONTROL) && m_pEdit)
    {
        CWVPCommandBarManager* pManager = m_pParent ? m_pParent->GetCommandBars() : nullptr;
        if (pManager && pManager->OnFrameAccel(key))
            return 1;
    }
    if (((key == VK_UP || key == VK_DOWN) && alt) || (key == VK_F4 && !alt))
    {
        OnClick(FALSE);
        return 1;
    }
    if (m_pEdit)
    {
        const BOOL listKey = key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN;
        if (listKey && !alt && IsComboPopup())
        {
            PassKeyToDropDown(key);
            return 1;
        }
        return ::IsWindow(m_pEdit->m_hWnd) ? m_pEdit->ProcessEditKey(key) : 2;
    }
    PassKeyToDropDown(key);
    return 1;
}

// --- Typing and completion ---------------------------------------------------------------------

void CWVPControlComboBox::OnEditTextChanged()
{
    CWVPControlComboBoxPopupBar* pPopup = GetComboPopup();
    if (!m_bUpdating && m_bAutoComplete && !m_bSuppressCompletion && m_pEdit && ::IsWindow(m_pEdit->m_hWnd) && pPopup)
    {
        const CString typed = GetEditText();
        int start = 0, end = 0;
        m_pEdit->GetSel(start, end);
        if (!typed.IsEmpty() && start == end && end == typed.GetLength())
        {
            const int index = pPopup->FindString(0, typed);
            if (index >= 0)
            {
                CString item;
                pPopup->GetText(index, item);
                SetDisplayedText(item);
                // The completed tail is selected, the caret after what was typed.
                m_pEdit->SendMessage(EM_SETSEL, WPARAM(item.GetLength()), LPARAM(typed.GetLength()));
                m_pEdit->SendMessage(EM_SCROLLCARET);
            }
        }
        m_bSuppressCompletion = TRUE;
    }
    SelectMatchingItem();
    NotifyOwner(CBN_EDITCHANGE);
}

// --- Drawing -----------------------------------------------------------------------------------

void CWVPControlComboBox::DrawComboText(CDC* pDC, CRect rc)
{
    const BOOL enabled = GetEnabled();
    if (enabled && m_bFocused && !m_pEdit)
        pDC->FillSolidRect(CRect(rc.left - 1, rc.top + 1, rc.right - 1, rc.bottom - 1), ::GetSysColor(COLOR_HIGHLIGHT));
    if (m_nEditIconId > 0)
    {
        CWVPImageManager* pImages = GetImageManager();
        if (CWVPImageManagerIcon* pIcon = pImages ? pImages->GetImage(UINT(m_nEditIconId), 0) : nullptr)
        {
            const CSize size = pIcon->GetExtent();
            GetPaintManager()->DrawImage(pDC, CPoint(rc.left, rc.CenterPoint().y - size.cy / 2), size, pIcon, FALSE,
                                         FALSE, enabled, FALSE, FALSE);
            rc.left += size.cx + kIconGap;
        }
    }
    if (m_pEdit)
        return;
    const CString text = GetListBoxText();
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    if (!text.IsEmpty())
    {
        const int colour = !enabled ? COLOR_GRAYTEXT : (m_bFocused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
        const COLORREF old = pDC->SetTextColor(::GetSysColor(colour));
        pDC->DrawText(text, rc, kComboTextFormat);
        pDC->SetTextColor(old);
    }
    else if (enabled && !m_bFocused && !GetEditHint().IsEmpty())
    {
        const COLORREF old = pDC->SetTextColor(::GetSysColor(COLOR_GRAYTEXT));
        pDC->DrawText(GetEditHint(), rc, kComboTextFormat);
        pDC->SetTextColor(old);
    }
    pDC->SetBkMode(oldMode);
}

void CWVPControlComboBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CWVPControlComboBoxPopupBar* pPopup = GetComboPopup();
    if (!pPopup || int(lpDrawItemStruct->itemID) < 0)
        return;
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    CRect rc(lpDrawItemStruct->rcItem);
    const BOOL selected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    CString text;
    pPopup->GetText(int(lpDrawItemStruct->itemID), text);
    CWVPPaintManager* pPaintManager = GetPaintManager();
    const COLORREF textColour =
        pPaintManager->GetRectangleTextColor(selected, FALSE, TRUE, FALSE, FALSE, wvpBarTypePopup, wvpBarPopup);
    if (selected)
        pPaintManager->DrawRectangle(pDC, rc, TRUE, FALSE, TRUE, FALSE, FALSE, wvpBarTypePopup, wvpBarPopup);
    else
        pDC->FillSolidRect(rc, pPaintManager->GetColor(kListItemBackColor));
    CWVPControlComboBoxList* pList = GetComboList();
    if (pList && pList->GetListIconId() != -1)
    {
        CWVPImageManager* pImages = GetImageManager();
        const UINT id = UINT(pList->GetListIconId() + int(lpDrawItemStruct->itemID));
        if (CWVPImageManagerIcon* pIcon = pImages ? pImages->GetImage(id, 0) : nullptr)
        {
            const CSize size = pIcon->GetExtent();
            pPaintManager->DrawImage(pDC, CPoint(rc.left + kItemIconIndent, rc.CenterPoint().y - size.cy / 2), size,
                                     pIcon, selected, FALSE, TRUE, FALSE, FALSE);
            rc.left += kItemIconIndent + size.cx + kIconGap;
        }
    }
    CWVPFontDC font(pDC, pPaintManager->GetControlFont(nullptr, FALSE), textColour);
    pDC->SetBkMode(TRANSPARENT);
    rc.left += kItemTextIndent;
    pDC->DrawText(text, rc, kComboTextFormat);
}

void CWVPControlComboBox::MeasureItem(LPMEASUREITEMSTRUCT)
{
}
