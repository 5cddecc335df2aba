#pragma once
// A combo box drop-down that shows a gallery (its first control) instead of a list: the gallery's
// items play the list's items, so the combo box selects, searches and completes through them.
#include "uilib/commandbars/ControlComboBoxPopupBar.h"

class CWVPControlGallery;

class CWVPControlComboBoxGalleryPopupBar : public CWVPControlComboBoxPopupBar
{
    DECLARE_SERIAL(CWVPControlComboBoxGalleryPopupBar)

  public:
    CWVPControlComboBoxGalleryPopupBar();

    // The gallery, or null while the bar has none.
    CWVPControlGallery* GetGallery() const;

    int GetCurSel() const override;
    int FindString(int start, LPCWSTR text) const override;
    int FindStringExact(int start, LPCWSTR text) const override;
    int SetTopIndex(int index) override;
    void SetCurSel(int index) override;
    void GetText(int index, CString& text) const override;

    BOOL SetTrackingMode(int mode, BOOL selectFirst = TRUE, BOOL keyboard = FALSE) override;
    int OnHookKeyDown(UINT key, LPARAM lParam) override;

  protected:
    afx_msg void OnLButtonUp(UINT flags, CPoint pt);
    DECLARE_MESSAGE_MAP()
};
