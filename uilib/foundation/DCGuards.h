// Guards that select one GDI object into a device context for their lifetime and put back what was
// there before: a bitmap, a font (and text colour), a pen, a brush, and a memory DC with a bitmap.
// All are automatic objects of painting code.
#pragma once

#include <windows.h>

#include "platform/mfc/Bitmap.h"
#include "platform/mfc/Brush.h"
#include "platform/mfc/DC.h"
#include "platform/mfc/Font.h"
#include "platform/mfc/Pen.h"

class CWVPBitmapDC
{
  public:
    CWVPBitmapDC(CDC* dc, CBitmap* bitmap);
    CWVPBitmapDC(HDC dc, HBITMAP bitmap);
    virtual ~CWVPBitmapDC();
    CWVPBitmapDC(const CWVPBitmapDC&) = delete;
    CWVPBitmapDC& operator=(const CWVPBitmapDC&) = delete;

  private:
    HDC m_hDC;
    HGDIOBJ m_hOldBitmap;
};

class CWVPFontDC
{
  public:
    explicit CWVPFontDC(CDC* dc, CFont* font = nullptr);
    CWVPFontDC(CDC* dc, CFont* font, COLORREF textColor);
    virtual ~CWVPFontDC();
    CWVPFontDC(const CWVPFontDC&) = delete;
    CWVPFontDC& operator=(const CWVPFontDC&) = delete;

    // Selects another font; the guard still restores the font that was there before it.
    void SetFont(CFont* font);
    void SetColor(COLORREF textColor);

  private:
    CDC* m_pDC;
    HGDIOBJ m_hOldFont;
    COLORREF m_clrOldText;
};

class CWVPPenDC
{
  public:
    CWVPPenDC(CDC* dc, CPen* pen);
    // Only remembers the pen selected now and puts it back at the end.
    explicit CWVPPenDC(HDC dc);
    CWVPPenDC(HDC dc, COLORREF color);
    virtual ~CWVPPenDC();
    CWVPPenDC(const CWVPPenDC&) = delete;
    CWVPPenDC& operator=(const CWVPPenDC&) = delete;

    // Replaces the guard's own pen by a solid one-pixel pen of the colour.
    void SetColor(COLORREF color);

  private:
    HDC m_hDC;
    CPen m_pen;
    HGDIOBJ m_hOldPen;
};

class CWVPBrushDC
{
  public:
    CWVPBrushDC(HDC dc, COLORREF color);
    virtual ~CWVPBrushDC();
    CWVPBrushDC(const CWVPBrushDC&) = delete;
    CWVPBrushDC& operator=(const CWVPBrushDC&) = delete;

  private:
    HDC m_hDC;
    CBrush m_brush;
    HGDIOBJ m_hOldBrush;
};

class CWVPCompatibleDC : public CDC
{
  public:
    // A memory DC compatible with dc (the screen when null) with the bitmap selected.
    CWVPCompatibleDC(CDC* dc, CBitmap* bitmap);
    CWVPCompatibleDC(CDC* dc, HBITMAP bitmap);
    CWVPCompatibleDC(HDC dc, HBITMAP bitmap);
    ~CWVPCompatibleDC() override;
    CWVPCompatibleDC(const CWVPCompatibleDC&) = delete;
    CWVPCompatibleDC& operator=(const CWVPCompatibleDC&) = delete;

    // The bitmap is selected (a bitmap cannot be selected into two DCs at once).
    BOOL HasBitmap() const
    {
        return m_hOldBitmap != nullptr;
    }

  private:
    HGDIOBJ m_hOldBitmap;
};
