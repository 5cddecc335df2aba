#define NOMINMAX
#include "RwTest.h"

#include "OutputProbe.h"
#include "TestMedia.h"
#include "engine/Engine.h"
#include "engine/converter/FFMpegEncoder.h"
#include "engine/converter/TranscodePipeline.h"

#include <stdio.h>
#include <string.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace
{
const DWORD kPollMs = 10;
const int kGuardPolls = 30000; // a hang guard, not a time limit of the test
// A stopped job's encoders are not drained: the last frames they hold stay out of the file.
const double kStopMarginSeconds = 0.5;

bool Ended(int state)
{
    return state == kEncoderDone || state == kEncoderFailed || state == kEncoderStopped || state == kEncoderException;
}

std::unique_ptr<CFFMpegEncoder> StartJob(const std::string& source, const std::string& output, const std::string& args)
{
    JobSettings settings;
    memset(&settings, 0, sizeof(settings));
    snprintf(settings.sourcePath, sizeof(settings.sourcePath), "%s", source.c_str());
    snprintf(settings.outputPath, sizeof(settings.outputPath), "%s", output.c_str());
    snprintf(settings.argumentText, sizeof(settings.argumentText), "%s", args.c_str());
    std::unique_ptr<CFFMpegEncoder> job(new CFFMpegEncoder);
    EXPECT_EQ(job->Start(&settings), 0);
    return job;
}

int WaitForEnd(CFFMpegEncoder* job)
{
    for (int poll = 0; poll < kGuardPolls && !Ended(job->m_state); ++poll)
        ::Sleep(kPollMs);
    return job->m_state;
}

int RunJob(const std::string& source, const std::string& output, const std::string& args)
{
    std::unique_ptr<CFFMpegEncoder> job = StartJob(source, output, args);
    return WaitForEnd(job.get());
}

// Runs started while it lives are pipelined or not.
class PipelineMode
{
  public:
    explicit PipelineMode(int pipelined)
    {
        g_pipelinedConversion = pipelined;
    }
    ~PipelineMode()
    {
        g_pipelinedConversion = 1;
    }
    PipelineMode(const PipelineMode&) = delete;
    PipelineMode& operator=(const PipelineMode&) = delete;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string Segment(const std::string& stem, int number, const std::string& extension)
{
    char name[32];
    snprintf(name, sizeof(name), " - %02d.", number);
    return stem + name + extension;
}

// The files one job writes: its output, or its numbered segments.
std::vector<std::string> WrittenFiles(const std::string& stem, const std::string& extension)
{
    std::vector<std::string> files;
    for (int n = 1; !ReadFile(Segment(stem, n, extension)).empty(); ++n)
        files.push_back(Segment(stem, n, extension));
    if (files.empty())
        files.push_back(stem + "." + extension);
    return files;
}
} // namespace

// Deterministic encoders give the same bytes whether the stages run side by side or one after
// the other on the job's thread: same packets, same order, same timestamps, same statistics.
TEST(TranscodePipelineTest, PipelinedOutputEqualsTheOneThreadRun)
{
    std::string dir = rwtest::ScratchDir("pipeline-equal");
    struct Case
    {
        const char* source;
        const char* name;
        const char* extension;
        const char* args;
        bool stats;
    } cases[] = {
        {rwtest::kClipMp4, "aac", "mp4", "-vcodec mpeg4 -qscale 3 -acodec aac -ab 128", false},
        {rwtest::kClipMp4, "mpeg1", "mpg", "-vcodec mpeg1video -s 160x120 -acodec mp2 -ab 128", false},
        {rwtest::kClipMov, "banded", "avi",
         "-croptop 40 -padtop 16 -padbottom 24 -deinterlace -vcodec mpeg4 -b 400 -acodec libmp3lame -ab 96", true},
        {rwtest::kClipAvi, "time", "avi", "-t 1 -vcodec mpeg4 -acodec libmp3lame", false},
        {rwtest::kClipAvi, "size", "avi", "-fs 400000 -vcodec mpeg4 -qscale 1 -acodec libmp3lame", false},
        {rwtest::kClipWmv, "sound", "mp3", "-ab 128", false},
    };
    for (const Case& c : cases)
    {
        std::vector<std::string> written[2];
        std::string stats[2];
        for (int pipelined = 0; pipelined < 2; ++pipelined)
        {
            std::string stem = dir + "/" + c.name + std::to_string(pipelined);
            std::string args = c.args;
            PipelineMode mode(pipelined);
            if (c.stats)
                args += " -psnr -vstats_file " + stem + ".stats";
            ASSERT_EQ(RunJob(rwtest::Media(c.source), stem + "." + c.extension, args), kEncoderDone) << c.name;
            written[pipelined] = WrittenFiles(stem, c.extension);
            if (c.stats)
                stats[pipelined] = ReadFile(stem + ".stats");
        }
        ASSERT_EQ(written[0].size(), written[1].size()) << c.name;
        for (size_t i = 0; i < written[0].size(); ++i)
        {
            std::string oneThread = ReadFile(written[0][i]);
            std::string pipelined = ReadFile(written[1][i]);
            EXPECT_GT(oneThread.size(), 1000u) << written[0][i];
            EXPECT_TRUE(oneThread == pipelined)
                << written[1][i] << ": " << pipelined.size() << " bytes against " << oneThread.size();
        }
        EXPECT_EQ(stats[0], stats[1]) << c.name;
        if (c.stats)
            EXPECT_NE(stats[1].find("PSNR="), std::string::npos);
    }
}

// Both passes of a two-pass job: the statistics the first pass writes and the second pass's
// output are the same in both modes.
TEST(TranscodePipelineTest, TwoPassEncodingEqualsTheOneThreadRun)
{
    std::string dir = rwtest::ScratchDir("pipeline-twopass");
    std::string output[2], log[2];
    for (int pipelined = 0; pipelined < 2; ++pipelined)
    {
        std::string stem = dir + "/twopass" + std::to_string(pipelined);
        for (int pass = 1; pass <= 2; ++pass)
        {
            PipelineMode mode(pipelined);
            std::string args =
                "-vcodec mpeg4 -b 300 -acodec mp2 -pass " + std::to_string(pass) + " -passlogfile " + stem;
            ASSERT_EQ(RunJob(rwtest::Media(rwtest::kClipMp4), stem + ".avi", args), kEncoderDone) << pass;
            if (pass == 1)
                log[pipelined] = ReadFile(stem + "-0.log");
        }
        output[pipelined] = ReadFile(stem + ".avi");
    }
    EXPECT_GT(log[0].size(), 100u);
    EXPECT_EQ(log[0], log[1]);
    EXPECT_GT(output[0].size(), 1000u);
    EXPECT_TRUE(output[0] == output[1]) << output[1].size() << " bytes against " << output[0].size();
}

// Stopping a job, running or paused, ends every stage thread and leaves a file that plays; so
// does a failure of the muxer (a full disk). Each workload keeps a different stage the busiest.
TEST(TranscodePipelineTest, StopPauseAndFailureEndEveryStage)
{
    std::string dir = rwtest::ScratchDir("pipeline-stop");
    struct Workload
    {
        const char* name;
        const char* extension;
        const char* args;
    } workloads[] = {
        {"encoder", "avi", "-vcodec mpeg4 -s 640x480 -qscale 2 -acodec libmp3lame"},
        {"picture", "avi", "-deinterlace -vcodec mpeg4 -s 1280x720 -acodec mp2"},
        {"sound", "mp3", "-acodec libmp3lame -ab 320"},
    };
    enum How
    {
        kStopAtOnce,
        kStopRunning,
        kStopPaused
    };
    for (const Workload& w : workloads)
        for (How how : {kStopAtOnce, kStopRunning, kStopPaused})
        {
            std::string name = std::string(w.name) + std::to_string(how);
            std::string output = dir + "/" + name + "." + w.extension;
            std::unique_ptr<CFFMpegEncoder> job = StartJob(rwtest::Media(rwtest::kLong25s), output, w.args);
            if (how != kStopAtOnce)
                for (int poll = 0; poll < kGuardPolls && job->GetProgress() < 10 && !Ended(job->m_state); ++poll)
                    ::Sleep(kPollMs);
            if (how == kStopPaused)
            {
                job->Pause();
                ::Sleep(200);
                EXPECT_EQ(job->m_state, kEncoderPaused) << name;
            }
            if (how != kStopAtOnce)
                EXPECT_GT(TranscodePipeline::LiveStageThreads(), 0) << name;
            // What the progress showed as converted is in the file, however far the muxer was behind.
            double shownSeconds = job->GetProgress() / kProgressRunningMax * rwtest::kLong25sSeconds;
            job->Stop();
            EXPECT_EQ(job->m_state, kEncoderStopped) << name;
            EXPECT_EQ(TranscodePipeline::LiveStageThreads(), 0) << name;
            if (how != kStopAtOnce)
            {
                rwtest::OutputFacts facts = rwtest::ProbeOutput(output);
                EXPECT_TRUE(facts.opened) << name;
                EXPECT_GT(facts.packets, 10) << name;
                EXPECT_GT(facts.duration, shownSeconds - kStopMarginSeconds) << name;
                EXPECT_EQ(facts.undecodablePackets, 0) << name;
            }
        }
    int state = RunJob(rwtest::Media(rwtest::kClipMp4), "/dev/full", "-f avi -vcodec mpeg4 -acodec libmp3lame");
    EXPECT_TRUE(state == kEncoderException || state == kEncoderFailed) << state;
    EXPECT_EQ(TranscodePipeline::LiveStageThreads(), 0);
}
