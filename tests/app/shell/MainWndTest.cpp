// The target panel in the running program: the output folder history ("Reelwright.ini", the ten
// newest without duplicates ignoring case), folders that cannot be used (refused before anything
// is stored), the folder a conversion starts with, the profile picked with the mouse, the wheel and
// the keys reaching the button and the selected tasks (and converting with it), and a language
// switch.
#include "ShellHarness.h"

#include "MediaReadBack.h"
#include "TestMedia.h"
#include "tests/app/core/CoreTestUtil.h"
#include "app/core/LangMgr.h"
#include "app/core/Profiles.h"
#include "app/core/VideoManager.h"
#include "app/shell/ButtonBarWnd.h"
#include "app/shell/MainWnd.h"
#include "app/shell/ParametersWnd.h"
#include "resources/resource.h"

using coretest::WinPath;
using shelltest::ShellHarness;

namespace
{
const char kRefused[] = "The folder cannot be created. Please choose another folder.";
const int kProfileItem = 48;
const int kCategoryItem = 25;

std::vector<std::string> ReadHistory(const CString& ini)
{
    std::vector<std::string> entries;
    for (int i = 0; i < CMainWnd::kHistorySize; i++)
    {
        WCHAR key[2] = {WCHAR(L'0' + i), 0}, value[1024] = {};
        ::GetPrivateProfileStringW(L"OutputDir", key, L"", value, 1024, ini);
        entries.push_back(rwtest::Utf8(value));
    }
    return entries;
}

std::string WindowText(HWND window)
{
    WCHAR text[256] = {};
    ::GetWindowTextW(window, text, 256);
    return rwtest::Utf8(text);
}

class MainWndTest : public ::testing::Test
{
  protected:
    ShellHarness m_shell{"TargetPanel"};

    void TearDown() override
    {
        CMainWnd::s_onPickerOpened = nullptr;
        CVideoManager::RemoveAll();
        m_shell.Stop();
    }
    CMainWnd* Target()
    {
        return dynamic_cast<CMainWnd*>(m_shell.Frame()->GetPanel(kTargetPanel));
    }
    CString Ini()
    {
        return WinPath(m_shell.Path("Reelwright.ini"));
    }
    // A folder of the test's own (Win32 path), created or not.
    CString Folder(const std::string& name, bool create = true)
    {
        const std::string path = m_shell.Path(name);
        if (create)
            ::CreateDirectoryW(WinPath(path), nullptr);
        return WinPath(path);
    }
    std::string Combo(int index)
    {
        CString text;
        Target()->m_outputCombo.GetLBText(index, text);
        return rwtest::Utf8(text);
    }
    // The user types a text and leaves the combo box.
    void Commit(const CString& text)
    {
        Target()->m_outputCombo.SetWindowText(text);
        Target()->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_OUTPUT_COMBO, CBN_KILLFOCUS),
                              LPARAM(Target()->m_outputCombo.m_hWnd));
        m_shell.Pump(1);
    }
    // A click on the profile button; the picker runs the script.
    void Pick(std::function<void(ParametersWnd&)> script)
    {
        CMainWnd::s_onPickerOpened = script;
        CWnd& button = Target()->m_profileButton;
        button.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
        button.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, 5));
        m_shell.Pump();
        CMainWnd::s_onPickerOpened = nullptr;
    }
    const CategoryArray& Categories()
    {
        return m_shell.App()->m_categories;
    }
    std::string ProfileName(int category, int profile)
    {
        ConvertSetting found;
        EXPECT_TRUE(GetProfileAt(profile, category, Categories(), found));
        return rwtest::Utf8(found.m_name);
    }
};

void Post(CWnd& window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    ::PostMessageW(window.m_hWnd, message, wParam, lParam);
}

void MoveOver(CStyleMenu& list, int y)
{
    Post(list, WM_MOUSEMOVE, 0, MAKELPARAM(20, y));
}

// A point inside an item as the list shows it now (items are as tall as their texts need).
int ItemY(const CStyleMenu& list, int index)
{
    return list.m_items[size_t(index)].top - list.m_nScrollOffset + 5;
}

