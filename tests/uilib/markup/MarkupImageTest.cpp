// The image element: pictures from the program's resources (PNG, BMP, icon group), from a file and
// from the image manager's commands, measured at their own size and drawn scaled into a DIB
// section; broken and missing pictures leave an empty element.
#include "MarkupFixture.h"

#include <string>
#include <vector>

#include "DibCanvas.h"
#include "TestPaths.h"
#include "uilib/foundation/ImageManager.h"
#include "uilib/markup/MarkupDrawingContext.h"

namespace
{
using markuptest::ElementPtr;
using markuptest::Probe;

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kYellow = RGB(255, 255, 0);
const COLORREF kCyan = RGB(0, 255, 255);

// Markup written in UTF-8 (the C++ library's wide strings cannot be used here).
ElementPtr Parse(markuptest::Context& context, const std::string& markup)
{
    std::vector<WCHAR> text(markup.size() + 1);
    ::MultiByteToWideChar(CP_UTF8, 0, markup.c_str(), -1, text.data(), (int)text.size());
    CWVPMarkupObject* root = context.Parse(text.data());
    EXPECT_NE(nullptr, root) << markup << ": " << context.Error();
    return ElementPtr(static_cast<CWVPMarkupUIElement*>(root));
}

// Measures without limit and arranges at the origin with its desired size.
void LayOut(CWVPMarkupUIElement* e, POINT origin)
{
    CWVPMarkupDrawingContext dc;
    e->Measure(&dc, CWVPMarkupUIElement::kUnbounded, CWVPMarkupUIElement::kUnbounded);
    SIZE size = e->GetDesiredSize();
    e->Arrange({origin.x, origin.y, origin.x + size.cx, origin.y + size.cy});
}

void Draw(CWVPMarkupUIElement* e, DibCanvas& canvas)
{
    CWVPMarkupDrawingContext dc(canvas.dc());
    e->Render(&dc);
}

std::string FixtureUrl(const char* name)
{
    return "file://" + rwtest::ToWin32Path(std::string(RW_MARKUP_FIXTURES) + "/" + name);
}

} // namespace

TEST(MarkupImage, PicturesShowAtTheirOwnSizeOrScaled)
{
    struct PictureCase
    {
        std::string markup;
        SIZE desired;
        std::vector<Probe> probes; // drawn at (5, 5) on white
    };
    const std::string png = "<Image Source=\"" + FixtureUrl("picture.png") + "\"/>";
    const PictureCase cases[] = {
        // The PNG's first column is transparent, then red, the right half blue.
        {"<Image Source=\"res://MarkupPng\"/>",
         {12, 8},
         {{5, 8, kWhite}, {6, 8, kRed}, {10, 12, kRed}, {11, 5, kBlue}, {16, 12, kBlue}, {17, 8, kWhite}}},
        {png, {12, 8}, {{5, 8, kWhite}, {6, 8, kRed}, {16, 12, kBlue}, {17, 8, kWhite}}},
        {"<Image Source=\"res://MarkupPng\" Width=\"24\" Height=\"16\"/>",
         {24, 16},
         {{5, 8, kWhite},
          {6, 8, kWhite},
          {7, 8, kRed},
          {16, 20, kRed},
          {17, 5, kBlue},
          {28, 20, kBlue},
          {29, 8, kWhite}}},
        // The BMP's pure green half is the mask colour.
        {"<Image Source=\"res://MarkupBmp\"/>",
         {10, 6},
         {{5, 5, kYellow}, {9, 10, kYellow}, {10, 5, kWhite}, {14, 10, kWhite}, {5, 11, kWhite}}},
        // The icon group's smallest icon is the one shown.
        {"<Image Source=\"res://MarkupIcon\"/>", {16, 16}, {{5, 5, kCyan}, {20, 20, kCyan}, {21, 21, kWhite}}},
        {"<Image Source=\"res://MarkupIcon\" Width=\"32\" Height=\"8\"/>",
         {32, 8},
         {{5, 5, kCyan}, {36, 12, kCyan}, {37, 12, kWhite}, {20, 13, kWhite}}},
    };
    markuptest::Context context;
    for (const PictureCase& c : cases)
    {
        const std::string& what = c.markup;
        ElementPtr e = Parse(context, c.markup);
        ASSERT_TRUE(e) << what;
        LayOut(e.get(), {5, 5});
        EXPECT_EQ(c.desired.cx, e->GetDesiredSize().cx) << what;
        EXPECT_EQ(c.desired.cy, e->GetDesiredSize().cy) << what;
        DibCanvas canvas(50, 30, kWhite);
        Draw(e.get(), canvas);
        for (const Probe& p : c.probes)
            EXPECT_EQ(p.colour, canvas.At(p.x, p.y)) << what << " at " << p.x << "," << p.y;
    }
}

