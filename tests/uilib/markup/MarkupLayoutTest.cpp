// The element core without a window: a framework element's measure and arrange with sizes,
// limits, margins and alignment, the layout cache, and brushes drawn into a DIB section.
#include "MarkupFixture.h"

#include "DibCanvas.h"
#include "uilib/markup/MarkupDrawingContext.h"

#include <climits>

namespace
{
// A framework element whose content wants a fixed size, counting its core steps.
class ContentElement : public CWVPMarkupFrameworkElement
{
  public:
    SIZE want = {0, 0};
    int measures = 0;
    int arranges = 0;
    SIZE MeasureOverride(CWVPMarkupDrawingContext*, int, int) override
    {
        ++measures;
        return want;
    }
    SIZE ArrangeOverride(int w, int h) override
    {
        ++arranges;
        return {w, h};
    }
};

struct LayoutCase
{
    LPCWSTR attributes; // "Width=50 MinWidth=80" style: markup attributes applied by the test
    int wantW, wantH;   // content size
    RECT slot;          // arrange rectangle
    SIZE desired;       // expected desired size (for an available size of the slot)
    POINT offset;       // expected visual offset
    SIZE render;        // expected render size
    BOOL clip;          // expected needs-clip
};

const LayoutCase kLayouts[] = {
    {L"", 40, 20, {0, 0, 100, 50}, {40, 20}, {0, 0}, {100, 50}, FALSE},
    {L"Width=\"50\"", 40, 20, {0, 0, 100, 50}, {50, 20}, {25, 0}, {50, 50}, TRUE},
    {L"Width=\"50\" MinWidth=\"80\"", 40, 20, {0, 0, 100, 50}, {80, 20}, {10, 0}, {80, 50}, TRUE},
    {L"Margin=\"5,6,7,8\"", 40, 20, {10, 10, 110, 60}, {52, 34}, {15, 16}, {88, 36}, FALSE},
    {L"HorizontalAlignment=\"Left\" VerticalAlignment=\"Top\"", 40, 20, {0, 0, 100, 50}, {40, 20}, {0, 0}, {40, 20}, FALSE},
    {L"HorizontalAlignment=\"Right\" VerticalAlignment=\"Bottom\"", 40, 20, {0, 0, 100, 50}, {40, 20}, {60, 30}, {40, 20}, FALSE},
    {L"HorizontalAlignment=\"Center\" VerticalAlignment=\"Center\"", 41, 21, {0, 0, 100, 50}, {41, 21}, {29, 14}, {41, 21}, FALSE},
    {L"HorizontalAlignment=\"Left\"", 200, 20, {0, 0, 100, 50}, {100, 20}, {0, 0}, {200, 50}, TRUE},
    {L"", 200, 20, {0, 0, 100, 50}, {100, 20}, {0, 0}, {200, 50}, TRUE},
    {L"HorizontalAlignment=\"Center\"", 200, 20, {0, 0, 100, 50}, {100, 20}, {-50, 0}, {200, 50}, TRUE},
    {L"MaxWidth=\"30\" MaxHeight=\"10\"", 40, 20, {0, 0, 100, 50}, {30, 10}, {35, 20}, {40, 20}, TRUE},
    {L"Margin=\"80\"", 10, 10, {0, 0, 100, 50}, {100, 50}, {80, 80}, {10, 10}, TRUE},
    {L"Height=\"30\" MaxHeight=\"20\"", 10, 10, {0, 0, 100, 50}, {10, 20}, {0, 15}, {100, 20}, TRUE},
    {L"MinHeight=\"70\"", 10, 10, {0, 0, 100, 50}, {10, 50}, {0, 0}, {100, 70}, TRUE},
};

// Applies attribute text through the builder's rules by parsing a probe element and copying its values.
void Apply(markuptest::Context& context, CWVPMarkupObject* target, LPCWSTR attributes)
{
    WCHAR markup[512];
    wsprintfW(markup, L"<FrameworkElement %s/>", attributes);
    CWVPMarkupObject* probe = context.Parse(markup);
    ASSERT_NE(nullptr, probe) << context.Error();
    CWVPMarkupDependencyProperty* props[] = {
        CWVPMarkupFrameworkElement::s_pWidthProperty,     CWVPMarkupFrameworkElement::s_pHeightProperty,
        CWVPMarkupFrameworkElement::s_pMinWidthProperty,  CWVPMarkupFrameworkElement::s_pMinHeightProperty,
        CWVPMarkupFrameworkElement::s_pMaxWidthProperty,  CWVPMarkupFrameworkElement::s_pMaxHeightProperty,
        CWVPMarkupFrameworkElement::s_pMarginProperty,    CWVPMarkupFrameworkElement::s_pHorizontalAlignmentProperty,
        CWVPMarkupFrameworkElement::s_pVerticalAlignmentProperty};
    for (CWVPMarkupDependencyProperty* p : props)
    {
        if (CWVPMarkupObject* v = probe->GetValueCore(p))
        {
            v->AddRef();
            target->SetValue(p, v);
        }
    }
    probe->Release();
}
} // namespace

