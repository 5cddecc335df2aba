#define NOMINMAX // before the first windows.h: the tests use std::min and std::max
#include "RwTest.h"
#include "TestMedia.h"

#include "engine/media/FFMpegReader.h"

#include <cstdlib>
#include <vector>

namespace
{
// A reader whose delivered video size is chosen before Open, as the RealMedia job does.
class SizedReader : public FFMpegReader
{
public:
    explicit SizedReader(const std::string& path, int width = -1, int height = -1)
    {
        SetPath(path.c_str());
        m_outputWidth = width;
        m_outputHeight = height;
    }
};

struct StreamTotals
{
    int frames = 0;
    int64_t audioBytes = 0;
    int64_t lastVideoEnd = 0;
    int64_t lastAudioEnd = 0;
    int peakSample = 0;
    bool videoInOrder = true;
    bool audioContiguous = true;
};

// Reads both streams to their ends, alternating as the producer does.
StreamTotals ReadAll(FFMpegReader& reader, int videoStream, int audioStream)
{
    StreamTotals t;
    const int frameBytes = reader.GetWidth(0) * reader.GetHeight(0) * 4;
    std::vector<unsigned char> picture(frameBytes > 0 ? frameBytes : 1);
    std::vector<unsigned char> sound(0x8000);
    bool videoDone = videoStream < 0, audioDone = audioStream < 0;
    int64_t previousStart = -1;
    while (!videoDone || !audioDone)
    {
        int64_t start = 0, end = 0;
        if (!videoDone)
        {
            int got = reader.ReadVideo(videoStream, picture.data(), static_cast<int>(picture.size()), &start, &end);
            if (got <= 0)
                videoDone = true;
            else
            {
                EXPECT_EQ(frameBytes, got);
                t.videoInOrder = t.videoInOrder && start > previousStart && end >= start;
                previousStart = start;
                t.lastVideoEnd = end;
                ++t.frames;
            }
        }
        if (!audioDone)
        {
            int got = reader.ReadAudio(audioStream, sound.data(), static_cast<int>(sound.size()), &start, &end);
            if (got <= 0)
                audioDone = true;
            else
            {
                t.audioContiguous = t.audioContiguous && start == t.lastAudioEnd;
                t.lastAudioEnd = end;
                t.audioBytes += got;
                const int16_t* samples = reinterpret_cast<const int16_t*>(sound.data());
                for (int i = 0; i < got / 2; ++i)
                    t.peakSample = std::max(t.peakSample, std::abs(static_cast<int>(samples[i])));
            }
        }
    }
    return t;
}
}

TEST(FFMpegReader, DescribesTheStreamsAndDeliveredFormats)
{
    SizedReader reader(rwtest::Media(rwtest::kClipMp4));
    EXPECT_EQ(-1, reader.CheckOpen());
    EXPECT_EQ(0, reader.GetStreamCount());
    EXPECT_EQ(-1, reader.GetStreamType(0));
    ASSERT_EQ(0, reader.Open());
    EXPECT_EQ(0, reader.CheckOpen());
    EXPECT_EQ(2, reader.GetStreamCount());
    EXPECT_EQ(0, reader.GetStreamType(0));
    EXPECT_EQ(1, reader.GetStreamType(1));
    EXPECT_EQ(-1, reader.GetStreamType(2));
    EXPECT_EQ(kReaderPixelFormatBGRA, reader.GetPixelFormat(0));
    EXPECT_EQ(rwtest::kClipWidth, reader.GetWidth(0));
    EXPECT_EQ(rwtest::kClipHeight, reader.GetHeight(0));
    EXPECT_DOUBLE_EQ(rwtest::kClipFps, reader.GetFrameRate(0));
    EXPECT_EQ(rwtest::kClipChannels, reader.GetChannels(1));
    EXPECT_EQ(16, reader.GetBitsPerSample(1));
    EXPECT_EQ(rwtest::kClipSampleRate, reader.GetSampleRate(1));
    EXPECT_NEAR(3000000, reader.GetDuration(), 100000);
    EXPECT_EQ(0, reader.Close());
    EXPECT_EQ(-1, reader.CheckOpen());
    EXPECT_EQ(0, reader.Close());
}

