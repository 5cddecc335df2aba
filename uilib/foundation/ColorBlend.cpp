#include "uilib/foundation/ColorBlend.h"

namespace
{
int Clamp(int value)
{
    return value < 0 ? 0 : value > 255 ? 255 : value;
}
} // namespace

COLORREF WVPBlendColors(COLORREF clrA, COLORREF clrB, int nPercent)
{
    auto mix = [nPercent](int a, int b) { return Clamp((a * (100 - nPercent) + b * nPercent) / 100); };
    return RGB(mix(GetRValue(clrA), GetRValue(clrB)), mix(GetGValue(clrA), GetGValue(clrB)),
               mix(GetBValue(clrA), GetBValue(clrB)));
}

COLORREF WVPSubtractColors(COLORREF clrA, COLORREF clrB)
{
    return RGB(Clamp(GetRValue(clrA) - GetRValue(clrB)), Clamp(GetGValue(clrA) - GetGValue(clrB)),
               Clamp(GetBValue(clrA) - GetBValue(clrB)));
}
