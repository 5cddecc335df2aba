#include "platform/mfc/ProgressCtrl.h"

IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)

BOOL CProgressCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    AfxDeferRegisterClass(AFX_WNDCOMMCTLS_REG);
    return CWnd::Create(PROGRESS_CLASSW, nullptr, style, rect, parent, id);
}
