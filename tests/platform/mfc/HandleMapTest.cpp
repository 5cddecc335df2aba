// Handle maps: foreign handles get temporary objects that idle time cleans up, permanent objects
// stay, subclassing and unsubclassing in either order leave the right procedures in place, and
// an object that only borrowed a handle can be deleted without touching the window.
#include "RwTest.h"

#include "MfcTestApp.h"
#include "platform/mfc/ThreadState.h"

namespace
{
int g_originalCalls = 0;
int g_thirdPartyCalls = 0;
WNDPROC g_thirdPartyNext = nullptr;
const UINT kProbeMessage = WM_APP + 1;

LRESULT CALLBACK OriginalProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kProbeMessage)
    {
        ++g_originalCalls;
        return 100;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

LRESULT CALLBACK ThirdPartyProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kProbeMessage)
        ++g_thirdPartyCalls;
    return ::CallWindowProcW(g_thirdPartyNext, hWnd, message, wParam, lParam);
}

class CCounting : public CWnd
{
public:
    int m_calls = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kProbeMessage)
            ++m_calls;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

HWND MakeForeignWindow()
{
    static bool registered = false;
    if (!registered)
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = OriginalProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"RwForeign";
        ::RegisterClassW(&wc);
        registered = true;
    }
    return ::CreateWindowExW(0, L"RwForeign", L"foreign", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

size_t TemporaryWindows()
{
    auto* map = AfxGetThreadState()->m_pmapHWND;
    return map ? map->GetTemporaryCount() : 0;
}

class HandleMapTest : public ::testing::Test
{
protected:
    HWND m_foreign = nullptr;
    void SetUp() override
    {
        TestApp();
        AfxDeleteTempMaps();
        g_originalCalls = g_thirdPartyCalls = 0;
        m_foreign = MakeForeignWindow();
        ASSERT_NE(nullptr, m_foreign);
    }
    void TearDown() override
    {
        if (::IsWindow(m_foreign))
            ::DestroyWindow(m_foreign);
    }
    WNDPROC CurrentProc() const { return (WNDPROC)::GetWindowLongPtrW(m_foreign, GWLP_WNDPROC); }
    LRESULT Probe() const { return ::SendMessageW(m_foreign, kProbeMessage, 0, 0); }
};

TEST_F(HandleMapTest, ForeignHandlesGetTemporaryObjectsThatIdleTimeDeletes)
{
    CWnd* first = CWnd::FromHandle(m_foreign);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, CWnd::FromHandle(m_foreign));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(m_foreign));
    EXPECT_EQ(1u, TemporaryWindows());

    // Device contexts, GDI objects and menus have temporary objects too.
    CDC* dc = CDC::FromHandle(::GetDC(m_foreign));
    CGdiObject* pen = CGdiObject::FromHandle(::GetStockObject(BLACK_PEN));
    HMENU raw = ::CreateMenu();
    CMenu* menu = CMenu::FromHandle(raw);
    ASSERT_TRUE(dc && pen && menu);
    ::ReleaseDC(m_foreign, dc->m_hDC);

    RunIdle();
    EXPECT_EQ(0u, TemporaryWindows());
    EXPECT_EQ(0u, AfxGetThreadState()->m_pmapHDC->GetTemporaryCount());
    EXPECT_EQ(0u, AfxGetThreadState()->m_pmapHGDIOBJ->GetTemporaryCount());
    EXPECT_EQ(0u, AfxGetThreadState()->m_pmapHMENU->GetTemporaryCount());
    // The handles themselves live on.
    EXPECT_TRUE(::IsWindow(m_foreign));
    EXPECT_TRUE(::IsMenu(raw));
    ::DestroyMenu(raw);
}

TEST_F(HandleMapTest, AttachingMakesThePermanentObjectAndTheTemporaryOneGivesWay)
{
    CWnd* temporary = CWnd::FromHandle(m_foreign);
    ASSERT_NE(nullptr, temporary);
    CWnd owner;
    ASSERT_TRUE(owner.Attach(m_foreign));
    EXPECT_EQ(&owner, CWnd::FromHandle(m_foreign));
    EXPECT_EQ(&owner, CWnd::FromHandlePermanent(m_foreign));
    EXPECT_EQ(0u, TemporaryWindows());
    EXPECT_EQ(m_foreign, owner.Detach());
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(m_foreign));
}

TEST_F(HandleMapTest, SubclassingAndUnsubclassingInEitherOrderRestoreTheProcedures)
{
    for (bool frameworkLeavesFirst : {false, true})
    {
        SCOPED_TRACE(frameworkLeavesFirst ? "framework leaves first" : "third party leaves first");
        if (::IsWindow(m_foreign))
            ::DestroyWindow(m_foreign);
        m_foreign = MakeForeignWindow();
        g_originalCalls = g_thirdPartyCalls = 0;

        CCounting wnd;
        ASSERT_TRUE(wnd.SubclassWindow(m_foreign));
        EXPECT_EQ(&AfxWndProc, CurrentProc());
        EXPECT_EQ(100, Probe()); // the object sees it and passes it to the window's own procedure
        EXPECT_EQ(1, wnd.m_calls);

        g_thirdPartyNext = (WNDPROC)::SetWindowLongPtrW(m_foreign, GWLP_WNDPROC, (LONG_PTR)ThirdPartyProc);
        EXPECT_EQ(100, Probe());
        EXPECT_EQ(2, wnd.m_calls);
        EXPECT_EQ(1, g_thirdPartyCalls);

        if (frameworkLeavesFirst)
        {
            EXPECT_EQ(m_foreign, wnd.UnsubclassWindow());
            EXPECT_EQ((WNDPROC)ThirdPartyProc, CurrentProc()); // the one on top is not disturbed
            EXPECT_EQ(100, Probe());
            EXPECT_EQ(2, wnd.m_calls); // the object is out of the chain
            ::SetWindowLongPtrW(m_foreign, GWLP_WNDPROC, (LONG_PTR)g_thirdPartyNext);
        }
        else
        {
            ::SetWindowLongPtrW(m_foreign, GWLP_WNDPROC, (LONG_PTR)g_thirdPartyNext);
            EXPECT_EQ(m_foreign, wnd.UnsubclassWindow());
            EXPECT_EQ((WNDPROC)OriginalProc, CurrentProc());
        }
        // Either way the window's own procedure answers, and it can be subclassed again.
        int before = g_originalCalls;
        EXPECT_EQ(100, Probe());
        EXPECT_EQ(before + 1, g_originalCalls);
        CCounting again;
        ASSERT_TRUE(again.SubclassWindow(m_foreign));
        EXPECT_EQ(100, Probe());
        EXPECT_EQ(1, again.m_calls);
        again.UnsubclassWindow();
        EXPECT_EQ(100, Probe());
    }
}

TEST_F(HandleMapTest, AnObjectThatOnlyBorrowedAHandleIsDeletedWithoutTheWindow)
{
    CWnd* borrower = new CWnd;
    borrower->m_hWnd = m_foreign; // as skin objects do while attached
    delete borrower;
    EXPECT_TRUE(::IsWindow(m_foreign));

    // An owning object destroys its window with it.
    CWnd* owner = new CCounting;
    ASSERT_TRUE(owner->SubclassWindow(m_foreign));
    delete owner;
    EXPECT_FALSE(::IsWindow(m_foreign));
}

TEST_F(HandleMapTest, DestroyingASubclassedWindowDetachesTheObject)
{
    CCounting wnd;
    ASSERT_TRUE(wnd.SubclassWindow(m_foreign));
    ::DestroyWindow(m_foreign);
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(m_foreign));
}
}
