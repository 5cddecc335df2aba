// The framework's exceptions. They are thrown as pointers (throw new CFileException(...)) and
// caught as CException*, then released with Delete(); the AfxThrow functions build and throw them.
#pragma once

#include "platform/mfc/Object.h"
#include "platform/mfc/String.h"

class CException : public CObject
{
    DECLARE_DYNAMIC(CException)
  public:
    explicit CException(BOOL bAutoDelete = TRUE);
    // Frees the exception unless it is a shared, preallocated one.
    void Delete();
    // The user-readable description; FALSE when there is none.
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const;
    // Shows the description in a message box and returns the box's result.
    virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0);

    BOOL m_bAutoDelete;

  protected:
    // Copies text into the caller's buffer the way GetErrorMessage promises.
    static BOOL CopyMessage(const CString& text, LPTSTR lpszError, UINT nMaxError);
    // Copies the text of a cause (texts by cause number, %1 standing for the file's name).
    static BOOL CopyCauseMessage(const LPCWSTR* texts, int nTexts, int cause, const CString& strFileName,
                                 LPTSTR lpszError, UINT nMaxError);
};

// An exception with a fixed description.
class CSimpleException : public CException
{
    DECLARE_DYNAMIC(CSimpleException)
  public:
    explicit CSimpleException(BOOL bAutoDelete = TRUE, LPCTSTR lpszMessage = nullptr);
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

  protected:
    LPCTSTR m_lpszMessage;
};

class CMemoryException : public CSimpleException
{
    DECLARE_DYNAMIC(CMemoryException)
  public:
    explicit CMemoryException(BOOL bAutoDelete = TRUE);
};

class CNotSupportedException : public CSimpleException
{
    DECLARE_DYNAMIC(CNotSupportedException)
  public:
    explicit CNotSupportedException(BOOL bAutoDelete = TRUE);
};

class CInvalidArgException : public CSimpleException
{
    DECLARE_DYNAMIC(CInvalidArgException)
  public:
    explicit CInvalidArgException(BOOL bAutoDelete = TRUE);
};

// Ends an operation that has already told the user what went wrong: it reports nothing.
class CUserException : public CSimpleException
{
    DECLARE_DYNAMIC(CUserException)
  public:
    explicit CUserException(BOOL bAutoDelete = TRUE);
    int ReportError(UINT nType = MB_OK, UINT nMessageID = 0) override;
};

[[noreturn]] void AFXAPI AfxThrowMemoryException();
// The new handler of framework programs (AfxWinInit installs it): a failed `new` on a framework
// thread throws CMemoryException, as framework callers expect; other threads (the engine's
// workers, library threads) keep std::bad_alloc.
void AfxNewHandler();
[[noreturn]] void AFXAPI AfxThrowNotSupportedException();
[[noreturn]] void AFXAPI AfxThrowInvalidArgException();
[[noreturn]] void AFXAPI AfxThrowUserException();
[[noreturn]] void AFXAPI AfxThrowFileException(int cause, LONG lOsError = -1, LPCTSTR lpszFileName = nullptr);
[[noreturn]] void AFXAPI AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName = nullptr);
