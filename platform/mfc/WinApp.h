// CWinApp: the program's one application object (a global). It runs on the program's first
// thread: AfxWinMain calls InitInstance, the message loop and ExitInstance, then the exit
// handlers. It also keeps the profile settings, the wait cursor and the recent-file list.
#pragma once

#include <windows.h>

#include "platform/mfc/Thread.h"

class CDocTemplate;
class CRecentFileList;
class CWnd;

// Standard command ids of the framework.
const UINT ID_APP_EXIT = 0xE141;
const UINT ID_APP_ABOUT = 0xE140;
const UINT ID_HELP_INDEX = 0xE142;
const UINT ID_HELP_FINDER = 0xE143;
const UINT ID_HELP_USING = 0xE144;
const UINT ID_CONTEXT_HELP = 0xE145;
const UINT ID_HELP = 0xE146;
const UINT ID_DEFAULT_HELP = 0xE147;
const UINT ID_FILE_MRU_FILE1 = 0xE110;
const UINT ID_FILE_MRU_FIRST = 0xE110;
const UINT ID_FILE_MRU_LAST = 0xE11F;
const UINT AFX_IDS_IDLEMESSAGE = 0xE001;
const UINT AFX_IDS_HELPMODEMESSAGE = 0xE002;
const UINT AFX_IDS_APP_TITLE = 0xE000;

class CWinApp : public CWinThread
{
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCWSTR appName = nullptr);
    virtual ~CWinApp();

    HINSTANCE m_hInstance;
    HINSTANCE m_hPrevInstance;
    LPWSTR m_lpCmdLine;
    int m_nCmdShow;
    LPCWSTR m_pszAppName;       // from the constructor, else the title string resource, else the file name
    LPCWSTR m_pszExeName;       // the program file name without extension
    LPCWSTR m_pszHelpFilePath;
    LPCWSTR m_pszProfileName;   // the INI file, or the registry key below the company key
    LPCWSTR m_pszRegistryKey;   // the company key under HKCU\Software, null for INI files
    CRecentFileList* m_pRecentFileList;
    int m_nWaitCursorCount;
    HCURSOR m_hcurWaitCursorRestore;

    virtual BOOL InitApplication();
    virtual BOOL InitInstance();
    virtual int ExitInstance();
    virtual int Run();
    virtual BOOL OnIdle(LONG count);
    virtual void DoWaitCursor(int code); // 1 begin, -1 end, 0 restore
    virtual int DoMessageBox(LPCWSTR prompt, UINT type, UINT helpId);
    virtual void WinHelp(DWORD_PTR data, UINT command = HELP_CONTEXT);
    virtual void AddToRecentFileList(LPCWSTR pathName);
    virtual BOOL SaveAllModified() { return TRUE; }

    // Profile settings: the registry under m_pszRegistryKey when set, else the INI file.
    void SetRegistryKey(LPCWSTR key);
    void SetRegistryKey(UINT id);
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(LPCWSTR section);
    UINT GetProfileInt(LPCWSTR section, LPCWSTR entry, int defaultValue);
    BOOL WriteProfileInt(LPCWSTR section, LPCWSTR entry, int value);
    CString GetProfileString(LPCWSTR section, LPCWSTR entry, LPCWSTR defaultValue = nullptr);
    BOOL WriteProfileString(LPCWSTR section, LPCWSTR entry, LPCWSTR value);
    BOOL GetProfileBinary(LPCWSTR section, LPCWSTR entry, LPBYTE* data, UINT* bytes);
    BOOL WriteProfileBinary(LPCWSTR section, LPCWSTR entry, LPBYTE data, UINT bytes);
    void LoadStdProfileSettings(UINT maxRecentFiles = 4);

    // The application's document templates, in the order added. The application owns them and
    // deletes them when it goes; a template added twice is kept once.
    void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    // The template at the position, which moves on to the next one (null after the last).
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const;

    HICON LoadIcon(LPCWSTR name) const;
    HICON LoadIcon(UINT id) const { return LoadIcon(MAKEINTRESOURCEW(id)); }
    HICON LoadStandardIcon(LPCWSTR name) const { return ::LoadIconW(nullptr, name); }
    HCURSOR LoadCursor(LPCWSTR name) const;
    HCURSOR LoadCursor(UINT id) const { return LoadCursor(MAKEINTRESOURCEW(id)); }
    HCURSOR LoadStandardCursor(LPCWSTR name) const { return ::LoadCursorW(nullptr, name); }

    afx_msg void OnAppExit();
    afx_msg void OnHelp();
    afx_msg void OnHelpIndex();
    afx_msg void OnHelpFinder();
    afx_msg void OnHelpUsing();
    afx_msg void OnContextHelp();
    afx_msg BOOL OnOpenRecentFile(UINT id);

protected:
    DECLARE_MESSAGE_MAP()
};

CWinApp* AFXAPI AfxGetApp();
CWnd* AFXAPI AfxGetMainWnd();
// Binds the application object to this process and thread; AfxWinMain calls it first.
BOOL AFXAPI AfxWinInit(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);
// The framework's entry: runs the application object and the exit handlers.
int AFXAPI AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);
// Ends the application's binding (the temporary objects and the thread state of the first thread).
void AFXAPI AfxWinTerm();
// The module that holds a resource: the resource module, else the program.
HINSTANCE AFXAPI AfxFindResourceHandle(LPCWSTR name, LPCWSTR type);
int AFXAPI AfxMessageBox(LPCWSTR text, UINT type = MB_OK, UINT helpId = 0);
int AFXAPI AfxMessageBox(UINT textId, UINT type = MB_OK, UINT helpId = (UINT)-1);
// Duplicates a text with malloc (released with free), as the application's profile fields expect.
LPWSTR AFXAPI AfxStrDup(LPCWSTR text);
void AFXAPI AfxEnableControlContainer();

// The module's current instance and resource handles, as framework code reads them.
struct AFX_MODULE_STATE
{
    CWinApp* m_pCurrentWinApp;
    HINSTANCE m_hCurrentInstanceHandle;
    HINSTANCE m_hCurrentResourceHandle;
    LPCWSTR m_lpszCurrentAppName;
};
AFX_MODULE_STATE* AFXAPI AfxGetModuleState();
