// Scrolling of a popup bar taller than the work area: the items that fit between the two arrow
// areas are shown, and resting the pointer over an area shows one more item on its side per tick.
#include "uilib/commandbars/PopupBar.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/MouseManager.h"
#include "uilib/commandbars/PaintManager.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace
{
const int kArea = WVP_SCROLL_AREA_HEIGHT;
const UINT_PTR kAreaTimers[2] = {WVP_TIMER_SCROLLDOWN, WVP_TIMER_SCROLLUP};
// The arrow in an area: 6 pixels at its base, 3 high.
const int kArrowHalfWidth = 3;
const int kArrowHeight = 3;
} // namespace

void CWVPPopupBar::StopScrolling()
{
    for (int k = 0; k < 2; ++k)
    {
        if (m_scrollTimers[k] && ::IsWindow(m_hWnd))
            ::KillTimer(m_hWnd, kAreaTimers[k]);
        m_scrollTimers[k] = FALSE;
        m_scrollAreas[k].SetRectEmpty();
    }
}

void CWVPPopupBar::LayoutScrolling(int height, BOOL upward, BOOL redraw)
{
    m_scrollAreas[0].SetRectEmpty();
    m_scrollAreas[1].SetRectEmpty();
    CWVPPaintManager* paintManager = GetPaintManager();
    const CRect borders = paintManager->GetCommandBarBorders(this);
    int separator = 0;
    {
        CClientDC dc(::IsWindow(m_hWnd) ? this : nullptr);
        separator = paintManager->DrawCommandBarSeparator(&dc, this, nullptr, FALSE).cy;
    }

    // The controls that would show without scrolling, in order.
    std::vector<CWVPControl*> shown;
    int left = INT_MAX, right = INT_MIN;
    for (int i = 0; i < m_pControls->GetCount(); ++i)
    {
        CWVPControl* pControl = m_pControls->GetAt(i);
        if (pControl->GetParent() != this || !pControl->IsVisible(WVP_HIDE_SCROLL))
            continue;
        pControl->SetHideFlags(pControl->GetHideFlags() | WVP_HIDE_SCROLL);
        shown.push_back(pControl);
        left = std::min(left, int(pControl->GetRect().left));
        right = std::max(right, int(pControl->GetRect().right));
    }
    const int count = m_pControls->GetCount();
    auto place = [&](CWVPControl* pControl, int top, int cy) {
        const CRect rc = pControl->GetRect();
        pControl->SetRect(CRect(rc.left, top, rc.right, top + cy));
        pControl->SetHideFlags(pControl->GetHideFlags() & ~WVP_HIDE_SCROLL);
    };
    auto anyBefore = [&](int index) { return !shown.empty() && shown.front()->GetIndex() < index; };
    auto anyFrom = [&](int index) { return !shown.empty() && shown.back()->GetIndex() >= index; };

    if (upward)
    {
        int end = m_nEndIndex == count - 1 ? count : m_nEndIndex;
        end = std::max(1, std::min(end, count));
        const BOOL below = anyFrom(end);
        int y = height - borders.bottom - (below ? kArea : 0);
        int first = end;
        for (auto it = shown.rbegin(); it != shown.rend(); ++it)
        {
            CWVPControl* pControl = *it;
            if (pControl->GetIndex() >= end)
                continue;
            const int cy = pControl->GetRect().Height();
            const BOOL last = it + 1 == shown.rend();
            if (first != end && y - cy < borders.top + (last ? 0 : kArea))
                break;
            place(pControl, y - cy, cy);
            first = pControl->GetIndex();
            y -= cy + (pControl->GetBeginGroup() ? separator : 0);
        }
        m_nFirstVisible = first;
        m_nEndIndex = end;
    }
    else
    {
        int first = m_nFirstVisible == 1 ? 0 : m_nFirstVisible;
        first = std::max(0, std::min(first, count - 1));
        if (!anyBefore(first))
            first = 0;
        int y = borders.top + (first > 0 ? kArea : 0);
        int end = count;
        BOOL placed = FALSE;
        for (CWVPControl* pControl : shown)
        {
            if (pControl->GetIndex() < first)
                continue;
            const int gap = placed && pControl->GetBeginGroup() ? separator : 0;
            int cy = pControl->GetRect().Height();
            if (placed && y + gap + cy + kArea + borders.bottom > height)
            {
                end = pControl->GetIndex();
                break;
            }
            if (!placed)
                cy = std::min(cy, height - borders.top - borders.bottom);
            place(pControl, y + gap, cy);
            y += gap + cy;
            placed = TRUE;
        }
        m_nFirstVisible = first;
        m_nEndIndex = end;
    }
    if (anyBefore(m_nFirstVisible))
        m_scrollAreas[1] = CRect(left, borders.top, right, borders.top + kArea);
    if (anyFrom(m_nEndIndex))
        m_scrollAreas[0] = CRect(left, height - borders.bottom - kArea, right, height - borders.bottom);
    if (redraw && ::IsWindow(m_hWnd))
        Redraw();
}

