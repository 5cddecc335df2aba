// CComboBox: combo boxes; owner-drawn ones draw through virtuals reached by reflection.
#pragma once

#include "platform/mfc/ListBox.h"

class CComboBox : public CWnd
{
    DECLARE_DYNAMIC(CComboBox)
public:
    CComboBox() {}
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    int GetCount() const { return (int)SendMessage(CB_GETCOUNT); }
    int GetCurSel() const { return (int)SendMessage(CB_GETCURSEL); }
    int SetCurSel(int index) { return (int)SendMessage(CB_SETCURSEL, (WPARAM)index); }
    DWORD GetEditSel() const { return (DWORD)SendMessage(CB_GETEDITSEL); }
    BOOL SetEditSel(int start, int end) { return (BOOL)SendMessage(CB_SETEDITSEL, 0, MAKELONG(start, end)); }
    BOOL LimitText(int max) { return (BOOL)SendMessage(CB_LIMITTEXT, (WPARAM)max); }
    DWORD_PTR GetItemData(int index) const { return (DWORD_PTR)SendMessage(CB_GETITEMDATA, (WPARAM)index); }
    int SetItemData(int index, DWORD_PTR data) { return (int)SendMessage(CB_SETITEMDATA, (WPARAM)index, (LPARAM)data); }
    void* GetItemDataPtr(int index) const { return (void*)GetItemData(index); }
    int SetItemDataPtr(int index, void* data) { return SetItemData(index, (DWORD_PTR)data); }
    int GetLBText(int index, LPWSTR buffer) const { return (int)SendMessage(CB_GETLBTEXT, (WPARAM)index, (LPARAM)buffer); }
    void GetLBText(int index, CString& text) const;
    int GetLBTextLen(int index) const { return (int)SendMessage(CB_GETLBTEXTLEN, (WPARAM)index); }
    int SetItemHeight(int index, UINT height) { return (int)SendMessage(CB_SETITEMHEIGHT, (WPARAM)index, height); }
    int GetItemHeight(int index) const { return (int)SendMessage(CB_GETITEMHEIGHT, (WPARAM)index); }
    int SetDroppedWidth(UINT width) { return (int)SendMessage(CB_SETDROPPEDWIDTH, width); }
    int GetDroppedWidth() const { return (int)SendMessage(CB_GETDROPPEDWIDTH); }
    void GetDroppedControlRect(LPRECT rect) const { SendMessage(CB_GETDROPPEDCONTROLRECT, 0, (LPARAM)rect); }
    BOOL GetDroppedState() const { return (BOOL)SendMessage(CB_GETDROPPEDSTATE); }
    void ShowDropDown(BOOL show = TRUE) { SendMessage(CB_SHOWDROPDOWN, show); }
    int GetTopIndex() const { return (int)SendMessage(CB_GETTOPINDEX); }
    int SetTopIndex(int index) { return (int)SendMessage(CB_SETTOPINDEX, (WPARAM)index); }
    BOOL GetComboBoxInfo(PCOMBOBOXINFO info) const
    {
        info->cbSize = sizeof(COMBOBOXINFO);
        return ::GetComboBoxInfo(m_hWnd, info);
    }
    int AddString(LPCWSTR text) { return (int)SendMessage(CB_ADDSTRING, 0, (LPARAM)text); }
    int DeleteString(UINT index) { return (int)SendMessage(CB_DELETESTRING, index); }
    int InsertString(int index, LPCWSTR text) { return (int)SendMessage(CB_INSERTSTRING, (WPARAM)index, (LPARAM)text); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    int FindString(int start, LPCWSTR text) const { return (int)SendMessage(CB_FINDSTRING, (WPARAM)start, (LPARAM)text); }
    int FindStringExact(int start, LPCWSTR text) const
    {
        return (int)SendMessage(CB_FINDSTRINGEXACT, (WPARAM)start, (LPARAM)text);
    }
    int SelectString(int start, LPCWSTR text) { return (int)SendMessage(CB_SELECTSTRING, (WPARAM)start, (LPARAM)text); }
    void Clear() { SendMessage(WM_CLEAR); }
    void Copy() { SendMessage(WM_COPY); }
    void Cut() { SendMessage(WM_CUT); }
    void Paste() { SendMessage(WM_PASTE); }

    virtual void DrawItem(LPDRAWITEMSTRUCT item);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT item);
    virtual int CompareItem(LPCOMPAREITEMSTRUCT item);
    virtual void DeleteItem(LPDELETEITEMSTRUCT item);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
