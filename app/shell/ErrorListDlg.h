// CErrorListDlg: the modal dialog listing the files that could not be added to the task list, each
// with the reason, in two sortable columns. The task list opens it after a batch of additions.
#pragma once

#include "app/shell/ResizableDialog.h"
#include "resources/resource.h"
#include "uilib/controls/HeaderCtrl.h"

class CErrorListDlg : public CResizableDialog
{
  public:
    static constexpr UINT kTemplateId = IDD_ERRORLIST;
    static constexpr UINT kListId = IDC_ERRORLIST;
    static constexpr UINT kTipId = IDC_ERRORLIST_TIP;
    static constexpr UINT kPictureId = IDC_ERRORLIST_PICTURE;
    // The picture's background colour, drawn as the dialog's own.
    static constexpr COLORREF kPictureMask = RGB(255, 0, 255);

    explicit CErrorListDlg(CWnd* parent = nullptr);

    CStringArray m_entries;
    CString m_title;
    CString m_heading;
    int m_nLastSortColumn = -1;
    BOOL m_bSortAscending = FALSE;
    CWVHeaderCtrl m_header;
    CListCtrl m_list;
    WCHAR m_split = L',';

    // Kept with the dialog; the dialog shows its own language texts.
    void SetTitle(const CString& title)
    {
        m_title = title;
    }
    void SetHeading(const CString& heading)
    {
        m_heading = heading;
    }
    // Sorts by a column's texts: a second click on the same column flips the direction.
    void SortColumn(int column);

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

  protected:
    afx_msg void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

  private:
    void ShowPicture();
    void FitReasonColumn();

    // The picture the static shows, its background in the dialog's colour.
    CBitmap m_picture;
};

// Runs the error list for a batch of entries ("name|reason"); nothing without entries.
void ShowErrorListDlg(const CString& title, const CString& heading, const CStringArray& entries);