// Makes a category hot at once, so that the profile list holds its profiles when the script goes on.
void HoverCategory(ParametersWnd& picker, int category)
{
    picker.m_categoryList.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(20, ItemY(picker.m_categoryList, category)));
}
} // namespace

TEST_F(MainWndTest, HistoryIsReadUpToItsFirstGapAndKeepsOnlyFolders)
{
    const CString a = Folder("a"), b = Folder("b"), c = Folder("c");
    const CString file = WinPath(m_shell.Path("file.txt"));
    shelltest::WriteFile(m_shell.Path("file.txt"), "x");
    const CString entries[] = {a, CString(a).MakeUpper(), Folder("gone", false), file, b, L"", c};
    for (int i = 0; i < 7; i++)
    {
        WCHAR key[2] = {WCHAR(L'0' + i), 0};
        ::WritePrivateProfileStringW(L"OutputDir", key, entries[i], Ini());
    }
    ASSERT_TRUE(m_shell.Start());
    ASSERT_EQ(Target()->m_outputCombo.GetCount(), 2);
    EXPECT_EQ(Combo(0), rwtest::Utf8(a));
    EXPECT_EQ(Combo(1), rwtest::Utf8(b));
    // The first entry wins over the saved setting.
    EXPECT_EQ(m_shell.App()->m_settings.output_path, a);
    EXPECT_EQ(WindowText(Target()->m_outputCombo.m_hWnd), rwtest::Utf8(a));
}

TEST_F(MainWndTest, WithoutHistoryTheVideoFolderIsOffered)
{
    ASSERT_TRUE(m_shell.Start());
    ASSERT_EQ(Target()->m_outputCombo.GetCount(), 1);
    const CString expected = GetDefaultMediaFolder(m_shell.App()->m_programDir);
    EXPECT_EQ(Combo(0), rwtest::Utf8(expected));
    EXPECT_EQ(m_shell.App()->m_settings.output_path, expected);
    EXPECT_FALSE(shelltest::Exists(m_shell.Path("Reelwright.ini")));
}

TEST_F(MainWndTest, CommitsKeepTheTenNewestWithoutDuplicatesIgnoringCase)
{
    ASSERT_TRUE(m_shell.Start());
    std::vector<CString> folders;
    for (int i = 0; i < 11; i++)
    {
        // Missing folders are made, with their missing parents.
        folders.push_back(Folder("out" + std::to_string(i) + "/deeper", false));
        Commit(folders.back());
        EXPECT_TRUE(shelltest::Exists(m_shell.Path("out" + std::to_string(i) + "/deeper")));
    }
    // Eleven commits and the first entry: all listed while the program runs, ten in the file.
    EXPECT_EQ(Target()->m_outputCombo.GetCount(), 12);
    std::vector<std::string> history = ReadHistory(Ini());
    for (int i = 0; i < 10; i++)
        EXPECT_EQ(history[i], rwtest::Utf8(folders[10 - i])) << i;

    // An old folder in another letter case moves to the top in its new spelling.
    const CString upper = CString(folders[5]).MakeUpper();
    Commit(upper);
    EXPECT_EQ(Target()->m_outputCombo.GetCount(), 12);
    EXPECT_EQ(Combo(0), rwtest::Utf8(upper));
    EXPECT_EQ(m_shell.App()->m_settings.output_path, upper);
    history = ReadHistory(Ini());
    const int order[] = {10, 9, 8, 7, 6, 4, 3, 2, 1};
    EXPECT_EQ(history[0], rwtest::Utf8(upper));
    for (int i = 0; i < 9; i++)
        EXPECT_EQ(history[i + 1], rwtest::Utf8(folders[order[i]])) << i;

    // The next start lists the file's ten.
    m_shell.Stop();
    ASSERT_TRUE(m_shell.Start());
    ASSERT_EQ(Target()->m_outputCombo.GetCount(), 10);
    EXPECT_EQ(Combo(0), rwtest::Utf8(upper));
    EXPECT_EQ(shelltest::ElementText(m_shell.Settings(), "output_path"), rwtest::Utf8(upper));
}

