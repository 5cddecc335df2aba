// Photographs the running program into PNG files for a person to look at (tools/screenshots.sh
// runs it with RW_SHOT_DIR set; it is not part of the suite): the main window in each look, with
// the menu bar hidden and in every tint, the Options dialog, the About box, the custom resolution
// and split dialogs and the preview panel playing.
#include "ShellHarness.h"

#include "ModalScript.h"
#include "ScreenShot.h"
#include "TestMedia.h"
#include "tests/app/core/CoreTestUtil.h"
#include "app/core/VideoManager.h"
#include "app/shell/CustomSplitDlg.h"
#include "app/shell/PlayerWnd.h"
#include "app/shell/ResolutionDlg.h"
#include "app/shell/SkinStyle.h"
#include "resources/resource.h"

#include <stdlib.h>

using shelltest::ShellHarness;

namespace
{
std::string ShotDir()
{
    const char* dir = ::getenv("RW_SHOT_DIR");
    return dir && *dir ? dir : rwtest::ScratchDir("MainWindowShots");
}

// The window as it is on the screen now, into "<name>.png". Inside a dialog's loop nothing is
// pumped, so that the dialog's next scripted step cannot run before the picture is taken.
void Shoot(ShellHarness& shell, HWND window, const std::string& name, bool pump = true)
{
    if (pump)
        shell.Pump();
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    if (pump)
        shell.Pump();
    RECT rect;
    ::GetWindowRect(window, &rect);
    const std::string path = ShotDir() + "/" + name + ".png";
    EXPECT_TRUE(rwtest::ShootScreenRect(rect, path)) << path;
}

void Command(ShellHarness& shell, UINT id)
{
    shell.Frame()->SendMessage(WM_COMMAND, id);
    shell.Pump();
}
} // namespace

TEST(MainWindowShots, LooksTintsAndDialogs)
{
    ShellHarness shell("Shots");
    ASSERT_TRUE(shell.Start());
    CMainFrame* frame = shell.Frame();
    frame->SetWindowPos(nullptr, 20, 20, 900, 600, SWP_NOZORDER);
    Command(shell, ID_TOOL_SHOWMENU);
    const struct
    {
        UINT command;
        const char* name;
    } looks[] = {{ID_SKIN_NORMAL, "normal"}, {ID_SKIN_SIMPLE, "simple"}, {ID_SKIN_AROMA, "aroma"}};
    for (const auto& look : looks)
    {
        Command(shell, look.command);
        Shoot(shell, frame->m_hWnd, std::string("main-") + look.name);
        Command(shell, ID_TOOL_SHOWMENU);
        Shoot(shell, frame->m_hWnd, std::string("main-") + look.name + "-nomenu");
        Command(shell, ID_TOOL_SHOWMENU);
    }
    for (int i = 0; i < CSkinStyle::kTintCount; i++)
    {
        Command(shell, CSkinStyle::Tint(i).command);
        Shoot(shell, frame->m_hWnd, "main-aroma-tint" + std::to_string(i));
    }
    Command(shell, ID_COLOR_0);

    rwtest::RunModalScript(
        [&] {
            frame->SendMessage(WM_COMMAND, ID_TOOL_OPTION);
            return INT_PTR(0);
        },
        {[&](HWND sheet) { Shoot(shell, sheet, "options-general", false); },
         [&](HWND sheet) { ::SendMessageW(sheet, PSM_SETCURSEL, 1, 0); },
         [&](HWND sheet) {
             Shoot(shell, sheet, "options-convert", false);
             ::SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
         }});
    rwtest::RunModalScript(
        [&] {
            frame->SendMessage(WM_COMMAND, ID_APP_ABOUT_CMD);
            return INT_PTR(0);
        },
        {[](HWND) {}, // one more turn of the dialog's loop: the box reaches the screen
         [&](HWND about) {
            Shoot(shell, about, "about", false);
            ::SendMessageW(about, WM_COMMAND, IDOK, 0);
        }});

    // The custom resolution dialog with its note in full, and the custom split dialog, each
    // centred on the main window (the second picture shows the window behind it).
    CResolutionDlg resolution(frame);
    resolution.m_width = 640;
    resolution.m_height = 480;
    rwtest::RunModalScript([&] { return resolution.DoModal(); },
                           {[](HWND) {}, [](HWND) {}, [](HWND) {}, // turns of its loop: every control paints
                            [&](HWND dialog) {
                                Shoot(shell, frame->m_hWnd, "resolution-on-main", false);
                                Shoot(shell, dialog, "resolution", false);
                                ::SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                            }});
    CCustomSplitDlg split(frame);
    split.m_mode = CCustomSplitDlg::kTimeMode;
    split.m_value = L"0.5";
    rwtest::RunModalScript([&] { return split.DoModal(); },
                           {[](HWND) {}, [](HWND) {}, [](HWND) {},
                            [&](HWND dialog) {
                                Shoot(shell, frame->m_hWnd, "split-time-on-main", false);
                                Shoot(shell, dialog, "split-time", false);
                                ::SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                            }});

    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    const int id = CVideoManager::AddTask(L"clip.mp4", coretest::WinPath(rwtest::Media(rwtest::kLong25s)),
                                          shell.App()->m_currentProfile);
    frame->SetSelection({id});
    CPlayerWnd* player = dynamic_cast<CPlayerWnd*>(frame->GetPanel(kPreviewPanel));
    ASSERT_NE(player, nullptr);
    player->SendMessage(WM_COMMAND, MAKEWPARAM(CPlayerWnd::kPlayId, BN_CLICKED),
                        LPARAM(::GetDlgItem(player->GetSafeHwnd(), CPlayerWnd::kPlayId)));
    const DWORD start = ::GetTickCount();
    while (player->Session().PollPosition() < 2 && ::GetTickCount() - start < 20000)
    {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        shell.Pump(1);
    }
    Shoot(shell, frame->m_hWnd, "main-preview-playing");
    frame->SetSelection({});
    CVideoManager::RemoveAll();
    shell.Stop();
}
