// The frame object's hover tracking and timers: hot caption buttons and scroll-bar parts, the
// timer that clears them once the pointer leaves, and the repair of the non-client size.
#include "uilib/skin/SkinObjectFrame.h"

#include "uilib/skin/SkinManager.h"

namespace
{

const UINT_PTR kHoverTimerId = 2763;
const UINT kHoverTimerDelay = 50;

bool IsClearPoint(POINT pt)
{
    return pt.x == -1 && pt.y == -1;
}

} // namespace

BOOL CWVPSkinObjectFrame::UpdateHotState(POINT ptScreen)
{
    bool clear = IsClearPoint(ptScreen);
    POINT pt = clear ? ptScreen : ToWindowPoint(ptScreen);
    CCaptionButton* hot = clear ? nullptr : HitTestButton(pt);
    if (hot != m_pButtonHot)
    {
        if (!hot)
            ::KillTimer(m_hWnd, kHoverTimerId);
        m_pButtonHot = hot;
        RedrawFrame();
        if (hot)
        {
            ::SetTimer(m_hWnd, kHoverTimerId, kHoverTimerDelay, nullptr);
            return TRUE;
        }
    }
    if (m_pSBTrack)
        return TRUE;
    BOOL anyHot = m_pButtonHot != nullptr;
    for (SCROLLBARPOSINFO& sb : m_spi)
    {
        int part = clear ? kScrollNone : HitTestScrollBar(&sb, pt);
        if (part != sb.ht && sb.fVisible)
        {
            int old = sb.ht;
            sb.ht = part;
            RedrawScrollBar(&sb);
            if (old && !part && !anyHot)
                ::KillTimer(m_hWnd, kHoverTimerId);
        }
        if (sb.ht)
        {
            ::SetTimer(m_hWnd, kHoverTimerId, kHoverTimerDelay, nullptr);
            anyHot = TRUE;
        }
    }
    return anyHot;
}

LRESULT CWVPSkinObjectFrame::OnTimerMessage(WPARAM wParam, LPARAM)
{
    if (wParam == kHoverTimerId)
    {
        if (::GetCapture())
            return 0;
        POINT pt;
        ::GetCursorPos(&pt);
        pt = POINT{short(pt.x), short(pt.y)};
        RECT rc;
        ::GetWindowRect(m_hWnd, &rc);
        UINT hit = HitTest(pt);
        if (!::PtInRect(&rc, pt) || !hit || hit == HTCLIENT || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT)
        {
            UpdateHotState(POINT{-1, -1});
            ::KillTimer(m_hWnd, kHoverTimerId);
        }
        return 0;
    }
    if (wParam == kRepairTimerId)
    {
        RecalcNonClient();
        ::KillTimer(m_hWnd, kRepairTimerId);
        return 0;
    }
    return Default();
}

LRESULT CWVPSkinObjectFrame::OnNcMouseMoveMessage(WPARAM, LPARAM lParam)
{
    POINT pt = {short(LOWORD(lParam)), short(HIWORD(lParam))};
    return UpdateHotState(pt) ? 0 : Default();
}

LRESULT CWVPSkinObjectFrame::OnNcMouseLeaveMessage(WPARAM, LPARAM)
{
    // A leave while a scroll bar is dragged is swallowed.
    return UpdateHotState(POINT{-1, -1}) ? 0 : Default();
}
