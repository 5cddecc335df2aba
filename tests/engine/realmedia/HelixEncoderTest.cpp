// RealMedia jobs: the producer SDK in the program's "helixsdk" folder
// reads generated sources through Loomgate and the job's own reader.
#define NOMINMAX // before the first windows.h: the reader's headers use std::min and std::max
#include "RwTest.h"

#include "MediaReadBack.h"
#include "TestMedia.h"
#include "engine/Encoder.h"
#include "engine/Engine.h"
#include "engine/realmedia/HelixEncoder.h"
#include "engine/realmedia/SampleEventSink.h"

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>
#include <vector>

namespace
{
const DWORD kPollMs = 5;
const int kGuardPolls = 24000; // a hang guard, not a time limit of the test

// A RealMedia job whose program folder is chosen by the test: the program folder of the build,
// with its "helixsdk" folder, or an empty one.
class TestHelixJob : public CHelixEncoder
{
  public:
    explicit TestHelixJob(bool withSdk)
        : m_folder(rwtest::ToWin32Path(withSdk ? rwtest::ProgramDir() : rwtest::ScratchDir("HelixEncoder_NoSdk")) +
                   "\\")
    {
    }
    std::string ProgramFolder() const override
    {
        return m_folder;
    }

  private:
    std::string m_folder;
};

struct JobOutcome
{
    int state = 0;
    float progress = 0;
    bool runningInRange = true; // every value read while running lay in [0, 99.5] and never went back
    std::vector<std::string> lines;

    bool Logged(const char* part) const
    {
        for (const std::string& line : lines)
        {
            if (line.find(part) != std::string::npos)
                return true;
        }
        return false;
    }
};

struct JobRequest
{
    std::string source;
    std::string output;
    const char* args;
};

// Runs the jobs side by side until each has ended.
std::vector<JobOutcome> RunJobs(const std::vector<JobRequest>& requests, bool withSdk = true)
{
    std::vector<std::unique_ptr<TestHelixJob>> jobs;
    for (const JobRequest& r : requests)
    {
        JobSettings settings;
        memset(&settings, 0, sizeof(settings));
        snprintf(settings.sourcePath, sizeof(settings.sourcePath), "%s", rwtest::ToWin32Path(r.source).c_str());
        snprintf(settings.outputPath, sizeof(settings.outputPath), "%s", rwtest::ToWin32Path(r.output).c_str());
        snprintf(settings.argumentText, sizeof(settings.argumentText), "%s", r.args);
        jobs.emplace_back(new TestHelixJob(withSdk));
        EXPECT_EQ(jobs.back()->Start(&settings), 0);
    }
    std::vector<JobOutcome> outcomes(jobs.size());
    std::vector<float> last(jobs.size(), 0.0f);
    for (int poll = 0; poll < kGuardPolls; ++poll)
    {
        bool running = false;
        for (size_t i = 0; i < jobs.size(); ++i)
        {
            float progress = jobs[i]->m_progress;
            if (jobs[i]->m_state != kEncoderIdle || progress > 100.0f)
                continue;
            running = true;
            outcomes[i].runningInRange = outcomes[i].runningInRange && progress >= last[i] && progress <= 99.5f;
            last[i] = progress;
        }
        if (!running)
            break;
        ::Sleep(kPollMs);
    }
    for (size_t i = 0; i < jobs.size(); ++i)
    {
        outcomes[i].state = jobs[i]->m_state;
        outcomes[i].progress = jobs[i]->m_progress;
        outcomes[i].lines = jobs[i]->TakePendingLog();
    }
    return outcomes;
}

JobOutcome RunJob(const std::string& source, const std::string& output, const char* args, bool withSdk = true)
{
    return RunJobs({{source, output, args}}, withSdk)[0];
}

class HelixEncoderTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        av_log_set_level(AV_LOG_ERROR);
    }
};

TEST_F(HelixEncoderTest, TheEngineMakesRealMediaJobsByExtension)
{
    std::string dir = rwtest::ScratchDir("HelixEncoder_Registry");
    for (const char* name : {"a.rm", "b.RMVB", "c.Ra"})
    {
        JobSettings settings;
        memset(&settings, 0, sizeof(settings));
        snprintf(settings.sourcePath, sizeof(settings.sourcePath), "%s",
                 rwtest::ToWin32Path(rwtest::Media(rwtest::kClipMp4)).c_str());
        snprintf(settings.outputPath, sizeof(settings.outputPath), "%s", rwtest::ToWin32Path(dir + "/" + name).c_str());
        int id = EngineCreateJob(&settings);
        ASSERT_GE(id, kFirstJobId) << name;
        EXPECT_NE(dynamic_cast<CHelixEncoder*>(EngineFindJob(id)), nullptr) << name;
        EXPECT_EQ(EngineDestroyJob(id), 0);
    }
}

