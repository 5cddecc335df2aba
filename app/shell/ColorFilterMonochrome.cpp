#include "app/shell/ColorFilterMonochrome.h"

#include "uilib/foundation/DrawHelpers.h"

namespace
{
// The share of the colour's own lightness that survives the tint.
const double kOwnLightness = 0.95;
const double kTintLightness = 0.05;

int Lightness(DWORD hls)
{
    return (hls >> 16) & 0xFF;
}
} // namespace

void CColorFilterMonochrome::ApplyColorFilter(COLORREF& clr)
{
    const DWORD hls = CWVPDrawHelpers::ColorToHLS(clr);
    const int lightness = static_cast<int>(Lightness(hls) * kOwnLightness + Lightness(m_tintHls) * kTintLightness);
    clr = CWVPDrawHelpers::HLSToColor((m_tintHls & 0xFFFF) | (static_cast<DWORD>(lightness) << 16));
}
