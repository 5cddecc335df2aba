// What the markup buttons draw into a DIB section: the classic bevels and frame controls (also
// when the visual style is there but gives no theme), the visual style's parts and states in the
// themed prefix, coloured buttons, the greyed content of a disabled button and the focus cues.
#include "MarkupFixture.h"

#include <functional>
#include <vector>

#include "DibCanvas.h"
#include "uilib/foundation/WinThemeWrapper.h"
#include "uilib/markup/MarkupDrawingContext.h"
#include "../foundation/ThemeState.h"

namespace
{
using markuptest::ElementPtr;

const COLORREF kMagenta = RGB(255, 0, 255);
const int kGlyph = 13;

HTHEME WINAPI NoThemeData(HWND, LPCWSTR)
{
    return nullptr;
}

// Makes the buttons' visual-style table open no theme, as on a system without visual styles;
// the real tables come back afterwards.
struct ClassicSystem
{
    ClassicSystem()
    {
        CWVPWinThemeWrapper::ResetSharedTables();
        CWVPWinThemeWrapper::OverrideEntryPoint(TRUE, "OpenThemeData", (FARPROC)&NoThemeData);
    }
    ~ClassicSystem()
    {
        CWVPWinThemeWrapper::ResetSharedTables();
    }
};

// Parses, measures and arranges one control in (0, 0, w, h).
template <class T> T* Layout(markuptest::Context& context, LPCWSTR markup, int w, int h)
{
    CWVPMarkupObject* root = context.Parse(markup);
    EXPECT_NE(nullptr, root) << rwtest::Utf8(markup) << ": " << context.Error();
    T* control = MarkupCast<T>(root);
    if (!control)
    {
        if (root)
            root->Release();
        return nullptr;
    }
    CWVPMarkupDrawingContext dc;
    control->Measure(&dc, w, h);
    control->Arrange({0, 0, w, h});
    return control;
}

void Draw(CWVPMarkupUIElement* element, DibCanvas& canvas, COLORREF fill = kMagenta)
{
    canvas.Fill(fill);
    const RECT& r = element->GetFinalRect();
    element->Arrange(r);
    CWVPMarkupDrawingContext dc(canvas.dc());
    element->Render(&dc);
}

// The states a test puts a button in, by its properties.
enum State
{
    normal,
    hot,
    pressed,
    disabled,
    hotPressed
};

void SetState(CWVPMarkupInputElement* e, State state)
{
    if (state == hot || state == hotPressed)
        e->SetValue(CWVPMarkupInputElement::s_pIsMouseOverProperty, CWVPMarkupBool::CreateTrueValue());
    if (state == pressed || state == hotPressed)
        e->SetValue(CWVPMarkupButtonBase::s_pIsPressedProperty, CWVPMarkupBool::CreateTrueValue());
    if (state == disabled)
        e->SetValue(CWVPMarkupUIElement::s_pIsEnabledProperty, CWVPMarkupBool::CreateFalseValue());
}

// Pixels of a rectangle that differ between two canvases.
int Differences(const DibCanvas& a, const DibCanvas& b, RECT r)
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += a.At(x, y) != b.At(x, y);
    return n;
}

// Counts the pixels of a colour in a rectangle.
int Count(const DibCanvas& canvas, RECT r, COLORREF colour)
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += canvas.At(x, y) == colour;
    return n;
}

COLORREF Sys(int index)
{
    return ::GetSysColor(index);
}

// Draws a control of the markup in a state and compares every pixel with what the reference
// drawing paints over the same background.
void ExpectDrawnAs(markuptest::Context& context, LPCWSTR markup, State state, SIZE size,
                   const std::function<void(HDC)>& reference)
{
    SCOPED_TRACE(rwtest::Utf8(markup) + " state " + std::to_string(state));
    ElementPtr control(Layout<CWVPMarkupButtonBase>(context, markup, size.cx, size.cy));
    ASSERT_TRUE(control);
    SetState(control.get(), state);
    DibCanvas drawn(size.cx, size.cy), expected(size.cx, size.cy, kMagenta);
    Draw(control.get(), drawn);
    reference(expected.dc());
    EXPECT_EQ(0, Differences(drawn, expected, {0, 0, size.cx, size.cy}));
}
} // namespace