std::mutex g_linesLock;
std::vector<std::pair<int, std::string>> g_lines;

int CollectLine(int jobId, const char* text)
{
    std::lock_guard<std::mutex> guard(g_linesLock);
    g_lines.push_back({jobId, text});
    return 0;
}

TEST_F(HelixEncoderTest, ItsLogLinesReachTheApplicationUnderItsId)
{
    g_engineLogSink = CollectLine;
    JobSettings settings;
    memset(&settings, 0, sizeof(settings));
    snprintf(settings.sourcePath, sizeof(settings.sourcePath), "%s",
             rwtest::ToWin32Path(rwtest::Media("no such source.mp4")).c_str());
    snprintf(settings.outputPath, sizeof(settings.outputPath), "%s",
             rwtest::ToWin32Path(rwtest::ScratchDir("HelixEncoder_Log") + "/x.rm").c_str());
    int id = EngineCreateJob(&settings);
    ASSERT_GE(id, kFirstJobId);
    CEncoder* job = EngineFindJob(id);
    for (int poll = 0; poll < kGuardPolls && job->GetProgress() >= 0; ++poll)
        ::Sleep(kPollMs);
    EXPECT_EQ(job->m_state, kEncoderFailed);
    EXPECT_EQ(job->GetProgress(), kProgressFailed); // also hands over the last lines
    EngineDestroyJob(id);
    g_engineLogSink = nullptr;
    std::lock_guard<std::mutex> guard(g_linesLock);
    ASSERT_FALSE(g_lines.empty());
    EXPECT_EQ(g_lines[0].first, id);
    EXPECT_EQ(g_lines[0].second.rfind("RealMedia: ", 0), 0u) << g_lines[0].second;
}

TEST_F(HelixEncoderTest, WritesRealMediaFromGeneratedSources)
{
    std::string dir = rwtest::ScratchDir("HelixEncoder_Outputs");
    const struct
    {
        const char* source;
        const char* output;
        const char* args;
        std::vector<AVCodecID> codecs;
    } cases[] = {
        {rwtest::kClipMp4,
         "computer.rmvb",
         "-s 176x144 -vb 768 -ar 44100 -ac 2 -ab 96",
         {AV_CODEC_ID_RV20, AV_CODEC_ID_AC3}},
        {rwtest::kClipAvi,
         "mobile.rm",
         "-s 176x144 -vb 192 -r 15 -rv40_platform 1",
         {AV_CODEC_ID_RV10, AV_CODEC_ID_AC3}},
        {rwtest::kWide302, "wide.rm", "-vb 384", {AV_CODEC_ID_RV20, AV_CODEC_ID_AC3}},
        {rwtest::kMono8k, "narrow.ra", "-vn 1 -ab 64", {AV_CODEC_ID_RA_144}},
        {rwtest::kAudioMp3, "music.RA", "-vn 1 -ab 64", {AV_CODEC_ID_AC3}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.output);
        std::string output = dir + "/" + c.output;
        JobOutcome outcome = RunJob(rwtest::Media(c.source), output, c.args);
        EXPECT_EQ(outcome.state, kEncoderDone);
        EXPECT_EQ(outcome.progress, kProgressDone);
        EXPECT_TRUE(outcome.runningInRange);
        rwtest::ReadBack back = rwtest::ReadMediaFile(output);
        EXPECT_EQ(back.codecs, c.codecs);
        EXPECT_NEAR(back.seconds, rwtest::kClipSeconds, 0.5);
    }
}

