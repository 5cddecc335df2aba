// A resource (string, bitmap, menu, dialog template, GDI object) that could not be found or made.
#pragma once

#include "platform/mfc/Exception.h"

class CResourceException : public CSimpleException
{
    DECLARE_DYNAMIC(CResourceException)
  public:
    explicit CResourceException(BOOL bAutoDelete = TRUE);
};

[[noreturn]] void AFXAPI AfxThrowResourceException();
