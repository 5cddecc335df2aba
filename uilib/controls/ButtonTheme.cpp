#include "uilib/controls/ButtonTheme.h"

#include "uilib/commandbars/PaintManager.h"
#include "uilib/controls/Button.h"
#include "uilib/foundation/ColorManager.h"

#include <algorithm>

namespace
{
// Visual-style parts and states of "BUTTON".
const int kPartPushButton = 1;
const int kPartRadioButton = 2;
const int kPartCheckBox = 3;
const int kPartGroupBox = 4;
const int kStateNormal = 1;
const int kStateHot = 2;
const int kStatePressed = 3;
const int kStateDisabled = 4;
const int kStateDefaulted = 5;
const int kCheckedStates = 4; // checked marks follow the four plain states
const int kPropertyGroupLine = 3822;
const int kClassicMarkSize = 13;
const int kMarkTextGap = 3;
const int kCaptionLeft = 8;
const int kCaptionRight = 6;
const int kArrowRoom = 12;
const int kArrowArea = 16;
const int kIconSize = 16;
// The button type (0 to 11) to its rectangle kind.
const int kKindOfType[] = {7, 7, 3, 3, 4, 3, 3, 5, 0, 4, 0, 7};

// Colour manager entries.
const UINT kColorGrayText = 17;
const UINT kColorFace = 15;
const UINT kColorShadow = 16;
const UINT kColorHighlight = 20;
const UINT kColorDarkShadow = 21;
const UINT kColorText = 18;
const UINT kColorWindow = 5;

int SpaceHeight(CDC* pDC)
{
    SIZE size = {};
    ::GetTextExtentPoint32W(pDC->m_hDC, L" ", 1, &size);
    return size.cy;
}

bool HidesAccelerators(CWVPButton* pButton)
{
    return (pButton->SendMessage(WM_QUERYUISTATE) & UISF_HIDEACCEL) != 0;
}

bool HidesFocus(CWVPButton* pButton)
{
    return (pButton->SendMessage(WM_QUERYUISTATE) & UISF_HIDEFOCUS) != 0;
}

void Frame3D(HDC hdc, CRect& rc, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    CDC::FromHandle(hdc)->Draw3dRect(&rc, clrTopLeft, clrBottomRight);
    rc.DeflateRect(1, 1);
}

// Where a span of the given size goes inside [low, high) for a low, high or centred alignment.
int Place(int low, int high, int size, int alignment)
{
    return alignment < 0 ? low : alignment > 0 ? high - size : (low + high - size) / 2;
}

int HorzOf(DWORD dwAlign)
{
    const DWORD h = dwAlign & (BS_LEFT | BS_RIGHT | BS_CENTER);
    return h == BS_LEFT ? -1 : h == BS_RIGHT ? 1 : 0;
}

int VertOf(DWORD dwAlign)
{
    const DWORD v = dwAlign & (BS_TOP | BS_BOTTOM | BS_VCENTER);
    return v == BS_TOP ? -1 : v == BS_BOTTOM ? 1 : 0;
}
} // namespace

CWVPButtonTheme::CWVPButtonTheme()
    : m_bOffsetHiLite(TRUE), m_nFocusInset(4), m_bFlatFrames(FALSE), m_cxBorder(::GetSystemMetrics(SM_CXBORDER)),
      m_cyBorder(::GetSystemMetrics(SM_CYBORDER)), m_cyEdge(::GetSystemMetrics(SM_CYEDGE)),
      m_cxEdge(::GetSystemMetrics(SM_CXEDGE))
{
}

CWVPButtonTheme::~CWVPButtonTheme() = default;

void CWVPButtonTheme::RefreshMetrics(CWVPButton* pButton)
{
    m_themeButton.OpenThemeData(pButton ? pButton->GetSafeHwnd() : nullptr, L"BUTTON");
    WVPRefreshColors();
    CWVPColorManager* pColors = WVPColorManager();
    m_crTextDisabled.SetDefault(pColors->GetColor(kColorGrayText));
    m_crFace.SetDefault(pColors->GetColor(kColorFace));
    m_crShadow.SetDefault(pColors->GetColor(kColorShadow));
    m_crHighlight.SetDefault(pColors->GetColor(kColorHighlight));
    m_crDarkShadow.SetDefault(pColors->GetColor(kColorDarkShadow));
    m_crBack.SetDefault(pColors->GetColor(kColorFace));
    m_crText.SetDefault(pColors->GetColor(kColorText));
}

