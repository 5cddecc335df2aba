#include "RwTest.h"

#include "JobFixture.h"
#include "engine/converter/FFMpegEncoder.h"

#include <typeinfo>

using rwtest::MakeJobSettings;

namespace
{
std::string Source()
{
    return rwtest::Media("clip_h264_aac.mp4");
}

std::string Output(const std::string& name)
{
    static std::string dir = rwtest::ScratchDir("EngineJobsTest");
    return dir + "/" + name;
}

// Creates a job for the output name; "" when creation failed, else the job's class name.
std::string JobClassFor(const std::string& outputName)
{
    JobSettings settings = MakeJobSettings(Source(), Output(outputName), "-unknown_option 1");
    int id = EngineCreateJob(&settings);
    if (id < 0)
        return std::string();
    std::string name = typeid(*EngineFindJob(id)).name();
    EXPECT_EQ(0, EngineDestroyJob(id));
    return name;
}
}

// Runs first in this program: the first job of a run gets 1025.
TEST(EngineJobs, IdsStartAt1025AndFailuresUseNone)
{
    JobSettings settings = MakeJobSettings(Source(), Output("a.mp4"), "-unknown_option 1");
    int first = EngineCreateJob(&settings);
    EXPECT_EQ(kFirstJobId, first);
    EXPECT_EQ(-1, EngineCreateJob(nullptr));
    JobSettings noDot = MakeJobSettings(Source(), "");
    strcpy(noDot.outputPath, "Z:\\tmp\\output");
    EXPECT_EQ(-1, EngineCreateJob(&noDot));
    JobSettings unterminated = settings;
    memset(unterminated.outputPath, 'a', sizeof(unterminated.outputPath));
    EXPECT_EQ(-1, EngineCreateJob(&unterminated));
    int second = EngineCreateJob(&settings);
    EXPECT_EQ(kFirstJobId + 1, second);
    EXPECT_EQ(0, EngineDestroyJob(first));
    EXPECT_EQ(0, EngineDestroyJob(second));
    int third = EngineCreateJob(&settings);
    EXPECT_EQ(kFirstJobId + 2, third); // ids are never reused
    EXPECT_EQ(0, EngineDestroyAllJobs());
    EXPECT_EQ(nullptr, EngineFindJob(third));
}

TEST(EngineJobs, EncoderIsChosenByTheOutputExtension)
{
    const std::string converter = typeid(CFFMpegEncoder).name();
    for (const char* name : {"clip.mp4", "backup.tar.gz", "clip.rm2", "clip.AVI"})
        EXPECT_EQ(converter, JobClassFor(name)) << name;
    // RealMedia and DPG jobs are other classes (or cannot be made at all), never the converter.
    for (const char* name : {"clip.RMVB", "clip.rm", "clip.Ra", "clip.Dpg"})
        EXPECT_NE(converter, JobClassFor(name)) << name;
}

TEST(EngineJobs, DestroyingTwiceOrAnUnknownIdFails)
{
    JobSettings settings = MakeJobSettings(Source(), Output("b.mp4"), "-unknown_option 1");
    int id = EngineCreateJob(&settings);
    ASSERT_GE(id, kFirstJobId);
    EXPECT_NE(nullptr, EngineFindJob(id));
    EXPECT_EQ(0, EngineDestroyJob(id));
    EXPECT_EQ(-1, EngineDestroyJob(id));
    EXPECT_EQ(nullptr, EngineFindJob(id));
    EXPECT_EQ(-1, EngineDestroyJob(kPreviewJobId));
    EXPECT_EQ(nullptr, EngineFindJob(kPreviewJobId));
}

TEST(EngineJobs, BadSourcesAndArgumentsFailTheJobAndSayWhy)
{
    struct BadCase
    {
        const char* source;
        const char* arguments;
    };
    const BadCase cases[] = {
        {"missing.mp4", ""},
        {"empty.mp4", ""},
        {"garbage.avi", ""},
        {"truncated.mp4", ""},
        {"clip_h264_aac.mp4", "-r not_a_rate"},
        {"clip_h264_aac.mp4", "-t not_a_time"},
        {"clip_h264_aac.mp4", "-vcodec no_such_codec"},
    };
    for (const BadCase& c : cases)
    {
        SCOPED_TRACE(std::string(c.source) + " " + c.arguments);
        rwtest::LogRecorder log;
        JobSettings settings = MakeJobSettings(rwtest::Media(c.source), Output("bad.mp4"), c.arguments);
        int id = EngineCreateJob(&settings);
        ASSERT_GE(id, kFirstJobId);
        EXPECT_EQ(kEncoderFailed, rwtest::WaitForJobEnd(id));
        EXPECT_EQ(kProgressFailed, EngineFindJob(id)->GetProgress());
        EXPECT_EQ(0, EngineDestroyJob(id));
        EXPECT_GE(rwtest::LogRecorder::Snapshot().size(), 1u);
    }
}

TEST(EngineJobs, CutSourceEndsWithoutHanging)
{
    JobSettings settings = MakeJobSettings(rwtest::Media("truncated.avi"), Output("cut.avi"), "-vcodec mpeg4");
    int id = EngineCreateJob(&settings);
    ASSERT_GE(id, kFirstJobId);
    EncoderState state = rwtest::WaitForJobEnd(id);
    EXPECT_TRUE(state == kEncoderDone || state == kEncoderFailed) << state;
    EXPECT_EQ(0, EngineDestroyJob(id));
}

TEST(EngineJobs, OutputIntoAMissingFolderFails)
{
    rwtest::LogRecorder log;
    JobSettings settings = MakeJobSettings(Source(), "");
    std::string output = rwtest::ToWin32Path(Output("")) + "\\no such folder\\out.mp4";
    strcpy(settings.outputPath, output.c_str());
    int id = EngineCreateJob(&settings);
    ASSERT_GE(id, kFirstJobId);
    EXPECT_EQ(kEncoderFailed, rwtest::WaitForJobEnd(id));
    EXPECT_EQ(kProgressFailed, EngineFindJob(id)->GetProgress());
    EXPECT_EQ(0, EngineDestroyJob(id));
}
