#pragma once
// Draws galleries: their scroll bar (three stacked buttons when the gallery opens a popup) and
// their background. One belongs to each command-bar paint manager.
#include "uilib/commandbars/ScrollBarPaintManager.h"

class CWVPControlGallery;
class CWVPGalleryItem;

class CWVPControlGalleryPaintManager : public CWVPScrollBarPaintManager
{
  public:
    explicit CWVPControlGalleryPaintManager(CWVPPaintManager* paintManager);
    void RefreshMetrics() override;
    // Fills a gallery's rectangle, with its border and the separator below it when asked.
    virtual void FillControl(CDC* pDC, CRect rc, BOOL showBorders, BOOL bottomSeparator);
    // A group caption across the items: a bold caption over a band with a line along its bottom.
    virtual void DrawLabel(CDC* pDC, CWVPGalleryItem* pLabel, CRect rc);
    // The scroll column of a gallery that opens a popup: up, down and "more" buttons.
    virtual void DrawPopupScrollBar(CDC* pDC, CWVPControlGallery* pGallery);

    int m_cyPopupUp;
    int m_cyPopupDown;
    int m_cxPopup;
};
