// The Options dialog on the program's templates, and the task limit it applies.
#include "RwTest.h"
#include "ModalScript.h"
#include "WideText.h"

#include "TestMedia.h"
#include "tests/app/core/CoreTestUtil.h"
#include "tests/platform/mfc/MfcTestApp.h"
#include "app/core/LangMgr.h"
#include "app/core/VideoManager.h"
#include "app/shell/ConfigSheet.h"
#include "app/shell/PreviewSession.h"
#include "engine/Engine.h"

#include <sys/stat.h>

using coretest::WinPath;

namespace
{
bool IsUnixFolder(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

HWND Page(HWND sheet)
{
    return reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

std::string Text(HWND window, int id)
{
    WCHAR text[MAX_PATH] = {};
    ::GetDlgItemTextW(window, id, text, MAX_PATH);
    return rwtest::Utf8(text);
}

class ConfigSheetTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        TestApp().m_messageBoxes.clear();
        LangMgr::LoadLanguageFile(WinPath(rwtest::ProgramDir() + "/lang/English.xml"));
        m_dir = rwtest::ScratchDir(testing::UnitTest::GetInstance()->current_test_info()->name());
        m_savedLimit = g_maxTasks;
    }
    void TearDown() override
    {
        CVideoManager::RemoveAll();
        g_maxTasks = m_savedLimit;
        g_backgroundConversion = 0;
    }
    INT_PTR Run(CConfigSheet& sheet, std::vector<rwtest::ModalStep> steps)
    {
        return rwtest::RunModalScript([&sheet] { return sheet.DoModal(); }, std::move(steps));
    }
    std::string m_dir;
    int m_savedLimit = 1;
};
} // namespace

// An empty snapshot folder becomes the pictures folder, kept even on Cancel; Cancel changes
// nothing else.
TEST_F(ConfigSheetTest, CancelChangesNothing)
{
    AppSettings values;
    values.istray = false;
    values.max_tasks = 2;
    g_maxTasks = 2;
    CConfigSheet sheet(&values);
    const INT_PTR result =
        Run(sheet, {[](HWND sheet) {
                HWND page = Page(sheet);
                EXPECT_EQ(rwtest::Utf8(CPreviewSession::PicturesFolder()), Text(page, CConfigGeneralPage::kSnapPathId));
                ::CheckDlgButton(page, CConfigGeneralPage::kTrayId, BST_CHECKED);
                ::SetDlgItemTextW(page, CConfigGeneralPage::kSnapPathId, L"C:\\elsewhere");
                ::SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
            }});
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_FALSE(values.istray);
    EXPECT_EQ(CPreviewSession::PicturesFolder(), values.snap_path);
    EXPECT_EQ(2, g_maxTasks);
}

// OK creates a missing snapshot folder with its parents; a path naming a file is refused with
// the message and the sheet stays open.
TEST_F(ConfigSheetTest, SnapshotFolderIsCreatedOrRefused)
{
    coretest::WriteFile(m_dir + "/file", "x");
    AppSettings values;
    values.snap_path = WinPath(m_dir);
    CConfigSheet sheet(&values);
    const CString fileText = WinPath(m_dir + "/file");
    const CString newText = WinPath(m_dir + "/a/b");
    const INT_PTR result = Run(sheet, {[&](HWND sheet) {
                                           HWND page = Page(sheet);
                                           ::CheckDlgButton(page, CConfigGeneralPage::kShowMenuId, BST_UNCHECKED);
                                           ::SetDlgItemTextW(page, CConfigGeneralPage::kSnapPathId, fileText);
                                           ::SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
                                       },
                                       [&](HWND sheet) {
                                           EXPECT_EQ(1u, TestApp().m_messageBoxes.size());
                                           HWND page = Page(sheet);
                                           ::SetDlgItemTextW(page, CConfigGeneralPage::kSnapPathId, newText);
                                           ::SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
                                       }});
    EXPECT_EQ(IDOK, result);
    ASSERT_EQ(1u, TestApp().m_messageBoxes.size());
    EXPECT_EQ(LangMgr::GetText(L"err_create_dir"), TestApp().m_messageBoxes[0]);
    EXPECT_TRUE(IsUnixFolder(m_dir + "/a/b"));
    EXPECT_EQ(newText, values.snap_path);
    EXPECT_FALSE(values.showmenu);
}

