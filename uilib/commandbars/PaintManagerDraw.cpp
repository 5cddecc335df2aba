// The paint manager's drawing primitives, glyphs, text output, grippers and popup animations.
#include <algorithm>
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/CommandBarKeyboardTip.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/foundation/DCGuards.h"
#include "uilib/foundation/DrawHelpers.h"
#include "uilib/foundation/ImageManager.h"

#include <cmath>
#include <vector>

namespace
{
const int kColorButtonHighlight = 20;
const int kColorInfoText = 23;
const int kColorGrayText = 17;
const int kColorInfoBack = 24;
const int kMarkSize = 13;
const int kCheckBoxPart = 3;
const int kRadioButtonPart = 2;
const int kMarlettPoints = 80;
const UINT kGlassOptionsSize = 64;

// A 32-bit top-down DIB section selected into a memory DC of its own.
struct DibSurface
{
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    DWORD* bits = nullptr;

    DibSurface(int width, int height)
    {
        bitmap = CWVPImageManager::CreateDIBSection32(nullptr, width, height, reinterpret_cast<void**>(&bits));
        dc = ::CreateCompatibleDC(nullptr);
        if (bitmap)
            old = ::SelectObject(dc, bitmap);
    }
    ~DibSurface()
    {
        if (old)
            ::SelectObject(dc, old);
        ::DeleteDC(dc);
        if (bitmap)
            ::DeleteObject(bitmap);
    }
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;
};
} // namespace

void AFX_CDECL CWVPPaintManager::DrawTriangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr)
{
    if (!pDC || !pDC->GetSafeHdc())
        return;
    CWVPPenDC pen(pDC->GetSafeHdc(), clr);
    CWVPBrushDC brush(pDC->GetSafeHdc(), clr);
    const POINT points[3] = {pt0, pt1, pt2};
    ::Polygon(pDC->GetSafeHdc(), points, 3);
}

void CWVPPaintManager::Draw3dRect(CDC* pDC, CRect rc, int topLeft, int bottomRight)
{
    pDC->Draw3dRect(rc, GetColor(topLeft), GetColor(bottomRight));
}

void CWVPPaintManager::HorizontalLine(CDC* pDC, int x0, int y, int x1, COLORREF clr)
{
    pDC->FillSolidRect(x0, y, x1 - x0, 1, clr);
}

void CWVPPaintManager::VerticalLine(CDC* pDC, int x, int y0, int y1, COLORREF clr)
{
    pDC->FillSolidRect(x, y0, 1, y1 - y0, clr);
}

void CWVPPaintManager::FillRectangleAndBorder(CDC* pDC, CRect rc, int fillIndex, int borderIndex)
{
    if (fillIndex != -1)
        pDC->FillSolidRect(rc, GetColor(fillIndex));
    if (borderIndex != fillIndex && borderIndex != -1)
        Draw3dRect(pDC, rc, borderIndex, borderIndex);
}

void CWVPPaintManager::Line(CDC* pDC, int x0, int y0, int x1, int y1)
{
    ::MoveToEx(pDC->GetSafeHdc(), x0, y0, nullptr);
    ::LineTo(pDC->GetSafeHdc(), x1, y1);
}

void CWVPPaintManager::LineColor(CDC* pDC, int x0, int y0, int x1, int y1, int colorIndex)
{
    CWVPPenDC pen(pDC->GetSafeHdc(), GetColor(colorIndex));
    Line(pDC, x0, y0, x1, y1);
}

void AFX_CDECL CWVPPaintManager::AlphaBlendPixels(DWORD* target, const DWORD* first, int width, int height,
                                                  const DWORD* second, int weight)
{
    const size_t count = size_t(std::max(width, 0)) * size_t(std::max(height, 0));
    for (size_t i = 0; i < count; ++i)
    {
        const BYTE* a = reinterpret_cast<const BYTE*>(first + i);
        const BYTE* b = reinterpret_cast<const BYTE*>(second + i);
        BYTE* t = reinterpret_cast<BYTE*>(target + i);
        for (int c = 0; c < 3; ++c)
            t[c] = BYTE((b[c] * weight + a[c] * (255 - weight)) >> 8);
    }
}