TEST_F(MainWndTest, FolderNamesInAnyScriptSurviveARestart)
{
    ASSERT_TRUE(m_shell.Start());
    const CString folder = WinPath(m_shell.Dir()) + L"\\\x0412\x0438\x0434\x0435\x043E \x4E2D\x6587";
    Commit(folder);
    ASSERT_EQ(::GetFileAttributesW(folder) & FILE_ATTRIBUTE_DIRECTORY, DWORD(FILE_ATTRIBUTE_DIRECTORY));
    m_shell.Stop();
    ASSERT_TRUE(m_shell.Start());
    EXPECT_EQ(Combo(0), rwtest::Utf8(folder));
}

TEST_F(MainWndTest, UnusableTextsAreRefusedAndNothingIsStored)
{
    shelltest::WriteFile(m_shell.Path("file.txt"), "x");
    ASSERT_TRUE(m_shell.Start());
    const CString good = Folder("good");
    Commit(good);
    const std::string before = shelltest::ReadFile(m_shell.Path("Reelwright.ini"));
    ASSERT_FALSE(before.empty());
    const CString file = WinPath(m_shell.Path("file.txt"));
    const CString refused[] = {file, file + L"\\below", L"relative\\folder", L"", L"   "};
    for (const CString& text : refused)
    {
        SCOPED_TRACE(rwtest::Utf8(text));
        shelltest::ShownMessages().clear();
        Commit(text);
        ASSERT_EQ(shelltest::ShownMessages().size(), 1u);
        EXPECT_EQ(shelltest::ShownMessages()[0], kRefused);
        EXPECT_EQ(WindowText(Target()->m_outputCombo.m_hWnd), rwtest::Utf8(good));
        EXPECT_EQ(m_shell.App()->m_settings.output_path, good);
        EXPECT_EQ(shelltest::ReadFile(m_shell.Path("Reelwright.ini")), before);

        // Starting with the text typed but not committed: refused the same way.
        shelltest::ShownMessages().clear();
        Target()->m_outputCombo.SetWindowText(text);
        EXPECT_TRUE(m_shell.Frame()->GetOutputFolder().IsEmpty());
        EXPECT_EQ(shelltest::ShownMessages().size(), 1u);
        EXPECT_EQ(m_shell.App()->m_settings.output_path, good);
        EXPECT_EQ(shelltest::ReadFile(m_shell.Path("Reelwright.ini")), before);
    }
    // Closing the window with such a text in the box: no message, nothing stored.
    shelltest::ShownMessages().clear();
    Target()->m_outputCombo.SetWindowText(file);
    Target()->m_outputCombo.SetFocus();
    m_shell.Stop();
    EXPECT_TRUE(shelltest::ShownMessages().empty());
    EXPECT_EQ(shelltest::ElementText(m_shell.Settings(), "output_path"), rwtest::Utf8(good));
    EXPECT_EQ(shelltest::ReadFile(m_shell.Path("Reelwright.ini")), before);
}

TEST_F(MainWndTest, StartTakesTheTypedFolderOnceItIsMadeAndStored)
{
    ASSERT_TRUE(m_shell.Start());
    const CString typed = Folder("typed/new", false);
    Target()->m_outputCombo.SetWindowText(typed);
    EXPECT_EQ(m_shell.Frame()->GetOutputFolder(), typed);
    EXPECT_TRUE(shelltest::Exists(m_shell.Path("typed/new")));
    EXPECT_EQ(ReadHistory(Ini())[0], rwtest::Utf8(typed));
    EXPECT_EQ(m_shell.App()->m_settings.output_path, typed);
    EXPECT_TRUE(shelltest::ShownMessages().empty());
}

namespace
{
CString g_browsed;
CString Browsed()
{
    return g_browsed;
}
} // namespace

