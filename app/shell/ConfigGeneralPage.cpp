#include "app/shell/ConfigGeneralPage.h"

#include "app/core/Helpers.h"
#include "app/core/LangMgr.h"
#include "app/shell/LangText.h"
#include "app/shell/PreviewSession.h"

namespace
{
const LangTextItem kTexts[] = {
    {CConfigGeneralPage::kTrayId, L"mintotray"},     {CConfigGeneralPage::kAutoUpdateId, L"autoupdate"},
    {CConfigGeneralPage::kShowMenuId, L"showmenu"},  {CConfigGeneralPage::kSnapLabelId, L"snap_folder"},
    {CConfigGeneralPage::kBrowseId, L"snap_browse"}, {CConfigGeneralPage::kOpenId, L"snap_opendir"},
};
} // namespace

CConfigGeneralPage::BrowseFunction CConfigGeneralPage::s_browse = BrowseForFolder;

BEGIN_MESSAGE_MAP(CConfigGeneralPage, CPropertyPage)
ON_BN_CLICKED(CConfigGeneralPage::kBrowseId, OnBrowse)
ON_BN_CLICKED(CConfigGeneralPage::kOpenId, OnOpen)
END_MESSAGE_MAP()

CConfigGeneralPage::CConfigGeneralPage(AppSettings* settings)
    : CPropertyPage(IDD), m_settings(settings), m_title(LangMgr::GetText(L"general")), m_tray(settings->istray),
      m_autoUpdate(settings->autoupdate), m_showMenu(settings->showmenu)
{
    m_psp.dwFlags &= ~PSP_HASHELP;
    if (!m_title.IsEmpty())
    {
        m_psp.dwFlags |= PSP_USETITLE;
        m_psp.pszTitle = m_title;
    }
}

CConfigGeneralPage::~CConfigGeneralPage() = default;

void CConfigGeneralPage::DoDataExchange(CDataExchange* dx)
{
    CPropertyPage::DoDataExchange(dx);
    DDX_Check(dx, kTrayId, m_tray);
    DDX_Check(dx, kAutoUpdateId, m_autoUpdate);
    DDX_Check(dx, kShowMenuId, m_showMenu);
}

BOOL CConfigGeneralPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_tray = m_settings->istray;
    m_autoUpdate = m_settings->autoupdate;
    m_showMenu = m_settings->showmenu;
    // The pictures folder is filled in, and kept even when the dialog is cancelled.
    if (m_settings->snap_path.IsEmpty())
        m_settings->snap_path = CPreviewSession::PicturesFolder();
    ::SetDlgItemTextW(m_hWnd, kSnapPathId, m_settings->snap_path);
    SetItemLangTexts(m_hWnd, kTexts);
    UpdateData(FALSE);
    return TRUE;
}

void CConfigGeneralPage::OnBrowse()
{
    const CString folder = s_browse();
    if (!folder.IsEmpty())
        ::SetDlgItemTextW(m_hWnd, kSnapPathId, folder);
}

void CConfigGeneralPage::OnOpen()
{
    CString path;
    GetDlgItemText(kSnapPathId, path);
    if (!path.IsEmpty())
        ::ShellExecuteW(m_hWnd, L"Open", path, nullptr, nullptr, SW_SHOWNORMAL);
}

BOOL CConfigGeneralPage::OnApply()
{
    if (!UpdateData(TRUE))
        return FALSE;
    CString path;
    GetDlgItemText(kSnapPathId, path);
    if (!CPreviewSession::EnsureFolder(path))
    {
        AfxMessageBox(LangMgr::GetText(L"err_create_dir"), MB_OK);
        HWND edit = ::GetDlgItem(m_hWnd, kSnapPathId);
        ::SetFocus(edit);
        ::SendMessageW(edit, EM_SETSEL, 0, -1);
        ::SendMessageW(edit, EM_SCROLLCARET, 0, 0);
        return FALSE;
    }
    m_settings->snap_path = path;
    m_settings->autoupdate = m_autoUpdate != 0;
    m_settings->istray = m_tray != 0;
    m_settings->showmenu = m_showMenu != 0;
    return CPropertyPage::OnApply();
}
