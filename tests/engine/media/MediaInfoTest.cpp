#define NOMINMAX // before the first windows.h: the tests use std::min and std::max
#include "RwTest.h"
#include "TestMedia.h"

#include "engine/Engine.h"
#include "engine/media/MediaInfo.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
}

#include <climits>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace
{
// What libavformat itself reports of a file: the reference the media information must equal.
struct Reference
{
    int64_t duration = 0;
    int64_t size = 0;
    std::string container;
    std::string videoCodec, audioCodec;
    int width = 0, height = 0, sampleRate = 0, channels = 0;
    bool video = false, audio = false;
};

std::string DecoderName(AVCodecID id)
{
    const AVCodec* codec = avcodec_find_decoder(id);
    return codec ? codec->name : "";
}

Reference Probe(const std::string& path)
{
    Reference r;
    AVFormatContext* file = nullptr;
    EXPECT_EQ(0, avformat_open_input(&file, path.c_str(), nullptr, nullptr)) << path;
    EXPECT_GE(avformat_find_stream_info(file, nullptr), 0);
    r.duration = file->duration == AV_NOPTS_VALUE ? 0 : file->duration;
    r.size = avio_size(file->pb);
    r.container = file->iformat->long_name ? file->iformat->long_name : file->iformat->name;
    for (unsigned i = 0; i < file->nb_streams; ++i)
    {
        const AVCodecParameters* p = file->streams[i]->codecpar;
        if (p->codec_type == AVMEDIA_TYPE_VIDEO)
        {
            r.video = true;
            r.videoCodec = DecoderName(p->codec_id);
            r.width = p->width;
            r.height = p->height;
        }
        else if (p->codec_type == AVMEDIA_TYPE_AUDIO)
        {
            r.audio = true;
            r.audioCodec = DecoderName(p->codec_id);
            r.sampleRate = p->sample_rate;
            r.channels = p->ch_layout.nb_channels;
        }
    }
    avformat_close_input(&file);
    return r;
}

MediaInfo InfoOf(const std::string& path)
{
    MediaInfo info;
    std::memset(&info, 0x5A, sizeof(info));
    EXPECT_EQ(0, EngineGetMediaInfo(path.c_str(), &info)) << path;
    return info;
}

// Width and height from a BMP file's header; false when it is not one.
bool ReadBmpSize(const std::string& path, int& width, int& height)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    unsigned char header[26] = {};
    size_t got = std::fread(header, 1, sizeof(header), f);
    std::fclose(f);
    if (got != sizeof(header) || header[0] != 'B' || header[1] != 'M')
        return false;
    width = header[18] | header[19] << 8 | header[20] << 16 | header[21] << 24;
    height = header[22] | header[23] << 8 | header[24] << 16 | header[25] << 24;
    if (height < 0)
        height = -height;
    return true;
}

bool Exists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}
}

TEST(MediaInfo, EqualsWhatLibavformatReports)
{
    const char* sources[] = {rwtest::kClipMp4,  rwtest::kClipAvi,    rwtest::kClipWmv,     rwtest::kClipFlv,
                             rwtest::kClipMpg,  rwtest::kClipMkv,    rwtest::kClipMov,     rwtest::kAudioMp3,
                             rwtest::kAudioWav, rwtest::kAudioAac,   rwtest::kWide302,     rwtest::kSurround51,
                             rwtest::kMono8k,   rwtest::kNoDuration, rwtest::kManyStreams, rwtest::kWithData};
    for (const char* name : sources)
    {
        SCOPED_TRACE(name);
        const std::string path = rwtest::Media(name);
        Reference r = Probe(path);
        MediaInfo info = InfoOf(path);
        EXPECT_EQ(r.duration, static_cast<int64_t>(info.duration));
        EXPECT_EQ(r.size, info.fileSize);
        EXPECT_EQ(r.container.substr(0, kMediaInfoTextSize - 1), info.container);
        EXPECT_EQ(r.video ? 1 : 0, info.hasVideo);
        EXPECT_EQ(r.audio ? 1 : 0, info.hasAudio);
        if (r.video)
        {
            EXPECT_EQ(r.videoCodec, info.videoCodec);
            EXPECT_EQ(r.width, info.width);
            EXPECT_EQ(r.height, info.height);
            EXPECT_GT(info.frameRate, 0.0f);
            EXPECT_STRNE("", info.pixelFormat);
        }
        if (r.audio)
        {
            EXPECT_EQ(r.audioCodec, info.audioCodec);
            EXPECT_EQ(r.sampleRate, info.sampleRate);
            EXPECT_EQ(r.channels, info.channels);
            EXPECT_STRNE("", info.sampleFormat);
        }
        EXPECT_EQ(0, info.reserved);
    }
}

