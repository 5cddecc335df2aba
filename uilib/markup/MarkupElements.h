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
    CWVPMarkupUIElementCollection* GetChildren() const { return m_pChildren; }

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pBackgroundProperty;

  protected:
    CWVPMarkupUIElementCollection* m_pChildren;
};

class CWVPMarkupStackPanel : public CWVPMarkupPanel
{
    DECLARE_MARKUP_TYPE()
  public:
    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pOrientationProperty;
};

class CWVPMarkupWrapPanel : public CWVPMarkupPanel
{
    DECLARE_MARKUP_TYPE()
  public:
    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pOrientationProperty;
    static CWVPMarkupDependencyProperty* s_pItemHeightProperty;
    static CWVPMarkupDependencyProperty* s_pItemWidthProperty;
};

class CWVPMarkupCanvas : public CWVPMarkupPanel
{
    DECLARE_MARKUP_TYPE()
  public:
    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pTopProperty;
    static CWVPMarkupDependencyProperty* s_pRightProperty;
    static CWVPMarkupDependencyProperty* s_pLeftProperty;
    static CWVPMarkupDependencyProperty* s_pBottomProperty;
};

class CWVPMarkupGridLength : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    enum
    {
        unitAuto = 0,
        unitPixel = 1,
        unitStar = 2
    };
    CWVPMarkupGridLength(double value = 0, int unit = unitPixel) : m_dValue(value), m_nUnit(unit) {}
    CWVPMarkupObject* ConvertFrom(CWVPMarkupObject* source) override;
    double m_dValue;
    int m_nUnit;
};

class CWVPMarkupColumnDefinition : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pWidthProperty;
    static CWVPMarkupDependencyProperty* s_pMinWidthProperty;
    static CWVPMarkupDependencyProperty* s_pMaxWidthProperty;
};

class CWVPMarkupRowDefinition : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pHeightProperty;
    static CWVPMarkupDependencyProperty* s_pMinHeightProperty;
    static CWVPMarkupDependencyProperty* s_pMaxHeightProperty;
};

class CWVPMarkupDefinitionCollection : public CWVPMarkupCollection
{
    DECLARE_MARKUP_TYPE()
  public:
    explicit CWVPMarkupDefinitionCollection(CWVPMarkupType* elementType = nullptr) : CWVPMarkupCollection(elementType) {}
};

class CWVPMarkupRowDefinitionCollection : public CWVPMarkupDefinitionCollection
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupRowDefinitionCollection();
};

class CWVPMarkupColumnDefinitionCollection : public CWVPMarkupDefinitionCollection
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupColumnDefinitionCollection();
};

class CWVPMarkupGrid : public CWVPMarkupPanel
{
    DECLARE_MARKUP_TYPE()
  public:
    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pColumnDefinitionsProperty;
    static CWVPMarkupDependencyProperty* s_pRowDefinitionsProperty;
    static CWVPMarkupDependencyProperty* s_pColumnProperty;
    static CWVPMarkupDependencyProperty* s_pRowProperty;
};

// ---- Single-child elements ------------------------------------------------------------------
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
    CWVPMarkupUIElement* GetChild() const { return m_pChild; }

  protected:
    CWVPMarkupUIElement* m_pChild;
};

class CWVPMarkupBorder : public CWVPMarkupDecorator
{
    DECLARE_MARKUP_TYPE()
  public:
    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pBackgroundProperty;
    static CWVPMarkupDependencyProperty* s_pPaddingProperty;
    static CWVPMarkupDependencyProperty* s_pBorderThicknessProperty;
    static CWVPMarkupDependencyProperty* s_pBorderBrushProperty;
};

class CWVPMarkupPage : public CWVPMarkupDecorator
{
    DECLARE_MARKUP_TYPE()
};

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
class CWVPMarkupScrollViewer : public CWVPMarkupContentControl
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupScrollViewer();
    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pVerticalScrollBarVisibilityProperty;
    static CWVPMarkupDependencyProperty* s_pHorizontalScrollBarVisibilityProperty;
};

class CWVPMarkupScrollBar : public CWVPMarkupControl
{
    DECLARE_MARKUP_TYPE()
};

class CWVPMarkupScrollBarGripper : public CWVPMarkupUIElement
{
    DECLARE_MARKUP_TYPE()
};

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
