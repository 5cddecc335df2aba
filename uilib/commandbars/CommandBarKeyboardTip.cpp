#include "uilib/commandbars/CommandBarKeyboardTip.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/PaintManager.h"

BEGIN_MESSAGE_MAP(CWVPCommandBarKeyboardTip, CWnd)
ON_WM_PAINT()
ON_WM_NCHITTEST()
END_MESSAGE_MAP()

CWVPCommandBarKeyboardTip::CWVPCommandBarKeyboardTip(CWVPCommandBarManager* manager, const CString& tip,
                                                     BOOL enabled)
    : m_pManager(manager), m_strTip(tip), m_bEnabled(enabled)
{
}

void CWVPCommandBarKeyboardTip::OnPaint()
{
    CPaintDC dc(this);
    CWVPPaintManager* paintManager = m_pManager ? m_pManager->GetPaintManager() : CWVPPaintManager::GetInstance();
    paintManager->DrawKeyboardTip(&dc, this, FALSE);
}

LRESULT CWVPCommandBarKeyboardTip::OnNcHitTest(CPoint)
{
    return HTTRANSPARENT;
}
