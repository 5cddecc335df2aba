#include "platform/mfc/OleClientItem.h"
#include "platform/mfc/OleDocument.h"

IMPLEMENT_DYNAMIC(COleClientItem, CObject)

COleClientItem::COleClientItem(COleDocument* pContainerDoc)
    : m_lpObject(nullptr), m_nItemType(OT_UNKNOWN), m_pDocument(pContainerDoc)
{
    if (m_pDocument)
        m_pDocument->AddItem(this);
}

COleClientItem::~COleClientItem()
{
    Release();
    if (m_pDocument)
        m_pDocument->RemoveItem(this);
}

void COleClientItem::Attach(LPOLEOBJECT lpObject, OLE_OBJTYPE type)
{
    if (lpObject)
        lpObject->AddRef();
    Release();
    m_lpObject = lpObject;
    m_nItemType = lpObject ? type : OT_UNKNOWN;
}

void COleClientItem::Release()
{
    if (m_lpObject)
        m_lpObject->Release();
    m_lpObject = nullptr;
    m_nItemType = OT_UNKNOWN;
}