BOOL CWVPButtonTheme::UseVisualStyles(CWVPButton* pButton)
{
    return pButton->m_bUseVisualStyle && m_themeButton.IsThemeUsable();
}

int CWVPButtonTheme::KindOfType(CWVPButton* pButton)
{
    if (pButton->IsPushLike())
        return rectPushContent;
    const UINT nType = pButton->GetButtonType();
    return nType < _countof(kKindOfType) ? kKindOfType[nType] : rectNone;
}

CSize CWVPButtonTheme::MarkSize(CDC* pDC, int nPart)
{
    SIZE size = {kClassicMarkSize, kClassicMarkSize};
    if (m_themeButton.IsThemeUsable())
        m_themeButton.GetThemePartSize(pDC->m_hDC, nPart, kStateNormal, nullptr, TS_DRAW, &size);
    return size;
}

CRect CWVPButtonTheme::CalcRect(CDC* pDC, CWVPButton* pButton, int nKind)
{
    CRect rcClient;
    pButton->GetClientRect(&rcClient);
    const DWORD dwStyle = pButton->GetStyle();
    const bool bLeftText = (dwStyle & BS_LEFTTEXT) != 0;
    switch (nKind)
    {
    case rectCheckMark:
    case rectRadioMark: {
        const CSize mark = UseVisualStyles(pButton)
                               ? MarkSize(pDC, nKind == rectCheckMark ? kPartCheckBox : kPartRadioButton)
                               : CSize(kClassicMarkSize, kClassicMarkSize);
        const int h = SpaceHeight(pDC);
        int y;
        switch (VertOf(pButton->GetTextAlignment()))
        {
        case -1:
            y = rcClient.top + (h + h / 4 - mark.cy) / 2;
            break;
        case 1:
            y = rcClient.bottom - (h + h / 4 + mark.cy) / 2;
            break;
        default:
            y = (rcClient.top + rcClient.bottom - mark.cy) / 2;
            break;
        }
        const int x = bLeftText ? rcClient.right - mark.cx : rcClient.left;
        return CRect(x, y, x + mark.cx, y + mark.cy);
    }
    case rectCheckText:
    case rectRadioText: {
        const CRect mark = CalcRect(pDC, pButton, nKind == rectCheckText ? rectCheckMark : rectRadioMark);
        CRect rc = rcClient;
        if (bLeftText)
            rc.right -= mark.Width() + kMarkTextGap;
        else
            rc.left += mark.Width() + kMarkTextGap;
        return rc;
    }
    case rectGroupCaption: {
        const CString text = pButton->GetButtonText();
        if (text.IsEmpty())
            return CRect(0, 0, 0, 0);
        CRect rcText(0, 0, 0, 0);
        ::DrawTextW(pDC->m_hDC, text, text.GetLength(), &rcText, DT_CALCRECT | DT_SINGLELINE);
        const int width = rcText.Width() + 2 * m_cxEdge;
        const bool bFlush = pButton->m_nGroupBoxStyle == CWVPButton::groupLine;
        const bool bRight = (dwStyle & (BS_LEFT | BS_RIGHT | BS_CENTER)) == BS_RIGHT;
        const int x = bRight ? rcClient.right - (bFlush ? 0 : m_cxBorder + kCaptionRight) - width
                             : rcClient.left + (bFlush ? 0 : m_cxBorder + kCaptionLeft);
        return CRect(x, rcClient.top, x + width, rcClient.top + rcText.Height());
    }
    case rectGroupFrame: {
        CRect rc = rcClient;
        rc.top += SpaceHeight(pDC) / 2;
        return rc;
    }
    case rectPushContent: {
        CRect rc = rcClient;
        rc.DeflateRect(m_cxEdge, m_cyEdge);
        return rc;
    }
    default:
        return CRect(0, 0, 0, 0);
    }
}