// The classic push button: a light and a two-step dark bevel around the face, a window frame and
// a shadow frame while pressed; hot and disabled keep the normal bevel.
TEST(MarkupButtonDraw, ClassicPushButton)
{
    ClassicSystem classic;
    const struct
    {
        State state;
        std::vector<markuptest::Probe> probes;
    } cases[] = {
        {normal,
         {{0, 10, Sys(COLOR_WINDOW)},
          {30, 0, Sys(COLOR_WINDOW)},
          {59, 10, Sys(COLOR_3DDKSHADOW)},
          {30, 23, Sys(COLOR_3DDKSHADOW)},
          {58, 10, Sys(COLOR_BTNSHADOW)},
          {30, 22, Sys(COLOR_BTNSHADOW)},
          {1, 1, Sys(COLOR_BTNFACE)},
          {30, 12, Sys(COLOR_BTNFACE)},
          {57, 21, Sys(COLOR_BTNFACE)}}},
        {hot, {{0, 10, Sys(COLOR_WINDOW)}, {59, 10, Sys(COLOR_3DDKSHADOW)}, {58, 10, Sys(COLOR_BTNSHADOW)}}},
        {disabled, {{0, 10, Sys(COLOR_WINDOW)}, {59, 10, Sys(COLOR_3DDKSHADOW)}, {30, 12, Sys(COLOR_BTNFACE)}}},
        {pressed,
         {{0, 10, Sys(COLOR_WINDOWFRAME)},
          {59, 10, Sys(COLOR_WINDOWFRAME)},
          {30, 0, Sys(COLOR_WINDOWFRAME)},
          {30, 23, Sys(COLOR_WINDOWFRAME)},
          {1, 10, Sys(COLOR_BTNSHADOW)},
          {58, 10, Sys(COLOR_BTNSHADOW)},
          {30, 1, Sys(COLOR_BTNSHADOW)},
          {30, 22, Sys(COLOR_BTNSHADOW)},
          {2, 2, Sys(COLOR_BTNFACE)},
          {57, 21, Sys(COLOR_BTNFACE)}}},
    };
    markuptest::Context context;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.state);
        ElementPtr button(Layout<CWVPMarkupButton>(context, L"<Button/>", 60, 24));
        ASSERT_TRUE(button);
        SetState(button.get(), c.state);
        DibCanvas canvas(60, 24);
        Draw(button.get(), canvas);
        for (const markuptest::Probe& p : c.probes)
            EXPECT_EQ(p.colour, canvas.At(p.x, p.y)) << p.x << "," << p.y;
    }
}

// A background colour fills the button and gives its bevel: lighter and darker shades of it, the
// darkest one half the dark shade; in every visual-style state.
TEST(MarkupButtonDraw, ColouredButtonBevelsInItsOwnShades)
{
    markuptest::Context context;
    for (State state : {normal, pressed})
    {
        SCOPED_TRACE(state);
        ElementPtr button(Layout<CWVPMarkupButton>(context, L"<Button Background=\"#FF0000\"/>", 60, 24));
        ASSERT_TRUE(button);
        SetState(button.get(), state);
        DibCanvas canvas(60, 24);
        Draw(button.get(), canvas);
        EXPECT_EQ(RGB(255, 0, 0), canvas.At(30, 12));
        COLORREF shadow = state == pressed ? canvas.At(1, 10) : canvas.At(58, 10);
        EXPECT_EQ(0, GetGValue(shadow));
        EXPECT_GT(GetRValue(shadow), 100);
        EXPECT_LT(GetRValue(shadow), 255);
        if (state == pressed)
        {
            EXPECT_EQ(Sys(COLOR_WINDOWFRAME), canvas.At(0, 10));
            continue;
        }
        COLORREF light = canvas.At(0, 10), dark = canvas.At(59, 10);
        EXPECT_EQ(255, GetRValue(light));
        EXPECT_GT(GetGValue(light), 100);
        EXPECT_EQ(GetGValue(light), GetBValue(light));
        EXPECT_EQ(RGB(GetRValue(shadow) / 2, 0, 0), dark);
    }
}

