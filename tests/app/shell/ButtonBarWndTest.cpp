// The tool bar panel in the running program: its buttons follow the frame's update handlers (and
// a disabled button takes the focus only from itself), a click reaches the frame's command, Enter
// and Escape do nothing, a disabled button still shows its tooltip, and a right-click between the
// buttons shows menu 135 while one on a button shows none.
#include "ShellHarness.h"

#include "app/shell/ButtonBarWnd.h"
#include "resources/resource.h"

using shelltest::ShellHarness;

namespace
{
// What the stand-in task list panel answers and what reached it.
struct ListState
{
    bool enabled[4] = {true, true, true, true}; // delete, start, pause, stop
    std::vector<UINT> commands;
};
ListState g_list;

// A task list panel that serves the tool bar's commands with switchable update states.
class CServingListPanel : public CPlaceholderPanel
{
  public:
    CServingListPanel() : CPlaceholderPanel(IDD_LISTWND)
    {
    }
    afx_msg void OnCommandRange(UINT id)
    {
        g_list.commands.push_back(id);
    }
    afx_msg void OnPause()
    {
        g_list.commands.push_back(ID_ACTION_PAUSE);
    }
    afx_msg void OnUpdateDelete(CCmdUI* state)
    {
        state->Enable(g_list.enabled[0]);
    }
    afx_msg void OnUpdateStart(CCmdUI* state)
    {
        state->Enable(g_list.enabled[1]);
    }
    afx_msg void OnUpdatePause(CCmdUI* state)
    {
        state->Enable(g_list.enabled[2]);
    }
    afx_msg void OnUpdateStop(CCmdUI* state)
    {
        state->Enable(g_list.enabled[3]);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CServingListPanel, CPlaceholderPanel)
ON_COMMAND_RANGE(ID_FILE_ADDFILE, ID_ACTION_STOP, OnCommandRange)
ON_COMMAND(ID_ACTION_PAUSE, OnPause)
ON_UPDATE_COMMAND_UI(ID_EDIT_DELETE, OnUpdateDelete)
ON_UPDATE_COMMAND_UI(ID_ACTION_START, OnUpdateStart)
ON_UPDATE_COMMAND_UI(ID_ACTION_PAUSE, OnUpdatePause)
ON_UPDATE_COMMAND_UI(ID_ACTION_STOP, OnUpdateStop)
END_MESSAGE_MAP()

CDialog* CreateServingList(CWnd* frame)
{
    CServingListPanel* panel = new CServingListPanel;
    if (!panel->Create(IDD_LISTWND, frame))
    {
        delete panel;
        return nullptr;
    }
    return panel;
}

struct MenuCall
{
    HWND owner;
    UINT menu;
    CPoint at;
};
std::vector<MenuCall> g_menus;
void RecordMenu(HWND owner, UINT menu, int x, int y)
{
    g_menus.push_back({owner, menu, CPoint(x, y)});
}

class ButtonBarWndTest : public ::testing::Test
{
  protected:
    ShellHarness m_shell{"ButtonBar"};
    CButtonBarWnd* m_bar = nullptr;
    MainPanelFactory m_oldList = nullptr;
    CButtonBarWnd::PopupMenuFunction m_oldMenu = nullptr;

