#include "platform/mfc/View.h"

#include "platform/mfc/Document.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/PaintDC.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMessage)
END_MESSAGE_MAP()

CView::CView() : m_pDocument(nullptr), m_bAutoDelete(FALSE)
{
}

CView::~CView()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass =
            AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1));
    cs.style |= WS_CLIPSIBLINGS;
    return TRUE;
}

int CView::OnCreate(LPCREATESTRUCT cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    // A view made through a creation context joins the context's document.
    CCreateContext* context = static_cast<CCreateContext*>(cs->lpCreateParams);
    if (context && context->m_pCurrentDoc)
    {
        if (CDocument* document = dynamic_cast<CDocument*>(context->m_pCurrentDoc))
            document->AddView(this);
    }
    return 0;
}

void CView::OnDestroy()
{
    CFrameWnd* frame = GetParentFrame();
    if (frame && frame->GetActiveView() == this)
        frame->SetActiveView(nullptr, FALSE);
    CWnd::OnDestroy();
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CView::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnDraw(&dc);
}

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM)
{
    OnInitialUpdate();
    return 0;
}

void CView::OnInitialUpdate()
{
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView*, LPARAM, CObject*)
{
    Invalidate(TRUE);
}

void CView::OnDraw(CDC*)
{
}

BOOL CView::IsSelected(const CObject*) const
{
    return FALSE;
}

void CView::OnActivateView(BOOL, CView*, CView*)
{
}