TEST(MarkupImage, CommandIdsShowTheImageManagersIcons)
{
    const UINT kCommand = 31007;
    // An opaque 32-bit picture of one colour under the command, at width 12.
    auto addIcon = [&](int size, DWORD bgra) {
        void* bits = nullptr;
        HBITMAP bitmap = CWVPImageManager::CreateDIBSection32(nullptr, size, size, &bits);
        ASSERT_NE(nullptr, bits);
        for (int i = 0; i < size * size; ++i)
            static_cast<DWORD*>(bits)[i] = bgra;
        EXPECT_TRUE(WVPImageManager()->SetIconsFromBitmap(bitmap, &kCommand, 1, size, size, 0, TRUE));
        ::DeleteObject(bitmap);
    };
    addIcon(12, 0xFF0000FF);
    markuptest::Context context;
    ElementPtr e = Parse(context, "<Image Source=\"31007\"/>");
    ASSERT_TRUE(e);
    LayOut(e.get(), {5, 5});
    EXPECT_EQ(12, e->GetDesiredSize().cx);
    DibCanvas canvas(30, 30, kWhite);
    Draw(e.get(), canvas);
    EXPECT_EQ(kBlue, canvas.At(5, 5));
    EXPECT_EQ(kBlue, canvas.At(16, 16));
    EXPECT_EQ(kWhite, canvas.At(17, 17));

    // Every measure loads again: a smaller icon added since is the one taken now.
    addIcon(6, 0xFFFF0000);
    e->InvalidateMeasure();
    EXPECT_EQ(6, e->GetDesiredSize().cx);
    EXPECT_EQ(6, e->GetDesiredSize().cy);

    // Zero, negative, unknown and non-numeric commands show nothing.
    for (const char* source : {"0", "-3", "31008", "abc"})
    {
        ElementPtr none = Parse(context, std::string("<Image Source=\"") + source + "\"/>");
        ASSERT_TRUE(none);
        LayOut(none.get(), {0, 0});
        EXPECT_EQ(0, none->GetDesiredSize().cx) << source;
        EXPECT_EQ(0, none->GetDesiredSize().cy) << source;
    }
}

TEST(MarkupImage, BrokenOrMissingPicturesLeaveAnEmptyElement)
{
    const std::string sources[] = {
        "res://CutPng",                    // PNG cut short in its image data
        "res://BrokenBmp",                 // bitmap header announcing pixels that are not there
        "res://BrokenIcon",                // icon group announcing entries it does not hold
        "res://NoSuchPicture",             // no resource of that name
        FixtureUrl("cut.png"),             // the cut PNG as a file
        FixtureUrl("no-such-picture.png"), // no file
        "file://",                         // no path
        "res://",                          // no name
        "",                                // nothing at all
    };
    markuptest::Context context;
    for (const std::string& source : sources)
    {
        const std::string& what = source;
        // The tree around a broken picture is built as usual.
        ElementPtr panel =
            Parse(context, "<StackPanel><Image Source=\"" + source + "\"/><Rectangle Fill=\"Red\"/></StackPanel>");
        ASSERT_TRUE(panel) << what;
        CWVPMarkupPanel* stack = static_cast<CWVPMarkupPanel*>(panel.get());
        ASSERT_EQ(2, stack->GetChildren()->GetCount()) << what;
        CWVPMarkupUIElement* image = static_cast<CWVPMarkupUIElement*>(stack->GetChildren()->GetItem(0));
        LayOut(image, {0, 0});
        EXPECT_EQ(0, image->GetDesiredSize().cx) << what;
        EXPECT_EQ(0, image->GetDesiredSize().cy) << what;
        // Even given room, it draws nothing.
        image->Arrange({0, 0, 20, 20});
        DibCanvas canvas(20, 20, kWhite);
        Draw(image, canvas);
        EXPECT_EQ(0, canvas.Painted()) << what;
    }

    // A picture loaded before stays when the source is taken away.
    ElementPtr e = Parse(context, "<Image Source=\"res://MarkupIcon\"/>");
    ASSERT_TRUE(e);
    LayOut(e.get(), {0, 0});
    e->SetValue(CWVPMarkupImage::s_pSourceProperty, nullptr);
    EXPECT_EQ(16, e->GetDesiredSize().cx);
}
