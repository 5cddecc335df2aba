// The frame object's MDI handling: a maximised skinned child keeps the skin's borders beyond the
// MDI client's edges, and an MDI frame passes its activation on to its active child.
#include "uilib/skin/SkinObjectFrame.h"

#include "uilib/skin/SkinManager.h"

BOOL CWVPSkinObjectFrame::IsSkinnedMdiChild() const
{
    return m_pManager && (m_pManager->GetApplyOptions() & CWVPSkinManager::kApplyMetrics) && m_pManager->GetSchema() &&
           (::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_MDICHILD);
}

void CWVPSkinObjectFrame::ExtendMdiChildMaxInfo(MINMAXINFO* pInfo)
{
    // Maximised, the skin's caption lies above the MDI client's top edge.
    LONG oldY = pInfo->ptMaxPosition.y;
    pInfo->ptMaxPosition.y = -m_rcBorders.top;
    pInfo->ptMaxSize.y += oldY + m_rcBorders.top;
}

void CWVPSkinObjectFrame::PlaceMaximizedMdiChild()
{
    // The skin's borders, not the system's, go past the MDI client's edges.
    RECT client = {};
    ::GetClientRect(::GetParent(m_hWnd), &client);
    RECT borders = m_pManager->GetSchema()->CalcFrameBorders(m_hWnd);
    ::MoveWindow(m_hWnd, -borders.left, -borders.top, client.right + borders.left + borders.right,
                 client.bottom + borders.top + borders.bottom, TRUE);
}

void CWVPSkinObjectFrame::ActivateMdiChild(WPARAM wParam, LPARAM lParam)
{
    HWND mdiClient =
        m_pMDIClient ? m_pMDIClient->GetSkinnedWindow() : ::FindWindowExW(m_hWnd, nullptr, L"MDIClient", nullptr);
    if (!mdiClient)
        return;
    HWND child = reinterpret_cast<HWND>(::SendMessageW(mdiClient, WM_MDIGETACTIVE, 0, 0));
    if (child && child != m_hWnd)
    {
        ::SendMessageW(child, WM_NCACTIVATE, wParam, lParam);
        ::SendMessageW(child, WM_NCPAINT, 1, 0);
    }
}
