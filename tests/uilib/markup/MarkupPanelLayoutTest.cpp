// Layout of the panel elements without a window: markup is parsed, the root measured and arranged
// in a slot, and the elements marked with a Tag are checked for their offset (in root coordinates)
// and render size. Also the borders' and backgrounds' pixels in a DIB section.
#include "MarkupFixture.h"

#include "DibCanvas.h"
#include "uilib/markup/MarkupDrawingContext.h"

namespace
{
const int kNoLimit = 0x7FFFFFFF;

// The visual whose Tag is the given text, searched through the visual children.
CWVPMarkupVisual* FindTagged(CWVPMarkupVisual* visual, LPCWSTR tag)
{
    if (!visual)
        return nullptr;
    const CWVPMarkupString* value =
        MarkupCast<CWVPMarkupString>(visual->GetValue(CWVPMarkupFrameworkElement::s_pTagProperty));
    if (value && ::lstrcmpW(value->GetText(), tag) == 0)
        return visual;
    for (int i = 0; i < visual->GetVisualChildrenCount(); ++i)
        if (CWVPMarkupVisual* found = FindTagged(visual->GetVisualChild(i), tag))
            return found;
    return nullptr;
}

// The offset of a visual in the coordinates of the root's parent.
POINT RootOffset(CWVPMarkupVisual* visual)
{
    long long x = 0, y = 0;
    for (CWVPMarkupVisual* v = visual; v; v = v->GetVisualParent())
        x += v->GetVisualOffset().x, y += v->GetVisualOffset().y;
    return {(LONG)x, (LONG)y};
}

// Parses markup and lays the root out in (0, 0, width, height), measuring with the same size.
class Laid
{
  public:
    Laid(markuptest::Context& context, LPCWSTR markup, int width, int height)
        : m_root(static_cast<CWVPMarkupUIElement*>(context.Parse(markup)))
    {
        if (!m_root)
            return;
        CWVPMarkupDrawingContext dc;
        m_root->Measure(&dc, width, height);
        m_root->Arrange({0, 0, width, height});
    }
    ~Laid()
    {
        if (m_root)
            m_root->Release();
    }
    CWVPMarkupUIElement* Root() const
    {
        return m_root;
    }

