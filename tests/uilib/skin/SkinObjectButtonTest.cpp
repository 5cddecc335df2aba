#include "DibCanvas.h"
#include "RwTest.h"
#include "SkinGallery.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinObjectButton.h"

namespace
{

// The gallery in a loaded skin: every button of it carries the button skin object, and what the
// button prints must match the part the test draws itself for the state the real input caused.
class SkinObjectButtonTest : public ::testing::TestWithParam<const wchar_t*>
{
  protected:
    void SetUp() override
    {
        manager.GetResourceFile()->m_hCallerModule = ::GetModuleHandleW(nullptr);
        ASSERT_TRUE(manager.LoadSkin(nullptr, GetParam()));
        gallery.reset(new rwtest::SkinGallery);
        ASSERT_NE(nullptr, gallery->hwnd());
        ::SetCursorPos(1200, 1000);
        rwtest::SkinGallery::Pump();
    }
    void TearDown() override
    {
        gallery.reset();
    }
    CWVPSkinObjectButton* Object(int id)
    {
        CWVPSkinObject* object = manager.Lookup(gallery->Item(id));
        return object && object->IsKindOf(RUNTIME_CLASS(CWVPSkinObjectButton))
                   ? static_cast<CWVPSkinObjectButton*>(object)
                   : nullptr;
    }
    // Pixels of the edge band of a push button that differ from the part in the state.
    int PushButtonEdgeDifferences(int id, int state)
    {
        HWND hwnd = gallery->Item(id);
        RECT rc;
        ::GetClientRect(hwnd, &rc);
        DibCanvas actual(rc.right, rc.bottom, RGB(255, 0, 255)), expected(rc.right, rc.bottom);
        rwtest::PrintClient(hwnd, actual);
        expected.Fill(manager.GetMetrics()->GetColor(COLOR_BTNFACE));
        manager.GetSkinClass(L"BUTTON")->DrawThemeBackground(expected.dc(), 1, state, &rc);
        ::GdiFlush();
        RECT inner = rc;
        int edge = ::GetSystemMetrics(SM_CXEDGE);
        ::InflateRect(&inner, -edge, -edge);
        return rwtest::RegionDifferences(actual, rc, expected, &inner);
    }
    void MoveCursorTo(HWND hwnd)
    {
        RECT rc;
        ::GetWindowRect(hwnd, &rc);
        ::SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        rwtest::SkinGallery::Pump();
    }

    CWVPSkinManager manager;
    std::unique_ptr<rwtest::SkinGallery> gallery;
};

TEST_P(SkinObjectButtonTest, EveryButtonKindGetsTheButtonObject)
{
    for (int id : {rwtest::kGalleryPush, rwtest::kGalleryDefault, rwtest::kGalleryCheck, rwtest::kGalleryTriState,
                   rwtest::kGalleryRadio, rwtest::kGalleryGroup})
        EXPECT_NE(nullptr, Object(id)) << id;
}

// Hot follows the real cursor in and out; pressing, disabling and the default look follow the
// button's own messages.
TEST_P(SkinObjectButtonTest, PushButtonStatesFollowInput)
{
    HWND push = gallery->Item(rwtest::kGalleryPush);
    ASSERT_NE(nullptr, Object(rwtest::kGalleryPush));
    EXPECT_EQ(0, PushButtonEdgeDifferences(rwtest::kGalleryPush, 1));
    EXPECT_EQ(0, PushButtonEdgeDifferences(rwtest::kGalleryDefault, 5));

    MoveCursorTo(push);
    EXPECT_TRUE(rwtest::SkinGallery::PumpUntil([&] { return Object(rwtest::kGalleryPush)->IsHot(); }));
    EXPECT_EQ(0, PushButtonEdgeDifferences(rwtest::kGalleryPush, 2));
    ::SetCursorPos(1200, 1000);
    EXPECT_TRUE(rwtest::SkinGallery::PumpUntil([&] { return !Object(rwtest::kGalleryPush)->IsHot(); }));
    EXPECT_EQ(0, PushButtonEdgeDifferences(rwtest::kGalleryPush, 1));

    ::SendMessageW(push, BM_SETSTATE, TRUE, 0);
    EXPECT_TRUE(Object(rwtest::kGalleryPush)->IsPushed());
    EXPECT_NE(0u, DWORD(::GetWindowLongW(push, GWL_STYLE) & WS_VISIBLE));
    EXPECT_EQ(0, PushButtonEdgeDifferences(rwtest::kGalleryPush, 3));
    ::SendMessageW(push, BM_SETSTATE, FALSE, 0);
    EXPECT_EQ(0, PushButtonEdgeDifferences(rwtest::kGalleryPush, 1));

    EXPECT_EQ(0, PushButtonEdgeDifferences(rwtest::kGalleryDisabledPush, 4));
}

// A check box prints its glyph in the state of its check, vertically centred at the left.
TEST_P(SkinObjectButtonTest, CheckBoxPrintsItsCheck)
{
    HWND check = gallery->Item(rwtest::kGalleryCheck);
    RECT rc;
    ::GetClientRect(check, &rc);
    for (int value : {BST_UNCHECKED, BST_CHECKED})
    {
        ::SendMessageW(check, BM_SETCHECK, value, 0);
        DibCanvas actual(rc.right, rc.bottom);
        rwtest::PrintClient(check, actual);
        SIZE glyph = {13, 13};
        RECT probe = {0, 0, 13, 13};
        manager.GetSkinClass(L"BUTTON")->GetThemePartSize(3, 1, &probe, CWVPSkinManagerClass::kSizeDraw, glyph);
        DibCanvas expected(glyph.cx, glyph.cy, manager.GetMetrics()->GetColor(COLOR_BTNFACE));
        RECT part = {0, 0, glyph.cx, glyph.cy};
        manager.GetSkinClass(L"BUTTON")->DrawThemeBackground(expected.dc(), 3, value ? 5 : 1, &part);
        int top = (rc.bottom - glyph.cy) / 2;
        RECT at = {0, top, glyph.cx, top + glyph.cy};
        EXPECT_EQ(0, rwtest::RegionDifferences(actual, at, expected)) << value;
    }
}

// Owner-drawn buttons keep every message: the object prints nothing for them.
TEST_P(SkinObjectButtonTest, OwnerDrawnButtonsStayUntouched)
{
    HWND owner = ::CreateWindowExW(0, L"Button", L"Owner", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 8, 380, 80, 24,
                                   gallery->hwnd(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, owner);
    CWVPSkinObject* object = manager.Lookup(owner);
    ASSERT_NE(nullptr, object);
    WPARAM w = 0;
    LPARAM l = 0;
    LRESULT result = 0;
    EXPECT_FALSE(object->OnHookMessage(WM_PAINT, w, l, result));
    ::DestroyWindow(owner);
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinObjectButtonTest, ::testing::Values(L"NORMALBLUE_INI", L"NORMALAQUA_INI"));

} // namespace
