// COleDocument: a document that holds embedded items. Here it only keeps the list of items, so
// that code walking a frame's active document for its items finds a well-formed, empty list.
#pragma once

#include "platform/mfc/Document.h"

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

  protected:
    CPtrList m_docItemList;
};
