#include "uilib/skin/SkinManagerSchemaDefault.h"

#include "uilib/skin/SkinDrawHelpers.h"
#include "uilib/skin/SkinImage.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinManagerClass.h"
#include "uilib/skin/SkinSchemaNames.h"

#include <algorithm>

namespace
{

const COLORREF kDefaultTransparentColor = RGB(255, 0, 255);
const int kValignBottom = 2;
const int kWindowFrameFirstPart = 7; // FRAMELEFT
const int kWindowFrameLastPart = 12; // SMALLFRAMEBOTTOM
const int kGlyphSizeCandidates[] = {3006, 3005, 3004, 3003};

} // namespace

CWVPSkinManagerSchemaDefault::CWVPSkinManagerSchemaDefault(CWVPSkinManager* pManager) : CWVPSkinManagerSchema(pManager)
{
    m_strSchemaName = L"Default";
}

RECT CWVPSkinManagerSchemaDefault::GetStateRect(const SIZE& frame, int nStateId, int nCount, bool bHorizontal)
{
    int index = nStateId < 1 || nStateId > nCount ? 0 : nStateId - 1;
    return bHorizontal ? RECT{index * frame.cx, 0, (index + 1) * frame.cx, frame.cy}
                       : RECT{0, index * frame.cy, frame.cx, (index + 1) * frame.cy};
}

BOOL CWVPSkinManagerSchemaDefault::DrawThemeBackground(HDC hDC, CWVPSkinManagerClass* pClass, int nPartId, int nStateId,
                                                       const RECT* pRect)
{
    if (!pClass || !pRect)
        return FALSE;
    int bgType = pClass->GetThemeEnumValue(nPartId, nStateId, kSkinPropBgType, kSkinBgImageFile);
    if (bgType == kSkinBgBorderFill)
        return DrawThemeBorderFill(hDC, pClass, nPartId, nStateId, *pRect);
    if (bgType != kSkinBgImageFile)
        return TRUE;
    CString name = pClass->GetImageFileName(nPartId, nStateId);
    if (name.IsEmpty())
        return FALSE;
    CWVPSkinImage* image = pClass->GetImageCache().GetImage(m_pManager->GetResourceFile(), name);
    if (!image)
        return FALSE;
    int count;
    bool horizontal;
    SIZE frame = pClass->GetStateFrameSize(nPartId, nStateId, image->GetExtent(), &count, &horizontal);
    bool transparent = !image->IsAlphaImage() && pClass->GetThemeBool(nPartId, nStateId, kSkinPropTransparent, false);
    RECT margins = pClass->GetThemeRect(nPartId, nStateId, kSkinPropSizingMargins);
    RECT dest = *pRect;
    int sizingType = pClass->GetThemeEnumValue(nPartId, nStateId, kSkinPropSizingType, kSkinSizingStretch);
    if (sizingType == kSkinSizingTrueSize)
    {
        SIZE size = frame;
        int width = pRect->right - pRect->left, height = pRect->bottom - pRect->top;
        if (pClass->GetThemeInt(nPartId, nStateId, kSkinPropTrueSizeStretchMark, 0) > 0)
            size = {std::min<LONG>(size.cx, width), std::min<LONG>(size.cy, height)};
        dest.left = std::max<LONG>(pRect->left, pRect->left + (width - size.cx) / 2);
        dest.top = std::max<LONG>(pRect->top, pRect->top + (height - size.cy) / 2);
        if (pClass->GetThemeEnumValue(nPartId, nStateId, kSkinPropVAlign, 0) == kValignBottom)
            dest.top = pRect->bottom - size.cy;
        dest.right = dest.left + size.cx;
        dest.bottom = dest.top + size.cy;
        margins = {};
    }
    RECT src = GetStateRect(frame, nStateId, count, horizontal);
    COLORREF transparentColor =
        transparent ? pClass->GetThemeColor(nPartId, nStateId, kSkinPropTransparentColor, kDefaultTransparentColor)
                    : CLR_INVALID;
    bool borderOnly = pClass->GetThemeBool(nPartId, nStateId, kSkinPropBorderOnly, false);
    if (pClass->GetClassId() == m_nWindowClassId && nPartId >= kWindowFrameFirstPart && nPartId <= kWindowFrameLastPart)
        borderOnly = false;
    image->m_bMirrorAllowed = pClass->GetThemeBool(nPartId, nStateId, kSkinPropMirrorImage, true);
    image->CreateSolidRectArray(count, horizontal, margins);
    image->DrawImage(hDC, dest, src, margins, transparentColor, sizingType, borderOnly);
    if (pClass->GetThemeEnumValue(nPartId, nStateId, kSkinPropGlyphType, 0) == kSkinGlyphImage)
        DrawThemeGlyph(hDC, pClass, nPartId, nStateId, *pRect);
    return TRUE;
}

