#include "uilib/markup/MarkupInputElementCollection.h"

#include "uilib/markup/MarkupInputElement.h"

CWVPMarkupContext::CInputElementCollection::CInputElementCollection()
    : CWVPMarkupCollection(CWVPMarkupInputElement::Type())
{
    // The chain only lists elements of a tree: it never becomes their logical parent.
    m_bParenting = FALSE;
}

CWVPMarkupInputElement* CWVPMarkupContext::CInputElementCollection::GetElement(int index) const
{
    return static_cast<CWVPMarkupInputElement*>(m_ppItems[index]);
}

CWVPMarkupInputElement* CWVPMarkupContext::CInputElementCollection::GetLast() const
{
    return m_nCount ? GetElement(m_nCount - 1) : nullptr;
}

void CWVPMarkupContext::CInputElementCollection::RemoveLast()
{
    RemoveAt(m_nCount - 1);
}
