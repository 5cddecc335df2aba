// CBrush: a GDI brush (solid, hatched, pattern or system colour).
#pragma once

#include "platform/mfc/GdiObject.h"

class CBitmap;

class CBrush : public CGdiObject
{
    DECLARE_DYNAMIC(CBrush)
public:
    CBrush() noexcept {}
    explicit CBrush(COLORREF color) { Attach(::CreateSolidBrush(color)); }
    CBrush(int hatch, COLORREF color) { Attach(::CreateHatchBrush(hatch, color)); }
    explicit CBrush(CBitmap* bitmap);
    static CBrush* PASCAL FromHandle(HBRUSH handle)
    {
        return static_cast<CBrush*>(CGdiObject::FromHandle(handle));
    }
    operator HBRUSH() const noexcept { return static_cast<HBRUSH>(m_hObject); }

    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
    BOOL CreateHatchBrush(int hatch, COLORREF color) { return Attach(::CreateHatchBrush(hatch, color)); }
    BOOL CreateBrushIndirect(const LOGBRUSH* brush) { return Attach(::CreateBrushIndirect(brush)); }
    BOOL CreatePatternBrush(CBitmap* bitmap);
    BOOL CreateSysColorBrush(int index) { return Attach(::GetSysColorBrush(index)); }
    int GetLogBrush(LOGBRUSH* brush) { return ::GetObjectW(m_hObject, sizeof(LOGBRUSH), brush); }
};
