// The base of elements with exactly one child UI element, which is their only visual child. A
// bare decorator does not lay its child out; the border and the page do.
#pragma once

#include "uilib/markup/MarkupFrameworkElement.h"

class CWVPMarkupDecorator : public CWVPMarkupFrameworkElement
{
  public:
    CWVPMarkupDecorator();
    ~CWVPMarkupDecorator() override;
    void SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content) override;
    BOOL HasContentObject() const override;
    int GetVisualChildrenCount() const override;
    CWVPMarkupVisual* GetVisualChild(int index) const override;
    void SetChild(CWVPMarkupUIElement* child);
    CWVPMarkupUIElement* GetChild() const
    {
        return m_pChild;
    }

  protected:
    CWVPMarkupUIElement* m_pChild;
};