    void SetUp() override
    {
        g_list = ListState();
        g_menus.clear();
        m_oldList = SetMainPanelFactory(kTaskListPanel, CreateServingList);
        m_oldMenu = CButtonBarWnd::s_showPopupMenu;
        CButtonBarWnd::s_showPopupMenu = RecordMenu;
        ASSERT_TRUE(m_shell.Start());
        m_bar = dynamic_cast<CButtonBarWnd*>(m_shell.Frame()->GetPanel(kToolBarPanel));
        ASSERT_NE(m_bar, nullptr);
    }
    void TearDown() override
    {
        m_shell.Stop();
        SetMainPanelFactory(kTaskListPanel, m_oldList);
        CButtonBarWnd::s_showPopupMenu = m_oldMenu;
    }
    CButtonST& Button(UINT id)
    {
        for (int i = 0; i < CButtonBarWnd::kButtonCount; i++)
            if (CButtonBarWnd::ButtonId(i) == id)
                return m_bar->Button(i);
        ADD_FAILURE() << id;
        return m_bar->Button(0);
    }
    CRect ScreenRect(CWnd& window)
    {
        CRect rect;
        window.GetWindowRect(&rect);
        return rect;
    }
};
} // namespace

TEST_F(ButtonBarWndTest, SevenPictureButtonsCentredInThePanel)
{
    CRect panel;
    m_bar->GetClientRect(&panel);
    CRect group;
    for (int i = 0; i < CButtonBarWnd::kButtonCount; i++)
    {
        CButtonST& button = m_bar->Button(i);
        EXPECT_EQ(UINT(button.GetDlgCtrlID()), CButtonBarWnd::ButtonId(i));
        EXPECT_TRUE(button.GetStyle() & BS_OWNERDRAW);
        // One picture of the four-state strip (128 x 32).
        const CRect rect = ScreenRect(button);
        EXPECT_EQ(rect.Width(), 32);
        EXPECT_EQ(rect.Height(), 32);
        group.UnionRect(&group, &rect);
    }
    m_bar->ScreenToClient(&group);
    EXPECT_NEAR(group.CenterPoint().y, panel.CenterPoint().y, 2);
    // Showing or hiding the menu bar changes the panel's height; the buttons stay centred in it.
    m_shell.Frame()->SendMessage(WM_COMMAND, ID_TOOL_SHOWMENU);
    m_shell.Pump();
    CRect resized;
    m_bar->GetClientRect(&resized);
    EXPECT_NE(resized.Height(), panel.Height());
    CRect moved = ScreenRect(m_bar->Button(3));
    m_bar->ScreenToClient(&moved);
    EXPECT_NEAR(moved.CenterPoint().y, resized.CenterPoint().y, 2);
}

TEST_F(ButtonBarWndTest, ButtonsFollowTheFrameAndKeepTheFocusWhereItIs)
{
    const UINT ids[] = {ID_EDIT_DELETE, ID_ACTION_START, ID_ACTION_PAUSE, ID_ACTION_STOP};
    for (UINT id : ids)
        EXPECT_TRUE(Button(id).IsWindowEnabled()) << id;
    // The frame serves options itself: always enabled.
    EXPECT_TRUE(Button(ID_TOOL_OPTION).IsWindowEnabled());
    EXPECT_TRUE(Button(ID_FILE_ADDFILE).IsWindowEnabled());

    // The keyboard is in the task list: disabling start leaves it there.
    CWnd* list = m_shell.Frame()->GetPanel(kTaskListPanel);
    const HWND listControl = ::GetDlgItem(list->m_hWnd, IDC_TASKLIST);
    ::SetFocus(listControl);
    ASSERT_EQ(::GetFocus(), listControl);
    g_list.enabled[1] = false;
    g_list.enabled[3] = false;
    m_shell.Pump();
    EXPECT_FALSE(Button(ID_ACTION_START).IsWindowEnabled());
    EXPECT_FALSE(Button(ID_ACTION_STOP).IsWindowEnabled());
    EXPECT_TRUE(Button(ID_ACTION_PAUSE).IsWindowEnabled());
    EXPECT_EQ(::GetFocus(), listControl);

    // A button that has the focus gives it away when it is disabled.
    g_list.enabled[1] = true;
    m_shell.Pump();
    EXPECT_TRUE(Button(ID_ACTION_START).IsWindowEnabled());
    Button(ID_ACTION_START).SetFocus();
    g_list.enabled[1] = false;
    m_shell.Pump();
    EXPECT_FALSE(Button(ID_ACTION_START).IsWindowEnabled());
    EXPECT_NE(::GetFocus(), Button(ID_ACTION_START).m_hWnd);
    EXPECT_TRUE(::IsChild(m_bar->m_hWnd, ::GetFocus()) || ::GetFocus() == m_bar->m_hWnd);
}

TEST_F(ButtonBarWndTest, ClicksReachTheFrameAndEnterOrEscapeDoNothing)
{
    Button(ID_ACTION_PAUSE).SendMessage(BM_CLICK);
    m_shell.Pump();
    ASSERT_EQ(g_list.commands.size(), 1u);
    EXPECT_EQ(g_list.commands[0], UINT(ID_ACTION_PAUSE));

    g_list.commands.clear();
    CButtonST& add = Button(ID_FILE_ADDFILE);
    add.SetFocus();
    ASSERT_EQ(::GetFocus(), add.m_hWnd);
    for (UINT key : {VK_RETURN, VK_ESCAPE})
    {
        add.PostMessage(WM_KEYDOWN, key, 1);
        add.PostMessage(WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
    }
    m_shell.Pump();
    EXPECT_TRUE(g_list.commands.empty());
    EXPECT_TRUE(m_bar->IsWindowVisible());
    EXPECT_TRUE(m_shell.Frame()->IsWindowVisible());
}

TEST_F(ButtonBarWndTest, OnlyTheGapsBetweenButtonsShowTheMainMenu)
{
    // Between delete and start (the template leaves a gap there).
    CRect del = ScreenRect(Button(ID_EDIT_DELETE)), start = ScreenRect(Button(ID_ACTION_START));
    ASSERT_LT(del.right, start.left);
    CPoint gap((del.right + start.left) / 2, del.CenterPoint().y);
    CPoint client = gap;
    m_bar->ScreenToClient(&client);
    m_bar->PostMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(client.x, client.y));
    m_bar->PostMessage(WM_RBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    m_shell.Pump();
    ASSERT_EQ(g_menus.size(), 1u);
    EXPECT_EQ(g_menus[0].menu, UINT(IDR_TITLEMENU));
    EXPECT_EQ(g_menus[0].at, gap);

    // On an enabled button and on a disabled one (whose clicks the panel gets): no menu.
    g_menus.clear();
    CButtonST& add = Button(ID_FILE_ADDFILE);
    add.PostMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    add.PostMessage(WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    g_list.enabled[1] = false;
    m_shell.Pump();
    ASSERT_FALSE(Button(ID_ACTION_START).IsWindowEnabled());
    CPoint onStart = start.CenterPoint();
    m_bar->ScreenToClient(&onStart);
    m_bar->PostMessage(WM_RBUTTONUP, 0, MAKELPARAM(onStart.x, onStart.y));
    m_shell.Pump();
    EXPECT_TRUE(g_menus.empty());
}

TEST_F(ButtonBarWndTest, ADisabledButtonStillShowsItsTooltip)
{
    g_list.enabled[1] = false;
    m_shell.Pump();
    CButtonST& start = Button(ID_ACTION_START);
    ASSERT_FALSE(start.IsWindowEnabled());
    ASSERT_NE(start.m_pToolTip, nullptr);
    const HWND tip = start.m_pToolTip->m_hWnd;
    ASSERT_FALSE(::IsWindowVisible(tip));

    // The pointer rests on the button; its moves reach the panel, since the button is disabled.
    ::SetForegroundWindow(m_shell.Frame()->m_hWnd);
    const CPoint centre = ScreenRect(start).CenterPoint();
    ASSERT_TRUE(::SetCursorPos(centre.x, centre.y));
    CPoint client = centre;
    m_bar->ScreenToClient(&client);
    MSG move = {m_bar->m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y), ::GetTickCount(), centre};
    m_shell.App()->PreTranslateMessage(&move);
    const DWORD deadline = ::GetTickCount() + 10000;
    while (!::IsWindowVisible(tip) && int(deadline - ::GetTickCount()) > 0)
    {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        m_shell.Pump(1);
    }
    ASSERT_TRUE(::IsWindowVisible(tip));
    WCHAR text[80] = {};
    TOOLINFOW info = {};
    info.cbSize = sizeof(info);
    info.lpszText = text;
    ASSERT_TRUE(::SendMessageW(tip, TTM_GETCURRENTTOOLW, 0, LPARAM(&info)));
    // The tool that stands for the disabled button on the panel, with the button's text.
    EXPECT_EQ(info.hwnd, m_bar->m_hWnd);
    CRect tool(info.rect);
    m_bar->ClientToScreen(&tool);
    EXPECT_EQ(tool, ScreenRect(start));
    EXPECT_EQ(rwtest::Utf8(text), "Start converting the checked tasks");
}
