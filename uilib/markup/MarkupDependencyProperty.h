// Dependency properties: process-wide records registered once per class, found by name and owner
// type, with a value type, optional metadata (default, converter, change callback, flags) and a
// running index into the per-object property stores.
#pragma once

#include "uilib/markup/MarkupObject.h"

class CWVPMarkupContext;
class CWVPMarkupPropertyChangedEventArgs;

typedef CWVPMarkupObject* (*PFNMARKUPCONVERTER)(CWVPMarkupContext* context, CWVPMarkupObject* source);
typedef void (*PFNMARKUPPROPERTYCHANGED)(CWVPMarkupObject* object, CWVPMarkupPropertyChangedEventArgs* args);

enum
{
    MetadataInherits = 0x1,
    MetadataAffectsArrange = 0x2,
    MetadataAffectsMeasure = 0x4,
    MetadataAffectsRender = 0x20,
};

class CWVPMarkupPropertyMetadata
{
  public:
    // The metadata takes over the reference of the default value.
    CWVPMarkupPropertyMetadata(CWVPMarkupObject* defaultValue, DWORD flags);
    CWVPMarkupPropertyMetadata(CWVPMarkupObject* defaultValue, PFNMARKUPCONVERTER converter, DWORD flags);
    CWVPMarkupPropertyMetadata(CWVPMarkupObject* defaultValue, PFNMARKUPPROPERTYCHANGED changed, DWORD flags);
    CWVPMarkupPropertyMetadata(CWVPMarkupObject* defaultValue, PFNMARKUPCONVERTER converter,
                               PFNMARKUPPROPERTYCHANGED changed, DWORD flags);
    virtual ~CWVPMarkupPropertyMetadata();

    CWVPMarkupObject* m_pDefaultValue;
    PFNMARKUPCONVERTER m_pfnConverter;
    PFNMARKUPPROPERTYCHANGED m_pfnChanged;
    DWORD m_dwFlags;

  private:
    CWVPMarkupPropertyMetadata(const CWVPMarkupPropertyMetadata&) = delete;
    CWVPMarkupPropertyMetadata& operator=(const CWVPMarkupPropertyMetadata&) = delete;
};

class CWVPMarkupPropertyChangedEventArgs
{
  public:
    CWVPMarkupDependencyProperty* m_pProperty;
    CWVPMarkupObject* m_pOldValue;
    CWVPMarkupObject* m_pNewValue;
};

class CWVPMarkupDependencyProperty : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupDependencyProperty();
    ~CWVPMarkupDependencyProperty() override;
    virtual BOOL IsEvent() const;

    static CWVPMarkupDependencyProperty* Register(LPCWSTR name, CWVPMarkupType* valueType, CWVPMarkupType* ownerType,
                                                 CWVPMarkupPropertyMetadata* metadata = nullptr);
    static CWVPMarkupDependencyProperty* RegisterAttached(LPCWSTR name, CWVPMarkupType* valueType,
                                                         CWVPMarkupType* ownerType,
                                                         CWVPMarkupPropertyMetadata* metadata = nullptr);
    static void RegisterCore(CWVPMarkupDependencyProperty* property, LPCWSTR name, CWVPMarkupType* valueType,
                             CWVPMarkupType* ownerType, BOOL attached);
    CWVPMarkupDependencyProperty* AddOwner(CWVPMarkupType* type);
    static CWVPMarkupDependencyProperty* FindProperty(CWVPMarkupType* type, LPCWSTR name);
    // Number of non-event properties registered so far (the size of a new store).
    static int GetRegisteredCount();

    LPCWSTR GetName() const { return m_lpszName; }
    CWVPMarkupType* GetValueType() const { return m_pValueType; }
    CWVPMarkupType* GetOwnerType() const { return m_pOwnerType; }
    CWVPMarkupPropertyMetadata* GetMetadata() const { return m_pMetadata; }
    DWORD GetFlags() const { return m_pMetadata ? m_pMetadata->m_dwFlags : 0; }
    CWVPMarkupObject* GetDefaultValue() const { return m_pMetadata ? m_pMetadata->m_pDefaultValue : nullptr; }
    BOOL IsAttached() const { return m_bAttached; }
    int GetIndex() const { return m_nIndex; }
    void SetMetadata(CWVPMarkupPropertyMetadata* metadata);

  protected:
    LPCWSTR m_lpszName;
    CWVPMarkupType* m_pValueType;
    CWVPMarkupType* m_pOwnerType;
    CWVPMarkupPropertyMetadata* m_pMetadata;
    BOOL m_bAttached;
    int m_nIndex;
};
