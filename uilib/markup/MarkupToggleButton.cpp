#include "uilib/markup/MarkupToggleButton.h"

#include <algorithm>

#include "uilib/markup/MarkupConverters.h"
#include "uilib/markup/MarkupDrawingContext.h"
#include "uilib/markup/MarkupLayoutMath.h"
#include "uilib/markup/MarkupType.h"
#include "uilib/markup/MarkupValues.h"

namespace
{
// The glyph is a square of this size; the content starts this far from the left edge.
const int kGlyphSize = 13;
const int kGlyphHalf = 6;
const int kContentIndent = 16;
// The focus rectangle starts here, around the content only.
const int kFocusLeft = 15;
// Visual-style states of the glyph before the checked offset.
const int kStateNormal = 1;
const int kStateHot = 2;
const int kStatePressed = 3;
const int kStateDisabled = 4;

void OnIsCheckedChanged(CWVPMarkupObject* object, CWVPMarkupPropertyChangedEventArgs* args)
{
    CWVPMarkupToggleButton* button = MarkupCast<CWVPMarkupToggleButton>(object);
    if (!button)
        return;
    int state = CWVPMarkupEnum::ValueOf(args->m_pNewValue, CWVPMarkupToggleButton::stateUnchecked);
    if (state == CWVPMarkupToggleButton::stateChecked)
    {
        CWVPMarkupRoutedEventArgs record(CWVPMarkupToggleButton::s_pCheckedEvent, button);
        button->OnChecked(&record);
    }
    else if (state != CWVPMarkupToggleButton::stateUnchecked)
    {
        CWVPMarkupRoutedEventArgs record(CWVPMarkupToggleButton::s_pIndeterminateEvent, button);
        button->OnIndeterminate(&record);
    }
    else
    {
        CWVPMarkupRoutedEventArgs record(CWVPMarkupToggleButton::s_pUncheckedEvent, button);
        button->OnUnchecked(&record);
    }
}
} // namespace

IMPLEMENT_MARKUP_TYPE(CWVPMarkupToggleButton, kTypeToggleButton)
CWVPMarkupRoutedEvent* CWVPMarkupToggleButton::s_pCheckedEvent;
CWVPMarkupRoutedEvent* CWVPMarkupToggleButton::s_pUncheckedEvent;
CWVPMarkupRoutedEvent* CWVPMarkupToggleButton::s_pIndeterminateEvent;
CWVPMarkupDependencyProperty* CWVPMarkupToggleButton::s_pIsCheckedProperty;
CWVPMarkupDependencyProperty* CWVPMarkupToggleButton::s_pIsThreeStateProperty;

void CWVPMarkupToggleButton::RegisterProperties()
{
    CWVPMarkupType* t = Type();
    s_pCheckedEvent = CWVPMarkupRoutedEvent::RegisterRoutedEvent(L"Checked", 1, t);
    s_pUncheckedEvent = CWVPMarkupRoutedEvent::RegisterRoutedEvent(L"Unchecked", 1, t);
    s_pIndeterminateEvent = CWVPMarkupRoutedEvent::RegisterRoutedEvent(L"Indeterminate", 1, t);
    s_pIsCheckedProperty = CWVPMarkupDependencyProperty::Register(
        L"IsChecked", CWVPMarkupEnum::Type(), t,
        new CWVPMarkupPropertyMetadata(CWVPMarkupEnum::CreateValue(stateUnchecked), MarkupConvertIsChecked,
                                       OnIsCheckedChanged, MetadataAffectsRender));
    s_pIsThreeStateProperty = CWVPMarkupDependencyProperty::Register(
        L"IsThreeState", CWVPMarkupBool::Type(), t,
        new CWVPMarkupPropertyMetadata(CWVPMarkupBool::CreateFalseValue(), MetadataAffectsRender));
}

int CWVPMarkupToggleButton::GetCheckState() const
{
    return CWVPMarkupEnum::ValueOf(GetValue(s_pIsCheckedProperty), stateUnchecked);
}

void CWVPMarkupToggleButton::SetCheckState(int state)
{
    SetValue(s_pIsCheckedProperty, CWVPMarkupEnum::CreateValue(state));
}

BOOL CWVPMarkupToggleButton::IsThreeState() const
{
    return CWVPMarkupBool::ValueOf(GetValue(s_pIsThreeStateProperty), FALSE);
}

void CWVPMarkupToggleButton::OnClick()
{
    OnToggle();
    CWVPMarkupButtonBase::OnClick();
}

void CWVPMarkupToggleButton::OnToggle()
{
    int state = GetCheckState();
    if (state == stateChecked)
        SetCheckState(IsThreeState() ? stateIndeterminate : stateUnchecked);
    else
        SetCheckState(state == stateIndeterminate ? stateUnchecked : stateChecked);
}

void CWVPMarkupToggleButton::OnChecked(CWVPMarkupRoutedEventArgs* args)
{
    RaiseEvent(args);
}

void CWVPMarkupToggleButton::OnUnchecked(CWVPMarkupRoutedEventArgs* args)
{
    RaiseEvent(args);
}

void CWVPMarkupToggleButton::OnIndeterminate(CWVPMarkupRoutedEventArgs* args)
{
    RaiseEvent(args);
}

SIZE CWVPMarkupToggleButton::MeasureOverride(CWVPMarkupDrawingContext* dc, int W, int H)
{
    OpenTheme();
    SIZE padding = GetPaddingSums();
    int extraWidth = MarkupAddSize(padding.cx, kContentIndent);
    CWVPMarkupUIElement* content = GetContent();
    if (!content)
        return {extraWidth, (std::max)(padding.cy, kGlyphSize)};
    content->Measure(dc, (std::max)(MarkupSubtractSize(W, extraWidth), 0),
                     (std::max)(MarkupSubtractSize(H, padding.cy), 0));
    SIZE desired = content->GetDesiredSize();
    return {MarkupAddSize(desired.cx, extraWidth), (std::max)(MarkupAddSize(desired.cy, padding.cy), kGlyphSize)};
}

SIZE CWVPMarkupToggleButton::ArrangeOverride(int W, int H)
{
    if (CWVPMarkupUIElement* content = GetContent())
    {
        RECT r = CWVPMarkupThickness::DeflateRect({0, 0, W, H}, GetPadding());
        r.left = (std::min)(MarkupAddSize(r.left, kContentIndent), (int)r.right);
        content->Arrange(r);
    }
    return {W, H};
}

void CWVPMarkupToggleButton::RenderGlyph(CWVPMarkupDrawingContext* dc, int part, int checkedState, UINT frameFlags)
{
    int middle = m_szRender.cy / 2;
    RECT box = {0, middle - kGlyphHalf, kGlyphSize, middle + kGlyphSize - kGlyphHalf};
    BOOL pressed = IsPressed(), enabled = IsEnabled();
    if (IsThemeUsable())
    {
        int state = !enabled ? kStateDisabled : pressed ? kStatePressed : IsMouseOver() ? kStateHot : kStateNormal;
        Theme().DrawThemeBackground(dc->GetDC(), part, state + checkedState, &box, nullptr);
        return;
    }
    if (pressed)
        frameFlags |= DFCS_PUSHED;
    if (!enabled)
        frameFlags |= DFCS_INACTIVE;
    ::DrawFrameControl(dc->GetDC(), &box, DFC_BUTTON, frameFlags);
}

void CWVPMarkupToggleButton::OnRenderFocusVisual(CWVPMarkupDrawingContext* dc)
{
    if (GetContent())
        DrawFocusCue(dc, {kFocusLeft, 0, m_szRender.cx, m_szRender.cy});
}
