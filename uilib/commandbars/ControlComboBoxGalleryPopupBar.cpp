#include "uilib/commandbars/ControlComboBoxGalleryPopupBar.h"
#include "uilib/commandbars/ControlComboBox.h"
#include "uilib/commandbars/ControlGallery.h"
#include "uilib/commandbars/Controls.h"

IMPLEMENT_SERIAL(CWVPControlComboBoxGalleryPopupBar, CWVPControlComboBoxPopupBar, VERSIONABLE_SCHEMA | 0x21)

BEGIN_MESSAGE_MAP(CWVPControlComboBoxGalleryPopupBar, CWVPControlComboBoxPopupBar)
ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

CWVPControlComboBoxGalleryPopupBar::CWVPControlComboBoxGalleryPopupBar()
{
}

CWVPControlGallery* CWVPControlComboBoxGalleryPopupBar::GetGallery() const
{
    CWVPControl* pControl = GetControlCount() > 0 ? GetControl(0) : nullptr;
    return pControl && pControl->IsKindOf(RUNTIME_CLASS(CWVPControlGallery)) ? static_cast<CWVPControlGallery*>(pControl)
                                                                              : nullptr;
}

int CWVPControlComboBoxGalleryPopupBar::GetCurSel() const
{
    CWVPControlGallery* pGallery = GetGallery();
    return pGallery ? pGallery->GetSelectedItem() : -1;
}

int CWVPControlComboBoxGalleryPopupBar::FindString(int start, LPCWSTR text) const
{
    CWVPControlGallery* pGallery = GetGallery();
    return pGallery ? pGallery->FindItemByText(start, text, FALSE) : -1;
}

int CWVPControlComboBoxGalleryPopupBar::FindStringExact(int start, LPCWSTR text) const
{
    CWVPControlGallery* pGallery = GetGallery();
    return pGallery ? pGallery->FindItemByText(start, text, TRUE) : -1;
}

int CWVPControlComboBoxGalleryPopupBar::SetTopIndex(int index)
{
    CWVPControlGallery* pGallery = GetGallery();
    return pGallery ? pGallery->ScrollItemToTop(index) : -1;
}

void CWVPControlComboBoxGalleryPopupBar::SetCurSel(int index)
{
    if (CWVPControlGallery* pGallery = GetGallery())
        pGallery->SetSelectedItem(index);
}

void CWVPControlComboBoxGalleryPopupBar::GetText(int index, CString& text) const
{
    CWVPControlGallery* pGallery = GetGallery();
    text = pGallery && index >= 0 && index < pGallery->GetItemCount() ? pGallery->GetItemText(index) : CString();
}

BOOL CWVPControlComboBoxGalleryPopupBar::SetTrackingMode(int mode, BOOL selectFirst, BOOL keyboard)
{
    // Leaving forgets the combo box: it is taken first.
    CWVPControlComboBox* pCombo = GetParentCombo();
    if (!CWVPControlComboBoxPopupBar::SetTrackingMode(mode, mode ? FALSE : selectFirst, keyboard))
        return FALSE;
    if (mode)
    {
        if (GetGallery())
            SetSelected(0, TRUE);
        if (pCombo)
        {
            pCombo->SelectMatchingItem();
            pCombo->NotifyOwner(CBN_DROPDOWN);
        }
    }
    else if (pCombo)
        pCombo->NotifyOwner(CBN_CLOSEUP);
    return TRUE;
}

int CWVPControlComboBoxGalleryPopupBar::OnHookKeyDown(UINT key, LPARAM lParam)
{
    CWVPControlComboBox* pCombo = GetParentCombo();
    if (pCombo && key == VK_RETURN && GetGallery() && GetSelected() == 0)
    {
        pCombo->OnSelChanged();
        pCombo->OnExecute();
        return HookHandled;
    }
    return CWVPControlComboBoxPopupBar::OnHookKeyDown(key, lParam);
}

void CWVPControlComboBoxGalleryPopupBar::OnLButtonUp(UINT flags, CPoint pt)
{
    CWVPControlComboBox* pCombo = GetParentCombo();
    CWVPControlGallery* pGallery = GetGallery();
    if (!pCombo || !pGallery || !pGallery->GetRect().PtInRect(pt))
    {
        CWVPControlComboBoxPopupBar::OnLButtonUp(flags, pt);
        return;
    }
    pCombo->InternalAddRef();
    pCombo->OnSelChanged();
    pCombo->OnExecute();
    pCombo->InternalRelease();
}
