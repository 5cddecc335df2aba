#include "platform/mfc/FileDialog.h"

#include "platform/mfc/WinApp.h"

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

namespace
{
// The folder part of a multiple selection ends at the first null; the names follow.
bool IsMultipleSelection(const OPENFILENAMEW& ofn)
{
    if (!(ofn.Flags & OFN_ALLOWMULTISELECT) || !ofn.lpstrFile)
        return false;
    int first = ::lstrlenW(ofn.lpstrFile);
    return ofn.lpstrFile[first + 1] != 0;
}

int LastSeparator(const CString& path)
{
    int slash = path.ReverseFind(L'\\');
    int forward = path.ReverseFind(L'/');
    return slash > forward ? slash : forward;
}
}

CString PASCAL CFileDialog::MakeFilter(LPCWSTR filter)
{
    CString result(filter ? filter : L"");
    // The text ends with "||": the system's list ends with two null characters.
    int length = result.GetLength();
    LPWSTR buffer = result.GetBuffer(length + 2);
    for (int i = 0; i < length; ++i)
    {
        if (buffer[i] == L'|')
            buffer[i] = 0;
    }
    buffer[length] = 0;
    buffer[length + 1] = 0;
    result.ReleaseBufferSetLength(length);
    return result;
}

CFileDialog::CFileDialog(BOOL openFileDialog, LPCWSTR defaultExtension, LPCWSTR fileName, DWORD flags,
                         LPCWSTR filter, CWnd* parent, DWORD size, BOOL)
    : m_ofn(), m_bOpenFileDialog(openFileDialog), m_strFilter(MakeFilter(filter)), m_strDefExt(defaultExtension)
{
    m_pParentWnd = parent;
    ::ZeroMemory(m_szFileName, sizeof(m_szFileName));
    ::ZeroMemory(m_szFileTitle, sizeof(m_szFileTitle));
    if (fileName)
        ::lstrcpynW(m_szFileName, fileName, MAX_PATH);
    m_ofn.lStructSize = size ? size : sizeof(OPENFILENAMEW);
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = MAX_PATH;
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLESIZING;
    m_ofn.lpstrDefExt = m_strDefExt.IsEmpty() ? nullptr : (LPCWSTR)m_strDefExt;
    m_ofn.hInstance = AfxGetResourceHandle();
    if (filter)
    {
        m_ofn.lpstrFilter = m_strFilter;
        m_ofn.nFilterIndex = 1;
    }
}

CFileDialog::~CFileDialog()
{
}

INT_PTR CFileDialog::DoModal()
{
    // The filter text may have moved since construction.
    if (m_ofn.lpstrFilter && m_ofn.lpstrFilter != (LPCWSTR)m_strFilter && !m_strFilter.IsEmpty())
        m_ofn.lpstrFilter = m_strFilter;
    HWND top = nullptr;
    CWnd* owner = CWnd::GetSafeOwner(m_pParentWnd, &top);
    m_ofn.hwndOwner = owner->GetSafeHwnd();
    if (m_ofn.lpstrFile == m_szFileName)
        m_ofn.nMaxFile = MAX_PATH;
    BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    return ok ? IDOK : IDCANCEL;
}

POSITION CFileDialog::GetStartPosition() const
{
    if (!m_ofn.lpstrFile || !m_ofn.lpstrFile[0])
        return nullptr;
    return reinterpret_cast<POSITION>(m_ofn.lpstrFile);
}

CString CFileDialog::GetNextPathName(POSITION& pos) const
{
    LPCWSTR current = reinterpret_cast<LPCWSTR>(pos);
    if (!current || !*current)
    {
        pos = nullptr;
        return CString();
    }
    if (!IsMultipleSelection(m_ofn))
    {
        // One file: the buffer holds its whole path.
        pos = nullptr;
        return CString(m_ofn.lpstrFile);
    }
    LPCWSTR folder = m_ofn.lpstrFile;
    if (current == folder)
        current += ::lstrlenW(folder) + 1; // the first name follows the folder
    CString path(folder);
    if (!path.IsEmpty() && path[path.GetLength() - 1] != L'\\')
        path += L"\\";
    path += current;
    LPCWSTR next = current + ::lstrlenW(current) + 1;
    pos = *next ? reinterpret_cast<POSITION>(const_cast<LPWSTR>(next)) : nullptr;
    return path;
}

CString CFileDialog::GetPathName() const
{
    if (IsMultipleSelection(m_ofn))
    {
        POSITION pos = GetStartPosition();
        return GetNextPathName(pos);
    }
    return CString(m_ofn.lpstrFile);
}

CString CFileDialog::GetFileName() const
{
    CString path = GetPathName();
    return path.Mid(LastSeparator(path) + 1);
}

CString CFileDialog::GetFileExt() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind(L'.');
    return dot >= 0 ? name.Mid(dot + 1) : CString();
}

CString CFileDialog::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind(L'.');
    return dot >= 0 ? name.Left(dot) : name;
}

CString CFileDialog::GetFolderPath() const
{
    if (IsMultipleSelection(m_ofn))
        return CString(m_ofn.lpstrFile);
    CString path = GetPathName();
    int separator = LastSeparator(path);
    return separator >= 0 ? path.Left(separator) : CString();
}
