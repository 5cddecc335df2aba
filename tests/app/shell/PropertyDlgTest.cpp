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
        ASSERT_TRUE(m_dialog.Create(CPropertyDlg::kTemplateId));
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
