#include "uilib/commandbars/SliderPaintManager.h"

namespace
{
const int kSliderButton = 16;
const int kSliderThumb = 11;
} // namespace

void CWVPSliderPaintManager::RefreshMetrics()
{
    CWVPScrollBarPaintManager::RefreshMetrics();
    m_cxHScroll = kSliderButton;
    m_cyHScroll = kSliderButton;
    m_nThumbSize = kSliderThumb;
}
