#include "uilib/markup/MarkupDrawingContext.h"

#include <cstdlib>

#include "uilib/markup/MarkupBrush.h"
#include "uilib/markup/MarkupContext.h"

CWVPMarkupDrawingContext::CWVPMarkupDrawingContext() : m_hDC(::CreateCompatibleDC(nullptr)), m_bOwnsDC(TRUE)
{
    Init();
}

CWVPMarkupDrawingContext::CWVPMarkupDrawingContext(HDC dc) : m_hDC(dc), m_bOwnsDC(FALSE)
{
    Init();
}

void CWVPMarkupDrawingContext::Init()
{
    m_hAttribDC = m_hDC;
    m_pFont = nullptr;
    m_hSavedFont = nullptr;
    m_szWindowExt = {1, 1};
    m_szViewportExt = {1, 1};
    m_ptViewportOrg = {0, 0};
    m_rcClip = {0, 0, 0, 0};
    if (!m_hDC)
        return;
    ::GetWindowExtEx(m_hDC, &m_szWindowExt);
    ::GetViewportExtEx(m_hDC, &m_szViewportExt);
    ::GetViewportOrgEx(m_hDC, &m_ptViewportOrg);
    RefreshClipBox();
    ::SetBkMode(m_hDC, TRANSPARENT);
}

CWVPMarkupDrawingContext::~CWVPMarkupDrawingContext()
{
    SetFont(nullptr);
    if (m_pFont)
        m_pFont->Release();
    if (m_bOwnsDC && m_hDC)
        ::DeleteDC(m_hDC);
}

BOOL CWVPMarkupDrawingContext::IsUncachedContext() const
{
    return FALSE;
}

void CWVPMarkupDrawingContext::DrawTextLine(LPCWSTR text, int length, const RECT* rect)
{
    ::ExtTextOutW(m_hDC, rect->left, rect->top, 0, rect, text, (UINT)length, nullptr);
}

HGDIOBJ CWVPMarkupDrawingContext::SelectFontObject(HGDIOBJ font)
{
    HGDIOBJ previous = nullptr;
    if (m_hDC != m_hAttribDC)
        previous = ::SelectObject(m_hDC, font);
    if (m_hAttribDC)
        previous = ::SelectObject(m_hAttribDC, font);
    return previous;
}

void CWVPMarkupDrawingContext::SetViewportOrg(POINT origin)
{
    ::SetViewportOrgEx(m_hDC, origin.x, origin.y, nullptr);
}

void CWVPMarkupDrawingContext::SetFont(CWVPMarkupFont* font)
{
    if (!m_hDC || font == m_pFont)
        return;
    if (!font)
    {
        if (m_hSavedFont)
        {
            SelectFontObject(m_hSavedFont);
            m_hSavedFont = nullptr;
        }
    }
    else
    {
        HGDIOBJ previous = SelectFontObject(font->GetHandle());
        if (!m_hSavedFont)
            m_hSavedFont = previous;
        font->AddRef();
    }
    if (m_pFont)
        m_pFont->Release();
    m_pFont = font;
}

SIZE CWVPMarkupDrawingContext::GetTextExtent(LPCWSTR text, int length) const
{
    SIZE size = {0, 0};
    if (m_hAttribDC && text && length > 0)
        ::GetTextExtentPoint32W(m_hAttribDC, text, length, &size);
    return size;
}

void CWVPMarkupDrawingContext::RefreshClipBox()
{
    if (m_hDC)
        ::GetClipBox(m_hDC, &m_rcClip);
}

POINT CWVPMarkupDrawingContext::OffsetViewport(POINT offset)
{
    POINT previous = m_ptViewportOrg;
    int wx = std::abs(m_szWindowExt.cx), wy = std::abs(m_szWindowExt.cy);
    int dx = wx ? ::MulDiv(offset.x, std::abs(m_szViewportExt.cx), wx) : offset.x;
    int dy = wy ? ::MulDiv(offset.y, std::abs(m_szViewportExt.cy), wy) : offset.y;
    m_ptViewportOrg.x += dx;
    m_ptViewportOrg.y += dy;
    SetViewportOrg(m_ptViewportOrg);
    RefreshClipBox();
    return previous;
}

void CWVPMarkupDrawingContext::RestoreViewport(POINT origin)
{
    m_ptViewportOrg = origin;
    SetViewportOrg(origin);
    RefreshClipBox();
}

HRGN CWVPMarkupDrawingContext::GetClipRegion()
{
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    if (!region)
        return nullptr;
    if (::GetClipRgn(m_hDC, region) != 1)
    {
        ::DeleteObject(region);
        return NoClipRegion();
    }
    return region;
}

void CWVPMarkupDrawingContext::IntersectClip(const RECT& rect)
{
    ::IntersectClipRect(m_hDC, rect.left, rect.top, rect.right, rect.bottom);
    RefreshClipBox();
}

void CWVPMarkupDrawingContext::RestoreClipRegion(HRGN region)
{
    if (!region)
        return;
    if (region == NoClipRegion())
        ::ExtSelectClipRgn(m_hDC, nullptr, RGN_COPY);
    else
    {
        ::ExtSelectClipRgn(m_hDC, region, RGN_COPY);
        ::DeleteObject(region);
    }
    RefreshClipBox();
}

void CWVPMarkupDrawingContext::FillRect(CWVPMarkupBrush* brush, RECT rect)
{
    if (brush)
        brush->FillRect(this, rect);
}

void CWVPMarkupDrawingContext::DrawFrame(CWVPMarkupBrush* brush, RECT r)
{
    FillRect(brush, {r.left, r.top, r.right, r.top + 1});
    FillRect(brush, {r.left, r.top, r.left + 1, r.bottom});
    FillRect(brush, {r.left, r.bottom - 1, r.right, r.bottom});
    FillRect(brush, {r.right - 1, r.top, r.right, r.bottom});
}

void CWVPMarkupDrawingContext::FillSolidRect(RECT rect, COLORREF color)
{
    CWVPMarkupSolidColorBrush* brush = new CWVPMarkupSolidColorBrush(color);
    FillRect(brush, rect);
    brush->Release();
}
