#include "app/shell/MainWnd.h"

#include "app/core/Helpers.h"
#include "app/core/LangMgr.h"
#include "app/core/Profiles.h"
#include "app/shell/MainFrame.h"
#include "app/shell/MainPanels.h"
#include "app/shell/ParametersWnd.h"
#include "app/shell/ReelwrightApp.h"
#include "resources/resource.h"

#include <shellapi.h>

namespace
{
const WCHAR kHistorySection[] = L"OutputDir";
const WCHAR kHistoryFile[] = L"Reelwright.ini";
const WCHAR kProfilePicture[] = L"icons\\general video_16.bmp";
const int kHistoryValueLength = 1024;
const COLORREF kLinkColour = 0x000000;
const COLORREF kLinkHoverColour = 0xCC6600;
const COLORREF kIconMaskColour = RGB(255, 255, 255);
const DWORD kAlignmentBits = 0xF00;
const BYTE kUnicodeMark[] = {0xFF, 0xFE};

// The panel's labels and buttons and their language keys.
struct PanelText
{
    int id;
    const WCHAR* key;
};
const PanelText kPanelTexts[] = {
    {IDC_TARGET_LABEL, L"targettype"},
    {IDC_OUTPUT_LABEL, L"outputdir"},
    {IDC_LOG_BUTTON, L"btn_logbtn"},
    {IDC_TYPE_SUPER, L"btn_type_super"},
    {IDC_OUTPUT_BROWSE, L"btn_outputdir_browse"},
    {IDC_OUTPUT_OPEN, L"btn_outputdir_open"},
};

// Anchors as percentages of the panel's growth: top-left and bottom-right corner.
struct PanelAnchor
{
    int id;
    CResizableAnchor topLeft;
    CResizableAnchor bottomRight;
};
const CResizableAnchor kTopRight = {100, 0};
const PanelAnchor kPanelAnchors[] = {
    {IDC_PROFILE_BUTTON, kAnchorTopLeft, kTopRight}, {IDC_OUTPUT_COMBO, kAnchorTopLeft, kTopRight},
    {IDC_TYPE_SUPER, kTopRight, kTopRight},          {IDC_OUTPUT_BROWSE, kTopRight, kTopRight},
    {IDC_OUTPUT_OPEN, kTopRight, kTopRight},         {IDC_LOG_BUTTON, kAnchorBottomRight, kAnchorBottomRight},
};

CReelwrightApp* App()
{
    return CReelwrightApp::Get();
}

// "X:\..." or "\\server\share...": a relative path would land wherever the process happens to be.
bool IsFullyQualified(const CString& path)
{
    if (path.GetLength() >= 3 && path[1] == L':' && path[2] == L'\\')
        return (path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z');
    return path.GetLength() > 2 && path[0] == L'\\' && path[1] == L'\\';
}

// True when the path names a folder, after creating it and its missing parents where needed.
bool PrepareFolder(const CString& path)
{
    if (!IsFullyQualified(path))
        return false;
    if (::GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES)
        CreateDirectoryPath(path);
    return FolderExists(path);
}

// The picture of the profile button as an icon (white is transparent); null without a picture.
HICON BitmapToIcon(HBITMAP bitmap)
{
    BITMAP info = {};
    if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info) || !info.bmWidth || !info.bmHeight)
        return nullptr;
    HIMAGELIST list = ::ImageList_Create(info.bmWidth, info.bmHeight, ILC_COLOR24 | ILC_MASK, 1, 0);
    if (!list)
        return nullptr;
    HICON icon = nullptr;
    if (::ImageList_AddMasked(list, bitmap, kIconMaskColour) >= 0)
        icon = ::ImageList_GetIcon(list, 0, ILD_NORMAL);
    ::ImageList_Destroy(list);
    return icon;
}

CString DefaultBrowseForFolder()
{
    return BrowseForFolder();
}
} // namespace

std::function<void(ParametersWnd&)> CMainWnd::s_onPickerOpened;
CMainWnd::FolderDialogFunction CMainWnd::s_browseForFolder = DefaultBrowseForFolder;

BEGIN_MESSAGE_MAP(CMainWnd, CResizableDialog)
ON_BN_CLICKED(IDC_TYPE_SUPER, OnAdvanced)
ON_BN_CLICKED(IDC_OUTPUT_BROWSE, OnBrowse)
ON_BN_CLICKED(IDC_OUTPUT_OPEN, OnOpenFolder)
ON_CBN_KILLFOCUS(IDC_OUTPUT_COMBO, OnOutputFolderChanged)
// The library button's click; the button must never have BS_NOTIFY, whose BN_KILLFOCUS has the
// same code and would open the picker again whenever the button loses the focus.
ON_CONTROL(CWVPButton::kDropDownCode, IDC_PROFILE_BUTTON, OnProfileButton)
ON_MESSAGE(CMainWnd::kPickProfileMessage, OnPickProfile)
ON_BN_CLICKED(IDC_LOG_BUTTON, OnShowLog)
ON_MESSAGE(WM_RW_PANEL_RELOADTEXTS, OnPanelReloadTexts)
END_MESSAGE_MAP()

