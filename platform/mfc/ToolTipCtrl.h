// CToolTipCtrl: tool-tip controls.
#pragma once

#include "platform/mfc/Wnd.h"

class CToolTipCtrl : public CWnd
{
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    CToolTipCtrl() {}
    virtual BOOL Create(CWnd* parent, DWORD style = 0);
    virtual BOOL CreateEx(CWnd* parent, DWORD style = 0, DWORD exStyle = 0);
    using CWnd::CreateEx;

    BOOL AddTool(CWnd* wnd, LPCWSTR text = LPSTR_TEXTCALLBACKW, LPCRECT rect = nullptr, UINT_PTR id = 0);
    BOOL AddTool(CWnd* wnd, UINT textId, LPCRECT rect = nullptr, UINT_PTR id = 0);
    void DelTool(CWnd* wnd, UINT_PTR id = 0);
    void UpdateTipText(LPCWSTR text, CWnd* wnd, UINT_PTR id = 0);
    void SetToolRect(CWnd* wnd, UINT_PTR id, LPCRECT rect);
    BOOL GetToolInfo(TOOLINFOW& info, CWnd* wnd, UINT_PTR id = 0) const;
    void SetToolInfo(TOOLINFOW* info) { SendMessage(TTM_SETTOOLINFOW, 0, (LPARAM)info); }
    BOOL HitTest(CWnd* wnd, CPoint p, TOOLINFOW* info) const;
    int GetToolCount() const { return (int)SendMessage(TTM_GETTOOLCOUNT); }
    void Activate(BOOL activate) { SendMessage(TTM_ACTIVATE, activate); }
    void RelayEvent(LPMSG msg) { SendMessage(TTM_RELAYEVENT, 0, (LPARAM)msg); }
    void Pop() { SendMessage(TTM_POP); }
    void Update() { SendMessage(TTM_UPDATE); }
    void SetDelayTime(UINT delay) { SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, (LPARAM)delay); }
    void SetDelayTime(DWORD which, int delay) { SendMessage(TTM_SETDELAYTIME, which, MAKELPARAM(delay, 0)); }
    int GetDelayTime(DWORD which) const { return (int)SendMessage(TTM_GETDELAYTIME, which); }
    int SetMaxTipWidth(int width) { return (int)SendMessage(TTM_SETMAXTIPWIDTH, 0, width); }
    int GetMaxTipWidth() const { return (int)SendMessage(TTM_GETMAXTIPWIDTH); }
    void SetTipBkColor(COLORREF color) { SendMessage(TTM_SETTIPBKCOLOR, color); }
    void SetTipTextColor(COLORREF color) { SendMessage(TTM_SETTIPTEXTCOLOR, color); }
    void SetMargin(LPRECT rect) { SendMessage(TTM_SETMARGIN, 0, (LPARAM)rect); }
    BOOL SetTitle(UINT icon, LPCWSTR title) { return (BOOL)SendMessage(TTM_SETTITLEW, icon, (LPARAM)title); }
    BOOL AdjustRect(LPRECT rect, BOOL larger = TRUE) { return (BOOL)SendMessage(TTM_ADJUSTRECT, larger, (LPARAM)rect); }

protected:
    static void FillInToolInfo(TOOLINFOW& info, CWnd* wnd, UINT_PTR id);
};
