// CRgn: a GDI region.
#pragma once

#include "platform/mfc/GdiObject.h"

class CRgn : public CGdiObject
{
    DECLARE_DYNAMIC(CRgn)
public:
    CRgn() noexcept {}
    static CRgn* PASCAL FromHandle(HRGN handle) { return static_cast<CRgn*>(CGdiObject::FromHandle(handle)); }
    operator HRGN() const noexcept { return static_cast<HRGN>(m_hObject); }

    BOOL CreateRectRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateRectRgn(x1, y1, x2, y2)); }
    BOOL CreateRectRgnIndirect(LPCRECT rect) { return Attach(::CreateRectRgnIndirect(rect)); }
    BOOL CreateEllipticRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateEllipticRgn(x1, y1, x2, y2)); }
    BOOL CreateEllipticRgnIndirect(LPCRECT rect) { return Attach(::CreateEllipticRgnIndirect(rect)); }
    BOOL CreatePolygonRgn(const POINT* points, int count, int mode)
    {
        return Attach(::CreatePolygonRgn(points, count, mode));
    }
    BOOL CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polygons, int mode)
    {
        return Attach(::CreatePolyPolygonRgn(points, counts, polygons, mode));
    }
    BOOL CreateRoundRectRgn(int x1, int y1, int x2, int y2, int w, int h)
    {
        return Attach(::CreateRoundRectRgn(x1, y1, x2, y2, w, h));
    }
    BOOL CreateFromData(const XFORM* xform, int count, const RGNDATA* data)
    {
        return Attach(::ExtCreateRegion(xform, count, data));
    }
    void SetRectRgn(int x1, int y1, int x2, int y2) { ::SetRectRgn((HRGN)m_hObject, x1, y1, x2, y2); }
    void SetRectRgn(LPCRECT r) { ::SetRectRgn((HRGN)m_hObject, r->left, r->top, r->right, r->bottom); }
    int CombineRgn(const CRgn* a, const CRgn* b, int mode)
    {
        return ::CombineRgn((HRGN)m_hObject, (HRGN)a->GetSafeHandle(), (HRGN)b->GetSafeHandle(), mode);
    }
    int CopyRgn(const CRgn* source) { return ::CombineRgn((HRGN)m_hObject, (HRGN)source->m_hObject, nullptr, RGN_COPY); }
    BOOL EqualRgn(const CRgn* other) const { return ::EqualRgn((HRGN)m_hObject, (HRGN)other->m_hObject); }
    int OffsetRgn(int x, int y) { return ::OffsetRgn((HRGN)m_hObject, x, y); }
    int OffsetRgn(POINT p) { return ::OffsetRgn((HRGN)m_hObject, p.x, p.y); }
    int GetRgnBox(LPRECT rect) const { return ::GetRgnBox((HRGN)m_hObject, rect); }
    BOOL PtInRegion(int x, int y) const { return ::PtInRegion((HRGN)m_hObject, x, y); }
    BOOL PtInRegion(POINT p) const { return ::PtInRegion((HRGN)m_hObject, p.x, p.y); }
    BOOL RectInRegion(LPCRECT rect) const { return ::RectInRegion((HRGN)m_hObject, rect); }
    int GetRegionData(LPRGNDATA data, int count) const { return ::GetRegionData((HRGN)m_hObject, count, data); }
};
