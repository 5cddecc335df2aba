// The header's built-in right-click menu, supplied by this program's resources: a command chosen
// in the menu has reached the header, and acted on the right-clicked column, when the menu returns.
#include "RwTest.h"
#include "MenuWindow.h"
#include "uilib/controls/HeaderCtrl.h"
#include "uilib/foundation/PopupMenu.h"

#include <vector>

namespace
{
// A report list that records the column clicks it is told about.
class RecordingList : public CListCtrl
{
  public:
    std::vector<int> clickedColumns;

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == HDN_ITEMCLICKW)
            clickedColumns.push_back(reinterpret_cast<const NMHEADERW*>(lParam)->iItem);
        return CListCtrl::WindowProc(message, wParam, lParam);
    }
};

// Keys for the open menu: that many steps down (separators are skipped), then Return.
int g_stepsDown = 0;
int g_menusSeen = 0;

// Runs inside the menu's modal loop: picks the item g_stepsDown places down.
void CALLBACK ChooseMenuItem(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND hMenuWnd = rwtest::ThreadMenuWindow();
    if (!hMenuWnd)
        return;
    ::KillTimer(nullptr, id);
    ++g_menusSeen;
    for (int i = 0; i < g_stepsDown; ++i)
        ::PostMessageW(hMenuWnd, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageW(hMenuWnd, WM_KEYDOWN, VK_RETURN, 0);
}

// A popup tracker as the command bars install one: it chooses a command and, asked not to
// notify, tells it only to a caller that wants it back.
UINT g_trackerChoice = 0;
BOOL ChoosingTracker(HMENU, UINT nFlags, int, int, CWnd* pWnd, int, BOOL bNoNotify, BOOL* pResult)
{
    if (nFlags & TPM_RETURNCMD)
        *pResult = (BOOL)g_trackerChoice;
    else
    {
        *pResult = TRUE;
        if (!bNoNotify)
            pWnd->SendMessage(WM_COMMAND, g_trackerChoice, 0);
    }
    return TRUE;
}

int ColumnAlignment(CListCtrl& list, int column)
{
    LVCOLUMNW lvc = {};
    lvc.mask = LVCF_FMT;
    list.SendMessage(LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&lvc));
    return lvc.fmt & 3;
}
} // namespace

TEST(HeaderCtrlMenuTest, ChosenCommandsReachTheHeader)
{
    RecordingList list;
    CWVHeaderCtrl header;
    ASSERT_TRUE(list.Create(WS_POPUP | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 400, 200), nullptr, 0));
    for (int i = 0; i < 3; ++i)
        list.InsertColumn(i, L"Column", LVCFMT_LEFT, 100);
    ASSERT_TRUE(header.SubclassWindow(::GetDlgItem(list.GetSafeHwnd(), 0)));
    CRect rc;
    header.GetItemRect(1, &rc);
    const LPARAM inColumn1 = MAKELPARAM(rc.CenterPoint().x, rc.CenterPoint().y);

    const struct
    {
        int stepsDown;
        const char* item;
    } choices[] = {{2, "Sort Descending"}, {5, "Align Right"}};
    for (const auto& choice : choices)
    {
        SCOPED_TRACE(choice.item);
        g_stepsDown = choice.stepsDown;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, ChooseMenuItem);
        header.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, inColumn1);
        ::KillTimer(nullptr, timer);
    }
    ASSERT_EQ(2, g_menusSeen);
    ASSERT_EQ(std::vector<int>{1}, list.clickedColumns);
    BOOL ascending = TRUE;
    EXPECT_EQ(1, header.GetSortColumn(&ascending));
    EXPECT_FALSE(ascending);
    EXPECT_EQ(LVCFMT_RIGHT, ColumnAlignment(list, 1));
    EXPECT_EQ(LVCFMT_LEFT, ColumnAlignment(list, 0));

    // Through a popup tracker the same.
    WVPSetPopupMenuTracker(&ChoosingTracker);
    header.GetItemRect(2, &rc);
    g_trackerChoice = CWVHeaderCtrl::idSortAscending;
    header.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(rc.CenterPoint().x, rc.CenterPoint().y));
    g_trackerChoice = CWVHeaderCtrl::idAlignCenter;
    header.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(rc.CenterPoint().x, rc.CenterPoint().y));
    WVPSetPopupMenuTracker(nullptr);
    EXPECT_EQ((std::vector<int>{1, 2}), list.clickedColumns);
    EXPECT_EQ(2, header.GetSortColumn(&ascending));
    EXPECT_TRUE(ascending);
    EXPECT_EQ(LVCFMT_CENTER, ColumnAlignment(list, 2));
    list.DestroyWindow();
}