CMainWnd::CMainWnd() : CResizableDialog(IDD)
{
}

CMainWnd::~CMainWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL CMainWnd::Create(CWnd* parent)
{
    return CDialog::Create(IDD, parent);
}

CString CMainWnd::HistoryPath() const
{
    CReelwrightApp* app = App();
    if (app && !app->m_iniPath.IsEmpty())
        return app->m_iniPath;
    return (app ? app->m_programDir : GetAppDir()) + kHistoryFile;
}

void CMainWnd::DoDataExchange(CDataExchange* dx)
{
    CResizableDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_PROFILE_BUTTON, m_profileButton);
    DDX_Control(dx, IDC_OUTPUT_COMBO, m_outputCombo);
    DDX_Control(dx, IDC_WEBLINK, m_link);
    DDX_Control(dx, IDC_TYPE_SUPER, m_advancedButton);
    DDX_Control(dx, IDC_OUTPUT_BROWSE, m_browseButton);
    DDX_Control(dx, IDC_OUTPUT_OPEN, m_openButton);
}

BOOL CMainWnd::OnInitDialog()
{
    CResizableDialog::OnInitDialog();
    m_profileButton.ModifyStyle(BS_NOTIFY, 0);
    SetupLink();
    if (m_bShowGrip)
    {
        m_bShowGrip = FALSE;
        InvalidateRect(&m_rcGrip, TRUE);
    }
    for (const PanelAnchor& anchor : kPanelAnchors)
        AddAnchor(anchor.id, anchor.topLeft, anchor.bottomRight);
    ShowProfile();
    LoadOutputHistory();
    ReloadTexts();
    return TRUE;
}

void CMainWnd::OnOK()
{
}

void CMainWnd::OnCancel()
{
}

void CMainWnd::ReloadTexts()
{
    for (const PanelText& text : kPanelTexts)
    {
        const CString translated = LangMgr::GetText(text.key);
        if (!translated.IsEmpty())
            ::SetDlgItemTextW(m_hWnd, text.id, translated);
    }
    SetupLink();
    // The profile's name is translated too.
    ShowProfile();
}

LRESULT CMainWnd::OnPanelReloadTexts(WPARAM, LPARAM)
{
    ReloadTexts();
    return 0;
}

void CMainWnd::SetupLink()
{
    if (!m_link.m_hWnd)
        return;
    const CString text = LangMgr::GetText(L"link_visit");
    if (!text.IsEmpty())
        m_link.SetWindowText(text);
    m_link.SetURL(LangMgr::GetText(L"web_url"));
    m_link.m_crLinkColour = kLinkColour;
    m_link.m_crHoverColour = kLinkHoverColour;
    m_link.Invalidate(TRUE);
    Invalidate(TRUE);
}