void AFX_CDECL CWVPPaintManager::MakeOpaque(CDC* pDC, CRect rc)
{
    if (rc.IsRectEmpty())
        return;
    DibSurface surface(rc.Width(), rc.Height());
    if (!surface.bits)
        return;
    ::BitBlt(surface.dc, 0, 0, rc.Width(), rc.Height(), pDC->GetSafeHdc(), rc.left, rc.top, SRCCOPY);
    ::GdiFlush();
    for (int i = 0; i < rc.Width() * rc.Height(); ++i)
        surface.bits[i] |= 0xFF000000;
    ::BitBlt(pDC->GetSafeHdc(), rc.left, rc.top, rc.Width(), rc.Height(), surface.dc, 0, 0, SRCCOPY);
}

void AFX_CDECL CWVPPaintManager::DrawAntialiasedDisc(CDC* pDC, int x0, int y0, int x1, int y1, COLORREF fill,
                                                     COLORREF edge)
{
    const double r = (x1 - x0 - 1) * 0.5 - 0.25;
    const double cx = (x1 + x0 - 1) * 0.5, cy = (y1 + y0 - 1) * 0.5;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
        {
            const double d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
            if (d < r - 1)
                pDC->SetPixel(x, y, fill);
            else if (d <= r + 1)
                pDC->SetPixel(x, y, WVPBlendEdgePixel(pDC, x, y, edge, fill, d - r));
        }
}

void CWVPPaintManager::DrawCheckMarkLines(CDC* pDC, CRect rc, COLORREF clr, BOOL rightToLeft)
{
    const int x0 = rc.left + rc.Width() / 2 - 10, y0 = rc.top + rc.Height() / 2 - 10;
    CWVPPenDC pen(pDC->GetSafeHdc(), clr);
    const POINT ltr[2][3] = {{{6, 9}, {8, 11}, {13, 6}}, {{6, 10}, {8, 12}, {13, 7}}};
    const POINT rtl[2][3] = {{{6, 7}, {10, 11}, {13, 8}}, {{6, 8}, {10, 12}, {13, 9}}};
    for (const auto& line : rightToLeft ? rtl : ltr)
    {
        POINT points[3];
        for (int i = 0; i < 3; ++i)
            points[i] = {x0 + line[i].x, y0 + line[i].y};
        pDC->Polyline(points, 3);
    }
}

void CWVPPaintManager::DrawCheckMark(CDC* pDC, CRect rc, COLORREF clr)
{
    const BOOL rtl = CWVPDrawHelpers::IsDCRightToLeft(pDC);
    DrawCheckMarkLines(pDC, rc, clr, rtl);
    if (m_bThickCheckMarks)
        DrawCheckMarkLines(pDC, CRect(rc.left, rc.top + 1, rc.right, rc.bottom + 1), clr, rtl);
}

