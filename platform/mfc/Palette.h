// CPalette: a GDI logical palette.
#pragma once

#include "platform/mfc/GdiObject.h"

class CDC;

class CPalette : public CGdiObject
{
    DECLARE_DYNAMIC(CPalette)
public:
    CPalette() noexcept {}
    static CPalette* PASCAL FromHandle(HPALETTE handle)
    {
        return static_cast<CPalette*>(CGdiObject::FromHandle(handle));
    }
    operator HPALETTE() const noexcept { return static_cast<HPALETTE>(m_hObject); }

    BOOL CreatePalette(LPLOGPALETTE palette) { return Attach(::CreatePalette(palette)); }
    BOOL CreateHalftonePalette(CDC* dc);
    int GetEntryCount() { UINT count = 0; ::GetObjectW(m_hObject, sizeof(count), &count); return (int)count; }
    UINT GetPaletteEntries(UINT start, UINT count, LPPALETTEENTRY entries) const
    {
        return ::GetPaletteEntries((HPALETTE)m_hObject, start, count, entries);
    }
    UINT SetPaletteEntries(UINT start, UINT count, LPPALETTEENTRY entries)
    {
        return ::SetPaletteEntries((HPALETTE)m_hObject, start, count, entries);
    }
    void AnimatePalette(UINT start, UINT count, LPPALETTEENTRY entries)
    {
        ::AnimatePalette((HPALETTE)m_hObject, start, count, entries);
    }
    UINT GetNearestPaletteIndex(COLORREF color) const { return ::GetNearestPaletteIndex((HPALETTE)m_hObject, color); }
    BOOL ResizePalette(UINT count) { return ::ResizePalette((HPALETTE)m_hObject, count); }
};
