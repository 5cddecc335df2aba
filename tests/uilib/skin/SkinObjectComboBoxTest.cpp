#include "SkinGalleryFixture.h"
#include "uilib/skin/SkinObjectComboBox.h"
#include "uilib/skin/SkinObjectDateTime.h"
#include "uilib/skin/SkinObjectFrame.h"
#include "uilib/skin/SkinObjectMonthCal.h"
#include "uilib/skin/SkinSchemaNames.h"

namespace
{

const int kNormal = 1;
const int kHot = 2;
const int kPressed = 3;
const int kDisabled = 4;

class SkinObjectComboBoxTest : public rwtest::SkinGalleryFixture
{
  protected:
    // Differences of the printed combo box from the skin's frame: the border line in the state's
    // border colour, the band of the field's background inside it, and the drop button drawn in the
    // state at the right inside the border.
    int ComboDifferences(int id, int state)
    {
        HWND combo = gallery->Item(id);
        RECT rc;
        ::GetClientRect(combo, &rc);
        DibCanvas actual(rc.right, rc.bottom, RGB(255, 0, 255));
        rwtest::PrintClient(combo, actual);
        COLORREF field = Color(state == kDisabled ? COLOR_BTNFACE : COLOR_WINDOW);
        DibCanvas expected(rc.right, rc.bottom, field);
        CWVPSkinManagerClass* skin = SkinClass(L"COMBOBOX");
        int cx = manager.GetMetrics()->m_cxVScroll;
        RECT button = {rc.right - 1 - cx, 1, rc.right - 1, rc.bottom - 1};
        skin->DrawThemeBackground(expected.dc(), CWVPSkinObjectComboBox::kPartDropDownButton, state, &button);
        ::GdiFlush();
        int differences = Differences(actual, expected, button);
        DWORD border = DibCanvas::Raw(skin->GetThemeColor(0, state, kSkinPropBorderColor, CLR_INVALID), 0);
        EXPECT_EQ(border, actual.Rgb(0, rc.bottom / 2));
        EXPECT_EQ(border, actual.Rgb(rc.right / 2, rc.bottom - 1));
        EXPECT_EQ(DibCanvas::Raw(field, 0), actual.Rgb(1, rc.bottom / 2));
        EXPECT_EQ(DibCanvas::Raw(field, 0), actual.Rgb(2, rc.bottom / 2));
        return differences;
    }
    static void SendMouseButton(DWORD flags)
    {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = flags;
        ::SendInput(1, &input, sizeof(input));
    }
};

TEST_P(SkinObjectComboBoxTest, ControlsGetTheirObjects)
{
    EXPECT_NE(nullptr, Object<CWVPSkinObjectComboBox>(rwtest::kGalleryDropList));
    EXPECT_NE(nullptr, Object<CWVPSkinObjectComboBox>(rwtest::kGalleryDropDown));
    EXPECT_NE(nullptr, Object<CWVPSkinObjectDateTime>(rwtest::kGalleryDateTime));
    EXPECT_NE(nullptr, Object<CWVPSkinObjectMonthCal>(rwtest::kGalleryMonthCal));
}

// A combo box created with a border and a client edge loses both: the skin alone frames it.
TEST_P(SkinObjectComboBoxTest, CreationDropsTheSystemFrame)
{
    HWND combo = ::CreateWindowExW(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE, L"ComboBox", L"",
                                   WS_CHILD | WS_VISIBLE | WS_BORDER | CBS_DROPDOWNLIST, 8, 380, 120, 120,
                                   gallery->hwnd(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, combo);
    EXPECT_EQ(0, ::GetWindowLongW(combo, GWL_STYLE) & WS_BORDER);
    EXPECT_EQ(0, ::GetWindowLongW(combo, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
    RECT window, client;
    ::GetWindowRect(combo, &window);
    ::GetClientRect(combo, &client);
    EXPECT_EQ(window.right - window.left, client.right);
    ::DestroyWindow(combo);
}

TEST_P(SkinObjectComboBoxTest, FrameAndButtonFollowTheStates)
{
    EXPECT_EQ(0, ComboDifferences(rwtest::kGalleryDropList, kNormal));
    EXPECT_EQ(0, ComboDifferences(rwtest::kGalleryDropDown, kNormal));

    HWND combo = gallery->Item(rwtest::kGalleryDropList);
    RECT rc;
    ::GetClientRect(combo, &rc);
    MoveCursorTo(combo, POINT{rc.right / 2, rc.bottom / 2});
    ASSERT_TRUE(rwtest::SkinGallery::PumpUntil(
        [&] { return Object<CWVPSkinObjectComboBox>(rwtest::kGalleryDropList)->IsHot(); }));
    EXPECT_EQ(0, ComboDifferences(rwtest::kGalleryDropList, kHot));
    ParkCursor();
    ASSERT_TRUE(rwtest::SkinGallery::PumpUntil(
        [&] { return !Object<CWVPSkinObjectComboBox>(rwtest::kGalleryDropList)->IsHot(); }));
    EXPECT_EQ(0, ComboDifferences(rwtest::kGalleryDropList, kNormal));

    ::EnableWindow(combo, FALSE);
    EXPECT_EQ(0, ComboDifferences(rwtest::kGalleryDropList, kDisabled));
    ::EnableWindow(combo, TRUE);
}

// With its list open and the real left button held, the combo box draws pressed.
TEST_P(SkinObjectComboBoxTest, OpenListWithButtonHeldDrawsPressed)
{
    HWND combo = gallery->Item(rwtest::kGalleryDropList);
    RECT rc;
    ::GetClientRect(combo, &rc);
    MoveCursorTo(combo, POINT{rc.right - 8, rc.bottom / 2});
    SendMouseButton(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(rwtest::SkinGallery::PumpUntil(
        [&] { return ::SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) && ::GetKeyState(VK_LBUTTON) < 0; }));
    EXPECT_EQ(0, ComboDifferences(rwtest::kGalleryDropList, kPressed));
    SendMouseButton(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(rwtest::SkinGallery::PumpUntil([&] { return ::GetKeyState(VK_LBUTTON) >= 0; }));
    ::SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    ParkCursor();
    ASSERT_TRUE(rwtest::SkinGallery::PumpUntil(
        [&] { return !Object<CWVPSkinObjectComboBox>(rwtest::kGalleryDropList)->IsHot(); }));
    EXPECT_EQ(0, ComboDifferences(rwtest::kGalleryDropList, kNormal));
}

// A read-only edit inside the combo box makes it ask its parent for the static colours.
TEST_P(SkinObjectComboBoxTest, ReadOnlyEditAsksForStaticColours)
{
    CWVPSkinObjectComboBox* object = Object<CWVPSkinObjectComboBox>(rwtest::kGalleryDropDown);
    ASSERT_NE(nullptr, object);
    EXPECT_EQ(UINT(WM_CTLCOLOREDIT), object->GetClientBrushMessage());
    HWND edit = ::GetWindow(gallery->Item(rwtest::kGalleryDropDown), GW_CHILD);
    ::SendMessageW(edit, EM_SETREADONLY, TRUE, 0);
    EXPECT_EQ(UINT(WM_CTLCOLORSTATIC), object->GetClientBrushMessage());
}

TEST_P(SkinObjectComboBoxTest, DateTimeDrawsItsDropButton)
{
    HWND picker = gallery->Item(rwtest::kGalleryDateTime);
    RECT rc;
    ::GetClientRect(picker, &rc);
    DibCanvas actual(rc.right, rc.bottom, RGB(255, 0, 255));
    rwtest::PrintClient(picker, actual);
    DibCanvas expected(rc.right, rc.bottom, Color(COLOR_WINDOW));
    RECT button = {rc.right - manager.GetMetrics()->m_cxVScroll, 0, rc.right, rc.bottom};
    SkinClass(L"COMBOBOX")
        ->DrawThemeBackground(expected.dc(), CWVPSkinObjectComboBox::kPartDropDownButton, kNormal, &button);
    ::GdiFlush();
    EXPECT_EQ(0, Differences(actual, expected, button));
    // The picker's own text is in the picture.
    RECT field = {0, 0, button.left, rc.bottom};
    int background = CountColor(actual, field, Color(COLOR_WINDOW));
    EXPECT_GT(field.right * field.bottom - background, 20);
}

// A press on the skin's drop button opens the picker's calendar.
TEST_P(SkinObjectComboBoxTest, DropButtonOpensTheCalendar)
{
    HWND picker = gallery->Item(rwtest::kGalleryDateTime);
    RECT button = Object<CWVPSkinObjectDateTime>(picker)->GetDropButtonRect();
    POINT at = {(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    ::SendMessageW(picker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    ::SendMessageW(picker, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    auto open = [&] {
        HWND calendar = reinterpret_cast<HWND>(::SendMessageW(picker, DTM_GETMONTHCAL, 0, 0));
        return calendar && ::IsWindowVisible(calendar);
    };
    EXPECT_TRUE(rwtest::SkinGallery::PumpUntil(open));
    if (open())
        ::ShowWindow(reinterpret_cast<HWND>(::SendMessageW(picker, DTM_GETMONTHCAL, 0, 0)), SW_HIDE);
}

// A picker that may hold no date draws an unchecked box while none is chosen, a checked one after.
TEST_P(SkinObjectComboBoxTest, ShowNoneDrawsTheCheckOfTheDate)
{
    HWND picker = gallery->Item(rwtest::kGalleryDateTimeNone);
    RECT rc;
    ::GetClientRect(picker, &rc);
    CWVPSkinManagerClass* button = SkinClass(L"BUTTON");
    for (int check : {1, 5})
    {
        SYSTEMTIME now;
        ::GetLocalTime(&now);
        ::SendMessageW(picker, DTM_SETSYSTEMTIME, check == 1 ? GDT_NONE : GDT_VALID, reinterpret_cast<LPARAM>(&now));
        DibCanvas actual(rc.right, rc.bottom, RGB(255, 0, 255));
        rwtest::PrintClient(picker, actual);
        SIZE size = {13, 13};
        button->GetThemePartSize(3, check, nullptr, CWVPSkinManagerClass::kSizeTrue, size);
        int side = rc.bottom - 2;
        int x = 1 + (side - size.cx) / 2, y = 1 + (side - size.cy) / 2;
        RECT box = {x, y, x + size.cx, y + size.cy};
        DibCanvas expected(rc.right, rc.bottom, Color(COLOR_WINDOW));
        button->DrawThemeBackground(expected.dc(), 3, check, &box);
        ::GdiFlush();
        RECT square = {1, 1, 1 + side, 1 + side};
        EXPECT_EQ(0, Differences(actual, expected, square)) << check;
    }
}

// The month calendar and the picker's drop-down calendar take the skin's colours, also when they
// are created while the skin is loaded.
TEST_P(SkinObjectComboBoxTest, CalendarColoursFollowTheSkin)
{
    HWND calendar = gallery->Item(rwtest::kGalleryMonthCal);
    HWND picker = gallery->Item(rwtest::kGalleryDateTime);
    int count = 0;
    const WVP_SKIN_CALENDAR_COLOR* colors = WVPSkinCalendarColors(count);
    ASSERT_EQ(6, count);
    for (int i = 0; i < count; ++i)
    {
        COLORREF skin = Color(colors[i].nSysColor);
        EXPECT_EQ(skin, COLORREF(::SendMessageW(calendar, MCM_GETCOLOR, colors[i].nCalendarIndex, 0))) << i;
        EXPECT_EQ(skin, COLORREF(::SendMessageW(picker, DTM_GETMCCOLOR, colors[i].nCalendarIndex, 0))) << i;
    }
    RECT rc;
    ::GetClientRect(calendar, &rc);
    DibCanvas actual(rc.right, rc.bottom, RGB(255, 0, 255));
    rwtest::PrintClient(calendar, actual);
    RECT title = {0, 0, rc.right, rc.bottom / 6};
    EXPECT_GT(CountColor(actual, title, Color(COLOR_ACTIVECAPTION)), rc.right);
}

// The dropped list of a combo box shows the skin's scroll bar as soon as it opens, as a list box
// does once shown: what is on the screen in the bar's place is what the skin draws there.
TEST_P(SkinObjectComboBoxTest, DroppedListAndListBoxShowTheSkinsScrollBar)
{
    HWND combo = gallery->Item(rwtest::kGalleryDropList);
    COMBOBOXINFO info = {sizeof(info)};
    ASSERT_TRUE(::GetComboBoxInfo(combo, &info));
    HWND listBox = gallery->Item(rwtest::kGalleryListBox);
    ::ShowWindow(listBox, SW_HIDE);
    rwtest::SkinGallery::Pump();
    ::ShowWindow(listBox, SW_SHOW);
    ::SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    rwtest::SkinGallery::Pump();
    for (HWND list : {info.hwndList, listBox})
    {
        ASSERT_TRUE(::IsWindowVisible(list));
        auto* object = Object<CWVPSkinObjectFrame>(list);
        ASSERT_NE(nullptr, object);
        CWVPSkinObjectFrame::SCROLLBARPOSINFO* bar = object->GetScrollBarPosInfo(1);
        ASSERT_TRUE(bar->fVisible);
        RECT window;
        ::GetWindowRect(list, &window);
        int w = window.right - window.left, h = window.bottom - window.top;
        DibCanvas actual(w, h, RGB(255, 0, 255)), expected(w, h, RGB(255, 0, 255));
        HDC dc = ::GetWindowDC(list);
        ::BitBlt(actual.dc(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
        ::ReleaseDC(list, dc);
        object->CalcScrollBarInfo(bar);
        ASSERT_FALSE(::IsRectEmpty(&bar->rc));
        object->DrawScrollBar(expected.dc(), bar);
        ::GdiFlush();
        EXPECT_EQ(0, Differences(actual, expected, bar->rc)) << (list == listBox ? "list box" : "dropped list");
    }
    ::SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinObjectComboBoxTest, ::testing::Values(L"NORMALBLUE_INI", L"NORMALAQUA_INI"));

} // namespace
