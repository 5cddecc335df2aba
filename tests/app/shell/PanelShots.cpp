// Photographs the details of the main window's panels into PNG files for a person to look at
// (tools/screenshots.sh runs it with RW_SHOT_DIR set; it is not part of the suite): the Frame size
// list dropped down, the preview buttons in each look with their hot, pressed and disabled
// pictures, the profile picker open, and the error list with a reason for each kind of file. Each
// picture comes with a pixel check of what it shows.
#include "ShellHarness.h"

#include "ButtonStrip.h"
#include "ModalScript.h"
#include "ScreenShot.h"
#include "TestMedia.h"
#include "tests/app/core/CoreTestUtil.h"
#include "app/core/Helpers.h"
#include "app/core/LangMgr.h"
#include "app/core/VideoManager.h"
#include "app/shell/ErrorListDlg.h"
#include "app/shell/MainWnd.h"
#include "app/shell/ParamWnd.h"
#include "app/shell/ParametersWnd.h"
#include "app/shell/PlayerWnd.h"
#include "resources/resource.h"

#include <stdlib.h>

using shelltest::ShellHarness;

namespace
{
const int kMinDroppedRows = 8;
const int kStateSize = 24;

std::string ShotDir()
{
    const char* dir = ::getenv("RW_SHOT_DIR");
    return dir && *dir ? dir : rwtest::ScratchDir("PanelShots");
}

void Shoot(RECT rect, const std::string& name)
{
    // What the windows have drawn reaches the screen while the thread looks at its queue; nothing
    // is taken from the queue, so that a dialog's scripted steps keep their order.
    const int kSettleMs = 300, kStepMs = 20;
    for (int waited = 0; waited < kSettleMs; waited += kStepMs)
    {
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
        ::Sleep(kStepMs);
    }
    const std::string path = ShotDir() + "/" + name + ".png";
    EXPECT_TRUE(rwtest::ShootScreenRect(rect, path)) << path;
}

RECT WindowRect(HWND window)
{
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    return rect;
}

void Command(ShellHarness& shell, UINT id)
{
    shell.Frame()->SendMessage(WM_COMMAND, id);
    shell.Pump();
}

// The program folder's pictures (category and profile icons, the device frame) beside this
// program, where the program looks for them, while the photographs are taken: the test programs
// that share its folder run without them.
struct PicturesBesideProgram
{
    std::string folder;
    PicturesBesideProgram()
    {
        char self[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, self, MAX_PATH);
        folder = coretest::UnixOf(self);
        folder = folder.substr(0, folder.rfind('/'));
        Run("cp -r '" + rwtest::ProgramDir() + "/icons' '" + rwtest::ProgramDir() + "/devicepic' '" + folder + "/'");
    }
    ~PicturesBesideProgram()
    {
        Run("rm -rf '" + folder + "/icons' '" + folder + "/devicepic'");
    }
    static void Run(const std::string& command)
    {
        EXPECT_EQ(0, ::system(command.c_str())) << command;
    }
};

// Pixels of a button on the screen that differ from a state of its strip.
int StateDifferences(HWND button, int bitmap, int state)
{
    DibCanvas shown(kStateSize, kStateSize);
    HDC dc = ::GetDC(button);
    ::BitBlt(shown.dc(), 0, 0, kStateSize, kStateSize, dc, 0, 0, SRCCOPY);
    ::ReleaseDC(button, dc);
    return rwtest::StripStateDifferences(shown, bitmap, state);
}
} // namespace

