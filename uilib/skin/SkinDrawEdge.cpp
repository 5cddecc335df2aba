// The skin's edges and frame controls, which stand in for DrawEdge and DrawFrameControl while a
// skin is loaded.
#include "uilib/skin/SkinDrawHelpers.h"

#include "uilib/skin/SkinManager.h"

namespace
{

const UINT kOuterBits = BDR_RAISEDOUTER | BDR_SUNKENOUTER;
const UINT kInnerBits = BDR_RAISEDINNER | BDR_SUNKENINNER;
const UINT kDiagonalEndMask = 0x1F;
const int kScrollBarArrowPart = 1;
const int kScrollBarSizeBoxPart = 10;
const int kSizeBoxRightAlign = 1;
const int kArrowStatesPerDirection = 4;
const int kArrowNormal = 1;
const int kArrowPressed = 3;
const int kArrowDisabled = 4;
const UINT kPushButtonExtraStates = DFCS_PUSHED | DFCS_ADJUSTRECT;
const UINT kScrollDirectionMask = 0xF;

struct EdgeColors
{
    UINT nBits;
    COLORREF CWVPSkinManagerMetrics::*plainTopLeft;
    COLORREF CWVPSkinManagerMetrics::*plainBottomRight;
    COLORREF CWVPSkinManagerMetrics::*softTopLeft;
    COLORREF CWVPSkinManagerMetrics::*softBottomRight;
};

const EdgeColors kEdgeColors[] = {
    {BDR_RAISEDOUTER, &CWVPSkinManagerMetrics::m_clrEdgeLight, &CWVPSkinManagerMetrics::m_clrEdgeDkShadow,
     &CWVPSkinManagerMetrics::m_clrEdgeHighLight, &CWVPSkinManagerMetrics::m_clrEdgeDkShadow},
    {BDR_SUNKENOUTER, &CWVPSkinManagerMetrics::m_clrEdgeShadow, &CWVPSkinManagerMetrics::m_clrEdgeHighLight,
     &CWVPSkinManagerMetrics::m_clrEdgeDkShadow, &CWVPSkinManagerMetrics::m_clrEdgeHighLight},
    {BDR_RAISEDINNER, &CWVPSkinManagerMetrics::m_clrEdgeHighLight, &CWVPSkinManagerMetrics::m_clrEdgeShadow,
     &CWVPSkinManagerMetrics::m_clrEdgeLight, &CWVPSkinManagerMetrics::m_clrEdgeShadow},
    {BDR_SUNKENINNER, &CWVPSkinManagerMetrics::m_clrEdgeDkShadow, &CWVPSkinManagerMetrics::m_clrEdgeLight,
     &CWVPSkinManagerMetrics::m_clrEdgeShadow, &CWVPSkinManagerMetrics::m_clrEdgeLight},
};

CWVPSkinManagerMetrics* Metrics()
{
    CWVPSkinManager* manager = WVPActiveSkinManager();
    return manager ? manager->GetMetrics() : nullptr;
}

// Picks a pass's two colours; false for raised and sunken together.
bool PassColors(const CWVPSkinManagerMetrics& m, UINT nBits, bool bOuter, UINT nFlags, COLORREF& clrTopLeft,
                COLORREF& clrBottomRight)
{
    if (nFlags & BF_FLAT)
    {
        bool mono = (nFlags & BF_MONO) != 0;
        clrTopLeft = clrBottomRight = bOuter ? (mono ? m.GetColor(COLOR_WINDOWFRAME) : m.m_clrEdgeShadow)
                                             : m.GetColor(mono ? COLOR_WINDOW : COLOR_BTNFACE);
        return true;
    }
    for (const EdgeColors& colors : kEdgeColors)
    {
        if (colors.nBits != nBits)
            continue;
        bool soft = (nFlags & BF_SOFT) != 0;
        clrTopLeft = m.*(soft ? colors.softTopLeft : colors.plainTopLeft);
        clrBottomRight = m.*(soft ? colors.softBottomRight : colors.plainBottomRight);
        return true;
    }
    return false;
}

void DrawSides(HDC hDC, RECT& rc, UINT nFlags, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    if (nFlags & BF_RIGHT)
    {
        WVPSkinFillSolidRectXY(hDC, rc.right - cx, rc.top, cx, rc.bottom - rc.top, clrBottomRight);
        rc.right -= cx;
    }
    if (nFlags & BF_BOTTOM)
    {
        WVPSkinFillSolidRectXY(hDC, rc.left, rc.bottom - cy, rc.right - rc.left, cy, clrBottomRight);
        rc.bottom -= cy;
    }
    if (nFlags & BF_LEFT)
    {
        WVPSkinFillSolidRectXY(hDC, rc.left, rc.top, cx, rc.bottom - rc.top, clrTopLeft);
        rc.left += cx;
    }
    if (nFlags & BF_TOP)
    {
        WVPSkinFillSolidRectXY(hDC, rc.left, rc.top, rc.right - rc.left, cy, clrTopLeft);
        rc.top += cy;
    }
}

BOOL DrawScrollBarPart(HDC hDC, const RECT& rc, int nPart, int nState)
{
    CWVPSkinManager* manager = WVPActiveSkinManager();
    CWVPSkinManagerClass* scrollBar = manager ? manager->GetSkinClass(L"SCROLLBAR") : nullptr;
    return scrollBar && scrollBar->DrawThemeBackground(hDC, nPart, nState, &rc);
}

} // namespace

