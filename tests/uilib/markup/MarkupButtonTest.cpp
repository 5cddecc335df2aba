// The markup buttons' behaviour: press, capture and click, the check box's state cycle, radio
// groups, what a disabled button ignores, and the layout of buttons and check boxes.
#include "MarkupFixture.h"

#include "uilib/markup/MarkupDrawingContext.h"

namespace
{
using markuptest::ElementPtr;

// Writes "Event@Class " for every event it receives.
class EventLog : public CWVPMarkupDelegate
{
  public:
    std::string text;
    void OnEvent(CWVPMarkupObject*, CWVPMarkupRoutedEventArgs* args) override
    {
        text += rwtest::Utf8(args->m_pEvent->GetName()) + "@" + markuptest::ClassName(args->m_pSource) + " ";
    }
};

// Attaches one log to the events of the buttons.
EventLog* Listen(CWVPMarkupInputElement* element)
{
    EventLog* log = new EventLog();
    for (CWVPMarkupRoutedEvent* e :
         {CWVPMarkupButtonBase::s_pClickEvent, CWVPMarkupToggleButton::s_pCheckedEvent,
          CWVPMarkupToggleButton::s_pUncheckedEvent, CWVPMarkupToggleButton::s_pIndeterminateEvent})
        element->AddHandler(e, log);
    return log;
}

// One mouse step on an element, as the host's routing calls it: e enter, l leave, d left press,
// u left release, c capture lost. Returns whether the step was marked handled.
bool Step(CWVPMarkupInputElement* element, char step)
{
    CWVPMarkupMouseEventArgs args(nullptr, element, nullptr, 0, 0);
    switch (step)
    {
    case 'e':
        args.m_pEvent = CWVPMarkupInputElement::s_pMouseEnterEvent;
        element->OnMouseEnter(&args);
        break;
    case 'l':
        args.m_pEvent = CWVPMarkupInputElement::s_pMouseLeaveEvent;
        element->OnMouseLeave(&args);
        break;
    case 'd':
        args.m_pEvent = CWVPMarkupInputElement::s_pMouseLeftButtonDownEvent;
        element->OnMouseLeftButtonDown(&args);
        break;
    case 'u':
        args.m_pEvent = CWVPMarkupInputElement::s_pMouseLeftButtonUpEvent;
        element->OnMouseLeftButtonUp(&args);
        break;
    case 'c':
        args.m_pEvent = CWVPMarkupInputElement::s_pLostMouseCaptureEvent;
        element->OnLostMouseCapture(&args);
        break;
    }
    return args.m_bHandled != FALSE;
}

// A click: enter, press, release inside.
void Click(CWVPMarkupInputElement* element)
{
    for (char s : std::string("edu"))
        Step(element, s);
    Step(element, 'l');
}

template <class T> T* Parsed(markuptest::Context& context, LPCWSTR markup)
{
    CWVPMarkupObject* root = context.Parse(markup);
    EXPECT_NE(nullptr, root) << context.Error();
    T* typed = MarkupCast<T>(root);
    EXPECT_NE(nullptr, typed);
    if (!typed && root)
        root->Release();
    return typed;
}

CWVPMarkupObject* Child(CWVPMarkupObject* parent, int index)
{
    return parent->GetLogicalChild(index);
}
} // namespace

