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

// The skin's DrawEdge: the system function's contract in the skin's edge colours and borders.
BOOL WVPSkinDrawEdge(HDC hDC, LPRECT lpRect, UINT nEdge, UINT nFlags);
// One diagonal pass of an edge; the rectangle shrinks by the block drawn.
BOOL WVPSkinDrawDiagonalEdge(HDC hDC, RECT& rc, UINT nFlags, COLORREF clrTopLeft, COLORREF clrBottomRight);
// Draws a stair of blocks across the rectangle; MAKELONG(block width, block height).
DWORD WVPSkinDrawDiagonalLine(HDC hDC, const RECT& rc, int nDirection, COLORREF clr);
// The skin's DrawFrameControl for size grips, push-button frames and scroll arrows; FALSE for
// anything else, which the system then draws.
BOOL WVPSkinDrawFrameControl(HDC hDC, LPRECT lpRect, UINT nType, UINT nState);
