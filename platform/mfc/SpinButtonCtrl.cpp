#include "platform/mfc/SpinButtonCtrl.h"

IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)

BOOL CSpinButtonCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    AfxDeferRegisterClass(AFX_WNDCOMMCTLS_REG);
    return CWnd::Create(UPDOWN_CLASSW, nullptr, style, rect, parent, id);
}
