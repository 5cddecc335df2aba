// Styles, triggers, resources and routed events on parsed trees: implicit and explicit styles,
// BasedOn, sealing, triggers applied and removed, the first declared trigger winning, resource
// lookup from below, and delegates attached by name.
#include "MarkupFixture.h"

#include "uilib/markup/MarkupInputElement.h"
#include "uilib/markup/MarkupStyle.h"

using markuptest::Context;
using markuptest::PropertyText;

namespace
{
CWVPMarkupObject* Child(CWVPMarkupObject* panel, int index)
{
    return static_cast<CWVPMarkupPanel*>(panel)->GetChildren()->GetItem(index);
}

void Enter(CWVPMarkupObject* element)
{
    CWVPMarkupMouseEventArgs args(nullptr, nullptr, nullptr, 0, 0);
    static_cast<CWVPMarkupInputElement*>(element)->OnMouseEnter(&args);
}

void Leave(CWVPMarkupObject* element)
{
    CWVPMarkupMouseEventArgs args(nullptr, nullptr, nullptr, 0, 0);
    static_cast<CWVPMarkupInputElement*>(element)->OnMouseLeave(&args);
}

class Recorder : public CWVPMarkupDelegate
{
  public:
    explicit Recorder(std::string* log, const char* name, BOOL handle) : m_log(log), m_name(name), m_handle(handle) {}
    void OnEvent(CWVPMarkupObject* sender, CWVPMarkupRoutedEventArgs* args) override
    {
        *m_log += m_name + "@" + markuptest::ClassName(sender) + " ";
        if (m_handle)
            args->m_bHandled = TRUE;
    }

  private:
    std::string* m_log;
    std::string m_name;
    BOOL m_handle;
};
} // namespace

TEST(MarkupStyle, ImplicitAndExplicitStylesWithBasedOn)
{
    Context context;
    CWVPMarkupObject* root = context.Parse(
        L"<StackPanel>\n"
        L"  <StackPanel.Resources>\n"
        L"    <Style TargetType=\"TextBlock\"><Setter Property=\"Foreground\" Value=\"Red\"/>"
        L"<Setter Property=\"Width\" Value=\"10\"/></Style>\n"
        L"    <Style x:Key=\"big\" TargetType=\"TextBlock\" BasedOn=\"{StaticResource {x:Type TextBlock}}\">"
        L"<Setter Property=\"Width\" Value=\"99\"/><Setter Property=\"Width\" Value=\"100\"/></Style>\n"
        L"  </StackPanel.Resources>\n"
        L"  <TextBlock/>\n"
        L"  <TextBlock Foreground=\"Blue\"/>\n"
        L"  <TextBlock Style=\"{StaticResource big}\"/>\n"
        L"  <Border><TextBlock/></Border>\n"
        L"</StackPanel>");
    ASSERT_NE(nullptr, root) << context.Error();
    // The implicit style applies to every text block below the dictionary; a local value wins.
    EXPECT_EQ("Brush:#FF0000", PropertyText(Child(root, 0), nullptr, L"Foreground"));
    EXPECT_EQ("Int:10", PropertyText(Child(root, 0), nullptr, L"Width"));
    EXPECT_EQ("Brush:#0000FF", PropertyText(Child(root, 1), nullptr, L"Foreground"));
    // BasedOn gives the base's setters unless overridden; the later setter wins.
    EXPECT_EQ("Brush:#FF0000", PropertyText(Child(root, 2), nullptr, L"Foreground"));
    EXPECT_EQ("Int:100", PropertyText(Child(root, 2), nullptr, L"Width"));
    CWVPMarkupObject* nested = static_cast<CWVPMarkupBorder*>(Child(root, 3))->GetChild();
    EXPECT_EQ("Int:10", PropertyText(nested, nullptr, L"Width"));
    // Styles in use are sealed and belong to no tree.
    CWVPMarkupStyle* style = static_cast<CWVPMarkupInputElement*>(Child(root, 2))->GetCurrentStyle();
    ASSERT_NE(nullptr, style);
    EXPECT_TRUE(style->IsSealed());
    EXPECT_EQ(nullptr, style->GetLogicalParent());
    root->Release();
}

