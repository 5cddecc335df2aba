#include "platform/mfc/Exception.h"

#include "platform/mfc/ArchiveException.h"
#include "platform/mfc/FileException.h"
#include "platform/mfc/Thread.h"

#include <new>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CSimpleException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CSimpleException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CSimpleException)
IMPLEMENT_DYNAMIC(CUserException, CSimpleException)

CException::CException(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete)
{
}

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (lpszError && nMaxError)
        *lpszError = 0;
    return FALSE;
}

BOOL CException::CopyMessage(const CString& text, LPTSTR lpszError, UINT nMaxError)
{
    if (!lpszError || nMaxError == 0)
        return FALSE;
    UINT n = static_cast<UINT>(text.GetLength());
    if (n >= nMaxError)
        n = nMaxError - 1;
    for (UINT i = 0; i < n; ++i)
        lpszError[i] = text[static_cast<int>(i)];
    lpszError[n] = 0;
    return TRUE;
}

BOOL CException::CopyCauseMessage(const LPCWSTR* texts, int nTexts, int cause, const CString& strFileName,
                                  LPTSTR lpszError, UINT nMaxError)
{
    const int kGeneric = 1;
    CString text = texts[(cause >= 0 && cause < nTexts) ? cause : kGeneric];
    text.Replace(L"%1", strFileName.IsEmpty() ? L"an unnamed file" : strFileName.GetString());
    return CopyMessage(text, lpszError, nMaxError);
}

int CException::ReportError(UINT nType, UINT nMessageID)
{
    WCHAR text[512];
    CString message;
    if (GetErrorMessage(text, _countof(text)))
        message = text;
    else if (nMessageID)
        message.LoadString(nMessageID);
    if (message.IsEmpty())
        message = L"An unexpected error occurred.";
    return ::MessageBoxW(nullptr, message, nullptr, nType | MB_ICONEXCLAMATION);
}

CSimpleException::CSimpleException(BOOL bAutoDelete, LPCTSTR lpszMessage)
    : CException(bAutoDelete), m_lpszMessage(lpszMessage)
{
}

BOOL CSimpleException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (!m_lpszMessage)
        return CException::GetErrorMessage(lpszError, nMaxError, nullptr);
    return CopyMessage(m_lpszMessage, lpszError, nMaxError);
}

CMemoryException::CMemoryException(BOOL bAutoDelete) : CSimpleException(bAutoDelete, L"Out of memory.")
{
}

CNotSupportedException::CNotSupportedException(BOOL bAutoDelete)
    : CSimpleException(bAutoDelete, L"An unsupported operation was attempted.")
{
}

CInvalidArgException::CInvalidArgException(BOOL bAutoDelete)
    : CSimpleException(bAutoDelete, L"An invalid argument was encountered.")
{
}

CUserException::CUserException(BOOL bAutoDelete) : CSimpleException(bAutoDelete, nullptr)
{
}

int CUserException::ReportError(UINT, UINT)
{
    return IDOK;
}

void AFXAPI AfxThrowMemoryException()
{
    // Shared and never freed: there may be no memory left to build a new one.
    static CMemoryException* shared = new CMemoryException(FALSE);
    throw shared;
}

void AfxNewHandler()
{
    if (AfxGetThread())
        AfxThrowMemoryException();
    throw std::bad_alloc();
}

void AFXAPI AfxThrowNotSupportedException()
{
    throw new CNotSupportedException;
}

void AFXAPI AfxThrowInvalidArgException()
{
    throw new CInvalidArgException;
}

void AFXAPI AfxThrowUserException()
{
    throw new CUserException;
}

void AFXAPI AfxThrowFileException(int cause, LONG lOsError, LPCTSTR lpszFileName)
{
    throw new CFileException(cause, lOsError, lpszFileName);
}

void AFXAPI AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName)
{
    throw new CArchiveException(cause, lpszArchiveName);
}
