#include "uilib/markup/MarkupElements.h"

#include "uilib/markup/MarkupBrush.h"
#include "uilib/markup/MarkupBuilder.h"
#include "uilib/markup/MarkupContext.h"
#include "uilib/markup/MarkupConverters.h"
#include "uilib/markup/MarkupScan.h"
#include "uilib/markup/MarkupStyle.h"
#include "uilib/markup/MarkupType.h"
#include "uilib/markup/MarkupValues.h"

namespace
{
const COLORREF kLinkColor = RGB(0, 0, 255);
const COLORREF kLinkHotColor = RGB(255, 0, 0);
const int kHandCursor = 32649;
const int kBoldWeight = 700;

typedef CWVPMarkupDependencyProperty Property;

CWVPMarkupPropertyMetadata* Flags(DWORD flags, PFNMARKUPCONVERTER converter = nullptr,
                                  CWVPMarkupObject* defaultValue = nullptr)
{
    return new CWVPMarkupPropertyMetadata(defaultValue, converter, flags);
}

// An object made for the content of an element: through its context when it has one.
CWVPMarkupObject* CreateFor(CWVPMarkupObject* owner, CWVPMarkupType* type)
{
    CWVPMarkupInputElement* element =
        static_cast<CWVPMarkupInputElement*>(MarkupDynamicCast(CWVPMarkupInputElement::Type(), owner));
    CWVPMarkupContext* context = element ? element->GetMarkupContext() : nullptr;
    return context ? context->CreateObject(type) : type->CreateObject();
}

[[noreturn]] void ThrowNotUIElement(CWVPMarkupObject* content, CWVPMarkupObject* owner)
{
    CWVPMarkupBuilder::ThrowError(content,
                                  L"'%ls' object cannot be added to '%ls'. Object cannot be converted to type 'CWVPMarkupUIElement'",
                                  content ? content->GetType()->GetClassName() : L"", owner->GetType()->GetClassName());
}

} // namespace

void MarkupReplaceChild(CWVPMarkupObject* owner, CWVPMarkupUIElement*& slot, CWVPMarkupUIElement* child)
{
    if (slot)
    {
        if (slot->GetLogicalParent() == owner)
            slot->SetLogicalParent(nullptr);
        slot->Release();
    }
    slot = child;
    if (child)
        child->SetLogicalParent(owner);
}

void MarkupThrowNotUIElement(CWVPMarkupObject* content, CWVPMarkupObject* owner)
{
    ThrowNotUIElement(content, owner);
}

// ---- Text content ---------------------------------------------------------------------------
IMPLEMENT_MARKUP_TYPE(CWVPMarkupFrameworkContentElement, kTypeFrameworkContentElement)

void CWVPMarkupFrameworkContentElement::RegisterProperties()
{
    CWVPMarkupFrameworkElement::Type()->EnsureRegistered();
    CWVPMarkupFrameworkElement::s_pTagProperty->AddOwner(Type());
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupTextElement, kTypeTextElement)
Property* CWVPMarkupTextElement::s_pBackgroundProperty;
Property* CWVPMarkupTextElement::s_pForegroundProperty;
Property* CWVPMarkupTextElement::s_pFontSizeProperty;
Property* CWVPMarkupTextElement::s_pFontWeightProperty;
Property* CWVPMarkupTextElement::s_pFontFamilyProperty;
Property* CWVPMarkupTextElement::s_pFontStyleProperty;
Property* CWVPMarkupTextElement::s_pTextDecorationsProperty;
Property* CWVPMarkupTextElement::s_pFontQualityProperty;

