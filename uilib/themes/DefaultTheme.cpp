#include "uilib/themes/DefaultTheme.h"
#include "uilib/commandbars/ControlComboBox.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/ControlEdit.h"
#include "uilib/foundation/DCGuards.h"
#include "uilib/foundation/ImageManagerIcon.h"

#include <algorithm>

namespace
{
const int kActiveCaption = 2;
const int kInactiveCaption = 3;
const int kWindow = 5;
const int kCaptionText = 9;
const int kHighlight = 13;
const int kHighlightText = 14;
const int kFace = 15;
const int kShadow = 16;
const int kGrayText = 17;
const int kButtonText = 18;
const int kHilite = 20;
const int kDarkShadow = 21;
const int kLight3d = 22;
const int kGripDot = 38;
const int kCheckBox = 20;
const int kPopupArrowInset = 11;
const int kPopupSplitStrip = 20;
const int kBarSplitStrip = 12;

BOOL IsKeyboardSelection(int selected)
{
    return selected == 2 || selected == 3;
}
} // namespace

CWVPDefaultTheme::CWVPDefaultTheme() : m_nMenuTextColor(kButtonText), m_bSelectWholeRow(FALSE)
{
    m_bFadedIcons = FALSE;
    m_bIconShadows = FALSE;
}

int CWVPDefaultTheme::GetThemeType()
{
    return wvpThemeDefault;
}

void CWVPDefaultTheme::RefreshMetrics()
{
    CWVPPaintManager::RefreshMetrics();
    m_floatingCaptionColor.SetDefault(GetColor(kActiveCaption));
    m_floatingCaptionTextColor.SetDefault(GetColor(kCaptionText));
}

COLORREF CWVPDefaultTheme::GetRectangleTextColor(BOOL bSelected, BOOL, BOOL bEnabled, BOOL bChecked, BOOL, int barType,
                                                 int barPosition)
{
    if (barType == wvpBarTypePopup)
    {
        if (!bEnabled)
            return GetColor(kGrayText);
        if (bSelected && !bChecked)
            return GetColor(kHighlightText);
        return GetColor(m_nMenuTextColor);
    }
    if (!bEnabled)
        return GetColor(kGrayText);
    return GetColor(barPosition == wvpBarPopup ? m_nMenuTextColor : kButtonText);
}

void CWVPDefaultTheme::FillHalftoneRect(CDC* pDC, CRect rc)
{
    WORD pattern[8];
    for (int i = 0; i < 8; ++i)
        pattern[i] = (i & 1) ? 0xAA : 0x55;
    HBITMAP bitmap = ::CreateBitmap(8, 8, 1, 1, pattern);
    HBRUSH brush = ::CreatePatternBrush(bitmap);
    HDC dc = pDC->GetSafeHdc();
    HGDIOBJ oldBrush = ::SelectObject(dc, brush);
    const COLORREF oldBack = ::SetBkColor(dc, GetColor(kFace));
    const COLORREF oldText = ::SetTextColor(dc, GetColor(kHilite));
    ::PatBlt(dc, rc.left, rc.top, rc.Width(), rc.Height(), PATCOPY);
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
    ::SelectObject(dc, oldBrush);
    ::DeleteObject(brush);
    ::DeleteObject(bitmap);
}

void CWVPDefaultTheme::DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked,
                                     BOOL bPopuped, int barType, int barPosition)
{
    const BOOL popupItem = barType == wvpBarTypePopup;
    if (m_bSelectWholeRow && barPosition == wvpBarPopup && popupItem && bChecked)
    {
        FillHalftoneRect(pDC, rc);
        Draw3dRect(pDC, rc, kShadow, kHilite);
        return;
    }
    if (popupItem && !bChecked)
    {
        if (bSelected || bPressed)
            pDC->FillSolidRect(rc, GetColor(kHighlight));
        return;
    }
    if (!bEnabled)
    {
        if (bChecked || IsKeyboardSelection(bSelected))
            Draw3dRect(pDC, rc, kShadow, kHilite);
        return;
    }
    if (bChecked)
    {
        if (!bSelected && !bPressed)
            FillHalftoneRect(pDC, rc);
        Draw3dRect(pDC, rc, kShadow, kHilite);
        return;
    }
    if (bPopuped || bPressed == 2 || bPressed == 3 || (bSelected && bPressed))
        Draw3dRect(pDC, rc, kShadow, kHilite);
    else if (bSelected || bPressed == 1)
        Draw3dRect(pDC, rc, kHilite, kShadow);
}

