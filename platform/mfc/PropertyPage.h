// CPropertyPage: one page of a property sheet, a child dialog that answers the sheet's
// notifications (activation, validation when leaving, apply with its veto, cancel).
#pragma once

#include "platform/mfc/Dialog.h"

#include <prsht.h>

class CPropertySheet;

class CPropertyPage : public CDialog
{
    DECLARE_DYNAMIC(CPropertyPage)
public:
    CPropertyPage();
    explicit CPropertyPage(UINT templateId, UINT captionId = 0);
    explicit CPropertyPage(LPCWSTR templateName, UINT captionId = 0);
    virtual ~CPropertyPage();

    PROPSHEETPAGEW m_psp;
    CString m_strCaption;
    BOOL m_bFirstSetActive;

    void Construct(UINT templateId, UINT captionId = 0);
    void Construct(LPCWSTR templateName, UINT captionId = 0);
    void CancelToClose();
    void SetModified(BOOL changed = TRUE);
    LRESULT QuerySiblings(WPARAM wParam, LPARAM lParam);
    CPropertySheet* GetSheet() const;

    virtual BOOL OnSetActive();
    virtual BOOL OnKillActive();
    virtual BOOL OnApply();
    virtual void OnReset();
    virtual void OnOK();
    virtual void OnCancel();
    virtual BOOL OnQueryCancel();
    virtual LRESULT OnWizardBack();
    virtual LRESULT OnWizardNext();
    virtual BOOL OnWizardFinish();

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

protected:
    friend class CPropertySheet;
    // Makes the sheet's record of the page (with the caption in it).
    void PreparePage();
};

// The dialog procedure of property pages (the sheet gives it to the system).
INT_PTR CALLBACK AfxPropPageDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