void CWVPMarkupTextElement::RegisterProperties()
{
    CWVPMarkupType* t = Type();
    const DWORD render = MetadataInherits | MetadataAffectsRender;
    const DWORD measure = MetadataInherits | MetadataAffectsMeasure;
    s_pBackgroundProperty = Property::RegisterAttached(L"Background", CWVPMarkupBrush::Type(), t, Flags(render));
    s_pForegroundProperty = Property::RegisterAttached(L"Foreground", CWVPMarkupBrush::Type(), t, Flags(render));
    s_pFontSizeProperty = Property::RegisterAttached(L"FontSize", CWVPMarkupInt::Type(), t, Flags(measure));
    s_pFontWeightProperty = Property::RegisterAttached(L"FontWeight", CWVPMarkupEnum::Type(), t,
                                                      Flags(measure, MarkupConvertFontWeight));
    s_pFontFamilyProperty = Property::RegisterAttached(L"FontFamily", CWVPMarkupString::Type(), t, Flags(measure));
    s_pFontStyleProperty = Property::RegisterAttached(L"FontStyle", CWVPMarkupEnum::Type(), t,
                                                     Flags(measure, MarkupConvertFontStyle));
    s_pTextDecorationsProperty = Property::RegisterAttached(L"TextDecorations", CWVPMarkupEnum::Type(), t,
                                                           Flags(render, MarkupConvertTextDecorations));
    s_pFontQualityProperty = Property::RegisterAttached(L"FontQuality", CWVPMarkupEnum::Type(), t,
                                                       Flags(render, MarkupConvertFontQuality));
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupInline, kTypeInline)
Property* CWVPMarkupInline::s_pBaselineAlignmentProperty;

void CWVPMarkupInline::RegisterProperties()
{
    s_pBaselineAlignmentProperty = Property::Register(L"BaselineAlignment", CWVPMarkupEnum::Type(), Type(),
                                                      Flags(MetadataAffectsArrange, MarkupConvertBaselineAlignment));
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupRun, kTypeRun)
Property* CWVPMarkupRun::s_pTextProperty;

void CWVPMarkupRun::RegisterProperties()
{
    s_pTextProperty = Property::Register(L"Text", CWVPMarkupString::Type(), Type(), Flags(MetadataAffectsMeasure));
}

void CWVPMarkupRun::SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content)
{
    if (content && content->GetType() == CWVPMarkupString::Type())
        SetValue(s_pTextProperty, content);
    else
        CWVPMarkupObject::SetContentObject(builder, content);
}

BOOL CWVPMarkupRun::HasContentObject() const
{
    return GetValue(s_pTextProperty) != nullptr;
}

LPCWSTR CWVPMarkupRun::GetText() const
{
    CWVPMarkupObject* v = GetValue(s_pTextProperty);
    return v ? static_cast<CWVPMarkupString*>(v)->GetText() : nullptr;
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupLineBreak, kTypeLineBreak)

CWVPMarkupLineBreak::CWVPMarkupLineBreak()
{
    SetValue(s_pTextProperty, CWVPMarkupString::CreateValue(L"\n", 1));
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupInlineCollection, kTypeInlineCollection)

CWVPMarkupInlineCollection::CWVPMarkupInlineCollection() : CWVPMarkupCollection(CWVPMarkupInline::Type())
{
}

void CWVPMarkupInlineCollection::SetContentObject(CWVPMarkupBuilder*, CWVPMarkupObject* content)
{
    CWVPMarkupObject* owner = GetLogicalParent();
    if (content && owner && owner->IsKindOf(CWVPMarkupInputElement::Type()))
    {
        if (content->GetType() == CWVPMarkupString::Type())
        {
            CWVPMarkupObject* run = CreateFor(owner, CWVPMarkupRun::Type());
            run->SetValue(CWVPMarkupRun::s_pTextProperty, content);
            Add(run);
            return;
        }
        if (content->IsKindOf(CWVPMarkupInline::Type()))
        {
            Add(content);
            return;
        }
        if (content->IsKindOf(CWVPMarkupUIElement::Type()))
        {
            CWVPMarkupInlineUIContainer* container =
                static_cast<CWVPMarkupInlineUIContainer*>(CreateFor(owner, CWVPMarkupInlineUIContainer::Type()));
            container->SetChild(static_cast<CWVPMarkupUIElement*>(content));
            Add(container);
            return;
        }
    }
    CWVPMarkupBuilder::ThrowError(content,
                                  L"'%ls' object cannot be added to '%ls'. Object cannot be converted to type 'CWVPMarkupInline'",
                                  content ? content->GetType()->GetClassName() : L"", GetType()->GetClassName());
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupSpan, kTypeSpan)

IMPLEMENT_MARKUP_TYPE(CWVPMarkupBold, kTypeBold)
CWVPMarkupBold::CWVPMarkupBold()
{
    SetFontWeight(kBoldWeight);
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupItalic, kTypeItalic)
CWVPMarkupItalic::CWVPMarkupItalic()
{
    SetFontStyle(styleItalic);
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupUnderline, kTypeUnderline)
CWVPMarkupUnderline::CWVPMarkupUnderline()
{
    SetTextDecorations(decorationUnderline);
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupHyperlink, kTypeHyperlink)

