#include "platform/mfc/ListView.h"

IMPLEMENT_DYNCREATE(CListView, CView)

BEGIN_MESSAGE_MAP(CListView, CView)
ON_WM_PAINT()
END_MESSAGE_MAP()

CListView::CListView()
{
}

BOOL CListView::PreCreateWindow(CREATESTRUCTW& cs)
{
    AfxDeferRegisterClass(AFX_WNDCOMMCTLS_REG);
    cs.lpszClass = WC_LISTVIEWW;
    return CView::PreCreateWindow(cs);
}

CListCtrl& CListView::GetListCtrl() const
{
    m_listCtrl.m_hWnd = m_hWnd;
    return m_listCtrl;
}
