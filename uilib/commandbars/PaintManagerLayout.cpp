// How the paint manager measures and draws controls on bars: where icons, captions, arrows and
// marks go and how big each control is. One body per control kind serves both measuring (the
// bar's layout) and drawing.
#include <algorithm>
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/ControlEdit.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/foundation/DCGuards.h"
#include "uilib/foundation/ImageManagerIcon.h"

namespace
{
const int kArrowSpace = 10;
// The caption's left inset plus the gap between a field's label and the field.
const int kEditLabelGap = 8;
const int kCompactArrowSpace = 8;
const int kCaptionBelowHeight = 24;
const int kMarkGap = 5;
const int kMarkInset = 3;
const int kMinSlot = 22;
const int kShortcutGap = 19;
const int kPopupExtra = 32;
const int kColorFocusText = 18;
const int kColorFocusBack = 15;

BOOL IsVerticalBar(CWVPCommandBar* pBar)
{
    return pBar && pBar->IsVerticalPosition();
}

CString PlainCaption(CWVPControl* pControl)
{
    return CWVPPaintManager::StripMnemonics(pControl->GetCaption());
}
} // namespace

CSize CWVPPaintManager::DrawControlCaption(CDC* pDC, CWVPControl* pControl, CRect rc, BOOL bDraw, BOOL vertical,
                                           BOOL centred, BOOL arrow)
{
    const CString caption = pControl->GetCaption();
    CString plain = StripMnemonics(caption);
    const int arrowSpace = arrow ? (m_bCompactArrows ? kCompactArrowSpace : kArrowSpace) : 0;
    if (!bDraw)
    {
        CSize extent = pDC->GetTextExtent(plain.IsEmpty() ? CString(L" ") : plain);
        extent.cx += arrowSpace;
        return vertical ? CSize(extent.cy, extent.cx) : extent;
    }
    const CSize text = pDC->GetTextExtent(plain.IsEmpty() ? CString(L" ") : plain);
    const CSize extent = plain.IsEmpty() ? CSize(0, text.cy) : text;
    if (!vertical)
    {
        CRect textRect = rc;
        textRect.top = rc.top + (rc.Height() - extent.cy + 1) / 2;
        textRect.bottom = textRect.top + extent.cy;
        if (centred)
        {
            const int total = extent.cx + (arrow ? 5 + 4 : 0);
            textRect.left = rc.left + (rc.Width() - total) / 2;
        }
        textRect.right = textRect.left + extent.cx;
        if (!plain.IsEmpty())
            DrawControlText(pDC, pControl, caption, plain, textRect, FALSE, FALSE);
        if (arrow)
            DrawDropDownGlyph(pDC, pControl, CPoint(textRect.right + 5 + 2, rc.CenterPoint().y), pControl->GetSelected(),
                              pControl->GetPopuped(), pControl->GetEnabled(), FALSE);
    }
    else
    {
        // Top to bottom: the vertical font turns the text a quarter clockwise, so it starts at
        // the right edge of its column.
        const int x = rc.left + (rc.Width() + extent.cy) / 2;
        int y = rc.top;
        if (centred)
            y = rc.top + (rc.Height() - extent.cx - (arrow ? 4 + 4 : 0)) / 2;
        CRect textRect(x, y, x + extent.cy, y + extent.cx);
        if (!plain.IsEmpty())
            DrawControlText(pDC, pControl, caption, plain, textRect, TRUE, FALSE);
        if (arrow)
            DrawDropDownGlyph(pDC, pControl, CPoint(rc.CenterPoint().x, y + extent.cx + 4 + 2),
                              pControl->GetSelected(), pControl->GetPopuped(), pControl->GetEnabled(), TRUE);
    }
    return CSize(0, 0);
}

