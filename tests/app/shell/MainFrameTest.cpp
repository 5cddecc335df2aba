// The main frame's own commands in the running program: the tray icon, the Options dialog, the
// About box and the skin looks and tints.
#include "ShellHarness.h"

#include "ModalScript.h"
#include "TestMedia.h"
#include "tests/app/core/CoreTestUtil.h"
#include "app/core/LangMgr.h"
#include "app/core/VideoManager.h"
#include "app/shell/AboutDlg.h"
#include "app/shell/ColorFilterMonochrome.h"
#include "app/shell/ConfigConvertPage.h"
#include "app/shell/ConfigGeneralPage.h"
#include "app/shell/CustomSplitDlg.h"
#include "app/shell/ParamWnd.h"
#include "app/shell/PlayerWnd.h"
#include "app/shell/SkinStyle.h"
#include "engine/Engine.h"
#include "resources/resource.h"
#include "uilib/foundation/DrawHelpers.h"
#include "uilib/skin/SkinManager.h"
#include "DibCanvas.h"
#include "OutputProbe.h"

#include <sys/stat.h>

using coretest::WinPath;
using shelltest::ShellHarness;

namespace
{
const UINT kTrayMessage = CTrayIcon::kCallbackMessage;

// What the frame's update handler says of one command.
class StateProbe : public CCmdUI
{
  public:
    void Enable(BOOL on) override
    {
        enabled = on ? 1 : 0;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int check) override
    {
        checked = check;
    }
    int enabled = -1;
    int checked = -1;
};

StateProbe Probe(CMainFrame* frame, UINT id)
{
    StateProbe probe;
    probe.m_nID = id;
    probe.DoUpdate(frame, FALSE);
    return probe;
}

std::string ItemText(HWND dialog, int id)
{
    WCHAR text[256] = {};
    ::GetDlgItemTextW(dialog, id, text, 256);
    return rwtest::Utf8(text);
}

HWND Page(HWND sheet)
{
    return reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

bool IsUnixFolder(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Runs a frame command that opens a modal dialog, with the steps run inside its loop.
void RunDialogCommand(CMainFrame* frame, UINT command, std::vector<rwtest::ModalStep> steps)
{
    rwtest::RunModalScript(
        [&] {
            frame->SendMessage(WM_COMMAND, command);
            return INT_PTR(0);
        },
        std::move(steps));
}

// The tooltip the frame's task counts give, in the running language.
std::string ExpectedTip(const char* head, int total, int running, int done)
{
    return std::string(head) + "\n" + rwtest::Utf8(LangMgr::GetText(L"menu_tip_total")) + std::to_string(total) +
           "\n" + rwtest::Utf8(LangMgr::GetText(L"menu_tip_running")) + std::to_string(running) + "\n" +
           rwtest::Utf8(LangMgr::GetText(L"menu_tip_completed")) + std::to_string(done);
}

std::string Tooltip(CMainFrame* frame)
{
    frame->SendMessage(kTrayMessage, 0, WM_MOUSEMOVE);
    return rwtest::Utf8(frame->m_trayIcon.GetTooltip());
}

// Chooses an entry of a panel's drop-down list as the user does.
void Choose(CWnd* panel, int control, int index)
{
    HWND combo = ::GetDlgItem(panel->GetSafeHwnd(), control);
    ::SendMessageW(combo, CB_SETCURSEL, index, 0);
    panel->SendMessage(WM_COMMAND, MAKEWPARAM(control, CBN_SELCHANGE), LPARAM(combo));
}

void Click(CWnd* panel, int control)
{
    panel->SendMessage(WM_COMMAND, MAKEWPARAM(control, BN_CLICKED), LPARAM(::GetDlgItem(panel->GetSafeHwnd(), control)));
}

// Waits, with the program's messages flowing, until the condition holds; its last value.
template <class Condition> bool PumpUntil(ShellHarness& shell, Condition condition, DWORD limitMs = 120000)
{
    const DWORD start = ::GetTickCount();
    while (!condition() && ::GetTickCount() - start < limitMs)
    {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        shell.Pump(1);
    }
    return condition();
}

CString ParamValue(int taskId, LPCWSTR group, LPCWSTR name)
{
    ConvertTask* task = nullptr;
    SubParameters param;
    if (!CVideoManager::FindTask(taskId, &task) || !task->m_setting.FindParam(group, name, param))
        return L"<none>";
    return param.m_value;
}

int CountState(const std::vector<int>& ids, int state)
{
    int count = 0;
    for (int id : ids)
    {
        ConvertTask* task = nullptr;
        if (CVideoManager::FindTask(id, &task))
            count += task->m_state == state;
    }
    return count;
}
} // namespace

// Minimised with "mintotray" on, the window hides in the notification area; pointing at the icon
// shows the task counts, the icon's menu runs its commands, and a click, the menu's open command
// or a second start bring the window back. With the option off it goes to the task bar.
TEST(MainFrame, MinimisesToTheTrayAndComesBack)
{
    ShellHarness shell("Tray");
    ASSERT_TRUE(shell.Start());
    CMainFrame* frame = shell.Frame();
    AppSettings& settings = shell.App()->m_settings;
    ASSERT_TRUE(settings.istray);
    auto minimise = [&] {
        frame->SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
        shell.Pump();
    };
    auto expectInTray = [&] {
        EXPECT_TRUE(frame->m_trayIcon.IsShown());
        EXPECT_FALSE(frame->IsWindowVisible());
        EXPECT_FALSE(frame->IsIconic());
    };
    auto expectRestored = [&] {
        EXPECT_FALSE(frame->m_trayIcon.IsShown());
        EXPECT_TRUE(frame->IsWindowVisible());
        EXPECT_FALSE(frame->IsIconic());
    };

    minimise();
    expectInTray();
    EXPECT_EQ(Tooltip(frame), ExpectedTip("Reelwright", 0, 0, 0));
    const CString source = coretest::WinPath(rwtest::Media(rwtest::kClipMp4));
    std::vector<int> ids;
    for (int i = 0; i < 3; i++)
        ids.push_back(CVideoManager::AddTask(L"clip.mp4", source, shell.App()->m_currentProfile));
    ConvertTask* done = nullptr;
    ASSERT_TRUE(CVideoManager::FindTask(ids[1], &done));
    done->m_state = kTaskDone;
    EXPECT_EQ(Tooltip(frame), ExpectedTip("Reelwright", 3, 0, 1));

    // The icon's menu: its second item turns background conversion on.
    ASSERT_FALSE(settings.background);
    for (UINT key : {VK_DOWN, VK_DOWN, VK_RETURN})
        frame->PostMessage(WM_KEYDOWN, key, 1);
    frame->SendMessage(kTrayMessage, 0, WM_RBUTTONDOWN);
    frame->SendMessage(kTrayMessage, 0, WM_RBUTTONUP);
    shell.Pump();
    EXPECT_TRUE(settings.background);
    EXPECT_EQ(g_backgroundConversion.load(), 1);
    EXPECT_EQ(Tooltip(frame), ExpectedTip("Reelwright(Convert in Background)", 3, 0, 1));

    // The task bar comes back without the icon: it goes in again.
    NOTIFYICONDATAW data = frame->m_trayIcon.Data();
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &data));
    frame->SendMessage(CTrayIcon::TaskbarCreatedMessage());
    EXPECT_TRUE(frame->m_trayIcon.IsShown());
    EXPECT_TRUE(::Shell_NotifyIconW(NIM_MODIFY, &data));

