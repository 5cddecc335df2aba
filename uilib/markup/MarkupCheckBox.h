// The markup check box: a check glyph left of its content, unchecked, checked or (for a
// three-state box) indeterminate.
#pragma once

#include "uilib/markup/MarkupToggleButton.h"

class CWVPMarkupCheckBox : public CWVPMarkupToggleButton
{
    DECLARE_MARKUP_TYPE()
  public:
    void OnRender(CWVPMarkupDrawingContext* dc) override;
    void OnRenderFocusVisual(CWVPMarkupDrawingContext* dc) override;
    SIZE MeasureOverride(CWVPMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    SIZE ArrangeOverride(int finalWidth, int finalHeight) override;
};
