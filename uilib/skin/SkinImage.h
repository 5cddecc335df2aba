#pragma once
// One skin bitmap: loaded from a file or a module resource as a 32-bit picture, passed once
// through the skin manager's colour filters, scanned for flat rectangles (filled instead of
// blitted) and drawn into any rectangle with sizing margins, stretching or tiling, a transparent
// colour and right-to-left mirroring. Owned by a skin class's image cache.
#include <windows.h>

#include <vector>

class CWVPSkinManager;

class CWVPSkinImage
{
  public:
    // A flat area of the picture, in image pixels, and its colour (alpha in the top byte for
    // alpha images, 0 there for opaque ones).
    struct SOLIDRECT
    {
        RECT rc;
        COLORREF clr;
    };

    explicit CWVPSkinImage(CWVPSkinManager* pManager);
    virtual ~CWVPSkinImage();
    CWVPSkinImage(const CWVPSkinImage&) = delete;
    CWVPSkinImage& operator=(const CWVPSkinImage&) = delete;

    BOOL LoadFile(LPCWSTR lpszPath);
    BOOL LoadResource(HMODULE hModule, LPCWSTR lpszName);
    // Takes a 32-bit top-down DIB section (as CWVPDibReader::CreateDibSection makes); the alpha flag says whether its
    // alpha bytes count.
    BOOL SetBitmap(HBITMAP hBitmap, BOOL bHasAlpha);

    SIZE GetExtent() const
    {
        return {m_nWidth, m_nHeight};
    }
    int GetWidth() const
    {
        return m_nWidth;
    }
    int GetHeight() const
    {
        return m_nHeight;
    }
    BOOL IsAlphaImage() const
    {
        return m_bAlpha;
    }
    HBITMAP GetBitmap() const
    {
        return m_hBitmap;
    }
    const std::vector<SOLIDRECT>& GetSolidRects() const
    {
        return m_arrSolidRects;
    }

    // Finds the flat rectangles of each state (vertical layout only), once per image.
    void CreateSolidRectArray(int nStateCount, BOOL bHorizontalImage, const RECT& rcSizingMargins);
    // Draws the source rectangle into the destination: the margins (left, top, right, bottom
    // widths) keep their size, the rest is stretched or, with sizing type 2, tiled.
    void DrawImage(HDC hDC, const RECT& rcDest, const RECT& rcSrc, const RECT& rcSizingMargins, COLORREF clrTransparent,
                   int nSizingType, BOOL bBorderOnly);

    bool m_bMirrorAllowed = true;

  protected:
    void Reset();
    // Passes every pixel but the key colour through the manager's colour filters, once.
    void FilterImage(COLORREF clrKey);
    void MirrorImage();
    void DrawImagePart(HDC hDC, const RECT& rcDest, const RECT& rcSrc, const RECT& rcSizingMargins, int nSizingType,
                       BOOL bBorderOnly);
    void DrawImageTile(HDC hDC, const RECT& rcDest, HDC hSrcDC, const RECT& rcSrc, int nTileFlags);
    void BltImagePart(HDC hDC, const RECT& rcDest, HDC hSrcDC, const RECT& rcSrc);
    // The colour of a recorded flat rectangle that holds the whole source rectangle.
    const SOLIDRECT* FindSolidRect(const RECT& rcSrc) const;
    // Fills with a recorded flat colour; FALSE when the part must be drawn from the picture.
    BOOL FillSolid(HDC hDC, const RECT& rcDest, const SOLIDRECT& solid, COLORREF clrTransparent);
    BOOL IsSolid(const RECT& rc, DWORD& value) const;

    CWVPSkinManager* m_pManager;
    HBITMAP m_hBitmap = nullptr;
    DWORD* m_pBits = nullptr; // top-down rows of blue, green, red, alpha
    BOOL m_bAlpha = FALSE;
    bool m_bFiltered = false;
    bool m_bMirrored = false;
    bool m_bSolidRectsDone = false;
    int m_nWidth = 0;
    int m_nHeight = 0;
    std::vector<SOLIDRECT> m_arrSolidRects;
};