TEST(MediaInfo, DescribesTheKnownClips)
{
    MediaInfo clip = InfoOf(rwtest::Media(rwtest::kClipMp4));
    EXPECT_STREQ("h264", clip.videoCodec);
    EXPECT_STREQ("aac", clip.audioCodec);
    EXPECT_FLOAT_EQ(25.0f, clip.frameRate);
    EXPECT_NEAR(3000000.0, clip.duration, 100000.0);
    EXPECT_STREQ("yuv420p", clip.pixelFormat);

    // Uncompressed PCM: the bit rate follows from the sample layout.
    MediaInfo wav = InfoOf(rwtest::Media(rwtest::kAudioWav));
    EXPECT_EQ(0, wav.hasVideo);
    EXPECT_EQ(1411200, wav.audioBitRate);
    EXPECT_EQ(16, wav.bitsPerSample);
    MediaInfo mono = InfoOf(rwtest::Media(rwtest::kMono8k));
    EXPECT_EQ(128000, mono.audioBitRate);

    MediaInfo surround = InfoOf(rwtest::Media(rwtest::kSurround51));
    EXPECT_EQ(rwtest::kSurroundChannels, surround.channels);
    EXPECT_EQ(rwtest::kSurroundSampleRate, surround.sampleRate);

    EXPECT_EQ(0.0, InfoOf(rwtest::Media(rwtest::kNoDuration)).duration);
}

TEST(MediaInfo, TakesWin32Paths)
{
    MediaInfo info = InfoOf(rwtest::ToWin32Path(rwtest::Media(rwtest::kClipAvi)));
    EXPECT_EQ(rwtest::kClipWidth, info.width);
}

TEST(MediaInfo, BrokenOrMissingFilesFailAndLeaveTheRecord)
{
    const char* broken[] = {rwtest::kGarbageAvi, rwtest::kEmptyMp4, "no_such_file.mp4"};
    for (const char* name : broken)
    {
        SCOPED_TRACE(name);
        MediaInfo info;
        std::memset(&info, 0x5A, sizeof(info));
        MediaInfo before = info;
        EXPECT_EQ(-1, EngineGetMediaInfo(rwtest::Media(name).c_str(), &info));
        EXPECT_EQ(0, std::memcmp(&before, &info, sizeof(info)));
    }
    MediaInfo info;
    EXPECT_EQ(-1, EngineGetMediaInfo(nullptr, &info));
    EXPECT_EQ(-1, EngineGetMediaInfo(rwtest::Media(rwtest::kClipMp4).c_str(), nullptr));
}

TEST(MediaInfo, TruncatedFilesGiveWhatIsLeftOrFail)
{
    MediaInfo info;
    EXPECT_EQ(-1, EngineGetMediaInfo(rwtest::Media(rwtest::kTruncatedMp4).c_str(), &info)); // its index is lost
    ASSERT_EQ(0, EngineGetMediaInfo(rwtest::Media(rwtest::kTruncatedAvi).c_str(), &info));
    EXPECT_EQ(rwtest::kClipWidth, info.width);
    const std::string bmp = rwtest::ScratchDir("TruncatedThumbnail") + "/thumb.bmp";
    EXPECT_EQ(0, EngineMakeThumbnail(rwtest::Media(rwtest::kTruncatedAvi).c_str(), bmp.c_str()));
}

