// The flat entry points: null arguments, parse failures that leave nothing behind, rendering into
// a bitmap at an offset, and contexts and elements released in either order.
#include "DibCanvas.h"
#include "MarkupFixture.h"
#include "MarkupTestElements.h"
#include "uilib/markup/MarkupEntryPoints.h"

namespace
{
const int kUnbounded = 2147483647;

// A context that reports its deletion.
class WatchedContext : public CWVPMarkupContext
{
  public:
    explicit WatchedContext(bool* deleted) : m_deleted(deleted)
    {
    }
    ~WatchedContext() override
    {
        *m_deleted = true;
    }

  private:
    bool* m_deleted;
};
} // namespace

TEST(MarkupEntryPoints, NullArgumentsAreTolerated)
{
    CWVPMarkupContext* context = MarkupCreateContext(nullptr);
    ASSERT_NE(nullptr, context);
    CWVPMarkupUIElement* element = MarkupParseText(context, L"<TextBlock/>");
    ASSERT_NE(nullptr, element);
    DibCanvas canvas(8, 8);
    RECT rect = {0, 0, 8, 8};

    EXPECT_EQ(nullptr, MarkupParseText(nullptr, L"<TextBlock/>"));
    EXPECT_EQ(nullptr, MarkupParseText(context, nullptr));
    EXPECT_EQ(nullptr, MarkupGetElementContext(nullptr));
    SIZE none = MarkupMeasureElement(nullptr, 10, 10);
    EXPECT_EQ(0, none.cx);
    EXPECT_EQ(0, none.cy);
    EXPECT_FALSE(MarkupRenderElement(nullptr, canvas.dc(), &rect));
    EXPECT_FALSE(MarkupRenderElement(element, nullptr, &rect));
    EXPECT_FALSE(MarkupRenderElement(element, canvas.dc(), nullptr));
    LRESULT result = 7;
    EXPECT_FALSE(MarkupRelayMessage(nullptr, WM_MOUSEMOVE, 0, 0, &result));
    EXPECT_EQ(7, result);
    // A context without window handles no message.
    EXPECT_FALSE(MarkupRelayMessage(element, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2), &result));
    EXPECT_FALSE(MarkupRelayMessage(element, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2), nullptr));
    MarkupSetDefaultFont(nullptr, static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)), 255);
    MarkupReleaseContext(nullptr);
    MarkupReleaseElement(nullptr);
    CWVPMarkupContext* noContext = nullptr;
    CWVPMarkupUIElement* noElement = nullptr;
    MarkupReleaseContext(&noContext);
    MarkupReleaseElement(&noElement);
    EXPECT_EQ(0, canvas.Painted());

    EXPECT_EQ(context, MarkupGetElementContext(element));
    MarkupReleaseElement(&element);
    EXPECT_EQ(nullptr, element);
    MarkupReleaseContext(&context);
    EXPECT_EQ(nullptr, context);
}

TEST(MarkupEntryPoints, FailedParsesReturnNullAndLeaveNothingBehind)
{
    CWVPMarkupContext* context = MarkupCreateContext(nullptr);
    // Warm up the shared values and types.
    CWVPMarkupUIElement* warm = MarkupParseText(context, L"<StackPanel><TextBlock>a</TextBlock></StackPanel>");
    ASSERT_NE(nullptr, warm);
    MarkupReleaseElement(&warm);
    const LPCWSTR failures[] = {
        L"",
        L"<StackPanel><TextBlock>unclosed</StackPanel>",
        L"<Nothing/>",
        L"<TextBlock NoSuchProperty='1'/>",
        L"<TextBlock MouseEnter='MissingHandler'/>",
        // Roots that are not UI elements.
        L"<SolidColorBrush Color='Red'/>",
        L"<LinearGradientBrush><GradientStop Offset='0' Color='Red'/></LinearGradientBrush>",
        L"<Run>text</Run>",
        L"just text",
    };
    const LONG objects = CWVPMarkupObject::GetLiveObjectCount();
    const LONG references = context->GetRefCount();
    for (LPCWSTR text : failures)
    {
        SCOPED_TRACE(rwtest::Utf8(text));
        EXPECT_EQ(nullptr, MarkupParseText(context, text));
        EXPECT_EQ(objects, CWVPMarkupObject::GetLiveObjectCount());
        EXPECT_EQ(references, context->GetRefCount());
    }
    // The context still parses.
    CWVPMarkupUIElement* root = MarkupParseText(context, L"<TextBlock Width='12' Height='5'/>");
    ASSERT_NE(nullptr, root);
    EXPECT_EQ("TextBlock", markuptest::ClassName(root));
    SIZE size = MarkupMeasureElement(root, kUnbounded, kUnbounded);
    EXPECT_EQ(12, size.cx);
    EXPECT_EQ(5, size.cy);
    MarkupReleaseElement(&root);
    EXPECT_EQ(objects, CWVPMarkupObject::GetLiveObjectCount());
    MarkupReleaseContext(&context);
}

