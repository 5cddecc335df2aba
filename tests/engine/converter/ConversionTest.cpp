#include "RwTest.h"

#include "JobFixture.h"
#include "OutputProbe.h"
#include "TestMedia.h"

#include <math.h>
#include <sys/stat.h>

using rwtest::MakeJobSettings;
using rwtest::ProbeOutput;

namespace
{
struct ConversionCase
{
    const char* source;
    const char* output;
    const char* arguments;
    AVCodecID videoCodec; // AV_CODEC_ID_NONE: no video expected
    const char* videoTag; // four-character code, or null when any
    int width;
    int height;
    double frameRate;
    AVCodecID audioCodec;
    int sampleRate;
    int channels;
};

const ConversionCase kMatrix[] = {
    {"clip_mpeg4_mp3.avi", "h264.mp4", "-vcodec libx264 -s 320x240 -r 25 -b 300 -acodec aac -ab 96 -ar 44100 -ac 2",
     AV_CODEC_ID_H264, nullptr, 320, 240, 25, AV_CODEC_ID_AAC, 44100, 2},
    {"clip_h264_aac.mp4", "h263.3gp", "-vcodec h263 -s 176x144 -r 15 -b 128 -acodec aac -ab 32 -ar 22050 -ac 1",
     AV_CODEC_ID_H263, nullptr, 176, 144, 15, AV_CODEC_ID_AAC, 22050, 1},
    {"clip_wmv2_wma.wmv", "divx.avi",
     "-vcodec mpeg4 -vtag DIVX -s 320x240 -r 25 -b 600 -acodec libmp3lame -ab 128 -ar 44100 -ac 2", AV_CODEC_ID_MPEG4,
     "DIVX", 320, 240, 25, AV_CODEC_ID_MP3, 44100, 2},
    {"clip_flv.flv", "wmv2.wmv", "-vcodec wmv2 -s 320x240 -r 25 -b 500 -acodec wmav2 -ab 64 -ar 44100 -ac 2",
     AV_CODEC_ID_WMV2, nullptr, 320, 240, 25, AV_CODEC_ID_WMAV2, 44100, 2},
    {"clip_mpeg2.mpg", "flv1.flv", "-vcodec flv -s 320x240 -r 25 -b 400 -acodec libmp3lame -ab 64 -ar 22050 -ac 2",
     AV_CODEC_ID_FLV1, nullptr, 320, 240, 25, AV_CODEC_ID_MP3, 22050, 2},
    {"clip_mov.mov", "mpeg1.mpg", "-vcodec mpeg1video -s 320x240 -r 25 -b 800 -acodec mp2 -ab 128 -ar 44100 -ac 2",
     AV_CODEC_ID_MPEG1VIDEO, nullptr, 320, 240, 25, AV_CODEC_ID_MP2, 44100, 2},
    {"clip_vorbis.mkv", "audio.mp3", "-vn 1 -acodec libmp3lame -ab 128 -ar 44100 -ac 2", AV_CODEC_ID_NONE, nullptr, 0,
     0, 0, AV_CODEC_ID_MP3, 44100, 2},
};

const double kDurationTolerance = 0.2;

std::string Scratch()
{
    static std::string dir = rwtest::ScratchDir("ConversionTest");
    return dir;
}

bool FileExists(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

uint32_t FourCC(const char* text)
{
    return (uint32_t)text[0] | (uint32_t)text[1] << 8 | (uint32_t)text[2] << 16 | (uint32_t)text[3] << 24;
}
}

TEST(Conversion, MatrixEndsDoneAndReadsBackAsRequested)
{
    rwtest::LogRecorder log;
    for (const ConversionCase& c : kMatrix)
    {
        SCOPED_TRACE(c.output);
        std::string output = Scratch() + "/" + c.output;
        JobSettings settings = MakeJobSettings(rwtest::Media(c.source), output, c.arguments);
        int id = EngineCreateJob(&settings);
        ASSERT_GE(id, kFirstJobId);
        EXPECT_EQ(kEncoderDone, rwtest::WaitForJobEnd(id));
        EXPECT_EQ(kProgressDone, EngineFindJob(id)->GetProgress());
        EXPECT_EQ(0, EngineDestroyJob(id));

        rwtest::OutputFacts facts = ProbeOutput(output);
        ASSERT_TRUE(facts.opened);
        EXPECT_EQ(c.videoCodec, facts.videoCodec);
        if (c.videoCodec != AV_CODEC_ID_NONE)
        {
            EXPECT_EQ(c.width, facts.width);
            EXPECT_EQ(c.height, facts.height);
            EXPECT_NEAR(c.frameRate, facts.frameRate, 0.01);
            EXPECT_GT(facts.videoFrames, 0);
        }
        if (c.videoTag)
            EXPECT_EQ(FourCC(c.videoTag), facts.videoTag);
        EXPECT_EQ(c.audioCodec, facts.audioCodec);
        EXPECT_EQ(c.sampleRate, facts.sampleRate);
        EXPECT_EQ(c.channels, facts.channels);
        EXPECT_NEAR(rwtest::kClipSeconds, facts.duration, kDurationTolerance);
        EXPECT_GT(facts.packets, 0);
        EXPECT_EQ(0, facts.undecodablePackets);
    }
}

TEST(Conversion, TimeLimitWritesNumberedSegments)
{
    std::string output = Scratch() + "/part.mp4";
    JobSettings settings =
        MakeJobSettings(rwtest::Media("long25s.mp4"), output, "-vcodec mpeg4 -b 200 -acodec aac -ab 64 -t 10");
    int id = EngineCreateJob(&settings);
    ASSERT_GE(id, kFirstJobId);
    CEncoder* job = EngineFindJob(id);
    float last = 0.0f;
    bool decreased = false, aboveLimit = false;
    while (!rwtest::IsJobFinished(job->m_state))
    {
        float progress = job->GetProgress();
        decreased = decreased || progress < last;
        aboveLimit = aboveLimit || progress > kProgressRunningMax;
        last = progress;
        ::Sleep(5);
    }
    EXPECT_FALSE(decreased);
    EXPECT_FALSE(aboveLimit);
    EXPECT_EQ(kEncoderDone, (EncoderState)job->m_state);
    EXPECT_EQ(kProgressDone, job->GetProgress());
    EXPECT_EQ(0, EngineDestroyJob(id));

    EXPECT_FALSE(FileExists(output));
    EXPECT_FALSE(FileExists(Scratch() + "/part - 04.mp4"));
    double total = 0.0;
    const double expected[] = {10.0, 10.0, 5.0};
    for (int n = 1; n <= 3; ++n)
    {
        char name[64];
        snprintf(name, sizeof(name), "/part - %02d.mp4", n);
        rwtest::OutputFacts facts = ProbeOutput(Scratch() + name);
        ASSERT_TRUE(facts.opened) << name;
        EXPECT_NEAR(expected[n - 1], facts.duration, kDurationTolerance) << name;
        EXPECT_EQ(0, facts.undecodablePackets) << name;
        total += facts.duration;
    }
    EXPECT_NEAR(25.0, total, 3 * kDurationTolerance);
}

TEST(Conversion, ContainerWithoutDurationKeepsProgressInRange)
{
    std::string output = Scratch() + "/raw.mp4";
    JobSettings settings = MakeJobSettings(rwtest::Media("no_duration.h264"), output, "-vcodec mpeg4 -b 300");
    int id = EngineCreateJob(&settings);
    ASSERT_GE(id, kFirstJobId);
    CEncoder* job = EngineFindJob(id);
    bool outOfRange = false;
    while (!rwtest::IsJobFinished(job->m_state))
    {
        float progress = job->GetProgress();
        outOfRange = outOfRange || !(progress >= 0.0f && progress <= kProgressRunningMax);
        ::Sleep(2);
    }
    EXPECT_FALSE(outOfRange);
    EXPECT_EQ(kEncoderDone, (EncoderState)job->m_state);
    EXPECT_EQ(0, EngineDestroyJob(id));
}

// A transport stream whose program gains a second sound stream six seconds in, after the streams
// were probed: the job converts the streams it mapped, leaves the new one out and ends done.
TEST(Conversion, StreamThatAppearsPartWayIsLeftOut)
{
    const double kLateStreamSeconds = 14.0; // the source's three parts: 6 + 2 + 6 seconds
    const struct
    {
        const char* output;
        const char* arguments;
        AVCodecID videoCodec;
        AVCodecID audioCodec;
    } cases[] = {
        {"late.wav", "-vn 1 -acodec pcm_s16le -ar 44100 -ac 2", AV_CODEC_ID_NONE, AV_CODEC_ID_PCM_S16LE},
        {"late.mp3", "-vn 1 -acodec libmp3lame -ab 128 -ar 44100 -ac 2", AV_CODEC_ID_NONE, AV_CODEC_ID_MP3},
        {"late.mp4", "-vcodec mpeg4 -s 160x120 -r 25 -b 300 -acodec aac -ab 96 -ar 44100 -ac 2", AV_CODEC_ID_MPEG4,
         AV_CODEC_ID_AAC},
    };
    rwtest::LogRecorder log;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.output);
        std::string output = Scratch() + "/" + c.output;
        JobSettings settings = MakeJobSettings(rwtest::Media("late_stream.ts"), output, c.arguments);
        int id = EngineCreateJob(&settings);
        ASSERT_GE(id, kFirstJobId);
        EXPECT_EQ(kEncoderDone, rwtest::WaitForJobEnd(id)); // a hang guard of a minute
        EXPECT_EQ(0, EngineDestroyJob(id));

        rwtest::OutputFacts facts = ProbeOutput(output);
        ASSERT_TRUE(facts.opened);
        EXPECT_EQ(c.videoCodec, facts.videoCodec);
        EXPECT_EQ(c.audioCodec, facts.audioCodec);
        EXPECT_NEAR(kLateStreamSeconds, facts.duration, kDurationTolerance);
        EXPECT_EQ(0, facts.undecodablePackets);
    }
}
