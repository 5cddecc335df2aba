#include "uilib/markup/MarkupType.h"

#include "platform/mfc/ExitSequence.h"
#include "uilib/markup/MarkupStyle.h"
#include "uilib/markup/MarkupValues.h"

void MarkupReleaseTypeRegistry(void*);

namespace
{
const int kTagBuckets = 17;

struct TagEntry
{
    LPCWSTR tag;
    CWVPMarkupType* type;
    TagEntry* next;
};

// The process-wide registry record: tag map and list of all types.
struct TypeRegistry
{
    TagEntry* buckets[kTagBuckets];
    CWVPMarkupType* first;
};
TypeRegistry* g_registry;

TypeRegistry* Registry()
{
    if (!g_registry)
    {
        g_registry = new TypeRegistry();
        AfxRegisterExitHandler(MarkupReleaseTypeRegistry, nullptr);
    }
    return g_registry;
}
} // namespace

void MarkupReleaseTypeRegistry(void*)
{
    TypeRegistry* registry = g_registry;
    if (!registry)
        return;
    CWVPMarkupType* type = registry->first;
    registry->first = nullptr;
    while (type)
    {
        CWVPMarkupType* next = type->m_pNext;
        type->Release();
        type = next;
    }
    for (TagEntry*& head : registry->buckets)
    {
        while (head)
        {
            TagEntry* next = head->next;
            delete head;
            head = next;
        }
    }
    g_registry = nullptr;
    delete registry;
}

int MarkupTextLength(LPCWSTR text)
{
    int n = 0;
    if (text)
        while (text[n])
            ++n;
    return n;
}

BOOL MarkupTextEqual(LPCWSTR a, LPCWSTR b)
{
    if (!a || !b)
        return a == b;
    for (;; ++a, ++b)
    {
        if (*a != *b)
            return FALSE;
        if (!*a)
            return TRUE;
    }
}

int MarkupTextHash(LPCWSTR text, int length)
{
    unsigned h = 0;
    if (length < 0)
        length = MarkupTextLength(text);
    for (int i = 0; i < length; ++i)
        h = h * 33 + text[i];
    return (int)h;
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupType, kTypeType)

CWVPMarkupType::CWVPMarkupType(LPCWSTR tag, LPCWSTR className, PFNMARKUPCREATE create, PFNMARKUPBASETYPE baseType,
                               PFNMARKUPREGISTER registerProperties)
    : m_lpszTag(tag), m_lpszClassName(className), m_pNext(nullptr), m_bRegistered(FALSE), m_pfnCreate(create),
      m_pfnBaseType(baseType), m_pfnRegister(registerProperties), m_pDefaultStyle(nullptr)
{
    TypeRegistry* registry = Registry();
    if (tag && *tag)
    {
        TagEntry** head = &registry->buckets[MarkupBucketOf(MarkupTextHash(tag), kTagBuckets)];
        TagEntry* entry = *head;
        while (entry && !MarkupTextEqual(entry->tag, tag))
            entry = entry->next;
        if (entry)
            entry->type = this;
        else
            *head = new TagEntry{tag, this, *head};
    }
    m_pNext = registry->first;
    registry->first = this;
}

CWVPMarkupType::~CWVPMarkupType()
{
    if (m_pDefaultStyle)
        m_pDefaultStyle->Release();
}

CWVPMarkupObject* CWVPMarkupType::ConvertFrom(CWVPMarkupObject* source)
{
    if (!source || source->GetType() != CWVPMarkupString::Type())
        return nullptr;
    CWVPMarkupType* type = FindTypeByTag(static_cast<CWVPMarkupString*>(source)->GetText());
    if (type)
        type->AddRef();
    return type;
}

CWVPMarkupObject* CWVPMarkupType::CreateObject() const
{
    return m_pfnCreate ? m_pfnCreate() : nullptr;
}

CWVPMarkupType* CWVPMarkupType::GetBaseType() const
{
    return m_pfnBaseType ? m_pfnBaseType() : nullptr;
}

BOOL CWVPMarkupType::IsDerivedFrom(const CWVPMarkupType* type) const
{
    if (!type)
        return FALSE;
    for (const CWVPMarkupType* t = this; t; t = t->GetBaseType())
        if (t == type)
            return TRUE;
    return FALSE;
}

void CWVPMarkupType::EnsureRegistered()
{
    if (m_bRegistered)
        return;
    CWVPMarkupType* base = GetBaseType();
    if (base && !base->m_bRegistered)
        base->EnsureRegistered();
    m_bRegistered = TRUE;
    if (m_pfnRegister)
        m_pfnRegister();
}

void CWVPMarkupType::SetDefaultStyle(CWVPMarkupStyle* style)
{
    if (m_pDefaultStyle)
        m_pDefaultStyle->Release();
    m_pDefaultStyle = style;
    if (style)
        style->Seal();
}

CWVPMarkupType* CWVPMarkupType::FindTypeByTag(LPCWSTR tag)
{
    MarkupTypeAt(0);
    if (!tag || !g_registry)
        return nullptr;
    for (TagEntry* e = g_registry->buckets[MarkupBucketOf(MarkupTextHash(tag), kTagBuckets)]; e; e = e->next)
        if (MarkupTextEqual(e->tag, tag))
            return e->type;
    return nullptr;
}

CWVPMarkupType* CWVPMarkupType::GetFirstType()
{
    MarkupTypeAt(0);
    return g_registry ? g_registry->first : nullptr;
}

void CWVPMarkupType::RegisterNothing()
{
}
