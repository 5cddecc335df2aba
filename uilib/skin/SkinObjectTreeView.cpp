#include "uilib/skin/SkinObjectTreeView.h"

#include "uilib/skin/SkinManager.h"

#include <commctrl.h>

IMPLEMENT_DYNCREATE(CWVPSkinObjectTreeView, CWVPSkinObjectComCtl32Control)

BEGIN_MESSAGE_MAP(CWVPSkinObjectTreeView, CWVPSkinObjectComCtl32Control)
ON_MESSAGE(WM_CREATE, OnCreate)
END_MESSAGE_MAP()

CWVPSkinObjectTreeView::CWVPSkinObjectTreeView()
{
    m_strClassName = L"TREEVIEW";
    m_nCtlColorMessage = WM_CTLCOLORLISTBOX;
}

void CWVPSkinObjectTreeView::ApplyColors(bool bSkinned)
{
    ::SendMessageW(m_hWnd, TVM_SETBKCOLOR, 0, bSkinned ? LPARAM(GetColor(COLOR_WINDOW)) : LPARAM(-1));
    ::SendMessageW(m_hWnd, TVM_SETTEXTCOLOR, 0, bSkinned ? LPARAM(GetColor(COLOR_WINDOWTEXT)) : LPARAM(-1));
    ::SendMessageW(m_hWnd, TVM_SETLINECOLOR, 0, bSkinned ? LPARAM(GetColor(COLOR_GRAYTEXT)) : LPARAM(CLR_DEFAULT));
}

void CWVPSkinObjectTreeView::OnSkinChanged(BOOL bPrevState, BOOL bNewState)
{
    ApplyColors(m_pManager && m_pManager->IsSkinLoaded());
    CWVPSkinObjectComCtl32Control::OnSkinChanged(bPrevState, bNewState);
}

LRESULT CWVPSkinObjectTreeView::OnCreate(WPARAM wParam, LPARAM lParam)
{
    if (OnCreateMessage(wParam, lParam) == -1)
        return -1;
    // The lines too, so that a tree made while a skin is loaded looks like one the skin reached.
    if (m_pManager && m_pManager->IsSkinLoaded())
        ApplyColors(true);
    return 0;
}
