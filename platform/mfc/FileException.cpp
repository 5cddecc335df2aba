#include "platform/mfc/FileException.h"

IMPLEMENT_DYNAMIC(CFileException, CException)

namespace
{
struct OsErrorCause
{
    LONG lOsError;
    int cause;
};

const OsErrorCause kOsErrorCauses[] = {
    {NO_ERROR, CFileException::none},
    {ERROR_FILE_NOT_FOUND, CFileException::fileNotFound},
    {ERROR_PATH_NOT_FOUND, CFileException::badPath},
    {ERROR_INVALID_NAME, CFileException::badPath},
    {ERROR_BAD_PATHNAME, CFileException::badPath},
    {ERROR_INVALID_DRIVE, CFileException::badPath},
    {ERROR_BAD_NETPATH, CFileException::badPath},
    {ERROR_FILENAME_EXCED_RANGE, CFileException::badPath},
    {ERROR_TOO_MANY_OPEN_FILES, CFileException::tooManyOpenFiles},
    {ERROR_ACCESS_DENIED, CFileException::accessDenied},
    {ERROR_WRITE_PROTECT, CFileException::accessDenied},
    {ERROR_FILE_EXISTS, CFileException::accessDenied},
    {ERROR_ALREADY_EXISTS, CFileException::accessDenied},
    {ERROR_INVALID_HANDLE, CFileException::invalidFile},
    {ERROR_CURRENT_DIRECTORY, CFileException::removeCurrentDir},
    {ERROR_CANNOT_MAKE, CFileException::directoryFull},
    {ERROR_NEGATIVE_SEEK, CFileException::badSeek},
    {ERROR_SEEK_ON_DEVICE, CFileException::badSeek},
    {ERROR_SEEK, CFileException::badSeek},
    {ERROR_CRC, CFileException::hardIO},
    {ERROR_READ_FAULT, CFileException::hardIO},
    {ERROR_WRITE_FAULT, CFileException::hardIO},
    {ERROR_GEN_FAILURE, CFileException::hardIO},
    {ERROR_NOT_READY, CFileException::hardIO},
    {ERROR_SHARING_VIOLATION, CFileException::sharingViolation},
    {ERROR_LOCK_VIOLATION, CFileException::lockViolation},
    {ERROR_DRIVE_LOCKED, CFileException::lockViolation},
    {ERROR_DISK_FULL, CFileException::diskFull},
    {ERROR_HANDLE_DISK_FULL, CFileException::diskFull},
    {ERROR_HANDLE_EOF, CFileException::endOfFile},
};

// Descriptions by cause; %1 stands for the file's name.
const LPCWSTR kCauseTexts[] = {
    L"No error occurred.",
    L"An unexpected error occurred while accessing %1.",
    L"%1 was not found.",
    L"%1 contains an incorrect path.",
    L"%1 could not be opened because there are too many open files.",
    L"Access to %1 was denied.",
    L"An incorrect file handle was associated with %1.",
    L"%1 could not be removed because it is the current directory.",
    L"%1 could not be created because the directory is full.",
    L"Seek failed on %1.",
    L"A hardware I/O error was reported while accessing %1.",
    L"A sharing violation occurred while accessing %1.",
    L"A locking violation occurred while accessing %1.",
    L"The disk is full while accessing %1.",
    L"An attempt was made to access %1 past its end.",
};
} // namespace

CFileException::CFileException(int cause, LONG lOsError, LPCTSTR lpszArchiveName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszArchiveName)
{
}

void CFileException::Clear()
{
    m_cause = none;
    m_lOsError = -1;
    m_strFileName.Empty();
}

BOOL CFileException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    return CopyCauseMessage(kCauseTexts, _countof(kCauseTexts), m_cause, m_strFileName, lpszError, nMaxError);
}

int AFXAPI CFileException::OsErrorToException(LONG lOsError)
{
    for (const OsErrorCause& entry : kOsErrorCauses)
        if (entry.lOsError == lOsError)
            return entry.cause;
    return genericException;
}

void AFXAPI CFileException::ThrowOsError(LONG lOsError, LPCTSTR lpszFileName)
{
    AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}