TEST(FFMpegReader, DeliversEveryFrameAndSampleToTheEnd)
{
    struct Case
    {
        const char* source;
        int width, height; // requested size, -1 for the source's
        int frames;
        int64_t minAudioBytes, maxAudioBytes;
    } cases[] = {
        // AAC and MP3 decoders add up to a frame of priming samples.
        {rwtest::kClipMp4, -1, -1, rwtest::kClipFrames, 529200, 529200 + 4 * 2048},
        {rwtest::kClipAvi, 160, 120, rwtest::kClipFrames, 529200, 529200 + 4 * 2304},
        {rwtest::kClipMkv, 176, 144, rwtest::kClipFrames, 529200 - 4 * 2048, 529200 + 4 * 2048},
        {rwtest::kAudioWav, -1, -1, 0, 529200, 529200},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.source);
        SizedReader reader(rwtest::Media(c.source), c.width, c.height);
        ASSERT_EQ(0, reader.Open());
        int video = -1, audio = -1;
        for (int i = 0; i < reader.GetStreamCount(); ++i)
            (reader.GetStreamType(i) == 0 ? video : audio) = i;
        if (c.width > 0)
        {
            EXPECT_EQ(c.width, reader.GetWidth(video));
            EXPECT_EQ(c.height, reader.GetHeight(video));
        }
        StreamTotals t = ReadAll(reader, video, audio);
        EXPECT_EQ(c.frames, t.frames);
        EXPECT_TRUE(t.videoInOrder);
        EXPECT_TRUE(t.audioContiguous);
        EXPECT_GE(t.audioBytes, c.minAudioBytes);
        EXPECT_LE(t.audioBytes, c.maxAudioBytes);
        EXPECT_NEAR(3000000, t.lastAudioEnd, 60000);
        if (c.frames)
            EXPECT_NEAR(3000000, t.lastVideoEnd, 80000);
        // Packed 16-bit samples of the beep (0.6 of full scale), whatever the decoder's own format.
        EXPECT_NEAR(rwtest::kBeepLevel * 32767, t.peakSample, 0.1 * 32767);

        int64_t start = 0, end = 0;
        unsigned char byte[16];
        EXPECT_EQ(0, reader.ReadAudio(audio, byte, sizeof(byte), &start, &end));
        if (video >= 0)
            EXPECT_EQ(0, reader.ReadVideo(video, byte, sizeof(byte), &start, &end));
        EXPECT_EQ(0, reader.Close());
    }
}

TEST(FFMpegReader, SplitsAnAudioChunkOverSmallBuffers)
{
    SizedReader reader(rwtest::Media(rwtest::kAudioWav));
    ASSERT_EQ(0, reader.Open());
    std::vector<unsigned char> whole(0x100000);
    int64_t start = 0, end = 0;
    // The first chunk, whole, tells its length and duration.
    const int chunk = reader.ReadAudio(0, whole.data(), static_cast<int>(whole.size()), &start, &end);
    ASSERT_GT(chunk, 8);
    EXPECT_EQ(0, start);
    EXPECT_EQ(chunk * 1000000LL / (44100 * 4), end);

    // The next chunk in two halves: the times split in proportion to the bytes.
    int64_t s1 = 0, e1 = 0, s2 = 0, e2 = 0;
    const int half = chunk / 2;
    int got1 = reader.ReadAudio(0, whole.data(), half, &s1, &e1);
    int got2 = reader.ReadAudio(0, whole.data(), static_cast<int>(whole.size()), &s2, &e2);
    EXPECT_EQ(half, got1);
    EXPECT_EQ(end, s1);
    EXPECT_EQ(e1, s2);
    EXPECT_GT(e2, e1);
    EXPECT_GT(got2, 0);
}