// The convert page shows the limit and the action, and OK applies them.
TEST_F(ConfigSheetTest, ConvertPageAppliesItsValues)
{
    AppSettings values;
    values.snap_path = WinPath(m_dir);
    values.action_completed = 7; // brought into range
    g_maxTasks = 3;
    CConfigSheet sheet(&values);
    const INT_PTR result =
        Run(sheet, {[](HWND sheet) { ::SendMessageW(sheet, PSM_SETCURSEL, 1, 0); },
                    [](HWND sheet) {
                        HWND page = Page(sheet);
                        EXPECT_EQ(2, ::SendDlgItemMessageW(page, CConfigConvertPage::kMaxTasksId, CB_GETCURSEL, 0, 0));
                        EXPECT_EQ(2, ::SendDlgItemMessageW(page, CConfigConvertPage::kPostId, CB_GETCURSEL, 0, 0));
                        ::SendDlgItemMessageW(page, CConfigConvertPage::kMaxTasksId, CB_SETCURSEL, 4, 0);
                        ::SendDlgItemMessageW(page, CConfigConvertPage::kPostId, CB_SETCURSEL, 1, 0);
                        ::CheckDlgButton(page, CConfigConvertPage::kBackgroundId, BST_CHECKED);
                        ::SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
                    }});
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(5, values.max_tasks);
    EXPECT_EQ(5, g_maxTasks);
    EXPECT_EQ(1, values.action_completed);
    EXPECT_TRUE(values.background);
    EXPECT_EQ(1, g_backgroundConversion.load());
}

// Lowering the limit pauses the tasks beyond it at once; raising it starts the queued tasks at
// once (the paused ones wait for the user).
TEST_F(ConfigSheetTest, TaskLimitAppliesAtOnce)
{
    CategoryArray categories;
    LoadProfiles(categories, WinPath(rwtest::ProgramDir() + "/profiles"));
    ConvertSetting profile;
    ASSERT_TRUE(FindProfileByName(categories, L"DivX Movie", profile));
    profile.SetParamValue(L"s", L"1280x720");
    g_maxTasks = 3;
    std::vector<int> ids;
    for (int i = 0; i < 4; ++i)
        ids.push_back(CVideoManager::AddTask(coretest::Utf8("long" + std::to_string(i) + ".mp4"),
                                             WinPath(rwtest::Media("long25s.mp4")), profile));
    ASSERT_EQ(0, CVideoManager::StartTasks(WinPath(m_dir), ids));
    ASSERT_EQ(3, CVideoManager::CountRunning());
    CConfigConvertPage::ApplyTaskLimit(1);
    EXPECT_EQ(1, CVideoManager::CountRunning());
    EXPECT_EQ(1, g_maxTasks);
    int paused = 0;
    for (int id : ids)
    {
        ConvertTask* task = nullptr;
        ASSERT_TRUE(CVideoManager::FindTask(id, &task));
        paused += task->m_state == kTaskPaused;
    }
    EXPECT_EQ(2, paused);
    ConvertTask* queued = nullptr;
    ASSERT_TRUE(CVideoManager::FindTask(ids[3], &queued));
    EXPECT_EQ(kTaskQueued, queued->m_state);
    CConfigConvertPage::ApplyTaskLimit(3);
    EXPECT_EQ(kTaskRunning, queued->m_state);
    EXPECT_EQ(2, CVideoManager::CountRunning());
    CVideoManager::StopTasks(ids);
}