TEST_F(MainWndTest, BrowsingFillsTheBoxAndCommitsOnlyWhenItIsLeft)
{
    ASSERT_TRUE(m_shell.Start());
    g_browsed = Folder("browsed");
    const CMainWnd::FolderDialogFunction old = CMainWnd::s_browseForFolder;
    CMainWnd::s_browseForFolder = Browsed;
    Target()->m_browseButton.SendMessage(BM_CLICK);
    m_shell.Pump();
    CMainWnd::s_browseForFolder = old;
    EXPECT_EQ(WindowText(Target()->m_outputCombo.m_hWnd), rwtest::Utf8(g_browsed));
    EXPECT_TRUE(::IsChild(Target()->m_outputCombo.m_hWnd, ::GetFocus()));
    EXPECT_FALSE(shelltest::Exists(m_shell.Path("Reelwright.ini")));
    // Leaving the box commits it.
    Target()->m_openButton.SetFocus();
    m_shell.Pump();
    EXPECT_EQ(ReadHistory(Ini())[0], rwtest::Utf8(g_browsed));
}

TEST_F(MainWndTest, EnterAndEscapeInThePanelDoNothing)
{
    ASSERT_TRUE(m_shell.Start());
    const CString typed = Folder("typed", false);
    Target()->m_outputCombo.SetWindowText(typed);
    HWND edit = ::GetWindow(Target()->m_outputCombo.m_hWnd, GW_CHILD);
    ASSERT_NE(edit, nullptr);
    ::SetFocus(edit);
    for (UINT key : {VK_RETURN, VK_ESCAPE})
    {
        ::PostMessageW(edit, WM_KEYDOWN, key, 1);
        ::PostMessageW(edit, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
    }
    m_shell.Pump();
    EXPECT_TRUE(Target()->IsWindowVisible());
    EXPECT_EQ(::GetFocus(), edit);
    EXPECT_EQ(WindowText(Target()->m_outputCombo.m_hWnd), rwtest::Utf8(typed));
    EXPECT_FALSE(shelltest::Exists(m_shell.Path("typed")));
}

TEST_F(MainWndTest, APickedProfileReachesTheButtonAndTheSelectedTasks)
{
    ASSERT_TRUE(m_shell.Start());
    CReelwrightApp* app = m_shell.App();
    const CString clip = WinPath(rwtest::Media(rwtest::kClipMp4));
    const int selected = shelltest::AddListTask(m_shell.Frame(), clip);
    const int other = shelltest::AddListTask(m_shell.Frame(), clip);
    ASSERT_GT(selected, 0);
    ASSERT_GT(other, 0);
    shelltest::SelectListTasks(m_shell.Frame(), {selected});
    ConvertTask* task = nullptr;
    ASSERT_TRUE(CVideoManager::FindTask(selected, &task));
    const CString otherProfile = app->m_currentProfile.m_name;

    // A category with more profiles than the picker shows at once, for the wheel.
    int tall = -1;
    for (INT_PTR c = 0; c < Categories().GetSize(); c++)
        if (Categories()[c].m_profiles.GetSize() * kProfileItem > ParametersWnd::kHeight + kProfileItem)
            tall = int(c);
    ASSERT_GE(tall, 0);
    const int tallCount = int(Categories()[tall].m_profiles.GetSize());
    ASSERT_GE(Categories().GetSize(), 3);

    struct Case
    {
        const char* how;
        std::function<void(ParametersWnd&)> script;
        int category;
        int profile;
    };
    int start = 0, unused = 0;
    const Case cases[] = {
        {"mouse",
         [](ParametersWnd& picker) {
             HoverCategory(picker, 2);
             MoveOver(picker.m_profileList, ItemY(picker.m_profileList, 1));
             Post(picker.m_profileList, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, ItemY(picker.m_profileList, 1)));
         },
         2, 1},
        {"wheel",
         [tall](ParametersWnd& picker) {
             HoverCategory(picker, tall);
             MoveOver(picker.m_profileList, 5);
             for (int i = 0; i < 60; i++)
                 Post(picker, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA));
             // Scrolled to the end: the last profile sits at the bottom of the list (where it is
             // when the list is tall enough for all of them).
             CRect list;
             picker.m_profileList.GetClientRect(&list);
             const CStyleMenu::Item& last = picker.m_profileList.m_items.back();
             const int end = (std::max)(0, picker.m_profileList.m_nContentHeight - list.Height());
             const int y = last.top - end + 5;
             MoveOver(picker.m_profileList, y);
             Post(picker.m_profileList, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, y));
         },
         tall, tallCount - 1},
        {"keys",
         [](ParametersWnd& picker) {
             // The keys go to the category list first, then to the list the mouse is over.
             Post(picker, WM_KEYDOWN, VK_DOWN);
             MoveOver(picker.m_profileList, 5);
             Post(picker, WM_KEYDOWN, VK_DOWN);
             Post(picker, WM_KEYDOWN, VK_RETURN);
         },
         -1, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.how);
        ASSERT_TRUE(LocateProfileByName(Categories(), app->m_settings.param_sel, &start, &unused));
        const int category = c.category >= 0 ? c.category : (start + 1) % int(Categories().GetSize());
        const std::string expected = ProfileName(category, c.profile);
        Pick(c.script);
        EXPECT_EQ(rwtest::Utf8(app->m_settings.param_sel), expected);
        EXPECT_EQ(rwtest::Utf8(app->m_currentProfile.m_name), expected);
        EXPECT_EQ(rwtest::Utf8(task->m_setting.m_name), expected);
        ConvertSetting profile;
        GetProfileAt(c.profile, category, Categories(), profile);
        EXPECT_EQ(task->m_setting.BuildArguments(), profile.BuildArguments());
        const std::string label =
            rwtest::Utf8(LangMgr::GetNameText(profile.m_name)) + "(*." + rwtest::Utf8(profile.m_extension) + ")";
        EXPECT_EQ(WindowText(Target()->m_profileButton.m_hWnd), label);
    }
    ConvertTask* unselected = nullptr;
    ASSERT_TRUE(CVideoManager::FindTask(other, &unselected));
    EXPECT_EQ(unselected->m_setting.m_name, otherProfile);

    // Closing the picker, also after hovering a category, changes nothing.
    const CString current = app->m_settings.param_sel;
    task->m_setting.m_name = L"edited";
    Pick([](ParametersWnd& picker) { Post(picker, WM_KEYDOWN, VK_ESCAPE); });
    Pick([](ParametersWnd& picker) {
        MoveOver(picker.m_categoryList, 5);
        Post(picker, WM_KEYDOWN, VK_ESCAPE);
    });
    EXPECT_EQ(app->m_settings.param_sel, current);
    EXPECT_EQ(rwtest::Utf8(task->m_setting.m_name), "edited");
    m_shell.Stop();
    EXPECT_EQ(shelltest::ElementText(m_shell.Settings(), "param_sel"), rwtest::Utf8(current));
}

