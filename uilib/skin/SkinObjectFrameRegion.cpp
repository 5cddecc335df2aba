// The shape of captioned frames: the skin's region with its rounded corners for each size, the
// caption height a top-level frame is given once, and the smallest tracking size.
#include "uilib/skin/SkinObjectFrame.h"

#include "uilib/skin/SkinManager.h"

#include <algorithm>

void CWVPSkinObjectFrame::UpdateRegion(int nWidth, int nHeight)
{
    if (m_bInRegionUpdate)
        return;
    m_bInRegionUpdate = TRUE;
    if (m_bRegionSet && !HasCaption())
    {
        m_bRegionSet = FALSE;
        ::SetWindowRgn(m_hWnd, nullptr, TRUE);
    }
    if (HasCaption() && (nWidth != m_szRegion.cx || nHeight != m_szRegion.cy))
    {
        CWVPSkinManagerSchema* schema = m_pManager ? m_pManager->GetSchema() : nullptr;
        if (schema && m_pManager->IsSkinLoaded() && IsFrameOption())
        {
            m_rcBorders = schema->CalcFrameBorders(m_hWnd);
            HRGN region = schema->CalcFrameRegion(this, nWidth, nHeight);
            m_bRegionSet = region != nullptr;
            ::SetWindowRgn(m_hWnd, region, TRUE); // the window owns the region now
        }
        else if (m_bRegionSet)
        {
            m_bRegionSet = FALSE;
            ::SetWindowRgn(m_hWnd, nullptr, TRUE);
        }
        m_szRegion = SIZE{nWidth, nHeight};
    }
    m_bInRegionUpdate = FALSE;
}

LRESULT CWVPSkinObjectFrame::OnWindowPosChangedMessage(WPARAM, LPARAM lParam)
{
    LRESULT result = Default();
    const WINDOWPOS* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
    // A window whose own procedure took WM_CREATE without the default procedure gets its frame
    // at its first show or size.
    if (pos && !m_bFrameAdjusted && ((pos->flags & SWP_SHOWWINDOW) || !(pos->flags & SWP_NOSIZE)))
    {
        AdjustFrame();
        if (m_bFrameAdjusted)
            return result;
    }
    if (pos && !(pos->flags & SWP_NOSIZE) && (pos->cx != m_szRegion.cx || pos->cy != m_szRegion.cy))
        UpdateRegion(pos->cx, pos->cy);
    return result;
}

void CWVPSkinObjectFrame::AdjustFrame()
{
    if (!m_pManager || !m_pManager->IsSkinLoaded() || !(m_pManager->GetApplyOptions() & CWVPSkinManager::kApplyMetrics))
        return;
    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    if ((style & WS_CAPTION) != WS_CAPTION || IsFrameLeftToSystem())
        return;
    m_bFrameAdjusted = TRUE;
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    if (!(style & WS_CHILD))
    {
        // A top-level window keeps the client height it asked for under the skin's taller caption;
        // a child's size belongs to its parent's layout.
        const CWVPSkinManagerMetrics* m = GetMetrics();
        bool tool = (::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
        int grow = tool ? m->m_cySmallCaption - m->m_cyOsSmallCaption : m->m_cyCaption - m->m_cyOsCaption;
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top + grow,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        ::GetWindowRect(m_hWnd, &rc);
    }
    UpdateRegion(rc.right - rc.left, rc.bottom - rc.top);
}

LRESULT CWVPSkinObjectFrame::OnStyleChangedMessage(WPARAM, LPARAM)
{
    LRESULT result = Default();
    if (m_pManager->GetSchema())
        m_rcBorders = m_pManager->GetSchema()->CalcFrameBorders(m_hWnd);
    m_szRegion = SIZE{};
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    UpdateRegion(rc.right - rc.left, rc.bottom - rc.top);
    UpdateButtons();
    return result;
}

LRESULT CWVPSkinObjectFrame::OnCreateMessage(WPARAM, LPARAM)
{
    if (Default() == -1)
        return -1;
    AdjustFrame();
    return 0;
}

LRESULT CWVPSkinObjectFrame::OnGetMinMaxInfoMessage(WPARAM, LPARAM lParam)
{
    LRESULT result = Default();
    MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
    CWVPSkinManagerSchema* schema = m_pManager->GetSchema();
    if (!info || !schema)
        return result;
    m_rcBorders = schema->CalcFrameBorders(m_hWnd);
    if (IsFrameOption() && HasCaption())
    {
        // Room for the caption buttons and the borders.
        UpdateButtons();
        LONG minWidth = LONG(m_arrButtons.size()) * m_rcBorders.top + 2 * ::GetSystemMetrics(SM_CXEDGE) +
                        ::GetSystemMetrics(SM_CYSIZE);
        info->ptMinTrackSize.x = std::max(info->ptMinTrackSize.x, minWidth);
        info->ptMinTrackSize.y = std::max(info->ptMinTrackSize.y, m_rcBorders.top + m_rcBorders.bottom);
    }
    if (IsSkinnedMdiChild())
        ExtendMdiChildMaxInfo(info);
    return result;
}
