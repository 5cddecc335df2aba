// The error list: each entry splits at its first separator into the two columns (an entry without
// one shows whole in the second), a column click sorts and a second click reverses, and widening
// the dialog widens only the second column while OK stays centred.
#include "RwTest.h"

#include "tests/platform/mfc/MfcTestApp.h"

#include "DibCanvas.h"
#include "WideText.h"
#include "app/core/Helpers.h"
#include "app/core/LangMgr.h"
#include "app/shell/ErrorListDlg.h"
#include "tests/app/core/CoreTestUtil.h"

namespace
{
class ErrorListDlgTest : public ::testing::Test
{
  protected:
    CErrorListDlg m_dialog;

    void Open(std::initializer_list<LPCWSTR> entries)
    {
        TestApp();
        m_dialog.m_split = kErrorEntrySeparator;
        for (LPCWSTR entry : entries)
            m_dialog.m_entries.Add(entry);
        ASSERT_TRUE(m_dialog.Create(CErrorListDlg::kTemplateId));
        m_dialog.ShowWindow(SW_SHOW);
        PumpPending();
    }
    void TearDown() override
    {
        if (m_dialog.m_hWnd)
            m_dialog.DestroyWindow();
    }
    std::vector<std::string> Column(int column)
    {
        std::vector<std::string> texts;
        for (int i = 0; i < m_dialog.m_list.GetItemCount(); ++i)
            texts.push_back(Narrow(m_dialog.m_list.GetItemText(i, column)));
        return texts;
    }
    void ClickColumn(int column)
    {
        NMLISTVIEW notify = {};
        notify.hdr.hwndFrom = m_dialog.m_list.m_hWnd;
        notify.hdr.idFrom = CErrorListDlg::kListId;
        notify.hdr.code = LVN_COLUMNCLICK;
        notify.iItem = -1;
        notify.iSubItem = column;
        m_dialog.SendMessage(WM_NOTIFY, CErrorListDlg::kListId, (LPARAM)&notify);
    }
};

TEST_F(ErrorListDlgTest, EntriesSplitAtTheirFirstSeparator)
{
    Open({L"a.avi|C:\\v\\a.avi", L"b.txt|err_media_probe|extra", L"whole entry", L""});
    EXPECT_EQ((std::vector<std::string>{"a.avi", "b.txt", "", ""}), Column(0));
    EXPECT_EQ((std::vector<std::string>{"C:\\v\\a.avi", "err_media_probe|extra", "whole entry", ""}), Column(1));
}

TEST_F(ErrorListDlgTest, AColumnClickSortsAndASecondReverses)
{
    Open({L"b|2", L"c|1", L"a|3"});
    ClickColumn(0);
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c"}), Column(0));
    ClickColumn(0);
    EXPECT_EQ((std::vector<std::string>{"c", "b", "a"}), Column(0));
    // Another column takes the header's current direction.
    ClickColumn(1);
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c"}), Column(0));
    EXPECT_EQ((std::vector<std::string>{"3", "2", "1"}), Column(1));
}

TEST_F(ErrorListDlgTest, WideningWidensOnlyTheReasonColumn)
{
    Open({L"a.avi|C:\\v\\a.avi"});
    auto okRect = [&] {
        CRect rect;
        ::GetWindowRect(::GetDlgItem(m_dialog.m_hWnd, IDOK), &rect);
        m_dialog.ScreenToClient(&rect);
        return rect;
    };
    const int name = m_dialog.m_list.GetColumnWidth(0);
    const int reason = m_dialog.m_list.GetColumnWidth(1);
    const CRect ok = okRect();
    CRect window;
    m_dialog.GetWindowRect(&window);
    m_dialog.SetWindowPos(nullptr, 0, 0, window.Width() + 100, window.Height(), SWP_NOMOVE | SWP_NOZORDER);
    PumpPending();
    EXPECT_EQ(name, m_dialog.m_list.GetColumnWidth(0));
    EXPECT_LT(reason, m_dialog.m_list.GetColumnWidth(1));
    EXPECT_EQ(ok.left + 50, okRect().left);
    EXPECT_FALSE(m_dialog.m_bShowGrip);
}
// The longest reason the program gives shows whole in its column.
TEST_F(ErrorListDlgTest, TheLongestReasonFitsItsColumn)
{
    LangMgr::LoadLanguageFile(coretest::WinPath(rwtest::ProgramDir() + "/lang/English.xml"));
    const CString reason = LangMgr::GetText(L"err_media_probe");
    ASSERT_NE(CString(L"err_media_probe"), reason);
    Open({CString(L"a.avi|") + reason});
    EXPECT_GE(m_dialog.m_list.GetColumnWidth(1), m_dialog.m_list.GetStringWidth(reason) + 12);
    // The dialog stays on the screen.
    CRect window;
    m_dialog.GetWindowRect(&window);
    EXPECT_GE(window.left, 0);
    EXPECT_LE(window.right, ::GetSystemMetrics(SM_CXSCREEN));
}

// The picture beside the tip shows the dialog's background where its bitmap is magenta.
TEST_F(ErrorListDlgTest, ThePictureIsDrawnOnTheDialogsBackground)
{
    Open({L"a.avi|reason"});
    HWND picture = ::GetDlgItem(m_dialog.m_hWnd, CErrorListDlg::kPictureId);
    ASSERT_NE(picture, nullptr);
    ::RedrawWindow(m_dialog.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    CRect rect;
    ::GetWindowRect(picture, &rect);
    DibCanvas screen(rect.Width(), rect.Height());
    HDC dc = ::GetDC(nullptr);
    ::BitBlt(screen.dc(), 0, 0, rect.Width(), rect.Height(), dc, rect.left, rect.top, SRCCOPY);
    CPoint inside(1, 1);
    m_dialog.ClientToScreen(&inside);
    const COLORREF background = ::GetPixel(dc, inside.x, inside.y);
    ::ReleaseDC(nullptr, dc);
    int magenta = 0, backgroundPixels = 0;
    for (int y = 0; y < rect.Height(); ++y)
        for (int x = 0; x < rect.Width(); ++x)
        {
            magenta += screen.At(x, y) == CErrorListDlg::kPictureMask;
            backgroundPixels += screen.At(x, y) == background;
        }
    EXPECT_EQ(0, magenta);
    // The corners of the picture are its background.
    EXPECT_EQ(background, screen.At(0, 0));
    EXPECT_GT(backgroundPixels, rect.Width() * rect.Height() / 4);
}
} // namespace
