#include "RwTest.h"

#include "JobFixture.h"
#include "engine/converter/FFMpegEncoder.h"

#include <atomic>
#include <thread>

using rwtest::LogRecorder;
using rwtest::MakeJobSettings;

namespace
{
// Two jobs held paused at their start, so that both count as running.
class LogRoutingTest : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string dir = rwtest::ScratchDir("LogRoutingTest");
        for (int i = 0; i < 2; ++i)
        {
            JobSettings settings = MakeJobSettings(rwtest::Media("long25s.mp4"), dir + "/out" + std::to_string(i) + ".mp4",
                                                   "-vcodec mpeg4 -an");
            m_ids[i] = EngineCreateJob(&settings);
            ASSERT_GE(m_ids[i], kFirstJobId);
            m_jobs[i] = static_cast<CFFMpegEncoder*>(EngineFindJob(m_ids[i]));
            m_jobs[i]->Pause();
        }
    }
    void TearDown() override { EngineDestroyAllJobs(); }

    int m_ids[2] = {};
    CFFMpegEncoder* m_jobs[2] = {};
};

struct OtherContext
{
    const AVClass* avClass;
};

std::atomic<int> g_linesFromPlainThreads(0);

// Counts the lines FFmpeg logs on threads of its own, then routes them as the engine does.
void CountingLogCallback(void* context, int level, const char* format, va_list args)
{
    if (!CThread::IsWin32Thread())
        ++g_linesFromPlainThreads;
    FFmpegLogCallback(context, level, format, args);
}
}

TEST_F(LogRoutingTest, LineReachesOnlyTheJobOwningItsContext)
{
    LogRecorder log;
    av_log(m_jobs[1]->LogContext(), AV_LOG_ERROR, "second %d\n", 2);
    EXPECT_EQ(1, LogRecorder::CountFor(m_ids[1], "second 2\n"));
    EXPECT_EQ(1, LogRecorder::CountContaining("second 2"));

    av_log(nullptr, AV_LOG_ERROR, "nobody's\n");
    static const AVClass otherClass = {"other", av_default_item_name, nullptr, LIBAVUTIL_VERSION_INT};
    OtherContext other = {&otherClass};
    av_log(&other, AV_LOG_ERROR, "nobody's\n");
    EXPECT_EQ(0, LogRecorder::CountContaining("nobody's"));
}

TEST_F(LogRoutingTest, WithoutASinkNothingIsDelivered)
{
    g_engineLogSink = nullptr;
    EXPECT_EQ(-1, EngineDispatchLog(m_jobs[0]->LogContext(), "lost\n"));
    LogRecorder log;
    EXPECT_EQ(0, EngineDispatchLog(m_jobs[0]->LogContext(), "kept\n"));
    EXPECT_EQ(1, LogRecorder::CountFor(m_ids[0], "kept\n"));
    EXPECT_EQ(0, LogRecorder::CountContaining("lost"));
}

TEST_F(LogRoutingTest, LineFromAPlainThreadWaitsForAWin32Thread)
{
    LogRecorder log;
    bool markedThere = true;
    std::thread plain([&] {
        markedThere = CThread::IsWin32Thread();
        av_log(m_jobs[0]->LogContext(), AV_LOG_WARNING, "from a codec thread\n");
    });
    plain.join();
    EXPECT_FALSE(markedThere);
    // Delivered by the next Win32 thread that logs (a job's worker) or flushes, never from there.
    EngineFlushLog();
    EXPECT_EQ(1, LogRecorder::CountFor(m_ids[0], "from a codec thread\n"));
    EngineFlushLog();
    EXPECT_EQ(1, LogRecorder::CountContaining("from a codec thread"));
}

TEST_F(LogRoutingTest, EndedJobClaimsNoLine)
{
    LogRecorder log;
    std::string dir = rwtest::ScratchDir("LogRoutingTestEnded");
    JobSettings settings = MakeJobSettings(rwtest::Media("long25s.mp4"), dir + "/x.mp4", "-no_such_option 1");
    int id = EngineCreateJob(&settings);
    ASSERT_GE(id, kFirstJobId);
    EXPECT_EQ(kEncoderFailed, rwtest::WaitForJobEnd(id));
    auto* job = static_cast<CFFMpegEncoder*>(EngineFindJob(id));
    av_log(job->LogContext(), AV_LOG_ERROR, "after the end\n");
    EXPECT_EQ(0, LogRecorder::CountContaining("after the end"));
}

TEST(LogRoutingThreads, LinesFromFFmpegsOwnThreadsNeverCrash)
{
    LogRecorder log;
    int level = av_log_get_level();
    av_log_set_callback(CountingLogCallback);
    std::string dir = rwtest::ScratchDir("LogRoutingThreads");
    // Frame-threaded decoding and libx264's threads log through their codec contexts.
    JobSettings settings = MakeJobSettings(rwtest::Media("clip_h264_aac.mp4"), dir + "/threads.mp4",
                                           "-threads 4 -loglevel 48 -vcodec libx264 -acodec aac");
    int id = EngineCreateJob(&settings);
    ASSERT_GE(id, kFirstJobId);
    EXPECT_EQ(kEncoderDone, rwtest::WaitForJobEnd(id));
    EXPECT_EQ(0, EngineDestroyJob(id));
    av_log_set_callback(FFmpegLogCallback);
    av_log_set_level(level);
    EXPECT_GT(g_linesFromPlainThreads, 0);
}
