#include "uilib/markup/MarkupStackPanel.h"

#include <algorithm>

#include "uilib/markup/MarkupLayoutMath.h"
#include "uilib/markup/MarkupValues.h"

namespace
{
const int kHorizontal = 0;
const int kVertical = 1;
} // namespace

BOOL CWVPMarkupStackPanel::IsVertical() const
{
    return CWVPMarkupEnum::ValueOf(GetValue(s_pOrientationProperty), kVertical) != kHorizontal;
}

SIZE CWVPMarkupStackPanel::MeasureOverride(CWVPMarkupDrawingContext* dc, int W, int H)
{
    BOOL vertical = IsVertical();
    int across = 0, along = 0;
    for (int i = 0; i < GetVisualChildrenCount(); ++i)
    {
        CWVPMarkupUIElement* child = GetChildElement(i);
        if (!child)
            continue;
        if (vertical)
            child->Measure(dc, W, kUnbounded);
        else
            child->Measure(dc, kUnbounded, H);
        SIZE size = child->GetDesiredSize();
        across = (std::max)(across, (int)(vertical ? size.cx : size.cy));
        along = MarkupAddSize(along, vertical ? size.cy : size.cx);
    }
    return vertical ? SIZE{across, along} : SIZE{along, across};
}

SIZE CWVPMarkupStackPanel::ArrangeOverride(int W, int H)
{
    BOOL vertical = IsVertical();
    int position = 0;
    for (int i = 0; i < GetVisualChildrenCount(); ++i)
    {
        CWVPMarkupUIElement* child = GetChildElement(i);
        if (!child)
            continue;
        SIZE size = child->GetDesiredSize();
        int end = MarkupAddSize(position, vertical ? size.cy : size.cx);
        if (vertical)
            child->Arrange({0, position, (std::max)((int)size.cx, W), end});
        else
            child->Arrange({position, 0, end, (std::max)((int)size.cy, H)});
        position = end;
    }
    return {W, H};
}
