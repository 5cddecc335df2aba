// The shapes: their desired sizes, the point list they are written with, what they draw into a
// DIB section (fill, stroke, gradient, stretch) and which points hit them.
#include "MarkupFixture.h"

#include <vector>

#include "DibCanvas.h"
#include "uilib/markup/MarkupDrawingContext.h"

namespace
{
using markuptest::ElementPtr;
using markuptest::Probe;

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kLime = RGB(0, 255, 0);
const COLORREF kBlack = RGB(0, 0, 0);

// Parses one element and lays it out in the slot: measured under the slot's size, arranged there.
ElementPtr Layout(markuptest::Context& context, LPCWSTR markup, RECT slot)
{
    CWVPMarkupObject* root = context.Parse(markup);
    EXPECT_NE(nullptr, root) << rwtest::Utf8(markup) << ": " << context.Error();
    if (!root)
        return nullptr;
    CWVPMarkupUIElement* element = static_cast<CWVPMarkupUIElement*>(root);
    CWVPMarkupDrawingContext dc;
    element->Measure(&dc, slot.right - slot.left, slot.bottom - slot.top);
    element->Arrange(slot);
    return ElementPtr(element);
}

void Draw(CWVPMarkupUIElement* element, DibCanvas& canvas)
{
    CWVPMarkupDrawingContext dc(canvas.dc());
    element->Render(&dc);
}

struct DrawCase
{
    LPCWSTR markup;
    RECT slot;
    std::vector<Probe> probes;
};
} // namespace

TEST(MarkupShape, DesiredSizes)
{
    struct SizeCase
    {
        LPCWSTR markup;
        SIZE desired;
    };
    const SizeCase cases[] = {
        {L"<Polygon Points=\"0,0 20,0 10,20\"/>", {20, 20}},
        {L"<Polyline Points=\"0,0 20,0 10,20\" Stroke=\"Black\"/>", {21, 21}},
        {L"<Polyline Points=\"0,0 20,0 10,20\" Stroke=\"Black\" StrokeThickness=\"3\"/>", {23, 23}},
        {L"<Polyline Points=\"0,0 20,0 10,20\"/>", {20, 20}},
        {L"<Polyline Points=\"\" Stroke=\"Black\"/>", {0, 0}},
        {L"<Polygon Points=\"-5,-5 10,-3 4,8\"/>", {10, 8}},
        {L"<Polygon Points=\"-5,-5 -1,-3\"/>", {0, 0}},
        {L"<Polygon/>", {0, 0}},
        {L"<Rectangle Fill=\"Red\"/>", {0, 0}},
        {L"<Rectangle Width=\"30\" Height=\"10\"/>", {30, 10}},
        {L"<Ellipse Stroke=\"Red\"/>", {0, 0}},
        {L"<Line X1=\"5\" Y1=\"30\" X2=\"40\" Y2=\"2\" Stroke=\"Red\"/>", {40, 30}},
        {L"<Line X1=\"-5\" Y1=\"-30\" X2=\"-4\" Y2=\"-2\"/>", {0, 0}},
    };
    markuptest::Context context;
    for (const SizeCase& c : cases)
    {
        ElementPtr e = Layout(context, c.markup, {0, 0, 200, 200});
        ASSERT_TRUE(e);
        EXPECT_EQ(c.desired.cx, e->GetDesiredSize().cx) << rwtest::Utf8(c.markup);
        EXPECT_EQ(c.desired.cy, e->GetDesiredSize().cy) << rwtest::Utf8(c.markup);
    }

    // New points or line ends measure the shape again.
    ElementPtr polygon = Layout(context, L"<Polygon Points=\"0,0 20,0 10,20\"/>", {0, 0, 200, 200});
    CWVPMarkupPointCollection* points = new CWVPMarkupPointCollection();
    ASSERT_TRUE(points->Parse(L"0,0 50,70", 9));
    polygon->SetValue(CWVPMarkupPolygon::s_pPointsProperty, points);
    EXPECT_EQ(50, polygon->GetDesiredSize().cx);
    EXPECT_EQ(70, polygon->GetDesiredSize().cy);
    ElementPtr line = Layout(context, L"<Line X2=\"10\" Y2=\"10\"/>", {0, 0, 200, 200});
    line->SetValue(CWVPMarkupLine::s_pX1Property, new CWVPMarkupInt(90));
    EXPECT_EQ(90, line->GetDesiredSize().cx);
}

