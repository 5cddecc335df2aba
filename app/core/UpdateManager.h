// Keeps the program up to date: fetches the update description, decides whether a newer version
// exists, downloads and verifies its package and hands it to the external updater (or runs the
// full installer). One instance, owned by the application object; UI thread only.
#pragma once

#include "platform/mfc/Mfc.h"

#include <msxml.h>

class CXmlDocument;
class DownloadThread;

// Update folder: program folder + "update\".
CString GetUpdateDir();
// The downloaded description: update folder + "update.ini".
CString GetUpdateInfoPath();
// True when version a is lower than version b, both compared as dotted numbers ("5.0.0.8" before
// "5.0.0.10"); a missing part counts as 0, a part's digits end at its first non-digit.
bool CompareVersionText(const CString& a, const CString& b);

enum UpdateState
{
    kUpdateIdle = 0,
    kUpdateChecking = 1,
    kUpdateFound = 2,
    kUpdateDownloading = 3,
    kUpdateRestart = 4,
    kUpdateNewest = 5,
    kUpdateAborted = 6,
    kUpdateError = 7,
    kUpdateNetError = 8,
};

enum UpdateMode
{
    kUpdateModeAsk = 0,
    kUpdateModeDownload = 1,
    // No automatic check; a check the user asks for behaves as kUpdateModeAsk.
    kUpdateModeNever = 2,
};

class UpdateManager
{
  public:
    UpdateManager();
    ~UpdateManager();
    UpdateManager(const UpdateManager&) = delete;
    UpdateManager& operator=(const UpdateManager&) = delete;

    // The process-wide instance (the last one constructed), or null.
    static UpdateManager* Get();

    bool ParseCommandLine();
    bool ParseCommandLine(const WCHAR* commandLine);
    bool ApplyPendingUpdate();
    bool IsCheckDue() const;
    // Starts fetching the description; refused while a check or download runs and after a check
    // that found its answer. A check that has no answer within m_checkTimeLimitMs ends as a
    // network error (the UI thread's message loop delivers the time limit).
    bool StartCheck();
    // The user's abort: ends a running check at once, or the package download.
    void Abort();
    void OnCheckTimeLimit(UINT_PTR timer);
    int OnDownloadDone(int result);
    void OnDownloadProgress(ULONG progress, ULONG maximum);
    bool StartPackageDownload();
    int ParseUpdateInfo(const CString& path);
    CString VerifyPackage();
    bool RunUpdater(const CString& packagePath, const CString& version);
    bool RunInstaller(const CString& packagePath);
    // Stops and frees the running download. At process exit a thread that will not stop is cut
    // off; otherwise it is left to end by itself and reported as aborted.
    void StopDownload(bool processExit = false);

    CString GetInfoUrl() const;
    CString GetPackagePath() const;
    // The program's options: arguments after the program name that begin with "-", without it.
    static void CollectOptions(const WCHAR* commandLine, CStringArray& options);

    // The "Update" section of the settings file. The stored mode is read, and the automatic-update
    // setting applied afterwards (SetAutoUpdate) overrides it; the stored current version is taken
    // when it is a valid version above the program's own.
    void LoadSettings(CXmlDocument* doc, IXMLDOMNode* section);
    bool SaveSettings(CXmlDocument* doc, IXMLDOMNode* section) const;
    // Automatic updates on: check when due and download at once; off: never check by itself.
    void SetAutoUpdate(bool on);

    // The program folder (with its final backslash); tests point it elsewhere.
    CString m_programDir;

    CString m_serverUrl;
    CString m_curVersion;
    int m_mode;
    int m_updateType;
    DWORD m_lastCheck;
    CString m_pendingFile;
    CString m_pendingVersion;
    CString m_latestVersion;
    CString m_minVersion;
    CString m_buildDate;
    int m_importance;
    BOOL m_fullSetup;
    CString m_packageUri;
    CString m_packageMd5;
    CStringArray m_options;
    DownloadThread* m_download;
    int m_state;
    BYTE m_abort;
    ULONG m_progress;
    ULONG m_maximum;
    UINT m_checkTimeLimitMs;

  private:
    void StopCheckTimer();
    // Ends a running check in the state, its download stopped.
    void EndCheck(int state);
    CString UpdateDir() const;
    bool StartDownload(const CString& url, const CString& target);
    bool StartProcess(const CString& commandLine);
    void ForgetPendingUpdate();
    void OnDescriptionDone(int result);
    void OnPackageDone(int result);

    UINT_PTR m_checkTimer;
    // Reports still to come from downloads a check stopped; they are not answers.
    int m_staleReports;
    // Set while OnDownloadDone runs: its dialogs and the digest dispatch messages.
    bool m_inDownloadDone;
};

// What the manager asks the user (a language key; IDOK or IDCANCEL back), the new-version dialog
// (IDOK to download) and how it starts a program (command line, current folder). The window
// layer and tests replace them.
typedef int (*UpdateAskFunction)(const CString& key);
typedef INT_PTR (*UpdateTipFunction)(UpdateManager& manager);
typedef bool (*UpdateStartFunction)(const CString& commandLine, const CString& folder);
extern UpdateAskFunction g_updateAsk;
extern UpdateTipFunction g_updateTip;
extern UpdateStartFunction g_updateStart;
