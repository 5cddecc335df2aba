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

void WVPSkinDrawFrameColor(HDC hDC, const RECT& rc, int nWidth, COLORREF clr)
{
    int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    WVPSkinFillSolidRectXY(hDC, rc.left, rc.top, cx - nWidth, nWidth, clr);
    WVPSkinFillSolidRectXY(hDC, rc.left, rc.top, nWidth, cy - nWidth, clr);
    WVPSkinFillSolidRectXY(hDC, rc.right - nWidth, rc.top, nWidth, cy, clr);
    WVPSkinFillSolidRectXY(hDC, rc.left, rc.bottom - nWidth, cx, nWidth, clr);
}

void WVPSkinDrawFrameBrush(HDC hDC, const RECT& rc, int nWidth, HBRUSH hBrush)
{
    int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    WVPSkinFillRectXY(hDC, rc.left, rc.top, cx - nWidth, nWidth, hBrush);
    WVPSkinFillRectXY(hDC, rc.left, rc.top, nWidth, cy - nWidth, hBrush);
    WVPSkinFillRectXY(hDC, rc.right - nWidth, rc.top, nWidth, cy, hBrush);
    WVPSkinFillRectXY(hDC, rc.left, rc.bottom - nWidth, cx, nWidth, hBrush);
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
