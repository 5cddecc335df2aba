#include "uilib/skin/SkinImage.h"

#include "uilib/foundation/DibReader.h"
#include "uilib/skin/SkinDCGuards.h"
#include "uilib/skin/SkinDrawHelpers.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinSchemaNames.h"

#include <algorithm>

namespace
{

const int kTileVertical = 1;
const int kTileHorizontal = 2;
const int kTileBoth = kTileVertical | kTileHorizontal;
const BYTE kOpaque = 255;

int Width(const RECT& rc)
{
    return rc.right - rc.left;
}

int Height(const RECT& rc)
{
    return rc.bottom - rc.top;
}

COLORREF PixelColour(DWORD pixel)
{
    return RGB(BYTE(pixel >> 16), BYTE(pixel >> 8), BYTE(pixel));
}

} // namespace

CWVPSkinImage::CWVPSkinImage(CWVPSkinManager* pManager) : m_pManager(pManager)
{
}

CWVPSkinImage::~CWVPSkinImage()
{
    Reset();
}

void CWVPSkinImage::Reset()
{
    if (m_hBitmap)
        ::DeleteObject(m_hBitmap);
    m_hBitmap = nullptr;
    m_pBits = nullptr;
    m_bAlpha = FALSE;
    m_bFiltered = m_bMirrored = m_bSolidRectsDone = false;
    m_nWidth = m_nHeight = 0;
    m_arrSolidRects.clear();
}

BOOL CWVPSkinImage::LoadFile(LPCWSTR lpszPath)
{
    CWVPDibImage dib;
    if (!CWVPDibReader::ReadFile(lpszPath, dib))
        return FALSE;
    return SetBitmap(CWVPDibReader::CreateDibSection(dib), dib.hasAlphaChannel);
}

BOOL CWVPSkinImage::LoadResource(HMODULE hModule, LPCWSTR lpszName)
{
    if (!hModule)
        return FALSE;
    BOOL bAlpha = FALSE;
    HBITMAP hBitmap = WVPSkinLoadBitmapResource(hModule, lpszName, bAlpha);
    return SetBitmap(hBitmap, bAlpha);
}

BOOL CWVPSkinImage::SetBitmap(HBITMAP hBitmap, BOOL bHasAlpha)
{
    Reset();
    DIBSECTION section = {};
    if (!hBitmap || ::GetObjectW(hBitmap, sizeof section, &section) != sizeof section ||
        section.dsBm.bmBitsPixel != 32 || !section.dsBm.bmBits)
    {
        if (hBitmap)
            ::DeleteObject(hBitmap);
        return FALSE;
    }
    m_hBitmap = hBitmap;
    m_pBits = static_cast<DWORD*>(section.dsBm.bmBits);
    m_nWidth = section.dsBm.bmWidth;
    m_nHeight = section.dsBm.bmHeight;
    size_t count = size_t(m_nWidth) * size_t(m_nHeight);
    // Alpha counts only when some pixel is neither clear nor opaque throughout: a 32-bit bitmap
    // whose alpha bytes are all 0 or all 255 is an opaque picture.
    bool anyClear = false, anyOpaque = false, anyPartial = false;
    for (size_t i = 0; bHasAlpha && i < count; ++i)
    {
        BYTE a = BYTE(m_pBits[i] >> 24);
        anyClear |= a == 0, anyOpaque |= a == kOpaque, anyPartial |= a != 0 && a != kOpaque;
    }
    m_bAlpha = bHasAlpha && (anyPartial || (anyClear && anyOpaque));
    const CWVPSkinManagerSchema* schema = m_pManager ? m_pManager->GetSchema() : nullptr;
    bool premultiply = m_bAlpha && (!schema || schema->IsAlphaConversion());
    for (size_t i = 0; i < count; ++i)
    {
        DWORD p = m_pBits[i];
        if (!m_bAlpha)
            m_pBits[i] = p & 0x00FFFFFF;
        else if (premultiply)
        {
            DWORD a = p >> 24;
            auto mul = [a](DWORD c) { return (c * a + 127) / 255; };
            m_pBits[i] = a << 24 | mul(p >> 16 & 0xFF) << 16 | mul(p >> 8 & 0xFF) << 8 | mul(p & 0xFF);
        }
    }
    ::GdiFlush();
    return TRUE;
}

