#define NOMINMAX
#include "RwTest.h"

#include "CoreTestUtil.h"
#include "TestMedia.h"
#include "app/core/Profiles.h"
#include "app/core/VideoManager.h"
#include "engine/Encoder.h"
#include "engine/Engine.h"
#include "engine/converter/TranscodePipeline.h"

#include <sys/stat.h>

using coretest::WinPath;

namespace
{
const int kPollMs = 20;
const int kPollLimit = 3000; // a minute; the clips convert in well under a second each

bool UnixFileExists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

long long UnixFileSize(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? (long long)st.st_size : -1;
}

class VideoManagerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = rwtest::ScratchDir(testing::UnitTest::GetInstance()->current_test_info()->name());
        CategoryArray categories;
        LoadProfiles(categories, WinPath(rwtest::ProgramDir() + "/profiles"));
        ASSERT_TRUE(FindProfileByName(categories, L"DivX Movie", m_profile));
        m_profile.SetParamValue(L"s", L"160x120");
        g_maxTasks = 4;
        g_deleteUncompleted = true;
    }
    void TearDown() override { CVideoManager::RemoveAll(); }

    int Add(const char* media, const char* name = nullptr)
    {
        const CString path = WinPath(rwtest::Media(media));
        return CVideoManager::AddTask(coretest::Utf8(name ? name : media), path, m_profile);
    }
    ConvertTask* Task(int id)
    {
        ConvertTask* task = nullptr;
        CVideoManager::FindTask(id, &task);
        return task;
    }
    // Polls as the task list's timer does until no task runs; the most tasks seen running at once.
    int PollUntilIdle()
    {
        int most = CVideoManager::CountRunning();
        for (int i = 0; i < kPollLimit && CVideoManager::CountRunning() > 0; ++i)
        {
            ::Sleep(kPollMs);
            CVideoManager::PollProgress();
            most = (std::max)(most, CVideoManager::CountRunning());
        }
        return most;
    }
    // Waits until the task's job reports an end without letting the task manager see it.
    float WaitForJobEnd(int id)
    {
        CEncoder* job = EngineFindJob(Task(id)->m_jobId);
        for (int i = 0; job && i < kPollLimit && job->GetProgress() >= 0 && job->GetProgress() <= 100; ++i)
            ::Sleep(kPollMs);
        return job ? job->GetProgress() : -1.0f;
    }
    CString Folder() const { return WinPath(m_dir); }

    std::string m_dir;
    ConvertSetting m_profile;
};
} // namespace

