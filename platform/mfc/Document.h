// CDocument: the minimal document of the document/view model: a title, a path, a modified flag,
// its views and its template. This program keeps no documents; the class serves the command
// bars and frames that ask a frame for its active document.
#pragma once

#include "platform/mfc/CmdTarget.h"
#include "platform/mfc/List.h"
#include "platform/mfc/String.h"

class CView;
class CDocTemplate;

class CDocument : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocument)
  public:
    CDocument();
    ~CDocument() override;

    const CString& GetTitle() const
    {
        return m_strTitle;
    }
    virtual void SetTitle(LPCWSTR title)
    {
        m_strTitle = title;
    }
    const CString& GetPathName() const
    {
        return m_strPathName;
    }
    virtual void SetPathName(LPCWSTR path)
    {
        m_strPathName = path;
    }
    CDocTemplate* GetDocTemplate() const
    {
        return m_pDocTemplate;
    }
    virtual BOOL IsModified()
    {
        return m_bModified;
    }
    virtual void SetModifiedFlag(BOOL modified = TRUE)
    {
        m_bModified = modified;
    }

    // Views: a view joins its document when it is made for it and leaves when it goes.
    void AddView(CView* view);
    void RemoveView(CView* view);
    POSITION GetFirstViewPosition() const
    {
        return m_viewList.GetHeadPosition();
    }
    CView* GetNextView(POSITION& pos) const
    {
        return static_cast<CView*>(m_viewList.GetNext(pos));
    }
    // Tells every view but the sender that the document changed.
    void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* hintObject = nullptr);

    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate;
    BOOL m_bModified;

  protected:
    CPtrList m_viewList;
};
