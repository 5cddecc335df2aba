#pragma once
// Draws galleries: their scroll bar (three stacked buttons when the gallery opens a popup) and
// their background. One belongs to each command-bar paint manager.
#include "uilib/commandbars/ScrollBarPaintManager.h"

class CWVPControlGalleryPaintManager : public CWVPScrollBarPaintManager
{
  public:
    explicit CWVPControlGalleryPaintManager(CWVPPaintManager* paintManager);
    void RefreshMetrics() override;
    // Fills a gallery's rectangle, with its border and the separator below it when asked.
    virtual void FillControl(CDC* pDC, CRect rc, BOOL showBorders, BOOL bottomSeparator);

    int m_cyPopupUp;
    int m_cyPopupDown;
    int m_cxPopup;
};
