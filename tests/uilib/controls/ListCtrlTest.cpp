#include "RwTest.h"
#include "DibCanvas.h"
#include "uilib/controls/HeaderCtrlTheme.h"
#include "uilib/controls/ListCtrl.h"
#include "uilib/foundation/AuxData.h"
#include "uilib/foundation/ColorBlend.h"
#include "uilib/foundation/SortClass.h"

#include <string>
#include <vector>

namespace
{
const wchar_t kCompany[] = L"Reelwright Tests";
const wchar_t kProfile[] = L"ListCtrlTest";

std::string Narrow(const CString& text)
{
    return CStringA(text).GetString();
}

// A list that sorts each column by its own type, the way the application's lists do in their hook.
class SortingList : public CWVListCtrl
{
  public:
    std::vector<int> types;
    int sorts = 0;
    BOOL SortList(int nCol, BOOL bAscending) override
    {
        ++sorts;
        CWVSortClass sorter(this, nCol);
        sorter.Sort(bAscending, types.at(nCol));
        return TRUE;
    }
};

// A framework window holding the list, so that the list's custom-draw notifications come back to it.
class ListFixture : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), L"host", WS_POPUP | WS_VISIBLE, 0, 0, 420, 220,
                                      nullptr, nullptr));
    }
    void TearDown() override
    {
        if (m_list.GetSafeHwnd())
            m_list.DestroyWindow();
        m_parent.DestroyWindow();
    }
    void Create(DWORD style = LVS_REPORT, std::vector<int> widths = {120, 80, 200})
    {
        ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | style, CRect(0, 0, 420, 220), &m_parent, 1));
        const wchar_t* headings[] = {L"Name", L"Size", L"Date", L"Rate"};
        for (size_t i = 0; i < widths.size(); ++i)
            m_list.InsertColumn(int(i), headings[i], LVCFMT_LEFT, widths[i]);
    }
    void AddRows(const std::vector<std::vector<const wchar_t*>>& rows)
    {
        for (size_t r = 0; r < rows.size(); ++r)
        {
            m_list.InsertItem(int(r), rows[r][0]);
            for (size_t c = 1; c < rows[r].size(); ++c)
                m_list.SetItemText(int(r), int(c), rows[r][c]);
        }
    }
    std::vector<std::string> Column(int col)
    {
        std::vector<std::string> texts;
        for (int i = 0; i < m_list.GetItemCount(); ++i)
            texts.push_back(Narrow(m_list.GetItemText(i, col)));
        return texts;
    }
    CWnd* Header()
    {
        return m_list.GetHeaderCtrl();
    }
    LPARAM PointIn(int column)
    {
        CRect rc;
        static_cast<CHeaderCtrl*>(Header())->GetItemRect(column, &rc);
        return MAKELPARAM(rc.CenterPoint().x, rc.CenterPoint().y);
    }
    void Click(int column)
    {
        Header()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, PointIn(column));
        Header()->SendMessage(WM_LBUTTONUP, 0, PointIn(column));
    }
    // Sends a header notification to the list the way the header does; gives the list's answer.
    LRESULT Notify(UINT code, int item, HDITEMW* pItem = nullptr)
    {
        NMHEADERW nmh = {};
        nmh.hdr.hwndFrom = Header()->GetSafeHwnd();
        nmh.hdr.code = code;
        nmh.iItem = item;
        nmh.pitem = pItem;
        return m_list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nmh));
    }
    CWnd m_parent;
    SortingList m_list;
};
} // namespace

// Three columns at 120/80/200 give "Column Info" = "120,80,200," under the application's key, by
// column index even when the columns were dragged into another order; a new list restores them.
// Columns the stored text does not mention (a first run, a column added since) keep their widths.
TEST_F(ListFixture, ColumnWidthsPersistByColumnIndex)
{
    CWinApp app(kProfile);
    app.SetRegistryKey(kCompany);
    CString path;
    path.Format(L"Software\\%s\\%s\\Settings", kCompany, kProfile);
    ::RegDeleteKeyW(HKEY_CURRENT_USER, path);

    Create();
    m_list.PersistColumnWidths();
    EXPECT_EQ(120, m_list.GetColumnWidth(0));
    EXPECT_EQ(200, m_list.GetColumnWidth(2));
    int order[] = {2, 0, 1};
    m_list.SetColumnOrderArray(3, order);
    m_list.DestroyWindow();

    WCHAR value[64] = {};
    DWORD size = sizeof(value);
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegGetValueW(HKEY_CURRENT_USER, path, L"Column Info", RRF_RT_REG_SZ, nullptr, value, &size));
    EXPECT_EQ(L"120,80,200,", CString(value));

    Create(LVS_REPORT, {50, 50, 50, 50});
    m_list.SetColumnOrderArray(3, order);
    m_list.PersistColumnWidths();
    EXPECT_EQ(120, m_list.GetColumnWidth(0));
    EXPECT_EQ(80, m_list.GetColumnWidth(1));
    EXPECT_EQ(200, m_list.GetColumnWidth(2));
    EXPECT_EQ(50, m_list.GetColumnWidth(3));
    EXPECT_EQ(0, m_list.LoadColumnWidth(3));
    m_list.m_bPersistColumns = false;
    ::RegDeleteKeyW(HKEY_CURRENT_USER, path);
}

