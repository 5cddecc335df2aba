#include "uilib/skin/SkinObjectListView.h"

#include "uilib/foundation/OSVersionInfo.h"
#include "uilib/skin/SkinManager.h"

#include <commctrl.h>

IMPLEMENT_DYNCREATE(CWVPSkinObjectListView, CWVPSkinObjectComCtl32Control)

BEGIN_MESSAGE_MAP(CWVPSkinObjectListView, CWVPSkinObjectComCtl32Control)
ON_MESSAGE(WM_CREATE, OnCreate)
ON_MESSAGE(WM_HSCROLL, OnListHScroll)
ON_MESSAGE(WM_VSCROLL, OnListVScroll)
END_MESSAGE_MAP()

CWVPSkinObjectListView::CWVPSkinObjectListView()
{
    m_strClassName = L"LISTVIEW";
    m_nCtlColorMessage = WM_CTLCOLORLISTBOX;
}

void CWVPSkinObjectListView::ApplyColors(bool bSkinned)
{
    COLORREF window = bSkinned ? GetColor(COLOR_WINDOW) : ::GetSysColor(COLOR_WINDOW);
    COLORREF text = bSkinned ? GetColor(COLOR_WINDOWTEXT) : ::GetSysColor(COLOR_WINDOWTEXT);
    ::SendMessageW(m_hWnd, LVM_SETBKCOLOR, 0, LPARAM(window));
    ::SendMessageW(m_hWnd, LVM_SETTEXTBKCOLOR, 0, LPARAM(window));
    ::SendMessageW(m_hWnd, LVM_SETTEXTCOLOR, 0, LPARAM(text));
}

void CWVPSkinObjectListView::OnSkinChanged(BOOL bPrevState, BOOL bNewState)
{
    ApplyColors(m_pManager && m_pManager->IsSkinLoaded());
    CWVPSkinObjectComCtl32Control::OnSkinChanged(bPrevState, bNewState);
}

LRESULT CWVPSkinObjectListView::OnCreate(WPARAM wParam, LPARAM lParam)
{
    if (OnCreateMessage(wParam, lParam) == -1)
        return -1;
    if (m_pManager && m_pManager->IsSkinLoaded())
        ApplyColors(true);
    return 0;
}

LRESULT CWVPSkinObjectListView::OnScroll(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    int code = LOWORD(wParam);
    if (lParam == 0 && (code == SB_THUMBPOSITION || code == SB_THUMBTRACK) && WVPOSVersionInfo().IsWin9x())
    {
        bool horizontal = nMessage == WM_HSCROLL;
        int delta = int(HIWORD(wParam)) - ::GetScrollPos(m_hWnd, horizontal ? SB_HORZ : SB_VERT);
        if (horizontal)
        {
            ::SendMessageW(m_hWnd, LVM_SCROLL, WPARAM(delta), 0);
        }
        else
        {
            DWORD spacing = DWORD(::SendMessageW(m_hWnd, LVM_GETITEMSPACING, TRUE, 0));
            ::SendMessageW(m_hWnd, LVM_SCROLL, 0, LPARAM(delta * int(HIWORD(spacing))));
        }
        return 0;
    }
    return nMessage == WM_HSCROLL ? OnHScroll(wParam, lParam) : OnVScroll(wParam, lParam);
}

LRESULT CWVPSkinObjectListView::OnListHScroll(WPARAM wParam, LPARAM lParam)
{
    return OnScroll(WM_HSCROLL, wParam, lParam);
}

LRESULT CWVPSkinObjectListView::OnListVScroll(WPARAM wParam, LPARAM lParam)
{
    return OnScroll(WM_VSCROLL, wParam, lParam);
}
