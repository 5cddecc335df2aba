// The preview panel on its own template: plays the shown task's source into its picture area,
// pauses, follows another selection without losing its own task, keeps the volume, mutes, and
// writes snapshots of the playing task.
#include "RwTest.h"
#include "WideText.h"

#include "DibCanvas.h"
#include "TestMedia.h"
#include "tests/app/core/CoreTestUtil.h"
#include "tests/platform/mfc/MfcTestApp.h"
#include "app/core/LangMgr.h"
#include "app/core/VideoManager.h"
#include "app/shell/PlayerWnd.h"
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

class PlayerWndTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        TestApp();
        LangMgr::LoadLanguageFile(WinPath(rwtest::ProgramDir() + "/lang/English.xml"));
        m_dir = rwtest::ScratchDir(testing::UnitTest::GetInstance()->current_test_info()->name());
        CategoryArray categories;
        LoadProfiles(categories, WinPath(rwtest::ProgramDir() + "/profiles"));
        ASSERT_TRUE(FindProfileByName(categories, L"DivX Movie", m_profile));
        ASSERT_TRUE(m_frame.CreateEx(0, AfxRegisterWndClass(0), L"frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400,
                                     400, nullptr, nullptr));
        ASSERT_TRUE(m_panel.Create(&m_frame));
        ::MoveWindow(m_panel.GetSafeHwnd(), 0, 0, 320, 300, TRUE);
    }
    void TearDown() override
    {
        m_panel.DestroyWindow();
        m_frame.DestroyWindow();
        CVideoManager::RemoveAll();
        TestApp().m_messageBoxes.clear();
    }
    int Add(const char* media, const char* name)
    {
        return CVideoManager::AddTask(coretest::Utf8(name), WinPath(rwtest::Media(media)), m_profile);
    }
    HWND Item(int id)
    {
        return ::GetDlgItem(m_panel.GetSafeHwnd(), id);
    }
    void Click(int id)
    {
        ::SendMessageW(m_panel.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(Item(id)));
    }
    void Pump()
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
    }
    // The picture area's pixels as they are on the screen now.
    void Capture(DibCanvas& canvas)
    {
        HWND area = m_panel.PictureArea().GetSafeHwnd();
        HDC dc = ::GetDC(area);
        ::BitBlt(canvas.dc(), 0, 0, canvas.width(), canvas.height(), dc, 0, 0, SRCCOPY);
        ::ReleaseDC(area, dc);
    }

    std::string m_dir;
    ConvertSetting m_profile;
    CWnd m_frame;
    PreviewSettings m_settings;
    CPlayerWnd m_panel{&m_settings};
};
} // namespace

// Nothing shown: play, stop and snapshot disabled; the sound button and the volume stay usable,
// and a volume chosen without a preview is kept.
TEST_F(PlayerWndTest, IdlePanelKeepsTheVolume)
{
    EXPECT_FALSE(::IsWindowEnabled(Item(CPlayerWnd::kPlayId)));
    EXPECT_FALSE(::IsWindowEnabled(Item(CPlayerWnd::kStopId)));
    EXPECT_FALSE(::IsWindowEnabled(Item(CPlayerWnd::kSnapshotId)));
    EXPECT_FALSE(::IsWindowEnabled(Item(CPlayerWnd::kPositionId)));
    EXPECT_TRUE(::IsWindowEnabled(Item(CPlayerWnd::kSoundId)));
    WCHAR text[64] = {};
    ::GetDlgItemTextW(m_panel.GetSafeHwnd(), CPlayerWnd::kTimeId, text, 64);
    EXPECT_EQ("00:00:00 / 00:00:00", rwtest::Utf8(text));

    const int id = Add(rwtest::kClipMp4, "a.mp4");
    m_panel.ShowTask(id);
    HWND volume = Item(CPlayerWnd::kVolumeId);
    ::SendMessageW(volume, TBM_SETPOS, TRUE, 30);
    ::SendMessageW(m_panel.GetSafeHwnd(), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(volume));
    EXPECT_EQ(30, m_settings.volume);

    EXPECT_TRUE(m_settings.silent);
    Click(CPlayerWnd::kSoundId);
    EXPECT_FALSE(m_settings.silent);
}

