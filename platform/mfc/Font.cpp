#include "platform/mfc/Font.h"

#include "platform/mfc/DC.h"

IMPLEMENT_DYNAMIC(CFont, CGdiObject)

BOOL CFont::CreatePointFont(int pointSize, LPCWSTR faceName, CDC* dc)
{
    LOGFONTW font = {};
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfHeight = pointSize;
    ::lstrcpynW(font.lfFaceName, faceName ? faceName : L"", LF_FACESIZE);
    return CreatePointFontIndirect(&font, dc);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTW* source, CDC* dc)
{
    HDC hdc = dc ? dc->m_hAttribDC : ::GetDC(nullptr);
    // The height comes in tenths of a point: turn it into logical units of the device context.
    LOGFONTW font = *source;
    POINT size = {0, ::MulDiv(::GetDeviceCaps(hdc, LOGPIXELSY), font.lfHeight, 720)};
    ::DPtoLP(hdc, &size, 1);
    POINT origin = {0, 0};
    ::DPtoLP(hdc, &origin, 1);
    font.lfHeight = -abs(size.y - origin.y);
    if (!dc)
        ::ReleaseDC(nullptr, hdc);
    return CreateFontIndirect(&font);
}