TEST(MediaInfo, CodecDisplayNames)
{
    struct Case
    {
        AVCodecID id;
        unsigned tag;
        const char* expected;
    } cases[] = {
        {AV_CODEC_ID_H264, 0, "h264"},
        {AV_CODEC_ID_MPEG2TS, 0, "mpeg2ts"},
        {AV_CODEC_ID_NONE, MKTAG('X', 'V', 'I', 'D'), "XVID / 0x44495658"},
        {AV_CODEC_ID_NONE, 0x0001, "0x0001"},
    };
    for (const Case& c : cases)
    {
        AVCodecContext* context = avcodec_alloc_context3(nullptr);
        context->codec_id = c.id;
        context->codec_tag = c.tag;
        char name[kMediaInfoTextSize];
        GetCodecDisplayName(context, name);
        EXPECT_STREQ(c.expected, name);
        avcodec_free_context(&context);
    }
}

TEST(MediaInfo, AudioBitRateOfPcmByCodec)
{
    struct Case
    {
        AVCodecID id;
        int channels;
        int64_t expected;
    } cases[] = {
        {AV_CODEC_ID_PCM_S16LE, 2, 1411200},
        {AV_CODEC_ID_PCM_U8, 2, 705600},
        {AV_CODEC_ID_PCM_S24LE, 2, 2116800},
        {AV_CODEC_ID_PCM_F32LE, 2, 2822400},
        {AV_CODEC_ID_PCM_F64BE, 2, 5644800},
        {AV_CODEC_ID_PCM_DVD, 2, 1234},
        {AV_CODEC_ID_MP3, 2, 1234},
        // A hostile WAV header: the rate needs 64 bits, and the record's field holds its ceiling.
        {AV_CODEC_ID_PCM_S32LE, 65535, 92482992000LL},
    };
    for (const Case& c : cases)
    {
        AVCodecContext* context = avcodec_alloc_context3(nullptr);
        context->codec_id = c.id;
        context->sample_rate = 44100;
        context->ch_layout.order = AV_CHANNEL_ORDER_UNSPEC;
        context->ch_layout.nb_channels = c.channels;
        context->bit_rate = 1234;
        EXPECT_EQ(c.expected, GetAudioBitRate(context)) << avcodec_get_name(c.id);
        EXPECT_EQ(c.expected > INT_MAX ? INT_MAX : c.expected, BitRateField(GetAudioBitRate(context)));
        avcodec_free_context(&context);
    }
}

TEST(Thumbnail, WritesTheFirstPictureAsBmpWithWidthRaisedToFour)
{
    const std::string dir = rwtest::ScratchDir("Thumbnail");
    struct Case
    {
        const char* source;
        int width;
        int height;
    } cases[] = {
        {rwtest::kClipMp4, 320, 240},
        {rwtest::kWide302, 304, 240},
        {rwtest::kClipWmv, 320, 240},
        {rwtest::kNoDuration, 320, 240},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.source);
        const std::string bmp = dir + "/" + c.source + ".bmp";
        ASSERT_EQ(0, EngineMakeThumbnail(rwtest::Media(c.source).c_str(), rwtest::ToWin32Path(dir).append("\\")
                                                                              .append(c.source)
                                                                              .append(".bmp")
                                                                              .c_str()));
        int width = 0, height = 0;
        ASSERT_TRUE(ReadBmpSize(bmp, width, height));
        EXPECT_EQ(c.width, width);
        EXPECT_EQ(c.height, height);
    }
}

TEST(Thumbnail, FailsWithoutAPictureAndWritesNothing)
{
    const std::string dir = rwtest::ScratchDir("ThumbnailFails");
    const char* sources[] = {rwtest::kAudioMp3, rwtest::kGarbageAvi, rwtest::kEmptyMp4, "no_such_file.mp4"};
    for (const char* source : sources)
    {
        SCOPED_TRACE(source);
        const std::string bmp = dir + "/thumb.bmp";
        EXPECT_EQ(-1, EngineMakeThumbnail(rwtest::Media(source).c_str(), bmp.c_str()));
        EXPECT_FALSE(Exists(bmp));
    }
    EXPECT_EQ(-1, EngineMakeThumbnail(rwtest::Media(rwtest::kClipMp4).c_str(), "/no/such/folder/thumb.bmp"));
}