// Check boxes and radio buttons draw the system's frame control for their state in a 13-pixel box
// centred at the left.
TEST(MarkupButtonDraw, ClassicGlyphs)
{
    ClassicSystem classic;
    const struct
    {
        LPCWSTR markup;
        State state;
        UINT flags;
    } cases[] = {
        {L"<CheckBox/>", normal, DFCS_BUTTONCHECK},
        {L"<CheckBox/>", hot, DFCS_BUTTONCHECK},
        {L"<CheckBox IsChecked=\"True\"/>", normal, DFCS_BUTTONCHECK | DFCS_CHECKED},
        {L"<CheckBox IsChecked=\"\"/>", normal, DFCS_BUTTONCHECK | DFCS_BUTTON3STATE | DFCS_CHECKED},
        {L"<CheckBox IsChecked=\"True\"/>", pressed, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_PUSHED},
        {L"<CheckBox IsChecked=\"True\"/>", disabled, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE},
        {L"<RadioButton/>", normal, DFCS_BUTTONRADIO},
        {L"<RadioButton IsChecked=\"True\"/>", normal, DFCS_BUTTONRADIO | DFCS_CHECKED},
        {L"<RadioButton/>", pressed, DFCS_BUTTONRADIO | DFCS_PUSHED},
        {L"<RadioButton IsChecked=\"True\"/>", disabled, DFCS_BUTTONRADIO | DFCS_CHECKED | DFCS_INACTIVE},
    };
    markuptest::Context context;
    for (const auto& c : cases)
    {
        ExpectDrawnAs(context, c.markup, c.state, {40, 21}, [&](HDC dc) {
            RECT glyph = {0, 4, kGlyph, 4 + kGlyph};
            EXPECT_TRUE(::DrawFrameControl(dc, &glyph, DFC_BUTTON, c.flags));
        });
    }
}

// In the themed prefix the buttons draw the "BUTTON" style's parts: push button states normal,
// hot, pressed and disabled, check box and radio states with their checked and mixed offsets.
TEST(MarkupButtonDraw, ThemedParts)
{
    if (!ExpectThemed())
        GTEST_SKIP() << "needs the visual style of the themed prefix";
    CWVPWinThemeWrapper theme(TRUE);
    ASSERT_NE(nullptr, theme.OpenThemeData(nullptr, L"BUTTON"));
    const struct
    {
        LPCWSTR markup;
        State state;
        int part, themeState;
        RECT box;
    } cases[] = {
        {L"<Button/>", normal, 1, 1, {0, 0, 60, 24}},
        {L"<Button/>", hot, 1, 2, {0, 0, 60, 24}},
        {L"<Button/>", pressed, 1, 3, {0, 0, 60, 24}},
        {L"<Button/>", hotPressed, 1, 3, {0, 0, 60, 24}},
        {L"<Button/>", disabled, 1, 4, {0, 0, 60, 24}},
        {L"<CheckBox/>", normal, 3, 1, {0, 6, 13, 19}},
        {L"<CheckBox/>", hot, 3, 2, {0, 6, 13, 19}},
        {L"<CheckBox IsChecked=\"True\"/>", pressed, 3, 7, {0, 6, 13, 19}},
        {L"<CheckBox IsChecked=\"True\"/>", normal, 3, 5, {0, 6, 13, 19}},
        {L"<CheckBox IsChecked=\"\"/>", normal, 3, 9, {0, 6, 13, 19}},
        {L"<CheckBox IsChecked=\"\"/>", disabled, 3, 12, {0, 6, 13, 19}},
        {L"<RadioButton/>", normal, 2, 1, {0, 6, 13, 19}},
        {L"<RadioButton IsChecked=\"True\"/>", hot, 2, 6, {0, 6, 13, 19}},
        {L"<RadioButton IsChecked=\"True\"/>", disabled, 2, 8, {0, 6, 13, 19}},
    };
    markuptest::Context context;
    for (const auto& c : cases)
    {
        ExpectDrawnAs(context, c.markup, c.state, {60, 24}, [&](HDC dc) {
            EXPECT_EQ(S_OK, theme.DrawThemeBackground(dc, c.part, c.themeState, &c.box, nullptr));
        });
    }
    // The states are drawn differently, so the comparisons above tell them apart.
    DibCanvas first(60, 24, kMagenta), second(60, 24, kMagenta);
    RECT r = {0, 0, 60, 24};
    theme.DrawThemeBackground(first.dc(), 1, 1, &r, nullptr);
    theme.DrawThemeBackground(second.dc(), 1, 3, &r, nullptr);
    EXPECT_GT(Differences(first, second, r), 0);
}