TEST_F(VideoManagerTest, AddsProbedFilesWithTheirOwnProfile)
{
    const int first = Add("clip_h264_aac.mp4");
    const int second = Add("audio.mp3");
    ASSERT_GT(first, 1000);
    EXPECT_EQ(first + 1, second);
    ConvertTask* task = Task(first);
    ASSERT_TRUE(task);
    EXPECT_EQ(kTaskIdle, task->m_state);
    EXPECT_EQ(-1, task->m_jobId);
    EXPECT_EQ(rwtest::kClipWidth, task->m_mediaInfo.width);
    EXPECT_EQ(CString(L"00:00:03"), task->m_durationText);
    EXPECT_EQ(rwtest::ToWin32Path(rwtest::Media("clip_h264_aac.mp4")), std::string(task->m_job.sourcePath));
    EXPECT_EQ(0, task->m_job.outputPath[0]);
    task->m_setting.SetParamValue(L"vb", L"600");
    EXPECT_NE(CString(L"600"), m_profile.m_params[3].m_value);
    EXPECT_GT(task->EstimateOutputSize(), 204800);

    // Each kind of file that is no media file gets a reason of its own.
    coretest::WriteFile(m_dir + "/notes.txt", "A few lines\r\nof\ttext, \xC3\xA9t\xC3\xA9.\r\n");
    coretest::WriteFile(m_dir + "/wide.txt", std::string("\xFF\xFEh\0i\0", 6));
    const struct
    {
        std::string path;
        const WCHAR* reason;
    } bad[] = {{rwtest::Media("garbage.avi"), L"err_media_probe"}, {rwtest::Media("empty.mp4"), L"err_add_empty"},
               {rwtest::Media("missing.avi"), L"err_file_missing"}, {m_dir + "/notes.txt", L"err_add_text"},
               {m_dir + "/wide.txt", L"err_add_text"},               {m_dir, L"err_add_folder"}};
    for (const auto& b : bad)
    {
        EXPECT_EQ(0, CVideoManager::AddTask(L"bad", WinPath(b.path), m_profile)) << b.path;
        EXPECT_EQ(CString(b.reason), CVideoManager::LastAddError()) << b.path;
    }
    // A name the system code page cannot spell reaches the engine by its short name; only a path
    // that has none is refused.
    const std::string unicodeCopy = m_dir + "/\xE4\xB8\xAD.mp4";
    coretest::WriteFile(unicodeCopy, coretest::ReadFile(rwtest::Media("clip_h264_aac.mp4")));
    const int unicode = CVideoManager::AddTask(L"x.mp4", WinPath(unicodeCopy), m_profile);
    ASSERT_GT(unicode, 0);
    EXPECT_EQ(rwtest::kClipWidth, Task(unicode)->m_mediaInfo.width);
    EXPECT_EQ(unicodeCopy, coretest::UnixOf(Task(unicode)->m_job.sourcePath));
    EXPECT_EQ(0, CVideoManager::AddTask(L"x.mp4", WinPath(m_dir + "/\xE4\xB8\xAD\xE4\xB8\xAD.mp4"), m_profile));
    EXPECT_EQ(CString(L"err_path_ansi"), CVideoManager::LastAddError());
    EXPECT_EQ(3u, g_tasks.size());

    EXPECT_EQ(1, CVideoManager::AppendLog(-1, L"line\n")); // jobless tasks have id -1
    EXPECT_EQ(0, CVideoManager::AppendLog(5000, L"nobody"));
    EXPECT_EQ(1, CVideoManager::RemoveTask(first));
    EXPECT_EQ(0, CVideoManager::RemoveTask(first));
    EXPECT_EQ(-1, CVideoManager::IndexOfTask(first));
}

TEST_F(VideoManagerTest, RunsAtMostTheLimitAndStartsTheNextWhenOneEnds)
{
    g_maxTasks = 2;
    std::vector<int> ids;
    for (int i = 0; i < 5; ++i)
        ids.push_back(Add("clip_h264_aac.mp4", ("clip" + std::to_string(i) + ".mp4").c_str()));
    EXPECT_EQ(0, CVideoManager::StartTasks(Folder(), ids));
    EXPECT_EQ(2, CVideoManager::CountRunning());
    EXPECT_EQ(kTaskRunning, Task(ids[0])->m_state);
    EXPECT_EQ(kTaskRunning, Task(ids[1])->m_state);
    EXPECT_EQ(kTaskQueued, Task(ids[2])->m_state);
    EXPECT_EQ(-1, CVideoManager::Schedule(0)); // already at the limit
    EXPECT_EQ(-1, CVideoManager::Schedule(5)); // past the end
    EXPECT_FALSE(CVideoManager::AllFinished());

    EXPECT_EQ(2, PollUntilIdle());
    for (size_t i = 0; i < ids.size(); ++i)
    {
        ConvertTask* task = Task(ids[i]);
        EXPECT_EQ(kTaskDone, task->m_state) << i << ": " << task->m_log;
        EXPECT_GT(task->m_progress, 100.0f);
        EXPECT_TRUE(UnixFileExists(m_dir + "/clip" + std::to_string(i) + ".avi")) << i;
    }
    EXPECT_TRUE(CVideoManager::AllFinished());
    EXPECT_EQ(-1, CVideoManager::StartTasks(Folder(), {}));
}

TEST_F(VideoManagerTest, SchedulesFromThePositionAndWrapsOnce)
{
    g_maxTasks = 5;
    std::vector<int> ids;
    for (int i = 0; i < 5; ++i)
    {
        ids.push_back(Add("clip_h264_aac.mp4", ("order" + std::to_string(i) + ".mp4").c_str()));
        Task(ids.back())->m_outputFolder = Folder();
        Task(ids.back())->m_state = kTaskQueued;
    }
    EXPECT_EQ(5, CVideoManager::Schedule(2));
    // Jobs are numbered in creation order: positions 2, 3, 4, then 0 and 1.
    const int order[] = {2, 3, 4, 0, 1};
    for (int k = 1; k < 5; ++k)
        EXPECT_LT(Task(ids[order[k - 1]])->m_jobId, Task(ids[order[k]])->m_jobId) << k;

    // Lowering the limit pauses the tasks beyond it.
    g_maxTasks = 2;
    EXPECT_FALSE(CVideoManager::EnforceMaxTasks());
    EXPECT_EQ(2, CVideoManager::CountRunning());
    EXPECT_EQ(kTaskPaused, Task(ids[4])->m_state);

    EXPECT_EQ(1, CVideoManager::ReorderTasks({ids[4], ids[3], ids[2], ids[1], ids[0]}));
    EXPECT_EQ(0, CVideoManager::IndexOfTask(ids[4]));
    EXPECT_EQ(0, CVideoManager::ReorderTasks({ids[0]}));
    EXPECT_EQ(0, CVideoManager::IndexOfTask(ids[4]));
}

