#include "platform/mfc/DC.h"

#include "platform/mfc/ThreadState.h"
#include "platform/mfc/Wnd.h"

IMPLEMENT_DYNCREATE(CDC, CObject)

namespace
{
void BindDC(CDC* dc, HDC handle)
{
    dc->m_hDC = dc->m_hAttribDC = handle;
}

CHandleMap<CDC, HDC>* DCMap(bool create)
{
    return AfxThreadHandleMap<CDC, HDC, BindDC>(AfxGetThreadState()->m_pmapHDC, create);
}
}

CDC::~CDC()
{
    if (AfxWindowLayerTerminated())
        m_hDC = m_hAttribDC = nullptr;
    if (m_hDC)
        ::DeleteDC(Detach());
}

CWnd* CDC::GetWindow() const
{
    return CWnd::FromHandle(::WindowFromDC(m_hDC));
}

CDC* PASCAL CDC::FromHandle(HDC handle)
{
    return DCMap(true)->FromHandle(handle);
}

void PASCAL CDC::DeleteTempMap()
{
    if (auto* map = DCMap(false))
        map->DeleteTemp();
}

BOOL CDC::Attach(HDC handle)
{
    if (!handle)
        return FALSE;
    m_hDC = handle;
    SetAttribDC(handle);
    DCMap(true)->SetPermanent(handle, this);
    return TRUE;
}

HDC CDC::Detach()
{
    HDC handle = m_hDC;
    if (handle)
    {
        if (auto* map = DCMap(false))
            map->RemoveHandle(handle, this);
    }
    ReleaseAttribDC();
    ReleaseOutputDC();
    return handle;
}

BOOL CDC::CreateDC(LPCWSTR driver, LPCWSTR device, LPCWSTR output, const void* initData)
{
    return Attach(::CreateDCW(driver, device, output, (const DEVMODEW*)initData));
}

BOOL CDC::CreateIC(LPCWSTR driver, LPCWSTR device, LPCWSTR output, const void* initData)
{
    return Attach(::CreateICW(driver, device, output, (const DEVMODEW*)initData));
}

BOOL CDC::CreateCompatibleDC(CDC* dc)
{
    return Attach(::CreateCompatibleDC(dc->GetSafeHdc()));
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

int CDC::SaveDC()
{
    int saved = 0;
    if (m_hAttribDC)
        saved = ::SaveDC(m_hAttribDC);
    if (m_hDC != m_hAttribDC && ::SaveDC(m_hDC) != 0)
        saved = -1; // a split context can only be restored to its latest state
    return saved;
}

BOOL CDC::RestoreDC(int savedDC)
{
    BOOL ok = TRUE;
    if (m_hDC != m_hAttribDC)
        ok = ::RestoreDC(m_hDC, savedDC);
    if (m_hAttribDC)
        ok = ::RestoreDC(m_hAttribDC, savedDC) && ok;
    return ok;
}

CGdiObject* PASCAL CDC::SelectGdiObject(HDC dc, HGDIOBJ object)
{
    if (!dc || !object)
        return nullptr;
    return CGdiObject::FromHandle(::SelectObject(dc, object));
}

HGDIOBJ CDC::SelectObject(HGDIOBJ object)
{
    HGDIOBJ previous = nullptr;
    if (m_hDC != m_hAttribDC && m_hDC)
        previous = ::SelectObject(m_hDC, object);
    if (m_hAttribDC)
        previous = ::SelectObject(m_hAttribDC, object);
    return previous;
}

CGdiObject* CDC::SelectObject(CGdiObject* object)
{
    if (!object)
        return nullptr;
    return CGdiObject::FromHandle(SelectObject(object->m_hObject));
}

CPen* CDC::SelectObject(CPen* pen)
{
    return static_cast<CPen*>(SelectObject(static_cast<CGdiObject*>(pen)));
}

CBrush* CDC::SelectObject(CBrush* brush)
{
    return static_cast<CBrush*>(SelectObject(static_cast<CGdiObject*>(brush)));
}

CFont* CDC::SelectObject(CFont* font)
{
    return static_cast<CFont*>(SelectObject(static_cast<CGdiObject*>(font)));
}

CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    return static_cast<CBitmap*>(SelectObject(static_cast<CGdiObject*>(bitmap)));
}

int CDC::SelectObject(CRgn* region)
{
    // Selecting a region sets the clipping region and answers its complexity.
    return (int)(INT_PTR)SelectObject((HGDIOBJ)region->GetSafeHandle());
}

CGdiObject* CDC::SelectStockObject(int index)
{
    HGDIOBJ stock = ::GetStockObject(index);
    return stock ? CGdiObject::FromHandle(SelectObject(stock)) : nullptr;
}

