#include "RwTest.h"

#include "TestMedia.h"
#include "tests/app/core/CoreTestUtil.h"
#include "app/core/Profiles.h"
#include "app/core/VideoManager.h"
#include "app/shell/PreviewSession.h"
#include "engine/Engine.h"

#include <sys/stat.h>

using coretest::WinPath;

namespace
{
const int kPollMs = 20;
const int kPollLimit = 3000;

bool UnixFileExists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageW(&msg);
}

class PreviewSessionTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        m_dir = rwtest::ScratchDir(testing::UnitTest::GetInstance()->current_test_info()->name());
        CategoryArray categories;
        LoadProfiles(categories, WinPath(rwtest::ProgramDir() + "/profiles"));
        ASSERT_TRUE(FindProfileByName(categories, L"DivX Movie", m_profile));
        m_host = ::CreateWindowW(L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_TRUE(m_host);
    }
    void TearDown() override
    {
        m_session.Stop();
        CVideoManager::RemoveAll();
        ::DestroyWindow(m_host);
    }
    int Add(const char* media, const char* name)
    {
        return CVideoManager::AddTask(coretest::Utf8(name), WinPath(rwtest::Media(media)), m_profile);
    }

    std::string m_dir;
    ConvertSetting m_profile;
    HWND m_host = nullptr;
    PreviewSettings m_settings;
    CPreviewSession m_session{&m_settings};
};
} // namespace

// A volume set while nothing plays is kept; the player takes it (0..128) when it starts.
TEST_F(PreviewSessionTest, VolumeIsKeptWithoutAPreview)
{
    m_session.SetVolume(40);
    EXPECT_EQ(40, m_settings.volume);
    m_session.SetVolume(250);
    EXPECT_EQ(100, m_settings.volume);
    m_session.SetVolume(50);
    m_session.SetSilent(false);
    const int id = Add(rwtest::kClipMp4, "a.mp4");
    ASSERT_GT(id, 0);
    ASSERT_TRUE(m_session.Start(id, m_host));
    EXPECT_EQ(64, g_previewVolume.load());
    EXPECT_EQ(0, g_previewMute.load());
    EXPECT_EQ(CPreviewSession::kPlaying, m_session.GetState());
}

// A volume from the settings file outside 0 to 100 percent reaches the player held to its range.
TEST_F(PreviewSessionTest, VolumeFromTheSettingsIsHeldToItsRange)
{
    const int id = Add(rwtest::kClipMp4, "a.mp4");
    ASSERT_GT(id, 0);
    const struct
    {
        int setting;
        int engine;
    } cases[] = {{1000, CPreviewSession::kEngineVolumeMax}, {-40, 0}, {25, 32}};
    for (const auto& c : cases)
    {
        m_settings.volume = c.setting;
        ASSERT_TRUE(m_session.Start(id, m_host));
        EXPECT_EQ(c.engine, g_previewVolume.load()) << c.setting;
        m_session.Stop();
    }
}

// The session follows the task it plays, not another; a removed task is never touched: no
// snapshot, no position (the panel then stops).
TEST_F(PreviewSessionTest, KeepsThePlayingTaskById)
{
    const int first = Add(rwtest::kClipMp4, "first.mp4");
    const int second = Add(rwtest::kClipAvi, "second.avi");
    ASSERT_TRUE(m_session.Start(first, m_host));
    EXPECT_EQ(first, m_session.PlayingTaskId());
    EXPECT_EQ(static_cast<int>(rwtest::kClipSeconds), m_session.PlayingSeconds());
    EXPECT_FALSE(m_session.Seek(m_session.PlayingSeconds() + 1));
    EXPECT_TRUE(m_session.Seek(1));
    ASSERT_EQ(1, CVideoManager::RemoveTask(first));
    EXPECT_EQ(nullptr, m_session.PlayingTask());
    EXPECT_FALSE(m_session.Snapshot());
    EXPECT_EQ(-1, m_session.PollPosition());
    m_session.Stop();
    EXPECT_EQ(CPreviewSession::kStopped, m_session.GetState());
    EXPECT_FALSE(m_session.Start(first, m_host));
    EXPECT_EQ(0, m_session.PreviewId());
    ASSERT_TRUE(m_session.Start(second, m_host));
}

// A snapshot into a folder that does not exist yet creates it (with its parents) and writes
// "<name> (1).bmp" of the playing task there.
TEST_F(PreviewSessionTest, SnapshotCreatesTheFolder)
{
    const int played = Add(rwtest::kClipMp4, "played.mp4");
    Add(rwtest::kClipAvi, "other.avi");
    const std::string folder = m_dir + "/new/snaps";
    m_settings.snapshotPath = WinPath(folder);
    ASSERT_TRUE(m_session.Start(played, m_host));
    ASSERT_TRUE(m_session.Snapshot());
    const std::string expected = folder + "/played.mp4 (1).bmp";
    for (int i = 0; i < kPollLimit && !UnixFileExists(expected); ++i)
    {
        Pump();
        ::Sleep(kPollMs);
    }
    m_session.Stop();
    ASSERT_TRUE(UnixFileExists(expected));
    const std::string bmp = coretest::ReadFile(expected);
    ASSERT_GT(bmp.size(), 54u);
    EXPECT_EQ('B', bmp[0]);
    EXPECT_EQ('M', bmp[1]);
}

// Folders: made with their parents; a file in the way, or an empty path, fails.
TEST_F(PreviewSessionTest, EnsureFolder)
{
    EXPECT_TRUE(CPreviewSession::EnsureFolder(WinPath(m_dir + "/a/b/c")));
    struct stat st;
    ASSERT_EQ(0, ::stat((m_dir + "/a/b/c").c_str(), &st));
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_TRUE(CPreviewSession::EnsureFolder(WinPath(m_dir + "/a")));
    coretest::WriteFile(m_dir + "/file", "x");
    EXPECT_FALSE(CPreviewSession::EnsureFolder(WinPath(m_dir + "/file")));
    EXPECT_FALSE(CPreviewSession::EnsureFolder(WinPath(m_dir + "/file/below")));
    EXPECT_FALSE(CPreviewSession::EnsureFolder(CString()));
}

// Without a player every command returns the session to stopped.
TEST_F(PreviewSessionTest, CommandsWithoutAPlayerStop)
{
    EXPECT_FALSE(m_session.Pause());
    EXPECT_FALSE(m_session.Resume());
    EXPECT_FALSE(m_session.Seek(0));
    EXPECT_EQ(-1, m_session.PollPosition());
    EXPECT_FALSE(m_session.Snapshot());
    EXPECT_EQ(CPreviewSession::kStopped, m_session.GetState());
}
