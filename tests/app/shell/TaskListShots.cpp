// Photographs the main window during a conversion (rows with progress bars and time left) into a
// PNG file, for a person to look at (tools/screenshots.sh runs it; it is not a test).
// Usage: TaskListShots OUTPUT-FOLDER
#include "PngWriter.h"
#include "ShellHarness.h"
#include "TestMedia.h"

#include "DropFiles.h"
#include "app/core/VideoManager.h"
#include "app/shell/ListWnd.h"
#include "platform/mfc/ExitSequence.h"
#include "resources/resource.h"

#include <shlobj.h>

namespace
{
const DWORD kHangLimitMs = 120000;

// True once every running task has shown some progress with its time left.
bool ConversionsUnderWay()
{
    int running = 0;
    for (const ConvertTask* task : g_tasks)
        if (task->m_state == kTaskRunning)
        {
            if (task->m_progress <= 0)
                return false;
            ++running;
        }
    return running > 0;
}

int Photograph(const std::string& folder)
{
    shelltest::ShellHarness shell("TaskListShots");
    const std::string outputs = shell.Path("out"), sources = shell.Path("sources");
    ::CreateDirectoryW(shelltest::Wide(rwtest::ToWin32Path(sources)), nullptr);
    shelltest::WriteFile(shell.Path("Reelwright.xml"),
                         "<?xml version=\"1.0\"?><Corvantis><Basic><showmenu>true</showmenu><max_tasks>2"
                         "</max_tasks><param_sel>MP4 H.264 Video</param_sel><output_path>" +
                             rwtest::ToWin32Path(outputs) + "</output_path></Basic></Corvantis>");
    if (!shell.Start())
        return 1;
    CMainFrame* frame = shell.Frame();
    CListWnd* list = frame ? frame->ListPanel() : nullptr;
    if (!list)
        return 1;
    frame->SetWindowPos(nullptr, 0, 0, 960, 640, SWP_NOZORDER);
    std::vector<CString> paths;
    const std::pair<const char*, const char*> files[] = {{rwtest::kLong25s, "Holiday at the sea.mp4"},
                                                         {rwtest::kLong25s, "Birthday party.mp4"},
                                                         {rwtest::kClipAvi, "Concert.avi"}};
    for (const auto& file : files)
    {
        const CString path = shelltest::Wide(rwtest::ToWin32Path(sources + "/" + file.second));
        ::CopyFileW(shelltest::Wide(rwtest::ToWin32Path(rwtest::Media(file.first))), path, FALSE);
        paths.push_back(path);
    }
    list->SendMessage(WM_DROPFILES, WPARAM(rwtest::MakeDrop(paths)), 0);
    shell.Pump();
    frame->SendMessage(WM_COMMAND, ID_ACTION_START);
    const DWORD start = ::GetTickCount();
    while (!ConversionsUnderWay() && ::GetTickCount() - start < kHangLimitMs)
    {
        shell.Pump(1);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    shell.Pump();
    RECT rc;
    frame->GetWindowRect(&rc);
    DibCanvas screen(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    HDC dc = ::GetDC(nullptr);
    ::BitBlt(screen.dc(), 0, 0, screen.width(), screen.height(), dc, 0, 0, SRCCOPY);
    ::ReleaseDC(nullptr, dc);
    ::GdiFlush();
    RECT all = {0, 0, screen.width(), screen.height()};
    ::IntersectRect(&rc, &rc, &all);
    const std::string path = folder + "/main-converting.png";
    const bool ok = rwtest::WritePng(path, screen, rc);
    printf("%s %s\n", ok ? "wrote" : "FAILED", path.c_str());
    shell.Stop();
    return ok ? 0 : 1;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        fprintf(stderr, "usage: TaskListShots OUTPUT-FOLDER\n");
        return 2;
    }
    const int status = Photograph(argv[1]);
    AfxRunExitHandlers();
    return status;
}
