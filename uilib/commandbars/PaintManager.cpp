#include "uilib/commandbars/PaintManager.h"
#include "uilib/foundation/DCGuards.h"

void AFX_CDECL CWVPPaintManager::DrawTriangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr)
{
    if (!pDC || !pDC->GetSafeHdc())
        return;
    CWVPPenDC pen(pDC->GetSafeHdc(), clr);
    CWVPBrushDC brush(pDC->GetSafeHdc(), clr);
    const POINT points[3] = {pt0, pt1, pt2};
    ::Polygon(pDC->GetSafeHdc(), points, 3);
}
