#include "uilib/commandbars/SliderPaintManager.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/commandbars/ScrollBase.h"
#include "uilib/foundation/ColorManager.h"
#include "uilib/foundation/DCGuards.h"

#include <algorithm>

namespace
{
const int kSliderButton = 16;
const int kSliderThumb = 11;
} // namespace

void CWVPSliderPaintManager::RefreshMetrics()
{
    CWVPScrollBarPaintManager::RefreshMetrics();
    m_cxHScroll = kSliderButton;
    m_cyHScroll = kSliderButton;
    m_nThumbSize = kSliderThumb;
}

void CWVPSliderPaintManager::DrawScrollBar(CDC* pDC, CWVPScrollBase* pScroll)
{
    const WVP_SCROLLBAR_POSINFO& i = pScroll->m_info;
    if (i.vertical || i.crossEnd - i.crossStart <= 0)
        return;
    CWVPColorManager* colors = WVPColorManager();
    const COLORREF face = colors->GetColor(COLOR_BTNFACE), shadow = colors->GetColor(COLOR_BTNSHADOW);
    const COLORREF light = colors->GetColor(COLOR_BTNHIGHLIGHT);
    const int pressed = pScroll->m_bTracking && (pScroll->m_bTrackingInside || i.hitPart == WVP_HT_THUMB)
                            ? i.hitPart
                            : WVP_HT_NONE;
    const int hot = pScroll->m_bTracking ? WVP_HT_NONE : i.hitPart;
    const BOOL enabled = i.scrollMax - i.scrollPage - i.scrollMin >= 0 && pScroll->IsScrollBarEnabled();
    const CRect bar = i.barRect;

    // The channel between the buttons, and its ticks.
    CRect channel(i.startArrowEnd, bar.top, i.endArrowStart, bar.bottom);
    const int m = (bar.top + bar.bottom - 2) / 2;
    pDC->FillSolidRect(channel.left, m, channel.Width(), 1, shadow);
    pDC->FillSolidRect(channel.left, m + 1, channel.Width(), 1, light);
    const auto tick = [&](int x) {
        const int y0 = (channel.top + channel.bottom - 8) / 2;
        pDC->FillSolidRect(x - 1, y0, 1, 4, shadow);
        pDC->FillSolidRect(x - 1, y0 + 5, 1, 2, shadow);
        pDC->FillSolidRect(x, y0 + 1, 1, 7, light);
    };
    if (!m_ticks.empty() && i.scrollMin < i.scrollMax)
    {
        CRect inner = channel;
        inner.DeflateRect(6, 0);
        for (double v : m_ticks)
            if (v >= i.scrollMin && v <= i.scrollMax)
                tick(inner.left + int(inner.Width() * (v - i.scrollMin) / (i.scrollMax - i.scrollMin)));
    }
    else
        tick(channel.CenterPoint().x);

    // The minus and plus buttons.
    const CRect buttons[2] = {CRect(i.trackStart, bar.top, i.startArrowEnd, bar.bottom),
                              CRect(i.endArrowStart, bar.top, i.trackEnd, bar.bottom)};
    const int hits[2] = {WVP_HT_LINEUP, WVP_HT_LINEDOWN};
    for (int k = 0; k < 2; ++k)
    {
        const CRect rc = buttons[k];
        const int side = std::min(rc.Width(), rc.Height());
        const CRect disc(rc.CenterPoint().x - side / 2, rc.CenterPoint().y - side / 2,
                         rc.CenterPoint().x - side / 2 + side, rc.CenterPoint().y - side / 2 + side);
        CWVPPaintManager::DrawAntialiasedDisc(pDC, disc.left, disc.top, disc.right, disc.bottom,
                                              hot == hits[k] ? light : face, shadow);
        if (pressed != hits[k])
            CWVPPaintManager::DrawAntialiasedDisc(pDC, disc.left + 1, disc.top + 1, disc.right - 1, disc.bottom - 1,
                                                  hot == hits[k] ? light : face, light);
        const CPoint c = disc.CenterPoint();
        pDC->FillSolidRect(c.x - 4, c.y - 1, 8, 2, RGB(0, 0, 0));
        if (k == 1)
            pDC->FillSolidRect(c.x - 1, c.y - 4, 2, 8, RGB(0, 0, 0));
    }

    // The thumb, a pentagon pointing down.
    if (!enabled)
        return;
    const int x = (i.thumbStart + i.thumbEnd) / 2 - 4, y = (bar.top + bar.bottom - 13) / 2;
    const POINT outline[5] = {{x, y}, {x + 8, y}, {x + 8, y + 9}, {x + 4, y + 13}, {x, y + 9}};
    const COLORREF fill = hot == WVP_HT_THUMB ? light : face;
    {
        CWVPPenDC pen(pDC->GetSafeHdc(), fill);
        CWVPBrushDC brush(pDC->GetSafeHdc(), fill);
        ::Polygon(pDC->GetSafeHdc(), outline, 5);
    }
    CWVPPenDC pen(pDC->GetSafeHdc(), shadow);
    const POINT closed[6] = {outline[0], outline[1], outline[2], outline[3], outline[4], outline[0]};
    ::Polyline(pDC->GetSafeHdc(), closed, 6);
    if (pressed != WVP_HT_THUMB)
    {
        CWVPPenDC inner(pDC->GetSafeHdc(), light);
        const POINT highlight[5] = {{x + 1, y + 9}, {x + 1, y + 1}, {x + 7, y + 1}, {x + 7, y + 9}, {x + 4, y + 12}};
        ::Polyline(pDC->GetSafeHdc(), highlight, 5);
    }
}
