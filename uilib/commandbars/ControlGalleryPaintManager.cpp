#include "uilib/commandbars/ControlGalleryPaintManager.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/ControlGallery.h"
#include "uilib/commandbars/GalleryItemCollection.h"
#include "uilib/commandbars/PaintManager.h"

namespace
{
const int kScrollButtonHeight = 19;
const int kPopupScrollWidth = 16;
const int kFillColor = 41;
const int kBorderColor = 52;
const int kSeparatorColor = 39;
const int kLabelFillColor = 56;
const int kLabelLineColor = 52;
const int kLabelTextColor = 44;
const int kLabelInset = 10;
const int kColumnColor = 30;

void DrawTriangle(CDC* pDC, CPoint a, CPoint b, CPoint c, COLORREF color)
{
    CPen pen(PS_SOLID, 1, color);
    CBrush brush(color);
    CPen* oldPen = pDC->SelectObject(&pen);
    CBrush* oldBrush = pDC->SelectObject(&brush);
    const POINT points[] = {a, b, c};
    pDC->Polygon(points, 3);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}
} // namespace

CWVPControlGalleryPaintManager::CWVPControlGalleryPaintManager(CWVPPaintManager* paintManager)
    : CWVPScrollBarPaintManager(paintManager), m_cyPopupUp(kScrollButtonHeight), m_cyPopupDown(kScrollButtonHeight),
      m_cxPopup(kPopupScrollWidth)
{
}

void CWVPControlGalleryPaintManager::RefreshMetrics()
{
    CWVPScrollBarPaintManager::RefreshMetrics();
    m_cyPopupUp = kScrollButtonHeight;
    m_cyPopupDown = kScrollButtonHeight;
    m_cxPopup = kPopupScrollWidth;
}

void CWVPControlGalleryPaintManager::FillControl(CDC* pDC, CRect rc, BOOL showBorders, BOOL bottomSeparator)
{
    pDC->FillSolidRect(rc, m_pPaintManager->GetColor(kFillColor));
    if (showBorders)
        m_pPaintManager->Draw3dRect(pDC, rc, kBorderColor, kBorderColor);
    else if (bottomSeparator)
        m_pPaintManager->HorizontalLine(pDC, rc.left, rc.bottom - 2, rc.right,
                                        m_pPaintManager->GetColor(kSeparatorColor));
}

void CWVPControlGalleryPaintManager::DrawLabel(CDC* pDC, CWVPGalleryItem* pLabel, CRect rc)
{
    pDC->FillSolidRect(rc, m_pPaintManager->GetColor(kLabelFillColor));
    m_pPaintManager->HorizontalLine(pDC, rc.left, rc.bottom - 1, rc.right, m_pPaintManager->GetColor(kLabelLineColor));
    CFont* old = pDC->SelectObject(&m_pPaintManager->m_fontBarBold);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(m_pPaintManager->GetColor(kLabelTextColor));
    CRect text = rc;
    text.DeflateRect(kLabelInset, 0);
    pDC->DrawText(pLabel->GetCaption(), text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    pDC->SelectObject(old);
}

void CWVPControlGalleryPaintManager::DrawPopupScrollBar(CDC* pDC, CWVPControlGallery* pGallery)
{
    const CRect rc = pGallery->GetScrollBarRect();
    if (rc.IsRectEmpty())
        return;
    pDC->FillSolidRect(rc, m_pPaintManager->GetColor(kColumnColor));
    const CRect up(rc.left, rc.top, rc.right, rc.top + m_cyPopupUp);
    const CRect down(rc.left, up.bottom, rc.right, up.bottom + m_cyPopupDown);
    const CRect more(rc.left, down.bottom, rc.right, rc.bottom);
    struct Button
    {
        int part;
        CRect rc;
    } buttons[] = {{WVP_HT_LINEUP, up}, {WVP_HT_LINEDOWN, down}, {WVP_HT_EXTRA, more}};
    const BOOL controlEnabled = pGallery->GetEnabled();
    for (const Button& b : buttons)
    {
        if (b.rc.IsRectEmpty())
            continue;
        const BOOL enabled = b.part == WVP_HT_EXTRA ? controlEnabled : pGallery->IsScrollButtonEnabled(b.part);
        const BOOL held = enabled && pGallery->IsScrollPartPressed() && pGallery->GetHotScrollPart() == b.part;
        const BOOL hot = enabled && !held && pGallery->GetHotScrollPart() == b.part;
        m_pPaintManager->DrawRectangle(pDC, b.rc, hot || held, held, enabled, FALSE, FALSE, wvpBarTypeNormal,
                                       wvpBarPopup);
        const COLORREF color =
            m_pPaintManager->GetRectangleTextColor(hot, held, enabled, FALSE, FALSE, wvpBarTypeNormal, wvpBarPopup);
        const CPoint c = b.rc.CenterPoint();
        if (b.part == WVP_HT_LINEUP)
            DrawTriangle(pDC, CPoint(c.x - 4, c.y + 2), CPoint(c.x + 4, c.y + 2), CPoint(c.x, c.y - 2), color);
        else if (b.part == WVP_HT_LINEDOWN)
            DrawTriangle(pDC, CPoint(c.x - 4, c.y - 2), CPoint(c.x + 4, c.y - 2), CPoint(c.x, c.y + 2), color);
        else
        {
            DrawTriangle(pDC, CPoint(c.x - 4, c.y - 1), CPoint(c.x + 4, c.y - 1), CPoint(c.x, c.y + 3), color);
            pDC->FillSolidRect(c.x - 4, c.y - 4, 9, 2, color);
        }
    }
}