TEST(PanelShots, DropDownPreviewButtonsPickerAndErrorList)
{
    PicturesBesideProgram pictures;
    // The pointer out of the way: hovering over a list's scroll zone would scroll it.
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    ShellHarness shell("PanelShots");
    ASSERT_TRUE(shell.Start());
    CMainFrame* frame = shell.Frame();
    frame->SetWindowPos(nullptr, 20, 20, 900, 600, SWP_NOZORDER);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    const int id = CVideoManager::AddTask(L"clip.mp4", coretest::WinPath(rwtest::Media(rwtest::kClipMp4)),
                                          shell.App()->m_currentProfile);
    frame->SetSelection({id});
    shell.Pump();

    // The Frame size list, dropped down.
    CDialog* params = frame->GetPanel(kParamPanel);
    ASSERT_NE(params, nullptr);
    HWND frameSize = ::GetDlgItem(params->GetSafeHwnd(), CParamWnd::kResolutionId);
    ::SendMessageW(frameSize, CB_SHOWDROPDOWN, TRUE, 0);
    shell.Pump();
    COMBOBOXINFO combo = {};
    combo.cbSize = sizeof combo;
    ASSERT_TRUE(::GetComboBoxInfo(frameSize, &combo));
    RECT list = {};
    ::GetClientRect(combo.hwndList, &list);
    const int rows = int(::SendMessageW(frameSize, CB_GETCOUNT, 0, 0));
    const int row = int(::SendMessageW(frameSize, CB_GETITEMHEIGHT, 0, 0));
    EXPECT_GE(list.bottom / row, (std::min)(rows, kMinDroppedRows)) << rows << " entries";
    RECT shot = WindowRect(frame->m_hWnd);
    RECT dropped = WindowRect(combo.hwndList);
    ::UnionRect(&shot, &shot, &dropped);
    Shoot(shot, "main-framesize-dropped");
    ::SendMessageW(frameSize, CB_SHOWDROPDOWN, FALSE, 0);
    shell.Pump();

    // The preview buttons in each look: as they stand (stop disabled), then play hot and snapshot
    // pressed.
    auto* player = dynamic_cast<CPlayerWnd*>(frame->GetPanel(kPreviewPanel));
    ASSERT_NE(player, nullptr);
    HWND play = ::GetDlgItem(player->GetSafeHwnd(), CPlayerWnd::kPlayId);
    HWND stop = ::GetDlgItem(player->GetSafeHwnd(), CPlayerWnd::kStopId);
    HWND snapshot = ::GetDlgItem(player->GetSafeHwnd(), CPlayerWnd::kSnapshotId);
    const struct
    {
        UINT command;
        const char* name;
    } looks[] = {{ID_SKIN_NORMAL, "normal"}, {ID_SKIN_SIMPLE, "simple"}, {ID_SKIN_AROMA, "aroma"}};
    for (const auto& look : looks)
    {
        SCOPED_TRACE(look.name);
        Command(shell, look.command);
        ::RedrawWindow(player->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        shell.Pump();
        EXPECT_EQ(0, StateDifferences(play, CPlayerWnd::kPlayBitmap, 0));
        EXPECT_EQ(0, StateDifferences(stop, CPlayerWnd::kStopBitmap, 3));
        Shoot(WindowRect(player->GetSafeHwnd()), std::string("preview-buttons-") + look.name);
        ::SendMessageW(play, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        ::SendMessageW(snapshot, BM_SETSTATE, TRUE, 0);
        ::UpdateWindow(play);
        ::UpdateWindow(snapshot);
        EXPECT_EQ(0, StateDifferences(play, CPlayerWnd::kPlayBitmap, 1));
        EXPECT_EQ(0, StateDifferences(snapshot, CPlayerWnd::kSnapshotBitmap, 2));
        Shoot(WindowRect(player->GetSafeHwnd()), std::string("preview-buttons-") + look.name + "-hot-pressed");
        ::SendMessageW(snapshot, BM_SETSTATE, FALSE, 0);
        ::SendMessageW(play, WM_MOUSELEAVE, 0, 0);
        shell.Pump();
    }
    Command(shell, ID_SKIN_NORMAL);

    // The profile picker, open: every category whole.
    auto* target = dynamic_cast<CMainWnd*>(frame->GetPanel(kTargetPanel));
    ASSERT_NE(target, nullptr);
    static ParametersWnd* s_picker = nullptr;
    static RECT s_main = {};
    struct PickerShot
    {
        // Inside the picker's own loop, once its windows are on the screen.
        static void CALLBACK Take(HWND, UINT, UINT_PTR timer, DWORD)
        {
            ::KillTimer(nullptr, timer);
            ParametersWnd& picker = *s_picker;
            picker.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            CRect client;
            picker.m_categoryList.GetClientRect(&client);
            EXPECT_LE(picker.m_categoryList.m_nContentHeight, client.Height());
            RECT whole = WindowRect(picker.m_hWnd);
            ::UnionRect(&whole, &whole, &s_main);
            Shoot(whole, "profile-picker");
            picker.m_bRunning = false;
        }
    };
    const UINT kSettleMs = 500;
    bool opened = false;
    s_main = WindowRect(frame->m_hWnd);
    CMainWnd::s_onPickerOpened = [&](ParametersWnd& picker) {
        opened = true;
        s_picker = &picker;
        ::SetTimer(nullptr, 0, kSettleMs, PickerShot::Take);
    };
    CWnd& button = target->m_profileButton;
    button.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
    button.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, 5));
    shell.Pump();
    CMainWnd::s_onPickerOpened = nullptr;
    EXPECT_TRUE(opened);

    // The error list, with the reasons the task list gives for each kind of file.
    const std::string dir = rwtest::ScratchDir("PanelShotsFiles");
    coretest::WriteFile(dir + "/empty.avi", "");
    coretest::WriteFile(dir + "/notes.txt", "Shopping list\r\n");
    ::CreateDirectoryW(coretest::WinPath(dir + "/A folder"), nullptr);
    CStringArray entries;
    for (const std::string& path :
         {dir + "/empty.avi", dir + "/notes.txt", dir + "/A folder", rwtest::Media("garbage.avi")})
    {
        const CString win = coretest::WinPath(path);
        if (CVideoManager::AddTask(L"x", win, shell.App()->m_currentProfile) == 0)
            AddErrorEntry(win.Mid(win.ReverseFind(L'\\') + 1), LangMgr::GetText(CVideoManager::LastAddError()),
                          entries);
    }
    EXPECT_EQ(4, entries.GetSize());
    rwtest::RunModalScript(
        [&] {
            ShowErrorListDlg(L"", L"", entries);
            return INT_PTR(0);
        },
        {[](HWND) {}, [](HWND) {}, [](HWND) {}, // more turns of the dialog's loop: it reaches the screen
         [&](HWND dialog) {
             EXPECT_EQ(4, ::SendDlgItemMessageW(dialog, CErrorListDlg::kListId, LVM_GETITEMCOUNT, 0, 0));
             ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
             HWND picture = ::GetDlgItem(dialog, CErrorListDlg::kPictureId);
             const RECT rect = WindowRect(picture);
             HDC dc = ::GetDC(nullptr);
             int magenta = 0;
             for (int y = rect.top; y < rect.bottom; ++y)
                 for (int x = rect.left; x < rect.right; ++x)
                     magenta += ::GetPixel(dc, x, y) == rwtest::kStripMask;
             ::ReleaseDC(nullptr, dc);
             EXPECT_EQ(0, magenta);
             Shoot(WindowRect(dialog), "error-list");
             ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
         }});
    shell.Pump();

    frame->SetSelection({});
    CVideoManager::RemoveAll();
    shell.Stop();
}
