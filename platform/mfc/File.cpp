#include "platform/mfc/File.h"

IMPLEMENT_DYNAMIC(CFile, CObject)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace
{
const UINT kAccessMask = 0x0003;
const UINT kShareMask = 0x0070;

DWORD ShareMode(UINT nOpenFlags)
{
    switch (nOpenFlags & kShareMask)
    {
    case CFile::shareExclusive:
        return 0;
    case CFile::shareDenyWrite:
        return FILE_SHARE_READ;
    case CFile::shareDenyRead:
        return FILE_SHARE_WRITE;
    case CFile::shareDenyNone:
        return FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    default: // compatibility mode
        return FILE_SHARE_READ | FILE_SHARE_WRITE;
    }
}

// The full Win32 path of a name, or the name itself when it cannot be resolved.
CString FullPath(LPCTSTR lpszFileName)
{
    WCHAR buffer[MAX_PATH * 4];
    DWORD n = ::GetFullPathNameW(lpszFileName, _countof(buffer), buffer, nullptr);
    return (n > 0 && n < _countof(buffer)) ? CString(buffer) : CString(lpszFileName);
}

// Fills a status from either kind of Win32 file information (they share these members).
template <typename INFO> void FillStatus(const INFO& info, const CString& fullName, CFileStatus& rStatus)
{
    rStatus.m_ctime = info.ftCreationTime;
    rStatus.m_atime = info.ftLastAccessTime;
    rStatus.m_mtime = info.ftLastWriteTime;
    rStatus.m_size = (ULONGLONG(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    rStatus.m_attribute = info.dwFileAttributes;
    int n = fullName.GetLength() < MAX_PATH ? fullName.GetLength() : MAX_PATH - 1;
    for (int i = 0; i < n; ++i)
        rStatus.m_szFullName[i] = fullName[i];
    rStatus.m_szFullName[n] = 0;
}
} // namespace

CFile::CFile() : m_hFile(INVALID_HANDLE_VALUE), m_bCloseOnDelete(FALSE)
{
}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE)
{
}

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags) : CFile()
{
    CFileException error;
    if (!Open(lpszFileName, nOpenFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CFile::~CFile()
{
    if (m_hFile != INVALID_HANDLE_VALUE && m_bCloseOnDelete)
        Abort();
}

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (pError)
        pError->Clear();
    if (m_hFile != INVALID_HANDLE_VALUE)
        Abort();
    m_strFileName = lpszFileName ? FullPath(lpszFileName) : CString();

    DWORD access;
    switch (nOpenFlags & kAccessMask)
    {
    case modeRead:
        access = GENERIC_READ;
        break;
    case modeWrite:
        access = GENERIC_WRITE;
        break;
    case modeReadWrite:
        access = GENERIC_READ | GENERIC_WRITE;
        break;
    default:
        access = 0;
        break;
    }
    DWORD creation = OPEN_EXISTING;
    if (nOpenFlags & modeCreate)
        creation = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    if (nOpenFlags & osNoBuffer)
        attributes |= FILE_FLAG_NO_BUFFERING;
    if (nOpenFlags & osWriteThrough)
        attributes |= FILE_FLAG_WRITE_THROUGH;
    if (nOpenFlags & osRandomAccess)
        attributes |= FILE_FLAG_RANDOM_ACCESS;
    if (nOpenFlags & osSequentialScan)
        attributes |= FILE_FLAG_SEQUENTIAL_SCAN;
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, (nOpenFlags & modeNoInherit) ? FALSE : TRUE};

    HANDLE h = (access == 0 || !lpszFileName)
                   ? INVALID_HANDLE_VALUE
                   : ::CreateFileW(lpszFileName, access, ShareMode(nOpenFlags), &sa, creation, attributes, nullptr);
    if (h == INVALID_HANDLE_VALUE)
    {
        LONG error = (access == 0 || !lpszFileName) ? ERROR_INVALID_PARAMETER : LONG(::GetLastError());
        if (pError)
        {
            pError->m_lOsError = error;
            pError->m_cause = CFileException::OsErrorToException(error);
            pError->m_strFileName = lpszFileName;
        }
        return FALSE;
    }
    m_hFile = h;
    m_bCloseOnDelete = TRUE;
    return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    DWORD nRead = 0;
    if (!::ReadFile(m_hFile, lpBuf, nCount, &nRead, nullptr))
        CFileException::ThrowOsError(LONG(::GetLastError()), m_strFileName);
    return nRead;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    DWORD nWritten = 0;
    if (!::WriteFile(m_hFile, lpBuf, nCount, &nWritten, nullptr))
        CFileException::ThrowOsError(LONG(::GetLastError()), m_strFileName);
    if (nWritten != nCount)
        AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    static const DWORD kMethods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    if (nFrom > end)
        AfxThrowInvalidArgException();
    LARGE_INTEGER distance;
    distance.QuadPart = lOff;
    LARGE_INTEGER position;
    if (!::SetFilePointerEx(m_hFile, distance, &position, kMethods[nFrom]))
        CFileException::ThrowOsError(LONG(::GetLastError()), m_strFileName);
    return ULONGLONG(position.QuadPart);
}

ULONGLONG CFile::GetPosition() const
{
    LARGE_INTEGER zero = {};
    LARGE_INTEGER position;
    if (!::SetFilePointerEx(m_hFile, zero, &position, FILE_CURRENT))
        CFileException::ThrowOsError(LONG(::GetLastError()), m_strFileName);
    return ULONGLONG(position.QuadPart);
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(m_hFile, &size))
        CFileException::ThrowOsError(LONG(::GetLastError()), m_strFileName);
    return ULONGLONG(size.QuadPart);
}

