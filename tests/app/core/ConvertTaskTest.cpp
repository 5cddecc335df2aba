#include "RwTest.h"

#include "CoreTestUtil.h"
#include "app/core/ConvertTask.h"

#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

using coretest::WinPath;

namespace
{
void AddParam(ConvertSetting& setting, const WCHAR* group, const WCHAR* key, const WCHAR* value)
{
    SubParameters p;
    p.m_group = group;
    p.m_name = key;
    p.m_key = key;
    p.m_type = L"text";
    p.m_value = value;
    setting.m_params.Add(p);
}

ConvertTask TaskOf(int width, int height)
{
    ConvertTask task;
    task.m_mediaInfo.width = width;
    task.m_mediaInfo.height = height;
    return task;
}
} // namespace

TEST(ConvertTaskTest, StartsWithItsDefaults)
{
    ConvertTask task;
    EXPECT_EQ(-1, task.m_id);
    EXPECT_EQ(-1, task.m_jobId);
    EXPECT_EQ(kTaskIdle, task.m_state);
    EXPECT_EQ(1, task.m_keepAspect);
    EXPECT_EQ(kTaskSubtitleAuto, task.m_subtitleMode);
    const JobSettings zero = {};
    EXPECT_EQ(0, std::memcmp(&zero, &task.m_job, sizeof zero));
}

TEST(ConvertTaskTest, LetterboxesIntoTheProfilesFrame)
{
    struct Case
    {
        int sw, sh, keep;
        const WCHAR* arguments;
        int result;
        const WCHAR* expected;
    } cases[] = {
        {640, 480, 1, L"-vcodec mpeg4 -s 320x240 -ab 128 ", 0,
         L"-vcodec mpeg4  -s 320x240 -padtop 0 -padbottom 0  -ab 128 "},
        {1280, 720, 1, L"-s 320x240 -ab 128 ", 0, L" -s 320x180 -padtop 30 -padbottom 30  -ab 128 "},
        {480, 640, 1, L"-s 320x240 -r 25 ", 0, L" -s 180x240 -padleft 70 -padright 70  -r 25 "},
        {302, 240, 1, L"-s 176x144 -f 3gp", 0, L" -s 176x140 -padtop 2 -padbottom 2  -f 3gp"},
        {1280, 720, 1, L"-s 0x0 -ab 128 ", 1, L" -ab 128 "},
        {1280, 720, 0, L"-s 320x240 -ab 128 ", 0, L"-s 320x240 -ab 128 "},
        {0, 0, 1, L"-s 320x240 -ab 128 ", 0, L"-s 320x240 -ab 128 "}, // an audio-only source
        {1280, 720, 1, L"-s 320x240", 0, L"-s 320x240"},              // no space after the size
        {1280, 720, 1, L"-ab 128 ", 0, L"-ab 128 "},
        // A named size, with an "x" in a later option.
        {1280, 720, 1, L"-s qvga -vcodec libx264 ", 0, L" -s 320x180 -padtop 30 -padbottom 30  -vcodec libx264 "},
        // Disc targets show their frame at 4:3: a 16:9 picture gets bands, a 4:3 one fills it.
        {1280, 720, 1, L"-target pal-vcd -ab 128 ", 0,
         L"-target pal-vcd -s 352x216 -padtop 36 -padbottom 36  -ab 128 "},
        {640, 480, 1, L"-target pal-vcd ", 0, L"-target pal-vcd -s 352x288 -padtop 0 -padbottom 0  "},
        {720, 1280, 1, L"-target ntsc-dvd ", 0, L"-target ntsc-dvd -s 304x480 -padleft 208 -padright 208  "},
        {1280, 720, 1, L"-target vcd ", 0, L"-target vcd "}, // the norm is not known here
        // The picture keeps its shape to a pixel: bands may differ by 2 (81 of 176 columns make 82).
        {720, 1280, 1, L"-s 176x144 ", 0, L" -s 82x144 -padleft 46 -padright 48  "},
        {720, 1280, 1, L"-s 640x480 ", 0, L" -s 270x480 -padleft 184 -padright 186  "},
    };
    for (const Case& c : cases)
    {
        ConvertTask task = TaskOf(c.sw, c.sh);
        task.m_keepAspect = c.keep;
        CString arguments = c.arguments;
        EXPECT_EQ(c.result, ApplyLetterbox(arguments, task)) << CString(c.arguments);
        EXPECT_EQ(CString(c.expected), arguments) << c.sw << "x" << c.sh << " " << CString(c.arguments);
    }
}

