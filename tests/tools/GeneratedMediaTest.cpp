// Reads the generated test media back through libavformat: the clips have the streams, codecs,
// sizes and durations the other tests rely on, and the broken files fail without crashing.
#include "RwTest.h"
#include "TestMedia.h"
#include "tools/mkmedia/AvFree.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace
{
using InputPtr = std::unique_ptr<AVFormatContext, AvFree<AVFormatContext, avformat_close_input>>;
using PacketPtr = std::unique_ptr<AVPacket, AvFree<AVPacket, av_packet_free>>;
using FramePtr = std::unique_ptr<AVFrame, AvFree<AVFrame, av_frame_free>>;
using CodecPtr = std::unique_ptr<AVCodecContext, AvFree<AVCodecContext, avcodec_free_context>>;

// Opens a media file and reads its stream info; null (with the error in `err`) when either fails.
InputPtr Open(const char* name, int* err = nullptr)
{
    std::string path = rwtest::Media(name);
    AVFormatContext* raw = nullptr;
    int rc = avformat_open_input(&raw, path.c_str(), nullptr, nullptr);
    InputPtr in(raw);
    if (rc >= 0)
        rc = avformat_find_stream_info(in.get(), nullptr);
    if (err)
        *err = rc;
    return rc >= 0 ? std::move(in) : nullptr;
}

// Reads every packet to the end of the file; the count read, per stream type.
struct PacketCount
{
    int video = 0, audio = 0, data = 0;
    int end = 0; // what the last read returned
};
PacketCount ReadAll(AVFormatContext* in)
{
    PacketCount n;
    PacketPtr pkt(av_packet_alloc());
    while ((n.end = av_read_frame(in, pkt.get())) >= 0)
    {
        switch (in->streams[pkt->stream_index]->codecpar->codec_type)
        {
        case AVMEDIA_TYPE_VIDEO:
            ++n.video;
            break;
        case AVMEDIA_TYPE_AUDIO:
            ++n.audio;
            break;
        default:
            ++n.data;
            break;
        }
        av_packet_unref(pkt.get());
    }
    return n;
}

int CountStreams(AVFormatContext* in, AVMediaType type)
{
    int n = 0;
    for (unsigned i = 0; i < in->nb_streams; ++i)
        n += in->streams[i]->codecpar->codec_type == type;
    return n;
}

// A file name as a test name: letters and digits kept, the rest as underscores.
std::string CaseName(const char* file)
{
    std::string name = file;
    for (char& ch : name)
        if (!isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
}

struct ClipCase
{
    const char* name;
    AVCodecID video; // AV_CODEC_ID_NONE: no video stream
    int width, height;
    AVCodecID audio; // AV_CODEC_ID_NONE: no audio stream
    int sampleRate, channels, audioStreams;
    double seconds;
};

const ClipCase kClips[] = {
    {rwtest::kClipMp4, AV_CODEC_ID_H264, 320, 240, AV_CODEC_ID_AAC, 44100, 2, 1, 3.0},
    {rwtest::kClipAvi, AV_CODEC_ID_MPEG4, 320, 240, AV_CODEC_ID_MP3, 44100, 2, 1, 3.0},
    {rwtest::kClipWmv, AV_CODEC_ID_WMV2, 320, 240, AV_CODEC_ID_WMAV2, 44100, 2, 1, 3.0},
    {rwtest::kClipFlv, AV_CODEC_ID_FLV1, 320, 240, AV_CODEC_ID_MP3, 44100, 2, 1, 3.0},
    {rwtest::kClipMpg, AV_CODEC_ID_MPEG2VIDEO, 320, 240, AV_CODEC_ID_MP2, 44100, 2, 1, 3.0},
    {rwtest::kClipMkv, AV_CODEC_ID_MPEG4, 320, 240, AV_CODEC_ID_VORBIS, 44100, 2, 1, 3.0},
    {rwtest::kClipMov, AV_CODEC_ID_MPEG4, 320, 240, AV_CODEC_ID_AAC, 44100, 2, 1, 3.0},
    {rwtest::kAudioMp3, AV_CODEC_ID_NONE, 0, 0, AV_CODEC_ID_MP3, 44100, 2, 1, 3.0},
    {rwtest::kAudioWav, AV_CODEC_ID_NONE, 0, 0, AV_CODEC_ID_PCM_S16LE, 44100, 2, 1, 3.0},
    {rwtest::kAudioAac, AV_CODEC_ID_NONE, 0, 0, AV_CODEC_ID_AAC, 44100, 2, 1, 3.0},
    {rwtest::kWide302, AV_CODEC_ID_H264, 302, 240, AV_CODEC_ID_AAC, 44100, 2, 1, 3.0},
    {rwtest::kSurround51, AV_CODEC_ID_MPEG4, 320, 240, AV_CODEC_ID_AC3, 48000, 6, 1, 3.0},
    {rwtest::kMono8k, AV_CODEC_ID_NONE, 0, 0, AV_CODEC_ID_PCM_S16LE, 8000, 1, 1, 3.0},
    {rwtest::kManyStreams, AV_CODEC_ID_MPEG4, 320, 240, AV_CODEC_ID_MP2, 44100, 2, 21, 3.0},
    {rwtest::kWithData, AV_CODEC_ID_H264, 320, 240, AV_CODEC_ID_MP2, 44100, 2, 1, 3.0},
    {rwtest::kLong25s, AV_CODEC_ID_H264, 160, 120, AV_CODEC_ID_AAC, 44100, 2, 1, 25.0},
    {rwtest::kHd720, AV_CODEC_ID_H264, 1280, 720, AV_CODEC_ID_AAC, 44100, 2, 1, 1.0},
};
// Containers round the end to their own packet and frame sizes.
constexpr double kDurationSlack = 0.15;

class GeneratedClip : public testing::TestWithParam<ClipCase>
{
};

TEST_P(GeneratedClip, HasTheStreamsItWasMadeWith)
{
    const ClipCase& c = GetParam();
    InputPtr in = Open(c.name);
    ASSERT_TRUE(in);
    ASSERT_NE(in->duration, AV_NOPTS_VALUE);
    EXPECT_NEAR(in->duration / double(AV_TIME_BASE), c.seconds, kDurationSlack);

    EXPECT_EQ(CountStreams(in.get(), AVMEDIA_TYPE_VIDEO), c.video != AV_CODEC_ID_NONE ? 1 : 0);
    EXPECT_EQ(CountStreams(in.get(), AVMEDIA_TYPE_AUDIO), c.audio != AV_CODEC_ID_NONE ? c.audioStreams : 0);
    for (unsigned i = 0; i < in->nb_streams; ++i)
    {
        const AVCodecParameters* par = in->streams[i]->codecpar;
        SCOPED_TRACE(i);
        if (par->codec_type == AVMEDIA_TYPE_VIDEO)
        {
            EXPECT_EQ(par->codec_id, c.video);
            EXPECT_EQ(par->width, c.width);
            EXPECT_EQ(par->height, c.height);
            EXPECT_NEAR(av_q2d(in->streams[i]->avg_frame_rate), rwtest::kClipFps, 0.01);
        }
        else if (par->codec_type == AVMEDIA_TYPE_AUDIO)
        {
            EXPECT_EQ(par->codec_id, c.audio);
            EXPECT_EQ(par->sample_rate, c.sampleRate);
            EXPECT_EQ(par->ch_layout.nb_channels, c.channels);
        }
    }

    PacketCount n = ReadAll(in.get());
    EXPECT_EQ(n.end, AVERROR_EOF);
    if (c.video != AV_CODEC_ID_NONE)
        EXPECT_NEAR(n.video, c.seconds * rwtest::kClipFps, 1);
    if (c.audio != AV_CODEC_ID_NONE)
        EXPECT_GT(n.audio, 0);
}

INSTANTIATE_TEST_SUITE_P(Media, GeneratedClip, testing::ValuesIn(kClips),
                         [](const testing::TestParamInfo<ClipCase>& info) { return CaseName(info.param.name); });

TEST(GeneratedMedia, AviKeepsTheDivxTag)
{
    InputPtr in = Open(rwtest::kClipAvi);
    ASSERT_TRUE(in);
    int v = av_find_best_stream(in.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    ASSERT_GE(v, 0);
    EXPECT_EQ(in->streams[v]->codecpar->codec_tag, MKTAG('D', 'I', 'V', 'X'));
}

TEST(GeneratedMedia, ManyStreamsHasMoreThanTwentyStreams)
{
    InputPtr in = Open(rwtest::kManyStreams);
    ASSERT_TRUE(in);
    EXPECT_GT(in->nb_streams, 20u);
}

TEST(GeneratedMedia, TransportStreamCarriesDataPackets)
{
    InputPtr in = Open(rwtest::kWithData);
    ASSERT_TRUE(in);
    EXPECT_EQ(CountStreams(in.get(), AVMEDIA_TYPE_DATA), 1);
    EXPECT_GT(ReadAll(in.get()).data, 0);
}

TEST(GeneratedMedia, RawStreamGivesNoDuration)
{
    InputPtr in = Open(rwtest::kNoDuration);
    ASSERT_TRUE(in);
    EXPECT_EQ(in->duration, AV_NOPTS_VALUE);
    ASSERT_EQ(in->nb_streams, 1u);
    EXPECT_EQ(in->streams[0]->codecpar->codec_id, AV_CODEC_ID_H264);
    EXPECT_NEAR(ReadAll(in.get()).video, rwtest::kClipFrames, 1);
}

// Every picture carries its own number, so tests of seeking and splitting can tell where they are.
TEST(GeneratedMedia, PicturesCountTheirFrames)
{
    InputPtr in = Open(rwtest::kClipMp4);
    ASSERT_TRUE(in);
    const AVCodec* codec = nullptr;
    int v = av_find_best_stream(in.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    ASSERT_GE(v, 0);
    CodecPtr dec(avcodec_alloc_context3(codec));
    ASSERT_GE(avcodec_parameters_to_context(dec.get(), in->streams[v]->codecpar), 0);
    dec->thread_count = 1;
    ASSERT_GE(avcodec_open2(dec.get(), codec, nullptr), 0);

    PacketPtr pkt(av_packet_alloc());
    FramePtr frame(av_frame_alloc());
    int decoded = 0;
    auto drain = [&] {
        while (avcodec_receive_frame(dec.get(), frame.get()) >= 0)
        {
            EXPECT_EQ(rwtest::ReadFrameCounter(frame->data[0], frame->linesize[0], frame->width, frame->height),
                      decoded);
            ++decoded;
        }
    };
    while (av_read_frame(in.get(), pkt.get()) >= 0)
    {
        if (pkt->stream_index == v)
            avcodec_send_packet(dec.get(), pkt.get());
        av_packet_unref(pkt.get());
        drain();
    }
    avcodec_send_packet(dec.get(), nullptr);
    drain();
    EXPECT_EQ(decoded, rwtest::kClipFrames);
}

// The tone is at 440 Hz on every channel, with a beep at the start of each second. Checked on the
// PCM files, whose packets are the samples themselves.
class GeneratedTone : public testing::TestWithParam<const char*>
{
};

TEST_P(GeneratedTone, BeepsEachSecond)
{
    InputPtr in = Open(GetParam());
    ASSERT_TRUE(in);
    const AVCodecParameters* par = in->streams[0]->codecpar;
    ASSERT_EQ(par->codec_id, AV_CODEC_ID_PCM_S16LE);
    const int channels = par->ch_layout.nb_channels, rate = par->sample_rate;
    std::vector<int16_t> samples; // the first channel
    PacketPtr pkt(av_packet_alloc());
    while (av_read_frame(in.get(), pkt.get()) >= 0)
    {
        const int16_t* s = reinterpret_cast<const int16_t*>(pkt->data);
        for (int i = 0; i + channels <= pkt->size / 2; i += channels)
            samples.push_back(s[i]);
        av_packet_unref(pkt.get());
    }
    ASSERT_EQ(samples.size(), size_t(rwtest::kClipSeconds * rate));

    auto peak = [&](double from, double to) {
        int p = 0;
        for (size_t i = size_t(from * rate); i < size_t(to * rate); ++i)
            p = (std::max)(p, std::abs(int(samples[i]))); // windows.h defines max
        return p / 32767.0;
    };
    const double beepEnd = rwtest::kBeepSeconds;
    for (int second = 0; second < int(rwtest::kClipSeconds); ++second)
    {
        SCOPED_TRACE(second);
        EXPECT_NEAR(peak(second, second + beepEnd), rwtest::kBeepLevel, 0.01);
        EXPECT_NEAR(peak(second + beepEnd + 0.01, second + 1), rwtest::kToneLevel, 0.01);
    }
    int crossings = 0;
    for (size_t i = 1; i < size_t(rate); ++i)
        crossings += (samples[i - 1] < 0) != (samples[i] < 0);
    EXPECT_NEAR(crossings, 2 * rwtest::kToneHz, 2);
}

INSTANTIATE_TEST_SUITE_P(Media, GeneratedTone, testing::Values(rwtest::kAudioWav, rwtest::kMono8k),
                         [](const testing::TestParamInfo<const char*>& info) { return CaseName(info.param); });

struct BrokenCase
{
    const char* name;
    bool opens; // the header survives, the damage shows while reading
};
const BrokenCase kBroken[] = {
    {rwtest::kTruncatedMp4, false},
    {rwtest::kTruncatedAvi, true},
    {rwtest::kGarbageAvi, false},
    {rwtest::kEmptyMp4, false},
};

class BrokenMedia : public testing::TestWithParam<BrokenCase>
{
};

TEST_P(BrokenMedia, FailsWithoutCrashing)
{
    int err = 0;
    InputPtr in = Open(GetParam().name, &err);
    if (!GetParam().opens)
    {
        EXPECT_FALSE(in);
        EXPECT_LT(err, 0);
        return;
    }
    ASSERT_TRUE(in);
    PacketCount n = ReadAll(in.get());
    EXPECT_LT(n.end, 0);
    EXPECT_LT(n.video, rwtest::kClipFrames); // the rest of the clip is gone
}

INSTANTIATE_TEST_SUITE_P(Media, BrokenMedia, testing::ValuesIn(kBroken),
                         [](const testing::TestParamInfo<BrokenCase>& info) { return CaseName(info.param.name); });
} // namespace
