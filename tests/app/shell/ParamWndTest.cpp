// The parameter panel on its own template, with a stand-in main frame that applies what the
// panel sends to the selected tasks as the real frame does.
#include "RwTest.h"
#include "WideText.h"

#include "TestMedia.h"
#include "tests/app/core/CoreTestUtil.h"
#include "tests/platform/mfc/MfcTestApp.h"
#include "app/core/LangMgr.h"
#include "app/core/VideoManager.h"
#include "app/shell/ParamWnd.h"

#include <vector>

using coretest::WinPath;

namespace
{
struct Sent
{
    UINT message;
    std::string name;
    std::string value; // the text, or the index as text
};

// Records the panel's messages and applies them to the selected tasks.
class FrameStandIn : public CWnd
{
  public:
    std::vector<Sent> sent;
    std::vector<int> selection;

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == CParamWnd::kParamValueMessage || message == CParamWnd::kParamChoiceMessage)
        {
            const LPCWSTR name = reinterpret_cast<LPCWSTR>(wParam);
            Sent s{message, rwtest::Utf8(name), ""};
            if (message == CParamWnd::kParamValueMessage)
                s.value = rwtest::Utf8(reinterpret_cast<LPCWSTR>(lParam));
            else
                s.value = std::to_string(static_cast<int>(lParam));
            sent.push_back(s);
            for (int id : selection)
            {
                ConvertTask* task = nullptr;
                if (!CVideoManager::FindTask(id, &task))
                    continue;
                if (message == CParamWnd::kParamValueMessage)
                    task->m_setting.SetParamValue(name, reinterpret_cast<LPCWSTR>(lParam));
                else
                    task->m_setting.SetParamChoice(name, static_cast<int>(lParam));
            }
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// What the custom dialogs answer in a test.
CString g_splitAnswer;
INT_PTR g_splitResult = IDCANCEL;
int g_splitMode = -1;
INT_PTR FakeSplit(int mode, CString* value)
{
    g_splitMode = mode;
    *value = g_splitAnswer;
    return g_splitResult;
}
int g_presetWidth = -1, g_presetHeight = -1;
int g_answerWidth = 0, g_answerHeight = 0;
INT_PTR g_resolutionResult = IDCANCEL;
INT_PTR FakeResolution(int* width, int* height)
{
    g_presetWidth = *width;
    g_presetHeight = *height;
    *width = g_answerWidth;
    *height = g_answerHeight;
    return g_resolutionResult;
}

class ParamWndTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        TestApp();
        LangMgr::LoadLanguageFile(WinPath(rwtest::ProgramDir() + "/lang/English.xml"));
        CategoryArray categories;
        LoadProfiles(categories, WinPath(rwtest::ProgramDir() + "/profiles"));
        ASSERT_TRUE(FindProfileByName(categories, L"DivX Movie", m_profile));
        ASSERT_TRUE(m_frame.CreateEx(0, AfxRegisterWndClass(0), L"frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400,
                                     600, nullptr, nullptr));
        AfxGetApp()->m_pMainWnd = &m_frame;
        ASSERT_TRUE(m_panel.Create(&m_frame));
        CParamWnd::s_splitDialog = FakeSplit;
        CParamWnd::s_resolutionDialog = FakeResolution;
        g_splitResult = IDCANCEL;
        g_resolutionResult = IDCANCEL;
    }
    void TearDown() override
    {
        m_panel.DestroyWindow();
        AfxGetApp()->m_pMainWnd = nullptr;
        m_frame.DestroyWindow();
        CVideoManager::RemoveAll();
    }
    int Add(const char* name)
    {
        return CVideoManager::AddTask(coretest::Utf8(name), WinPath(rwtest::Media(rwtest::kClipMp4)), m_profile);
    }
    ConvertTask* Task(int id)
    {
        ConvertTask* task = nullptr;
        CVideoManager::FindTask(id, &task);
        return task;
    }
    void Select(const std::vector<int>& ids)
    {
        m_frame.selection = ids;
        m_panel.SetTasks(ids);
    }
    HWND Item(int id)
    {
        return ::GetDlgItem(m_panel.GetSafeHwnd(), id);
    }
    int Selected(int id)
    {
        return static_cast<int>(::SendMessageW(Item(id), CB_GETCURSEL, 0, 0));
    }
    std::string SelectedText(int id)
    {
        const int index = Selected(id);
        if (index < 0)
            return std::string();
        WCHAR text[128] = {};
        ::SendMessageW(Item(id), CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
        return rwtest::Utf8(text);
    }
    // Chooses an entry as the user does: the combo box tells its parent.
    void Choose(int id, int index)
    {
        ::SendMessageW(Item(id), CB_SETCURSEL, index, 0);
        ::SendMessageW(m_panel.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(Item(id)));
    }
    std::string Value(int taskId, LPCWSTR key)
    {
        SubParameters param;
        for (INT_PTR i = 0; i < Task(taskId)->m_setting.m_params.GetSize(); ++i)
            if (Task(taskId)->m_setting.m_params[i].m_key == key)
                return rwtest::Utf8(Task(taskId)->m_setting.m_params[i].m_value);
        return "<none>";
    }

    ConvertSetting m_profile;
    FrameStandIn m_frame;
    CParamWnd m_panel;
};
} // namespace

