#include "platform/mfc/ComboBox.h"

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(L"COMBOBOX", nullptr, style, rect, parent, id);
}

void CComboBox::GetLBText(int index, CString& text) const
{
    int length = GetLBTextLen(index);
    if (length < 0)
    {
        text.Empty();
        return;
    }
    GetLBText(index, text.GetBufferSetLength(length));
    text.ReleaseBuffer();
}

void CComboBox::DrawItem(LPDRAWITEMSTRUCT)
{
}

void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT)
{
}

int CComboBox::CompareItem(LPCOMPAREITEMSTRUCT)
{
    return 0;
}

void CComboBox::DeleteItem(LPDELETEITEMSTRUCT)
{
}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (ReflectChildNotify(message, wParam, lParam, pResult))
        return TRUE;
    return AfxOwnerDrawChildNotify(this, message, lParam, pResult);
}
