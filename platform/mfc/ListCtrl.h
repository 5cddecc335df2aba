// CListCtrl: list-view controls (the task list and the library's lists derive from it).
#pragma once

#include "platform/mfc/Wnd.h"
#include "platform/mfc/ImageList.h"

class CHeaderCtrl;
class CEdit;
class CToolTipCtrl;

class CListCtrl : public CWnd
{
    DECLARE_DYNAMIC(CListCtrl)
public:
    CListCtrl() {}
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    virtual BOOL CreateEx(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    using CWnd::CreateEx;

    int GetItemCount() const { return (int)SendMessage(LVM_GETITEMCOUNT); }
    BOOL SetItemCount(int count) { return (BOOL)SendMessage(LVM_SETITEMCOUNT, (WPARAM)count); }
    BOOL SetItemCountEx(int count, DWORD flags = LVSICF_NOINVALIDATEALL)
    {
        return (BOOL)SendMessage(LVM_SETITEMCOUNT, (WPARAM)count, flags);
    }
    BOOL GetItem(LVITEMW* item) const { return (BOOL)SendMessage(LVM_GETITEMW, 0, (LPARAM)item); }
    BOOL SetItem(const LVITEMW* item) { return (BOOL)SendMessage(LVM_SETITEMW, 0, (LPARAM)item); }
    BOOL SetItem(int item, int subItem, UINT mask, LPCWSTR text, int image, UINT state, UINT stateMask, LPARAM param);
    int InsertItem(const LVITEMW* item) { return (int)SendMessage(LVM_INSERTITEMW, 0, (LPARAM)item); }
    int InsertItem(int item, LPCWSTR text);
    int InsertItem(int item, LPCWSTR text, int image);
    int InsertItem(UINT mask, int item, LPCWSTR text, UINT state, UINT stateMask, int image, LPARAM param);
    BOOL DeleteItem(int item) { return (BOOL)SendMessage(LVM_DELETEITEM, (WPARAM)item); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(LVM_DELETEALLITEMS); }
    CString GetItemText(int item, int subItem) const;
    int GetItemText(int item, int subItem, LPWSTR text, int max) const;
    BOOL SetItemText(int item, int subItem, LPCWSTR text);
    DWORD_PTR GetItemData(int item) const;
    BOOL SetItemData(int item, DWORD_PTR data);
    UINT GetItemState(int item, UINT mask) const { return (UINT)SendMessage(LVM_GETITEMSTATE, (WPARAM)item, mask); }
    BOOL SetItemState(int item, UINT state, UINT mask);
    BOOL SetItemState(int item, LVITEMW* item2) { return (BOOL)SendMessage(LVM_SETITEMSTATE, (WPARAM)item, (LPARAM)item2); }
    BOOL GetCheck(int item) const { return ((GetItemState(item, LVIS_STATEIMAGEMASK) >> 12) - 1) > 0; }
    BOOL SetCheck(int item, BOOL check = TRUE)
    {
        return SetItemState(item, INDEXTOSTATEIMAGEMASK(check ? 2 : 1), LVIS_STATEIMAGEMASK);
    }
    BOOL GetItemRect(int item, LPRECT rect, UINT code) const;
    BOOL GetSubItemRect(int item, int subItem, int area, CRect& rect) const;
    BOOL GetItemPosition(int item, LPPOINT p) const { return (BOOL)SendMessage(LVM_GETITEMPOSITION, (WPARAM)item, (LPARAM)p); }
    int GetNextItem(int item, int flags) const { return (int)SendMessage(LVM_GETNEXTITEM, (WPARAM)item, MAKELPARAM(flags, 0)); }
    POSITION GetFirstSelectedItemPosition() const { return (POSITION)(INT_PTR)(1 + GetNextItem(-1, LVNI_SELECTED)); }
    int GetNextSelectedItem(POSITION& pos) const
    {
        int item = (int)(INT_PTR)pos - 1;
        pos = (POSITION)(INT_PTR)(1 + GetNextItem(item, LVNI_SELECTED));
        return item;
    }
    UINT GetSelectedCount() const { return (UINT)SendMessage(LVM_GETSELECTEDCOUNT); }
    int GetSelectionMark() const { return (int)SendMessage(LVM_GETSELECTIONMARK); }
    int SetSelectionMark(int index) { return (int)SendMessage(LVM_SETSELECTIONMARK, 0, (LPARAM)index); }
    int HitTest(LVHITTESTINFO* info) const { return (int)SendMessage(LVM_HITTEST, 0, (LPARAM)info); }
    int HitTest(CPoint p, UINT* flags = nullptr) const;
    int SubItemHitTest(LVHITTESTINFO* info) { return (int)SendMessage(LVM_SUBITEMHITTEST, 0, (LPARAM)info); }
    BOOL EnsureVisible(int item, BOOL partialOK) { return (BOOL)SendMessage(LVM_ENSUREVISIBLE, (WPARAM)item, partialOK); }
    BOOL Scroll(CSize size) { return (BOOL)SendMessage(LVM_SCROLL, (WPARAM)size.cx, (LPARAM)size.cy); }
    BOOL RedrawItems(int first, int last) { return (BOOL)SendMessage(LVM_REDRAWITEMS, (WPARAM)first, (LPARAM)last); }
    BOOL Update(int item) { return (BOOL)SendMessage(LVM_UPDATE, (WPARAM)item); }
    int GetTopIndex() const { return (int)SendMessage(LVM_GETTOPINDEX); }
    int GetCountPerPage() const { return (int)SendMessage(LVM_GETCOUNTPERPAGE); }
    BOOL SortItems(PFNLVCOMPARE compare, DWORD_PTR data)
    {
        return (BOOL)SendMessage(LVM_SORTITEMS, (WPARAM)data, (LPARAM)compare);
    }
    BOOL SortItemsEx(PFNLVCOMPARE compare, DWORD_PTR data)
    {
        return (BOOL)SendMessage(LVM_SORTITEMSEX, (WPARAM)data, (LPARAM)compare);
    }
    int FindItem(LVFINDINFOW* info, int start = -1) const
    {
        return (int)SendMessage(LVM_FINDITEMW, (WPARAM)start, (LPARAM)info);
    }

    BOOL GetColumn(int column, LVCOLUMNW* info) const { return (BOOL)SendMessage(LVM_GETCOLUMNW, (WPARAM)column, (LPARAM)info); }
    BOOL SetColumn(int column, const LVCOLUMNW* info)
    {
        return (BOOL)SendMessage(LVM_SETCOLUMNW, (WPARAM)column, (LPARAM)info);
    }
    int InsertColumn(int column, const LVCOLUMNW* info)
    {
        return (int)SendMessage(LVM_INSERTCOLUMNW, (WPARAM)column, (LPARAM)info);
    }
    int InsertColumn(int column, LPCWSTR heading, int format = LVCFMT_LEFT, int width = -1, int subItem = -1);
    BOOL DeleteColumn(int column) { return (BOOL)SendMessage(LVM_DELETECOLUMN, (WPARAM)column); }
    int GetColumnWidth(int column) const { return (int)SendMessage(LVM_GETCOLUMNWIDTH, (WPARAM)column); }
    BOOL SetColumnWidth(int column, int width) { return (BOOL)SendMessage(LVM_SETCOLUMNWIDTH, (WPARAM)column, MAKELPARAM(width, 0)); }
    BOOL GetColumnOrderArray(LPINT order, int count = -1);
    BOOL SetColumnOrderArray(int count, LPINT order)
    {
        return (BOOL)SendMessage(LVM_SETCOLUMNORDERARRAY, (WPARAM)count, (LPARAM)order);
    }
    CHeaderCtrl* GetHeaderCtrl() const;
    int GetStringWidth(LPCWSTR text) const { return (int)SendMessage(LVM_GETSTRINGWIDTHW, 0, (LPARAM)text); }

    CImageList* GetImageList(int kind) const { return CImageList::FromHandle((HIMAGELIST)SendMessage(LVM_GETIMAGELIST, (WPARAM)kind)); }
    CImageList* SetImageList(CImageList* list, int kind)
    {
        return CImageList::FromHandle(
            (HIMAGELIST)SendMessage(LVM_SETIMAGELIST, (WPARAM)kind, (LPARAM)list->GetSafeHandle()));
    }
    DWORD GetExtendedStyle() const { return (DWORD)SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE); }
    DWORD SetExtendedStyle(DWORD style) { return (DWORD)SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, (LPARAM)style); }
    COLORREF GetBkColor() const { return (COLORREF)SendMessage(LVM_GETBKCOLOR); }
    BOOL SetBkColor(COLORREF color) { return (BOOL)SendMessage(LVM_SETBKCOLOR, 0, (LPARAM)color); }
    COLORREF GetTextColor() const { return (COLORREF)SendMessage(LVM_GETTEXTCOLOR); }
    BOOL SetTextColor(COLORREF color) { return (BOOL)SendMessage(LVM_SETTEXTCOLOR, 0, (LPARAM)color); }
    COLORREF GetTextBkColor() const { return (COLORREF)SendMessage(LVM_GETTEXTBKCOLOR); }
    BOOL SetTextBkColor(COLORREF color) { return (BOOL)SendMessage(LVM_SETTEXTBKCOLOR, 0, (LPARAM)color); }
    CEdit* GetEditControl() const;
    CEdit* EditLabel(int item);
    DWORD GetItemSpacing(BOOL smallIcons) const { return (DWORD)SendMessage(LVM_GETITEMSPACING, smallIcons); }
    BOOL GetViewRect(LPRECT rect) const { return (BOOL)SendMessage(LVM_GETVIEWRECT, 0, (LPARAM)rect); }
    CToolTipCtrl* GetToolTips() const;

    virtual void DrawItem(LPDRAWITEMSTRUCT item);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
