#define NOMINMAX
#include "RwTest.h"

#include "TestMedia.h"
#include "engine/converter/FFMpegEncoder.h"
#include "engine/decorations/TextWatermark.h"

#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
}

namespace
{
const DWORD kPollMs = 20;
const int kGuardPolls = 6000; // a hang guard, not a time limit of the test

struct JobOutcome
{
    int state;
    float progress;
    std::vector<float> runningProgress; // progress read while the job ran
};

void FillSettings(JobSettings* settings, const std::string& source, const std::string& output, const std::string& args)
{
    memset(settings, 0, sizeof(*settings));
    snprintf(settings->sourcePath, sizeof(settings->sourcePath), "%s", source.c_str());
    snprintf(settings->outputPath, sizeof(settings->outputPath), "%s", output.c_str());
    snprintf(settings->argumentText, sizeof(settings->argumentText), "%s", args.c_str());
}

bool Ended(int state)
{
    return state == kEncoderDone || state == kEncoderFailed || state == kEncoderStopped || state == kEncoderException;
}

// Runs jobs side by side through the converter until each has ended.
std::vector<JobOutcome> RunJobs(const std::vector<JobSettings>& settings)
{
    std::vector<std::unique_ptr<CFFMpegEncoder>> jobs;
    for (const JobSettings& s : settings)
    {
        jobs.emplace_back(new CFFMpegEncoder);
        EXPECT_EQ(jobs.back()->Start(&s), 0);
    }
    std::vector<JobOutcome> outcomes(jobs.size());
    for (int poll = 0; poll < kGuardPolls; ++poll)
    {
        bool all = true;
        for (size_t i = 0; i < jobs.size(); ++i)
        {
            int state = jobs[i]->m_state;
            if (!Ended(state))
            {
                all = false;
                outcomes[i].runningProgress.push_back(jobs[i]->GetProgress());
            }
        }
        if (all)
            break;
        ::Sleep(kPollMs);
    }
    for (size_t i = 0; i < jobs.size(); ++i)
    {
        outcomes[i].state = jobs[i]->m_state;
        outcomes[i].progress = jobs[i]->GetProgress();
    }
    return outcomes;
}

JobOutcome RunJob(const std::string& source, const std::string& output, const std::string& args)
{
    JobSettings settings;
    FillSettings(&settings, source, output, args);
    return RunJobs({settings})[0];
}

struct StreamSummary
{
    AVMediaType type = AVMEDIA_TYPE_UNKNOWN;
    AVCodecID codec = AV_CODEC_ID_NONE;
    int width = 0, height = 0, sampleRate = 0, channels = 0;
    int frames = 0;
    int64_t samples = 0;
    int firstCounter = -1;
    AVRational sampleAspect = {0, 1};
    double peak = 0; // of decoded audio, full scale 1.0
};

struct FrameDeleter
{
    void operator()(AVFrame* frame) const
    {
        av_frame_free(&frame);
    }
};

struct MediaSummary
{
    bool opened = false;
    double duration = 0;
    int decodeErrors = 0;
    std::vector<StreamSummary> streams;
    std::unique_ptr<AVFrame, FrameDeleter> firstPicture;

