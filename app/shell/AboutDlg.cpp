#include "app/shell/AboutDlg.h"

#include "app/core/LangMgr.h"
#include "app/core/UpdateManager.h"
#include "app/shell/LangText.h"

namespace
{
const WCHAR kProgramVersion[] = L"5.0.0.8";
const int kFullOpacity = 100;
const int kAlphaScale = 255;

const LangTextItem kTexts[] = {
    {CAboutDlg::kProductId, L"product_name"},
    {CAboutDlg::kCopyrightId, L"about_copyriht"},
    {CAboutDlg::kRightId, L"about_right"},
    {IDOK, L"idok"},
};

CAboutDlg::AlphaFunction LookUpAlphaFunction()
{
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<CAboutDlg::AlphaFunction>(::GetProcAddress(user32, "SetLayeredWindowAttributes"))
                  : nullptr;
}
} // namespace

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
ON_WM_TIMER()
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg(CWnd* parent)
    : CDialog(IDD, parent), m_setAlpha(LookUpAlphaFunction()), m_fadeArmed(true), m_opacity(0)
{
}

CAboutDlg::~CAboutDlg() = default;

CString CAboutDlg::CurrentVersion()
{
    UpdateManager* manager = UpdateManager::Get();
    return manager && !manager->m_curVersion.IsEmpty() ? manager->m_curVersion : CString(kProgramVersion);
}

void CAboutDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, kWebLinkId, m_webLink);
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    // The link's text and address; it is sized to its text as it takes them.
    const CString url = LangMgr::GetText(L"web_url");
    m_webLink.SetWindowText(url);
    m_webLink.SetURL(url);
    m_webLink.SetUnderline(TRUE);
    CString version;
    version.Format(L"%s %s", static_cast<LPCWSTR>(LangMgr::GetText(L"version")),
                   static_cast<LPCWSTR>(CurrentVersion()));
    ::SetDlgItemTextW(m_hWnd, kVersionId, version);
    SetItemLangTexts(m_hWnd, kTexts);
    SetWindowLangText(m_hWnd, L"about_dlgtitle");
    return TRUE;
}

void CAboutDlg::StartFade()
{
    if (!m_fadeArmed)
        return;
    m_fadeArmed = false;
    m_opacity = kFullOpacity;
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    ::SetTimer(m_hWnd, kFadeTimer, kFadeStepMs, nullptr);
}

void CAboutDlg::OnOK()
{
    StartFade();
}

void CAboutDlg::OnCancel()
{
    StartFade();
}

void CAboutDlg::OnTimer(UINT_PTR id)
{
    if (id == kFadeTimer && !m_fadeArmed && m_opacity > 0)
    {
        m_opacity -= kFadeStep;
        if (m_opacity > 0)
        {
            if (m_setAlpha)
                m_setAlpha(m_hWnd, 0, static_cast<BYTE>(m_opacity * kAlphaScale / kFullOpacity), LWA_ALPHA);
        }
        else
        {
            ::KillTimer(m_hWnd, kFadeTimer);
            EndDialog(IDOK);
        }
    }
    CDialog::OnTimer(id);
}
