// The PNG loader over the generated pictures: each colour type and transformation decodes to the
// pixels the pattern gives; cut, foreign and tiny data fail and leave no bitmap.
#include "RwTest.h"

#include "platform/mfc/MemFile.h"
#include "uilib/foundation/GraphicBitmapPng.h"

namespace
{
int R(int x, int y)
{
    return (x * 37 + y * 11) & 0xFF;
}
int G(int x, int y)
{
    return (x * 5 + y * 71) & 0xFF;
}
int B(int x, int y)
{
    return (200 - x * 3 - y * 7) & 0xFF;
}
int A(int x, int y)
{
    return ((x + y) % 3) == 0 ? 0 : ((x + y) % 3) == 1 ? 255 : 128;
}

CString Fixture(const char* name)
{
    return CString(rwtest::ToWin32Path(std::string(RW_FOUNDATION_FIXTURES) + "/" + name).c_str());
}

// The decoded DIB section: its header and its pixels as blue, green, red, alpha words.
struct Pixels
{
    DIBSECTION section = {};
    const DWORD* bits = nullptr;
    explicit Pixels(CBitmap& bitmap)
    {
        if (::GetObjectW(bitmap.m_hObject, sizeof(section), &section) == sizeof(section))
            bits = static_cast<const DWORD*>(section.dsBm.bmBits);
    }
    DWORD At(int x, int y) const
    {
        return bits[y * section.dsBm.bmWidth + x];
    }
};

DWORD Bgra(int r, int g, int b, int a)
{
    return ((DWORD)a << 24) | ((DWORD)r << 16) | ((DWORD)g << 8) | (DWORD)b;
}
} // namespace

// The rows are top-down: the first row in memory is the picture's top row.
TEST(GraphicBitmapPng, RgbaKeepsItsAlphaInATopDownDib)
{
    CWVPGraphicBitmapPng png;
    ASSERT_TRUE(png.LoadFromFile(Fixture("rgba.png")));
    EXPECT_TRUE(png.IsAlpha());
    Pixels p(png);
    ASSERT_NE(nullptr, p.bits);
    EXPECT_EQ(6, p.section.dsBm.bmWidth);
    EXPECT_EQ(4, p.section.dsBm.bmHeight);
    EXPECT_EQ(32, p.section.dsBm.bmBitsPixel);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(Bgra(R(x, y), G(x, y), B(x, y), A(x, y)), p.At(x, y)) << x << "," << y;
}

TEST(GraphicBitmapPng, PaletteWithTransparencyExpandsToFourChannels)
{
    CWVPGraphicBitmapPng png;
    ASSERT_TRUE(png.LoadFromFile(Fixture("palette-trns.png")));
    EXPECT_TRUE(png.IsAlpha());
    Pixels p(png);
    const DWORD palette[4] = {Bgra(255, 0, 0, 0), Bgra(0, 255, 0, 128), Bgra(0, 0, 255, 255), Bgra(10, 20, 30, 255)};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(palette[(x + y) % 4], p.At(x, y)) << x << "," << y;
}

TEST(GraphicBitmapPng, GreyPicturesBecomeRgb)
{
    CWVPGraphicBitmapPng grey16;
    ASSERT_TRUE(grey16.LoadFromFile(Fixture("grey16.png")));
    EXPECT_FALSE(grey16.IsAlpha());
    Pixels p(grey16);
    const int high[4] = {0x00, 0x12, 0x80, 0xFF};
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(Bgra(high[x], high[x], high[x], 0), p.At(x, 1)) << x;

    CWVPGraphicBitmapPng greyAlpha;
    ASSERT_TRUE(greyAlpha.LoadFromFile(Fixture("grey-alpha.png")));
    EXPECT_TRUE(greyAlpha.IsAlpha());
    Pixels q(greyAlpha);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(Bgra(R(x, y), R(x, y), R(x, y), A(x, y)), q.At(x, y)) << x << "," << y;
}

TEST(GraphicBitmapPng, InterlacedPictureDecodesWhole)
{
    CWVPGraphicBitmapPng png;
    ASSERT_TRUE(png.LoadFromFile(Fixture("interlaced.png")));
    EXPECT_FALSE(png.IsAlpha());
    Pixels p(png);
    EXPECT_EQ(13, p.section.dsBm.bmWidth);
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 13; ++x)
            EXPECT_EQ(Bgra(R(x, y), G(x, y), B(x, y), 0), p.At(x, y)) << x << "," << y;
}

TEST(GraphicBitmapPng, BackgroundChunkComposites)
{
    CWVPGraphicBitmapPng png;
    ASSERT_TRUE(png.LoadFromFile(Fixture("rgba-background.png")));
    EXPECT_FALSE(png.IsAlpha());
    Pixels p(png);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
        {
            DWORD v = p.At(x, y);
            EXPECT_EQ(0u, v >> 24);
            int a = A(x, y);
            int expected[3] = {(R(x, y) * a + 10 * (255 - a) + 127) / 255, (G(x, y) * a + 200 * (255 - a) + 127) / 255,
                               (B(x, y) * a + 30 * (255 - a) + 127) / 255};
            int got[3] = {(int)(v >> 16) & 0xFF, (int)(v >> 8) & 0xFF, (int)v & 0xFF};
            for (int c = 0; c < 3; ++c)
                EXPECT_NEAR(expected[c], got[c], 1) << x << "," << y << " channel " << c;
        }
}

TEST(GraphicBitmapPng, BadDataFailsCleanly)
{
    CWVPGraphicBitmapPng png;
    ASSERT_TRUE(png.LoadFromFile(Fixture("rgba.png")));
    for (const char* name : {"truncated.png", "bad-signature.png", "no-such-file.png"})
    {
        EXPECT_FALSE(png.LoadFromFile(Fixture(name))) << name;
        EXPECT_EQ(nullptr, png.m_hObject) << name;
        EXPECT_FALSE(png.IsAlpha()) << name;
    }
    ASSERT_TRUE(png.LoadFromFile(Fixture("whole.png")));
    BYTE signature[9] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0};
    CMemFile tiny(signature, sizeof(signature));
    EXPECT_FALSE(png.LoadFromStream(&tiny));
    EXPECT_EQ(nullptr, png.m_hObject);
    EXPECT_FALSE(png.LoadFromResource(nullptr, nullptr));
}
