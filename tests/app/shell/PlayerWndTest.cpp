// The preview panel on its own template: plays the shown task's source into its picture area,
// pauses, follows another selection without losing its own task, keeps the volume, mutes, and
// writes snapshots of the playing task.
#include "RwTest.h"
#include "WideText.h"

#include "ButtonStrip.h"
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

namespace
{
const int kStateSize = 24;

// The button as it paints itself now, against a state of its strip: the number of pixels that differ.
int StateDifferences(HWND button, int bitmap, int state)
{
    RECT client = {};
    ::GetClientRect(button, &client);
    EXPECT_EQ(kStateSize, client.right);
    EXPECT_EQ(kStateSize, client.bottom);
    DibCanvas shown(kStateSize, kStateSize, RGB(1, 2, 3));
    ::SendMessageW(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shown.dc()), PRF_CLIENT);
    return rwtest::StripStateDifferences(shown, bitmap, state);
}
} // namespace

// Each picture button shows one 24 x 24 state of its four-state strip with the magenta background
// left out: the normal, hot, pressed and disabled pictures in turn.
TEST_F(PlayerWndTest, ButtonsShowOneStateOfTheirStrip)
{
    const struct
    {
        int id;
        int bitmap;
    } buttons[] = {{CPlayerWnd::kPlayId, CPlayerWnd::kPlayBitmap},
                   {CPlayerWnd::kStopId, CPlayerWnd::kStopBitmap},
                   {CPlayerWnd::kSoundId, CPlayerWnd::kSoundOffBitmap},
                   {CPlayerWnd::kSnapshotId, CPlayerWnd::kSnapshotBitmap}};
    for (const auto& b : buttons)
    {
        SCOPED_TRACE(b.id);
        HWND button = Item(b.id);
        ::EnableWindow(button, TRUE);
        EXPECT_EQ(0, StateDifferences(button, b.bitmap, 0));
        ::SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(0, StateDifferences(button, b.bitmap, 1));
        ::SendMessageW(button, BM_SETSTATE, TRUE, 0);
        EXPECT_EQ(0, StateDifferences(button, b.bitmap, 2));
        ::SendMessageW(button, BM_SETSTATE, FALSE, 0);
        ::SendMessageW(button, WM_MOUSELEAVE, 0, 0);
        ::EnableWindow(button, FALSE);
        EXPECT_EQ(0, StateDifferences(button, b.bitmap, 3));
        ::EnableWindow(button, TRUE);
    }
    // Play turns into pause and back.
    const int id = Add(rwtest::kClipMp4, "a.mp4");
    m_panel.ShowTask(id);
    Click(CPlayerWnd::kPlayId);
    ASSERT_EQ(CPreviewSession::kPlaying, m_panel.Session().GetState());
    EXPECT_EQ(0, StateDifferences(Item(CPlayerWnd::kPlayId), CPlayerWnd::kPauseBitmap, 0));
    Click(CPlayerWnd::kStopId);
    EXPECT_EQ(0, StateDifferences(Item(CPlayerWnd::kPlayId), CPlayerWnd::kPlayBitmap, 0));
    Click(CPlayerWnd::kSoundId);
    EXPECT_EQ(0, StateDifferences(Item(CPlayerWnd::kSoundId), CPlayerWnd::kSoundOnBitmap, 0));
}

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