  private:
    CWVPMarkupUIElement* m_root;
};

// Where an element marked with a Tag lands: offset in the root's coordinates and render size.
struct Place
{
    LPCWSTR tag;
    int x, y, w, h;
};

struct PlaceCase
{
    LPCWSTR markup;
    int width, height; // the root's slot
    Place places[3];   // up to three tagged elements; a null tag ends the list
};

#define COLS3(a, b, c)                                                                                                 \
    L"<Grid.ColumnDefinitions><ColumnDefinition "                                                                      \
    L"Width='" a L"'/><ColumnDefinition Width='" b L"'/><ColumnDefinition Width='" c L"'/></Grid.ColumnDefinitions>"
#define THREE_CELLS                                                                                                    \
    L"<FrameworkElement Tag='a'/><FrameworkElement Tag='b' Grid.Column='1'/><FrameworkElement Tag='c' "                \
    L"Grid.Column='2'/>"

const PlaceCase kPlaces[] = {
    // Alignment and stretch with explicit Width and Margin.
    {L"<Grid><FrameworkElement Tag='a' Width='30' Margin='10'/>"
     L"<FrameworkElement Tag='b' Width='30' Margin='10' HorizontalAlignment='Left'/>"
     L"<FrameworkElement Tag='c' Width='30' Margin='10' HorizontalAlignment='Right'/></Grid>",
     100,
     50,
     {{L"a", 35, 10, 30, 30}, {L"b", 10, 10, 30, 30}, {L"c", 60, 10, 30, 30}}},
    {L"<Grid><FrameworkElement Tag='a' Height='20' Margin='0,5,0,0' VerticalAlignment='Bottom'/></Grid>",
     100,
     50,
     {{L"a", 0, 30, 100, 20}}},
    // Minimum and maximum limits; a minimum wins over Width, a maximum over Height.
    {L"<Grid><FrameworkElement Tag='a' MinWidth='40' MaxWidth='60' HorizontalAlignment='Left'/>"
     L"<FrameworkElement Tag='b' MaxWidth='60'/><FrameworkElement Tag='c' Width='50' MinWidth='80'/></Grid>",
     100,
     50,
     {{L"a", 0, 0, 40, 50}, {L"b", 20, 0, 60, 50}, {L"c", 10, 0, 80, 50}}},
    {L"<Grid><FrameworkElement Tag='a' MinHeight='10' MaxHeight='20' Height='35'/></Grid>",
     100,
     50,
     {{L"a", 0, 15, 100, 20}}},
    // Grid sizing: Auto 60 / * / 2* in 300.
    {L"<Grid>" COLS3(
         "Auto", "*",
         "2*") L"<FrameworkElement Tag='a' Width='60'/>"
               L"<FrameworkElement Tag='b' Grid.Column='1'/><FrameworkElement Tag='c' Grid.Column='2'/></Grid>",
     300,
     50,
     {{L"a", 0, 0, 60, 50}, {L"b", 60, 0, 80, 50}, {L"c", 140, 0, 160, 50}}},
    // Three equal stars in 100: the last one takes the remainder.
    {L"<Grid>" COLS3("*", "*", "*") THREE_CELLS L"</Grid>",
     100,
     50,
     {{L"a", 0, 0, 33, 50}, {L"b", 33, 0, 33, 50}, {L"c", 66, 0, 34, 50}}},
    // A star column capped at 50 is served last; the other takes half, 100 pixels stay empty.
    {L"<Grid><Grid.ColumnDefinitions><ColumnDefinition MaxWidth='50'/><ColumnDefinition/></Grid.ColumnDefinitions>"
     L"<FrameworkElement Tag='a'/><FrameworkElement Tag='b' Grid.Column='1'/></Grid>",
     300,
     50,
     {{L"a", 0, 0, 50, 50}, {L"b", 50, 0, 150, 50}}},
    // Rows: an auto row follows its content, the star row takes the rest.
    {L"<Grid><Grid.RowDefinitions><RowDefinition Height='Auto'/><RowDefinition/></Grid.RowDefinitions>"
     L"<FrameworkElement Tag='a' Height='20'/><FrameworkElement Tag='b' Grid.Row='1'/></Grid>",
     100,
     50,
     {{L"a", 0, 0, 100, 20}, {L"b", 0, 20, 100, 30}}},
    // Cells in star columns and auto rows give the rows their heights before the rows share.
    {L"<Grid><Grid.RowDefinitions><RowDefinition Height='Auto'/><RowDefinition/></Grid.RowDefinitions>"
     L"<Grid.ColumnDefinitions><ColumnDefinition/><ColumnDefinition/></Grid.ColumnDefinitions>"
     L"<FrameworkElement Tag='a' Height='20'/><FrameworkElement Tag='b' Grid.Row='1' Grid.Column='1'/></Grid>",
     100,
     50,
     {{L"a", 0, 0, 50, 20}, {L"b", 50, 20, 50, 30}}},
    {L"<Grid><Grid.RowDefinitions><RowDefinition Height='Auto'/><RowDefinition/></Grid.RowDefinitions>"
     L"<Grid.ColumnDefinitions><ColumnDefinition Width='Auto'/><ColumnDefinition/></Grid.ColumnDefinitions>"
     L"<FrameworkElement Tag='a' Grid.Column='1' Height='20'/><FrameworkElement Tag='b' Grid.Row='1' Width='30'/>"
     L"<FrameworkElement Tag='c' Grid.Row='1' Grid.Column='1'/></Grid>",
     100,
     50,
     {{L"a", 30, 0, 70, 20}, {L"b", 0, 20, 30, 30}, {L"c", 30, 20, 70, 30}}},
    // Fixed columns wider than the grid keep their widths (the grid's content overflows).
    {L"<Grid>" COLS3("60", "60", "Auto") THREE_CELLS L"</Grid>", 100, 50, {{L"b", 60, 0, 60, 50}}},
    // A column beyond the last goes to the last one.
    {L"<Grid>" COLS3("20", "30", "*") L"<FrameworkElement Tag='a' Grid.Column='9'/></Grid>",
     100,
     50,
     {{L"a", 50, 0, 50, 50}}},
    // Without definitions children lie on top of each other; the grid is as big as the largest.
    {L"<StackPanel Orientation='Horizontal'><Grid Tag='g'><FrameworkElement Width='30' Height='10'/>"
     L"<FrameworkElement Width='20' Height='40'/></Grid><FrameworkElement Tag='n' Width='5'/></StackPanel>",
     100,
     50,
     {{L"g", 0, 0, 30, 50}, {L"n", 30, 0, 5, 50}}},
    // Stack panels: vertical by default, children stretched across.
    {L"<StackPanel><FrameworkElement Height='10'/><FrameworkElement Tag='b' Height='20' Width='40'/>"
     L"<FrameworkElement Tag='c' Height='5'/></StackPanel>",
     100,
     50,
     {{L"b", 30, 10, 40, 20}, {L"c", 0, 30, 100, 5}}},
    {L"<StackPanel Orientation='Horizontal'><FrameworkElement Width='10'/><FrameworkElement Tag='b' Width='20' "
     L"Height='10'/></StackPanel>",
     100,
     50,
     {{L"b", 10, 20, 20, 10}}},
    // Wrap panels: three 50-pixel children in 120 make two lines.
    {L"<WrapPanel Tag='w' HorizontalAlignment='Left' VerticalAlignment='Top'><FrameworkElement Width='50' Height='10'/>"
     L"<FrameworkElement Width='50' Height='20'/><FrameworkElement Tag='c' Width='50' Height='15'/></WrapPanel>",
     120,
     100,
     {{L"w", 0, 0, 100, 35}, {L"c", 0, 20, 50, 15}}},
    {L"<WrapPanel ItemWidth='40'><FrameworkElement Width='10' Height='10' HorizontalAlignment='Left'/>"
     L"<FrameworkElement Tag='b' Width='30' Height='10' HorizontalAlignment='Left'/>"
     L"<FrameworkElement Tag='c' Width='25' Height='10' HorizontalAlignment='Left'/></WrapPanel>",
     100,
     50,
     {{L"b", 40, 0, 30, 10}, {L"c", 0, 10, 25, 10}}},
    {L"<WrapPanel Orientation='Vertical'><FrameworkElement Width='20' Height='30'/>"
     L"<FrameworkElement Tag='b' Width='10' Height='30'/></WrapPanel>",
     100,
     50,
     {{L"b", 20, 0, 10, 30}}},
    {L"<WrapPanel><FrameworkElement Width='30' Height='10'/><FrameworkElement Tag='b' Width='150' Height='20'/>"
     L"</WrapPanel>",
     100,
     50,
     {{L"b", 0, 10, 150, 20}}},
    // Canvas: Left wins over Right, Right and Bottom count from the far edges, no clipping.
    {L"<Canvas><FrameworkElement Tag='a' Canvas.Left='10' Canvas.Top='5' Width='50' Height='20'/>"
     L"<FrameworkElement Tag='b' Canvas.Right='10' Width='50' Height='20'/>"
     L"<FrameworkElement Tag='c' Canvas.Left='10' Canvas.Right='100' Canvas.Bottom='0' Width='50' Height='20'/>"
     L"</Canvas>",
     200,
     100,
     {{L"a", 10, 5, 50, 20}, {L"b", 140, 0, 50, 20}, {L"c", 10, 80, 50, 20}}},
    {L"<Canvas><FrameworkElement Tag='d' Canvas.Left='180' Width='50' Height='20'/></Canvas>",
     200,
     100,
     {{L"d", 180, 0, 50, 20}}},
    // Border: the child inside thickness and padding; the border sized to its content; the page.
    {L"<Border BorderThickness='2' Padding='3,4,5,6'><FrameworkElement Tag='a'/></Border>",
     100,
     50,
     {{L"a", 5, 6, 88, 36}}},
    {L"<Grid><Border Tag='b' BorderThickness='1' Padding='2' HorizontalAlignment='Left' VerticalAlignment='Top'>"
     L"<FrameworkElement Width='20' Height='10'/></Border></Grid>",
     100,
     50,
     {{L"b", 0, 0, 26, 16}}},
    {L"<Page><FrameworkElement Tag='a' Margin='5'/></Page>", 100, 50, {{L"a", 5, 5, 90, 40}}},
    // Negative and infinite star weights count as none.
    {L"<Grid>" COLS3("*", "-1*", "*") THREE_CELLS L"</Grid>", 100, 50, {{L"a", 0, 0, 50, 50}, {L"c", 50, 0, 50, 50}}},
    {L"<Grid>" COLS3("*", "1e39*", "*") THREE_CELLS L"</Grid>", 100, 50, {{L"b", 50, 0, 0, 50}, {L"c", 50, 0, 50, 50}}},
    // Unlimited measure: canvases in a stack, wrap panel or border inside a canvas ask for all
    // the room there is, and the sums stay at that.
    {L"<Canvas><StackPanel Tag='s'><Canvas/><Canvas/></StackPanel>"
     L"<StackPanel Tag='h' Orientation='Horizontal'><Canvas/><Canvas/></StackPanel>"
     L"<WrapPanel Tag='w' Orientation='Vertical'><Canvas/><Canvas/></WrapPanel></Canvas>",
     100,
     50,
     {{L"s", 0, 0, kNoLimit, kNoLimit}, {L"h", 0, 0, kNoLimit, kNoLimit}, {L"w", 0, 0, kNoLimit, kNoLimit}}},
    {L"<Canvas><Border Tag='b' BorderThickness='5'><Canvas/></Border>"
     L"<Canvas Tag='c' Canvas.Left='10' Canvas.Top='20'/></Canvas>",
     100,
     50,
     {{L"b", 0, 0, kNoLimit, kNoLimit}, {L"c", 10, 20, kNoLimit, kNoLimit}}},
};
} // namespace

