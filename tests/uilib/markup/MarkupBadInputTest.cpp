// Bad input ends in a clear failure with nothing leaked: every parse, good or bad, leaves no live
// object behind; deep nesting fails without exhausting the stack; megabytes of text parse.
#include "MarkupFixture.h"

#include <string>

namespace
{
std::u16string Repeat(const std::u16string& s, int n)
{
    std::u16string out;
    out.reserve(s.size() * n);
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

LPCWSTR W(const std::u16string& s)
{
    return reinterpret_cast<LPCWSTR>(s.c_str());
}
} // namespace

TEST(MarkupBadInput, ParsesLeaveNoLiveObject)
{
    markuptest::Context context;
    // Warm up the shared values, types and properties.
    CWVPMarkupObject* warm = context.Parse(L"<TextBlock Visibility='Hidden'>a <Bold>b</Bold></TextBlock>");
    ASSERT_NE(nullptr, warm);
    warm->Release();
    const LPCWSTR inputs[] = {
        L"<StackPanel><StackPanel.Resources><Style TargetType='TextBlock'><Setter Property='Foreground' "
        L"Value='Red'/><Style.Triggers><Trigger Property='IsMouseOver' Value='True'><Trigger.Setters><Setter "
        L"Property='Width' Value='3'/></Trigger.Setters></Trigger></Style.Triggers></Style><SolidColorBrush "
        L"x:Key='k' Color='Red'/></StackPanel.Resources><TextBlock Background='{StaticResource k}'>x <Italic>y"
        L"</Italic><Hyperlink>z</Hyperlink></TextBlock><Button>go</Button><Border><Grid/></Border></StackPanel>",
        L"<StackPanel><StackPanel.Background><LinearGradientBrush><GradientStop Offset='0' Color='Red'/>"
        L"</LinearGradientBrush></StackPanel.Background><TextBlock Foreground='{x:Static SystemColors.WindowBrush}'/>"
        L"</StackPanel>",
        L"<StackPanel><TextBlock/><Foo/></StackPanel>",
        L"<StackPanel><TextBlock Margin='1,2'/></StackPanel>",
        L"<StackPanel><StackPanel.Resources><SolidColorBrush x:Key='a'/><SolidColorBrush x:Key='a'/>"
        L"</StackPanel.Resources></StackPanel>",
        L"<StackPanel><StackPanel.Resources><Style TargetType='TextBlock'><Setter Property='Nope' Value='1'/>"
        L"</Style></StackPanel.Resources></StackPanel>",
        L"<Border><TextBlock/><TextBlock/></Border>",
        L"<TextBlock><Bold>unclosed",
        L"<SolidColorBrush Color='Red'/>",
        L"<TextBlock Tag='{StaticResource nothing}'/>",
        L"<Button>a<TextBlock/></Button>",
        L"<TextBlock><TextBlock.Tag><Color>bad</Color></TextBlock.Tag></TextBlock>",
        L"<TextBlock MouseEnter='Missing'/>",
    };
    LONG before = CWVPMarkupObject::GetLiveObjectCount();
    LONG contextRefs = context->GetRefCount();
    for (LPCWSTR input : inputs)
    {
        CWVPMarkupObject* root = context.Parse(input);
        if (root)
            root->Release();
        EXPECT_EQ(before, CWVPMarkupObject::GetLiveObjectCount()) << rwtest::Utf8(input) << "\n" << context.Error();
        EXPECT_EQ(contextRefs, context->GetRefCount()) << rwtest::Utf8(input);
    }
}

TEST(MarkupBadInput, DeepNestingFailsWithoutExhaustingTheStack)
{
    markuptest::Context context;
    LONG before = CWVPMarkupObject::GetLiveObjectCount();
    const int depth = 50000;
    std::u16string text = Repeat(u"<Border>", depth) + Repeat(u"</Border>", depth);
    CWVPMarkupObject* root = context.Parse(W(text));
    EXPECT_EQ(nullptr, root);
    EXPECT_EQ("Elements are nested more than 256 levels deep. Line 1, position 2057", context.Error());
    std::u16string spans = u"<TextBlock>" + Repeat(u"<Span>", depth) + u"x";
    EXPECT_EQ(nullptr, context.Parse(W(spans)));
    EXPECT_EQ(before, CWVPMarkupObject::GetLiveObjectCount());
    // Up to the limit, nesting works.
    std::u16string fine = Repeat(u"<Border>", 255) + u"<TextBlock/>" + Repeat(u"</Border>", 255);
    root = context.Parse(W(fine));
    ASSERT_NE(nullptr, root) << context.Error();
    root->Release();
    EXPECT_EQ(before, CWVPMarkupObject::GetLiveObjectCount());
}

TEST(MarkupBadInput, MegabytesOfTextParse)
{
    markuptest::Context context;
    const int words = 400000; // 4 MB of UTF-16 text
    std::u16string text = u"<TextBlock>" + Repeat(u"word \r\n", words) + u"</TextBlock>";
    CWVPMarkupObject* root = context.Parse(W(text));
    ASSERT_NE(nullptr, root) << context.Error();
    CWVPMarkupCollection* inlines = static_cast<CWVPMarkupTextBlock*>(root)->GetInlines();
    ASSERT_EQ(1, inlines->GetCount());
    LPCWSTR run = static_cast<CWVPMarkupRun*>(inlines->GetItem(0))->GetText();
    EXPECT_EQ(words * 5 - 1, lstrlenW(run));
    root->Release();
    // A single word of megabytes is cut at the token limit.
    std::u16string big =
        u"<TextBlock Text='" + std::u16string(2000000, u'v') + u"'>" + std::u16string(2000000, u'w') + u"</TextBlock>";
    root = context.Parse(W(big));
    ASSERT_NE(nullptr, root) << context.Error();
    EXPECT_EQ(
        1023,
        lstrlenW(
            static_cast<CWVPMarkupRun*>(static_cast<CWVPMarkupTextBlock*>(root)->GetInlines()->GetItem(0))->GetText()));
    EXPECT_EQ(
        1023,
        lstrlenW(static_cast<CWVPMarkupString*>(root->GetValue(CWVPMarkupTextBlock::s_pTextProperty))->GetText()));
    root->Release();
}