TEST(FFMpegReader, OpensWhatItCanDescribe)
{
    struct Case
    {
        const char* source;
        int opens;
        int streams;
    } cases[] = {
        {rwtest::kSurround51, 0, 2},
        {rwtest::kManyStreams, 0, FFMpegReader::kMaxStreams}, // streams past the table are left out
        {rwtest::kWithData, -1, 0},                           // a data stream has no decoder
        {rwtest::kGarbageAvi, -1, 0},
        {rwtest::kEmptyMp4, -1, 0},
        {"no_such_file.mp4", -1, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.source);
        SizedReader reader(rwtest::Media(c.source));
        EXPECT_EQ(c.opens, reader.Open());
        EXPECT_EQ(c.streams, reader.GetStreamCount());
        EXPECT_EQ(c.opens, reader.CheckOpen());
    }
    SizedReader surround(rwtest::Media(rwtest::kSurround51));
    ASSERT_EQ(0, surround.Open());
    EXPECT_EQ(rwtest::kSurroundChannels, surround.GetChannels(1));
    EXPECT_EQ(rwtest::kSurroundSampleRate, surround.GetSampleRate(1));

    // Reading the many-stream file to its end drops the packets of the streams left out.
    SizedReader many(rwtest::Media(rwtest::kManyStreams), 64, 48);
    ASSERT_EQ(0, many.Open());
    StreamTotals t = ReadAll(many, 0, 1);
    EXPECT_EQ(rwtest::kClipFrames, t.frames);
}

TEST(FFMpegReader, ReadsATruncatedFileToWhereItEnds)
{
    SizedReader reader(rwtest::Media(rwtest::kTruncatedAvi));
    ASSERT_EQ(0, reader.Open());
    StreamTotals t = ReadAll(reader, 0, 1);
    EXPECT_GT(t.frames, 10);
    EXPECT_LT(t.frames, rwtest::kClipFrames);
    EXPECT_TRUE(t.videoInOrder);
}

TEST(FFMpegReader, ReadsOfTheWrongKindOrStreamDeliverNothing)
{
    SizedReader reader(rwtest::Media(rwtest::kClipMp4));
    ASSERT_EQ(0, reader.Open());
    std::vector<unsigned char> buffer(320 * 240 * 4);
    int64_t start = -5, end = -5;
    EXPECT_EQ(0, reader.ReadAudio(0, buffer.data(), static_cast<int>(buffer.size()), &start, &end));
    EXPECT_EQ(0, reader.ReadVideo(1, buffer.data(), static_cast<int>(buffer.size()), &start, &end));
    EXPECT_EQ(0, reader.ReadVideo(7, buffer.data(), static_cast<int>(buffer.size()), &start, &end));
    EXPECT_EQ(-5, start);
    // A buffer smaller than a picture takes its first bytes.
    EXPECT_EQ(100, reader.ReadVideo(0, buffer.data(), 100, &start, &end));
}

// A width the scaler does not write in whole blocks (426) is read to the end without the scaler
// writing past the picture's buffer.
TEST(FFMpegReader, ReadsOddWidthsToTheEnd)
{
    SizedReader reader(rwtest::Media("conf_426x240_24.mp4"), -1, -1);
    ASSERT_EQ(0, reader.Open());
    int video = -1, audio = -1;
    for (int i = 0; i < reader.GetStreamCount(); ++i)
        (reader.GetStreamType(i) == 0 ? video : audio) = i;
    ASSERT_GE(video, 0);
    EXPECT_EQ(426, reader.GetWidth(video));
    StreamTotals t = ReadAll(reader, video, audio);
    EXPECT_EQ(48, t.frames); // two seconds at 24 frames a second
    EXPECT_TRUE(t.videoInOrder);
    EXPECT_EQ(0, reader.Close());
}