void CWVPDefaultTheme::DrawImage(CDC* pDC, CPoint pt, CSize sz, CWVPImageManagerIcon* pIcon, BOOL bSelected,
                                 BOOL bPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopuped)
{
    if (!pIcon)
        return;
    HDC dc = pDC->GetSafeHdc();
    const CPoint shifted(pt.x + 1, pt.y + 1);
    if (!bEnabled)
    {
        if (m_bDisabledIconImages || pIcon->IsAlpha())
        {
            if (m_bOfficeDisabledIcons && !pIcon->HasDisabledIcon())
                pIcon->CreateDisabledIcon(m_faceGradient.clrLight.GetColor(), m_faceGradient.clrDark.GetColor());
            pIcon->DrawImage(dc, pt, pIcon->GetDisabledIcon(), sz);
        }
        else
        {
            pIcon->DrawMono(dc, shifted, pIcon->GetNormalIcon(), sz, GetColor(kHilite));
            pIcon->DrawMono(dc, pt, pIcon->GetNormalIcon(), sz, GetColor(kShadow));
        }
        return;
    }
    if (bChecked == 2 && !bPressed)
    {
        if (pIcon->IsAlpha())
            pIcon->DrawImage(dc, pt, pIcon->GetDisabledIcon(), sz);
        else
            pIcon->DrawMono(dc, pt, pIcon->GetCheckedIcon(), sz, GetColor(kShadow));
        return;
    }
    if (bPopuped && !bChecked)
    {
        pIcon->DrawImage(dc, pt, pIcon->GetNormalIcon(), sz);
        return;
    }
    if (bChecked)
    {
        pIcon->DrawImage(dc, pt, pIcon->GetCheckedIcon(), sz);
        return;
    }
    const auto drawHot = [&]() {
        if (m_bIconShadows && !pIcon->GetShadowIcon().IsEmpty())
        {
            pIcon->DrawImage(dc, shifted, pIcon->GetShadowIcon(), sz);
            pIcon->DrawImage(dc, CPoint(pt.x - 1, pt.y - 1), pIcon->GetHotIcon(), sz);
        }
        else
            pIcon->DrawImage(dc, pt, pIcon->GetHotIcon(), sz);
    };
    if (bSelected)
    {
        if (bPressed)
            pIcon->DrawImage(dc, shifted, pIcon->GetPressedIcon(), sz);
        else
            drawHot();
        return;
    }
    if (!bPressed)
        pIcon->DrawImage(dc, pt, m_bFadedIcons ? pIcon->GetFadedIcon() : pIcon->GetNormalIcon(), sz);
    else if (bPressed == 1)
        drawHot();
    else if (bPressed == 2 || bPressed == 3)
        pIcon->DrawImage(dc, shifted, pIcon->GetPressedIcon(), sz);
}

CSize CWVPDefaultTheme::GetPopupBarIconCellSize(CWVPCommandBar* pBar)
{
    const CSize icon = pBar ? pBar->GetIconSize() : CSize(16, 16);
    const int height = GetControlHeight();
    return CSize(std::max(height, icon.cx + 4), std::max(height, icon.cy + 4));
}

