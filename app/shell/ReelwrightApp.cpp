#include "app/shell/ReelwrightApp.h"

#include "app/core/Helpers.h"
#include "app/core/LangMgr.h"
#include "app/core/Profiles.h"
#include "app/core/VideoManager.h"
#include "app/core/DownloadThread.h"
#include "app/shell/AboutDlg.h"
#include "app/shell/AppLog.h"
#include "app/shell/ErrorListDlg.h"
#include "app/shell/LocaliseMenu.h"
#include "app/shell/MainFrame.h"
#include "engine/Engine.h"
#include "resources/resource.h"
#include "uilib/skin/SkinManager.h"

#include <commctrl.h>
#include <clocale>
#include <cstdlib>
#include <ctime>

const WCHAR kInstanceMutexName[] = L"VESSMARK_CONVERTER_2009";
const WCHAR kInstanceMessageName[] = L"converter_vessmark_621893792187";

namespace
{
const UINT kFindTimeoutMs = 2000;
const DWORD kFrameStyle = 0xCF0000; // WS_OVERLAPPEDWINDOW
const int kDefaultWidth = 900;
const int kDefaultHeight = 500;
const int kWorkAreaMargin = 10;
const int kBannerWidth = 50;
const DWORD kSkinApplyOptions = 7;

UINT g_instanceMessage = 0;
CReelwrightApp* g_reelwrightApp = nullptr;

int DefaultAppMessage(const CString& text)
{
    return AfxMessageBox(text, MB_OK);
}

// The skins by setting: the skin description resource, or none for "normal".
struct SkinChoice
{
    const WCHAR* setting;
    const WCHAR* resource;
};
const SkinChoice kSkins[] = {{L"aroma", L"NORMALBLUE_INI"}, {L"simple", L"NORMALAQUA_INI"}, {L"normal", nullptr}};

BOOL CALLBACK FindRunningInstance(HWND window, LPARAM found)
{
    DWORD_PTR answer = 0;
    if (::SendMessageTimeoutW(window, g_instanceMessage, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kFindTimeoutMs,
                              &answer) &&
        answer == g_instanceMessage)
    {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}
} // namespace

AppMessageFunction g_appMessage = DefaultAppMessage;

UINT InstanceMessage()
{
    if (!g_instanceMessage)
        g_instanceMessage = ::RegisterWindowMessageW(kInstanceMessageName);
    return g_instanceMessage;
}

BEGIN_MESSAGE_MAP(CReelwrightApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT_CMD, OnAppAbout)
ON_COMMAND(ID_HELP_TOPIC, CWinApp::OnHelpIndex)
ON_COMMAND(ID_DEFAULT_HELP, CWinApp::OnHelpIndex)
ON_COMMAND(ID_HELP_CMD, CWinApp::OnHelp)
ON_COMMAND(ID_CONTEXT_HELP_CMD, CWinApp::OnContextHelp)
END_MESSAGE_MAP()

CReelwrightApp::CReelwrightApp() : m_mutex(nullptr), m_firstInstance(false)
{
    g_reelwrightApp = this;
}

CReelwrightApp::~CReelwrightApp()
{
    if (g_reelwrightApp == this)
        g_reelwrightApp = nullptr;
}

CReelwrightApp* CReelwrightApp::Get()
{
    return g_reelwrightApp;
}

void CReelwrightApp::WinHelp(DWORD_PTR data, UINT)
{
    CWinApp::WinHelp(data, HELP_FINDER);
}

void CReelwrightApp::OnAppAbout()
{
    CAboutDlg about(m_pMainWnd);
    about.DoModal();
}

BOOL CReelwrightApp::InitInstance()
{
    if (m_programDir.IsEmpty())
        m_programDir = GetAppDir();
    SetLogFolder(m_programDir);
    InstanceMessage();
    m_mutex = ::CreateMutexW(nullptr, FALSE, kInstanceMutexName);
    if (!m_mutex || ::GetLastError() == ERROR_ALREADY_EXISTS)
    {
        HWND found = nullptr;
        ::EnumWindows(FindRunningInstance, LPARAM(&found));
        if (found)
            ::SendMessageW(found, WM_RW_COME_TO_FRONT, 0, 0);
        if (m_mutex)
            ::CloseHandle(m_mutex);
        m_mutex = nullptr;
        return FALSE;
    }
    m_firstInstance = true;

    WriteLog(L"%s\n", (LPCWSTR)CString(L'/', kBannerWidth));
    WriteLog(L"// Reelwright started on %s!\n", (LPCWSTR)FormatLogDate(INT64(time(nullptr))));
    srand(unsigned(time(nullptr)));
    setlocale(LC_ALL, "");
    INITCOMMONCONTROLSEX controls = {sizeof controls, 0xFF};
    ::InitCommonControlsEx(&controls);
    ::CoInitialize(nullptr);
    g_menuLocaliser = static_cast<MenuLocaliser>(LocaliseMenu);
    g_errorListHandler = ShowErrorListDlg;
    CWinApp::InitInstance();

    if (!do_some_init())
    {
        WriteLog(L"do_some_init failed!\n");
        return FALSE;
    }
    if (!create_main_frame())
    {
        WriteLog(L"create_main_frame failed!\n");
        return FALSE;
    }
    if (m_update.IsCheckDue())
        m_update.StartCheck();
    SetEngineLogWindow(m_pMainWnd->GetSafeHwnd());
    g_engineLogSink = EngineLogCallback;
    return TRUE;
}

bool CReelwrightApp::do_some_init()
{
    m_update.m_programDir = m_programDir;
    SetDefaultSettings(m_settings, m_programDir);
    ApplySettings(m_settings, m_update);
    if (!LoadSettings(m_settings, m_update, m_programDir))
        save_config();

    CWVPSkinManager* skins = WVPSkinManager();
    skins->GetMetrics()->RefreshMetrics();
    skins->SetApplyOptions(kSkinApplyOptions);
    skins->GetResourceFile()->m_hCallerModule = AfxGetResourceHandle();
    for (const SkinChoice& skin : kSkins)
        if (m_settings.skinstyle == skin.setting && skin.resource)
            WVPSkinLoadFromResources(AfxGetResourceHandle(), skin.resource);

    g_backgroundConversion = m_settings.background ? 1 : 0;
    m_iniPath = m_programDir + L"Reelwright.ini";
    LangMgr::ScanLanguages(m_programDir + L"lang\\");
    LangMgr::SelectLanguage(m_settings.language);

    if (m_commandLine.IsEmpty())
        m_commandLine = ::GetCommandLineW();
    if (m_update.ParseCommandLine(m_commandLine))
        save_config();
    else if (m_update.ApplyPendingUpdate())
        return false;

    LoadProfiles(m_categories, m_programDir + L"profiles");
    if (!FindProfileByName(m_categories, m_settings.param_sel, m_currentProfile) &&
        !GetProfileAt(0, 0, m_categories, m_currentProfile))
    {
        g_appMessage(LangMgr::GetText(L"app_load_failed"));
        return false;
    }
    return true;
}

bool CReelwrightApp::create_main_frame()
{
    CMainFrame* frame = new CMainFrame();
    m_pMainWnd = frame;
    if (!frame->LoadFrame(IDR_MAINFRAME, kFrameStyle, nullptr, nullptr))
    {
        // A frame whose window was never made is not deleted by its window's end.
        if (!frame->m_hWnd)
            delete frame;
        m_pMainWnd = nullptr;
        return false;
    }
    frame->ModifyStyleEx(WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE, 0, SWP_FRAMECHANGED);
    RestoreWindowPlacement();
    frame->UpdateWindow();
    return true;
}

bool CReelwrightApp::RestoreWindowPlacement()
{
    CWnd* frame = m_pMainWnd;
    if (!frame || !frame->m_hWnd)
        return false;
    RECT work = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ::InflateRect(&work, -kWorkAreaMargin, -kWorkAreaMargin);
    const RECT& saved = m_settings.mainwndpos;
    RECT overlap = {};
    if (::IsRectEmpty(&saved) || !::IntersectRect(&overlap, &saved, &work))
    {
        frame->SetWindowPos(nullptr, 0, 0, kDefaultWidth, kDefaultHeight, SWP_NOMOVE | SWP_NOZORDER);
        frame->CenterWindow();
    }
    else
        frame->SetWindowPos(nullptr, saved.left, saved.top, saved.right - saved.left, saved.bottom - saved.top,
                            SWP_NOZORDER);
    frame->ShowWindow(m_settings.mainwndstate == 1 ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    return true;
}

bool CReelwrightApp::save_config()
{
    if (SaveSettings(m_settings, m_update, m_programDir))
        return true;
    WriteLog(L"save_config: the settings could not be written to %s\n", (LPCWSTR)GetSettingsPath(m_programDir));
    return false;
}

int CReelwrightApp::ExitInstance()
{
    if (!m_firstInstance)
        return CWinApp::ExitInstance();
    try
    {
        WriteLog(L"do ExitInstance!\n");
        CVideoManager::RemoveAll();
        WriteLog(L"CVideoManager remove all!\n");
        CVideoManager::DeleteTempFiles();
        g_engineLogSink = nullptr;
        SetEngineLogWindow(nullptr);
        WriteLog(L"CVideoManager DeleteTempFiles!\n");
        // A failed save is logged by save_config and shown: the user's changes are lost.
        if (!save_config())
            g_appMessage(LangMgr::GetText(L"err_save_settings"));
        WriteLog(L"save_config!\n");
        if (m_update.m_download)
        {
            m_update.StopDownload(true);
            WriteLog(L"release download!\n");
        }
        clear_inst_all(m_categories);
        WriteLog(L"clear_inst_all!\n");
        if (m_settings.skinstyle != L"normal")
        {
            WVPSkinShutdown();
        }
        WriteLog(L"WVPSkinManager()->RemoveAll()!\n");
        if (m_mutex)
        {
            ::ReleaseMutex(m_mutex);
            ::CloseHandle(m_mutex);
            m_mutex = nullptr;
        }
        m_firstInstance = false;
        ::CoUninitialize();
        return CWinApp::ExitInstance();
    }
    catch (...)
    {
        WriteLog(L"occer exception!\n");
        return -1;
    }
}
