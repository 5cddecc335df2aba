// CPropertySheet: a tabbed sheet of property pages, modal (its own loop, like dialogs) or
// modeless. OK applies every page; a page that refuses to apply keeps the sheet open.
#pragma once

#include "platform/mfc/PropertyPage.h"
#include "platform/mfc/Array.h"

class CTabCtrl;

class CPropertySheet : public CWnd
{
    DECLARE_DYNAMIC(CPropertySheet)
public:
    CPropertySheet();
    explicit CPropertySheet(UINT captionId, CWnd* parent = nullptr, UINT selectPage = 0);
    explicit CPropertySheet(LPCWSTR caption, CWnd* parent = nullptr, UINT selectPage = 0);
    virtual ~CPropertySheet();

    PROPSHEETHEADERW m_psh;
    CString m_strCaption;
    CWnd* m_pParentWnd;
    CPtrArray m_pages;
    BOOL m_bModeless;

    void Construct(UINT captionId, CWnd* parent = nullptr, UINT selectPage = 0);
    void Construct(LPCWSTR caption, CWnd* parent = nullptr, UINT selectPage = 0);
    void AddPage(CPropertyPage* page);
    void RemovePage(CPropertyPage* page);
    void RemovePage(int index);
    int GetPageCount() const { return (int)m_pages.GetSize(); }
    CPropertyPage* GetPage(int index) const { return static_cast<CPropertyPage*>(m_pages[index]); }
    int GetPageIndex(CPropertyPage* page) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    BOOL SetActivePage(int index);
    BOOL SetActivePage(CPropertyPage* page);
    void SetTitle(LPCWSTR title, UINT style = 0);
    CTabCtrl* GetTabControl() const;
    void PressButton(int button) { SendMessage(PSM_PRESSBUTTON, (WPARAM)button); }
    void SetWizardMode() { m_psh.dwFlags |= PSH_WIZARD; }
    void SetWizardButtons(DWORD flags) { PostMessage(PSM_SETWIZBUTTONS, 0, (LPARAM)flags); }
    void SetFinishText(LPCWSTR text) { SendMessage(PSM_SETFINISHTEXTW, 0, (LPARAM)text); }
    void EndDialog(int result);

    virtual INT_PTR DoModal();
    virtual BOOL Create(CWnd* parent = nullptr, DWORD style = (DWORD)-1, DWORD exStyle = 0);
    using CWnd::Create;
    virtual BOOL OnInitDialog();
    BOOL ContinueModal() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void PostNcDestroy() override;

    // Told by the pages: OK or Apply went through, or the sheet was cancelled.
    void OnPageApplied(BOOL closing);
    void OnPageReset();

protected:
    DECLARE_MESSAGE_MAP()

protected:
    // Makes the system's records of the sheet and its pages; the caller frees the page array.
    PROPSHEETPAGEW* BuildPropPageArray();
    BOOL CreateSheet(CWnd* parent, BOOL modal);
    int m_nClosingResult;
};