// The luma plane of the first decoded picture of a file's video stream; empty when none decodes.
static std::vector<uint8_t> FirstPictureLuma(const std::string& path, int* width, int* height)
{
    std::vector<uint8_t> luma;
    AVFormatContext* file = nullptr;
    if (avformat_open_input(&file, path.c_str(), nullptr, nullptr) < 0)
        return luma;
    const AVCodec* codec = nullptr;
    int index = avformat_find_stream_info(file, nullptr) < 0
                    ? -1
                    : av_find_best_stream(file, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    AVCodecContext* decoder = index >= 0 ? avcodec_alloc_context3(codec) : nullptr;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    if (decoder && avcodec_parameters_to_context(decoder, file->streams[index]->codecpar) >= 0 &&
        avcodec_open2(decoder, codec, nullptr) >= 0)
    {
        while (luma.empty() && av_read_frame(file, packet) >= 0)
        {
            if (packet->stream_index == index && avcodec_send_packet(decoder, packet) >= 0 &&
                avcodec_receive_frame(decoder, frame) >= 0)
            {
                *width = frame->width;
                *height = frame->height;
                for (int y = 0; y < frame->height; ++y)
                    luma.insert(luma.end(), frame->data[0] + y * frame->linesize[0],
                                frame->data[0] + y * frame->linesize[0] + frame->width);
            }
            av_packet_unref(packet);
        }
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&decoder);
    avformat_close_input(&file);
    return luma;
}

static double MeanOfRow(const std::vector<uint8_t>& luma, int width, int row)
{
    double sum = 0;
    for (int x = 0; x < width; ++x)
        sum += luma[row * width + x];
    return sum / width;
}

TEST_F(HelixEncoderTest, LetterboxesWithPadBands)
{
    // A 4:3 source into an 11:9 frame: the picture keeps its aspect between two black bands.
    std::string dir = rwtest::ScratchDir("HelixEncoder_Letterbox");
    std::string output = dir + "/letterbox.rm";
    JobOutcome outcome =
        RunJob(rwtest::Media(rwtest::kClipMp4), output, "-s 176x128 -padtop 8 -padbottom 8 -vb 768");
    ASSERT_EQ(outcome.state, kEncoderDone);
    int width = 0, height = 0;
    std::vector<uint8_t> luma = FirstPictureLuma(output, &width, &height);
    ASSERT_FALSE(luma.empty());
    EXPECT_EQ(176, width);
    EXPECT_EQ(144, height);
    EXPECT_LT(MeanOfRow(luma, width, 2), 40.0);
    EXPECT_LT(MeanOfRow(luma, width, height - 3), 40.0);
    EXPECT_GT(MeanOfRow(luma, width, height / 3), 60.0);
}

TEST_F(HelixEncoderTest, SplitsByTheFileSizeLimit)
{
    std::string dir = rwtest::ScratchDir("HelixEncoder_Split");
    // 340000 bytes less the 307200 kept free: a new file every 32800 bytes.
    JobOutcome outcome = RunJob(rwtest::Media(rwtest::kClipMp4), dir + "/split.rm", "-s 176x144 -vb 768 -fs 340000");
    EXPECT_EQ(outcome.state, kEncoderDone);
    EXPECT_FALSE(rwtest::ReadMediaFile(dir + "/split.rm").codecs.empty());
    EXPECT_FALSE(rwtest::ReadMediaFile(dir + "/split - 02.rm").codecs.empty());
}

TEST_F(HelixEncoderTest, RunsSeveralJobsSideBySide)
{
    std::string dir = rwtest::ScratchDir("HelixEncoder_SideBySide");
    std::vector<JobRequest> requests = {{rwtest::Media(rwtest::kClipMkv), dir + "/a.rmvb", "-s 176x144 -vb 384"},
                                        {rwtest::Media(rwtest::kClipMov), dir + "/b.rm", "-vb 256 -rv40_platform 1"},
                                        {rwtest::Media(rwtest::kAudioWav), dir + "/c.ra", "-vn 1"}};
    std::vector<JobOutcome> outcomes = RunJobs(requests);
    for (size_t i = 0; i < requests.size(); ++i)
    {
        SCOPED_TRACE(requests[i].output);
        EXPECT_EQ(outcomes[i].state, kEncoderDone);
        EXPECT_NEAR(rwtest::ReadMediaFile(requests[i].output).seconds, rwtest::kClipSeconds, 0.5);
    }
}

TEST_F(HelixEncoderTest, FailsWithALogLineWhereNothingCanStart)
{
    std::string dir = rwtest::ScratchDir("HelixEncoder_Fail");
    const struct
    {
        bool sdk;
        const char* source;
        const char* output;
        const char* args;
        const char* line;
    } cases[] = {
        {false, rwtest::kClipMp4, "nosdk.rm", "-vb 768", "producer SDK cannot be loaded"},
        {true, rwtest::kAudioMp3, "novideo.rm", "-vb 768", "no video"},
        {true, rwtest::kClipMp4, "noaudience.rmvb", "-vb 451", "computer - 451"},
        {true, rwtest::kClipMp4, "badoptions.rm", "-vb 768 -nosuchoption", "options cannot be read"},
        {true, rwtest::kGarbageAvi, "garbage.rm", "-vb 768", "cannot be read through the input plug-in"},
        {true, rwtest::kEmptyMp4, "empty.rm", "-vb 768", "cannot be read through the input plug-in"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.output);
        std::string output = dir + "/" + c.output;
        JobOutcome outcome = RunJob(rwtest::Media(c.source), output, c.args, c.sdk);
        EXPECT_EQ(outcome.state, kEncoderFailed);
        EXPECT_EQ(outcome.progress, kProgressFailed);
        EXPECT_TRUE(outcome.Logged(c.line));
        EXPECT_FALSE(rwtest::FileExists(output));
    }
}

TEST_F(HelixEncoderTest, StopsBeforeAndDuringEncoding)
{
    std::string dir = rwtest::ScratchDir("HelixEncoder_Stop");
    JobSettings settings;
    memset(&settings, 0, sizeof(settings));
    snprintf(settings.sourcePath, sizeof(settings.sourcePath), "%s",
             rwtest::ToWin32Path(rwtest::Media(rwtest::kLong25s)).c_str());
    snprintf(settings.outputPath, sizeof(settings.outputPath), "%s", rwtest::ToWin32Path(dir + "/long.rm").c_str());
    snprintf(settings.argumentText, sizeof(settings.argumentText), "-vb 768");
    // Stopped at once: the worker may not even have loaded the SDK yet.
    TestHelixJob early(true);
    ASSERT_EQ(early.Start(&settings), 0);
    EXPECT_EQ(early.Stop(), 0);
    EXPECT_EQ(early.m_state, kEncoderStopped);

    // Stopped while the SDK encodes: the SDK job is cancelled and the worker ends.
    TestHelixJob job(true);
    ASSERT_EQ(job.Start(&settings), 0);
    EXPECT_EQ(job.Pause(), 0);
    for (int poll = 0; poll < kGuardPolls && job.GetProgress() <= 1.0f && job.m_state == kEncoderIdle; ++poll)
        ::Sleep(kPollMs);
    EXPECT_EQ(job.Stop(), 0);
    EXPECT_EQ(job.m_state, kEncoderStopped);
    EXPECT_FALSE(rwtest::FileExists(dir + "/long.rm.spool"));
}

// What an output plays, decoded frame by frame: when each picture shows and which source frame
// it is, and when each beep of the sound starts.
struct PlayedOutput
{
    std::vector<std::pair<double, int>> pictures; // seconds, frame counter
    std::vector<double> beeps;                    // seconds
};

// Channel 0 of a decoded audio frame's sample i, of full scale.
static double SampleOf(const AVFrame* frame, int i)
{
    switch (frame->format)
    {
    case AV_SAMPLE_FMT_FLTP:
    case AV_SAMPLE_FMT_FLT:
        return reinterpret_cast<const float*>(
            frame->data[0])[frame->format == AV_SAMPLE_FMT_FLT ? i * frame->ch_layout.nb_channels : i];
    case AV_SAMPLE_FMT_S16P:
    case AV_SAMPLE_FMT_S16:
        return reinterpret_cast<const int16_t*>(
                   frame->data[0])[frame->format == AV_SAMPLE_FMT_S16 ? i * frame->ch_layout.nb_channels : i] /
               32768.0;
    default:
        return 0;
    }
}

static PlayedOutput PlayOutput(const std::string& path)
{
    PlayedOutput played;
    std::vector<std::pair<double, double>> sound; // seconds, level
    AVFormatContext* file = nullptr;
    if (avformat_open_input(&file, path.c_str(), nullptr, nullptr) < 0)
        return played;
    std::vector<AVCodecContext*> decoders;
    if (avformat_find_stream_info(file, nullptr) >= 0)
    {
        for (unsigned i = 0; i < file->nb_streams; ++i)
        {
            const AVCodec* codec = avcodec_find_decoder(file->streams[i]->codecpar->codec_id);
            AVCodecContext* decoder = codec ? avcodec_alloc_context3(codec) : nullptr;
            if (decoder && (avcodec_parameters_to_context(decoder, file->streams[i]->codecpar) < 0 ||
                            avcodec_open2(decoder, codec, nullptr) < 0))
                avcodec_free_context(&decoder);
            decoders.push_back(decoder);
        }
        AVPacket* packet = av_packet_alloc();
        AVFrame* frame = av_frame_alloc();
        auto take = [&](unsigned index) {
            const AVStream* stream = file->streams[index];
            while (avcodec_receive_frame(decoders[index], frame) >= 0)
            {
                double at = frame->best_effort_timestamp * av_q2d(stream->time_base);
                if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO)
                    played.pictures.push_back({at, rwtest::ReadFrameCounter(frame->data[0], frame->linesize[0],
                                                                            frame->width, frame->height)});
                else
                    for (int i = 0; i < frame->nb_samples; ++i)
                        sound.push_back({at + i / (double)frame->sample_rate, std::fabs(SampleOf(frame, i))});
                av_frame_unref(frame);
            }
        };
        while (av_read_frame(file, packet) >= 0)
        {
            unsigned index = (unsigned)packet->stream_index;
            if (decoders[index] && avcodec_send_packet(decoders[index], packet) >= 0)
                take(index);
            av_packet_unref(packet);
        }
        for (unsigned i = 0; i < decoders.size(); ++i)
        {
            if (decoders[i] && avcodec_send_packet(decoders[i], nullptr) >= 0)
                take(i);
            avcodec_free_context(&decoders[i]);
        }
        av_frame_free(&frame);
        av_packet_free(&packet);
    }
    avformat_close_input(&file);
    // A beep is three times as loud as the tone between beeps: it starts where the level first
    // passes two thirds of the loudest after a quiet spell.
    double loudest = 0;
    for (const auto& s : sound)
        loudest = std::max(loudest, s.second);
    const double kQuietSpell = 0.3;
    double lastLoud = -1;
    for (const auto& s : sound)
    {
        if (loudest <= 0 || s.second < loudest * 2 / 3)
            continue;
        if (lastLoud < 0 || s.first - lastLoud > kQuietSpell)
            played.beeps.push_back(s.first);
        lastLoud = s.first;
    }
    return played;
}

