#include "uilib/commandbars/ScrollBarPaintManager.h"
#include "uilib/commandbars/ScrollBase.h"
#include "uilib/foundation/ColorManager.h"
#include "uilib/foundation/DCGuards.h"

#include <algorithm>

CWVPScrollBarPaintManager::CWVPScrollBarPaintManager(CWVPPaintManager* paintManager)
    : m_cxHScroll(::GetSystemMetrics(SM_CXHSCROLL)), m_cyHScroll(::GetSystemMetrics(SM_CYHSCROLL)),
      m_cyVScroll(::GetSystemMetrics(SM_CYVSCROLL)), m_cxVScroll(::GetSystemMetrics(SM_CXVSCROLL)), m_nThumbSize(0),
      m_pPaintManager(paintManager)
{
}

void CWVPScrollBarPaintManager::RefreshMetrics()
{
    m_cxHScroll = ::GetSystemMetrics(SM_CXHSCROLL);
    m_cyHScroll = ::GetSystemMetrics(SM_CYHSCROLL);
    m_cyVScroll = ::GetSystemMetrics(SM_CYVSCROLL);
    m_cxVScroll = ::GetSystemMetrics(SM_CXVSCROLL);
    m_themeScrollBar.CloseThemeData();
    m_themeScrollBar.OpenThemeData(nullptr, L"SCROLLBAR");
}

namespace
{
const int kFace = COLOR_BTNFACE;
const int kShadow = COLOR_BTNSHADOW;
const int kLight = COLOR_BTNHIGHLIGHT;
const int kMinGlyph = 6;
const int kThemeGripMin = 13;

// The parts of a scroll bar, in the order first arrow, second arrow, page before, page after,
// thumb.
struct ScrollParts
{
    CRect rc[5];
    int hit[5] = {WVP_HT_LINEUP, WVP_HT_LINEDOWN, WVP_HT_PAGEUP, WVP_HT_PAGEDOWN, WVP_HT_THUMB};
};

CRect AlongRect(const WVP_SCROLLBAR_POSINFO& i, int from, int to)
{
    return i.vertical ? CRect(i.crossStart, from, i.crossEnd, to) : CRect(from, i.crossStart, to, i.crossEnd);
}
} // namespace

