#include "uilib/skin/SkinObjectStatusBar.h"

IMPLEMENT_DYNCREATE(CWVPSkinObjectStatusBar, CWVPSkinObjectFrame)

BEGIN_MESSAGE_MAP(CWVPSkinObjectStatusBar, CWVPSkinObjectFrame)
ON_MESSAGE(WM_CREATE, OnCreate)
END_MESSAGE_MAP()

CWVPSkinObjectStatusBar::CWVPSkinObjectStatusBar()
{
    // The schema's status-bar class, which the frame's client edge reads.
    m_strClassName = L"STATUS";
}

void CWVPSkinObjectStatusBar::RefreshMetrics()
{
    CWVPSkinObjectFrame::RefreshMetrics();
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::PostMessageW(m_hWnd, WM_WININICHANGE, 0, 0);
}

LRESULT CWVPSkinObjectStatusBar::OnCreate(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefWindowProc(WM_CREATE, wParam, lParam);
    ::SendMessageW(m_hWnd, WM_WININICHANGE, 0, 0);
    return result;
}
