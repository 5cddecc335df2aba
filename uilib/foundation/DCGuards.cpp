#include "uilib/foundation/DCGuards.h"

CWVPBitmapDC::CWVPBitmapDC(CDC* dc, CBitmap* bitmap)
    : CWVPBitmapDC(dc->GetSafeHdc(), bitmap ? (HBITMAP)bitmap->GetSafeHandle() : nullptr)
{
}

CWVPBitmapDC::CWVPBitmapDC(HDC dc, HBITMAP bitmap) : m_hDC(dc), m_hOldBitmap(nullptr)
{
    if (m_hDC && bitmap)
        m_hOldBitmap = ::SelectObject(m_hDC, bitmap);
}

CWVPBitmapDC::~CWVPBitmapDC()
{
    if (m_hDC && m_hOldBitmap)
        ::SelectObject(m_hDC, m_hOldBitmap);
}

CWVPFontDC::CWVPFontDC(CDC* dc, CFont* font) : m_pDC(dc), m_hOldFont(nullptr), m_clrOldText(CLR_INVALID)
{
    if (font)
        SetFont(font);
}

CWVPFontDC::CWVPFontDC(CDC* dc, CFont* font, COLORREF textColor) : CWVPFontDC(dc, font)
{
    SetColor(textColor);
}

CWVPFontDC::~CWVPFontDC()
{
    if (m_pDC && m_pDC->m_hDC && m_hOldFont)
        ::SelectObject(m_pDC->m_hDC, m_hOldFont);
    if (m_pDC && m_pDC->m_hDC && m_clrOldText != CLR_INVALID)
    {
        ::SetTextColor(m_pDC->m_hDC, m_clrOldText);
        m_clrOldText = CLR_INVALID;
    }
}

void CWVPFontDC::SetFont(CFont* font)
{
    if (!m_pDC || !m_pDC->m_hDC || !font || !font->GetSafeHandle())
        return;
    HGDIOBJ replaced = ::SelectObject(m_pDC->m_hDC, font->GetSafeHandle());
    if (!m_hOldFont)
        m_hOldFont = replaced;
}

void CWVPFontDC::SetColor(COLORREF textColor)
{
    if (!m_pDC || !m_pDC->m_hDC)
        return;
    COLORREF previous = ::SetTextColor(m_pDC->m_hDC, textColor);
    if (m_clrOldText == CLR_INVALID)
        m_clrOldText = previous;
}

CWVPPenDC::CWVPPenDC(CDC* dc, CPen* pen) : m_hDC(dc->GetSafeHdc()), m_hOldPen(nullptr)
{
    if (m_hDC)
        m_hOldPen = pen ? ::SelectObject(m_hDC, pen->GetSafeHandle()) : ::GetCurrentObject(m_hDC, OBJ_PEN);
}

CWVPPenDC::CWVPPenDC(HDC dc) : m_hDC(dc), m_hOldPen(dc ? ::GetCurrentObject(dc, OBJ_PEN) : nullptr)
{
}

CWVPPenDC::CWVPPenDC(HDC dc, COLORREF color) : m_hDC(dc), m_hOldPen(nullptr)
{
    if (!m_hDC)
        return;
    m_hOldPen = ::GetCurrentObject(m_hDC, OBJ_PEN);
    SetColor(color);
}

CWVPPenDC::~CWVPPenDC()
{
    if (m_hDC && m_hOldPen)
        ::SelectObject(m_hDC, m_hOldPen);
    m_pen.DeleteObject();
}

void CWVPPenDC::SetColor(COLORREF color)
{
    if (!m_hDC)
        return;
    if (m_hOldPen)
        ::SelectObject(m_hDC, m_hOldPen);
    m_pen.DeleteObject();
    if (m_pen.CreatePen(PS_SOLID, 1, color))
        ::SelectObject(m_hDC, m_pen.m_hObject);
}

CWVPBrushDC::CWVPBrushDC(HDC dc, COLORREF color) : m_hDC(dc), m_hOldBrush(nullptr)
{
    if (m_hDC && m_brush.CreateSolidBrush(color))
        m_hOldBrush = ::SelectObject(m_hDC, m_brush.m_hObject);
}

CWVPBrushDC::~CWVPBrushDC()
{
    if (m_hDC && m_hOldBrush)
        ::SelectObject(m_hDC, m_hOldBrush);
    m_brush.DeleteObject();
}

CWVPCompatibleDC::CWVPCompatibleDC(CDC* dc, CBitmap* bitmap)
    : CWVPCompatibleDC(dc, bitmap ? (HBITMAP)bitmap->GetSafeHandle() : nullptr)
{
}

CWVPCompatibleDC::CWVPCompatibleDC(CDC* dc, HBITMAP bitmap) : CWVPCompatibleDC(dc->GetSafeHdc(), bitmap)
{
}

CWVPCompatibleDC::CWVPCompatibleDC(HDC dc, HBITMAP bitmap) : m_hOldBitmap(nullptr)
{
    if (Attach(::CreateCompatibleDC(dc)) && bitmap)
        m_hOldBitmap = ::SelectObject(m_hDC, bitmap);
}

CWVPCompatibleDC::~CWVPCompatibleDC()
{
    if (m_hDC && m_hOldBitmap)
        ::SelectObject(m_hDC, m_hOldBitmap);
    DeleteDC();
}