    // A click on the icon, the menu's open command, a second start: each brings the window back.
    frame->SendMessage(kTrayMessage, 0, WM_LBUTTONUP);
    shell.Pump();
    expectRestored();
    minimise();
    expectInTray();
    frame->SendMessage(WM_COMMAND, ID_TRAY_OPEN);
    shell.Pump();
    expectRestored();
    minimise();
    frame->SendMessage(WM_RW_COME_TO_FRONT);
    shell.Pump();
    expectRestored();

    // A shell that refuses the icon (it has one of that id already): the window goes to the task
    // bar instead of hiding where nothing could bring it back.
    data = frame->m_trayIcon.Data();
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_ADD, &data));
    minimise();
    EXPECT_FALSE(frame->m_trayIcon.IsShown());
    EXPECT_TRUE(frame->IsIconic());
    ::Shell_NotifyIconW(NIM_DELETE, &data);
    frame->SendMessage(WM_RW_COME_TO_FRONT);
    shell.Pump();
    expectRestored();

    // Without "mintotray" the window goes to the task bar.
    settings.istray = false;
    minimise();
    EXPECT_TRUE(frame->IsIconic());
    EXPECT_FALSE(frame->m_trayIcon.IsShown());
    frame->SendMessage(WM_RW_COME_TO_FRONT);
    shell.Pump();
    expectRestored();
    CVideoManager::RemoveAll();
    shell.Stop();
    EXPECT_EQ(shelltest::ElementText(shell.Settings(), "background"), "true");
}