TEST(MarkupShape, PointListText)
{
    struct ListCase
    {
        LPCWSTR text;
        BOOL valid;
        std::vector<POINT> points;
    };
    const ListCase cases[] = {
        {L"0,0 10,0 10,10", TRUE, {{0, 0}, {10, 0}, {10, 10}}},
        {L"0, 0 10, 10", TRUE, {{0, 0}, {10, 10}}},
        {L"  -3,-4   7 8 ", TRUE, {{-3, -4}, {7, 8}}},
        {L"", TRUE, {}},
        {L"0 ,0", FALSE, {}},
        {L"1.5,2", FALSE, {}},
        {L"10", FALSE, {}},
        {L"10,", FALSE, {}},
        {L"0,,0", FALSE, {}},
        {L"- 3,4", FALSE, {}},
        {L"3,-", FALSE, {}},
        {L"0;0", FALSE, {}},
        {L"2147483647,-2147483648", TRUE, {{2147483647, (LONG)-2147483647 - 1}}},
        {L"2147483648,0", FALSE, {}},
        {L"0,99999999999999999999", FALSE, {}},
    };
    for (const ListCase& c : cases)
    {
        std::string what = rwtest::Utf8(c.text);
        CWVPMarkupPointCollection* list = new CWVPMarkupPointCollection();
        EXPECT_EQ(c.valid, list->Parse(c.text, lstrlenW(c.text))) << what;
        ASSERT_EQ(c.points.size(), (size_t)list->GetCount()) << what;
        for (size_t i = 0; i < c.points.size(); ++i)
        {
            EXPECT_EQ(c.points[i].x, list->GetPoints()[i].x) << what;
            EXPECT_EQ(c.points[i].y, list->GetPoints()[i].y) << what;
        }
        list->Release();
    }

    // Bounds start at the origin and grow only with positive coordinates.
    CWVPMarkupPointCollection* list = new CWVPMarkupPointCollection();
    ASSERT_TRUE(list->Parse(L"-9,4 3,-20", 10));
    EXPECT_EQ(0, list->GetBounds().left);
    EXPECT_EQ(0, list->GetBounds().top);
    EXPECT_EQ(3, list->GetBounds().right);
    EXPECT_EQ(4, list->GetBounds().bottom);
    list->Release();

    // In markup a list that does not read is an error of the attribute.
    markuptest::Context context;
    CWVPMarkupObject* root = context.Parse(L"<Polygon Points=\"1.5,2\"/>");
    EXPECT_EQ(nullptr, root);
    EXPECT_NE(std::string::npos, context.Error().find("Points")) << context.Error();
}

