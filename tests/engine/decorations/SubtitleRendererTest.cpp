#define NOMINMAX // before the first windows.h: the tests use std::min and std::max
#include "RwTest.h"

#include "engine/decorations/SubtitleRenderer.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace
{
struct Frame
{
    int width, height;
    std::vector<uint8_t> bytes;
    Frame(int w, int h) : width(w), height(h), bytes(static_cast<size_t>(w) * h * 4, 0)
    {
    }
    bool Lit(int x, int y) const
    {
        return bytes[(static_cast<size_t>(y) * width + x) * 4 + 1] > 128;
    }
};

// The box around the lit (white) pixels of a frame.
struct Box
{
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool Empty() const
    {
        return right < 0;
    }
};

Box LitBox(const Frame& f, int fromRow = 0, int toRow = -1)
{
    Box b;
    for (int y = fromRow; y < (toRow < 0 ? f.height : toRow); ++y)
        for (int x = 0; x < f.width; ++x)
            if (f.Lit(x, y))
            {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
            }
    return b;
}

std::string WriteSrt(const std::string& name, const char* utf8)
{
    const std::string dir = rwtest::ScratchDir("SubtitleRenderer_" + name);
    const std::string path = dir + "/" + name + ".srt";
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fputs(utf8, f);
    std::fclose(f);
    return path;
}

WideText Win32Path(const std::string& unixPath)
{
    return WideFromMultiByte(rwtest::ToWin32Path(unixPath).c_str(), CP_UTF8);
}

const char kTwoEntries[] = "1\r\n00:00:01,000 --> 00:00:02,000\r\nHello world\r\n\r\n"
                           "2\r\n00:00:03,000 --> 00:00:04,000\r\nTop line\r\nBottom\r\n\r\n"
                           "3\r\n00:00:04,500 --> 00:00:05,000\r\nTop line\r\nBottom\r\n";

class SubtitleRendererTest : public ::testing::Test
{
protected:
    void Load(const char* text, const std::string& name)
    {
        ASSERT_GT(renderer.Load(kSubtitleModeFile, "", Win32Text(Win32Path(WriteSrt(name, text)))), 0);
        ASSERT_TRUE(renderer.HasFont()) << "the subtitle font is missing from the Windows fonts folder";
    }
    Frame Draw(int t, int width = 320, int height = 240)
    {
        Frame f(width, height);
        renderer.Draw(f.height, f.bytes.data(), f.width, t);
        return f;
    }
    SubtitleRenderer renderer;
};
}

TEST_F(SubtitleRendererTest, DrawsTheLineCentredAboveTheBottomMargin)
{
    Load(kTwoEntries, "centred");
    Box box = LitBox(Draw(1500));
    ASSERT_FALSE(box.Empty());
    EXPECT_NEAR(160, (box.left + box.right) / 2, 3);
    EXPECT_LE(box.bottom, 240 - SubtitleRenderer::kDefaultBottomMargin);
    EXPECT_GE(box.top, 240 - SubtitleRenderer::kDefaultBottomMargin - SubtitleRenderer::kDefaultPixelSize);
    EXPECT_GT(box.right - box.left, 50); // "Hello world", the blank included

    EXPECT_TRUE(LitBox(Draw(999)).Empty());
    EXPECT_TRUE(LitBox(Draw(2500)).Empty());
}

TEST_F(SubtitleRendererTest, TwoLinesEachCentredAndLaidOutOncePerText)
{
    Load(kTwoEntries, "twolines");
    Frame f = Draw(3500);
    EXPECT_EQ(2, renderer.LineCount());
    const int lineBottom = 240 - SubtitleRenderer::kDefaultBottomMargin;
    Box first = LitBox(f, lineBottom - 32, lineBottom - 16);
    Box second = LitBox(f, lineBottom - 16, lineBottom);
    ASSERT_FALSE(first.Empty());
    ASSERT_FALSE(second.Empty());
    EXPECT_NEAR(160, (first.left + first.right) / 2, 3);
    EXPECT_NEAR(160, (second.left + second.right) / 2, 3);
    EXPECT_GT(first.right - first.left, second.right - second.left); // "Top line" is wider than "Bottom"
    EXPECT_TRUE(LitBox(f, 0, lineBottom - 32).Empty());

    const int layouts = renderer.LayoutCount();
    Draw(3600);
    Draw(4700); // the next entry has the same text
    EXPECT_EQ(layouts, renderer.LayoutCount());
}