// The Options dialog through the frame: OK shows the menu bar, creates the snapshot folder for
// the preview and makes a new task limit count at once; Cancel changes nothing.
TEST(MainFrame, OptionsApplyAtOnce)
{
    ShellHarness shell("Options");
    ASSERT_TRUE(shell.Start());
    CMainFrame* frame = shell.Frame();
    AppSettings& settings = shell.App()->m_settings;
    ASSERT_EQ(g_maxTasks, 3);
    ASSERT_FALSE(frame->m_wndMenuBar.IsWindowVisible());

    ConvertSetting profile = shell.App()->m_currentProfile;
    profile.SetParamValue(L"s", L"1280x720");
    const CString source = coretest::WinPath(rwtest::Media("long25s.mp4"));
    std::vector<int> ids;
    for (int i = 0; i < 4; ++i)
        ids.push_back(CVideoManager::AddTask(shelltest::Wide("long" + std::to_string(i) + ".mp4"), source, profile));
    const std::string output = shell.Path("out");
    ::CreateDirectoryW(coretest::WinPath(output), nullptr);
    ASSERT_EQ(0, CVideoManager::StartTasks(coretest::WinPath(output), ids));
    ASSERT_EQ(3, CVideoManager::CountRunning());

    // Cancel: the limit and the settings stay.
    const std::string snaps = shell.Path("snaps/new");
    RunDialogCommand(frame, ID_TOOL_OPTION,
                     {[](HWND sheet) { ::SendMessageW(sheet, PSM_SETCURSEL, 1, 0); },
                      [](HWND sheet) {
                          ::SendDlgItemMessageW(Page(sheet), CConfigConvertPage::kMaxTasksId, CB_SETCURSEL, 0, 0);
                          ::SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
                      }});
    EXPECT_EQ(g_maxTasks, 3);
    EXPECT_EQ(settings.max_tasks, 3);
    EXPECT_EQ(3, CVideoManager::CountRunning());

    // OK: menu bar on, a snapshot folder that does not exist yet, one task at a time.
    RunDialogCommand(frame, ID_TOOL_OPTION,
                     {[&](HWND sheet) {
                          HWND page = Page(sheet);
                          ::CheckDlgButton(page, CConfigGeneralPage::kShowMenuId, BST_CHECKED);
                          ::SetDlgItemTextW(page, CConfigGeneralPage::kSnapPathId, coretest::WinPath(snaps));
                          ::SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
                      },
                      [](HWND sheet) {
                          ::SendDlgItemMessageW(Page(sheet), CConfigConvertPage::kMaxTasksId, CB_SETCURSEL, 0, 0);
                          ::SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
                      }});
    EXPECT_TRUE(settings.showmenu);
    EXPECT_TRUE(frame->m_wndMenuBar.IsWindowVisible());
    EXPECT_TRUE(IsUnixFolder(snaps));
    EXPECT_EQ(frame->Preview().snapshotPath, coretest::WinPath(snaps));
    EXPECT_EQ(settings.max_tasks, 1);
    EXPECT_EQ(1, CVideoManager::CountRunning());
    EXPECT_EQ(2, CountState(ids, kTaskPaused));
    EXPECT_EQ(1, CountState(ids, kTaskQueued));

    // Raised again: the waiting task starts at once; the paused ones wait for the user.
    RunDialogCommand(frame, ID_TOOL_OPTION,
                     {[](HWND sheet) { ::SendMessageW(sheet, PSM_SETCURSEL, 1, 0); },
                      [](HWND sheet) {
                          ::SendDlgItemMessageW(Page(sheet), CConfigConvertPage::kMaxTasksId, CB_SETCURSEL, 2, 0);
                          ::SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
                      }});
    EXPECT_EQ(g_maxTasks, 3);
    EXPECT_EQ(2, CVideoManager::CountRunning());
    EXPECT_EQ(0, CountState(ids, kTaskQueued));
    CVideoManager::StopTasks(ids);
    CVideoManager::RemoveAll();
    shell.Stop();
    const std::string xml = shell.Settings();
    EXPECT_EQ(shelltest::ElementText(xml, "max_tasks"), "3");
    EXPECT_EQ(shelltest::ElementText(xml, "showmenu"), "true");
    EXPECT_EQ(shelltest::ElementText(xml, "snap_path"), rwtest::Utf8(coretest::WinPath(snaps)));
}