void CWVPPaintManager::DrawRadioMark(CDC* pDC, CRect rc, COLORREF clr)
{
    const CPoint c((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    DrawAntialiasedDisc(pDC, c.x - 3, c.y - 3, c.x + 3, c.y + 3, clr, clr);
}

void CWVPPaintManager::DrawComboExpandMark(CDC* pDC, CRect rc, COLORREF clr)
{
    const int f = std::max((rc.right - rc.left) / 2 - 4, 2);
    const int cx = (rc.left + rc.right) / 2;
    const int cy = (rc.top + rc.bottom) / 2 - f / 2;
    DrawTriangle(pDC, CPoint(cx - f, cy), CPoint(cx + f, cy), CPoint(cx, cy + f), clr);
}

void CWVPPaintManager::DrawDropDownGlyph(CDC* pDC, CWVPControl*, CPoint pt, BOOL bSelected, BOOL bPopuped,
                                         BOOL bEnabled, BOOL bSideways)
{
    const COLORREF clr = GetRectangleTextColor(bSelected, FALSE, bEnabled, FALSE, bPopuped, wvpBarTypeNormal, wvpBarTop);
    if (bSideways)
        DrawTriangle(pDC, CPoint(pt.x + 2, pt.y - 2), CPoint(pt.x + 2, pt.y + 2), pt, clr);
    else
        DrawTriangle(pDC, CPoint(pt.x - 2, pt.y - 1), CPoint(pt.x + 2, pt.y - 1), CPoint(pt.x, pt.y + 1), clr);
}

CSize CWVPPaintManager::DrawButtonMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed, int checked,
                                       BOOL bEnabled, int part, UINT frameStyle)
{
    if (!bDraw)
        return CSize(kMarkSize, kMarkSize);
    if (m_bThemedCheckBoxes && m_themeButton.IsThemeUsable())
    {
        const int base = !bEnabled ? 3 : !bSelected ? 0 : bPressed ? 2 : 1;
        const int state = 1 + base + 4 * (checked == 1) + 8 * (checked == 2);
        m_themeButton.DrawThemeBackground(pDC->GetSafeHdc(), part, state, rc, nullptr);
    }
    else
    {
        const UINT style = frameStyle | (checked ? DFCS_CHECKED : 0) | (bPressed ? DFCS_PUSHED : 0) |
                           (!bEnabled || checked == 2 ? DFCS_INACTIVE : 0);
        CRect box = rc;
        ::DrawFrameControl(pDC->GetSafeHdc(), &box, DFC_BUTTON, style);
    }
    return CSize(kMarkSize, kMarkSize);
}

CSize CWVPPaintManager::DrawControlCheckBoxMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed,
                                                int checked, BOOL bEnabled)
{
    return DrawButtonMark(pDC, rc, bDraw, bSelected, bPressed, checked, bEnabled, kCheckBoxPart, DFCS_BUTTONCHECK);
}

CSize CWVPPaintManager::DrawControlRadioButtonMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed,
                                                   int checked, BOOL bEnabled)
{
    return DrawButtonMark(pDC, rc, bDraw, bSelected, bPressed, checked, bEnabled, kRadioButtonPart, DFCS_BUTTONRADIO);
}

