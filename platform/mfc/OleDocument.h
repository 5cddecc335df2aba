// COleDocument: a document that holds embedded items. It keeps the list of items and tells which
// one a view has selected.
#pragma once

#include "platform/mfc/Document.h"

class COleClientItem;
class CView;

class COleDocument : public CDocument
{
    DECLARE_DYNAMIC(COleDocument)
  public:
    COleDocument();

    void AddItem(CObject* item)
    {
        m_docItemList.AddTail(item);
    }
    void RemoveItem(CObject* item);
    POSITION GetStartPosition() const
    {
        return m_docItemList.GetHeadPosition();
    }
    CObject* GetNextItem(POSITION& pos) const
    {
        return static_cast<CObject*>(m_docItemList.GetNext(pos));
    }
    // The one client item the view has selected; null when it selects none or several.
    virtual COleClientItem* GetPrimarySelectedItem(CView* pView);

  protected:
    CPtrList m_docItemList;
};
