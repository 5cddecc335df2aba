// A failed file operation: the cause, the operating-system error and the file's name.
#pragma once

#include "platform/mfc/Exception.h"

class CFileException : public CException
{
    DECLARE_DYNAMIC(CFileException)
  public:
    enum
    {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG lOsError = -1, LPCTSTR lpszArchiveName = nullptr);
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

    // Resets the exception for reuse (as an Open error report).
    void Clear();

    // The cause that matches a Win32 error code.
    static int AFXAPI OsErrorToException(LONG lOsError);
    [[noreturn]] static void AFXAPI ThrowOsError(LONG lOsError, LPCTSTR lpszFileName = nullptr);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};
