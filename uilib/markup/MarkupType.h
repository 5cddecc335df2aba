// The class record of a markup class: tag, class name for error texts, creation, base type and
// the deferred registration of the class's dependency properties. The registry keeps every type
// in a tag map and in a list of all types.
#pragma once

#include "uilib/markup/MarkupObject.h"

class CWVPMarkupStyle;

typedef CWVPMarkupObject* (*PFNMARKUPCREATE)();
typedef CWVPMarkupType* (*PFNMARKUPBASETYPE)();
typedef void (*PFNMARKUPREGISTER)();

class CWVPMarkupType : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupType(LPCWSTR tag, LPCWSTR className, PFNMARKUPCREATE create, PFNMARKUPBASETYPE baseType,
                   PFNMARKUPREGISTER registerProperties);
    ~CWVPMarkupType() override;
    CWVPMarkupObject* ConvertFrom(CWVPMarkupObject* source) override;

    CWVPMarkupObject* CreateObject() const;
    CWVPMarkupType* GetBaseType() const;
    BOOL IsDerivedFrom(const CWVPMarkupType* type) const;
    void EnsureRegistered();
    BOOL IsRegistered() const { return m_bRegistered; }
    LPCWSTR GetTag() const { return m_lpszTag; }
    LPCWSTR GetClassName() const { return m_lpszClassName; }
    CWVPMarkupType* GetNext() const { return m_pNext; }
    CWVPMarkupStyle* GetDefaultStyle() const { return m_pDefaultStyle; }
    // Releases the previous default style, takes over the reference and seals the new one.
    void SetDefaultStyle(CWVPMarkupStyle* style);

    static CWVPMarkupType* FindTypeByTag(LPCWSTR tag);
    // Head of the list of all types (the one constructed last).
    static CWVPMarkupType* GetFirstType();
    // A registration callback that registers nothing.
    static void RegisterNothing();

  private:
    LPCWSTR m_lpszTag;
    LPCWSTR m_lpszClassName;
    CWVPMarkupType* m_pNext;
    BOOL m_bRegistered;
    PFNMARKUPCREATE m_pfnCreate;
    PFNMARKUPBASETYPE m_pfnBaseType;
    PFNMARKUPREGISTER m_pfnRegister;
    CWVPMarkupStyle* m_pDefaultStyle;

    friend void MarkupReleaseTypeRegistry(void*);
};

// Texts compared unit by unit (case-sensitive); a length of -1 means up to the terminator.
BOOL MarkupTextEqual(LPCWSTR a, LPCWSTR b);
int MarkupTextLength(LPCWSTR text);
// A hash of a text: h * 33 + unit over the units, 32-bit wrap-around.
int MarkupTextHash(LPCWSTR text, int length = -1);
// The bucket of a hash value among count buckets; never negative.
inline int MarkupBucketOf(int hash, int count)
{
    return (int)((unsigned)hash % (unsigned)count);
}