BOOL CWVPSkinImage::IsSolid(const RECT& rc, DWORD& value) const
{
    if (rc.left >= rc.right || rc.top >= rc.bottom || rc.left < 0 || rc.top < 0 || rc.right > m_nWidth ||
        rc.bottom > m_nHeight)
        return FALSE;
    value = m_pBits[size_t(rc.top) * m_nWidth + rc.left];
    for (int y = rc.top; y < rc.bottom; ++y)
    {
        const DWORD* row = m_pBits + size_t(y) * m_nWidth;
        for (int x = rc.left; x < rc.right; ++x)
            if (row[x] != value)
                return FALSE;
    }
    return TRUE;
}

void CWVPSkinImage::CreateSolidRectArray(int nStateCount, BOOL bHorizontalImage, const RECT& rcSizingMargins)
{
    if (!m_hBitmap || nStateCount < 1 || m_bSolidRectsDone || m_bFiltered)
        return;
    m_bSolidRectsDone = true;
    m_arrSolidRects.clear();
    if (nStateCount == 1)
        bHorizontalImage = FALSE;
    if (bHorizontalImage)
        return;
    ::GdiFlush();
    auto record = [this](const RECT& rc) {
        DWORD value;
        if (!IsSolid(rc, value))
            return false;
        COLORREF clr = PixelColour(value) | (m_bAlpha ? value & 0xFF000000 : 0);
        m_arrSolidRects.push_back({rc, clr});
        return true;
    };
    const RECT& m = rcSizingMargins;
    bool hasMargins = m.left || m.top || m.right || m.bottom;
    int stateHeight = m_nHeight / nStateCount;
    for (int s = 0; s < nStateCount; ++s)
    {
        int top = s * stateHeight, bottom = top + stateHeight;
        if (record({0, top, m_nWidth, bottom}) || !hasMargins)
            continue;
        record({0, top + m.top, m.left, bottom - m.bottom});                    // left edge
        record({m.left, top, m_nWidth - m.right, top + m.top});                 // top edge
        record({m_nWidth - m.right, top + m.top, m_nWidth, bottom - m.bottom}); // right edge
        record({m.left, bottom - m.bottom, m_nWidth - m.right, bottom});        // bottom edge
        record({m.left, top + m.top, m_nWidth - m.right, bottom - m.bottom});   // centre
    }
}

void CWVPSkinImage::FilterImage(COLORREF clrKey)
{
    if (!m_hBitmap || m_bFiltered)
        return;
    m_bFiltered = true;
    if (!m_pManager || !m_pManager->HasColorFilters())
        return;
    ::GdiFlush();
    size_t count = size_t(m_nWidth) * size_t(m_nHeight);
    for (size_t i = 0; i < count; ++i)
    {
        DWORD p = m_pBits[i];
        COLORREF clr = PixelColour(p);
        if (clr == clrKey)
            continue;
        m_pManager->ApplyColorFilters(clr);
        m_pBits[i] = (p & 0xFF000000) | DWORD(GetRValue(clr)) << 16 | DWORD(GetGValue(clr)) << 8 | GetBValue(clr);
    }
}

void CWVPSkinImage::MirrorImage()
{
    if (!m_hBitmap)
        return;
    ::GdiFlush();
    for (int y = 0; y < m_nHeight; ++y)
        std::reverse(m_pBits + size_t(y) * m_nWidth, m_pBits + size_t(y + 1) * m_nWidth);
    m_bMirrored = !m_bMirrored;
}

const CWVPSkinImage::SOLIDRECT* CWVPSkinImage::FindSolidRect(const RECT& rcSrc) const
{
    for (const SOLIDRECT& solid : m_arrSolidRects)
        if (rcSrc.left >= solid.rc.left && rcSrc.top >= solid.rc.top && rcSrc.right <= solid.rc.right &&
            rcSrc.bottom <= solid.rc.bottom && rcSrc.left < rcSrc.right && rcSrc.top < rcSrc.bottom)
            return &solid;
    return nullptr;
}

