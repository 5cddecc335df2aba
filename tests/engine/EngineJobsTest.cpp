#include "RwTest.h"

#include "JobFixture.h"
#include "engine/converter/FFMpegEncoder.h"

#include <dlfcn.h>

#include <typeinfo>

extern "C"
{
#include <libavdevice/version_major.h>
#include <libavformat/avformat.h>
#include <libavutil/macros.h>
}

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

TEST(EngineJobs, EachConverterLineReachesTheJobLogOnceAndWhyAJobFailedIsThere)
{
    // A console that prints the log must not see the line a second time on the error stream.
    struct Case
    {
        std::string source;
        std::string output;
        const char* arguments;
        const char* reason;
    } cases[] = {
        {Source(), Output("once.mp4"), "-b -100", "Invalid value '-100' for option 'b'\n"},
        {Output("own.mp4"), Output("own.mp4"), "-vcodec mpeg4", "the output file is the source file"},
        {Source(), Output("nothing.mp4"), "-ss 50 -vcodec mpeg4", "Output stream #0.0 received no data"},
    };
    // A source of this test's own: a fault here must not destroy the shared test media.
    ASSERT_TRUE(::CopyFileA(rwtest::ToWin32Path(Source()).c_str(),
                            rwtest::ToWin32Path(Output("")).append("\\own.mp4").c_str(), FALSE));
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.arguments);
        rwtest::LogRecorder log;
        testing::internal::CaptureStderr();
        JobSettings settings = MakeJobSettings(c.source, c.output, c.arguments);
        int id = EngineCreateJob(&settings);
        ASSERT_GE(id, kFirstJobId);
        EXPECT_EQ(kEncoderFailed, rwtest::WaitForJobEnd(id));
        std::string console = testing::internal::GetCapturedStderr();
        // Every line is in the log when the job shows its end.
        EXPECT_EQ(1, rwtest::LogRecorder::CountContaining(c.reason));
        EXPECT_EQ(0, EngineDestroyJob(id));
        EXPECT_EQ(std::string::npos, console.find(c.reason)) << console;
    }
}

// Last in this program, after every job: conversions leave the devices' library (and the dozens
// of libraries it pulls in) unloaded; a device name loads it once.
TEST(EngineJobs, DevicesLoadOnlyWhenAFormatNameAsksForThem)
{
    const char* library = "libavdevice.so." AV_STRINGIFY(LIBAVDEVICE_VERSION_MAJOR);
    EXPECT_EQ(nullptr, dlopen(library, RTLD_NOW | RTLD_NOLOAD));
    EXPECT_EQ(nullptr, av_find_input_format("lavfi"));
    ASSERT_TRUE(EngineRegisterDevices());
    ASSERT_TRUE(EngineRegisterDevices());
    void* loaded = dlopen(library, RTLD_NOW | RTLD_NOLOAD);
    EXPECT_NE(nullptr, loaded);
    if (loaded)
        dlclose(loaded);
    EXPECT_NE(nullptr, av_find_input_format("lavfi"));
}