TEST_F(MainWndTest, ThePickerOpensAboveTheButtonAtLeast550Wide)
{
    ASSERT_TRUE(m_shell.Start());
    CRect button;
    Target()->m_profileButton.GetWindowRect(&button);
    CRect picker;
    Pick([&picker](ParametersWnd& p) {
        p.GetWindowRect(&picker);
        Post(p, WM_KEYDOWN, VK_ESCAPE);
    });
    EXPECT_EQ(picker.left, button.left);
    EXPECT_EQ(picker.bottom, button.top);
    EXPECT_EQ(picker.Width(), button.Width() > CMainWnd::kPickerMinWidth ? button.Width() : CMainWnd::kPickerMinWidth);
    // The button never notifies its focus changes: they share the click's code.
    EXPECT_FALSE(Target()->m_profileButton.GetStyle() & BS_NOTIFY);
}

TEST_F(MainWndTest, ALanguageSwitchChangesLabelsAndTooltips)
{
    shelltest::WriteFile(m_shell.Path("lang/Testish.xml"),
                         shelltest::LanguageFile("Testish", "<targettype>Profil:</targettype><btn_logbtn>Journal"
                                                            "</btn_logbtn><link_visit>Besuchen</link_visit>"
                                                            "<tip_start>Los</tip_start>"));
    ASSERT_TRUE(m_shell.Start());
    CMainWnd* target = Target();
    EXPECT_EQ(WindowText(::GetDlgItem(target->m_hWnd, IDC_TARGET_LABEL)), "Profile:");
    EXPECT_EQ(WindowText(::GetDlgItem(target->m_hWnd, IDC_OUTPUT_BROWSE)), "Browse...");
    EXPECT_EQ(WindowText(target->m_link.m_hWnd), "Visit our website");
    EXPECT_EQ(rwtest::Utf8(target->m_link.GetURL()), "https://reelwright.example.org/");
    int testish = -1;
    for (int i = 0; i < LangMgr::GetLanguageCount(); i++)
        if (LangMgr::GetLanguageName(i) == L"Testish")
            testish = i;
    ASSERT_GE(testish, 0);
    m_shell.Frame()->SendMessage(WM_COMMAND, ID_LANGUAGE_FIRST + testish);
    m_shell.Pump();
    EXPECT_EQ(WindowText(::GetDlgItem(target->m_hWnd, IDC_TARGET_LABEL)), "Profil:");
    EXPECT_EQ(WindowText(::GetDlgItem(target->m_hWnd, IDC_LOG_BUTTON)), "Journal");
    EXPECT_EQ(WindowText(target->m_link.m_hWnd), "Besuchen");
    // Keys the language lacks keep their texts.
    EXPECT_EQ(WindowText(::GetDlgItem(target->m_hWnd, IDC_OUTPUT_BROWSE)), "Browse...");

    CButtonBarWnd* bar = dynamic_cast<CButtonBarWnd*>(m_shell.Frame()->GetPanel(kToolBarPanel));
    ASSERT_NE(bar, nullptr);
    const auto tip = [bar](int index) {
        CButtonST& button = bar->Button(index);
        WCHAR text[80] = {};
        TOOLINFOW info = {};
        info.cbSize = sizeof(info);
        info.hwnd = bar->m_hWnd;
        info.uId = UINT_PTR(button.m_hWnd);
        info.uFlags = TTF_IDISHWND;
        info.lpszText = text;
        button.m_pToolTip->SendMessage(TTM_GETTEXTW, 80, LPARAM(&info));
        return rwtest::Utf8(text);
    };
    EXPECT_EQ(tip(3), "Los");
    EXPECT_EQ(tip(4), "Pause the selected tasks");
}

