// CTabCtrl: tab controls.
#pragma once

#include "platform/mfc/Wnd.h"
#include "platform/mfc/ImageList.h"

class CTabCtrl : public CWnd
{
    DECLARE_DYNAMIC(CTabCtrl)
public:
    CTabCtrl() {}
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    int GetItemCount() const { return (int)SendMessage(TCM_GETITEMCOUNT); }
    BOOL GetItem(int index, TCITEMW* item) const { return (BOOL)SendMessage(TCM_GETITEMW, (WPARAM)index, (LPARAM)item); }
    BOOL SetItem(int index, TCITEMW* item) { return (BOOL)SendMessage(TCM_SETITEMW, (WPARAM)index, (LPARAM)item); }
    LONG InsertItem(int index, TCITEMW* item) { return (LONG)SendMessage(TCM_INSERTITEMW, (WPARAM)index, (LPARAM)item); }
    LONG InsertItem(int index, LPCWSTR text);
    LONG InsertItem(int index, LPCWSTR text, int image);
    BOOL DeleteItem(int index) { return (BOOL)SendMessage(TCM_DELETEITEM, (WPARAM)index); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(TCM_DELETEALLITEMS); }
    BOOL GetItemRect(int index, LPRECT rect) const { return (BOOL)SendMessage(TCM_GETITEMRECT, (WPARAM)index, (LPARAM)rect); }
    int GetCurSel() const { return (int)SendMessage(TCM_GETCURSEL); }
    int SetCurSel(int index) { return (int)SendMessage(TCM_SETCURSEL, (WPARAM)index); }
    int GetCurFocus() const { return (int)SendMessage(TCM_GETCURFOCUS); }
    void SetCurFocus(int index) { SendMessage(TCM_SETCURFOCUS, (WPARAM)index); }
    void AdjustRect(BOOL larger, LPRECT rect) { SendMessage(TCM_ADJUSTRECT, larger, (LPARAM)rect); }
    CSize SetItemSize(CSize size) { return CSize((DWORD)SendMessage(TCM_SETITEMSIZE, 0, MAKELPARAM(size.cx, size.cy))); }
    void SetPadding(CSize size) { SendMessage(TCM_SETPADDING, 0, MAKELPARAM(size.cx, size.cy)); }
    int GetRowCount() const { return (int)SendMessage(TCM_GETROWCOUNT); }
    int HitTest(TCHITTESTINFO* info) const { return (int)SendMessage(TCM_HITTEST, 0, (LPARAM)info); }
    CImageList* GetImageList() const { return CImageList::FromHandle((HIMAGELIST)SendMessage(TCM_GETIMAGELIST)); }
    CImageList* SetImageList(CImageList* list)
    {
        return CImageList::FromHandle((HIMAGELIST)SendMessage(TCM_SETIMAGELIST, 0, (LPARAM)list->GetSafeHandle()));
    }

    virtual void DrawItem(LPDRAWITEMSTRUCT item);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