void CWVPMarkupHyperlink::RegisterProperties()
{
    CWVPMarkupStyle::Type()->EnsureRegistered();
    CWVPMarkupButtonBase::Type()->EnsureRegistered();
    CWVPMarkupSolidColorBrush::Type()->EnsureRegistered();
    CWVPMarkupButtonBase::s_pClickEvent->AddOwner(Type());

    CWVPMarkupStyle* style = new CWVPMarkupStyle();
    style->AddSetter(new CWVPMarkupSetter(s_pTextDecorationsProperty, CWVPMarkupEnum::CreateValue(1)));
    style->AddSetter(new CWVPMarkupSetter(s_pForegroundProperty, new CWVPMarkupSolidColorBrush(kLinkColor)));
    style->AddSetter(new CWVPMarkupSetter(s_pCursorProperty, new CWVPMarkupInt(kHandCursor)));
    CWVPMarkupTrigger* trigger = new CWVPMarkupTrigger(s_pIsMouseOverProperty, CWVPMarkupBool::CreateTrueValue());
    CWVPMarkupSetterColection* setters = new CWVPMarkupSetterColection();
    setters->Add(new CWVPMarkupSetter(s_pForegroundProperty, new CWVPMarkupSolidColorBrush(kLinkHotColor)));
    trigger->SetValue(CWVPMarkupTrigger::s_pSettersProperty, setters);
    CWVPMarkupTriggerCollection* triggers = new CWVPMarkupTriggerCollection();
    triggers->Add(trigger);
    style->SetValue(CWVPMarkupStyle::s_pTriggersProperty, triggers);
    Type()->SetDefaultStyle(style);
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupInlineUIContainer, kTypeInlineUIContainer)

CWVPMarkupInlineUIContainer::CWVPMarkupInlineUIContainer() : m_pChild(nullptr)
{
}

CWVPMarkupInlineUIContainer::~CWVPMarkupInlineUIContainer()
{
    SetChild(nullptr);
}

void CWVPMarkupInlineUIContainer::SetChild(CWVPMarkupUIElement* child)
{
    MarkupReplaceChild(this, m_pChild, child);
}

int CWVPMarkupInlineUIContainer::GetLogicalChildrenCount() const
{
    return m_pChild ? 1 : 0;
}

CWVPMarkupObject* CWVPMarkupInlineUIContainer::GetLogicalChild(int index) const
{
    return index == 0 ? m_pChild : nullptr;
}

void CWVPMarkupInlineUIContainer::SetContentObject(CWVPMarkupBuilder*, CWVPMarkupObject* content)
{
    if (!content || !content->IsKindOf(CWVPMarkupUIElement::Type()))
        ThrowNotUIElement(content, this);
    SetChild(static_cast<CWVPMarkupUIElement*>(content));
}

BOOL CWVPMarkupInlineUIContainer::HasContentObject() const
{
    return m_pChild != nullptr;
}

// ---- Text block -----------------------------------------------------------------------------
IMPLEMENT_MARKUP_TYPE(CWVPMarkupTextBlock, kTypeTextBlock)
Property* CWVPMarkupTextBlock::s_pTextWrappingProperty;
Property* CWVPMarkupTextBlock::s_pTextTrimmingProperty;
Property* CWVPMarkupTextBlock::s_pTextAlignmentProperty;
Property* CWVPMarkupTextBlock::s_pPaddingProperty;
Property* CWVPMarkupTextBlock::s_pTextProperty;