CSize CWVPPaintManager::LayoutCaption(CDC* pDC, CWVPControl* pControl, CRect rc, BOOL bDraw, BOOL arrow,
                                      int slotWidth, int slotHeight, BOOL hasIcon)
{
    const BOOL vertical = IsVerticalBar(pControl->GetParent());
    const CSize text = DrawControlCaption(pDC, pControl, rc, FALSE, vertical, FALSE, arrow);
    if (bDraw)
    {
        CRect captionRect = rc;
        if (hasIcon)
        {
            if (vertical)
                captionRect.top = rc.top + slotHeight;
            else
                captionRect.left = rc.left + slotWidth - (m_bCompactArrows ? 0 : 1);
        }
        DrawControlCaption(pDC, pControl, captionRect, TRUE, vertical, !hasIcon, arrow);
        return CSize(0, 0);
    }
    if (!vertical)
    {
        // text is (width, height) here
        if (hasIcon)
            return CSize(text.cx + slotWidth + (m_bCompactArrows ? 4 : 3), std::max(slotHeight, text.cy + 6));
        return CSize(text.cx + 8, std::max(slotHeight, text.cy + 6));
    }
    // text is (height, width) on vertical bars
    if (hasIcon)
        return CSize(std::max(slotWidth, text.cx + 6), text.cy + slotHeight + 3);
    return CSize(std::max(slotWidth, text.cx + 6), text.cy + 8);
}

CSize CWVPPaintManager::DrawControlCaptionBelowIcon(CDC* pDC, CWVPControl* pControl, CRect rc, BOOL bDraw,
                                                    BOOL vertical, BOOL arrow)
{
    const CString plain = PlainCaption(pControl);
    CString first = plain, second;
    if (m_bSplitCaptions)
        SplitCaption(plain, first, second);
    if (!bDraw)
    {
        const int w1 = pDC->GetTextExtent(first.IsEmpty() ? CString(L" ") : first).cx;
        int w2 = second.IsEmpty() ? 0 : pDC->GetTextExtent(second).cx;
        if (arrow)
            w2 += 8;
        const int width = std::max(w1, w2);
        return vertical ? CSize(kCaptionBelowHeight, width) : CSize(width, kCaptionBelowHeight);
    }
    const int middle = vertical ? rc.CenterPoint().x : rc.CenterPoint().y;
    if (!vertical)
    {
        CRect line1(rc.left, rc.top, rc.right, middle + 1);
        DrawControlText(pDC, pControl, first, first, line1, FALSE, TRUE);
        const int w2 = second.IsEmpty() ? 0 : pDC->GetTextExtent(second).cx;
        const int total = w2 + (arrow ? 9 : 0);
        const int left = rc.left + (rc.Width() - total) / 2;
        if (!second.IsEmpty())
            DrawControlText(pDC, pControl, second, second, CRect(left, middle, left + w2, rc.bottom), FALSE, FALSE);
        if (arrow)
        {
            const int x = second.IsEmpty() ? rc.CenterPoint().x - 1 : left + w2 + 5;
            DrawDropDownGlyph(pDC, pControl, CPoint(x, (middle + rc.bottom) / 2), pControl->GetSelected(),
                              pControl->GetPopuped(), pControl->GetEnabled(), FALSE);
        }
    }
    else
    {
        CRect line1(middle, rc.top, rc.right, rc.bottom);
        DrawControlText(pDC, pControl, first, first, line1, TRUE, TRUE);
        CRect line2(rc.left, rc.top, middle, rc.bottom);
        if (!second.IsEmpty())
            DrawControlText(pDC, pControl, second, second, line2, TRUE, TRUE);
        if (arrow)
            DrawDropDownGlyph(pDC, pControl, CPoint((rc.left + middle) / 2, rc.bottom - 6), pControl->GetSelected(),
                              pControl->GetPopuped(), pControl->GetEnabled(), TRUE);
    }
    return CSize(0, 0);
}

void CWVPPaintManager::DrawToolBarControlFace(CDC* pDC, CWVPControl* pControl, CRect rc)
{
    if (pControl->GetType() == wvpControlSplitButtonPopup)
        DrawSplitButtonFrame(pDC, pControl, rc);
    else if (!pControl->HasCustomBackground())
        DrawControlEntry(pDC, pControl);
    pDC->SetTextColor(GetControlTextColor(pControl));
}