CPalette* CDC::SelectPalette(CPalette* palette, BOOL forceBackground)
{
    return CPalette::FromHandle(::SelectPalette(m_hDC, (HPALETTE)palette->GetSafeHandle(), forceBackground));
}

COLORREF CDC::SetBkColor(COLORREF color)
{
    COLORREF previous = CLR_INVALID;
    if (m_hDC != m_hAttribDC && m_hDC)
        previous = ::SetBkColor(m_hDC, color);
    if (m_hAttribDC)
        previous = ::SetBkColor(m_hAttribDC, color);
    return previous;
}

COLORREF CDC::SetTextColor(COLORREF color)
{
    COLORREF previous = CLR_INVALID;
    if (m_hDC != m_hAttribDC && m_hDC)
        previous = ::SetTextColor(m_hDC, color);
    if (m_hAttribDC)
        previous = ::SetTextColor(m_hAttribDC, color);
    return previous;
}

// Applies a setter to the output and the attribute context, answering the attribute's old value.
#define RW_DC_BOTH(call)                                                                                              \
    int previous = 0;                                                                                                 \
    if (m_hDC != m_hAttribDC && m_hDC)                                                                                \
        previous = call(m_hDC, value);                                                                                \
    if (m_hAttribDC)                                                                                                  \
        previous = call(m_hAttribDC, value);                                                                          \
    return previous

int CDC::SetBkMode(int value)
{
    RW_DC_BOTH(::SetBkMode);
}

int CDC::SetROP2(int value)
{
    RW_DC_BOTH(::SetROP2);
}

int CDC::SetPolyFillMode(int value)
{
    RW_DC_BOTH(::SetPolyFillMode);
}

int CDC::SetStretchBltMode(int value)
{
    RW_DC_BOTH(::SetStretchBltMode);
}

int CDC::SetMapMode(int value)
{
    RW_DC_BOTH(::SetMapMode);
}

UINT CDC::SetTextAlign(UINT value)
{
    RW_DC_BOTH(::SetTextAlign);
}

#undef RW_DC_BOTH

CPoint CDC::GetBrushOrg() const
{
    POINT p = {0, 0};
    ::GetBrushOrgEx(m_hDC, &p);
    return p;
}

CPoint CDC::SetBrushOrg(int x, int y)
{
    POINT p = {0, 0};
    ::SetBrushOrgEx(m_hDC, x, y, &p);
    return p;
}

CPoint CDC::GetViewportOrg() const
{
    POINT p = {0, 0};
    ::GetViewportOrgEx(m_hAttribDC, &p);
    return p;
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    POINT p = {0, 0};
    if (m_hDC != m_hAttribDC && m_hDC)
        ::SetViewportOrgEx(m_hDC, x, y, &p);
    if (m_hAttribDC)
        ::SetViewportOrgEx(m_hAttribDC, x, y, &p);
    return p;
}

CPoint CDC::OffsetViewportOrg(int dx, int dy)
{
    POINT p = {0, 0};
    if (m_hDC != m_hAttribDC && m_hDC)
        ::OffsetViewportOrgEx(m_hDC, dx, dy, &p);
    if (m_hAttribDC)
        ::OffsetViewportOrgEx(m_hAttribDC, dx, dy, &p);
    return p;
}

CSize CDC::GetViewportExt() const
{
    SIZE s = {0, 0};
    ::GetViewportExtEx(m_hAttribDC, &s);
    return s;
}

CSize CDC::SetViewportExt(int cx, int cy)
{
    SIZE s = {0, 0};
    if (m_hDC != m_hAttribDC && m_hDC)
        ::SetViewportExtEx(m_hDC, cx, cy, &s);
    if (m_hAttribDC)
        ::SetViewportExtEx(m_hAttribDC, cx, cy, &s);
    return s;
}

CPoint CDC::GetWindowOrg() const
{
    POINT p = {0, 0};
    ::GetWindowOrgEx(m_hAttribDC, &p);
    return p;
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    POINT p = {0, 0};
    if (m_hDC != m_hAttribDC && m_hDC)
        ::SetWindowOrgEx(m_hDC, x, y, &p);
    if (m_hAttribDC)
        ::SetWindowOrgEx(m_hAttribDC, x, y, &p);
    return p;
}

CPoint CDC::OffsetWindowOrg(int dx, int dy)
{
    POINT p = {0, 0};
    if (m_hDC != m_hAttribDC && m_hDC)
        ::OffsetWindowOrgEx(m_hDC, dx, dy, &p);
    if (m_hAttribDC)
        ::OffsetWindowOrgEx(m_hAttribDC, dx, dy, &p);
    return p;
}

CSize CDC::GetWindowExt() const
{
    SIZE s = {0, 0};
    ::GetWindowExtEx(m_hAttribDC, &s);
    return s;
}