// Two tasks whose bit rates differ: no selection; choosing "normal" reaches both; differing
// keep-aspect flags show the mixed state.
TEST_F(ParamWndTest, MultiSelectionShowsMergedValuesAndEditsReachEveryTask)
{
    const int a = Add("a.mp4");
    const int b = Add("b.mp4");
    Task(a)->m_setting.SetParamChoice(L"vb", 0);
    Task(a)->m_keepAspect = 1;
    Task(b)->m_keepAspect = 0;
    Select({a, b});
    EXPECT_TRUE(::IsWindowEnabled(Item(CParamWnd::kVideoQualityId)));
    EXPECT_EQ(-1, Selected(CParamWnd::kVideoQualityId));
    EXPECT_EQ(BST_INDETERMINATE, ::SendMessageW(Item(CParamWnd::kRatioId), BM_GETCHECK, 0, 0));
    Choose(CParamWnd::kVideoQualityId, 2);
    ASSERT_EQ(1u, m_frame.sent.size());
    EXPECT_EQ(CParamWnd::kParamChoiceMessage, m_frame.sent[0].message);
    EXPECT_EQ("vb", m_frame.sent[0].name);
    EXPECT_EQ("2", m_frame.sent[0].value);
    EXPECT_EQ("1200", Value(a, L"vb"));
    EXPECT_EQ("1200", Value(b, L"vb"));
    EXPECT_EQ(2, Selected(CParamWnd::kVideoQualityId));

    // A click on the mixed check box makes the tasks agree.
    ::SendMessageW(Item(CParamWnd::kRatioId), BM_SETCHECK, BST_CHECKED, 0);
    ::SendMessageW(m_panel.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(CParamWnd::kRatioId, BN_CLICKED),
                   reinterpret_cast<LPARAM>(Item(CParamWnd::kRatioId)));
    EXPECT_EQ(1, Task(a)->m_keepAspect);
    EXPECT_EQ(1, Task(b)->m_keepAspect);
}

// A value outside the lists shows as a custom entry.
TEST_F(ParamWndTest, CustomEntries)
{
    const int a = Add("a.mp4");
    Task(a)->m_setting.SetParamValue(L"vb", L"1536000");
    Task(a)->m_setting.SetParamValue(L"s", L"1000x562");
    Task(a)->m_setting.SetParamValue(L"t", L"1800");
    Select({a});
    EXPECT_NE(std::string::npos, SelectedText(CParamWnd::kVideoQualityId).find("(1536)"));
    EXPECT_NE(std::string::npos, SelectedText(CParamWnd::kResolutionId).find("(1000x562)"));
    EXPECT_NE(std::string::npos, SelectedText(CParamWnd::kSplitId).find(" 30 "));

    Task(a)->m_setting.SetParamValue(L"t", L"");
    struct Case
    {
        const wchar_t* bytes;
        const char* shown;
    } cases[] = {{L"104857600", "100 MB"}, {L"2147483647", "2.0 GB"}, {L"220200960", "210 MB"}, {L"", ""}};
    for (const Case& c : cases)
    {
        Task(a)->m_setting.SetParamValue(L"fs", c.bytes);
        Select({a});
        EXPECT_NE(std::string::npos, SelectedText(CParamWnd::kSplitId).find(c.shown)) << c.shown;
    }
    EXPECT_EQ(0, Selected(CParamWnd::kSplitId));
}