void CMainWnd::ShowProfile()
{
    CReelwrightApp* app = App();
    if (!app || !m_profileButton.m_hWnd)
        return;
    HBITMAP picture =
        static_cast<HBITMAP>(::LoadImageW(nullptr, GetAppDir() + kProfilePicture, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    HICON icon = BitmapToIcon(picture);
    if (picture)
        ::DeleteObject(picture);
    if (icon)
    {
        m_profileButton.SetIcon(CSize(0, 0), icon, nullptr, TRUE);
        ::DestroyIcon(icon);
    }
    const ConvertSetting& profile = app->m_currentProfile;
    CString text;
    text.Format(L"%s(*.%s)", static_cast<LPCWSTR>(LangMgr::GetNameText(profile.m_name)),
                static_cast<LPCWSTR>(profile.m_extension));
    m_profileButton.SetWindowText(text);

    m_profileButton.m_nPushButtonStyle = CWVPButton::pushDropDown;
    m_profileButton.m_bShowFocus = FALSE;
    m_profileButton.m_dwImageAlignment = BS_LEFT | BS_VCENTER;
    const DWORD style = m_profileButton.GetStyle();
    ::SetWindowLongW(m_profileButton.m_hWnd, GWL_STYLE, LONG((style & ~kAlignmentBits) | BS_LEFT | BS_VCENTER));
    m_profileButton.m_nImageTextRelation = CWVPButton::relationImageBeforeText;
    m_profileButton.Invalidate(FALSE);
}

void CMainWnd::LoadOutputHistory()
{
    const CString path = HistoryPath();
    for (int i = 0; i < kHistorySize; i++)
    {
        WCHAR key[2] = {WCHAR(L'0' + i), 0};
        CString value;
        ::GetPrivateProfileStringW(kHistorySection, key, L"", value.GetBuffer(kHistoryValueLength), kHistoryValueLength,
                                   path);
        value.ReleaseBuffer();
        if (value.IsEmpty())
            break;
        if (m_outputCombo.FindStringExact(-1, value) != CB_ERR)
            continue;
        if (FolderExists(value))
            m_outputCombo.AddString(value);
    }
    CReelwrightApp* app = App();
    if (m_outputCombo.GetCount() == 0)
        m_outputCombo.AddString(GetDefaultMediaFolder(app ? app->m_programDir : GetAppDir()));
    m_outputCombo.SetCurSel(0);
    CString text;
    m_outputCombo.GetWindowText(text);
    if (app && text != app->m_settings.output_path)
        app->m_settings.output_path = text;
}

bool CMainWnd::CommitOutputFolder(CString* folder)
{
    CString text;
    m_outputCombo.GetWindowText(text);
    text.Trim();
    if (!PrepareFolder(text))
    {
        // Neither the settings nor the history take a text that names no folder.
        g_appMessage(LangMgr::GetText(L"err_create_dir"));
        m_outputCombo.SetCurSel(0);
        return false;
    }
    if (CReelwrightApp* app = App())
        app->m_settings.output_path = text;
    const int existing = m_outputCombo.FindStringExact(-1, text);
    if (existing != CB_ERR)
        m_outputCombo.DeleteString(UINT(existing));
    m_outputCombo.InsertString(0, text);
    m_outputCombo.SetCurSel(0);
    SaveOutputHistory();
    if (folder)
        *folder = text;
    return true;
}

void CMainWnd::SaveOutputHistory()
{
    const CString path = HistoryPath();
    // A new file starts as UTF-16, so that folders named in any script survive.
    HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
    {
        DWORD written = 0;
        ::WriteFile(file, kUnicodeMark, sizeof kUnicodeMark, &written, nullptr);
        ::CloseHandle(file);
    }
    const int count = m_outputCombo.GetCount();
    for (int i = 0; i < kHistorySize; i++)
    {
        WCHAR key[2] = {WCHAR(L'0' + i), 0};
        CString value;
        if (i < count)
            m_outputCombo.GetLBText(i, value);
        ::WritePrivateProfileStringW(kHistorySection, key, value, path);
    }
}

CString CMainWnd::GetOutputFolder()
{
    CString folder;
    return CommitOutputFolder(&folder) ? folder : CString();
}

void CMainWnd::OnOutputFolderChanged()
{
    // The window closing (or going to the tray) takes the focus away too: no message then; the
    // text is checked again when a conversion starts.
    if (::IsWindowVisible(m_hWnd))
        CommitOutputFolder(nullptr);
}

void CMainWnd::OnAdvanced()
{
}

void CMainWnd::OnBrowse()
{
    const CString folder = s_browseForFolder ? s_browseForFolder() : CString();
    if (folder.IsEmpty())
        return;
    // Committed when the combo box loses the focus (or when a conversion starts).
    m_outputCombo.SetWindowText(folder);
    m_outputCombo.SetFocus();
}

void CMainWnd::OnOpenFolder()
{
    CString text;
    m_outputCombo.GetWindowText(text);
    text.Trim();
    // Only a folder is opened: the shell would run a program named here.
    if (FolderExists(text))
        ::ShellExecuteW(m_hWnd, L"Open", text, nullptr, nullptr, SW_SHOWNORMAL);
}

void CMainWnd::OnShowLog()
{
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(kShowLogMessage, 1, 0);
}

void CMainWnd::OnProfileButton()
{
    // The button is still inside its own click handling: the picker runs once that is over.
    PostMessage(kPickProfileMessage, 0, 0);
}

LRESULT CMainWnd::OnPickProfile(WPARAM, LPARAM)
{
    CReelwrightApp* app = App();
    if (!app || !m_profileButton.m_hWnd)
        return 0;
    CRect button;
    m_profileButton.GetWindowRect(&button);
    const int width = button.Width() > kPickerMinWidth ? button.Width() : kPickerMinWidth;

    ParametersWnd picker(app->m_categories);
    int category = 0, profile = 0;
    if (LocateProfileByName(app->m_categories, app->m_settings.param_sel, &category, &profile))
    {
        picker.m_nCategory = category;
        picker.m_nProfile = profile;
    }
    picker.m_onOpened = s_onPickerOpened;
    const HWND self = m_hWnd;
    if (picker.Popup(button.left, button.top - ParametersWnd::kHeight, width) != 0)
        return 0;
    // The program may have ended while the picker ran: then this panel is gone.
    if (picker.QuitReceived() || !::IsWindow(self) || CReelwrightApp::Get() != app)
        return 0;
    // Only a click or Enter on a profile chooses; closing the picker changes nothing.
    ConvertSetting chosen;
    if (!picker.WasChosen() || picker.m_nCategory < 0 ||
        !GetProfileAt(picker.m_nProfile, picker.m_nCategory, app->m_categories, chosen))
        return 0;
    if (CMainFrame* frame = dynamic_cast<CMainFrame*>(GetParent()))
        frame->ApplyProfileToSelected(chosen);
    app->m_currentProfile.CopyFrom(chosen);
    app->m_settings.param_sel = chosen.m_name;
    ShowProfile();
    return 0;
}