CSize CWVPPaintManager::DrawToolBarControl(CDC* pDC, CWVPControl* pControl, BOOL bDraw)
{
    CWVPCommandBar* pBar = pControl->GetParent();
    const BOOL vertical = IsVerticalBar(pBar);
    CWVPFontDC font(pDC, GetControlFont(pBar, pControl->GetDefaultItem()));
    const CRect rc = bDraw ? pControl->GetRect() : CRect(0, 0, 0, 0);
    const int type = pControl->GetType();
    const int style = pControl->GetStyle();
    const CSize imageSize = GetControlImageSize(pControl);
    const BOOL wantsIcon = style == wvpButtonIcon || style == wvpButtonIconAndCaption ||
                           style == wvpButtonIconAndCaptionBelow || (style == wvpButtonAutomatic && type != wvpControlPopup);
    CWVPImageManagerIcon* pIcon = wantsIcon ? pControl->GetImage(imageSize.cx) : nullptr;
    const BOOL hasIcon = pIcon != nullptr;
    const int selected = pControl->GetSelected();
    const int pressed = pControl->GetPressed();
    const int checked = pControl->GetChecked();
    const BOOL popuped = pControl->GetPopuped();
    int enabled = pControl->GetEnabled();
    CSize button = pControl->GetButtonSize();

    if (bDraw)
        pDC->SetBkMode(TRANSPARENT);

    // Check boxes and radio buttons: the mark, then the caption.
    if (type == wvpControlCheckBox || type == wvpControlRadioButton)
    {
        const CSize mark(13, 13);
        CSize caption = LayoutCaption(pDC, pControl, CRect(0, 0, 0, 0), FALSE, FALSE, button.cx, button.cy, FALSE);
        if (bDraw)
        {
            pDC->SetTextColor(GetControlTextColor(pControl));
            CRect markRect;
            CRect captionRect = rc;
            if (vertical)
            {
                const int x = rc.left + (rc.Width() - mark.cx) / 2;
                markRect = CRect(x, rc.top + kMarkInset, x + mark.cx, rc.top + kMarkInset + mark.cy);
                captionRect.top = markRect.bottom + kMarkGap;
            }
            else
            {
                const int y = rc.top + (rc.Height() - mark.cy) / 2;
                markRect = CRect(rc.left + kMarkInset, y, rc.left + kMarkInset + mark.cx, y + mark.cy);
                captionRect.left = markRect.right + kMarkGap;
            }
            if (type == wvpControlCheckBox)
                DrawControlCheckBoxMark(pDC, markRect, TRUE, selected, pressed, checked, enabled);
            else
                DrawControlRadioButtonMark(pDC, markRect, TRUE, selected, pressed, checked, enabled);
            LayoutCaption(pDC, pControl, captionRect, TRUE, FALSE, button.cx, button.cy, FALSE);
            if (selected == 2 || selected == 3)
            {
                const COLORREF oldText = pDC->SetTextColor(GetColor(kColorFocusText));
                const COLORREF oldBack = pDC->SetBkColor(GetColor(kColorFocusBack));
                pDC->DrawFocusRect(captionRect);
                pDC->SetTextColor(oldText);
                pDC->SetBkColor(oldBack);
            }
            return CSize(0, 0);
        }
        const CSize size = vertical ? CSize(caption.cx, caption.cy + mark.cy + kMarkGap)
                                    : CSize(mark.cx + caption.cx + kMarkGap, caption.cy);
        return ApplyControlSize(pControl, size.cx, size.cy, vertical);
    }

    if (style == wvpButtonIconAndCaptionBelow)
    {
        const BOOL arrow = pControl->GetCommandBar() != nullptr;
        const int h = GetSplitDropDownHeight();
        if (bDraw)
        {
            DrawToolBarControlFace(pDC, pControl, rc);
            if (pIcon)
            {
                const CPoint pt = vertical ? CPoint(rc.left + h + 4, rc.CenterPoint().y - imageSize.cy / 2)
                                           : CPoint(rc.CenterPoint().x - imageSize.cx / 2, rc.top + 3);
                DrawImage(pDC, pt, imageSize, pIcon, selected, pressed, enabled, checked, popuped);
            }
            const CRect captionRect = vertical ? CRect(rc.left, rc.top, rc.left + h, rc.bottom)
                                               : CRect(rc.left, rc.bottom - h - 1, rc.right, rc.bottom - 1);
            DrawControlCaptionBelowIcon(pDC, pControl, captionRect, TRUE, vertical, arrow);
            return CSize(0, 0);
        }
        int width = std::max(2 * GetControlHeight() - 3, 42);
        int height = m_nEditHeight > 0 ? 3 * m_nEditHeight : imageSize.cy + h + 7;
        const CSize caption = DrawControlCaptionBelowIcon(pDC, pControl, CRect(0, 0, 0, 0), FALSE, vertical, arrow);
        if (vertical)
        {
            std::swap(width, height);
            height = std::max(height, caption.cy + 6);
        }
        else
            width = std::max(width, caption.cx + 5);
        return ApplyControlSize(pControl, width, height, vertical);
    }

    if (type == wvpControlSplitButtonPopup && pControl->GetEnabled() == 5)
        enabled = FALSE;
    if (bDraw)
        DrawToolBarControlFace(pDC, pControl, rc);

    const BOOL captionVisible = pControl->IsCaptionVisible();
    if (pBar && pBar->GetShowTextBelowIcons() && hasIcon)
    {
        CWVPFontDC below(pDC, pControl->GetDefaultItem() ? &m_fontBarBold : &m_fontBar);
        const BOOL arrow = type == wvpControlPopup;
        if (bDraw)
        {
            CRect iconArea = rc;
            if (type == wvpControlSplitButtonPopup)
                iconArea.right -= m_nSplitArrowWidth;
            DrawImage(pDC, CPoint(iconArea.CenterPoint().x - imageSize.cx / 2, rc.top + 4), imageSize, pIcon, selected,
                      pressed, enabled, checked, popuped);
            DrawControlCaption(pDC, pControl, CRect(iconArea.left, rc.top + button.cy - 4, iconArea.right, rc.bottom),
                               TRUE, FALSE, TRUE, arrow);
            return CSize(0, 0);
        }
        const CSize caption = DrawControlCaption(pDC, pControl, CRect(0, 0, 0, 0), FALSE, FALSE, TRUE, arrow);
        int width = std::max(button.cx, caption.cx + 10);
        if (type == wvpControlSplitButtonPopup)
            width += 11;
        const int height = button.cy + caption.cy;
        return ApplyControlSize(pControl, std::max(width, height), height, vertical);
    }

    if (bDraw && pIcon)
    {
        CRect iconArea = rc;
        if (type == wvpControlSplitButtonPopup)
            iconArea.right -= m_nSplitArrowWidth;
        else if (type == wvpControlPopup && !captionVisible)
            iconArea.right -= 7;
        const int height = pIcon->GetWidth() ? imageSize.cx * pIcon->GetHeight() / pIcon->GetWidth() : imageSize.cy;
        CPoint pt;
        if ((type == wvpControlButtonPopup || type == wvpControlButton) && !captionVisible)
            pt = CPoint(iconArea.left + (iconArea.Width() - imageSize.cx) / 2,
                        iconArea.top + (iconArea.Height() - height) / 2);
        else if (vertical)
            pt = CPoint(iconArea.left + (iconArea.Width() - imageSize.cx) / 2, iconArea.top + 3);
        else
            pt = CPoint(iconArea.left + 3, iconArea.top + (iconArea.Height() - height) / 2);
        DrawImage(pDC, pt, CSize(imageSize.cx, height), pIcon, selected, pressed, enabled, checked, popuped);
    }

    const BOOL menuBar = pBar && pBar->GetType() == wvpBarTypeMenuBar;
    CSize size(0, 0);
    switch (type)
    {
    case wvpControlButton:
    case wvpControlButtonPopup:
    case wvpControlLabel:
    case wvpControlCheckBox:
    case wvpControlGallery:
        if (captionVisible)
        {
            const int slot = hasIcon ? button.cx : kMinSlot;
            size = LayoutCaption(pDC, pControl, rc, bDraw, FALSE, slot, button.cy, hasIcon);
        }
        else
            size = button;
        break;
    case wvpControlPopup:
        if (captionVisible)
        {
            if (!hasIcon)
            {
                const BOOL arrow = !(bDraw && menuBar);
                CSize caption = DrawControlCaption(pDC, pControl, rc, bDraw, vertical, TRUE, arrow);
                size = CSize(caption.cx + 6, caption.cy + 6);
            }
            else
                size = LayoutCaption(pDC, pControl, rc, bDraw, !menuBar, button.cx, button.cy, TRUE);
        }
        else
        {
            if (bDraw)
                DrawDropDownGlyph(pDC, pControl, CPoint(rc.right - 7, rc.CenterPoint().y), selected, popuped, enabled,
                                  FALSE);
            size = CSize(button.cy + 7, button.cy);
        }
        break;
    case wvpControlSplitButtonPopup:
    {
        if (!hasIcon)
            button = CSize(kMinSlot, kMinSlot);
        if (captionVisible)
        {
            CRect buttonPart = rc;
            buttonPart.right -= m_nSplitArrowWidth;
            size = LayoutCaption(pDC, pControl, buttonPart, bDraw, FALSE, button.cx, button.cy, hasIcon);
            size.cx += m_nSplitArrowWidth;
        }
        else
            size = CSize(button.cx + m_nSplitArrowWidth, button.cy);
        break;
    }
    default:
        size = CSize(0, 0);
        break;
    }
    if (bDraw)
        return CSize(0, 0);
    return ApplyControlSize(pControl, size.cx, size.cy, vertical);
}

