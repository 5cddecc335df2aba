#include "platform/mfc/PropertySheet.h"

#include "platform/mfc/TabCtrl.h"
#include "platform/mfc/ThreadState.h"
#include "platform/mfc/WinApp.h"

IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
END_MESSAGE_MAP()

namespace
{
// Called by the system when the sheet's window is made and initialised.
int CALLBACK SheetCallback(HWND hWnd, UINT message, LPARAM)
{
    try
    {
        if (message == PSCB_INITIALIZED)
        {
            CPropertySheet* sheet = dynamic_cast<CPropertySheet*>(CWnd::FromHandlePermanent(hWnd));
            if (sheet)
                sheet->OnInitDialog();
        }
    }
    catch (...)
    {
    }
    return 0;
}
}

CPropertySheet::CPropertySheet() : m_psh(), m_pParentWnd(nullptr), m_bModeless(FALSE), m_nClosingResult(IDCANCEL)
{
    m_psh.dwSize = sizeof(m_psh);
}

CPropertySheet::CPropertySheet(UINT captionId, CWnd* parent, UINT selectPage) : CPropertySheet()
{
    Construct(captionId, parent, selectPage);
}

CPropertySheet::CPropertySheet(LPCWSTR caption, CWnd* parent, UINT selectPage) : CPropertySheet()
{
    Construct(caption, parent, selectPage);
}

CPropertySheet::~CPropertySheet()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

void CPropertySheet::Construct(UINT captionId, CWnd* parent, UINT selectPage)
{
    CString caption;
    caption.LoadString(captionId);
    Construct((LPCWSTR)caption, parent, selectPage);
}

void CPropertySheet::Construct(LPCWSTR caption, CWnd* parent, UINT selectPage)
{
    ::ZeroMemory(&m_psh, sizeof(m_psh));
    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK;
    m_psh.nStartPage = selectPage;
    m_strCaption = caption;
    m_pParentWnd = parent;
}

void CPropertySheet::AddPage(CPropertyPage* page)
{
    if (!page)
        return;
    m_pages.Add(page);
    if (m_hWnd)
    {
        // A sheet on screen takes the page at once.
        page->PreparePage();
        HPROPSHEETPAGE handle = ::CreatePropertySheetPageW(&page->m_psp);
        if (handle && !SendMessage(PSM_ADDPAGE, 0, (LPARAM)handle))
            ::DestroyPropertySheetPage(handle);
    }
}

void CPropertySheet::RemovePage(CPropertyPage* page)
{
    int index = GetPageIndex(page);
    if (index >= 0)
        RemovePage(index);
}

void CPropertySheet::RemovePage(int index)
{
    if (index < 0 || index >= GetPageCount())
        return;
    if (m_hWnd)
        SendMessage(PSM_REMOVEPAGE, (WPARAM)index);
    m_pages.RemoveAt(index);
}

int CPropertySheet::GetPageIndex(CPropertyPage* page) const
{
    for (int i = 0; i < GetPageCount(); ++i)
    {
        if (GetPage(i) == page)
            return i;
    }
    return -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    if (!m_hWnd)
    {
        int start = (int)m_psh.nStartPage;
        return start >= 0 && start < GetPageCount() ? GetPage(start) : nullptr;
    }
    HWND page = (HWND)SendMessage(PSM_GETCURRENTPAGEHWND);
    return dynamic_cast<CPropertyPage*>(CWnd::FromHandlePermanent(page));
}

int CPropertySheet::GetActiveIndex() const
{
    if (!m_hWnd)
        return (int)m_psh.nStartPage;
    CPropertyPage* page = GetActivePage();
    return page ? GetPageIndex(page) : -1;
}

BOOL CPropertySheet::SetActivePage(int index)
{
    if (!m_hWnd)
    {
        m_psh.nStartPage = (UINT)index;
        return TRUE;
    }
    return (BOOL)SendMessage(PSM_SETCURSEL, (WPARAM)index);
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* page)
{
    int index = GetPageIndex(page);
    return index >= 0 ? SetActivePage(index) : FALSE;
}

void CPropertySheet::SetTitle(LPCWSTR title, UINT style)
{
    m_strCaption = title;
    m_psh.dwFlags = (m_psh.dwFlags & ~PSH_PROPTITLE) | (style & PSH_PROPTITLE);
    if (m_hWnd)
        SendMessage(PSM_SETTITLEW, style, (LPARAM)title);
}

