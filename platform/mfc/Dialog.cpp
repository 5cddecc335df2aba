#include "platform/mfc/Dialog.h"

#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/ThreadState.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
ON_MESSAGE(WM_SETFONT, HandleSetFont)
ON_WM_CLOSE()
END_MESSAGE_MAP()

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    try
    {
        CDialog* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
        return dialog ? dialog->OnInitDialog() : TRUE;
    }
    catch (CException* e)
    {
        ::OutputDebugStringA("Reelwright: dialog initialisation failed\n");
        e->Delete();
    }
    catch (...)
    {
        ::OutputDebugStringA("Reelwright: dialog initialisation failed\n");
    }
    return TRUE;
}

CDialog::CDialog()
    : m_lpszTemplateName(nullptr), m_nIDHelp(0), m_hDialogTemplate(nullptr), m_lpDialogTemplate(nullptr),
      m_pParentWnd(nullptr), m_hWndTop(nullptr)
{
}

CDialog::CDialog(UINT templateId, CWnd* parent) : CDialog()
{
    m_lpszTemplateName = MAKEINTRESOURCEW(templateId);
    m_nIDHelp = templateId;
    m_pParentWnd = parent;
}

CDialog::CDialog(LPCWSTR templateName, CWnd* parent) : CDialog()
{
    m_lpszTemplateName = templateName;
    m_pParentWnd = parent;
}

