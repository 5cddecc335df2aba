// The keyboard navigation vocabulary: the attached tab properties with their defaults and words,
// and a navigation object that leaves focus and key messages to the context.
#include "MarkupFixture.h"

namespace
{
struct PropertyCase
{
    LPCWSTR markup;
    LPCWSTR name;
    const char* value;
};
} // namespace

TEST(MarkupKeyboardNavigation, AttachedPropertiesAndTheirDefaults)
{
    const PropertyCase cases[] = {
        {L"<Button KeyboardNavigation.TabIndex=\"3\"/>", L"TabIndex", "Int:3"},
        {L"<Button/>", L"TabIndex", "Int:2147483647"},
        {L"<Rectangle/>", L"IsTabStop", "Bool:1"},
        {L"<CheckBox KeyboardNavigation.IsTabStop=\"False\"/>", L"IsTabStop", "Bool:0"},
        {L"<Button/>", L"TabNavigation", "null"},
        {L"<StackPanel KeyboardNavigation.TabNavigation=\"Continue\"/>", L"TabNavigation", "Enum:0"},
        {L"<StackPanel KeyboardNavigation.TabNavigation=\"ONCE\"/>", L"TabNavigation", "Enum:1"},
        {L"<StackPanel KeyboardNavigation.TabNavigation=\"cycle\"/>", L"TabNavigation", "Enum:2"},
        {L"<StackPanel KeyboardNavigation.TabNavigation=\"None\"/>", L"TabNavigation", "Enum:3"},
        {L"<StackPanel KeyboardNavigation.TabNavigation=\"contained\"/>", L"TabNavigation", "Enum:4"},
        {L"<StackPanel KeyboardNavigation.TabNavigation=\"Local\"/>", L"TabNavigation", "Enum:5"},
    };
    markuptest::Context context;
    for (const PropertyCase& c : cases)
    {
        SCOPED_TRACE(rwtest::Utf8(c.markup));
        CWVPMarkupObject* root = context.Parse(c.markup);
        ASSERT_NE(nullptr, root) << context.Error();
        EXPECT_EQ(c.value, markuptest::PropertyText(root, L"KeyboardNavigation", c.name));
        root->Release();
    }
}

TEST(MarkupKeyboardNavigation, UnknownWordsFailTheParse)
{
    markuptest::Context context;
    for (LPCWSTR markup : {L"<StackPanel KeyboardNavigation.TabNavigation=\"Wrap\"/>",
                           L"<StackPanel KeyboardNavigation.TabNavigation=\"Cycles\"/>",
                           L"<StackPanel KeyboardNavigation.TabNavigation=\"\"/>"})
    {
        SCOPED_TRACE(rwtest::Utf8(markup));
        EXPECT_EQ(nullptr, context.Parse(markup));
        EXPECT_EQ(0u, context.Error().find("Cannot convert string in attribute 'TabNavigation' to object of type "
                                           "'CWVPMarkupEnum'. Line 1, position"))
            << context.Error();
    }
}

// The context's navigation object takes no message and moves no focus: a press on a button
// (which asks for focus) leaves the keyboard-focus flag alone.
TEST(MarkupKeyboardNavigation, LeavesMessagesAndFocusToTheContext)
{
    markuptest::Context context;
    CWVPMarkupKeyboardNavigation* navigation = context->GetKeyboardNavigation();
    ASSERT_NE(nullptr, navigation);
    EXPECT_EQ(context.Get(), navigation->GetContext());
    for (UINT message : {(UINT)WM_SETFOCUS, (UINT)WM_KILLFOCUS, (UINT)WM_KEYDOWN})
    {
        LRESULT result = 12345;
        EXPECT_FALSE(navigation->OnWndMsg(message, VK_TAB, 0, &result));
        EXPECT_EQ(12345, result);
    }
    CWVPMarkupObject* root = context.Parse(L"<Button>Go</Button>");
    ASSERT_NE(nullptr, root) << context.Error();
    CWVPMarkupButton* button = MarkupCast<CWVPMarkupButton>(root);
    CWVPMarkupMouseEventArgs down(CWVPMarkupInputElement::s_pMouseLeftButtonDownEvent, button, nullptr, 0, 0);
    button->OnMouseLeftButtonDown(&down);
    EXPECT_TRUE(button->IsPressed());
    EXPECT_EQ("Bool:0", markuptest::PropertyText(button, nullptr, L"IsKeyboardFocused"));
    EXPECT_EQ("Bool:1", markuptest::PropertyText(button, nullptr, L"Focusable"));
    root->Release();
}
