#include "platform/mfc/OleDocument.h"

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
