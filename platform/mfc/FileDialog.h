// CFileDialog: the system's open and save dialogs with the framework's conventions: filters
// written as "text|pattern|...||", a selection buffer the caller may enlarge, and a walk over
// the files of a multiple selection.
#pragma once

#include "platform/mfc/Dialog.h"

#include <commdlg.h>

class CFileDialog : public CDialog
{
    DECLARE_DYNAMIC(CFileDialog)
public:
    explicit CFileDialog(BOOL openFileDialog, LPCWSTR defaultExtension = nullptr, LPCWSTR fileName = nullptr,
                         DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCWSTR filter = nullptr,
                         CWnd* parent = nullptr, DWORD size = 0, BOOL vistaStyle = TRUE);
    virtual ~CFileDialog();

    OPENFILENAMEW m_ofn;
    BOOL m_bOpenFileDialog;
    CString m_strFilter;       // the filter with its separators turned into null characters
    CString m_strDefExt;
    wchar_t m_szFileName[MAX_PATH];
    wchar_t m_szFileTitle[MAX_PATH];

    INT_PTR DoModal() override;

    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    CString GetFolderPath() const;
    BOOL GetReadOnlyPref() const { return (m_ofn.Flags & OFN_READONLY) != 0; }
    // Walks the chosen files: a position, then each full path in the order the dialog gave them.
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& pos) const;

    // Turns "text|pattern|text|pattern||" into the system's list of null-separated pairs.
    static CString PASCAL MakeFilter(LPCWSTR filter);
};
