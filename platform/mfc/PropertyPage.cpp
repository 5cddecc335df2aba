#include "platform/mfc/PropertyPage.h"

#include "platform/mfc/PropertySheet.h"
#include "platform/mfc/ThreadState.h"
#include "platform/mfc/WinApp.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

namespace
{
// Called by the system as the page's window is about to be made: the page object takes the
// window through the creation hook.
UINT CALLBACK PageCallback(HWND, UINT message, LPPROPSHEETPAGEW psp)
{
    try
    {
        if (message == PSPCB_CREATE && psp)
        {
            CPropertyPage* page = reinterpret_cast<CPropertyPage*>(psp->lParam);
            if (page && !page->m_hWnd)
                AfxHookWindowCreate(page);
        }
    }
    catch (...)
    {
    }
    return 1;
}
}

INT_PTR CALLBACK AfxPropPageDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
    {
        try
        {
            const PROPSHEETPAGEW* psp = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
            CPropertyPage* page = psp ? reinterpret_cast<CPropertyPage*>(psp->lParam) : nullptr;
            // A page the hook did not reach is subclassed here.
            if (page && !page->m_hWnd)
            {
                AfxUnhookWindowCreate();
                page->SubclassWindow(hWnd);
            }
        }
        catch (...)
        {
        }
    }
    return AfxDlgProc(hWnd, message, wParam, lParam);
}

CPropertyPage::CPropertyPage() : m_psp(), m_bFirstSetActive(TRUE)
{
}

CPropertyPage::CPropertyPage(UINT templateId, UINT captionId) : CPropertyPage()
{
    Construct(templateId, captionId);
}

CPropertyPage::CPropertyPage(LPCWSTR templateName, UINT captionId) : CPropertyPage()
{
    Construct(templateName, captionId);
}

CPropertyPage::~CPropertyPage()
{
}

void CPropertyPage::Construct(UINT templateId, UINT captionId)
{
    Construct(MAKEINTRESOURCEW(templateId), captionId);
    m_nIDHelp = templateId;
}

void CPropertyPage::Construct(LPCWSTR templateName, UINT captionId)
{
    m_lpszTemplateName = templateName;
    if (captionId)
        m_strCaption.LoadString(captionId);
    ::ZeroMemory(&m_psp, sizeof(m_psp));
    m_psp.dwSize = sizeof(m_psp);
    m_psp.dwFlags = PSP_USECALLBACK;
}

void CPropertyPage::PreparePage()
{
    m_psp.dwSize = sizeof(m_psp);
    m_psp.dwFlags |= PSP_USECALLBACK;
    m_psp.hInstance = AfxGetResourceHandle();
    m_psp.pfnDlgProc = AfxPropPageDlgProc;
    m_psp.pfnCallback = PageCallback;
    m_psp.lParam = (LPARAM)this;
    if (m_lpDialogTemplate)
    {
        m_psp.dwFlags |= PSP_DLGINDIRECT;
        m_psp.pResource = m_lpDialogTemplate;
    }
    else
    {
        m_psp.dwFlags &= ~PSP_DLGINDIRECT;
        m_psp.hInstance = AfxFindResourceHandle(m_lpszTemplateName, (LPCWSTR)RT_DIALOG);
        m_psp.pszTemplate = m_lpszTemplateName;
    }
    if (!m_strCaption.IsEmpty())
    {
        m_psp.dwFlags |= PSP_USETITLE;
        m_psp.pszTitle = m_strCaption;
    }
}

CPropertySheet* CPropertyPage::GetSheet() const
{
    return dynamic_cast<CPropertySheet*>(GetParent());
}

void CPropertyPage::CancelToClose()
{
    if (HWND sheet = ::GetParent(m_hWnd))
        ::SendMessageW(sheet, PSM_CANCELTOCLOSE, 0, 0);
}

void CPropertyPage::SetModified(BOOL changed)
{
    if (HWND sheet = ::GetParent(m_hWnd))
        ::SendMessageW(sheet, changed ? PSM_CHANGED : PSM_UNCHANGED, (WPARAM)m_hWnd, 0);
}

LRESULT CPropertyPage::QuerySiblings(WPARAM wParam, LPARAM lParam)
{
    HWND sheet = ::GetParent(m_hWnd);
    return sheet ? ::SendMessageW(sheet, PSM_QUERYSIBLINGS, wParam, lParam) : 0;
}

BOOL CPropertyPage::OnSetActive()
{
    if (m_bFirstSetActive)
        m_bFirstSetActive = FALSE;
    else
        UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive()
{
    // Leaving the page validates it; a failure keeps the page.
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply()
{
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset()
{
    OnCancel();
}

void CPropertyPage::OnOK()
{
    // The sheet ends itself; the page only keeps its data.
}

void CPropertyPage::OnCancel()
{
}

BOOL CPropertyPage::OnQueryCancel()
{
    return TRUE;
}

LRESULT CPropertyPage::OnWizardBack()
{
    return 0;
}

LRESULT CPropertyPage::OnWizardNext()
{
    return 0;
}

BOOL CPropertyPage::OnWizardFinish()
{
    return TRUE;
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    LRESULT result = 0;
    bool handled = true;
    switch (header->code)
    {
    case PSN_SETACTIVE:
        result = OnSetActive() ? 0 : -1;
        break;
    case PSN_KILLACTIVE:
        result = !OnKillActive();
        break;
    case PSN_APPLY:
    {
        // A page that refuses keeps the sheet open on itself.
        BOOL accepted = OnApply();
        result = accepted ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        if (accepted)
        {
            if (CPropertySheet* sheet = GetSheet())
                sheet->OnPageApplied(((PSHNOTIFY*)lParam)->lParam != 0);
        }
        break;
    }
    case PSN_RESET:
        OnReset();
        if (CPropertySheet* sheet = GetSheet())
            sheet->OnPageReset();
        break;
    case PSN_QUERYCANCEL:
        result = !OnQueryCancel();
        break;
    case PSN_WIZNEXT:
        result = OnWizardNext();
        break;
    case PSN_WIZBACK:
        result = OnWizardBack();
        break;
    case PSN_WIZFINISH:
        result = !OnWizardFinish();
        break;
    case PSN_HELP:
        ::SendMessageW(m_hWnd, WM_COMMAND, ID_HELP, 0);
        break;
    default:
        handled = false;
    }
    if (!handled)
        return CDialog::OnNotify(wParam, lParam, pResult);
    ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
    if (pResult)
        *pResult = result;
    return TRUE;
}