TEST(ConvertTaskTest, LimitsTheFrameRateToTheDevices)
{
    struct Case
    {
        float sourceRate;
        const WCHAR* limit; // nullptr: the profile has no limit
        const WCHAR* arguments;
        const WCHAR* expected;
    } cases[] = {
        {60.0f, L"30", L"-vcodec mpeg4 ", L"-r 60/2 -vcodec mpeg4 "},
        {60000.0f / 1001, L"30", L"-vcodec mpeg4 ", L"-r 60000/2002 -vcodec mpeg4 "},
        {50.0f, L"30", L"", L"-r 50/2 "},
        {120.0f, L"30", L"", L"-r 120/4 "},
        {25.0f, L"30", L"-ab 128 ", L"-ab 128 "},
        {30.0f, L"30", L"-ab 128 ", L"-ab 128 "},
        {24000.0f / 1001, L"30", L"", L""},
        {60.0f, L"30", L"-r 15 ", L"-r 15 "},                     // the profile's own rate
        {60.0f, L"30", L"-target pal-vcd ", L"-target pal-vcd "}, // so is a target's
        {60.0f, nullptr, L"-ab 128 ", L"-ab 128 "},
        {-1.0f, L"30", L"-ab 128 ", L"-ab 128 "}, // no video
    };
    for (const Case& c : cases)
    {
        ConvertTask task;
        task.m_mediaInfo.frameRate = c.sourceRate;
        if (c.limit)
        {
            SubParameters limit;
            limit.m_group = L"fixed";
            limit.m_name = L"maxfps";
            limit.m_value = c.limit;
            task.m_setting.m_params.Add(limit);
        }
        CString arguments = c.arguments;
        EXPECT_EQ(CString(c.expected) != CString(c.arguments) ? 1 : 0, ApplyFrameRateLimit(arguments, task));
        EXPECT_EQ(CString(c.expected), arguments) << c.sourceRate;
    }
}

TEST(ConvertTaskTest, NamesOutputsAfterTheDisplayName)
{
    struct Case
    {
        const WCHAR* folder;
        const WCHAR* name;
        const WCHAR* expected;
    } cases[] = {{L"C:\\out", L"clip.avi", L"C:\\out\\clip."},
                 {L"C:\\out\\", L"my.clip.mp4", L"C:\\out\\my.clip."},
                 {L"C:\\out", L".hidden", L"C:\\out\\.hidden."},
                 {L"C:\\out", L"noext", L"C:\\out\\noext."}};
    for (const Case& c : cases)
        EXPECT_EQ(CString(c.expected), BuildOutputPath(c.folder, c.name));
}

TEST(ConvertTaskTest, PreparesSubtitles)
{
    ConvertTask task;
    task.PrepareSubtitle();
    EXPECT_EQ(kSubtitleBesideSource, task.m_job.subtitleMode);
    task.m_subtitleMode = kTaskSubtitleFile;
    task.m_subtitleFile = L"C:\\subs\\clip.srt";
    task.PrepareSubtitle();
    EXPECT_EQ(kSubtitleGivenFile, task.m_job.subtitleMode);
    EXPECT_EQ(CString(L"C:\\subs\\clip.srt"), CString(task.m_job.subtitleFile));
    task.m_subtitleMode = kTaskSubtitleKeep;
    task.m_job.subtitleMode = 0;
    task.PrepareSubtitle();
    EXPECT_EQ(0, task.m_job.subtitleMode);
}