BOOL CWVPSkinImage::FillSolid(HDC hDC, const RECT& rcDest, const SOLIDRECT& solid, COLORREF clrTransparent)
{
    COLORREF clr = solid.clr & 0x00FFFFFF;
    if (m_pManager)
        m_pManager->ApplyColorFilters(clr);
    if (m_bAlpha)
    {
        BYTE alpha = BYTE(solid.clr >> 24);
        if (alpha == 0)
            return TRUE;
        if (alpha != kOpaque)
            return FALSE;
    }
    else if (clr == clrTransparent)
        return TRUE;
    WVPSkinFillSolidRect(hDC, rcDest, clr);
    return TRUE;
}

void CWVPSkinImage::DrawImage(HDC hDC, const RECT& rcDest, const RECT& rcSrc, const RECT& rcSizingMargins,
                              COLORREF clrTransparent, int nSizingType, BOOL bBorderOnly)
{
    if (Height(rcSrc) < rcSizingMargins.top + rcSizingMargins.bottom)
        return;
    if (const SOLIDRECT* solid = FindSolidRect(rcSrc))
        if (FillSolid(hDC, rcDest, *solid, clrTransparent))
            return;
    if (clrTransparent == CLR_INVALID || m_bAlpha)
    {
        DrawImagePart(hDC, rcDest, rcSrc, rcSizingMargins, nSizingType, bBorderOnly);
        return;
    }
    // Drawn into a buffer filled with the transparent colour, then copied without that colour.
    FilterImage(clrTransparent);
    int width = Width(rcDest), height = Height(rcDest);
    if (width <= 0 || height <= 0)
        return;
    HBITMAP buffer = ::CreateCompatibleBitmap(hDC, width, height);
    if (!buffer)
        return;
    {
        CWVPSkinSelectedBitmapDC bufferDC(hDC, buffer);
        RECT whole = {0, 0, width, height};
        WVPSkinFillSolidRect(bufferDC, whole, clrTransparent);
        DrawImagePart(bufferDC, whole, rcSrc, rcSizingMargins, nSizingType, bBorderOnly);
        ::GdiTransparentBlt(hDC, rcDest.left, rcDest.top, width, height, bufferDC, 0, 0, width, height, clrTransparent);
    }
    ::DeleteObject(buffer);
}

void CWVPSkinImage::DrawImagePart(HDC hDC, const RECT& rcDest, const RECT& rcSrc, const RECT& rcSizingMargins,
                                  int nSizingType, BOOL bBorderOnly)
{
    const RECT& sm = rcSizingMargins;
    int destW = Width(rcDest), destH = Height(rcDest), srcW = Width(rcSrc), srcH = Height(rcSrc);
    if (!m_hBitmap || srcH < sm.top + sm.bottom || destW <= 0 || destH <= 0)
        return;
    FilterImage(CLR_INVALID);
    int oldStretch = ::SetStretchBltMode(hDC, COLORONCOLOR);
    int tile = nSizingType == kSkinSizingTile ? kTileBoth : 0;

    bool rtl = (::GetLayout(hDC) & LAYOUT_RTL) != 0;
    if (m_bMirrorAllowed && m_bAlpha && m_bMirrored != rtl)
        MirrorImage();
    CWVPSkinSelectedBitmapDC srcDC(hDC, m_hBitmap);
    if (m_bMirrorAllowed && !m_bAlpha && rtl)
        ::SetLayout(srcDC, 0);

    if (!sm.left && !sm.top && !sm.right && !sm.bottom)
    {
        DrawImageTile(hDC, rcDest, srcDC, rcSrc, tile);
        ::SetStretchBltMode(hDC, oldStretch);
        return;
    }
    RECT dm = sm;
    int vertical = sm.top + sm.bottom, horizontal = sm.left + sm.right;
    if (vertical > 0 && (vertical >= destH || srcH == vertical))
    {
        dm.top = ::MulDiv(destH, sm.top, vertical);
        dm.bottom = destH - dm.top;
        if (dm.bottom > 0 && (dm.bottom & 1) != (sm.bottom & 1))
            ++dm.bottom; // the two parts then share a row
        tile = tile ? kTileHorizontal : 0;
    }
    if (horizontal > 0 && (horizontal >= destW || srcW == horizontal))
    {
        dm.left = ::MulDiv(destW, sm.left, horizontal);
        dm.right = destW - dm.left;
        if (tile)
            tile &= ~kTileHorizontal;
    }
    const int sx[4] = {rcSrc.left, rcSrc.left + sm.left, rcSrc.right - sm.right, rcSrc.right};
    const int sy[4] = {rcSrc.top, rcSrc.top + sm.top, rcSrc.bottom - sm.bottom, rcSrc.bottom};
    const int dx[4] = {rcDest.left, rcDest.left + dm.left, rcDest.right - dm.right, rcDest.right};
    const int dy[4] = {rcDest.top, rcDest.top + dm.top, rcDest.bottom - dm.bottom, rcDest.bottom};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
        {
            RECT dst = {dx[col], dy[row], dx[col + 1], dy[row + 1]};
            RECT src = {sx[col], sy[row], sx[col + 1], sy[row + 1]};
            bool corner = row != 1 && col != 1;
            if (corner)
                BltImagePart(hDC, dst, srcDC, src);
            else if (!(row == 1 && col == 1 && bBorderOnly))
                DrawImageTile(hDC, dst, srcDC, src, tile);
        }
    ::SetStretchBltMode(hDC, oldStretch);
}

