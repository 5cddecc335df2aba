#include "uilib/markup/MarkupScrollViewer.h"

#include <algorithm>

#include "uilib/markup/MarkupContext.h"
#include "uilib/markup/MarkupElements.h"
#include "uilib/markup/MarkupLayoutMath.h"
#include "uilib/markup/MarkupScrollBar.h"
#include "uilib/markup/MarkupScrollBarGripper.h"
#include "uilib/markup/MarkupType.h"
#include "uilib/markup/MarkupValues.h"

namespace
{
const int kUnbounded = CWVPMarkupUIElement::kUnbounded;

// An element made for the viewer: through its context when it has one, so that it can redraw.
CWVPMarkupObject* CreatePart(CWVPMarkupContext* context, CWVPMarkupType* type)
{
    return context ? context->CreateObject(type) : type->CreateObject();
}
} // namespace

CWVPMarkupScrollViewer::CWVPMarkupScrollViewer()
    : m_pVerticalBar(nullptr), m_pHorizontalBar(nullptr), m_pGripper(nullptr), m_nHorizontalOffset(0),
      m_nVerticalOffset(0)
{
    SetValue(s_pClipToBoundsProperty, CWVPMarkupBool::CreateTrueValue());
}

CWVPMarkupScrollViewer::~CWVPMarkupScrollViewer()
{
    DropBar(m_pVerticalBar, m_nVerticalOffset);
    DropBar(m_pHorizontalBar, m_nHorizontalOffset);
    UpdateGripper();
}

CWVPMarkupUIElement* CWVPMarkupScrollViewer::GetContent() const
{
    return MarkupCast<CWVPMarkupUIElement>(GetValue(s_pContentProperty));
}

CWVPMarkupScrollBar* CWVPMarkupScrollViewer::GetScrollBar(int orientation) const
{
    return orientation == orientationVertical ? m_pVerticalBar : m_pHorizontalBar;
}

int CWVPMarkupScrollViewer::GetVisualChildrenCount() const
{
    return (GetContent() ? 1 : 0) + (m_pVerticalBar ? 1 : 0) + (m_pHorizontalBar ? 1 : 0) + (m_pGripper ? 1 : 0);
}

CWVPMarkupVisual* CWVPMarkupScrollViewer::GetVisualChild(int index) const
{
    CWVPMarkupVisual* children[] = {GetContent(), m_pVerticalBar, m_pHorizontalBar, m_pGripper};
    for (CWVPMarkupVisual* child : children)
    {
        if (!child)
            continue;
        if (index-- == 0)
            return child;
    }
    return nullptr;
}

CWVPMarkupScrollBar* CWVPMarkupScrollViewer::EnsureBar(CWVPMarkupScrollBar*& slot, int orientation)
{
    if (!slot)
    {
        slot = static_cast<CWVPMarkupScrollBar*>(CreatePart(m_pContext, CWVPMarkupScrollBar::Type()));
        slot->SetOrientation(orientation);
        slot->SetLogicalParent(this);
    }
    return slot;
}

void CWVPMarkupScrollViewer::DropBar(CWVPMarkupScrollBar*& slot, int& offset)
{
    offset = 0;
    if (!slot)
        return;
    CWVPMarkupUIElement* element = slot;
    slot = nullptr;
    MarkupReplaceChild(this, element, nullptr);
}

void CWVPMarkupScrollViewer::UpdateGripper()
{
    const BOOL wanted = m_pVerticalBar && m_pHorizontalBar;
    if (wanted && !m_pGripper)
    {
        m_pGripper = static_cast<CWVPMarkupScrollBarGripper*>(CreatePart(m_pContext, CWVPMarkupScrollBarGripper::Type()));
        m_pGripper->SetLogicalParent(this);
    }
    else if (!wanted && m_pGripper)
    {
        CWVPMarkupUIElement* element = m_pGripper;
        m_pGripper = nullptr;
        MarkupReplaceChild(this, element, nullptr);
    }
}

SIZE CWVPMarkupScrollViewer::MeasureOverride(CWVPMarkupDrawingContext* dc, int W, int H)
{
    CWVPMarkupUIElement* content = GetContent();
    if (!content)
        return {0, 0};
    const int vertical = CWVPMarkupEnum::ValueOf(GetValue(s_pVerticalScrollBarVisibilityProperty), visibilityVisible);
    const int horizontal =
        CWVPMarkupEnum::ValueOf(GetValue(s_pHorizontalScrollBarVisibilityProperty), visibilityDisabled);
    int contentWidth = horizontal != visibilityDisabled ? kUnbounded : W;
    int contentHeight = H;
    int barWidth = 0, barHeight = 0;

    if (vertical == visibilityDisabled)
        DropBar(m_pVerticalBar, m_nVerticalOffset);
    else
    {
        BOOL needed = vertical == visibilityVisible;
        if (!needed)
        {
            content->Measure(dc, contentWidth, kUnbounded);
            needed = H < content->GetDesiredSize().cy;
        }
        contentHeight = kUnbounded;
        if (needed)
        {
            CWVPMarkupScrollBar* bar = EnsureBar(m_pVerticalBar, orientationVertical);
            bar->Measure(dc, W, H);
            barWidth = bar->GetDesiredSize().cx;
            if (contentWidth != kUnbounded)
                contentWidth = (std::max)(contentWidth - barWidth, 0);
        }
        else
            DropBar(m_pVerticalBar, m_nVerticalOffset);
    }

    BOOL horizontalNeeded = horizontal == visibilityVisible;
    if (horizontal == visibilityAuto)
    {
        content->Measure(dc, contentWidth, contentHeight);
        horizontalNeeded = MarkupSubtractSize(W, barWidth) < content->GetDesiredSize().cx;
    }
    if (horizontalNeeded)
    {
        CWVPMarkupScrollBar* bar = EnsureBar(m_pHorizontalBar, orientationHorizontal);
        bar->Measure(dc, W, H);
        barHeight = bar->GetDesiredSize().cy;
        if (contentHeight != kUnbounded)
            contentHeight = (std::max)(contentHeight - barHeight, 0);
    }
    else
        DropBar(m_pHorizontalBar, m_nHorizontalOffset);
    UpdateGripper();

    content->Measure(dc, contentWidth, contentHeight);
    const SIZE desired = content->GetDesiredSize();
    // The content of an unlimited width can be as wide as the largest integer: the bar's width
    // is added without overflowing.
    return {(std::min)(W, MarkupAddSize(barWidth, desired.cx)), (std::min)(H, MarkupAddSize(barHeight, desired.cy))};
}

