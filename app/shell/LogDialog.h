// CLogDialog: the modeless, resizable window that shows one task's conversion log. The main frame
// opens it, points it at the selected task and deletes it once it has closed.
#pragma once

#include "app/core/PrivateMessages.h"
#include "app/shell/ResizableDialog.h"
#include "resources/resource.h"

class CLogDialog : public CResizableDialog
{
  public:
    static constexpr UINT kTemplateId = IDD_LOGDLG;
    static constexpr UINT kTextId = IDC_LOG_TEXT;
    // To the main window: open the log window, or with wParam 0 close and delete it.
    static constexpr UINT kToggleMessage = WM_RW_TOGGLE_LOG;

    explicit CLogDialog(CWnd* parent = nullptr);

    // Shows the task's log; false when no task has the id (the text stays as it was).
    bool ShowTaskLog(int taskId);
    void ReloadTexts();

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
};