void CFile::SetLength(ULONGLONG dwNewLen)
{
    ULONGLONG position = GetPosition();
    Seek(LONGLONG(dwNewLen), begin);
    if (!::SetEndOfFile(m_hFile))
        CFileException::ThrowOsError(LONG(::GetLastError()), m_strFileName);
    if (position < dwNewLen)
        Seek(LONGLONG(position), begin);
}

void CFile::Flush()
{
    if (m_hFile != INVALID_HANDLE_VALUE && !::FlushFileBuffers(m_hFile))
        CFileException::ThrowOsError(LONG(::GetLastError()), m_strFileName);
}

void CFile::Close()
{
    BOOL ok = TRUE;
    if (m_hFile != INVALID_HANDLE_VALUE)
        ok = ::CloseHandle(m_hFile);
    LONG error = ok ? 0 : LONG(::GetLastError());
    m_hFile = INVALID_HANDLE_VALUE;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
    if (!ok)
        CFileException::ThrowOsError(error);
}

void CFile::Abort()
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}

CString CFile::GetFileName() const
{
    int slash = -1;
    for (int i = 0; i < m_strFileName.GetLength(); ++i)
        if (m_strFileName[i] == '\\' || m_strFileName[i] == '/' || m_strFileName[i] == ':')
            slash = i;
    return slash < 0 ? m_strFileName : m_strFileName.Mid(slash + 1);
}

CString CFile::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot < 0 ? name : name.Left(dot);
}

BOOL CFile::GetStatus(CFileStatus& rStatus) const
{
    BY_HANDLE_FILE_INFORMATION info;
    if (m_hFile == INVALID_HANDLE_VALUE || !::GetFileInformationByHandle(m_hFile, &info))
        return FALSE;
    FillStatus(info, m_strFileName, rStatus);
    return TRUE;
}

BOOL AFXAPI CFile::GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!lpszFileName || !::GetFileAttributesExW(lpszFileName, GetFileExInfoStandard, &data))
        return FALSE;
    FillStatus(data, FullPath(lpszFileName), rStatus);
    return TRUE;
}

void AFXAPI CFile::Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName)
{
    if (!::MoveFileW(lpszOldName, lpszNewName))
        CFileException::ThrowOsError(LONG(::GetLastError()), lpszOldName);
}

void AFXAPI CFile::Remove(LPCTSTR lpszFileName)
{
    if (!::DeleteFileW(lpszFileName))
        CFileException::ThrowOsError(LONG(::GetLastError()), lpszFileName);
}
