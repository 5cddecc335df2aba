#include "RwTest.h"

#include "engine/decorations/TextWatermark.h"

#include <set>
#include <vector>

namespace
{
TextWatermarkStyle Style(int text, int background)
{
    TextWatermarkStyle style = {};
    style.fontHeight = 20;
    style.fontStyle = FW_BOLD;
    ::lstrcpyW(style.faceName, L"Tahoma");
    style.textColour = text;
    style.backgroundColour = background;
    ::lstrcpyW(style.text, L"Reelwright");
    return style;
}

struct Frame
{
    static const int kWidth = 320, kHeight = 240;
    std::vector<uint8_t> bytes = std::vector<uint8_t>(kWidth * kHeight * 4, 0x40);
    uint32_t At(int x, int y) const
    {
        const uint8_t* p = &bytes[(y * kWidth + x) * 4];
        return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
    }
};

// The pixel values of the frame within the watermark's area.
std::set<uint32_t> ColoursUnder(const TextWatermark& mark, const Frame& frame)
{
    std::set<uint32_t> colours;
    for (int y = 0; y < mark.Height(); ++y)
        for (int x = 0; x < mark.Width(); ++x)
            colours.insert(frame.At(x, y));
    return colours;
}

const int kOpaque[kPlacementCount] = {0, 0, 0, 0, 255, 0, 0};
const int kHalf[kPlacementCount] = {0, 0, 0, 0, 128, 0, 0};
}

TEST(TextWatermark, OpaqueBoxOfTheBackgroundWithTheTextInside)
{
    TextWatermark mark;
    ASSERT_EQ(0, mark.Render(kOpaque, Style(0x0000FF, 0x00FF00)));
    ASSERT_TRUE(mark.HasPicture());
    ASSERT_GT(mark.Width(), 20);
    ASSERT_GT(mark.Height(), 10);
    Frame frame;
    mark.Apply(frame.bytes.data(), Frame::kWidth, Frame::kHeight);
    EXPECT_EQ((std::set<uint32_t>{0xFF0000FF, 0xFF00FF00}), ColoursUnder(mark, frame));
    EXPECT_EQ(0x40404040u, frame.At(mark.Width(), 0));
    EXPECT_EQ(0x40404040u, frame.At(0, mark.Height()));
}

TEST(TextWatermark, TransparentBackgroundDrawsOnlyTheGlyphsAtTheOpacity)
{
    TextWatermark mark;
    ASSERT_EQ(0, mark.Render(kHalf, Style(0xFFFFFF, kTransparentColour)));
    Frame frame;
    mark.Apply(frame.bytes.data(), Frame::kWidth, Frame::kHeight);
    // Glyph pixels: (255*128 + 0x40*128) / 256 = 159; elsewhere the frame stays.
    EXPECT_EQ((std::set<uint32_t>{0x40404040, 0x409F9F9F}), ColoursUnder(mark, frame));
}

TEST(TextWatermark, TextInTheBackgroundColourTakesItsComplement)
{
    struct Case
    {
        int text, background, expected;
    } cases[] = {
        {0x123456, 0x123456, 0xEDCBA9},
        {0x77123456, 0x123456, 0xEDCBA9}, // only the low 24 bits are compared
        {0x000000, 0xFFFFFF, 0x000000},
        {0xFFFFFF, kTransparentColour, 0xFFFFFF}, // nothing to stand out from: white stays white
    };
    for (const Case& c : cases)
    {
        TextWatermark mark;
        ASSERT_EQ(0, mark.Render(kOpaque, Style(c.text, c.background)));
        EXPECT_EQ(c.expected, mark.TextColour() & 0xFFFFFF);
    }
    TextWatermark system;
    ASSERT_EQ(0, system.Render(kOpaque, Style(kSystemColour, 0x123456)));
    EXPECT_EQ(static_cast<int>(::GetSysColor(COLOR_WINDOWTEXT)), system.TextColour());
}

TEST(TextWatermark, EmptyTextDrawsNothing)
{
    TextWatermarkStyle style = Style(0xFFFFFF, 0);
    style.text[0] = 0;
    TextWatermark mark;
    EXPECT_EQ(0, mark.Render(kOpaque, style));
    EXPECT_FALSE(mark.HasPicture());
    Frame frame;
    EXPECT_EQ(0, mark.Apply(frame.bytes.data(), Frame::kWidth, Frame::kHeight));
    EXPECT_EQ(0x40404040u, frame.At(0, 0));
}