TEST(MarkupPanelLayout, ElementsLandWhereTheirPanelsPutThem)
{
    markuptest::Context context;
    for (const PlaceCase& c : kPlaces)
    {
        Laid laid(context, c.markup, c.width, c.height);
        ASSERT_NE(nullptr, laid.Root()) << rwtest::Utf8(c.markup) << ": " << context.Error();
        for (const Place& p : c.places)
        {
            if (!p.tag)
                break;
            std::string what = rwtest::Utf8(c.markup) + " [" + rwtest::Utf8(p.tag) + "]";
            CWVPMarkupVisual* element = FindTagged(laid.Root(), p.tag);
            ASSERT_NE(nullptr, element) << what;
            POINT at = RootOffset(element);
            EXPECT_EQ(p.x, at.x) << what;
            EXPECT_EQ(p.y, at.y) << what;
            EXPECT_EQ(p.w, element->GetRenderSize().cx) << what;
            EXPECT_EQ(p.h, element->GetRenderSize().cy) << what;
        }
    }
}

TEST(MarkupPanelLayout, NegativeCellIndexesCountAsTheFirst)
{
    markuptest::Context context;
    Laid laid(context,
              L"<Grid>" COLS3("20", "30", "*") L"<FrameworkElement Tag='a' Grid.Column='-1' Grid.Row='-3'/></Grid>",
              100, 50);
    ASSERT_NE(nullptr, laid.Root()) << context.Error();
    CWVPMarkupVisual* a = FindTagged(laid.Root(), L"a");
    EXPECT_EQ(0, RootOffset(a).x);
    EXPECT_EQ(0, RootOffset(a).y);
    EXPECT_EQ(20, a->GetRenderSize().cx);
    EXPECT_EQ(50, a->GetRenderSize().cy);
}

