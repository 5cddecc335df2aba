#include "uilib/markup/MarkupDecorator.h"

#include "uilib/markup/MarkupBuilder.h"
#include "uilib/markup/MarkupElements.h"
#include "uilib/markup/MarkupType.h"

CWVPMarkupDecorator::CWVPMarkupDecorator() : m_pChild(nullptr)
{
}

CWVPMarkupDecorator::~CWVPMarkupDecorator()
{
    SetChild(nullptr);
}

void CWVPMarkupDecorator::SetChild(CWVPMarkupUIElement* child)
{
    MarkupReplaceChild(this, m_pChild, child);
}

void CWVPMarkupDecorator::SetContentObject(CWVPMarkupBuilder*, CWVPMarkupObject* content)
{
    if (!content || !content->IsKindOf(CWVPMarkupUIElement::Type()))
        MarkupThrowNotUIElement(content, this);
    if (m_pChild)
    {
        LPCWSTR mine = GetType()->GetClassName();
        CWVPMarkupBuilder::ThrowError(
            content, L"'%ls' already has a child and cannot add '%ls'. '%ls' can accept only one child.", mine,
            content->GetType()->GetClassName(), mine);
    }
    SetChild(static_cast<CWVPMarkupUIElement*>(content));
}

BOOL CWVPMarkupDecorator::HasContentObject() const
{
    return m_pChild != nullptr;
}

int CWVPMarkupDecorator::GetVisualChildrenCount() const
{
    return m_pChild ? 1 : 0;
}

CWVPMarkupVisual* CWVPMarkupDecorator::GetVisualChild(int index) const
{
    return index == 0 ? m_pChild : nullptr;
}