namespace
{
uint32_t Le32(const std::string& bytes, size_t at)
{
    return uint32_t(BYTE(bytes[at])) | uint32_t(BYTE(bytes[at + 1])) << 8 | uint32_t(BYTE(bytes[at + 2])) << 16 |
           uint32_t(BYTE(bytes[at + 3])) << 24;
}
} // namespace

// Profiles picked with the mouse convert through the program: a DPG file whose MPEG-1 pictures
// and MP2 sound read back, and a RealMedia file with RealVideo 2.0 pictures and sound.
TEST_F(MainWndTest, PickedDpgAndRealMediaProfilesConvert)
{
    coretest::SdkFolderLink sdk;
    ASSERT_TRUE(m_shell.Start());
    const CString clip = WinPath(rwtest::Media(rwtest::kClipMp4));
    const char* const profiles[] = {"DPG Video", "RMVB Computer Video"};
    std::vector<int> ids;
    for (const char* name : profiles)
    {
        SCOPED_TRACE(name);
        const int id = shelltest::AddListTask(m_shell.Frame(), clip);
        ASSERT_GT(id, 0);
        ids.push_back(id);
        shelltest::SelectListTasks(m_shell.Frame(), {id});
        int category = -1, profile = -1;
        ASSERT_TRUE(LocateProfileByName(Categories(), shelltest::Wide(name), &category, &profile));
        Pick([category, profile](ParametersWnd& picker) {
            HoverCategory(picker, category);
            MoveOver(picker.m_profileList, ItemY(picker.m_profileList, profile));
            Post(picker.m_profileList, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, ItemY(picker.m_profileList, profile)));
        });
        ConvertTask* task = nullptr;
        ASSERT_TRUE(CVideoManager::FindTask(id, &task));
        ASSERT_EQ(rwtest::Utf8(task->m_setting.m_name), name);
    }
    shelltest::SelectListTasks(m_shell.Frame(), {});
    Target()->m_outputCombo.SetWindowText(Folder("converted", false));
    const CString folder = m_shell.Frame()->GetOutputFolder();
    ASSERT_FALSE(folder.IsEmpty());
    ASSERT_EQ(CVideoManager::StartTasks(folder, ids), 0);
    const DWORD deadline = ::GetTickCount() + 300000;
    while (!CVideoManager::AllFinished() && int(deadline - ::GetTickCount()) > 0)
    {
        bool failed = false;
        for (ConvertTask* task : g_tasks)
            failed = failed || task->m_state == kTaskFailed;
        if (failed)
            break;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 200, QS_ALLINPUT);
        m_shell.Pump(1);
        CVideoManager::PollProgress();
    }
    std::string outputs[2];
    for (size_t i = 0; i < ids.size(); i++)
    {
        ConvertTask* task = nullptr;
        ASSERT_TRUE(CVideoManager::FindTask(ids[i], &task));
        ASSERT_EQ(task->m_state, kTaskDone) << profiles[i] << "\n" << rwtest::Utf8(task->m_log);
        outputs[i] = coretest::UnixOf(task->m_job.outputPath);
        EXPECT_EQ(outputs[i].rfind(m_shell.Path("converted/"), 0), 0u) << outputs[i];
    }

    const std::string dpg = shelltest::ReadFile(outputs[0]);
    ASSERT_GE(dpg.size(), 36u);
    ASSERT_EQ(dpg.compare(0, 3, "DPG"), 0);
    const uint32_t audioStart = Le32(dpg, 20), audioLength = Le32(dpg, 24);
    const uint32_t videoStart = Le32(dpg, 28), videoLength = Le32(dpg, 32);
    ASSERT_LE(size_t(audioStart) + audioLength, dpg.size());
    ASSERT_LE(size_t(videoStart) + videoLength, dpg.size());
    const std::string video = m_shell.Path("dpg.m1v"), audio = m_shell.Path("dpg.mp2");
    shelltest::WriteFile(video, dpg.substr(videoStart, videoLength));
    shelltest::WriteFile(audio, dpg.substr(audioStart, audioLength));
    const rwtest::ReadBack pictures = rwtest::ReadMediaFile(video), sound = rwtest::ReadMediaFile(audio);
    ASSERT_TRUE(pictures.Find(AVMEDIA_TYPE_VIDEO));
    EXPECT_EQ(pictures.Find(AVMEDIA_TYPE_VIDEO)->codec, AV_CODEC_ID_MPEG1VIDEO);
    EXPECT_GT(pictures.Find(AVMEDIA_TYPE_VIDEO)->packets, 50);
    ASSERT_TRUE(sound.Find(AVMEDIA_TYPE_AUDIO));
    EXPECT_EQ(sound.Find(AVMEDIA_TYPE_AUDIO)->codec, AV_CODEC_ID_MP2);

    const rwtest::ReadBack rm = rwtest::ReadMediaFile(outputs[1]);
    ASSERT_TRUE(rm.opened) << outputs[1];
    ASSERT_TRUE(rm.Find(AVMEDIA_TYPE_VIDEO));
    EXPECT_EQ(rm.Find(AVMEDIA_TYPE_VIDEO)->codec, AV_CODEC_ID_RV20);
    EXPECT_GT(rm.Find(AVMEDIA_TYPE_VIDEO)->packets, 20);
    EXPECT_TRUE(rm.Find(AVMEDIA_TYPE_AUDIO));
    EXPECT_NEAR(rm.seconds, rwtest::kClipSeconds, 0.5);
}