TEST(MarkupEntryPoints, ContextsAndElementsAreReleasedInEitherOrder)
{
    for (bool contextFirst : {true, false})
    {
        SCOPED_TRACE(contextFirst ? "context first" : "element first");
        const LONG objects = CWVPMarkupObject::GetLiveObjectCount();
        bool deleted = false;
        CWVPMarkupContext* context = new WatchedContext(&deleted);
        CWVPMarkupUIElement* root = MarkupParseText(context, L"<StackPanel><TextBlock>a b</TextBlock></StackPanel>");
        ASSERT_NE(nullptr, root);
        CWVPMarkupContext* held = context;
        if (contextFirst)
        {
            MarkupReleaseContext(&context);
            EXPECT_FALSE(deleted);
            // The element keeps its context: it still measures and draws.
            EXPECT_EQ(held, MarkupGetElementContext(root));
            MarkupSetDefaultFont(held, nullptr, RGB(0, 0, 255));
            MarkupMeasureElement(root, 50, 50);
            DibCanvas canvas(50, 50);
            RECT rect = {0, 0, 50, 50};
            EXPECT_TRUE(MarkupRenderElement(root, canvas.dc(), &rect));
            MarkupReleaseElement(&root);
        }
        else
        {
            MarkupReleaseElement(&root);
            EXPECT_FALSE(deleted);
            EXPECT_EQ(1, context->GetRefCount());
            MarkupReleaseContext(&context);
        }
        EXPECT_TRUE(deleted);
        EXPECT_EQ(objects, CWVPMarkupObject::GetLiveObjectCount());
    }
}

TEST(MarkupEntryPoints, RendersIntoTheRectangleAtAnOffset)
{
    CWVPMarkupContext* context = MarkupCreateContext(nullptr);
    CWVPMarkupUIElement* swatch = markuptest::Adopt(context, new markuptest::Swatch(RGB(200, 30, 40), SIZE{20, 10}));
    SIZE desired = MarkupMeasureElement(swatch, kUnbounded, kUnbounded);
    EXPECT_EQ(20, desired.cx);
    EXPECT_EQ(10, desired.cy);

    DibCanvas canvas(120, 80);
    ::SetViewportOrgEx(canvas.dc(), 0, 0, nullptr);
    const int mode = ::GetBkMode(canvas.dc());
    const RECT rect = {30, 20, 90, 60};
    EXPECT_TRUE(MarkupRenderElement(swatch, canvas.dc(), &rect));
    // The swatch stretches over the rectangle and nowhere else.
    EXPECT_EQ(0, canvas.Differences([&](int x, int y) -> DWORD {
        POINT p = {x, y};
        return ::PtInRect(&rect, p) ? 0xC81E28 : 0xFFFFFF;
    }));
    // The caller's device context is left as it was.
    POINT origin = {-1, -1};
    ::GetViewportOrgEx(canvas.dc(), &origin);
    EXPECT_EQ(0, origin.x);
    EXPECT_EQ(0, origin.y);
    EXPECT_EQ(mode, ::GetBkMode(canvas.dc()));

    // A tree inside the rectangle, on a device context whose origin the caller has moved: the
    // offsets add up.
    CWVPMarkupUIElement* inner = markuptest::Adopt(context, new markuptest::Swatch(RGB(20, 160, 60), SIZE{4, 4}));
    CWVPMarkupUIElement* frame = markuptest::Adopt(context, new markuptest::Frame(inner, 5));
    canvas.Fill(RGB(255, 255, 255));
    ::SetViewportOrgEx(canvas.dc(), 10, 7, nullptr);
    EXPECT_TRUE(MarkupRenderElement(frame, canvas.dc(), &rect));
    const RECT drawn = {rect.left + 10 + 5, rect.top + 7 + 5, rect.right + 10 - 5, rect.bottom + 7 - 5};
    EXPECT_EQ(0, canvas.Differences([&](int x, int y) -> DWORD {
        POINT p = {x, y};
        return ::PtInRect(&drawn, p) ? 0x14A03C : 0xFFFFFF;
    }));
    ::GetViewportOrgEx(canvas.dc(), &origin);
    EXPECT_EQ(10, origin.x);
    EXPECT_EQ(7, origin.y);
    MarkupReleaseElement(&frame);
    ::SetViewportOrgEx(canvas.dc(), 0, 0, nullptr);

    // Empty and inverted rectangles draw nothing.
    canvas.Fill(RGB(255, 255, 255));
    const RECT empty[] = {{30, 20, 30, 60}, {30, 20, 90, 20}, {90, 60, 30, 20}, {0, 0, -5, -5}};
    for (const RECT& r : empty)
        EXPECT_FALSE(MarkupRenderElement(swatch, canvas.dc(), &r));
    EXPECT_EQ(0, canvas.Painted());
    // Negative available sizes measure as nothing available.
    SIZE none = MarkupMeasureElement(swatch, -10, -10);
    EXPECT_EQ(0, none.cx);
    EXPECT_EQ(0, none.cy);

    MarkupReleaseElement(&swatch);
    MarkupReleaseContext(&context);
}
