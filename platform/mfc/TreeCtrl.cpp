#include "platform/mfc/TreeCtrl.h"

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

BOOL CTreeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    AfxDeferRegisterClass(AFX_WNDCOMMCTLS_REG);
    return CWnd::Create(WC_TREEVIEWW, nullptr, style, rect, parent, id);
}

HTREEITEM CTreeCtrl::InsertItem(LPCWSTR text, HTREEITEM parent, HTREEITEM after)
{
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<LPWSTR>(text);
    return InsertItem(&insert);
}

HTREEITEM CTreeCtrl::InsertItem(LPCWSTR text, int image, int selectedImage, HTREEITEM parent, HTREEITEM after)
{
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<LPWSTR>(text);
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    return InsertItem(&insert);
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM item) const
{
    TVITEMW info = {};
    info.hItem = item;
    info.mask = TVIF_CHILDREN;
    GetItem(&info);
    return info.cChildren != 0;
}

CString CTreeCtrl::GetItemText(HTREEITEM item) const
{
    wchar_t buffer[1024] = {0};
    TVITEMW info = {};
    info.hItem = item;
    info.mask = TVIF_TEXT;
    info.pszText = buffer;
    info.cchTextMax = 1024;
    GetItem(&info);
    return CString(buffer);
}

BOOL CTreeCtrl::SetItemText(HTREEITEM item, LPCWSTR text)
{
    TVITEMW info = {};
    info.hItem = item;
    info.mask = TVIF_TEXT;
    info.pszText = const_cast<LPWSTR>(text);
    return SetItem(&info);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const
{
    TVITEMW info = {};
    info.hItem = item;
    info.mask = TVIF_PARAM;
    GetItem(&info);
    return (DWORD_PTR)info.lParam;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR data)
{
    TVITEMW info = {};
    info.hItem = item;
    info.mask = TVIF_PARAM;
    info.lParam = (LPARAM)data;
    return SetItem(&info);
}

BOOL CTreeCtrl::SetItemState(HTREEITEM item, UINT state, UINT mask)
{
    TVITEMW info = {};
    info.hItem = item;
    info.mask = TVIF_STATE;
    info.state = state;
    info.stateMask = mask;
    return SetItem(&info);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM item, int& image, int& selectedImage) const
{
    TVITEMW info = {};
    info.hItem = item;
    info.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    BOOL ok = GetItem(&info);
    image = info.iImage;
    selectedImage = info.iSelectedImage;
    return ok;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM item, int image, int selectedImage)
{
    TVITEMW info = {};
    info.hItem = item;
    info.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    info.iImage = image;
    info.iSelectedImage = selectedImage;
    return SetItem(&info);
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const
{
    *reinterpret_cast<HTREEITEM*>(rect) = item;
    return (BOOL)SendMessage(TVM_GETITEMRECT, textOnly, (LPARAM)rect);
}

HTREEITEM CTreeCtrl::HitTest(CPoint p, UINT* flags) const
{
    TVHITTESTINFO info = {};
    info.pt = p;
    HTREEITEM item = HitTest(&info);
    if (flags)
        *flags = info.flags;
    return item;
}