void CWVPSkinImage::DrawImageTile(HDC hDC, const RECT& rcDest, HDC hSrcDC, const RECT& rcSrc, int nTileFlags)
{
    int destW = Width(rcDest), destH = Height(rcDest), srcW = Width(rcSrc), srcH = Height(rcSrc);
    if (destW <= 0 || destH <= 0 || srcW <= 0 || srcH <= 0)
        return;
    if (const SOLIDRECT* solid = FindSolidRect(rcSrc))
        if (FillSolid(hDC, rcDest, *solid, CLR_INVALID))
            return;
    if (!nTileFlags || (srcW == 1 && (srcH == 1 || srcH == destH)) || (srcH == 1 && (srcW == 1 || srcW == destW)))
    {
        BltImagePart(hDC, rcDest, hSrcDC, rcSrc);
        return;
    }
    bool tileDown = (nTileFlags & kTileVertical) && srcH < destH;
    bool tileAcross = (nTileFlags & kTileHorizontal) && srcW < destW;
    int stepY = tileDown ? srcH : destH, stepX = tileAcross ? srcW : destW;
    for (int x = rcDest.left; x < rcDest.right; x += stepX)
        for (int y = rcDest.top; y < rcDest.bottom; y += stepY)
        {
            RECT dst = {x, y, std::min<int>(x + stepX, rcDest.right), std::min<int>(y + stepY, rcDest.bottom)};
            RECT src = rcSrc;
            if (tileAcross)
                src.right -= x + stepX - dst.right;
            if (tileDown)
                src.bottom -= y + stepY - dst.bottom;
            BltImagePart(hDC, dst, hSrcDC, src);
        }
}

void CWVPSkinImage::BltImagePart(HDC hDC, const RECT& rcDest, HDC hSrcDC, const RECT& rcSrc)
{
    int destW = Width(rcDest), destH = Height(rcDest), srcW = Width(rcSrc), srcH = Height(rcSrc);
    if (destW <= 0 || destH <= 0 || srcW <= 0 || srcH <= 0)
        return;
    if (m_bAlpha)
    {
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, kOpaque, AC_SRC_ALPHA};
        ::GdiAlphaBlend(hDC, rcDest.left, rcDest.top, destW, destH, hSrcDC, rcSrc.left, rcSrc.top, srcW, srcH, blend);
    }
    else if (destW == srcW && destH == srcH)
        ::BitBlt(hDC, rcDest.left, rcDest.top, destW, destH, hSrcDC, rcSrc.left, rcSrc.top, SRCCOPY);
    else
        ::StretchBlt(hDC, rcDest.left, rcDest.top, destW, destH, hSrcDC, rcSrc.left, rcSrc.top, srcW, srcH, SRCCOPY);
}