// The About box from the Help menu shows the version "-setver=" set, and Escape ends it.
TEST(MainFrame, AboutBoxShowsTheSetVersion)
{
    ShellHarness shell("About");
    ASSERT_TRUE(shell.Start("-setver=9.1.2.3"));
    std::string version;
    RunDialogCommand(shell.Frame(), ID_APP_ABOUT_CMD,
                     {[&](HWND about) {
                         version = ItemText(about, CAboutDlg::kVersionId);
                         ::SendMessageW(about, WM_COMMAND, IDCANCEL, 0);
                     }});
    EXPECT_EQ(version, rwtest::Utf8(LangMgr::GetText(L"version")) + " 9.1.2.3");
    shell.Stop();
}

// Options, About, the custom split and the custom resolution dialogs open centred on the main
// window, wherever it stands, not at its top-left corner over the tool bar.
TEST(MainFrame, DialogsOpenCentredOnTheMainWindow)
{
    ShellHarness shell("CentredDialogs");
    ASSERT_TRUE(shell.Start());
    CMainFrame* frame = shell.Frame();
    ::SetWindowPos(frame->m_hWnd, nullptr, 60, 40, 900, 660, SWP_NOZORDER | SWP_NOACTIVATE);
    shell.Pump();
    CRect main;
    ::GetWindowRect(frame->m_hWnd, &main);
    ASSERT_EQ(main.left, 60);
    auto centred = [&main](const char* what) {
        return [&main, what](HWND dialog) {
            CRect rect;
            ::GetWindowRect(dialog, &rect);
            EXPECT_NEAR(rect.CenterPoint().x, main.CenterPoint().x, 2) << what;
            EXPECT_NEAR(rect.CenterPoint().y, main.CenterPoint().y, 2) << what;
            ::SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        };
    };
    RunDialogCommand(frame, ID_TOOL_OPTION, {centred("Options")});
    RunDialogCommand(frame, ID_APP_ABOUT_CMD, {centred("About")});

    const int id = shelltest::AddListTask(frame, WinPath(rwtest::Media(rwtest::kClipMp4)));
    ASSERT_GT(id, 0);
    shelltest::SelectListTasks(frame, {id});
    CWnd* param = frame->GetPanel(kParamPanel);
    rwtest::RunModalScript(
        [&] {
            Choose(param, CParamWnd::kSplitId, CParamWnd::kSplitCustomTime);
            return INT_PTR(0);
        },
        {centred("Split")});
    const int custom =
        int(::SendDlgItemMessageW(param->GetSafeHwnd(), CParamWnd::kResolutionId, CB_GETCOUNT, 0, 0)) - 1;
    rwtest::RunModalScript(
        [&] {
            Choose(param, CParamWnd::kResolutionId, custom);
            return INT_PTR(0);
        },
        {centred("Resolution")});
    frame->SendMessage(WM_COMMAND, ID_EDIT_EMPTY);
    shell.Stop();
}

