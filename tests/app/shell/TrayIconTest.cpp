#include "RwTest.h"
#include "WideText.h"
#include "app/shell/TrayIcon.h"

#include <vector>

namespace
{
// A desktop whose task bar, task-bar position and work area the test chooses.
class FakeDesktop : public CTrayDesktop
{
  public:
    bool hasBar = false;
    RECT bar = {};
    std::vector<Child> children;
    bool hasPosition = false;
    UINT edge = ABE_BOTTOM;
    RECT position = {};
    bool hasWorkArea = false;
    RECT work = {};

    bool TaskBarWindow(RECT* rect, std::vector<Child>* out) const override
    {
        if (!hasBar)
            return false;
        *rect = bar;
        *out = children;
        return true;
    }
    bool TaskBarPosition(UINT* outEdge, RECT* rect) const override
    {
        *outEdge = edge;
        *rect = position;
        return hasPosition;
    }
    bool WorkArea(RECT* rect) const override
    {
        *rect = work;
        return hasWorkArea;
    }
    void AddChild(LPCWSTR cls, int l, int t, int r, int b)
    {
        Child c;
        c.className = cls;
        ::SetRect(&c.rect, l, t, r, b);
        children.push_back(c);
    }
};

// What the shell was asked, and what it answers.
struct ShellLog
{
    std::vector<DWORD> messages;
    std::vector<NOTIFYICONDATAW> data;
    BOOL answer = TRUE;
};
ShellLog g_shell;

BOOL WINAPI FakeNotify(DWORD message, PNOTIFYICONDATAW data)
{
    g_shell.messages.push_back(message);
    g_shell.data.push_back(*data);
    return g_shell.answer;
}

RECT Rect(int l, int t, int r, int b)
{
    RECT rc;
    ::SetRect(&rc, l, t, r, b);
    return rc;
}

void ExpectRect(const RECT& expected, const RECT& actual)
{
    EXPECT_EQ(expected.left, actual.left);
    EXPECT_EQ(expected.top, actual.top);
    EXPECT_EQ(expected.right, actual.right);
    EXPECT_EQ(expected.bottom, actual.bottom);
}

class TrayIconTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        g_shell = ShellLog();
        ASSERT_TRUE(m_owner.CreateEx(0, AfxRegisterWndClass(0), L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300,
                                     200, nullptr, nullptr));
    }
    void TearDown() override
    {
        m_owner.DestroyWindow();
    }
    CWnd m_owner;
};
} // namespace

// The task bar's children decide: the notify area replaces the bar, the clock cuts it (from
// the right in a horizontal bar, from the top in a vertical one) and ends the walk.
TEST(FindTrayRectTest, TaskBarWindowAndChildren)
{
    FakeDesktop horizontal;
    horizontal.hasBar = true;
    horizontal.bar = Rect(0, 570, 800, 600);
    horizontal.AddChild(L"Button", 0, 570, 60, 600);
    horizontal.AddChild(L"TrayNotifyWnd", 650, 572, 798, 598);
    horizontal.AddChild(L"TrayClockWClass", 740, 574, 796, 596);
    horizontal.AddChild(L"TrayNotifyWnd", 1, 1, 2, 2); // after the clock: never reached
    RECT rc = {};
    ASSERT_TRUE(FindTrayRect(&rc, horizontal));
    ExpectRect(Rect(650, 572, 740, 598), rc);

    FakeDesktop vertical;
    vertical.hasBar = true;
    vertical.bar = Rect(0, 0, 60, 600);
    vertical.AddChild(L"TrayNotifyWnd", 0, 500, 60, 600);
    vertical.AddChild(L"TrayClockWClass", 0, 500, 60, 530);
    ASSERT_TRUE(FindTrayRect(&rc, vertical));
    ExpectRect(Rect(0, 530, 60, 600), rc);

    // Class names compare exactly; Wine's bar has neither child.
    FakeDesktop bare;
    bare.hasBar = true;
    bare.bar = Rect(0, 599, 800, 600);
    bare.AddChild(L"traynotifywnd", 5, 5, 6, 6);
    ASSERT_TRUE(FindTrayRect(&rc, bare));
    ExpectRect(Rect(0, 599, 800, 600), rc);
}

