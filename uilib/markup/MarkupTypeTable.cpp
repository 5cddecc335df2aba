// The type table of the markup language: every markup class as a type record, created in one
// function in table order on first use and released by the exit sequence.
#include <new>

#include "platform/mfc/ExitSequence.h"
#include "uilib/markup/MarkupBrush.h"
#include "uilib/markup/MarkupBuilder.h"
#include "uilib/markup/MarkupCollection.h"
#include "uilib/markup/MarkupConverters.h"
#include "uilib/markup/MarkupElements.h"
#include "uilib/markup/MarkupStyle.h"
#include "uilib/markup/MarkupType.h"
#include "uilib/markup/MarkupValues.h"

namespace
{
CWVPMarkupObject* CreateDependencyProperty()
{
    return new CWVPMarkupDependencyProperty();
}
// The type record stands for itself: a conversion to a type reads only the text.
CWVPMarkupObject* CreateType()
{
    CWVPMarkupType* type = CWVPMarkupType::Type();
    if (type)
        type->AddRef();
    return type;
}
CWVPMarkupObject* CreateObject()
{
    return new CWVPMarkupObject();
}
CWVPMarkupObject* CreateThickness()
{
    return new CWVPMarkupThickness();
}
CWVPMarkupObject* CreateInt()
{
    return new CWVPMarkupInt();
}
CWVPMarkupObject* CreateDouble()
{
    return new CWVPMarkupDouble();
}
CWVPMarkupObject* CreateEnum()
{
    return new CWVPMarkupEnum();
}
CWVPMarkupObject* CreateBool()
{
    return new CWVPMarkupBool();
}
CWVPMarkupObject* CreateColor()
{
    return new CWVPMarkupColor();
}
CWVPMarkupObject* CreateString()
{
    return new CWVPMarkupString();
}
CWVPMarkupObject* CreateCollection()
{
    return new CWVPMarkupCollection();
}
CWVPMarkupObject* CreateBrush()
{
    return new CWVPMarkupBrush();
}
CWVPMarkupObject* CreateSolidColorBrush()
{
    return new CWVPMarkupSolidColorBrush();
}
CWVPMarkupObject* CreatePoint()
{
    return new CWVPMarkupPoint();
}
CWVPMarkupObject* CreateGradientStop()
{
    return new CWVPMarkupGradientStop();
}
CWVPMarkupObject* CreateLinearGradientBrush()
{
    return new CWVPMarkupLinearGradientBrush();
}
CWVPMarkupObject* CreateVisual()
{
    return new CWVPMarkupVisual();
}
CWVPMarkupObject* CreateUIElement()
{
    return new CWVPMarkupUIElement();
}
CWVPMarkupObject* CreateInputElement()
{
    return new CWVPMarkupInputElement();
}
CWVPMarkupObject* CreateResourceDictionary()
{
    return new CWVPMarkupResourceDictionary();
}
CWVPMarkupObject* CreateSetter()
{
    return new CWVPMarkupSetter();
}
CWVPMarkupObject* CreateSetterColection()
{
    return new CWVPMarkupSetterColection();
}
CWVPMarkupObject* CreateStyle()
{
    return new CWVPMarkupStyle();
}
CWVPMarkupObject* CreateTrigger()
{
    return new CWVPMarkupTrigger();
}
CWVPMarkupObject* CreateTriggerCollection()
{
    return new CWVPMarkupTriggerCollection();
}
CWVPMarkupObject* CreateScrollBar()
{
    return new CWVPMarkupScrollBar();
}
CWVPMarkupObject* CreateScrollBarGripper()
{
    return new CWVPMarkupScrollBarGripper();
}
CWVPMarkupObject* CreateScrollViewer()
{
    return new CWVPMarkupScrollViewer();
}
CWVPMarkupObject* CreateTextBlock()
{
    return new CWVPMarkupTextBlock();
}
CWVPMarkupObject* CreateStackPanel()
{
    return new CWVPMarkupStackPanel();
}
CWVPMarkupObject* CreateWrapPanel()
{
    return new CWVPMarkupWrapPanel();
}
CWVPMarkupObject* CreateShape()
{
    return new CWVPMarkupShape();
}
CWVPMarkupObject* CreatePointCollection()
{
    return new CWVPMarkupPointCollection();
}
CWVPMarkupObject* CreatePolygon()
{
    return new CWVPMarkupPolygon();
}
CWVPMarkupObject* CreatePolyline()
{
    return new CWVPMarkupPolyline();
}
CWVPMarkupObject* CreateRectangle()
{
    return new CWVPMarkupRectangle();
}
CWVPMarkupObject* CreateEllipse()
{
    return new CWVPMarkupEllipse();
}
CWVPMarkupObject* CreateLine()
{
    return new CWVPMarkupLine();
}
CWVPMarkupObject* CreatePage()
{
    return new CWVPMarkupPage();
}
CWVPMarkupObject* CreateFrameworkContentElement()
{
    return new CWVPMarkupFrameworkContentElement();
}
CWVPMarkupObject* CreateTextElement()
{
    return new CWVPMarkupTextElement();
}
CWVPMarkupObject* CreateInline()
{
    return new CWVPMarkupInline();
}
CWVPMarkupObject* CreateRun()
{
    return new CWVPMarkupRun();
}
CWVPMarkupObject* CreateLineBreak()
{
    return new CWVPMarkupLineBreak();
}
CWVPMarkupObject* CreateInlineCollection()
{
    return new CWVPMarkupInlineCollection();
}
CWVPMarkupObject* CreateSpan()
{
    return new CWVPMarkupSpan();
}
CWVPMarkupObject* CreateBold()
{
    return new CWVPMarkupBold();
}
CWVPMarkupObject* CreateHyperlink()
{
    return new CWVPMarkupHyperlink();
}
CWVPMarkupObject* CreateItalic()
{
    return new CWVPMarkupItalic();
}
CWVPMarkupObject* CreateUnderline()
{
    return new CWVPMarkupUnderline();
}
CWVPMarkupObject* CreateInlineUIContainer()
{
    return new CWVPMarkupInlineUIContainer();
}
CWVPMarkupObject* CreateButtonBase()
{
    return new CWVPMarkupButtonBase();
}
CWVPMarkupObject* CreateButton()
{
    return new CWVPMarkupButton();
}
CWVPMarkupObject* CreateToggleButton()
{
    return new CWVPMarkupToggleButton();
}
CWVPMarkupObject* CreateCheckBox()
{
    return new CWVPMarkupCheckBox();
}
CWVPMarkupObject* CreateRadioButton()
{
    return new CWVPMarkupRadioButton();
}
CWVPMarkupObject* CreateControl()
{
    return new CWVPMarkupControl();
}
CWVPMarkupObject* CreateContentControl()
{
    return new CWVPMarkupContentControl();
}
CWVPMarkupObject* CreatePanel()
{
    return new CWVPMarkupPanel();
}
CWVPMarkupObject* CreateImage()
{
    return new CWVPMarkupImage();
}
CWVPMarkupObject* CreateGridLength()
{
    return new CWVPMarkupGridLength();
}
CWVPMarkupObject* CreateColumnDefinition()
{
    return new CWVPMarkupColumnDefinition();
}
CWVPMarkupObject* CreateRowDefinition()
{
    return new CWVPMarkupRowDefinition();
}
CWVPMarkupObject* CreateDefinitionCollection()
{
    return new CWVPMarkupDefinitionCollection();
}
CWVPMarkupObject* CreateRowDefinitionCollection()
{
    return new CWVPMarkupRowDefinitionCollection();
}
CWVPMarkupObject* CreateColumnDefinitionCollection()
{
    return new CWVPMarkupColumnDefinitionCollection();
}
CWVPMarkupObject* CreateGrid()
{
    return new CWVPMarkupGrid();
}
CWVPMarkupObject* CreateCanvas()
{
    return new CWVPMarkupCanvas();
}
CWVPMarkupObject* CreateBorder()
{
    return new CWVPMarkupBorder();
}
CWVPMarkupObject* CreateFrameworkElement()
{
    return new CWVPMarkupFrameworkElement();
}
CWVPMarkupObject* CreateObjectProperty()
{
    return new CWVPMarkupObjectProperty();
}
CWVPMarkupObject* CreateColorKey()
{
    return new CWVPMarkupColorKey();
}
CWVPMarkupObject* CreateBrushKey()
{
    return new CWVPMarkupBrushKey();
}
CWVPMarkupObject* CreateKeyboardNavigation()
{
    return new CWVPMarkupKeyboardNavigation();
}

struct TypeRow
{
    LPCWSTR tag;
    LPCWSTR className;
    PFNMARKUPCREATE create;
    PFNMARKUPBASETYPE baseType;
    PFNMARKUPREGISTER registerProperties;
};

const TypeRow kTypeRows[kMarkupTypeCount] = {
    {nullptr, L"CWVPMarkupDependencyProperty", CreateDependencyProperty, &CWVPMarkupObject::Type, &CWVPMarkupType::RegisterNothing},
    {nullptr, L"CWVPMarkupType", CreateType, &CWVPMarkupObject::Type, &CWVPMarkupType::RegisterNothing},
    {nullptr, L"CWVPMarkupObject", CreateObject, nullptr, &CWVPMarkupObject::RegisterProperties},
    {nullptr, L"CWVPMarkupThickness", CreateThickness, &CWVPMarkupObject::Type, &CWVPMarkupType::RegisterNothing},
    {nullptr, L"CWVPMarkupInt", CreateInt, &CWVPMarkupObject::Type, &CWVPMarkupType::RegisterNothing},
    {nullptr, L"CWVPMarkupDouble", CreateDouble, &CWVPMarkupObject::Type, &CWVPMarkupType::RegisterNothing},
    {nullptr, L"CWVPMarkupEnum", CreateEnum, &CWVPMarkupObject::Type, &CWVPMarkupType::RegisterNothing},
    {nullptr, L"CWVPMarkupBool", CreateBool, &CWVPMarkupObject::Type, &CWVPMarkupType::RegisterNothing},
    {L"Color", L"CWVPMarkupColor", CreateColor, &CWVPMarkupObject::Type, &CWVPMarkupType::RegisterNothing},
    {nullptr, L"CWVPMarkupString", CreateString, &CWVPMarkupObject::Type, &CWVPMarkupType::RegisterNothing},
    {nullptr, L"CWVPMarkupCollection", CreateCollection, &CWVPMarkupObject::Type, &CWVPMarkupType::RegisterNothing},
    {nullptr, L"CWVPMarkupBrush", CreateBrush, &CWVPMarkupObject::Type, &CWVPMarkupType::RegisterNothing},
    {L"SolidColorBrush", L"CWVPMarkupSolidColorBrush", CreateSolidColorBrush, &CWVPMarkupBrush::Type, &CWVPMarkupSolidColorBrush::RegisterProperties},
    {nullptr, L"CWVPMarkupPoint", CreatePoint, &CWVPMarkupObject::Type, &CWVPMarkupType::RegisterNothing},
    {L"GradientStop", L"CWVPMarkupGradientStop", CreateGradientStop, &CWVPMarkupObject::Type, &CWVPMarkupGradientStop::RegisterProperties},
    {L"LinearGradientBrush", L"CWVPMarkupLinearGradientBrush", CreateLinearGradientBrush, &CWVPMarkupBrush::Type, &CWVPMarkupLinearGradientBrush::RegisterProperties},
    {nullptr, L"CWVPMarkupVisual", CreateVisual, &CWVPMarkupInputElement::Type, &CWVPMarkupType::RegisterNothing},
    {nullptr, L"CWVPMarkupUIElement", CreateUIElement, &CWVPMarkupVisual::Type, &CWVPMarkupUIElement::RegisterProperties},
    {nullptr, L"CWVPMarkupInputElement", CreateInputElement, &CWVPMarkupObject::Type, &CWVPMarkupInputElement::RegisterProperties},
    {nullptr, L"CWVPMarkupResourceDictionary", CreateResourceDictionary, &CWVPMarkupObject::Type, &CWVPMarkupType::RegisterNothing},
    {L"Setter", L"CWVPMarkupSetter", CreateSetter, &CWVPMarkupObject::Type, &CWVPMarkupSetter::RegisterProperties},
    {nullptr, L"CWVPMarkupSetterColection", CreateSetterColection, &CWVPMarkupCollection::Type, &CWVPMarkupType::RegisterNothing},
    {L"Style", L"CWVPMarkupStyle", CreateStyle, &CWVPMarkupObject::Type, &CWVPMarkupStyle::RegisterProperties},
    {L"Trigger", L"CWVPMarkupTrigger", CreateTrigger, &CWVPMarkupObject::Type, &CWVPMarkupTrigger::RegisterProperties},
    {nullptr, L"CWVPMarkupTriggerCollection", CreateTriggerCollection, &CWVPMarkupCollection::Type, &CWVPMarkupType::RegisterNothing},
    {nullptr, L"CWVPMarkupScrollBar", CreateScrollBar, &CWVPMarkupControl::Type, &CWVPMarkupType::RegisterNothing},
    {nullptr, L"CWVPMarkupScrollBarGripper", CreateScrollBarGripper, &CWVPMarkupUIElement::Type, &CWVPMarkupType::RegisterNothing},
    {L"ScrollViewer", L"CWVPMarkupScrollViewer", CreateScrollViewer, &CWVPMarkupContentControl::Type, &CWVPMarkupScrollViewer::RegisterProperties},
    {L"TextBlock", L"CWVPMarkupTextBlock", CreateTextBlock, &CWVPMarkupFrameworkElement::Type, &CWVPMarkupTextBlock::RegisterProperties},
    {L"StackPanel", L"CWVPMarkupStackPanel", CreateStackPanel, &CWVPMarkupPanel::Type, &CWVPMarkupStackPanel::RegisterProperties},
    {L"WrapPanel", L"CWVPMarkupWrapPanel", CreateWrapPanel, &CWVPMarkupPanel::Type, &CWVPMarkupWrapPanel::RegisterProperties},
    {nullptr, L"CWVPMarkupShape", CreateShape, &CWVPMarkupFrameworkElement::Type, &CWVPMarkupShape::RegisterProperties},
    {nullptr, L"CWVPMarkupPointCollection", CreatePointCollection, &CWVPMarkupObject::Type, &CWVPMarkupType::RegisterNothing},
    {L"Polygon", L"CWVPMarkupPolygon", CreatePolygon, &CWVPMarkupShape::Type, &CWVPMarkupPolygon::RegisterProperties},
    {L"Polyline", L"CWVPMarkupPolyline", CreatePolyline, &CWVPMarkupShape::Type, &CWVPMarkupPolyline::RegisterProperties},
    {L"Rectangle", L"CWVPMarkupRectangle", CreateRectangle, &CWVPMarkupShape::Type, &CWVPMarkupType::RegisterNothing},
    {L"Ellipse", L"CWVPMarkupEllipse", CreateEllipse, &CWVPMarkupShape::Type, &CWVPMarkupType::RegisterNothing},
    {L"Line", L"CWVPMarkupLine", CreateLine, &CWVPMarkupShape::Type, &CWVPMarkupLine::RegisterProperties},
    {L"Page", L"CWVPMarkupPage", CreatePage, &CWVPMarkupFrameworkElement::Type, &CWVPMarkupType::RegisterNothing},
    {L"FrameworkContentElement", L"CWVPMarkupFrameworkContentElement", CreateFrameworkContentElement, &CWVPMarkupInputElement::Type, &CWVPMarkupFrameworkContentElement::RegisterProperties},
    {L"TextElement", L"CWVPMarkupTextElement", CreateTextElement, &CWVPMarkupFrameworkContentElement::Type, &CWVPMarkupTextElement::RegisterProperties},
    {nullptr, L"CWVPMarkupInline", CreateInline, &CWVPMarkupTextElement::Type, &CWVPMarkupInline::RegisterProperties},
    {L"Run", L"CWVPMarkupRun", CreateRun, &CWVPMarkupInline::Type, &CWVPMarkupRun::RegisterProperties},
    {L"LineBreak", L"CWVPMarkupLineBreak", CreateLineBreak, &CWVPMarkupRun::Type, &CWVPMarkupType::RegisterNothing},
    {nullptr, L"CWVPMarkupInlineCollection", CreateInlineCollection, &CWVPMarkupCollection::Type, &CWVPMarkupType::RegisterNothing},
    {L"Span", L"CWVPMarkupSpan", CreateSpan, &CWVPMarkupInline::Type, &CWVPMarkupType::RegisterNothing},
    {L"Bold", L"CWVPMarkupBold", CreateBold, &CWVPMarkupSpan::Type, &CWVPMarkupType::RegisterNothing},
    {L"Hyperlink", L"CWVPMarkupHyperlink", CreateHyperlink, &CWVPMarkupSpan::Type, &CWVPMarkupHyperlink::RegisterProperties},
    {L"Italic", L"CWVPMarkupItalic", CreateItalic, &CWVPMarkupSpan::Type, &CWVPMarkupType::RegisterNothing},
    {L"Underline", L"CWVPMarkupUnderline", CreateUnderline, &CWVPMarkupSpan::Type, &CWVPMarkupType::RegisterNothing},
    {L"InlineUIContainer", L"CWVPMarkupInlineUIContainer", CreateInlineUIContainer, &CWVPMarkupInline::Type, &CWVPMarkupType::RegisterNothing},
    {nullptr, L"CWVPMarkupButtonBase", CreateButtonBase, &CWVPMarkupContentControl::Type, &CWVPMarkupButtonBase::RegisterProperties},
    {L"Button", L"CWVPMarkupButton", CreateButton, &CWVPMarkupButtonBase::Type, &CWVPMarkupType::RegisterNothing},
    {nullptr, L"CWVPMarkupToggleButton", CreateToggleButton, &CWVPMarkupButtonBase::Type, &CWVPMarkupToggleButton::RegisterProperties},
    {L"CheckBox", L"CWVPMarkupCheckBox", CreateCheckBox, &CWVPMarkupToggleButton::Type, &CWVPMarkupType::RegisterNothing},
    {L"RadioButton", L"CWVPMarkupRadioButton", CreateRadioButton, &CWVPMarkupToggleButton::Type, &CWVPMarkupType::RegisterNothing},
    {L"Control", L"CWVPMarkupControl", CreateControl, &CWVPMarkupFrameworkElement::Type, &CWVPMarkupControl::RegisterProperties},
    {nullptr, L"CWVPMarkupContentControl", CreateContentControl, &CWVPMarkupControl::Type, &CWVPMarkupContentControl::RegisterProperties},
    {L"Panel", L"CWVPMarkupPanel", CreatePanel, &CWVPMarkupFrameworkElement::Type, &CWVPMarkupPanel::RegisterProperties},
    {L"Image", L"CWVPMarkupImage", CreateImage, &CWVPMarkupFrameworkElement::Type, &CWVPMarkupImage::RegisterProperties},
    {nullptr, L"CWVPMarkupGridLength", CreateGridLength, &CWVPMarkupObject::Type, &CWVPMarkupType::RegisterNothing},
    {L"ColumnDefinition", L"CWVPMarkupColumnDefinition", CreateColumnDefinition, &CWVPMarkupObject::Type, &CWVPMarkupColumnDefinition::RegisterProperties},
    {L"RowDefinition", L"CWVPMarkupRowDefinition", CreateRowDefinition, &CWVPMarkupObject::Type, &CWVPMarkupRowDefinition::RegisterProperties},
    {nullptr, L"CWVPMarkupDefinitionCollection", CreateDefinitionCollection, &CWVPMarkupCollection::Type, &CWVPMarkupType::RegisterNothing},
    {nullptr, L"CWVPMarkupRowDefinitionCollection", CreateRowDefinitionCollection, &CWVPMarkupDefinitionCollection::Type, &CWVPMarkupType::RegisterNothing},
    {nullptr, L"CWVPMarkupColumnDefinitionCollection", CreateColumnDefinitionCollection, &CWVPMarkupDefinitionCollection::Type, &CWVPMarkupType::RegisterNothing},
    {L"Grid", L"CWVPMarkupGrid", CreateGrid, &CWVPMarkupPanel::Type, &CWVPMarkupGrid::RegisterProperties},
    {L"Canvas", L"CWVPMarkupCanvas", CreateCanvas, &CWVPMarkupPanel::Type, &CWVPMarkupCanvas::RegisterProperties},
    {L"Border", L"CWVPMarkupBorder", CreateBorder, &CWVPMarkupFrameworkElement::Type, &CWVPMarkupBorder::RegisterProperties},
    {L"FrameworkElement", L"CWVPMarkupFrameworkElement", CreateFrameworkElement, &CWVPMarkupUIElement::Type, &CWVPMarkupFrameworkElement::RegisterProperties},
    {nullptr, L"CWVPMarkupObjectProperty", CreateObjectProperty, &CWVPMarkupObject::Type, &CWVPMarkupType::RegisterNothing},
    {nullptr, L"CWVPMarkupColorKey", CreateColorKey, &CWVPMarkupObject::Type, &CWVPMarkupType::RegisterNothing},
    {nullptr, L"CWVPMarkupBrushKey", CreateBrushKey, &CWVPMarkupObject::Type, &CWVPMarkupType::RegisterNothing},
    {L"KeyboardNavigation", L"CWVPMarkupKeyboardNavigation", CreateKeyboardNavigation, &CWVPMarkupObject::Type, &CWVPMarkupKeyboardNavigation::RegisterProperties},
};

CWVPMarkupType* g_types[kMarkupTypeCount];
BOOL g_typesCreated;

void ForgetTypes(void*)
{
    for (CWVPMarkupType*& type : g_types)
        type = nullptr;
}

void CreateTypes()
{
    g_typesCreated = TRUE;
    // Registered first so that it runs after the registry has released the records.
    AfxRegisterExitHandler(ForgetTypes, nullptr);
    for (int i = 0; i < kMarkupTypeCount; ++i)
    {
        const TypeRow& row = kTypeRows[i];
        g_types[i] = new (std::nothrow) CWVPMarkupType(row.tag, row.className, row.create, row.baseType,
                                                       row.registerProperties);
    }
}
} // namespace

CWVPMarkupType* MarkupTypeAt(int index)
{
    if (!g_typesCreated)
        CreateTypes();
    return index >= 0 && index < kMarkupTypeCount ? g_types[index] : nullptr;
}

void CWVPMarkupObject::RegisterProperties()
{
    CWVPMarkupDependencyProperty::Register(L"x:Name", CWVPMarkupString::Type(), Type());
    CWVPMarkupDependencyProperty::Register(L"x:Key", CWVPMarkupObject::Type(), Type());
}
