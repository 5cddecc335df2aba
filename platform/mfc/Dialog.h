// CDialog: dialogs from templates, modeless (Create) or modal (DoModal with its own message
// loop), with data exchange through DoDataExchange; child dialogs serve as the main window's
// panels and pass the commands they do not handle to their frame.
#pragma once

#include "platform/mfc/Wnd.h"

class CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    explicit CDialog(LPCWSTR templateName, CWnd* parent = nullptr);
    virtual ~CDialog();

    LPCWSTR m_lpszTemplateName;
    UINT m_nIDHelp;
    HGLOBAL m_hDialogTemplate;
    LPCDLGTEMPLATEW m_lpDialogTemplate;
    CWnd* m_pParentWnd;
    HWND m_hWndTop;

    virtual BOOL Create(LPCWSTR templateName, CWnd* parent = nullptr);
    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
    virtual BOOL CreateIndirect(LPCDLGTEMPLATEW dialogTemplate, CWnd* parent = nullptr);
    virtual BOOL CreateIndirect(HGLOBAL dialogTemplate, CWnd* parent = nullptr);
    BOOL InitModalIndirect(LPCDLGTEMPLATEW dialogTemplate, CWnd* parent = nullptr);
    virtual INT_PTR DoModal();
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    virtual void OnSetFont(CFont*) {}
    virtual void OnOK();
    virtual void OnCancel();
    virtual void PreInitDialog() {}

    void NextDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
    void PrevDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
    void GotoDlgCtrl(CWnd* control) { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, (WPARAM)control->GetSafeHwnd(), 1); }
    void SetDefID(UINT id) { ::SendMessageW(m_hWnd, DM_SETDEFID, id, 0); }
    DWORD GetDefID() const { return (DWORD)::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0); }
    void MapDialogRect(LPRECT rect) const { ::MapDialogRect(m_hWnd, rect); }

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT HandleSetFont(WPARAM wParam, LPARAM lParam);
    afx_msg void OnClose();

protected:
    DECLARE_MESSAGE_MAP()

protected:
    // Creates the window from a template in memory; true when it exists.
    BOOL CreateDlgIndirect(LPCDLGTEMPLATEW dialogTemplate, CWnd* parent, HINSTANCE instance);
    HWND PreModal();
    void PostModal();
    // Offers a keyboard message of a child dialog to its frames before the dialog manager.
    BOOL PreTranslateInput(MSG* pMsg);
};

// The dialog procedure of the framework's dialogs: it answers WM_INITDIALOG through OnInitDialog.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
