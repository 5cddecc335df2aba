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
class CWVPMarkupFrameworkContentElement : public CWVPMarkupInputElement
{
    DECLARE_MARKUP_TYPE()
  public:
    void OnPropertyChanged(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* oldValue,
                           CWVPMarkupObject* newValue) override;
    static void RegisterProperties();
};

class CWVPMarkupTextElement : public CWVPMarkupFrameworkContentElement
{
    DECLARE_MARKUP_TYPE()
  public:
    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pBackgroundProperty;
    static CWVPMarkupDependencyProperty* s_pForegroundProperty;
    static CWVPMarkupDependencyProperty* s_pFontSizeProperty;
    static CWVPMarkupDependencyProperty* s_pFontWeightProperty;
    static CWVPMarkupDependencyProperty* s_pFontFamilyProperty;
    static CWVPMarkupDependencyProperty* s_pFontStyleProperty;
    static CWVPMarkupDependencyProperty* s_pTextDecorationsProperty;
    static CWVPMarkupDependencyProperty* s_pFontQualityProperty;
};

class CWVPMarkupInline : public CWVPMarkupTextElement
{
    DECLARE_MARKUP_TYPE()
  public:
    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pBaselineAlignmentProperty;
};

class CWVPMarkupRun : public CWVPMarkupInline
{
    DECLARE_MARKUP_TYPE()
  public:
    void SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content) override;
    BOOL HasContentObject() const override;
    LPCWSTR GetText() const;

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pTextProperty;
};

class CWVPMarkupLineBreak : public CWVPMarkupRun
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupLineBreak();
};

class CWVPMarkupInlineCollection : public CWVPMarkupCollection
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupInlineCollection();
    void SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content) override;
};

// Content held in an inline collection that is the element's one logical child: spans and the
// text block turn text and elements into inlines through it.
template <class Base> class CWVPMarkupInlineContent : public Base
{
  public:
    CWVPMarkupInlineContent() : m_pInlines(new CWVPMarkupInlineCollection())
    {
        m_pInlines->SetLogicalParent(this);
    }
    ~CWVPMarkupInlineContent() override
    {
        m_pInlines->SetLogicalParent(nullptr);
        m_pInlines->Release();
    }
    int GetLogicalChildrenCount() const override
    {
        return 1;
    }
    CWVPMarkupObject* GetLogicalChild(int index) const override
    {
        return index == 0 ? m_pInlines : nullptr;
    }
    void SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content) override
    {
        m_pInlines->SetContentObject(builder, content);
    }
    BOOL HasContentObject() const override
    {
        return m_pInlines->HasContentObject();
    }
    BOOL AllowWhiteSpaceContent() const override
    {
        return TRUE;
    }
    CWVPMarkupInlineCollection* GetInlines() const
    {
        return m_pInlines;
    }

  protected:
    CWVPMarkupInlineCollection* m_pInlines;
};

class CWVPMarkupSpan : public CWVPMarkupInlineContent<CWVPMarkupInline>
{
    DECLARE_MARKUP_TYPE()
};

class CWVPMarkupBold : public CWVPMarkupSpan
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupBold();
};

class CWVPMarkupItalic : public CWVPMarkupSpan
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupItalic();
};

class CWVPMarkupUnderline : public CWVPMarkupSpan
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupUnderline();
};

class CWVPMarkupHyperlink : public CWVPMarkupSpan
{
    DECLARE_MARKUP_TYPE()
  public:
    static void RegisterProperties();
};

class CWVPMarkupInlineUIContainer : public CWVPMarkupInline
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupInlineUIContainer();
    ~CWVPMarkupInlineUIContainer() override;
    int GetLogicalChildrenCount() const override;
    CWVPMarkupObject* GetLogicalChild(int index) const override;
    void SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content) override;
    BOOL HasContentObject() const override;
    void SetChild(CWVPMarkupUIElement* child);
    CWVPMarkupUIElement* GetChild() const { return m_pChild; }

  private:
    CWVPMarkupUIElement* m_pChild;
};

class CWVPMarkupTextBlock : public CWVPMarkupInlineContent<CWVPMarkupFrameworkElement>
{
    DECLARE_MARKUP_TYPE()
  public:
    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pTextWrappingProperty;
    static CWVPMarkupDependencyProperty* s_pTextTrimmingProperty;
    static CWVPMarkupDependencyProperty* s_pTextAlignmentProperty;
    static CWVPMarkupDependencyProperty* s_pPaddingProperty;
    static CWVPMarkupDependencyProperty* s_pTextProperty;
};

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
class CWVPMarkupShape : public CWVPMarkupFrameworkElement
{
    DECLARE_MARKUP_TYPE()
  public:
    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pFillProperty;
    static CWVPMarkupDependencyProperty* s_pStrokeProperty;
    static CWVPMarkupDependencyProperty* s_pStrokeThicknessProperty;
    static CWVPMarkupDependencyProperty* s_pStretchProperty;
};

class CWVPMarkupPointCollection : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
};

class CWVPMarkupPolygon : public CWVPMarkupShape
{
    DECLARE_MARKUP_TYPE()
  public:
    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pPointsProperty;
};

class CWVPMarkupPolyline : public CWVPMarkupShape
{
    DECLARE_MARKUP_TYPE()
  public:
    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pPointsProperty;
};

class CWVPMarkupRectangle : public CWVPMarkupShape
{
    DECLARE_MARKUP_TYPE()
};

class CWVPMarkupEllipse : public CWVPMarkupShape
{
    DECLARE_MARKUP_TYPE()
};

class CWVPMarkupLine : public CWVPMarkupShape
{
    DECLARE_MARKUP_TYPE()
  public:
    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pX1Property;
    static CWVPMarkupDependencyProperty* s_pY1Property;
    static CWVPMarkupDependencyProperty* s_pX2Property;
    static CWVPMarkupDependencyProperty* s_pY2Property;
};

class CWVPMarkupImage : public CWVPMarkupFrameworkElement
{
    DECLARE_MARKUP_TYPE()
  public:
    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pSourceProperty;
};

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
