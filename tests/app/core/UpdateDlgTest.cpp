#include "RwTest.h"

#include "UpdateTestUtil.h"
#include "app/core/LangMgr.h"
#include "app/core/UpdateDlg.h"

#include <vector>

using coretest::WinPath;
using coretest::WriteFile;

namespace
{
std::vector<CString> g_asked;

int AskOk(const CString& key)
{
    g_asked.push_back(key);
    return IDOK;
}

bool Shown(HWND dialog, int id)
{
    return (::GetWindowLongW(::GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

CString ItemText(CWnd& dialog, int id)
{
    CString text;
    dialog.GetDlgItemText(id, text);
    return text;
}

void CALLBACK PressOk(HWND, UINT, UINT_PTR, DWORD)
{
    try
    {
        HWND tip = ::FindWindowW(nullptr, LangMgr::GetText(L"update_update_tip_title"));
        if (tip)
            ::PostMessageW(tip, WM_COMMAND, IDOK, 0);
    }
    catch (...)
    {
    }
}

class UpdateDlgTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            LangMgr::LoadLanguageFile(coretest::Utf8(rwtest::ToWin32Path(rwtest::ProgramDir() + "/lang/English.xml"))));
        g_asked.clear();
        g_updateAsk = AskOk;
        dir = rwtest::ScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
        manager.m_programDir = WinPath(dir) + L"\\";
    }
    UpdateManager manager;
    std::string dir;
};
} // namespace

TEST_F(UpdateDlgTest, ShowsEachStateWithItsTextAndControls)
{
    UpdateDlg dialog;
    ASSERT_TRUE(dialog.Create(UpdateDlg::IDD));
    HWND window = dialog.m_hWnd;
    CString title;
    dialog.GetWindowText(title);
    EXPECT_EQ(LangMgr::GetText(L"update_title"), title);
    EXPECT_EQ(LangMgr::GetText(L"update_btn_check"), ItemText(dialog, IDC_UPDATE_CHECK));
    EXPECT_EQ(LangMgr::GetText(L"update_btn_ignore"), ItemText(dialog, IDC_UPDATE_ABORT));
    EXPECT_EQ(LangMgr::GetText(L"idclose"), ItemText(dialog, IDCANCEL));

    struct Case
    {
        int state;
        ULONG progress, maximum;
        CString text;
        bool progressShown, checkShown, abortShown;
        int position;
    } cases[] = {
        {kUpdateIdle, 0, 0, LangMgr::GetText(L"update_menual_wait"), false, true, false, 0},
        {kUpdateChecking, 0, 0, LangMgr::GetText(L"update_check"), false, false, true, 0},
        // Found: nothing changes on the screen.
        {kUpdateFound, 0, 0, LangMgr::GetText(L"update_check"), false, false, true, 0},
        {kUpdateDownloading, 0, 0, LangMgr::GetText(L"update_download"), true, false, true, 0},
        {kUpdateDownloading, 50, 200, LangMgr::GetText(L"update_download") + L"(50/200)", true, false, true, 25},
        {kUpdateDownloading, 200, 200, LangMgr::GetText(L"update_download") + L"(200/200)", true, false, true, 100},
        {kUpdateRestart, 0, 0, LangMgr::GetText(L"update_restart"), false, false, false, 100},
        {kUpdateNewest, 0, 0, LangMgr::GetText(L"update_newest"), false, false, false, 100},
        {kUpdateAborted, 0, 0, LangMgr::GetText(L"update_err_abort"), false, true, false, 100},
        {kUpdateError, 0, 0, LangMgr::GetText(L"update_err"), false, false, false, 100},
        {kUpdateNetError, 0, 0, LangMgr::GetText(L"update_net"), false, true, false, 100},
    };
    // The abort button shows while a check or a package download runs; the check button again
    // after a check failed or was aborted.
    for (const Case& c : cases)
    {
        manager.m_state = c.state;
        manager.m_progress = c.progress;
        manager.m_maximum = c.maximum;
        dialog.SendMessage(WM_TIMER, UpdateDlg::kStateTimer);
        EXPECT_EQ(c.text, ItemText(dialog, IDC_UPDATE_STATE)) << c.state;
        EXPECT_EQ(c.progressShown, Shown(window, IDC_UPDATE_PROGRESS)) << c.state;
        EXPECT_EQ(c.checkShown, Shown(window, IDC_UPDATE_CHECK)) << c.state;
        EXPECT_EQ(c.abortShown, Shown(window, IDC_UPDATE_ABORT)) << c.state;
        EXPECT_EQ(c.position, int(::SendDlgItemMessageW(window, IDC_UPDATE_PROGRESS, PBM_GETPOS, 0, 0))) << c.state;
    }
    dialog.DestroyWindow();
}