CRect CWVPPaintManager::GetSplitButtonCommandRect(CWVPControl* pControl)
{
    CRect rc = pControl->GetRect();
    CWVPCommandBar* pBar = pControl->GetParent();
    if (pBar && pBar->GetType() == wvpBarTypePopup)
        rc.right -= m_nPopupSplitArrowWidth;
    else if (pControl->GetStyle() == wvpButtonIconAndCaptionBelow)
    {
        if (IsVerticalBar(pBar))
            rc.left += GetSplitDropDownHeight();
        else
            rc.bottom -= GetSplitDropDownHeight();
    }
    else
        rc.right -= m_nSplitArrowWidth + 1;
    return rc;
}

COLORREF CWVPPaintManager::GetControlTextColor(CWVPControl* pControl)
{
    CWVPCommandBar* pBar = pControl->GetParent();
    const int barType = pBar ? pBar->GetType() : wvpBarTypeNormal;
    const int position = pBar ? pBar->GetPosition() : wvpBarTop;
    int state = pControl->GetEnabled();
    BOOL enabled = state != 0;
    if (pControl->GetType() == wvpControlSplitButtonPopup)
        enabled = pControl->GetStyle() == wvpButtonIconAndCaptionBelow ? state != 0 && state != 4
                                                                         : state != 0 && state != 5;
    const int type = pControl->GetType();
    if ((type == wvpControlCheckBox || type == wvpControlRadioButton) && barType != wvpBarTypePopup)
        return GetRectangleTextColor(FALSE, FALSE, enabled, FALSE, FALSE, barType, position);
    return GetRectangleTextColor(pControl->GetSelected(), pControl->GetPressed(), enabled, pControl->GetChecked(),
                                 pControl->GetPopuped(), barType, position);
}