CSize CWVPDefaultTheme::DrawPopupBarControl(CDC* pDC, CWVPControl* pControl, BOOL bDraw)
{
    if (bDraw)
    {
        CWVPCommandBar* pBar = pControl->GetParent();
        CRect rc = pControl->GetRect();
        const int type = pControl->GetType();
        const int selected = pControl->GetSelected();
        const int checked = pControl->GetChecked();
        const int enabledState = pControl->GetEnabled();
        const BOOL enabled = enabledState != 0 && !(type == wvpControlSplitButtonPopup && enabledState == 5);
        const BOOL popuped = pControl->GetPopuped();
        const CSize imageSize = GetControlImageSize(pControl);
        CRect cell(rc.left, rc.top, rc.left + std::max(GetControlHeight(), imageSize.cx + 4), rc.bottom);
        const int gripper = GetPopupBarGripperWidth(pBar);

        if (pControl->GetExpandReveal())
        {
            pDC->FillSolidRect(rc, GetColor(kLight3d));
            if (rc.left < gripper)
                DrawPopupBarGripper(pDC, rc.left, rc.top, gripper - rc.left, rc.Height(), TRUE);
        }
        pDC->SetTextColor(GetRectangleTextColor(selected, FALSE, enabled, FALSE, FALSE, wvpBarTypePopup, wvpBarPopup));
        int textLeft = cell.right;
        if (m_bSelectWholeRow && selected)
            DrawRectangle(pDC, rc, selected, FALSE, TRUE, FALSE, FALSE, wvpBarTypePopup, wvpBarPopup);
        if (checked)
        {
            DrawRectangle(pDC, cell, selected, FALSE, enabled, checked, FALSE, wvpBarTypePopup, wvpBarPopup);
            textLeft = cell.right + 1;
        }

        CWVPImageManagerIcon* pIcon = pControl->GetStyle() != wvpButtonCaption ? pControl->GetImage(imageSize.cx)
                                                                                : nullptr;
        if (pIcon)
        {
            const int height = pIcon->GetWidth() ? imageSize.cx * pIcon->GetHeight() / pIcon->GetWidth() : imageSize.cy;
            if (!m_bSelectWholeRow)
                DrawRectangle(pDC, cell, selected, FALSE, enabled, checked, popuped, wvpBarTypeNormal, wvpBarPopup);
            const CPoint pt(cell.left + (cell.Width() - imageSize.cx) / 2, cell.top + (cell.Height() - height) / 2);
            DrawImage(pDC, pt, CSize(imageSize.cx, height), pIcon, selected, FALSE, enabled, checked, popuped);
        }
        if (checked && !pIcon)
        {
            const CPoint centre = cell.CenterPoint();
            CRect box(centre.x - kCheckBox / 2, centre.y - kCheckBox / 2, centre.x + kCheckBox / 2,
                      centre.y + kCheckBox / 2);
            const COLORREF clr = GetColor(enabled ? m_nMenuTextColor : kGrayText);
            if (type == wvpControlRadioButton)
                DrawRadioMark(pDC, box, clr);
            else
                DrawCheckMark(pDC, box, clr);
        }

        const BOOL isPopup = type == wvpControlPopup || type == wvpControlButtonPopup ||
                             type == wvpControlSplitButtonPopup;
        const BOOL splitOpen = type == wvpControlSplitButtonPopup && popuped && selected && enabled;
        if (!m_bSelectWholeRow && selected)
        {
            CRect row(textLeft, rc.top, splitOpen ? rc.right - kPopupSplitStrip : rc.right, rc.bottom);
            DrawRectangle(pDC, row, selected, FALSE, TRUE, FALSE, FALSE, wvpBarTypePopup, wvpBarPopup);
        }
        if (isPopup)
        {
            COLORREF arrow = pDC->GetTextColor();
            if (type == wvpControlSplitButtonPopup)
            {
                if (splitOpen)
                {
                    Draw3dRect(pDC, CRect(rc.right - kPopupSplitStrip, rc.top, rc.right, rc.bottom), kShadow, kHilite);
                    if (!m_bSelectWholeRow)
                        arrow = GetColor(m_nMenuTextColor);
                }
                else
                {
                    const COLORREF divider = !enabled ? pDC->GetTextColor()
                                                      : GetColor(selected ? kShadow : m_nMenuTextColor);
                    VerticalLine(pDC, rc.right - kPopupSplitStrip, rc.top + 1, rc.bottom - 1, divider);
                }
            }
            const int x = rc.right - kPopupArrowInset, y = rc.CenterPoint().y;
            DrawTriangle(pDC, CPoint(x, y - 3), CPoint(x + 3, y), CPoint(x, y + 3), arrow);
        }
    }
    return CWVPPaintManager::DrawPopupBarControl(pDC, pControl, bDraw);
}