// A click needs a press and a release inside the button; a press dragged out shows the button
// unpressed, pressed again when the mouse comes back, and a release outside gives no click.
TEST(MarkupButton, ClickOnlyOnAReleaseInside)
{
    struct ClickCase
    {
        const char* steps;
        const char* pressed; // IsPressed after each step
        const char* handled; // whether each step was marked handled
        const char* events;
        bool mouseOver; // IsMouseOver at the end
    };
    const ClickCase cases[] = {
        {"edu", "010", "011", "Click@Button ", true},
        {"edlu", "0100", "0101", "", false},
        {"edleu", "01010", "01001", "Click@Button ", true},
        {"edlel", "01010", "01000", "", true}, // the press keeps the mouse-over state
        {"eu", "00", "00", "", true},
        {"edcu", "0100", "0100", "", true},
        {"edlcu", "01000", "01000", "", false},
        {"edudu", "01010", "01111", "Click@Button Click@Button ", true},
    };
    for (const ClickCase& c : cases)
    {
        SCOPED_TRACE(c.steps);
        markuptest::Context context;
        CWVPMarkupButton* button = Parsed<CWVPMarkupButton>(context, L"<Button>Go</Button>");
        ASSERT_NE(nullptr, button);
        EventLog* log = Listen(button);
        std::string pressed, handled;
        bool held = false;
        for (const char* s = c.steps; *s; ++s)
        {
            handled += Step(button, *s) ? '1' : '0';
            pressed += button->IsPressed() ? '1' : '0';
            // The press holds the mouse capture until its release.
            if (*s == 'd')
                held = true;
            if (*s == 'c')
                held = false;
            if (*s == 'u' && held)
            {
                EXPECT_EQ(nullptr, context->GetCapturedElement());
                held = false;
            }
            if (held)
                EXPECT_EQ(button, context->GetCapturedElement());
        }
        EXPECT_EQ(c.pressed, pressed);
        EXPECT_EQ(c.handled, handled);
        EXPECT_EQ(c.events, log->text);
        EXPECT_EQ(c.mouseOver, button->IsMouseOver() != FALSE);
        log->Release();
        button->Release();
    }
}

// A disabled button takes no press and gives no click; disabling it during a press lets go of
// the capture without a click.
TEST(MarkupButton, DisabledButtonIgnoresPresses)
{
    markuptest::Context context;
    CWVPMarkupButton* button = Parsed<CWVPMarkupButton>(context, L"<Button IsEnabled=\"False\">Go</Button>");
    ASSERT_NE(nullptr, button);
    EventLog* log = Listen(button);
    Click(button);
    EXPECT_EQ("", log->text);
    EXPECT_EQ(nullptr, context->GetCapturedElement());

    button->SetValue(CWVPMarkupUIElement::s_pIsEnabledProperty, nullptr);
    Step(button, 'e');
    Step(button, 'd');
    EXPECT_TRUE(button->IsPressed());
    button->SetValue(CWVPMarkupUIElement::s_pIsEnabledProperty, CWVPMarkupBool::CreateFalseValue());
    EXPECT_FALSE(button->IsPressed());
    EXPECT_EQ(nullptr, context->GetCapturedElement());
    Step(button, 'u');
    EXPECT_EQ("", log->text);
    log->Release();
    button->Release();
}

// Each click moves the check state on and raises the event of the new state, then Click.
TEST(MarkupButton, CheckBoxStateCycle)
{
    struct CycleCase
    {
        LPCWSTR markup;
        const char* states; // IsChecked after each of three clicks
        const char* events;
    };
    const CycleCase cases[] = {
        {L"<CheckBox IsThreeState=\"True\"/>", "120",
         "Checked@CheckBox Click@CheckBox Indeterminate@CheckBox Click@CheckBox Unchecked@CheckBox Click@CheckBox "},
        {L"<CheckBox/>", "101",
         "Checked@CheckBox Click@CheckBox Unchecked@CheckBox Click@CheckBox Checked@CheckBox "
         "Click@CheckBox "},
        {L"<CheckBox IsChecked=\"\"/>", "010",
         "Unchecked@CheckBox Click@CheckBox Checked@CheckBox Click@CheckBox Unchecked@CheckBox Click@CheckBox "},
        {L"<CheckBox IsChecked=\"\" IsThreeState=\"true\"/>", "012",
         "Unchecked@CheckBox Click@CheckBox Checked@CheckBox Click@CheckBox Indeterminate@CheckBox Click@CheckBox "},
    };
    for (const CycleCase& c : cases)
    {
        SCOPED_TRACE(rwtest::Utf8(c.markup));
        markuptest::Context context;
        CWVPMarkupCheckBox* box = Parsed<CWVPMarkupCheckBox>(context, c.markup);
        ASSERT_NE(nullptr, box);
        EventLog* log = Listen(box);
        std::string states;
        for (int i = 0; i < 3; ++i)
        {
            Click(box);
            states += char('0' + box->GetCheckState());
        }
        EXPECT_EQ(c.states, states);
        EXPECT_EQ(c.events, log->text);
        log->Release();
        box->Release();
    }
}

