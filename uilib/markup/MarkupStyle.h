// Styles, setters, triggers and resource dictionaries: a style gives a group of elements the same
// property values and changes them while a trigger's condition holds; dictionaries hold keyed
// resources found from below by key or implicitly by type.
#pragma once

#include "uilib/markup/MarkupCollection.h"
#include "uilib/markup/MarkupDependencyProperty.h"

class CWVPMarkupProperties;

class CWVPMarkupSetter : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupSetter() {}
    // Stores the property with an added reference and takes over the value's reference.
    CWVPMarkupSetter(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* value);
    CWVPMarkupDependencyProperty* GetProperty() const;
    CWVPMarkupObject* GetSetterValue() const;

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pPropertyProperty;
    static CWVPMarkupDependencyProperty* s_pValueProperty;
};

class CWVPMarkupSetterColection : public CWVPMarkupCollection
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupSetterColection();
};

class CWVPMarkupTrigger : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupTrigger() {}
    CWVPMarkupTrigger(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* value);
    CWVPMarkupDependencyProperty* GetProperty() const;
    CWVPMarkupObject* GetTriggerValue() const;
    CWVPMarkupSetterColection* GetSetters() const;

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pSettersProperty;
};

class CWVPMarkupTriggerCollection : public CWVPMarkupCollection
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupTriggerCollection();
};

// The triggers whose condition holds on one element; its items keep their logical parents.
class CWVPMarkupActiveTriggerCollection : public CWVPMarkupTriggerCollection
{
  public:
    CWVPMarkupActiveTriggerCollection();
};

class CWVPMarkupStyle : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupStyle();
    ~CWVPMarkupStyle() override;
    void SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content) override;
    void SetPropertyObject(CWVPMarkupBuilder* builder, CWVPMarkupDependencyProperty* property,
                           CWVPMarkupObject* value) override;

    void Seal();
    BOOL IsSealed() const { return m_bSealed; }
    CWVPMarkupObject* GetStyleValue(CWVPMarkupDependencyProperty* property) const;
    CWVPMarkupSetterColection* GetSetters() const { return m_pSetters; }
    CWVPMarkupStyle* GetBasedOn() const;
    CWVPMarkupTriggerCollection* GetTriggers() const;
    CWVPMarkupType* GetTargetType() const;
    // Adds a setter without a builder (types that build their default style in code).
    void AddSetter(CWVPMarkupSetter* setter);

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pResourcesProperty;
    static CWVPMarkupDependencyProperty* s_pTargetTypeProperty;
    static CWVPMarkupDependencyProperty* s_pBasedOnProperty;
    static CWVPMarkupDependencyProperty* s_pTriggersProperty;

  private:
    void Validate(CWVPMarkupBuilder* builder, CWVPMarkupObject* item, CWVPMarkupDependencyProperty* propertyProperty,
                  CWVPMarkupDependencyProperty* valueProperty);

    CWVPMarkupSetterColection* m_pSetters;
    BOOL m_bSealed;
    CWVPMarkupProperties* m_pSealedValues;
};

class CWVPMarkupResourceDictionary : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupResourceDictionary();
    ~CWVPMarkupResourceDictionary() override;
    void SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content) override;
    BOOL HasContentObject() const override;
    CWVPMarkupObject* Lookup(CWVPMarkupObject* key) const;
    // Takes over the references of key and value; FALSE (and nothing taken) for a key in use.
    BOOL Add(CWVPMarkupObject* key, CWVPMarkupObject* value);
    int GetCount() const { return m_nCount; }

  private:
    enum
    {
        kBuckets = 17
    };
    struct Entry
    {
        CWVPMarkupObject* key;
        CWVPMarkupObject* value;
        Entry* next;
    };
    Entry* m_pBuckets[kBuckets];
    int m_nCount;
};

// The resource stored under key in the object's dictionaries or its ancestors'; no reference.
CWVPMarkupObject* WVPMarkupFindResource(CWVPMarkupObject* object, CWVPMarkupObject* key);
