// Message routing: the message map of windows, commands and notifications, reflection back to
// the controls that sent them, and pre-translation up the window tree.
#include "platform/mfc/Wnd.h"

#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/ScrollBar.h"
#include "platform/mfc/ThreadState.h"
#include "platform/mfc/WndInternal.h"

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
ON_WM_NCDESTROY()
ON_WM_CTLCOLOR()
ON_WM_DRAWITEM()
ON_WM_MEASUREITEM()
ON_WM_COMPAREITEM()
ON_WM_DELETEITEM()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_PARENTNOTIFY()
ON_WM_SYSCOLORCHANGE()
ON_WM_SETTINGCHANGE()
ON_WM_DISPLAYCHANGE()
END_MESSAGE_MAP()

const MSG* PASCAL CWnd::GetCurrentMessage()
{
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    state->m_lastSentMsg.time = ::GetMessageTime();
    DWORD pos = ::GetMessagePos();
    state->m_lastSentMsg.pt.x = (short)LOWORD(pos);
    state->m_lastSentMsg.pt.y = (short)HIWORD(pos);
    return &state->m_lastSentMsg;
}

LRESULT CWnd::Default()
{
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC super = *GetSuperWndProcAddr();
    if (super)
        return ::CallWindowProcW(super, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT result = 0;
    if (message == WM_COMMAND)
    {
        if (OnCommand(wParam, lParam))
        {
            if (pResult)
                *pResult = 1;
            return TRUE;
        }
        return FALSE;
    }
    if (message == WM_NOTIFY)
    {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        if (header && header->hwndFrom && OnNotify(wParam, lParam, &result))
        {
            if (pResult)
                *pResult = result;
            return TRUE;
        }
        return FALSE;
    }

    // Only top-level windows hear of system changes: the framework passes them on to the
    // children first, whatever the window's own handler does.
    // Colour changes reach every child (common controls refresh their colours); the other
    // changes reach the framework's own windows.
    if ((message == WM_SYSCOLORCHANGE || message == WM_SETTINGCHANGE || message == WM_DISPLAYCHANGE) && m_hWnd &&
        !(::GetWindowLongW(m_hWnd, GWL_STYLE) & WS_CHILD))
        SendMessageToDescendants(message, wParam, lParam, TRUE, message != WM_SYSCOLORCHANGE);

    // The colour messages all reach the one WM_CTLCOLOR handler through a shared record.
    AFX_CTLCOLOR ctlColor;
    UINT lookup = message;
    LPARAM lookupParam = lParam;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
    {
        ctlColor.hDC = (HDC)wParam;
        ctlColor.hWnd = (HWND)lParam;
        ctlColor.nCtlType = message - WM_CTLCOLORMSGBOX;
        lookup = WM_CTLCOLOR;
        lookupParam = (LPARAM)&ctlColor;
    }

    const AFX_MSGMAP_ENTRY* entry =
        AfxWalkMessageMap(GetMessageMap(), lookup, 0, 0, [](const AFX_MSGMAP_ENTRY&) { return true; });
    if (!entry)
        return FALSE;
    AFX_MSGCALL call = {};
    call.message = message;
    call.wParam = wParam;
    call.lParam = lookupParam;
    call.bHandled = TRUE;
    entry->pfn(this, call);
    if (pResult)
        *pResult = call.result;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    HWND control = (HWND)lParam;
    int code = HIWORD(wParam);

    if (!control)
    {
        // Menus and accelerators: a command whose update handler disables it does not run.
        if (code == 0 || code == 1)
            code = CN_COMMAND;
        CCmdUI state;
        state.m_nID = id;
        state.m_bEnableChanged = FALSE;
        BOOL enabled = TRUE;
        struct EnableProbe : CCmdUI
        {
            BOOL* enabled;
            void Enable(BOOL on) override
            {
                *enabled = on;
                m_bEnableChanged = TRUE;
            }
            void SetCheck(int) override
            {
            }
            void SetRadio(BOOL) override
            {
            }
            void SetText(LPCWSTR) override
            {
            }
        } probe;
        probe.m_nID = id;
        probe.enabled = &enabled;
        OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &probe, nullptr);
        if (!enabled)
            return TRUE;
    }
    else
    {
        // A control's notification goes back to the control first (reflection).
        if (::GetCurrentThreadId() == ::GetWindowThreadProcessId(control, nullptr) && ReflectLastMsg(control))
            return TRUE;
    }
    return OnCmdMsg(id, code, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    HWND control = header->hwndFrom;
    UINT id = (UINT)header->idFrom;
    int code = (int)header->code;

    if (ReflectLastMsg(control, pResult))
        return TRUE;

    AFX_NOTIFY notify;
    notify.pResult = pResult;
    notify.pNMHDR = header;
    return OnCmdMsg(id, (int)MAKELONG((WORD)code, WM_NOTIFY), &notify, nullptr);
}

BOOL PASCAL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* child = FromHandlePermanent(hWndChild);
    if (!child)
        return FALSE;
    return child->SendChildNotifyLastMsg(pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult)
{
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message)
    {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
        return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);

    case WM_COMMAND: {
        int code = HIWORD(wParam);
        if (OnCmdMsg(0, (int)MAKELONG((WORD)code, WM_REFLECT_BASE + WM_COMMAND), nullptr, nullptr))
        {
            if (pResult)
                *pResult = 1;
            return TRUE;
        }
        return FALSE;
    }

    case WM_NOTIFY: {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        AFX_NOTIFY notify;
        LRESULT local = 0;
        notify.pResult = pResult ? pResult : &local;
        notify.pNMHDR = header;
        return OnCmdMsg(0, (int)MAKELONG((WORD)header->code, WM_REFLECT_BASE + WM_NOTIFY), &notify, nullptr);
    }

    default:
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        {
            AFX_CTLCOLOR ctlColor;
            ctlColor.hDC = (HDC)wParam;
            ctlColor.hWnd = (HWND)lParam;
            ctlColor.nCtlType = message - WM_CTLCOLORMSGBOX;
            LRESULT brush = 0;
            BOOL handled = OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, (LPARAM)&ctlColor, &brush);
            // A reflected colour handler answering no brush leaves the parent's handling in place.
            if (handled && brush)
            {
                if (pResult)
                    *pResult = brush;
                return TRUE;
            }
            return FALSE;
        }
        return FALSE;
    }
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* wnd, UINT)
{
    LRESULT result = 0;
    if (wnd && wnd->m_hWnd && ReflectLastMsg(wnd->m_hWnd, &result))
        return (HBRUSH)result;
    return (HBRUSH)Default();
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT item)
{
    if (item->CtlType == ODT_MENU)
    {
        if (CMenu* menu = CMenu::FromHandlePermanent((HMENU)item->hwndItem))
        {
            menu->DrawItem(item);
            return;
        }
    }
    else if (ReflectLastMsg(item->hwndItem))
    {
        return;
    }
    Default();
}

