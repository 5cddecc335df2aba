#include "SkinGalleryFixture.h"
#include "uilib/skin/SkinObjectSpin.h"
#include "uilib/skin/SkinSchemaNames.h"

namespace
{

const int kNormal = 1;
const int kHot = 2;
const int kPressed = 3;
const int kDisabled = 4;

// The gallery's spin, joined to the border of its buddy edit at the right.
class SkinObjectSpinTest : public rwtest::SkinGalleryFixture
{
  protected:
    HWND Spin()
    {
        return gallery->Item(rwtest::kGallerySpin);
    }
    CWVPSkinObjectSpin* SpinObject()
    {
        return Object<CWVPSkinObjectSpin>(rwtest::kGallerySpin);
    }
    // Differences of the printed spin from the up and down parts drawn in the given states inside
    // the border it shares with its buddy; also checks that border.
    int Differences(int upState, int downState)
    {
        RECT rc;
        ::GetClientRect(Spin(), &rc);
        DibCanvas actual(rc.right, rc.bottom, RGB(255, 0, 255));
        rwtest::PrintClient(Spin(), actual);
        DibCanvas expected(rc.right, rc.bottom, Color(COLOR_BTNFACE));
        RECT area = {0, 1, rc.right - 1, rc.bottom - 1};
        int middle = (area.top + area.bottom) / 2;
        RECT up = {area.left, area.top, area.right, middle};
        RECT down = {area.left, area.top + area.bottom - middle, area.right, area.bottom};
        SkinClass(L"SPIN")->DrawThemeBackground(expected.dc(), CWVPSkinObjectSpin::kPartUp, upState, &up);
        SkinClass(L"SPIN")->DrawThemeBackground(expected.dc(), CWVPSkinObjectSpin::kPartDown, downState, &down);
        ::GdiFlush();
        RECT inside = {1, 1, rc.right - 1, rc.bottom - 1};
        int differences = SkinGalleryFixture::Differences(actual, expected, inside);
        COLORREF border = SkinClass(L"EDIT")->GetThemeColor(0, 0, kSkinPropBorderColor, CLR_INVALID);
        EXPECT_EQ(DibCanvas::Raw(border, 0), actual.Rgb(rc.right - 1, rc.bottom / 2));
        EXPECT_EQ(DibCanvas::Raw(border, 0), actual.Rgb(rc.right / 2, 0));
        return differences;
    }
    POINT UpperPoint()
    {
        RECT rc;
        ::GetClientRect(Spin(), &rc);
        return POINT{rc.right / 2, rc.bottom / 4};
    }
};

TEST_P(SkinObjectSpinTest, HalvesDrawTheirParts)
{
    ASSERT_NE(nullptr, SpinObject());
    EXPECT_EQ(0, Differences(kNormal, kNormal));
}

TEST_P(SkinObjectSpinTest, EqualLimitsDrawBothHalvesDisabled)
{
    ::SendMessageW(Spin(), UDM_SETRANGE32, 5, 5);
    EXPECT_EQ(0, Differences(kDisabled, kDisabled));
    ::SendMessageW(Spin(), UDM_SETRANGE32, 0, 10);
    ::EnableWindow(Spin(), FALSE);
    EXPECT_EQ(0, Differences(kDisabled, kDisabled));
    ::EnableWindow(Spin(), TRUE);
}

TEST_P(SkinObjectSpinTest, HotHalfFollowsTheCursor)
{
    MoveCursorTo(Spin(), UpperPoint());
    ASSERT_TRUE(rwtest::SkinGallery::PumpUntil(
        [&] { return SpinObject()->GetHotHalf() == CWVPSkinObjectSpin::kHalfIncrement; }));
    EXPECT_EQ(0, Differences(kHot, kNormal));
    ParkCursor();
    ASSERT_TRUE(
        rwtest::SkinGallery::PumpUntil([&] { return SpinObject()->GetHotHalf() == CWVPSkinObjectSpin::kHalfNone; }));
    EXPECT_EQ(0, Differences(kNormal, kNormal));
}

// Pressing the upper half shows it pressed and steps the buddy; sliding off shows it hot.
TEST_P(SkinObjectSpinTest, PressedHalfTurnsHotWhenThePointerSlidesOff)
{
    POINT upper = UpperPoint();
    ::SendMessageW(Spin(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(upper.x, upper.y));
    EXPECT_EQ(CWVPSkinObjectSpin::kHalfIncrement, SpinObject()->GetPressedHalf());
    EXPECT_EQ(0, Differences(kPressed, kNormal));
    EXPECT_EQ(6, int(::SendMessageW(Spin(), UDM_GETPOS32, 0, 0)));
    ::SendMessageW(Spin(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-20, -20));
    EXPECT_EQ(0, Differences(kHot, kNormal));
    ::SendMessageW(Spin(), WM_LBUTTONUP, 0, MAKELPARAM(-20, -20));
    EXPECT_EQ(CWVPSkinObjectSpin::kHalfNone, SpinObject()->GetPressedHalf());
    EXPECT_EQ(0, Differences(kNormal, kNormal));
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinObjectSpinTest, ::testing::Values(L"NORMALBLUE_INI", L"NORMALAQUA_INI"));

} // namespace