void CWVPPopupBar::TrackScrollAreas(CPoint pt)
{
    for (int k = 0; k < 2; ++k)
    {
        const BOOL inside = !m_scrollAreas[k].IsRectEmpty() && m_scrollAreas[k].PtInRect(pt);
        if (inside && !m_scrollTimers[k])
        {
            m_scrollTimers[k] = ::SetTimer(m_hWnd, kAreaTimers[k], WVP_SCROLL_INTERVAL, nullptr) != 0;
            SetPopuped(-1);
            WVPMouseManager()->WatchMouseLeave(m_hWnd);
        }
        else if (!inside && m_scrollTimers[k])
        {
            ::KillTimer(m_hWnd, kAreaTimers[k]);
            m_scrollTimers[k] = FALSE;
        }
    }
}

void CWVPPopupBar::OnScrollTimer(UINT_PTR id)
{
    const int k = id == WVP_TIMER_SCROLLUP ? 1 : 0;
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    if (!m_bScrolling || m_scrollAreas[k].IsRectEmpty())
    {
        ::KillTimer(m_hWnd, id);
        m_scrollTimers[k] = FALSE;
        return;
    }
    if (k == 0)
    {
        ++m_nEndIndex;
        LayoutScrolling(client.Height(), TRUE, TRUE);
    }
    else
    {
        --m_nFirstVisible;
        LayoutScrolling(client.Height(), FALSE, TRUE);
    }
    // The area that has nothing more to show stops at once.
    if (m_scrollAreas[k].IsRectEmpty())
    {
        ::KillTimer(m_hWnd, id);
        m_scrollTimers[k] = FALSE;
    }
}

BOOL CWVPPopupBar::SetSelected(int index, BOOL keyboard)
{
    CWVPControl* pControl = m_bScrolling && ::IsWindow(m_hWnd) ? GetControl(index) : nullptr;
    if (pControl && (pControl->GetHideFlags() & WVP_HIDE_SCROLL))
    {
        CRect client;
        ::GetClientRect(m_hWnd, &client);
        const BOOL upward = index >= m_nEndIndex;
        if (upward)
            m_nEndIndex = index + 1;
        else
            m_nFirstVisible = index;
        LayoutScrolling(client.Height(), upward, TRUE);
    }
    return CWVPCommandBar::SetSelected(index, keyboard);
}

void CWVPPopupBar::OnMouseMove(UINT flags, CPoint pt)
{
    if (m_bScrolling && !IsMouseLockedFor())
        TrackScrollAreas(pt);
    CWVPCommandBar::OnMouseMove(flags, pt);
}

void CWVPPopupBar::OnMouseLeave()
{
    TrackScrollAreas(CPoint(-1, -1));
    CWVPCommandBar::OnMouseLeave();
}

void CWVPPopupBar::OnTimer(UINT_PTR id)
{
    if (id == WVP_TIMER_SCROLLDOWN || id == WVP_TIMER_SCROLLUP)
        OnScrollTimer(id);
    // The bar's own timer handling follows every tick as well.
    CWVPCommandBar::OnTimer(id);
}

void CWVPPopupBar::DrawCommandBar(CDC* pDC, CRect rcClip)
{
    CWVPCommandBar::DrawCommandBar(pDC, rcClip);
    const COLORREF arrow = GetPaintManager()->GetColor(COLOR_BTNTEXT);
    for (int k = 0; k < 2; ++k)
    {
        const CRect& rc = m_scrollAreas[k];
        if (rc.IsRectEmpty())
            continue;
        // The bottom arrow points down, the top one up.
        const CPoint c = rc.CenterPoint();
        const int base = k == 0 ? c.y - 1 : c.y + 1;
        const int tip = k == 0 ? base + kArrowHeight : base - kArrowHeight;
        CWVPPaintManager::DrawTriangle(pDC, CPoint(c.x - kArrowHalfWidth, base), CPoint(c.x + kArrowHalfWidth, base),
                                       CPoint(c.x, tip), arrow);
    }
}
