// The log window: it shows a task's log with Windows line ends, ignores Enter, keeps its text area
// and close button anchored, and on closing asks the main window (by a posted message) to delete
// it, so that the deletion never happens inside its own handler.
#include "RwTest.h"

#include "tests/platform/mfc/MfcTestApp.h"

#include "app/core/VideoManager.h"
#include "app/shell/LogDialog.h"

namespace
{
// The main window: deletes the log window when asked to close it, as the frame does.
class CFrameStandIn : public CWnd
{
  public:
    CLogDialog* m_log = nullptr;
    std::vector<WPARAM> m_requests;
    bool m_logAliveWhenAsked = false;

    afx_msg LRESULT OnToggleLog(WPARAM wParam, LPARAM)
    {
        m_requests.push_back(wParam);
        m_logAliveWhenAsked = m_log && ::IsWindow(m_log->m_hWnd);
        if (m_log)
        {
            m_log->DestroyWindow();
            delete m_log;
            m_log = nullptr;
        }
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFrameStandIn, CWnd)
ON_MESSAGE(CLogDialog::kToggleMessage, OnToggleLog)
END_MESSAGE_MAP()

class LogDialogTest : public ::testing::Test
{
  protected:
    CFrameStandIn m_frame;
    ConvertTask* m_task = nullptr;
    ConvertTask* m_quiet = nullptr;

    void SetUp() override
    {
        TestApp();
        ASSERT_TRUE(m_frame.CreateEx(0, L"STATIC", L"frame", WS_POPUP, 0, 0, 100, 100, nullptr, 0));
        TestApp().m_pMainWnd = &m_frame;
        m_task = new ConvertTask;
        m_task->m_id = 9001;
        m_task->m_log = L"opened clip.mp4\nencoding\n";
        m_quiet = new ConvertTask;
        m_quiet->m_id = 9002;
        g_tasks.push_back(m_task);
        g_tasks.push_back(m_quiet);
        m_frame.m_log = new CLogDialog;
        ASSERT_TRUE(m_frame.m_log->Create(CLogDialog::kTemplateId, &m_frame));
        m_frame.m_log->ShowWindow(SW_SHOW);
    }
    void TearDown() override
    {
        if (m_frame.m_log)
        {
            m_frame.m_log->DestroyWindow();
            delete m_frame.m_log;
        }
        g_tasks.clear();
        delete m_task;
        delete m_quiet;
        TestApp().m_pMainWnd = nullptr;
        m_frame.DestroyWindow();
    }
    std::string LogText()
    {
        CString text;
        m_frame.m_log->GetDlgItemText(CLogDialog::kTextId, text);
        return Narrow(text);
    }
};

TEST_F(LogDialogTest, ShowsTheTasksLogWithWindowsLineEnds)
{
    ASSERT_TRUE(m_frame.m_log->ShowTaskLog(9001));
    EXPECT_EQ("opened clip.mp4\r\nencoding\r\n", LogText());
    EXPECT_FALSE(m_frame.m_log->ShowTaskLog(4711));
    EXPECT_EQ("opened clip.mp4\r\nencoding\r\n", LogText());
    ASSERT_TRUE(m_frame.m_log->ShowTaskLog(9002));
    EXPECT_EQ("", LogText());
    // Shown again later, the log is as it is by then.
    m_task->m_log += L"done\r\n";
    ASSERT_TRUE(m_frame.m_log->ShowTaskLog(9001));
    EXPECT_EQ("opened clip.mp4\r\nencoding\r\ndone\r\n", LogText());
}

TEST_F(LogDialogTest, EnterDoesNothingAndCloseAsksTheFrameAfterwards)
{
    m_frame.m_log->SendMessage(WM_COMMAND, IDOK);
    EXPECT_TRUE(m_frame.m_log->IsWindowVisible());

    m_frame.m_log->SendMessage(WM_COMMAND, IDCANCEL);
    // Nothing is deleted while the close handler runs.
    ASSERT_NE(nullptr, m_frame.m_log);
    EXPECT_TRUE(m_frame.m_requests.empty());
    PumpPending();
    EXPECT_EQ((std::vector<WPARAM>{0}), m_frame.m_requests);
    EXPECT_TRUE(m_frame.m_logAliveWhenAsked);
    EXPECT_EQ(nullptr, m_frame.m_log);
}

TEST_F(LogDialogTest, TheTextAreaGrowsAndTheCloseButtonStaysInTheCorner)
{
    CLogDialog& log = *m_frame.m_log;
    auto childRect = [&](UINT id) {
        CRect rect;
        ::GetWindowRect(::GetDlgItem(log.m_hWnd, id), &rect);
        log.ScreenToClient(&rect);
        return rect;
    };
    CRect client;
    log.GetClientRect(&client);
    const CRect text = childRect(CLogDialog::kTextId);
    const CRect close = childRect(IDCANCEL);
    CRect window;
    log.GetWindowRect(&window);
    log.SetWindowPos(nullptr, 0, 0, window.Width() + 60, window.Height() + 50, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(CRect(text.left, text.top, text.right + 60, text.bottom + 50), childRect(CLogDialog::kTextId));
    EXPECT_EQ(CRect(close.left + 60, close.top + 50, close.right + 60, close.bottom + 50), childRect(IDCANCEL));
}
} // namespace