TEST(MarkupShape, FiguresDrawTheirFillAndStroke)
{
    const DrawCase cases[] = {
        // Fill inside, then stroke bands of the given width over its edges.
        {L"<Rectangle Fill=\"Red\" Stroke=\"Blue\" StrokeThickness=\"3\"/>",
         {10, 10, 50, 40},
         {{10, 10, kBlue}, {12, 20, kBlue}, {13, 20, kRed}, {49, 39, kBlue}, {46, 36, kRed}, {50, 40, kWhite}}},
        // A stroke of width 0 leaves the fill alone; a stroke alone draws bands of width 1.
        {L"<Rectangle Fill=\"Red\" Stroke=\"Blue\" StrokeThickness=\"0\"/>",
         {10, 10, 50, 40},
         {{10, 10, kRed}, {49, 39, kRed}, {9, 9, kWhite}}},
        {L"<Rectangle Stroke=\"Blue\"/>",
         {10, 10, 50, 40},
         {{10, 20, kBlue}, {49, 20, kBlue}, {30, 10, kBlue}, {30, 39, kBlue}, {11, 11, kWhite}, {48, 38, kWhite}}},
        {L"<Ellipse Fill=\"Lime\" Stroke=\"Blue\"/>",
         {0, 0, 40, 20},
         {{20, 10, kLime}, {0, 10, kBlue}, {20, 0, kBlue}, {0, 0, kWhite}, {39, 19, kWhite}}},
        // A gradient brush gives pens and solid brushes its single colour.
        {L"<Ellipse Width=\"20\" Height=\"20\"><Ellipse.Fill><LinearGradientBrush>"
         L"<GradientStop Offset=\"0\" Color=\"Red\"/><GradientStop Offset=\"1\" Color=\"Blue\"/>"
         L"</LinearGradientBrush></Ellipse.Fill></Ellipse>",
         {0, 0, 20, 20},
         {{10, 10, kBlack}, {0, 0, kWhite}}},
        {L"<Polygon Points=\"0,0 20,0 10,20\" Fill=\"Red\" Stroke=\"Blue\"/>",
         {5, 5, 45, 45},
         {{15, 5, kBlue}, {15, 9, kRed}, {5, 20, kWhite}, {28, 5, kWhite}}},
        // Points left of and above the origin draw outside the element's box.
        {L"<Polygon Points=\"-10,-10 10,-10 10,10 -10,10\" Fill=\"Red\"/>",
         {20, 20, 30, 30},
         {{12, 12, kRed}, {28, 28, kRed}, {31, 31, kWhite}}},
        // Polylines draw no inside; "Fill" stretches them to the render size, the polygon never.
        {L"<Polyline Points=\"0,0 20,0 20,20\" Stroke=\"Blue\" Fill=\"Red\"/>",
         {0, 0, 40, 40},
         {{10, 0, kBlue}, {20, 10, kBlue}, {15, 5, kWhite}, {30, 0, kWhite}}},
        {L"<Polyline Points=\"0,0 20,0 20,20\" Stroke=\"Blue\" Stretch=\"Fill\"/>",
         {0, 0, 40, 40},
         {{30, 0, kBlue}, {40, 10, kBlue}, {20, 10, kWhite}}},
        {L"<Polygon Points=\"0,0 20,0 20,20\" Fill=\"Red\" Stretch=\"Fill\"/>",
         {0, 0, 40, 40},
         {{18, 2, kRed}, {30, 2, kWhite}}},
        {L"<Line X1=\"0\" Y1=\"0\" X2=\"30\" Y2=\"30\" Stroke=\"Red\"/>",
         {0, 0, 40, 40},
         {{0, 0, kRed}, {15, 15, kRed}, {29, 29, kRed}, {15, 16, kWhite}, {30, 30, kWhite}}},
        {L"<Line X1=\"10\" Y1=\"0\" X2=\"10\" Y2=\"30\" Stroke=\"Blue\" StrokeThickness=\"4\"/>",
         {0, 0, 40, 40},
         {{8, 15, kBlue}, {11, 15, kBlue}, {6, 15, kWhite}, {13, 15, kWhite}}},
    };
    markuptest::Context context;
    for (const DrawCase& c : cases)
    {
        std::string what = rwtest::Utf8(c.markup);
        ElementPtr e = Layout(context, c.markup, c.slot);
        ASSERT_TRUE(e) << what;
        DibCanvas canvas(60, 50, kWhite);
        Draw(e.get(), canvas);
        for (const Probe& p : c.probes)
            EXPECT_EQ(p.colour, canvas.At(p.x, p.y)) << what << " at " << p.x << "," << p.y;
    }
}

TEST(MarkupShape, FiguresWithoutBrushOrSizeDrawNothing)
{
    const LPCWSTR cases[] = {
        L"<Rectangle/>",
        L"<Ellipse/>",
        L"<Polygon Points=\"0,0 20,0 10,20\"/>",
        L"<Polygon Fill=\"Red\" Points=\"\"/>",
        L"<Polyline Points=\"0,0 20,0 10,20\" Fill=\"Red\"/>",
        L"<Line X1=\"0\" Y1=\"0\" X2=\"0\" Y2=\"0\" Stroke=\"Red\" StrokeThickness=\"5\"/>",
        L"<Line X1=\"0\" Y1=\"0\" X2=\"20\" Y2=\"20\" Stroke=\"Red\" StrokeThickness=\"0\"/>",
        L"<Line X1=\"0\" Y1=\"0\" X2=\"20\" Y2=\"20\"/>",
        L"<Rectangle Fill=\"Red\" Width=\"0\"/>",
    };
    markuptest::Context context;
    for (LPCWSTR markup : cases)
    {
        ElementPtr e = Layout(context, markup, {0, 0, 40, 40});
        ASSERT_TRUE(e);
        DibCanvas canvas(40, 40, kWhite);
        Draw(e.get(), canvas);
        EXPECT_EQ(0, canvas.Painted()) << rwtest::Utf8(markup);
    }
}

TEST(MarkupShape, GradientFillOfARectangleKeepsItsGradient)
{
    markuptest::Context context;
    ElementPtr e = Layout(context,
                          L"<Rectangle><Rectangle.Fill><LinearGradientBrush>"
                          L"<GradientStop Offset=\"0\" Color=\"Red\"/><GradientStop Offset=\"1\" Color=\"Blue\"/>"
                          L"</LinearGradientBrush></Rectangle.Fill></Rectangle>",
                          {5, 5, 55, 55});
    ASSERT_TRUE(e);
    DibCanvas canvas(60, 60, kLime);
    Draw(e.get(), canvas);
    // Along the diagonal from red to blue: a pixel takes the colour of the point below its top
    // left corner, so the top-left one is at 1 % and the bottom-right one at 99 %; the other two
    // corners are half way.
    EXPECT_EQ(RGB(252, 0, 2), canvas.At(5, 5));
    EXPECT_EQ(RGB(2, 0, 252), canvas.At(54, 54));
    EXPECT_EQ(RGB(127, 0, 127), canvas.At(54, 5));
    EXPECT_EQ(RGB(127, 0, 127), canvas.At(5, 54));
    EXPECT_EQ(kLime, canvas.At(4, 4));
    EXPECT_EQ(kLime, canvas.At(55, 55));
}

