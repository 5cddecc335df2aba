#include "platform/mfc/Plex.h"

#include "platform/mfc/Exception.h"

#include <cstdlib>

CPlex* AFXAPI CPlex::Create(CPlex*& head, UINT_PTR nMax, UINT_PTR cbElement)
{
    if (nMax == 0 || cbElement == 0 || nMax > (UINT_PTR(-1) - sizeof(CPlex)) / cbElement)
        AfxThrowInvalidArgException();
    CPlex* p = static_cast<CPlex*>(std::malloc(sizeof(CPlex) + nMax * cbElement));
    if (!p)
        AfxThrowMemoryException();
    p->pNext = head;
    head = p;
    return p;
}

void CPlex::FreeDataChain()
{
    CPlex* p = this;
    while (p)
    {
        CPlex* next = p->pNext;
        std::free(p);
        p = next;
    }
}
