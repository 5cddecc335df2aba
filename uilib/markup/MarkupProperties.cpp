#include "uilib/markup/MarkupProperties.h"

#include "uilib/markup/MarkupDependencyProperty.h"

CWVPMarkupProperties::CWVPMarkupProperties(CWVPMarkupObject* owner)
    : m_ppValues(nullptr), m_nCount(CWVPMarkupDependencyProperty::GetRegisteredCount()), m_pOwner(owner)
{
    if (m_nCount > 0)
        m_ppValues = new CWVPMarkupObject*[m_nCount]();
}

CWVPMarkupProperties::~CWVPMarkupProperties()
{
    for (int i = 0; i < m_nCount; ++i)
        if (m_ppValues[i])
            m_ppValues[i]->Release();
    delete[] m_ppValues;
}

CWVPMarkupObject* CWVPMarkupProperties::Get(CWVPMarkupDependencyProperty* property) const
{
    int index = property ? property->GetIndex() : -1;
    if (index < 0 || index >= m_nCount)
        return nullptr;
    return m_ppValues[index];
}

void CWVPMarkupProperties::Set(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* value)
{
    int index = property ? property->GetIndex() : -1;
    if (index < 0 || index >= m_nCount)
        return;
    if (CWVPMarkupObject* old = m_ppValues[index])
    {
        if (m_pOwner && old->GetLogicalParent() == m_pOwner)
            old->SetLogicalParent(nullptr);
        m_ppValues[index] = nullptr;
        old->Release();
    }
    if (value)
    {
        m_ppValues[index] = value;
        if (m_pOwner)
            value->SetLogicalParent(m_pOwner);
    }
}

void CWVPMarkupProperties::CopyFrom(const CWVPMarkupProperties* other)
{
    if (!other)
        return;
    for (int i = 0; i < other->m_nCount && i < m_nCount; ++i)
    {
        if (CWVPMarkupObject* v = other->m_ppValues[i])
        {
            v->AddRef();
            if (m_ppValues[i])
                m_ppValues[i]->Release();
            m_ppValues[i] = v;
        }
    }
}