CSize CWVPPaintManager::DrawSpecialControl(CDC* pDC, int kind, CWVPControl* pControl, CWVPCommandBar* pBar,
                                           BOOL bDraw, CSize extra)
{
    const int position = pBar ? pBar->GetPosition() : wvpBarTop;
    const BOOL vertical = position == wvpBarLeft || position == wvpBarRight || position == wvpBarPopup;
    switch (kind)
    {
    case 0: // expand button of tool bars
    {
        if (!bDraw)
        {
            const int w = extra.cx, h = extra.cy;
            pControl->SetRect(vertical ? CRect(2, h - 13, w - 2, h - 2) : CRect(w - 13, 2, w - 2, h - 2));
            return CSize(0, 0);
        }
        DrawControlEntry(pDC, pControl);
        const CRect rc = pControl->GetRect();
        const COLORREF clr = GetControlTextColor(pControl);
        if (vertical)
            DrawTriangle(pDC, CPoint(rc.left + 6, rc.top + 3), CPoint(rc.left + 6, rc.top + 7),
                         CPoint(rc.left + 4, rc.top + 5), clr);
        else
        {
            const int cx = rc.CenterPoint().x;
            DrawTriangle(pDC, CPoint(cx - 2, rc.bottom - 7), CPoint(cx + 2, rc.bottom - 7), CPoint(cx, rc.bottom - 5),
                         clr);
        }
        if (extra.cx || extra.cy)
        {
            CWVPPenDC pen(pDC->GetSafeHdc(), clr);
            for (int step = 0; step < 2; ++step)
                for (int shift = 0; shift < 2; ++shift)
                {
                    POINT points[3];
                    if (vertical)
                    {
                        const int dy = step * 4 + shift;
                        points[0] = {rc.right - 8, rc.top + 2 + dy};
                        points[1] = {rc.right - 6, rc.top + 4 + dy};
                        points[2] = {rc.right - 3, rc.top + 1 + dy};
                    }
                    else
                    {
                        const int dx = step * 4 + shift;
                        points[0] = {rc.left + 2 + dx, rc.top + 4};
                        points[1] = {rc.left + 4 + dx, rc.top + 6};
                        points[2] = {rc.left + 1 + dx, rc.top + 9};
                    }
                    pDC->Polyline(points, 3);
                }
        }
        return CSize(0, 0);
    }
    case 1: // expand button of popups
        if (bDraw)
        {
            DrawControlEntry(pDC, pControl);
            const CRect rc = pControl->GetRect();
            const int c = rc.CenterPoint().x;
            CWVPPenDC pen(pDC->GetSafeHdc(), RGB(0, 0, 0));
            for (int step = 0; step < 2; ++step)
                for (int shift = 0; shift < 2; ++shift)
                {
                    const int dy = step * 4 + shift;
                    const POINT points[3] = {{c - 2, rc.top + 2 + dy}, {c, rc.top + 4 + dy}, {c + 3, rc.top + 1 + dy}};
                    pDC->Polyline(points, 3);
                }
        }
        return CSize(0, 12);
    case 2: // caption button of a floating bar
        if (bDraw)
        {
            CFont marlett;
            LOGFONTW lf;
            ZeroLogFont(&lf);
            lf.lfHeight = -::MulDiv(::MulDiv(kMarlettPoints, 96, std::max(pDC->GetDeviceCaps(LOGPIXELSX), 1)),
                                    pDC->GetDeviceCaps(LOGPIXELSY), 720);
            lf.lfCharSet = SYMBOL_CHARSET;
            ::lstrcpyW(lf.lfFaceName, L"Marlett");
            marlett.CreateFontIndirect(&lf);
            DrawControlEntry(pDC, pControl);
            const COLORREF clr = pControl->GetPressed() || pControl->GetSelected()
                                     ? GetControlTextColor(pControl)
                                     : m_floatingCaptionTextColor.GetColor();
            CWVPFontDC font(pDC, &marlett, clr);
            pDC->SetBkMode(TRANSPARENT);
            CRect rc = pControl->GetRect();
            pDC->DrawText(L"r", rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
        return CSize(0, 0);
    case 3: // small arrow button
        if (bDraw)
        {
            DrawControlEntry(pDC, pControl);
            const COLORREF clr = pControl->GetSelected() || pControl->GetPopuped()
                                     ? GetControlTextColor(pControl)
                                     : m_floatingCaptionTextColor.GetColor();
            const CPoint c = pControl->GetRect().CenterPoint();
            DrawTriangle(pDC, CPoint(c.x - 3, c.y - 2), CPoint(c.x + 3, c.y - 2), CPoint(c.x, c.y + 1), clr);
        }
        return CSize(0, 0);
    default:
        return CSize(0, 0);
    }
}

CSize CWVPPaintManager::DrawCommandBarGripper(CDC* pDC, CWVPCommandBar* pBar, BOOL bDraw)
{
    if (!pDC || !pBar || pBar->GetPosition() != wvpBarFloating)
        return CSize(0, 0);
    CRect client;
    ::GetClientRect(pBar->GetSafeHwnd(), &client);
    int bottom = 18;
    {
        CWVPFontDC font(pDC, &m_fontSmallCaption);
        const int height = pDC->GetTextExtent(L" ", 1).cy;
        if (height >= 15)
            bottom = height + 3;
    }
    const CRect strip(3, 3, client.Width() - 3, bottom);
    if (bDraw)
    {
        pDC->SetBkMode(TRANSPARENT);
        pDC->FillSolidRect(strip, m_floatingCaptionColor.GetColor());
        CWVPFontDC font(pDC, &m_fontSmallCaption, m_floatingCaptionTextColor.GetColor());
        CRect text(5, 3, strip.right - 2 * strip.Height(), strip.bottom);
        pDC->DrawText(pBar->GetTitle(), text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    return strip.Size();
}

void CWVPPaintManager::DrawKeyboardTip(CDC* pDC, CWVPCommandBarKeyboardTip* pTip, BOOL bRegionOnly)
{
    if (bRegionOnly || !pDC || !pTip)
        return;
    CRect rc;
    ::GetClientRect(pTip->GetSafeHwnd(), &rc);
    pDC->FillSolidRect(rc, GetColor(kColorInfoBack));
    const COLORREF border = ::GetSysColor(COLOR_BTNSHADOW);
    pDC->Draw3dRect(rc, border, border);
    pDC->SetBkMode(TRANSPARENT);
    CWVPFontDC font(pDC, &m_fontStatus, GetColor(pTip->IsEnabled() ? kColorInfoText : kColorGrayText));
    pDC->DrawText(pTip->GetTipText(), rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

int CWVPPaintManager::DrawPopupBarText(CDC* pDC, const CString& text, CRect& rc, UINT format, BOOL bDraw,
                                       BOOL bSelected, BOOL bEnabled)
{
    if (!bDraw)
        return pDC->DrawText(text, rc, format | DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
    if (!bEnabled && !bSelected && m_bEmbossedDisabledText)
    {
        const COLORREF old = pDC->SetTextColor(GetColor(kColorButtonHighlight));
        CRect shifted = rc;
        shifted.OffsetRect(1, 1);
        pDC->DrawText(text, shifted, format | DT_SINGLELINE | DT_VCENTER);
        pDC->SetTextColor(old);
    }
    return pDC->DrawText(text, rc, format | DT_SINGLELINE | DT_VCENTER);
}

void CWVPPaintManager::DrawControlText(CDC* pDC, CWVPControl* pControl, const CString& caption, const CString& plain,
                                       CRect rc, BOOL vertical, BOOL centred)
{
    const BOOL emboss = !pControl->GetEnabled() && m_bEmbossedDisabledText;
    CWVPCommandBar* pBar = pControl->GetParent();
    BOOL cues = pBar ? pBar->IsKeyboardCuesVisible() : TRUE;
    if (m_nKeyboardCues >= 0)
        cues = m_nKeyboardCues;
    const auto embossCopy = [&](UINT format) {
        const COLORREF old = pDC->SetTextColor(GetColor(kColorButtonHighlight));
        CRect shifted = rc;
        shifted.OffsetRect(1, 1);
        pDC->DrawText(plain, shifted, format);
        pDC->SetTextColor(old);
    };
    if (vertical)
    {
        const UINT format = DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX | (centred ? DT_CENTER : 0);
        if (emboss)
            embossCopy(format);
        pDC->DrawText(plain, rc, format);
        return;
    }
    const UINT format = DT_SINGLELINE | DT_VCENTER | (centred ? DT_CENTER : 0);
    if (emboss)
        embossCopy(format | DT_NOPREFIX);
    if (cues)
        DrawTextOnGlass(pDC, caption, rc, format, pControl->IsOverDwmCaption());
    else
        DrawTextOnGlass(pDC, plain, rc, format | DT_NOPREFIX, pControl->IsOverDwmCaption());
}

void CWVPPaintManager::DrawTextOnGlass(CDC* pDC, const CString& text, CRect rc, UINT format, BOOL composited)
{
    if (composited)
    {
        CWVPWinThemeWrapper globals;
        if (globals.OpenThemeData(nullptr, L"GLOBALS") && globals.IsThemeUsable())
        {
            DTTOPTS options = {};
            options.dwSize = kGlassOptionsSize;
            options.dwFlags = DTT_COMPOSITED | DTT_TEXTCOLOR;
            options.crText = pDC->GetTextColor();
            CRect target = rc;
            if (SUCCEEDED(globals.DrawThemeTextEx(pDC->GetSafeHdc(), 0, 0, text, text.GetLength(), format, &target,
                                                  &options)))
                return;
        }
    }
    pDC->DrawText(text, rc, format);
}

void AFX_CDECL CWVPPaintManager::SplitCaption(const CString& caption, CString& first, CString& second)
{
    first = caption;
    second.Empty();
    const int firstSpace = caption.Find(L' ');
    const int h = caption.GetLength() / 2;
    if (firstSpace < 1 || h <= 1)
        return;
    for (int j = 0; j < h - 1; ++j)
    {
        int at = -1;
        if (caption[h - j] == L' ')
            at = h - j;
        else if (h + j + 1 < caption.GetLength() && caption[h + j + 1] == L' ')
            at = h + j + 1;
        if (at >= 0)
        {
            first = caption.Left(at);
            second = caption.Mid(at + 1);
            return;
        }
    }
}

void CWVPPaintManager::Animate(CDC* pDestDC, CDC* pSrcDC, CRect rc, int kind)
{
    const int n = m_nAnimationSteps, t = m_nAnimationTime;
    if (n <= 0)
        return;
    const int width = rc.Width(), height = rc.Height();
    switch (kind)
    {
    case 2: // unfold
        for (int c = 1; c <= n; ++c)
        {
            const int w = c * width / n, h = c * height / n;
            pDestDC->BitBlt(0, 0, w, h, pSrcDC, rc.right - w, rc.bottom - h, SRCCOPY);
            ::Sleep(t / n);
        }
        break;
    case 3: // slide
        for (int i = 1; i <= n; ++i)
        {
            const int h = height * i / n;
            pDestDC->BitBlt(0, 0, width, h, pSrcDC, 0, height - h, SRCCOPY);
            ::Sleep(t / n);
        }
        break;
    case 4: // fade
    {
        DibSurface source(width, height), dest(width, height), frame(width, height);
        if (!source.bits || !dest.bits || !frame.bits)
            return;
        ::BitBlt(source.dc, 0, 0, width, height, pSrcDC->GetSafeHdc(), rc.left, rc.top, SRCCOPY);
        ::BitBlt(dest.dc, 0, 0, width, height, pDestDC->GetSafeHdc(), rc.left, rc.top, SRCCOPY);
        ::GdiFlush();
        for (int i = 1; i < n; ++i)
        {
            const DWORD start = ::GetTickCount();
            AlphaBlendPixels(frame.bits, dest.bits, width, height, source.bits, 255 * i / n);
            ::BitBlt(pDestDC->GetSafeHdc(), rc.left, rc.top, width, height, frame.dc, 0, 0, SRCCOPY);
            const DWORD spent = ::GetTickCount() - start;
            if (spent < DWORD(t / n))
                ::Sleep(t / n - spent);
        }
        break;
    }
    default:
        break;
    }
}

int CWVPPaintManager::AnimateExpanding(CWVPCommandBar* pPopup, CDC* pDestDC, CDC* pSrcDC, BOOL topDown)
{
    const int n = m_nAnimationSteps, t = m_nAnimationTime;
    if (n <= 0 || !pPopup)
        return 0;
    CRect client;
    ::GetClientRect(pPopup->GetSafeHwnd(), &client);
    const int width = client.Width(), height = client.Height();
    // Bands of consecutive visible controls alike in being revealed, bounded by control edges.
    struct Band
    {
        int top, bottom;
        BOOL revealed;
    };
    std::vector<Band> bands;
    CWVPControls* controls = pPopup->GetControls();
    const int count = controls->GetCount();
    for (int k = 0; k < count; ++k)
    {
        CWVPControl* control = controls->GetAt(topDown ? k : count - 1 - k);
        if (!control->IsVisible(0))
            continue;
        const CRect rc = control->GetRect();
        const BOOL revealed = control->GetExpandReveal();
        if (bands.empty() || bands.back().revealed != revealed)
            bands.push_back(Band{rc.top, rc.bottom, revealed});
        else if (topDown)
            bands.back().bottom = rc.bottom;
        else
            bands.back().top = rc.top;
    }
    if (bands.empty())
        return 0;
    // The outer bands reach the buffer's edges.
    if (topDown)
    {
        bands.front().top = 0;
        bands.back().bottom = height;
    }
    else
    {
        bands.front().bottom = height;
        bands.back().top = 0;
    }
    for (int i = 1; i <= n; ++i)
    {
        const double f = double(i) / n;
        int y = topDown ? 0 : height;
        for (const Band& band : bands)
        {
            const int full = band.bottom - band.top;
            const int shown = band.revealed ? int(full * f) : full;
            const int top = topDown ? y : y - shown;
            ::StretchBlt(pDestDC->GetSafeHdc(), 0, top, width, shown, pSrcDC->GetSafeHdc(), 0, band.top, width, full,
                         SRCCOPY);
            y = topDown ? y + shown : y - shown;
        }
        ::Sleep(t / n);
    }
    return n;
}