TEST(MarkupLayout, FrameworkElementSizesAndOffsets)
{
    markuptest::Context context;
    for (const LayoutCase& c : kLayouts)
    {
        ContentElement* e = new ContentElement();
        Apply(context, e, c.attributes);
        e->want = {c.wantW, c.wantH};
        CWVPMarkupDrawingContext dc;
        e->Measure(&dc, c.slot.right - c.slot.left, c.slot.bottom - c.slot.top);
        e->Arrange(c.slot);
        std::string what = rwtest::Utf8(c.attributes);
        EXPECT_EQ(c.desired.cx, e->GetDesiredSize().cx) << what;
        EXPECT_EQ(c.desired.cy, e->GetDesiredSize().cy) << what;
        EXPECT_EQ(c.offset.x, e->GetVisualOffset().x) << what;
        EXPECT_EQ(c.offset.y, e->GetVisualOffset().y) << what;
        EXPECT_EQ(c.render.cx, e->GetRenderSize().cx) << what;
        EXPECT_EQ(c.render.cy, e->GetRenderSize().cy) << what;
        EXPECT_EQ(c.clip, e->NeedsClip()) << what;
        e->Release();
    }
}

TEST(MarkupLayout, MeasureAndArrangeAreCached)
{
    ContentElement* e = new ContentElement();
    e->want = {10, 10};
    CWVPMarkupDrawingContext dc;
    e->Measure(&dc, 100, 100);
    e->Measure(&dc, 100, 100);
    EXPECT_EQ(1, e->measures);
    e->Measure(&dc, 90, 100);
    EXPECT_EQ(2, e->measures);
    RECT r = {0, 0, 90, 100};
    e->Arrange(r);
    e->Arrange(r);
    EXPECT_EQ(1, e->arranges);
    e->InvalidateArrange();
    EXPECT_EQ(2, e->arranges);

    // A never-measured element is measured by its first arrange with the rectangle's size.
    ContentElement* fresh = new ContentElement();
    fresh->Arrange({0, 0, 30, 40});
    EXPECT_EQ(1, fresh->measures);

    // Collapsed measures to nothing without the core step; a width change re-measures.
    e->SetValue(CWVPMarkupUIElement::s_pVisibilityProperty, CWVPMarkupEnum::CreateValue(2));
    int before = e->measures;
    e->Measure(&dc, 50, 50);
    EXPECT_EQ(before, e->measures);
    EXPECT_EQ(0, e->GetDesiredSize().cx);
    e->SetValue(CWVPMarkupUIElement::s_pVisibilityProperty, nullptr);
    e->Measure(&dc, 50, 50);
    EXPECT_EQ(10, e->GetDesiredSize().cx);
    before = e->measures;
    e->SetValue(CWVPMarkupFrameworkElement::s_pWidthProperty, new CWVPMarkupInt(33));
    EXPECT_GT(e->measures, before);
    EXPECT_EQ(33, e->GetDesiredSize().cx);
    fresh->Release();
    e->Release();
}

