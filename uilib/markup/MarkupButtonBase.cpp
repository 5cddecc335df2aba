#include "uilib/markup/MarkupButtonBase.h"

#include "uilib/markup/MarkupBrush.h"
#include "uilib/markup/MarkupDrawingContext.h"
#include "uilib/markup/MarkupTextElement.h"
#include "uilib/markup/MarkupType.h"
#include "uilib/markup/MarkupValues.h"

namespace
{
const WCHAR kButtonClass[] = L"BUTTON";
const COLORREF kFocusTextColor = RGB(255, 255, 255);
const COLORREF kFocusBackColor = RGB(0, 0, 0);
} // namespace

IMPLEMENT_MARKUP_TYPE(CWVPMarkupButtonBase, kTypeButtonBase)
CWVPMarkupRoutedEvent* CWVPMarkupButtonBase::s_pClickEvent;
CWVPMarkupDependencyProperty* CWVPMarkupButtonBase::s_pIsPressedProperty;

void CWVPMarkupButtonBase::RegisterProperties()
{
    s_pClickEvent = CWVPMarkupRoutedEvent::RegisterRoutedEvent(L"Click", 1, Type());
    s_pIsPressedProperty = CWVPMarkupDependencyProperty::Register(
        L"IsPressed", CWVPMarkupBool::Type(), Type(),
        new CWVPMarkupPropertyMetadata(CWVPMarkupBool::CreateFalseValue(), MetadataAffectsArrange));
}

CWVPMarkupButtonBase::CWVPMarkupButtonBase()
    : m_bPressed(FALSE), m_bHot(FALSE), m_theme(TRUE), m_pDisabledForeground(nullptr)
{
    SetValue(s_pFocusableProperty, CWVPMarkupBool::CreateTrueValue());
}

CWVPMarkupButtonBase::~CWVPMarkupButtonBase()
{
    if (m_pDisabledForeground)
        m_pDisabledForeground->Release();
}

BOOL CWVPMarkupButtonBase::IsPressed() const
{
    return CWVPMarkupBool::ValueOf(GetValue(s_pIsPressedProperty), FALSE);
}

BOOL CWVPMarkupButtonBase::IsMouseOver() const
{
    return CWVPMarkupBool::ValueOf(GetValue(s_pIsMouseOverProperty), FALSE);
}

BOOL CWVPMarkupButtonBase::IsEnabled() const
{
    return CWVPMarkupBool::ValueOf(GetValue(s_pIsEnabledProperty), TRUE);
}

void CWVPMarkupButtonBase::OpenTheme()
{
    m_theme.OpenThemeData(nullptr, kButtonClass);
}

CWVPMarkupObject* CWVPMarkupButtonBase::GetValueCore(CWVPMarkupDependencyProperty* property) const
{
    if (property && property == CWVPMarkupTextElement::s_pForegroundProperty && !IsEnabled())
    {
        if (!m_pDisabledForeground)
            m_pDisabledForeground = new CWVPMarkupSolidColorBrush(::GetSysColor(COLOR_GRAYTEXT));
        return m_pDisabledForeground;
    }
    return CWVPMarkupContentControl::GetValueCore(property);
}

void CWVPMarkupButtonBase::OnPropertyChanged(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* oldValue,
                                             CWVPMarkupObject* newValue)
{
    CWVPMarkupContentControl::OnPropertyChanged(property, oldValue, newValue);
    if (property != s_pIsEnabledProperty)
        return;
    // A button disabled in the middle of a press lets go of it without a click.
    if (!IsEnabled() && m_bPressed)
    {
        ReleaseMouseCapture();
        ClearPressed();
    }
    InvalidateVisual();
}

void CWVPMarkupButtonBase::SetPressed()
{
    if (m_bPressed)
        return;
    m_bPressed = TRUE;
    SetValue(s_pIsPressedProperty, CWVPMarkupBool::CreateTrueValue());
}

void CWVPMarkupButtonBase::ClearPressed()
{
    if (m_bPressed)
    {
        m_bPressed = FALSE;
        SetValue(s_pIsPressedProperty, nullptr);
    }
    // A press kept the mouse-over state while the mouse was outside; it ends with the press.
    if (!m_bHot && IsMouseOver())
    {
        SetValue(s_pIsMouseOverProperty, nullptr);
        InvalidateVisual();
    }
}

void CWVPMarkupButtonBase::OnMouseEnter(CWVPMarkupMouseEventArgs* args)
{
    m_bHot = TRUE;
    if (m_bPressed)
    {
        SetValue(s_pIsPressedProperty, CWVPMarkupBool::CreateTrueValue());
        return;
    }
    CWVPMarkupContentControl::OnMouseEnter(args);
    InvalidateVisual();
}

void CWVPMarkupButtonBase::OnMouseLeave(CWVPMarkupMouseEventArgs* args)
{
    m_bHot = FALSE;
    if (m_bPressed)
    {
        SetValue(s_pIsPressedProperty, nullptr);
        return;
    }
    CWVPMarkupContentControl::OnMouseLeave(args);
    InvalidateVisual();
}

void CWVPMarkupButtonBase::OnMouseLeftButtonDown(CWVPMarkupMouseEventArgs* args)
{
    if (!IsEnabled())
        return;
    Focus();
    SetPressed();
    if (args)
        args->m_bHandled = TRUE;
    CaptureMouse();
}

void CWVPMarkupButtonBase::OnMouseLeftButtonUp(CWVPMarkupMouseEventArgs* args)
{
    if (m_bPressed)
    {
        // A click handler may release the tree that holds this button.
        AddRef();
        ReleaseMouseCapture();
        ClearPressed();
        if (args)
            args->m_bHandled = TRUE;
        if (m_bHot)
            OnClick();
        Release();
    }
}

void CWVPMarkupButtonBase::OnLostMouseCapture(CWVPMarkupMouseEventArgs*)
{
    ClearPressed();
}

void CWVPMarkupButtonBase::OnClick()
{
    CWVPMarkupRoutedEventArgs args(s_pClickEvent, this);
    RaiseEvent(&args);
}

void CWVPMarkupButtonBase::DrawFocusCue(CWVPMarkupDrawingContext* dc, RECT rect)
{
    HDC hdc = dc->GetDC();
    COLORREF text = ::SetTextColor(hdc, kFocusTextColor);
    COLORREF back = ::SetBkColor(hdc, kFocusBackColor);
    ::DrawFocusRect(hdc, &rect);
    ::SetBkColor(hdc, back);
    ::SetTextColor(hdc, text);
}
