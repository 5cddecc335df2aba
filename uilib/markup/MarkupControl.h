// The base of the markup language's interactive controls: padding, background and foreground
// colours, and a layout that hands the whole area to its first visual child.
#pragma once

#include "uilib/markup/MarkupFrameworkElement.h"

class CWVPMarkupThickness;

class CWVPMarkupControl : public CWVPMarkupFrameworkElement
{
    DECLARE_MARKUP_TYPE()
  public:
    SIZE MeasureOverride(CWVPMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    SIZE ArrangeOverride(int finalWidth, int finalHeight) override;

    // The effective padding, zero when none is set.
    const CWVPMarkupThickness* GetPadding() const;
    // Left plus right and top plus bottom padding, saturated to the 32-bit range.
    SIZE GetPaddingSums() const;

    static void RegisterProperties();
};