CDialog::~CDialog()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATEW dialogTemplate, CWnd* parent, HINSTANCE instance)
{
    if (!dialogTemplate)
        return FALSE;
    if (!instance)
        instance = AfxGetResourceHandle();
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamW(instance, dialogTemplate, parent->GetSafeHwnd(), AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    if (!hWnd)
        return FALSE; // a window that got as far as the hook was cleaned up by its WM_NCDESTROY
    if (!m_hWnd)
        SubclassWindow(hWnd);
    return m_hWnd != nullptr;
}

BOOL CDialog::Create(LPCWSTR templateName, CWnd* parent)
{
    m_lpszTemplateName = templateName;
    if (IS_INTRESOURCE(templateName) && m_nIDHelp == 0)
        m_nIDHelp = (UINT)(UINT_PTR)templateName;
    HINSTANCE instance = AfxFindResourceHandle(templateName, (LPCWSTR)RT_DIALOG);
    HRSRC resource = ::FindResourceW(instance, templateName, (LPCWSTR)RT_DIALOG);
    HGLOBAL handle = resource ? ::LoadResource(instance, resource) : nullptr;
    if (!handle)
        return FALSE;
    if (!parent)
        parent = m_pParentWnd;
    return CreateDlgIndirect(static_cast<LPCDLGTEMPLATEW>(::LockResource(handle)), parent, instance);
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    return Create(MAKEINTRESOURCEW(templateId), parent);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEW dialogTemplate, CWnd* parent)
{
    return CreateDlgIndirect(dialogTemplate, parent ? parent : m_pParentWnd, nullptr);
}

BOOL CDialog::CreateIndirect(HGLOBAL dialogTemplate, CWnd* parent)
{
    LPCDLGTEMPLATEW data = static_cast<LPCDLGTEMPLATEW>(::GlobalLock(dialogTemplate));
    BOOL ok = CreateIndirect(data, parent);
    ::GlobalUnlock(dialogTemplate);
    return ok;
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATEW dialogTemplate, CWnd* parent)
{
    m_lpDialogTemplate = dialogTemplate;
    m_pParentWnd = parent;
    return TRUE;
}

HWND CDialog::PreModal()
{
    HWND top = nullptr;
    CWnd* owner = CWnd::GetSafeOwner(m_pParentWnd, &top);
    m_hWndTop = top;
    return owner->GetSafeHwnd();
}

void CDialog::PostModal()
{
    m_hWndTop = nullptr;
}

INT_PTR CDialog::DoModal()
{
    // The template: a resource by name, a loaded resource, or one built in memory.
    LPCDLGTEMPLATEW dialogTemplate = m_lpDialogTemplate;
    HINSTANCE instance = AfxGetResourceHandle();
    if (!dialogTemplate && m_lpszTemplateName)
    {
        instance = AfxFindResourceHandle(m_lpszTemplateName, (LPCWSTR)RT_DIALOG);
        HRSRC resource = ::FindResourceW(instance, m_lpszTemplateName, (LPCWSTR)RT_DIALOG);
        HGLOBAL handle = resource ? ::LoadResource(instance, resource) : nullptr;
        dialogTemplate = handle ? static_cast<LPCDLGTEMPLATEW>(::LockResource(handle)) : nullptr;
    }
    else if (!dialogTemplate && m_hDialogTemplate)
    {
        dialogTemplate = static_cast<LPCDLGTEMPLATEW>(::GlobalLock(m_hDialogTemplate));
    }
    if (!dialogTemplate)
        return -1;

    PreModal();
    CModalOwner owner(m_pParentWnd);

    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    if (CreateDlgIndirect(dialogTemplate, owner.GetOwner(), instance))
    {
        if (m_nFlags & WF_CONTINUEMODAL)
        {
            DWORD flags = MLF_SHOWONIDLE;
            if (GetStyle() & DS_NOIDLEMSG)
                flags |= MLF_NOIDLEMSG;
            RunModalLoop(flags);
        }
        if (m_hWnd)
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    else
    {
        m_nFlags &= ~WF_CONTINUEMODAL;
    }
    owner.Release(m_hWnd);
    if (m_hWnd)
        DestroyWindow();
    PostModal();
    if (m_hDialogTemplate)
        ::GlobalUnlock(m_hDialogTemplate);
    return m_nModalResult;
}

void CDialog::EndDialog(int result)
{
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(result);
    else
        m_nModalResult = result;
    if (m_hWnd)
        ::EndDialog(m_hWnd, result);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    PreInitDialog();
    // The dialog manager calls AfxDlgProc, which runs OnInitDialog.
    return Default();
}

LRESULT CDialog::HandleSetFont(WPARAM wParam, LPARAM)
{
    OnSetFont(CFont::FromHandle((HFONT)wParam));
    return Default();
}

BOOL CDialog::OnInitDialog()
{
    if (!UpdateData(FALSE))
        return TRUE;
    return TRUE;
}

void CDialog::OnOK()
{
    // Data that does not validate keeps the dialog open (the failing control has the focus).
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::OnClose()
{
    Default();
}

BOOL CDialog::PreTranslateInput(MSG* pMsg)
{
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_MOUSELAST)
        return FALSE;
    // Keys typed in a panel of the main window still reach the frames' accelerators and menus.
    if ((GetStyle() & WS_CHILD) && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST)
    {
        for (CFrameWnd* frame = GetParentFrame(); frame; frame = frame->GetParentFrame())
        {
            if (frame->PreTranslateMessage(pMsg))
                return TRUE;
        }
    }
    return ::IsDialogMessageW(m_hWnd, pMsg);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    CFrameWnd* top = GetTopLevelFrame();
    if (top && top->m_bHelpMode)
        return FALSE;
    return PreTranslateInput(pMsg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    // Only commands travel on: control notifications, plain control ids (a button that is not a
    // command) and system commands stay with the dialog.
    if ((nCode != CN_COMMAND && nCode != CN_UPDATE_COMMAND_UI) || !IS_COMMAND_ID(nID) || nID >= 0xF000)
        return FALSE;
    // The parent of a panel, the owner of a popup dialog, then the thread.
    if (m_hWnd)
    {
        HWND parent = ::GetParent(m_hWnd);
        if (parent && parent != m_hWnd)
        {
            CWnd* owner = FromHandle(parent);
            if (owner->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
                return TRUE;
        }
    }
    CWinThread* thread = AfxGetThread();
    return thread ? thread->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo) : FALSE;
}
