#include "app/core/UpdateManager.h"

#include "app/core/DownloadThread.h"
#include "app/core/UpdateDlg.h"
#include "app/core/FileMD5.h"
#include "app/core/Helpers.h"
#include "app/core/LangMgr.h"
#include "app/core/XmlDocument.h"

#include <shellapi.h>

#include <ctime>

namespace
{
const WCHAR kDefaultServer[] = L"http://reelwright.example.org/update_person/update_vintrel/";
const WCHAR kDefaultVersion[] = L"5.0.0.8";
const WCHAR kUpdateFolder[] = L"update\\";
const WCHAR kInfoName[] = L"update.txt";
const WCHAR kInfoFile[] = L"update.ini";
const WCHAR kHandOverName[] = L"update.mar";
const WCHAR kUpdaterName[] = L"updater.exe";
const WCHAR kNewerUpdaterName[] = L"updater-newer.ex1";
const WCHAR kUpdaterCommand[] = L"\"%s\" \"%s\" %d \"%s\" \"%s\" -deleteupdate -setver=%s";
const WCHAR kInstallerCommand[] = L"\"%s\"";
const WCHAR kDeleteOption[] = L"deleteupdate";
const WCHAR kVersionOption[] = L"setver";
const WCHAR kVersionOptionSkip[] = L" \t=:";

const int kModulePathCapacity = 260;
const int kCommandCapacity = 1024;
const int kInfoTextCapacity = 1024;
const int kDigestLength = 32;
const int kVersionCapacity = 64;
const INT64 kCheckInterval = 43200;
const UINT kDefaultCheckTimeLimitMs = 30000;
const UINT64 kMaxVersionPart = 0xFFFFFFFF;

UpdateManager* g_instance = nullptr;

int AskWithMessageBox(const CString& key)
{
    return AfxMessageBox(LangMgr::GetText(key), MB_OKCANCEL | MB_ICONQUESTION);
}

bool StartWithCreateProcess(const CString& commandLine, const CString& folder)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    CString command = commandLine;
    const BOOL started = ::CreateProcessW(nullptr, command.GetBuffer(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                                          nullptr, folder, &startup, &process);
    command.ReleaseBuffer();
    if (!started)
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

DWORD NowLow32()
{
    return DWORD(UINT64(std::time(nullptr)) & 0xFFFFFFFF);
}

bool IsFile(const CString& path)
{
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

CString WithoutFinalBackslash(const CString& folder)
{
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] == L'\\')
        return folder.Left(folder.GetLength() - 1);
    return folder;
}

// A version as the updater and the program pass it on their command lines: dotted digits only,
// each part within 32 bits (a longer part would compare as another number).
bool IsVersionText(const CString& version)
{
    if (version.IsEmpty() || version.GetLength() > kVersionCapacity)
        return false;
    UINT64 part = 0;
    for (int i = 0; i < version.GetLength(); ++i)
    {
        if (version[i] == L'.')
        {
            part = 0;
            continue;
        }
        if (!(version[i] >= L'0' && version[i] <= L'9'))
            return false;
        part = part * 10 + UINT64(version[i] - L'0');
        if (part > kMaxVersionPart)
            return false;
    }
    return true;
}

// Ends a check that ran out of time; a thread timer, so that no window is needed.
void CALLBACK CheckTimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    try
    {
        if (UpdateManager* manager = UpdateManager::Get())
            manager->OnCheckTimeLimit(id);
    }
    catch (...)
    {
    }
}

// A file name from the server becomes a path in the update folder and may be executed: only a
// plain name is taken, no folder, drive or parent reference.
bool IsPlainFileName(const CString& name)
{
    if (name.IsEmpty() || name.GetLength() >= MAX_PATH || name == L"." || name == L"..")
        return false;
    for (int i = 0; i < name.GetLength(); ++i)
    {
        const WCHAR c = name[i];
        if (c < 0x20 || c == L'\\' || c == L'/' || c == L':' || c == L'"' || c == L'*' || c == L'?' || c == L'<' ||
            c == L'>' || c == L'|')
            return false;
    }
    const WCHAR last = name[name.GetLength() - 1];
    return last != L'.' && last != L' ';
}

