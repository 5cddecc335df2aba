#include "uilib/markup/MarkupStyle.h"

#include "uilib/markup/MarkupBuilder.h"
#include "uilib/markup/MarkupInputElement.h"
#include "uilib/markup/MarkupProperties.h"
#include "uilib/markup/MarkupType.h"
#include "uilib/markup/MarkupValues.h"

CWVPMarkupDependencyProperty* CWVPMarkupSetter::s_pPropertyProperty;
CWVPMarkupDependencyProperty* CWVPMarkupSetter::s_pValueProperty;
CWVPMarkupDependencyProperty* CWVPMarkupTrigger::s_pSettersProperty;
CWVPMarkupDependencyProperty* CWVPMarkupStyle::s_pResourcesProperty;
CWVPMarkupDependencyProperty* CWVPMarkupStyle::s_pTargetTypeProperty;
CWVPMarkupDependencyProperty* CWVPMarkupStyle::s_pBasedOnProperty;
CWVPMarkupDependencyProperty* CWVPMarkupStyle::s_pTriggersProperty;

namespace
{
const WCHAR kBothNeeded[] = L"Must specify both Property and Value for Setter.";
}

// ---- Setter ---------------------------------------------------------------------------------
IMPLEMENT_MARKUP_TYPE(CWVPMarkupSetter, kTypeSetter)

void CWVPMarkupSetter::RegisterProperties()
{
    s_pPropertyProperty = CWVPMarkupDependencyProperty::Register(L"Property", CWVPMarkupObject::Type(), Type());
    s_pValueProperty = CWVPMarkupDependencyProperty::Register(L"Value", CWVPMarkupObject::Type(), Type());
}

CWVPMarkupSetter::CWVPMarkupSetter(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* value)
{
    if (property)
        property->AddRef();
    SetValue(s_pPropertyProperty, property);
    SetValue(s_pValueProperty, value);
}

CWVPMarkupDependencyProperty* CWVPMarkupSetter::GetProperty() const
{
    return static_cast<CWVPMarkupDependencyProperty*>(
        MarkupDynamicCast(CWVPMarkupDependencyProperty::Type(), GetValue(s_pPropertyProperty)));
}

CWVPMarkupObject* CWVPMarkupSetter::GetSetterValue() const
{
    return GetValue(s_pValueProperty);
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupSetterColection, kTypeSetterColection)

CWVPMarkupSetterColection::CWVPMarkupSetterColection() : CWVPMarkupCollection(CWVPMarkupSetter::Type())
{
}

// ---- Trigger --------------------------------------------------------------------------------
IMPLEMENT_MARKUP_TYPE(CWVPMarkupTrigger, kTypeTrigger)

void CWVPMarkupTrigger::RegisterProperties()
{
    CWVPMarkupSetter::Type()->EnsureRegistered();
    CWVPMarkupSetter::s_pPropertyProperty->AddOwner(Type());
    s_pSettersProperty =
        CWVPMarkupDependencyProperty::Register(L"Setters", CWVPMarkupSetterColection::Type(), Type());
    CWVPMarkupSetter::s_pValueProperty->AddOwner(Type());
}

CWVPMarkupTrigger::CWVPMarkupTrigger(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* value)
{
    if (property)
        property->AddRef();
    SetValue(CWVPMarkupSetter::s_pPropertyProperty, property);
    SetValue(CWVPMarkupSetter::s_pValueProperty, value);
}

CWVPMarkupDependencyProperty* CWVPMarkupTrigger::GetProperty() const
{
    return static_cast<CWVPMarkupDependencyProperty*>(
        MarkupDynamicCast(CWVPMarkupDependencyProperty::Type(), GetValue(CWVPMarkupSetter::s_pPropertyProperty)));
}

CWVPMarkupObject* CWVPMarkupTrigger::GetTriggerValue() const
{
    return GetValue(CWVPMarkupSetter::s_pValueProperty);
}

CWVPMarkupSetterColection* CWVPMarkupTrigger::GetSetters() const
{
    return static_cast<CWVPMarkupSetterColection*>(
        MarkupDynamicCast(CWVPMarkupSetterColection::Type(), GetValue(s_pSettersProperty)));
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupTriggerCollection, kTypeTriggerCollection)

CWVPMarkupTriggerCollection::CWVPMarkupTriggerCollection() : CWVPMarkupCollection(CWVPMarkupTrigger::Type())
{
}

CWVPMarkupActiveTriggerCollection::CWVPMarkupActiveTriggerCollection()
{
    m_bParenting = FALSE;
}

// ---- Style ----------------------------------------------------------------------------------
IMPLEMENT_MARKUP_TYPE(CWVPMarkupStyle, kTypeStyle)

