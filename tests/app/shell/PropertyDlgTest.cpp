// The task properties dialog: the media fields of a row's task (an absent stream empties its
// group), and Previous and Next step through the rows, enabled only where there is a row to go
// to, selecting the shown row in the list.
#include "RwTest.h"

#include "tests/platform/mfc/MfcTestApp.h"

#include "app/core/VideoManager.h"
#include "app/shell/PropertyDlg.h"

namespace
{
const UINT kSizeField = 1031;
const UINT kPixelsField = 1039;
const UINT kRateField = 1041;
const UINT kVideoBitsField = 1037;
const UINT kVideoCodecField = 1035;
const UINT kAudioRateField = 1107;

DialogTemplate DialogOf()
{
    DialogTemplate t(WS_POPUP | WS_CAPTION, 300, 260, L"Properties");
    t.AddControl(L"SysTabControl32", L"", 0, 5, 5, 290, 220, CPropertyDlg::kTabId);
    t.AddControl(L"BUTTON", L"<", BS_PUSHBUTTON, 5, 235, 50, 14, CPropertyDlg::kPreviousId);
    t.AddControl(L"BUTTON", L">", BS_PUSHBUTTON, 60, 235, 50, 14, CPropertyDlg::kNextId);
    t.AddControl(L"BUTTON", L"OK", BS_DEFPUSHBUTTON, 240, 235, 50, 14, IDOK);
    return t;
}

DialogTemplate PageOf()
{
    DialogTemplate t(WS_CHILD | DS_CONTROL, 280, 200, L"");
    const WORD fields[] = {1027, 1029, 1031, 1024, 1033, 1035, 1037, 1039, 1041, 1043, 1101, 1104, 1107, 1109};
    short y = 2;
    for (WORD id : fields)
    {
        t.AddControl(L"EDIT", L"unset", ES_READONLY | ES_AUTOHSCROLL, 80, y, 190, 10, id);
        y += 12;
    }
    t.AddControl(L"BUTTON", L"open", BS_PUSHBUTTON, 5, 185, 40, 12, CPropGeneralPage::kOpenFolderId);
    return t;
}

void Copy(WCHAR* to, LPCWSTR text)
{
    ::lstrcpynW(to, text, kTaskMediaTextSize);
}

class CRows : public TaskRows
{
  public:
    std::vector<int> m_ids;
    std::vector<int> m_selected;
    int TaskIdOfRow(int row) const override
    {
        return row >= 0 && row < (int)m_ids.size() ? m_ids[(size_t)row] : 0;
    }
    void SelectRow(int row) override
    {
        m_selected.push_back(row);
    }
};

class PropertyDlgTest : public ::testing::Test
{
  protected:
    DialogTemplate m_dialogTemplate = DialogOf();
    DialogTemplate m_pageTemplate = PageOf();
    std::vector<std::unique_ptr<ConvertTask>> m_tasks;
    CRows m_rows;
    CPropertyDlg m_dialog{m_rows};

