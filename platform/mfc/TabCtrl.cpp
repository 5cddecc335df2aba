#include "platform/mfc/TabCtrl.h"

#include "platform/mfc/OwnerDraw.h"

IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)

BOOL CTabCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    AfxDeferRegisterClass(AFX_WNDCOMMCTLS_REG);
    return CWnd::Create(WC_TABCONTROLW, nullptr, style, rect, parent, id);
}

LONG CTabCtrl::InsertItem(int index, LPCWSTR text)
{
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPWSTR>(text);
    return InsertItem(index, &item);
}

LONG CTabCtrl::InsertItem(int index, LPCWSTR text, int image)
{
    TCITEMW item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<LPWSTR>(text);
    item.iImage = image;
    return InsertItem(index, &item);
}

void CTabCtrl::DrawItem(LPDRAWITEMSTRUCT)
{
}

BOOL CTabCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return AfxDrawItemChildNotify(this, message, wParam, lParam, pResult);
}
