#include "RwTest.h"
#include "DibCanvas.h"
#include "MenuWindow.h"
#include "uilib/controls/HeaderCtrl.h"
#include "uilib/controls/HeaderCtrlTheme.h"
#include "HeaderCtrlTestIds.h"

#include <memory>
#include <typeinfo>
#include <vector>

namespace
{
// A report list that records the column clicks it is told about.
class RecordingList : public CListCtrl
{
  public:
    std::vector<NMHEADERW> clicks;

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NOTIFY)
        {
            const auto* nmh = reinterpret_cast<const NMHEADERW*>(lParam);
            if (nmh->hdr.code == HDN_ITEMCLICKW)
                clicks.push_back(*nmh);
        }
        return CListCtrl::WindowProc(message, wParam, lParam);
    }
};

class HeaderFixture : public ::testing::Test
{
  protected:
    void Create(DWORD extraStyle = 0)
    {
        ASSERT_TRUE(m_list.Create(WS_POPUP | WS_VISIBLE | LVS_REPORT | extraStyle, CRect(0, 0, 400, 200), nullptr, 0));
        const wchar_t* headings[] = {L"Name", L"Size", L"Date"};
        for (int i = 0; i < 3; ++i)
            m_list.InsertColumn(i, headings[i], LVCFMT_LEFT, 100);
        ASSERT_TRUE(m_header.SubclassWindow(::GetDlgItem(m_list.GetSafeHwnd(), 0)));
    }
    void TearDown() override
    {
        if (m_list.GetSafeHwnd())
            m_list.DestroyWindow();
    }
    LPARAM PointIn(int column)
    {
        CRect rc;
        m_header.GetItemRect(column, &rc);
        return MAKELPARAM(rc.CenterPoint().x, rc.CenterPoint().y);
    }
    int ColumnFormat(int column)
    {
        LVCOLUMNW lvc = {};
        lvc.mask = LVCF_FMT;
        m_list.SendMessage(LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&lvc));
        return lvc.fmt & 3;
    }
    int Width(int column)
    {
        CRect rc;
        m_header.GetItemRect(column, &rc);
        return rc.Width();
    }
    void SetWidth(int column, int width)
    {
        HDITEMW hdi = {};
        hdi.mask = HDI_WIDTH;
        hdi.cxy = width;
        m_header.SetItem(column, &hdi);
    }
    RecordingList m_list;
    CWVHeaderCtrl m_header;
};
} // namespace

// What the menu loop showed: the menu's items, read while it is open, after which it is closed.
struct ShownMenu
{
    int shown = 0;
    std::vector<UINT> ids;
};
static ShownMenu g_shownMenu;

// Runs inside the menu's modal loop: reads the open menu and ends it.
static void CALLBACK ReadAndCloseMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND hMenuWnd = rwtest::ThreadMenuWindow();
    HMENU hMenu = hMenuWnd ? reinterpret_cast<HMENU>(::SendMessageW(hMenuWnd, MN_GETHMENU, 0, 0)) : nullptr;
    if (!hMenu)
        return;
    ++g_shownMenu.shown;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i)
        g_shownMenu.ids.push_back(::GetMenuItemID(hMenu, i));
    ::KillTimer(nullptr, id);
    ::EndMenu();
}