// Header clicks sort: a new column ascending, the same column again descending, a sort chosen from
// the header's menu in the header's direction; integers, text, dates and decimals each sort right.
TEST_F(ListFixture, HeaderClicksSortEachTypeBothWays)
{
    Create(LVS_REPORT, {80, 80, 140, 80});
    m_list.types = {CWVSortClass::typeInt, CWVSortClass::typeString, CWVSortClass::typeDateTime,
                    CWVSortClass::typeDecimal};
    AddRows({{L"10", L"beta", L"2024-03-01 10:00:00", L"2.5"},
             {L"a7", L"Alpha", L"2023-12-31", L"-1.25"},
             {L"1,200", L"gamma", L"2024-03-01 09:59:59", L"10"}});
    ASSERT_TRUE(m_list.SubclassHeader(FALSE));
    EXPECT_FALSE(m_list.SubclassHeader(FALSE)); // once only
    const struct
    {
        int column;
        std::vector<std::string> ascending;
    } cases[] = {
        {0, {"a7", "10", "1,200"}},
        {1, {"Alpha", "beta", "gamma"}},
        {2, {"2023-12-31", "2024-03-01 09:59:59", "2024-03-01 10:00:00"}},
        {3, {"-1.25", "2.5", "10"}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.column);
        Click(c.column);
        EXPECT_EQ(c.ascending, Column(c.column));
        EXPECT_EQ(c.column, m_list.GetSortColumn());
        EXPECT_TRUE(m_list.IsSortAscending());
        Click(c.column);
        EXPECT_EQ(std::vector<std::string>(c.ascending.rbegin(), c.ascending.rend()), Column(c.column));
        EXPECT_FALSE(m_list.IsSortAscending());
        BOOL headerAscending = TRUE;
        EXPECT_EQ(c.column, m_list.GetFlatHeader().GetSortColumn(&headerAscending));
        EXPECT_FALSE(headerAscending);
    }

    // The header's menu: sort column 1 ascending, then descending.
    Header()->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, PointIn(1));
    Header()->SendMessage(WM_COMMAND, CWVHeaderCtrl::idSortAscending, 0);
    EXPECT_EQ(1, m_list.GetSortColumn());
    EXPECT_TRUE(m_list.IsSortAscending());
    EXPECT_EQ(cases[1].ascending, Column(1));
    Header()->SendMessage(WM_COMMAND, CWVHeaderCtrl::idSortDescending, 0);
    EXPECT_FALSE(m_list.IsSortAscending());
    EXPECT_EQ(std::vector<std::string>(cases[1].ascending.rbegin(), cases[1].ascending.rend()), Column(1));

    // Buttons other than a click or the menu's do nothing.
    const int sorts = m_list.sorts;
    NMHEADERW nmh = {};
    nmh.hdr.hwndFrom = Header()->GetSafeHwnd();
    nmh.hdr.code = HDN_ITEMCLICKW;
    nmh.iItem = 0;
    nmh.iButton = 2;
    m_list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nmh));
    EXPECT_EQ(sorts, m_list.sorts);
    EXPECT_EQ(1, m_list.GetSortColumn());
}

// Locked columns refuse a divider drag and a divider double-click (which would fit the column);
// a width below the minimum is raised to it.
TEST_F(ListFixture, LockedAndMinimumColumns)
{
    Create();
    AddRows({{L"x", L"y", L"z"}});
    ASSERT_TRUE(m_list.SubclassHeader(FALSE));
    m_list.LockColumnWidths(TRUE);
    EXPECT_EQ(1, Notify(HDN_BEGINTRACKW, 0));
    CRect rc;
    static_cast<CHeaderCtrl*>(Header())->GetItemRect(0, &rc);
    const LPARAM divider = MAKELPARAM(rc.right - 1, rc.CenterPoint().y);
    Header()->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, divider);
    EXPECT_EQ(120, m_list.GetColumnWidth(0));
    m_list.LockColumnWidths(FALSE);
    EXPECT_EQ(0, Notify(HDN_BEGINTRACKW, 0));
    Header()->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, divider);
    EXPECT_NE(120, m_list.GetColumnWidth(0));

    m_list.m_nMinColWidth = 40;
    HDITEMW item = {};
    item.mask = HDI_WIDTH;
    item.cxy = 10;
    Notify(HDN_ITEMCHANGINGW, 1, &item);
    EXPECT_EQ(40, item.cxy);
    item.cxy = 60;
    Notify(HDN_ENDTRACKW, 1, &item);
    EXPECT_EQ(60, item.cxy);
}

