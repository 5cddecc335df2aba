#include "platform/mfc/WinApp.h"

#include <map>
#include <memory>
#include <new>

#include "platform/mfc/DocTemplate.h"
#include "platform/mfc/ExitSequence.h"
#include "platform/mfc/List.h"
#include "platform/mfc/RecentFileList.h"
#include "platform/mfc/ThreadState.h"
#include "platform/mfc/Wnd.h"

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
ON_COMMAND(ID_HELP, OnHelp)
ON_COMMAND(ID_HELP_INDEX, OnHelpIndex)
ON_COMMAND(ID_HELP_FINDER, OnHelpFinder)
ON_COMMAND(ID_HELP_USING, OnHelpUsing)
ON_COMMAND(ID_CONTEXT_HELP, OnContextHelp)
ON_COMMAND_EX_RANGE(ID_FILE_MRU_FIRST, ID_FILE_MRU_LAST, OnOpenRecentFile)
END_MESSAGE_MAP()

namespace
{
CWinApp* g_app = nullptr;

void FreeText(LPCWSTR& text)
{
    free(const_cast<LPWSTR>(text));
    text = nullptr;
}
} // namespace

LPWSTR AFXAPI AfxStrDup(LPCWSTR text)
{
    if (!text)
        return nullptr;
    size_t bytes = ((size_t)::lstrlenW(text) + 1) * sizeof(wchar_t);
    LPWSTR copy = static_cast<LPWSTR>(malloc(bytes));
    if (copy)
        memcpy(copy, text, bytes);
    return copy;
}

CWinApp* AFXAPI AfxGetApp()
{
    return g_app;
}

CWnd* AFXAPI AfxGetMainWnd()
{
    CWinThread* thread = AfxGetThread();
    return thread ? thread->GetMainWnd() : nullptr;
}

AFX_MODULE_STATE* AFXAPI AfxGetModuleState()
{
    static thread_local AFX_MODULE_STATE state;
    state.m_pCurrentWinApp = g_app;
    state.m_hCurrentInstanceHandle = AfxGetInstanceHandle();
    state.m_hCurrentResourceHandle = AfxGetResourceHandle();
    state.m_lpszCurrentAppName = g_app ? g_app->m_pszAppName : nullptr;
    return &state;
}

HINSTANCE AFXAPI AfxFindResourceHandle(LPCWSTR name, LPCWSTR type)
{
    HINSTANCE resources = AfxGetResourceHandle();
    if (resources && ::FindResourceW(resources, name, type))
        return resources;
    return AfxGetInstanceHandle();
}

void AFXAPI AfxEnableControlContainer()
{
    // Controls are hosted without a container object on this platform; COM is started here so
    // that hosts can create them.
    static bool started = false;
    if (!started)
        started = SUCCEEDED(::OleInitialize(nullptr));
}

int AFXAPI AfxMessageBox(LPCWSTR text, UINT type, UINT helpId)
{
    CWinApp* app = AfxGetApp();
    if (app)
        return app->DoMessageBox(text, type, helpId);
    return ::MessageBoxW(nullptr, text, L"", type);
}

int AFXAPI AfxMessageBox(UINT textId, UINT type, UINT helpId)
{
    CString text;
    text.LoadString(textId);
    return AfxMessageBox(text, type, helpId == (UINT)-1 ? textId : helpId);
}

BOOL AFXAPI AfxWinInit(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show)
{
    AfxStartWindowLayer();
    AfxSetInstanceHandle(instance);
    std::set_new_handler(AfxNewHandler);
    CWinApp* app = AfxGetApp();
    if (!app)
        return TRUE;
    app->m_hInstance = instance;
    app->m_hPrevInstance = previous;
    app->m_lpCmdLine = commandLine;
    app->m_nCmdShow = show;
    app->m_hThread = nullptr;
    app->m_nThreadID = ::GetCurrentThreadId();
    AfxSetThread(app);

    // Names the application did not give: the title string resource, then the file name.
    wchar_t path[MAX_PATH] = {0};
    ::GetModuleFileNameW(instance, path, MAX_PATH);
    LPWSTR name = path;
    for (LPWSTR p = path; *p; ++p)
    {
        if (*p == L'\\' || *p == L'/')
            name = p + 1;
    }
    for (LPWSTR p = name + ::lstrlenW(name); p > name; --p)
    {
        if (*p == L'.')
        {
            *p = 0;
            break;
        }
    }
    if (!app->m_pszExeName)
        app->m_pszExeName = AfxStrDup(name);
    if (!app->m_pszAppName)
    {
        CString title;
        if (title.LoadString(AFX_IDS_APP_TITLE) && !title.IsEmpty())
            app->m_pszAppName = AfxStrDup(title);
        else
            app->m_pszAppName = AfxStrDup(app->m_pszExeName);
    }
    if (!app->m_pszProfileName)
    {
        CString ini = app->m_pszExeName;
        ini += L".INI";
        app->m_pszProfileName = AfxStrDup(ini);
    }
    return TRUE;
}