    const StreamSummary* Find(AVMediaType type) const
    {
        for (const StreamSummary& s : streams)
            if (s.type == type)
                return &s;
        return nullptr;
    }
};

double PeakOf(const AVFrame* frame)
{
    double peak = 0;
    AVSampleFormat format = static_cast<AVSampleFormat>(frame->format);
    int planes = av_sample_fmt_is_planar(format) ? frame->ch_layout.nb_channels : 1;
    int count = frame->nb_samples * (av_sample_fmt_is_planar(format) ? 1 : frame->ch_layout.nb_channels);
    for (int p = 0; p < planes; ++p)
        for (int i = 0; i < count; ++i)
        {
            double v = 0;
            switch (av_get_packed_sample_fmt(format))
            {
            case AV_SAMPLE_FMT_S16:
                v = reinterpret_cast<const int16_t*>(frame->extended_data[p])[i] / 32768.0;
                break;
            case AV_SAMPLE_FMT_S32:
                v = reinterpret_cast<const int32_t*>(frame->extended_data[p])[i] / 2147483648.0;
                break;
            case AV_SAMPLE_FMT_FLT:
                v = reinterpret_cast<const float*>(frame->extended_data[p])[i];
                break;
            default:
                break;
            }
            peak = std::max(peak, std::fabs(v));
        }
    return peak;
}

// Reads a file back through libavformat and decodes every packet.
MediaSummary Summarize(const std::string& path)
{
    MediaSummary summary;
    AVFormatContext* file = nullptr;
    if (avformat_open_input(&file, path.c_str(), nullptr, nullptr) < 0)
        return summary;
    std::unique_ptr<AVFormatContext*, void (*)(AVFormatContext**)> fileOwner(&file, avformat_close_input);
    if (avformat_find_stream_info(file, nullptr) < 0)
        return summary;
    summary.opened = true;
    summary.duration = file->duration > 0 ? file->duration / 1e6 : 0;
    std::vector<AVCodecContext*> decoders(file->nb_streams, nullptr);
    for (unsigned i = 0; i < file->nb_streams; ++i)
    {
        AVCodecParameters* par = file->streams[i]->codecpar;
        StreamSummary s;
        s.type = par->codec_type;
        s.codec = par->codec_id;
        s.width = par->width;
        s.height = par->height;
        s.sampleRate = par->sample_rate;
        s.channels = par->ch_layout.nb_channels;
        s.sampleAspect = av_guess_sample_aspect_ratio(file, file->streams[i], nullptr);
        summary.streams.push_back(s);
        const AVCodec* codec = avcodec_find_decoder(par->codec_id);
        if (!codec)
            continue;
        decoders[i] = avcodec_alloc_context3(codec);
        avcodec_parameters_to_context(decoders[i], par);
        decoders[i]->pkt_timebase = file->streams[i]->time_base;
        if (avcodec_open2(decoders[i], codec, nullptr) < 0)
            avcodec_free_context(&decoders[i]);
    }
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    auto receive = [&](unsigned index) {
        StreamSummary& s = summary.streams[index];
        while (avcodec_receive_frame(decoders[index], frame) >= 0)
        {
            ++s.frames;
            if (s.type == AVMEDIA_TYPE_VIDEO)
            {
                if (s.firstCounter < 0)
                {
                    s.firstCounter =
                        rwtest::ReadFrameCounter(frame->data[0], frame->linesize[0], frame->width, frame->height);
                    summary.firstPicture.reset(av_frame_clone(frame));
                }
            }
            else if (s.type == AVMEDIA_TYPE_AUDIO)
            {
                s.samples += frame->nb_samples;
                s.peak = std::max(s.peak, PeakOf(frame));
            }
            av_frame_unref(frame);
        }
    };
    while (av_read_frame(file, packet) >= 0)
    {
        unsigned index = static_cast<unsigned>(packet->stream_index);
        if (index < decoders.size() && decoders[index])
        {
            if (avcodec_send_packet(decoders[index], packet) < 0)
                ++summary.decodeErrors;
            receive(index);
        }
        av_packet_unref(packet);
    }
    for (unsigned i = 0; i < decoders.size(); ++i)
        if (decoders[i])
        {
            avcodec_send_packet(decoders[i], nullptr);
            receive(i);
            avcodec_free_context(&decoders[i]);
        }
    av_frame_free(&frame);
    av_packet_free(&packet);
    return summary;
}

bool FileExists(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

int64_t FileSize(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 ? info.st_size : -1;
}

std::string Segment(const std::string& stem, int number, const char* extension)
{
    char name[32];
    snprintf(name, sizeof(name), " - %02d.", number);
    return stem + name + extension;
}

// Each stream's packets in file order, by stream kind: the hash of each packet's bytes and whether
// it is a key frame.
struct PacketTrail
{
    std::vector<size_t> hashes;
    std::vector<bool> keys;
};
std::map<AVMediaType, PacketTrail> ReadPacketTrails(const std::string& path)
{
    std::map<AVMediaType, PacketTrail> trails;
    AVFormatContext* file = nullptr;
    if (avformat_open_input(&file, path.c_str(), nullptr, nullptr) < 0)
        return trails;
    std::unique_ptr<AVFormatContext*, void (*)(AVFormatContext**)> fileOwner(&file, avformat_close_input);
    AVPacket* packet = av_packet_alloc();
    while (av_read_frame(file, packet) >= 0)
    {
        PacketTrail& trail = trails[file->streams[packet->stream_index]->codecpar->codec_type];
        trail.hashes.push_back(
            std::hash<std::string>()(std::string(reinterpret_cast<const char*>(packet->data), packet->size)));
        trail.keys.push_back((packet->flags & AV_PKT_FLAG_KEY) != 0);
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    return trails;
}

const double kDurationTolerance = 0.2;
} // namespace

TEST(TranscodeLoopTest, ConvertsAndCopiesStreamsOfEachKind)
{
    std::string dir = rwtest::ScratchDir("transcode-kinds");
    struct Case
    {
        const char* source;
        const char* output;
        const char* args;
        AVCodecID video; // AV_CODEC_ID_NONE: no video stream
        AVCodecID audio;
        int sampleRate, channels;
        int width = rwtest::kClipWidth, height = rwtest::kClipHeight;
    } cases[] = {
        {rwtest::kClipMp4, "copy.mkv", "-vcodec copy -acodec copy", AV_CODEC_ID_H264, AV_CODEC_ID_AAC, 44100, 2},
        {rwtest::kClipAvi, "videocopy.mp4", "-vcodec copy -acodec aac -ab 96", AV_CODEC_ID_MPEG4, AV_CODEC_ID_AAC,
         44100, 2},
        {rwtest::kClipMp4, "videoonly.avi", "-an -vcodec mpeg4", AV_CODEC_ID_MPEG4, AV_CODEC_ID_NONE, 0, 0},
        {rwtest::kClipWmv, "audioonly.mp3", "-ab 128", AV_CODEC_ID_NONE, AV_CODEC_ID_MP3, 44100, 2},
        {rwtest::kSurround51, "downmix.mp4", "-vcodec mpeg4 -acodec aac -ac 2 -ar 44100", AV_CODEC_ID_MPEG4,
         AV_CODEC_ID_AAC, 44100, 2},
        {rwtest::kMono8k, "upmix.mp3", "-ac 2 -ar 44100 -ab 128", AV_CODEC_ID_NONE, AV_CODEC_ID_MP3, 44100, 2},
        {rwtest::kMono8k, "mono.wav", "", AV_CODEC_ID_NONE, AV_CODEC_ID_PCM_S16LE, 8000, 1},
        {rwtest::kClipMpg, "mpeg.flv", "-ar 22050", AV_CODEC_ID_FLV1, AV_CODEC_ID_MP3, 22050, 2},
        {rwtest::kClipMp4, "vcd.mpg", "-target pal-vcd", AV_CODEC_ID_MPEG1VIDEO, AV_CODEC_ID_MP2, 44100, 2, 352, 288},
        {rwtest::kManyStreams, "many.mp4", "-vcodec mpeg4", AV_CODEC_ID_MPEG4, AV_CODEC_ID_AAC, 44100, 2},
        {rwtest::kWithData, "data.avi", "-vcodec mpeg4 -acodec libmp3lame", AV_CODEC_ID_MPEG4, AV_CODEC_ID_MP3, 44100,
         2},
        {rwtest::kClipMov, "cropped.avi", "-croptop 40 -deinterlace -vcodec mpeg4 -acodec libmp3lame",
         AV_CODEC_ID_MPEG4, AV_CODEC_ID_MP3, 44100, 2, rwtest::kClipWidth, rwtest::kClipHeight - 40},
        {rwtest::kWide302, "scaled.mp4", "-s 176x144 -vcodec mpeg4", AV_CODEC_ID_MPEG4, AV_CODEC_ID_AAC, 44100, 2, 176,
         144},
    };
    for (const Case& c : cases)
    {
        std::string output = dir + "/" + c.output;
        JobOutcome outcome = RunJob(rwtest::Media(c.source), output, c.args);
        ASSERT_EQ(outcome.state, kEncoderDone) << c.output;
        EXPECT_EQ(outcome.progress, kProgressDone) << c.output;
        MediaSummary summary = Summarize(output);
        ASSERT_TRUE(summary.opened) << c.output;
        EXPECT_EQ(summary.decodeErrors, 0) << c.output;
        EXPECT_NEAR(summary.duration, rwtest::kClipSeconds, kDurationTolerance) << c.output;
        const StreamSummary* video = summary.Find(AVMEDIA_TYPE_VIDEO);
        const StreamSummary* audio = summary.Find(AVMEDIA_TYPE_AUDIO);
        EXPECT_EQ(summary.streams.size(), size_t(c.video != AV_CODEC_ID_NONE) + size_t(c.audio != AV_CODEC_ID_NONE))
            << c.output;
        if (c.video != AV_CODEC_ID_NONE)
        {
            ASSERT_NE(video, nullptr) << c.output;
            EXPECT_EQ(video->codec, c.video) << c.output;
            EXPECT_EQ(video->width, c.width) << c.output;
            EXPECT_EQ(video->height, c.height) << c.output;
            EXPECT_NEAR(video->frames, rwtest::kClipFrames, 2) << c.output;
            EXPECT_EQ(video->firstCounter, 0) << c.output;
        }
        if (c.audio != AV_CODEC_ID_NONE)
        {
            ASSERT_NE(audio, nullptr) << c.output;
            EXPECT_EQ(audio->codec, c.audio) << c.output;
            EXPECT_EQ(audio->sampleRate, c.sampleRate) << c.output;
            EXPECT_EQ(audio->channels, c.channels) << c.output;
            EXPECT_NEAR(static_cast<double>(audio->samples) / c.sampleRate, rwtest::kClipSeconds, kDurationTolerance)
                << c.output;
            EXPECT_GT(audio->peak, rwtest::kToneLevel / 2) << c.output; // the tone survives resampling
        }
    }
}

TEST(TranscodeLoopTest, VolumeScalesTheDecodedSamples)
{
    std::string dir = rwtest::ScratchDir("transcode-volume");
    double peaks[2] = {};
    const char* args[2] = {"", "-vol 128"};
    for (int i = 0; i < 2; ++i)
    {
        std::string output = dir + "/" + std::to_string(i) + ".wav";
        ASSERT_EQ(RunJob(rwtest::Media(rwtest::kAudioWav), output, args[i]).state, kEncoderDone);
        peaks[i] = Summarize(output).Find(AVMEDIA_TYPE_AUDIO)->peak;
    }
    EXPECT_NEAR(peaks[1], std::min(1.0, 2 * peaks[0]), 0.01);
}

TEST(TranscodeLoopTest, StartTimeSkipsTheBeginning)
{
    std::string output = rwtest::ScratchDir("transcode-start") + "/out.avi";
    JobOutcome outcome =
        RunJob(rwtest::Media(rwtest::kClipMp4), output, "-ss 1 -vcodec mpeg4 -qscale 2 -acodec libmp3lame");
    ASSERT_EQ(outcome.state, kEncoderDone);
    MediaSummary summary = Summarize(output);
    EXPECT_NEAR(summary.duration, rwtest::kClipSeconds - 1, kDurationTolerance);
    ASSERT_NE(summary.Find(AVMEDIA_TYPE_VIDEO), nullptr);
    EXPECT_EQ(summary.Find(AVMEDIA_TYPE_VIDEO)->firstCounter, rwtest::kClipFps);
}

TEST(TranscodeLoopTest, TimeAndSizeLimitsWriteNumberedSegments)
{
    std::string dir = rwtest::ScratchDir("transcode-limits");
    struct Case
    {
        const char* stem;
        const char* args;
        int segments;
    } cases[] = {
        {"time", "-t 1 -vcodec mpeg4 -acodec libmp3lame", 3},
        {"size", "-fs 400000 -vcodec mpeg4 -qscale 1 -acodec libmp3lame", 0}, // 0: at least two
    };
    for (const Case& c : cases)
    {
        std::string stem = dir + "/" + c.stem;
        JobOutcome outcome = RunJob(rwtest::Media(rwtest::kClipAvi), stem + ".avi", c.args);
        ASSERT_EQ(outcome.state, kEncoderDone) << c.stem;
        EXPECT_EQ(outcome.progress, kProgressDone) << c.stem;
        float last = 0;
        for (float p : outcome.runningProgress)
        {
            EXPECT_GE(p, last) << c.stem;
            EXPECT_LE(p, kProgressRunningMax) << c.stem;
            last = p;
        }
        int count = 0;
        double total = 0;
        int frames = 0;
        while (FileExists(Segment(stem, count + 1, "avi")))
        {
            MediaSummary summary = Summarize(Segment(stem, ++count, "avi"));
            ASSERT_NE(summary.Find(AVMEDIA_TYPE_VIDEO), nullptr) << c.stem << count;
            EXPECT_EQ(summary.decodeErrors, 0) << c.stem << count;
            total += summary.duration;
            frames += summary.Find(AVMEDIA_TYPE_VIDEO)->frames;
        }
        if (c.segments)
            EXPECT_EQ(count, c.segments) << c.stem;
        else
            EXPECT_GE(count, 2) << c.stem;
        EXPECT_NEAR(total, rwtest::kClipSeconds, 2 * kDurationTolerance) << c.stem;
        EXPECT_NEAR(frames, rwtest::kClipFrames, 3) << c.stem;
        // Every segment but the last one passed the size limit before the next began.
        for (int i = 1; !c.segments && i < count; ++i)
            EXPECT_GT(FileSize(Segment(stem, i, "avi")), 400000 - 307200) << i;
    }
}

// Copied streams are cut at the first key frame of the video at or past the limit: every segment
// starts its video with a key frame, and the segments together hold every packet of the source
// exactly once, in order. The sources have a key frame each second.
TEST(TranscodeLoopTest, StreamCopySegmentsKeepEveryPacketOnce)
{
    std::string dir = rwtest::ScratchDir("transcode-copy-segments");
    struct Case
    {
        const char* stem;
        const char* source;
        const char* extension;
        const char* args;
        int segments; // 0: at least two
    } cases[] = {
        {"time", rwtest::kLong25s, "mp4", "-t 00:00:08 -vcodec copy -acodec copy", 4},
        {"odd", rwtest::kLong25s, "mp4", "-t 3.3 -vcodec copy -acodec copy", 7},
        {"size", rwtest::kLong25s, "mp4", "-fs 500000 -vcodec copy -acodec copy", 0},
        {"avi", rwtest::kClipAvi, "avi", "-t 1 -vcodec copy -acodec copy", 3},
        {"audio", rwtest::kAudioMp3, "mp3", "-t 1 -acodec copy", 3},
    };
    for (const Case& c : cases)
    {
        std::string stem = dir + "/" + c.stem;
        ASSERT_EQ(RunJob(rwtest::Media(c.source), stem + "." + c.extension, c.args).state, kEncoderDone) << c.stem;
        std::map<AVMediaType, PacketTrail> source = ReadPacketTrails(rwtest::Media(c.source));
        std::map<AVMediaType, PacketTrail> joined;
        int count = 0;
        while (FileExists(Segment(stem, count + 1, c.extension)))
        {
            std::map<AVMediaType, PacketTrail> segment = ReadPacketTrails(Segment(stem, ++count, c.extension));
            ASSERT_EQ(segment.size(), source.size()) << c.stem << count;
            for (auto& entry : segment)
            {
                ASSERT_FALSE(entry.second.hashes.empty()) << c.stem << count;
                EXPECT_TRUE(entry.second.keys[0]) << c.stem << count << " kind " << entry.first;
                PacketTrail& trail = joined[entry.first];
                trail.hashes.insert(trail.hashes.end(), entry.second.hashes.begin(), entry.second.hashes.end());
            }
        }
        if (c.segments)
            EXPECT_EQ(count, c.segments) << c.stem;
        else
            EXPECT_GE(count, 2) << c.stem;
        for (auto& entry : source)
        {
            EXPECT_EQ(joined[entry.first].hashes.size(), entry.second.hashes.size())
                << c.stem << " kind " << entry.first;
            EXPECT_TRUE(joined[entry.first].hashes == entry.second.hashes) << c.stem << " kind " << entry.first;
        }
    }
}

TEST(TranscodeLoopTest, PaddingLetterboxesThePicture)
{
    std::string dir = rwtest::ScratchDir("transcode-pad");
    struct Case
    {
        const char* args;
        int y, u, v; // pad colour
    } cases[] = {
        {"-s 320x180 -padtop 30 -padbottom 30", 16, 128, 128},
        {"-s 320x180 -padtop 30 -padbottom 30 -padcolor 0000FF", 29, 255, 107},
    };
    for (const Case& c : cases)
    {
        std::string output = dir + "/out.avi";
        std::string args = std::string(c.args) + " -an -vcodec mpeg4 -qscale 1";
        ASSERT_EQ(RunJob(rwtest::Media(rwtest::kHd720), output, args).state, kEncoderDone) << c.args;
        MediaSummary summary = Summarize(output);
        const StreamSummary* video = summary.Find(AVMEDIA_TYPE_VIDEO);
        ASSERT_NE(video, nullptr);
        EXPECT_EQ(video->width, 320);
        EXPECT_EQ(video->height, 240);
        AVFrame* picture = summary.firstPicture.get();
        ASSERT_NE(picture, nullptr);
        ASSERT_EQ(picture->format, AV_PIX_FMT_YUV420P);
        auto close = [](int value, int expected) { return std::abs(value - expected) <= 3; };
        int padLumaRows[] = {0, 10, 26, 214, 229, 239};
        for (int row : padLumaRows)
            for (int x = 0; x < 320; x += 29)
                EXPECT_PRED2(close, picture->data[0][row * picture->linesize[0] + x], c.y) << c.args << " row " << row;
        for (int row : {0, 12, 108, 119})
            for (int x = 0; x < 160; x += 23)
            {
                EXPECT_PRED2(close, picture->data[1][row * picture->linesize[1] + x], c.u) << c.args << " row " << row;
                EXPECT_PRED2(close, picture->data[2][row * picture->linesize[2] + x], c.v) << c.args << " row " << row;
            }
        // The picture itself fills the rows between the bands: the colour bars are not all pad colour.
        int differing = 0;
        for (int x = 0; x < 320; ++x)
            differing += !close(picture->data[0][100 * picture->linesize[0] + x], c.y);
        EXPECT_GT(differing, 160) << c.args;
    }
}

TEST(TranscodeLoopTest, CodecPrivateOptionsReachTheEncoder)
{
    std::string dir = rwtest::ScratchDir("transcode-private");
    JobSettings settings[2];
    FillSettings(&settings[0], rwtest::Media(rwtest::kClipMp4), dir + "/fine.mp4",
                 "-an -vcodec libx264 -crf 15 -preset ultrafast");
    FillSettings(&settings[1], rwtest::Media(rwtest::kClipMp4), dir + "/coarse.mp4",
                 "-an -vcodec libx264 -crf 45 -preset ultrafast");
    std::vector<JobOutcome> outcomes = RunJobs({settings[0], settings[1]});
    ASSERT_EQ(outcomes[0].state, kEncoderDone);
    ASSERT_EQ(outcomes[1].state, kEncoderDone);
    EXPECT_GT(FileSize(dir + "/fine.mp4"), 2 * FileSize(dir + "/coarse.mp4"));
}

TEST(TranscodeLoopTest, TwoPassJobsSideBySideKeepTheirOwnLogs)
{
    std::string dir = rwtest::ScratchDir("transcode-twopass");
    // libx264 writes its statistics itself: into each job's own pass log too.
    struct Case
    {
        const char* codec;
        const char* extension;
    } cases[] = {{"mpeg4", "avi"}, {"libx264 -preset ultrafast", "mp4"}};
    for (const Case& c : cases)
    {
        std::string a = dir + "/a." + c.extension, b = dir + "/b." + c.extension;
        for (int pass = 1; pass <= 2; ++pass)
        {
            std::string args = std::string("-an -vcodec ") + c.codec + " -b 300 -pass " + std::to_string(pass);
            JobSettings settings[2];
            FillSettings(&settings[0], rwtest::Media(rwtest::kClipMp4), a, args);
            FillSettings(&settings[1], rwtest::Media(rwtest::kClipAvi), b, args);
            for (const JobOutcome& outcome : RunJobs({settings[0], settings[1]}))
                EXPECT_EQ(outcome.state, kEncoderDone) << c.codec << " pass " << pass;
        }
        EXPECT_GT(FileSize(a + "-0.log"), 0) << c.codec;
        EXPECT_GT(FileSize(b + "-0.log"), 0) << c.codec;
        MediaSummary summary = Summarize(a);
        EXPECT_EQ(summary.decodeErrors, 0) << c.codec;
        ASSERT_NE(summary.Find(AVMEDIA_TYPE_VIDEO), nullptr) << c.codec;
        EXPECT_EQ(summary.Find(AVMEDIA_TYPE_VIDEO)->frames, rwtest::kClipFrames) << c.codec;
    }
    // Pass 2 without the statistics of pass 1 fails and says why.
    testing::internal::CaptureStderr();
    JobOutcome outcome =
        RunJob(rwtest::Media(rwtest::kClipMp4), dir + "/nolog.mp4", "-an -vcodec libx264 -b 300 -pass 2");
    std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_NE(outcome.state, kEncoderDone);
    EXPECT_NE(messages.find("for pass-2 encoding"), std::string::npos) << messages;
}

TEST(TranscodeLoopTest, OutputWithoutDataFailsSaysWhyAndIsRemoved)
{
    std::string dir = rwtest::ScratchDir("transcode-nodata");
    // A WAV file with its header and not one sample.
    const std::string headerOnly = dir + "/header_only.wav";
    const uint8_t header[44] = {'R', 'I', 'F', 'F', 36, 0, 0,   0,   'W', 'A',  'V',  'E', 'f', 'm',  't',
                                ' ', 16,  0,   0,   0,  1, 0,   2,   0,   0x44, 0xAC, 0,   0,   0x10, 0xB1,
                                2,   0,   4,   0,   16, 0, 'd', 'a', 't', 'a',  0,    0,   0,   0};
    FILE* file = fopen(headerOnly.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fwrite(header, 1, sizeof(header), file);
    fclose(file);
    struct Case
    {
        std::string source;
        const char* args;
        const char* message;
    } cases[] = {
        {rwtest::Media(rwtest::kClipMp4), "-ss 100 -vcodec mpeg4 -acodec libmp3lame",
         "Output stream #0.0 received no data\n"},
        {rwtest::Media(rwtest::kClipMp4), "-vframes 0 -vcodec mpeg4 -acodec libmp3lame",
         "Output stream #0.0 received no data\n"},
        {rwtest::Media(rwtest::kClipMp4), "-vframes -1 -vcodec mpeg4 -an", "Output stream #0.0 received no data\n"},
        {rwtest::Media(rwtest::kClipMp4), "-aframes 0 -vcodec mpeg4 -acodec libmp3lame",
         "Output stream #0.1 received no data\n"},
        {headerOnly, "-acodec libmp3lame", "Output stream #0.0 received no data\n"},
    };
    for (const Case& c : cases)
    {
        const std::string output = dir + "/out.avi";
        testing::internal::CaptureStderr();
        JobOutcome outcome = RunJob(c.source, output, c.args);
        std::string messages = testing::internal::GetCapturedStderr();
        EXPECT_EQ(outcome.state, kEncoderFailed) << c.args;
        EXPECT_EQ(outcome.progress, kProgressFailed) << c.args;
        EXPECT_NE(messages.find(c.message), std::string::npos) << c.args << ": " << messages;
        EXPECT_FALSE(FileExists(output)) << c.args;
    }
}

namespace
{
const int kTsPacketSize = 188;

int64_t ReadPesTime(const uint8_t* at)
{
    return (static_cast<int64_t>((at[0] >> 1) & 7) << 30) | (at[1] << 22) | ((at[2] >> 1) << 15) | (at[3] << 7) |
           (at[4] >> 1);
}

void WritePesTime(uint8_t* at, int64_t time)
{
    at[0] = static_cast<uint8_t>((at[0] & 0xF0) | (((time >> 30) & 7) << 1) | 1);
    at[1] = static_cast<uint8_t>(time >> 22);
    at[2] = static_cast<uint8_t>((((time >> 15) & 0x7F) << 1) | 1);
    at[3] = static_cast<uint8_t>(time >> 7);
    at[4] = static_cast<uint8_t>(((time & 0x7F) << 1) | 1);
}

// Moves the presentation time of the nth video PES packet that carries both times by seconds; true
// when there was such a packet.
bool CorruptOnePresentationTime(const std::string& path, int nth, int64_t seconds)
{
    std::vector<uint8_t> bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return false;
    for (int c = fgetc(file); c != EOF; c = fgetc(file))
        bytes.push_back(static_cast<uint8_t>(c));
    fclose(file);
    bool done = false;
    for (size_t at = 0; at + kTsPacketSize <= bytes.size() && !done; at += kTsPacketSize)
    {
        uint8_t* packet = &bytes[at];
        if (packet[0] != 0x47 || !(packet[1] & 0x40))
            continue;
        size_t payload = 4 + ((packet[3] & 0x20) ? 1 + packet[4] : 0);
        uint8_t* pes = packet + payload;
        bool video = payload + 19 <= kTsPacketSize && pes[0] == 0 && pes[1] == 0 && pes[2] == 1 &&
                     (pes[3] & 0xF0) == 0xE0;
        if (!video || (pes[7] & 0xC0) != 0xC0 || --nth > 0)
            continue;
        WritePesTime(pes + 9, ReadPesTime(pes + 9) + seconds * 90000);
        done = true;
    }
    file = fopen(path.c_str(), "wb");
    if (!file)
        return false;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
    return done;
}
}

TEST(TranscodeLoopTest, ACorruptedTimestampNeverStretchesTheOutput)
{
    std::string dir = rwtest::ScratchDir("transcode-corrupt-ts");
    const std::string source = dir + "/source.ts";
    ASSERT_EQ(RunJob(rwtest::Media(rwtest::kClipMp4), source, "-vcodec mpeg4 -bf 2 -qscale 4 -acodec mp2").state,
              kEncoderDone);
    // Three hours ahead: a converter that fills the gap writes hours of copies of one picture.
    ASSERT_TRUE(CorruptOnePresentationTime(source, 20, 3 * 3600));
    const std::string output = dir + "/out.avi";
    JobOutcome outcome = RunJob(source, output, "-vcodec mpeg4 -acodec libmp3lame");
    ASSERT_EQ(outcome.state, kEncoderDone);
    MediaSummary summary = Summarize(output);
    ASSERT_NE(summary.Find(AVMEDIA_TYPE_VIDEO), nullptr);
    EXPECT_LE(summary.duration, rwtest::kClipSeconds + 1.0);
    EXPECT_LE(summary.Find(AVMEDIA_TYPE_VIDEO)->frames, rwtest::kClipFrames + 25);
}

TEST(TranscodeLoopTest, OutputOverTheSourceIsRefusedBeforeAnythingIsWritten)
{
    std::string dir = rwtest::ScratchDir("transcode-oversource");
    const std::string source = dir + "/source.mp4";
    std::vector<char> original;
    {
        FILE* in = fopen(rwtest::Media(rwtest::kClipMp4).c_str(), "rb");
        ASSERT_NE(in, nullptr);
        for (int c = fgetc(in); c != EOF; c = fgetc(in))
            original.push_back(static_cast<char>(c));
        fclose(in);
        FILE* out = fopen(source.c_str(), "wb");
        ASSERT_NE(out, nullptr);
        fwrite(original.data(), 1, original.size(), out);
        fclose(out);
    }
    // The same file under its own name and under another spelling of it.
    for (const std::string& output : {source, dir + "/./source.mp4"})
    {
        JobOutcome outcome = RunJob(source, output, "-vcodec mpeg4 -acodec aac");
        EXPECT_EQ(outcome.state, kEncoderFailed) << output;
        EXPECT_EQ(FileSize(source), static_cast<int64_t>(original.size())) << output;
        EXPECT_EQ(Summarize(source).duration > rwtest::kClipSeconds - kDurationTolerance, true) << output;
    }
}

TEST(TranscodeLoopTest, UnknownDurationKeepsProgressInRange)
{
    std::string output = rwtest::ScratchDir("transcode-noduration") + "/out.avi";
    JobOutcome outcome = RunJob(rwtest::Media(rwtest::kNoDuration), output, "-vcodec mpeg4");
    EXPECT_EQ(outcome.state, kEncoderDone);
    EXPECT_EQ(outcome.progress, kProgressDone);
    for (float p : outcome.runningProgress)
    {
        EXPECT_GE(p, 0.0f);
        EXPECT_LE(p, kProgressRunningMax);
    }
}

TEST(TranscodeLoopTest, BrokenSourcesFailCleanly)
{
    std::string dir = rwtest::ScratchDir("transcode-broken");
    struct Case
    {
        std::string source;
        bool mayFinish; // a damaged file whose readable part converts
    } cases[] = {
        {rwtest::Media(rwtest::kTruncatedMp4), false},
        {rwtest::Media(rwtest::kTruncatedAvi), true},
        {rwtest::Media(rwtest::kGarbageAvi), false},
        {rwtest::Media(rwtest::kEmptyMp4), false},
        {dir + "/missing.mp4", false},
    };
    for (const Case& c : cases)
    {
        JobOutcome outcome = RunJob(c.source, dir + "/out.mp4", "-vcodec mpeg4 -acodec aac");
        if (c.mayFinish && outcome.state == kEncoderDone)
        {
            EXPECT_EQ(outcome.progress, kProgressDone);
            EXPECT_EQ(Summarize(dir + "/out.mp4").decodeErrors, 0) << c.source;
            continue;
        }
        EXPECT_TRUE(outcome.state == kEncoderFailed || outcome.state == kEncoderException) << c.source;
        EXPECT_EQ(outcome.progress, kProgressFailed) << c.source;
    }
}

TEST(TranscodeLoopTest, SetupErrorsFailTheJobWithTheirMessage)
{
    std::string dir = rwtest::ScratchDir("transcode-setup");
    struct Case
    {
        const char* output;
        const char* args;
        int state;
        const char* message;
    } cases[] = {
        {"vol.mp4", "-acodec copy -vol 100", kEncoderException,
         "-acodec copy and -vol are incompatible (frames are not decoded)\n"},
        {"amr.3gp", "-vcodec h263 -s 176x144", kEncoderFailed, "Unsupported codec for output stream #0.1\n"},
        {"h263.3gp", "-vcodec h263 -s 320x240 -acodec aac", kEncoderFailed,
         "Error while opening codec for output stream #0.0 - maybe incorrect parameters such as bit_rate, rate, "
         "width or height\n"},
        {"maps.mp4", "-map 0:0", kEncoderException, "Number of stream maps must match number of output streams\n"},
        {"nostream.mp4", "-an -map 0:7", kEncoderException, "Could not find input stream #0.7\n"},
        {"mismatch.mp4", "-an -map 0:1", kEncoderException, "Codec type mismatch for mapping #0.1 -> #0.0\n"},
    };
    for (const Case& c : cases)
    {
        testing::internal::CaptureStderr();
        JobOutcome outcome = RunJob(rwtest::Media(rwtest::kClipMp4), dir + "/" + c.output, c.args);
        std::string messages = testing::internal::GetCapturedStderr();
        EXPECT_EQ(outcome.state, c.state) << c.args;
        EXPECT_EQ(outcome.progress, kProgressFailed) << c.args;
        EXPECT_NE(messages.find(c.message), std::string::npos) << c.args << ": " << messages;
    }
}

TEST(TranscodeLoopTest, TakesWin32Paths)
{
    std::string dir = rwtest::ScratchDir("transcode-win32");
    std::string output = dir + "/out.avi";
    JobOutcome outcome = RunJob(rwtest::ToWin32Path(rwtest::Media(rwtest::kClipMp4)),
                                rwtest::ToWin32Path(dir) + "\\out.avi", "-vcodec mpeg4 -acodec libmp3lame");
    EXPECT_EQ(outcome.state, kEncoderDone);
    EXPECT_TRUE(Summarize(output).opened);
}

TEST(TranscodeLoopTest, FullDiskEndsTheJob)
{
    testing::internal::CaptureStderr();
    JobOutcome outcome =
        RunJob(rwtest::Media(rwtest::kClipMp4), "/dev/full", "-f avi -vcodec mpeg4 -acodec libmp3lame");
    std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_EQ(outcome.state, kEncoderException);
    EXPECT_EQ(outcome.progress, kProgressFailed);
    EXPECT_NE(messages.find("): Error while opening file"), std::string::npos) << messages;
}

TEST(TranscodeLoopTest, WritesPerFrameStatistics)
{
    std::string dir = rwtest::ScratchDir("transcode-vstats");
    std::string stats = dir + "/stats.log";
    ASSERT_EQ(RunJob(rwtest::Media(rwtest::kClipMp4), dir + "/out.avi", "-an -vcodec mpeg4 -psnr -vstats_file " + stats)
                  .state,
              kEncoderDone);
    FILE* file = fopen(stats.c_str(), "r");
    ASSERT_NE(file, nullptr);
    char line[512];
    int lines = 0;
    while (fgets(line, sizeof(line), file))
    {
        ++lines;
        EXPECT_EQ(strncmp(line, "frame= ", 7), 0) << line;
        EXPECT_NE(strstr(line, " PSNR= "), nullptr) << line;
        EXPECT_NE(strstr(line, " f_size= "), nullptr) << line;
        EXPECT_NE(strstr(line, "kbits/s type= "), nullptr) << line;
    }
    fclose(file);
    EXPECT_NEAR(lines, rwtest::kClipFrames, 2);
}

TEST(TranscodeLoopTest, AspectRatioReachesCopiedAndEncodedVideo)
{
    std::string dir = rwtest::ScratchDir("transcode-aspect");
    const char* args[] = {"-an -vcodec copy -aspect 16:9", "-an -vcodec mpeg4 -aspect 16:9"};
    for (const char* a : args)
    {
        std::string output = dir + "/out.mkv";
        ASSERT_EQ(RunJob(rwtest::Media(rwtest::kClipMp4), output, a).state, kEncoderDone) << a;
        const StreamSummary* video = Summarize(output).Find(AVMEDIA_TYPE_VIDEO);
        ASSERT_NE(video, nullptr) << a;
        // 320x240 shown at 16:9: each pixel 4:3 as wide as high.
        EXPECT_NEAR(av_q2d(video->sampleAspect), 4.0 / 3.0, 0.01) << a;
    }
}

TEST(TranscodeLoopTest, DecorationsAreDrawnIntoEveryConvertedFrame)
{
    std::string dir = rwtest::ScratchDir("transcode-decorations");
    const char* args = "-an -vcodec mpeg4 -qscale 1";
    JobSettings settings[2];
    FillSettings(&settings[0], rwtest::Media(rwtest::kClipMp4), dir + "/plain.avi", args);
    FillSettings(&settings[1], rwtest::Media(rwtest::kClipMp4), dir + "/decorated.avi", args);
    JobSettings& decorated = settings[1];
    decorated.decorationFlags = kDecorationTextWatermark;
    decorated.placement[kPlacementOpacity] = 255;
    decorated.watermarkFontHeight = 40;
    ::lstrcpyW(decorated.watermarkFontName, L"Tahoma");
    ::lstrcpyW(decorated.watermarkText, L"MMMM");
    decorated.watermarkTextColor = 0x00FFFFFF;
    decorated.watermarkBackColor = 0x00000000;
    for (const JobOutcome& outcome : RunJobs({settings[0], settings[1]}))
        ASSERT_EQ(outcome.state, kEncoderDone);
    MediaSummary plain = Summarize(dir + "/plain.avi");
    MediaSummary withText = Summarize(dir + "/decorated.avi");
    ASSERT_NE(plain.firstPicture, nullptr);
    ASSERT_NE(withText.firstPicture, nullptr);
    EXPECT_EQ(withText.Find(AVMEDIA_TYPE_VIDEO)->frames, plain.Find(AVMEDIA_TYPE_VIDEO)->frames);
    // The watermark's box covers the top-left corner; the frame counter at the bottom is untouched.
    int changed = 0;
    const AVFrame* a = plain.firstPicture.get();
    const AVFrame* b = withText.firstPicture.get();
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            changed += std::abs(a->data[0][y * a->linesize[0] + x] - b->data[0][y * b->linesize[0] + x]) > 30;
    EXPECT_GT(changed, 100);
    EXPECT_EQ(withText.Find(AVMEDIA_TYPE_VIDEO)->firstCounter, 0);
}
