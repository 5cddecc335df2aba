// The program started and stopped in-process as a user would: the settings file and the log it
// writes, restarts, the start-up branches and the main window's placement and layout.
#include <map>

#include "ShellHarness.h"

#include "TestMedia.h"
#include "tests/app/core/HttpTestServer.h"
#include "tests/app/core/CoreTestUtil.h"
#include "app/core/VideoManager.h"
#include "app/shell/AppLog.h"
#include "app/shell/ListWnd.h"
#include "app/shell/ParamWnd.h"
#include "app/shell/PlayerWnd.h"
#include "resources/resource.h"

using shelltest::ElementText;
using shelltest::ShellHarness;

namespace
{
// Element names of the settings file in their written order.
const char* const kBasicOrder[] = {"showmenu",        "autoupdate",       "istray",    "snap_path",    "background",
                                   "del_uncompleted", "action_completed", "max_tasks", "voice_enable", "voice_volume",
                                   "skinstyle",       "skincolor",        "language",  "output_path",  "param_sel",
                                   "mainwndpos",      "mainwndstate"};
const char* const kUpdateOrder[] = {"updatemethod", "curversion", "updatetype",  "lastupdate",
                                    "updatefile",   "updatever",  "updateserver"};

CRect WindowRect(CWnd* window)
{
    CRect rect;
    window->GetWindowRect(&rect);
    return rect;
}

CRect ChildRect(CWnd* parent, CWnd* child)
{
    CRect rect;
    child->GetWindowRect(&rect);
    parent->ScreenToClient(&rect);
    return rect;
}

// Every file of a folder with its bytes, by name.
std::map<std::string, std::string> FolderFiles(const std::string& dir)
{
    std::map<std::string, std::string> files;
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW(shelltest::Wide(rwtest::ToWin32Path(dir)) + L"\\*", &found);
    if (find == INVALID_HANDLE_VALUE)
        return files;
    do
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        {
            const std::string name = rwtest::Utf8(found.cFileName);
            files[name] = shelltest::ReadFile(dir + "/" + name);
        }
    while (::FindNextFileW(find, &found));
    ::FindClose(find);
    return files;
}

// Runs a program to its end while this thread's windows keep answering; false when it did not
// end within the limit.
bool RunWhilePumping(ShellHarness& shell, const CString& program, DWORD limitMs = 60000)
{
    CString command = L"\"" + program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(nullptr, command.GetBuffer(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return false;
    command.ReleaseBuffer();
    ::CloseHandle(process.hThread);
    const DWORD start = ::GetTickCount();
    bool ended = false;
    while (!ended && ::GetTickCount() - start < limitMs)
    {
        ended = ::MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 100, QS_ALLINPUT) == WAIT_OBJECT_0;
        shell.Pump(1);
    }
    ::CloseHandle(process.hProcess);
    return ended;
}

// What start-up asked to run instead of running it.
std::vector<std::string> g_startedPrograms;
bool RecordStart(const CString& commandLine, const CString&)
{
    g_startedPrograms.push_back(rwtest::Utf8(commandLine));
    return true;
}
} // namespace

TEST(AppScenario, FreshStartWritesDefaultsAndLog)
{
    ShellHarness shell("Fresh");
    ASSERT_TRUE(shell.Start());
    // The defaults are on disk right after start-up, in their order.
    const std::string xml = shell.Settings();
    size_t last = 0;
    for (const char* name : kBasicOrder)
    {
        const size_t at = xml.find(std::string("<") + name + ">");
        ASSERT_NE(at, std::string::npos) << name;
        EXPECT_GT(at, last) << name;
        last = at;
    }
    for (const char* name : kUpdateOrder)
    {
        const size_t at = xml.find(std::string("<") + name);
        ASSERT_NE(at, std::string::npos) << name;
        EXPECT_GT(at, last) << name;
        last = at;
    }
    const struct
    {
        const char* name;
        const char* value;
    } defaults[] = {
        {"showmenu", "false"},       {"autoupdate", "true"},           {"istray", "true"},    {"background", "false"},
        {"del_uncompleted", "true"}, {"action_completed", "0"},        {"max_tasks", "3"},    {"voice_enable", "true"},
        {"voice_volume", "80"},      {"skinstyle", "simple"},          {"skincolor", "4"},    {"language", "English"},
        {"param_sel", "DivX Movie"}, {"mainwndpos", "-1, -1, -1, -1"}, {"mainwndstate", "0"}, {"updatemethod", "1"}};
    for (const auto& d : defaults)
        EXPECT_EQ(ElementText(xml, d.name), d.value) << d.name;
    EXPECT_NE(ElementText(xml, "snap_path"), "");
    EXPECT_EQ(ElementText(xml, "snap_path"), ElementText(xml, "output_path"));
    EXPECT_EQ(g_maxTasks, 3);

    // A first start: 900 wide, the minimum tracking height, centred in the work area.
    CMainFrame* frame = shell.Frame();
    ASSERT_NE(frame, nullptr);
    const CRect rect = WindowRect(frame);
    EXPECT_EQ(rect.Width(), 900);
    EXPECT_EQ(rect.Height(), CMainFrame::kMinTrackHeight);
    RECT work;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR(rect.CenterPoint().x, (work.left + work.right) / 2, 1);
    EXPECT_NEAR(rect.CenterPoint().y, (work.top + work.bottom) / 2, 1);
    EXPECT_EQ(shelltest::ShownMessages().size(), 0u);

    EXPECT_EQ(shell.Stop(), 0);
    bool mark = false;
    const std::string log = shell.Log(&mark);
    EXPECT_TRUE(mark);
    EXPECT_EQ(log.substr(0, 51), std::string(50, '/') + "\n");
    EXPECT_NE(log.find("// Reelwright started on "), std::string::npos);
    const char* const shutdown[] = {
        "do ExitInstance!\n", "CVideoManager remove all!\n", "CVideoManager DeleteTempFiles!\n",
        "save_config!\n",     "clear_inst_all!\n",           "WVPSkinManager()->RemoveAll()!\n"};
    size_t at = 0;
    for (const char* line : shutdown)
    {
        const size_t found = log.find(line, at);
        EXPECT_NE(found, std::string::npos) << line;
        at = found == std::string::npos ? at : found;
    }
}

TEST(AppScenario, ChangesSurviveARestart)
{
    ShellHarness shell("Restart");
    ASSERT_TRUE(shell.Start());
    CMainFrame* frame = shell.Frame();
    frame->SetWindowPos(nullptr, 40, 30, 820, 600, SWP_NOZORDER);
    frame->SendMessage(WM_COMMAND, ID_TOOL_SHOWMENU);
    shell.Pump();
    EXPECT_TRUE(frame->m_wndMenuBar.IsWindowVisible());
    shell.Stop();
    EXPECT_EQ(ElementText(shell.Settings(), "showmenu"), "true");
    EXPECT_EQ(ElementText(shell.Settings(), "mainwndpos"), "40, 30, 860, 630");

    ASSERT_TRUE(shell.Start());
    frame = shell.Frame();
    EXPECT_EQ(WindowRect(frame), CRect(40, 30, 860, 630));
    EXPECT_TRUE(frame->m_wndMenuBar.IsWindowVisible());
    // Maximised at the end: the state comes back and the normal rectangle stays.
    frame->ShowWindow(SW_MAXIMIZE);
    shell.Pump();
    shell.Stop();
    EXPECT_EQ(ElementText(shell.Settings(), "mainwndstate"), "1");
    EXPECT_EQ(ElementText(shell.Settings(), "mainwndpos"), "40, 30, 860, 630");
    ASSERT_TRUE(shell.Start());
    EXPECT_TRUE(shell.Frame()->IsZoomed());
    shell.Stop();
}

TEST(AppScenario, MinimisedWindowKeepsItsNormalPlacement)
{
    ShellHarness shell("Minimised");
    ASSERT_TRUE(shell.Start());
    shell.Frame()->SetWindowPos(nullptr, 60, 50, 800, 590, SWP_NOZORDER);
    shell.Frame()->ShowWindow(SW_MINIMIZE);
    shell.Pump();
    shell.Stop();
    EXPECT_EQ(ElementText(shell.Settings(), "mainwndpos"), "60, 50, 860, 640");
    ASSERT_TRUE(shell.Start());
    EXPECT_EQ(WindowRect(shell.Frame()), CRect(60, 50, 860, 640));
    EXPECT_FALSE(shell.Frame()->IsIconic());
}

TEST(AppScenario, StoredValuesAreValidated)
{
    ShellHarness shell("Validate");
    shelltest::WriteFile(shell.Path("Reelwright.xml"),
                         "<?xml version=\"1.0\"?><Corvantis><Basic><max_tasks>12</max_tasks><skinstyle>Simple"
                         "</skinstyle><skincolor>9</skincolor><language></language><mainwndpos>10:20:800/600"
                         "</mainwndpos><autoupdate>false</autoupdate><mystery>kept</mystery></Basic><Update>"
                         "<updatemethod>2</updatemethod><curversion>1.0</curversion></Update></Corvantis>");
    ASSERT_TRUE(shell.Start());
    const AppSettings& s = shell.App()->m_settings;
    EXPECT_EQ(s.max_tasks, 9);
    EXPECT_EQ(g_maxTasks, 9);
    EXPECT_EQ(rwtest::Utf8(s.skinstyle), "normal");
    EXPECT_EQ(s.skincolor, 0);
    EXPECT_EQ(rwtest::Utf8(s.language), "English");
    EXPECT_EQ(CRect(s.mainwndpos), CRect(10, 20, 800, 600));
    // Automatic updates off: no check by itself, whatever the stored mode or the last check.
    EXPECT_FALSE(shell.App()->m_update.IsCheckDue());
    shell.Stop();
    const std::string xml = shell.Settings();
    EXPECT_EQ(ElementText(xml, "mystery"), "kept");
    EXPECT_EQ(ElementText(xml, "updatemethod"), "2");
    EXPECT_EQ(ElementText(xml, "curversion"), rwtest::Utf8(UpdateManager().m_curVersion));
    EXPECT_EQ(ElementText(xml, "max_tasks"), "9");
}

TEST(AppScenario, UnreadableSettingsAreKeptAside)
{
    ShellHarness shell("Unreadable");
    const std::string broken = "<Corvantis><Basic><showmenu>tr";
    shelltest::WriteFile(shell.Path("Reelwright.xml"), broken);
    ASSERT_TRUE(shell.Start());
    EXPECT_EQ(shelltest::ReadFile(shell.Path("Reelwright.xml.bad")), broken);
    EXPECT_EQ(ElementText(shell.Settings(), "showmenu"), "false");
    shell.Stop();

    // A file far beyond any real settings file is not read (here a valid one that would set
    // four tasks), and the earlier copy moved aside stays.
    std::string huge = "<?xml version=\"1.0\"?><Corvantis><Basic><max_tasks>4</max_tasks></Basic><Filler>";
    while (huge.size() < 1100 * 1024)
        huge += "<item>0123456789</item>";
    huge += "</Filler></Corvantis>";
    shelltest::WriteFile(shell.Path("Reelwright.xml"), huge);
    ASSERT_TRUE(shell.Start());
    EXPECT_EQ(shell.App()->m_settings.max_tasks, 3);
    shell.Stop();
    EXPECT_EQ(ElementText(shell.Settings(), "max_tasks"), "3");
    EXPECT_EQ(shelltest::ReadFile(shell.Path("Reelwright.xml.bad")), broken);
    EXPECT_EQ(shelltest::ReadFile(shell.Path("Reelwright.xml.2.bad")), huge);

    // A huge file that appears while the program runs is not read when the settings are saved.
    ASSERT_TRUE(shell.Start());
    shelltest::WriteFile(shell.Path("Reelwright.xml"), huge);
    shell.Stop();
    EXPECT_EQ(ElementText(shell.Settings(), "max_tasks"), "3");
    EXPECT_EQ(shelltest::ReadFile(shell.Path("Reelwright.xml.3.bad")), huge);
}

TEST(AppScenario, NoProfilesEndsTheProgramAndStillSaves)
{
    ShellHarness shell("NoProfiles", false);
    EXPECT_FALSE(shell.Start());
    EXPECT_EQ(shell.Frame(), nullptr);
    ASSERT_EQ(shelltest::ShownMessages().size(), 1u);
    EXPECT_EQ(shelltest::ShownMessages()[0], "No conversion profiles could be loaded. Please reinstall Reelwright.");
    ::DeleteFileW(shelltest::Wide(rwtest::ToWin32Path(shell.Path("Reelwright.xml"))));
    shell.Stop();
    EXPECT_TRUE(shelltest::Exists(shell.Path("Reelwright.xml")));
    EXPECT_NE(shell.Log().find("do_some_init failed!\n"), std::string::npos);
}

TEST(AppScenario, VersionOptionSavesAtOnce)
{
    ShellHarness shell("SetVersion");
    shelltest::WriteFile(shell.Path("Reelwright.xml"),
                         "<?xml version=\"1.0\"?><Corvantis><Basic><showmenu>true</showmenu></Basic></Corvantis>");
    ASSERT_TRUE(shell.Start("-setver=9.1.2.3"));
    EXPECT_EQ(ElementText(shell.Settings(), "curversion"), "9.1.2.3");
    EXPECT_EQ(ElementText(shell.Settings(), "showmenu"), "true");
    shell.Stop();
}

TEST(AppScenario, PanelsLayOutAroundTheMenuBar)
{
    ShellHarness shell("Layout");
    ASSERT_TRUE(shell.Start());
    CMainFrame* frame = shell.Frame();
    frame->SendMessage(WM_COMMAND, ID_TOOL_SHOWMENU);
    shell.Pump();
    CRect client;
    frame->GetClientRect(&client);
    const CRect menuBar = ChildRect(frame, &frame->m_wndMenuBar);
    const int mb = menuBar.Height();
    ASSERT_GT(mb, 0);
    EXPECT_EQ(menuBar, CRect(0, 0, client.Width(), mb));
    CWnd* tool = frame->GetPanel(kToolBarPanel);
    CWnd* list = frame->GetPanel(kTaskListPanel);
    CWnd* target = frame->GetPanel(kTargetPanel);
    CWnd* param = frame->GetPanel(kParamPanel);
    CWnd* preview = frame->GetPanel(kPreviewPanel);
    const int pw = ChildRect(frame, param).Width(), ph = ChildRect(frame, preview).Height();
    const int th = ChildRect(frame, target).Height(), lw = client.Width() - pw;
    EXPECT_EQ(ChildRect(frame, tool), CRect(0, mb, lw, mb + 43));
    EXPECT_EQ(ChildRect(frame, list), CRect(0, mb + 43, lw, client.Height() - th));
    EXPECT_EQ(ChildRect(frame, target), CRect(0, client.Height() - th, lw, client.Height()));
    EXPECT_EQ(ChildRect(frame, param), CRect(lw, mb, client.Width(), client.Height() - ph));
    EXPECT_EQ(ChildRect(frame, preview).TopLeft(), CPoint(lw, client.Height() - ph));

    // Ctrl+M typed in a panel hides the menu bar: the tool bar panel takes its place, the list
    // and the target panel stay, the parameter panel grows upward.
    CWnd* control = list->GetWindow(GW_CHILD);
    ASSERT_NE(control, nullptr);
    ::SetKeyboardState(nullptr);
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    control->PostMessage(WM_KEYDOWN, 'M', 1);
    shell.Pump();
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    EXPECT_FALSE(shell.App()->m_settings.showmenu);
    EXPECT_FALSE(frame->m_wndMenuBar.IsWindowVisible());
    EXPECT_EQ(ChildRect(frame, tool), CRect(0, 0, lw, mb + 43));
    EXPECT_EQ(ChildRect(frame, list), CRect(0, mb + 43, lw, client.Height() - th));
    EXPECT_EQ(ChildRect(frame, param), CRect(lw, 0, client.Width(), client.Height() - ph));
    shell.Stop();
}

// The parameter and preview panels are the real ones: shown inside the frame, their controls
// keeping their places on the screen while Ctrl+M shows and hides the menu bar, and an edit in the
// parameter panel reaching the selected task through the frame.
TEST(AppScenario, ParameterAndPreviewPanelsAreThere)
{
    ShellHarness shell("RealPanels");
    ASSERT_TRUE(shell.Start());
    CMainFrame* frame = shell.Frame();
    CParamWnd* param = dynamic_cast<CParamWnd*>(frame->GetPanel(kParamPanel));
    CPlayerWnd* player = dynamic_cast<CPlayerWnd*>(frame->GetPanel(kPreviewPanel));
    ASSERT_NE(param, nullptr);
    ASSERT_NE(player, nullptr);
    // Handles, not the temporary objects that GetDlgItem gives, which the idle time frees.
    const HWND split = ::GetDlgItem(param->GetSafeHwnd(), CParamWnd::kSplitId);
    const HWND play = ::GetDlgItem(player->GetSafeHwnd(), CPlayerWnd::kPlayId);
    ASSERT_NE(split, nullptr);
    ASSERT_NE(play, nullptr);
    const CRect splitBefore = ChildRect(frame, CWnd::FromHandle(split)),
                playBefore = ChildRect(frame, CWnd::FromHandle(play));
    for (bool menuShown : {false, true, false})
    {
        SCOPED_TRACE(menuShown ? "menu bar shown" : "menu bar hidden");
        EXPECT_EQ(shell.App()->m_settings.showmenu, menuShown);
        CRect client;
        frame->GetClientRect(&client);
        for (CWnd* panel : {static_cast<CWnd*>(param), static_cast<CWnd*>(player)})
        {
            EXPECT_TRUE(panel->IsWindowVisible());
            EXPECT_EQ(panel->GetParent(), frame);
            const CRect rect = ChildRect(frame, panel);
            CRect inside;
            EXPECT_FALSE(rect.IsRectEmpty());
            EXPECT_TRUE(inside.IntersectRect(&rect, &client) && inside == rect);
        }
        EXPECT_TRUE(player->PictureArea().IsWindowVisible());
        EXPECT_EQ(ChildRect(frame, CWnd::FromHandle(split)), splitBefore);
        EXPECT_EQ(ChildRect(frame, CWnd::FromHandle(play)), playBefore);
        frame->SendMessage(WM_COMMAND, ID_TOOL_SHOWMENU);
        shell.Pump();
    }

    // Nothing selected: the parameter panel is disabled; a selected task takes its edits.
    const HWND quality = ::GetDlgItem(param->GetSafeHwnd(), CParamWnd::kVideoQualityId);
    EXPECT_FALSE(::IsWindowEnabled(quality));
    CListWnd* list = frame->ListPanel();
    ASSERT_NE(list, nullptr);
    CString name;
    ASSERT_TRUE(list->AddTaskRow(coretest::WinPath(rwtest::Media(rwtest::kClipMp4)), name));
    const int id = list->TaskIdOfRow(0);
    ConvertTask* task = nullptr;
    ASSERT_TRUE(CVideoManager::FindTask(id, &task));
    list->SelectRow(0);
    list->UpdatePanels();
    EXPECT_TRUE(::IsWindowEnabled(quality));
    EXPECT_EQ(player->ShownTaskId(), id);
    ConvertSetting expected = task->m_setting;
    ASSERT_TRUE(expected.SetParamChoice(L"vb", 0));
    ASSERT_TRUE(task->m_setting.SetParamChoice(L"vb", 2));
    ::SendMessageW(quality, CB_SETCURSEL, 0, 0);
    param->SendMessage(WM_COMMAND, MAKEWPARAM(CParamWnd::kVideoQualityId, CBN_SELCHANGE), LPARAM(quality));
    ASSERT_EQ(task->m_setting.m_params.GetSize(), expected.m_params.GetSize());
    for (INT_PTR i = 0; i < expected.m_params.GetSize(); ++i)
        EXPECT_TRUE(task->m_setting.m_params[i].m_value == expected.m_params[i].m_value);
    frame->SendMessage(WM_COMMAND, ID_EDIT_EMPTY);
    EXPECT_TRUE(g_tasks.empty());
    EXPECT_FALSE(::IsWindowEnabled(quality));
    shell.Stop();
}

TEST(AppScenario, EngineLogLinesReachTheirTask)
{
    ShellHarness shell("EngineLog");
    ASSERT_TRUE(shell.Start());
    // No task has the job: the line is dropped and its copy freed; the post itself is checked.
    EXPECT_TRUE(EngineLogCallback(77, "frame= 10"));
    shell.Pump();
    shell.Stop();
    // After shutdown the sink posts nothing.
    EXPECT_FALSE(EngineLogCallback(77, "late line"));
}

TEST(AppScenario, FailedSaveIsLoggedAndShown)
{
    ShellHarness shell("SaveFails");
    ASSERT_TRUE(shell.Start());
    const CString path = shelltest::Wide(rwtest::ToWin32Path(shell.Path("Reelwright.xml")));
    // A folder where the file belongs cannot be written (a read-only file still can, by root).
    ASSERT_TRUE(::DeleteFileW(path));
    ASSERT_TRUE(::CreateDirectoryW(path, nullptr));
    shell.App()->m_settings.showmenu = true;
    shell.Stop();
    ASSERT_TRUE(::RemoveDirectoryW(path));
    ASSERT_EQ(shelltest::ShownMessages().size(), 1u);
    EXPECT_EQ(shelltest::ShownMessages()[0], "The settings could not be saved. Your changes of this session are lost.");
    EXPECT_NE(shell.Log().find("save_config: the settings could not be written to "), std::string::npos);
}

// A second start, as a process of its own: the running window comes to the front, from the
// notification area and from the task bar, the new process ends and no file of the program
// folder changes.
TEST(AppScenario, SecondInstanceBringsTheFirstToTheFront)
{
    ShellHarness shell("SecondInstance");
    const CString program = shelltest::Wide(rwtest::ToWin32Path(shell.Path("Reelwright.exe")));
    ASSERT_TRUE(::CopyFileW(shelltest::Wide(rwtest::ToWin32Path(rwtest::ProgramDir() + "/Reelwright.exe.so")), program,
                            FALSE));
    ASSERT_TRUE(shell.Start());
    CMainFrame* frame = shell.Frame();
    for (bool toTray : {true, false})
    {
        SCOPED_TRACE(toTray ? "in the tray" : "on the task bar");
        shell.App()->m_settings.istray = toTray;
        frame->SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
        shell.Pump();
        ASSERT_FALSE(frame->IsWindowVisible() && !frame->IsIconic());
        const auto before = FolderFiles(shell.Dir());
        ASSERT_TRUE(RunWhilePumping(shell, program));
        shell.Pump();
        EXPECT_TRUE(frame->IsWindowVisible());
        EXPECT_FALSE(frame->IsIconic());
        EXPECT_FALSE(frame->m_trayIcon.IsShown());
        EXPECT_TRUE(FolderFiles(shell.Dir()) == before);
    }
    shell.Stop();
}

// Start-up's update branches: a pending package starts the updater and the program ends; an old
// last check starts a check against the update server; with automatic updates off none starts.
TEST(AppScenario, StartUpUpdateBranches)
{
    const UpdateStartFunction savedStart = g_updateStart;
    g_updateStart = RecordStart;
    g_startedPrograms.clear();
    {
        ShellHarness shell("PendingUpdate");
        shelltest::WriteFile(shell.Path("updater.exe"), "stand-in");
        ::CreateDirectoryW(shelltest::Wide(rwtest::ToWin32Path(shell.Path("update"))), nullptr);
        shelltest::WriteFile(shell.Path("update/pkg.zip"), "zip");
        shelltest::WriteFile(shell.Path("Reelwright.xml"),
                             "<?xml version=\"1.0\"?><Corvantis><Update><updatefile>pkg.zip</updatefile><updatever>"
                             "5.0.0.9</updatever></Update></Corvantis>");
        EXPECT_FALSE(shell.Start());
        EXPECT_EQ(shell.Frame(), nullptr);
        ASSERT_EQ(g_startedPrograms.size(), 1u);
        EXPECT_NE(g_startedPrograms[0].find("updater.exe"), std::string::npos);
        EXPECT_NE(g_startedPrograms[0].find("-setver=5.0.0.9"), std::string::npos);
        shell.Stop();
        EXPECT_NE(shell.Log().find("do_some_init failed!\n"), std::string::npos);
    }
    g_updateStart = savedStart;

    HttpTestServer server;
    server.Set("/update.txt", 200, "[UpdateInfo]\r\nLatestVersion=5.0.0.8\r\nMinVersion=5.0.0.1\r\n");
    for (bool automatic : {false, true})
    {
        SCOPED_TRACE(automatic ? "automatic updates" : "no automatic updates");
        ShellHarness shell(automatic ? "UpdateCheck" : "NoUpdateCheck");
        shelltest::WriteFile(shell.Path("updater.exe"), "stand-in");
        shelltest::WriteFile(shell.Path("Reelwright.xml"),
                             std::string("<?xml version=\"1.0\"?><Corvantis><Basic><autoupdate>") +
                                 (automatic ? "true" : "false") +
                                 "</autoupdate></Basic><Update><updatemethod>1</updatemethod><lastupdate>1000"
                                 "</lastupdate><updateserver>" +
                                 server.BaseUrl() + "</updateserver></Update></Corvantis>");
        ASSERT_TRUE(shell.Start());
        UpdateManager& update = shell.App()->m_update;
        if (automatic)
        {
            const DWORD start = ::GetTickCount();
            while (update.m_state == kUpdateChecking && ::GetTickCount() - start < 30000)
            {
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
                shell.Pump(1);
            }
            EXPECT_EQ(update.m_state, kUpdateNewest);
            EXPECT_EQ(server.RequestCount("/update.txt"), 1);
        }
        else
        {
            EXPECT_EQ(update.m_state, kUpdateIdle);
            EXPECT_EQ(server.RequestCount("/update.txt"), 0);
        }
        shell.Stop();
    }
}
