// tasklist-bench PROGRAM-FOLDER SOURCES-FOLDER
// The task list with many tasks: runs the program in-process from a program folder of its own
// (languages and profiles), drops every file of the sources folder on the task list, selects all
// rows and starts them, and prints the time the UI thread spent on each step. Then it counts what
// one progress tick of the running rows invalidates in the list, against the list's whole area.
// Folders are Unix paths. Needs an X server (bench/tasklist.sh starts one).
#include "tests/support/DropFiles.h"
#include "app/core/VideoManager.h"
#include "app/shell/ListWnd.h"
#include "app/shell/MainFrame.h"
#include "app/shell/ReelwrightApp.h"
#include "platform/mfc/ExitSequence.h"

#include <shlobj.h>
#include <stdio.h>

#include <string>
#include <vector>

namespace
{
const int kTicks = 3;

double Now()
{
    LARGE_INTEGER count, frequency;
    ::QueryPerformanceCounter(&count);
    ::QueryPerformanceFrequency(&frequency);
    return double(count.QuadPart) / double(frequency.QuadPart);
}

CString DosPath(const char* unixPath)
{
    WCHAR* dos = wine_get_dos_file_name(unixPath);
    CString path = dos ? dos : L"";
    ::HeapFree(::GetProcessHeap(), 0, dos);
    return path;
}

void Pump(CReelwrightApp& app)
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        if (!app.PreTranslateMessage(&msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    for (LONG idle = 0; app.OnIdle(idle); idle++)
        ;
}

std::vector<CString> FilesIn(const CString& folder)
{
    std::vector<CString> files;
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW(folder + L"\\*", &found);
    if (find == INVALID_HANDLE_VALUE)
        return files;
    do
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(folder + L"\\" + found.cFileName);
    while (::FindNextFileW(find, &found));
    ::FindClose(find);
    return files;
}

// The share of the list's client area that waits to be repainted, and the number of rectangles.
void ReportUpdateRegion(HWND list, const char* what)
{
    RECT client;
    ::GetClientRect(list, &client);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    const int kind = ::GetUpdateRgn(list, region, FALSE);
    double area = 0;
    int rects = 0;
    if (kind != NULLREGION && kind != ERROR)
    {
        const DWORD size = ::GetRegionData(region, 0, nullptr);
        std::vector<BYTE> bytes(size);
        RGNDATA* data = reinterpret_cast<RGNDATA*>(bytes.data());
        ::GetRegionData(region, size, data);
        const RECT* rect = reinterpret_cast<const RECT*>(data->Buffer);
        rects = int(data->rdh.nCount);
        for (int i = 0; i < rects; ++i)
            area += double(rect[i].right - rect[i].left) * (rect[i].bottom - rect[i].top);
    }
    ::DeleteObject(region);
    const double whole = double(client.right - client.left) * (client.bottom - client.top);
    printf("%-34s %d rectangles, %.1f %% of the list\n", what, rects, whole > 0 ? 100.0 * area / whole : 0.0);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
    {
        fprintf(stderr, "usage: tasklist-bench PROGRAM-FOLDER SOURCES-FOLDER\n");
        return 2;
    }
    int status = 0;
    {
        CReelwrightApp app;
        app.m_programDir = DosPath(argv[1]) + L"\\";
        app.m_commandLine = L"Reelwright.exe";
        AfxWinInit(::GetModuleHandleW(nullptr), nullptr, const_cast<LPWSTR>(L""), SW_SHOWNORMAL);
        if (!app.InitInstance())
        {
            fprintf(stderr, "the program did not start\n");
            return 1;
        }
        Pump(app);
        CMainFrame* frame = static_cast<CMainFrame*>(app.m_pMainWnd);
        CListWnd* list = frame ? frame->ListPanel() : nullptr;
        const std::vector<CString> sources = FilesIn(DosPath(argv[2]));
        if (!list || sources.empty())
        {
            fprintf(stderr, "no task list or no sources\n");
            status = 1;
        }
        else
        {
            // The media probes alone: the engine's part of adding a file.
            double start = Now();
            for (const CString& source : sources)
            {
                TaskMediaInfo info = {};
                CVideoManager::ProbeMediaInfo(source, info);
            }
            printf("%-34s %.3f s\n", "media probes alone", Now() - start);

            start = Now();
            list->SendMessage(WM_DROPFILES, WPARAM(rwtest::MakeDrop(sources)), 0);
            Pump(app);
            printf("%-34s %.3f s (%d rows)\n", "adding (drop, media probes)", Now() - start,
                   list->m_list.GetItemCount());

            start = Now();
            list->SelectAll();
            list->UpdatePanels();
            Pump(app);
            printf("%-34s %.3f s\n", "selecting all", Now() - start);

            start = Now();
            frame->SendMessage(WM_COMMAND, ID_ACTION_START);
            Pump(app);
            printf("%-34s %.3f s (%d running)\n", "starting", Now() - start, CVideoManager::CountRunning());

            // The running rows are the first ones: in view.
            list->m_list.EnsureVisible(0, FALSE);
            list->m_list.UpdateWindow();
            for (int tick = 0; tick < kTicks; ++tick)
            {
                ::Sleep(CListWnd::kProgressPeriodMs);
                list->m_list.UpdateWindow();
                start = Now();
                list->SendMessage(WM_TIMER, CListWnd::kProgressTimer, 0);
                const double took = Now() - start;
                char what[64];
                snprintf(what, sizeof what, "progress tick %d (%.4f s):", tick + 1, took);
                ReportUpdateRegion(list->m_list.m_hWnd, what);
                Pump(app);
            }
        }
        if (app.m_pMainWnd && app.m_pMainWnd->m_hWnd)
            app.m_pMainWnd->DestroyWindow();
        Pump(app);
        app.ExitInstance();
    }
    AfxRunExitHandlers();
    return status;
}
