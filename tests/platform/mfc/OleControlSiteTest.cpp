// Hosting ActiveX controls: a window hosts the browser control where Wine provides it, and a
// control that does not exist fails cleanly, leaving no window behind.
#include "RwTest.h"

#include <exdisp.h>

#include "MfcTestApp.h"

namespace
{
// {5C1E0A43-6A3B-4E4B-9C61-1D2E7F00B0B5}: registered nowhere.
const CLSID kMissingControl = {0x5c1e0a43, 0x6a3b, 0x4e4b, {0x9c, 0x61, 0x1d, 0x2e, 0x7f, 0x00, 0xb0, 0xb5}};

class OleControlSiteTest : public ::testing::Test
{
  protected:
    CWnd m_parent;
    void SetUp() override
    {
        TestApp();
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), L"host", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
    }
    void TearDown() override
    {
        m_parent.DestroyWindow();
    }
};

TEST_F(OleControlSiteTest, AMissingControlFailsWithoutLeavingAWindow)
{
    CWnd control;
    EXPECT_FALSE(control.CreateControl(kMissingControl, L"", WS_VISIBLE, CRect(0, 0, 100, 50), &m_parent, 7));
    EXPECT_EQ(nullptr, control.m_hWnd);
    EXPECT_EQ(nullptr, control.GetControlUnknown());
    EXPECT_EQ(nullptr, ::GetWindow(m_parent.m_hWnd, GW_CHILD));
}

TEST_F(OleControlSiteTest, TheBrowserControlIsHostedInItsWindow)
{
    CWnd control;
    if (!control.CreateControl(CLSID_WebBrowser, L"", WS_VISIBLE, CRect(0, 0, 200, 100), &m_parent, 8))
    {
        // Without the browser component in this prefix the creation fails cleanly.
        EXPECT_EQ(nullptr, control.m_hWnd);
        EXPECT_EQ(nullptr, ::GetWindow(m_parent.m_hWnd, GW_CHILD));
        GTEST_SKIP() << "no browser control in this prefix";
    }
    ASSERT_NE(nullptr, control.GetControlUnknown());
    IWebBrowser2* browser = nullptr;
    ASSERT_EQ(S_OK, control.GetControlUnknown()->QueryInterface(IID_IWebBrowser2, (void**)&browser));
    browser->Release();
    EXPECT_EQ(8, control.GetDlgCtrlID());
    EXPECT_TRUE(control.m_nFlags & CWnd::WF_OLECTLCONTAINER);
    control.DestroyWindow();
    EXPECT_EQ(nullptr, control.GetControlUnknown());
}
} // namespace