void CWVPMarkupStyle::RegisterProperties()
{
    CWVPMarkupSetter::Type()->EnsureRegistered();
    CWVPMarkupTrigger::Type()->EnsureRegistered();
    CWVPMarkupType* type = Type();
    s_pResourcesProperty =
        CWVPMarkupDependencyProperty::Register(L"Resources", CWVPMarkupResourceDictionary::Type(), type);
    s_pTargetTypeProperty = CWVPMarkupDependencyProperty::Register(L"TargetType", CWVPMarkupType::Type(), type);
    s_pBasedOnProperty = CWVPMarkupDependencyProperty::Register(L"BasedOn", type, type);
    s_pTriggersProperty =
        CWVPMarkupDependencyProperty::Register(L"Triggers", CWVPMarkupTriggerCollection::Type(), type);
}

CWVPMarkupStyle::CWVPMarkupStyle()
    : m_pSetters(new CWVPMarkupSetterColection()), m_bSealed(FALSE), m_pSealedValues(nullptr)
{
    m_pSetters->SetLogicalParent(this);
}

CWVPMarkupStyle::~CWVPMarkupStyle()
{
    m_pSetters->SetLogicalParent(nullptr);
    m_pSetters->Release();
    delete m_pSealedValues;
}

CWVPMarkupStyle* CWVPMarkupStyle::GetBasedOn() const
{
    return static_cast<CWVPMarkupStyle*>(MarkupDynamicCast(Type(), GetValue(s_pBasedOnProperty)));
}

CWVPMarkupTriggerCollection* CWVPMarkupStyle::GetTriggers() const
{
    return static_cast<CWVPMarkupTriggerCollection*>(
        MarkupDynamicCast(CWVPMarkupTriggerCollection::Type(), GetValue(s_pTriggersProperty)));
}

CWVPMarkupType* CWVPMarkupStyle::GetTargetType() const
{
    return static_cast<CWVPMarkupType*>(MarkupDynamicCast(CWVPMarkupType::Type(), GetValue(s_pTargetTypeProperty)));
}

void CWVPMarkupStyle::Validate(CWVPMarkupBuilder* builder, CWVPMarkupObject* item,
                               CWVPMarkupDependencyProperty* propertyProperty,
                               CWVPMarkupDependencyProperty* valueProperty)
{
    CWVPMarkupObject* named = item->GetValue(propertyProperty);
    if (!named)
        CWVPMarkupBuilder::ThrowError(kBothNeeded);
    CWVPMarkupDependencyProperty* property =
        static_cast<CWVPMarkupDependencyProperty*>(MarkupDynamicCast(CWVPMarkupDependencyProperty::Type(), named));
    if (!property)
    {
        if (named->GetType() != CWVPMarkupString::Type())
            CWVPMarkupBuilder::ThrowError(kBothNeeded);
        LPCWSTR text = static_cast<CWVPMarkupString*>(named)->GetText();
        property = CWVPMarkupBuilder::ResolveAttribute(GetTargetType(), text);
        if (!property)
            CWVPMarkupBuilder::ThrowError(L"Cannot find the Style Property '%ls'", text);
        property->AddRef();
        item->SetValue(propertyProperty, property);
    }
    CWVPMarkupObject* value = item->GetValue(valueProperty);
    if (!value)
        CWVPMarkupBuilder::ThrowError(kBothNeeded);
    if (!value->IsKindOf(property->GetValueType()))
    {
        if (!builder)
            CWVPMarkupBuilder::ThrowError(kBothNeeded);
        item->SetValue(valueProperty, builder->ConvertValue(property, value));
    }
}

void CWVPMarkupStyle::SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content)
{
    if (!content || content->GetType() != CWVPMarkupSetter::Type())
    {
        CWVPMarkupObject::SetContentObject(builder, content);
        return;
    }
    try
    {
        Validate(builder, content, CWVPMarkupSetter::s_pPropertyProperty, CWVPMarkupSetter::s_pValueProperty);
    }
    catch (...)
    {
        content->Release();
        throw;
    }
    m_pSetters->Add(content);
}

void CWVPMarkupStyle::AddSetter(CWVPMarkupSetter* setter)
{
    m_pSetters->Add(setter);
}

void CWVPMarkupStyle::SetPropertyObject(CWVPMarkupBuilder* builder, CWVPMarkupDependencyProperty* property,
                                        CWVPMarkupObject* value)
{
    if (property == s_pTriggersProperty && value && value->IsKindOf(CWVPMarkupTriggerCollection::Type()))
    {
        CWVPMarkupTriggerCollection* triggers = static_cast<CWVPMarkupTriggerCollection*>(value);
        try
        {
            for (int i = 0; i < triggers->GetCount(); ++i)
            {
                CWVPMarkupTrigger* trigger = static_cast<CWVPMarkupTrigger*>(triggers->GetItem(i));
                Validate(builder, trigger, CWVPMarkupSetter::s_pPropertyProperty, CWVPMarkupSetter::s_pValueProperty);
                CWVPMarkupSetterColection* setters = trigger->GetSetters();
                for (int s = 0; setters && s < setters->GetCount(); ++s)
                    Validate(builder, setters->GetItem(s), CWVPMarkupSetter::s_pPropertyProperty,
                             CWVPMarkupSetter::s_pValueProperty);
            }
        }
        catch (...)
        {
            value->Release();
            throw;
        }
    }
    CWVPMarkupObject::SetPropertyObject(builder, property, value);
}

