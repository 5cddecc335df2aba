#include "platform/mfc/SliderCtrl.h"

IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)

BOOL CSliderCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    AfxDeferRegisterClass(AFX_WNDCOMMCTLS_REG);
    return CWnd::Create(TRACKBAR_CLASSW, nullptr, style, rect, parent, id);
}
