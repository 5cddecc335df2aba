#include "app/shell/ConfigConvertPage.h"

#include "app/core/LangMgr.h"
#include "app/shell/LangText.h"
#include "app/core/VideoManager.h"
#include "engine/Engine.h"

namespace
{
const LangTextItem kTexts[] = {
    {CConfigConvertPage::kBackgroundId, L"background"},
    {CConfigConvertPage::kAutoDeleteId, L"autodelete"},
    {CConfigConvertPage::kMaxTasksLabelId, L"maxrunningtasks"},
    {CConfigConvertPage::kPostLabelId, L"convert_post"},
};

const LPCWSTR kActionKeys[CConfigConvertPage::kActionCount] = {L"action_none", L"action_exit", L"action_shutdown"};
} // namespace

BEGIN_MESSAGE_MAP(CConfigConvertPage, CPropertyPage)
END_MESSAGE_MAP()

CConfigConvertPage::CConfigConvertPage(AppSettings* settings)
    : CPropertyPage(IDD), m_settings(settings), m_title(LangMgr::GetText(L"convert")),
      m_background(settings->background), m_autoDelete(settings->del_uncompleted)
{
    m_psp.dwFlags &= ~PSP_HASHELP;
    if (!m_title.IsEmpty())
    {
        m_psp.dwFlags |= PSP_USETITLE;
        m_psp.pszTitle = m_title;
    }
}

CConfigConvertPage::~CConfigConvertPage() = default;

void CConfigConvertPage::DoDataExchange(CDataExchange* dx)
{
    CPropertyPage::DoDataExchange(dx);
    DDX_Check(dx, kBackgroundId, m_background);
    DDX_Check(dx, kAutoDeleteId, m_autoDelete);
}

BOOL CConfigConvertPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    HWND actions = ::GetDlgItem(m_hWnd, kPostId);
    for (LPCWSTR key : kActionKeys)
        ::SendMessageW(actions, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(LangMgr::GetText(key))));
    m_background = m_settings->background;
    m_autoDelete = m_settings->del_uncompleted;
    const int action = m_settings->action_completed < 0 ? 0
                       : m_settings->action_completed >= kActionCount ? kActionCount - 1
                                                                       : m_settings->action_completed;
    ::SendMessageW(actions, CB_SETCURSEL, action, 0);
    HWND limit = ::GetDlgItem(m_hWnd, kMaxTasksId);
    for (int i = 1; i <= kMaxTaskChoices; ++i)
    {
        CString number;
        number.Format(L"%d", i);
        ::SendMessageW(limit, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(number)));
    }
    ::SendMessageW(limit, CB_SETCURSEL, g_maxTasks - 1, 0);
    SetItemLangTexts(m_hWnd, kTexts);
    UpdateData(FALSE);
    return TRUE;
}

void CConfigConvertPage::ApplyTaskLimit(int maxTasks)
{
    g_maxTasks = maxTasks;
    CVideoManager::EnforceMaxTasks();
    if (CVideoManager::CountRunning() < g_maxTasks)
        CVideoManager::Schedule(0);
}

BOOL CConfigConvertPage::OnApply()
{
    if (!UpdateData(TRUE))
        return FALSE;
    const int action = static_cast<int>(::SendDlgItemMessageW(m_hWnd, kPostId, CB_GETCURSEL, 0, 0));
    const int limit = static_cast<int>(::SendDlgItemMessageW(m_hWnd, kMaxTasksId, CB_GETCURSEL, 0, 0));
    m_settings->action_completed = action < 0 ? 0 : action;
    m_settings->background = m_background != 0;
    m_settings->del_uncompleted = m_autoDelete != 0;
    m_settings->max_tasks = limit < 0 ? g_maxTasks : limit + 1;
    g_backgroundConversion = m_settings->background ? 1 : 0;
    g_deleteUncompleted = m_settings->del_uncompleted;
    ApplyTaskLimit(m_settings->max_tasks);
    return CPropertyPage::OnApply();
}