// The estimate counts the streams the output will have for the source's duration: no video from
// an audio-only source or profile, no audio from a silent source, and no fixed overhead that
// would swamp a short clip. Each case gives the bits per second the output should carry.
TEST(ConvertTaskTest, EstimatesTheOutputSize)
{
    struct Case
    {
        const char* what;
        const WCHAR* vb;
        const WCHAR* target;
        const WCHAR* ab;
        const WCHAR* vn;
        bool hasVideo, hasAudio;
        double seconds;
        double bitsPerSecond;
    } cases[] = {
        {"a minute at 768 + 128 kbit/s", L"768", nullptr, L"128", nullptr, true, true, 60, 896000},
        {"a short clip", L"768", nullptr, L"128", nullptr, true, true, 2, 896000},
        {"an audio-only source to a video profile", L"1500", nullptr, L"128", nullptr, false, true, 3, 128000},
        {"a silent source", L"768", nullptr, L"128", nullptr, true, false, 10, 768000},
        {"an audio-only profile", L"768", nullptr, L"128", L"1", true, true, 60, 128000},
        {"a VCD", nullptr, L"pal-vcd", nullptr, nullptr, true, true, 10, 1150000 + 224000},
        {"a Super VCD", nullptr, L"ntsc-svcd", nullptr, nullptr, true, true, 10, 2040000 + 224000},
        {"a DVD with its own audio rate", nullptr, L"pal-dvd", L"192", nullptr, true, true, 10, 6000000 + 192000},
        {"no rates: the source's own", nullptr, nullptr, nullptr, nullptr, true, true, 10, 2000000 + 160000},
    };
    for (const Case& c : cases)
    {
        ConvertTask task = TaskOf(320, 240);
        task.m_mediaInfo.duration = c.seconds * 1000000.0;
        task.m_mediaInfo.hasVideo = c.hasVideo;
        task.m_mediaInfo.hasAudio = c.hasAudio;
        task.m_mediaInfo.videoBitRate = 2000000;
        task.m_mediaInfo.audioBitRate = 160000;
        if (c.vb)
            AddParam(task.m_setting, L"video", L"vb", c.vb);
        if (c.target)
            AddParam(task.m_setting, L"normal", L"target", c.target);
        if (c.ab)
            AddParam(task.m_setting, L"audio", L"ab", c.ab);
        if (c.vn)
            AddParam(task.m_setting, L"fixed", L"vn", c.vn);
        const double streams = c.bitsPerSecond * c.seconds / 8;
        const double estimate = double(task.EstimateOutputSize());
        // The streams' bytes and a few percent of container, never several times more.
        EXPECT_GE(estimate, streams) << c.what;
        EXPECT_LE(estimate, streams * 1.05 + 8192) << c.what;
    }

    // Three hours of 1080p without a rate in the profile or the source stay a plain positive count.
    ConvertTask large = TaskOf(1920, 1080);
    large.m_mediaInfo.hasVideo = 1;
    large.m_mediaInfo.duration = 10800 * 1000000.0;
    large.m_mediaInfo.frameRate = 25;
    const INT64 bytes = large.EstimateOutputSize();
    EXPECT_GT(bytes, INT64(1920) * 1080 * 25 * 10800 / 8 / 8);
    EXPECT_LT(bytes, INT64(1920) * 1080 * 25 * 10800 / 8);
}

