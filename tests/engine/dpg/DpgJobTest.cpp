#include "RwTest.h"

#include "MediaJobs.h"
#include "TestMedia.h"

#include "engine/dpg/FFMpegDpgEncoder.h"

#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <vector>

namespace
{
const char kDpgArguments[] = "-vcodec mpeg1video -s 256x192 -r 20 -b 256 -acodec mp2 -ab 128 -ar 32000 -ac 2";

std::vector<uint8_t> ReadAll(const std::string& path)
{
    std::vector<uint8_t> bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    int c;
    while ((c = std::fgetc(f)) != EOF)
        bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(f);
    return bytes;
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

bool Exists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// A part of the DPG file read back as the stream it should be.
mediajobs::Decoded DecodePart(const std::vector<uint8_t>& dpg, size_t offset, size_t length, const std::string& path,
                              const char* format)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(dpg.data() + offset, 1, length, f);
    std::fclose(f);
    return mediajobs::Decode(path, format);
}
}

TEST(DpgJob, HeaderMatchesTheTwoStreams)
{
    const std::string dir = rwtest::ScratchDir("DpgJob");
    // A time or size limit would split the video into segments: a DPG job ignores it.
    struct Case
    {
        const char* name;
        const char* extraArguments;
    } cases[] = {{"plain", ""}, {"limited", " -t 1 -fs 20000"}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::string output = dir + "/" + c.name + ".dpg";
        mediajobs::JobEnd end = mediajobs::RunJob(
            rwtest::MakeJobSettings(rwtest::Media(rwtest::kClipMp4), output, std::string(kDpgArguments) + c.extraArguments));
        EXPECT_EQ(kEncoderDone, end.state);
        EXPECT_FLOAT_EQ(kProgressDone, end.progress);

        std::vector<uint8_t> dpg = ReadAll(output);
        ASSERT_GT(dpg.size(), 36u);
        EXPECT_EQ(0, std::memcmp(dpg.data(), "DPG0", 4));
        const uint32_t frames = Le32(dpg, 4);
        // 3 s at the header's 20 fps, whatever rate code the MPEG-1 stream carries.
        EXPECT_GE(frames, 60u);
        EXPECT_LE(frames, 61u);
        EXPECT_EQ(std::vector<uint8_t>({0x00, 0x14, 0x00, 0x00}), std::vector<uint8_t>(dpg.begin() + 8, dpg.begin() + 12));
        EXPECT_EQ(32000u, Le32(dpg, 12));
        EXPECT_EQ(0u, Le32(dpg, 16));
        EXPECT_EQ(36u, Le32(dpg, 20));
        const uint32_t audioLength = Le32(dpg, 24);
        EXPECT_EQ(36u + audioLength, Le32(dpg, 28));
        const uint32_t videoLength = Le32(dpg, 32);
        EXPECT_EQ(dpg.size(), 36u + audioLength + videoLength);

        mediajobs::Decoded audio = DecodePart(dpg, 36, audioLength, dir + "/audio.mp2", "mp3");
        EXPECT_EQ(AV_CODEC_ID_MP2, audio.audioCodec);
        EXPECT_EQ(32000, audio.sampleRate);
        EXPECT_GT(audio.audioFrames, 50); // 3 s of 1152-sample frames at 32000 Hz: 83
        EXPECT_EQ(0, audio.undecodable);
        mediajobs::Decoded video = DecodePart(dpg, 36 + audioLength, videoLength, dir + "/video.m1v", "mpegvideo");
        EXPECT_EQ(AV_CODEC_ID_MPEG1VIDEO, video.videoCodec);
        EXPECT_EQ(256, video.width);
        EXPECT_EQ(static_cast<int>(frames), static_cast<int>(video.luma.size()));

        EXPECT_FALSE(Exists(output + ".mp2"));
        EXPECT_FALSE(Exists(output + ".yuv"));
    }
}

