// A single-child element that draws a frame of given thickness and a background around its child
// and keeps padding between the frame and the child.
#pragma once

#include "uilib/markup/MarkupDecorator.h"

class CWVPMarkupThickness;

class CWVPMarkupBorder : public CWVPMarkupDecorator
{
    DECLARE_MARKUP_TYPE()
  public:
    SIZE MeasureOverride(CWVPMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    SIZE ArrangeOverride(int finalWidth, int finalHeight) override;
    void OnRender(CWVPMarkupDrawingContext* dc) override;
    CWVPMarkupInputElement* InputHitTestCore(POINT point) override;

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pBackgroundProperty;
    static CWVPMarkupDependencyProperty* s_pPaddingProperty;
    static CWVPMarkupDependencyProperty* s_pBorderThicknessProperty;
    static CWVPMarkupDependencyProperty* s_pBorderBrushProperty;

  private:
    const CWVPMarkupThickness* GetThickness(CWVPMarkupDependencyProperty* property) const;
};
