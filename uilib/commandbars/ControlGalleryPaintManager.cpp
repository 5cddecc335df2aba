#include "uilib/commandbars/ControlGalleryPaintManager.h"
#include "uilib/commandbars/PaintManager.h"

namespace
{
const int kScrollButtonHeight = 19;
const int kPopupScrollWidth = 16;
const int kFillColor = 41;
const int kBorderColor = 52;
const int kSeparatorColor = 39;
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
        m_pPaintManager->HorizontalLine(pDC, rc.left, rc.bottom - 2, rc.right, m_pPaintManager->GetColor(kSeparatorColor));
}
