#include "SkinGalleryFixture.h"
#include "uilib/skin/SkinObjectToolBar.h"

#include <vector>

namespace
{

// The gallery's tool bar buttons by index (the separator is index 2).
const int kOpen = 0;
const int kChecked = 3;
const int kOff = 4;
const int kMenu = 5;
const int kMore = 6;
const int kOpenCommand = 1;
const int kSaveCommand = 2;

class SkinObjectToolBarTest : public rwtest::SkinGalleryFixture
{
  protected:
    HWND ToolBar()
    {
        return gallery->Item(rwtest::kGalleryToolBar);
    }
    RECT ItemRect(int index)
    {
        RECT rc = {};
        ::SendMessageW(ToolBar(), TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc));
        return rc;
    }
    // Differences in the top and left edge bands of the button (where no text or arrow lies)
    // against the part drawn in the state on the button face; split buttons draw both halves.
    int EdgeDifferences(int index, int state)
    {
        auto actual = Paint(ToolBar());
        DibCanvas expected(actual->width(), actual->height(), Color(COLOR_BTNFACE));
        RECT rc = ItemRect(index);
        CWVPSkinManagerClass* toolbar = SkinClass(L"TOOLBAR");
        if (index == kMenu)
        {
            RECT body = rc, arrow = rc;
            body.right -= ::GetSystemMetrics(SM_CYMENUCHECK);
            arrow.left = body.right;
            toolbar->DrawThemeBackground(expected.dc(), CWVPSkinObjectToolBar::kPartSplitButton, state, &body);
            toolbar->DrawThemeBackground(expected.dc(), CWVPSkinObjectToolBar::kPartSplitButtonDropDown, state, &arrow);
        }
        else
            toolbar->DrawThemeBackground(expected.dc(), CWVPSkinObjectToolBar::kPartButton, state, &rc);
        ::GdiFlush();
        int edge = manager.GetMetrics()->m_cxEdge;
        RECT top = {rc.left, rc.top, rc.right, rc.top + edge};
        RECT left = {rc.left, rc.top, rc.left + edge, rc.bottom};
        return Differences(*actual, expected, top) + Differences(*actual, expected, left);
    }
    POINT Center(int index)
    {
        RECT rc = ItemRect(index);
        return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
    int HotItem()
    {
        return int(::SendMessageW(ToolBar(), TB_GETHOTITEM, 0, 0));
    }
};

TEST_P(SkinObjectToolBarTest, ButtonsDrawTheirPartsInTheirStates)
{
    ASSERT_NE(nullptr, Object<CWVPSkinObjectToolBar>(rwtest::kGalleryToolBar));
    EXPECT_EQ(0, EdgeDifferences(kOpen, CWVPSkinObjectToolBar::kStateNormal));
    EXPECT_EQ(0, EdgeDifferences(kChecked, CWVPSkinObjectToolBar::kStateChecked));
    EXPECT_EQ(0, EdgeDifferences(kOff, CWVPSkinObjectToolBar::kStateDisabled));
    EXPECT_EQ(0, EdgeDifferences(kMenu, CWVPSkinObjectToolBar::kStateNormal));
}

// Hot follows the real cursor; a checked button stays checked while hot; pressing shows pressed.
TEST_P(SkinObjectToolBarTest, HotAndPressedFollowInput)
{
    MoveCursorTo(ToolBar(), Center(kOpen));
    ASSERT_TRUE(rwtest::SkinGallery::PumpUntil([&] { return HotItem() == kOpen; }));
    EXPECT_EQ(0, EdgeDifferences(kOpen, CWVPSkinObjectToolBar::kStateHot));

    MoveCursorTo(ToolBar(), Center(kChecked));
    ASSERT_TRUE(rwtest::SkinGallery::PumpUntil([&] { return HotItem() == kChecked; }));
    EXPECT_EQ(0, EdgeDifferences(kChecked, CWVPSkinObjectToolBar::kStateChecked));

    ParkCursor();
    ASSERT_TRUE(rwtest::SkinGallery::PumpUntil([&] { return HotItem() < 0; }));
    EXPECT_EQ(0, EdgeDifferences(kOpen, CWVPSkinObjectToolBar::kStateNormal));

    ::SendMessageW(ToolBar(), TB_PRESSBUTTON, kOpenCommand, TRUE);
    EXPECT_EQ(0, EdgeDifferences(kOpen, CWVPSkinObjectToolBar::kStatePressed));
    ::SendMessageW(ToolBar(), TB_PRESSBUTTON, kOpenCommand, FALSE);
}

// A whole drop-down button carries its arrow: a small triangle in the text colour.
TEST_P(SkinObjectToolBarTest, WholeDropDownDrawsItsArrow)
{
    auto actual = Paint(ToolBar());
    RECT rc = ItemRect(kMore);
    int middle = (rc.top + rc.bottom) / 2, end = rc.right - 6;
    DWORD text = DibCanvas::Raw(Color(COLOR_BTNTEXT), 0);
    for (POINT pt : {POINT{end - 2, middle - 1}, POINT{end + 2, middle - 1}, POINT{end, middle - 1}, POINT{end, middle},
                     POINT{end, middle + 1}})
        EXPECT_EQ(text, actual->Rgb(pt.x, pt.y)) << pt.x << "," << pt.y;
    EXPECT_NE(text, actual->Rgb(end, middle + 2));
    // The split button draws no triangle of its own: its arrow is the skin's part.
    RECT menu = ItemRect(kMenu);
    EXPECT_NE(text, actual->Rgb(menu.right - 6, (menu.top + menu.bottom) / 2));
}

// A button text far longer than the old 256-character buffer is read whole and drawn cut with an
// ellipsis, without writing past any buffer.
TEST_P(SkinObjectToolBarTest, LongButtonTextIsReadWhole)
{
    CWVPSkinObjectToolBar* object = Object<CWVPSkinObjectToolBar>(rwtest::kGalleryToolBar);
    ASSERT_NE(nullptr, object);
    std::vector<WCHAR> text(700, L'W');
    text.back() = 0;
    TBBUTTONINFOW info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_TEXT;
    info.pszText = text.data();
    ASSERT_TRUE(::SendMessageW(ToolBar(), TB_SETBUTTONINFOW, kSaveCommand, reinterpret_cast<LPARAM>(&info)));
    TBBUTTON button = {};
    ASSERT_TRUE(::SendMessageW(ToolBar(), TB_GETBUTTON, 1, reinterpret_cast<LPARAM>(&button)));
    CString read = object->GetButtonText(button);
    EXPECT_EQ(699, read.GetLength());
    EXPECT_EQ(0, read.Compare(text.data()));
    auto actual = Paint(ToolBar());
    EXPECT_GT(CountColor(*actual, ItemRect(1), Color(COLOR_BTNTEXT)), 0);
}

// A disabled button whose image list is a 24-bit list without a disabled list shows the embossed
// image: the image's shape in shadow, and in highlight one pixel down and right.
TEST_P(SkinObjectToolBarTest, DisabledImageIsEmbossed)
{
    HWND toolBar =
        ::CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                          WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, 8,
                          380, 120, 30, gallery->hwnd(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, toolBar);
    ::SendMessageW(toolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    HIMAGELIST images = ::ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0);
    {
        DibCanvas picture(16, 16, RGB(255, 0, 255));
        RECT square = {4, 4, 12, 12};
        HBRUSH black = ::CreateSolidBrush(RGB(0, 0, 0));
        ::FillRect(picture.dc(), &square, black);
        ::DeleteObject(black);
        ::GdiFlush();
        HBITMAP bitmap =
            static_cast<HBITMAP>(::SelectObject(picture.dc(), ::CreateCompatibleBitmap(picture.dc(), 1, 1)));
        ::ImageList_AddMasked(images, bitmap, RGB(255, 0, 255));
        ::DeleteObject(::SelectObject(picture.dc(), bitmap));
    }
    ::SendMessageW(toolBar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    TBBUTTON buttons[] = {{0, 1, 0, BTNS_BUTTON, {}, 0, -1}, {0, 2, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, -1}};
    ::SendMessageW(toolBar, TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(buttons));
    rwtest::SkinGallery::Pump();

    auto actual = Paint(toolBar);
    COLORREF shadow = Color(COLOR_BTNSHADOW), highlight = Color(COLOR_BTNHIGHLIGHT);
    RECT rc = {};
    ::SendMessageW(toolBar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rc));
    // The first shadow pixel is the square's top-left corner.
    POINT corner = {-1, -1};
    for (int y = rc.top; y < rc.bottom && corner.x < 0; ++y)
        for (int x = rc.left; x < rc.right && corner.x < 0; ++x)
            if (actual->Rgb(x, y) == DibCanvas::Raw(shadow, 0))
                corner = POINT{x, y};
    ASSERT_GE(corner.x, 0) << "no shadow drawn";
    RECT square = {corner.x, corner.y, corner.x + 8, corner.y + 8};
    EXPECT_EQ(64, CountColor(*actual, square, shadow));
    RECT rightEdge = {corner.x + 8, corner.y + 1, corner.x + 9, corner.y + 9};
    RECT bottomEdge = {corner.x + 1, corner.y + 8, corner.x + 9, corner.y + 9};
    EXPECT_EQ(8, CountColor(*actual, rightEdge, highlight));
    EXPECT_EQ(8, CountColor(*actual, bottomEdge, highlight));

    // The enabled button shows the image in its own colours.
    ::SendMessageW(toolBar, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rc));
    EXPECT_EQ(64, CountColor(*actual, rc, RGB(0, 0, 0)));
    ::DestroyWindow(toolBar);
    ::ImageList_Destroy(images);
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinObjectToolBarTest, ::testing::Values(L"NORMALBLUE_INI", L"NORMALAQUA_INI"));

} // namespace
