#include "uilib/commandbars/ScrollBase.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/commandbars/ScrollBarPaintManager.h"

#include <algorithm>

CWVPScrollBase::CWVPScrollBase() : m_nExplicitStyle(0), m_bTracking(FALSE), m_bTrackingInside(FALSE)
{
    ::ZeroMemory(&m_info, sizeof m_info);
    m_info.vertical = TRUE;
}

void CWVPScrollBase::AnimateScroll()
{
}

void CWVPScrollBase::CalcScrollBarInfo(CRect rc, WVP_SCROLLBAR_POSINFO* info, const SCROLLINFO* scroll)
{
    CWVPScrollBarPaintManager* painter = GetScrollBarPaintManager();
    info->barRect = rc;
    const BOOL vertical = info->vertical;
    info->trackStart = vertical ? rc.top : rc.left;
    info->trackEnd = vertical ? rc.bottom : rc.right;
    info->crossStart = vertical ? rc.left : rc.top;
    info->crossEnd = vertical ? rc.right : rc.bottom;
    int a = vertical ? painter->m_cyVScroll : painter->m_cxHScroll;
    info->thumbSize = a;
    info->scrollMin = scroll->nMin;
    info->scrollMax = scroll->nMax;
    info->scrollPage = int(scroll->nPage);
    info->scrollPos = scroll->nPos;
    const int extent = info->trackEnd - info->trackStart;
    if (extent / 2 < a)
        a = extent / 2;
    info->startArrowEnd = info->trackStart + a;
    info->endArrowStart = info->trackEnd - a;
    const int r = info->scrollMax - info->scrollMin + 1;
    if (info->scrollPage && r != 0)
        info->thumbSize = std::max(::MulDiv(extent - 2 * a, info->scrollPage, r), info->thumbSize / 2);
    if (painter->m_nThumbSize)
        info->thumbSize = painter->m_nThumbSize;
    info->thumbRangeStart = info->trackStart + a;
    info->thumbRange = extent - 2 * a - info->thumbSize;
    const int p = info->scrollPage ? info->scrollPage : 1;
    if (r == p)
        info->thumbStart = info->thumbRangeStart - 1;
    else
        info->thumbStart = info->thumbRangeStart + ::MulDiv(info->scrollPos - info->scrollMin, info->thumbRange, r - p);
    info->thumbEnd = info->thumbStart + info->thumbSize;
}

void CWVPScrollBase::CalculateScrollBarInfo()
{
    SCROLLINFO scroll = {sizeof scroll};
    GetScrollInfo(&scroll);
    CalcScrollBarInfo(GetScrollBarRect(), &m_info, &scroll);
}

int CWVPScrollBase::HitScrollBar(CPoint pt) const
{
    if (!m_info.barRect.PtInRect(pt))
        return WVP_HT_NONE;
    const int c = m_info.vertical ? pt.y : pt.x;
    if (c < m_info.startArrowEnd)
        return WVP_HT_LINEUP;
    if (m_info.extraPartStart > 0 && c >= m_info.extraPartStart)
        return WVP_HT_EXTRA;
    if (c >= m_info.endArrowStart)
        return WVP_HT_LINEDOWN;
    if (c < m_info.thumbStart)
        return WVP_HT_PAGEUP;
    if (c < m_info.thumbEnd)
        return WVP_HT_THUMB;
    return WVP_HT_PAGEDOWN;
}

int CWVPScrollBase::PositionOfPixel(int pixel) const
{
    const WVP_SCROLLBAR_POSINFO& i = m_info;
    if (pixel < i.thumbRangeStart)
        return i.scrollMin;
    if (pixel < i.thumbRangeStart + i.thumbRange)
    {
        if (i.thumbRange == 0)
            return i.scrollMin - 1;
        return i.scrollMin + ::MulDiv(i.scrollMax - i.scrollMin - (i.scrollPage > 0 ? i.scrollPage - 1 : 0),
                                      pixel - i.thumbRangeStart, i.thumbRange);
    }
    return i.scrollPage ? i.scrollMax - i.scrollPage + 1 : i.scrollMax;
}

CRect CWVPScrollBase::CalcTrackDragRect() const
{
    const int thickness = m_info.crossEnd - m_info.crossStart;
    const int thumb = ::GetSystemMetrics(m_info.vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
    const int crossStart = m_info.crossStart - 8 * thickness, crossEnd = m_info.crossEnd + 8 * thickness;
    const int along0 = m_info.trackStart - 2 * thumb, along1 = m_info.trackEnd + 2 * thumb;
    return m_info.vertical ? CRect(crossStart, along0, crossEnd, along1) : CRect(along0, crossStart, along1, crossEnd);
}

int CWVPScrollBase::GetScrollBarStyle() const
{
    if (m_nExplicitStyle)
        return m_nExplicitStyle;
    CWVPScrollBase* self = const_cast<CWVPScrollBase*>(this);
    const int theme = self->GetScrollBarPaintManager()->GetPaintManager()->GetThemeType();
    if (theme == wvpThemeDefault)
        return 2;
    return theme == wvpThemeOffice2007 || theme == wvpThemeRibbon ? 5 : 3;
}