// Checking a radio button unchecks the checked radio buttons beside it (each raising Unchecked)
// and leaves those of another panel alone; clicking a checked one keeps it checked.
TEST(MarkupButton, RadioGroupsAreTheirVisualParentsChildren)
{
    markuptest::Context context;
    CWVPMarkupStackPanel* root = Parsed<CWVPMarkupStackPanel>(
        context, L"<StackPanel><StackPanel><RadioButton IsChecked=\"True\">a</RadioButton><RadioButton>b</RadioButton>"
                 L"<CheckBox IsChecked=\"True\"/><RadioButton>c</RadioButton></StackPanel>"
                 L"<StackPanel><RadioButton IsChecked=\"True\">d</RadioButton></StackPanel></StackPanel>");
    ASSERT_NE(nullptr, root);
    CWVPMarkupObject* first = Child(root, 0);
    CWVPMarkupRadioButton* a = MarkupCast<CWVPMarkupRadioButton>(Child(first, 0));
    CWVPMarkupRadioButton* b = MarkupCast<CWVPMarkupRadioButton>(Child(first, 1));
    CWVPMarkupCheckBox* box = MarkupCast<CWVPMarkupCheckBox>(Child(first, 2));
    CWVPMarkupRadioButton* c = MarkupCast<CWVPMarkupRadioButton>(Child(first, 3));
    CWVPMarkupRadioButton* d = MarkupCast<CWVPMarkupRadioButton>(Child(Child(root, 1), 0));
    ASSERT_TRUE(a && b && box && c && d);
    EventLog* log = Listen(root);
    auto states = [&] {
        std::string s;
        for (CWVPMarkupToggleButton* t :
             {(CWVPMarkupToggleButton*)a, (CWVPMarkupToggleButton*)b, (CWVPMarkupToggleButton*)box,
              (CWVPMarkupToggleButton*)c, (CWVPMarkupToggleButton*)d})
            s += char('0' + t->GetCheckState());
        return s;
    };
    EXPECT_EQ("10101", states());
    Click(b);
    EXPECT_EQ("01101", states());
    EXPECT_EQ("Unchecked@RadioButton Checked@RadioButton Click@RadioButton ", log->text);
    log->text.clear();
    Click(b);
    EXPECT_EQ("01101", states());
    EXPECT_EQ("Checked@RadioButton Click@RadioButton ", log->text);
    Click(c);
    EXPECT_EQ("00111", states());
    log->Release();
    root->Release();
}

// A click handler that releases the whole tree ends the dispatch cleanly: nothing of the tree
// stays alive and the context holds no pointer to it.
TEST(MarkupButton, ClickHandlerMayReleaseTheTree)
{
    class Releaser : public CWVPMarkupDelegate
    {
      public:
        CWVPMarkupObject* root = nullptr;
        void OnEvent(CWVPMarkupObject*, CWVPMarkupRoutedEventArgs*) override
        {
            if (root)
                root->Release();
            root = nullptr;
        }
    };
    markuptest::Context context;
    Releaser* releaser = new Releaser();
    context->AddDelegate(L"Close", releaser);
    LONG before = CWVPMarkupObject::GetLiveObjectCount();
    for (LPCWSTR markup : {L"<StackPanel><Button Click=\"Close\">x</Button></StackPanel>",
                           L"<StackPanel><CheckBox Checked=\"Close\">x</CheckBox></StackPanel>"})
    {
        SCOPED_TRACE(rwtest::Utf8(markup));
        CWVPMarkupObject* root = context.Parse(markup);
        ASSERT_NE(nullptr, root) << context.Error();
        releaser->root = root;
        CWVPMarkupInputElement* button = static_cast<CWVPMarkupInputElement*>(Child(root, 0));
        Step(button, 'e');
        Step(button, 'd');
        Step(button, 'u');
        EXPECT_EQ(nullptr, releaser->root);
        EXPECT_EQ(nullptr, context->GetCapturedElement());
        EXPECT_EQ(before, CWVPMarkupObject::GetLiveObjectCount());
    }
    releaser->Release();
}