bool IsDigestText(const CString& digest)
{
    if (digest.GetLength() != kDigestLength)
        return false;
    for (int i = 0; i < kDigestLength; ++i)
    {
        const WCHAR c = digest[i];
        if (!((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F')))
            return false;
    }
    return true;
}

CString ReadInfoText(const WCHAR* section, const WCHAR* key, const CString& path)
{
    CString text;
    ::GetPrivateProfileStringW(section, key, L"", text.GetBuffer(kInfoTextCapacity), kInfoTextCapacity, path);
    text.ReleaseBuffer();
    return text;
}

// The numbers of a dotted version, part by part.
UINT VersionPart(const CString& version, int& pos)
{
    UINT value = 0;
    while (pos < version.GetLength() && version[pos] >= L'0' && version[pos] <= L'9')
    {
        value = value * 10 + UINT(version[pos] - L'0');
        ++pos;
    }
    while (pos < version.GetLength() && version[pos] != L'.')
        ++pos;
    if (pos < version.GetLength())
        ++pos;
    return value;
}

// Clears a flag for the scope of a call, so that a call re-entered meanwhile is turned away.
class CReentryGuard
{
  public:
    explicit CReentryGuard(bool& flag) : m_flag(flag)
    {
        m_flag = true;
    }
    ~CReentryGuard()
    {
        m_flag = false;
    }
    CReentryGuard(const CReentryGuard&) = delete;
    CReentryGuard& operator=(const CReentryGuard&) = delete;

  private:
    bool& m_flag;
};
} // namespace

UpdateAskFunction g_updateAsk = AskWithMessageBox;
UpdateTipFunction g_updateTip = ShowUpdateTip;
UpdateStartFunction g_updateStart = StartWithCreateProcess;

bool CompareVersionText(const CString& a, const CString& b)
{
    int posA = 0, posB = 0;
    while (posA < a.GetLength() || posB < b.GetLength())
    {
        const UINT partA = VersionPart(a, posA);
        const UINT partB = VersionPart(b, posB);
        if (partA != partB)
            return partA < partB;
    }
    return false;
}

CString GetUpdateDir()
{
    const UpdateManager* manager = UpdateManager::Get();
    return (manager ? manager->m_programDir : GetAppDir()) + kUpdateFolder;
}

CString GetUpdateInfoPath()
{
    return GetUpdateDir() + kInfoFile;
}

UpdateManager::UpdateManager()
    : m_programDir(GetAppDir()), m_serverUrl(kDefaultServer), m_curVersion(kDefaultVersion), m_mode(kUpdateModeAsk),
      m_updateType(0), m_lastCheck(0), m_importance(0), m_fullSetup(FALSE), m_download(nullptr), m_state(kUpdateIdle),
      m_abort(0), m_progress(0), m_maximum(0), m_checkTimeLimitMs(kDefaultCheckTimeLimitMs), m_checkTimer(0),
      m_staleReports(0), m_inDownloadDone(false)
{
    g_instance = this;
}

UpdateManager::~UpdateManager()
{
    StopCheckTimer();
    StopDownload(true);
    if (g_instance == this)
        g_instance = nullptr;
}

UpdateManager* UpdateManager::Get()
{
    return g_instance;
}

CString UpdateManager::UpdateDir() const
{
    return m_programDir + kUpdateFolder;
}

CString UpdateManager::GetInfoUrl() const
{
    return m_serverUrl + kInfoName;
}

CString UpdateManager::GetPackagePath() const
{
    return UpdateDir() + m_packageUri;
}

void UpdateManager::CollectOptions(const WCHAR* commandLine, CStringArray& options)
{
    options.RemoveAll();
    if (!commandLine || !*commandLine)
        return;
    int count = 0;
    LPWSTR* args = ::CommandLineToArgvW(commandLine, &count);
    if (!args)
        return;
    for (int i = 1; i < count; ++i)
        if (args[i][0] == L'-')
            options.Add(args[i] + 1);
    ::LocalFree(args);
}

bool UpdateManager::ParseCommandLine()
{
    return ParseCommandLine(::GetCommandLineW());
}

bool UpdateManager::ParseCommandLine(const WCHAR* commandLine)
{
    CollectOptions(commandLine, m_options);
    if (m_options.GetSize() == 0)
        return false;
    for (INT_PTR i = 0; i < m_options.GetSize(); ++i)
    {
        const CString& option = m_options[i];
        if (option.CompareNoCase(kDeleteOption) == 0)
        {
            ForgetPendingUpdate();
            DeleteFolderTree(UpdateDir());
        }
        else if (option.Left(6).CompareNoCase(kVersionOption) == 0)
        {
            CString version = option.Mid(6);
            version.TrimLeft(kVersionOptionSkip);
            if (IsVersionText(version))
                m_curVersion = version;
        }
    }
    return true;
}

void UpdateManager::ForgetPendingUpdate()
{
    m_pendingFile.Empty();
    m_pendingVersion.Empty();
}

bool UpdateManager::ApplyPendingUpdate()
{
    bool started = false;
    const CString package = UpdateDir() + m_pendingFile;
    if (IsPlainFileName(m_pendingFile) && IsVersionText(m_pendingVersion) && IsFile(package))
    {
        const CString extension = m_pendingFile.Right(4);
        if (extension.CompareNoCase(L".zip") == 0)
            started = RunUpdater(package, m_pendingVersion);
        else if (extension.CompareNoCase(L".exe") == 0 && g_updateAsk && g_updateAsk(L"update_full") == IDOK)
            started = RunInstaller(package);
    }
    ForgetPendingUpdate();
    if (started)
        return true;
    const CString newer = m_programDir + kNewerUpdaterName;
    if (IsFile(newer))
        ::MoveFileExW(newer, m_programDir + kUpdaterName, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED);
    return false;
}

bool UpdateManager::IsCheckDue() const
{
    if (m_mode == kUpdateModeNever)
        return false;
    const INT64 difference = INT64(NowLow32()) - INT64(m_lastCheck);
    return difference > kCheckInterval || difference < -kCheckInterval;
}

bool UpdateManager::StartDownload(const CString& url, const CString& target)
{
    DownloadThread* download = new DownloadThread(url, target);
    if (!download->CreateThread())
    {
        delete download;
        return false;
    }
    m_download = download;
    return true;
}

bool UpdateManager::StartCheck()
{
    // One check per run; one that failed or was aborted may be tried again.
    if (m_state != kUpdateIdle && m_state != kUpdateNetError && m_state != kUpdateAborted)
        return false;
    if (!IsFile(m_programDir + kUpdaterName))
    {
        m_state = kUpdateError;
        return false;
    }
    CreateDirectoryPath(UpdateDir());
    if (!StartDownload(GetInfoUrl(), GetUpdateInfoPath()))
    {
        m_state = kUpdateError;
        return false;
    }
    m_state = kUpdateChecking;
    StopCheckTimer();
    m_checkTimer = ::SetTimer(nullptr, 0, m_checkTimeLimitMs, CheckTimerProc);
    return true;
}

void UpdateManager::StopCheckTimer()
{
    if (m_checkTimer)
        ::KillTimer(nullptr, m_checkTimer);
    m_checkTimer = 0;
}

void UpdateManager::OnCheckTimeLimit(UINT_PTR timer)
{
    if (timer != m_checkTimer)
        return;
    m_checkTimer = 0;
    if (m_state != kUpdateChecking || m_inDownloadDone)
        return;
    EndCheck(kUpdateNetError);
}

void UpdateManager::EndCheck(int state)
{
    StopCheckTimer();
    // The stopped download still reports its end (or Stop reports for it): that report is stale.
    if (m_download)
        ++m_staleReports;
    StopDownload();
    m_state = state;
}

void UpdateManager::Abort()
{
    if (m_state == kUpdateChecking && !m_inDownloadDone)
        EndCheck(kUpdateAborted);
    else
    {
        m_abort = 1;
        StopDownload();
    }
}

bool UpdateManager::StartPackageDownload()
{
    m_abort = 0;
    m_progress = 0;
    m_maximum = 0;
    CreateDirectoryPath(UpdateDir());
    if (!IsPlainFileName(m_packageUri) || !StartDownload(m_serverUrl + m_packageUri, GetPackagePath()))
    {
        m_state = kUpdateError;
        return false;
    }
    m_state = kUpdateDownloading;
    return true;
}

int UpdateManager::ParseUpdateInfo(const CString& path)
{
    // Drop what the profile functions may have cached of an earlier description.
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, path);
    m_latestVersion = ReadInfoText(L"UpdateInfo", L"LatestVersion", path);
    m_minVersion = ReadInfoText(L"UpdateInfo", L"MinVersion", path);
    m_buildDate = ReadInfoText(L"UpdateInfo", L"BuildDate", path);
    m_importance = int(::GetPrivateProfileIntW(L"UpdateInfo", L"Importance", 0, path));
    if (m_latestVersion.IsEmpty())
        return -1;
    if (!IsVersionText(m_latestVersion))
        return -2;
    // Only a version above the current one is offered.
    if (!CompareVersionText(m_curVersion, m_latestVersion))
        return 0;
    m_fullSetup = CompareVersionText(m_curVersion, m_minVersion);
    const WCHAR* section = m_fullSetup ? L"FullSetup" : L"Partial";
    m_packageUri = ReadInfoText(section, L"URI", path);
    m_packageMd5 = ReadInfoText(section, L"MD5", path);
    if (!IsPlainFileName(m_packageUri) || !IsDigestText(m_packageMd5))
        return -2;
    return 1;
}

CString UpdateManager::VerifyPackage()
{
    FileMD5 digest;
    digest.Compute(GetPackagePath());
    if (!digest.IsOk())
        return CString();
    return digest.GetDigest();
}

void UpdateManager::OnDownloadProgress(ULONG progress, ULONG maximum)
{
    m_progress = progress;
    m_maximum = maximum;
}

int UpdateManager::OnDownloadDone(int result)
{
    // A stale report arriving while the dialogs or the digest dispatch messages is not a new one.
    if (m_inDownloadDone)
        return 0;
    if (m_staleReports > 0)
    {
        --m_staleReports;
        return 0;
    }
    CReentryGuard guard(m_inDownloadDone);
    StopDownload();
    if (m_state == kUpdateChecking)
    {
        StopCheckTimer();
        OnDescriptionDone(result);
    }
    else if (m_state == kUpdateDownloading)
    {
        OnPackageDone(result);
        if (m_state == kUpdateError && result == kDownloadOk)
            return -1;
    }
    return 0;
}

void UpdateManager::OnDescriptionDone(int result)
{
    if (result != kDownloadOk)
    {
        m_state = kUpdateNetError;
        return;
    }
    const int found = ParseUpdateInfo(GetUpdateInfoPath());
    if (found == -2)
    {
        m_state = kUpdateError;
        return;
    }
    if (found <= 0)
    {
        m_state = kUpdateNewest;
        m_lastCheck = NowLow32();
        return;
    }
    m_state = kUpdateFound;
    if (m_mode == kUpdateModeDownload)
        StartPackageDownload();
    else if (g_updateTip && g_updateTip(*this) == IDOK)
        StartPackageDownload();
    else
        m_state = kUpdateAborted;
}

void UpdateManager::OnPackageDone(int result)
{
    if (result == kDownloadAborted)
    {
        m_state = kUpdateAborted;
        return;
    }
    if (result != kDownloadOk)
    {
        m_state = kUpdateNetError;
        return;
    }
    const CString digest = VerifyPackage();
    if (digest.IsEmpty() || digest.CompareNoCase(m_packageMd5) != 0)
    {
        m_state = kUpdateError;
        ::DeleteFileW(GetPackagePath());
        return;
    }
    if (m_abort)
    {
        m_state = kUpdateAborted;
        return;
    }
    m_state = kUpdateRestart;
    if (!g_updateAsk || g_updateAsk(L"update_ok") != IDOK)
    {
        m_pendingFile = m_packageUri;
        m_pendingVersion = m_latestVersion;
        return;
    }
    const bool started = m_fullSetup ? RunInstaller(GetPackagePath()) : RunUpdater(GetPackagePath(), m_latestVersion);
    if (!started)
    {
        m_state = kUpdateError;
        return;
    }
    HWND mainWindow = update_notify::Get().GetWindow();
    if (mainWindow)
        ::PostMessageW(mainWindow, WM_CLOSE, 0, 0);
}

bool UpdateManager::StartProcess(const CString& commandLine)
{
    if (commandLine.GetLength() < kCommandCapacity && g_updateStart &&
        g_updateStart(commandLine, WithoutFinalBackslash(m_programDir)))
        return true;
    ForgetPendingUpdate();
    DeleteFolderTree(UpdateDir());
    return false;
}

bool UpdateManager::RunUpdater(const CString& packagePath, const CString& version)
{
    const CString handOver = UpdateDir() + kHandOverName;
    if (packagePath.CompareNoCase(handOver) != 0 &&
        !::MoveFileExW(packagePath, handOver, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
        return StartProcess(CString());
    WCHAR module[kModulePathCapacity] = {};
    ::GetModuleFileNameW(nullptr, module, kModulePathCapacity);
    CString programName = module;
    programName = programName.Mid(programName.ReverseFind(L'\\') + 1);
    CString command;
    command.Format(kUpdaterCommand, m_programDir + kUpdaterName, WithoutFinalBackslash(UpdateDir()),
                   int(::GetCurrentProcessId()), WithoutFinalBackslash(m_programDir), programName, version);
    return StartProcess(command);
}

bool UpdateManager::RunInstaller(const CString& packagePath)
{
    CString command;
    command.Format(kInstallerCommand, packagePath);
    return StartProcess(command);
}

void UpdateManager::StopDownload(bool processExit)
{
    DownloadThread* download = m_download;
    if (!download)
        return;
    m_download = nullptr;
    if (download->Stop())
        delete download;
    else if (processExit)
        download->TerminateAtExit(); // left allocated: URLMON may still hold it
    else
        download->Abandon();
}

void UpdateManager::LoadSettings(CXmlDocument* doc, IXMLDOMNode* section)
{
    if (!section)
        return;
    int value = 0;
    if (CXmlDocument::GetChildInt(doc, section, L"updatemethod", value))
        m_mode = value;
    CXmlDocument::GetChildInt(doc, section, L"updatetype", m_updateType);
    if (CXmlDocument::GetChildInt(doc, section, L"lastupdate", value))
        m_lastCheck = DWORD(value);
    // The version an update set is kept here; the program's own counts when it is higher (a
    // newer program installed over older settings).
    CString version;
    if (CXmlDocument::GetChildString(doc, section, L"curversion", version) && IsVersionText(version) &&
        CompareVersionText(m_curVersion, version))
        m_curVersion = version;
    CXmlDocument::GetChildString(doc, section, L"updatefile", m_pendingFile);
    CXmlDocument::GetChildString(doc, section, L"updatever", m_pendingVersion);
    CString server;
    if (CXmlDocument::GetChildString(doc, section, L"updateserver", server) && !server.IsEmpty())
    {
        if (server[server.GetLength() - 1] != L'/')
            server += L'/';
        m_serverUrl = server;
    }
}

bool UpdateManager::SaveSettings(CXmlDocument* doc, IXMLDOMNode* section) const
{
    if (!section)
        return false;
    return CXmlDocument::SetChildInt(doc, section, L"updatemethod", m_mode) &&
           CXmlDocument::SetChildString(doc, section, L"curversion", m_curVersion) &&
           CXmlDocument::SetChildInt(doc, section, L"updatetype", m_updateType) &&
           CXmlDocument::SetChildInt(doc, section, L"lastupdate", int(m_lastCheck)) &&
           CXmlDocument::SetChildString(doc, section, L"updatefile", m_pendingFile) &&
           CXmlDocument::SetChildString(doc, section, L"updatever", m_pendingVersion) &&
           CXmlDocument::SetChildString(doc, section, L"updateserver", m_serverUrl);
}

void UpdateManager::SetAutoUpdate(bool on)
{
    m_mode = on ? kUpdateModeDownload : kUpdateModeNever;
}
