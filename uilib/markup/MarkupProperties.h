// The per-object property store: one slot per property index, each stored value holding one
// reference; values stored into an owned store get the owner as logical parent.
#pragma once

#include "uilib/markup/MarkupObject.h"

class CWVPMarkupProperties : public CWVPMarkupObject
{
  public:
    explicit CWVPMarkupProperties(CWVPMarkupObject* owner);
    ~CWVPMarkupProperties() override;

    CWVPMarkupObject* Get(CWVPMarkupDependencyProperty* property) const;
    void Set(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* value);
    void CopyFrom(const CWVPMarkupProperties* other);
    int GetCount() const { return m_nCount; }
    CWVPMarkupObject* GetAt(int index) const { return m_ppValues[index]; }

  private:
    CWVPMarkupObject** m_ppValues;
    int m_nCount;
    CWVPMarkupObject* m_pOwner;
};
