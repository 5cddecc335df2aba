#include "platform/mfc/ResourceException.h"

IMPLEMENT_DYNAMIC(CResourceException, CSimpleException)

CResourceException::CResourceException(BOOL bAutoDelete)
    : CSimpleException(bAutoDelete, L"A required resource was unavailable.")
{
}

void AFXAPI AfxThrowResourceException()
{
    throw new CResourceException;
}
