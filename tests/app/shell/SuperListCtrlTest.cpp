// The sortable list: a click on a column title sorts by numbers, dates or text (the first text
// decides), flips on a second click, tells the parent before and after, and the progress bars
// follow their rows through sorts and deletes. Its header keeps full-window dragging as it was.
#include "RwTest.h"

#include "tests/platform/mfc/MfcTestApp.h"

#include "app/shell/SuperListCtrl.h"

namespace
{
const WORD ID_LIST = 1001;

class CListHost : public CDialog
{
  public:
    DialogTemplate m_template{WS_POPUP | WS_CAPTION | WS_VISIBLE, 260, 160, L"sortable"};
    CSuperListCtrl m_list;
    std::vector<std::pair<UINT, int>> m_messages;

    CListHost()
    {
        m_template.AddControl(L"SysListView32", L"", LVS_REPORT | WS_BORDER, 5, 5, 250, 150, ID_LIST);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_list.SubclassDlgItem(ID_LIST, this);
        m_list.InsertColumn(0, L"name", LVCFMT_LEFT, 80);
        m_list.InsertColumn(1, L"value", LVCFMT_LEFT, 80);
        m_list.InsertColumn(2, L"bar", LVCFMT_LEFT, 80);
        return TRUE;
    }
    afx_msg LRESULT OnSortStart(WPARAM column, LPARAM)
    {
        m_messages.push_back({WM_SUPERLIST_SORTSTART, (int)column});
        return 0;
    }
    afx_msg LRESULT OnSortDone(WPARAM column, LPARAM)
    {
        m_messages.push_back({WM_SUPERLIST_SORTDONE, (int)column});
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CListHost, CDialog)
ON_MESSAGE(WM_SUPERLIST_SORTSTART, OnSortStart)
ON_MESSAGE(WM_SUPERLIST_SORTDONE, OnSortDone)
END_MESSAGE_MAP()

class SuperListCtrlTest : public ::testing::Test
{
  protected:
    CListHost m_host;
    CSuperListCtrl& m_list = m_host.m_list;

    void SetUp() override
    {
        TestApp();
        ASSERT_TRUE(m_host.CreateIndirect(m_host.m_template.Get()));
    }
    void TearDown() override
    {
        m_host.DestroyWindow();
    }

