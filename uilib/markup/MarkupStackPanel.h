// A panel that puts its children one after the other in a single column (the default) or row,
// stretching each across the panel and giving it its desired length along the stack.
#pragma once

#include "uilib/markup/MarkupPanel.h"

class CWVPMarkupStackPanel : public CWVPMarkupPanel
{
    DECLARE_MARKUP_TYPE()
  public:
    SIZE MeasureOverride(CWVPMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    SIZE ArrangeOverride(int finalWidth, int finalHeight) override;
    BOOL IsVertical() const;

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pOrientationProperty;
};
