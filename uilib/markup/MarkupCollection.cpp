#include "uilib/markup/MarkupCollection.h"

#include "platform/mfc/Exception.h"
#include "uilib/markup/MarkupBuilder.h"
#include "uilib/markup/MarkupType.h"

IMPLEMENT_MARKUP_TYPE(CWVPMarkupCollection, kTypeCollection)

CWVPMarkupCollection::CWVPMarkupCollection(CWVPMarkupType* elementType)
    : m_ppItems(nullptr), m_nCount(0), m_nCapacity(0), m_pElementType(elementType), m_bParenting(TRUE)
{
}

CWVPMarkupCollection::~CWVPMarkupCollection()
{
    RemoveAll();
}

int CWVPMarkupCollection::GetLogicalChildrenCount() const
{
    return m_nCount;
}

CWVPMarkupObject* CWVPMarkupCollection::GetLogicalChild(int index) const
{
    return GetItem(index);
}

CWVPMarkupObject* CWVPMarkupCollection::GetItem(int index) const
{
    if (index < 0 || index >= m_nCount)
        AfxThrowInvalidArgException();
    return m_ppItems[index];
}

BOOL CWVPMarkupCollection::AcceptsItem(CWVPMarkupObject* item) const
{
    return item && m_pElementType && item->IsKindOf(m_pElementType);
}

void CWVPMarkupCollection::SetContentObject(CWVPMarkupBuilder*, CWVPMarkupObject* content)
{
    if (!AcceptsItem(content))
    {
        // A collection made without element type accepts nothing; it names the root type.
        CWVPMarkupType* element = m_pElementType ? m_pElementType : CWVPMarkupObject::Type();
        CWVPMarkupBuilder::ThrowError(content, L"'%ls' object cannot be added to '%ls'. Object cannot be converted to type '%ls'",
                                      content ? content->GetType()->GetClassName() : L"",
                                      GetType()->GetClassName(), element->GetClassName());
    }
    Add(content);
}

BOOL CWVPMarkupCollection::HasContentObject() const
{
    return m_nCount > 0;
}

void CWVPMarkupCollection::OnItemAdded(CWVPMarkupObject*, int)
{
}

void CWVPMarkupCollection::Add(CWVPMarkupObject* item)
{
    if (!AcceptsItem(item))
    {
        if (item)
            item->Release();
        return;
    }
    if (m_nCount == m_nCapacity)
    {
        int capacity = m_nCapacity ? m_nCapacity * 2 : 4;
        CWVPMarkupObject** items = new CWVPMarkupObject*[capacity];
        if (m_nCount)
            ::CopyMemory(items, m_ppItems, m_nCount * sizeof(CWVPMarkupObject*));
        delete[] m_ppItems;
        m_ppItems = items;
        m_nCapacity = capacity;
    }
    if (m_bParenting)
        item->SetLogicalParent(this);
    m_ppItems[m_nCount++] = item;
    OnItemAdded(item, m_nCount - 1);
}

void CWVPMarkupCollection::RemoveAt(int index)
{
    if (index < 0 || index >= m_nCount)
        return;
    CWVPMarkupObject* item = m_ppItems[index];
    ::MoveMemory(m_ppItems + index, m_ppItems + index + 1, (m_nCount - index - 1) * sizeof(CWVPMarkupObject*));
    --m_nCount;
    if (m_bParenting && item->GetLogicalParent() == this)
        item->SetLogicalParent(nullptr);
    item->Release();
}

void CWVPMarkupCollection::RemoveAll()
{
    CWVPMarkupObject** items = m_ppItems;
    int count = m_nCount;
    m_ppItems = nullptr;
    m_nCount = m_nCapacity = 0;
    for (int i = 0; i < count; ++i)
    {
        if (m_bParenting && items[i]->GetLogicalParent() == this)
            items[i]->SetLogicalParent(nullptr);
        items[i]->Release();
    }
    delete[] items;
}
