// CLogDialog: the modeless, resizable window that shows one task's conversion log. The main frame
// opens it, points it at the selected task and deletes it once it has closed.
#pragma once

#include "app/shell/ResizableDialog.h"

// The log window's dialog template and controls.
const UINT IDD_LOG_DIALOG = 161;
const UINT IDC_LOG_TEXT = 1237;
// Sent (posted by the log window) to the main window to open or, with wParam 0, close the log window.
const UINT WM_RW_TOGGLE_LOG = 0x1533;

class CLogDialog : public CResizableDialog
{
  public:
    explicit CLogDialog(CWnd* parent = nullptr);

    // Shows the task's log; false when no task has the id (the text stays as it was).
    bool ShowTaskLog(int taskId);
    void ReloadTexts();

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
};
