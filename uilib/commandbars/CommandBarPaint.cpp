// The bar's drawing: background, group separators and the controls that meet the clip rectangle.
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/PaintManager.h"

void CWVPCommandBar::DrawCommandBar(CDC* pDC, CRect rcClipBox)
{
    CWVPPaintManager* paintManager = GetPaintManager();
    if (!pDC || !paintManager)
        return;
    paintManager->FillCommandBarEntry(pDC, this);
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    BOOL first = TRUE;
    for (int i = 0; i < m_pControls->GetCount(); ++i)
    {
        CWVPControl* pControl = m_pControls->GetAt(i);
        if (pControl->GetParent() != this || !pControl->IsVisible())
            continue;
        if (pControl->GetBeginGroup() && !first)
            paintManager->DrawCommandBarSeparator(pDC, this, pControl, TRUE);
        first = FALSE;
        CRect rcMeet;
        if (!rcMeet.IntersectRect(rcClipBox, pControl->GetRect()))
            continue;
        CFont* pFont = paintManager->GetControlFont(this, pControl->GetDefaultItem());
        CFont* pOldFont = pFont ? pDC->SelectObject(pFont) : nullptr;
        pControl->Draw(pDC);
        if (pOldFont)
            pDC->SelectObject(pOldFont);
    }
    pDC->SetBkMode(oldMode);
}
