#include "RwTest.h"
#include "TestMedia.h"

#include "engine/decorations/LogoSequence.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <cstdio>
#include <vector>

namespace
{
// Writes a PNG picture of one colour (RGBA, so with its alpha) with FFmpeg's own encoder.
void WritePng(const std::string& path, int width, int height, uint8_t r, uint8_t g, uint8_t b, uint8_t a)
{
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_PNG);
    ASSERT_TRUE(codec);
    AVCodecContext* context = avcodec_alloc_context3(codec);
    context->width = width;
    context->height = height;
    context->pix_fmt = AV_PIX_FMT_RGBA;
    context->time_base = AVRational{1, 25};
    ASSERT_EQ(0, avcodec_open2(context, codec, nullptr));
    AVFrame* frame = av_frame_alloc();
    frame->width = width;
    frame->height = height;
    frame->format = AV_PIX_FMT_RGBA;
    ASSERT_EQ(0, av_frame_get_buffer(frame, 0));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            uint8_t* p = frame->data[0] + y * frame->linesize[0] + x * 4;
            p[0] = r, p[1] = g, p[2] = b, p[3] = a;
        }
    AVPacket* packet = av_packet_alloc();
    ASSERT_EQ(0, avcodec_send_frame(context, frame));
    ASSERT_EQ(0, avcodec_receive_packet(context, packet));
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(packet->data, 1, packet->size, f);
    std::fclose(f);
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&context);
}

struct Frame
{
    int width, height;
    std::vector<uint8_t> bytes;
    Frame(int w, int h) : width(w), height(h), bytes(static_cast<size_t>(w) * h * 4, 0)
    {
    }
    uint32_t At(int x, int y) const
    {
        const uint8_t* p = &bytes[(static_cast<size_t>(y) * width + x) * 4];
        return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
    }
};

// The logo drawn into a fresh black frame at time t: the pixel at (x, y), or 0 when nothing was drawn.
uint32_t DrawnAt(LogoSequence& logo, int t, int x = 0, int y = 0)
{
    Frame frame(64, 48);
    if (logo.Advance(t) != 0 || logo.Apply(frame.bytes.data(), frame.width, frame.height) != 0)
        return 0;
    return frame.At(x, y);
}

const int kOpaque[kPlacementCount] = {0, 0, 0, 0, 255, 0, 0};

class LogoSequenceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = rwtest::ScratchDir("LogoSequence");
        WritePng(dir + "/red.png", 16, 8, 255, 0, 0, 255);
        WritePng(dir + "/blue.png", 16, 8, 0, 0, 255, 128);
        WritePng(dir + "/wide.png", 100, 8, 0, 255, 0, 255);
        FILE* f = std::fopen((dir + "/text.png").c_str(), "wb");
        std::fputs("not a picture", f);
        std::fclose(f);
    }
    std::string dir;
};
}

TEST(SplitBarList, KeepsTheNonEmptyPiecesInOrder)
{
    struct Case
    {
        const char* text;
        std::vector<std::string> pieces;
        int empty;
    } cases[] = {
        {"|a||b|", {"a", "b"}, 0},
        {"a.png", {"a.png"}, 0},
        {"C:\\x\\a.png|C:\\y\\b.avi", {"C:\\x\\a.png", "C:\\y\\b.avi"}, 0},
        {"||", {}, 1},
        {"", {}, 1},
    };
    for (const Case& c : cases)
    {
        std::vector<std::string> list;
        EXPECT_EQ(c.empty, SplitBarList(c.text, list));
        EXPECT_EQ(c.pieces, list) << c.text;
    }
}

TEST_F(LogoSequenceTest, StillPicturesTakeTurnsEachInterval)
{
    const std::string list = dir + "/red.png|" + dir + "/blue.png";
    LogoSequence logo;
    ASSERT_EQ(0, logo.Open(kOpaque, list.c_str(), list.size() + 1, 0, 5000));
    struct Step
    {
        int time;
        uint32_t pixel;
    } steps[] = {
        {0, 0xFFFF0000}, {40, 0xFFFF0000}, {4999, 0xFFFF0000}, {5000, 0x800000FF},
        {9999, 0x800000FF}, {10000, 0xFFFF0000}, {15000, 0x800000FF},
    };
    for (const Step& s : steps)
        EXPECT_EQ(s.pixel, DrawnAt(logo, s.time)) << s.time;
    EXPECT_EQ(0u, DrawnAt(logo, 15000, 16, 0)); // right of the picture: untouched
}

