#include "platform/mfc/ArchiveException.h"

IMPLEMENT_DYNAMIC(CArchiveException, CException)

namespace
{
// Descriptions by cause; %1 stands for the archive's file name.
const LPCWSTR kCauseTexts[] = {
    L"No error occurred.",
    L"An unexpected error occurred while reading or writing %1.",
    L"Tried to write to %1 while it was being read.",
    L"Unexpected end of file while reading %1.",
    L"Tried to read from %1 while it was being written.",
    L"%1 has an unexpected format.",
    L"%1 contains an unexpected object.",
    L"%1 contains an object of an unexpected version.",
};
} // namespace

CArchiveException::CArchiveException(int cause, LPCTSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName)
{
}

BOOL CArchiveException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    return CopyCauseMessage(kCauseTexts, _countof(kCauseTexts), m_cause, m_strFileName, lpszError, nMaxError);
}
