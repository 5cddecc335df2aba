// CHeaderCtrl: column headers (of list controls, or standing alone).
#pragma once

#include "platform/mfc/Wnd.h"
#include "platform/mfc/ImageList.h"

class CHeaderCtrl : public CWnd
{
    DECLARE_DYNAMIC(CHeaderCtrl)
public:
    CHeaderCtrl() {}
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    int GetItemCount() const { return (int)SendMessage(HDM_GETITEMCOUNT); }
    BOOL GetItem(int index, HDITEMW* item) const { return (BOOL)SendMessage(HDM_GETITEMW, (WPARAM)index, (LPARAM)item); }
    BOOL SetItem(int index, HDITEMW* item) { return (BOOL)SendMessage(HDM_SETITEMW, (WPARAM)index, (LPARAM)item); }
    int InsertItem(int index, HDITEMW* item) { return (int)SendMessage(HDM_INSERTITEMW, (WPARAM)index, (LPARAM)item); }
    BOOL DeleteItem(int index) { return (BOOL)SendMessage(HDM_DELETEITEM, (WPARAM)index); }
    BOOL GetItemRect(int index, LPRECT rect) const { return (BOOL)SendMessage(HDM_GETITEMRECT, (WPARAM)index, (LPARAM)rect); }
    BOOL Layout(HDLAYOUT* layout) { return (BOOL)SendMessage(HDM_LAYOUT, 0, (LPARAM)layout); }
    int HitTest(HDHITTESTINFO* info) { return (int)SendMessage(HDM_HITTEST, 0, (LPARAM)info); }
    int OrderToIndex(int order) const { return (int)SendMessage(HDM_ORDERTOINDEX, (WPARAM)order); }
    BOOL GetOrderArray(LPINT order, int count = -1);
    BOOL SetOrderArray(int count, LPINT order) { return (BOOL)SendMessage(HDM_SETORDERARRAY, (WPARAM)count, (LPARAM)order); }
    CImageList* GetImageList() const { return CImageList::FromHandle((HIMAGELIST)SendMessage(HDM_GETIMAGELIST)); }
    CImageList* SetImageList(CImageList* list)
    {
        return CImageList::FromHandle((HIMAGELIST)SendMessage(HDM_SETIMAGELIST, 0, (LPARAM)list->GetSafeHandle()));
    }
    int SetHotDivider(CPoint p) { return (int)SendMessage(HDM_SETHOTDIVIDER, TRUE, MAKELPARAM(p.x, p.y)); }
    int SetHotDivider(int index) { return (int)SendMessage(HDM_SETHOTDIVIDER, FALSE, index); }

    virtual void DrawItem(LPDRAWITEMSTRUCT item);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