void CWVPDefaultTheme::DrawSplitButtonFrame(CDC* pDC, CWVPControl* pControl, CRect rc)
{
    CWVPCommandBar* pBar = pControl->GetParent();
    const int selected = pControl->GetSelected();
    const int pressed = pControl->GetPressed();
    const BOOL popuped = pControl->GetPopuped();
    const int enabledState = pControl->GetEnabled();
    const BOOL enabled = enabledState != 0;
    const int checked = pControl->GetChecked();
    const int position = pBar ? pBar->GetPosition() : wvpBarTop;
    CRect command = rc, arrow = rc;
    if (pControl->GetStyle() == wvpButtonIconAndCaptionBelow)
    {
        const int strip = GetSplitDropDownHeight();
        if (position == wvpBarLeft || position == wvpBarRight)
        {
            command.left += strip;
            arrow.right = command.left;
        }
        else
        {
            command.bottom -= strip;
            arrow.top = command.bottom;
        }
    }
    else
    {
        command.right -= kBarSplitStrip;
        arrow.left = command.right;
    }
    DrawRectangle(pDC, command, selected || popuped, pressed, enabledState != 5 && enabled, checked, FALSE,
                  wvpBarTypeNormal, position);
    if ((selected || pressed || popuped) && enabled && enabledState != 4)
        DrawRectangle(pDC, arrow, TRUE, FALSE, TRUE, FALSE, popuped, wvpBarTypeNormal, position);
    if (pControl->GetStyle() != wvpButtonIconAndCaptionBelow)
        DrawDropDownGlyph(pDC, pControl, CPoint(rc.right - 7, rc.CenterPoint().y), selected, popuped,
                          enabledState == 4 ? 0 : enabled, FALSE);
}