BOOL CWVPSkinManagerSchemaDefault::DrawThemeBorderFill(HDC hDC, CWVPSkinManagerClass* pClass, int nPartId, int nStateId,
                                                       RECT rc)
{
    int borderSize = pClass->GetThemeInt(nPartId, nStateId, kSkinPropBorderSize, 1);
    COLORREF border = pClass->GetThemeColor(nPartId, nStateId, kSkinPropBorderColor, CLR_INVALID);
    COLORREF fill = pClass->GetThemeColor(nPartId, nStateId, kSkinPropFillColor, CLR_INVALID);
    bool borderOnly = pClass->GetThemeBool(nPartId, nStateId, kSkinPropBorderOnly, false);
    if (borderSize > 0 && border != CLR_INVALID)
    {
        int width = rc.right - rc.left, height = rc.bottom - rc.top;
        WVPSkinFillSolidRectXY(hDC, rc.left, rc.top, width, borderSize, border);
        WVPSkinFillSolidRectXY(hDC, rc.left, rc.bottom - borderSize, width, borderSize, border);
        WVPSkinFillSolidRectXY(hDC, rc.left, rc.top + borderSize, borderSize, height - 2 * borderSize, border);
        WVPSkinFillSolidRectXY(hDC, rc.right - borderSize, rc.top + borderSize, borderSize, height - 2 * borderSize,
                               border);
        ::InflateRect(&rc, -borderSize, -borderSize);
    }
    if (fill != CLR_INVALID && !borderOnly && rc.left < rc.right && rc.top < rc.bottom)
        WVPSkinFillSolidRect(hDC, rc, fill);
    return TRUE;
}

BOOL CWVPSkinManagerSchemaDefault::DrawThemeGlyph(HDC hDC, CWVPSkinManagerClass* pClass, int nPartId, int nStateId,
                                                  const RECT& rc)
{
    RECT content = rc;
    RECT cm = pClass->GetThemeRect(nPartId, nStateId, kSkinPropContentMargins);
    content.left += cm.left, content.top += cm.top, content.right -= cm.right, content.bottom -= cm.bottom;
    int contentW = content.right - content.left, contentH = content.bottom - content.top;
    CWVPSkinImageCache& cache = pClass->GetImageCache();
    CWVPSkinManagerResourceFile* file = m_pManager->GetResourceFile();

    CString name;
    if (pClass->GetThemeEnumValue(nPartId, nStateId, kSkinPropImageSelectType, 0) == kSkinImageSelectSize)
    {
        for (int candidate : kGlyphSizeCandidates)
        {
            CString candidateName = pClass->GetThemeString(nPartId, nStateId, candidate);
            if (candidateName.IsEmpty())
                continue;
            SIZE extent = cache.GetExtent(file, candidateName);
            if (!extent.cx || !extent.cy)
                return FALSE;
            SIZE frame = pClass->GetStateFrameSize(nPartId, nStateId, extent);
            if (frame.cx <= contentW && frame.cy <= contentH)
            {
                name = candidateName;
                break;
            }
        }
        if (name.IsEmpty())
            name = pClass->GetThemeString(nPartId, nStateId, kSkinPropImageFile1);
        if (name.IsEmpty())
            name = pClass->GetThemeString(nPartId, nStateId, kSkinPropImageFile);
    }
    else
        name = pClass->GetThemeString(nPartId, nStateId, kSkinPropGlyphImageFile);
    CWVPSkinImage* image = name.IsEmpty() ? nullptr : cache.GetImage(file, name);
    if (!image)
        return FALSE;
    int count;
    bool horizontal;
    SIZE frame = pClass->GetStateFrameSize(nPartId, nStateId, image->GetExtent(), &count, &horizontal);
    bool transparent =
        !image->IsAlphaImage() && pClass->GetThemeBool(nPartId, nStateId, kSkinPropGlyphTransparent, false);
    COLORREF transparentColor =
        transparent ? pClass->GetThemeColor(nPartId, nStateId, kSkinPropTransparentColor, kDefaultTransparentColor)
                    : CLR_INVALID;
    RECT dest;
    dest.left = content.left + (contentW - frame.cx) / 2;
    dest.top = std::max<LONG>(content.top, content.top + (contentH - frame.cy) / 2);
    dest.right = dest.left + frame.cx;
    dest.bottom = dest.top + frame.cy;
    RECT src = GetStateRect(frame, nStateId, count, horizontal);
    image->DrawImage(hDC, dest, src, RECT{}, transparentColor, kSkinSizingStretch, FALSE);
    return TRUE;
}

RECT CWVPSkinManagerSchemaDefault::CalcFrameBorders(DWORD dwStyle, DWORD dwExStyle)
{
    const CWVPSkinManagerMetrics* metrics = m_pManager->GetMetrics();
    int count = (dwExStyle & WS_EX_WINDOWEDGE) ? 2 : (dwExStyle & WS_EX_STATICEDGE) ? 1 : 0;
    if ((dwStyle & (WS_BORDER | WS_DLGFRAME)) || (dwExStyle & WS_EX_DLGMODALFRAME))
        ++count;
    if (dwStyle & WS_THICKFRAME)
        count += metrics->m_nBorderSize;
    bool captioned = (dwStyle & WS_CAPTION) == WS_CAPTION;
    int caption = (dwExStyle & WS_EX_TOOLWINDOW) ? metrics->m_cySmallCaption : metrics->m_cyCaption;
    if (!(dwStyle & WS_CHILD) && (dwStyle & WS_MAXIMIZE) && captioned)
    {
        // Maximized: the system's own frame, so that the frame lies beyond the work area.
        RECT probe = {0, 0, 100, 100};
        ::AdjustWindowRectEx(&probe, dwStyle, FALSE, dwExStyle);
        int width = -probe.left;
        return RECT{width, caption + width, width, width};
    }
    RECT borders = {count * metrics->m_cxBorder, count * metrics->m_cyBorder, count * metrics->m_cxBorder,
                    count * metrics->m_cyBorder};
    if (captioned)
        borders.top += caption;
    if (dwExStyle & WS_EX_CLIENTEDGE)
    {
        borders.left += metrics->m_cxEdge;
        borders.right += metrics->m_cxEdge;
        borders.top += metrics->m_cyEdge;
        borders.bottom += metrics->m_cyEdge;
    }
    return borders;
}