TEST(ConvertTaskTest, BuildsJobsAndRefusesTextsTheEngineCannotTake)
{
    const std::string dir = rwtest::ScratchDir("ConvertTaskJobs");
    ConvertTask task = TaskOf(1280, 720);
    task.m_displayName = L"clip.mp4";
    task.m_setting.m_extension = L"avi";
    AddParam(task.m_setting, L"video", L"s", L"320x240");
    ASSERT_EQ(0, task.BuildJob(WinPath(dir)));
    EXPECT_STREQ(" -s 320x180 -padtop 30 -padbottom 30  ", task.m_job.argumentText);
    std::string output = rwtest::ToWin32Path(dir) + "\\clip.avi";
    EXPECT_EQ(output, std::string(task.m_job.outputPath));
    ASSERT_EQ(0, task.BuildJob(WinPath(dir)));
    EXPECT_EQ(rwtest::ToWin32Path(dir) + "\\clip (1).avi", std::string(task.m_job.outputPath));

    ConvertTask copy = task; // the shell's copy owns its profile
    copy.m_setting.SetParamValue(L"s", L"640x480");
    EXPECT_EQ(CString(L"320x240"), task.m_setting.m_params[0].m_value);

    // A text of 1024 bytes would be cut in the middle of an option.
    AddParam(task.m_setting, L"video", L"vf", CString(L'x', 1000));
    const std::string before = task.m_job.argumentText;
    EXPECT_EQ(-1, task.BuildJob(WinPath(dir)));
    EXPECT_EQ(before, std::string(task.m_job.argumentText));
    EXPECT_GE(task.m_log.Find(L"argument text"), 0);

    // Only a plain extension names a file in the output folder.
    const std::string outside = rwtest::ScratchDir("ConvertTaskOutside");
    const CString inner = WinPath(outside + "/a/b");
    ::CreateDirectoryW(WinPath(outside + "/a"), nullptr);
    ::CreateDirectoryW(inner, nullptr);
    for (const WCHAR* extension : {L"\\..\\..\\x.avi", L"avi:stream", L"", L"a/b", L"mp4 ", L"mp4."})
    {
        ConvertTask hostile = TaskOf(320, 240);
        hostile.m_displayName = L"clip.mp4";
        hostile.m_setting.m_extension = extension;
        EXPECT_EQ(-1, hostile.BuildJob(inner)) << extension;
        EXPECT_STREQ("", hostile.m_job.outputPath);
        EXPECT_GE(hostile.m_log.Find(L"extension"), 0);
    }
    EXPECT_EQ(0, ::remove((outside + "/a/b").c_str())); // still empty: nothing was written
    EXPECT_NE(0, ::access((outside + "/x.avi").c_str(), F_OK));
    EXPECT_TRUE(IsPlainExtension(L"rmvb"));
    EXPECT_TRUE(IsPlainExtension(L"3g2"));

    char buffer[8] = {};
    EXPECT_TRUE(ToAnsiText(L"1234567", buffer, 8));
    EXPECT_STREQ("1234567", buffer);
    EXPECT_FALSE(ToAnsiText(L"12345678", buffer, 8));
    EXPECT_FALSE(ToAnsiText(L"\u4E2D.avi", buffer, 8)); // no form in the test's code page
    EXPECT_TRUE(ToAnsiText(L"", buffer, 8));
}

TEST(ConvertTaskTest, HandsUnicodeNamesOnByTheirShortNames)
{
    const std::string dir =
        rwtest::ScratchDir("ConvertTaskUnicode") + "/\xD0\x92\xD0\xB8\xD0\xB4\xD0\xB5\xD0\xBE. v1 \xE6\x98\xA0";
    ASSERT_EQ(0, ::mkdir(dir.c_str(), 0755));
    const std::string name = "\xD0\x9A\xD0\xBB\xD0\xB8\xD0\xBF \xCE\xB1 \xE5\x8B\x95";
    ConvertTask task = TaskOf(320, 240);
    task.m_displayName = coretest::Utf8(name + ".mp4");
    task.m_setting.m_extension = L"avi";
    // The output is created under its own name, and the job's path names that very file.
    ASSERT_EQ(0, task.BuildJob(WinPath(dir)));
    EXPECT_EQ(dir + "/" + name + ".avi", coretest::UnixOf(task.m_job.outputPath));
    EXPECT_EQ("", coretest::ReadFile(dir + "/" + name + ".avi"));
    ASSERT_EQ(0, task.BuildJob(WinPath(dir)));
    EXPECT_EQ(dir + "/" + name + " (1).avi", coretest::UnixOf(task.m_job.outputPath));

    char path[kJobPathCapacity] = {};
    ASSERT_TRUE(ToEnginePath(WinPath(dir + "/" + name + ".avi"), path, kJobPathCapacity));
    EXPECT_EQ(dir + "/" + name + ".avi", coretest::UnixOf(path));
    ASSERT_TRUE(ToEnginePath(L"C:\\plain.avi", path, kJobPathCapacity));
    EXPECT_STREQ("C:\\plain.avi", path);
    // A file that does not exist has no short name.
    EXPECT_FALSE(ToEnginePath(WinPath(dir + "/" + name + ".mp4"), path, kJobPathCapacity));
}