// Without a task bar window: the shell's task-bar position, then the work area's corner.
TEST(FindTrayRectTest, PositionAndWorkAreaFallbacks)
{
    struct Case
    {
        UINT edge;
        RECT bar;
        RECT expected;
    } cases[] = {
        {ABE_BOTTOM, Rect(0, 570, 800, 600), Rect(700, 570, 784, 600)},
        {ABE_TOP, Rect(0, 0, 800, 30), Rect(700, 0, 784, 30)},
        {ABE_LEFT, Rect(0, 0, 60, 600), Rect(0, 500, 60, 584)},
        {ABE_RIGHT, Rect(740, 0, 800, 600), Rect(740, 500, 800, 584)},
        {99, Rect(0, 0, 10, 10), Rect(1, 2, 3, 4)}, // unknown edge: left as it was
    };
    for (const Case& c : cases)
    {
        FakeDesktop desktop;
        desktop.hasPosition = true;
        desktop.edge = c.edge;
        desktop.position = c.bar;
        RECT rc = Rect(1, 2, 3, 4);
        ASSERT_TRUE(FindTrayRect(&rc, desktop));
        ExpectRect(c.expected, rc);
    }
    FakeDesktop nothing;
    RECT rc = {};
    EXPECT_FALSE(FindTrayRect(&rc, nothing));
    nothing.hasWorkArea = true;
    nothing.work = Rect(0, 0, 1024, 738);
    ASSERT_TRUE(FindTrayRect(&rc, nothing));
    ExpectRect(Rect(874, 708, 1024, 738), rc);
}

// The record carries its full size; the tooltip is cut to 127 characters, an empty one clears
// the tip flag.
TEST_F(TrayIconTest, RecordAndTooltip)
{
    CTrayIcon tray(FakeNotify);
    tray.Create(&m_owner);
    tray.SetIcon();
    EXPECT_EQ(sizeof(NOTIFYICONDATAW), tray.Data().cbSize);
    EXPECT_EQ(m_owner.GetSafeHwnd(), tray.Data().hWnd);
    EXPECT_EQ(0x7B9u, tray.Data().uCallbackMessage);
    EXPECT_TRUE(tray.Data().uFlags & NIF_MESSAGE);

    CString longText;
    for (int i = 0; i < 200; ++i)
        longText += static_cast<WCHAR>(L'a' + i % 26);
    tray.SetTooltip(longText);
    ASSERT_EQ(1u, g_shell.messages.size());
    EXPECT_EQ(static_cast<DWORD>(NIM_MODIFY), g_shell.messages[0]);
    const NOTIFYICONDATAW& sent = g_shell.data[0];
    EXPECT_TRUE(sent.uFlags & NIF_TIP);
    EXPECT_EQ(rwtest::Utf8(longText.Left(127)), rwtest::Utf8(sent.szTip));
    EXPECT_EQ(200, tray.GetTooltip().GetLength());

    tray.SetTooltip(L"");
    EXPECT_FALSE(g_shell.data.back().uFlags & NIF_TIP);
    EXPECT_EQ(0, g_shell.data.back().szTip[0]);
}

// The window is hidden only when the shell took the icon; a refused icon leaves it visible.
TEST_F(TrayIconTest, HidesOnlyWhenTheIconIsAdded)
{
    CTrayIcon tray(FakeNotify);
    tray.Create(&m_owner);
    tray.SetIcon();
    g_shell.answer = FALSE;
    EXPECT_FALSE(tray.MinimiseToTray());
    EXPECT_TRUE(::IsWindowVisible(m_owner.GetSafeHwnd()));
    EXPECT_FALSE(tray.IsShown());
    ASSERT_FALSE(g_shell.messages.empty());
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), g_shell.messages.back());

    g_shell.answer = TRUE;
    EXPECT_TRUE(tray.MinimiseToTray());
    EXPECT_FALSE(::IsWindowVisible(m_owner.GetSafeHwnd()));
    EXPECT_TRUE(tray.IsShown());

    EXPECT_TRUE(tray.RemoveIcon());
    EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), g_shell.messages.back());
    EXPECT_FALSE(tray.IsShown());
}

// A re-created task bar gets the icon again, but only while it is shown.
TEST_F(TrayIconTest, TaskbarCreatedAddsTheIconAgain)
{
    EXPECT_NE(0u, CTrayIcon::TaskbarCreatedMessage());
    EXPECT_EQ(::RegisterWindowMessageW(L"TaskbarCreated"), CTrayIcon::TaskbarCreatedMessage());
    CTrayIcon tray(FakeNotify);
    tray.Create(&m_owner);
    tray.OnTaskbarCreated();
    EXPECT_TRUE(g_shell.messages.empty());
    ASSERT_TRUE(tray.MinimiseToTray());
    g_shell.messages.clear();
    tray.OnTaskbarCreated();
    ASSERT_EQ(1u, g_shell.messages.size());
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), g_shell.messages[0]);
    EXPECT_TRUE(tray.IsShown());
}

// The real desktop: Wine's task bar is found or a fallback applies; the search never fails on a
// desktop with a work area.
TEST(FindTrayRectTest, RealDesktopGivesARectangle)
{
    RECT rc = {};
    ASSERT_TRUE(FindTrayRect(&rc));
    EXPECT_LE(rc.left, rc.right);
    EXPECT_LE(rc.top, rc.bottom);
}
