// The task list panel driven inside the running program as a user drives it: files dropped on it,
// conversions started, paused, stopped and deleted from the frame's commands, the completion
// action, closing while converting, column sorting, the log window, the properties dialog and a
// language switch. Outputs are read back from disk.
#include "ShellHarness.h"

#include "MediaReadBack.h"
#include "ModalScript.h"
#include "TestMedia.h"
#include "tests/app/core/CoreTestUtil.h"
#include "app/core/Helpers.h"
#include "app/core/LangMgr.h"
#include "DropFiles.h"
#include "app/core/VideoManager.h"
#include "app/shell/ListWnd.h"
#include "app/shell/LogDialog.h"
#include "app/shell/PropGeneralPage.h"
#include "app/shell/PropertyDlg.h"
#include "app/shell/TaskCells.h"
#include "engine/Encoder.h"
#include "engine/Engine.h"
#include "resources/resource.h"

#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <set>

using shelltest::ShellHarness;
using shelltest::Wide;

namespace
{
// Waits (pumping the program's messages) until the condition holds; false after a generous
// safety limit, which only a hang reaches.
const DWORD kHangLimitMs = 180000;

bool PumpUntil(ShellHarness& shell, const std::function<bool()>& done, const std::function<void()>& each = nullptr)
{
    const DWORD start = ::GetTickCount();
    for (;;)
    {
        shell.Pump(1);
        if (each)
            each();
        if (done())
            return true;
        if (::GetTickCount() - start > kHangLimitMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

CString WinPathOf(const std::string& unixPath)
{
    return Wide(rwtest::ToWin32Path(unixPath));
}

bool CopyMedia(const char* name, const std::string& to)
{
    return ::CopyFileW(WinPathOf(rwtest::Media(name)), WinPathOf(to), FALSE) != FALSE;
}

std::string Cell(CListWnd* list, int row, int column)
{
    return rwtest::Utf8(list->m_list.GetItemText(row, column));
}

std::string Text(LPCWSTR key)
{
    return rwtest::Utf8(LangMgr::GetText(key));
}

ConvertTask* TaskOf(CListWnd* list, int row)
{
    ConvertTask* task = nullptr;
    return CVideoManager::FindTask(list->TaskIdOfRow(row), &task) ? task : nullptr;
}

// The Unix path of a task's output (the engine may know it by its short name).
std::string OutputOf(const ConvertTask& task)
{
    return coretest::UnixOf(task.m_job.outputPath);
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW(WinPathOf(folder) + L"\\*", &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(rwtest::Utf8(found.cFileName));
    while (::FindNextFileW(find, &found));
    ::FindClose(find);
    return names;
}

struct FindById
{
    int id;
    HWND found;
};

BOOL CALLBACK MatchControl(HWND window, LPARAM data)
{
    FindById* find = reinterpret_cast<FindById*>(data);
    if (::GetDlgCtrlID(window) == find->id)
    {
        find->found = window;
        return FALSE;
    }
    return TRUE;
}

// A control anywhere below a window.
HWND Descendant(HWND root, int id)
{
    FindById find = {id, nullptr};
    ::EnumChildWindows(root, MatchControl, LPARAM(&find));
    return find.found;
}

std::string WindowText(HWND window)
{
    WCHAR text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return rwtest::Utf8(text);
}

// The program with the settings a scenario needs, and the task list panel.
class TaskListScenario : public ::testing::Test
{
  protected:
    void Start(const std::string& name, int maxTasks, int completionAction, const std::string& extra = "")
    {
        m_shell.reset(new ShellHarness("TaskList" + name));
        m_outputs = m_shell->Path("out folder");
        m_sources = m_shell->Path("My clips v1.0. new");
        ::CreateDirectoryW(WinPathOf(m_sources), nullptr);
        shelltest::WriteFile(m_shell->Path("Reelwright.xml"),
                             "<?xml version=\"1.0\"?><Corvantis><Basic><del_uncompleted>true</del_uncompleted>"
                             "<action_completed>" +
                                 std::to_string(completionAction) + "</action_completed><max_tasks>" +
                                 std::to_string(maxTasks) + "</max_tasks><output_path>" +
                                 rwtest::ToWin32Path(m_outputs) + "</output_path>" + extra + "</Basic></Corvantis>");
        // The target panel offers the newest folder of its history.
        ::CreateDirectoryW(WinPathOf(m_outputs), nullptr);
        ::WritePrivateProfileStringW(L"OutputDir", L"0", WinPathOf(m_outputs), WinPathOf(m_shell->Path("Reelwright.ini")));
        ASSERT_TRUE(m_shell->Start());
        m_list = m_shell->Frame()->ListPanel();
        ASSERT_NE(m_list, nullptr);
    }
    void TearDown() override
    {
        g_exitWindows = ::ExitWindowsEx;
        if (m_shell)
            m_shell->Stop();
    }

    // Copies test media into the sources folder under the given names; their Win32 paths.
    std::vector<CString> Sources(const std::vector<std::pair<const char*, std::string>>& files)
    {
        std::vector<CString> paths;
        for (const auto& file : files)
        {
            const std::string path = m_sources + "/" + file.second;
            EXPECT_TRUE(CopyMedia(file.first, path)) << file.second;
            paths.push_back(WinPathOf(path));
        }
        return paths;
    }
    void Drop(const std::vector<CString>& paths)
    {
        m_list->SendMessage(WM_DROPFILES, WPARAM(rwtest::MakeDrop(paths)), 0);
        m_shell->Pump();
    }
    void Command(UINT id)
    {
        m_shell->Frame()->SendMessage(WM_COMMAND, id, 0);
    }
    // Waits until no task is running or queued and the progress timer has stopped.
    bool WaitForTheEnd(const std::function<void()>& each = nullptr)
    {
        return PumpUntil(
            *m_shell, [&] { return !m_list || !m_list->ProgressTimerRunning(); }, each);
    }

    std::unique_ptr<ShellHarness> m_shell;
    CListWnd* m_list = nullptr;
    std::string m_outputs;
    std::string m_sources;
};
} // namespace

// Two clips (one named in three scripts) in a folder with dots and spaces and a text file are
// dropped: two checked rows and one error-list entry with its reason. Start converts them one at a
// time; the rows show progress and time left, end "complete" and unchecked, and the outputs read
// back.
TEST_F(TaskListScenario, DroppedClipsConvertOneAtATime)
{
    Start("Drop", 1, 0);
    std::vector<CString> paths =
        Sources({{rwtest::kClipMp4, "\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE \xE6\x98\xA0\xE7\x94\xBB \xCF\x84\xCE\xB1.mp4"},
                 {rwtest::kClipAvi, "second clip.avi"}});
    const std::string notes = m_sources + "/notes.txt";
    shelltest::WriteFile(notes, "not a film\n");
    paths.push_back(WinPathOf(notes));

    std::vector<std::pair<std::string, std::string>> entries;
    std::string title;
    rwtest::RunModalScript(
        [&] { return INT_PTR(m_list->SendMessage(WM_DROPFILES, WPARAM(rwtest::MakeDrop(paths)), 0)); },
        {[&](HWND dialog) {
            title = WindowText(dialog);
            HWND control = ::GetDlgItem(dialog, IDC_ERRORLIST);
            const int count = int(::SendMessageW(control, LVM_GETITEMCOUNT, 0, 0));
            for (int row = 0; row < count; ++row)
            {
                WCHAR name[MAX_PATH] = {}, reason[512] = {};
                LVITEMW item = {};
                item.pszText = name;
                item.cchTextMax = MAX_PATH;
                ::SendMessageW(control, LVM_GETITEMTEXTW, row, LPARAM(&item));
                item.iSubItem = 1;
                item.pszText = reason;
                item.cchTextMax = 512;
                ::SendMessageW(control, LVM_GETITEMTEXTW, row, LPARAM(&item));
                entries.push_back({rwtest::Utf8(name), rwtest::Utf8(reason)});
            }
            ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        }});
    m_shell->Pump();
    EXPECT_EQ(title, Text(L"err_title"));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].first, "notes.txt");
    EXPECT_EQ(entries[0].second, Text(L"err_add_text"));

    ASSERT_EQ(m_list->m_list.GetItemCount(), 2);
    for (int row = 0; row < 2; ++row)
    {
        EXPECT_TRUE(m_list->m_list.GetCheck(row)) << row;
        EXPECT_EQ(Cell(m_list, row, CListWnd::kColumnStatus), "-");
        EXPECT_EQ(Cell(m_list, row, CListWnd::kColumnLength), "00:00:03");
        EXPECT_EQ(Cell(m_list, row, CListWnd::kColumnPath), rwtest::Utf8(paths[size_t(row)]));
        EXPECT_EQ(Cell(m_list, row, CListWnd::kColumnSize),
                  rwtest::Utf8(FormatTaskSize(TaskOf(m_list, row)->EstimateOutputSize())));
    }
    EXPECT_EQ(Cell(m_list, 0, CListWnd::kColumnName),
              "\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE \xE6\x98\xA0\xE7\x94\xBB \xCF\x84\xCE\xB1.mp4");
    EXPECT_EQ(Cell(m_list, 1, CListWnd::kColumnName), "second clip.avi");
    EXPECT_EQ(Cell(m_list, 0, CListWnd::kColumnProfile), "DivX Movie");

    // Start: one at a time, in row order; a running row shows its bar and time left.
    std::vector<int> startOrder;
    int mostRunning = 0;
    bool barSeen = false, timeLeftSeen = false;
    auto watch = [&] {
        if (CVideoManager::CountRunning() > mostRunning)
            mostRunning = CVideoManager::CountRunning();
        for (int row = 0; row < m_list->m_list.GetItemCount(); ++row)
        {
            const ConvertTask* task = TaskOf(m_list, row);
            if (!task || task->m_state != kTaskRunning)
                continue;
            if (std::find(startOrder.begin(), startOrder.end(), task->m_id) == startOrder.end())
                startOrder.push_back(task->m_id);
            barSeen = barSeen || m_list->m_list.RecordOf(row)->barShown;
            const std::string left = Cell(m_list, row, CListWnd::kColumnTimeLeft);
            timeLeftSeen = timeLeftSeen || (left.size() == 8 && left[2] == ':' && left[5] == ':');
        }
    };
    Command(ID_ACTION_START);
    watch();
    ASSERT_TRUE(m_list->ProgressTimerRunning());
    ASSERT_TRUE(WaitForTheEnd(watch));
    EXPECT_EQ(mostRunning, 1);
    EXPECT_TRUE(barSeen);
    EXPECT_TRUE(timeLeftSeen);
    EXPECT_EQ(startOrder, std::vector<int>({m_list->TaskIdOfRow(0), m_list->TaskIdOfRow(1)}));
    for (int row = 0; row < 2; ++row)
    {
        SCOPED_TRACE(row);
        const ConvertTask* task = TaskOf(m_list, row);
        ASSERT_NE(task, nullptr);
        EXPECT_EQ(task->m_state, kTaskDone);
        EXPECT_EQ(Cell(m_list, row, CListWnd::kColumnStatus), Text(L"complete"));
        EXPECT_EQ(Cell(m_list, row, CListWnd::kColumnTimeLeft), "-");
        EXPECT_FALSE(m_list->m_list.GetCheck(row));
        EXPECT_FALSE(m_list->m_list.RecordOf(row)->barShown);
        const rwtest::ReadBack back = rwtest::ReadMediaFile(OutputOf(*task));
        ASSERT_TRUE(back.opened) << OutputOf(*task);
        EXPECT_NE(back.Find(AVMEDIA_TYPE_VIDEO), nullptr);
        EXPECT_NE(back.Find(AVMEDIA_TYPE_AUDIO), nullptr);
        EXPECT_NEAR(back.seconds, rwtest::kClipSeconds, 0.5);
    }
    // The first output keeps the three scripts of its source's name.
    EXPECT_NE(OutputOf(*TaskOf(m_list, 0)).find("\xE6\x98\xA0\xE7\x94\xBB"), std::string::npos);
}

// A source that opens but cannot be converted, and one gone before it ran, both end "iderror" and
// unchecked with the reason in their logs; they keep the "close" completion action from running.
TEST_F(TaskListScenario, FailedTasksShowErrorAndBlockClosing)
{
    Start("Fail", 3, 1);
    std::vector<CString> paths =
        Sources({{rwtest::kClipMp4, "good.mp4"}, {rwtest::kClipAvi, "spoilt.avi"}, {rwtest::kClipMp4, "vanished.mp4"}});
    Drop(paths);
    ASSERT_EQ(m_list->m_list.GetItemCount(), 3);
    // Spoilt after it was added: it still opens as a file, but holds no media any more.
    ASSERT_TRUE(::CopyFileW(WinPathOf(rwtest::Media(rwtest::kGarbageAvi)), paths[1], FALSE));
    ASSERT_TRUE(::DeleteFileW(paths[2]));
    Command(ID_ACTION_START);
    // The vanished source fails at once: its row says so before any tick.
    EXPECT_EQ(TaskOf(m_list, 2)->m_state, kTaskFailed);
    EXPECT_EQ(Cell(m_list, 2, CListWnd::kColumnStatus), Text(L"iderror"));
    EXPECT_FALSE(m_list->m_list.GetCheck(2));
    ASSERT_TRUE(WaitForTheEnd());
    EXPECT_EQ(TaskOf(m_list, 0)->m_state, kTaskDone);
    for (int row : {1, 2})
    {
        SCOPED_TRACE(row);
        const ConvertTask* task = TaskOf(m_list, row);
        EXPECT_EQ(task->m_state, kTaskFailed);
        EXPECT_EQ(Cell(m_list, row, CListWnd::kColumnStatus), Text(L"iderror"));
        EXPECT_FALSE(m_list->m_list.GetCheck(row));
        EXPECT_FALSE(task->m_log.IsEmpty());
    }
    EXPECT_NE(rwtest::Utf8(TaskOf(m_list, 2)->m_log).find("no longer exists"), std::string::npos);
    // No completion action: the window stays.
    m_shell->Pump();
    ASSERT_NE(m_shell->Frame(), nullptr);
    EXPECT_TRUE(::IsWindow(m_shell->Frame()->m_hWnd));
}

// "close" closes once every task is done.
TEST_F(TaskListScenario, CloseActionEndsTheProgramWhenAllAreDone)
{
    Start("Close", 2, 1);
    Drop(Sources({{rwtest::kClipMp4, "one.mp4"}}));
    Command(ID_ACTION_START);
    ASSERT_TRUE(PumpUntil(*m_shell, [&] { return m_shell->Frame() == nullptr; }));
    m_list = nullptr;
    m_shell->Stop();
    EXPECT_EQ(FilesIn(m_outputs), std::vector<std::string>({"one.avi"}));
}

// Completion action 2 saves the settings, then shuts the system down once.
TEST_F(TaskListScenario, ShutdownActionSavesTheSettingsFirst)
{
    static int calls;
    static std::string savedWhenCalled;
    static std::string settingsPath;
    calls = 0;
    savedWhenCalled.clear();
    struct Seam
    {
        static BOOL WINAPI Exit(UINT, DWORD)
        {
            ++calls;
            savedWhenCalled = shelltest::ElementText(shelltest::ReadFile(settingsPath), "showmenu");
            return TRUE;
        }
    };
    Start("Shutdown", 2, 2);
    settingsPath = m_shell->Path("Reelwright.xml");
    g_exitWindows = Seam::Exit;
    m_shell->App()->m_settings.showmenu = true;
    Drop(Sources({{rwtest::kClipMp4, "a.mp4"}, {rwtest::kClipAvi, "b.avi"}}));
    Command(ID_ACTION_START);
    ASSERT_TRUE(WaitForTheEnd());
    m_shell->Pump();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(savedWhenCalled, "true");
}

// Pause, stop and delete from the frame's commands; a stopped job's partial output is deleted.
TEST_F(TaskListScenario, PauseStopAndDelete)
{
    Start("PauseStop", 2, 0);
    Drop(Sources({{rwtest::kLong25s, "long.mp4"}, {rwtest::kClipMp4, "short.mp4"}}));
    ASSERT_EQ(m_list->m_list.GetItemCount(), 2);
    // Only the long one converts.
    m_list->m_list.SetCheck(1, FALSE);
    ASSERT_FALSE(m_list->m_list.GetCheck(1));
    Command(ID_ACTION_START);
    ConvertTask* task = TaskOf(m_list, 0);
    ASSERT_EQ(task->m_state, kTaskRunning);
    Command(ID_ACTION_PAUSE);
    EXPECT_EQ(task->m_state, kTaskPaused);
    const std::string output = OutputOf(*task);
    EXPECT_TRUE(shelltest::Exists(output));
    // Paused rows do not keep the timer alive; the paused job keeps its output.
    ASSERT_TRUE(WaitForTheEnd());
    EXPECT_EQ(task->m_state, kTaskPaused);
    // Start resumes it, stop ends it and deletes what it wrote.
    Command(ID_ACTION_START);
    EXPECT_EQ(task->m_state, kTaskRunning);
    Command(ID_ACTION_STOP);
    EXPECT_EQ(task->m_state, kTaskStopped);
    EXPECT_EQ(Cell(m_list, 0, CListWnd::kColumnStatus), Text(L"stop"));
    EXPECT_FALSE(shelltest::Exists(output));
    EXPECT_TRUE(FilesIn(m_outputs).empty());

    // Delete takes the selected rows and their tasks; Delete with nothing selected does nothing.
    m_list->SelectRow(0);
    Command(ID_EDIT_DELETE);
    ASSERT_EQ(m_list->m_list.GetItemCount(), 1);
    EXPECT_EQ(Cell(m_list, 0, CListWnd::kColumnName), "short.mp4");
    EXPECT_EQ(g_tasks.size(), 1u);
    m_list->m_list.SetItemState(-1, 0, LVIS_SELECTED);
    m_list->DeleteSelected();
    EXPECT_EQ(m_list->m_list.GetItemCount(), 1);
}

// Closing the window while two conversions run ends at once: the partial outputs go, no
// temporary file stays, the settings are saved and every shutdown line is logged.
// Points the process's temporary folder at a folder of its own while it lives: test programs
// running beside this one write temporary files of the same pattern into the shared one.
class PrivateTempFolder
{
  public:
    explicit PrivateTempFolder(const std::string& name)
    {
        const CString folder = Wide(rwtest::ToWin32Path(rwtest::ScratchDir(name)));
        for (LPCWSTR variable : kVariables)
            ::SetEnvironmentVariableW(variable, folder);
    }
    ~PrivateTempFolder()
    {
        for (int i = 0; i < 2; ++i)
            ::SetEnvironmentVariableW(kVariables[i], m_saved[i].IsEmpty() ? nullptr : LPCWSTR(m_saved[i]));
    }

  private:
    static constexpr LPCWSTR kVariables[2] = {L"TMP", L"TEMP"};
    static CString Saved(LPCWSTR variable)
    {
        WCHAR value[MAX_PATH] = {};
        return ::GetEnvironmentVariableW(variable, value, MAX_PATH) ? CString(value) : CString();
    }
    CString m_saved[2] = {Saved(kVariables[0]), Saved(kVariables[1])};
};

TEST_F(TaskListScenario, ClosingWhileConvertingCleansUp)
{
    PrivateTempFolder privateTemp("CloseBusyTemp");
    // A profile that takes its time: the window's own end takes a while on this desktop.
    Start("CloseBusy", 2, 0, "<param_sel>MP4 H.264 Video</param_sel>");
    Drop(Sources({{rwtest::kLong25s, "first.mp4"}, {rwtest::kLong25s, "second.mp4"}}));
    Command(ID_ACTION_START);
    ASSERT_EQ(CVideoManager::CountRunning(), 2);
    std::vector<std::string> outputs = {OutputOf(*TaskOf(m_list, 0)), OutputOf(*TaskOf(m_list, 1))};
    // Closing asks first: No keeps the window and both conversions, Yes (below) closes.
    HWND frame = m_shell->Frame()->m_hWnd;
    std::string question;
    auto close = [&](int answer) {
        rwtest::RunModalScript(
            [&] {
                ::SendMessageW(frame, WM_CLOSE, 0, 0);
                return INT_PTR(0);
            },
            {[&question, answer](HWND box) {
                question.clear();
                for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
                {
                    WCHAR text[512] = {}, kind[16] = {};
                    ::GetClassNameW(child, kind, 16);
                    if (::lstrcmpiW(kind, L"Static") == 0 && ::GetWindowTextW(child, text, 512) > 0)
                        question += rwtest::Utf8(text);
                }
                ::SendMessageW(box, WM_COMMAND, answer, 0);
            }});
    };
    close(IDNO);
    EXPECT_EQ(question, rwtest::Utf8(LangMgr::GetText(L"ask_close_converting")));
    ASSERT_TRUE(::IsWindow(frame));
    EXPECT_EQ(CVideoManager::CountRunning(), 2);
    // Both have written something and are far from their end. On a busy machine one conversion
    // can run far ahead before the other writes its first bytes: each is paused as soon as it is
    // under way, and a paused one still counts.
    auto underWay = [&](const ConvertTask* task) {
        CEncoder* job = EngineFindJob(task->m_jobId);
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        const bool working = job && (job->m_state == kEncoderRunning || job->m_state == kEncoderPaused);
        if (!working || job->GetProgress() >= 80 ||
            !::GetFileAttributesExW(WinPathOf(OutputOf(*task)), GetFileExInfoStandard, &data) ||
            data.nFileSizeLow == 0)
            return false;
        if (job->m_state == kEncoderRunning)
            CVideoManager::PauseTasks({task->m_id});
        return true;
    };
    ASSERT_TRUE(PumpUntil(*m_shell, [&] {
        const bool first = underWay(TaskOf(m_list, 0));
        return underWay(TaskOf(m_list, 1)) && first;
    }));
    m_shell->App()->m_settings.skincolor = 5;
    ::DeleteFileW(WinPathOf(m_shell->Path("Reelwright.xml")));
    // The window's own end takes seconds here, long enough for a fast machine to finish both
    // conversions meanwhile: paused, they stay unfinished (and still count as under way).
    ASSERT_EQ(0, CVideoManager::PauseTasks({TaskOf(m_list, 0)->m_id, TaskOf(m_list, 1)->m_id}));
    m_list = nullptr;
    close(IDYES);
    EXPECT_FALSE(::IsWindow(frame));
    m_shell->Stop();
    for (const std::string& output : outputs)
        EXPECT_FALSE(shelltest::Exists(output)) << output;
    EXPECT_TRUE(FilesIn(m_outputs).empty());
    WCHAR temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW(CString(temp) + L"sqv*.tmp", &found);
    EXPECT_EQ(find, INVALID_HANDLE_VALUE);
    if (find != INVALID_HANDLE_VALUE)
        ::FindClose(find);
    EXPECT_EQ(shelltest::ElementText(m_shell->Settings(), "skincolor"), "5");
    const std::string log = m_shell->Log();
    size_t at = 0;
    for (const char* line : {"do ExitInstance!\n", "CVideoManager remove all!\n", "CVideoManager DeleteTempFiles!\n",
                             "save_config!\n", "clear_inst_all!\n", "WVPSkinManager()->RemoveAll()!\n"})
    {
        const size_t found = log.find(line, at);
        EXPECT_NE(found, std::string::npos) << line;
        at = found == std::string::npos ? at : found;
    }
}

// A click on a column title sorts the rows by value (sizes and lengths too), reorders the tasks,
// and the next Start converts in the new order.
TEST_F(TaskListScenario, HeaderClickSortsRowsAndTasks)
{
    Start("Sort", 1, 0);
    Drop(Sources({{rwtest::kLong25s, "a long.mp4"}, {rwtest::kClipMp4, "b clip.mp4"}, {rwtest::kHd720, "c hd.mp4"}}));
    ASSERT_EQ(m_list->m_list.GetItemCount(), 3);
    const std::string longSize = Cell(m_list, 0, CListWnd::kColumnSize);
    ASSERT_NE(longSize.find(" M"), std::string::npos) << longSize;
    // A real click on the "output_size" title.
    HWND header = ::GetDlgItem(m_list->m_list.m_hWnd, 0);
    RECT item = {};
    ::SendMessageW(header, HDM_GETITEMRECT, CListWnd::kColumnSize, LPARAM(&item));
    const LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    ::SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageW(header, WM_LBUTTONUP, 0, point);
    m_shell->Pump();
    EXPECT_EQ(m_list->m_nLastSortColumn, CListWnd::kColumnSize);
    EXPECT_EQ(m_list->m_bSortAscending, 1);
    const std::vector<std::string> expected = {"c hd.mp4", "b clip.mp4", "a long.mp4"};
    for (int row = 0; row < 3; ++row)
    {
        EXPECT_EQ(Cell(m_list, row, CListWnd::kColumnName), expected[size_t(row)]);
        EXPECT_EQ(g_tasks[size_t(row)]->m_id, m_list->TaskIdOfRow(row));
    }
    // A second click turns the order round.
    ::SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageW(header, WM_LBUTTONUP, 0, point);
    m_shell->Pump();
    EXPECT_EQ(m_list->m_bSortAscending, 0);
    EXPECT_EQ(Cell(m_list, 0, CListWnd::kColumnName), "a long.mp4");
    // Back to ascending by length, then convert: the shortest first.
    m_list->SortByColumn(CListWnd::kColumnLength, true);
    std::vector<int> startOrder;
    auto watch = [&] {
        for (ConvertTask* task : g_tasks)
            if (task->m_state == kTaskRunning &&
                std::find(startOrder.begin(), startOrder.end(), task->m_id) == startOrder.end())
                startOrder.push_back(task->m_id);
    };
    const std::vector<int> rowOrder = {m_list->TaskIdOfRow(0), m_list->TaskIdOfRow(1), m_list->TaskIdOfRow(2)};
    EXPECT_EQ(Cell(m_list, 0, CListWnd::kColumnName), "c hd.mp4");
    Command(ID_ACTION_START);
    watch();
    ASSERT_TRUE(WaitForTheEnd(watch));
    EXPECT_EQ(startOrder, rowOrder);
}

// The log window follows the selected row; the properties dialog shows the media fields and steps
// through the tasks, selecting each in the list.
TEST_F(TaskListScenario, LogWindowAndPropertiesFollowTheRows)
{
    Start("LogProps", 1, 0);
    Drop(Sources({{rwtest::kClipMp4, "one.mp4"}, {rwtest::kAudioMp3, "two.mp3"}}));
    ASSERT_EQ(m_list->m_list.GetItemCount(), 2);
    TaskOf(m_list, 0)->m_log = L"first task's log\n";
    TaskOf(m_list, 1)->m_log = L"second task's log\n";
    m_list->SelectRow(0);
    m_shell->Frame()->SendMessage(CLogDialog::kToggleMessage, 1, 0);
    CLogDialog* log = m_shell->Frame()->LogWindow();
    ASSERT_NE(log, nullptr);
    auto shown = [&] {
        CString text;
        log->GetDlgItemText(CLogDialog::kTextId, text);
        return rwtest::Utf8(text);
    };
    EXPECT_EQ(shown(), "first task's log\r\n");
    m_list->SelectRow(1);
    EXPECT_EQ(shown(), "second task's log\r\n");
    // Its close button ends it; the frame forgets it once the click is over.
    log->SendMessage(WM_COMMAND, IDCANCEL, 0);
    m_shell->Pump();
    EXPECT_EQ(m_shell->Frame()->LogWindow(), nullptr);

    m_list->SelectRow(0);
    std::vector<std::string> pixels, locations;
    std::vector<bool> selected;
    rwtest::RunModalScript([&] { return INT_PTR(m_shell->Frame()->SendMessage(WM_COMMAND, ID_FILE_PROPERTY)); },
                           {[&](HWND dialog) {
                                pixels.push_back(WindowText(Descendant(dialog, IDC_PROP_VALUE_7)));
                                locations.push_back(WindowText(Descendant(dialog, CPropGeneralPage::kLocationId)));
                                ::SendMessageW(dialog, WM_COMMAND, IDC_PROP_NEXT, 0);
                            },
                            [&](HWND dialog) {
                                pixels.push_back(WindowText(Descendant(dialog, IDC_PROP_VALUE_7)));
                                locations.push_back(WindowText(Descendant(dialog, CPropGeneralPage::kLocationId)));
                                selected.push_back(m_list->m_list.GetItemState(1, LVIS_SELECTED) != 0);
                                selected.push_back(m_list->m_list.GetItemState(0, LVIS_SELECTED) != 0);
                                ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                            }});
    ASSERT_EQ(pixels.size(), 2u);
    EXPECT_EQ(pixels[0], "320*240 pixels");
    EXPECT_NE(locations[0].find("one.mp4"), std::string::npos);
    EXPECT_NE(locations[1].find("two.mp3"), std::string::npos);
    EXPECT_EQ(selected, std::vector<bool>({true, false}));
}

// A language switch re-translates the column titles and the status texts.
TEST_F(TaskListScenario, LanguageSwitchRetranslatesTitlesAndStates)
{
    Start("Language", 2, 0);
    shelltest::WriteFile(m_shell->Path("lang/Testish.xml"),
                         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><langfile><langinfo><name>Testish</name>"
                         "<localid>9999</localid></langinfo><language><filename>Nom</filename>"
                         "<status>Etat</status><complete>Fini</complete><iderror>Echec</iderror>"
                         "</language></langfile>");
    Drop(Sources({{rwtest::kClipMp4, "ok.mp4"}, {rwtest::kClipMp4, "gone.mp4"}}));
    ::DeleteFileW(WinPathOf(m_sources + "/gone.mp4"));
    Command(ID_ACTION_START);
    ASSERT_TRUE(WaitForTheEnd());
    EXPECT_EQ(Cell(m_list, 0, CListWnd::kColumnStatus), Text(L"complete"));
    LangMgr::ScanLanguages(m_shell->App()->m_programDir + L"lang\\");
    int testish = -1;
    for (int i = 0; i < LangMgr::GetLanguageCount(); i++)
        if (LangMgr::GetLanguageName(i) == L"Testish")
            testish = i;
    ASSERT_GE(testish, 0);
    Command(ID_LANGUAGE_FIRST + testish);
    auto title = [&](int column) {
        WCHAR text[64] = {};
        HDITEMW item = {};
        item.mask = HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        ::SendMessageW(::GetDlgItem(m_list->m_list.m_hWnd, 0), HDM_GETITEMW, column, LPARAM(&item));
        return rwtest::Utf8(text);
    };
    EXPECT_EQ(title(CListWnd::kColumnName), "Nom");
    EXPECT_EQ(title(CListWnd::kColumnStatus), "Etat");
    EXPECT_EQ(Cell(m_list, 0, CListWnd::kColumnStatus), "Fini");
    EXPECT_EQ(Cell(m_list, 1, CListWnd::kColumnStatus), "Echec");
}

// The file dialog and the folder picker (stand-ins here) add files too: the dialog's files end as
// the only selected rows, a folder adds every file below it (sub-folders too) to the selection.
// Ctrl+A selects every row, Delete removes the selected ones, Ctrl+Delete nothing.
TEST_F(TaskListScenario, FileDialogFolderAndKeys)
{
    Start("AddWays", 1, 0);
    static std::vector<CString> chosen;
    static CString folder;
    struct Choosers
    {
        static bool Files(std::vector<CString>& paths)
        {
            paths.insert(paths.end(), chosen.begin(), chosen.end());
            return true;
        }
        static CString Folder()
        {
            return folder;
        }
    };
    const CListWnd::FileChooser previousFiles = CListWnd::s_chooseFiles;
    const CListWnd::FolderChooser previousFolder = CListWnd::s_chooseFolder;
    CListWnd::s_chooseFiles = Choosers::Files;
    CListWnd::s_chooseFolder = Choosers::Folder;

    chosen = Sources({{rwtest::kClipMp4, "dialog one.mp4"}, {rwtest::kAudioMp3, "dialog two.mp3"}});
    Command(ID_FILE_ADDFILE);
    ASSERT_EQ(m_list->m_list.GetItemCount(), 2);
    const std::string tree = m_shell->Path("tree");
    ::CreateDirectoryW(WinPathOf(tree), nullptr);
    ::CreateDirectoryW(WinPathOf(tree + "/inner"), nullptr);
    ASSERT_TRUE(CopyMedia(rwtest::kClipAvi, tree + "/top.avi"));
    ASSERT_TRUE(CopyMedia(rwtest::kClipMkv, tree + "/inner/deep.mkv"));
    folder = WinPathOf(tree);
    Command(ID_FILE_ADDDIR);
    CListWnd::s_chooseFiles = previousFiles;
    CListWnd::s_chooseFolder = previousFolder;
    ASSERT_EQ(m_list->m_list.GetItemCount(), 4);
    std::set<std::string> names;
    for (int row = 0; row < 4; ++row)
    {
        names.insert(Cell(m_list, row, CListWnd::kColumnName));
        EXPECT_TRUE(m_list->m_list.GetCheck(row)) << row;
        EXPECT_TRUE(m_list->m_list.GetItemState(row, LVIS_SELECTED)) << row;
    }
    EXPECT_EQ(names, std::set<std::string>({"dialog one.mp4", "dialog two.mp3", "top.avi", "deep.mkv"}));
    // The dialog's files replace the selection.
    chosen = Sources({{rwtest::kClipMp4, "later.mp4"}});
    CListWnd::s_chooseFiles = Choosers::Files;
    Command(ID_FILE_ADDFILE);
    CListWnd::s_chooseFiles = previousFiles;
    ASSERT_EQ(m_list->m_list.GetItemCount(), 5);
    EXPECT_EQ(m_list->m_list.GetSelectedCount(), 1u);
    EXPECT_TRUE(m_list->m_list.GetItemState(4, LVIS_SELECTED));

    auto key = [&](UINT vk, bool control) {
        BYTE keys[256] = {};
        keys[VK_CONTROL] = control ? 0x80 : 0;
        ::SetKeyboardState(keys);
        m_list->m_list.PostMessage(WM_KEYDOWN, vk, 1);
        m_shell->Pump();
        keys[VK_CONTROL] = 0;
        ::SetKeyboardState(keys);
    };
    key(VK_DELETE, true);
    EXPECT_EQ(m_list->m_list.GetItemCount(), 5);
    key('A', true);
    EXPECT_EQ(m_list->m_list.GetSelectedCount(), 5u);
    m_list->SelectRow(1);
    key(VK_DELETE, false);
    EXPECT_EQ(m_list->m_list.GetItemCount(), 4);
    EXPECT_EQ(g_tasks.size(), 4u);
    ASSERT_EQ(m_list->m_list.GetSelectedCount(), 0u);
    key(VK_DELETE, false);
    EXPECT_EQ(m_list->m_list.GetItemCount(), 4);
}
