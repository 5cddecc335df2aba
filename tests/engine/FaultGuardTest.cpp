#define NOMINMAX
#include "RwTest.h"

#include "JobFixture.h"
#include "engine/FaultGuard.h"
#include "engine/converter/TranscodePipeline.h"

#include <sys/stat.h>

#include <stdexcept>
#include <string>

using rwtest::MakeJobSettings;

namespace
{
void WriteThroughNull()
{
    volatile int* volatile target = nullptr;
    *target = 1;
}

bool FileExists(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

// Leaves the seam and the pipelined mode as it found them.
class FaultSeamScope
{
public:
    FaultSeamScope(TranscodeFaultSeam seam, bool pipelined) : m_pipelined(g_pipelinedConversion)
    {
        g_pipelinedConversion = pipelined ? 1 : 0;
        g_transcodeFaultSeam = seam;
    }
    ~FaultSeamScope()
    {
        g_transcodeFaultSeam = kFaultNowhere;
        g_pipelinedConversion = m_pipelined;
    }

private:
    int m_pipelined;
};
} // namespace

TEST(FaultGuard, CatchesAFaultAndPassesExceptionsThrough)
{
    CThread::MarkWin32Thread();
    DWORD code = 0;
    int ran = 0;
    auto fine = [&] { ++ran; };
    EXPECT_TRUE(FaultGuarded(fine, &code));
    EXPECT_EQ(1, ran);
    auto faulty = [] { WriteThroughNull(); };
    EXPECT_FALSE(FaultGuarded(faulty, &code));
    EXPECT_EQ((DWORD)EXCEPTION_ACCESS_VIOLATION, code);
    EXPECT_STREQ("access violation", FaultName(code));
    auto throwing = [] { throw std::runtime_error("thrown"); };
    EXPECT_THROW(FaultGuarded(throwing, &code), std::runtime_error);
    // The guard's frame went with the exception: a later fault is caught by the next guard.
    EXPECT_FALSE(FaultGuarded(faulty, &code));
    auto nested = [&] { EXPECT_FALSE(FaultGuarded(faulty, &code)); };
    EXPECT_TRUE(FaultGuarded(nested, &code));
}

// A fault on the job's thread or on any stage thread ends the job as failed, with the fault named
// in its log; every stage thread ends, the partial output goes, and the next job runs as usual.
TEST(FaultGuard, AFaultingThreadEndsItsJobAsFailed)
{
    const struct
    {
        TranscodeFaultSeam seam;
        bool pipelined;
        const char* where;
    } cases[] = {
        {kFaultJobThread, true, "in the transcode loop"},   {kFaultPictureStage, true, "in the picture stage"},
        {kFaultEncodeStage, true, "in the encoder stage"},  {kFaultMuxStage, true, "in the muxer stage"},
        {kFaultJobThread, false, "in the transcode loop"},
    };
    rwtest::LogRecorder log;
    const std::string dir = rwtest::ScratchDir("FaultGuardTest");
    const std::string arguments = "-vcodec mpeg4 -s 160x120 -b 300 -acodec aac -ab 96";
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::string(c.where) + (c.pipelined ? ", pipelined" : ", one thread"));
        const std::string output = dir + "/faulted.mp4";
        const std::string line = std::string("access violation (exception c0000005) ") + c.where;
        const int linesBefore = log.CountContaining(line);
        {
            FaultSeamScope seam(c.seam, c.pipelined);
            JobSettings settings = MakeJobSettings(rwtest::Media("clip_h264_aac.mp4"), output, arguments);
            int id = EngineCreateJob(&settings);
            ASSERT_GE(id, kFirstJobId);
            EXPECT_EQ(kEncoderFailed, rwtest::WaitForJobEnd(id)); // a hang guard of a minute
            EXPECT_EQ(kProgressFailed, EngineFindJob(id)->GetProgress());
            // Each stage of the kind may fault before the first fault ends the others (the video
            // and the audio encoder both): a line for each.
            EXPECT_GE(log.CountContaining(line), linesBefore + 1);
            EXPECT_EQ(0, TranscodePipeline::LiveStageThreads());
            EXPECT_FALSE(FileExists(output));
            EXPECT_EQ(0, EngineDestroyJob(id));
        }
        JobSettings settings = MakeJobSettings(rwtest::Media("clip_h264_aac.mp4"), output, arguments);
        int id = EngineCreateJob(&settings);
        ASSERT_GE(id, kFirstJobId);
        EXPECT_EQ(kEncoderDone, rwtest::WaitForJobEnd(id));
        EXPECT_EQ(0, EngineDestroyJob(id));
        EXPECT_TRUE(FileExists(output));
        ::remove(output.c_str());
    }
}
