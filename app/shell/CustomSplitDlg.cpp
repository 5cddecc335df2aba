#include "app/shell/CustomSplitDlg.h"

#include "app/core/LangMgr.h"
#include "app/shell/LangText.h"
#include "app/shell/SplitOption.h"

namespace
{
struct SplitModeTexts
{
    LPCWSTR prompt;
    LPCWSTR unit;
    bool translateUnit;
    LPCWSTR title;
};

const SplitModeTexts kModeTexts[] = {
    {L"customsplit_size_input", L"MB", false, L"customsplit_size_title"},
    {L"customsplit_time_input", L"customsplit_time_size", true, L"customsplit_time_title"},
};
} // namespace

BEGIN_MESSAGE_MAP(CCustomSplitDlg, CDialog)
END_MESSAGE_MAP()

CCustomSplitDlg::CCustomSplitDlg(CWnd* parent) : CDialog(IDD, parent), m_mode(kSizeMode)
{
}

CCustomSplitDlg::~CCustomSplitDlg() = default;

void CCustomSplitDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, kValueId, m_value);
}

BOOL CCustomSplitDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    if (m_mode != kSizeMode && m_mode != kTimeMode)
        return FALSE;
    const SplitModeTexts& texts = kModeTexts[m_mode];
    SetItemLangText(m_hWnd, kPromptId, texts.prompt);
    if (texts.translateUnit)
        SetItemLangText(m_hWnd, kUnitId, texts.unit);
    else
        ::SetDlgItemTextW(m_hWnd, kUnitId, texts.unit);
    SetWindowLangText(m_hWnd, texts.title);
    SetItemLangText(m_hWnd, IDOK, L"idok");
    SetItemLangText(m_hWnd, IDCANCEL, L"idcancel");
    UpdateData(FALSE);
    return TRUE;
}

void CCustomSplitDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    double number = 0;
    if (!CSplitOption::ParseInput(m_value, &number))
    {
        AfxMessageBox(LangMgr::GetText(L"err_input_positive"), MB_OK);
        return;
    }
    EndDialog(IDOK);
}