void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT item)
{
    if (item->CtlType != ODT_MENU && m_hWnd)
    {
        HWND control = ::GetDlgItem(m_hWnd, (int)item->CtlID);
        if (control && ReflectLastMsg(control))
            return;
    }
    Default();
}

int CWnd::OnCompareItem(int, LPCOMPAREITEMSTRUCT item)
{
    LRESULT result = 0;
    if (ReflectLastMsg(item->hwndItem, &result))
        return (int)result;
    return (int)Default();
}

void CWnd::OnDeleteItem(int, LPDELETEITEMSTRUCT item)
{
    if (ReflectLastMsg(item->hwndItem))
        return;
    Default();
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* bar)
{
    if (bar && bar->m_hWnd && ReflectLastMsg(bar->m_hWnd))
        return;
    Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* bar)
{
    if (bar && bar->m_hWnd && ReflectLastMsg(bar->m_hWnd))
        return;
    Default();
}

void CWnd::OnParentNotify(UINT message, LPARAM lParam)
{
    if ((message == WM_CREATE || message == WM_DESTROY) && ReflectLastMsg((HWND)lParam))
        return;
    Default();
}

void CWnd::OnSysColorChange()
{
    Default();
}

void CWnd::OnSettingChange(UINT, LPCWSTR)
{
    Default();
}

LRESULT CWnd::OnDisplayChange(WPARAM, LPARAM)
{
    return Default();
}

BOOL CWnd::PreTranslateMessage(MSG* pMsg)
{
    if ((m_nFlags & WF_TOOLTIPS) && pMsg)
        FilterToolTipMessage(pMsg);
    return FALSE;
}

BOOL PASCAL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd))
    {
        CWnd* wnd = FromHandlePermanent(hWnd);
        if (wnd && wnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}
