#include "app/shell/ConfigSheet.h"

#include "app/core/LangMgr.h"
#include "app/shell/LangText.h"

BEGIN_MESSAGE_MAP(CConfigSheet, CPropertySheet)
END_MESSAGE_MAP()

CConfigSheet::CConfigSheet(AppSettings* settings)
    : CPropertySheet(static_cast<LPCWSTR>(LangMgr::GetText(L"option")), nullptr, 0), m_general(settings),
      m_convert(settings)
{
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
    m_psh.dwFlags &= ~PSH_HASHELP;
    AddPage(&m_general);
    AddPage(&m_convert);
}

CConfigSheet::~CConfigSheet() = default;

BOOL CConfigSheet::OnInitDialog()
{
    const BOOL result = CPropertySheet::OnInitDialog();
    CenterWindow();
    SetWindowLangText(m_hWnd, L"option");
    SetItemLangText(m_hWnd, IDOK, L"idok");
    SetItemLangText(m_hWnd, IDCANCEL, L"idcancel");
    return result;
}
