#include "platform/mfc/Document.h"

#include "platform/mfc/View.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

CDocument::CDocument() : m_pDocTemplate(nullptr), m_bModified(FALSE)
{
}

CDocument::~CDocument()
{
    // Views that outlive their document forget it.
    while (!m_viewList.IsEmpty())
        static_cast<CView*>(m_viewList.RemoveHead())->m_pDocument = nullptr;
}

void CDocument::AddView(CView* view)
{
    if (!view || m_viewList.Find(view))
        return;
    if (view->m_pDocument && view->m_pDocument != this)
        view->m_pDocument->RemoveView(view);
    m_viewList.AddTail(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view)
{
    POSITION pos = m_viewList.Find(view);
    if (!pos)
        return;
    m_viewList.RemoveAt(pos);
    view->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject)
{
    for (POSITION pos = GetFirstViewPosition(); pos;)
    {
        CView* view = GetNextView(pos);
        if (view != sender)
            view->OnUpdate(sender, hint, hintObject);
    }
}