// The factory makes a theme per id; headers without a private theme share the plain one, and
// the flat header carries its own Office XP theme.
TEST(HeaderThemeTest, FactoryAndSharedTheme)
{
    CWVHeaderCtrlThemeFactory factory;
    std::unique_ptr<CWVThemeManagerStyle> xp(factory.CreateTheme(1));
    std::unique_ptr<CWVThemeManagerStyle> o2003(factory.CreateTheme(2));
    std::unique_ptr<CWVThemeManagerStyle> plain(factory.CreateTheme(5));
    EXPECT_NE(nullptr, dynamic_cast<CWVHeaderCtrlThemeOfficeXP*>(xp.get()));
    EXPECT_NE(nullptr, dynamic_cast<CWVHeaderCtrlThemeOffice2003*>(o2003.get()));
    EXPECT_EQ(typeid(CWVHeaderCtrlTheme), typeid(*plain));
    EXPECT_EQ(5, plain->m_nTheme);
    EXPECT_EQ(7u, static_cast<CWVHeaderCtrlTheme*>(plain.get())->GetDrawStyle());
    EXPECT_EQ(4u, static_cast<CWVHeaderCtrlTheme*>(xp.get())->GetDrawStyle());
    CWVHeaderCtrlThemeExplorer explorer;
    EXPECT_EQ(7u, explorer.GetDrawStyle());
    EXPECT_EQ(CSize(8, 4), explorer.m_sizeArrow);
    EXPECT_EQ(RGB(160, 140, 120),
              CWVHeaderCtrlThemeOffice2003::BlendColors(RGB(200, 100, 100), RGB(100, 200, 150), 0.4));

    CWVHeaderCtrl a, b;
    CWVFlatHeaderCtrl flat;
    ASSERT_NE(nullptr, a.GetTheme());
    EXPECT_EQ(a.GetTheme(), b.GetTheme());
    EXPECT_EQ(typeid(CWVHeaderCtrlTheme), typeid(*a.GetTheme()));
    EXPECT_EQ(typeid(CWVHeaderCtrlThemeOfficeXP), typeid(*flat.GetTheme()));
}

// Menu commands sort by the right-clicked column (once per direction) and align it; without the
// header menu resource a right-click shows nothing.
TEST_F(HeaderFixture, MenuCommandsSortAndAlign)
{
    Create();
    m_header.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, PointIn(1));
    m_header.SendMessage(WM_COMMAND, CWVHeaderCtrl::idSortAscending, 0);
    ASSERT_EQ(1u, m_list.clicks.size());
    EXPECT_EQ(1, m_list.clicks[0].iItem);
    EXPECT_EQ(1, m_list.clicks[0].iButton);
    EXPECT_EQ(m_header.GetSafeHwnd(), m_list.clicks[0].hdr.hwndFrom);
    BOOL ascending = FALSE;
    EXPECT_EQ(1, m_header.GetSortColumn(&ascending));
    EXPECT_TRUE(ascending);

    m_header.SendMessage(WM_COMMAND, CWVHeaderCtrl::idSortAscending, 0);
    EXPECT_EQ(1u, m_list.clicks.size());
    m_header.SendMessage(WM_COMMAND, CWVHeaderCtrl::idSortDescending, 0);
    EXPECT_EQ(2u, m_list.clicks.size());
    EXPECT_EQ(1, m_header.GetSortColumn(&ascending));
    EXPECT_FALSE(ascending);

    const struct
    {
        UINT command;
        int format;
    } aligns[] = {{CWVHeaderCtrl::idAlignRight, LVCFMT_RIGHT},
                  {CWVHeaderCtrl::idAlignCenter, LVCFMT_CENTER},
                  {CWVHeaderCtrl::idAlignLeft, LVCFMT_LEFT}};
    for (const auto& c : aligns)
    {
        m_header.SendMessage(WM_COMMAND, c.command, 0);
        EXPECT_EQ(c.format, ColumnFormat(1));
    }
    EXPECT_EQ(LVCFMT_LEFT, ColumnFormat(2));
}

// A menu given with SetPopupMenu shows on a right-click and its commands reach the header; without
// one (the built-in menu is not among the program's resources) or with LVS_NOSORTHEADER none shows.
TEST_F(HeaderFixture, PopupMenuShowsOnlyWhenGiven)
{
    Create();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, ReadAndCloseMenu);
    m_header.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, PointIn(0));
    EXPECT_EQ(0, g_shownMenu.shown);

    m_header.SetPopupMenu(IDR_TEST_HEADER_MENU, 0);
    m_header.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, PointIn(2));
    ::KillTimer(nullptr, timer);
    ASSERT_EQ(1, g_shownMenu.shown);
    EXPECT_EQ((std::vector<UINT>{CWVHeaderCtrl::idSortAscending, CWVHeaderCtrl::idSortDescending,
                                 CWVHeaderCtrl::idAlignLeft}),
              g_shownMenu.ids);
    // The right-clicked column is the one the commands act on.
    m_header.SendMessage(WM_COMMAND, CWVHeaderCtrl::idSortDescending, 0);
    ASSERT_EQ(1u, m_list.clicks.size());
    EXPECT_EQ(2, m_list.clicks[0].iItem);

    m_list.DestroyWindow();
    Create(LVS_NOSORTHEADER);
    m_header.SetPopupMenu(IDR_TEST_HEADER_MENU, 0);
    const UINT_PTR again = ::SetTimer(nullptr, 0, 50, ReadAndCloseMenu);
    m_header.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, PointIn(1));
    ::KillTimer(nullptr, again);
    EXPECT_EQ(1, g_shownMenu.shown);
}

