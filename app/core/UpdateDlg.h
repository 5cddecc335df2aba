// The update dialogs: UpdateDlg, the update window of the main window's update command, which
// starts a check, shows the update manager's state once a second and can abort a download; and
// CUpdateTip, the new-version dialog the manager shows before it downloads a package.
#pragma once

#include "app/core/UpdateResource.h"
#include "platform/mfc/Mfc.h"

class UpdateManager;

class UpdateDlg : public CDialog
{
  public:
    enum
    {
        IDD = IDD_UPDATE
    };
    static const UINT_PTR kStateTimer = 3268;
    static const UINT kStateTimerMs = 1000;

    explicit UpdateDlg(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    // Shows the manager's state; a state already shown is not shown again (progress excepted).
    void ShowState();

    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnDestroy();
    afx_msg void OnCheckNow();
    afx_msg void OnAbort();

    int m_lastState;

  protected:
    DECLARE_MESSAGE_MAP()

  private:
    void ShowControls(BOOL progress, BOOL check, BOOL abort);
};

class CUpdateTip : public CDialog
{
  public:
    enum
    {
        IDD = IDD_UPDATE_TIP
    };

    explicit CUpdateTip(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

    // The release notes of the description for the system's language, "\n" and "\t" expanded.
    static CString ReadReleaseNotes(const CString& infoPath);

    CString m_text;
};

// Runs the new-version dialog modally over the main window; IDOK when the user wants the update.
INT_PTR ShowUpdateTip(UpdateManager& manager);