// Every source kind a user brings, to every RealMedia output: all streams kept, the lengths of
// the source, and pictures and beeps where the source has them.
TEST_F(HelixEncoderTest, KeepsEveryStreamInTimeForEveryChannelLayoutAndRate)
{
    struct Source
    {
        const char* name;
        double seconds;
        int channels; // 0: no sound
        bool video;
        double soundStart; // seconds of picture before the sound
    };
    const Source sources[] = {
        {"camera22k.avi", 2.0, 1, true, 0},      {"video8k.mkv", 2.0, 1, true, 0},
        {"three48k.mkv", 2.0, 3, true, 0},       {"six48k.mkv", 2.0, 6, true, 0},
        {"eight48k.mkv", 2.0, 8, true, 0},       {"delayed_audio.mkv", 2.0, 2, true, 1.0},
        {"subtitle_first.mkv", 2.0, 2, true, 0}, {rwtest::kNoDuration, 3.0, 0, true, 0},
        {rwtest::kMono8k, 3.0, 1, false, 0},
    };
    struct Output
    {
        const char* extension;
        const char* args;
        int channelCap; // what the audience's AC-3 bit rate carries
    };
    const Output outputs[] = {{".rmvb", "-vb 1500", 6}, {".rm", "-vb 256 -rv40_platform 1", 2}, {".ra", "-vn 1", 2}};
    const double kLengthTolerance = 0.1;
    const double kFrameSeconds = 1.0 / rwtest::kClipFps;
    std::string dir = rwtest::ScratchDir("HelixEncoder_Table");
    for (const Source& source : sources)
    {
        std::vector<JobRequest> requests;
        std::vector<const Output*> made;
        for (const Output& output : outputs)
        {
            bool audioOnly = strcmp(output.extension, ".ra") == 0;
            if ((audioOnly && source.channels == 0) || (!audioOnly && !source.video))
                continue;
            requests.push_back({rwtest::Media(source.name), dir + "/" + source.name + output.extension, output.args});
            made.push_back(&output);
        }
        std::vector<JobOutcome> outcomes = RunJobs(requests);
        for (size_t i = 0; i < requests.size(); ++i)
        {
            SCOPED_TRACE(requests[i].output);
            const Output& output = *made[i];
            bool audioOnly = strcmp(output.extension, ".ra") == 0;
            ASSERT_EQ(outcomes[i].state, kEncoderDone);
            rwtest::ReadBack back = rwtest::ReadMediaFile(requests[i].output);
            ASSERT_TRUE(back.opened);
            EXPECT_NEAR(back.seconds, source.seconds, kLengthTolerance);
            const rwtest::StreamReadBack* video = back.Find(AVMEDIA_TYPE_VIDEO);
            const rwtest::StreamReadBack* audio = back.Find(AVMEDIA_TYPE_AUDIO);
            EXPECT_EQ(back.streams.size(), (size_t)(!audioOnly) + (source.channels > 0));
            ASSERT_EQ(video != nullptr, !audioOnly);
            ASSERT_EQ(audio != nullptr, source.channels > 0);
            PlayedOutput played = PlayOutput(requests[i].output);
            if (video)
            {
                EXPECT_NEAR(video->first, 0.0, 0.001);
                EXPECT_NEAR(video->end, source.seconds, kLengthTolerance);
                ASSERT_FALSE(played.pictures.empty());
                // Each picture shows at its source frame's time, from the first to the last.
                int offTime = 0;
                for (const auto& picture : played.pictures)
                    offTime += std::fabs(picture.first - picture.second * kFrameSeconds) > kFrameSeconds + 0.005;
                EXPECT_EQ(offTime, 0) << played.pictures.size() << " pictures";
                EXPECT_EQ(played.pictures.back().second, (int)(source.seconds * rwtest::kClipFps + 0.5) - 1);
            }
            if (audio)
            {
                bool narrow = source.channels == 1 &&
                              (strcmp(source.name, "video8k.mkv") == 0 || strcmp(source.name, rwtest::kMono8k) == 0);
                EXPECT_EQ(audio->codec, narrow ? AV_CODEC_ID_RA_144 : AV_CODEC_ID_AC3);
                EXPECT_EQ(audio->channels, narrow ? 1 : std::min(source.channels, output.channelCap));
                EXPECT_NEAR(audio->first, 0.0, 0.001);
                EXPECT_LE(audio->packetsAtZero, 1);
                EXPECT_NEAR(audio->end, source.seconds, kLengthTolerance);
                // A beep starts each whole second of the source's sound, and nowhere else (encoders
                // of whole frames carry the tone a little past the end, with the beep of the next
                // second).
                ASSERT_FALSE(played.beeps.empty());
                EXPECT_NEAR(played.beeps.front(), source.soundStart, 0.05);
                for (double beep : played.beeps)
                    EXPECT_NEAR(beep, std::floor(beep + 0.5), 0.05);
                EXPECT_GE(played.beeps.size(), (size_t)(source.seconds - source.soundStart + 0.5));
                EXPECT_LE(played.beeps.back(), source.seconds + 0.05);
            }
        }
    }
}