TEST_F(VideoManagerTest, PauseResumesTheSameJobAndStopDeletesThePartialFile)
{
    m_profile.SetParamValue(L"s", L"1280x720"); // slow enough to be caught running
    const int id = Add("long25s.mp4");
    ASSERT_EQ(0, CVideoManager::StartTasks(Folder(), {id}));
    ConvertTask* task = Task(id);
    ASSERT_EQ(kTaskRunning, task->m_state) << task->m_log;
    const int job = task->m_jobId;
    const std::string output = coretest::UnixOf(task->m_job.outputPath);
    EXPECT_EQ(m_dir + "/long25s.avi", output);

    EXPECT_EQ(0, CVideoManager::PauseTasks({id}));
    EXPECT_EQ(kTaskPaused, task->m_state);
    EXPECT_EQ(0, CVideoManager::StartTasks(WinPath(m_dir + "/elsewhere"), {id}));
    EXPECT_EQ(kTaskRunning, task->m_state);
    EXPECT_EQ(job, task->m_jobId);
    EXPECT_EQ(Folder(), task->m_outputFolder);

    EXPECT_EQ(0, CVideoManager::StopTasks({id}));
    EXPECT_EQ(kTaskStopped, task->m_state);
    EXPECT_EQ(nullptr, EngineFindJob(job));
    EXPECT_FALSE(UnixFileExists(output));

    // Started again: a new job; the stopped job's name is free again. Its partial output stays
    // when the setting says so (a name still empty is only the reservation, which goes).
    g_deleteUncompleted = false;
    ASSERT_EQ(0, CVideoManager::StartTasks(Folder(), {id}));
    EXPECT_NE(job, task->m_jobId);
    EXPECT_EQ(output, coretest::UnixOf(task->m_job.outputPath));
    for (int i = 0; i < kPollLimit && UnixFileSize(output) <= 0; ++i)
        ::Sleep(kPollMs);
    EXPECT_EQ(0, CVideoManager::StopTasks({id}));
    EXPECT_TRUE(UnixFileExists(output));

    // Removing a running task deletes its partial output when the setting says so.
    g_deleteUncompleted = true;
    ASSERT_EQ(0, CVideoManager::StartTasks(Folder(), {id}));
    const std::string second = coretest::UnixOf(task->m_job.outputPath);
    EXPECT_EQ(m_dir + "/long25s (1).avi", second);
    EXPECT_EQ(1, CVideoManager::RemoveTask(id));
    EXPECT_FALSE(UnixFileExists(second));
    EXPECT_TRUE(UnixFileExists(output));
}

TEST_F(VideoManagerTest, OnlyProgressAboveOneHundredIsDone)
{
    const int id = Add("clip_h264_aac.mp4");
    ASSERT_EQ(0, CVideoManager::StartTasks(Folder(), {id}));
    ASSERT_GT(WaitForJobEnd(id), 100.0f) << Task(id)->m_log;
    CEncoder* job = EngineFindJob(Task(id)->m_jobId);
    job->m_progress = 100.0f;
    CVideoManager::PollProgress();
    EXPECT_EQ(kTaskRunning, Task(id)->m_state);
    job->m_progress = 100.01f;
    CVideoManager::PollProgress();
    EXPECT_EQ(kTaskDone, Task(id)->m_state);

    // Queued again, the finished job is ended first and the output gets a numbered name.
    const int oldJob = Task(id)->m_jobId;
    ASSERT_EQ(0, CVideoManager::StartTasks(Folder(), {id}));
    EXPECT_EQ(nullptr, EngineFindJob(oldJob));
    EXPECT_EQ(m_dir + "/clip_h264_aac (1).avi", coretest::UnixOf(Task(id)->m_job.outputPath));
    PollUntilIdle();
    EXPECT_EQ(kTaskDone, Task(id)->m_state);
}