SIZE CWVPMarkupScrollViewer::ArrangeOverride(int W, int H)
{
    const int barWidth = m_pVerticalBar ? m_pVerticalBar->GetDesiredSize().cx : 0;
    const int barHeight = m_pHorizontalBar ? m_pHorizontalBar->GetDesiredSize().cy : 0;
    const int viewWidth = (std::max)(W - barWidth, 0);
    const int viewHeight = (std::max)(H - barHeight, 0);
    CWVPMarkupUIElement* content = GetContent();
    const SIZE extent = content ? content->GetDesiredSize() : SIZE{0, 0};

    // A bar's range runs over the content's extent with the viewport as its page; an offset that
    // the content no longer reaches moves back so that the content's end meets the viewport's.
    struct Axis
    {
        CWVPMarkupScrollBar* bar;
        int* offset;
        int extent;
        int view;
        RECT rect;
    } axes[] = {
        {m_pVerticalBar, &m_nVerticalOffset, (int)extent.cy, viewHeight, {W - barWidth, 0, W, viewHeight}},
        {m_pHorizontalBar, &m_nHorizontalOffset, (int)extent.cx, viewWidth, {0, H - barHeight, viewWidth, H}},
    };
    for (Axis& axis : axes)
    {
        if (!axis.bar)
            continue;
        int& offset = *axis.offset;
        if (offset > 0 && axis.extent < (long long)axis.view + offset)
            offset = (std::max)(axis.extent - axis.view, 0);
        SCROLLINFO range = {sizeof(SCROLLINFO), SIF_ALL, 0, axis.extent - 1, (UINT)axis.view, offset, 0};
        axis.bar->SetScrollInfo(range);
        axis.bar->Arrange(axis.rect);
    }
    if (m_pGripper)
        m_pGripper->Arrange({W - barWidth, H - barHeight, W, H});
    if (content)
    {
        const int left = -m_nHorizontalOffset, top = -m_nVerticalOffset;
        content->Arrange({left, top, MarkupAddSize(left, (std::max)(viewWidth, (int)extent.cx)),
                          MarkupAddSize(top, (std::max)(viewHeight, (int)extent.cy))});
    }
    return {W, H};
}

int CWVPMarkupScrollViewer::GetScrollOffset(int orientation) const
{
    return orientation == orientationVertical ? m_nVerticalOffset : m_nHorizontalOffset;
}

int CWVPMarkupScrollViewer::GetScrollLimit(int orientation) const
{
    const CWVPMarkupScrollBar* bar = GetScrollBar(orientation);
    if (!bar)
        return 0;
    const SCROLLINFO& range = bar->GetScrollInfo();
    long long limit = range.nMax;
    if (range.nPage >= 2)
        limit -= (long long)range.nPage - 1;
    return MarkupSaturate((std::max)(limit, 0LL));
}

void CWVPMarkupScrollViewer::SetScrollOffset(int orientation, int offset)
{
    offset = (std::max)(0, (std::min)(offset, GetScrollLimit(orientation)));
    int& stored = orientation == orientationVertical ? m_nVerticalOffset : m_nHorizontalOffset;
    if (stored == offset)
        return;
    stored = offset;
    InvalidateArrange();
}

void CWVPMarkupScrollViewer::Scroll(int orientation, int command, int thumbPosition)
{
    const CWVPMarkupScrollBar* bar = GetScrollBar(orientation);
    const int position = bar ? bar->GetScrollInfo().nPos : 0;
    const int page = bar ? MarkupSaturate(bar->GetScrollInfo().nPage) : 0;
    const int limit = GetScrollLimit(orientation);
    int target = position;
    switch (command)
    {
    case SB_LINEUP:
        target = position > kLineStep ? position - kLineStep : 0;
        break;
    case SB_LINEDOWN:
        target = (std::min)(MarkupAddSize(position, kLineStep), limit);
        break;
    case SB_PAGEUP:
        target = (std::max)(MarkupSubtractSize(position, page), 0);
        break;
    case SB_PAGEDOWN:
        target = (std::min)(MarkupAddSize(position, page), limit);
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        target = thumbPosition;
        break;
    case SB_TOP:
        target = 0;
        break;
    case SB_BOTTOM:
        target = limit;
        break;
    default:
        break;
    }
    SetScrollOffset(orientation, target);
}

void CWVPMarkupScrollViewer::OnMouseWheel(CWVPMarkupMouseWheelEventArgs* args)
{
    if (args->m_nDelta < 0)
        SetScrollOffset(orientationVertical, MarkupAddSize(m_nVerticalOffset, kWheelStep));
    else if (args->m_nDelta > 0)
        SetScrollOffset(orientationVertical, MarkupSubtractSize(m_nVerticalOffset, kWheelStep));
    args->m_bHandled = TRUE;
}