// Cell colours: the sorted column's shade, row colours (blended into the sorted column, not on a
// selected row), custom colours, and a disabled list in button face.
TEST_F(ListFixture, CustomDrawColoursCells)
{
    Create();
    AddRows({{L"", L"", L""}, {L"", L"", L""}, {L"", L"", L""}});
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    const COLORREF rowBack = RGB(200, 40, 40);
    m_list.m_bRowColors = true;
    m_list.m_bSortColors = true;
    m_list.m_arRowColors.AddTail({1, rowBack, RGB(0, 0, 255)});
    m_list.m_arRowColors.AddTail({2, RGB(0, 200, 0), RGB(0, 0, 0)});
    m_list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    m_list.SetSortArrow(1, TRUE);
    const COLORREF sortBack = WVPSubtractColors(window, RGB(8, 8, 8));
    EXPECT_EQ(sortBack, m_list.GetSortBackColor());

    CRect rcClient;
    m_list.GetClientRect(&rcClient);
    auto cell = [&](const DibCanvas& canvas, int row, int col) {
        CRect rc;
        m_list.GetSubItemRect(row, col, LVIR_BOUNDS, rc);
        // Beside the text: the first pixels right of the cell's left edge.
        return canvas.At(rc.left + 6, rc.CenterPoint().y);
    };
    DibCanvas canvas(rcClient.Width(), rcClient.Height(), RGB(1, 2, 3));
    m_list.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    EXPECT_EQ(window, cell(canvas, 0, 0));
    EXPECT_EQ(sortBack, cell(canvas, 0, 1));
    EXPECT_EQ(rowBack, cell(canvas, 1, 0));
    EXPECT_EQ(WVPBlendColors(rowBack, sortBack, 50), cell(canvas, 1, 1));
    EXPECT_EQ(rowBack, cell(canvas, 1, 2));
    EXPECT_NE(RGB(0, 200, 0), cell(canvas, 2, 2)); // selected: no row colour

    m_list.m_bCustomColors = true;
    m_list.m_crBack = RGB(250, 240, 200);
    m_list.m_bRowColors = false;
    m_list.RefreshColors();
    m_list.SetItemState(2, 0, LVIS_SELECTED);
    canvas.Fill(RGB(1, 2, 3));
    m_list.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    EXPECT_EQ(RGB(250, 240, 200), cell(canvas, 1, 0));
    EXPECT_EQ(RGB(242, 232, 192), cell(canvas, 1, 1));

    m_list.EnableWindow(FALSE);
    canvas.Fill(RGB(1, 2, 3));
    m_list.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    for (int col = 0; col < 3; ++col)
        EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), cell(canvas, 1, col)) << col;
}

// The list paints through a buffer: below the rows the sorted column keeps its shade across the
// whole height, the rest shows the list's background.
TEST_F(ListFixture, PaintShadesTheSortedColumnBelowTheRows)
{
    Create();
    AddRows({{L"a", L"b", L"c"}});
    m_list.m_bSortColors = true;
    m_list.SetSortArrow(1, TRUE);
    m_list.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    CRect rcClient;
    m_list.GetClientRect(&rcClient);
    DibCanvas canvas(rcClient.Width(), rcClient.Height(), RGB(1, 2, 3));
    HDC hdc = ::GetDC(m_list.GetSafeHwnd());
    ::BitBlt(canvas.dc(), 0, 0, rcClient.Width(), rcClient.Height(), hdc, 0, 0, SRCCOPY);
    ::ReleaseDC(m_list.GetSafeHwnd(), hdc);
    const int y = rcClient.bottom - 10;
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), canvas.At(60, y));
    EXPECT_EQ(m_list.GetSortBackColor(), canvas.At(160, y));
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), canvas.At(300, y));
}

