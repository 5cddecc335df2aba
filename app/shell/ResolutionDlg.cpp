#include "app/shell/ResolutionDlg.h"

#include "app/core/ConvertSetting.h"
#include "app/core/TextNumbers.h"
#include "app/shell/LangText.h"

namespace
{
const LangTextItem kTexts[] = {
    {CResolutionDlg::kWidthLabelId, L"resolution_width"},
    {CResolutionDlg::kHeightLabelId, L"resolution_height"},
    {CResolutionDlg::kReferenceLabelId, L"resolution_format_ref"},
    {IDOK, L"idok"},
    {IDCANCEL, L"idcancel"},
};
} // namespace

IMPLEMENT_DYNAMIC(CResolutionDlg, CDialog)

BEGIN_MESSAGE_MAP(CResolutionDlg, CDialog)
ON_CBN_SELCHANGE(CResolutionDlg::kReferenceId, OnReferenceChange)
ON_EN_CHANGE(CResolutionDlg::kWidthId, OnSizeChanged)
ON_EN_CHANGE(CResolutionDlg::kHeightId, OnSizeChanged)
END_MESSAGE_MAP()

CResolutionDlg::CResolutionDlg(CWnd* parent) : CDialog(IDD, parent), m_width(0), m_height(0)
{
}

CResolutionDlg::~CResolutionDlg() = default;

void CResolutionDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, kWidthId, m_width);
    DDV_MinMaxInt(dx, m_width, 1, kMaxSide);
    DDX_Text(dx, kHeightId, m_height);
    DDV_MinMaxInt(dx, m_height, 1, kMaxSide);
}

BOOL CResolutionDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    SetItemLangTexts(m_hWnd, kTexts);
    HWND list = ::GetDlgItem(m_hWnd, kReferenceId);
    for (int i = 0; LPCWSTR name = FrameSizeNameAt(i); ++i)
        ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    // Only the numbers move in: the range check belongs to OK.
    ::SetDlgItemInt(m_hWnd, kWidthId, m_width, TRUE);
    ::SetDlgItemInt(m_hWnd, kHeightId, m_height, TRUE);
    return TRUE;
}

void CResolutionDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

int CResolutionDlg::ReadEdit(int id) const
{
    WCHAR text[32] = {};
    ::GetDlgItemTextW(m_hWnd, id, text, 32);
    return ReadLeadingInt(text);
}

void CResolutionDlg::OnReferenceChange()
{
    HWND list = ::GetDlgItem(m_hWnd, kReferenceId);
    const int index = static_cast<int>(::SendMessageW(list, CB_GETCURSEL, 0, 0));
    CString name;
    if (index >= 0)
    {
        const int length = static_cast<int>(::SendMessageW(list, CB_GETLBTEXTLEN, index, 0));
        ::SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(name.GetBufferSetLength(length)));
        name.ReleaseBuffer();
    }
    ParseFrameSizeName(name, &m_width, &m_height);
    ::SetDlgItemInt(m_hWnd, kWidthId, m_width, TRUE);
    ::SetDlgItemInt(m_hWnd, kHeightId, m_height, TRUE);
}

void CResolutionDlg::OnSizeChanged()
{
    HWND list = ::GetDlgItem(m_hWnd, kReferenceId);
    if (!list)
        return;
    const CString name = FrameSizeName(ReadEdit(kWidthId), ReadEdit(kHeightId));
    const LRESULT index = name.IsEmpty() ? CB_ERR
                                         : ::SendMessageW(list, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                                          reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(name)));
    ::SendMessageW(list, CB_SETCURSEL, index == CB_ERR ? static_cast<WPARAM>(-1) : index, 0);
}