void AFXAPI AfxWinTerm()
{
    AfxTermThreadState();
}

int AFXAPI AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show)
{
    int result = -1;
    try
    {
        CWinApp* app = AfxGetApp();
        if (AfxWinInit(instance, previous, commandLine, show) && app && app->InitApplication())
        {
            if (!app->InitInstance())
            {
                // A failed start still shuts down: the main window goes, ExitInstance runs once.
                if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd)
                    app->m_pMainWnd->DestroyWindow();
                result = app->ExitInstance();
            }
            else
            {
                result = app->Run();
            }
        }
    }
    catch (CException* e)
    {
        ::OutputDebugStringA("Reelwright: the application ended by an exception\n");
        e->Delete();
    }
    catch (...)
    {
        ::OutputDebugStringA("Reelwright: the application ended by an exception\n");
    }
    AfxWinTerm();
    // Process-wide objects shut down while Wine's DLLs are still there.
    AfxRunExitHandlers();
    return result;
}

namespace
{
// The document templates of each application object, kept beside the object.
std::map<const CWinApp*, std::unique_ptr<CPtrList>>& TemplateLists()
{
    static auto* lists = new std::map<const CWinApp*, std::unique_ptr<CPtrList>>;
    return *lists;
}

CPtrList& DocTemplates(const CWinApp* app)
{
    std::unique_ptr<CPtrList>& list = TemplateLists()[app];
    if (!list)
        list.reset(new CPtrList);
    return *list;
}

// Memory only: the application's destructor runs as a static destructor.
void DeleteDocTemplates(const CWinApp* app)
{
    auto it = TemplateLists().find(app);
    if (it == TemplateLists().end())
        return;
    while (!it->second->IsEmpty())
        delete static_cast<CDocTemplate*>(it->second->RemoveHead());
    TemplateLists().erase(it);
}
} // namespace

CWinApp::CWinApp(LPCWSTR appName)
    : m_hInstance(nullptr), m_hPrevInstance(nullptr), m_lpCmdLine(nullptr), m_nCmdShow(SW_SHOWNORMAL),
      m_pszAppName(AfxStrDup(appName)), m_pszExeName(nullptr), m_pszHelpFilePath(nullptr), m_pszProfileName(nullptr),
      m_pszRegistryKey(nullptr), m_pRecentFileList(nullptr), m_nWaitCursorCount(0), m_hcurWaitCursorRestore(nullptr)
{
    g_app = this;
    m_bAutoDelete = FALSE;
    // The application runs on the thread that builds it (the program's first thread); its
    // thread handle is the pseudo handle, which is never closed.
    m_hThread = nullptr;
    m_nThreadID = ::GetCurrentThreadId();
    AfxSetThread(this);
}