// A pressed button moves its content by one pixel right and down where the bevel is drawn by
// hand (classic or coloured); the visual style's pressed button keeps it in place.
TEST(MarkupButtonDraw, PressedContentMovesOnlyWithoutTheStyle)
{
    const bool themed = ExpectThemed();
    for (bool simulateClassic : {false, true})
    {
        std::unique_ptr<ClassicSystem> classic(simulateClassic ? new ClassicSystem() : nullptr);
        for (LPCWSTR markup : {L"<Button><Rectangle Width=\"10\" Height=\"6\"/></Button>",
                               L"<Button Background=\"Red\"><Rectangle Width=\"10\" Height=\"6\"/></Button>"})
        {
            SCOPED_TRACE(rwtest::Utf8(markup) + (simulateClassic ? " classic" : ""));
            markuptest::Context context;
            ElementPtr holder(Layout<CWVPMarkupButton>(context, markup, 40, 20));
            CWVPMarkupButton* button = static_cast<CWVPMarkupButton*>(holder.get());
            ASSERT_TRUE(button);
            EXPECT_EQ(4, button->GetContent()->GetFinalRect().left);
            SetState(button, pressed);
            button->Arrange({0, 0, 40, 20});
            bool moves = simulateClassic || !themed || button->GetValue(CWVPMarkupPanel::s_pBackgroundProperty);
            EXPECT_EQ(moves ? 5 : 4, button->GetContent()->GetFinalRect().left);
            EXPECT_EQ(moves ? 5 : 4, button->GetContent()->GetFinalRect().top);
        }
    }
}

// A disabled button's text is drawn in the grey text colour; an enabled one in the default text
// colour.
TEST(MarkupButtonDraw, DisabledContentIsGreyed)
{
    ClassicSystem classic;
    markuptest::Context context;
    for (bool enabled : {true, false})
    {
        SCOPED_TRACE(enabled);
        ElementPtr button(Layout<CWVPMarkupButton>(
            context, enabled ? L"<Button>Wide text</Button>" : L"<Button IsEnabled=\"False\">Wide text</Button>", 100,
            30));
        ASSERT_TRUE(button);
        DibCanvas canvas(100, 30);
        Draw(button.get(), canvas);
        RECT inside = {4, 4, 96, 26};
        EXPECT_EQ(enabled ? 0 : 1, Count(canvas, inside, Sys(COLOR_GRAYTEXT)) > 0);
        EXPECT_EQ(enabled ? 1 : 0, Count(canvas, inside, context->GetDefaultTextColor()) > 0);
    }
}

// Keyboard focus draws a dotted rectangle: 3 pixels inside the button, around the content of a
// check box, and nothing for a check box without content.
TEST(MarkupButtonDraw, FocusCues)
{
    ClassicSystem classic;
    const struct
    {
        LPCWSTR markup;
        RECT ring; // the focus rectangle; empty when none is drawn
    } cases[] = {
        {L"<Button/>", {3, 3, 57, 21}},
        {L"<CheckBox>x</CheckBox>", {15, 0, 60, 24}},
        {L"<RadioButton>x</RadioButton>", {15, 0, 60, 24}},
        {L"<CheckBox/>", {0, 0, 0, 0}},
    };
    markuptest::Context context;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(rwtest::Utf8(c.markup));
        ElementPtr button(Layout<CWVPMarkupButtonBase>(context, c.markup, 60, 24));
        ASSERT_TRUE(button);
        DibCanvas plain(60, 24), focused(60, 24);
        Draw(button.get(), plain);
        button->SetValue(CWVPMarkupInputElement::s_pIsKeyboardFocusedProperty, CWVPMarkupBool::CreateTrueValue());
        Draw(button.get(), focused);
        int onRing = 0, elsewhere = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 60; ++x)
            {
                if (plain.At(x, y) == focused.At(x, y))
                    continue;
                const RECT& r = c.ring;
                bool border = x >= r.left && x < r.right && y >= r.top && y < r.bottom &&
                              (x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1);
                (border ? onRing : elsewhere) += 1;
            }
        EXPECT_EQ(0, elsewhere);
        EXPECT_EQ(!::IsRectEmpty(&c.ring), onRing > 0);
    }
}
