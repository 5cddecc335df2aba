// A control that hosts one UI element as its content; text given as content becomes a text block
// holding one run.
#pragma once

#include "uilib/markup/MarkupControl.h"

class CWVPMarkupContentControl : public CWVPMarkupControl
{
    DECLARE_MARKUP_TYPE()
  public:
    void SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content) override;
    BOOL HasContentObject() const override;
    int GetVisualChildrenCount() const override;
    CWVPMarkupVisual* GetVisualChild(int index) const override;

    // The content element, or null; no reference added.
    CWVPMarkupUIElement* GetContent() const;

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pContentProperty;
};