// With LVS_NOSORTHEADER the right-click is not the header's: the point is not taken.
TEST_F(HeaderFixture, NoSortHeaderKeepsTheMenuOff)
{
    Create(LVS_NOSORTHEADER);
    m_header.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, PointIn(2));
    m_header.SendMessage(WM_COMMAND, CWVHeaderCtrl::idSortAscending, 0);
    ASSERT_EQ(1u, m_list.clicks.size());
    EXPECT_EQ(0, m_list.clicks[0].iItem); // the stored point is still the corner
}

// Fixed columns keep their width, no column goes below the minimum, and auto-fit shares the
// header's width among the other columns.
TEST_F(HeaderFixture, FixedMinimumAndAutoFitColumns)
{
    Create();
    m_header.AddFixedColumn(0);
    m_header.SetMinColumnWidth(40);
    SetWidth(0, 150);
    EXPECT_EQ(100, Width(0));
    SetWidth(1, 30);
    EXPECT_EQ(100, Width(1));
    SetWidth(1, 60);
    EXPECT_EQ(60, Width(1));
    EXPECT_EQ(100, m_header.GetFixedColumnsWidth());

    m_header.SetAutoFitColumns(TRUE);
    CRect rc;
    m_header.GetWindowRect(&rc);
    m_header.SetWindowPos(nullptr, 0, 0, 360, rc.Height(), SWP_NOMOVE | SWP_NOZORDER);
    // The list lays its header out again at its own width: the columns follow whichever came last.
    m_header.GetWindowRect(&rc);
    EXPECT_EQ(100, Width(0));
    EXPECT_EQ((rc.Width() - 100) / 2, Width(1));
    EXPECT_EQ((rc.Width() - 100) / 2, Width(2));
    EXPECT_NE(60, Width(1));
    m_header.SetAutoFitColumns(FALSE);
    m_header.RemoveFixedColumn(0);
    EXPECT_FALSE(m_header.IsFixedColumn(0));
    m_header.FitColumnsToWidth(240);
    EXPECT_EQ(80, Width(0));
    EXPECT_EQ(80, Width(2));
}

