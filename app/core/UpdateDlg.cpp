#include "app/core/UpdateDlg.h"

#include "app/core/LangMgr.h"
#include "app/core/UpdateManager.h"

#include <commctrl.h>

namespace
{
const int kNotesCapacity = 4096;
const WCHAR kLineBreak[] = L"\r\n";
const WCHAR kTabText[] = L"    ";

struct StateDisplay
{
    int state;
    const WCHAR* key;
};

// The text of each state; state 2 (found) shows nothing of its own.
const StateDisplay kStateDisplays[] = {
    {kUpdateIdle, L"update_menual_wait"}, {kUpdateChecking, L"update_check"},    {kUpdateRestart, L"update_restart"},
    {kUpdateNewest, L"update_newest"},    {kUpdateAborted, L"update_err_abort"}, {kUpdateError, L"update_err"},
    {kUpdateNetError, L"update_net"},
};
} // namespace

BEGIN_MESSAGE_MAP(UpdateDlg, CDialog)
ON_WM_TIMER()
ON_WM_DESTROY()
ON_BN_CLICKED(IDC_UPDATE_CHECK, OnCheckNow)
ON_BN_CLICKED(IDC_UPDATE_ABORT, OnAbort)
END_MESSAGE_MAP()

UpdateDlg::UpdateDlg(CWnd* parent) : CDialog(IDD, parent), m_lastState(-1)
{
}

BOOL UpdateDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(LangMgr::GetText(L"update_title"));
    SetDlgItemText(IDC_UPDATE_CHECK, LangMgr::GetText(L"update_btn_check"));
    SetDlgItemText(IDC_UPDATE_ABORT, LangMgr::GetText(L"update_btn_ignore"));
    SetDlgItemText(IDCANCEL, LangMgr::GetText(L"idclose"));
    HWND progress = ::GetDlgItem(m_hWnd, IDC_UPDATE_PROGRESS);
    ::SendMessageW(progress, PBM_SETRANGE32, 0, 100);
    ::SendMessageW(progress, PBM_SETPOS, 0, 0);
    ::ShowWindow(progress, SW_HIDE);
    ShowState();
    SetTimer(kStateTimer, kStateTimerMs);
    return TRUE;
}

void UpdateDlg::ShowControls(BOOL progress, BOOL check, BOOL abort)
{
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_UPDATE_PROGRESS), progress ? SW_SHOW : SW_HIDE);
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_UPDATE_CHECK), check ? SW_SHOW : SW_HIDE);
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_UPDATE_ABORT), abort ? SW_SHOW : SW_HIDE);
}

void UpdateDlg::ShowState()
{
    const UpdateManager* manager = UpdateManager::Get();
    if (!manager)
        return;
    const int state = manager->m_state;
    if (state == kUpdateDownloading)
    {
        CString text = LangMgr::GetText(L"update_download");
        HWND progress = ::GetDlgItem(m_hWnd, IDC_UPDATE_PROGRESS);
        if (manager->m_maximum > 0)
        {
            CString counted;
            counted.Format(L"%s(%d/%d)", text, int(manager->m_progress), int(manager->m_maximum));
            text = counted;
            ::SendMessageW(progress, PBM_SETPOS, WPARAM(UINT64(manager->m_progress) * 100 / manager->m_maximum), 0);
        }
        SetDlgItemText(IDC_UPDATE_STATE, text);
        ShowControls(TRUE, FALSE, TRUE);
        m_lastState = state;
        return;
    }
    if (state == m_lastState)
        return;
    m_lastState = state;
    // A check can be aborted while it runs, and tried again after a failure or an abort.
    const BOOL canCheck = state == kUpdateIdle || state == kUpdateNetError || state == kUpdateAborted;
    for (const StateDisplay& display : kStateDisplays)
        if (display.state == state)
        {
            SetDlgItemText(IDC_UPDATE_STATE, LangMgr::GetText(display.key));
            ShowControls(FALSE, canCheck, state == kUpdateChecking);
        }
}

void UpdateDlg::OnTimer(UINT_PTR id)
{
    if (id == kStateTimer)
        ShowState();
    Default();
}

void UpdateDlg::OnDestroy()
{
    KillTimer(kStateTimer);
    CDialog::OnDestroy();
}

void UpdateDlg::OnCheckNow()
{
    if (UpdateManager* manager = UpdateManager::Get())
        manager->StartCheck();
}

void UpdateDlg::OnAbort()
{
    UpdateManager* manager = UpdateManager::Get();
    if (!manager || !g_updateAsk || g_updateAsk(L"update_abort") != IDOK)
        return;
    manager->Abort();
}

CUpdateTip::CUpdateTip(CWnd* parent) : CDialog(IDD, parent)
{
}

void CUpdateTip::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IDC_UPDATE_TIP_TEXT, m_text);
}

CString CUpdateTip::ReadReleaseNotes(const CString& infoPath)
{
    CString key;
    key.Format(L"0x%02x", unsigned(::GetSystemDefaultLCID() & 0xFF));
    CString notes;
    ::GetPrivateProfileStringW(L"Describe", key, L"", notes.GetBuffer(kNotesCapacity), kNotesCapacity, infoPath);
    notes.ReleaseBuffer();
    if (notes.IsEmpty())
    {
        ::GetPrivateProfileStringW(L"Describe", L"0x00", L"", notes.GetBuffer(kNotesCapacity), kNotesCapacity,
                                   infoPath);
        notes.ReleaseBuffer();
    }
    notes.Replace(L"\\n", kLineBreak);
    notes.Replace(L"\\t", kTabText);
    return notes;
}

BOOL CUpdateTip::OnInitDialog()
{
    SetWindowText(LangMgr::GetText(L"update_update_tip_title"));
    SetDlgItemText(IDC_UPDATE_STATE, LangMgr::GetText(L"update_found"));
    SetDlgItemText(IDOK, LangMgr::GetText(L"update_now"));
    SetDlgItemText(IDCANCEL, LangMgr::GetText(L"update_later"));
    const UpdateManager* manager = UpdateManager::Get();
    m_text.Empty();
    if (manager)
    {
        const WCHAR* level = manager->m_importance == 1   ? L"update_level1"
                             : manager->m_importance == 2 ? L"update_level2"
                                                          : L"update_level0";
        m_text = LangMgr::GetText(L"update_new_ver") + manager->m_latestVersion + kLineBreak +
                 LangMgr::GetText(L"update_date") + manager->m_buildDate + kLineBreak +
                 LangMgr::GetText(L"update_importance") + LangMgr::GetText(level) + kLineBreak + kLineBreak +
                 LangMgr::GetText(L"update_describe") + kLineBreak + ReadReleaseNotes(GetUpdateInfoPath());
    }
    return CDialog::OnInitDialog();
}

INT_PTR ShowUpdateTip(UpdateManager&)
{
    CUpdateTip tip(AfxGetMainWnd());
    return tip.DoModal();
}
