#include "RwTest.h"
#include "SkinMdiFrame.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinManagerSchema.h"
#include "uilib/skin/SkinObjectMDIClient.h"

#include <memory>

namespace
{

class SkinObjectMDIClientTest : public ::testing::TestWithParam<const wchar_t*>
{
  protected:
    void SetUp() override
    {
        manager.GetResourceFile()->m_hCallerModule = ::GetModuleHandleW(nullptr);
        ASSERT_TRUE(manager.LoadSkin(nullptr, GetParam()));
        frame.reset(new rwtest::SkinMdiFrame);
        ASSERT_NE(nullptr, frame->hwnd());
        ASSERT_NE(nullptr, frame->client());
    }
    void TearDown() override
    {
        frame.reset();
    }
    static RECT ScreenClient(HWND hwnd)
    {
        RECT rc;
        ::GetClientRect(hwnd, &rc);
        ::MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    // The maximised child's client area covers the MDI client's exactly; its skinned frame lies
    // outside, as wide as the skin's borders.
    void ExpectFrameOutside(HWND child)
    {
        RECT inside = ScreenClient(frame->client()), childClient = ScreenClient(child);
        EXPECT_EQ(inside.left, childClient.left);
        EXPECT_EQ(inside.top, childClient.top);
        EXPECT_EQ(inside.right, childClient.right);
        EXPECT_EQ(inside.bottom, childClient.bottom);
        RECT borders = manager.GetSchema()->CalcFrameBorders(child);
        EXPECT_GT(borders.top, borders.left);
        RECT window;
        ::GetWindowRect(child, &window);
        EXPECT_EQ(inside.left - borders.left, window.left);
        EXPECT_EQ(inside.top - borders.top, window.top);
    }

    CWVPSkinManager manager;
    std::unique_ptr<rwtest::SkinMdiFrame> frame;
};

TEST_P(SkinObjectMDIClientTest, ClientJoinsTheFramesObject)
{
    auto* client = dynamic_cast<CWVPSkinObjectMDIClient*>(manager.Lookup(frame->client()));
    ASSERT_NE(nullptr, client);
    auto* parent = dynamic_cast<CWVPSkinObjectFrame*>(manager.Lookup(frame->hwnd()));
    ASSERT_NE(nullptr, parent);
    EXPECT_EQ(parent, client->GetParentFrame());
    EXPECT_EQ(client, parent->GetMDIClient());
    // The frame forgets its client when the client goes.
    ::DestroyWindow(frame->client());
    EXPECT_EQ(nullptr, parent->GetMDIClient());
}

TEST_P(SkinObjectMDIClientTest, MaximisedChildKeepsItsFrameOutsideTheClient)
{
    HWND child = frame->AddChild(L"Child", 10, 10, 200, 150);
    ASSERT_NE(nullptr, child);
    ::SendMessageW(frame->client(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
    rwtest::SkinMdiFrame::Pump();
    ASSERT_TRUE(::IsZoomed(child));
    for (int grow : {40, -80})
    {
        RECT rc;
        ::GetWindowRect(frame->hwnd(), &rc);
        ::SetWindowPos(frame->hwnd(), nullptr, 0, 0, rc.right - rc.left + grow, rc.bottom - rc.top + grow / 2,
                       SWP_NOMOVE | SWP_NOZORDER);
        rwtest::SkinMdiFrame::Pump();
        ExpectFrameOutside(child);
    }
}

// Tiling goes through the system's arrangement; every child stays inside the client, side by side.
TEST_P(SkinObjectMDIClientTest, TileArrangesTheChildren)
{
    HWND first = frame->AddChild(L"First", 0, 0, 150, 120);
    HWND second = frame->AddChild(L"Second", 30, 30, 150, 120);
    ASSERT_TRUE(first && second);
    ::SendMessageW(frame->client(), WM_MDITILE, MDITILE_VERTICAL, 0);
    rwtest::SkinMdiFrame::Pump();
    RECT inside = ScreenClient(frame->client()), a, b, overlap;
    ::GetWindowRect(first, &a);
    ::GetWindowRect(second, &b);
    EXPECT_FALSE(::IntersectRect(&overlap, &a, &b));
    for (const RECT& rc : {a, b})
    {
        EXPECT_GE(rc.left, inside.left);
        EXPECT_LE(rc.right, inside.right);
        EXPECT_EQ(inside.top, rc.top);
    }
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinObjectMDIClientTest, ::testing::Values(L"NORMALBLUE_INI", L"NORMALAQUA_INI"));

} // namespace
