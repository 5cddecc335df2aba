#pragma once
// Draws the horizontal sliders of command-bar controls: fixed 16-pixel buttons and an 11-pixel
// thumb over the scroll-bar painter's metrics.
#include "uilib/commandbars/ScrollBarPaintManager.h"

#include <vector>

class CWVPSliderPaintManager : public CWVPScrollBarPaintManager
{
  public:
    explicit CWVPSliderPaintManager(CWVPPaintManager* paintManager) : CWVPScrollBarPaintManager(paintManager)
    {
    }
    void RefreshMetrics() override;
    // A horizontal slider: channel, ticks, the minus and plus buttons and the thumb.
    void DrawScrollBar(CDC* pDC, CWVPScrollBase* pScroll) override;
    // Tick positions (scroll values) drawn along the channel; none draws one tick at its centre.
    std::vector<double> m_ticks;
};
