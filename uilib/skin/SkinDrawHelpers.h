#pragma once
// Small drawing routines of the skin framework: solid fills and frame bands, an icon's size, and
// the bitmap-resource loader of the skin images.
#include <windows.h>

// Fills through ExtTextOut (ETO_OPAQUE, no text) and restores the DC's background colour.
BOOL WVPSkinFillSolidRect(HDC hDC, const RECT& rc, COLORREF clr);
BOOL WVPSkinFillSolidRectXY(HDC hDC, int x, int y, int cx, int cy, COLORREF clr);
BOOL WVPSkinFillRectXY(HDC hDC, int x, int y, int cx, int cy, HBRUSH hBrush);
// Four bands of thickness nWidth inside the rectangle: top, left, right and bottom.
void WVPSkinDrawFrameColor(HDC hDC, const RECT& rc, int nWidth, COLORREF clr);
void WVPSkinDrawFrameBrush(HDC hDC, const RECT& rc, int nWidth, HBRUSH hBrush);
// The icon's size from its mask (halved for a monochrome icon); 32 x 32 when it cannot be read.
void WVPSkinGetIconSize(HICON hIcon, int* pWidth, int* pHeight);
// A bitmap resource as a 32-bit top-down DIB section, or null; bAlpha tells whether the source
// has 32 bits per pixel. The resource is read by the library's validated bitmap reader.
HBITMAP WVPSkinLoadBitmapResource(HMODULE hModule, LPCWSTR lpszName, BOOL& bAlpha);
