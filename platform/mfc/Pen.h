// CPen: a GDI pen.
#pragma once

#include "platform/mfc/GdiObject.h"

class CPen : public CGdiObject
{
    DECLARE_DYNAMIC(CPen)
public:
    CPen() noexcept {}
    CPen(int style, int width, COLORREF color) { Attach(::CreatePen(style, width, color)); }
    CPen(int style, int width, const LOGBRUSH* brush, int styleCount = 0, const DWORD* styles = nullptr)
    {
        Attach(::ExtCreatePen(style, width, brush, styleCount, styles));
    }
    static CPen* PASCAL FromHandle(HPEN handle) { return static_cast<CPen*>(CGdiObject::FromHandle(handle)); }
    operator HPEN() const noexcept { return static_cast<HPEN>(m_hObject); }

    BOOL CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
    BOOL CreatePen(int style, int width, const LOGBRUSH* brush, int styleCount = 0, const DWORD* styles = nullptr)
    {
        return Attach(::ExtCreatePen(style, width, brush, styleCount, styles));
    }
    BOOL CreatePenIndirect(LPLOGPEN pen) { return Attach(::CreatePenIndirect(pen)); }
    int GetLogPen(LOGPEN* pen) { return ::GetObjectW(m_hObject, sizeof(LOGPEN), pen); }
};