// Another row selected while a preview plays: the preview goes on, and the time and the slider
// keep describing it (its own position and duration, one thumb on its own range). When it stops,
// the panel shows the selected clip: its duration, its range and its thumbnail.
TEST_F(PlayerWndTest, AnotherSelectionKeepsThePlayingClipsTimeUntilItStops)
{
    const int played = Add(rwtest::kLong25s, "long.mp4");
    const int other = Add(rwtest::kClipMp4, "short.mp4");
    ConvertTask* playedTask = nullptr;
    ASSERT_TRUE(CVideoManager::FindTask(played, &playedTask));
    const std::string playedDuration = rwtest::Utf8(playedTask->m_durationText);
    m_panel.ShowTask(played);
    Click(CPlayerWnd::kPlayId);
    ASSERT_EQ(CPreviewSession::kPlaying, m_panel.Session().GetState());
    // Past the end of the other clip (3 seconds).
    const DWORD start = ::GetTickCount();
    while (m_panel.Session().PollPosition() < 4 && ::GetTickCount() - start < 30000)
    {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
        Pump();
    }
    ASSERT_GE(m_panel.Session().PollPosition(), 4);

    m_panel.ShowTask(other);
    EXPECT_EQ(played, m_panel.Session().PlayingTaskId());
    HWND slider = Item(CPlayerWnd::kPositionId);
    // Two position ticks of the running preview.
    for (int tick = 0; tick < 2; ++tick)
        ::SendMessageW(m_panel.GetSafeHwnd(), WM_TIMER, CPlayerWnd::kPositionTimer, 0);
    Pump();
    WCHAR text[64] = {};
    ::GetDlgItemTextW(m_panel.GetSafeHwnd(), CPlayerWnd::kTimeId, text, 64);
    const std::string time = rwtest::Utf8(text);
    ASSERT_GT(time.size(), 8u);
    EXPECT_EQ(" / " + playedDuration, time.substr(8)) << time;
    EXPECT_GE(time.substr(0, 8), "00:00:04");
    EXPECT_EQ(static_cast<LRESULT>(rwtest::kLong25sSeconds), ::SendMessageW(slider, TBM_GETRANGEMAX, 0, 0));
    EXPECT_GE(::SendMessageW(slider, TBM_GETPOS, 0, 0), 4);
    // What the slider shows is what it draws from scratch: one thumb.
    RECT sliderRect = {};
    ::GetClientRect(slider, &sliderRect);
    DibCanvas shown(sliderRect.right, sliderRect.bottom), redrawn(sliderRect.right, sliderRect.bottom);
    HDC dc = ::GetDC(slider);
    ::BitBlt(shown.dc(), 0, 0, sliderRect.right, sliderRect.bottom, dc, 0, 0, SRCCOPY);
    ::RedrawWindow(slider, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ::BitBlt(redrawn.dc(), 0, 0, sliderRect.right, sliderRect.bottom, dc, 0, 0, SRCCOPY);
    ::ReleaseDC(slider, dc);
    EXPECT_EQ(0, shown.Differences([&](int x, int y) { return redrawn.Rgb(x, y); }));

    Click(CPlayerWnd::kStopId);
    EXPECT_EQ(CPreviewSession::kStopped, m_panel.Session().GetState());
    ::GetDlgItemTextW(m_panel.GetSafeHwnd(), CPlayerWnd::kTimeId, text, 64);
    EXPECT_EQ("00:00:00 / 00:00:03", rwtest::Utf8(text));
    EXPECT_EQ(3, ::SendMessageW(slider, TBM_GETRANGEMAX, 0, 0));
    EXPECT_EQ(0, ::SendMessageW(slider, TBM_GETPOS, 0, 0));
    // The picture area shows the selected clip's thumbnail, as a fresh selection of it would.
    const CRect area = [&] {
        CRect rc;
        ::GetClientRect(m_panel.PictureArea().GetSafeHwnd(), &rc);
        return rc;
    }();
    Pump();
    DibCanvas afterStop(area.Width(), area.Height()), thumbnail(area.Width(), area.Height());
    Capture(afterStop);
    m_panel.PictureArea().LoadBitmapFile(CVideoManager::GetThumbnail(other));
    ::RedrawWindow(m_panel.PictureArea().GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Capture(thumbnail);
    EXPECT_EQ(0, afterStop.Differences([&](int x, int y) { return thumbnail.Rgb(x, y); }));
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

// A snapshot of a file whose name the system code page cannot spell is written under that very
// name, next to an earlier snapshot of the same name, which is kept.
TEST_F(PlayerWndTest, SnapshotsOfAnyNameAreWrittenAndKeepEarlierOnes)
{
    const std::string name = "\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE \xE5\x8B\x95.mp4";
    const std::string folder = m_dir + "/shots";
    ASSERT_EQ(0, ::mkdir(folder.c_str(), 0755));
    coretest::WriteFile(folder + "/" + name + " (1).bmp", "earlier");
    m_settings.snapshotPath = WinPath(folder);
    const int played = Add(rwtest::kClipMp4, name.c_str());
    m_panel.ShowTask(played);
    Click(CPlayerWnd::kPlayId);
    ASSERT_EQ(CPreviewSession::kPlaying, m_panel.Session().GetState());
    Click(CPlayerWnd::kSnapshotId);
    const std::string written = folder + "/" + name + " (2).bmp";
    std::string bmp;
    for (int i = 0; i < kPollLimit && bmp.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER); ++i)
    {
        Pump();
        ::Sleep(kPollMs);
        bmp = coretest::ReadFile(written);
    }
    ASSERT_GT(bmp.size(), sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER));
    EXPECT_EQ("BM", bmp.substr(0, 2));
    EXPECT_EQ("earlier", coretest::ReadFile(folder + "/" + name + " (1).bmp"));
    EXPECT_TRUE(TestApp().m_messageBoxes.empty());
}

// A snapshot the player cannot take (it has gone by itself) is reported, and leaves no file.
TEST_F(PlayerWndTest, ASnapshotThatFailsIsReported)
{
    m_settings.snapshotPath = WinPath(m_dir);
    const int played = Add(rwtest::kClipMp4, "played.mp4");
    m_panel.ShowTask(played);
    Click(CPlayerWnd::kPlayId);
    ASSERT_EQ(CPreviewSession::kPlaying, m_panel.Session().GetState());
    EngineStopPreview();
    Click(CPlayerWnd::kSnapshotId);
    ASSERT_EQ(1u, TestApp().m_messageBoxes.size());
    EXPECT_EQ(LangMgr::GetText(L"err_snapshot"), TestApp().m_messageBoxes[0]);
    EXPECT_FALSE(UnixFileExists(m_dir + "/played.mp4 (1).bmp"));
}

namespace
{
std::string TipText(CButtonST& button)
{
    if (!button.m_pToolTip)
        return std::string();
    WCHAR text[80] = {};
    TOOLINFOW info = {};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND;
    info.hwnd = ::GetParent(button.m_hWnd);
    info.uId = reinterpret_cast<UINT_PTR>(button.m_hWnd);
    info.lpszText = text;
    button.m_pToolTip->SendMessage(TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&info));
    return rwtest::Utf8(text);
}
} // namespace

// A language switch changes the buttons' tooltips.
TEST_F(PlayerWndTest, LanguageSwitchChangesTheTooltips)
{
    EXPECT_EQ("Play", TipText(m_panel.Button(CPlayerWnd::kPlayId)));
    const std::string file = m_dir + "/Other.xml";
    coretest::WriteFile(file, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<langfile><language>"
                              "<tip_player_play>Abspielen</tip_player_play><tip_player_snap>Foto</tip_player_snap>"
                              "</language></langfile>\r\n");
    ASSERT_TRUE(LangMgr::LoadLanguageFile(WinPath(file)));
    m_panel.ReloadTexts();
    EXPECT_EQ("Abspielen", TipText(m_panel.Button(CPlayerWnd::kPlayId)));
    EXPECT_EQ("Foto", TipText(m_panel.Button(CPlayerWnd::kSnapshotId)));
}
