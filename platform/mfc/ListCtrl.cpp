#include "platform/mfc/ListCtrl.h"

#include "platform/mfc/OwnerDraw.h"

#include "platform/mfc/Edit.h"
#include "platform/mfc/HeaderCtrl.h"
#include "platform/mfc/ToolTipCtrl.h"

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    AfxDeferRegisterClass(AFX_WNDCOMMCTLS_REG);
    return CWnd::Create(WC_LISTVIEWW, nullptr, style, rect, parent, id);
}

BOOL CListCtrl::CreateEx(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    AfxDeferRegisterClass(AFX_WNDCOMMCTLS_REG);
    return CWnd::CreateEx(exStyle, WC_LISTVIEWW, nullptr, style | WS_CHILD, rect, parent, id);
}

BOOL CListCtrl::SetItem(int item, int subItem, UINT mask, LPCWSTR text, int image, UINT state, UINT stateMask,
                        LPARAM param)
{
    LVITEMW info = {};
    info.mask = mask;
    info.iItem = item;
    info.iSubItem = subItem;
    info.pszText = const_cast<LPWSTR>(text);
    info.iImage = image;
    info.state = state;
    info.stateMask = stateMask;
    info.lParam = param;
    return SetItem(&info);
}

int CListCtrl::InsertItem(int item, LPCWSTR text)
{
    return InsertItem(LVIF_TEXT, item, text, 0, 0, 0, 0);
}

int CListCtrl::InsertItem(int item, LPCWSTR text, int image)
{
    return InsertItem(LVIF_TEXT | LVIF_IMAGE, item, text, 0, 0, image, 0);
}

int CListCtrl::InsertItem(UINT mask, int item, LPCWSTR text, UINT state, UINT stateMask, int image, LPARAM param)
{
    LVITEMW info = {};
    info.mask = mask;
    info.iItem = item;
    info.pszText = const_cast<LPWSTR>(text);
    info.state = state;
    info.stateMask = stateMask;
    info.iImage = image;
    info.lParam = param;
    return InsertItem(&info);
}

int CListCtrl::GetItemText(int item, int subItem, LPWSTR text, int max) const
{
    LVITEMW info = {};
    info.iSubItem = subItem;
    info.pszText = text;
    info.cchTextMax = max;
    return (int)SendMessage(LVM_GETITEMTEXTW, (WPARAM)item, (LPARAM)&info);
}

CString CListCtrl::GetItemText(int item, int subItem) const
{
    // Grow the buffer until the text fits.
    CString text;
    for (int size = 256;; size *= 2)
    {
        int length = GetItemText(item, subItem, text.GetBufferSetLength(size), size + 1);
        text.ReleaseBuffer(length);
        if (length < size || size > (1 << 20))
            break;
    }
    return text;
}

BOOL CListCtrl::SetItemText(int item, int subItem, LPCWSTR text)
{
    LVITEMW info = {};
    info.iSubItem = subItem;
    info.pszText = const_cast<LPWSTR>(text);
    return (BOOL)SendMessage(LVM_SETITEMTEXTW, (WPARAM)item, (LPARAM)&info);
}

DWORD_PTR CListCtrl::GetItemData(int item) const
{
    LVITEMW info = {};
    info.mask = LVIF_PARAM;
    info.iItem = item;
    GetItem(&info);
    return (DWORD_PTR)info.lParam;
}

BOOL CListCtrl::SetItemData(int item, DWORD_PTR data)
{
    return SetItem(item, 0, LVIF_PARAM, nullptr, 0, 0, 0, (LPARAM)data);
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask)
{
    LVITEMW info = {};
    info.state = state;
    info.stateMask = mask;
    return (BOOL)SendMessage(LVM_SETITEMSTATE, (WPARAM)item, (LPARAM)&info);
}

BOOL CListCtrl::GetItemRect(int item, LPRECT rect, UINT code) const
{
    rect->left = (LONG)code;
    return (BOOL)SendMessage(LVM_GETITEMRECT, (WPARAM)item, (LPARAM)rect);
}

BOOL CListCtrl::GetSubItemRect(int item, int subItem, int area, CRect& rect) const
{
    rect.top = subItem;
    rect.left = area;
    return (BOOL)SendMessage(LVM_GETSUBITEMRECT, (WPARAM)item, (LPARAM)(LPRECT)rect);
}

int CListCtrl::HitTest(CPoint p, UINT* flags) const
{
    LVHITTESTINFO info = {};
    info.pt = p;
    int item = HitTest(&info);
    if (flags)
        *flags = info.flags;
    return item;
}

int CListCtrl::InsertColumn(int column, LPCWSTR heading, int format, int width, int subItem)
{
    LVCOLUMNW info = {};
    info.mask = LVCF_TEXT | LVCF_FMT;
    info.pszText = const_cast<LPWSTR>(heading);
    info.fmt = format;
    if (width != -1)
    {
        info.mask |= LVCF_WIDTH;
        info.cx = width;
    }
    if (subItem != -1)
    {
        info.mask |= LVCF_SUBITEM;
        info.iSubItem = subItem;
    }
    return InsertColumn(column, &info);
}

BOOL CListCtrl::GetColumnOrderArray(LPINT order, int count)
{
    if (count == -1)
    {
        CHeaderCtrl* header = GetHeaderCtrl();
        count = header ? header->GetItemCount() : 0;
    }
    return (BOOL)SendMessage(LVM_GETCOLUMNORDERARRAY, (WPARAM)count, (LPARAM)order);
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const
{
    return static_cast<CHeaderCtrl*>(CWnd::FromHandle((HWND)SendMessage(LVM_GETHEADER)));
}

CEdit* CListCtrl::GetEditControl() const
{
    return static_cast<CEdit*>(CWnd::FromHandle((HWND)SendMessage(LVM_GETEDITCONTROL)));
}

CEdit* CListCtrl::EditLabel(int item)
{
    return static_cast<CEdit*>(CWnd::FromHandle((HWND)SendMessage(LVM_EDITLABELW, (WPARAM)item)));
}

CToolTipCtrl* CListCtrl::GetToolTips() const
{
    return static_cast<CToolTipCtrl*>(CWnd::FromHandle((HWND)SendMessage(LVM_GETTOOLTIPS)));
}

void CListCtrl::DrawItem(LPDRAWITEMSTRUCT)
{
}

BOOL CListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return AfxDrawItemChildNotify(this, message, wParam, lParam, pResult);
}
