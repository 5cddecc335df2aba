#include "platform/mfc/ToolTipCtrl.h"

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style)
{
    return CreateEx(parent, style, 0);
}

BOOL CToolTipCtrl::CreateEx(CWnd* parent, DWORD style, DWORD exStyle)
{
    AfxDeferRegisterClass(AFX_WNDCOMMCTLS_REG);
    return CWnd::CreateEx(exStyle, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, parent->GetSafeHwnd(), nullptr, nullptr);
}

void CToolTipCtrl::FillInToolInfo(TOOLINFOW& info, CWnd* wnd, UINT_PTR id)
{
    ::ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    HWND hWnd = wnd->GetSafeHwnd();
    if (id == 0)
    {
        // A tool without an id is the window itself.
        info.hwnd = ::GetParent(hWnd);
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.uId = (UINT_PTR)hWnd;
    }
    else
    {
        info.hwnd = hWnd;
        info.uFlags = TTF_SUBCLASS;
        info.uId = id;
    }
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, LPCWSTR text, LPCRECT rect, UINT_PTR id)
{
    TOOLINFOW info;
    FillInToolInfo(info, wnd, id);
    if (rect)
        info.rect = *rect;
    else if (id != 0)
        ::GetClientRect(wnd->GetSafeHwnd(), &info.rect);
    info.lpszText = const_cast<LPWSTR>(text);
    return (BOOL)SendMessage(TTM_ADDTOOLW, 0, (LPARAM)&info);
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, UINT textId, LPCRECT rect, UINT_PTR id)
{
    TOOLINFOW info;
    FillInToolInfo(info, wnd, id);
    if (rect)
        info.rect = *rect;
    else if (id != 0)
        ::GetClientRect(wnd->GetSafeHwnd(), &info.rect);
    info.hinst = AfxGetResourceHandle();
    info.lpszText = MAKEINTRESOURCEW(textId);
    return (BOOL)SendMessage(TTM_ADDTOOLW, 0, (LPARAM)&info);
}

void CToolTipCtrl::DelTool(CWnd* wnd, UINT_PTR id)
{
    TOOLINFOW info;
    FillInToolInfo(info, wnd, id);
    SendMessage(TTM_DELTOOLW, 0, (LPARAM)&info);
}

void CToolTipCtrl::UpdateTipText(LPCWSTR text, CWnd* wnd, UINT_PTR id)
{
    TOOLINFOW info;
    FillInToolInfo(info, wnd, id);
    info.lpszText = const_cast<LPWSTR>(text);
    SendMessage(TTM_UPDATETIPTEXTW, 0, (LPARAM)&info);
}

void CToolTipCtrl::SetToolRect(CWnd* wnd, UINT_PTR id, LPCRECT rect)
{
    TOOLINFOW info;
    FillInToolInfo(info, wnd, id);
    info.rect = *rect;
    SendMessage(TTM_NEWTOOLRECTW, 0, (LPARAM)&info);
}

BOOL CToolTipCtrl::GetToolInfo(TOOLINFOW& info, CWnd* wnd, UINT_PTR id) const
{
    FillInToolInfo(info, wnd, id);
    return (BOOL)SendMessage(TTM_GETTOOLINFOW, 0, (LPARAM)&info);
}

BOOL CToolTipCtrl::HitTest(CWnd* wnd, CPoint p, TOOLINFOW* info) const
{
    TTHITTESTINFOW hit = {};
    hit.hwnd = wnd->GetSafeHwnd();
    hit.pt = p;
    hit.ti.cbSize = sizeof(TOOLINFOW);
    BOOL found = (BOOL)SendMessage(TTM_HITTESTW, 0, (LPARAM)&hit);
    if (found && info)
        *info = hit.ti;
    return found;
}