CSize CDC::SetWindowExt(int cx, int cy)
{
    SIZE s = {0, 0};
    if (m_hDC != m_hAttribDC && m_hDC)
        ::SetWindowExtEx(m_hDC, cx, cy, &s);
    if (m_hAttribDC)
        ::SetWindowExtEx(m_hAttribDC, cx, cy, &s);
    return s;
}

void CDC::DPtoLP(LPSIZE size) const
{
    POINT points[2] = {{0, 0}, {size->cx, size->cy}};
    ::DPtoLP(m_hAttribDC, points, 2);
    size->cx = points[1].x - points[0].x;
    size->cy = points[1].y - points[0].y;
}

void CDC::LPtoDP(LPSIZE size) const
{
    POINT points[2] = {{0, 0}, {size->cx, size->cy}};
    ::LPtoDP(m_hAttribDC, points, 2);
    size->cx = points[1].x - points[0].x;
    size->cy = points[1].y - points[0].y;
}

int CDC::SelectClipRgn(CRgn* region)
{
    int result = ERROR;
    if (m_hDC != m_hAttribDC && m_hDC)
        result = ::SelectClipRgn(m_hDC, (HRGN)region->GetSafeHandle());
    if (m_hAttribDC)
        result = ::SelectClipRgn(m_hAttribDC, (HRGN)region->GetSafeHandle());
    return result;
}

int CDC::SelectClipRgn(CRgn* region, int mode)
{
    int result = ERROR;
    if (m_hDC != m_hAttribDC && m_hDC)
        result = ::ExtSelectClipRgn(m_hDC, (HRGN)region->GetSafeHandle(), mode);
    if (m_hAttribDC)
        result = ::ExtSelectClipRgn(m_hAttribDC, (HRGN)region->GetSafeHandle(), mode);
    return result;
}

int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2)
{
    int result = ERROR;
    if (m_hDC != m_hAttribDC && m_hDC)
        result = ::ExcludeClipRect(m_hDC, x1, y1, x2, y2);
    if (m_hAttribDC)
        result = ::ExcludeClipRect(m_hAttribDC, x1, y1, x2, y2);
    return result;
}

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2)
{
    int result = ERROR;
    if (m_hDC != m_hAttribDC && m_hDC)
        result = ::IntersectClipRect(m_hDC, x1, y1, x2, y2);
    if (m_hAttribDC)
        result = ::IntersectClipRect(m_hAttribDC, x1, y1, x2, y2);
    return result;
}

int CDC::OffsetClipRgn(int x, int y)
{
    int result = ERROR;
    if (m_hDC != m_hAttribDC && m_hDC)
        result = ::OffsetClipRgn(m_hDC, x, y);
    if (m_hAttribDC)
        result = ::OffsetClipRgn(m_hAttribDC, x, y);
    return result;
}

int CDC::ExcludeUpdateRgn(CWnd* wnd)
{
    return ::ExcludeUpdateRgn(m_hDC, wnd->GetSafeHwnd());
}

CPoint CDC::GetCurrentPosition() const
{
    POINT p = {0, 0};
    ::GetCurrentPositionEx(m_hAttribDC, &p);
    return p;
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT p = {0, 0};
    if (m_hDC != m_hAttribDC && m_hDC)
        ::MoveToEx(m_hDC, x, y, &p);
    if (m_hAttribDC)
        ::MoveToEx(m_hAttribDC, x, y, &p);
    return p;
}

BOOL CDC::LineTo(int x, int y)
{
    if (m_hAttribDC && m_hDC != m_hAttribDC)
        ::MoveToEx(m_hAttribDC, x, y, nullptr);
    return ::LineTo(m_hDC, x, y);
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color)
{
    COLORREF previous = ::SetBkColor(m_hDC, color);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, previous);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    RECT rect = {x, y, x + cx, y + cy};
    FillSolidRect(&rect, color);
}

void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight)
{
    Draw3dRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx, y, -1, cy, bottomRight);
    FillSolidRect(x, y + cy, cx, -1, bottomRight);
}