TEST_F(SubtitleRendererTest, BlanksSeparateWords)
{
    Load("1\r\n00:00:01,000 --> 00:00:02,000\r\nII\r\n\r\n2\r\n00:00:03,000 --> 00:00:04,000\r\nI I\r\n", "blanks");
    Box joined = LitBox(Draw(1500));
    Box apart = LitBox(Draw(3500));
    EXPECT_GT(apart.right - apart.left, joined.right - joined.left + 2);
}

TEST_F(SubtitleRendererTest, SmallFramesStartAtTheTopAndWideLinesAreCut)
{
    Load(kTwoEntries, "small");
    Frame tiny = Draw(3500, 40, 20);
    Box box = LitBox(tiny);
    ASSERT_FALSE(box.Empty());
    EXPECT_LT(box.top, 16);
    EXPECT_LE(box.left, 1); // wider than the frame: shifted left, the outside part not drawn
    EXPECT_GE(box.right, 38);
}

TEST_F(SubtitleRendererTest, BoundsGlyphsAndCells)
{
    // Three overlapping entries of 221 letters each (an entry keeps 255 characters).
    std::string many;
    for (int entry = 1; entry <= 3; ++entry)
    {
        many += std::to_string(entry) + "\r\n00:00:01,000 --> 00:00:02,000\r\n";
        for (int i = 0; i < 17; ++i)
            many += "ABCDEFGHIJKLM\r\n";
        many += "\r\n";
    }
    Load(many.c_str(), "many");
    Draw(1500);
    EXPECT_EQ(SubtitleRenderer::kGlyphCellCount, renderer.GlyphCount());

    renderer.SetPixelSize(120); // glyphs larger than a cell keep their top-left part
    Frame big = Draw(1500, 640, 480);
    EXPECT_FALSE(LitBox(big).Empty());
    for (int i = 0; i < renderer.GlyphCount(); ++i)
        EXPECT_LE(renderer.Cell(i).width, GlyphCell::kSize);
}

TEST_F(SubtitleRendererTest, CjkText)
{
    Load("1\r\n00:00:01,000 --> 00:00:02,000\r\n\xE4\xB8\xAD\xE6\x96\x87\r\n", "cjk");
    Draw(1500);
    EXPECT_EQ(2, renderer.GlyphCount());
}

TEST(SubtitleRenderer, LoadFailures)
{
    SubtitleRenderer renderer;
    EXPECT_EQ(kSubtitleCannotOpen, renderer.Load(kSubtitleModeFile, "", L"Z:\\no\\such\\file.srt"));
    EXPECT_EQ(kSubtitleNoFolder, renderer.Load(kSubtitleModeCompanion, "film.avi", nullptr));
    EXPECT_FALSE(renderer.HasFont());
    Frame f(32, 32);
    renderer.Draw(f.height, f.bytes.data(), f.width, 1500); // without a font: nothing, no crash
    EXPECT_TRUE(LitBox(f).Empty());
}

TEST(SubtitleRenderer, BlendGlyphCoverage)
{
    GlyphCell cell = {};
    cell.x = -1;
    cell.y = 0;
    cell.width = 3;
    cell.rows = 1;
    cell.coverage[0][0] = 255; // outside the frame
    cell.coverage[0][1] = 128;
    cell.coverage[0][2] = 255;
    uint8_t pixels[3 * 4] = {10, 10, 10, 7, 10, 10, 10, 7, 10, 10, 10, 7};
    BlendGlyph(cell, pixels, 3, 1);
    // (128 * 255 + 10 * 128) >> 8 = 132, alpha kept; full coverage: white and opaque.
    const uint8_t expected[3 * 4] = {132, 132, 132, 7, 255, 255, 255, 255, 10, 10, 10, 7};
    EXPECT_EQ(0, std::memcmp(expected, pixels, sizeof(pixels)));
}
