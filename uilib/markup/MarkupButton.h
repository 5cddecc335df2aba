// The markup push button: its content sits inside a four-pixel bevel and moves by one pixel
// while pressed (unless the visual style draws it); drawn with the "BUTTON" visual style when
// one is usable, with a classic bevel otherwise, and in its own colours when it has a background.
#pragma once

#include "uilib/markup/MarkupButtonBase.h"

class CWVPMarkupButton : public CWVPMarkupButtonBase
{
    DECLARE_MARKUP_TYPE()
  public:
    void OnRender(CWVPMarkupDrawingContext* dc) override;
    void OnRenderFocusVisual(CWVPMarkupDrawingContext* dc) override;
    SIZE MeasureOverride(CWVPMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    SIZE ArrangeOverride(int finalWidth, int finalHeight) override;
};