TEST(MarkupPanelLayout, GridMeasuresStarsLikeAutoWithoutLimit)
{
    // Unlimited: the star columns take their content's width; arranged, they share the room.
    markuptest::Context context;
    CWVPMarkupUIElement* grid = static_cast<CWVPMarkupUIElement*>(context.Parse(L"<Grid>" COLS3(
        "*", "*", "Auto") L"<FrameworkElement Width='10'/><FrameworkElement Grid.Column='1' Width='30'/>"
                          L"<FrameworkElement Grid.Column='2' Width='5'/></Grid>"));
    ASSERT_NE(nullptr, grid) << context.Error();
    CWVPMarkupDrawingContext dc;
    grid->Measure(&dc, 40000, 20);
    EXPECT_EQ(45, grid->GetDesiredSize().cx);
    grid->Measure(&dc, 100, 20);
    EXPECT_EQ(45, grid->GetDesiredSize().cx);
    grid->Arrange({0, 0, 205, 20});
    CWVPMarkupDefinitionCollection* columns = static_cast<CWVPMarkupGrid*>(grid)->GetEffectiveColumns();
    ASSERT_EQ(3, columns->GetCount());
    EXPECT_EQ(100, (int)columns->GetDefinition(0)->m_dFinalSize);
    EXPECT_EQ(100, columns->GetDefinition(1)->m_nFinalOffset);
    EXPECT_EQ(200, columns->GetDefinition(2)->m_nFinalOffset);
    grid->Release();
}

