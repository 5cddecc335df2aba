// CView: a child window that shows a document inside a frame. Frames keep their active view and
// answer GetActiveView/GetActiveDocument through it; views made with new end with their window.
#pragma once

#include "platform/mfc/Wnd.h"

class CDocument;

class CView : public CWnd
{
    DECLARE_DYNAMIC(CView)
  public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const
    {
        return m_pDocument;
    }
    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject);
    virtual void OnDraw(CDC* dc);
    // The frame tells its view when it gains or loses the activation.
    virtual void OnActivateView(BOOL activate, CView* activated, CView* deactivated);
    // Whether the view shows the document item as selected (containers override it).
    virtual BOOL IsSelected(const CObject* pDocItem) const;

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    void PostNcDestroy() override;
    // The view first, then its document.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);

    CDocument* m_pDocument;
    BOOL m_bAutoDelete; // delete the object when its window goes (views made with new)

  protected:
    DECLARE_MESSAGE_MAP()
};
