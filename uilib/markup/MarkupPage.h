// A root element with one child that simply fills it; the page itself is never hit by the mouse.
#pragma once

#include "uilib/markup/MarkupDecorator.h"

class CWVPMarkupPage : public CWVPMarkupDecorator
{
    DECLARE_MARKUP_TYPE()
  public:
    SIZE MeasureOverride(CWVPMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    SIZE ArrangeOverride(int finalWidth, int finalHeight) override;
    CWVPMarkupInputElement* InputHitTestCore(POINT point) override;
};
