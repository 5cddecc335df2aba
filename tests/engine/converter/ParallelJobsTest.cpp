#include "RwTest.h"

#include "JobFixture.h"
#include "OutputProbe.h"
#include "engine/CodecLock.h"
#include "engine/converter/RunningConversions.h"

#include <sys/stat.h>

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

extern "C"
{
#include <libavutil/cpu.h>
}

using rwtest::MakeJobSettings;

namespace
{
struct JobCase
{
    const char* source;
    const char* output;
    const char* arguments;
};

const JobCase kJobs[] = {
    {"clip_h264_aac.mp4", "a.avi", "-vcodec mpeg4 -b 400 -acodec libmp3lame -ab 64"},
    {"clip_mpeg4_mp3.avi", "b.mp4", "-vcodec libx264 -b 300 -acodec aac -ab 64"},
    {"clip_wmv2_wma.wmv", "c.flv", "-vcodec flv -b 300 -s 160x120 -acodec libmp3lame -ab 64 -ar 22050"},
};

std::vector<int> StartJobs(const std::string& dir, bool withBadJob)
{
    std::vector<int> ids;
    for (const JobCase& c : kJobs)
    {
        JobSettings settings = MakeJobSettings(rwtest::Media(c.source), dir + "/" + c.output, c.arguments);
        ids.push_back(EngineCreateJob(&settings));
    }
    if (withBadJob)
    {
        JobSettings settings =
            MakeJobSettings(rwtest::Media("clip_h264_aac.mp4"), dir + "/bad.mp4", "-vcodec mpeg4 -bogus_option 1");
        ids.push_back(EngineCreateJob(&settings));
    }
    return ids;
}
} // namespace

TEST(ParallelJobs, SideBySideEqualsAloneAndABadJobFailsAlone)
{
    rwtest::LogRecorder log;
    std::string alone = rwtest::ScratchDir("ParallelJobsTest/alone");
    std::string together = rwtest::ScratchDir("ParallelJobsTest/together");
    for (const JobCase& c : kJobs)
    {
        JobSettings settings = MakeJobSettings(rwtest::Media(c.source), alone + "/" + c.output, c.arguments);
        int id = EngineCreateJob(&settings);
        ASSERT_GE(id, kFirstJobId);
        EXPECT_EQ(kEncoderDone, rwtest::WaitForJobEnd(id)) << c.output;
        EngineDestroyJob(id);
    }

    std::vector<int> ids = StartJobs(together, true);
    for (int id : ids)
        ASSERT_GE(id, kFirstJobId);
    for (size_t i = 0; i < ids.size(); ++i)
    {
        bool bad = i == ids.size() - 1;
        EXPECT_EQ(bad ? kEncoderFailed : kEncoderDone, rwtest::WaitForJobEnd(ids[i])) << i;
        EXPECT_EQ(bad ? kProgressFailed : kProgressDone, EngineFindJob(ids[i])->GetProgress()) << i;
    }
    EngineDestroyAllJobs();
    EXPECT_GE(rwtest::LogRecorder::CountContaining("bogus_option"), 1);

    for (const JobCase& c : kJobs)
    {
        rwtest::OutputFacts first = rwtest::ProbeOutput(alone + "/" + c.output);
        rwtest::OutputFacts second = rwtest::ProbeOutput(together + "/" + c.output);
        ASSERT_TRUE(first.opened && second.opened) << c.output;
        EXPECT_GT(first.videoFrames, 0) << c.output;
        EXPECT_EQ(first.frameChecksums, second.frameChecksums) << c.output;
    }
}

TEST(ParallelJobs, TwoPassJobsSideBySideKeepTheirOwnPassLogs)
{
    std::string dir = rwtest::ScratchDir("ParallelJobsTest/twopass");
    const char* outputs[] = {"first.mp4", "second.mp4"};
    for (int pass = 1; pass <= 2; ++pass)
    {
        std::string arguments = "-vcodec mpeg4 -b 300 -an -pass " + std::to_string(pass);
        std::vector<int> ids;
        for (const char* output : outputs)
        {
            JobSettings settings = MakeJobSettings(rwtest::Media("clip_h264_aac.mp4"), dir + "/" + output, arguments);
            ids.push_back(EngineCreateJob(&settings));
        }
        for (int id : ids)
        {
            ASSERT_GE(id, kFirstJobId);
            EXPECT_EQ(kEncoderDone, rwtest::WaitForJobEnd(id)) << "pass " << pass;
        }
        EngineDestroyAllJobs();
    }
    for (const char* output : outputs)
    {
        rwtest::OutputFacts facts = rwtest::ProbeOutput(dir + "/" + output);
        EXPECT_GT(facts.videoFrames, 0) << output;
        EXPECT_EQ(0, facts.undecodablePackets) << output;
        struct stat info;
        EXPECT_EQ(0, ::stat((dir + "/" + output + "-0.log").c_str(), &info)) << output;
    }
}

