// The header's built-in right-click menu, supplied by this program's resources and shown as a
// command-bar popup: a command chosen in the menu has reached the header, and acted on the
// right-clicked column, when the menu returns.
#include "RwTest.h"
#include "PopupBarWindow.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/Controls.h"
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

// The item to choose in the open popup bar (its controls in menu order; the separator makes none)
// and the controls it showed.
int g_chooseIndex = 0;
int g_menusSeen = 0;
std::vector<UINT> g_shownIds;

// Runs inside the popup's tracking loop: reads the popup bar's controls and clicks the chosen one.
void CALLBACK ChooseMenuItem(HWND, UINT, UINT_PTR id, DWORD)
{
    CWVPPopupBar* pPopup = rwtest::ThreadPopupBar();
    if (!pPopup)
        return;
    ::KillTimer(nullptr, id);
    ++g_menusSeen;
    g_shownIds.clear();
    CWVPControls* controls = pPopup->GetControls();
    for (int i = 0; i < controls->GetCount(); ++i)
        g_shownIds.push_back(UINT(controls->GetAt(i)->GetID()));
    const CPoint pt = controls->GetAt(g_chooseIndex)->GetRect().CenterPoint();
    CPoint screen = pt;
    ::ClientToScreen(pPopup->GetSafeHwnd(), &screen);
    // The tracking loop judges a click by the pointer's position.
    ::SetCursorPos(screen.x, screen.y);
    ::PostMessageW(pPopup->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    ::PostMessageW(pPopup->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
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

    // The header's menu is a popup bar of the menu's items.
    const std::vector<UINT> menuIds = {CWVHeaderCtrl::idSortAscending, CWVHeaderCtrl::idSortDescending,
                                       CWVHeaderCtrl::idAlignLeft, CWVHeaderCtrl::idAlignCenter,
                                       CWVHeaderCtrl::idAlignRight};
    const struct
    {
        int index;
        const char* item;
    } choices[] = {{1, "Sort Descending"}, {4, "Align Right"}};
    for (const auto& choice : choices)
    {
        SCOPED_TRACE(choice.item);
        g_chooseIndex = choice.index;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, ChooseMenuItem);
        header.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, inColumn1);
        ::KillTimer(nullptr, timer);
        EXPECT_EQ(menuIds, g_shownIds);
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
