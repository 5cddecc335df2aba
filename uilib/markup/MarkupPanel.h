// The base of the multi-child layout elements: an ordered list of child UI elements filled from
// markup content, shown as the visual children, and an optional background that also makes the
// panel itself hit by the mouse. The stack, wrap, grid and canvas panels derive from it.
#pragma once

#include "uilib/markup/MarkupCollection.h"
#include "uilib/markup/MarkupFrameworkElement.h"

// The children of a panel: a collection that accepts UI elements only.
class CWVPMarkupUIElementCollection : public CWVPMarkupCollection
{
  public:
    CWVPMarkupUIElementCollection();
};

class CWVPMarkupPanel : public CWVPMarkupFrameworkElement
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupPanel();
    ~CWVPMarkupPanel() override;
    void SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content) override;
    BOOL HasContentObject() const override;
    int GetVisualChildrenCount() const override;
    CWVPMarkupVisual* GetVisualChild(int index) const override;
    void OnRender(CWVPMarkupDrawingContext* dc) override;
    CWVPMarkupInputElement* InputHitTestCore(POINT point) override;
    CWVPMarkupUIElementCollection* GetChildren() const
    {
        return m_pChildren;
    }
    // The child at index as a UI element, null for a null entry or an index outside the list.
    CWVPMarkupUIElement* GetChildElement(int index) const;

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pBackgroundProperty;

  protected:
    CWVPMarkupUIElementCollection* m_pChildren;
};
