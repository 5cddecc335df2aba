#include "uilib/markup/MarkupObject.h"

#include "uilib/markup/MarkupBuilder.h"
#include "uilib/markup/MarkupDependencyProperty.h"
#include "uilib/markup/MarkupProperties.h"
#include "uilib/markup/MarkupType.h"
#include "uilib/markup/MarkupValues.h"

namespace
{
LONG g_liveObjects;
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupObject, kTypeObject)

CWVPMarkupObject::CWVPMarkupObject()
    : m_pLogicalParent(nullptr), m_pProperties(nullptr), m_lpszTagName(nullptr), m_nRef(1)
{
    ::InterlockedIncrement(&g_liveObjects);
}

CWVPMarkupObject::~CWVPMarkupObject()
{
    delete m_pProperties;
    delete[] m_lpszTagName;
    ::InterlockedDecrement(&g_liveObjects);
}

LONG CWVPMarkupObject::GetLiveObjectCount()
{
    return g_liveObjects;
}

CWVPMarkupObject* CWVPMarkupObject::GetValueCore(CWVPMarkupDependencyProperty* property) const
{
    return m_pProperties ? m_pProperties->Get(property) : nullptr;
}

int CWVPMarkupObject::GetHashCode() const
{
    return (int)(UINT_PTR)this;
}

BOOL CWVPMarkupObject::IsEqual(const CWVPMarkupObject* other) const
{
    return other == this;
}

int CWVPMarkupObject::GetLogicalChildrenCount() const
{
    return 0;
}

CWVPMarkupObject* CWVPMarkupObject::GetLogicalChild(int) const
{
    return nullptr;
}

void CWVPMarkupObject::SetContentObject(CWVPMarkupBuilder*, CWVPMarkupObject* content)
{
    if (content && content->GetType() == CWVPMarkupString::Type())
        CWVPMarkupBuilder::ThrowError(content, L"Cannot convert the string '%ls' into a '%ls' object",
                                      static_cast<CWVPMarkupString*>(content)->GetText(), GetType()->GetClassName());
    CWVPMarkupBuilder::ThrowError(content, L"Cannot add content to an object of type '%ls'", GetType()->GetClassName());
}

void CWVPMarkupObject::SetPropertyObject(CWVPMarkupBuilder* builder, CWVPMarkupDependencyProperty* property,
                                         CWVPMarkupObject* value)
{
    if (value && property && !value->IsKindOf(property->GetValueType()))
    {
        CWVPMarkupObject* converted = nullptr;
        try
        {
            converted = builder ? builder->ConvertValue(property, value) : nullptr;
        }
        catch (...)
        {
            value->Release();
            throw;
        }
        value->Release();
        value = converted;
    }
    SetValue(property, value);
}

CWVPMarkupObject* CWVPMarkupObject::ConvertFrom(CWVPMarkupObject*)
{
    return nullptr;
}

BOOL CWVPMarkupObject::HasContentObject() const
{
    return FALSE;
}

BOOL CWVPMarkupObject::AllowWhiteSpaceContent() const
{
    return FALSE;
}

void CWVPMarkupObject::OnPropertyChanged(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* oldValue,
                                         CWVPMarkupObject* newValue)
{
    CWVPMarkupPropertyMetadata* metadata = property ? property->GetMetadata() : nullptr;
    if (metadata && metadata->m_pfnChanged)
    {
        CWVPMarkupPropertyChangedEventArgs args = {property, oldValue, newValue};
        metadata->m_pfnChanged(this, &args);
    }
}

void CWVPMarkupObject::OnFinalRelease()
{
    delete this;
}

LONG CWVPMarkupObject::AddRef()
{
    return ::InterlockedIncrement(&m_nRef);
}

LONG CWVPMarkupObject::Release()
{
    if (m_nRef == 0)
        return 0;
    LONG n = ::InterlockedDecrement(&m_nRef);
    if (n == 0)
        OnFinalRelease();
    return n;
}

BOOL CWVPMarkupObject::IsKindOf(CWVPMarkupType* type) const
{
    CWVPMarkupType* mine = GetType();
    return mine && mine->IsDerivedFrom(type);
}

CWVPMarkupObject* MarkupDynamicCast(CWVPMarkupType* type, CWVPMarkupObject* object)
{
    return object && object->IsKindOf(type) ? object : nullptr;
}

void CWVPMarkupObject::SetTagName(LPCWSTR tag)
{
    delete[] m_lpszTagName;
    m_lpszTagName = nullptr;
    if (!tag)
        return;
    int n = MarkupTextLength(tag);
    m_lpszTagName = new WCHAR[n + 1];
    ::CopyMemory(m_lpszTagName, tag, (n + 1) * sizeof(WCHAR));
}

CWVPMarkupObject* CWVPMarkupObject::GetValue(CWVPMarkupDependencyProperty* property) const
{
    if (!property)
        return nullptr;
    if (CWVPMarkupObject* v = GetValueCore(property))
        return v;
    if (property->GetFlags() & MetadataInherits)
    {
        for (CWVPMarkupObject* p = m_pLogicalParent; p; p = p->m_pLogicalParent)
            if (CWVPMarkupObject* v = p->GetValueCore(property))
                return v;
    }
    return property->GetDefaultValue();
}

CWVPMarkupObject* CWVPMarkupObject::FindValueSource(CWVPMarkupDependencyProperty* property) const
{
    if (!property)
        return nullptr;
    if (GetValueCore(property))
        return const_cast<CWVPMarkupObject*>(this);
    if (property->GetFlags() & MetadataInherits)
        for (CWVPMarkupObject* p = m_pLogicalParent; p; p = p->m_pLogicalParent)
            if (p->GetValueCore(property))
                return p;
    return nullptr;
}

void CWVPMarkupObject::SetValue(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* value)
{
    if (!property)
    {
        if (value)
            value->Release();
        return;
    }
    if (value)
    {
        if (!value->IsKindOf(property->GetValueType()))
        {
            // A refused value is released, not leaked.
            value->Release();
            return;
        }
        if (!m_pProperties)
            m_pProperties = new CWVPMarkupProperties(this);
    }
    CWVPMarkupObject* oldValue = GetValue(property);
    if (oldValue)
        oldValue->AddRef();
    if (m_pProperties)
        m_pProperties->Set(property, value);
    else if (value)
        value->Release();
    CWVPMarkupObject* newValue = GetValue(property);
    if (oldValue || newValue)
    {
        if (newValue)
            newValue->AddRef();
        OnPropertyChanged(property, oldValue, newValue);
        if (property->GetFlags() & MetadataInherits)
            PropagateInheritedChange(property, oldValue, newValue);
        if (newValue)
            newValue->Release();
    }
    if (oldValue)
        oldValue->Release();
}

void CWVPMarkupObject::PropagateInheritedChange(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* oldValue,
                                                CWVPMarkupObject* newValue)
{
    int count = GetLogicalChildrenCount();
    for (int i = 0; i < count; ++i)
    {
        CWVPMarkupObject* child = GetLogicalChild(i);
        if (!child)
            continue;
        if (child->IsKindOf(property->GetOwnerType()))
            child->OnPropertyChanged(property, oldValue, newValue);
        child->PropagateInheritedChange(property, oldValue, newValue);
    }
}
