// COleClientItem: an item embedded in or linked into a COleDocument. It holds the item's OLE
// object and its kind; code that offers an item's verbs asks the document for its selected item.
#pragma once

#include "platform/mfc/Object.h"

#include <ole2.h>

class COleDocument;

enum OLE_OBJTYPE
{
    OT_UNKNOWN = 0,
    OT_LINK = 1,
    OT_EMBEDDED = 2,
    OT_STATIC = 3,
};

class COleClientItem : public CObject
{
    DECLARE_DYNAMIC(COleClientItem)
  public:
    // Joins the document's item list when a document is given.
    explicit COleClientItem(COleDocument* pContainerDoc = nullptr);
    ~COleClientItem() override;

    OLE_OBJTYPE GetType() const
    {
        return m_nItemType;
    }
    COleDocument* GetDocument() const
    {
        return m_pDocument;
    }
    // Takes a reference to the object (the old one is released) and records its kind.
    void Attach(LPOLEOBJECT lpObject, OLE_OBJTYPE type);
    void Release();

    LPOLEOBJECT m_lpObject;

  protected:
    OLE_OBJTYPE m_nItemType;
    COleDocument* m_pDocument;

  private:
    COleClientItem(const COleClientItem&) = delete;
    COleClientItem& operator=(const COleClientItem&) = delete;
};
