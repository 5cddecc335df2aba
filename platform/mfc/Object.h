// The root of the framework's class tree: CObject with its run-time class records, so that
// objects can tell their class, be created from a class found by name and be stored in archives.
#pragma once

#include "platform/mfc/Afx.h"

class CObject;
class CArchive;
class CDumpContext;

// The versionable-schema bit: a class whose schema carries it accepts any stored schema and
// hands it to the reader through CArchive::GetObjectSchema.
#define VERSIONABLE_SCHEMA (0x80000000)

// One class's record: name, size, schema, creation function and base class. Records that are
// registered (by the IMPLEMENT_ macros, at start-up) can be found by name.
struct CRuntimeClass
{
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject* (*m_pfnCreateObject)();
    CRuntimeClass* m_pBaseClass;
    CRuntimeClass* m_pNextClass;
    const void* m_pClassInit;

    // A new object of the class, or null when the class cannot be created by name.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

    // The registered class of exactly this name (case-sensitive), or null.
    static CRuntimeClass* AFXAPI FromName(LPCSTR lpszClassName);
    static CRuntimeClass* AFXAPI FromName(LPCWSTR lpszClassName);
    // Creates an object of the registered class of this name, or null.
    static CObject* AFXAPI CreateObject(LPCSTR lpszClassName);

    // Writes the class reference body (schema, name) to an archive / reads one back and looks the
    // class up; an unknown name gives null. Short data throws CArchiveException::endOfFile.
    void Store(CArchive& ar) const;
    static CRuntimeClass* AFXAPI Load(CArchive& ar, UINT* pwSchemaNum);
};

// Registers a run-time class on construction; one static instance per registered class.
struct AFX_CLASSINIT
{
    explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
};

void AFXAPI AfxClassInit(CRuntimeClass* pNewClass);

class CObject
{
  public:
    static CRuntimeClass classCObject;
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;

    BOOL IsSerializable() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;

    virtual void Serialize(CArchive& ar);
    virtual void AssertValid() const;
    virtual void Dump(CDumpContext& dc) const;

  protected:
    CObject() = default;

  private:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                                                                    \
  public:                                                                                                              \
    static CRuntimeClass class##class_name;                                                                            \
    virtual CRuntimeClass* GetRuntimeClass() const;

#define DECLARE_DYNCREATE(class_name)                                                                                  \
    DECLARE_DYNAMIC(class_name)                                                                                        \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name)                                                                                     \
    DECLARE_DYNCREATE(class_name)                                                                                      \
    friend CArchive& AFXAPI operator>>(CArchive& ar, class_name*& pOb);

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                                           \
    CRuntimeClass class_name::class##class_name = {                                                                    \
        #class_name, sizeof(class class_name), wSchema, pfnNew, RUNTIME_CLASS(base_class_name), nullptr, nullptr};     \
    static const AFX_CLASSINIT _init_##class_name(RUNTIME_CLASS(class_name));                                          \
    CRuntimeClass* class_name::GetRuntimeClass() const                                                                 \
    {                                                                                                                  \
        return RUNTIME_CLASS(class_name);                                                                              \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                                                 \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                                               \
    CObject* class_name::CreateObject()                                                                                \
    {                                                                                                                  \
        return new class_name;                                                                                         \
    }                                                                                                                  \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                                         \
    CObject* class_name::CreateObject()                                                                                \
    {                                                                                                                  \
        return new class_name;                                                                                         \
    }                                                                                                                  \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject)                             \
    CArchive& AFXAPI operator>>(CArchive& ar, class_name*& pOb)                                                        \
    {                                                                                                                  \
        pOb = static_cast<class_name*>(AfxReadObject(ar, RUNTIME_CLASS(class_name)));                                  \
        return ar;                                                                                                     \
    }

// Reads an object reference that must be of pClassRefRequested or derived (see CArchive).
CObject* AFXAPI AfxReadObject(CArchive& ar, const CRuntimeClass* pClassRefRequested);

// The object as the given class, or null when it is not of that class.
CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject);
#define DYNAMIC_DOWNCAST(class_name, object)                                                                           \
    (static_cast<class_name*>(AfxDynamicDownCast(RUNTIME_CLASS(class_name), (object))))
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))