TEST(DpgJob, HeaderTakesTheRatesTheStreamsWereWrittenWith)
{
    const std::string dir = rwtest::ScratchDir("DpgJobRates");
    struct Case
    {
        const char* name;
        const char* arguments;
        uint32_t rate; // frames per second x 256
        uint32_t sampleRate;
    } cases[] = {
        // Without -r, -ar and -s: the source's rates and the consoles' screen.
        {"source", "-vcodec mpeg1video -b 256 -acodec mp2 -ab 128", 25 * 256, 44100},
        {"ntsc", "-vcodec mpeg1video -s 256x192 -r 30000/1001 -b 256 -acodec mp2 -ab 128 -ar 32000", 7672, 32000},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::string output = dir + "/" + c.name + ".dpg";
        mediajobs::JobEnd end =
            mediajobs::RunJob(rwtest::MakeJobSettings(rwtest::Media(rwtest::kClipMp4), output, c.arguments));
        ASSERT_EQ(kEncoderDone, end.state);
        std::vector<uint8_t> dpg = ReadAll(output);
        ASSERT_GT(dpg.size(), 36u);
        EXPECT_EQ(c.rate, Le32(dpg, 8));
        EXPECT_EQ(c.sampleRate, Le32(dpg, 12));
        const uint32_t audioLength = Le32(dpg, 24);
        mediajobs::Decoded video =
            DecodePart(dpg, 36 + audioLength, Le32(dpg, 32), dir + "/" + c.name + ".m1v", "mpegvideo");
        EXPECT_EQ(256, video.width);
        EXPECT_EQ(192, video.height);
        EXPECT_EQ(Le32(dpg, 4), video.luma.size());
    }
}

TEST(DpgJob, ImpossibleJobsFailWithTheirReasonAndLeaveNothing)
{
    const std::string dir = rwtest::ScratchDir("DpgJobReasons");
    const std::string folder = dir + "/folder.dpg";
    ::mkdir(folder.c_str(), 0755);
    struct Case
    {
        const char* source;
        std::string output;
        const char* reason;
    } cases[] = {
        {rwtest::kClipMp4, folder, "cannot be written"},
        {rwtest::kAudioMp3, dir + "/audio_only.dpg", "the source has no video stream"},
        {rwtest::kNoDuration, dir + "/video_only.dpg", "the source has no audio stream"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.source);
        rwtest::LogRecorder log;
        mediajobs::JobEnd end =
            mediajobs::RunJob(rwtest::MakeJobSettings(rwtest::Media(c.source), c.output, kDpgArguments));
        EXPECT_EQ(kEncoderFailed, end.state);
        EXPECT_EQ(1, rwtest::LogRecorder::CountContaining(c.reason));
        EXPECT_FALSE(Exists(c.output + ".mp2"));
        EXPECT_FALSE(Exists(c.output + ".yuv"));
    }
    struct stat info;
    ASSERT_EQ(0, ::stat(folder.c_str(), &info));
    EXPECT_TRUE(S_ISDIR(info.st_mode));
}

TEST(DpgJob, FailureLeavesNoTemporaryFiles)
{
    const std::string dir = rwtest::ScratchDir("DpgJobFails");
    const std::string output = dir + "/broken.dpg";
    mediajobs::JobEnd end =
        mediajobs::RunJob(rwtest::MakeJobSettings(rwtest::Media(rwtest::kGarbageAvi), output, kDpgArguments));
    EXPECT_EQ(kEncoderFailed, end.state);
    EXPECT_FLOAT_EQ(kProgressFailed, end.progress);
    EXPECT_FALSE(Exists(output));
    EXPECT_FALSE(Exists(output + ".mp2"));
    EXPECT_FALSE(Exists(output + ".yuv"));
}

TEST(DpgJob, ProgressCoversBothPasses)
{
    struct Case
    {
        int pass;
        float progress;
        EncoderState state;
        float expected;
    } cases[] = {
        {0, 0.0f, kEncoderRunning, 0.0f},    {0, 99.0f, kEncoderRunning, 44.55f}, {1, 0.0f, kEncoderRunning, 45.0f},
        {1, 99.0f, kEncoderRunning, 98.955f}, {1, 100.01f, kEncoderDone, 100.01f}, {0, -1.0f, kEncoderFailed, -1.0f},
        {1, -1.0f, kEncoderFailed, -1.0f},
    };
    for (const Case& c : cases)
    {
        CFFMpegDpgEncoder job;
        job.m_pass = c.pass;
        job.m_progress = c.progress;
        job.m_state = c.state;
        EXPECT_FLOAT_EQ(c.expected, job.GetProgress()) << c.pass << " " << c.progress;
    }
}
