// The task list control: rows get records, the status cell shows a framed bar with its percentage
// when the row's bar is shown (the list's own text otherwise), and a progress change repaints only
// that cell, and nothing when the value is unchanged.
#include "RwTest.h"

#include "DibCanvas.h"
#include "tests/platform/mfc/MfcTestApp.h"

#include "app/shell/ItemList.h"

namespace
{
const WORD ID_LIST = 1004;
const int kCellWidth = 90;
const int kCellHeight = 20;

TEST(ItemListBar, TheFillFollowsThePercentOfTheInsideWidth)
{
    struct Case
    {
        float percent;
        int lastFilled; // the last x filled on the inside's top line, -1 for none
    };
    // The inside of a 90-pixel cell is 88 pixels wide, from x = 1.
    const Case cases[] = {{0.0f, -1}, {50.0f, 44}, {100.0f, 88}, {33.3f, 29}};
    const RECT cell = {0, 0, kCellWidth, kCellHeight};
    for (const Case& c : cases)
    {
        DibCanvas canvas(kCellWidth, kCellHeight);
        CItemList::DrawProgressBar(canvas.dc(), cell, c.percent, CItemList::kBarColour);
        EXPECT_EQ(RGB(0, 0, 0), canvas.At(0, 1)) << c.percent;
        EXPECT_EQ(RGB(0, 0, 0), canvas.At(kCellWidth - 1, kCellHeight - 2)) << c.percent;
        if (c.lastFilled >= 0)
            EXPECT_EQ(CItemList::kBarColour, canvas.At(c.lastFilled, 2)) << c.percent;
        if (c.lastFilled < kCellWidth - 2)
            EXPECT_NE(CItemList::kBarColour, canvas.At(c.lastFilled + 1, 2)) << c.percent;
    }
}

class ItemListTest : public ::testing::Test
{
  protected:
    DialogTemplate m_template{WS_POPUP | WS_VISIBLE, 400, 120, L""};
    CDialog m_host;
    CItemList m_list;

    void SetUp() override
    {
        TestApp();
        m_template.AddControl(L"SysListView32", L"", LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0, 400, 120, ID_LIST);
        ASSERT_TRUE(m_host.CreateIndirect(m_template.Get()));
        ASSERT_TRUE(m_list.SubclassDlgItem(ID_LIST, &m_host));
        for (int column = 0; column < 7; ++column)
            m_list.InsertColumn(column, L"c", LVCFMT_LEFT, column == CItemList::kStatusColumn ? kCellWidth : 50);
        for (int row = 0; row < 3; ++row)
        {
            LVITEMW item = {};
            item.mask = LVIF_TEXT;
            item.iItem = row;
            item.pszText = const_cast<LPWSTR>(L"clip");
            ASSERT_EQ(row, m_list.InsertRow(item));
            m_list.InitProgressData(row);
            m_list.SetItemText(row, CItemList::kStatusColumn, L"-");
        }
        PumpPending();
    }
    void TearDown() override
    {
        m_host.DestroyWindow();
    }
    CRect Cell(int row)
    {
        CRect cell;
        m_list.GetSubItemRect(row, CItemList::kStatusColumn, LVIR_BOUNDS, cell);
        return cell;
    }
    // The region waiting to be painted after a change, starting from a clean window.
    CRect Repainted(const std::function<void()>& change)
    {
        ::ValidateRect(m_list.m_hWnd, nullptr);
        change();
        CRect update;
        ::GetUpdateRect(m_list.m_hWnd, &update, FALSE);
        return update;
    }
};

TEST_F(ItemListTest, RowsGetRecordsReadyForTheirBars)
{
    LVITEMW item = {};
    item.iItem = -1;
    EXPECT_EQ(-1, m_list.InsertRow(item));
    EXPECT_EQ(3, m_list.GetItemCount());
    const CItemList::AppendData* record = m_list.RecordOf(1);
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(1, record->row);
    EXPECT_EQ(CItemList::kStatusColumn, record->progressColumn);
    EXPECT_EQ(CItemList::kBarColour, record->barColour);
    EXPECT_EQ(0, record->barShown);
    EXPECT_EQ(nullptr, m_list.RecordOf(3));
}

TEST_F(ItemListTest, AProgressChangeRepaintsOnlyItsCell)
{
    EXPECT_EQ(Cell(1), Repainted([&] { m_list.ShowProgress(1, 1); }));
    EXPECT_TRUE(Repainted([&] { m_list.ShowProgress(1, 1); }).IsRectEmpty());
    EXPECT_EQ(Cell(1), Repainted([&] { m_list.SetProgress(1, 12.5f); }));
    EXPECT_TRUE(Repainted([&] { m_list.SetProgress(1, 12.5f); }).IsRectEmpty());
    EXPECT_TRUE(Repainted([&] { m_list.SetProgress(7, 12.5f); }).IsRectEmpty());
}

TEST_F(ItemListTest, TheListDrawsTheBarOnlyWhileItIsShown)
{
    m_list.SetProgress(0, 100.0f);
    m_list.SetProgress(2, 100.0f);
    m_list.ShowProgress(0, 1);
    CRect client;
    m_list.GetClientRect(&client);
    DibCanvas canvas(client.Width(), client.Height());
    m_list.SendMessage(WM_PRINTCLIENT, (WPARAM)canvas.dc(), PRF_CLIENT | PRF_ERASEBKGND);
    const CRect shown = Cell(0);
    EXPECT_EQ(CItemList::kBarColour, canvas.At(shown.left + 2, shown.top + 2));
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(shown.left, shown.top + 1));
    const CRect hidden = Cell(2);
    EXPECT_NE(CItemList::kBarColour, canvas.At(hidden.left + 2, hidden.top + 2));
}

TEST_F(ItemListTest, DeletingARowOrAllRowsLeavesNoRecordBehind)
{
    ASSERT_TRUE(m_list.DeleteRow(0));
    EXPECT_EQ(2, m_list.GetItemCount());
    ASSERT_NE(nullptr, m_list.RecordOf(0));
    EXPECT_TRUE(m_list.DeleteAllItems());
    EXPECT_EQ(0, m_list.GetItemCount());
    EXPECT_FALSE(m_list.LoadBackground()); // no picture in the test program: normal background
}
} // namespace
