// CPropertyDlg: the modal properties dialog of a task list row, with Previous and Next buttons that
// step through the rows and select the shown one in the list as well.
#pragma once

#include "app/shell/PropGeneralPage.h"
#include "app/shell/TaskRows.h"

class CPropertyDlg : public CDialog
{
    DECLARE_DYNAMIC(CPropertyDlg)
  public:
    static constexpr UINT kTemplateId = IDD_PROPERTY;
    static constexpr UINT kTabId = IDC_PROP_TAB;
    static constexpr UINT kPreviousId = IDC_PROP_PREV;
    static constexpr UINT kNextId = IDC_PROP_NEXT;

    explicit CPropertyDlg(TaskRows& rows, CWnd* parent = nullptr);

    int m_nCurrentRow = -1;
    int m_nRowCount = 0;
    CTabCtrl m_tab;
    CPropGeneralPage m_page;

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
