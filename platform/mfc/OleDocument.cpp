#include "platform/mfc/OleDocument.h"
#include "platform/mfc/OleClientItem.h"
#include "platform/mfc/View.h"

IMPLEMENT_DYNAMIC(COleDocument, CDocument)

COleDocument::COleDocument()
{
}

void COleDocument::RemoveItem(CObject* item)
{
    POSITION pos = m_docItemList.Find(item);
    if (pos)
        m_docItemList.RemoveAt(pos);
}

COleClientItem* COleDocument::GetPrimarySelectedItem(CView* pView)
{
    if (!pView)
        return nullptr;
    COleClientItem* selected = nullptr;
    for (POSITION pos = GetStartPosition(); pos;)
    {
        CObject* item = GetNextItem(pos);
        if (!item || !item->IsKindOf(RUNTIME_CLASS(COleClientItem)) || !pView->IsSelected(item))
            continue;
        if (selected)
            return nullptr;
        selected = static_cast<COleClientItem*>(item);
    }
    return selected;
}
