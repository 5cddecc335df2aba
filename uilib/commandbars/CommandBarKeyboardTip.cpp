#include "uilib/commandbars/CommandBarKeyboardTip.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/PaintManager.h"

BEGIN_MESSAGE_MAP(CWVPCommandBarKeyboardTip, CWnd)
ON_WM_PAINT()
ON_WM_NCHITTEST()
END_MESSAGE_MAP()

CWVPCommandBarKeyboardTip::CWVPCommandBarKeyboardTip(CWVPCommandBarManager* manager, const CString& tip,
                                                     BOOL enabled)
    : m_bExplicit(FALSE), m_pManager(manager), m_strTip(tip), m_bEnabled(enabled), m_pOwner(nullptr),
      m_ptAnchor(0, 0), m_nAlign(0), m_bVisible(TRUE)
{
}

CWVPCommandBarKeyboardTip::CWVPCommandBarKeyboardTip(CWVPCommandBarManager* manager, CCmdTarget* owner,
                                                     const CString& caption, int x, int y, int align, BOOL enabled)
    : m_bExplicit(FALSE), m_pManager(manager), m_bEnabled(enabled), m_strCaption(caption), m_pOwner(owner),
      m_ptAnchor(x, y), m_nAlign(align), m_bVisible(TRUE)
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
