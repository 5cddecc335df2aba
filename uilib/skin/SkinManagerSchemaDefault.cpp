#include "uilib/skin/SkinManagerSchemaDefault.h"

#include "uilib/foundation/BufferDC.h"
#include "uilib/skin/SkinDCGuards.h"
#include "uilib/skin/SkinDrawHelpers.h"
#include "uilib/skin/SkinImage.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinManagerClass.h"
#include "uilib/skin/SkinObjectFrame.h"
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

namespace
{

const int kPartCaption = 1;
const int kPartSmallCaption = 2;
const int kPartFrameLeft = 7;
const int kPartSmallFrameLeft = 10;
const int kStateActive = 1;
const int kStateInactive = 2;
const int kColorIdCaptionText = 1610;
const int kColorIdInactiveCaptionText = 1620;
const int kIconMargin = 2;
const int kButtonGap = 2;
const int kButtonHeightInset = 5;
const int kClientEdgeInset = 2;

} // namespace

void CWVPSkinManagerSchemaDefault::DrawNonCaptionFrame(HDC hDC, HWND hWnd, RECT rc)
{
    DWORD style = DWORD(::GetWindowLongW(hWnd, GWL_STYLE));
    DWORD exStyle = DWORD(::GetWindowLongW(hWnd, GWL_EXSTYLE));
    const CWVPSkinManagerMetrics* metrics = m_pManager->GetMetrics();
    if (exStyle & WS_EX_WINDOWEDGE)
        ::DrawEdge(hDC, &rc, EDGE_RAISED, BF_RECT | BF_ADJUST);
    else if (exStyle & WS_EX_STATICEDGE)
        ::DrawEdge(hDC, &rc, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    if ((style & (WS_BORDER | WS_DLGFRAME)) || (exStyle & WS_EX_DLGMODALFRAME))
    {
        bool face = (style & WS_DLGFRAME) ||
                    (exStyle & (WS_EX_WINDOWEDGE | WS_EX_STATICEDGE | WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME));
        WVPSkinDrawFrameColor(hDC, rc, 1, metrics->GetColor(face ? COLOR_BTNFACE : COLOR_WINDOWFRAME));
        ::InflateRect(&rc, -1, -1);
    }
    if (style & WS_THICKFRAME)
    {
        WVPSkinDrawFrameColor(hDC, rc, metrics->m_nBorderSize, metrics->GetColor(COLOR_BTNFACE));
        ::InflateRect(&rc, -metrics->m_nBorderSize, -metrics->m_nBorderSize);
    }
    if (exStyle & WS_EX_CLIENTEDGE)
        ::DrawEdge(hDC, &rc, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
}

HICON CWVPSkinManagerSchemaDefault::GetFrameIcon(HWND hWnd) const
{
    DWORD style = DWORD(::GetWindowLongW(hWnd, GWL_STYLE));
    if ((::GetWindowLongW(hWnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) || !(style & WS_SYSMENU))
        return nullptr;
    HICON icon = reinterpret_cast<HICON>(::SendMessageW(hWnd, WM_GETICON, ICON_SMALL, 0));
    if (!icon)
        icon = reinterpret_cast<HICON>(::GetClassLongPtrW(hWnd, GCLP_HICONSM));
    if (!icon)
        icon = ::LoadIconW(nullptr, IDI_WINLOGO);
    return icon;
}

void CWVPSkinManagerSchemaDefault::DrawThemeFrame(HDC hDC, CWVPSkinObjectFrame* pFrame)
{
    HWND hWnd = pFrame->GetSkinnedWindow();
    RECT window;
    ::GetWindowRect(hWnd, &window);
    int width = window.right - window.left, height = window.bottom - window.top;
    RECT all = {0, 0, width, height};
    DWORD style = DWORD(::GetWindowLongW(hWnd, GWL_STYLE));
    DWORD exStyle = DWORD(::GetWindowLongW(hWnd, GWL_EXSTYLE));
    if ((style & WS_CAPTION) != WS_CAPTION)
    {
        DrawNonCaptionFrame(hDC, hWnd, all);
        return;
    }
    RECT borders = pFrame->GetBorders();
    if (exStyle & WS_EX_CLIENTEDGE)
    {
        RECT edge = {borders.left - kClientEdgeInset, borders.top - kClientEdgeInset,
                     width - borders.right + kClientEdgeInset, height - borders.bottom + kClientEdgeInset};
        ::DrawEdge(hDC, &edge, EDGE_SUNKEN, BF_RECT);
        borders.left -= kClientEdgeInset;
        borders.top -= kClientEdgeInset;
        borders.right -= kClientEdgeInset;
        borders.bottom -= kClientEdgeInset;
    }
    CWVPSkinManagerClass* windowClass = m_pManager->GetSkinClass(L"WINDOW");
    if (!windowClass)
        return;
    bool tool = (exStyle & WS_EX_TOOLWINDOW) != 0;
    int state = pFrame->IsActive() ? kStateActive : kStateInactive;
    int frameLeft = tool ? kPartSmallFrameLeft : kPartFrameLeft;
    RECT left = {0, borders.top, borders.left, height - borders.bottom};
    RECT right = {width - borders.right, borders.top, width, height - borders.bottom};
    RECT bottom = {0, height - borders.bottom, width, height};
    windowClass->DrawThemeBackground(hDC, frameLeft, state, &left);
    windowClass->DrawThemeBackground(hDC, frameLeft + 1, state, &right);
    windowClass->DrawThemeBackground(hDC, frameLeft + 2, state, &bottom);

    // The caption is composed in a buffer and copied at once, so that it never flickers.
    CSingleLock lock(&m_csDraw, TRUE);
    RECT caption = {0, 0, width, borders.top};
    CWVPBufferDC buffer(hDC, CRect(caption));
    if (buffer.GetSafeHdc())
        hDC = buffer.GetSafeHdc();
    int part = tool ? kPartSmallCaption : kPartCaption;
    windowClass->DrawThemeBackground(hDC, part, state, &caption);
    const CWVPSkinManagerMetrics* metrics = m_pManager->GetMetrics();
    RECT plain = CalcFrameBorders(style & ~WS_CAPTION, exStyle & ~WS_EX_CLIENTEDGE);
    int margin = plain.top - metrics->m_cyBorder;
    int titleLeft = borders.left;
    if (HICON icon = GetFrameIcon(hWnd))
    {
        int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
        int top = margin + (borders.top - margin - cy) / 2;
        int x = borders.left + kIconMargin;
        ::DrawIconEx(hDC, x, top, icon, cx, cy, 0, nullptr, DI_NORMAL);
        titleLeft = x + cx;
    }
    int titleRight = DrawThemeFrameButtons(hDC, pFrame);
    int length = ::GetWindowTextLengthW(hWnd);
    if (length > 0)
    {
        std::vector<WCHAR> text(length + 1);
        ::GetWindowTextW(hWnd, text.data(), length + 1);
        COLORREF color =
            m_pManager->GetThemeSysColor(pFrame->IsActive() ? kColorIdCaptionText : kColorIdInactiveCaptionText);
        HFONT font =
            tool ? HFONT(metrics->m_fntSmCaption.GetSafeHandle()) : HFONT(metrics->m_fntCaption.GetSafeHandle());
        HGDIOBJ oldFont = font ? ::SelectObject(hDC, font) : nullptr;
        COLORREF oldColor = ::SetTextColor(hDC, color);
        int oldMode = ::SetBkMode(hDC, TRANSPARENT);
        RECT title = {titleLeft, margin + 1, titleRight, borders.top};
        UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
        if (exStyle & WS_EX_RIGHT)
            format |= DT_RIGHT;
        if (exStyle & WS_EX_RTLREADING)
            format |= DT_RTLREADING;
        ::DrawTextW(hDC, text.data(), -1, &title, format);
        ::SetBkMode(hDC, oldMode);
        ::SetTextColor(hDC, oldColor);
        if (oldFont)
            ::SelectObject(hDC, oldFont);
    }
}

int CWVPSkinManagerSchemaDefault::DrawThemeFrameButtons(HDC hDC, CWVPSkinObjectFrame* pFrame)
{
    HWND hWnd = pFrame->GetSkinnedWindow();
    RECT window;
    ::GetWindowRect(hWnd, &window);
    int width = window.right - window.left;
    DWORD style = DWORD(::GetWindowLongW(hWnd, GWL_STYLE));
    DWORD exStyle = DWORD(::GetWindowLongW(hWnd, GWL_EXSTYLE));
    const CWVPSkinManagerMetrics* metrics = m_pManager->GetMetrics();
    RECT plain = CalcFrameBorders(style & ~WS_CAPTION, exStyle & ~WS_EX_CLIENTEDGE);
    int count = plain.left / (metrics->m_cxBorder > 0 ? metrics->m_cxBorder : 1); // the border count
    int offset = ((exStyle & (WS_EX_WINDOWEDGE | WS_EX_STATICEDGE)) ? 1 : 0) +
                 ((style & WS_THICKFRAME) ? (metrics->m_nBorderSize + 1) / 2 : 0);
    int captionHeight = pFrame->GetBorders().top;
    bool clientEdge = (exStyle & WS_EX_CLIENTEDGE) != 0;
    int h = captionHeight - count * metrics->m_cxBorder - kButtonHeightInset - (clientEdge ? 2 : 0);
    int w = h;
    CWVPSkinManagerClass* windowClass = m_pManager->GetSkinClass(L"WINDOW");
    if (!(exStyle & WS_EX_TOOLWINDOW) && windowClass && !windowClass->GetThemeInt(18, 1, 4001, 0))
    {
        SIZE size = {};
        if (windowClass->GetThemePartSize(18, 1, nullptr, CWVPSkinManagerClass::kSizeTrue, size) && size.cy > 0)
            w = MulDiv(size.cx - size.cy, 4, size.cy) + MulDiv(size.cx, h, size.cy);
    }
    int top = offset + (captionHeight - h) / 2 - (clientEdge ? 1 : 0);
    RECT rc = {width - w - count - kButtonGap, top, width - count - kButtonGap, top + h};
    for (auto& button : pFrame->GetCaptionButtons())
    {
        button->m_rcButton = rc;
        button->Draw(hDC, pFrame->IsActive());
        ::OffsetRect(&rc, -(w + kButtonGap), 0);
    }
    return rc.right + kButtonGap;
}

namespace
{

const int kScrollPartArrow = 1;
const int kScrollPartThumbHorz = 2;
const int kScrollPartThumbVert = 3;
const int kScrollPartLowerTrackHorz = 4;
const int kScrollPartUpperTrackHorz = 5;
const int kScrollPartLowerTrackVert = 6;
const int kScrollPartUpperTrackVert = 7;
const int kScrollPartGripperHorz = 8;
const int kScrollPartGripperVert = 9;
const int kHoverArrowImageCount = 20;
const int kDefaultArrowImageCount = 16;
const int kGripperMinVert = 13;
const int kGripperMinHorz = 9;
const int kPartStateNormal = 1;
const int kPartStateHot = 2;
const int kPartStatePressed = 3;
const int kPartStateDisabled = 4;

// Arrow states: normal, hot, pressed, hover, disabled of the up, down, left and right arrows.
struct ArrowStates
{
    int normal, hot, pressed, hover, disabled;
};
const ArrowStates kArrowStates[] = {{1, 2, 3, 17, 4}, {5, 6, 7, 18, 8}, {9, 10, 11, 19, 12}, {13, 14, 15, 20, 16}};

} // namespace

void CWVPSkinManagerSchemaDefault::DrawThemeScrollBar(HDC hDC, CWVPSkinObjectFrame* pFrame, void* pInfo)
{
    auto* sb = static_cast<CWVPSkinObjectFrame::SCROLLBARPOSINFO*>(pInfo);
    const CWVPSkinObjectFrame::SCROLLBARTRACKINFO* track = pFrame->GetScrollBarTrackInfo();
    bool ours = track && track->pSBInfo == sb;
    int pressed = ours && (track->bTrackThumb || track->fHitOld) ? sb->ht : 0;
    int hot = track ? 0 : sb->ht;
    bool over = ours || (!track && sb->ht > 0);
    if (sb->pxRight - sb->pxLeft < 1)
        return;
    ::FillRect(hDC, &sb->rc, pFrame->GetClientBrush(hDC));
    bool enabled = sb->posMax - sb->page - sb->posMin + 1 > 0;
    if (sb->nBar == SB_CTL && (::GetWindowLongW(pFrame->GetSkinnedWindow(), GWL_STYLE) & WS_DISABLED))
        enabled = false;
    CWVPSkinManagerClass* scrollBar = m_pManager->GetSkinClass(L"SCROLLBAR");
    if (!scrollBar)
        return;
    bool thumb = enabled && sb->pxThumbEnd <= sb->pxDownArrow;
    int imageCount = scrollBar->GetThemeInt(kScrollPartArrow, 0, kSkinPropImageCount, kDefaultArrowImageCount);
    // A rectangle from along-axis coordinates.
    auto span = [sb](int from, int to) {
        return sb->fVert ? RECT{sb->pxLeft, from, sb->pxRight, to} : RECT{from, sb->pxLeft, to, sb->pxRight};
    };
    auto arrowState = [&](const ArrowStates& states, int hit) {
        if (!enabled)
            return states.disabled;
        if (pressed == hit)
            return states.pressed;
        if (hot == hit)
            return states.hot;
        return imageCount == kHoverArrowImageCount && over ? states.hover : states.normal;
    };
    auto partState = [&](int hit) {
        if (!enabled)
            return kPartStateDisabled;
        return pressed == hit ? kPartStatePressed : hot == hit ? kPartStateHot : kPartStateNormal;
    };
    const ArrowStates& first = kArrowStates[sb->fVert ? 0 : 2];
    const ArrowStates& second = kArrowStates[sb->fVert ? 1 : 3];
    RECT rcFirst = span(sb->pxTop, sb->pxUpArrow);
    RECT rcSecond = span(sb->pxDownArrow, sb->pxBottom);
    scrollBar->DrawThemeBackground(hDC, kScrollPartArrow, arrowState(first, CWVPSkinObjectFrame::kScrollFirstArrow),
                                   &rcFirst);
    scrollBar->DrawThemeBackground(hDC, kScrollPartArrow, arrowState(second, CWVPSkinObjectFrame::kScrollSecondArrow),
                                   &rcSecond);
    if (sb->pxDownArrow <= sb->pxUpArrow)
        return;
    int thumbStart = thumb ? sb->pxThumbStart : sb->pxUpArrow;
    int thumbEnd = thumb ? sb->pxThumbEnd : sb->pxUpArrow;
    RECT before = span(sb->pxUpArrow, thumbStart);
    RECT thumbRect = span(thumbStart, thumbEnd);
    RECT after = span(thumbEnd, sb->pxDownArrow);
    if (!::IsRectEmpty(&before))
        scrollBar->DrawThemeBackground(hDC, sb->fVert ? kScrollPartLowerTrackVert : kScrollPartLowerTrackHorz,
                                       partState(CWVPSkinObjectFrame::kScrollPageBefore), &before);
    if (thumb && !::IsRectEmpty(&thumbRect))
    {
        int state = partState(CWVPSkinObjectFrame::kScrollThumb);
        scrollBar->DrawThemeBackground(hDC, sb->fVert ? kScrollPartThumbVert : kScrollPartThumbHorz, state, &thumbRect);
        int length = thumbEnd - thumbStart;
        if (length > (sb->fVert ? kGripperMinVert : kGripperMinHorz))
            scrollBar->DrawThemeBackground(hDC, sb->fVert ? kScrollPartGripperVert : kScrollPartGripperHorz, state,
                                           &thumbRect);
    }
    if (!::IsRectEmpty(&after))
        scrollBar->DrawThemeBackground(hDC, sb->fVert ? kScrollPartUpperTrackVert : kScrollPartUpperTrackHorz,
                                       partState(CWVPSkinObjectFrame::kScrollPageAfter), &after);
}

CWVPSkinManagerSchemaDefault::FRAMEREGION::~FRAMEREGION()
{
    if (hLeft)
        ::DeleteObject(hLeft);
    if (hRight)
        ::DeleteObject(hRight);
}

void CWVPSkinManagerSchemaDefault::RefreshMetrics()
{
    m_arrFrameRegions.clear();
    CWVPSkinManagerSchema::RefreshMetrics();
}

namespace
{

void AddRow(HRGN& hRegion, int left, int right, int y)
{
    HRGN row = ::CreateRectRgn(left, y, right, y + 1);
    if (!hRegion)
    {
        hRegion = row;
        return;
    }
    ::CombineRgn(hRegion, hRegion, row, RGN_OR);
    ::DeleteObject(row);
}

void SubtractRegion(HRGN hTarget, HRGN hPart, int dx)
{
    if (!hPart)
        return;
    HRGN moved = ::CreateRectRgn(0, 0, 0, 0);
    ::CombineRgn(moved, hPart, nullptr, RGN_COPY);
    ::OffsetRgn(moved, dx, 0);
    ::CombineRgn(hTarget, hTarget, moved, RGN_DIFF);
    ::DeleteObject(moved);
}

} // namespace

CWVPSkinManagerSchemaDefault::FRAMEREGION* CWVPSkinManagerSchemaDefault::MakeFrameRegion(int nCaptionHeight,
                                                                                         DWORD dwToolWindow, int nWidth)
{
    CWVPSkinManagerClass* windowClass = m_pManager->GetSkinClass(L"WINDOW");
    int part = dwToolWindow ? kPartSmallCaption : kPartCaption;
    if (!windowClass || nCaptionHeight <= 0)
        return nullptr;
    CString name = windowClass->GetImageFileName(part, kStateActive);
    CWVPSkinImage* image =
        name.IsEmpty() ? nullptr : windowClass->GetImageCache().GetImage(m_pManager->GetResourceFile(), name);
    int count = windowClass->GetThemeInt(part, kStateActive, kSkinPropImageCount, 1);
    if (!image || !image->GetExtent().cx || !image->GetExtent().cy || count <= 0)
        return nullptr;
    bool transparent =
        !image->IsAlphaImage() && windowClass->GetThemeBool(part, kStateActive, kSkinPropTransparent, false);
    COLORREF key = transparent ? windowClass->GetThemeColor(part, kStateActive, kSkinPropTransparentColor,
                                                            kDefaultTransparentColor)
                               : kDefaultTransparentColor;
    if (key == CLR_INVALID)
        key = kDefaultTransparentColor;
    RECT margins = windowClass->GetThemeRect(part, kStateActive, kSkinPropSizingMargins);
    margins.bottom = std::min<LONG>(margins.bottom, std::max<LONG>(0, nCaptionHeight - margins.top));
    auto region = std::make_unique<FRAMEREGION>();
    int width = image->GetExtent().cx;
    if (nWidth < margins.left + margins.right)
    {
        width = nWidth;
        int left = ::MulDiv(nWidth, margins.left, margins.left + margins.right);
        margins.right = nWidth - left;
        margins.left = left;
        region->bTemporary = true;
    }
    if (width <= 0)
        return nullptr;
    CWVPSkinPixelBitmap bitmap(width, nCaptionHeight);
    if (!bitmap.IsValid())
        return nullptr;
    RECT all = {0, 0, width, nCaptionHeight};
    WVPSkinFillSolidRect(bitmap.Dc(), all, key);
    bool horizontal;
    SIZE frame = windowClass->GetStateFrameSize(part, kStateActive, image->GetExtent(), &count, &horizontal);
    RECT src = GetStateRect(frame, 1, count, horizontal);
    image->CreateSolidRectArray(count, horizontal, margins);
    image->DrawImage(bitmap.Dc(), all, src, margins, transparent ? key : CLR_INVALID, kSkinSizingStretch, false);
    ::GdiFlush();
    bool topRowsOpen = true;
    for (int y = 0; y < nCaptionHeight; ++y)
    {
        int run = 0;
        while (run < margins.left && bitmap.At(run, y) == key)
            ++run;
        if (run > 0)
            AddRow(region->hLeft, 0, run, y);
        int rightStart = width - margins.right;
        for (int x = std::max(0, rightStart); x < width;)
        {
            if (bitmap.At(x, y) != key)
            {
                ++x;
                continue;
            }
            int end = x;
            while (end < width && bitmap.At(end, y) == key)
                ++end;
            AddRow(region->hRight, x - rightStart, end - rightStart, y);
            x = end;
        }
        if (topRowsOpen)
        {
            for (int x = margins.left; x < width - margins.right && topRowsOpen; ++x)
                topRowsOpen = bitmap.At(x, y) == key;
            if (topRowsOpen)
                ++region->nTopRows;
        }
    }
    region->nCaptionHeight = nCaptionHeight;
    region->dwToolWindow = dwToolWindow;
    region->rcMargins = margins;
    return region.release();
}

CWVPSkinManagerSchemaDefault::FRAMEREGION* CWVPSkinManagerSchemaDefault::GetFrameRegion(int nCaptionHeight,
                                                                                        DWORD dwToolWindow, int nWidth)
{
    for (auto& region : m_arrFrameRegions)
    {
        if (region->nCaptionHeight == nCaptionHeight && region->dwToolWindow == dwToolWindow)
        {
            if (nWidth >= region->rcMargins.left + region->rcMargins.right)
                return region.get();
            return MakeFrameRegion(nCaptionHeight, dwToolWindow, nWidth);
        }
    }
    FRAMEREGION* made = MakeFrameRegion(nCaptionHeight, dwToolWindow, nWidth);
    if (made && !made->bTemporary)
        m_arrFrameRegions.emplace_back(made);
    return made;
}

HRGN CWVPSkinManagerSchemaDefault::CalcFrameRegion(CWVPSkinObjectFrame* pFrame, int nWidth, int nHeight)
{
    HWND hWnd = pFrame->GetSkinnedWindow();
    DWORD style = DWORD(::GetWindowLongW(hWnd, GWL_STYLE));
    if ((style & WS_MAXIMIZE) && !(style & WS_CHILD))
    {
        int b = pFrame->GetBorders().left;
        MONITORINFO monitor = {sizeof monitor};
        ::GetMonitorInfoW(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
        if (nWidth != monitor.rcWork.right - monitor.rcWork.left)
            return ::CreateRectRgn(b, b, nWidth - b, nHeight - b);
        return ::CreateRectRgn(b, b, nWidth + 2 * b, nHeight + 2 * b);
    }
    HRGN result = ::CreateRectRgn(0, 0, nWidth, nHeight);
    DWORD tool = DWORD(::GetWindowLongW(hWnd, GWL_EXSTYLE)) & WS_EX_TOOLWINDOW;
    FRAMEREGION* region = GetFrameRegion(pFrame->GetBorders().top, tool, nWidth);
    if (!region)
        return result;
    SubtractRegion(result, region->hLeft, 0);
    SubtractRegion(result, region->hRight, nWidth - region->rcMargins.right);
    if (region->nTopRows > 0)
    {
        HRGN top = ::CreateRectRgn(region->rcMargins.left, 0, nWidth - region->rcMargins.right, region->nTopRows);
        ::CombineRgn(result, result, top, RGN_DIFF);
        ::DeleteObject(top);
    }
    if (region->bTemporary)
        delete region;
    return result;
}