TEST(MarkupPanelLayout, ChangingACellMovesTheChild)
{
    markuptest::Context context;
    Laid laid(context, L"<Grid>" COLS3("20", "30", "*") L"<FrameworkElement Tag='a'/></Grid>", 100, 50);
    ASSERT_NE(nullptr, laid.Root()) << context.Error();
    CWVPMarkupVisual* a = FindTagged(laid.Root(), L"a");
    a->SetValue(CWVPMarkupGrid::s_pColumnProperty, new CWVPMarkupInt(2));
    EXPECT_EQ(50, RootOffset(a).x);
    EXPECT_EQ(50, a->GetRenderSize().cx);
}

TEST(MarkupPanelLayout, DefinitionsMustBeTheirCollections)
{
    markuptest::Context context;
    EXPECT_EQ(nullptr, context.Parse(L"<Grid ColumnDefinitions='*'/>"));
    EXPECT_NE(std::string::npos, context.Error().find("CWVPMarkupColumnDefinitionCollection class expected"))
        << context.Error();
    EXPECT_EQ(nullptr, context.Parse(L"<Grid><Grid.RowDefinitions><ColumnDefinition/></Grid.RowDefinitions></Grid>"));
    EXPECT_NE(std::string::npos, context.Error().find("CWVPMarkupColumnDefinition")) << context.Error();
}

TEST(MarkupPanelLayout, UnlimitedSlotWithNegativeMarginIsNotClipped)
{
    // Measured and arranged without limit, an element with a negative margin keeps its whole
    // slot and draws unclipped.
    markuptest::Context context;
    CWVPMarkupUIElement* root = static_cast<CWVPMarkupUIElement*>(context.Parse(L"<Canvas Margin='-10'/>"));
    ASSERT_NE(nullptr, root) << context.Error();
    CWVPMarkupDrawingContext dc;
    root->Measure(&dc, kNoLimit, kNoLimit);
    EXPECT_EQ(kNoLimit - 20, root->GetDesiredSize().cx);
    root->Arrange({0, 0, kNoLimit, kNoLimit});
    EXPECT_EQ(-10, root->GetVisualOffset().x);
    EXPECT_EQ(kNoLimit, root->GetRenderSize().cx);
    RECT clip;
    EXPECT_FALSE(root->GetLayoutClip(&clip));
    root->Release();
}

namespace
{
const COLORREF kPaper = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kLime = RGB(0, 255, 0);

// Lays markup out in (0, 0, width, height) and renders it at (dx, dy) of a white canvas.
void RenderInto(DibCanvas& canvas, markuptest::Context& context, LPCWSTR markup, int width, int height, int dx, int dy)
{
    Laid laid(context, markup, width, height);
    ASSERT_NE(nullptr, laid.Root()) << context.Error();
    laid.Root()->UpdateBoundingBox();
    CWVPMarkupDrawingContext dc(canvas.dc());
    POINT previous = dc.OffsetViewport({dx, dy});
    laid.Root()->Render(&dc);
    dc.RestoreViewport(previous);
}
} // namespace