TEST_F(VideoManagerTest, FailsTasksWhoseSourceVanishedOrJobFails)
{
    const std::string copy = m_dir + "/vanishing.mp4";
    coretest::WriteFile(copy, coretest::ReadFile(rwtest::Media("clip_h264_aac.mp4")));
    const int gone = CVideoManager::AddTask(L"vanishing.mp4", WinPath(copy), m_profile);
    const int broken = Add("clip_h264_aac.mp4", "broken.mp4");
    const int fine = Add("clip_h264_aac.mp4", "fine.mp4");
    ASSERT_GT(gone, 0);
    ::remove(copy.c_str());
    Task(broken)->m_setting.SetParamValue(L"vcodec", L"no_such_codec");
    ASSERT_EQ(0, CVideoManager::StartTasks(Folder(), {gone, broken, fine}));
    EXPECT_EQ(kTaskFailed, Task(gone)->m_state);
    EXPECT_GE(Task(gone)->m_log.Find(L"no longer exists"), 0);
    const std::string reserved = coretest::UnixOf(Task(broken)->m_job.outputPath);
    EXPECT_EQ(m_dir + "/broken.avi", reserved);
    PollUntilIdle();
    EXPECT_EQ(kTaskFailed, Task(broken)->m_state);
    EXPECT_FALSE(UnixFileExists(reserved)); // the empty reserved file does not stay behind
    EXPECT_EQ(kTaskDone, Task(fine)->m_state) << Task(fine)->m_log;
    EXPECT_FALSE(CVideoManager::AllFinished());
}

// A stop pressed after the job ended done, before the task list's poll saw it, finds the task done
// and keeps its file.
TEST_F(VideoManagerTest, StopAfterTheJobEndedDoneKeepsTheFile)
{
    const int id = Add("clip_h264_aac.mp4");
    ASSERT_EQ(0, CVideoManager::StartTasks(Folder(), {id}));
    ConvertTask* task = Task(id);
    const std::string output = coretest::UnixOf(task->m_job.outputPath);
    ASSERT_GT(WaitForJobEnd(id), 100.0f) << task->m_log;
    ASSERT_EQ(kTaskRunning, task->m_state); // not polled yet
    EXPECT_EQ(0, CVideoManager::StopTasks({id}));
    EXPECT_EQ(kTaskDone, task->m_state);
    EXPECT_GT(task->m_progress, 100.0f);
    EXPECT_GT(UnixFileSize(output), 0);
    EXPECT_EQ(kEncoderDone, (EncoderState)EngineFindJob(task->m_jobId)->m_state);
}

// A job whose worker thread ended without a result (as one killed by a fault would) fails its
// task with a reason, and its slot goes to the next task.
TEST_F(VideoManagerTest, JobWhoseThreadDiedFailsItsTaskAndFreesTheSlot)
{
    g_maxTasks = 1;
    const int first = Add("clip_h264_aac.mp4", "died1.mp4");
    const int second = Add("clip_h264_aac.mp4", "died2.mp4");
    g_transcodeFaultSeam = kFaultJobThreadExit;
    ASSERT_EQ(0, CVideoManager::StartTasks(Folder(), {first, second}));
    EXPECT_EQ(kTaskQueued, Task(second)->m_state);
    PollUntilIdle();
    g_transcodeFaultSeam = kFaultNowhere;
    for (int id : {first, second})
    {
        EXPECT_EQ(kTaskFailed, Task(id)->m_state);
        EXPECT_GE(Task(id)->m_log.Find(L"ended without a result"), 0) << Task(id)->m_log;
        EXPECT_GT(Task(id)->m_jobId, 0); // the second one ran in the slot the first freed
    }
    EXPECT_EQ(0, CVideoManager::CountRunning());
}