// Desired sizes and content places: a bevel of 4 around the button's padded content, a 16-pixel
// glyph column and a 13-pixel minimum height for check boxes and radio buttons, sums that stay
// within range under an unlimited measure.
TEST(MarkupButton, LayoutAroundTheContent)
{
    struct LayoutCase
    {
        LPCWSTR markup;
        SIZE desired;
        RECT content; // the content's final rectangle when arranged at the desired size
    };
    const LayoutCase cases[] = {
        {L"<Button><Rectangle Width=\"20\" Height=\"10\"/></Button>", {28, 18}, {4, 4, 24, 14}},
        {L"<Button Padding=\"1,2,3,4\"><Rectangle Width=\"20\" Height=\"10\"/></Button>", {32, 24}, {5, 6, 25, 16}},
        {L"<Button/>", {8, 8}, {0, 0, 0, 0}},
        {L"<Button Padding=\"2\"/>", {12, 12}, {0, 0, 0, 0}},
        {L"<CheckBox><Rectangle Width=\"20\" Height=\"5\"/></CheckBox>", {36, 13}, {16, 0, 36, 13}},
        {L"<CheckBox Padding=\"1,2,3,4\"><Rectangle Width=\"20\" Height=\"10\"/></CheckBox>",
         {40, 16},
         {17, 2, 37, 12}},
        {L"<CheckBox/>", {16, 13}, {0, 0, 0, 0}},
        {L"<CheckBox Padding=\"0,10,0,10\"/>", {16, 20}, {0, 0, 0, 0}},
        {L"<RadioButton><Rectangle Width=\"7\" Height=\"30\"/></RadioButton>", {23, 30}, {16, 0, 23, 30}},
        {L"<RadioButton/>", {16, 13}, {0, 0, 0, 0}},
        {L"<Button><Rectangle Width=\"2147483647\" Height=\"5\"/></Button>", {2147483647, 13}, {4, 4, 2147483643, 9}},
    };
    markuptest::Context context;
    for (const LayoutCase& c : cases)
    {
        SCOPED_TRACE(rwtest::Utf8(c.markup));
        CWVPMarkupContentControl* control = Parsed<CWVPMarkupContentControl>(context, c.markup);
        ASSERT_NE(nullptr, control);
        ElementPtr owner(control);
        CWVPMarkupDrawingContext dc;
        control->Measure(&dc, CWVPMarkupUIElement::kUnbounded, CWVPMarkupUIElement::kUnbounded);
        SIZE desired = control->GetDesiredSize();
        EXPECT_EQ(c.desired.cx, desired.cx);
        EXPECT_EQ(c.desired.cy, desired.cy);
        control->Arrange({0, 0, desired.cx, desired.cy});
        if (CWVPMarkupUIElement* content = control->GetContent())
        {
            const RECT& r = content->GetFinalRect();
            EXPECT_EQ(c.content.left, r.left);
            EXPECT_EQ(c.content.top, r.top);
            EXPECT_EQ(c.content.right, r.right);
            EXPECT_EQ(c.content.bottom, r.bottom);
        }
    }
}

// Markup text as content, or as the Content attribute, is a text block with one run made in the
// button's context.
TEST(MarkupButton, TextContentBecomesATextBlock)
{
    markuptest::Context context;
    for (LPCWSTR markup : {L"<Button>Go</Button>", L"<RadioButton Content=\"Go\"/>"})
    {
        CWVPMarkupObject* root = context.Parse(markup);
        ASSERT_NE(nullptr, root) << context.Error();
        EXPECT_EQ(markuptest::ClassName(root) + "{TextBlock{InlineCollection{Run\"Go\"}}}", markuptest::Dump(root));
        // The text block knows the context it was made in.
        CWVPMarkupInputElement* block = MarkupCast<CWVPMarkupInputElement>(Child(root, 0));
        ASSERT_NE(nullptr, block);
        EXPECT_EQ(context.Get(), block->GetMarkupContext());
        root->Release();
    }
}