CWinApp::~CWinApp()
{
    // Runs as a static destructor: memory only, no Win32 calls.
    DeleteDocTemplates(this);
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    FreeText(m_pszAppName);
    FreeText(m_pszExeName);
    FreeText(m_pszHelpFilePath);
    FreeText(m_pszProfileName);
    FreeText(m_pszRegistryKey);
    m_hThread = nullptr;
    if (g_app == this)
        g_app = nullptr;
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    CPtrList& list = DocTemplates(this);
    if (pTemplate && !list.Find(pTemplate))
        list.AddTail(pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const
{
    return DocTemplates(this).GetHeadPosition();
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const
{
    return pos ? static_cast<CDocTemplate*>(DocTemplates(this).GetNext(pos)) : nullptr;
}

BOOL CWinApp::InitApplication()
{
    return TRUE;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    if (m_pRecentFileList)
        m_pRecentFileList->WriteList();
    return CWinThread::ExitInstance();
}

int CWinApp::Run()
{
    if (!m_pMainWnd)
        ::PostQuitMessage(0); // no window would ever end the loop
    return CWinThread::Run();
}

BOOL CWinApp::OnIdle(LONG count)
{
    return CWinThread::OnIdle(count);
}

void CWinApp::DoWaitCursor(int code)
{
    m_nWaitCursorCount += code;
    if (m_nWaitCursorCount > 0)
    {
        HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, (LPCWSTR)IDC_WAIT));
        if (code > 0 && m_nWaitCursorCount == 1)
            m_hcurWaitCursorRestore = previous;
    }
    else
    {
        m_nWaitCursorCount = 0;
        ::SetCursor(m_hcurWaitCursorRestore);
    }
}

int CWinApp::DoMessageBox(LPCWSTR prompt, UINT type, UINT)
{
    HWND owner = nullptr;
    CWnd* main = AfxGetMainWnd();
    if (main && main->m_hWnd && ::IsWindowEnabled(main->m_hWnd))
        owner = ::GetLastActivePopup(main->m_hWnd);
    return ::MessageBoxW(owner, prompt, m_pszAppName ? m_pszAppName : L"", type);
}

void CWinApp::WinHelp(DWORD_PTR, UINT)
{
    // No help system ships with the program.
}

void CWinApp::AddToRecentFileList(LPCWSTR pathName)
{
    if (m_pRecentFileList)
        m_pRecentFileList->Add(pathName);
}

void CWinApp::LoadStdProfileSettings(UINT maxRecentFiles)
{
    if (maxRecentFiles == 0)
        return;
    delete m_pRecentFileList;
    m_pRecentFileList = new CRecentFileList(0, L"Recent File List", L"File%d", (int)maxRecentFiles);
    m_pRecentFileList->ReadList();
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd && m_pMainWnd->m_hWnd)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::OnHelp()
{
    WinHelp(0, HELP_CONTENTS);
}

void CWinApp::OnHelpIndex()
{
    WinHelp(0, HELP_INDEX);
}

void CWinApp::OnHelpFinder()
{
    WinHelp(0, HELP_FINDER);
}

void CWinApp::OnHelpUsing()
{
    WinHelp(0, HELP_HELPONHELP);
}

void CWinApp::OnContextHelp()
{
}

BOOL CWinApp::OnOpenRecentFile(UINT)
{
    // The program opens no documents; the command is taken so that it is not routed further.
    return TRUE;
}

HICON CWinApp::LoadIcon(LPCWSTR name) const
{
    return ::LoadIconW(AfxFindResourceHandle(name, (LPCWSTR)RT_GROUP_ICON), name);
}

HCURSOR CWinApp::LoadCursor(LPCWSTR name) const
{
    return ::LoadCursorW(AfxFindResourceHandle(name, (LPCWSTR)RT_GROUP_CURSOR), name);
}

// ---------------------------------------------------------------------------------------------
// Profile settings

void CWinApp::SetRegistryKey(LPCWSTR key)
{
    FreeText(m_pszRegistryKey);
    m_pszRegistryKey = AfxStrDup(key);
    // The profile name becomes the application's key below the company key.
    FreeText(m_pszProfileName);
    m_pszProfileName = AfxStrDup(m_pszAppName ? m_pszAppName : L"");
}

void CWinApp::SetRegistryKey(UINT id)
{
    CString key;
    key.LoadString(id);
    SetRegistryKey(key);
}

HKEY CWinApp::GetAppRegistryKey()
{
    if (!m_pszRegistryKey || !m_pszProfileName)
        return nullptr;
    HKEY software = nullptr;
    HKEY company = nullptr;
    HKEY app = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_WRITE | KEY_READ, &software) == ERROR_SUCCESS)
    {
        DWORD disposition = 0;
        if (::RegCreateKeyExW(software, m_pszRegistryKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ,
                              nullptr, &company, &disposition) == ERROR_SUCCESS)
        {
            ::RegCreateKeyExW(company, m_pszProfileName, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ,
                              nullptr, &app, &disposition);
        }
    }
    if (software)
        ::RegCloseKey(software);
    if (company)
        ::RegCloseKey(company);
    return app;
}

HKEY CWinApp::GetSectionKey(LPCWSTR section)
{
    HKEY app = GetAppRegistryKey();
    if (!app)
        return nullptr;
    HKEY key = nullptr;
    DWORD disposition = 0;
    ::RegCreateKeyExW(app, section, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ, nullptr, &key,
                      &disposition);
    ::RegCloseKey(app);
    return key;
}

UINT CWinApp::GetProfileInt(LPCWSTR section, LPCWSTR entry, int defaultValue)
{
    if (m_pszRegistryKey)
    {
        HKEY key = GetSectionKey(section);
        if (!key)
            return (UINT)defaultValue;
        DWORD value = 0;
        DWORD type = 0;
        DWORD size = sizeof(value);
        LONG status = ::RegQueryValueExW(key, entry, nullptr, &type, (LPBYTE)&value, &size);
        ::RegCloseKey(key);
        return status == ERROR_SUCCESS && type == REG_DWORD ? (UINT)value : (UINT)defaultValue;
    }
    return ::GetPrivateProfileIntW(section, entry, defaultValue, m_pszProfileName);
}

BOOL CWinApp::WriteProfileInt(LPCWSTR section, LPCWSTR entry, int value)
{
    if (m_pszRegistryKey)
    {
        HKEY key = GetSectionKey(section);
        if (!key)
            return FALSE;
        DWORD data = (DWORD)value;
        LONG status = ::RegSetValueExW(key, entry, 0, REG_DWORD, (const BYTE*)&data, sizeof(data));
        ::RegCloseKey(key);
        return status == ERROR_SUCCESS;
    }
    wchar_t text[16];
    ::wsprintfW(text, L"%d", value);
    return ::WritePrivateProfileStringW(section, entry, text, m_pszProfileName);
}