// Split presets and custom sizes are byte limits; custom times are seconds; a cancelled or
// refused custom entry sends nothing.
TEST_F(ParamWndTest, SplitSendsBytesAndSeconds)
{
    const int a = Add("a.mp4");
    Select({a});
    Choose(CParamWnd::kSplitId, 1);
    EXPECT_EQ("220200960", Value(a, L"fs"));
    Choose(CParamWnd::kSplitId, 7);
    EXPECT_EQ("4928307200", Value(a, L"fs"));
    EXPECT_EQ(7, Selected(CParamWnd::kSplitId));

    g_splitResult = IDOK;
    g_splitAnswer = L"2048";
    Choose(CParamWnd::kSplitId, CParamWnd::kSplitCustomSize);
    EXPECT_EQ(0, g_splitMode);
    EXPECT_EQ("2147483648", Value(a, L"fs"));
    EXPECT_EQ("", Value(a, L"t"));

    g_splitAnswer = L"3";
    Choose(CParamWnd::kSplitId, CParamWnd::kSplitCustomTime);
    EXPECT_EQ(1, g_splitMode);
    EXPECT_EQ("180", Value(a, L"t"));
    EXPECT_EQ("", Value(a, L"fs"));

    // A fraction of a unit is a length of its own: a tenth of a minute is six seconds.
    g_splitAnswer = L"0.1";
    Choose(CParamWnd::kSplitId, CParamWnd::kSplitCustomTime);
    EXPECT_EQ("6", Value(a, L"t"));
    EXPECT_NE(std::string::npos, SelectedText(CParamWnd::kSplitId).find(" 0.1 "));
    g_splitAnswer = L"0.5";
    Choose(CParamWnd::kSplitId, CParamWnd::kSplitCustomSize);
    EXPECT_EQ("524288", Value(a, L"fs"));
    EXPECT_NE(std::string::npos, SelectedText(CParamWnd::kSplitId).find(" 0.5 MB"));
    g_splitAnswer = L"3";
    Choose(CParamWnd::kSplitId, CParamWnd::kSplitCustomTime);

    const size_t before = m_frame.sent.size();
    g_splitAnswer = L"0";
    Choose(CParamWnd::kSplitId, CParamWnd::kSplitCustomSize);
    g_splitResult = IDCANCEL;
    Choose(CParamWnd::kSplitId, CParamWnd::kSplitCustomTime);
    EXPECT_EQ(before, m_frame.sent.size());
    EXPECT_EQ("180", Value(a, L"t"));
    EXPECT_NE(std::string::npos, SelectedText(CParamWnd::kSplitId).find(" 3 "));

    Choose(CParamWnd::kSplitId, 0);
    EXPECT_EQ("", Value(a, L"t"));
    EXPECT_EQ("", Value(a, L"fs"));
}

// The custom resolution entry opens the dialog with the current size and sends its answer.
TEST_F(ParamWndTest, CustomResolution)
{
    const int a = Add("a.mp4");
    Task(a)->m_setting.SetParamValue(L"s", L"320x240");
    Select({a});
    EXPECT_EQ(1, Selected(CParamWnd::kResolutionId));
    const int custom = static_cast<int>(::SendMessageW(Item(CParamWnd::kResolutionId), CB_GETCOUNT, 0, 0)) - 1;
    g_resolutionResult = IDOK;
    g_answerWidth = 400;
    g_answerHeight = 224;
    Choose(CParamWnd::kResolutionId, custom);
    EXPECT_EQ(320, g_presetWidth);
    EXPECT_EQ(240, g_presetHeight);
    EXPECT_EQ("400x224", Value(a, L"s"));

    Task(a)->m_setting.SetParamValue(L"s", L"x240");
    Select({a});
    g_resolutionResult = IDCANCEL;
    Choose(CParamWnd::kResolutionId, custom);
    EXPECT_EQ(0, g_presetWidth);
    EXPECT_EQ(0, g_presetHeight);
    EXPECT_EQ("x240", Value(a, L"s"));
}

