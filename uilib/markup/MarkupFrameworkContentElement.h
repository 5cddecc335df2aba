// The base of the markup elements that are content rather than visuals (the text elements): they
// take input and styles, and their property changes re-lay out or redraw the framework element that
// hosts them.
#pragma once

#include "uilib/markup/MarkupInputElement.h"

class CWVPMarkupFrameworkElement;

class CWVPMarkupFrameworkContentElement : public CWVPMarkupInputElement
{
    DECLARE_MARKUP_TYPE()
  public:
    void OnPropertyChanged(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* oldValue,
                           CWVPMarkupObject* newValue) override;
    CWVPMarkupInputElement* InputHitTest(POINT point) override;

    // The nearest framework element among the logical ancestors, or null.
    CWVPMarkupFrameworkElement* GetHost() const;

    static void RegisterProperties();
};