    void AddRows(std::initializer_list<std::pair<LPCWSTR, LPCWSTR>> rows)
    {
        for (const auto& row : rows)
        {
            const int index = m_list.InsertItem(m_list.GetItemCount(), row.first);
            m_list.SetItemText(index, 1, row.second);
        }
    }
    // A bar over cell (row, 2) that carries the row's name as its text.
    HWND AddBar(int row)
    {
        HWND bar = ::CreateWindowExW(0, PROGRESS_CLASSW, m_list.GetItemText(row, 0), WS_CHILD | WS_VISIBLE, 0, 0, 10,
                                     10, m_list.m_hWnd, nullptr, nullptr, nullptr);
        m_list.AddProgressEntry(std::make_unique<CSuperListCtrl::CProgressEntry>(row, 2, bar));
        return bar;
    }
    void ClickColumn(int column)
    {
        NMLISTVIEW notify = {};
        notify.hdr.hwndFrom = m_list.m_hWnd;
        notify.hdr.idFrom = ID_LIST;
        notify.hdr.code = LVN_COLUMNCLICK;
        notify.iItem = -1;
        notify.iSubItem = column;
        m_host.SendMessage(WM_NOTIFY, ID_LIST, (LPARAM)&notify);
    }
    std::vector<std::string> Column(int column)
    {
        std::vector<std::string> texts;
        for (int i = 0; i < m_list.GetItemCount(); ++i)
            texts.push_back(Narrow(m_list.GetItemText(i, column)));
        return texts;
    }
    // Each bar's text and whether it lies over its row's cell.
    void ExpectBarsOverTheirRows()
    {
        for (const auto& item : m_list.m_progressEntries)
        {
            const auto& entry = *item.second;
            EXPECT_EQ(item.first, entry.m_nRow);
            wchar_t text[40] = {0};
            ::GetWindowTextW(entry.m_hBar, text, 40);
            EXPECT_EQ(Narrow(m_list.GetItemText(entry.m_nRow, 0)), Narrow(text));
            CRect cell, bar;
            m_list.GetSubItemRect(entry.m_nRow, 2, LVIR_BOUNDS, cell);
            ::GetWindowRect(entry.m_hBar, &bar);
            m_list.ScreenToClient(&bar);
            EXPECT_EQ(cell, bar) << Narrow(text);
        }
    }
};

TEST(SuperListCompare, TheFirstTextChoosesNumericDateOrTextOrder)
{
    struct Case
    {
        LPCWSTR first;
        LPCWSTR second;
        int order;
    };
    const Case cases[] = {
        {L"9", L"10", -1},
        {L"", L"9", -1},
        {L"10", L"10", 0},
        {L"01/02/2009", L"12/01/2008", 1},
        {L"12/01/2008", L"13/01/2008", -1},
        {L"05/03/2009", L"05/02/2009", 1},
        // A text first compares as text; a date first compares the other text's fields as numbers.
        {L"abc", L"10/02/2009", ::lstrcmpW(L"abc", L"10/02/2009") < 0 ? -1 : 1},
        {L"10/02/2009", L"abc", 1},
        // A shorter second text is read only as far as it goes.
        {L"10/02/2009", L"1", 1},
        {L"10/02/2009", L"10/02/20", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.order, CSuperListCtrl::CompareTexts(c.first, c.second))
            << Narrow(c.first) << " / " << Narrow(c.second);
}

TEST_F(SuperListCtrlTest, ClicksSortAndFlipAndTellTheParent)
{
    AddRows({{L"a", L"9"}, {L"b", L"10"}, {L"c", L""}});
    ClickColumn(1);
    EXPECT_EQ((std::vector<std::string>{"", "9", "10"}), Column(1));
    ClickColumn(1);
    EXPECT_EQ((std::vector<std::string>{"10", "9", ""}), Column(1));
    ClickColumn(0);
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c"}), Column(0));
    const std::vector<std::pair<UINT, int>> expected = {{WM_SUPERLIST_SORTSTART, 1}, {WM_SUPERLIST_SORTDONE, 1},
                                                        {WM_SUPERLIST_SORTSTART, 1}, {WM_SUPERLIST_SORTDONE, 1},
                                                        {WM_SUPERLIST_SORTSTART, 0}, {WM_SUPERLIST_SORTDONE, 0}};
    EXPECT_EQ(expected, m_host.m_messages);
    EXPECT_EQ(0, m_list.m_header.m_nSortColumn);
    HDITEMW item = {};
    item.mask = HDI_FORMAT;
    m_list.m_header.GetItem(0, &item);
    EXPECT_TRUE(item.fmt & HDF_OWNERDRAW);
}

TEST_F(SuperListCtrlTest, DatesSortByYearMonthAndDay)
{
    AddRows({{L"a", L"01/02/2009"}, {L"b", L"12/01/2008"}, {L"c", L"02/01/2009"}});
    ClickColumn(1);
    EXPECT_EQ((std::vector<std::string>{"b", "c", "a"}), Column(0));
}

TEST_F(SuperListCtrlTest, AClickOnAnEmptyListStillTellsTheParent)
{
    ClickColumn(2);
    EXPECT_EQ(2u, m_host.m_messages.size());
}

TEST_F(SuperListCtrlTest, BarsFollowTheirRowsThroughSortsAndDeletes)
{
    AddRows({{L"e", L"5"}, {L"c", L"3"}, {L"a", L"1"}, {L"d", L"4"}, {L"b", L"2"}, {L"g", L"7"}, {L"f", L"6"}});
    for (int row : {0, 2, 3, 6})
        AddBar(row);
    m_list.PositionProgressBars();
    ExpectBarsOverTheirRows();

    ClickColumn(0); // a b c d e f g
    EXPECT_EQ((std::vector<int>{0, 3, 4, 5}), [&] {
        std::vector<int> rows;
        for (const auto& item : m_list.m_progressEntries)
            rows.push_back(item.first);
        return rows;
    }());
    ExpectBarsOverTheirRows();

    // Rows 3, 4 and 5 have bars and 6 none: deleting row 3 moves 4 and 5 up by one.
    HWND deleted = m_list.m_progressEntries[3]->m_hBar;
    m_list.DeleteItem(3);
    EXPECT_FALSE(::IsWindow(deleted));
    EXPECT_EQ(3u, m_list.m_progressEntries.size());
    EXPECT_EQ(1u, m_list.m_progressEntries.count(3));
    EXPECT_EQ(1u, m_list.m_progressEntries.count(4));
    ExpectBarsOverTheirRows();

    m_list.DeleteAllItems();
    EXPECT_TRUE(m_list.m_progressEntries.empty());
}

TEST_F(SuperListCtrlTest, ADeleteStopsShiftingAtTheFirstRowWithoutABar)
{
    AddRows({{L"0", L""}, {L"1", L""}, {L"2", L""}, {L"3", L""}, {L"4", L""}, {L"5", L""}, {L"6", L""}});
    for (int row : {3, 4, 6})
        AddBar(row);
    m_list.DeleteItem(3);
    ASSERT_EQ(2u, m_list.m_progressEntries.size());
    EXPECT_EQ(3, m_list.m_progressEntries.at(3)->m_nRow);
    wchar_t text[8] = {0};
    ::GetWindowTextW(m_list.m_progressEntries.at(3)->m_hBar, text, 8);
    EXPECT_EQ("4", Narrow(text));
    EXPECT_EQ(6, m_list.m_progressEntries.at(6)->m_nRow);
}

TEST_F(SuperListCtrlTest, DividerDragsShowContentsAndRestoreTheSetting)
{
    BOOL original = FALSE;
    ::SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &original, 0);
    for (BOOL before : {FALSE, TRUE})
    {
        ::SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, before, nullptr, 0);
        NMHEADERW notify = {};
        notify.hdr.hwndFrom = m_list.m_header.m_hWnd;
        notify.hdr.idFrom = 0;
        notify.hdr.code = HDN_BEGINTRACKW;
        m_list.SendMessage(WM_NOTIFY, 0, (LPARAM)&notify);
        BOOL during = FALSE;
        ::SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &during, 0);
        EXPECT_TRUE(during);
        notify.hdr.code = HDN_ENDTRACKW;
        m_list.SendMessage(WM_NOTIFY, 0, (LPARAM)&notify);
        BOOL after = !before;
        ::SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &after, 0);
        EXPECT_EQ(before, after);
    }
    ::SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, original, nullptr, 0);
}
} // namespace
