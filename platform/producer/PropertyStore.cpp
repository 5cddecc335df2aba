#include "platform/producer/PropertyStore.h"

#include <stdlib.h>
#include <string.h>

#include <new>

namespace
{
// Walks a snapshot of a store's properties.
class CPropertyEnumerator : public CUnknownImpl<IHXTPropertyEnumerator>
{
  public:
    explicit CPropertyEnumerator(const std::vector<CProperty*>& properties)
        : CUnknownImpl<IHXTPropertyEnumerator>(IID_IUnknownId), m_next(0)
    {
        for (CProperty* property : properties)
        {
            property->AddRef();
            m_properties.push_back(property);
        }
    }
    ~CPropertyEnumerator() override
    {
        for (CProperty* property : m_properties)
            property->Release();
    }

    HX_RESULT STDMETHODCALLTYPE Reset() override
    {
        m_next = 0;
        return HXR_OK;
    }
    HX_RESULT STDMETHODCALLTYPE Next(IHXTProperty** property) override
    {
        if (!property)
            return E_POINTER;
        *property = nullptr;
        if (m_next >= m_properties.size())
            return HXR_NO_MORE_PROPERTIES;
        *property = m_properties[m_next++];
        (*property)->AddRef();
        return HXR_OK;
    }

  private:
    std::vector<CProperty*> m_properties;
    size_t m_next;
};
} // namespace

CProperty::CProperty(const char* key, const HXTPropertyValue& value)
    : CUnknownImpl<IHXTProperty>(IID_IUnknownId), m_key(key), m_value(value)
{
    if (m_value.type == kHXTPropString)
    {
        m_text = value.text ? value.text : "";
        m_value.text = m_text.c_str();
    }
    else
    {
        m_value.text = nullptr;
    }
    if (m_value.type != kHXTPropObject && m_value.type != kHXTPropBag)
        m_value.object = nullptr;
    if (m_value.object)
        m_value.object->AddRef();
}

CProperty::~CProperty()
{
    if (m_value.object)
        m_value.object->Release();
}

HX_RESULT CProperty::GetKey(const char** key)
{
    if (!key)
        return E_POINTER;
    *key = m_key.c_str();
    return HXR_OK;
}

HX_RESULT CProperty::GetValue(HXTPropertyValue* value)
{
    if (!value)
        return E_POINTER;
    *value = m_value;
    return HXR_OK;
}

PropertyStore::~PropertyStore()
{
    Clear();
}

CProperty* PropertyStore::Find(const char* key) const
{
    if (!key)
        return nullptr;
    for (CProperty* property : m_properties)
    {
        if (property->Key() == key)
            return property;
    }
    return nullptr;
}

HX_RESULT PropertyStore::Set(const char* key, const HXTPropertyValue& value)
{
    if (!key)
        return E_POINTER;
    CProperty* property = new (std::nothrow) CProperty(key, value);
    if (!property)
        return E_OUTOFMEMORY;
    property->AddRef();
    for (CProperty*& slot : m_properties)
    {
        if (slot->Key() == key)
        {
            // A changed key keeps its place in the order.
            slot->Release();
            slot = property;
            return HXR_OK;
        }
    }
    m_properties.push_back(property);
    return HXR_OK;
}

HX_RESULT PropertyStore::Get(const char* key, UINT32 type, HXTPropertyValue* value) const
{
    CProperty* property = Find(key);
    if (!property || property->Value().type != type)
        return E_FAIL;
    *value = property->Value();
    return HXR_OK;
}

HX_RESULT PropertyStore::Remove(const char* key)
{
    for (auto it = m_properties.begin(); it != m_properties.end(); ++it)
    {
        if (key && (*it)->Key() == key)
        {
            (*it)->Release();
            m_properties.erase(it);
            return HXR_OK;
        }
    }
    return E_FAIL;
}

void PropertyStore::Clear()
{
    for (CProperty* property : m_properties)
        property->Release();
    m_properties.clear();
}

HX_RESULT PropertyStore::CreateEnumerator(IHXTPropertyEnumerator** enumerator) const
{
    if (!enumerator)
        return E_POINTER;
    *enumerator = new (std::nothrow) CPropertyEnumerator(m_properties);
    if (!*enumerator)
        return E_OUTOFMEMORY;
    (*enumerator)->AddRef();
    return HXR_OK;
}

HX_RESULT PropertyStore::CopyFrom(IHXTPropertyBag* bag)
{
    if (!bag)
        return HXR_OK;
    IHXTPropertyEnumerator* walk = nullptr;
    HX_RESULT result = bag->GetEnumerator(&walk);
    if (result < 0 || !walk)
        return result < 0 ? result : E_FAIL;
    for (;;)
    {
        IHXTProperty* property = nullptr;
        HX_RESULT step = walk->Next(&property);
        if (step < 0 || step == HXR_NO_MORE_PROPERTIES || !property)
            break;
        const char* key = nullptr;
        HXTPropertyValue value = {};
        if (property->GetKey(&key) >= 0 && property->GetValue(&value) >= 0)
            result = Set(key, value);
        property->Release();
        if (result < 0)
            break;
    }
    walk->Release();
    return result;
}

std::string PropertyStore::Text(const char* key, const char* fallback) const
{
    CProperty* property = Find(key);
    if (!property || property->Value().type != kHXTPropString)
        return fallback;
    return property->Value().text;
}

double PropertyStore::Number(const char* key, double fallback) const
{
    CProperty* property = Find(key);
    if (!property)
        return fallback;
    const HXTPropertyValue& value = property->Value();
    switch (value.type)
    {
    case kHXTPropFlag:
        return value.flag ? 1 : 0;
    case kHXTPropUInt32:
        return value.u32;
    case kHXTPropInt32:
        return value.i32;
    case kHXTPropInt64:
        return (double)value.i64;
    case kHXTPropDouble:
        return value.d;
    case kHXTPropString:
        return atof(value.text);
    default:
        return fallback;
    }
}

bool PropertyStore::Flag(const char* key) const
{
    return Number(key, 0) != 0;
}

IUnknown* PropertyStore::Object(const char* key) const
{
    CProperty* property = Find(key);
    if (!property)
        return nullptr;
    return property->Value().object;
}
