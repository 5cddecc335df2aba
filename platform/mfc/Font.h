// CFont: a GDI font.
#pragma once

#include "platform/mfc/GdiObject.h"

class CDC;

class CFont : public CGdiObject
{
    DECLARE_DYNAMIC(CFont)
public:
    CFont() noexcept {}
    static CFont* PASCAL FromHandle(HFONT handle) { return static_cast<CFont*>(CGdiObject::FromHandle(handle)); }
    operator HFONT() const noexcept { return static_cast<HFONT>(m_hObject); }

    BOOL CreateFontIndirect(const LOGFONTW* font) { return Attach(::CreateFontIndirectW(font)); }
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                    BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                    BYTE pitchAndFamily, LPCWSTR faceName)
    {
        return Attach(::CreateFontW(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                                    charSet, outPrecision, clipPrecision, quality, pitchAndFamily, faceName));
    }
    // Point sizes are in tenths of a point, measured on the given device context (the screen by default).
    BOOL CreatePointFont(int pointSize, LPCWSTR faceName, CDC* dc = nullptr);
    BOOL CreatePointFontIndirect(const LOGFONTW* font, CDC* dc = nullptr);
    int GetLogFont(LOGFONTW* font) { return ::GetObjectW(m_hObject, sizeof(LOGFONTW), font); }
};
