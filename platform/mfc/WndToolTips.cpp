// Tool tips of EnableToolTips: the thread's one tool-tip control shows the tool that the
// window under the mouse reports through OnToolHitTest.
#include "platform/mfc/Wnd.h"

#include "platform/mfc/ThreadState.h"
#include "platform/mfc/ToolTipCtrl.h"

BOOL CWnd::EnableToolTips(BOOL enable)
{
    BOOL previous = (m_nFlags & WF_TOOLTIPS) != 0;
    if (!enable)
    {
        if (previous)
            CancelToolTips();
        m_nFlags &= ~WF_TOOLTIPS;
        return previous;
    }
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    if (!state->m_pToolTip)
    {
        CToolTipCtrl* tip = new CToolTipCtrl;
        if (!tip->Create(this, TTS_ALWAYSTIP))
        {
            delete tip;
            return FALSE;
        }
        tip->SendMessage(TTM_ACTIVATE, FALSE);
        state->m_pToolTip = tip;
    }
    m_nFlags |= WF_TOOLTIPS;
    return previous;
}

BOOL CWnd::EnableTrackingToolTips(BOOL enable)
{
    if (enable)
        m_nFlags |= WF_TRACKINGTOOLTIPS;
    else
        m_nFlags &= ~WF_TRACKINGTOOLTIPS;
    return EnableToolTips(enable);
}

INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFOW* info) const
{
    // The child control under the point is the tool; its text comes through TTN_NEEDTEXT.
    HWND child = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!child || child == m_hWnd)
        return -1;
    int id = ::GetDlgCtrlID(child);
    if (id == 0 || id == -1)
        return -1;
    if (info)
    {
        info->hwnd = m_hWnd;
        info->uId = (UINT_PTR)child;
        info->uFlags |= TTF_IDISHWND | TTF_CENTERTIP;
        info->lpszText = LPSTR_TEXTCALLBACKW;
    }
    return id;
}

void PASCAL CWnd::CancelToolTips(BOOL)
{
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    if (state->m_pToolTip && state->m_pToolTip->m_hWnd)
    {
        state->m_pToolTip->SendMessage(TTM_ACTIVATE, FALSE);
        if (state->m_nLastHit != -1)
            state->m_pToolTip->SendMessage(TTM_DELTOOLW, 0, (LPARAM)&state->m_lastInfo);
    }
    state->m_nLastHit = -1;
    state->m_pLastHit = nullptr;
}

void CWnd::FilterToolTipMessage(MSG* msg)
{
    UINT message = msg->message;
    if (message != WM_MOUSEMOVE && message != WM_NCMOUSEMOVE && message != WM_LBUTTONUP && message != WM_RBUTTONUP &&
        message != WM_MBUTTONUP && message != WM_LBUTTONDOWN && message != WM_RBUTTONDOWN && message != WM_MBUTTONDOWN)
        return;
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    CToolTipCtrl* tip = state->m_pToolTip;
    if (!tip || !tip->m_hWnd || !m_hWnd)
        return;
    // The tool tip belongs to the top-level window that shows it.
    HWND owner = GetParentOwner()->GetSafeHwnd();
    if (::GetWindow(tip->m_hWnd, GW_OWNER) != owner)
        ::SetWindowLongPtrW(tip->m_hWnd, GWLP_HWNDPARENT, (LONG_PTR)owner);

    POINT point = msg->pt;
    ::ScreenToClient(m_hWnd, &point);
    TOOLINFOW info = {};
    info.cbSize = sizeof(info);
    INT_PTR hit = OnToolHitTest(point, &info);
    if (hit != state->m_nLastHit || state->m_pLastHit != this)
    {
        if (state->m_nLastHit != -1)
            tip->SendMessage(TTM_DELTOOLW, 0, (LPARAM)&state->m_lastInfo);
        tip->SendMessage(TTM_ACTIVATE, FALSE);
        if (hit != -1)
        {
            LPWSTR text = info.lpszText;
            tip->SendMessage(TTM_ADDTOOLW, 0, (LPARAM)&info);
            tip->SendMessage(TTM_ACTIVATE, TRUE);
            // Texts that OnToolHitTest allocated belong to us once added.
            if (text && text != LPSTR_TEXTCALLBACKW && !IS_INTRESOURCE(text))
                free(text);
            info.lpszText = LPSTR_TEXTCALLBACKW;
        }
        state->m_lastInfo = info;
        state->m_nLastHit = hit;
        state->m_pLastHit = this;
    }
    if (hit != -1)
    {
        MSG relay = *msg;
        relay.hwnd = m_hWnd;
        relay.lParam = MAKELPARAM(point.x, point.y);
        tip->SendMessage(TTM_RELAYEVENT, 0, (LPARAM)&relay);
    }
}