TEST(MarkupShape, HitTests)
{
    struct HitCase
    {
        LPCWSTR markup;
        RECT slot;
        POINT point; // in the slot's coordinates
        BOOL hit;
    };
    const HitCase cases[] = {
        {L"<Rectangle Fill=\"Red\"/>", {10, 10, 50, 30}, {10, 10}, TRUE},
        {L"<Rectangle/>", {10, 10, 50, 30}, {49, 29}, TRUE},
        {L"<Rectangle Fill=\"Red\"/>", {10, 10, 50, 30}, {50, 30}, FALSE},
        {L"<Ellipse/>", {10, 10, 50, 30}, {30, 20}, TRUE},
        {L"<Ellipse/>", {10, 10, 50, 30}, {49, 20}, TRUE},
        {L"<Ellipse/>", {10, 10, 50, 30}, {11, 11}, FALSE},
        {L"<Ellipse/>", {10, 10, 50, 30}, {48, 28}, FALSE},
        // One pixel thin ellipses are hit anywhere in their box.
        {L"<Ellipse Width=\"1\" Height=\"20\"/>", {0, 0, 1, 20}, {0, 10}, TRUE},
        {L"<Ellipse Width=\"1\" Height=\"20\"/>", {0, 0, 1, 20}, {0, 0}, TRUE},
        {L"<Ellipse Width=\"30\" Height=\"1\"/>", {0, 0, 30, 1}, {29, 0}, TRUE},
        {L"<Ellipse Width=\"30\" Height=\"1\"/>", {0, 0, 30, 1}, {29, 1}, FALSE},
        {L"<Polygon Points=\"0,0 20,0 10,20\"/>", {0, 0, 20, 20}, {1, 19}, TRUE},
        // A diagonal line of width 1 is hit within half a pixel of it, not far from it in its box.
        {L"<Line X2=\"30\" Y2=\"30\" Stroke=\"Red\"/>", {0, 0, 40, 40}, {15, 15}, TRUE},
        {L"<Line X2=\"30\" Y2=\"30\" Stroke=\"Red\"/>", {0, 0, 40, 40}, {15, 16}, FALSE},
        {L"<Line X2=\"30\" Y2=\"30\" Stroke=\"Red\"/>", {0, 0, 40, 40}, {0, 29}, FALSE},
        {L"<Line X2=\"30\" Y2=\"30\" Stroke=\"Red\"/>", {0, 0, 40, 40}, {35, 35}, FALSE},
        {L"<Line X2=\"30\" Y2=\"30\" Stroke=\"Red\" StrokeThickness=\"4\"/>", {0, 0, 40, 40}, {15, 17}, TRUE},
        {L"<Line X2=\"30\" Y2=\"10\" Stroke=\"Red\"/>", {0, 0, 40, 40}, {15, 5}, TRUE},
        {L"<Line X2=\"30\" Y2=\"10\" Stroke=\"Red\"/>", {0, 0, 40, 40}, {15, 7}, FALSE},
        {L"<Line X1=\"10\" Y2=\"30\" X2=\"10\" Stroke=\"Red\" StrokeThickness=\"4\"/>", {0, 0, 40, 40}, {12, 5}, TRUE},
        {L"<Line X1=\"10\" Y2=\"30\" X2=\"10\" Stroke=\"Red\" StrokeThickness=\"4\"/>", {0, 0, 40, 40}, {13, 5}, FALSE},
        // Without a stroke, or with a zero one, a line is never hit.
        {L"<Line X2=\"30\" Y2=\"30\"/>", {0, 0, 40, 40}, {15, 15}, FALSE},
        {L"<Line X2=\"30\" Y2=\"30\" Stroke=\"Red\" StrokeThickness=\"0\"/>", {0, 0, 40, 40}, {15, 15}, FALSE},
    };
    markuptest::Context context;
    for (const HitCase& c : cases)
    {
        ElementPtr e = Layout(context, c.markup, c.slot);
        ASSERT_TRUE(e);
        CWVPMarkupInputElement* hit = e->InputHitTest(c.point);
        EXPECT_EQ(c.hit ? e.get() : nullptr, hit) << rwtest::Utf8(c.markup) << " at " << c.point.x << "," << c.point.y;
    }
}