// A header without columns ignores width changes under auto-fit.
TEST(HeaderCtrlTest, EmptyHeaderIgnoresAutoFit)
{
    CWVHeaderCtrl header;
    ASSERT_TRUE(header.Create(WS_POPUP | HDS_HORZ, CRect(0, 0, 200, 20), nullptr, 0));
    header.SetAutoFitColumns(TRUE);
    header.SetWindowPos(nullptr, 0, 0, 300, 20, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(0, header.GetItemCount());
    header.DestroyWindow();
}

// Every theme answers the layout question of its list completely: the place it names is the
// header's own window at the top of the given area. The list moves the window named there, so a
// window left unnamed would send whatever its caller's memory held to some other window.
TEST_F(HeaderFixture, LayoutNamesTheHeaderItself)
{
    Create();
    CWnd bystander;
    ASSERT_TRUE(bystander.CreateEx(0, L"Static", L"", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    struct Case
    {
        const char* name;
        CWVHeaderCtrlTheme* theme;
    } cases[] = {{"plain", new CWVHeaderCtrlTheme},
                 {"Office XP", new CWVHeaderCtrlThemeOfficeXP},
                 {"Office 2003", new CWVHeaderCtrlThemeOffice2003},
                 {"Explorer", new CWVHeaderCtrlThemeExplorer}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_header.SetTheme(c.theme);
        RECT area = {0, 0, 400, 200};
        WINDOWPOS place = {};
        place.hwnd = bystander.GetSafeHwnd();
        HDLAYOUT layout = {&area, &place};
        ASSERT_TRUE(m_header.SendMessage(HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout)));
        EXPECT_EQ(m_header.GetSafeHwnd(), place.hwnd);
        EXPECT_EQ(0, place.x);
        EXPECT_EQ(0, place.y);
        EXPECT_EQ(400, place.cx);
        EXPECT_GT(place.cy, 0);
        EXPECT_EQ(place.cy, area.top);
    }
    bystander.DestroyWindow();
}

// The header paints itself through its theme: face colour, column separators and a sort arrow
// that appears right of the sort column's text.
TEST_F(HeaderFixture, PaintsThroughItsTheme)
{
    Create();
    CRect rc;
    m_header.GetClientRect(&rc);
    auto* theme = m_header.GetTheme();
    theme->SetDrawStyle(CWVHeaderCtrlTheme::styleSortArrow, &m_header);

    DibCanvas plain(rc.Width(), rc.Height(), RGB(1, 2, 3));
    EXPECT_EQ(1, m_header.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(plain.dc()), PRF_CLIENT));
    EXPECT_EQ(theme->m_clrFace, plain.At(50, 3));
    EXPECT_EQ(theme->m_clrShadow, plain.At(98, rc.Height() / 2));
    EXPECT_EQ(theme->m_clrDarkShadow, plain.At(99, rc.Height() / 2));
    EXPECT_EQ(theme->m_clrHighlight, plain.At(100, rc.Height() / 2));

    m_header.SetSortArrow(2, TRUE);
    DibCanvas sorted(rc.Width(), rc.Height(), RGB(1, 2, 3));
    m_header.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(sorted.dc()), PRF_CLIENT);
    int changedInArrowArea = 0, changedElsewhere = 0;
    for (int y = 0; y < rc.Height(); ++y)
        for (int x = 0; x < rc.Width(); ++x)
            if (plain.At(x, y) != sorted.At(x, y))
                ++((x > 200 + 6 && x < 300 - 6) ? changedInArrowArea : changedElsewhere);
    EXPECT_GT(changedInArrowArea, 8);
    EXPECT_EQ(0, changedElsewhere);

    // The same arrow drawn with the arrow off is not there.
    m_header.ShowSortArrow(FALSE);
    DibCanvas hidden(rc.Width(), rc.Height(), RGB(1, 2, 3));
    m_header.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hidden.dc()), PRF_CLIENT);
    for (int x = 220; x < 290; ++x)
        EXPECT_EQ(plain.At(x, rc.Height() / 2), hidden.At(x, rc.Height() / 2)) << x;
}

// The flat header of the library's lists: a raised frame and one shadow and one highlight line
// between columns.
TEST(HeaderCtrlTest, FlatHeaderDrawsFlatSeparators)
{
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_POPUP | LVS_REPORT, CRect(0, 0, 300, 100), nullptr, 0));
    list.InsertColumn(0, L"A", LVCFMT_LEFT, 100);
    list.InsertColumn(1, L"B", LVCFMT_LEFT, 100);
    CWVFlatHeaderCtrl header;
    ASSERT_TRUE(header.SubclassWindow(::GetDlgItem(list.GetSafeHwnd(), 0)));
    CRect rc;
    header.GetClientRect(&rc);
    DibCanvas canvas(rc.Width(), rc.Height(), RGB(1, 2, 3));
    header.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    auto* theme = header.GetTheme();
    const int y = rc.Height() / 2;
    EXPECT_EQ(theme->m_clrFace, canvas.At(60, y));
    EXPECT_EQ(theme->m_clrShadow, canvas.At(98, y));
    EXPECT_EQ(theme->m_clrHighlight, canvas.At(99, y));
    EXPECT_EQ(theme->m_clrFace, canvas.At(100, y));
    EXPECT_EQ(theme->m_clrHighlight, canvas.At(0, y));
    EXPECT_EQ(theme->m_clrShadow, canvas.At(50, rc.Height() - 1));
    list.DestroyWindow();
}
