// The markup language end to end, table by table: element trees with their white-space and text
// rules, every error with its exact text, line and position, and attribute values converted to
// the properties' types.
#include "MarkupFixture.h"

using markuptest::Context;
using markuptest::Dump;
using markuptest::PropertyText;

namespace
{
struct TreeCase
{
    LPCWSTR markup;
    const char* tree;
};

const TreeCase kTrees[] = {
    {L"<TextBlock>Hello <Bold>you</Bold></TextBlock>",
     "TextBlock{InlineCollection{Run\"Hello \",Bold{InlineCollection{Run\"you\"}}}}"},
    {L"<TextBlock>\n    Hello\n    world   \n</TextBlock>", "TextBlock{InlineCollection{Run\"Hello world\"}}"},
    {L"<TextBlock>\r\n\tone\t\ttwo</TextBlock>", "TextBlock{InlineCollection{Run\"one two\"}}"},
    {L"<TextBlock><Bold>a</Bold> <Italic>b</Italic></TextBlock>",
     "TextBlock{InlineCollection{Bold{InlineCollection{Run\"a\"}},Run\" \",Italic{InlineCollection{Run\"b\"}}}}"},
    {L"<TextBlock><Bold>a</Bold><Italic>b</Italic></TextBlock>",
     "TextBlock{InlineCollection{Bold{InlineCollection{Run\"a\"}},Italic{InlineCollection{Run\"b\"}}}}"},
    {L"<TextBlock> <Bold>a</Bold></TextBlock>", "TextBlock{InlineCollection{Bold{InlineCollection{Run\"a\"}}}}"},
    {L"<StackPanel> <TextBlock/> <TextBlock/> </StackPanel>",
     "StackPanel{TextBlock{InlineCollection},TextBlock{InlineCollection}}"},
    {L"<TextBlock><Span>a <Bold>b</Bold> c</Span></TextBlock>",
     "TextBlock{InlineCollection{Span{InlineCollection{Run\"a \",Bold{InlineCollection{Run\"b\"}},Run\" c\"}}}}"},
    {L"<TextBlock>a <Button>b</Button></TextBlock>",
     "TextBlock{InlineCollection{Run\"a \",InlineUIContainer{Button{TextBlock{InlineCollection{Run\"b\"}}}}}}"},
    {L"<TextBlock>a<LineBreak/>b</TextBlock>", "TextBlock{InlineCollection{Run\"a\",LineBreak,Run\"b\"}}"},
    {L"<TextBlock>a&amp;b</TextBlock>", "TextBlock{InlineCollection{Run\"a&b\"}}"},
    {L"<TextBlock>x &amp; y</TextBlock>", "TextBlock{InlineCollection{Run\"x & y\"}}"},
    {L"<TextBlock>&#x41;&#65;&#X41;&#0;</TextBlock>", "TextBlock{InlineCollection{Run\"AA&#X41;&#0;\"}}"},
    {L"<TextBlock>&lt;&gt;&apos;&quot;&nbsp;&LT;</TextBlock>",
     "TextBlock{InlineCollection{Run\"<>'\"&nbsp;&LT;\"}}"},
    {L"<TextBlock>&#x4A;&#x6b;&#0x41;&#010;</TextBlock>", "TextBlock{InlineCollection{Run\"JkA\b\"}}"},
    {L"<TextBlock>a<!-- x -->b<![CDATA[zz]]>c</TextBlock>", "TextBlock{InlineCollection{Run\"abc\"}}"},
    {L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<TextBlock>x</TextBlock>", "TextBlock{InlineCollection{Run\"x\"}}"},
    {L"<Page xmlns=\"http://schemas.microsoft.com/winfx/2006/xaml/presentation\" xmlns:x=\"x\"><TextBlock/></Page>",
     "Page{TextBlock{InlineCollection}}"},
    {L"<Border><TextBlock>x</TextBlock></Border>", "Border{TextBlock{InlineCollection{Run\"x\"}}}"},
    {L"<Button>Click</Button>", "Button{TextBlock{InlineCollection{Run\"Click\"}}}"},
    {L"<Button Content=\"Go\"/>", "Button{TextBlock{InlineCollection{Run\"Go\"}}}"},
    {L"<TextBlock><TextBlock.Text>hi</TextBlock.Text></TextBlock>", "TextBlock{InlineCollection{Run\"hi\"}}"},
    {L"<TextBlock>  </TextBlock>", "TextBlock{InlineCollection}"},
    {L"<TextBlock ></TextBlock >", "TextBlock{InlineCollection}"},
    {L"  <TextBlock/>  \r\n ", "TextBlock{InlineCollection}"},
    {L"<Grid><TextBlock Grid.Row='1'/><Canvas/></Grid>", "Grid{TextBlock{InlineCollection},Canvas}"},
    {L"<TextBlock><Hyperlink>link</Hyperlink></TextBlock>",
     "TextBlock{InlineCollection{Hyperlink{InlineCollection{Run\"link\"}}}}"},
    {L"<FrameworkElement/>", "FrameworkElement"},
    {L"<CheckBox>x</CheckBox>", "CheckBox{TextBlock{InlineCollection{Run\"x\"}}}"},
    {L"<TextBlock><Run>one</Run><Run Text='two'/></TextBlock>", "TextBlock{InlineCollection{Run\"one\",Run\"two\"}}"},
    };

struct ErrorCase
{
    LPCWSTR markup;
    const char* error;
};

const ErrorCase kErrors[] = {
    // Parser errors.
    {L"<Foo/>", "The tag 'Foo' does not exist in XML namespace. Line 1, position 6"},
    {L"<TextBlock", "Unexpected end of file has occurred.. Line 1, position 11"},
    {L"<", "Unexpected end of file has occurred.. Line 1, position 2"},
    {L"<TextBlock></", "Unexpected end of file has occurred.. Line 1, position 14"},
    {L"<TextBlock Text=1/>", "Unexpected token. The expected token is '\"' or '''. Line 1, position 18"},
    {L"<TextBlock Text=\"abc/>", "Unexpected token. The expected token is '\"' or '''. Line 1, position 23"},
    {L"<TextBlock Text/>", "'>' is an unexpected token. The expected token is '='. Line 1, position 18"},
    {L"<TextBlock Te<xt=\"a\"/>", "'<' is an unexpected token. The expected token is '='. Line 1, position 15"},
    {L"<TextBlock Text <", "Unexpected token. The expected token is '='. Line 1, position 18"},
    {L"<TextBlock / >", "Unexpected token. The expected token is '>'. Line 1, position 14"},
    {L"<TextBlock></TextBlock x>", "Unexpected token. The expected token is '>'. Line 1, position 25"},
    // Builder errors.
    {L"", "Data at the root level is invalid"},
    {L"   \r\n ", "Data at the root level is invalid"},
    {L"hello <TextBlock/>", "Data at the root level is invalid"},
    {L"<TextBlock/>x", "Data at the root level is invalid. Line 1, position 14"},
    {L"<TextBlock/><TextBlock/>", "There are multiple root elements. Line 1, position 24"},
    {L"<TextBlock Foo=\"1\"/>", "The property 'Foo' does not exist in XML namespace. Line 1, position 19"},
    {L"<TextBlock></Run>", "The 'TextBlock' start tag does not match the end tag of 'Run'. Line 1, position 18"},
    {L"<TextBlock></textblock>",
     "The 'TextBlock' start tag does not match the end tag of 'textblock'. Line 1, position 24"},
    {L"</TextBlock>", "Unexpected end tag. Line 1, position 13"},
    {L"<TextBlock>",
     "Unexpected end of file has occurred. The following elements are not closed: 'TextBlock'. Line 1, position 12"},
    {L"<TextBlock><Bold>x",
     "Unexpected end of file has occurred. The following elements are not closed: 'Bold'. Line 1, position 19"},
    {L"<TextBlock Text=\"a\"", "Unexpected end of file has occurred. The following elements are not closed: "
                               "'TextBlock'. Line 1, position 20"},
    {L"<!-- only a comment -->", "Root element is missing. Line 1, position 24"},
    {L"<TextBlock.Text>a</TextBlock.Text>", "The tag 'TextBlock.Text' does not exist in XML namespace. Line 1, position 17"},
    {L"<TextBlock><TextBlock.Foo>x</TextBlock.Foo></TextBlock>",
     "The tag 'TextBlock.Foo' does not exist in XML namespace. Line 1, position 27"},
    {L"<TextBlock><TextBlock.Text></TextBlock.Text></TextBlock>",
     "'Text' property does not have a value. Line 1, position 45"},
    {L"<SolidColorBrush Color=\"Red\"/>", "Root element have to be 'CWVPMarkupUIElement' type"},
    {L"<Style/>", "Root element have to be 'CWVPMarkupUIElement' type"},
    {L"<Run>x</Run>", "Root element have to be 'CWVPMarkupUIElement' type"},
    {L"<TextBlock>\r\n<Foo/>", "The tag 'Foo' does not exist in XML namespace. Line 3, position 6"},
    {L"<TextBlock>\n<Foo/>", "The tag 'Foo' does not exist in XML namespace. Line 2, position 6"},
    // Content rules.
    {L"<TextBlock><Color>Red</Color></TextBlock>", "'CWVPMarkupColor' object cannot be added to "
                                                   "'CWVPMarkupInlineCollection'. Object cannot be converted to type "
                                                   "'CWVPMarkupInline'. Line 1, position 30"},
    {L"<StackPanel><StackPanel.Background><LinearGradientBrush><SolidColorBrush/></LinearGradientBrush>"
     L"</StackPanel.Background></StackPanel>",
     "'CWVPMarkupSolidColorBrush' object cannot be added to 'CWVPMarkupCollection'. Object cannot be converted to "
     "type 'CWVPMarkupGradientStop'. Line 1, position 75"},
    {L"<Border><TextBlock/><TextBlock/></Border>",
     "'CWVPMarkupBorder' already has a child and cannot add 'CWVPMarkupTextBlock'. 'CWVPMarkupBorder' can accept "
     "only one child.. Line 1, position 33"},
    {L"<Border>text</Border>", "'CWVPMarkupString' object cannot be added to 'CWVPMarkupBorder'. Object cannot be "
                              "converted to type 'CWVPMarkupUIElement'. Line 1, position 22"},
    {L"<StackPanel><Color/></StackPanel>", "'CWVPMarkupColor' object cannot be added to 'CWVPMarkupCollection'. "
                                           "Object cannot be converted to type 'CWVPMarkupUIElement'. Line 1, "
                                           "position 21"},
    {L"<Button>a<TextBlock/></Button>", "'CWVPMarkupButton' already has a child and cannot add "
                                        "'CWVPMarkupTextBlock'. 'CWVPMarkupButton' can accept only one child.. "
                                        "Line 1, position 22"},
    {L"<TextBlock><TextBlock.Tag><Color>nonsense</Color></TextBlock.Tag></TextBlock>",
     "Cannot convert the string 'nonsense' into a 'CWVPMarkupColor' object. Line 1, position 50"},
    {L"<TextBlock><TextBlock.Tag><Setter><TextBlock/></Setter></TextBlock.Tag></TextBlock>",
     "Cannot add content to an object of type 'CWVPMarkupSetter'. Line 1, position 47"},
    // Conversions and extensions.
    {L"<TextBlock Visibility=\"Sideways\"/>",
     "Cannot convert string in attribute 'Visibility' to object of type 'CWVPMarkupEnum'. Line 1, position 33"},
    {L"<TextBlock Margin=\"1,2,3\"/>",
     "Cannot convert string in attribute 'Margin' to object of type 'CWVPMarkupThickness'. Line 1, position 26"},
    {L"<TextBlock Margin=\"1 ,2,3,4\"/>",
     "Cannot convert string in attribute 'Margin' to object of type 'CWVPMarkupThickness'. Line 1, position 29"},
    {L"<TextBlock Foreground=\"#F00\"/>",
     "Cannot convert string in attribute 'Foreground' to object of type 'CWVPMarkupBrush'. Line 1, position 29"},
    {L"<TextBlock Foreground=\"#F0F0FG\"/>",
     "Cannot convert string in attribute 'Foreground' to object of type 'CWVPMarkupBrush'. Line 1, position 32"},
    {L"<TextBlock Foreground=\"Transparent\"/>",
     "Cannot convert string in attribute 'Foreground' to object of type 'CWVPMarkupBrush'. Line 1, position 36"},
    {L"<TextBlock FontWeight=\"Boldest\"/>",
     "Cannot convert string in attribute 'FontWeight' to object of type 'CWVPMarkupEnum'. Line 1, position 32"},
    {L"<TextBlock Tag=\"{x:Type Foo}\"/>", "Cannot find type 'Foo'. Line 1, position 30"},
    {L"<TextBlock Tag=\"{x:Static SystemColors.Nothing}\"/>",
     "Cannot find the static member  'SystemColors.Nothing'. Line 1, position 49"},
    {L"<TextBlock Tag=\"{Binding x}\"/>", "The tag 'Binding x' does not exist in XML namespace. Line 1, position 29"},
    {L"<TextBlock Tag=\"{StaticResource a\"/>", "Markup extension expressions must end with '}'. Line 1, position 35"},
    {L"<TextBlock Tag=\"{StaticResource missing}\"/>",
     "Cannot find resource named 'missing'. Resource names are case sensitive. Line 1, position 42"},
    {L"<TextBlock MouseEnter=\"OnEnter\"/>", "'OnEnter' delegate not found. Line 1, position 32"},
    // Styles and resources.
    {L"<StackPanel><StackPanel.Resources><Style TargetType=\"TextBlock\"><Setter Property=\"Nope\" Value=\"1\"/>"
     L"</Style></StackPanel.Resources></StackPanel>",
     "Cannot find the Style Property 'Nope'. Line 1, position 100"},
    {L"<StackPanel><StackPanel.Resources><Style><Setter Property=\"Foreground\" Value=\"Red\"/></Style>"
     L"</StackPanel.Resources></StackPanel>",
     "Cannot find the Style Property 'Foreground'. Line 1, position 85"},
    {L"<StackPanel><StackPanel.Resources><Style TargetType=\"TextBlock\"><Setter Property=\"Foreground\"/></Style>"
     L"</StackPanel.Resources></StackPanel>",
     "Must specify both Property and Value for Setter.. Line 1, position 96"},
    {L"<StackPanel><StackPanel.Resources><SolidColorBrush Color=\"Red\"/></StackPanel.Resources></StackPanel>",
     "Objects added to Dictionary must have Key attribute or some other type of associated Key. Line 1, position 65"},
    {L"<StackPanel><StackPanel.Resources><SolidColorBrush x:Key=\"a\" Color=\"Red\"/><SolidColorBrush x:Key=\"a\" "
     L"Color=\"Blue\"/></StackPanel.Resources></StackPanel>",
     "Dictionary key is already used. Key attributes must be unique.. Line 1, position 116"},
};

struct ValueCase
{
    LPCWSTR markup;
    LPCWSTR owner; // tag of the property's owner, or null for the root's own type
    LPCWSTR name;
    const char* value;
};

const ValueCase kValues[] = {
    // The enumeration converters, ignoring case.
    {L"<TextBlock Visibility=\"collapsed\"/>", nullptr, L"Visibility", "Enum:2"},
    {L"<TextBlock Visibility=\"Hidden\"/>", nullptr, L"Visibility", "Enum:1"},
    {L"<TextBlock Visibility=\"VISIBLE\"/>", nullptr, L"Visibility", "Enum:0"},
    {L"<TextBlock HorizontalAlignment=\"left\"/>", nullptr, L"HorizontalAlignment", "Enum:0"},
    {L"<TextBlock HorizontalAlignment=\"Center\"/>", nullptr, L"HorizontalAlignment", "Enum:1"},
    {L"<TextBlock HorizontalAlignment=\"RIGHT\"/>", nullptr, L"HorizontalAlignment", "Enum:2"},
    {L"<TextBlock HorizontalAlignment=\"stretch\"/>", nullptr, L"HorizontalAlignment", "Enum:3"},
    {L"<TextBlock VerticalAlignment=\"top\"/>", nullptr, L"VerticalAlignment", "Enum:0"},
    {L"<TextBlock VerticalAlignment=\"Bottom\"/>", nullptr, L"VerticalAlignment", "Enum:2"},
    {L"<TextBlock TextWrapping=\"wrap\"/>", nullptr, L"TextWrapping", "Enum:1"},
    {L"<TextBlock TextWrapping=\"NoWrap\"/>", nullptr, L"TextWrapping", "Enum:0"},
    {L"<TextBlock TextTrimming=\"wordellipsis\"/>", nullptr, L"TextTrimming", "Enum:2"},
    {L"<TextBlock TextTrimming=\"CharacterEllipsis\"/>", nullptr, L"TextTrimming", "Enum:1"},
    {L"<TextBlock TextAlignment=\"Right\"/>", nullptr, L"TextAlignment", "Enum:1"},
    {L"<TextBlock TextAlignment=\"center\"/>", nullptr, L"TextAlignment", "Enum:2"},
    {L"<TextBlock FontWeight=\"bold\"/>", nullptr, L"FontWeight", "Enum:700"},
    {L"<TextBlock FontWeight=\"ExtraBlack\"/>", nullptr, L"FontWeight", "Enum:950"},
    {L"<TextBlock FontWeight=\"regular\"/>", nullptr, L"FontWeight", "Enum:400"},
    {L"<TextBlock FontWeight=\"DemiBold\"/>", nullptr, L"FontWeight", "Enum:600"},
    {L"<TextBlock FontWeight=\"thin\"/>", nullptr, L"FontWeight", "Enum:100"},
    {L"<TextBlock FontStyle=\"ITALIC\"/>", nullptr, L"FontStyle", "Enum:1"},
    {L"<TextBlock FontQuality=\"cleartype\"/>", nullptr, L"FontQuality", "Enum:5"},
    {L"<TextBlock TextDecorations=\"Underline\"/>", nullptr, L"TextDecorations", "Enum:1"},
    {L"<TextBlock TextDecorations=\"strikethrough\"/>", nullptr, L"TextDecorations", "Enum:2"},
    {L"<TextBlock TextDecorations=\"\"/>", nullptr, L"TextDecorations", "Enum:0"},
    {L"<StackPanel Orientation=\"horizontal\"/>", nullptr, L"Orientation", "Enum:0"},
    {L"<WrapPanel Orientation=\"Vertical\"/>", nullptr, L"Orientation", "Enum:1"},
    {L"<ScrollViewer VerticalScrollBarVisibility=\"auto\"/>", nullptr, L"VerticalScrollBarVisibility", "Enum:1"},
    {L"<ScrollViewer HorizontalScrollBarVisibility=\"Visible\"/>", nullptr, L"HorizontalScrollBarVisibility",
     "Enum:2"},
    {L"<Rectangle Stretch=\"uniformtofill\"/>", nullptr, L"Stretch", "Enum:3"},
    {L"<Rectangle/>", nullptr, L"Stretch", "Enum:0"},
    {L"<TextBlock Cursor=\"hand\"/>", nullptr, L"Cursor", "Int:32649"},
    {L"<TextBlock Cursor=\"None\"/>", nullptr, L"Cursor", "Int:0"},
    {L"<TextBlock Cursor=\"SizeAll\"/>", nullptr, L"Cursor", "Int:32646"},
    {L"<TextBlock KeyboardNavigation.TabNavigation=\"cycle\"/>", L"KeyboardNavigation", L"TabNavigation", "Enum:2"},
    {L"<TextBlock/>", L"KeyboardNavigation", L"TabIndex", "Int:2147483647"},
    {L"<CheckBox IsChecked=\"true\"/>", nullptr, L"IsChecked", "Enum:1"},
    {L"<CheckBox IsChecked=\"\"/>", nullptr, L"IsChecked", "Enum:2"},
    {L"<CheckBox/>", nullptr, L"IsChecked", "Enum:0"},
    // Numbers, booleans, thicknesses.
    {L"<TextBlock Width=\"120\"/>", nullptr, L"Width", "Int:120"},
    {L"<TextBlock Width=\" -5\"/>", nullptr, L"Width", "Int:-5"},
    {L"<TextBlock Width=\"12px\"/>", nullptr, L"Width", "Int:12"},
    {L"<TextBlock Width=\"abc\"/>", nullptr, L"Width", "Int:0"},
    {L"<TextBlock Width=\"99999999999\"/>", nullptr, L"Width", "Int:2147483647"},
    {L"<TextBlock ClipToBounds=\"TRUE\"/>", nullptr, L"ClipToBounds", "Bool:1"},
    {L"<TextBlock ClipToBounds=\"false\"/>", nullptr, L"ClipToBounds", "Bool:0"},
    {L"<TextBlock Margin=\"5\"/>", nullptr, L"Margin", "Thickness:5,5,5,5"},
    {L"<TextBlock Margin=\"08\"/>", nullptr, L"Margin", "Thickness:8,8,8,8"},
    {L"<TextBlock Margin=\"1,2,3,4\"/>", nullptr, L"Margin", "Thickness:1,2,3,4"},
    {L"<TextBlock Margin=\"1, 2, 3, 4\"/>", nullptr, L"Margin", "Thickness:1,2,3,4"},
    {L"<TextBlock Margin=\"0x10,010,-1,+2\"/>", nullptr, L"Margin", "Thickness:16,8,-1,2"},
    {L"<TextBlock/>", nullptr, L"Margin", "Thickness:0,0,0,0"},
    {L"<TextBlock Padding=\"2,0,2,0\"/>", nullptr, L"Padding", "Thickness:2,0,2,0"},
    // Brushes and colours.
    {L"<StackPanel Background=\"Red\"/>", nullptr, L"Background", "Brush:#FF0000"},
    {L"<StackPanel Background=\"#00FF00\"/>", nullptr, L"Background", "Brush:#00FF00"},
    {L"<StackPanel Background=\"#8000ff00\"/>", nullptr, L"Background", "Brush:#00FF00"},
    {L"<StackPanel Background=\"BLACK\"/>", nullptr, L"Background", "Brush:#000000"},
    {L"<TextBlock Foreground=\"aliceBlue\"/>", nullptr, L"Foreground", "Brush:#F0F8FF"},
    {L"<StackPanel><StackPanel.Background><SolidColorBrush Color=\"Tan\"/></StackPanel.Background></StackPanel>",
     nullptr, L"Background", "Brush:#D2B48C"},
    {L"<StackPanel><StackPanel.Background><SolidColorBrush><SolidColorBrush.Color><Color>Lime</Color>"
     L"</SolidColorBrush.Color></SolidColorBrush></StackPanel.Background></StackPanel>",
     nullptr, L"Background", "Brush:#00FF00"},
    // Strings, attached properties, extensions.
    {L"<TextBlock Text=\"a &amp; b\"/>", nullptr, L"Text", "String:a &amp; b"},
    {L"<TextBlock Text=\"it's\"/>", nullptr, L"Text", "String:it's"},
    {L"<TextBlock Text='say \"hi\"'/>", nullptr, L"Text", "String:say \"hi\""},
    {L"<TextBlock><TextBlock.Text>hi there</TextBlock.Text></TextBlock>", nullptr, L"Text", "String:hi there"},
    {L"<TextBlock Tag=\"{}{x}\"/>", nullptr, L"Tag", "String:{x}"},
    {L"<TextBlock Tag=\"{x:Type TextBlock}\"/>", nullptr, L"Tag", "Type:TextBlock"},
    {L"<TextBlock Tag=\"plain\" x:Name=\"n\"/>", nullptr, L"Tag", "String:plain"},
    {L"<TextBlock Grid.Row=\"2\"/>", L"Grid", L"Row", "Int:2"},
    {L"<TextBlock Canvas.Left=\"7\"/>", L"Canvas", L"Left", "Int:7"},
    {L"<StackPanel TextElement.FontSize=\"20\"/>", L"TextElement", L"FontSize", "Int:20"},
    {L"<StackPanel><StackPanel.Resources><SolidColorBrush x:Key=\"accent\" Color=\"Navy\"/></StackPanel.Resources>"
     L"<StackPanel.Tag><TextBlock Foreground=\"{DynamicResource accent}\"/></StackPanel.Tag></StackPanel>",
     nullptr, L"Tag", "TextBlock"},
    {L"<Grid><Grid.ColumnDefinitions><ColumnDefinition Width=\"Auto\"/><ColumnDefinition Width=\"2*\"/>"
     L"</Grid.ColumnDefinitions></Grid>",
     nullptr, L"ColumnDefinitions", "ColumnDefinitionCollection"},
};
} // namespace

TEST(MarkupConformance, TreesMatchTheirCanonicalDumps)
{
    Context context;
    for (const TreeCase& c : kTrees)
    {
        CWVPMarkupObject* root = context.Parse(c.markup);
        EXPECT_EQ(c.tree, Dump(root)) << rwtest::Utf8(c.markup) << "\n" << context.Error();
        if (root)
            root->Release();
    }
}

TEST(MarkupConformance, ErrorsCarryExactTextLineAndPosition)
{
    Context context;
    for (const ErrorCase& c : kErrors)
    {
        CWVPMarkupObject* root = context.Parse(c.markup);
        EXPECT_EQ(nullptr, root) << rwtest::Utf8(c.markup);
        EXPECT_EQ(c.error, context.Error()) << rwtest::Utf8(c.markup);
        if (root)
            root->Release();
    }
}

TEST(MarkupConformance, AttributeValuesConvertToThePropertyTypes)
{
    Context context;
    for (const ValueCase& c : kValues)
    {
        CWVPMarkupObject* root = context.Parse(c.markup);
        ASSERT_NE(nullptr, root) << rwtest::Utf8(c.markup) << "\n" << context.Error();
        EXPECT_EQ(c.value, PropertyText(root, c.owner, c.name)) << rwtest::Utf8(c.markup);
        root->Release();
    }
}