TEST(MarkupStyle, TriggersApplyAndAreRemovedFirstDeclaredWinning)
{
    Context context;
    CWVPMarkupObject* root = context.Parse(
        L"<StackPanel><StackPanel.Resources>"
        L"<Style TargetType=\"Border\"><Setter Property=\"Background\" Value=\"White\"/>"
        L"<Style.Triggers>"
        L"<Trigger Property=\"IsMouseOver\" Value=\"True\"><Trigger.Setters>"
        L"<Setter Property=\"Background\" Value=\"Red\"/></Trigger.Setters></Trigger>"
        L"<Trigger Property=\"IsMouseOver\" Value=\"True\"><Trigger.Setters>"
        L"<Setter Property=\"Background\" Value=\"Green\"/><Setter Property=\"Width\" Value=\"5\"/>"
        L"</Trigger.Setters></Trigger>"
        L"</Style.Triggers></Style>"
        L"</StackPanel.Resources><Border/></StackPanel>");
    ASSERT_NE(nullptr, root) << context.Error();
    CWVPMarkupObject* border = Child(root, 0);
    EXPECT_EQ("Brush:#FFFFFF", PropertyText(border, nullptr, L"Background"));
    Enter(border);
    EXPECT_EQ("Bool:1", PropertyText(border, nullptr, L"IsMouseOver"));
    EXPECT_EQ("Brush:#FF0000", PropertyText(border, nullptr, L"Background"));
    EXPECT_EQ("Int:5", PropertyText(border, nullptr, L"Width"));
    Leave(border);
    EXPECT_EQ("Bool:0", PropertyText(border, nullptr, L"IsMouseOver"));
    EXPECT_EQ("Brush:#FFFFFF", PropertyText(border, nullptr, L"Background"));
    EXPECT_EQ("null", PropertyText(border, nullptr, L"Width"));
    root->Release();
}

TEST(MarkupStyle, HyperlinksHaveTheirDefaultStyle)
{
    Context context;
    CWVPMarkupObject* root = context.Parse(L"<TextBlock><Hyperlink>go</Hyperlink></TextBlock>");
    ASSERT_NE(nullptr, root) << context.Error();
    CWVPMarkupObject* link = static_cast<CWVPMarkupTextBlock*>(root)->GetInlines()->GetItem(0);
    EXPECT_EQ("Brush:#0000FF", PropertyText(link, nullptr, L"Foreground"));
    EXPECT_EQ("Enum:1", PropertyText(link, nullptr, L"TextDecorations"));
    EXPECT_EQ("Int:32649", PropertyText(link, nullptr, L"Cursor"));
    Enter(link);
    EXPECT_EQ("Brush:#FF0000", PropertyText(link, nullptr, L"Foreground"));
    Leave(link);
    EXPECT_EQ("Brush:#0000FF", PropertyText(link, nullptr, L"Foreground"));
    root->Release();
}