// The looks and the nine tints through the frame's commands: skin colours follow the tint, tint
// items are greyed under "normal", which resets the tint, and the choice holds at the next start.
TEST(MainFrame, SkinLooksAndTints)
{
    ShellHarness shell("Skins");
    ASSERT_TRUE(shell.Start());
    CMainFrame* frame = shell.Frame();
    AppSettings& settings = shell.App()->m_settings;
    auto command = [&](UINT id) {
        frame->SendMessage(WM_COMMAND, id);
        shell.Pump(1);
    };
    // The defaults: "simple" with tint 4.
    ASSERT_EQ(rwtest::Utf8(settings.skinstyle), "simple");
    EXPECT_TRUE(WVPSkinManager()->IsSkinLoaded());
    EXPECT_NE(WVPSkinManager()->Lookup(frame->m_hWnd), nullptr);
    EXPECT_EQ(Probe(frame, ID_SKIN_SIMPLE).checked, 1);
    EXPECT_EQ(Probe(frame, ID_SKIN_AROMA).checked, 0);
    EXPECT_EQ(Probe(frame, ID_COLOR_4).checked, 1);

    // Tint 0 is the skin's own colour; every other tint gives it the tint's hue and saturation.
    command(ID_COLOR_0);
    EXPECT_FALSE(WVPSkinManager()->HasColorFilters());
    const COLORREF own = ::GetSysColor(COLOR_BTNFACE);
    for (int i = 0; i < CSkinStyle::kTintCount; i++)
    {
        const SkinTintEntry& tint = CSkinStyle::Tint(i);
        SCOPED_TRACE(i);
        command(tint.command);
        EXPECT_EQ(settings.skincolor, i);
        EXPECT_EQ(Probe(frame, tint.command).checked, 1);
        EXPECT_EQ(Probe(frame, tint.command).enabled, 1);
        COLORREF expected = own;
        if (i > 0)
            CColorFilterMonochrome(CWVPDrawHelpers::ColorToHLS(tint.tint)).ApplyColorFilter(expected);
        EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), expected);
    }

    // Another look keeps the tint; "normal" drops the skin and the tint and greys the tint items.
    command(ID_COLOR_3);
    const COLORREF simpleTinted = ::GetSysColor(COLOR_BTNFACE);
    command(ID_SKIN_AROMA);
    EXPECT_EQ(rwtest::Utf8(settings.skinstyle), "aroma");
    EXPECT_EQ(settings.skincolor, 3);
    EXPECT_TRUE(WVPSkinManager()->IsSkinLoaded());
    EXPECT_TRUE(WVPSkinManager()->HasColorFilters());
    EXPECT_NE(WVPSkinManager()->Lookup(frame->m_hWnd), nullptr);
    EXPECT_NE(::GetSysColor(COLOR_BTNFACE), simpleTinted);
    EXPECT_EQ(Probe(frame, ID_SKIN_AROMA).checked, 1);
    command(ID_SKIN_NORMAL);
    EXPECT_EQ(rwtest::Utf8(settings.skinstyle), "normal");
    EXPECT_EQ(settings.skincolor, 0);
    EXPECT_FALSE(WVPSkinManager()->IsSkinLoaded());
    EXPECT_FALSE(WVPSkinManager()->HasColorFilters());
    EXPECT_EQ(Probe(frame, ID_SKIN_NORMAL).checked, 1);
    for (int i = 0; i < CSkinStyle::kTintCount; i++)
        EXPECT_EQ(Probe(frame, CSkinStyle::Tint(i).command).enabled, 0) << i;
    shell.Stop();
    EXPECT_EQ(shelltest::ElementText(shell.Settings(), "skinstyle"), "normal");
    EXPECT_EQ(shelltest::ElementText(shell.Settings(), "skincolor"), "0");

    // The next start comes up without a skin; a look chosen then holds at the start after.
    ASSERT_TRUE(shell.Start());
    EXPECT_FALSE(WVPSkinManager()->IsSkinLoaded());
    frame = shell.Frame();
    command(ID_SKIN_AROMA);
    command(ID_COLOR_7);
    EXPECT_TRUE(WVPSkinManager()->IsSkinLoaded());
    EXPECT_NE(WVPSkinManager()->Lookup(frame->m_hWnd), nullptr);
    shell.Stop();
    ASSERT_TRUE(shell.Start());
    EXPECT_EQ(rwtest::Utf8(shell.App()->m_settings.skinstyle), "aroma");
    EXPECT_EQ(shell.App()->m_settings.skincolor, 7);
    EXPECT_TRUE(WVPSkinManager()->IsSkinLoaded());
    EXPECT_TRUE(WVPSkinManager()->HasColorFilters());
    EXPECT_NE(WVPSkinManager()->Lookup(shell.Frame()->m_hWnd), nullptr);
    shell.Stop();
}

