// The markup context: its font cache, the default font and text colour, and the tooltip context it
// owns.
#include "MarkupFixture.h"
#include "MarkupTestElements.h"
#include "uilib/markup/MarkupEntryPoints.h"
#include "uilib/markup/MarkupTooltipContext.h"

namespace
{
const int kUnbounded = 2147483647;

LOGFONTW MonoFont(int height)
{
    LOGFONTW lf = {};
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    ::lstrcpyW(lf.lfFaceName, L"DejaVu Sans Mono");
    return lf;
}

// A GDI font that deletes itself.
class FontHandle
{
  public:
    explicit FontHandle(const LOGFONTW& lf) : m_font(::CreateFontIndirectW(&lf))
    {
    }
    ~FontHandle()
    {
        ::DeleteObject(m_font);
    }
    operator HFONT() const
    {
        return m_font;
    }
    // The width of a text in this font.
    int Width(LPCWSTR text) const
    {
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, m_font);
        SIZE size = {0, 0};
        ::GetTextExtentPoint32W(dc, text, ::lstrlenW(text), &size);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        return size.cx;
    }

  private:
    HFONT m_font;
};
} // namespace

TEST(MarkupContext, FontCacheSharesFontsThatDifferOnlyInRendering)
{
    markuptest::Context context;
    LOGFONTW base = MonoFont(-13);
    CWVPMarkupFont* first = context->GetFont(base);
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, first->GetHandle());

    struct Case
    {
        const char* change;
        void (*apply)(LOGFONTW&);
        bool shared;
    };
    const Case cases[] = {
        {"quality", [](LOGFONTW& lf) { lf.lfQuality = CLEARTYPE_QUALITY; }, true},
        {"width", [](LOGFONTW& lf) { lf.lfWidth = 3; }, true},
        {"pitch and family", [](LOGFONTW& lf) { lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN; }, true},
        {"height", [](LOGFONTW& lf) { lf.lfHeight = -20; }, false},
        {"weight", [](LOGFONTW& lf) { lf.lfWeight = FW_BOLD; }, false},
        {"italic", [](LOGFONTW& lf) { lf.lfItalic = TRUE; }, false},
        {"underline", [](LOGFONTW& lf) { lf.lfUnderline = TRUE; }, false},
        {"face name case", [](LOGFONTW& lf) { ::lstrcpyW(lf.lfFaceName, L"dejavu sans mono"); }, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.change);
        LOGFONTW lf = base;
        c.apply(lf);
        CWVPMarkupFont* font = context->GetFont(lf);
        EXPECT_EQ(c.shared, font == first);
        if (!c.shared)
        {
            // The new font is made from its own description.
            LOGFONTW made = {};
            ::GetObjectW(font->GetHandle(), sizeof(made), &made);
            EXPECT_EQ(lf.lfHeight, made.lfHeight);
            EXPECT_EQ(lf.lfWeight, made.lfWeight);
            EXPECT_EQ(lf.lfItalic, made.lfItalic);
        }
        font->Release();
    }
    EXPECT_EQ(1, first->GetRefCount());

    // A font released by everyone leaves the cache: the next request makes a new one, which works.
    HFONT handle = first->GetHandle();
    first->Release();
    EXPECT_EQ(0, ::GetObjectType(handle));
    CWVPMarkupFont* again = context->GetFont(base);
    EXPECT_EQ(OBJ_FONT, static_cast<int>(::GetObjectType(again->GetHandle())));
    again->Release();
}

TEST(MarkupContext, FontsMayOutliveTheCacheListOfTheirContext)
{
    CWVPMarkupContext* context = MarkupCreateContext(nullptr);
    CWVPMarkupFont* font = context->GetFont(MonoFont(-13));
    MarkupReleaseContext(&context);
    HFONT handle = font->GetHandle();
    EXPECT_EQ(OBJ_FONT, static_cast<int>(::GetObjectType(handle)));
    font->Release();
    EXPECT_EQ(0, ::GetObjectType(handle));
}

