#pragma once
// Colour arithmetic of the list controls' row and column colours.
#include <windows.h>

// Per channel (a * (100 - percent) + b * percent) / 100, clamped to 0..255.
COLORREF WVPBlendColors(COLORREF clrA, COLORREF clrB, int nPercent);
// Per channel max(a - b, 0).
COLORREF WVPSubtractColors(COLORREF clrA, COLORREF clrB);