// The parameter panel in the frame, driven as the user does: a frame size picked in the
// resolution list, the highest video quality and a size typed into the custom split dialog reach
// the task, and its conversion writes numbered segments of that frame size within the limit.
TEST(MainFrame, ParameterPanelEditsReachTheConvertedOutput)
{
    ShellHarness shell("ParamToOutput");
    ASSERT_TRUE(shell.Start());
    CMainFrame* frame = shell.Frame();
    CWnd* param = frame->GetPanel(kParamPanel);
    const int id = shelltest::AddListTask(frame, WinPath(rwtest::Media(rwtest::kLong25s)));
    ASSERT_GT(id, 0);
    shelltest::SelectListTasks(frame, {id});
    const int smallSize = int(::SendDlgItemMessageW(param->GetSafeHwnd(), CParamWnd::kResolutionId, CB_FINDSTRINGEXACT,
                                                WPARAM(-1), LPARAM(L"320x240")));
    ASSERT_GE(smallSize, 0);
    Choose(param, CParamWnd::kResolutionId, smallSize);
    Choose(param, CParamWnd::kVideoQualityId, 0);
    rwtest::RunModalScript(
        [&] {
            Choose(param, CParamWnd::kSplitId, CParamWnd::kSplitCustomSize);
            return INT_PTR(0);
        },
        {[](HWND split) {
            ::SetDlgItemTextW(split, CCustomSplitDlg::kValueId, L"1");
            ::SendMessageW(split, WM_COMMAND, IDOK, 0);
        }});
    EXPECT_EQ(rwtest::Utf8(ParamValue(id, L"video", L"s")), "320x240");
    const std::string limit = rwtest::Utf8(ParamValue(id, L"normal", L"fs"));
    EXPECT_EQ(limit, "1048576");

    const std::string output = shell.Path("out");
    ::CreateDirectoryW(WinPath(output), nullptr);
    ASSERT_EQ(0, CVideoManager::StartTasks(WinPath(output), {id}));
    ConvertTask* task = nullptr;
    ASSERT_TRUE(CVideoManager::FindTask(id, &task));
    ASSERT_TRUE(PumpUntil(shell, [&] {
        CVideoManager::PollProgress();
        return task->m_state == kTaskDone || task->m_state == kTaskFailed;
    }));
    ASSERT_EQ(task->m_state, kTaskDone) << rwtest::Utf8(task->m_log);
    int segments = 0;
    for (int n = 1; n < 100; n++)
    {
        char name[64];
        snprintf(name, sizeof name, "/long25s - %02d.avi", n);
        const std::string path = output + name;
        if (!shelltest::Exists(path))
            break;
        SCOPED_TRACE(name);
        segments++;
        EXPECT_LE(shelltest::ReadFile(path).size(), 1048576u);
        const rwtest::OutputFacts facts = rwtest::ProbeOutput(path);
        EXPECT_TRUE(facts.opened);
        EXPECT_EQ(facts.width, 320);
        EXPECT_EQ(facts.height, 240);
    }
    EXPECT_GE(segments, 2);
    frame->SendMessage(WM_COMMAND, ID_EDIT_EMPTY);
    shell.Stop();
}

