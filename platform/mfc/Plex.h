// Block storage for the nodes of lists and maps: nodes are carved from blocks of a fixed count
// and recycled through a free list; the blocks are released together.
#pragma once

#include "platform/mfc/Afx.h"

struct alignas(16) CPlex
{
    CPlex* pNext;

    void* data()
    {
        return this + 1;
    }

    // Prepends a new block of nMax elements of cbElement bytes to the chain at head.
    static CPlex* AFXAPI Create(CPlex*& head, UINT_PTR nMax, UINT_PTR cbElement);
    // Frees this block and every block after it.
    void FreeDataChain();
};
