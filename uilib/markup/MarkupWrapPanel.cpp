#include "uilib/markup/MarkupWrapPanel.h"

#include <algorithm>

#include "uilib/markup/MarkupLayoutMath.h"
#include "uilib/markup/MarkupValues.h"

namespace
{
const int kHorizontal = 0;
const int kNoItemSize = -1;
} // namespace

BOOL CWVPMarkupWrapPanel::IsHorizontal() const
{
    return CWVPMarkupEnum::ValueOf(GetValue(s_pOrientationProperty), kHorizontal) == kHorizontal;
}

SIZE CWVPMarkupWrapPanel::GetCell(CWVPMarkupUIElement* child) const
{
    SIZE desired = child->GetDesiredSize();
    int itemWidth = CWVPMarkupInt::ValueOf(GetValue(s_pItemWidthProperty), kNoItemSize);
    int itemHeight = CWVPMarkupInt::ValueOf(GetValue(s_pItemHeightProperty), kNoItemSize);
    int w = itemWidth >= 0 ? itemWidth : desired.cx;
    int h = itemHeight >= 0 ? itemHeight : desired.cy;
    return IsHorizontal() ? SIZE{w, h} : SIZE{h, w};
}

SIZE CWVPMarkupWrapPanel::Flow(int limit, LineFunction onLine)
{
    int used = 0, thick = 0, before = 0, longest = 0, first = 0;
    int count = GetVisualChildrenCount();
    for (int i = 0; i < count; ++i)
    {
        CWVPMarkupUIElement* child = GetChildElement(i);
        if (!child)
            continue;
        SIZE cell = GetCell(child);
        if (MarkupAddSize(used, cell.cx) > limit)
        {
            if (onLine)
                (this->*onLine)(first, i, before, thick);
            longest = (std::max)(longest, used);
            before = MarkupAddSize(before, thick);
            used = cell.cx;
            thick = cell.cy;
            first = i;
        }
        else
        {
            used = MarkupAddSize(used, cell.cx);
            thick = (std::max)(thick, (int)cell.cy);
        }
    }
    if (onLine)
        (this->*onLine)(first, count, before, thick);
    longest = (std::max)(longest, used);
    return {longest, MarkupAddSize(before, thick)};
}

SIZE CWVPMarkupWrapPanel::MeasureOverride(CWVPMarkupDrawingContext* dc, int W, int H)
{
    int itemWidth = CWVPMarkupInt::ValueOf(GetValue(s_pItemWidthProperty), kNoItemSize);
    int itemHeight = CWVPMarkupInt::ValueOf(GetValue(s_pItemHeightProperty), kNoItemSize);
    for (int i = 0; i < GetVisualChildrenCount(); ++i)
        if (CWVPMarkupUIElement* child = GetChildElement(i))
            child->Measure(dc, itemWidth >= 0 ? itemWidth : W, itemHeight >= 0 ? itemHeight : H);
    BOOL horizontal = IsHorizontal();
    SIZE flow = Flow(horizontal ? W : H, nullptr);
    return horizontal ? flow : SIZE{flow.cy, flow.cx};
}

SIZE CWVPMarkupWrapPanel::ArrangeOverride(int W, int H)
{
    Flow(IsHorizontal() ? W : H, &CWVPMarkupWrapPanel::ArrangeLine);
    return {W, H};
}

void CWVPMarkupWrapPanel::ArrangeLine(int first, int end, int offset, int thick)
{
    BOOL horizontal = IsHorizontal();
    int position = 0;
    int crossEnd = MarkupAddSize(offset, thick);
    for (int i = first; i < end; ++i)
    {
        CWVPMarkupUIElement* child = GetChildElement(i);
        if (!child)
            continue;
        int next = MarkupAddSize(position, GetCell(child).cx);
        if (horizontal)
            child->Arrange({position, offset, next, crossEnd});
        else
            child->Arrange({offset, position, crossEnd, next});
        position = next;
    }
}