CString CWinApp::GetProfileString(LPCWSTR section, LPCWSTR entry, LPCWSTR defaultValue)
{
    if (m_pszRegistryKey)
    {
        HKEY key = GetSectionKey(section);
        if (!key)
            return CString(defaultValue);
        CString value;
        DWORD type = 0;
        DWORD size = 0;
        LONG status = ::RegQueryValueExW(key, entry, nullptr, &type, nullptr, &size);
        if (status == ERROR_SUCCESS && type == REG_SZ)
        {
            LPWSTR buffer = value.GetBufferSetLength((int)(size / sizeof(wchar_t)));
            status = ::RegQueryValueExW(key, entry, nullptr, &type, (LPBYTE)buffer, &size);
            value.ReleaseBuffer();
        }
        ::RegCloseKey(key);
        return status == ERROR_SUCCESS && type == REG_SZ ? value : CString(defaultValue);
    }
    wchar_t buffer[4096];
    ::GetPrivateProfileStringW(section, entry, defaultValue ? defaultValue : L"", buffer, 4096, m_pszProfileName);
    return CString(buffer);
}

BOOL CWinApp::WriteProfileString(LPCWSTR section, LPCWSTR entry, LPCWSTR value)
{
    if (m_pszRegistryKey)
    {
        if (!section)
            return FALSE;
        if (!entry)
        {
            // No entry: the whole section goes.
            HKEY app = GetAppRegistryKey();
            if (!app)
                return FALSE;
            LONG status = ::RegDeleteKeyW(app, section);
            ::RegCloseKey(app);
            return status == ERROR_SUCCESS;
        }
        HKEY key = GetSectionKey(section);
        if (!key)
            return FALSE;
        LONG status;
        if (!value)
            status = ::RegDeleteValueW(key, entry);
        else
            status = ::RegSetValueExW(key, entry, 0, REG_SZ, (const BYTE*)value,
                                      (DWORD)(((size_t)::lstrlenW(value) + 1) * sizeof(wchar_t)));
        ::RegCloseKey(key);
        return status == ERROR_SUCCESS;
    }
    return ::WritePrivateProfileStringW(section, entry, value, m_pszProfileName);
}

BOOL CWinApp::GetProfileBinary(LPCWSTR section, LPCWSTR entry, LPBYTE* data, UINT* bytes)
{
    *data = nullptr;
    *bytes = 0;
    if (m_pszRegistryKey)
    {
        HKEY key = GetSectionKey(section);
        if (!key)
            return FALSE;
        DWORD type = 0;
        DWORD size = 0;
        LONG status = ::RegQueryValueExW(key, entry, nullptr, &type, nullptr, &size);
        if (status == ERROR_SUCCESS && type == REG_BINARY)
        {
            *data = new BYTE[size ? size : 1];
            status = ::RegQueryValueExW(key, entry, nullptr, &type, *data, &size);
            *bytes = size;
        }
        ::RegCloseKey(key);
        if (status != ERROR_SUCCESS && *data)
        {
            delete[] * data;
            *data = nullptr;
            *bytes = 0;
        }
        return *data != nullptr;
    }
    // In INI files binary values are stored as letters 'A'..'P', one per half byte.
    CString text = GetProfileString(section, entry, nullptr);
    int length = text.GetLength();
    if (length == 0 || length % 2)
        return FALSE;
    *bytes = (UINT)(length / 2);
    *data = new BYTE[*bytes];
    for (int i = 0; i < length; i += 2)
        (*data)[i / 2] = (BYTE)(((text[i + 1] - L'A') << 4) | (text[i] - L'A'));
    return TRUE;
}

BOOL CWinApp::WriteProfileBinary(LPCWSTR section, LPCWSTR entry, LPBYTE data, UINT bytes)
{
    if (m_pszRegistryKey)
    {
        HKEY key = GetSectionKey(section);
        if (!key)
            return FALSE;
        LONG status = ::RegSetValueExW(key, entry, 0, REG_BINARY, data, bytes);
        ::RegCloseKey(key);
        return status == ERROR_SUCCESS;
    }
    CString text;
    LPWSTR buffer = text.GetBufferSetLength((int)bytes * 2);
    for (UINT i = 0; i < bytes; ++i)
    {
        buffer[i * 2] = (wchar_t)((data[i] & 0x0F) + L'A');
        buffer[i * 2 + 1] = (wchar_t)(((data[i] >> 4) & 0x0F) + L'A');
    }
    text.ReleaseBuffer((int)bytes * 2);
    return WriteProfileString(section, entry, text);
}
