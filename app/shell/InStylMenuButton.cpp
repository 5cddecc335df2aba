#include "app/shell/InStylMenuButton.h"

BEGIN_MESSAGE_MAP(CInStylMenuButton, CButton)
ON_WM_MOUSEMOVE()
ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeaveMessage)
ON_WM_LBUTTONDOWN()
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

LRESULT CInStylMenuButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The zone is a plain window: the button class's own handling would press and paint it.
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

void CInStylMenuButton::OnMouseMove(UINT, CPoint point)
{
    Default();
    CRect client;
    GetClientRect(&client);
    const BOOL inside = client.PtInRect(point);
    if (inside == m_bMouseInside)
        return;
    m_bMouseInside = inside;
    Invalidate();
    if (!inside)
        return;
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = m_hWnd;
    ::TrackMouseEvent(&track);
    if (CWnd* list = GetParent())
        list->SendMessage(WM_STYLEMENU_SCROLLSTART, (WPARAM)GetDlgCtrlID());
}

LRESULT CInStylMenuButton::OnMouseLeaveMessage(WPARAM, LPARAM)
{
    m_bMouseInside = FALSE;
    Invalidate();
    if (CWnd* list = GetParent())
        list->SendMessage(WM_STYLEMENU_SCROLLSTOP, (WPARAM)GetDlgCtrlID());
    return 0;
}

void CInStylMenuButton::OnLButtonDown(UINT, CPoint)
{
}

BOOL CInStylMenuButton::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CInStylMenuButton::OnPaint()
{
    // The list draws the zone over its own picture.
    ::ValidateRect(m_hWnd, nullptr);
}
