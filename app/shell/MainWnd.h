// The target panel of the main window: the current profile on a button that opens the profile
// picker, the output folder in a combo box with the ten most recent folders ("Reelwright.ini"),
// browse and open buttons, the output log button and the web link. The main frame asks it for
// the output folder when conversions start.
#pragma once

#include "app/core/PrivateMessages.h"
#include "app/shell/HyperLink.h"
#include "app/shell/ResizableDialog.h"
#include "uilib/controls/Button.h"

#include <functional>

class ParametersWnd;

class CMainWnd : public CResizableDialog
{
  public:
    enum
    {
        IDD = 132,
    };
    static const int kHistorySize = 10;
    static const int kPickerMinWidth = 550;
    // Posted by the profile button's click: the picker runs after the button's own handling.
    static const UINT kPickProfileMessage = WM_RW_PICK_PROFILE;
    // Sent to the main window by the log button: show the output log.
    static const UINT kShowLogMessage = WM_RW_TOGGLE_LOG;

    CMainWnd();
    ~CMainWnd() override;

    BOOL Create(CWnd* parent);
    void ReloadTexts();
    void ShowProfile();
    // The folder conversions go to: the combo box's text once it names a folder (created when
    // missing) and is stored first in the history. Empty after showing the error otherwise.
    CString GetOutputFolder();
    // The folder history file: the program folder's "Reelwright.ini".
    CString HistoryPath() const;

    // Runs once the profile picker's windows exist (tests drive the picker from here).
    static std::function<void(ParametersWnd&)> s_onPickerOpened;
    // Asks the user for a folder; tests replace it.
    typedef CString (*FolderDialogFunction)();
    static FolderDialogFunction s_browseForFolder;

    CWVPButton m_profileButton;
    CComboBox m_outputCombo;
    CHyperLink m_link;
    CButton m_advancedButton;
    CButton m_browseButton;
    CButton m_openButton;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    afx_msg void OnAdvanced();
    afx_msg void OnBrowse();
    afx_msg void OnOpenFolder();
    afx_msg void OnOutputFolderChanged();
    afx_msg void OnProfileButton();
    afx_msg LRESULT OnPickProfile(WPARAM wParam, LPARAM lParam);
    afx_msg void OnShowLog();
    afx_msg LRESULT OnPanelReloadTexts(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

  private:
    void SetupLink();
    void LoadOutputHistory();
    bool CommitOutputFolder(CString* folder);
    void SaveOutputHistory();
};