void CWVPMarkupTextBlock::RegisterProperties()
{
    CWVPMarkupTextElement::Type()->EnsureRegistered();
    CWVPMarkupType* t = Type();
    Property* shared[] = {CWVPMarkupTextElement::s_pBackgroundProperty,  CWVPMarkupTextElement::s_pForegroundProperty,
                          CWVPMarkupTextElement::s_pFontSizeProperty,    CWVPMarkupTextElement::s_pFontWeightProperty,
                          CWVPMarkupTextElement::s_pFontQualityProperty, CWVPMarkupTextElement::s_pFontFamilyProperty,
                          CWVPMarkupTextElement::s_pFontStyleProperty,   CWVPMarkupTextElement::s_pTextDecorationsProperty};
    for (Property* p : shared)
        p->AddOwner(t);
    s_pTextWrappingProperty = Property::Register(L"TextWrapping", CWVPMarkupEnum::Type(), t,
                                                 Flags(MetadataAffectsMeasure, MarkupConvertTextWrapping));
    s_pTextTrimmingProperty = Property::Register(L"TextTrimming", CWVPMarkupEnum::Type(), t,
                                                 Flags(MetadataAffectsMeasure, MarkupConvertTextTrimming));
    s_pTextAlignmentProperty = Property::Register(L"TextAlignment", CWVPMarkupEnum::Type(), t,
                                                  Flags(MetadataAffectsArrange, MarkupConvertTextAlignment));
    s_pPaddingProperty = Property::Register(L"Padding", CWVPMarkupThickness::Type(), t,
                                            Flags(MetadataAffectsMeasure, nullptr, CWVPMarkupThickness::GetZero()));
    s_pTextProperty = Property::Register(L"Text", CWVPMarkupString::Type(), t, Flags(MetadataAffectsMeasure));
}

// ---- Panels ---------------------------------------------------------------------------------
IMPLEMENT_MARKUP_TYPE(CWVPMarkupPanel, kTypePanel)
Property* CWVPMarkupPanel::s_pBackgroundProperty;

void CWVPMarkupPanel::RegisterProperties()
{
    s_pBackgroundProperty =
        Property::Register(L"Background", CWVPMarkupBrush::Type(), Type(), Flags(MetadataAffectsRender));
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupStackPanel, kTypeStackPanel)
Property* CWVPMarkupStackPanel::s_pOrientationProperty;

void CWVPMarkupStackPanel::RegisterProperties()
{
    s_pOrientationProperty = Property::Register(L"Orientation", CWVPMarkupEnum::Type(), Type(),
                                                Flags(MetadataAffectsMeasure, MarkupConvertOrientation));
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupWrapPanel, kTypeWrapPanel)
Property* CWVPMarkupWrapPanel::s_pOrientationProperty;
Property* CWVPMarkupWrapPanel::s_pItemHeightProperty;
Property* CWVPMarkupWrapPanel::s_pItemWidthProperty;

void CWVPMarkupWrapPanel::RegisterProperties()
{
    s_pOrientationProperty = Property::Register(L"Orientation", CWVPMarkupEnum::Type(), Type(),
                                                Flags(MetadataAffectsMeasure, MarkupConvertOrientation));
    s_pItemHeightProperty =
        Property::Register(L"ItemHeight", CWVPMarkupInt::Type(), Type(), Flags(MetadataAffectsMeasure));
    s_pItemWidthProperty = Property::Register(L"ItemWidth", CWVPMarkupInt::Type(), Type(), Flags(MetadataAffectsMeasure));
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupCanvas, kTypeCanvas)
Property* CWVPMarkupCanvas::s_pTopProperty;
Property* CWVPMarkupCanvas::s_pRightProperty;
Property* CWVPMarkupCanvas::s_pLeftProperty;
Property* CWVPMarkupCanvas::s_pBottomProperty;

void CWVPMarkupCanvas::RegisterProperties()
{
    s_pTopProperty = Property::RegisterAttached(L"Top", CWVPMarkupInt::Type(), Type());
    s_pRightProperty = Property::RegisterAttached(L"Right", CWVPMarkupInt::Type(), Type());
    s_pLeftProperty = Property::RegisterAttached(L"Left", CWVPMarkupInt::Type(), Type());
    s_pBottomProperty = Property::RegisterAttached(L"Bottom", CWVPMarkupInt::Type(), Type());
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupGridLength, kTypeGridLength)

IMPLEMENT_MARKUP_TYPE(CWVPMarkupColumnDefinition, kTypeColumnDefinition)
Property* CWVPMarkupColumnDefinition::s_pWidthProperty;
Property* CWVPMarkupColumnDefinition::s_pMinWidthProperty;
Property* CWVPMarkupColumnDefinition::s_pMaxWidthProperty;

