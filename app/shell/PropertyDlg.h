// CPropertyDlg: the modal properties dialog of a task list row, with Previous and Next buttons that
// step through the rows and select the shown one in the list as well.
#pragma once

#include "app/shell/PropGeneralPage.h"
#include "app/shell/TaskRows.h"

class CPropertyDlg : public CDialog
{
    DECLARE_DYNAMIC(CPropertyDlg)
  public:
    static constexpr UINT kTemplateId = 140;
    static constexpr UINT kTabId = 1016;
    static constexpr UINT kPreviousId = 1019;
    static constexpr UINT kNextId = 1020;

    explicit CPropertyDlg(TaskRows& rows, CWnd* parent = nullptr);

    int m_nCurrentRow = -1;
    int m_nRowCount = 0;
    CTabCtrl m_tab;
    CPropGeneralPage m_page;
    // The page's template when it does not come from the resources (tests).
    LPCDLGTEMPLATEW m_pageTemplate = nullptr;

    // Shows a row's task on the page; false, with nothing changed, when the row has no task.
    bool LoadRow(CPropGeneralPage& page, int row);

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

  protected:
    afx_msg void OnTabChange(NMHDR* header, LRESULT* result);
    afx_msg void OnPrevious();
    afx_msg void OnNext();
    DECLARE_MESSAGE_MAP()

  private:
    TaskRows& m_rows;

    void EnableStepButtons();
    void Step(int delta);
};