CSize CWVPDefaultTheme::DrawListBoxControl(CDC* pDC, CWVPControl* pControl, CRect rc, BOOL bSelected, BOOL bDraw)
{
    const CSize icon = GetDefaultIconSize(FALSE);
    const int height = GetControlHeight();
    const CSize cell(std::max(height, icon.cx + 4), std::max(height, icon.cy + 4));
    if (!bDraw)
        return cell;
    pDC->FillSolidRect(rc, GetColor(kFace));
    if (!pControl)
        return cell;
    const int style = pControl->GetStyle();
    const int type = pControl->GetType();
    BOOL showIcon = style == wvpButtonIcon || style == wvpButtonIconAndCaption ||
                    (style == wvpButtonAutomatic && type != wvpControlPopup);
    CWVPImageManagerIcon* pIcon = showIcon ? pControl->GetImage(icon.cx) : nullptr;
    CRect iconCell(rc.left, rc.top, rc.left + cell.cx, rc.bottom);
    if (pIcon)
    {
        DrawRectangle(pDC, iconCell, bSelected, FALSE, TRUE, FALSE, FALSE, wvpBarTypeNormal, wvpBarTop);
        DrawImage(pDC, CPoint(iconCell.CenterPoint().x - icon.cx / 2, iconCell.CenterPoint().y - icon.cy / 2), icon,
                  pIcon, bSelected, FALSE, TRUE, FALSE, FALSE);
    }
    if (bSelected)
        pDC->FillSolidRect(CRect(pIcon ? iconCell.right + 1 : rc.left + 1, rc.top, rc.right - 1, rc.bottom),
                           GetColor(kHighlight));
    const COLORREF text = GetColor(bSelected ? kHighlightText : kButtonText);
    pDC->SetTextColor(text);
    pDC->SetBkMode(TRANSPARENT);
    CString caption = StripMnemonics(pControl->GetCaption());
    AdjustCaptionForRTL(caption);
    CWVPFontDC font(pDC, &m_fontBar);
    CRect textRect(rc.left + cell.cx + 4, rc.top, rc.right, rc.bottom);
    pDC->DrawText(caption, textRect, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (type == wvpControlPopup || type == wvpControlButtonPopup || type == wvpControlSplitButtonPopup)
    {
        const int y = rc.CenterPoint().y;
        DrawTriangle(pDC, CPoint(rc.right - 7, y), CPoint(rc.right - 12, y - 5), CPoint(rc.right - 12, y + 5), text);
        if (type == wvpControlSplitButtonPopup)
            VerticalLine(pDC, rc.right - 20, rc.top, rc.bottom, text);
    }
    return cell;
}

void CWVPDefaultTheme::FillCommandBarEntry(CDC* pDC, CWVPCommandBar* pBar)
{
    CRect rc;
    ::GetClientRect(pBar->GetSafeHwnd(), &rc);
    pDC->FillSolidRect(rc, GetColor(kFace));
    const int position = pBar->GetPosition();
    if (position == wvpBarFloating || position == wvpBarPopup)
    {
        Draw3dRect(pDC, rc, kFace, kDarkShadow);
        rc.DeflateRect(1, 1);
        Draw3dRect(pDC, rc, kHilite, kShadow);
    }
    else if (!IsFlatBar(pBar))
        Draw3dRect(pDC, rc, kHilite, kShadow);
}

CSize CWVPDefaultTheme::DrawCommandBarGripper(CDC* pDC, CWVPCommandBar* pBar, BOOL bDraw)
{
    CRect client;
    ::GetClientRect(pBar->GetSafeHwnd(), &client);
    switch (pBar->GetPosition())
    {
    case wvpBarTop:
    case wvpBarBottom:
        if (bDraw)
            Draw3dRect(pDC, CRect(3, 3, 6, client.bottom - 3), kHilite, kShadow);
        return CSize(6, 0);
    case wvpBarLeft:
    case wvpBarRight:
        if (bDraw)
            Draw3dRect(pDC, CRect(3, 3, client.right - 3, 6), kHilite, kShadow);
        return CSize(0, 8);
    case wvpBarFloating:
        return CWVPPaintManager::DrawCommandBarGripper(pDC, pBar, bDraw);
    default:
        return CSize(0, 0);
    }
}

CSize CWVPDefaultTheme::DrawDialogBarGripper(CDC* pDC, CWVPCommandBar*, BOOL bDraw)
{
    const int height = GetControlHeight() >= 18 ? GetControlHeight() + 4 : 22;
    if (bDraw)
        Draw3dRect(pDC, CRect(3, 3, 6, height), kHilite, kShadow);
    return CSize(6, height);
}

CSize CWVPDefaultTheme::DrawCommandBarSeparator(CDC* pDC, CWVPCommandBar* pBar, CWVPControl* pControl, BOOL bDraw)
{
    const BOOL popup = pBar && pBar->GetType() == wvpBarTypePopup;
    if (!bDraw)
        return popup ? CSize(8, 8) : CSize(6, 6);
    const CRect rc = pControl->GetRect();
    const CRect row = pControl->GetRowRect();
    const BOOL wraps = pControl->GetWrap();
    CRect line;
    if (popup)
        line = wraps ? CRect(rc.left - 5, row.top + 3, rc.left - 3, row.bottom - 3)
                     : CRect(rc.left + 11, rc.top - 5, rc.right - 11, rc.top - 3);
    else if (pBar && pBar->IsVerticalPosition())
        line = wraps ? CRect(row.right + 2, row.top + 4, row.right + 4, row.bottom)
                     : CRect(row.left, rc.top - 4, row.right, rc.top - 2);
    else
        line = wraps ? CRect(row.left + 4, row.top - 4, row.right, row.top - 2)
                     : CRect(rc.left - 4, row.top, rc.left - 2, row.bottom);
    Draw3dRect(pDC, line, kShadow, kHilite);
    return CSize(0, 0);
}

void CWVPDefaultTheme::AdjustExcludeRect(CRect& rc, CWVPControl* pControl, BOOL bVertical)
{
    CWVPCommandBar* pBar = pControl ? pControl->GetParent() : nullptr;
    if (!pBar || pControl->GetType() == wvpControlComboBox)
        return;
    if (pBar->GetType() == wvpBarTypePopup)
        rc.DeflateRect(1, 0);
    else if (bVertical)
        rc.InflateRect(0, 1);
    else
        rc.InflateRect(1, 0);
}

CSize CWVPDefaultTheme::DrawSpecialControl(CDC* pDC, int kind, CWVPControl* pControl, CWVPCommandBar* pBar,
                                           BOOL bDraw, CSize extra)
{
    if (bDraw && pControl && (kind == 2 || kind == 3))
    {
        if (pControl->GetPressed() || pControl->GetSelected() || (kind == 3 && pControl->GetPopuped()))
            pDC->FillSolidRect(pControl->GetRect(), GetColor(kFace));
    }
    return CWVPPaintManager::DrawSpecialControl(pDC, kind, pControl, pBar, bDraw, extra);
}

CRect CWVPDefaultTheme::GetCommandBarBorders(CWVPCommandBar* pBar)
{
    if (pBar && pBar->GetType() == wvpBarTypePopup)
        return CRect(3, 3, 3, 3);
    return CWVPPaintManager::GetCommandBarBorders(pBar);
}

CSize CWVPDefaultTheme::DrawTearOffGripper(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw)
{
    if (bDraw)
        pDC->FillSolidRect(CRect(rc.left, rc.top, rc.right, rc.bottom - 1),
                           GetColor(bSelected ? kActiveCaption : kInactiveCaption));
    return CSize(0, 8);
}

void CWVPDefaultTheme::DrawPopupResizeGripper(CDC* pDC, CRect rc, int kind)
{
    const COLORREF light = GetColor(kWindow), dark = GetColor(kGripDot);
    if (kind == 2)
    {
        const int centre = rc.CenterPoint().x;
        for (int x = centre - 8; x < centre + 8; x += 4)
        {
            pDC->FillSolidRect(x + 1, rc.top + 4, 2, 2, light);
            pDC->FillSolidRect(x, rc.top + 3, 2, 2, dark);
        }
        return;
    }
    const POINT dots[] = {{rc.right - 3, rc.bottom - 3}, {rc.right - 7, rc.bottom - 3}, {rc.right - 3, rc.bottom - 7}};
    for (const POINT& pt : dots)
    {
        pDC->FillSolidRect(pt.x, pt.y, 2, 2, light);
        pDC->FillSolidRect(pt.x - 1, pt.y - 1, 2, 2, dark);
    }
}

void CWVPDefaultTheme::DrawControlEditFrame(CDC* pDC, CRect rc, BOOL bEnabled, int selected)
{
    CRect inner = rc;
    inner.DeflateRect(1, 1);
    if (bEnabled)
    {
        if (selected)
            Draw3dRect(pDC, rc, kShadow, kHilite);
        Draw3dRect(pDC, inner, kFace, kFace);
        return;
    }
    const int clr = IsKeyboardSelection(selected) ? kShadow : kHilite;
    Draw3dRect(pDC, inner, clr, clr);
}

void CWVPDefaultTheme::DrawControlComboBoxButton(CDC* pDC, CRect rc, BOOL bEnabled, int selected, BOOL bDroppedDown)
{
    rc.DeflateRect(1, 2, 2, 2);
    CRect arrow = rc;
    if (bEnabled)
    {
        pDC->FillSolidRect(rc, GetColor(kFace));
        if (bDroppedDown)
        {
            VerticalLine(pDC, rc.left - 1, rc.top, rc.bottom, GetColor(kFace));
            Draw3dRect(pDC, rc, kShadow, kHilite);
            arrow.OffsetRect(1, 1);
        }
        else if (selected)
        {
            VerticalLine(pDC, rc.left - 1, rc.top, rc.bottom, GetColor(kFace));
            Draw3dRect(pDC, rc, kHilite, kShadow);
        }
        else
            Draw3dRect(pDC, rc, kHilite, kHilite);
    }
    DrawComboExpandMark(pDC, arrow, GetColor(kButtonText));
}

CSize CWVPDefaultTheme::DrawEditControl(CDC* pDC, CWVPControl* pControl, BOOL bDraw)
{
    CWVPControlEdit* pEdit = DYNAMIC_DOWNCAST(CWVPControlEdit, pControl);
    CWVPCommandBar* pBar = pControl->GetParent();
    if (!bDraw || !pEdit || (pBar && pBar->GetType() == wvpBarTypePopup))
        return CWVPPaintManager::DrawEditControl(pDC, pControl, bDraw);
    CWVPPaintManager::DrawEditControl(pDC, pControl, TRUE);
    CRect field = pControl->GetRect();
    field.left += pEdit->GetLabelWidth();
    const BOOL enabled = pControl->GetEnabled();
    if (enabled)
    {
        CRect inside = field;
        inside.DeflateRect(1, 1);
        pDC->FillSolidRect(inside, GetColor(kWindow));
    }
    DrawControlEditFrame(pDC, field, enabled, pControl->GetSelected());
    pEdit->DrawEditIcon(pDC, field.left + 3, field.top + 1, field.bottom - 1);
    if (pEdit->IsSpinButtonsVisible())
        DrawControlEditSpin(pDC, pEdit);
    return CSize(0, 0);
}

void CWVPDefaultTheme::DrawControlEditSpin(CDC* pDC, CWVPControlEdit* pControl)
{
    const CRect rc = pControl->GetSpinButtonsRect();
    if (rc.IsRectEmpty())
        return;
    const int middle = rc.CenterPoint().y;
    const CRect up(rc.left + 1, rc.top + 1, rc.right - 1, middle);
    const CRect down(rc.left + 1, middle, rc.right - 1, rc.bottom - 1);
    const BOOL enabled = pControl->GetEnabled();
    if (enabled && pControl->GetSelected())
    {
        pDC->FillSolidRect(rc, GetColor(kFace));
        const int pressed = pControl->GetPressed();
        if (pressed == WVP_SELECTED_SPINUP)
            Draw3dRect(pDC, up, kShadow, kWindow);
        else
            Draw3dRect(pDC, up, kWindow, kShadow);
        if (pressed == WVP_SELECTED_SPINDOWN)
            Draw3dRect(pDC, down, kShadow, kWindow);
        else
            Draw3dRect(pDC, down, kWindow, kShadow);
    }
    else if (enabled)
    {
        CRect inner = rc;
        inner.DeflateRect(1, 1);
        pDC->FillSolidRect(inner, GetColor(kFace));
        Draw3dRect(pDC, inner, kWindow, kWindow);
    }
    const COLORREF arrow = GetColor(enabled ? kButtonText : kGrayText);
    const int cx = rc.CenterPoint().x;
    const int upMiddle = up.CenterPoint().y;
    const int downMiddle = down.CenterPoint().y;
    DrawTriangle(pDC, CPoint(cx, upMiddle - 1), CPoint(cx - 2, upMiddle + 1), CPoint(cx + 2, upMiddle + 1), arrow);
    DrawTriangle(pDC, CPoint(cx, downMiddle + 1), CPoint(cx - 2, downMiddle - 1), CPoint(cx + 2, downMiddle - 1),
                 arrow);
}

CSize CWVPDefaultTheme::DrawComboBoxControl(CDC* pDC, CWVPControl* pControl, BOOL bDraw)
{
    // The arrow button of a combo box field, and the room between a label and its field.
    const int kComboButtonWidth = 15;
    const int kLabelGap = 6;
    const int kCaptionIndent = 2;
    CWVPCommandBar* pBar = pControl->GetParent();
    const BOOL popup = pBar && pBar->GetType() == wvpBarTypePopup;
    CWVPControlComboBox* pCombo = pControl->IsKindOf(RUNTIME_CLASS(CWVPControlComboBox))
                                      ? static_cast<CWVPControlComboBox*>(pControl)
                                      : nullptr;
    if (!bDraw || popup || !pCombo)
    {
        const CSize size = CWVPPaintManager::DrawComboBoxControl(pDC, pControl, bDraw);
        if (!bDraw && pCombo)
        {
            int label = 0;
            if (!popup && pCombo->IsCaptionVisible())
            {
                CWVPFontDC font(pDC, &m_fontBar);
                label = kCaptionIndent + pDC->GetTextExtent(StripMnemonics(pCombo->GetCaption())).cx + kLabelGap;
            }
            pCombo->SetLabelWidth(label);
            pCombo->SetDropDownButtonWidth(kComboButtonWidth);
        }
        return size;
    }
    CWVPPaintManager::DrawComboBoxControl(pDC, pControl, TRUE);
    CRect field = pControl->GetRect();
    field.left += pCombo->GetLabelWidth();
    const BOOL enabled = pControl->GetEnabled();
    const int selected = pControl->GetSelected();
    if (enabled)
    {
        CRect inside = field;
        inside.DeflateRect(1, 1);
        pDC->FillSolidRect(inside, GetColor(kWindow));
    }
    const CRect button(field.right - pCombo->GetDropDownButtonWidth(), field.top, field.right, field.bottom);
    {
        CWVPFontDC font(pDC, &m_fontIcon);
        pCombo->DrawComboText(pDC, CRect(field.left + 3, field.top + 1, button.left + 1, field.bottom - 1));
    }
    DrawControlComboBoxButton(pDC, button, enabled, selected, pControl->GetPopuped());
    DrawControlEditFrame(pDC, field, enabled, selected);
    return CSize(0, 0);
}