// Play shows the source in the picture area (its pixels change), pause and resume, another
// selection leaves the preview on its own task, a snapshot into a missing folder creates it and
// writes "<name> (1).bmp" of the playing task; showing nothing stops.
TEST_F(PlayerWndTest, PlaysPausesAndSnapshotsThePlayingTask)
{
    const int played = Add(rwtest::kClipMp4, "played.mp4");
    const int other = Add(rwtest::kClipAvi, "other.avi");
    m_settings.snapshotPath = WinPath(m_dir + "/shots/new");
    m_panel.ShowTask(played);
    ASSERT_TRUE(::IsWindowEnabled(Item(CPlayerWnd::kPlayId)));
    WCHAR text[64] = {};
    ::GetDlgItemTextW(m_panel.GetSafeHwnd(), CPlayerWnd::kTimeId, text, 64);
    EXPECT_EQ("00:00:00 / 00:00:03", rwtest::Utf8(text));

    const CRect area = [&] {
        CRect rc;
        ::GetClientRect(m_panel.PictureArea().GetSafeHwnd(), &rc);
        return rc;
    }();
    ASSERT_GT(area.Width(), 0);
    DibCanvas before(area.Width(), area.Height());
    Capture(before);
    Click(CPlayerWnd::kPlayId);
    ASSERT_EQ(CPreviewSession::kPlaying, m_panel.Session().GetState());
    EXPECT_TRUE(::IsWindowEnabled(Item(CPlayerWnd::kStopId)));
    DibCanvas now(area.Width(), area.Height());
    int changed = 0;
    for (int i = 0; i < kPollLimit && changed == 0; ++i)
    {
        Pump();
        ::Sleep(kPollMs);
        Capture(now);
        for (int y = 0; y < now.height() && !changed; ++y)
            for (int x = 0; x < now.width() && !changed; ++x)
                changed = now.Rgb(x, y) != before.Rgb(x, y);
    }
    EXPECT_TRUE(changed) << "the picture area never changed";

    Click(CPlayerWnd::kPlayId);
    EXPECT_EQ(CPreviewSession::kPaused, m_panel.Session().GetState());
    Click(CPlayerWnd::kPlayId);
    EXPECT_EQ(CPreviewSession::kPlaying, m_panel.Session().GetState());

    m_panel.ShowTask(other);
    EXPECT_EQ(CPreviewSession::kPlaying, m_panel.Session().GetState());
    EXPECT_EQ(played, m_panel.Session().PlayingTaskId());
    Click(CPlayerWnd::kSnapshotId);
    const std::string expected = m_dir + "/shots/new/played.mp4 (1).bmp";
    for (int i = 0; i < kPollLimit && !UnixFileExists(expected); ++i)
    {
        Pump();
        ::Sleep(kPollMs);
    }
    EXPECT_TRUE(UnixFileExists(expected));
    EXPECT_TRUE(TestApp().m_messageBoxes.empty());

    m_panel.ShowTask(-1);
    EXPECT_EQ(CPreviewSession::kStopped, m_panel.Session().GetState());
    EXPECT_FALSE(::IsWindowEnabled(Item(CPlayerWnd::kPlayId)));
    EXPECT_FALSE(CPreviewSession::PlayerExists());
}

// The playing task removed: the next tick stops the panel instead of touching the task.
TEST_F(PlayerWndTest, RemovedTaskStopsAtTheNextTick)
{
    const int played = Add(rwtest::kClipMp4, "played.mp4");
    m_panel.ShowTask(played);
    Click(CPlayerWnd::kPlayId);
    ASSERT_EQ(CPreviewSession::kPlaying, m_panel.Session().GetState());
    ASSERT_EQ(1, CVideoManager::RemoveTask(played));
    ::SendMessageW(m_panel.GetSafeHwnd(), WM_TIMER, CPlayerWnd::kPositionTimer, 0);
    EXPECT_EQ(CPreviewSession::kStopped, m_panel.Session().GetState());
    EXPECT_FALSE(::IsWindowEnabled(Item(CPlayerWnd::kPlayId)));
}

// A snapshot folder that cannot be made is reported.
TEST_F(PlayerWndTest, SnapshotIntoAFileIsReported)
{
    coretest::WriteFile(m_dir + "/file", "x");
    m_settings.snapshotPath = WinPath(m_dir + "/file");
    const int played = Add(rwtest::kClipMp4, "played.mp4");
    m_panel.ShowTask(played);
    Click(CPlayerWnd::kPlayId);
    ASSERT_EQ(CPreviewSession::kPlaying, m_panel.Session().GetState());
    Click(CPlayerWnd::kSnapshotId);
    ASSERT_EQ(1u, TestApp().m_messageBoxes.size());
    EXPECT_EQ(LangMgr::GetText(L"err_create_dir"), TestApp().m_messageBoxes[0]);
}