TEST(MarkupContext, DefaultFontAndTextColour)
{
    markuptest::Context context;
    // The message-box font of the system at first, black text.
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    EXPECT_EQ(metrics.lfMessageFont.lfHeight, context->GetDefaultFont().lfHeight);
    EXPECT_EQ(std::string(rwtest::Utf8(metrics.lfMessageFont.lfFaceName)),
              rwtest::Utf8(context->GetDefaultFont().lfFaceName));
    EXPECT_EQ(RGB(0, 0, 0), context->GetDefaultTextColor());

    LOGFONTW before = context->GetDefaultFont();
    MarkupSetDefaultFont(context.Get(), nullptr, static_cast<COLORREF>(-1));
    EXPECT_EQ(RGB(0, 0, 0), context->GetDefaultTextColor());
    MarkupSetDefaultFont(context.Get(), nullptr, RGB(255, 0, 0));
    EXPECT_EQ(RGB(255, 0, 0), context->GetDefaultTextColor());
    // A handle that is not a font leaves the default as it was.
    MarkupSetDefaultFont(context.Get(), reinterpret_cast<HFONT>(::GetStockObject(BLACK_BRUSH)), RGB(0, 128, 0));
    EXPECT_EQ(0, ::memcmp(&before, &context->GetDefaultFont(), sizeof(before)));
    EXPECT_EQ(RGB(0, 128, 0), context->GetDefaultTextColor());

    FontHandle mono(MonoFont(-17));
    MarkupSetDefaultFont(context.Get(), mono, static_cast<COLORREF>(-1));
    EXPECT_EQ(-17, context->GetDefaultFont().lfHeight);
    EXPECT_EQ("DejaVu Sans Mono", rwtest::Utf8(context->GetDefaultFont().lfFaceName));
    EXPECT_EQ(RGB(0, 128, 0), context->GetDefaultTextColor());
}

TEST(MarkupContext, ANewDefaultFontMeasuresTheTreesAgain)
{
    CWVPMarkupContext* context = MarkupCreateContext(nullptr);
    markuptest::FontProbe* probe = markuptest::Adopt(context, new markuptest::FontProbe());
    CWVPMarkupUIElement* root = markuptest::Adopt(context, new markuptest::Frame(probe, 3));
    FontHandle smallFont(MonoFont(-12));
    FontHandle largeFont(MonoFont(-24));

    MarkupSetDefaultFont(context, smallFont, static_cast<COLORREF>(-1));
    SIZE first = MarkupMeasureElement(root, kUnbounded, kUnbounded);
    EXPECT_EQ(smallFont.Width(L"MMMM") + 6, first.cx);
    EXPECT_EQ(1, probe->Measures());

    // The host sets its font before every measure: a new font measures the whole tree again.
    MarkupSetDefaultFont(context, largeFont, static_cast<COLORREF>(-1));
    SIZE second = MarkupMeasureElement(root, kUnbounded, kUnbounded);
    EXPECT_EQ(largeFont.Width(L"MMMM") + 6, second.cx);
    EXPECT_GT(second.cx, first.cx);
    EXPECT_EQ(2, probe->Measures());

    // The same description again, from another handle, and a colour alone change nothing.
    FontHandle largeFontAgain(MonoFont(-24));
    MarkupSetDefaultFont(context, largeFontAgain, static_cast<COLORREF>(-1));
    MarkupSetDefaultFont(context, nullptr, RGB(10, 20, 30));
    SIZE third = MarkupMeasureElement(root, kUnbounded, kUnbounded);
    EXPECT_EQ(second.cx, third.cx);
    EXPECT_EQ(2, probe->Measures());

    MarkupReleaseElement(&root);
    MarkupReleaseContext(&context);
}

TEST(MarkupContext, OwnsItsTooltipContext)
{
    CWVPMarkupContext* context = MarkupCreateContext(nullptr);
    CWVPMarkupContext::CTooltipContext* tips = context->GetTooltipContext();
    ASSERT_NE(nullptr, tips);
    EXPECT_EQ(context, tips->GetMarkupContext());
    EXPECT_EQ(0, tips->GetStyle());
    EXPECT_EQ(nullptr, tips->GetToolTip());
    // Someone else's reference keeps the tooltip context, which forgets the markup context.
    tips->InternalAddRef();
    MarkupReleaseContext(&context);
    EXPECT_EQ(nullptr, tips->GetMarkupContext());
    EXPECT_EQ(1, tips->m_dwRef);
    tips->InternalRelease();
}