void CWVPButtonTheme::DrawButtonBackground(CDC* pDC, CWVPButton* pButton)
{
    const BOOL bPushed = pButton->IsPushed();
    const BOOL bChecked = pButton->GetChecked();
    const BOOL bHot = pButton->IsHighlighted();
    if (pButton->m_bFlat && !bHot && !bPushed && !bChecked)
        return;
    CRect rc;
    pButton->GetClientRect(&rc);
    const bool bDefault = pButton->GetButtonType() == BS_DEFPUSHBUTTON;
    if (UseVisualStyles(pButton))
    {
        int nState = kStateNormal;
        if (!pButton->IsWindowEnabled())
            nState = kStateDisabled;
        else if (bPushed)
            nState = kStatePressed;
        else if (bHot)
            nState = kStateHot;
        else if (bChecked)
            nState = kStatePressed;
        else if (bDefault)
            nState = kStateDefaulted;
        if (SUCCEEDED(m_themeButton.DrawThemeBackground(pDC->m_hDC, kPartPushButton, nState, &rc, nullptr)))
            return;
    }
    pDC->FillSolidRect(&rc, pButton->GetBackColor());
    const bool bDown = bPushed || bChecked;
    if (bDefault)
        Frame3D(pDC->m_hDC, rc, m_crDarkShadow, m_crDarkShadow);
    Frame3D(pDC->m_hDC, rc, bDown ? m_crDarkShadow : m_crHighlight, bDown ? m_crHighlight : m_crDarkShadow);
    Frame3D(pDC->m_hDC, rc, bDown ? m_crShadow : m_crFace, bDown ? m_crFace : m_crShadow);
}

UINT CWVPButtonTheme::TextFormat(CWVPButton* pButton) const
{
    UINT nFormat = (pButton->GetStyle() & BS_MULTILINE) ? DT_WORDBREAK | DT_EDITCONTROL : DT_SINGLELINE;
    nFormat |= DT_NOCLIP;
    if (pButton->GetExStyle() & WS_EX_RTLREADING)
        nFormat |= DT_RTLREADING;
    if (HidesAccelerators(pButton))
        nFormat |= DT_HIDEPREFIX;
    return nFormat;
}