    void SetUp() override
    {
        TestApp();
        ConvertTask* video = AddTask(8101, L"clip.mp4");
        video->m_mediaInfo.hasVideo = 1;
        Copy(video->m_mediaInfo.videoCodec, L"h264");
        Copy(video->m_mediaInfo.pixelFormat, L"yuv420p");
        video->m_mediaInfo.width = 640;
        video->m_mediaInfo.height = 480;
        video->m_mediaInfo.frameRate = 29.97f;
        video->m_mediaInfo.videoBitRate = 1500000;
        video->m_mediaInfo.hasAudio = 1;
        video->m_mediaInfo.sampleRate = 44100;
        ConvertTask* audio = AddTask(8102, L"song.mp3");
        audio->m_mediaInfo.hasAudio = 1;
        audio->m_mediaInfo.sampleRate = 22050;
        AddTask(8103, L"third.avi");
        m_dialog.m_pageTemplate = m_pageTemplate.Get();
    }
    void TearDown() override
    {
        if (m_dialog.m_hWnd)
            m_dialog.DestroyWindow();
        g_tasks.clear();
    }
    ConvertTask* AddTask(int id, LPCWSTR name)
    {
        m_tasks.push_back(std::make_unique<ConvertTask>());
        ConvertTask* task = m_tasks.back().get();
        task->m_id = id;
        task->m_displayName = name;
        task->m_sourcePath = CString(L"C:\\media\\") + name;
        task->m_mediaInfo = TaskMediaInfo();
        g_tasks.push_back(task);
        m_rows.m_ids.push_back(id);
        return task;
    }
    void Open(int row)
    {
        m_dialog.m_nCurrentRow = row;
        m_dialog.m_nRowCount = (int)m_rows.m_ids.size();
        ASSERT_TRUE(m_dialog.CreateIndirect(m_dialogTemplate.Get()));
    }
    std::string Field(UINT id)
    {
        CString text;
        m_dialog.m_page.GetDlgItemText(id, text);
        return Narrow(text);
    }
    bool Enabled(UINT id)
    {
        return m_dialog.GetDlgItem(id)->IsWindowEnabled() != FALSE;
    }
};

TEST_F(PropertyDlgTest, ShowsTheMediaFieldsOfTheRowsTask)
{
    Open(0);
    EXPECT_EQ("h264 + yuv420p", Field(kVideoCodecField));
    EXPECT_EQ("640*480 pixels", Field(kPixelsField));
    EXPECT_EQ("29.97 fps", Field(kRateField));
    EXPECT_EQ("1,500,000 bps", Field(kVideoBitsField));
    EXPECT_EQ("44100 Hz", Field(kAudioRateField));
    EXPECT_EQ("C:\\media\\clip.mp4", Field(CPropGeneralPage::kLocationId));
    CString title;
    m_dialog.GetWindowText(title);
    EXPECT_EQ(" - clip.mp4", Narrow(title).substr(Narrow(title).size() - 11));
}

TEST_F(PropertyDlgTest, NextAndPreviousStepThroughTheRows)
{
    Open(0);
    EXPECT_FALSE(Enabled(CPropertyDlg::kPreviousId));
    EXPECT_TRUE(Enabled(CPropertyDlg::kNextId));

    m_dialog.SendMessage(WM_COMMAND, MAKEWPARAM(CPropertyDlg::kNextId, BN_CLICKED));
    // An audio-only file leaves the video fields empty.
    EXPECT_EQ("", Field(kPixelsField));
    EXPECT_EQ("", Field(kRateField));
    EXPECT_EQ("22050 Hz", Field(kAudioRateField));
    EXPECT_TRUE(Enabled(CPropertyDlg::kPreviousId));
    EXPECT_TRUE(Enabled(CPropertyDlg::kNextId));

    m_dialog.SendMessage(WM_COMMAND, MAKEWPARAM(CPropertyDlg::kNextId, BN_CLICKED));
    EXPECT_EQ("C:\\media\\third.avi", Field(CPropGeneralPage::kLocationId));
    EXPECT_FALSE(Enabled(CPropertyDlg::kNextId));
    EXPECT_EQ((std::vector<int>{1, 2}), m_rows.m_selected);

    m_dialog.SendMessage(WM_COMMAND, MAKEWPARAM(CPropertyDlg::kPreviousId, BN_CLICKED));
    EXPECT_EQ("C:\\media\\song.mp3", Field(CPropGeneralPage::kLocationId));
}

TEST_F(PropertyDlgTest, ARowWithoutATaskChangesNothing)
{
    Open(0);
    m_rows.m_ids[1] = 4711;
    EXPECT_FALSE(m_dialog.LoadRow(m_dialog.m_page, 1));
    EXPECT_EQ("640*480 pixels", Field(kPixelsField));
}

TEST_F(PropertyDlgTest, WithOneRowBothButtonsAreDisabled)
{
    m_rows.m_ids.resize(1);
    Open(0);
    EXPECT_FALSE(Enabled(CPropertyDlg::kPreviousId));
    EXPECT_FALSE(Enabled(CPropertyDlg::kNextId));
}
} // namespace