TEST(MarkupStyle, ResourcesAreFoundFromBelowInnermostFirst)
{
    Context context;
    CWVPMarkupObject* root = context.Parse(
        L"<StackPanel><StackPanel.Resources><SolidColorBrush x:Key=\"a\" Color=\"Red\"/>"
        L"<SolidColorBrush x:Key=\"b\" Color=\"Lime\"/></StackPanel.Resources>"
        L"<StackPanel><StackPanel.Resources><SolidColorBrush x:Key=\"a\" Color=\"Blue\"/></StackPanel.Resources>"
        L"<Border><TextBlock Foreground=\"{StaticResource a}\" Background=\"{DynamicResource b}\"/></Border>"
        L"</StackPanel>"
        L"<TextBlock Foreground=\"{StaticResource a}\" "
        L"Background=\"{StaticResource {x:Static SystemColors.WindowBrushKey}}\"/>"
        L"</StackPanel>");
    ASSERT_NE(nullptr, root) << context.Error();
    CWVPMarkupObject* inner = static_cast<CWVPMarkupBorder*>(Child(Child(root, 0), 0))->GetChild();
    EXPECT_EQ("Brush:#0000FF", PropertyText(inner, nullptr, L"Foreground"));
    EXPECT_EQ("Brush:#00FF00", PropertyText(inner, nullptr, L"Background"));
    CWVPMarkupObject* outer = Child(root, 1);
    EXPECT_EQ("Brush:#FF0000", PropertyText(outer, nullptr, L"Foreground"));
    // A system key found in no dictionary falls back to the system brush.
    char expected[32];
    COLORREF c = ::GetSysColor(COLOR_WINDOW);
    std::snprintf(expected, sizeof(expected), "Brush:#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    EXPECT_EQ(expected, PropertyText(outer, nullptr, L"Background"));
    // The same resource object is shared.
    CWVPMarkupDependencyProperty* fg = CWVPMarkupTextElement::s_pForegroundProperty;
    CWVPMarkupObject* other = context.Parse(
        L"<StackPanel><StackPanel.Resources><SolidColorBrush x:Key=\"k\" Color=\"Red\"/></StackPanel.Resources>"
        L"<TextBlock Foreground=\"{StaticResource k}\"/><TextBlock Foreground=\"{StaticResource k}\"/></StackPanel>");
    ASSERT_NE(nullptr, other) << context.Error();
    EXPECT_EQ(Child(other, 0)->GetValue(fg), Child(other, 1)->GetValue(fg));
    other->Release();
    root->Release();
}

TEST(MarkupStyle, EventsReachTheirDelegatesInOrder)
{
    Context context;
    std::string log;
    Recorder* first = new Recorder(&log, "first", TRUE);
    Recorder* second = new Recorder(&log, "second", FALSE);
    Recorder* outer = new Recorder(&log, "outer", FALSE);
    context->AddDelegate(L"First", first);
    context->AddDelegate(L"Second", second);
    context->AddDelegate(L"Outer", outer);
    first->Release();
    second->Release();
    outer->Release();
    CWVPMarkupObject* root = context.Parse(
        L"<StackPanel Click=\"Outer\" MouseEnter=\"Outer\"><Button Click=\"First\" MouseEnter=\"First\"/>"
        L"<Button MouseEnter=\"Second\"/></StackPanel>");
    ASSERT_EQ(nullptr, root); // Click is a button event: the panel has no such attribute
    EXPECT_EQ("The property 'Click' does not exist in XML namespace. Line 1, position 26", context.Error());
    root = context.Parse(
        L"<Border MouseEnter=\"Outer\"><StackPanel><Button Click=\"First\" MouseEnter=\"First\"/>"
        L"<Button Click=\"Second\"/></StackPanel></Border>");
    ASSERT_NE(nullptr, root) << context.Error();
    CWVPMarkupObject* panel = static_cast<CWVPMarkupBorder*>(root)->GetChild();
    CWVPMarkupInputElement* a = static_cast<CWVPMarkupInputElement*>(Child(panel, 0));
    CWVPMarkupInputElement* b = static_cast<CWVPMarkupInputElement*>(Child(panel, 1));
    // A direct event reaches only the element's own handlers.
    CWVPMarkupMouseEventArgs enter(CWVPMarkupInputElement::s_pMouseEnterEvent, a, nullptr, 0, 0);
    a->RaiseEvent(&enter);
    EXPECT_EQ("first@Button ", log);
    // Bubbling stops at the element that handled it; an unhandled one climbs to the root.
    log.clear();
    CWVPMarkupRoutedEventArgs click(CWVPMarkupButtonBase::s_pClickEvent, a);
    a->RaiseEvent(&click);
    EXPECT_EQ("first@Button ", log);
    log.clear();
    CWVPMarkupRoutedEventArgs click2(CWVPMarkupButtonBase::s_pClickEvent, b);
    b->RaiseEvent(&click2);
    EXPECT_EQ("second@Button ", log);
    EXPECT_FALSE(click2.m_bHandled);
    root->Release();
}

TEST(MarkupStyle, DictionaryKeysWithAnyHashAreFound)
{
    // Text keys whose hashes cover negative values: every bucket index must stay in range.
    Context context;
    CWVPMarkupResourceDictionary* dictionary = new CWVPMarkupResourceDictionary();
    int negative = 0;
    for (int i = 0; i < 200; ++i)
    {
        WCHAR key[32];
        wsprintfW(key, L"resource-key-%d-xyz", i * 7919);
        CWVPMarkupString* k = new CWVPMarkupString(key);
        negative += k->GetHashCode() < 0;
        ASSERT_TRUE(dictionary->Add(k, new CWVPMarkupInt(i)));
    }
    EXPECT_GT(negative, 0);
    for (int i = 0; i < 200; ++i)
    {
        WCHAR key[32];
        wsprintfW(key, L"resource-key-%d-xyz", i * 7919);
        CWVPMarkupString probe(key);
        EXPECT_EQ("Int:" + std::to_string(i), markuptest::ValueText(dictionary->Lookup(&probe)));
    }
    dictionary->Release();
}
