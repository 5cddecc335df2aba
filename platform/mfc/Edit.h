// CEdit: single- and multi-line edit controls.
#pragma once

#include "platform/mfc/Wnd.h"

class CEdit : public CWnd
{
    DECLARE_DYNAMIC(CEdit)
public:
    CEdit() {}
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    BOOL CanUndo() const { return (BOOL)SendMessage(EM_CANUNDO); }
    int GetLineCount() const { return (int)SendMessage(EM_GETLINECOUNT); }
    BOOL GetModify() const { return (BOOL)SendMessage(EM_GETMODIFY); }
    void SetModify(BOOL modified = TRUE) { SendMessage(EM_SETMODIFY, modified); }
    void GetRect(LPRECT rect) const { SendMessage(EM_GETRECT, 0, (LPARAM)rect); }
    void SetRect(LPCRECT rect) { SendMessage(EM_SETRECT, 0, (LPARAM)rect); }
    DWORD GetSel() const { return (DWORD)SendMessage(EM_GETSEL); }
    void GetSel(int& start, int& end) const { SendMessage(EM_GETSEL, (WPARAM)&start, (LPARAM)&end); }
    void SetSel(DWORD selection, BOOL noScroll = FALSE)
    {
        SendMessage(EM_SETSEL, LOWORD(selection), HIWORD(selection));
        if (!noScroll)
            SendMessage(EM_SCROLLCARET);
    }
    void SetSel(int start, int end, BOOL noScroll = FALSE)
    {
        SendMessage(EM_SETSEL, (WPARAM)start, (LPARAM)end);
        if (!noScroll)
            SendMessage(EM_SCROLLCARET);
    }
    void ReplaceSel(LPCWSTR text, BOOL canUndo = FALSE) { SendMessage(EM_REPLACESEL, canUndo, (LPARAM)text); }
    void SetPasswordChar(wchar_t ch) { SendMessage(EM_SETPASSWORDCHAR, ch); }
    wchar_t GetPasswordChar() const { return (wchar_t)SendMessage(EM_GETPASSWORDCHAR); }
    void LimitText(int chars = 0) { SendMessage(EM_LIMITTEXT, (WPARAM)chars); }
    void SetLimitText(UINT max) { SendMessage(EM_SETLIMITTEXT, max); }
    UINT GetLimitText() const { return (UINT)SendMessage(EM_GETLIMITTEXT); }
    int LineFromChar(int index = -1) const { return (int)SendMessage(EM_LINEFROMCHAR, (WPARAM)index); }
    int LineIndex(int line = -1) const { return (int)SendMessage(EM_LINEINDEX, (WPARAM)line); }
    int LineLength(int line = -1) const { return (int)SendMessage(EM_LINELENGTH, (WPARAM)line); }
    int GetLine(int index, LPWSTR buffer, int max) const
    {
        *(WORD*)buffer = (WORD)max;
        return (int)SendMessage(EM_GETLINE, (WPARAM)index, (LPARAM)buffer);
    }
    void LineScroll(int lines, int chars = 0) { SendMessage(EM_LINESCROLL, (WPARAM)chars, (LPARAM)lines); }
    int GetFirstVisibleLine() const { return (int)SendMessage(EM_GETFIRSTVISIBLELINE); }
    BOOL SetReadOnly(BOOL readOnly = TRUE) { return (BOOL)SendMessage(EM_SETREADONLY, readOnly); }
    void SetMargins(UINT left, UINT right) { SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(left, right)); }
    DWORD GetMargins() const { return (DWORD)SendMessage(EM_GETMARGINS); }
    CPoint PosFromChar(UINT index) const { return CPoint((LPARAM)SendMessage(EM_POSFROMCHAR, index)); }
    int CharFromPos(CPoint p) const { return (int)SendMessage(EM_CHARFROMPOS, 0, MAKELPARAM(p.x, p.y)); }
    BOOL Undo() { return (BOOL)SendMessage(EM_UNDO); }
    void EmptyUndoBuffer() { SendMessage(EM_EMPTYUNDOBUFFER); }
    void Clear() { SendMessage(WM_CLEAR); }
    void Copy() { SendMessage(WM_COPY); }
    void Cut() { SendMessage(WM_CUT); }
    void Paste() { SendMessage(WM_PASTE); }
};
