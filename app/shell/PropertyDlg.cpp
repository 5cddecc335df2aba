#include "app/shell/PropertyDlg.h"

#include "app/core/LangMgr.h"
#include "app/core/VideoManager.h"

namespace
{
// The tab's display area inside its window rectangle.
const RECT kPageInset = {2, 23, 2, 2};

void SetTranslated(CWnd& dialog, UINT id, LPCWSTR key)
{
    const CString text = LangMgr::GetText(key);
    if (!text.IsEmpty())
        dialog.SetDlgItemText(id, text);
}
} // namespace

IMPLEMENT_DYNAMIC(CPropertyDlg, CDialog)

BEGIN_MESSAGE_MAP(CPropertyDlg, CDialog)
ON_NOTIFY(TCN_SELCHANGE, CPropertyDlg::kTabId, OnTabChange)
ON_BN_CLICKED(CPropertyDlg::kPreviousId, OnPrevious)
ON_BN_CLICKED(CPropertyDlg::kNextId, OnNext)
END_MESSAGE_MAP()

CPropertyDlg::CPropertyDlg(TaskRows& rows, CWnd* parent) : CDialog(kTemplateId, parent), m_rows(rows)
{
}

void CPropertyDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, kTabId, m_tab);
}

BOOL CPropertyDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_page.Create(CPropGeneralPage::kTemplateId, this);

    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    CString general = LangMgr::GetText(L"general");
    item.pszText = general.GetBuffer();
    m_tab.InsertItem(0, &item);
    general.ReleaseBuffer();

    CRect area;
    m_tab.GetWindowRect(&area);
    ScreenToClient(&area);
    area.DeflateRect(kPageInset.left, kPageInset.top, kPageInset.right, kPageInset.bottom);
    if (m_page.m_hWnd)
    {
        m_page.MoveWindow(&area, TRUE);
        m_page.ShowWindow(SW_SHOW);
    }

    LoadRow(m_page, m_nCurrentRow);
    EnableStepButtons();
    SetTranslated(*this, kPreviousId, L"prop_btn_prev");
    SetTranslated(*this, kNextId, L"prop_btn_next");
    SetTranslated(*this, IDOK, L"idok");
    return TRUE;
}

bool CPropertyDlg::LoadRow(CPropGeneralPage& page, int row)
{
    ConvertTask* task = nullptr;
    if (!CVideoManager::FindTask(m_rows.TaskIdOfRow(row), &task) || !page.m_hWnd)
        return false;
    page.ShowTask(*task);
    SetWindowText(LangMgr::GetText(L"property") + L" - " + task->m_displayName);
    return true;
}

void CPropertyDlg::EnableStepButtons()
{
    if (CWnd* previous = GetDlgItem(kPreviousId))
        previous->EnableWindow(m_nCurrentRow > 0);
    if (CWnd* next = GetDlgItem(kNextId))
        next->EnableWindow(m_nCurrentRow < m_nRowCount - 1);
}

void CPropertyDlg::Step(int delta)
{
    const int row = m_nCurrentRow + delta;
    if (row < 0 || row >= m_nRowCount)
        return;
    m_nCurrentRow = row;
    LoadRow(m_page, row);
    EnableStepButtons();
    m_rows.SelectRow(row);
}

void CPropertyDlg::OnPrevious()
{
    Step(-1);
}

void CPropertyDlg::OnNext()
{
    Step(1);
}

void CPropertyDlg::OnTabChange(NMHDR*, LRESULT* result)
{
    *result = 0;
    m_page.ShowWindow(SW_HIDE);
    if (m_tab.GetCurSel() == 0)
        m_page.ShowWindow(SW_SHOW);
}
