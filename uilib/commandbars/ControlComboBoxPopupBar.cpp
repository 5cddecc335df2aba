#include "uilib/commandbars/ControlComboBoxPopupBar.h"
#include "uilib/commandbars/ControlComboBox.h"

IMPLEMENT_SERIAL(CWVPControlComboBoxPopupBar, CWVPPopupBar, VERSIONABLE_SCHEMA | 0x21)

namespace
{
BOOL IsDown(int key)
{
    return (::GetKeyState(key) & 0x8000) != 0;
}

BOOL IsListMoveKey(UINT key)
{
    return key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN;
}
} // namespace

CWVPControlComboBoxPopupBar::CWVPControlComboBoxPopupBar()
{
    // The edit field of the combo box keeps the focus and its caret while the drop-down tracks.
    m_bIgnoreMouseLock = TRUE;
    m_bHideCaret = FALSE;
}

int CWVPControlComboBoxPopupBar::GetCurSel() const
{
    return -1;
}

int CWVPControlComboBoxPopupBar::FindString(int, LPCWSTR) const
{
    return -1;
}

int CWVPControlComboBoxPopupBar::FindStringExact(int, LPCWSTR) const
{
    return -1;
}

int CWVPControlComboBoxPopupBar::SetTopIndex(int)
{
    return -1;
}

void CWVPControlComboBoxPopupBar::SetCurSel(int)
{
}

void CWVPControlComboBoxPopupBar::GetText(int, CString& text) const
{
    text.Empty();
}

CWVPControlComboBox* CWVPControlComboBoxPopupBar::GetParentCombo() const
{
    CWVPControlPopup* pControl = GetControlPopup();
    return pControl && pControl->IsKindOf(RUNTIME_CLASS(CWVPControlComboBox)) ? static_cast<CWVPControlComboBox*>(pControl)
                                                                              : nullptr;
}

int CWVPControlComboBoxPopupBar::OnHookKeyDown(UINT key, LPARAM lParam)
{
    CWVPControlComboBox* pCombo = GetParentCombo();
    if (!pCombo)
        return CWVPPopupBar::OnHookKeyDown(key, lParam);
    switch (key)
    {
    case VK_ESCAPE:
        // A focused combo box restores its text and selection itself.
        return pCombo->IsFocused() ? HookNotHandled : CWVPPopupBar::OnHookKeyDown(key, lParam);
    case VK_TAB:
        return HookNotHandled;
    case VK_RETURN:
        pCombo->OnExecute();
        return HookHandled;
    default:
        return ProcessComboKey(pCombo, key) ? HookHandled : HookNotHandled;
    }
}

BOOL CWVPControlComboBoxPopupBar::ProcessComboKey(CWVPControlComboBox* pCombo, UINT key)
{
    const int before = GetCurSel();
    const BOOL alt = IsDown(VK_MENU);
    const BOOL editable = pCombo->GetDropDown();
    if (editable)
    {
        if (alt || !IsListMoveKey(key))
            return FALSE;
    }
    else if (((key == VK_UP || key == VK_DOWN) && alt) || (key == VK_F4 && !alt))
        return FALSE; // the combo box toggles its list
    ForwardComboKey(key, editable);
    if (GetCurSel() == before)
        return TRUE;
    pCombo->OnSelChanged();
    if (CWnd* pEdit = pCombo->GetEditCtrl())
        if (::IsWindow(pEdit->GetSafeHwnd()))
        {
            ::SendMessageW(pEdit->GetSafeHwnd(), EM_SETSEL, 0, -1);
            ::SendMessageW(pEdit->GetSafeHwnd(), EM_SCROLLCARET, 0, 0);
        }
    return TRUE;
}

void CWVPControlComboBoxPopupBar::ForwardComboKey(UINT key, BOOL)
{
    CWVPPopupBar::OnHookKeyDown(key, 0);
}
