// The application object: runs start-up (single instance, settings, skin, language, command
// line, pending update, profiles, main frame) and shutdown (tasks, settings, download, profiles,
// skin). It owns the settings, the update manager, the profile categories and the current
// profile. The program has one instance (a global of the program); tests make their own.
#pragma once

#include "app/core/PrivateMessages.h"
#include "app/core/ConvertSetting.h"
#include "app/core/LeftShowItem.h"
#include "app/core/UpdateManager.h"
#include "app/shell/AppSettings.h"
#include "platform/mfc/Mfc.h"

// The name of the single-instance mutex and of the registered message the running window answers.
extern const WCHAR kInstanceMutexName[];
extern const WCHAR kInstanceMessageName[];
// The registered message's number (0 until start-up registered it).
UINT InstanceMessage();

class CReelwrightApp : public CWinApp
{
  public:
    CReelwrightApp();
    ~CReelwrightApp() override;

    // The running application object, or null.
    static CReelwrightApp* Get();

    BOOL InitInstance() override;
    int ExitInstance() override;
    void WinHelp(DWORD_PTR data, UINT command) override;

    // Start-up pieces, in the order InitInstance runs them.
    bool do_some_init();
    bool create_main_frame();
    bool RestoreWindowPlacement();
    bool save_config();

    AppSettings m_settings;
    HANDLE m_mutex;
    UpdateManager m_update;
    CategoryArray m_categories;
    ConvertSetting m_currentProfile;
    CString m_iniPath;
    // The program folder (with its final backslash): settings, log, languages, profiles.
    CString m_programDir;
    // The command line the update options are read from (the process's own unless set).
    CString m_commandLine;
    // True once this process owns the single-instance mutex; only then do shutdown steps run.
    bool m_firstInstance;

    afx_msg void OnAppAbout();

  protected:
    DECLARE_MESSAGE_MAP()
};

// The message box of the program's failures (no profiles, settings not saved, an output folder
// that cannot be made); tests replace it.
typedef int (*AppMessageFunction)(const CString& text);
extern AppMessageFunction g_appMessage;
