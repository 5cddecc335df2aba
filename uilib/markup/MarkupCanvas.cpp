#include "uilib/markup/MarkupCanvas.h"

#include "uilib/markup/MarkupLayoutMath.h"
#include "uilib/markup/MarkupValues.h"

namespace
{
// The start of a child along one axis: the near edge when set, else the far edge less the child.
int Place(CWVPMarkupUIElement* child, CWVPMarkupDependencyProperty* nearEdge, CWVPMarkupDependencyProperty* farEdge,
          int extent, int size)
{
    if (CWVPMarkupObject* value = child->GetValue(nearEdge))
        return CWVPMarkupInt::ValueOf(value, 0);
    if (CWVPMarkupObject* value = child->GetValue(farEdge))
        return MarkupSubtractSize(MarkupSubtractSize(extent, CWVPMarkupInt::ValueOf(value, 0)), size);
    return 0;
}
} // namespace

SIZE CWVPMarkupCanvas::MeasureOverride(CWVPMarkupDrawingContext* dc, int W, int H)
{
    for (int i = 0; i < GetVisualChildrenCount(); ++i)
        if (CWVPMarkupUIElement* child = GetChildElement(i))
            child->Measure(dc, kUnbounded, kUnbounded);
    return {W, H};
}

SIZE CWVPMarkupCanvas::ArrangeOverride(int W, int H)
{
    for (int i = 0; i < GetVisualChildrenCount(); ++i)
    {
        CWVPMarkupUIElement* child = GetChildElement(i);
        if (!child)
            continue;
        SIZE size = child->GetDesiredSize();
        int x = Place(child, s_pLeftProperty, s_pRightProperty, W, size.cx);
        int y = Place(child, s_pTopProperty, s_pBottomProperty, H, size.cy);
        child->Arrange({x, y, MarkupAddSize(x, size.cx), MarkupAddSize(y, size.cy)});
    }
    return {W, H};
}
