// Invalidations of elements reach the host window: a change that keeps the layout repaints the
// element's rectangle only, a change of a root's desired size repaints the whole client area.
#include "MarkupFixture.h"
#include "MarkupTestElements.h"
#include "uilib/markup/MarkupEntryPoints.h"

#include <functional>

namespace
{
const int kClientWidth = 200;
const int kClientHeight = 120;
const int kInset = 15;
const LPCWSTR kClassName = L"RwMarkupInvalidationHost";

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// What a change left to repaint: the bounding box of the update region and whether the region is
// that one rectangle.
struct Update
{
    RECT box;
    bool rectangle;
    HRGN region; // owned by the fixture
    bool Covers(const RECT& r) const
    {
        return ::PtInRegion(region, (r.left + r.right) / 2, (r.top + r.bottom) / 2) != FALSE;
    }
};

std::string Text(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

class MarkupInvalidation : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kClassName;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        ::RegisterClassW(&wc);
        m_hwnd = ::CreateWindowExW(0, kClassName, L"markup", WS_POPUP | WS_VISIBLE, 10, 10, kClientWidth, kClientHeight,
                                   nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(nullptr, m_hwnd);
        ::UpdateWindow(m_hwnd);
        m_context = MarkupCreateContext(m_hwnd);
        // A text block of fixed size at a margin, inside a frame that insets it.
        m_block = MarkupParseText(m_context, L"<TextBlock Margin='10,20,0,0' HorizontalAlignment='Left' "
                                             L"VerticalAlignment='Top' Width='50' Height='30'>text</TextBlock>");
        ASSERT_NE(nullptr, m_block);
        m_root = markuptest::Adopt(m_context, new markuptest::Frame(m_block, kInset));
        MarkupMeasureElement(m_root, kClientWidth, kClientHeight);
        HDC dc = ::GetDC(m_hwnd);
        RECT client = {0, 0, kClientWidth, kClientHeight};
        EXPECT_TRUE(MarkupRenderElement(m_root, dc, &client));
        ::ReleaseDC(m_hwnd, dc);
    }
    void TearDown() override
    {
        MarkupReleaseElement(&m_root);
        MarkupReleaseContext(&m_context);
        if (m_hwnd)
            ::DestroyWindow(m_hwnd);
        if (m_region)
            ::DeleteObject(m_region);
    }

    Update After(const std::function<void()>& change)
    {
        ::ValidateRect(m_hwnd, nullptr);
        change();
        if (!m_region)
            m_region = ::CreateRectRgn(0, 0, 0, 0);
        Update update = {{0, 0, 0, 0}, false, m_region};
        if (::GetUpdateRgn(m_hwnd, m_region, FALSE) != ERROR)
            update.rectangle = ::GetRgnBox(m_region, &update.box) == SIMPLEREGION;
        return update;
    }

    HWND m_hwnd = nullptr;
    CWVPMarkupContext* m_context = nullptr;
    CWVPMarkupUIElement* m_block = nullptr;
    CWVPMarkupUIElement* m_root = nullptr;
    HRGN m_region = nullptr;
};

CWVPMarkupDependencyProperty* Property(CWVPMarkupObject* o, LPCWSTR name)
{
    return CWVPMarkupDependencyProperty::FindProperty(o->GetType(), name);
}
} // namespace