// Fitting columns: contents or heading, whichever is wider, within the minimum and maximum; a list
// in icon view is left as it is.
TEST_F(ListFixture, AutoSizeColumnFitsContentsAndHeading)
{
    Create(LVS_REPORT, {300, 5, 300});
    AddRows({{L"x", L"a rather long cell text", L"y"}});
    m_list.m_nMinColWidth = 30;
    m_list.AutoSizeColumn(0);
    const int first = m_list.GetColumnWidth(0);
    EXPECT_LT(first, 300);
    EXPECT_GE(first, 30);
    EXPECT_EQ(5, m_list.GetColumnWidth(1));
    m_list.AutoSizeColumn(-1);
    EXPECT_GT(m_list.GetColumnWidth(1), m_list.GetStringWidth(L"a rather long cell text"));
    EXPECT_LT(m_list.GetColumnWidth(2), 300);
    m_list.m_nMaxColWidth = 40;
    m_list.AutoSizeColumn(1);
    EXPECT_EQ(40, m_list.GetColumnWidth(1));

    m_list.DestroyWindow();
    Create(LVS_ICON, {});
    m_list.AutoSizeColumn(-1);
    EXPECT_EQ(-1, m_list.GetColumnCount());
    EXPECT_EQ(-1, m_list.AddColumn(L"none"));
}

// Column and row operations: adding columns, copying a row before its source (the sub-items come
// from the shifted source), moving a row, the hit test by display position.
TEST_F(ListFixture, ColumnAndRowOperations)
{
    Create(LVS_REPORT, {});
    const int widths[] = {70, 90};
    const LPCWSTR headings[] = {L"A", L"B"};
    ASSERT_TRUE(m_list.BuildColumns(2, widths, headings));
    EXPECT_EQ(2, m_list.AddColumn(L"C"));
    EXPECT_EQ(90, m_list.GetColumnWidth(2));
    EXPECT_EQ(3, m_list.GetColumnCount());
    const UINT missing[] = {65000};
    const int one[] = {10};
    EXPECT_TRUE(m_list.BuildColumnsFromResources(1, one, missing));
    EXPECT_EQ(4, m_list.GetColumnCount());
    EXPECT_TRUE(m_list.BuildColumnsFromResources(0, one, missing));

    AddRows({{L"r0", L"s0"}, {L"r1", L"s1", L"t1"}, {L"r2", L"s2"}});
    m_list.SetItemData(1, 77);
    EXPECT_EQ(-1, m_list.CopyRow(1, 1));
    EXPECT_EQ(-1, m_list.CopyRow(-1, 0));
    EXPECT_EQ(2, m_list.CopyRow(1, 0));
    EXPECT_EQ((std::vector<std::string>{"r1", "r0", "r1", "r2"}), Column(0));
    EXPECT_EQ((std::vector<std::string>{"s1", "s0", "s1", "s2"}), Column(1));
    EXPECT_EQ("t1", Narrow(m_list.GetItemText(0, 2)));
    EXPECT_EQ(77u, m_list.GetItemData(0));
    EXPECT_TRUE(m_list.MoveRow(3, 1));
    EXPECT_EQ((std::vector<std::string>{"r1", "r2", "r0", "r1"}), Column(0));

    CRect rc;
    m_list.GetItemRect(1, &rc, LVIR_BOUNDS);
    // Columns from the left: the heading from resources (inserted first), A, B, C.
    CPoint pt(10 + 70 + 45, rc.CenterPoint().y);
    int col = -1;
    EXPECT_EQ(1, m_list.HitTestEx(pt, &col));
    EXPECT_EQ(2, col);
    CPoint below(10, 200);
    EXPECT_EQ(-1, m_list.HitTestEx(below, &col));

    EXPECT_TRUE(m_list.ModifyExtendedStyle(0, LVS_EX_FULLROWSELECT));
    EXPECT_FALSE(m_list.ModifyExtendedStyle(0, LVS_EX_FULLROWSELECT));
    m_list.SetExtendedStyle(LVS_EX_GRIDLINES);
    EXPECT_EQ(DWORD(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES), m_list.GetExtendedStyle());
    EXPECT_TRUE(m_list.ModifyExtendedStyle(LVS_EX_GRIDLINES, 0));
    EXPECT_EQ(DWORD(LVS_EX_FULLROWSELECT), m_list.GetExtendedStyle());
}

// A list subclassed from an existing window (a dialog's) initialises itself then: the UI font.
TEST(ListCtrlTest, SubclassedListTakesTheUIFont)
{
    ::InitCommonControls();
    HWND hWnd = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | LVS_REPORT, 0, 0, 100, 100, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(nullptr, hWnd);
    CWVListCtrl list;
    list.m_bUseUIFont = true;
    ASSERT_TRUE(list.SubclassWindow(hWnd));
    EXPECT_EQ(reinterpret_cast<LRESULT>(WVPAuxData()->font.GetSafeHandle()), list.SendMessage(WM_GETFONT));
    list.DestroyWindow();
}