void CWVPButtonTheme::DrawPushContent(CDC* pDC, CWVPButton* pButton)
{
    CRect rcClient;
    pButton->GetClientRect(&rcClient);
    CRect area = rcClient;
    area.DeflateRect(pButton->m_nBorderGap, pButton->m_nBorderGap);
    const int nStyle = pButton->m_nPushButtonStyle;
    if (nStyle != CWVPButton::pushNormal)
        area.right -= pButton->m_nBorderGap * (nStyle == CWVPButton::pushSplitDropDown ? 2 : 1) + kArrowRoom;

    const CString text = pButton->GetButtonText();
    CSize image = pButton->GetImageSize();
    int nRelation = pButton->m_nImageTextRelation;
    if (image.cx == 0 || image.cy == 0 || text.IsEmpty())
        nRelation = CWVPButton::relationOverlay;
    int nAvailable = area.Width();
    if (nRelation == CWVPButton::relationImageAboveText || nRelation == CWVPButton::relationTextAboveImage)
        image.cy += pButton->m_nImageGap;
    else if (nRelation != CWVPButton::relationOverlay)
    {
        image.cx += pButton->m_nImageGap;
        nAvailable -= pButton->m_nImageGap;
    }
    const UINT nFormat = TextFormat(pButton);
    CRect rcText(0, 0, std::max(nAvailable, 0), 0);
    if (!text.IsEmpty())
        ::DrawTextW(pDC->m_hDC, text, text.GetLength(), &rcText, nFormat | DT_CALCRECT);
    const CSize textSize(std::min(rcText.Width(), std::max(nAvailable, 0)), rcText.Height());

    const DWORD dwTextAlign = pButton->GetTextAlignment();
    const DWORD dwImageAlign = pButton->GetImageAlignment();
    const int L = area.left, T = area.top, R = area.right, B = area.bottom;
    CPoint ptImage(Place(L, R, image.cx, HorzOf(dwImageAlign)), Place(T, B, image.cy, VertOf(dwImageAlign)));
    CPoint ptText(Place(L, R, textSize.cx, HorzOf(dwTextAlign)), Place(T, B, textSize.cy, VertOf(dwTextAlign)));
    const int gap = pButton->m_nImageGap;
    switch (nRelation)
    {
    case CWVPButton::relationImageAboveText:
        ptImage.y = Place(T, B - textSize.cy, image.cy, VertOf(dwImageAlign));
        ptText.y = std::max<int>(ptText.y, ptImage.y + image.cy);
        break;
    case CWVPButton::relationTextAboveImage:
        ptImage.y = Place(T + textSize.cy, B, image.cy, VertOf(dwImageAlign)) + gap;
        if (ptImage.y < ptText.y + gap + textSize.cy)
            ptText.y = ptImage.y - gap - textSize.cy;
        break;
    case CWVPButton::relationImageBeforeText:
        ptImage.x = Place(L, R - textSize.cx, image.cx, HorzOf(dwImageAlign));
        ptText.x = std::max<int>(ptText.x, ptImage.x + image.cx);
        break;
    case CWVPButton::relationTextBeforeImage:
        ptImage.x = Place(L + textSize.cx, R, image.cx, HorzOf(dwImageAlign)) + gap;
        if (ptImage.x < gap + ptText.x + textSize.cx)
            ptText.x = ptImage.x - gap - textSize.cx;
        break;
    default:
        break;
    }
    if (m_bOffsetHiLite && (pButton->IsPushed() || pButton->GetChecked()))
    {
        ptImage.Offset(1, 1);
        ptText.Offset(1, 1);
    }
    if (!text.IsEmpty())
    {
        static const UINT kHorzFormat[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
        CRect rcDraw(ptText, textSize);
        pDC->SetTextColor(pButton->IsWindowEnabled() ? pButton->GetTextColor() : m_crTextDisabled.GetColor());
        ::DrawTextW(pDC->m_hDC, text, text.GetLength(), &rcDraw, nFormat | kHorzFormat[HorzOf(dwTextAlign) + 1]);
    }
    if (pButton->GetButtonIcon())
        pButton->DrawImage(pDC, CRect(ptImage, pButton->GetImageSize()));
}

void CWVPButtonTheme::DrawDropDownArrow(CDC* pDC, CWVPButton* pButton)
{
    CRect area;
    pButton->GetClientRect(&area);
    area.DeflateRect(pButton->m_nBorderGap, pButton->m_nBorderGap);
    if (!pButton->GetButtonText().IsEmpty() || pButton->GetButtonIcon())
        area.left = area.right - kArrowArea;
    if (pButton->IsPushed() || pButton->GetChecked())
        area.OffsetRect(1, 1);
    const BOOL bEnabled = pButton->IsWindowEnabled();
    const COLORREF clrArrow = bEnabled ? RGB(0, 0, 0) : m_crTextDisabled.GetColor();
    const int cx = area.CenterPoint().x, cy = area.CenterPoint().y;
    switch (pButton->m_nPushButtonStyle)
    {
    case CWVPButton::pushDropDown:
        CWVPPaintManager::DrawTriangle(pDC, CPoint(cx - 4, cy - 2), CPoint(cx + 4, cy - 2), CPoint(cx, cy + 2),
                                       clrArrow);
        break;
    case CWVPButton::pushDropDownRight:
        CWVPPaintManager::DrawTriangle(pDC, CPoint(cx - 2, cy - 4), CPoint(cx - 2, cy + 4), CPoint(cx + 2, cy),
                                       clrArrow);
        break;
    case CWVPButton::pushSplitDropDown: {
        CWVPPaintManager::DrawTriangle(pDC, CPoint(cx - 3, cy - 2), CPoint(cx + 5, cy - 2), CPoint(cx + 1, cy + 2),
                                       clrArrow);
        COLORREF clrLine = UseVisualStyles(pButton) ? ::GetSysColor(COLOR_BTNSHADOW) : m_crShadow.GetColor();
        if (!bEnabled)
            clrLine = m_crTextDisabled.GetColor();
        pDC->FillSolidRect(area.left, area.top, 1, area.Height(), clrLine);
        pDC->FillSolidRect(area.left + 1, area.top, 1, area.Height(), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        break;
    }
    default:
        break;
    }
}

void CWVPButtonTheme::DrawPushFocus(CDC* pDC, CWVPButton* pButton)
{
    if (HidesFocus(pButton))
        return;
    CRect rc;
    pButton->GetClientRect(&rc);
    rc.DeflateRect(m_nFocusInset, m_nFocusInset);
    pDC->SetTextColor(m_crText.GetColor());
    ::DrawFocusRect(pDC->m_hDC, &rc);
}

void CWVPButtonTheme::DrawCheckMark(CDC* pDC, CWVPButton* pButton)
{
    const CRect rc = CalcRect(pDC, pButton, rectCheckMark);
    const int nCheck = pButton->GetChecked();
    const UINT nType = pButton->GetButtonType();
    const bool bThreeState = (nType == BS_3STATE || nType == BS_AUTO3STATE) && nCheck == BST_INDETERMINATE;
    const BOOL bEnabled = pButton->IsWindowEnabled();
    if (UseVisualStyles(pButton))
    {
        int nState = !bEnabled                  ? kStateDisabled
                     : pButton->IsPushed()      ? kStatePressed
                     : pButton->IsHighlighted() ? kStateHot
                                                : kStateNormal;
        if (nCheck)
            nState += kCheckedStates;
        if (bThreeState)
            nState += kCheckedStates;
        if (SUCCEEDED(m_themeButton.DrawThemeBackground(pDC->m_hDC, kPartCheckBox, nState, &rc, nullptr)))
            return;
    }
    UINT nFlags = DFCS_BUTTONCHECK;
    if (nCheck)
        nFlags |= DFCS_CHECKED;
    if (!bEnabled)
        nFlags |= DFCS_INACTIVE;
    if (pButton->IsPushed())
        nFlags |= DFCS_PUSHED;
    if (bThreeState)
        nFlags |= DFCS_BUTTON3STATE;
    CRect rcMark = rc;
    ::DrawFrameControl(pDC->m_hDC, &rcMark, DFC_BUTTON, nFlags);
}

void CWVPButtonTheme::DrawRadioMark(CDC* pDC, CWVPButton* pButton)
{
    const CRect rc = CalcRect(pDC, pButton, rectRadioMark);
    const int nCheck = pButton->GetChecked();
    const BOOL bEnabled = pButton->IsWindowEnabled();
    if (UseVisualStyles(pButton))
    {
        int nState = !bEnabled                  ? kStateDisabled
                     : pButton->IsPushed()      ? kStatePressed
                     : pButton->IsHighlighted() ? kStateHot
                                                : kStateNormal;
        if (nCheck)
            nState += kCheckedStates;
        if (SUCCEEDED(m_themeButton.DrawThemeBackground(pDC->m_hDC, kPartRadioButton, nState, &rc, nullptr)))
            return;
    }
    UINT nFlags = DFCS_BUTTONRADIO;
    if (nCheck)
        nFlags |= DFCS_CHECKED;
    if (!bEnabled)
        nFlags |= DFCS_INACTIVE;
    if (pButton->IsPushed())
        nFlags |= DFCS_PUSHED;
    CRect rcMark = rc;
    ::DrawFrameControl(pDC->m_hDC, &rcMark, DFC_BUTTON, nFlags);
}

void CWVPButtonTheme::DrawGroupBox(CDC* pDC, CWVPButton* pButton)
{
    CRect rcCaption = CalcRect(pDC, pButton, rectGroupCaption);
    const bool bRight = (pButton->GetStyle() & (BS_LEFT | BS_RIGHT | BS_CENTER)) == BS_RIGHT;
    rcCaption.OffsetRect(bRight ? m_cxEdge : -m_cxEdge, 0);
    CRect rcFrame = CalcRect(pDC, pButton, rectGroupFrame);
    const int nSaved = ::SaveDC(pDC->m_hDC);
    if (!rcCaption.IsRectEmpty())
        ::ExcludeClipRect(pDC->m_hDC, rcCaption.left, rcCaption.top, rcCaption.right, rcCaption.bottom);
    const bool bThemed = UseVisualStyles(pButton);
    if (pButton->m_nGroupBoxStyle == CWVPButton::groupLine)
    {
        if (bThemed)
        {
            COLORREF clrLine = ::GetSysColor(COLOR_BTNSHADOW);
            m_themeButton.GetThemeColor(kPartGroupBox, kStateNormal, kPropertyGroupLine, &clrLine);
            pDC->FillSolidRect(rcFrame.left, rcFrame.top, rcFrame.Width(), 1, clrLine);
        }
        else
            ::DrawEdge(pDC->m_hDC, &rcFrame, EDGE_ETCHED, BF_TOP);
    }
    else if (!bThemed || FAILED(m_themeButton.DrawThemeBackground(
                             pDC->m_hDC, kPartGroupBox, pButton->IsWindowEnabled() ? 1 : 2, &rcFrame, nullptr)))
        ::DrawEdge(pDC->m_hDC, &rcFrame, EDGE_ETCHED, BF_RECT);
    ::RestoreDC(pDC->m_hDC, nSaved);
}

void CWVPButtonTheme::DrawCheckText(CDC* pDC, CWVPButton* pButton)
{
    const int nKind = KindOfType(pButton);
    CRect rcArea = CalcRect(pDC, pButton, nKind);
    const bool bPushLike = pButton->IsPushLike();
    if (bPushLike)
        rcArea.DeflateRect(m_cxBorder, m_cyBorder);
    const DWORD dwStyle = pButton->GetStyle();
    const DWORD dwAlign = pButton->GetTextAlignment();
    pDC->SetTextColor(pButton->IsWindowEnabled() ? pButton->GetTextColor() : m_crTextDisabled.GetColor());

    // The content: the text, or the bitmap or icon the button was given.
    const CString text = pButton->GetButtonText();
    HBITMAP hBitmap = (dwStyle & BS_BITMAP) ? pButton->CButton::GetBitmap() : nullptr;
    HICON hIcon = (dwStyle & BS_ICON) ? pButton->CButton::GetIcon() : nullptr;
    CSize content(0, 0);
    UINT nFormat = TextFormat(pButton);
    if (hBitmap)
    {
        BITMAP bm = {};
        ::GetObjectW(hBitmap, sizeof(bm), &bm);
        content = CSize(bm.bmWidth, bm.bmHeight);
    }
    else if (hIcon)
        content = CSize(kIconSize, kIconSize);
    else if (!text.IsEmpty())
    {
        CRect rcCalc(0, 0, rcArea.Width(), 0);
        ::DrawTextW(pDC->m_hDC, text, text.GetLength(), &rcCalc, nFormat | DT_CALCRECT);
        content = CSize(std::min(rcCalc.Width(), rcArea.Width()), rcCalc.Height());
    }
    else
        return;
    if (nKind == rectGroupCaption)
        rcArea.OffsetRect((dwAlign & BS_RIGHT) == BS_RIGHT ? -m_cxEdge : m_cxEdge, 0);
    const CPoint pt(Place(rcArea.left, rcArea.right, content.cx, HorzOf(dwAlign)),
                    Place(rcArea.top, rcArea.bottom, content.cy, VertOf(dwAlign)));
    if (hBitmap)
        ::DrawStateW(pDC->m_hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(hBitmap), 0, pt.x, pt.y, content.cx,
                     content.cy, DST_BITMAP);
    else if (hIcon)
        ::DrawStateW(pDC->m_hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(hIcon), 0, pt.x, pt.y, content.cx,
                     content.cy, DST_ICON);
    else
    {
        CRect rcText(pt, content);
        ::DrawTextW(pDC->m_hDC, text, text.GetLength(), &rcText, nFormat);
    }

    if (::GetFocus() != pButton->GetSafeHwnd() || !pButton->m_bShowFocus || HidesFocus(pButton))
        return;
    CRect rcClient;
    pButton->GetClientRect(&rcClient);
    CRect rcFocus;
    if (bPushLike)
    {
        rcFocus = CalcRect(pDC, pButton, rectPushContent);
        rcFocus.DeflateRect(m_cxBorder, m_cyBorder);
    }
    else
    {
        rcFocus.left = std::max<int>(pt.x - m_cxBorder, rcClient.left);
        rcFocus.top = std::max<int>(pt.y - m_cyBorder, rcClient.top);
        rcFocus.right = std::min<int>(rcFocus.left + content.cx + m_cxEdge, rcClient.right);
        rcFocus.bottom = std::min<int>(rcFocus.top + content.cy + m_cyEdge, rcClient.bottom);
    }
    CWVPColorManager* pColors = WVPColorManager();
    pDC->SetTextColor(pColors->GetColor(kColorText));
    pDC->SetBkColor(pColors->GetColor(kColorWindow));
    ::DrawFocusRect(pDC->m_hDC, &rcFocus);
}