// Codecs that run many threads open without the codec lock: a job with such codecs converts while
// another caller (a media-information call or another job opening its decoder) holds the lock.
TEST(ParallelJobs, ManyCodecThreadsOpenWhileTheCodecLockIsTaken)
{
    const int kGuardPolls = 6000; // a hang guard of 10 ms polls, not a time limit of the test
    std::string output = rwtest::ScratchDir("ParallelJobsTest/threads") + "/threads.avi";
    JobSettings settings = MakeJobSettings(rwtest::Media("clip_h264_aac.mp4"), output,
                                           "-threads 16 -vcodec mpeg4 -b 400 -acodec libmp3lame -ab 64");
    int id;
    float progress = 0;
    {
        std::lock_guard<std::mutex> held(g_codecLock);
        id = EngineCreateJob(&settings);
        ASSERT_GE(id, kFirstJobId);
        for (int poll = 0; poll < kGuardPolls && progress <= 0; ++poll)
        {
            ::Sleep(10);
            progress = EngineFindJob(id)->GetProgress();
        }
    }
    EXPECT_GT(progress, 0);
    EXPECT_EQ(kEncoderDone, rwtest::WaitForJobEnd(id));
    EngineDestroyAllJobs();
    rwtest::OutputFacts facts = rwtest::ProbeOutput(output);
    EXPECT_GT(facts.videoFrames, 0);
    EXPECT_EQ(AV_CODEC_ID_MP3, facts.audioCodec);
    EXPECT_EQ(0, facts.undecodablePackets);
}

// The automatic codec thread counts divide the cores among the conversions running at once; an
// explicit count stays as the user gave it.
TEST(ParallelJobs, AutomaticThreadCountsShareTheCoresAmongRunningJobs)
{
    const struct
    {
        int requested, running, cores, expected;
    } kShares[] = {
        {0, 1, 8, 4}, {0, 1, 2, 1}, {0, 0, 8, 4}, // alone: the decoder and encoder share the cores
        {0, 2, 8, 2}, {0, 3, 8, 1},   {0, 4, 8, 1}, {0, 4, 16, 2},
        {0, 9, 8, 1}, {0, 2, 2, 1},   {3, 4, 8, 3}, // explicit counts are kept, alone or not
        {1, 1, 8, 1}, {16, 4, 8, 16},
    };
    for (const auto& c : kShares)
        EXPECT_EQ(c.expected, RunningConversions::ThreadsFor(c.requested, c.running, c.cores))
            << c.requested << " requested, " << c.running << " running, " << c.cores << " cores";

    // Another conversion runs beside the job: its codecs open with its share of the cores.
    static std::mutex lock;
    static std::vector<std::pair<bool, int>> opened; // encoder?, thread count
    struct OtherRunning
    {
        OtherRunning()
        {
            RunningConversions::Enter();
            SetCodecOpenObserver([](const AVCodecContext* context) {
                std::lock_guard<std::mutex> guard(lock);
                if (context->codec_type == AVMEDIA_TYPE_VIDEO)
                    opened.emplace_back(av_codec_is_encoder(context->codec) != 0, context->thread_count);
            });
        }
        ~OtherRunning()
        {
            SetCodecOpenObserver(nullptr);
            RunningConversions::Leave();
        }
    } other;
    const int share = RunningConversions::ThreadsFor(0, 2, av_cpu_count());
    const struct
    {
        const char* threads;
        int expected;
    } kJobs[] = {{"0", share}, {"3", 3}};
    std::string dir = rwtest::ScratchDir("ParallelJobsTest/share");
    for (const auto& job : kJobs)
    {
        opened.clear();
        std::string output = dir + "/threads" + job.threads + ".avi";
        JobSettings settings = MakeJobSettings(rwtest::Media("clip_h264_aac.mp4"), output,
                                               std::string("-threads ") + job.threads + " -vcodec mpeg4 -b 400 -an");
        int id = EngineCreateJob(&settings);
        ASSERT_GE(id, kFirstJobId);
        EXPECT_EQ(kEncoderDone, rwtest::WaitForJobEnd(id));
        EngineDestroyAllJobs();
        {
            std::lock_guard<std::mutex> guard(lock);
            ASSERT_EQ(2u, opened.size()) << job.threads;
            for (const auto& codec : opened)
                EXPECT_EQ(job.expected, codec.second)
                    << "-threads " << job.threads << (codec.first ? " encoder" : " decoder");
        }
        rwtest::OutputFacts facts = rwtest::ProbeOutput(output);
        EXPECT_EQ(AV_CODEC_ID_MPEG4, facts.videoCodec);
        EXPECT_GT(facts.videoFrames, 0);
        EXPECT_EQ(0, facts.undecodablePackets);
    }
    EXPECT_EQ(1, RunningConversions::Count()); // the finished jobs count no more
}
