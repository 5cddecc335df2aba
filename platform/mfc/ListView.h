// CListView: a view that is a list-view control, for frames that show a list as their view.
#pragma once

#include "platform/mfc/ListCtrl.h"
#include "platform/mfc/View.h"

class CListView : public CView
{
    DECLARE_DYNCREATE(CListView)
  public:
    CListView();

    // The view's window is the control itself; the returned object only borrows its handle.
    CListCtrl& GetListCtrl() const;

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    void OnDraw(CDC*) override
    {
    }

  protected:
    DECLARE_MESSAGE_MAP()
    afx_msg void OnPaint()
    {
        Default();
    }

  private:
    mutable CListCtrl m_listCtrl;
};
