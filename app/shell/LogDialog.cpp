#include "app/shell/LogDialog.h"

#include "app/core/LangMgr.h"
#include "app/core/VideoManager.h"

namespace
{
// Sets a window's text to a translation; an empty translation leaves the text as it was.
void SetTranslated(HWND window, LPCWSTR key)
{
    const CString text = LangMgr::GetText(key);
    if (window && !text.IsEmpty())
        ::SetWindowTextW(window, text);
}
} // namespace

CLogDialog::CLogDialog(CWnd* parent) : CResizableDialog(kTemplateId, parent)
{
}

BOOL CLogDialog::OnInitDialog()
{
    CResizableDialog::OnInitDialog();
    AddAnchor(kTextId, kAnchorTopLeft, kAnchorBottomRight);
    AddAnchor(IDOK, kAnchorBottomRight, kAnchorBottomRight);
    AddAnchor(IDCANCEL, kAnchorBottomRight, kAnchorBottomRight);
    ReloadTexts();
    return TRUE;
}

void CLogDialog::ReloadTexts()
{
    SetTranslated(m_hWnd, L"log_dlgtitle");
    SetTranslated(::GetDlgItem(m_hWnd, IDCANCEL), L"idclose");
}

bool CLogDialog::ShowTaskLog(int taskId)
{
    ConvertTask* task = nullptr;
    if (!CVideoManager::FindTask(taskId, &task))
        return false;
    CString text(task->m_log);
    text.Replace(L"\r\n", L"\n");
    text.Replace(L"\n", L"\r\n");
    SetDlgItemText(kTextId, text);
    return true;
}

void CLogDialog::OnOK()
{
}

void CLogDialog::OnCancel()
{
    CResizableDialog::OnCancel();
    // The frame deletes this window on the message: posting it lets this handler, and the click
    // that led here, finish first.
    if (CWnd* main = AfxGetMainWnd())
        main->PostMessage(kToggleMessage, 0, 0);
}
