#include "uilib/markup/MarkupButton.h"

#include <algorithm>

#include "uilib/foundation/DrawHelpers.h"
#include "uilib/markup/MarkupBrush.h"
#include "uilib/markup/MarkupDrawingContext.h"
#include "uilib/markup/MarkupLayoutMath.h"
#include "uilib/markup/MarkupPanel.h"
#include "uilib/markup/MarkupType.h"
#include "uilib/markup/MarkupValues.h"

namespace
{
// The bevel around the content, on each side.
const int kBevel = 4;
// The focus rectangle's inset from the button's edges.
const int kFocusInset = 3;
// Visual-style part and states of the push button.
const int kPartPushButton = 1;
const int kStateNormal = 1;
const int kStateHot = 2;
const int kStatePressed = 3;
const int kStateDisabled = 4;
const int kMaxLuminance = 240;

// The four colours of a bevel.
struct BevelColors
{
    COLORREF light, shadow, dark;
};

// Light, shadow and dark shades of a background colour: lighter and darker at the same hue and
// saturation, the dark one half the shadow.
BevelColors ShadesOf(COLORREF color)
{
    DWORD hls = CWVPDrawHelpers::ColorToHLS(color);
    DWORD hueSaturation = hls & 0xFFFF;
    int luminance = (hls >> 16) & 0xFF;
    COLORREF light = CWVPDrawHelpers::HLSToColor(hueSaturation | ((DWORD)((luminance + kMaxLuminance) / 2) << 16));
    COLORREF shadow = CWVPDrawHelpers::HLSToColor(hueSaturation | ((DWORD)::MulDiv(luminance, 2, 3) << 16));
    COLORREF dark = RGB(GetRValue(shadow) / 2, GetGValue(shadow) / 2, GetBValue(shadow) / 2);
    return {light, shadow, dark};
}

void Frame(CWVPMarkupDrawingContext* dc, RECT r, COLORREF color)
{
    CWVPMarkupSolidColorBrush* brush = new CWVPMarkupSolidColorBrush(color);
    dc->DrawFrame(brush, r);
    brush->Release();
}
} // namespace

IMPLEMENT_MARKUP_TYPE(CWVPMarkupButton, kTypeButton)

SIZE CWVPMarkupButton::MeasureOverride(CWVPMarkupDrawingContext* dc, int W, int H)
{
    OpenTheme();
    SIZE padding = GetPaddingSums();
    int extraWidth = MarkupAddSize(padding.cx, 2 * kBevel), extraHeight = MarkupAddSize(padding.cy, 2 * kBevel);
    CWVPMarkupUIElement* content = GetContent();
    if (!content)
        return {extraWidth, extraHeight};
    content->Measure(dc, (std::max)(MarkupSubtractSize(W, extraWidth), 0),
                     (std::max)(MarkupSubtractSize(H, extraHeight), 0));
    SIZE desired = content->GetDesiredSize();
    return {MarkupAddSize(desired.cx, extraWidth), MarkupAddSize(desired.cy, extraHeight)};
}

SIZE CWVPMarkupButton::ArrangeOverride(int W, int H)
{
    CWVPMarkupUIElement* content = GetContent();
    if (!content)
        return {W, H};
    RECT r = {0, 0, W, H};
    if (IsPressed() && (!IsThemeUsable() || GetValue(CWVPMarkupPanel::s_pBackgroundProperty)))
        ::OffsetRect(&r, 1, 1);
    r = CWVPMarkupThickness::DeflateRect(r, GetPadding());
    CWVPMarkupThickness bevel(kBevel, kBevel, kBevel, kBevel);
    content->Arrange(CWVPMarkupThickness::DeflateRect(r, &bevel));
    return {W, H};
}

void CWVPMarkupButton::OnRender(CWVPMarkupDrawingContext* dc)
{
    RECT r = {0, 0, m_szRender.cx, m_szRender.cy};
    if (r.right < 1 || r.bottom < 1)
        return;
    BOOL pressed = IsPressed(), hot = IsMouseOver(), enabled = IsEnabled();
    CWVPMarkupBrush* background = MarkupCast<CWVPMarkupBrush>(GetValue(CWVPMarkupPanel::s_pBackgroundProperty));
    BevelColors bevel = {};
    if (background)
    {
        bevel = ShadesOf(background->GetColor());
        dc->FillRect(background, r);
    }
    else if (IsThemeUsable())
    {
        int state = !enabled ? kStateDisabled : pressed ? kStatePressed : hot ? kStateHot : kStateNormal;
        Theme().DrawThemeBackground(dc->GetDC(), kPartPushButton, state, &r, nullptr);
        return;
    }
    else
    {
        bevel = {::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_3DDKSHADOW)};
        dc->FillSolidRect(r, ::GetSysColor(COLOR_BTNFACE));
    }
    if (pressed)
    {
        Frame(dc, r, ::GetSysColor(COLOR_WINDOWFRAME));
        ::InflateRect(&r, -1, -1);
        Frame(dc, r, bevel.shadow);
        return;
    }
    const struct
    {
        RECT band;
        COLORREF color;
    } bands[] = {
        {{r.left, r.top, r.right, 1}, bevel.light},
        {{r.left, r.top, r.left + 1, r.bottom}, bevel.light},
        {{r.left + 1, r.bottom - 2, r.right - 1, r.bottom - 1}, bevel.shadow},
        {{r.right - 2, r.top + 1, r.right - 1, r.bottom - 1}, bevel.shadow},
        {{r.left, r.bottom - 1, r.right - 1, r.bottom}, bevel.dark},
        {{r.right - 1, r.top, r.right, r.bottom}, bevel.dark},
    };
    for (const auto& b : bands)
        dc->FillSolidRect(b.band, b.color);
}

void CWVPMarkupButton::OnRenderFocusVisual(CWVPMarkupDrawingContext* dc)
{
    RECT r = {0, 0, m_szRender.cx, m_szRender.cy};
    ::InflateRect(&r, -kFocusInset, -kFocusInset);
    DrawFocusCue(dc, r);
}
