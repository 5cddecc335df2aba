#include "RwTest.h"

#include "JobFixture.h"

#include <sys/stat.h>

using rwtest::MakeJobSettings;

namespace
{
const char kSlowArguments[] = "-vcodec mpeg4 -b 200 -acodec aac -ab 64";

// Jobs of this program yield 1 ms per turn of the transcode loop, so that a 25-second source
// takes well over a second and can be caught while it runs.
class JobControlTest : public testing::Test
{
protected:
    void SetUp() override
    {
        CThread::MarkWin32Thread();
        g_backgroundConversion = 1;
        m_dir = rwtest::ScratchDir("JobControlTest");
    }
    void TearDown() override
    {
        EngineDestroyAllJobs();
        g_backgroundConversion = 0;
    }

    int StartJob(const std::string& outputName, const char* arguments = kSlowArguments)
    {
        m_output = m_dir + "/" + outputName;
        JobSettings settings = MakeJobSettings(rwtest::Media("long25s.mp4"), m_output, arguments);
        return EngineCreateJob(&settings);
    }

    // Polls until the job's progress passes the value or the job ends.
    static float WaitForProgress(CEncoder* job, float above)
    {
        DWORD start = ::GetTickCount();
        while (job->GetProgress() <= above && !rwtest::IsJobFinished(job->m_state) && ::GetTickCount() - start < 60000)
            ::Sleep(5);
        return job->GetProgress();
    }

    long OutputSize() const
    {
        struct stat info;
        return ::stat(m_output.c_str(), &info) == 0 ? (long)info.st_size : -1;
    }

    std::string m_dir;
    std::string m_output;
};
}

TEST_F(JobControlTest, PauseHoldsProgressAndResumeGoesOn)
{
    int id = StartJob("paused.mp4");
    ASSERT_GE(id, kFirstJobId);
    CEncoder* job = EngineFindJob(id);
    EXPECT_GT(WaitForProgress(job, 5.0f), 5.0f);
    EXPECT_EQ(0, job->Pause());
    EXPECT_EQ(kEncoderPaused, (EncoderState)job->m_state);
    ::Sleep(250); // the turn that was under way when the pause came ends
    float held = job->GetProgress();
    long size = OutputSize();
    ::Sleep(500);
    EXPECT_EQ(held, job->GetProgress());
    EXPECT_EQ(size, OutputSize());
    EXPECT_EQ(kEncoderPaused, (EncoderState)job->m_state);

    EXPECT_EQ(0, job->Resume());
    EXPECT_EQ(kEncoderRunning, (EncoderState)job->m_state);
    EXPECT_GT(WaitForProgress(job, held), held);
    g_backgroundConversion = 0;
    EXPECT_EQ(kEncoderDone, rwtest::WaitForJobEnd(id));
    EXPECT_EQ(kProgressDone, job->GetProgress());
}

TEST_F(JobControlTest, PauseAndResumeLeaveAnEndedJobAlone)
{
    int id = StartJob("bad.mp4", "-no_such_option 1");
    ASSERT_GE(id, kFirstJobId);
    CEncoder* job = EngineFindJob(id);
    EXPECT_EQ(kEncoderFailed, rwtest::WaitForJobEnd(id));
    EXPECT_EQ(0, job->Pause());
    EXPECT_EQ(kEncoderFailed, (EncoderState)job->m_state);
    EXPECT_EQ(0, job->Resume());
    EXPECT_EQ(kEncoderFailed, (EncoderState)job->m_state);
}

TEST_F(JobControlTest, StopEndsARunningJobAndTheOutputCanBeDeleted)
{
    for (bool pausedFirst : {false, true})
    {
        SCOPED_TRACE(pausedFirst ? "paused" : "running");
        int id = StartJob(pausedFirst ? "stopped-paused.mp4" : "stopped.mp4");
        ASSERT_GE(id, kFirstJobId);
        CEncoder* job = EngineFindJob(id);
        EXPECT_GT(WaitForProgress(job, 1.0f), 1.0f);
        if (pausedFirst)
            job->Pause();
        DWORD start = ::GetTickCount();
        EXPECT_EQ(0, job->Stop());
        printf("stopped after %lu ms\n", (unsigned long)(::GetTickCount() - start));
        EXPECT_EQ(kEncoderStopped, (EncoderState)job->m_state);
        EXPECT_EQ(kProgressFailed, job->GetProgress());
        EXPECT_GT(OutputSize(), 0);
        std::string win32 = rwtest::ToWin32Path(m_output);
        EXPECT_TRUE(::DeleteFileA(win32.c_str()));
        EXPECT_EQ(-1, OutputSize());
        EXPECT_EQ(0, EngineDestroyJob(id));
    }
}

TEST_F(JobControlTest, StopRightAfterCreation)
{
    int id = StartJob("early.mp4");
    ASSERT_GE(id, kFirstJobId);
    CEncoder* job = EngineFindJob(id);
    EXPECT_EQ(0, job->Stop());
    EXPECT_EQ(kEncoderStopped, (EncoderState)job->m_state);
    EXPECT_EQ(kProgressFailed, job->GetProgress());
}

TEST_F(JobControlTest, SegmentedJobRunsBetweenItsSegments)
{
    // Each run leaves the job idle when it releases its context; the next run must report it
    // running again, or a pause given then would be lost and the task would look idle.
    int id = StartJob("seg.mp4", "-vcodec mpeg4 -b 200 -an -t 5");
    ASSERT_GE(id, kFirstJobId);
    CEncoder* job = EngineFindJob(id);
    int samples = 0, idle = 0;
    while (!rwtest::IsJobFinished(job->m_state))
    {
        ++samples;
        idle += job->m_state == kEncoderIdle;
        ::Sleep(1);
    }
    EXPECT_EQ(kEncoderDone, (EncoderState)job->m_state);
    EXPECT_GT(samples, 100);
    EXPECT_LT(idle * 10, samples);
}

// A stop that comes after the job ended (the task manager's picture of it is up to a poll old)
// leaves the job's final state alone: "done" stays done, "failed" stays failed.
TEST_F(JobControlTest, StopAfterTheEndKeepsTheFinalState)
{
    g_backgroundConversion = 0;
    const struct
    {
        const char* output;
        const char* arguments;
        EncoderState end;
    } cases[] = {
        {"finished.mp4", "-vcodec mpeg4 -b 200 -acodec aac -ab 64", kEncoderDone},
        {"refused.mp4", "-no_such_option 1", kEncoderFailed},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.output);
        int id = StartJob(c.output, c.arguments);
        ASSERT_GE(id, kFirstJobId);
        CEncoder* job = EngineFindJob(id);
        ASSERT_EQ(c.end, rwtest::WaitForJobEnd(id));
        const float progress = job->GetProgress();
        EXPECT_EQ(0, job->Stop());
        EXPECT_EQ(c.end, (EncoderState)job->m_state);
        EXPECT_EQ(progress, job->GetProgress());
        EXPECT_EQ(0, EngineDestroyJob(id));
    }
}
