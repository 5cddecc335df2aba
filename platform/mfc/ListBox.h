// CListBox: list boxes; owner-drawn ones draw, measure, compare and delete through virtuals
// reached by reflection.
#pragma once

#include "platform/mfc/OwnerDraw.h"

class CListBox : public CWnd
{
    DECLARE_DYNAMIC(CListBox)
public:
    CListBox() {}
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    int GetCount() const { return (int)SendMessage(LB_GETCOUNT); }
    int GetCurSel() const { return (int)SendMessage(LB_GETCURSEL); }
    int SetCurSel(int index) { return (int)SendMessage(LB_SETCURSEL, (WPARAM)index); }
    int GetSel(int index) const { return (int)SendMessage(LB_GETSEL, (WPARAM)index); }
    int SetSel(int index, BOOL select = TRUE) { return (int)SendMessage(LB_SETSEL, select, index); }
    int GetSelCount() const { return (int)SendMessage(LB_GETSELCOUNT); }
    int GetSelItems(int max, LPINT items) const { return (int)SendMessage(LB_GETSELITEMS, (WPARAM)max, (LPARAM)items); }
    int GetTopIndex() const { return (int)SendMessage(LB_GETTOPINDEX); }
    int SetTopIndex(int index) { return (int)SendMessage(LB_SETTOPINDEX, (WPARAM)index); }
    int GetText(int index, LPWSTR buffer) const { return (int)SendMessage(LB_GETTEXT, (WPARAM)index, (LPARAM)buffer); }
    void GetText(int index, CString& text) const;
    int GetTextLen(int index) const { return (int)SendMessage(LB_GETTEXTLEN, (WPARAM)index); }
    DWORD_PTR GetItemData(int index) const { return (DWORD_PTR)SendMessage(LB_GETITEMDATA, (WPARAM)index); }
    int SetItemData(int index, DWORD_PTR data) { return (int)SendMessage(LB_SETITEMDATA, (WPARAM)index, (LPARAM)data); }
    void* GetItemDataPtr(int index) const { return (void*)GetItemData(index); }
    int SetItemDataPtr(int index, void* data) { return SetItemData(index, (DWORD_PTR)data); }
    int GetItemRect(int index, LPRECT rect) const { return (int)SendMessage(LB_GETITEMRECT, (WPARAM)index, (LPARAM)rect); }
    int GetItemHeight(int index) const { return (int)SendMessage(LB_GETITEMHEIGHT, (WPARAM)index); }
    int SetItemHeight(int index, UINT height) { return (int)SendMessage(LB_SETITEMHEIGHT, (WPARAM)index, MAKELONG(height, 0)); }
    int GetCaretIndex() const { return (int)SendMessage(LB_GETCARETINDEX); }
    int SetCaretIndex(int index, BOOL scroll = TRUE) { return (int)SendMessage(LB_SETCARETINDEX, (WPARAM)index, scroll); }
    void SetHorizontalExtent(int extent) { SendMessage(LB_SETHORIZONTALEXTENT, (WPARAM)extent); }
    UINT ItemFromPoint(CPoint p, BOOL& outside) const
    {
        DWORD result = (DWORD)SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(p.x, p.y));
        outside = (BOOL)HIWORD(result);
        return LOWORD(result);
    }
    int AddString(LPCWSTR text) { return (int)SendMessage(LB_ADDSTRING, 0, (LPARAM)text); }
    int DeleteString(UINT index) { return (int)SendMessage(LB_DELETESTRING, index); }
    int InsertString(int index, LPCWSTR text) { return (int)SendMessage(LB_INSERTSTRING, (WPARAM)index, (LPARAM)text); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    int FindString(int start, LPCWSTR text) const { return (int)SendMessage(LB_FINDSTRING, (WPARAM)start, (LPARAM)text); }
    int FindStringExact(int start, LPCWSTR text) const
    {
        return (int)SendMessage(LB_FINDSTRINGEXACT, (WPARAM)start, (LPARAM)text);
    }
    int SelectString(int start, LPCWSTR text) { return (int)SendMessage(LB_SELECTSTRING, (WPARAM)start, (LPARAM)text); }

    virtual void DrawItem(LPDRAWITEMSTRUCT item);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT item);
    virtual int CompareItem(LPCOMPAREITEMSTRUCT item);
    virtual void DeleteItem(LPDELETEITEMSTRUCT item);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