TEST(MarkupLayout, GradientFillsItsCornersWithTheRightColours)
{
    markuptest::Context context;
    CWVPMarkupObject* root = context.Parse(
        L"<StackPanel><StackPanel.Background><LinearGradientBrush>"
        L"<GradientStop Offset=\"1\" Color=\"Blue\"/><GradientStop Offset=\"0\" Color=\"Red\"/>"
        L"</LinearGradientBrush></StackPanel.Background></StackPanel>");
    ASSERT_NE(nullptr, root) << context.Error();
    CWVPMarkupBrush* brush = static_cast<CWVPMarkupBrush*>(root->GetValue(CWVPMarkupPanel::s_pBackgroundProperty));
    ASSERT_NE(nullptr, brush);
    DibCanvas canvas(120, 120, RGB(0, 255, 0));
    {
        CWVPMarkupDrawingContext dc(canvas.dc());
        dc.FillRect(brush, {10, 10, 110, 110});
    }
    // The top-left pixel takes t = 0.005, the bottom-right t = 0.995 (stops given out of order).
    EXPECT_EQ(RGB(253, 0, 1), canvas.At(10, 10));
    EXPECT_EQ(RGB(1, 0, 253), canvas.At(109, 109));
    EXPECT_EQ(RGB(0, 255, 0), canvas.At(9, 9));
    EXPECT_EQ(RGB(0, 255, 0), canvas.At(110, 110));
    root->Release();

    // Vertical: every row one colour, the top row already at t = 0.1; equal points draw nothing.
    root = context.Parse(L"<StackPanel><StackPanel.Background><LinearGradientBrush StartPoint=\"0,0\" "
                         L"EndPoint=\"0,1\"><GradientStop Offset=\"0\" Color=\"Black\"/>"
                         L"<GradientStop Offset=\"1\" Color=\"White\"/></LinearGradientBrush>"
                         L"</StackPanel.Background></StackPanel>");
    ASSERT_NE(nullptr, root) << context.Error();
    brush = static_cast<CWVPMarkupBrush*>(root->GetValue(CWVPMarkupPanel::s_pBackgroundProperty));
    DibCanvas narrow(10, 10, RGB(0, 255, 0));
    {
        CWVPMarkupDrawingContext dc(narrow.dc());
        dc.FillRect(brush, {0, 0, 10, 10});
    }
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(narrow.At(0, 0), narrow.At(x, 0));
    EXPECT_EQ(RGB(25, 25, 25), narrow.At(0, 0));
    EXPECT_EQ(RGB(255, 255, 255), narrow.At(0, 9));
    root->Release();

    // A solid brush from text fills; one without colour fills nothing.
    DibCanvas plain(4, 4, RGB(1, 2, 3));
    {
        CWVPMarkupDrawingContext dc(plain.dc());
        CWVPMarkupSolidColorBrush empty;
        dc.FillRect(&empty, {0, 0, 4, 4});
        EXPECT_EQ(RGB(1, 2, 3), plain.At(0, 0));
        dc.FillSolidRect({0, 0, 2, 2}, RGB(0, 255, 0));
        dc.DrawFrame(nullptr, {0, 0, 4, 4});
    }
    EXPECT_EQ(RGB(0, 255, 0), plain.At(1, 1));
    EXPECT_EQ(RGB(1, 2, 3), plain.At(2, 2));
}

namespace
{
// An element that paints its render area in one colour.
class PaintedElement : public CWVPMarkupFrameworkElement
{
  public:
    explicit PaintedElement(COLORREF colour) : m_colour(colour) {}
    void OnRender(CWVPMarkupDrawingContext* dc) override
    {
        dc->FillSolidRect({0, 0, m_szRender.cx, m_szRender.cy}, m_colour);
    }
    COLORREF m_colour;
};
} // namespace