TEST_F(LogoSequenceTest, OwnAlphaOrConstantOpacity)
{
    const std::string list = dir + "/blue.png";
    LogoSequence own;
    ASSERT_EQ(0, own.Open(kOpaque, list.c_str(), list.size() + 1, 1, 1000));
    // Alpha 128 over black: 255 * 128 / 256 = 127.
    EXPECT_EQ(0x0000007Fu, DrawnAt(own, 0));

    const int half[kPlacementCount] = {0, 0, 0, 0, 64, 0, 0};
    LogoSequence constant;
    ASSERT_EQ(0, constant.Open(half, list.c_str(), list.size() + 1, 0, 1000));
    EXPECT_EQ(0x0000003Fu, DrawnAt(constant, 0));
}

TEST_F(LogoSequenceTest, PlacementLimitsAndFrameEdgeCutTheLogo)
{
    const std::string list = dir + "/wide.png";
    LogoSequence wide;
    ASSERT_EQ(0, wide.Open(kOpaque, list.c_str(), list.size() + 1, 0, 1000));
    EXPECT_EQ(0xFF00FF00u, DrawnAt(wide, 0, 63, 7)); // cut at the frame's right edge, no overrun

    const int limited[kPlacementCount] = {0, 0, 10, 4, 255, 0, 0};
    LogoSequence area;
    ASSERT_EQ(0, area.Open(limited, list.c_str(), list.size() + 1, 0, 1000));
    EXPECT_EQ(0xFF00FF00u, DrawnAt(area, 0, 9, 3));
    EXPECT_EQ(0u, DrawnAt(area, 0, 10, 3));
    EXPECT_EQ(0u, DrawnAt(area, 0, 9, 4));
}

TEST_F(LogoSequenceTest, UnreadableFilesAreSkippedAndLogged)
{
    const std::string list = dir + "/missing.png|" + dir + "/text.png|" + dir + "/red.png";
    std::vector<std::string> lines;
    LogoSequence logo;
    logo.SetLogSink([&](const std::string& line) { lines.push_back(line); });
    ASSERT_EQ(0, logo.Open(kOpaque, list.c_str(), list.size() + 1, 0, 1000));
    EXPECT_EQ(0u, DrawnAt(logo, 0));          // the missing one was skipped, the next fails too
    EXPECT_EQ(0xFFFF0000u, DrawnAt(logo, 1000)); // then the picture shows
    EXPECT_EQ(2u, lines.size());
    for (const std::string& line : lines)
        EXPECT_NE(std::string::npos, line.find("logo")) << line;
}

TEST_F(LogoSequenceTest, BoundsTheListItReads)
{
    // A list field without terminator: only its capacity is read.
    std::string full = dir + "/red.png|" + dir + "/blue.png";
    std::vector<char> field(full.begin(), full.end()); // no NUL
    LogoSequence logo;
    ASSERT_EQ(0, logo.Open(kOpaque, field.data(), dir.size() + 8, 0, 1000));
    ASSERT_EQ(1u, logo.FileNames().size());
    EXPECT_EQ(dir + "/red.png", logo.FileNames()[0]);

    LogoSequence none;
    EXPECT_EQ(0, none.Open(kOpaque, "", 1, 0, 1000));
    EXPECT_EQ(-1, none.Advance(0));
}

TEST_F(LogoSequenceTest, ClipsShowTheirNextFrameEachStep)
{
    const std::string list = rwtest::Media(rwtest::kClipAvi);
    LogoSequence clip;
    ASSERT_EQ(0, clip.Open(kOpaque, list.c_str(), list.size() + 1, 0, 40));
    int steps = 0;
    for (int t = 0; t < 200 * 40; t += 40)
        if (DrawnAt(clip, t) != 0)
            ++steps;
    // 75 frames, then the clip starts again (one step reopens it).
    EXPECT_GE(steps, 195);
}