TEST_F(MarkupInvalidation, ChangesRepaintTheElementOrTheWholeClientArea)
{
    // The text block sits at the frame's inset plus its margin.
    const RECT block = {kInset + 10, kInset + 20, kInset + 60, kInset + 50};
    const RECT client = {0, 0, kClientWidth, kClientHeight};
    EXPECT_EQ(Text(block), Text(m_context->GetElementRect(m_block)));
    EXPECT_EQ(Text(client), Text(m_context->GetElementRect(m_root)));

    struct Case
    {
        const char* change;
        LPCWSTR property;
        std::function<CWVPMarkupObject*()> value;
        RECT expected;
    };
    const Case cases[] = {
        {"a colour", L"Foreground", [] { return new CWVPMarkupSolidColorBrush(RGB(255, 0, 0)); }, block},
        {"a limit that keeps the size", L"MinWidth", [] { return new CWVPMarkupInt(40); }, block},
        {"the width", L"Width", [] { return new CWVPMarkupInt(80); }, client},
        {"the margin", L"Margin", [] { return new CWVPMarkupThickness(1, 2, 3, 4); }, client},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.change);
        CWVPMarkupDependencyProperty* property = Property(m_block, c.property);
        ASSERT_NE(nullptr, property);
        Update update = After([&] { m_block->SetValue(property, c.value()); });
        EXPECT_TRUE(update.rectangle);
        EXPECT_EQ(Text(c.expected), Text(update.box));
    }
}

TEST_F(MarkupInvalidation, AnElementThatMovesRepaintsWhereItWasAndWhereItIs)
{
    // Each change keeps the text block's size and moves it within the frame.
    struct Case
    {
        const char* change;
        LPCWSTR property;
        std::function<CWVPMarkupObject*()> value;
        RECT from, to;
    };
    const Case cases[] = {
        {"a margin of the same total",
         L"Margin",
         [] { return new CWVPMarkupThickness(0, 20, 10, 0); },
         {25, 35, 75, 65},
         {15, 35, 65, 65}},
        {"the alignment",
         L"HorizontalAlignment",
         [] { return CWVPMarkupEnum::CreateValue(2); },
         {15, 35, 65, 65},
         {125, 35, 175, 65}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.change);
        ASSERT_EQ(Text(c.from), Text(m_context->GetElementRect(m_block)));
        Update update = After([&] { m_block->SetValue(Property(m_block, c.property), c.value()); });
        EXPECT_EQ(Text(c.to), Text(m_context->GetElementRect(m_block)));
        RECT both;
        ::UnionRect(&both, &c.from, &c.to);
        EXPECT_EQ(Text(both), Text(update.box));
        EXPECT_TRUE(update.Covers(c.from));
        EXPECT_TRUE(update.Covers(c.to));
    }
}

TEST_F(MarkupInvalidation, TextContentUsesTheRectangleOfItsTextBlock)
{
    CWVPMarkupObject* run = nullptr;
    std::function<void(CWVPMarkupObject*)> find = [&](CWVPMarkupObject* o) {
        if (o->IsKindOf(CWVPMarkupRun::Type()))
            run = o;
        for (int i = 0; i < o->GetLogicalChildrenCount() && !run; ++i)
            if (CWVPMarkupObject* child = o->GetLogicalChild(i))
                find(child);
    };
    find(m_block);
    ASSERT_NE(nullptr, run);
    EXPECT_EQ(Text(m_context->GetElementRect(m_block)),
              Text(m_context->GetElementRect(static_cast<CWVPMarkupInputElement*>(run))));
}

TEST_F(MarkupInvalidation, AContextWithoutWindowInvalidatesNothing)
{
    CWVPMarkupContext* windowless = MarkupCreateContext(nullptr);
    CWVPMarkupUIElement* element = MarkupParseText(windowless, L"<TextBlock Width='5' Height='5'/>");
    RECT rect = {0, 0, 50, 50};
    MarkupMeasureElement(element, 50, 50);
    HDC dc = ::GetDC(m_hwnd);
    MarkupRenderElement(element, dc, &rect);
    ::ReleaseDC(m_hwnd, dc);
    Update update = After([&] {
        element->SetValue(Property(element, L"Width"), new CWVPMarkupInt(9));
        element->SetValue(Property(element, L"Foreground"), new CWVPMarkupSolidColorBrush(RGB(0, 0, 255)));
    });
    EXPECT_TRUE(::IsRectEmpty(&update.box)) << Text(update.box);
    MarkupReleaseElement(&element);
    MarkupReleaseContext(&windowless);
}
