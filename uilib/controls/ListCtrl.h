#pragma once
// The library's report lists: a list control carrying the shared list behaviour. CWVListCtrl is
// the concrete control (the task list derives from it and draws its rows through OnCustomDraw);
// it paints without flicker, colours its cells and keeps its column widths when asked to.
#include "platform/mfc/Mfc.h"
#include "uilib/controls/ListBase.h"

class CWVListCtrlBase : public CListCtrl, public CWVListBase
{
    DECLARE_DYNAMIC(CWVListCtrlBase)

  public:
    CWVListCtrlBase();
    ~CWVListCtrlBase() override;

    using CWVListBase::GetExtendedStyle;
    using CWVListBase::SetExtendedStyle;

    // Both the window's WM_NOTIFY handling and the list part's header handling.
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  protected:
    BOOL m_bInitPending;
};

class CWVListCtrl : public CWVListCtrlBase
{
    DECLARE_DYNAMIC(CWVListCtrl)

  public:
    CWVListCtrl();
    ~CWVListCtrl() override;

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    void PreSubclassWindow() override;

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  private:
    void OnPaint();
};
