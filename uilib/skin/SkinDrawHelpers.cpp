#include "uilib/skin/SkinDrawHelpers.h"

#include "uilib/foundation/DibReader.h"

namespace
{

const int kDefaultIconSize = 32;

} // namespace

BOOL WVPSkinFillSolidRect(HDC hDC, const RECT& rc, COLORREF clr)
{
    COLORREF old = ::SetBkColor(hDC, clr);
    ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    ::SetBkColor(hDC, old);
    return TRUE;
}

BOOL WVPSkinFillSolidRectXY(HDC hDC, int x, int y, int cx, int cy, COLORREF clr)
{
    RECT rc = {x, y, x + cx, y + cy};
    return WVPSkinFillSolidRect(hDC, rc, clr);
}

BOOL WVPSkinFillRectXY(HDC hDC, int x, int y, int cx, int cy, HBRUSH hBrush)
{
    RECT rc = {x, y, x + cx, y + cy};
    return ::FillRect(hDC, &rc, hBrush) != 0;
}

namespace
{

// The four bands of a frame of width w inside the rectangle, each handed to the fill.
template <class Fill> void ForEachFrameBand(const RECT& rc, int w, Fill fill)
{
    int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    fill(rc.left, rc.top, cx - w, w);
    fill(rc.left, rc.top, w, cy - w);
    fill(rc.right - w, rc.top, w, cy);
    fill(rc.left, rc.bottom - w, cx, w);
}

} // namespace

void WVPSkinDrawFrameColor(HDC hDC, const RECT& rc, int nWidth, COLORREF clr)
{
    ForEachFrameBand(rc, nWidth, [&](int x, int y, int cx, int cy) { WVPSkinFillSolidRectXY(hDC, x, y, cx, cy, clr); });
}

void WVPSkinDrawFrameBrush(HDC hDC, const RECT& rc, int nWidth, HBRUSH hBrush)
{
    ForEachFrameBand(rc, nWidth, [&](int x, int y, int cx, int cy) { WVPSkinFillRectXY(hDC, x, y, cx, cy, hBrush); });
}

void WVPSkinGetIconSize(HICON hIcon, int* pWidth, int* pHeight)
{
    int width = kDefaultIconSize, height = kDefaultIconSize;
    ICONINFO info = {};
    if (hIcon && ::GetIconInfo(hIcon, &info))
    {
        BITMAP mask = {};
        if (info.hbmMask && ::GetObjectW(info.hbmMask, sizeof mask, &mask))
        {
            width = mask.bmWidth;
            height = info.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
        }
        if (info.hbmMask)
            ::DeleteObject(info.hbmMask);
        if (info.hbmColor)
            ::DeleteObject(info.hbmColor);
    }
    if (pWidth)
        *pWidth = width;
    if (pHeight)
        *pHeight = height;
}

HBITMAP WVPSkinLoadBitmapResource(HMODULE hModule, LPCWSTR lpszName, BOOL& bAlpha)
{
    bAlpha = FALSE;
    CWVPDibImage image;
    if (!CWVPDibReader::ReadResource(hModule, lpszName, image))
        return nullptr;
    bAlpha = image.hasAlphaChannel;
    return CWVPDibReader::CreateDibSection(image);
}
