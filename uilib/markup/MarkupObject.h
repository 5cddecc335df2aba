// The root of every markup object: one reference-counting scheme, a type record per class, a
// property store made on the first set, a weak logical parent and the operations through which
// the builder feeds content and attribute values into an object.
#pragma once

#include <windows.h>

#include "uilib/markup/MarkupTypeIndex.h"

class CWVPMarkupType;
class CWVPMarkupProperties;
class CWVPMarkupDependencyProperty;
class CWVPMarkupBuilder;

// Declares the type accessor of a markup class and its GetType override.
#define DECLARE_MARKUP_TYPE()                                                                          \
  public:                                                                                              \
    static CWVPMarkupType* Type();                                                                     \
    CWVPMarkupType* GetType() const override;

// Defines them over the registry's record at the given index of the type table.
#define IMPLEMENT_MARKUP_TYPE(cls, index)                                                              \
    CWVPMarkupType* cls::Type()                                                                        \
    {                                                                                                  \
        return MarkupTypeAt(index);                                                                    \
    }                                                                                                  \
    CWVPMarkupType* cls::GetType() const                                                               \
    {                                                                                                  \
        return Type();                                                                                 \
    }

class CWVPMarkupObject
{
  public:
    CWVPMarkupObject();

    static CWVPMarkupType* Type();
    virtual CWVPMarkupType* GetType() const;
    static void RegisterProperties();
    virtual ~CWVPMarkupObject();
    virtual CWVPMarkupObject* GetValueCore(CWVPMarkupDependencyProperty* property) const;
    virtual int GetHashCode() const;
    virtual BOOL IsEqual(const CWVPMarkupObject* other) const;
    virtual int GetLogicalChildrenCount() const;
    virtual CWVPMarkupObject* GetLogicalChild(int index) const;
    virtual void SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content);
    virtual void SetPropertyObject(CWVPMarkupBuilder* builder, CWVPMarkupDependencyProperty* property,
                                   CWVPMarkupObject* value);
    virtual CWVPMarkupObject* ConvertFrom(CWVPMarkupObject* source);
    virtual BOOL HasContentObject() const;
    virtual BOOL AllowWhiteSpaceContent() const;
    virtual void OnPropertyChanged(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* oldValue,
                                   CWVPMarkupObject* newValue);
    virtual void OnFinalRelease();

    LONG AddRef();
    LONG Release();
    BOOL IsKindOf(CWVPMarkupType* type) const;
    CWVPMarkupObject* GetLogicalParent() const { return m_pLogicalParent; }
    void SetLogicalParent(CWVPMarkupObject* parent) { m_pLogicalParent = parent; }

    // Effective value (local or style, inherited, default); no reference added.
    CWVPMarkupObject* GetValue(CWVPMarkupDependencyProperty* property) const;
    // Sets or clears the local value; takes over the caller's reference of value.
    void SetValue(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* value);
    CWVPMarkupObject* FindValueSource(CWVPMarkupDependencyProperty* property) const;
    void PropagateInheritedChange(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* oldValue,
                                  CWVPMarkupObject* newValue);

    LPCWSTR GetTagName() const { return m_lpszTagName; }
    void SetTagName(LPCWSTR tag);
    LONG GetRefCount() const { return m_nRef; }

    // Number of markup objects alive in the process (leak checks).
    static LONG GetLiveObjectCount();

  protected:
    CWVPMarkupObject* m_pLogicalParent;
    CWVPMarkupProperties* m_pProperties;
    LPWSTR m_lpszTagName;
    LONG m_nRef;

  private:
    CWVPMarkupObject(const CWVPMarkupObject&) = delete;
    CWVPMarkupObject& operator=(const CWVPMarkupObject&) = delete;
};

// The object when it is of the given type (or derived), else null.
CWVPMarkupObject* MarkupDynamicCast(CWVPMarkupType* type, CWVPMarkupObject* object);
template <class T> T* MarkupCast(CWVPMarkupObject* object)
{
    return static_cast<T*>(MarkupDynamicCast(T::Type(), object));
}

// Returns the type record at an index of the type table, creating all records on first use.
CWVPMarkupType* MarkupTypeAt(int index);