void CDC::DrawDragRect(LPCRECT rect, SIZE size, LPCRECT rectLast, SIZE sizeLast, CBrush* brush, CBrush* brushLast)
{
    // The frame is the rectangle minus its inside; the area to invert is where the new and the last
    // frame differ, so drawing the same frame twice erases it.
    static const WORD halftone[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
    CBitmap pattern;
    CBrush halftoneBrush;
    if (!brush || !brushLast)
    {
        pattern.CreateBitmap(8, 8, 1, 1, halftone);
        halftoneBrush.CreatePatternBrush(&pattern);
        if (!brush)
            brush = &halftoneBrush;
        if (!brushLast)
            brushLast = brush;
    }

    CRgn newFrame, inside, update, lastFrame;
    CRect outer(rect);
    outer.NormalizeRect();
    CRect inner = outer;
    inner.DeflateRect(size);
    inner &= outer;
    newFrame.CreateRectRgnIndirect(&outer);
    inside.CreateRectRgnIndirect(&inner);
    newFrame.CombineRgn(&newFrame, &inside, RGN_XOR);
    update.CreateRectRgn(0, 0, 0, 0);

    if (rectLast)
    {
        CRect lastOuter(rectLast);
        lastOuter.NormalizeRect();
        CRect lastInner = lastOuter;
        lastInner.DeflateRect(sizeLast);
        lastInner &= lastOuter;
        lastFrame.CreateRectRgnIndirect(&lastOuter);
        inside.SetRectRgn(&lastInner);
        lastFrame.CombineRgn(&lastFrame, &inside, RGN_XOR);
        if (brush->m_hObject == brushLast->m_hObject)
            update.CombineRgn(&lastFrame, &newFrame, RGN_XOR);
    }

    CRect box;
    if (rectLast && brush->m_hObject != brushLast->m_hObject)
    {
        // Different brushes: erase the last frame with its brush, then draw the new one.
        SelectClipRgn(&lastFrame);
        GetClipBox(&box);
        CBrush* previous = SelectObject(brushLast);
        PatBlt(box.left, box.top, box.Width(), box.Height(), PATINVERT);
        SelectObject(previous);
        update.CopyRgn(&newFrame);
    }
    else if (!rectLast)
        update.CopyRgn(&newFrame);

    SelectClipRgn(&update);
    GetClipBox(&box);
    CBrush* previous = SelectObject(brush);
    PatBlt(box.left, box.top, box.Width(), box.Height(), PATINVERT);
    if (previous)
        SelectObject(previous);
    SelectClipRgn(nullptr);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HBITMAP bitmap, UINT flags, HBRUSH brush)
{
    return ::DrawStateW(m_hDC, brush, nullptr, (LPARAM)bitmap, 0, pt.x, pt.y, size.cx, size.cy, flags | DST_BITMAP);
}

BOOL CDC::DrawState(CPoint pt, CSize size, CBitmap* bitmap, UINT flags, CBrush* brush)
{
    return DrawState(pt, size, (HBITMAP)bitmap->GetSafeHandle(), flags, (HBRUSH)brush->GetSafeHandle());
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON icon, UINT flags, HBRUSH brush)
{
    return ::DrawStateW(m_hDC, brush, nullptr, (LPARAM)icon, 0, pt.x, pt.y, size.cx, size.cy, flags | DST_ICON);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON icon, UINT flags, CBrush* brush)
{
    return DrawState(pt, size, icon, flags, (HBRUSH)brush->GetSafeHandle());
}

BOOL CDC::DrawState(CPoint pt, CSize size, LPCWSTR text, UINT flags, BOOL prefixText, int length, HBRUSH brush)
{
    return ::DrawStateW(m_hDC, brush, nullptr, (LPARAM)text, (WPARAM)length, pt.x, pt.y, size.cx, size.cy,
                        flags | (prefixText ? DST_PREFIXTEXT : DST_TEXT));
}

BOOL CDC::DrawState(CPoint pt, CSize size, DRAWSTATEPROC proc, LPARAM data, UINT flags, HBRUSH brush)
{
    return ::DrawStateW(m_hDC, brush, proc, data, 0, pt.x, pt.y, size.cx, size.cy, flags | DST_COMPLEX);
}

BOOL CDC::TextOut(int x, int y, LPCWSTR text, int count)
{
    return ::TextOutW(m_hDC, x, y, text, count);
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCWSTR text, UINT count, LPINT widths)
{
    return ::ExtTextOutW(m_hDC, x, y, options, rect, text, count, widths);
}

CSize CDC::TabbedTextOut(int x, int y, LPCWSTR text, int count, int tabs, LPINT tabStops, int tabOrigin)
{
    return CSize((DWORD)::TabbedTextOutW(m_hDC, x, y, text, count, tabs, tabStops, tabOrigin));
}

int CDC::DrawText(LPCWSTR text, int count, LPRECT rect, UINT format)
{
    return ::DrawTextW(m_hDC, text, count, rect, format);
}

CSize CDC::GetTextExtent(LPCWSTR text, int count) const
{
    SIZE size = {0, 0};
    ::GetTextExtentPoint32W(m_hAttribDC, text, count, &size);
    return size;
}

CSize CDC::GetOutputTextExtent(LPCWSTR text, int count) const
{
    SIZE size = {0, 0};
    ::GetTextExtentPoint32W(m_hDC, text, count, &size);
    return size;
}

CSize CDC::GetTabbedTextExtent(LPCWSTR text, int count, int tabs, LPINT tabStops) const
{
    return CSize((DWORD)::GetTabbedTextExtentW(m_hAttribDC, text, count, tabs, tabStops));
}