CSize CWVPPaintManager::DrawPopupBarControl(CDC* pDC, CWVPControl* pControl, BOOL bDraw)
{
    CWVPCommandBar* pBar = pControl->GetParent();
    CWVPFontDC font(pDC, GetControlFont(pBar, pControl->GetDefaultItem()));
    const int type = pControl->GetType();
    int g = GetPopupBarGripperWidth(pBar) - 1;
    if (type == wvpControlLabel && !m_bIndentPopupLabels)
        g = 0;
    g = std::max(g, 0);
    const BOOL cues = pBar ? pBar->IsKeyboardCuesVisible() : TRUE;
    CString caption = pControl->GetCaption();
    UINT format = DT_END_ELLIPSIS;
    if (!cues)
    {
        caption = StripMnemonics(caption);
        format |= DT_NOPREFIX;
    }
    const CString shortcut = type == wvpControlButton ? pControl->GetShortcutText() : CString();
    const int style = pControl->GetStyle();
    const CRect rc = pControl->GetRect();
    const BOOL enabled = pControl->GetEnabled() != 0;
    const int selected = pControl->GetSelected();

    if (bDraw)
    {
        pDC->SetBkMode(TRANSPARENT);
        CRect captionRect(rc.left + g + m_nPopupTextGap, rc.top, rc.right, rc.bottom);
        CRect shortcutRect(rc.left + g + 8, rc.top, rc.right - kShortcutGap, rc.bottom);
        if (!shortcut.IsEmpty())
            captionRect.right -= pDC->GetTextExtent(shortcut).cx + kShortcutGap;
        if (style == wvpButtonCaptionAndDescription)
        {
            CWVPFontDC bold(pDC, &m_fontBarBold);
            CRect top(captionRect.left, rc.top, captionRect.right, rc.top + m_nTextHeight);
            DrawPopupBarText(pDC, caption, top, format, TRUE, selected, enabled);
            bold.SetFont(&m_fontBar);
            CRect below(captionRect.left, top.bottom, captionRect.right, rc.bottom);
            pDC->DrawText(pControl->GetDescription(), below, DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
        else
            DrawPopupBarText(pDC, caption, captionRect, format, TRUE, selected, enabled);
        if (!shortcut.IsEmpty())
            DrawPopupBarText(pDC, shortcut, shortcutRect, DT_RIGHT | DT_NOPREFIX, TRUE, selected, enabled);
        return CSize(0, 0);
    }
    int width = pDC->GetTextExtent(StripMnemonics(pControl->GetCaption())).cx;
    if (style == wvpButtonCaptionAndDescription)
    {
        CWVPFontDC bold(pDC, &m_fontBarBold);
        width = pDC->GetTextExtent(StripMnemonics(pControl->GetCaption())).cx;
    }
    if (!shortcut.IsEmpty())
        width += pDC->GetTextExtent(shortcut).cx + kShortcutGap;
    width += g + m_nPopupTextGap + kPopupExtra;
    int height = GetPopupBarIconCellSize(pBar).cy;
    if (type == wvpControlLabel && style == wvpButtonCaption)
        height = m_nTextHeight;
    if (style == wvpButtonCaptionAndDescription)
        height = std::max(height, m_nTextHeight * 3);
    return ApplyControlSize(pControl, width, height, FALSE);
}

CSize CWVPPaintManager::DrawEditControl(CDC* pDC, CWVPControl* pControl, BOOL bDraw)
{
    const CSize size = DrawComboBoxControl(pDC, pControl, bDraw);
    CWVPControlEdit* pEdit = DYNAMIC_DOWNCAST(CWVPControlEdit, pControl);
    if (!bDraw && pEdit)
    {
        // The label takes the caption's width and a gap before the field.
        int labelWidth = 0;
        CWVPCommandBar* pBar = pControl->GetParent();
        if (pControl->IsCaptionVisible() && !(pBar && pBar->GetType() == wvpBarTypePopup))
        {
            CWVPFontDC font(pDC, &m_fontBar);
            labelWidth = pDC->GetTextExtent(StripMnemonics(pControl->GetCaption())).cx + kEditLabelGap;
        }
        pEdit->SetLabelWidth(labelWidth);
    }
    return size;
}

CSize CWVPPaintManager::DrawComboBoxControl(CDC* pDC, CWVPControl* pControl, BOOL bDraw)
{
    CWVPCommandBar* pBar = pControl->GetParent();
    const BOOL popup = pBar && pBar->GetType() == wvpBarTypePopup;
    if (popup && bDraw)
        return DrawPopupBarControl(pDC, pControl, bDraw);
    const CSize imageSize = GetControlImageSize(pControl);
    CWVPImageManagerIcon* pIcon = pControl->GetImage(imageSize.cx);
    if (bDraw)
    {
        const CRect rc = pControl->GetRect();
        int captionLeft = rc.left + 2;
        if (pIcon)
        {
            DrawImage(pDC, CPoint(rc.left + 3, rc.CenterPoint().y - imageSize.cy / 2), imageSize, pIcon, FALSE, FALSE,
                      pControl->GetEnabled(), FALSE, FALSE);
            captionLeft = rc.left + 3 + imageSize.cx + 6;
        }
        if (pControl->IsCaptionVisible())
        {
            CWVPFontDC font(pDC, &m_fontBar,
                            GetRectangleTextColor(FALSE, FALSE, pControl->GetEnabled(), FALSE, FALSE,
                                                  pBar ? pBar->GetType() : wvpBarTypeNormal,
                                                  pBar ? pBar->GetPosition() : wvpBarTop));
            pDC->SetBkMode(TRANSPARENT);
            DrawControlCaption(pDC, pControl, CRect(captionLeft, rc.top, rc.right, rc.bottom), TRUE, FALSE, FALSE,
                               FALSE);
        }
        return CSize(0, 0);
    }
    CWVPFontDC font(pDC, &m_fontIcon);
    const int line = pDC->GetTextExtent(L" ", 1).cy;
    int height = m_nEditHeight > 0 ? m_nEditHeight : line + 7;
    if (pControl->GetType() == wvpControlComboBox && m_nEditHeight <= 0)
        height = std::max(height, 20);
    if (pControl->IsCaptionVisible() && m_nEditHeight <= 0)
    {
        CWVPFontDC barFont(pDC, &m_fontBar);
        height = std::max(height, pDC->GetTextExtent(L" ", 1).cy + 7);
    }
    if (!popup && pIcon)
        height = std::max(height, pControl->GetButtonSize().cy);
    int width = pControl->GetWidth();
    if (popup)
        width += GetPopupBarGripperWidth(pBar);
    return CSize(width, height);
}
