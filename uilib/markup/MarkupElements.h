// The element classes of the markup language as registered types with their properties and
// content rules: text elements and inlines, the text block, panels, grid, canvas, border, page,
// shapes, images, controls and buttons, scrolling and keyboard navigation. Their own layout and
// drawing build on the framework element.
#pragma once

#include "uilib/markup/MarkupCollection.h"
#include "uilib/markup/MarkupFrameworkElement.h"

class CWVPMarkupContext;
class CWVPMarkupInlineCollection;

// Replaces the single child held in slot: the previous one loses its parent and is released, the
// new one (whose reference is taken over) gets owner as its logical parent.
void MarkupReplaceChild(CWVPMarkupObject* owner, CWVPMarkupUIElement*& slot, CWVPMarkupUIElement* child);
// Raises the builder's error for content that is not a UI element where only one is accepted.
[[noreturn]] void MarkupThrowNotUIElement(CWVPMarkupObject* content, CWVPMarkupObject* owner);
class CWVPMarkupUIElementCollection;
class CWVPMarkupRoutedEvent;

// ---- Text content ---------------------------------------------------------------------------
#include "uilib/markup/MarkupFrameworkContentElement.h"
#include "uilib/markup/MarkupTextElement.h"
#include "uilib/markup/MarkupInline.h"
#include "uilib/markup/MarkupRun.h"
#include "uilib/markup/MarkupSpan.h"
#include "uilib/markup/MarkupHyperlink.h"
#include "uilib/markup/MarkupInlineUIContainer.h"
#include "uilib/markup/MarkupTextBlock.h"

// ---- Panels ---------------------------------------------------------------------------------
#include "uilib/markup/MarkupCanvas.h"
#include "uilib/markup/MarkupGrid.h"
#include "uilib/markup/MarkupPanel.h"
#include "uilib/markup/MarkupStackPanel.h"
#include "uilib/markup/MarkupWrapPanel.h"

// ---- Single-child elements ------------------------------------------------------------------
#include "uilib/markup/MarkupBorder.h"
#include "uilib/markup/MarkupDecorator.h"
#include "uilib/markup/MarkupPage.h"

// ---- Shapes ---------------------------------------------------------------------------------
#include "uilib/markup/MarkupShape.h"
#include "uilib/markup/MarkupImage.h"

// ---- Controls -------------------------------------------------------------------------------
class CWVPMarkupControl : public CWVPMarkupFrameworkElement
{
    DECLARE_MARKUP_TYPE()
  public:
    static void RegisterProperties();
};

class CWVPMarkupContentControl : public CWVPMarkupControl
{
    DECLARE_MARKUP_TYPE()
  public:
    void SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content) override;
    BOOL HasContentObject() const override;
    int GetVisualChildrenCount() const override;
    CWVPMarkupVisual* GetVisualChild(int index) const override;

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pContentProperty;
};

class CWVPMarkupButtonBase : public CWVPMarkupContentControl
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupButtonBase();
    static void RegisterProperties();
    static CWVPMarkupRoutedEvent* s_pClickEvent;
    static CWVPMarkupDependencyProperty* s_pIsPressedProperty;
};

class CWVPMarkupButton : public CWVPMarkupButtonBase
{
    DECLARE_MARKUP_TYPE()
};

class CWVPMarkupToggleButton : public CWVPMarkupButtonBase
{
    DECLARE_MARKUP_TYPE()
  public:
    static void RegisterProperties();
    static CWVPMarkupRoutedEvent* s_pCheckedEvent;
    static CWVPMarkupRoutedEvent* s_pUncheckedEvent;
    static CWVPMarkupRoutedEvent* s_pIndeterminateEvent;
    static CWVPMarkupDependencyProperty* s_pIsCheckedProperty;
    static CWVPMarkupDependencyProperty* s_pIsThreeStateProperty;
};

class CWVPMarkupCheckBox : public CWVPMarkupToggleButton
{
    DECLARE_MARKUP_TYPE()
};

class CWVPMarkupRadioButton : public CWVPMarkupToggleButton
{
    DECLARE_MARKUP_TYPE()
};

// ---- Scrolling ------------------------------------------------------------------------------
#include "uilib/markup/MarkupScrollViewer.h"
#include "uilib/markup/MarkupScrollBar.h"
#include "uilib/markup/MarkupScrollBarGripper.h"

// ---- Keyboard navigation --------------------------------------------------------------------
class CWVPMarkupKeyboardNavigation : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    explicit CWVPMarkupKeyboardNavigation(CWVPMarkupContext* context = nullptr) : m_pContext(context) {}
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    void Focus(CWVPMarkupInputElement* element);

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pIsTabStopProperty;
    static CWVPMarkupDependencyProperty* s_pTabNavigationProperty;
    static CWVPMarkupDependencyProperty* s_pTabIndexProperty;

  private:
    CWVPMarkupContext* m_pContext;
};
