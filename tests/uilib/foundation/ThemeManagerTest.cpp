#include "RwTest.h"
#include "DibCanvas.h"
#include "uilib/foundation/ThemeManager.h"

namespace
{
int g_themesAlive = 0;

class CountingTheme : public CWVThemeManagerStyle
{
  public:
    explicit CountingTheme(int id = 0)
    {
        m_nTheme = id;
        ++g_themesAlive;
    }
    ~CountingTheme() override
    {
        --g_themesAlive;
    }
    void RefreshMetrics() override
    {
        ++refreshes;
    }
    int refreshes = 0;
};

class TestFactory : public CWVThemeManagerStyleFactory
{
    DECLARE_DYNCREATE(TestFactory)
  public:
    CWVThemeManagerStyle* CreateTheme(int nTheme) override
    {
        return new CountingTheme(nTheme);
    }
};
IMPLEMENT_DYNCREATE(TestFactory, CWVThemeManagerStyleFactory)

class TestHost : public CWVThemeManagerStyleHost
{
  public:
    TestHost() : CWVThemeManagerStyleHost(RUNTIME_CLASS(TestFactory))
    {
    }
    void OnThemeChanged() override
    {
        ++changes;
    }
    int changes = 0;
};

DWORD WINAPI OtherThreadRegistry(LPVOID param)
{
    *static_cast<CWVThemeManager**>(param) = WVPThemeManager();
    return 0;
}
} // namespace

// Controls of one family share the family's theme; replacing it tells each of them once.
TEST(ThemeManagerTest, SharedThemeAndNotification)
{
    {
        TestHost a, b;
        ASSERT_NE(nullptr, a.GetFactory());
        EXPECT_EQ(a.GetFactory(), b.GetFactory());
        EXPECT_EQ(a.GetFactory(), WVPThemeManager()->GetFactory(RUNTIME_CLASS(TestFactory)));
        auto* theme = static_cast<CountingTheme*>(a.GetTheme());
        ASSERT_NE(nullptr, theme);
        EXPECT_EQ(theme, b.GetTheme());
        EXPECT_EQ(0, theme->m_nTheme);
        EXPECT_EQ(1, theme->refreshes);
        EXPECT_EQ(a.GetFactory(), theme->m_pFactory);

        auto* replacement = new CountingTheme(7);
        a.GetFactory()->SetTheme(replacement);
        EXPECT_EQ(1, a.changes);
        EXPECT_EQ(1, b.changes);
        EXPECT_EQ(replacement, b.GetTheme());
        EXPECT_EQ(1, replacement->refreshes);
        EXPECT_EQ(1, g_themesAlive); // the first theme was deleted

        a.GetFactory()->SetTheme(nullptr);
        EXPECT_EQ(1, a.changes);
        a.GetFactory()->RefreshTheme();
        EXPECT_EQ(2, replacement->refreshes);
    }
    // A host that is gone is no longer told.
    TestHost c;
    c.GetFactory()->SetTheme(new CountingTheme(1));
    EXPECT_EQ(1, c.changes);
}

// A private theme: null without one does nothing; null with one returns to the shared theme and
// deletes the private factory and theme.
TEST(ThemeManagerTest, PrivateThemeComesAndGoes)
{
    TestHost a, b;
    CWVThemeManagerStyle* shared = a.GetTheme();
    const int aliveBefore = g_themesAlive;

    a.SetTheme(nullptr);
    EXPECT_EQ(0, a.changes);

    auto* own = new CountingTheme(3);
    a.SetTheme(own);
    EXPECT_EQ(1, a.changes);
    EXPECT_EQ(own, a.GetTheme());
    EXPECT_NE(a.GetFactory(), b.GetFactory());
    EXPECT_EQ(shared, b.GetTheme());
    EXPECT_EQ(aliveBefore + 1, g_themesAlive);

    // A change of the shared theme does not reach the control with its own theme.
    b.GetFactory()->SetTheme(new CountingTheme(4));
    EXPECT_EQ(1, a.changes);
    EXPECT_EQ(1, b.changes);
    EXPECT_EQ(own, a.GetTheme());

    a.SetTheme(nullptr);
    EXPECT_EQ(2, a.changes);
    EXPECT_EQ(b.GetTheme(), a.GetTheme());
    EXPECT_EQ(aliveBefore, g_themesAlive);
    b.GetFactory()->SetTheme(new CountingTheme(5));
    EXPECT_EQ(3, a.changes);
}

