// The ordered container of markup objects, restricted to one element type; every child list of
// the language is built on it.
#pragma once

#include "uilib/markup/MarkupObject.h"

class CWVPMarkupCollection : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    explicit CWVPMarkupCollection(CWVPMarkupType* elementType = nullptr);
    ~CWVPMarkupCollection() override;
    int GetLogicalChildrenCount() const override;
    CWVPMarkupObject* GetLogicalChild(int index) const override;
    void SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content) override;
    BOOL HasContentObject() const override;
    virtual void OnItemAdded(CWVPMarkupObject* item, int index);

    // Takes over the caller's reference; a null item or one of the wrong type is ignored (and
    // released).
    void Add(CWVPMarkupObject* item);
    void RemoveAt(int index);
    void RemoveAll();
    int GetCount() const { return m_nCount; }
    CWVPMarkupObject* GetItem(int index) const;
    CWVPMarkupType* GetElementType() const { return m_pElementType; }
    BOOL AcceptsItem(CWVPMarkupObject* item) const;

  protected:
    CWVPMarkupObject** m_ppItems;
    int m_nCount;
    int m_nCapacity;
    CWVPMarkupType* m_pElementType;
    BOOL m_bParenting;
};
