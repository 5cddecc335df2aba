// A failed archive operation: reading past the end, a wrong class or schema, a bad reference, or
// using an archive in the wrong direction.
#pragma once

#include "platform/mfc/Exception.h"

class CArchiveException : public CException
{
    DECLARE_DYNAMIC(CArchiveException)
  public:
    enum
    {
        none,
        genericException,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema
    };

    explicit CArchiveException(int cause = none, LPCTSTR lpszArchiveName = nullptr);
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

    int m_cause;
    CString m_strFileName;
};