// The preview panel in the frame plays the selected task's source: its pixels change, it pauses,
// seeks, mutes, and a snapshot lands in the snapshot folder as "<name> (1).bmp".
TEST(MainFrame, PreviewPlaysTheSelection)
{
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    ShellHarness shell("Preview");
    ASSERT_TRUE(shell.Start());
    CMainFrame* frame = shell.Frame();
    CPlayerWnd* player = dynamic_cast<CPlayerWnd*>(frame->GetPanel(kPreviewPanel));
    ASSERT_NE(player, nullptr);
    frame->Preview().snapshotPath = WinPath(shell.Path("shots"));
    const int id =
        CVideoManager::AddTask(L"played.mp4", WinPath(rwtest::Media(rwtest::kLong25s)), shell.App()->m_currentProfile);
    frame->SetSelection({id});
    HWND area = player->PictureArea().GetSafeHwnd();
    CRect rect;
    ::GetClientRect(area, &rect);
    ASSERT_GT(rect.Width(), 0);
    auto capture = [&](DibCanvas& canvas) {
        HDC dc = ::GetDC(area);
        ::BitBlt(canvas.dc(), 0, 0, canvas.width(), canvas.height(), dc, 0, 0, SRCCOPY);
        ::ReleaseDC(area, dc);
    };
    DibCanvas before(rect.Width(), rect.Height()), now(rect.Width(), rect.Height());
    capture(before);
    Click(player, CPlayerWnd::kPlayId);
    ASSERT_EQ(player->Session().GetState(), CPreviewSession::kPlaying);
    EXPECT_TRUE(PumpUntil(shell, [&] {
        capture(now);
        for (int y = 0; y < now.height(); ++y)
            for (int x = 0; x < now.width(); ++x)
                if (now.Rgb(x, y) != before.Rgb(x, y))
                    return true;
        return false;
    })) << "the picture area never changed";

    Click(player, CPlayerWnd::kPlayId);
    EXPECT_EQ(player->Session().GetState(), CPreviewSession::kPaused);
    Click(player, CPlayerWnd::kPlayId);
    EXPECT_EQ(player->Session().GetState(), CPreviewSession::kPlaying);
    // Dragged to 20 s and released, as the mouse does.
    HWND position = ::GetDlgItem(player->GetSafeHwnd(), CPlayerWnd::kPositionId);
    ::SendMessageW(position, TBM_SETPOS, TRUE, 20);
    NMHDR released = {position, UINT_PTR(CPlayerWnd::kPositionId), UINT(NM_RELEASEDCAPTURE)};
    player->SendMessage(WM_NOTIFY, CPlayerWnd::kPositionId, LPARAM(&released));
    EXPECT_TRUE(PumpUntil(shell, [&] { return player->Session().PollPosition() >= 20; }, 20000));
    EXPECT_EQ(player->Session().GetState(), CPreviewSession::kPlaying);
    const bool silent = frame->Preview().silent;
    Click(player, CPlayerWnd::kSoundId);
    EXPECT_NE(frame->Preview().silent, silent);

    Click(player, CPlayerWnd::kSnapshotId);
    const std::string shot = shell.Path("shots/played.mp4 (1).bmp");
    EXPECT_TRUE(PumpUntil(shell, [&] { return shelltest::Exists(shot); }, 30000));
    frame->SetSelection({});
    EXPECT_EQ(player->Session().GetState(), CPreviewSession::kStopped);
    CVideoManager::RemoveAll();
    shell.Stop();
    EXPECT_EQ(shelltest::ElementText(shell.Settings(), "voice_enable"), silent ? "false" : "true");
}
