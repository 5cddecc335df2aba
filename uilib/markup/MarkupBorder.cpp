#include "uilib/markup/MarkupBorder.h"

#include <algorithm>

#include "uilib/markup/MarkupBrush.h"
#include "uilib/markup/MarkupDrawingContext.h"
#include "uilib/markup/MarkupLayoutMath.h"
#include "uilib/markup/MarkupValues.h"

const CWVPMarkupThickness* CWVPMarkupBorder::GetThickness(CWVPMarkupDependencyProperty* property) const
{
    const CWVPMarkupThickness* value = MarkupCast<CWVPMarkupThickness>(GetValue(property));
    return value ? value : CWVPMarkupThickness::GetZero();
}

SIZE CWVPMarkupBorder::MeasureOverride(CWVPMarkupDrawingContext* dc, int W, int H)
{
    const CWVPMarkupThickness* border = GetThickness(s_pBorderThicknessProperty);
    const CWVPMarkupThickness* padding = GetThickness(s_pPaddingProperty);
    int eh = MarkupSaturate((long long)border->m_nLeft + border->m_nRight + padding->m_nLeft + padding->m_nRight);
    int ev = MarkupSaturate((long long)border->m_nTop + border->m_nBottom + padding->m_nTop + padding->m_nBottom);
    if (!m_pChild)
        return {eh, ev};
    m_pChild->Measure(dc, (std::max)(MarkupSubtractSize(W, eh), 0), (std::max)(MarkupSubtractSize(H, ev), 0));
    SIZE child = m_pChild->GetDesiredSize();
    return {MarkupAddSize(child.cx, eh), MarkupAddSize(child.cy, ev)};
}

SIZE CWVPMarkupBorder::ArrangeOverride(int W, int H)
{
    if (m_pChild)
    {
        RECT inner = CWVPMarkupThickness::DeflateRect({0, 0, W, H}, GetThickness(s_pBorderThicknessProperty));
        m_pChild->Arrange(CWVPMarkupThickness::DeflateRect(inner, GetThickness(s_pPaddingProperty)));
    }
    return {W, H};
}

void CWVPMarkupBorder::OnRender(CWVPMarkupDrawingContext* dc)
{
    int w = m_szRender.cx, h = m_szRender.cy;
    if (w < 1 || h < 1)
        return;
    const CWVPMarkupThickness* t = GetThickness(s_pBorderThicknessProperty);
    CWVPMarkupBrush* frame = MarkupCast<CWVPMarkupBrush>(GetValue(s_pBorderBrushProperty));
    if (frame)
    {
        if (t->m_nLeft > 0)
            dc->FillRect(frame, {0, 0, t->m_nLeft, h});
        if (t->m_nRight > 0)
            dc->FillRect(frame, {w - t->m_nRight, 0, w, h});
        if (t->m_nTop > 0)
            dc->FillRect(frame, {0, 0, w, t->m_nTop});
        if (t->m_nBottom > 0)
            dc->FillRect(frame, {0, h - t->m_nBottom, w, h});
    }
    CWVPMarkupBrush* background = MarkupCast<CWVPMarkupBrush>(GetValue(s_pBackgroundProperty));
    if (background && w - t->m_nRight > t->m_nLeft && h - t->m_nBottom > t->m_nTop)
        dc->FillRect(background, {t->m_nLeft, t->m_nTop, w - t->m_nRight, h - t->m_nBottom});
}

CWVPMarkupInputElement* CWVPMarkupBorder::InputHitTestCore(POINT)
{
    return GetValue(s_pBackgroundProperty) ? this : nullptr;
}