CTabCtrl* CPropertySheet::GetTabControl() const
{
    return static_cast<CTabCtrl*>(CWnd::FromHandle((HWND)SendMessage(PSM_GETTABCONTROL)));
}

PROPSHEETPAGEW* CPropertySheet::BuildPropPageArray()
{
    int count = GetPageCount();
    PROPSHEETPAGEW* pages = new PROPSHEETPAGEW[count > 0 ? count : 1];
    for (int i = 0; i < count; ++i)
    {
        GetPage(i)->PreparePage();
        pages[i] = GetPage(i)->m_psp;
    }
    return pages;
}

BOOL CPropertySheet::CreateSheet(CWnd* parent, BOOL modal)
{
    if (m_hWnd || GetPageCount() == 0)
        return FALSE;
    PROPSHEETPAGEW* pages = BuildPropPageArray();
    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags |= PSH_PROPSHEETPAGE | PSH_USECALLBACK | PSH_MODELESS;
    m_psh.pfnCallback = SheetCallback;
    m_psh.hwndParent = parent->GetSafeHwnd();
    m_psh.hInstance = AfxGetResourceHandle();
    m_psh.pszCaption = m_strCaption;
    m_psh.nPages = (UINT)GetPageCount();
    m_psh.ppsp = pages;
    if (m_psh.nStartPage >= m_psh.nPages)
        m_psh.nStartPage = 0;
    m_nClosingResult = IDCANCEL;
    m_bModeless = !modal;

    // The sheet's window is the first one made: the hook gives it to this object.
    AfxDeferRegisterClass(AFX_WNDCOMMCTLS_REG);
    AfxHookWindowCreate(this);
    HWND hWnd = (HWND)::PropertySheetW(&m_psh);
    AfxUnhookWindowCreate();
    delete[] pages;
    m_psh.ppsp = nullptr;
    if (!hWnd || hWnd == (HWND)-1)
        return FALSE; // a window that got as far as the hook was cleaned up by its WM_NCDESTROY
    if (!m_hWnd)
        SubclassWindow(hWnd);
    return m_hWnd != nullptr;
}

BOOL CPropertySheet::Create(CWnd* parent, DWORD style, DWORD exStyle)
{
    (void)style;
    (void)exStyle;
    return CreateSheet(parent ? parent : m_pParentWnd, FALSE);
}

BOOL CPropertySheet::OnInitDialog()
{
    return TRUE;
}

void CPropertySheet::OnPageApplied(BOOL closing)
{
    if (closing)
        m_nClosingResult = IDOK;
}

void CPropertySheet::OnPageReset()
{
    m_nClosingResult = IDCANCEL;
}

BOOL CPropertySheet::ContinueModal()
{
    if (!CWnd::ContinueModal())
        return FALSE;
    // The system ends a modeless sheet by leaving it without a current page.
    if (!::SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0))
    {
        m_nModalResult = m_nClosingResult;
        return FALSE;
    }
    return TRUE;
}

INT_PTR CPropertySheet::DoModal()
{
    CModalOwner owner(m_pParentWnd);
    m_nModalResult = -1;
    if (CreateSheet(owner.GetOwner(), TRUE))
    {
        m_nFlags |= WF_CONTINUEMODAL;
        RunModalLoop(MLF_SHOWONIDLE);
        if (m_hWnd)
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    owner.Release(m_hWnd);
    if (m_hWnd)
        DestroyWindow();
    return m_nModalResult;
}

void CPropertySheet::EndDialog(int result)
{
    m_nClosingResult = result;
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(result);
    else if (m_hWnd)
        DestroyWindow();
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    // Keys of the sheet and its pages go through the sheet's dialog handling.
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hWnd)
        return (BOOL)::SendMessageW(m_hWnd, PSM_ISDIALOGMESSAGE, 0, (LPARAM)pMsg);
    return FALSE;
}

BOOL CPropertySheet::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    // The sheet's own buttons belong to the system's sheet handling.
    if ((nCode != CN_COMMAND && nCode != CN_UPDATE_COMMAND_UI) || nID == IDOK || nID == IDCANCEL || nID >= 0xF000)
        return FALSE;
    CWinThread* thread = AfxGetThread();
    return thread ? thread->CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo) : FALSE;
}

void CPropertySheet::PostNcDestroy()
{
    // Pages lose their windows with the sheet.
    for (int i = 0; i < GetPageCount(); ++i)
    {
        CPropertyPage* page = GetPage(i);
        if (page->m_hWnd && !::IsWindow(page->m_hWnd))
            page->Detach();
    }
}
