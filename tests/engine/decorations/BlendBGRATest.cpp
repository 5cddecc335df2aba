#include "RwTest.h"

#include "engine/decorations/BlendBGRA.h"

#include <vector>

namespace
{
struct Picture
{
    std::vector<uint8_t> bytes;
    int width, height;
    Picture(int w, int h, uint32_t pixel) : bytes(static_cast<size_t>(w) * h * 4), width(w), height(h)
    {
        for (size_t i = 0; i < bytes.size(); i += 4)
            Set(i / 4, pixel);
    }
    void Set(size_t index, uint32_t pixel)
    {
        for (int k = 0; k < 4; ++k)
            bytes[index * 4 + k] = (pixel >> (8 * k)) & 0xFF;
    }
    uint32_t At(int x, int y) const
    {
        const uint8_t* p = &bytes[(static_cast<size_t>(y) * width + x) * 4];
        return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
    }
    BgraImage Image()
    {
        return {bytes.data(), width, height};
    }
};
}

TEST(BlendBGRA, FollowsTheBlendArithmetic)
{
    struct Case
    {
        uint32_t destination, source;
        int opacity, key;
        uint32_t expected;
    } cases[] = {
        {0x11223344, 0xFF806040, 0, kBlendNoKey, 0x11223344},           // transparent: kept
        {0x11223344, 0x00806040, 255, kBlendNoKey, 0x00806040},         // opaque: all four bytes copied
        {0x11000000, 0x00FF8040, 128, kBlendNoKey, 0x117F4020},         // (s*128 + d*128) / 256
        {0x110A141E, 0x00FF8040, 64, kBlendNoKey, 0x11472F26},          // (s*64 + d*192) / 256
        {0x11FFFFFF, 0x00FFFFFF, 200, kBlendNoKey, 0x11FFFFFF},         // capped at 255
        {0x11000000, 0x80FF8040, kBlendPixelAlpha, kBlendNoKey, 0x117F4020}, // the source's own alpha
        {0x11000000, 0x00FF8040, kBlendPixelAlpha, kBlendNoKey, 0x11000000},
        {0x11000000, 0xFF808080, kBlendPixelAlpha, 0xFF8080, 0xFF808080}, // opaque ignores the key
        {0x11000000, 0x80808080, kBlendPixelAlpha, 0x808080, 0x11000000}, // keyed out
        {0x11000000, 0x80808080, kBlendPixelAlpha, 0x8080, 0x11404040},
    };
    for (const Case& c : cases)
    {
        Picture d(1, 1, c.destination), s(1, 1, c.source);
        EXPECT_EQ(0, BlendBGRA(1, 1, d.Image(), s.Image(), c.opacity, c.key));
        EXPECT_EQ(c.expected, d.At(0, 0)) << std::hex << c.destination << " " << c.source << " " << c.opacity;
    }
}

TEST(BlendBGRA, ClipsToBothPicturesFromTheTopLeft)
{
    Picture frame(8, 6, 0xFF000000);
    Picture logo(5, 10, 0xFFFFFFFF);
    EXPECT_EQ(0, BlendBGRA(100, 100, frame.Image(), logo.Image(), 255, kBlendNoKey));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(x < 5 ? 0xFFFFFFFFu : 0xFF000000u, frame.At(x, y)) << x << "," << y;

    Picture part(8, 6, 0xFF000000);
    EXPECT_EQ(0, BlendBGRA(2, 3, part.Image(), logo.Image(), 255, kBlendNoKey));
    EXPECT_EQ(0xFFFFFFFFu, part.At(1, 2));
    EXPECT_EQ(0xFF000000u, part.At(2, 2));
    EXPECT_EQ(0xFF000000u, part.At(1, 3));
}

TEST(BlendBGRA, RejectsEmptySizes)
{
    Picture a(2, 2, 0), b(2, 2, 0);
    BgraImage empty = {a.bytes.data(), 0, 2};
    EXPECT_EQ(-1, BlendBGRA(0, 2, a.Image(), b.Image(), 255, kBlendNoKey));
    EXPECT_EQ(-1, BlendBGRA(2, -1, a.Image(), b.Image(), 255, kBlendNoKey));
    EXPECT_EQ(-1, BlendBGRA(2, 2, empty, b.Image(), 255, kBlendNoKey));
    EXPECT_EQ(-1, BlendBGRA(2, 2, a.Image(), empty, 255, kBlendNoKey));
}
