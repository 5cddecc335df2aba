#include "platform/mfc/HeaderCtrl.h"

#include "platform/mfc/OwnerDraw.h"

IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)

BOOL CHeaderCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    AfxDeferRegisterClass(AFX_WNDCOMMCTLS_REG);
    return CWnd::Create(WC_HEADERW, nullptr, style, rect, parent, id);
}

BOOL CHeaderCtrl::GetOrderArray(LPINT order, int count)
{
    if (count == -1)
        count = GetItemCount();
    return (BOOL)SendMessage(HDM_GETORDERARRAY, (WPARAM)count, (LPARAM)order);
}

void CHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT)
{
}

BOOL CHeaderCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return AfxDrawItemChildNotify(this, message, wParam, lParam, pResult);
}