void CWVPScrollBarPaintManager::DrawScrollBar(CDC* pDC, CWVPScrollBase* pScroll)
{
    const WVP_SCROLLBAR_POSINFO& i = pScroll->m_info;
    if (i.crossEnd - i.crossStart <= 0)
        return;
    CWVPColorManager* colors = WVPColorManager();
    const int pressed = pScroll->m_bTracking && (pScroll->m_bTrackingInside || i.hitPart == WVP_HT_THUMB)
                            ? i.hitPart
                            : WVP_HT_NONE;
    const int hot = pScroll->m_bTracking ? WVP_HT_NONE : i.hitPart;
    const BOOL enabled = i.scrollMax - i.scrollPage - i.scrollMin >= 0 && pScroll->IsScrollBarEnabled();
    const BOOL thumbShown = enabled && i.thumbEnd <= i.endArrowStart && i.thumbStart >= i.startArrowEnd;
    ScrollParts parts;
    parts.rc[0] = AlongRect(i, i.trackStart, i.startArrowEnd);
    parts.rc[1] = AlongRect(i, i.endArrowStart, i.trackEnd);
    parts.rc[2] = AlongRect(i, i.startArrowEnd, thumbShown ? i.thumbStart : i.endArrowStart);
    parts.rc[3] = AlongRect(i, thumbShown ? i.thumbEnd : i.endArrowStart, i.endArrowStart);
    parts.rc[4] = AlongRect(i, i.thumbStart, i.thumbEnd);
    const int style = pScroll->GetScrollBarStyle();
    HDC dc = pDC->GetSafeHdc();

    if (style == 3 && m_themeScrollBar.IsThemeUsable())
    {
        const auto state = [&](int hit) {
            return !enabled ? 4 : pressed == hit ? 3 : hot == hit ? 2 : 1;
        };
        const int arrowBase = i.vertical ? 0 : 8;
        m_themeScrollBar.DrawThemeBackground(dc, 1, arrowBase + state(WVP_HT_LINEUP), parts.rc[0], nullptr);
        m_themeScrollBar.DrawThemeBackground(dc, 1, arrowBase + 4 + state(WVP_HT_LINEDOWN), parts.rc[1], nullptr);
        m_themeScrollBar.DrawThemeBackground(dc, i.vertical ? 6 : 4, state(WVP_HT_PAGEUP), parts.rc[2], nullptr);
        m_themeScrollBar.DrawThemeBackground(dc, i.vertical ? 7 : 5, state(WVP_HT_PAGEDOWN), parts.rc[3], nullptr);
        if (thumbShown)
        {
            m_themeScrollBar.DrawThemeBackground(dc, i.vertical ? 3 : 2, state(WVP_HT_THUMB), parts.rc[4], nullptr);
            if (i.thumbSize > kThemeGripMin)
                m_themeScrollBar.DrawThemeBackground(dc, i.vertical ? 9 : 8, state(WVP_HT_THUMB), parts.rc[4],
                                                     nullptr);
        }
        return;
    }

    // Arrows.
    for (int k = 0; k < 2; ++k)
    {
        const CRect rc = parts.rc[k];
        const BOOL down = pressed == parts.hit[k];
        if (style == 2)
        {
            pDC->FillSolidRect(rc, colors->GetColor(kFace));
            pDC->Draw3dRect(rc, colors->GetColor(down ? kShadow : kLight), colors->GetColor(down ? kLight : kShadow));
            const int side = std::min(rc.Width(), rc.Height());
            const int glyph = side - 4;
            if (glyph >= kMinGlyph)
            {
                CFont marlett;
                marlett.CreateFont(-glyph, 0, 0, 0, FW_NORMAL, 0, 0, 0, SYMBOL_CHARSET, 0, 0, 0, 0, L"MARLETT");
                const COLORREF clr = enabled ? RGB(0, 0, 0) : ::GetSysColor(COLOR_BTNSHADOW);
                CWVPFontDC font(pDC, &marlett, clr);
                pDC->SetBkMode(TRANSPARENT);
                CRect square(rc.CenterPoint().x - side / 2, rc.CenterPoint().y - side / 2, 0, 0);
                square.right = square.left + side;
                square.bottom = square.top + side;
                square.DeflateRect(2, 2);
                const LPCWSTR glyphs = i.vertical ? (k == 0 ? L"5" : L"6") : (k == 0 ? L"3" : L"4");
                pDC->DrawText(glyphs, 1, square, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
            }
        }
        else
        {
            UINT kind = i.vertical ? (k == 0 ? DFCS_SCROLLUP : DFCS_SCROLLDOWN)
                                   : (k == 0 ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT);
            kind |= (down ? DFCS_PUSHED : 0) | (enabled ? 0 : DFCS_INACTIVE);
            CRect box = rc;
            ::DrawFrameControl(dc, &box, DFC_SCROLL, kind);
        }
    }

    // Track, page areas and thumb.
    CWnd* host = pScroll->GetParentWindow();
    HBRUSH track = host && host->GetSafeHwnd()
                       ? reinterpret_cast<HBRUSH>(::DefWindowProcW(host->GetSafeHwnd(), WM_CTLCOLORSCROLLBAR,
                                                                   WPARAM(dc), LPARAM(host->GetSafeHwnd())))
                       : ::GetSysColorBrush(COLOR_SCROLLBAR);
    for (int k = 2; k < 4; ++k)
    {
        ::FillRect(dc, parts.rc[k], track ? track : ::GetSysColorBrush(COLOR_SCROLLBAR));
        if (pressed == parts.hit[k])
            ::InvertRect(dc, parts.rc[k]);
    }
    if (!thumbShown)
        return;
    CRect thumb = parts.rc[4];
    if (style == 2)
    {
        pDC->FillSolidRect(thumb, colors->GetColor(kFace));
        pDC->Draw3dRect(thumb, colors->GetColor(kLight), colors->GetColor(kShadow));
    }
    else
        ::DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
}
