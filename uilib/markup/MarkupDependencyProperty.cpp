#include "uilib/markup/MarkupDependencyProperty.h"

#include "platform/mfc/ExitSequence.h"
#include "uilib/markup/MarkupType.h"

namespace
{
const int kNameBuckets = 17;

struct NameEntry
{
    LPCWSTR name;
    CWVPMarkupType* owner;
    CWVPMarkupDependencyProperty* property;
    NameEntry* next;
};

// The process-wide map from (name, owner type) to property; it owns one reference per entry.
struct PropertyFromNameMap
{
    NameEntry* buckets[kNameBuckets];
};
PropertyFromNameMap* g_map;
int g_registeredCount;

void ReleaseMap(void*)
{
    PropertyFromNameMap* map = g_map;
    g_map = nullptr;
    if (!map)
        return;
    for (NameEntry*& head : map->buckets)
    {
        while (head)
        {
            NameEntry* next = head->next;
            head->property->Release();
            delete head;
            head = next;
        }
    }
    delete map;
}

PropertyFromNameMap* Map()
{
    if (!g_map)
    {
        g_map = new PropertyFromNameMap();
        AfxRegisterExitHandler(ReleaseMap, nullptr);
    }
    return g_map;
}

int BucketOf(LPCWSTR name, CWVPMarkupType* owner)
{
    unsigned h = (unsigned)MarkupTextHash(name) ^ (unsigned)((UINT_PTR)owner >> 4);
    return (int)(h % kNameBuckets);
}

// Enters the property under the key, replacing an equal key's entry; takes over one reference.
void Enter(LPCWSTR name, CWVPMarkupType* owner, CWVPMarkupDependencyProperty* property)
{
    NameEntry** head = &Map()->buckets[BucketOf(name, owner)];
    for (NameEntry* e = *head; e; e = e->next)
    {
        if (e->owner == owner && MarkupTextEqual(e->name, name))
        {
            CWVPMarkupDependencyProperty* old = e->property;
            e->property = property;
            e->name = name;
            old->Release();
            return;
        }
    }
    *head = new NameEntry{name, owner, property, *head};
}
} // namespace

CWVPMarkupPropertyMetadata::CWVPMarkupPropertyMetadata(CWVPMarkupObject* defaultValue, DWORD flags)
    : CWVPMarkupPropertyMetadata(defaultValue, nullptr, nullptr, flags)
{
}

CWVPMarkupPropertyMetadata::CWVPMarkupPropertyMetadata(CWVPMarkupObject* defaultValue, PFNMARKUPCONVERTER converter,
                                                       DWORD flags)
    : CWVPMarkupPropertyMetadata(defaultValue, converter, nullptr, flags)
{
}

CWVPMarkupPropertyMetadata::CWVPMarkupPropertyMetadata(CWVPMarkupObject* defaultValue,
                                                       PFNMARKUPPROPERTYCHANGED changed, DWORD flags)
    : CWVPMarkupPropertyMetadata(defaultValue, nullptr, changed, flags)
{
}

CWVPMarkupPropertyMetadata::CWVPMarkupPropertyMetadata(CWVPMarkupObject* defaultValue, PFNMARKUPCONVERTER converter,
                                                       PFNMARKUPPROPERTYCHANGED changed, DWORD flags)
    : m_pDefaultValue(defaultValue), m_pfnConverter(converter), m_pfnChanged(changed), m_dwFlags(flags)
{
}

CWVPMarkupPropertyMetadata::~CWVPMarkupPropertyMetadata()
{
    if (m_pDefaultValue)
        m_pDefaultValue->Release();
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupDependencyProperty, kTypeDependencyProperty)

CWVPMarkupDependencyProperty::CWVPMarkupDependencyProperty()
    : m_lpszName(nullptr), m_pValueType(nullptr), m_pOwnerType(nullptr), m_pMetadata(nullptr), m_bAttached(FALSE),
      m_nIndex(-1)
{
}

CWVPMarkupDependencyProperty::~CWVPMarkupDependencyProperty()
{
    delete m_pMetadata;
}

BOOL CWVPMarkupDependencyProperty::IsEvent() const
{
    return FALSE;
}

void CWVPMarkupDependencyProperty::SetMetadata(CWVPMarkupPropertyMetadata* metadata)
{
    if (metadata != m_pMetadata)
        delete m_pMetadata;
    m_pMetadata = metadata;
}

CWVPMarkupDependencyProperty* CWVPMarkupDependencyProperty::Register(LPCWSTR name, CWVPMarkupType* valueType,
                                                                   CWVPMarkupType* ownerType,
                                                                   CWVPMarkupPropertyMetadata* metadata)
{
    CWVPMarkupDependencyProperty* property = new CWVPMarkupDependencyProperty();
    RegisterCore(property, name, valueType, ownerType, FALSE);
    property->SetMetadata(metadata);
    return property;
}

CWVPMarkupDependencyProperty* CWVPMarkupDependencyProperty::RegisterAttached(LPCWSTR name, CWVPMarkupType* valueType,
                                                                           CWVPMarkupType* ownerType,
                                                                           CWVPMarkupPropertyMetadata* metadata)
{
    CWVPMarkupDependencyProperty* property = new CWVPMarkupDependencyProperty();
    RegisterCore(property, name, valueType, ownerType, TRUE);
    property->SetMetadata(metadata);
    return property;
}

void CWVPMarkupDependencyProperty::RegisterCore(CWVPMarkupDependencyProperty* property, LPCWSTR name,
                                                CWVPMarkupType* valueType, CWVPMarkupType* ownerType, BOOL attached)
{
    property->m_lpszName = name;
    property->m_pValueType = valueType;
    property->m_pOwnerType = ownerType;
    property->m_bAttached = attached;
    if (!property->IsEvent())
        property->m_nIndex = g_registeredCount++;
    Enter(name, ownerType, property);
}

CWVPMarkupDependencyProperty* CWVPMarkupDependencyProperty::AddOwner(CWVPMarkupType* type)
{
    AddRef();
    Enter(m_lpszName, type, this);
    return this;
}

CWVPMarkupDependencyProperty* CWVPMarkupDependencyProperty::FindProperty(CWVPMarkupType* type, LPCWSTR name)
{
    if (!g_map || !name)
        return nullptr;
    for (; type; type = type->GetBaseType())
    {
        for (NameEntry* e = g_map->buckets[BucketOf(name, type)]; e; e = e->next)
            if (e->owner == type && MarkupTextEqual(e->name, name))
                return e->property;
    }
    return nullptr;
}

int CWVPMarkupDependencyProperty::GetRegisteredCount()
{
    return g_registeredCount;
}