void CWVPMarkupColumnDefinition::RegisterProperties()
{
    s_pWidthProperty = Property::Register(L"Width", CWVPMarkupGridLength::Type(), Type(),
                                          Flags(0, nullptr, new CWVPMarkupGridLength(1, CWVPMarkupGridLength::unitStar)));
    s_pMinWidthProperty = Property::Register(L"MinWidth", CWVPMarkupInt::Type(), Type());
    s_pMaxWidthProperty = Property::Register(L"MaxWidth", CWVPMarkupInt::Type(), Type());
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupRowDefinition, kTypeRowDefinition)
Property* CWVPMarkupRowDefinition::s_pHeightProperty;
Property* CWVPMarkupRowDefinition::s_pMinHeightProperty;
Property* CWVPMarkupRowDefinition::s_pMaxHeightProperty;

void CWVPMarkupRowDefinition::RegisterProperties()
{
    s_pHeightProperty = Property::Register(L"Height", CWVPMarkupGridLength::Type(), Type(),
                                           Flags(0, nullptr, new CWVPMarkupGridLength(1, CWVPMarkupGridLength::unitStar)));
    s_pMinHeightProperty = Property::Register(L"MinHeight", CWVPMarkupInt::Type(), Type());
    s_pMaxHeightProperty = Property::Register(L"MaxHeight", CWVPMarkupInt::Type(), Type());
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupDefinitionCollection, kTypeDefinitionCollection)
IMPLEMENT_MARKUP_TYPE(CWVPMarkupRowDefinitionCollection, kTypeRowDefinitionCollection)
IMPLEMENT_MARKUP_TYPE(CWVPMarkupColumnDefinitionCollection, kTypeColumnDefinitionCollection)

IMPLEMENT_MARKUP_TYPE(CWVPMarkupGrid, kTypeGrid)
Property* CWVPMarkupGrid::s_pColumnDefinitionsProperty;
Property* CWVPMarkupGrid::s_pRowDefinitionsProperty;
Property* CWVPMarkupGrid::s_pColumnProperty;
Property* CWVPMarkupGrid::s_pRowProperty;

void CWVPMarkupGrid::RegisterProperties()
{
    s_pColumnDefinitionsProperty =
        Property::Register(L"ColumnDefinitions", CWVPMarkupColumnDefinitionCollection::Type(), Type());
    s_pRowDefinitionsProperty = Property::Register(L"RowDefinitions", CWVPMarkupRowDefinitionCollection::Type(), Type());
    s_pColumnProperty = Property::RegisterAttached(L"Column", CWVPMarkupInt::Type(), Type(),
                                                   new CWVPMarkupPropertyMetadata(nullptr, OnCellChanged, 0));
    s_pRowProperty = Property::RegisterAttached(L"Row", CWVPMarkupInt::Type(), Type(),
                                                new CWVPMarkupPropertyMetadata(nullptr, OnCellChanged, 0));
}

// ---- Single-child elements ------------------------------------------------------------------
IMPLEMENT_MARKUP_TYPE(CWVPMarkupBorder, kTypeBorder)
Property* CWVPMarkupBorder::s_pBackgroundProperty;
Property* CWVPMarkupBorder::s_pPaddingProperty;
Property* CWVPMarkupBorder::s_pBorderThicknessProperty;
Property* CWVPMarkupBorder::s_pBorderBrushProperty;

void CWVPMarkupBorder::RegisterProperties()
{
    CWVPMarkupType* t = Type();
    s_pBackgroundProperty = Property::Register(L"Background", CWVPMarkupBrush::Type(), t, Flags(MetadataAffectsRender));
    s_pPaddingProperty = Property::Register(L"Padding", CWVPMarkupThickness::Type(), t,
                                            Flags(MetadataAffectsMeasure, nullptr, CWVPMarkupThickness::GetZero()));
    s_pBorderThicknessProperty = Property::Register(L"BorderThickness", CWVPMarkupThickness::Type(), t,
                                                    Flags(MetadataAffectsMeasure, nullptr, CWVPMarkupThickness::GetZero()));
    s_pBorderBrushProperty = Property::Register(L"BorderBrush", CWVPMarkupBrush::Type(), t, Flags(MetadataAffectsRender));
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupPage, kTypePage)

// ---- Shapes ---------------------------------------------------------------------------------
IMPLEMENT_MARKUP_TYPE(CWVPMarkupShape, kTypeShape)
Property* CWVPMarkupShape::s_pFillProperty;
Property* CWVPMarkupShape::s_pStrokeProperty;
Property* CWVPMarkupShape::s_pStrokeThicknessProperty;
Property* CWVPMarkupShape::s_pStretchProperty;

