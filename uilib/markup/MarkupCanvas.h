// A panel that places each child at its desired size and at explicit coordinates taken from the
// attached Canvas.Left, Top, Right and Bottom of the child; it asks for all the space offered.
#pragma once

#include "uilib/markup/MarkupPanel.h"

class CWVPMarkupCanvas : public CWVPMarkupPanel
{
    DECLARE_MARKUP_TYPE()
  public:
    SIZE MeasureOverride(CWVPMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    SIZE ArrangeOverride(int finalWidth, int finalHeight) override;

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pTopProperty;
    static CWVPMarkupDependencyProperty* s_pRightProperty;
    static CWVPMarkupDependencyProperty* s_pLeftProperty;
    static CWVPMarkupDependencyProperty* s_pBottomProperty;
};
