#include "platform/mfc/ListBox.h"

IMPLEMENT_DYNAMIC(CListBox, CWnd)

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(L"LISTBOX", nullptr, style, rect, parent, id);
}

void CListBox::GetText(int index, CString& text) const
{
    int length = GetTextLen(index);
    if (length < 0)
    {
        text.Empty();
        return;
    }
    GetText(index, text.GetBufferSetLength(length));
    text.ReleaseBuffer();
}

void CListBox::DrawItem(LPDRAWITEMSTRUCT)
{
}

void CListBox::MeasureItem(LPMEASUREITEMSTRUCT)
{
}

int CListBox::CompareItem(LPCOMPAREITEMSTRUCT)
{
    return 0;
}

void CListBox::DeleteItem(LPDELETEITEMSTRUCT)
{
}

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (ReflectChildNotify(message, wParam, lParam, pResult))
        return TRUE;
    return AfxOwnerDrawChildNotify(this, message, lParam, pResult);
}
