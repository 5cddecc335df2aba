// The square between a scroll viewer's two bars: a plain button-face fill.
#pragma once

#include "uilib/markup/MarkupUIElement.h"

class CWVPMarkupScrollBarGripper : public CWVPMarkupUIElement
{
    DECLARE_MARKUP_TYPE()
  public:
    void OnRender(CWVPMarkupDrawingContext* dc) override;
    // A plain element keeps its origin where it was: the gripper moves to its corner as well.
    void ArrangeCore(const RECT& finalRect) override;
};
