#pragma once
// Draws the horizontal sliders of command-bar controls: fixed 16-pixel buttons and an 11-pixel
// thumb over the scroll-bar painter's metrics.
#include "uilib/commandbars/ScrollBarPaintManager.h"

class CWVPSliderPaintManager : public CWVPScrollBarPaintManager
{
  public:
    explicit CWVPSliderPaintManager(CWVPPaintManager* paintManager) : CWVPScrollBarPaintManager(paintManager)
    {
    }
    void RefreshMetrics() override;
};