void CWVPMarkupShape::RegisterProperties()
{
    CWVPMarkupType* t = Type();
    s_pFillProperty = Property::Register(L"Fill", CWVPMarkupBrush::Type(), t, Flags(MetadataAffectsRender));
    s_pStrokeProperty = Property::Register(L"Stroke", CWVPMarkupBrush::Type(), t, Flags(MetadataAffectsRender));
    s_pStrokeThicknessProperty =
        Property::Register(L"StrokeThickness", CWVPMarkupInt::Type(), t, Flags(MetadataAffectsRender));
    s_pStretchProperty = Property::Register(L"Stretch", CWVPMarkupEnum::Type(), t,
                                            Flags(MetadataAffectsRender, MarkupConvertStretch, CWVPMarkupEnum::CreateValue(0)));
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupPointCollection, kTypePointCollection)

IMPLEMENT_MARKUP_TYPE(CWVPMarkupPolygon, kTypePolygon)
Property* CWVPMarkupPolygon::s_pPointsProperty;
void CWVPMarkupPolygon::RegisterProperties()
{
    s_pPointsProperty =
        Property::Register(L"Points", CWVPMarkupPointCollection::Type(), Type(), Flags(MetadataAffectsMeasure));
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupPolyline, kTypePolyline)
Property* CWVPMarkupPolyline::s_pPointsProperty;
void CWVPMarkupPolyline::RegisterProperties()
{
    s_pPointsProperty =
        Property::Register(L"Points", CWVPMarkupPointCollection::Type(), Type(), Flags(MetadataAffectsMeasure));
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupRectangle, kTypeRectangle)
IMPLEMENT_MARKUP_TYPE(CWVPMarkupEllipse, kTypeEllipse)

IMPLEMENT_MARKUP_TYPE(CWVPMarkupLine, kTypeLine)
Property* CWVPMarkupLine::s_pX1Property;
Property* CWVPMarkupLine::s_pY1Property;
Property* CWVPMarkupLine::s_pX2Property;
Property* CWVPMarkupLine::s_pY2Property;
void CWVPMarkupLine::RegisterProperties()
{
    s_pX1Property = Property::Register(L"X1", CWVPMarkupInt::Type(), Type(), Flags(MetadataAffectsMeasure));
    s_pY1Property = Property::Register(L"Y1", CWVPMarkupInt::Type(), Type(), Flags(MetadataAffectsMeasure));
    s_pX2Property = Property::Register(L"X2", CWVPMarkupInt::Type(), Type(), Flags(MetadataAffectsMeasure));
    s_pY2Property = Property::Register(L"Y2", CWVPMarkupInt::Type(), Type(), Flags(MetadataAffectsMeasure));
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupImage, kTypeImage)
Property* CWVPMarkupImage::s_pSourceProperty;
void CWVPMarkupImage::RegisterProperties()
{
    s_pSourceProperty = Property::Register(L"Source", CWVPMarkupString::Type(), Type(), Flags(MetadataAffectsMeasure));
}

// ---- Scrolling ------------------------------------------------------------------------------
IMPLEMENT_MARKUP_TYPE(CWVPMarkupScrollViewer, kTypeScrollViewer)
Property* CWVPMarkupScrollViewer::s_pVerticalScrollBarVisibilityProperty;
Property* CWVPMarkupScrollViewer::s_pHorizontalScrollBarVisibilityProperty;

void CWVPMarkupScrollViewer::RegisterProperties()
{
    s_pVerticalScrollBarVisibilityProperty = Property::Register(
        L"VerticalScrollBarVisibility", CWVPMarkupEnum::Type(), Type(),
        Flags(MetadataAffectsMeasure, MarkupConvertScrollBarVisibility));
    s_pHorizontalScrollBarVisibilityProperty = Property::Register(
        L"HorizontalScrollBarVisibility", CWVPMarkupEnum::Type(), Type(),
        Flags(MetadataAffectsMeasure, MarkupConvertScrollBarVisibility));
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupScrollBar, kTypeScrollBar)
IMPLEMENT_MARKUP_TYPE(CWVPMarkupScrollBarGripper, kTypeScrollBarGripper)