TEST(MarkupPanelDrawing, BorderBandsAndBackground)
{
    markuptest::Context context;
    DibCanvas canvas(60, 40, kPaper);
    // Bands 1, 2, 3, 4 (left, top, right, bottom) in red, background blue inside them, at (5, 5).
    RenderInto(canvas, context, L"<Border BorderThickness='1,2,3,4' BorderBrush='Red' Background='Blue'/>", 40, 20, 5,
               5);
    auto expected = [](int x, int y) -> DWORD {
        if (x < 5 || y < 5 || x >= 45 || y >= 25)
            return 0xFFFFFF;
        int lx = x - 5, ly = y - 5;
        BOOL band = lx < 1 || ly < 2 || lx >= 40 - 3 || ly >= 20 - 4;
        return band ? 0xFF0000 : 0x0000FF;
    };
    EXPECT_EQ(0, canvas.Differences(expected));
}

TEST(MarkupPanelDrawing, BorderWithoutBrushOrThicknessDrawsNoFrame)
{
    markuptest::Context context;
    // Thickness without brush: the background still stays inside the reserved 2 pixels.
    DibCanvas reserved(30, 30, kPaper);
    RenderInto(reserved, context, L"<Border BorderThickness='2' Background='Lime'/>", 30, 30, 0, 0);
    EXPECT_EQ(kPaper, reserved.At(1, 1));
    EXPECT_EQ(kPaper, reserved.At(28, 15));
    EXPECT_EQ(kLime, reserved.At(2, 2));
    EXPECT_EQ(kLime, reserved.At(27, 27));
    // Brush without thickness: nothing at all.
    DibCanvas none(30, 30, kPaper);
    RenderInto(none, context, L"<Border BorderBrush='Red'/>", 30, 30, 0, 0);
    EXPECT_EQ(0, none.Painted());
    // Thickness larger than the border: the frame covers it, no background is drawn.
    DibCanvas thick(30, 30, kPaper);
    RenderInto(thick, context, L"<Border BorderThickness='20' BorderBrush='Red' Background='Blue'/>", 30, 30, 0, 0);
    EXPECT_EQ(kRed, thick.At(15, 15));
    EXPECT_EQ(kRed, thick.At(29, 29));
}

TEST(MarkupPanelDrawing, PanelBackgroundsUnderTheirChildren)
{
    markuptest::Context context;
    DibCanvas canvas(100, 50, kPaper);
    RenderInto(canvas, context,
               L"<Grid Background='Blue'><Grid.ColumnDefinitions><ColumnDefinition/><ColumnDefinition/>"
               L"</Grid.ColumnDefinitions><StackPanel Grid.Column='1' Background='Red' Margin='5'>"
               L"<Canvas Height='10' Background='Lime'/></StackPanel></Grid>",
               100, 50, 0, 0);
    EXPECT_EQ(kBlue, canvas.At(0, 0));
    EXPECT_EQ(kBlue, canvas.At(54, 25));
    EXPECT_EQ(kLime, canvas.At(55, 5));
    EXPECT_EQ(kLime, canvas.At(94, 14));
    EXPECT_EQ(kRed, canvas.At(55, 15));
    EXPECT_EQ(kRed, canvas.At(94, 44));
    EXPECT_EQ(kBlue, canvas.At(95, 45));
}

TEST(MarkupPanelDrawing, OnlyPanelsAndBordersWithBackgroundAreHit)
{
    markuptest::Context context;
    Laid laid(context,
              L"<Grid><Border Tag='b' Margin='0,0,50,0' BorderThickness='3' BorderBrush='Red'>"
              L"<StackPanel Tag='s' Background='Blue' Height='10' VerticalAlignment='Top'/></Border>"
              L"<Canvas Tag='c' Margin='50,0,0,0' Background='Lime'/></Grid>",
              100, 50);
    ASSERT_NE(nullptr, laid.Root()) << context.Error();
    laid.Root()->UpdateBoundingBox();
    EXPECT_EQ(FindTagged(laid.Root(), L"s"), laid.Root()->InputHitTest({10, 5}));
    EXPECT_EQ(nullptr, laid.Root()->InputHitTest({10, 30})); // border without background, grid without
    EXPECT_EQ(nullptr, laid.Root()->InputHitTest({1, 1}));
    EXPECT_EQ(FindTagged(laid.Root(), L"c"), laid.Root()->InputHitTest({60, 30}));
}