TEST(MarkupLayout, VisualsRenderAndHitTestInTheirParents)
{
    markuptest::Context context;
    CWVPMarkupPanel* panel = static_cast<CWVPMarkupPanel*>(context->CreateObject(CWVPMarkupPanel::Type()));
    PaintedElement* red = new PaintedElement(RGB(255, 0, 0));
    PaintedElement* blue = new PaintedElement(RGB(0, 0, 255));
    PaintedElement* hidden = new PaintedElement(RGB(0, 255, 0));
    hidden->SetValue(CWVPMarkupUIElement::s_pVisibilityProperty, CWVPMarkupEnum::CreateValue(1));
    panel->GetChildren()->Add(red);
    panel->GetChildren()->Add(blue);
    panel->GetChildren()->Add(hidden);
    panel->Arrange({0, 0, 20, 20});
    red->Arrange({2, 2, 12, 12});
    blue->Arrange({8, 8, 30, 30}); // reaches past the panel, which has no clip
    hidden->Arrange({0, 0, 20, 20});
    panel->UpdateBoundingBox();
    EXPECT_EQ(30, panel->GetBoundingBox().right);

    DibCanvas canvas(40, 40, RGB(255, 255, 255));
    {
        CWVPMarkupDrawingContext dc(canvas.dc());
        panel->Render(&dc);
    }
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(2, 2));
    EXPECT_EQ(RGB(0, 0, 255), canvas.At(9, 9));   // the later child is drawn over the earlier one
    EXPECT_EQ(RGB(0, 0, 255), canvas.At(29, 29)); // outside the panel's own area
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(1, 1));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(30, 30));

    // The highest index wins where children overlap; right and bottom edges are outside; a hidden
    // child is neither drawn nor hit.
    EXPECT_EQ(blue, panel->InputHitTest({9, 9}));
    EXPECT_EQ(red, panel->InputHitTest({7, 7}));
    EXPECT_EQ(nullptr, panel->InputHitTest({30, 30}));
    EXPECT_EQ(nullptr, panel->InputHitTest({35, 35}));
    EXPECT_EQ(red, panel->InputHitTest({11, 3}));
    EXPECT_NE(red, panel->InputHitTest({12, 3}));
    panel->Release();
}

// Taking a border or padding off a rectangle of "no limit" size, or a thickness near the int range,
// saturates instead of wrapping round; an edge that would cross the opposite one stops there.
TEST(MarkupLayout, ThicknessDeflateSaturates)
{
    const struct
    {
        RECT rect;
        CWVPMarkupThickness thickness;
        RECT expected;
    } cases[] = {
        {{0, 0, 100, 50}, {1, 2, 3, 4}, {1, 2, 97, 46}},
        {{0, 0, 10, 10}, {8, 8, 8, 8}, {8, 8, 8, 8}},
        {{0, 0, INT_MAX, INT_MAX}, {-5, -5, -5, -5}, {-5, -5, INT_MAX, INT_MAX}},
        {{10, 10, 20, 20}, {INT_MAX, INT_MAX, 0, 0}, {INT_MAX, INT_MAX, INT_MAX, INT_MAX}},
        {{-10, -10, 20, 20}, {INT_MIN, 0, INT_MIN, 0}, {INT_MIN, -10, INT_MAX, 20}},
    };
    for (const auto& c : cases)
    {
        const RECT r = CWVPMarkupThickness::DeflateRect(c.rect, &c.thickness);
        EXPECT_EQ(c.expected.left, r.left) << c.thickness.m_nLeft;
        EXPECT_EQ(c.expected.top, r.top) << c.thickness.m_nTop;
        EXPECT_EQ(c.expected.right, r.right) << c.thickness.m_nRight;
        EXPECT_EQ(c.expected.bottom, r.bottom) << c.thickness.m_nBottom;
    }
}