TEST_F(VideoManagerTest, SplitOutputsNeverOverwriteAndLeaveNoPlaceholder)
{
    SubParameters limit;
    limit.m_group = L"normal";
    limit.m_name = limit.m_key = L"t";
    limit.m_type = L"text";
    limit.m_value = L"1";
    m_profile.m_params.Add(limit);
    const int id = Add("clip_h264_aac.mp4");
    ASSERT_EQ(0, CVideoManager::StartTasks(Folder(), {id}));
    PollUntilIdle();
    ASSERT_EQ(kTaskDone, Task(id)->m_state) << Task(id)->m_log;
    const std::string first = m_dir + "/clip_h264_aac - 01.avi", second = m_dir + "/clip_h264_aac - 02.avi";
    ASSERT_TRUE(UnixFileExists(first));
    ASSERT_TRUE(UnixFileExists(second));
    EXPECT_FALSE(UnixFileExists(m_dir + "/clip_h264_aac.avi"));
    const std::string firstBytes = coretest::ReadFile(first);

    // A second run takes a fresh name for its segments and leaves the first run's alone.
    coretest::WriteFile(first, "the user's own file now");
    ASSERT_EQ(0, CVideoManager::StartTasks(Folder(), {id}));
    EXPECT_EQ(m_dir + "/clip_h264_aac (1).avi", coretest::UnixOf(Task(id)->m_job.outputPath));
    PollUntilIdle();
    ASSERT_EQ(kTaskDone, Task(id)->m_state) << Task(id)->m_log;
    EXPECT_EQ("the user's own file now", coretest::ReadFile(first));
    EXPECT_FALSE(firstBytes.empty());
    EXPECT_TRUE(UnixFileExists(m_dir + "/clip_h264_aac (1) - 02.avi"));
    EXPECT_FALSE(UnixFileExists(m_dir + "/clip_h264_aac (1).avi"));

    // Removing a running split task deletes every segment it wrote, the cut one too.
    m_profile.SetParamValue(L"s", L"1280x720");
    const int running = Add("long25s.mp4");
    ASSERT_EQ(0, CVideoManager::StartTasks(Folder(), {running}));
    ASSERT_EQ(kTaskRunning, Task(running)->m_state) << Task(running)->m_log;
    const std::string segment2 = m_dir + "/long25s - 02.avi";
    for (int i = 0; i < kPollLimit && !UnixFileExists(segment2); ++i)
        ::Sleep(kPollMs);
    ASSERT_TRUE(UnixFileExists(segment2));
    EXPECT_EQ(1, CVideoManager::RemoveTask(running));
    for (const char* name : {"/long25s.avi", "/long25s - 01.avi", "/long25s - 02.avi", "/long25s - 03.avi"})
        EXPECT_FALSE(UnixFileExists(m_dir + name)) << name;
}

TEST_F(VideoManagerTest, MakesThumbnailsAndCleansThemUp)
{
    const int id = Add("clip_h264_aac.mp4");
    const CString thumbnail = CVideoManager::GetThumbnail(id);
    ASSERT_FALSE(thumbnail.IsEmpty());
    EXPECT_EQ(thumbnail, CVideoManager::GetThumbnail(id));
    EXPECT_GE(thumbnail.Find(L"sqv"), 0);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(thumbnail));
    EXPECT_EQ(CString(), CVideoManager::GetThumbnail(id + 100));
    EXPECT_EQ(1, CVideoManager::DeleteTempFiles());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(thumbnail));
}

TEST_F(VideoManagerTest, SnapshotsGoThroughTheRunningPreview)
{
    const int id = Add("clip_h264_aac.mp4", "snap.mp4");
    EXPECT_FALSE(CVideoManager::TakeSnapshot(Folder(), id)); // no preview runs
    EXPECT_EQ(1, Task(id)->m_snapshotCount);
    EXPECT_FALSE(CVideoManager::TakeSnapshot(Folder(), id + 1));

    HWND host = ::CreateWindowW(L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_TRUE(host);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1); // no sound device under test
    ASSERT_EQ(kPreviewJobId, EngineStartPreview(Task(id)->m_job.sourcePath, host));
    EXPECT_TRUE(CVideoManager::TakeSnapshot(Folder() + L"\\", id));
    const std::string snapshot = m_dir + "/snap.mp4 (2).bmp";
    for (int i = 0; i < kPollLimit && !UnixFileExists(snapshot); ++i)
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
        ::Sleep(kPollMs);
    }
    EngineStopPreview();
    ::DestroyWindow(host);
    EXPECT_TRUE(UnixFileExists(snapshot));
}
