#include "DibCanvas.h"
#include "RwTest.h"
#include "uilib/foundation/DibReader.h"
#include "uilib/skin/SkinImage.h"
#include "uilib/skin/SkinManager.h"

#include <functional>
#include <vector>

namespace
{

typedef std::function<DWORD(int x, int y)> PixelFn; // 0xAARRGGBB

// A skin image made from a pixel function.
struct TestImage : CWVPSkinImage
{
    TestImage(int w, int h, const PixelFn& fn, BOOL alpha = FALSE, CWVPSkinManager* manager = nullptr)
        : CWVPSkinImage(manager)
    {
        CWVPDibImage dib;
        dib.width = w, dib.height = h, dib.bitCount = 32, dib.hasAlphaChannel = alpha;
        dib.pixels.resize(size_t(w) * h * 4);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                memcpy(&dib.pixels[(size_t(y) * w + x) * 4], &(const DWORD&)fn(x, y), 4);
        EXPECT_TRUE(SetBitmap(CWVPDibReader::CreateDibSection(dib), alpha));
    }
};

const DWORD kBackground = 0x00404040;
const DWORD kMagenta = 0x00FF00FF;

// The region (0, 1, 2 for before, inside and after the margins) of a coordinate.
int Region(int v, int size, int before, int after)
{
    return v < before ? 0 : v < size - after ? 1 : 2;
}

TEST(SkinImage, NinePartsKeepMarginsAndStretchTheRest)
{
    // Corners hold a different colour per pixel; edges vary only across their stretched
    // direction and the centre is flat, so every stretch has one exact result.
    const int w = 12, h = 12, l = 3, t = 2, r = 4, b = 5;
    auto source = [=](int x, int y) -> DWORD {
        int cx = Region(x, w, l, r), cy = Region(y, h, t, b);
        int ox = cx == 0 ? x : cx == 2 ? x - (w - r) : 0, oy = cy == 0 ? y : cy == 2 ? y - (h - b) : 0;
        if (cx == 1)
            ox = 0;
        if (cy == 1)
            oy = 0;
        return 0xFF000000 | DWORD(cx * 3 + cy) << 20 | DWORD(ox) << 12 | DWORD(oy) << 4 | 0x8;
    };
    TestImage image(w, h, source);
    const int dw = 30, dh = 25, ox = 5, oy = 7;
    DibCanvas canvas(40, 40, kBackground);
    RECT dest = {ox, oy, ox + dw, oy + dh}, src = {0, 0, w, h}, margins = {l, t, r, b};
    image.DrawImage(canvas.dc(), dest, src, margins, CLR_INVALID, 1, FALSE);
    EXPECT_EQ(0, canvas.Differences([=](int x, int y) -> DWORD {
        if (x < ox || y < oy || x >= ox + dw || y >= oy + dh)
            return kBackground;
        int dx = x - ox, dy = y - oy;
        int cx = Region(dx, dw, l, r), cy = Region(dy, dh, t, b);
        int sx = cx == 0 ? dx : cx == 2 ? dx - (dw - r) + (w - r) : l;
        int sy = cy == 0 ? dy : cy == 2 ? dy - (dh - b) + (h - b) : t;
        return source(sx, sy);
    }));

    // Border only leaves the centre alone.
    DibCanvas border(40, 40, kBackground);
    image.DrawImage(border.dc(), dest, src, margins, CLR_INVALID, 1, TRUE);
    EXPECT_EQ(kBackground, border.Rgb(ox + 10, oy + 10));
    EXPECT_EQ(source(0, 0) & 0xFFFFFF, border.Rgb(ox, oy));
}

TEST(SkinImage, TilesRepeatTheSourceAndCutTheLastTile)
{
    auto source = [](int x, int y) -> DWORD { return 0xFF000000 | DWORD(x * 8) << 16 | DWORD(y * 40) << 8 | 0x11; };
    TestImage image(16, 4, source);
    DibCanvas canvas(40, 4, kBackground);
    RECT dest = {0, 0, 40, 4}, src = {0, 0, 16, 4}, none = {};
    image.DrawImage(canvas.dc(), dest, src, none, CLR_INVALID, 2, FALSE);
    EXPECT_EQ(0, canvas.Differences([&](int x, int y) { return source(x % 16, y); }));
}

TEST(SkinImage, TransparentColourLeavesTheBackground)
{
    auto source = [](int x, int y) -> DWORD { return (x + y) % 3 == 0 ? kMagenta : 0xFF102030 + DWORD(x); };
    TestImage image(8, 8, source);
    DibCanvas canvas(10, 10, kBackground);
    RECT dest = {1, 1, 9, 9}, src = {0, 0, 8, 8}, none = {};
    image.DrawImage(canvas.dc(), dest, src, none, kMagenta, 1, FALSE);
    EXPECT_EQ(0, canvas.Differences([&](int x, int y) -> DWORD {
        if (x < 1 || y < 1 || x >= 9 || y >= 9)
            return kBackground;
        DWORD p = source(x - 1, y - 1) & 0xFFFFFF;
        return p == kMagenta ? kBackground : p;
    }));
}

TEST(SkinImage, SharedMarginsSplitASmallDestination)
{
    struct Case
    {
        int top, bottom, destHeight, firstBottomRow;
    } cases[] = {
        {6, 4, 5, 3},  // MulDiv(5, 6, 10) = 3 rows on top, 2 below
        {8, 8, 10, 4}, // 5 and 5, the bottom raised to 6 for parity: the parts share a row
        {7, 8, 10, 4}, // MulDiv(10, 7, 15) = 5, the bottom 5 raised to 6
    };
    for (const Case& c : cases)
    {
        const DWORD top = 0xFF0000A0, bottom = 0xFF00A000;
        int height = c.top + c.bottom;
        TestImage image(4, height, [&](int, int y) { return y < c.top ? top : bottom; });
        DibCanvas canvas(4, c.destHeight, kBackground);
        RECT dest = {0, 0, 4, c.destHeight}, src = {0, 0, 4, height}, margins = {0, c.top, 0, c.bottom};
        image.DrawImage(canvas.dc(), dest, src, margins, CLR_INVALID, 1, FALSE);
        EXPECT_EQ(0, canvas.Differences([&](int, int y) { return y < c.firstBottomRow ? top : bottom; }))
            << c.top << "/" << c.bottom;
    }
}

TEST(SkinImage, FlatStatesAndEdgesAreFilled)
{
    // Four states of 10 x 10 stacked: state 2 flat, state 3 with a flat centre and varying edges.
    auto source = [](int x, int y) -> DWORD {
        int state = y / 10, sy = y % 10;
        if (state == 1)
            return 0xFF336699;
        if (state == 2)
            return x >= 2 && x < 8 && sy >= 2 && sy < 8 ? 0xFF808000 : 0xFF000000 | DWORD(x * 20 + sy);
        return 0xFF000000 | DWORD(x * 25) << 8 | DWORD(y);
    };
    TestImage image(10, 40, source);
    RECT margins = {2, 2, 2, 2};
    image.CreateSolidRectArray(4, FALSE, margins);
    const auto& solids = image.GetSolidRects();
    ASSERT_EQ(2u, solids.size());
    EXPECT_EQ(0, solids[0].rc.left);
    EXPECT_EQ(10, solids[0].rc.top);
    EXPECT_EQ(10, solids[0].rc.right);
    EXPECT_EQ(20, solids[0].rc.bottom);
    EXPECT_EQ(RGB(0x33, 0x66, 0x99), solids[0].clr);
    EXPECT_EQ(2, solids[1].rc.left);
    EXPECT_EQ(22, solids[1].rc.top);
    EXPECT_EQ(8, solids[1].rc.right);
    EXPECT_EQ(28, solids[1].rc.bottom);

    DibCanvas canvas(30, 30, kBackground);
    RECT dest = {0, 0, 30, 30}, state2 = {0, 10, 10, 20};
    image.DrawImage(canvas.dc(), dest, state2, margins, CLR_INVALID, 1, FALSE);
    EXPECT_EQ(0, canvas.Differences([](int, int) { return 0x336699; }));
    // A flat part equal to the transparent colour draws nothing.
    DibCanvas transparent(30, 30, kBackground);
    image.DrawImage(transparent.dc(), dest, state2, margins, 0x00996633 /* COLORREF of the same colour */, 1, FALSE);
    EXPECT_EQ(0, transparent.Differences([](int, int) { return kBackground; }));
}

struct Invert : CWVPSkinManagerColorFilter
{
    void ApplyColorFilter(COLORREF& clr) override
    {
        clr = ~clr & 0xFFFFFF;
    }
};

struct SwapRedBlue : CWVPSkinManagerColorFilter
{
    void ApplyColorFilter(COLORREF& clr) override
    {
        clr = RGB(GetBValue(clr), GetGValue(clr), GetRValue(clr));
    }
};

TEST(SkinImage, ColourFiltersChangeImagePixelsInOrder)
{
    CWVPSkinManager manager;
    manager.AddColorFilter(new SwapRedBlue);
    manager.AddColorFilter(new Invert);
    COLORREF clr = RGB(10, 20, 30);
    manager.ApplyColorFilters(clr);
    EXPECT_EQ(RGB(255 - 30, 255 - 20, 255 - 10), clr);

    auto source = [](int x, int y) -> DWORD {
        return y == 0 && x == 0 ? kMagenta : 0xFF000000 | DWORD(x * 30) << 16 | 0x40;
    };
    TestImage image(6, 2, source, FALSE, &manager);
    DibCanvas canvas(6, 2, kBackground);
    RECT dest = {0, 0, 6, 2}, src = {0, 0, 6, 2}, none = {};
    image.DrawImage(canvas.dc(), dest, src, none, kMagenta, 1, FALSE);
    EXPECT_EQ(0, canvas.Differences([&](int x, int y) -> DWORD {
        if (x == 0 && y == 0)
            return kBackground; // the key colour is neither filtered nor drawn
        DWORD p = source(x, y); // 0xRRGGBB here: swap red and blue, then invert
        DWORD swapped = (p & 0xFF) << 16 | (p & 0xFF00) | (p >> 16 & 0xFF);
        return ~swapped & 0xFFFFFF;
    }));
}

TEST(SkinImage, AlphaImagesBlendAndMirrorOnRightToLeftSurfaces)
{
    // Left half opaque red, right half clear: only the left half shows.
    auto source = [](int x, int) -> DWORD { return x < 2 ? 0xFFFF0000 : 0x00000000; };
    TestImage image(4, 1, source, TRUE);
    EXPECT_TRUE(image.IsAlphaImage());
    DibCanvas canvas(4, 1, kBackground);
    RECT dest = {0, 0, 4, 1}, src = {0, 0, 4, 1}, none = {};
    image.DrawImage(canvas.dc(), dest, src, none, CLR_INVALID, 1, FALSE);
    EXPECT_EQ(0, canvas.Differences([](int x, int) -> DWORD { return x < 2 ? 0xFF0000 : kBackground; }));

    DibCanvas mirrored(4, 1, kBackground);
    SetLayout(mirrored.dc(), LAYOUT_RTL);
    image.DrawImage(mirrored.dc(), dest, src, none, CLR_INVALID, 1, FALSE);
    SetLayout(mirrored.dc(), 0);
    DibCanvas again(4, 1, kBackground);
    image.DrawImage(again.dc(), dest, src, none, CLR_INVALID, 1, FALSE);
    EXPECT_EQ(0, again.Differences([](int x, int) -> DWORD { return x < 2 ? 0xFF0000 : kBackground; }))
        << "drawing on a left-to-right surface turns the image back";

    // A 32-bit image whose alpha bytes are all 255 is opaque.
    TestImage opaque(
        2, 2, [](int, int) -> DWORD { return 0xFF123456; }, TRUE);
    EXPECT_FALSE(opaque.IsAlphaImage());
}

} // namespace