void CWVPMarkupStyle::Seal()
{
    if (m_bSealed)
        return;
    if (!m_pSealedValues)
        m_pSealedValues = new CWVPMarkupProperties(nullptr);
    m_pLogicalParent = nullptr;
    if (CWVPMarkupStyle* basedOn = GetBasedOn())
    {
        if (basedOn != this)
        {
            basedOn->Seal();
            m_pSealedValues->CopyFrom(basedOn->m_pSealedValues);
        }
    }
    for (int i = 0; i < m_pSetters->GetCount(); ++i)
    {
        CWVPMarkupSetter* setter = static_cast<CWVPMarkupSetter*>(m_pSetters->GetItem(i));
        CWVPMarkupDependencyProperty* property = setter->GetProperty();
        CWVPMarkupObject* value = setter->GetSetterValue();
        if (!property)
            continue;
        if (value)
            value->AddRef();
        m_pSealedValues->Set(property, value);
    }
    m_bSealed = TRUE;
}

CWVPMarkupObject* CWVPMarkupStyle::GetStyleValue(CWVPMarkupDependencyProperty* property) const
{
    return m_pSealedValues ? m_pSealedValues->Get(property) : nullptr;
}

// ---- Resource dictionary --------------------------------------------------------------------
IMPLEMENT_MARKUP_TYPE(CWVPMarkupResourceDictionary, kTypeResourceDictionary)

CWVPMarkupResourceDictionary::CWVPMarkupResourceDictionary() : m_pBuckets{}, m_nCount(0)
{
}

CWVPMarkupResourceDictionary::~CWVPMarkupResourceDictionary()
{
    for (Entry*& head : m_pBuckets)
    {
        while (head)
        {
            Entry* next = head->next;
            if (head->value->GetLogicalParent() == this)
                head->value->SetLogicalParent(nullptr);
            head->key->Release();
            head->value->Release();
            delete head;
            head = next;
        }
    }
}

CWVPMarkupObject* CWVPMarkupResourceDictionary::Lookup(CWVPMarkupObject* key) const
{
    if (!key)
        return nullptr;
    for (Entry* e = m_pBuckets[MarkupBucketOf(key->GetHashCode(), kBuckets)]; e; e = e->next)
        if (key->IsEqual(e->key))
            return e->value;
    return nullptr;
}

BOOL CWVPMarkupResourceDictionary::Add(CWVPMarkupObject* key, CWVPMarkupObject* value)
{
    if (!key || !value || Lookup(key))
        return FALSE;
    Entry*& head = m_pBuckets[MarkupBucketOf(key->GetHashCode(), kBuckets)];
    head = new Entry{key, value, head};
    ++m_nCount;
    return TRUE;
}

BOOL CWVPMarkupResourceDictionary::HasContentObject() const
{
    return m_nCount > 0;
}

void CWVPMarkupResourceDictionary::SetContentObject(CWVPMarkupBuilder*, CWVPMarkupObject* content)
{
    if (!content)
        CWVPMarkupBuilder::ThrowError(
            L"Objects added to Dictionary must have Key attribute or some other type of associated Key");
    CWVPMarkupDependencyProperty* keyProperty =
        CWVPMarkupDependencyProperty::FindProperty(CWVPMarkupObject::Type(), L"x:Key");
    CWVPMarkupObject* key = content->GetValue(keyProperty);
    if (!key && content->IsKindOf(CWVPMarkupStyle::Type()))
        key = static_cast<CWVPMarkupStyle*>(content)->GetTargetType();
    if (!key)
        CWVPMarkupBuilder::ThrowError(content,
            L"Objects added to Dictionary must have Key attribute or some other type of associated Key");
    if (Lookup(key))
        CWVPMarkupBuilder::ThrowError(content, L"Dictionary key is already used. Key attributes must be unique.");
    key->AddRef();
    content->SetLogicalParent(this);
    Add(key, content);
}

CWVPMarkupObject* WVPMarkupFindResource(CWVPMarkupObject* object, CWVPMarkupObject* key)
{
    if (!object || !key)
        return nullptr;
    if (object->GetType() == CWVPMarkupResourceDictionary::Type())
        return static_cast<CWVPMarkupResourceDictionary*>(object)->Lookup(key);
    for (CWVPMarkupObject* o = object; o; o = o->GetLogicalParent())
    {
        CWVPMarkupResourceDictionary* resources = static_cast<CWVPMarkupResourceDictionary*>(
            MarkupDynamicCast(CWVPMarkupResourceDictionary::Type(), o->GetValue(CWVPMarkupStyle::s_pResourcesProperty)));
        if (resources)
            if (CWVPMarkupObject* found = resources->Lookup(key))
                return found;
        if (o->IsKindOf(CWVPMarkupStyle::Type()))
            break;
        if (CWVPMarkupObject* style = o->GetValue(CWVPMarkupInputElement::s_pStyleProperty))
            if (style->IsKindOf(CWVPMarkupStyle::Type()))
                if (CWVPMarkupObject* found = WVPMarkupFindResource(style, key))
                    return found;
    }
    return nullptr;
}
