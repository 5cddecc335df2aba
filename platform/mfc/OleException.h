// A failed COM or OLE call, carrying its status code; hosts of controls and automation throw it
// through AfxThrowOleException and report it like any framework exception.
#pragma once

#include <objbase.h>

#include "platform/mfc/Exception.h"

class COleException : public CException
{
    DECLARE_DYNAMIC(COleException)
  public:
    explicit COleException(SCODE sc = S_OK);
    // The system's text for the status code.
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
    // The status code an exception stands for: its own for an OLE exception, E_OUTOFMEMORY for a
    // memory exception, E_NOTIMPL for an unsupported operation, E_UNEXPECTED otherwise.
    static SCODE PASCAL Process(const CException* e);

    SCODE m_sc;
};

[[noreturn]] void AFXAPI AfxThrowOleException(SCODE sc);