BOOL WVPSkinDrawEdge(HDC hDC, LPRECT lpRect, UINT nEdge, UINT nFlags)
{
    CWVPSkinManagerMetrics* metrics = Metrics();
    if (!hDC || !lpRect || !metrics)
        return FALSE;
    if (nFlags & BF_MONO)
        nFlags |= BF_FLAT;
    RECT rc = *lpRect;
    BOOL result = TRUE;
    int cx = metrics->m_cxBorder, cy = metrics->m_cyBorder;
    const UINT passes[2] = {nEdge & kOuterBits, nEdge & kInnerBits};
    for (int i = 0; i < 2; ++i)
    {
        if (!passes[i])
            continue;
        COLORREF topLeft, bottomRight;
        if (!PassColors(*metrics, passes[i], i == 0, nFlags, topLeft, bottomRight))
            return FALSE;
        if (nFlags & BF_DIAGONAL)
            WVPSkinDrawDiagonalEdge(hDC, rc, nFlags, topLeft, bottomRight);
        else
            DrawSides(hDC, rc, nFlags, cx, cy, topLeft, bottomRight);
    }
    if (nFlags & BF_MIDDLE)
    {
        if (nFlags & BF_DIAGONAL)
            result = FALSE;
        else
            WVPSkinFillSolidRect(hDC, rc, metrics->GetColor((nFlags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE));
    }
    if (nFlags & BF_ADJUST)
        *lpRect = rc;
    return result;
}

BOOL WVPSkinDrawDiagonalEdge(HDC hDC, RECT& rc, UINT nFlags, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    UINT end = nFlags & kDiagonalEndMask;
    int direction = (end == BF_DIAGONAL_ENDTOPLEFT || end == BF_DIAGONAL_ENDBOTTOMRIGHT) ? -1 : 1;
    DWORD block = WVPSkinDrawDiagonalLine(hDC, rc, direction, (nFlags & BF_BOTTOM) ? clrBottomRight : clrTopLeft);
    int width = LOWORD(block), height = HIWORD(block);
    if (nFlags & BF_TOP)
        rc.left += width;
    else
        rc.right -= width;
    if (nFlags & BF_RIGHT)
        rc.top += height;
    else
        rc.bottom -= height;
    return TRUE;
}

DWORD WVPSkinDrawDiagonalLine(HDC hDC, const RECT& rc, int nDirection, COLORREF clr)
{
    int width = rc.right - rc.left, height = rc.bottom - rc.top;
    CWVPSkinManagerMetrics* metrics = Metrics();
    if (width <= 0 || height <= 0 || !metrics)
        return 0;
    int cxBorder = metrics->m_cxBorder > 0 ? metrics->m_cxBorder : 1;
    int cyBorder = metrics->m_cyBorder > 0 ? metrics->m_cyBorder : 1;
    int blockWidth, blockHeight, stepX;
    if (height >= width)
    {
        blockWidth = cxBorder;
        blockHeight = (height / width) * cyBorder;
        stepX = blockWidth;
    }
    else
    {
        blockHeight = cyBorder;
        blockWidth = (width / height) * cyBorder;
        stepX = width / height;
    }
    int x = rc.left;
    int y = nDirection > 0 ? rc.bottom - blockHeight : rc.top;
    while (x + blockWidth <= rc.right && y >= rc.top && y + blockHeight <= rc.bottom)
    {
        WVPSkinFillSolidRectXY(hDC, x, y, blockWidth, blockHeight, clr);
        x += stepX;
        y += nDirection > 0 ? -blockHeight : blockHeight;
    }
    return MAKELONG(blockWidth, blockHeight);
}

BOOL WVPSkinDrawFrameControl(HDC hDC, LPRECT lpRect, UINT nType, UINT nState)
{
    CWVPSkinManagerMetrics* metrics = Metrics();
    if (!hDC || !lpRect || !metrics)
        return FALSE;
    if (nType == DFC_SCROLL && nState == DFCS_SCROLLSIZEGRIP)
    {
        WVPSkinFillSolidRect(hDC, *lpRect, metrics->GetColor(COLOR_BTNFACE));
        DrawScrollBarPart(hDC, *lpRect, kScrollBarSizeBoxPart, kSizeBoxRightAlign);
        return TRUE;
    }
    if (nType == DFC_BUTTON && (nState & DFCS_BUTTONPUSH) && !(nState & ~(DFCS_BUTTONPUSH | kPushButtonExtraStates)))
    {
        RECT rc = *lpRect;
        WVPSkinDrawEdge(hDC, &rc, (nState & DFCS_PUSHED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
        WVPSkinFillSolidRect(hDC, rc, metrics->GetColor(COLOR_BTNFACE));
        if (nState & DFCS_ADJUSTRECT)
            *lpRect = rc;
        return TRUE;
    }
    UINT direction = nState & kScrollDirectionMask;
    if (nType == DFC_SCROLL && direction <= DFCS_SCROLLRIGHT)
    {
        int state = (nState & DFCS_INACTIVE) ? kArrowDisabled : (nState & DFCS_PUSHED) ? kArrowPressed : kArrowNormal;
        DrawScrollBarPart(hDC, *lpRect, kScrollBarArrowPart, int(direction) * kArrowStatesPerDirection + state);
        return TRUE;
    }
    return FALSE;
}