// An empty selection disables the editing controls and empties the file name; the controls go
// back to their places after any shift.
TEST_F(ParamWndTest, EmptySelectionAndShift)
{
    const int a = Add("a.mp4");
    Select({a});
    EXPECT_TRUE(::IsWindowEnabled(Item(CParamWnd::kSplitId)));
    ::SetDlgItemTextW(m_panel.GetSafeHwnd(), CParamWnd::kFileNameId, L"a.mp4");
    Select({});
    for (int id : {CParamWnd::kResolutionId, CParamWnd::kVideoQualityId, CParamWnd::kAudioQualityId,
                   CParamWnd::kSubtitleId, CParamWnd::kSplitId, CParamWnd::kVolumeId, CParamWnd::kRatioId})
        EXPECT_FALSE(::IsWindowEnabled(Item(id))) << id;
    WCHAR name[16] = {};
    ::GetDlgItemTextW(m_panel.GetSafeHwnd(), CParamWnd::kFileNameId, name, 16);
    EXPECT_EQ(0, name[0]);

    RECT before = {};
    ::GetWindowRect(Item(CParamWnd::kSplitId), &before);
    m_panel.ShiftControls(-20);
    RECT shifted = {};
    ::GetWindowRect(Item(CParamWnd::kSplitId), &shifted);
    EXPECT_EQ(before.top - 20, shifted.top);
    m_panel.ShiftControls(-20);
    m_panel.ShiftControls(0);
    RECT back = {};
    ::GetWindowRect(Item(CParamWnd::kSplitId), &back);
    EXPECT_EQ(before.top, back.top);
    EXPECT_EQ(before.left, back.left);
}

// The volume edit sends its number when it loses the focus, and nothing when it is empty.
TEST_F(ParamWndTest, VolumeSendsOnlyNumbers)
{
    const int a = Add("a.mp4");
    Select({a});
    HWND edit = Item(CParamWnd::kVolumeId);
    ::SetWindowTextW(edit, L"");
    ::SendMessageW(m_panel.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(CParamWnd::kVolumeId, EN_KILLFOCUS),
                   reinterpret_cast<LPARAM>(edit));
    EXPECT_TRUE(m_frame.sent.empty());
    ::SetWindowTextW(edit, L"150");
    ::SendMessageW(m_panel.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(CParamWnd::kVolumeId, EN_KILLFOCUS),
                   reinterpret_cast<LPARAM>(edit));
    EXPECT_EQ("150", Value(a, L"vol"));
}

// Refilling the lists after a language switch keeps their selections.
TEST_F(ParamWndTest, LanguageSwitchKeepsTheSelections)
{
    const int a = Add("a.mp4");
    Task(a)->m_setting.SetParamChoice(L"ab", 1);
    Select({a});
    Choose(CParamWnd::kSubtitleId, 1);
    ASSERT_EQ(1, Selected(CParamWnd::kAudioQualityId));
    m_panel.FillVideoQualityList();
    m_panel.FillAudioQualityList();
    m_panel.FillSubtitleList(false);
    m_panel.FillSplitList();
    EXPECT_EQ(2, Selected(CParamWnd::kVideoQualityId));
    EXPECT_EQ(1, Selected(CParamWnd::kAudioQualityId));
    EXPECT_EQ(1, Selected(CParamWnd::kSubtitleId));
    EXPECT_EQ(0, Selected(CParamWnd::kSplitId));
    EXPECT_EQ(kTaskSubtitleKeep, Task(a)->m_subtitleMode);
}
