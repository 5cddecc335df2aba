// The input chain of one routing step: an element and each of its logical ancestors that takes
// part in input, innermost first. Every entry holds a reference while the chain lives, so a
// handler that releases the tree cannot free an element the route still has to visit.
#pragma once

#include "uilib/markup/MarkupCollection.h"
#include "uilib/markup/MarkupContext.h"

class CWVPMarkupContext::CInputElementCollection : public CWVPMarkupCollection
{
  public:
    CInputElementCollection();
    CWVPMarkupInputElement* GetElement(int index) const;
    CWVPMarkupInputElement* GetLast() const;
    // Drops the outermost entry.
    void RemoveLast();
};