TEST_F(UpdateDlgTest, ChecksOnceAndAbortsOnRequest)
{
    UpdateDlg dialog;
    ASSERT_TRUE(dialog.Create(UpdateDlg::IDD));
    EXPECT_TRUE(Shown(dialog.m_hWnd, IDC_UPDATE_CHECK));
    // No updater beside the program: the check ends in the error state at once.
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_UPDATE_CHECK, BN_CLICKED),
                       LPARAM(::GetDlgItem(dialog.m_hWnd, IDC_UPDATE_CHECK)));
    EXPECT_EQ(kUpdateError, manager.m_state);
    dialog.SendMessage(WM_TIMER, UpdateDlg::kStateTimer);
    EXPECT_EQ(LangMgr::GetText(L"update_err"), ItemText(dialog, IDC_UPDATE_STATE));
    EXPECT_FALSE(Shown(dialog.m_hWnd, IDC_UPDATE_CHECK));

    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_UPDATE_ABORT, BN_CLICKED),
                       LPARAM(::GetDlgItem(dialog.m_hWnd, IDC_UPDATE_ABORT)));
    EXPECT_EQ(std::vector<CString>{L"update_abort"}, g_asked);
    EXPECT_EQ(1, manager.m_abort);
    dialog.DestroyWindow();
}

TEST_F(UpdateDlgTest, TipShowsTheReleaseNotesOfTheSystemLanguage)
{
    CString systemKey;
    systemKey.Format(L"0x%02x", unsigned(::GetSystemDefaultLCID() & 0xFF));
    const std::string key = coretest::Narrow(systemKey);
    struct Case
    {
        int importance;
        std::string describe;
        const WCHAR* level;
        CString notes;
    } cases[] = {
        {1, key + "=First\\nSecond\\tend\r\n0x00=Fallback\r\n", L"update_level1", L"First\r\nSecond    end"},
        {2, "0x00=Fallback\\nnotes\r\n", L"update_level2", L"Fallback\r\nnotes"},
        {5, "", L"update_level0", L""},
    };
    ::CreateDirectoryW(manager.m_programDir + L"update", nullptr);
    for (const Case& c : cases)
    {
        WriteFile(dir + "/update/update.ini", "[UpdateInfo]\r\nLatestVersion=5.0.0.9\r\n[Describe]\r\n" + c.describe);
        manager.m_latestVersion = L"5.0.0.9";
        manager.m_buildDate = L"2026-12-01";
        manager.m_importance = c.importance;
        ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, GetUpdateInfoPath());
        CUpdateTip tip;
        ASSERT_TRUE(tip.Create(CUpdateTip::IDD));
        const CString expected = LangMgr::GetText(L"update_new_ver") + L"5.0.0.9\r\n" +
                                 LangMgr::GetText(L"update_date") + L"2026-12-01\r\n" +
                                 LangMgr::GetText(L"update_importance") + LangMgr::GetText(c.level) + L"\r\n\r\n" +
                                 LangMgr::GetText(L"update_describe") + L"\r\n" + c.notes;
        EXPECT_EQ(expected, ItemText(tip, IDC_UPDATE_TIP_TEXT)) << c.importance;
        CString title;
        tip.GetWindowText(title);
        EXPECT_EQ(LangMgr::GetText(L"update_update_tip_title"), title);
        EXPECT_EQ(LangMgr::GetText(L"update_found"), ItemText(tip, IDC_UPDATE_STATE));
        EXPECT_EQ(LangMgr::GetText(L"update_now"), ItemText(tip, IDOK));
        EXPECT_EQ(LangMgr::GetText(L"update_later"), ItemText(tip, IDCANCEL));
        tip.DestroyWindow();
    }
    // Run modally as the manager does; the OK button asks for the download.
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, PressOk);
    EXPECT_EQ(IDOK, ShowUpdateTip(manager));
    ::KillTimer(nullptr, timer);
}