TEST(SampleEventSink, TurnsTheTwoPhasesIntoProgress)
{
    CHelixEncoder job;
    CSampleEventSink* sink = new CSampleEventSink(&job);
    EXPECT_EQ(sink->AddRef(), 1u);
    const struct
    {
        UINT32 type;
        UINT32 value;
        float progress;
    } cases[] = {{7, 0, 0.0f}, {7, 50, 22.5f}, {7, 100, 45.0f}, {6, 0, 45.0f}, {6, 100, 99.5f}, {3, 10, 99.5f}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(sink->OnEvent(c.type, &c.value, nullptr, nullptr), 0);
        EXPECT_FLOAT_EQ(job.m_progress, c.progress) << c.type << " " << c.value;
    }
    EXPECT_EQ(sink->OnEvent(7, nullptr, nullptr, nullptr), 0);
    void* face = nullptr;
    EXPECT_EQ(sink->QueryInterface(IID_IHXTEventSink, &face), 0);
    EXPECT_EQ(face, sink);
    EXPECT_EQ(sink->QueryInterface(IID_IHXTEventSink, nullptr), E_POINTER);
    EXPECT_EQ(sink->QueryInterface(IID_IUnknownId, &face), E_FAIL);
    EXPECT_EQ(sink->Release(), 1u);
    EXPECT_EQ(sink->Release(), 0u);
}

TEST(HelixEncoder, AsksForTheAudienceOfItsPlatformAndBitRate)
{
    const struct
    {
        const char* args;
        const char* audience;
    } cases[] = {{"-vb 450", "computer - 450"}, {"-vb 450 -rv40_platform 1", "mobile - 450"}, {"", "computer - 128"}};
    for (const auto& c : cases)
    {
        CHelixEncoder job;
        snprintf(job.m_settings.argumentText, sizeof(job.m_settings.argumentText), "%s", c.args);
        EXPECT_EQ(job.ParseRealMediaOptions(), 0);
        EXPECT_EQ(job.AudienceName(), c.audience);
    }
}
} // namespace