// Giving a control a theme that one of its factories already holds takes nothing over: its own
// private theme stays alive and in use, and the shared theme returns the control to sharing it.
TEST(ThemeManagerTest, ReapplyingAHeldThemeKeepsIt)
{
    TestHost a, b;
    CWVThemeManagerStyle* shared = b.GetTheme();
    auto* own = new CountingTheme(3);
    a.SetTheme(own);
    const int alive = g_themesAlive;

    a.SetTheme(a.GetTheme());
    EXPECT_EQ(alive, g_themesAlive);
    EXPECT_EQ(own, a.GetTheme());
    EXPECT_EQ(1, own->refreshes);
    EXPECT_NE(a.GetFactory(), b.GetFactory());

    a.SetTheme(shared);
    EXPECT_EQ(alive - 1, g_themesAlive); // the private theme went, the shared one is not copied
    EXPECT_EQ(a.GetFactory(), b.GetFactory());
    EXPECT_EQ(shared, a.GetTheme());
    a.SetTheme(a.GetTheme());
    EXPECT_EQ(a.GetFactory(), b.GetFactory());
    EXPECT_EQ(alive - 1, g_themesAlive);
}

// Each thread has its own registry.
TEST(ThemeManagerTest, RegistryIsPerThread)
{
    CWVThemeManager* other = nullptr;
    HANDLE thread = ::CreateThread(nullptr, 0, OtherThreadRegistry, &other, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
    EXPECT_NE(nullptr, other);
    EXPECT_NE(WVPThemeManager(), other);
}

// A transparent window paints the parent's pixels under it; one without the style paints nothing.
TEST(ThemeManagerTest, TransparentBackgroundCopiesTheParent)
{
    const COLORREF parentColor = RGB(0, 128, 255);
    HBRUSH brush = ::CreateSolidBrush(parentColor);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hbrBackground = brush;
    wc.lpszClassName = L"RwThemeParent";
    ::RegisterClassW(&wc);
    HWND parent = ::CreateWindowExW(0, L"RwThemeParent", L"", WS_POPUP | WS_VISIBLE, 10, 10, 120, 80, nullptr, nullptr,
                                    wc.hInstance, nullptr);
    HWND child = ::CreateWindowExW(WS_EX_TRANSPARENT, L"STATIC", L"", WS_CHILD, 20, 10, 40, 30, parent, nullptr,
                                   wc.hInstance, nullptr);
    ::UpdateWindow(parent);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageW(&msg);

    CountingTheme theme;
    DibCanvas canvas(40, 30, RGB(1, 2, 3));
    CDC dc;
    dc.Attach(canvas.dc());
    EXPECT_TRUE(theme.DrawTransparentBackground(&dc, CWnd::FromHandle(child)));
    EXPECT_EQ(parentColor, canvas.At(0, 0));
    EXPECT_EQ(parentColor, canvas.At(39, 29));

    canvas.Fill(RGB(1, 2, 3));
    ::SetWindowLongW(child, GWL_EXSTYLE, 0);
    EXPECT_FALSE(theme.DrawTransparentBackground(&dc, CWnd::FromHandle(child)));
    EXPECT_EQ(RGB(1, 2, 3), canvas.At(0, 0));
    EXPECT_FALSE(theme.CaptureParentBackground(CWnd::FromHandle(parent)));
    dc.Detach();

    ::DestroyWindow(parent);
    ::DeleteObject(brush);
}

// The exit sequence deletes the thread's registry with its factories and their themes; a later
// request starts afresh. Kept last: it runs every exit handler of the process.
TEST(ThemeManagerTest, ExitSequenceDeletesTheRegistry)
{
    {
        TestHost host;
        ASSERT_NE(nullptr, host.GetTheme());
    }
    EXPECT_LT(0, g_themesAlive);
    CWVThemeManager* before = WVPThemeManager();
    EXPECT_NE(nullptr, before->GetFactory(RUNTIME_CLASS(TestFactory)));
    AfxRunExitHandlers();
    EXPECT_EQ(0, g_themesAlive);
    CWVThemeManager* after = WVPThemeManager();
    ASSERT_NE(nullptr, after);
    EXPECT_EQ(nullptr, after->m_pFirstFactory);
}
