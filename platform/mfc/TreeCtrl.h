// CTreeCtrl: tree-view controls.
#pragma once

#include "platform/mfc/Wnd.h"
#include "platform/mfc/ImageList.h"

class CTreeCtrl : public CWnd
{
    DECLARE_DYNAMIC(CTreeCtrl)
public:
    CTreeCtrl() {}
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    UINT GetCount() const { return (UINT)SendMessage(TVM_GETCOUNT); }
    HTREEITEM InsertItem(LPTVINSERTSTRUCTW insert) { return (HTREEITEM)SendMessage(TVM_INSERTITEMW, 0, (LPARAM)insert); }
    HTREEITEM InsertItem(LPCWSTR text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
    HTREEITEM InsertItem(LPCWSTR text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM after = TVI_LAST);
    BOOL DeleteItem(HTREEITEM item) { return (BOOL)SendMessage(TVM_DELETEITEM, 0, (LPARAM)item); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(TVM_DELETEITEM, 0, (LPARAM)TVI_ROOT); }
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const
    {
        return (HTREEITEM)SendMessage(TVM_GETNEXTITEM, code, (LPARAM)item);
    }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUS); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetFirstVisibleItem() const { return GetNextItem(nullptr, TVGN_FIRSTVISIBLE); }
    HTREEITEM GetNextVisibleItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXTVISIBLE); }
    HTREEITEM GetDropHilightItem() const { return GetNextItem(nullptr, TVGN_DROPHILITE); }
    BOOL ItemHasChildren(HTREEITEM item) const;
    BOOL Select(HTREEITEM item, UINT code) { return (BOOL)SendMessage(TVM_SELECTITEM, code, (LPARAM)item); }
    BOOL SelectItem(HTREEITEM item) { return Select(item, TVGN_CARET); }
    BOOL SelectDropTarget(HTREEITEM item) { return Select(item, TVGN_DROPHILITE); }
    BOOL Expand(HTREEITEM item, UINT code) { return (BOOL)SendMessage(TVM_EXPAND, code, (LPARAM)item); }
    BOOL EnsureVisible(HTREEITEM item) { return (BOOL)SendMessage(TVM_ENSUREVISIBLE, 0, (LPARAM)item); }
    BOOL GetItem(TVITEMW* item) const { return (BOOL)SendMessage(TVM_GETITEMW, 0, (LPARAM)item); }
    BOOL SetItem(TVITEMW* item) { return (BOOL)SendMessage(TVM_SETITEMW, 0, (LPARAM)item); }
    CString GetItemText(HTREEITEM item) const;
    BOOL SetItemText(HTREEITEM item, LPCWSTR text);
    DWORD_PTR GetItemData(HTREEITEM item) const;
    BOOL SetItemData(HTREEITEM item, DWORD_PTR data);
    UINT GetItemState(HTREEITEM item, UINT mask) const
    {
        return (UINT)SendMessage(TVM_GETITEMSTATE, (WPARAM)item, mask);
    }
    BOOL SetItemState(HTREEITEM item, UINT state, UINT mask);
    BOOL GetItemImage(HTREEITEM item, int& image, int& selectedImage) const;
    BOOL SetItemImage(HTREEITEM item, int image, int selectedImage);
    BOOL GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const;
    HTREEITEM HitTest(CPoint p, UINT* flags = nullptr) const;
    HTREEITEM HitTest(TVHITTESTINFO* info) const { return (HTREEITEM)SendMessage(TVM_HITTEST, 0, (LPARAM)info); }
    UINT GetIndent() const { return (UINT)SendMessage(TVM_GETINDENT); }
    void SetIndent(UINT indent) { SendMessage(TVM_SETINDENT, indent); }
    CImageList* GetImageList(int kind) const
    {
        return CImageList::FromHandle((HIMAGELIST)SendMessage(TVM_GETIMAGELIST, (WPARAM)kind));
    }
    CImageList* SetImageList(CImageList* list, int kind)
    {
        return CImageList::FromHandle((HIMAGELIST)SendMessage(TVM_SETIMAGELIST, (WPARAM)kind, (LPARAM)list->GetSafeHandle()));
    }
    COLORREF SetBkColor(COLORREF color) { return (COLORREF)SendMessage(TVM_SETBKCOLOR, 0, color); }
    COLORREF SetTextColor(COLORREF color) { return (COLORREF)SendMessage(TVM_SETTEXTCOLOR, 0, color); }
    BOOL SortChildren(HTREEITEM item) { return (BOOL)SendMessage(TVM_SORTCHILDREN, 0, (LPARAM)item); }
};
