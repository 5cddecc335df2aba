#include "DibCanvas.h"
#include "RwTest.h"
#include "SkinGallery.h"
#include "SkinGalleryFixture.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinObjectHeader.h"

#include <algorithm>

namespace
{

const COLORREF kImageColor = RGB(255, 0, 0);

// The column header of the gallery's list in a loaded skin: it prints the skin's item parts with
// texts and sort arrows where the test draws them, in the state the real cursor and a press give.
class SkinObjectHeaderTest : public rwtest::SkinGalleryFixture
{
  protected:
    void SetUp() override
    {
        rwtest::SkinGalleryFixture::SetUp();
        if (HasFatalFailure())
            return;
        header = reinterpret_cast<HWND>(::SendMessageW(gallery->Item(rwtest::kGalleryList), LVM_GETHEADER, 0, 0));
        object = Object<CWVPSkinObjectHeader>(header);
        ASSERT_NE(nullptr, object);
    }
    void TearDown() override
    {
        rwtest::SkinGalleryFixture::TearDown();
        if (images)
            ::ImageList_Destroy(images);
    }
    RECT ItemRect(int index)
    {
        RECT rc = {};
        ::SendMessageW(header, HDM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc));
        return rc;
    }
    HDITEMW Item(int index, WCHAR* text)
    {
        HDITEMW item = {};
        item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
        item.pszText = text;
        item.cchTextMax = 256;
        ::SendMessageW(header, HDM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
        return item;
    }
    void SetFormat(int index, int fmt, int image = 0)
    {
        HDITEMW item = {};
        item.mask = HDI_FORMAT | HDI_IMAGE;
        item.fmt = fmt;
        item.iImage = image;
        ::SendMessageW(header, HDM_SETITEMW, index, reinterpret_cast<LPARAM>(&item));
    }
    // One item as it should look: its part in the state, its sort arrow and its text (images
    // are checked apart).
    void DrawItem(HDC dc, int index, int state)
    {
        RECT rc = ItemRect(index);
        manager.GetSkinClass(L"HEADER")->DrawThemeBackground(dc, 1, state, &rc);
        WCHAR text[256] = {};
        HDITEMW item = Item(index, text);
        SIZE size = {};
        ::GetTextExtentPoint32W(dc, text, ::lstrlenW(text), &size);
        RECT textRect = rc;
        if (!(item.fmt & HDF_IMAGE) && (item.fmt & (HDF_SORTUP | HDF_SORTDOWN)))
        {
            int centre = rc.left + size.cx + 6 * ::GetSystemMetrics(SM_CXEDGE) + 9;
            if (centre > rc.right - 12)
                centre = std::max<int>(rc.right - 12, rc.left + 6);
            int middle = (rc.top + rc.bottom) / 2, tip = (item.fmt & HDF_SORTUP) ? -2 : 2;
            POINT points[3] = {{centre - 4, middle - tip}, {centre + 4, middle - tip}, {centre, middle + tip}};
            COLORREF shadow = manager.GetMetrics()->GetColor(COLOR_BTNSHADOW);
            HPEN pen = ::CreatePen(PS_SOLID, 1, shadow);
            HBRUSH brush = ::CreateSolidBrush(shadow);
            HGDIOBJ oldPen = ::SelectObject(dc, pen), oldBrush = ::SelectObject(dc, brush);
            ::Polygon(dc, points, 3);
            ::SelectObject(dc, oldPen);
            ::SelectObject(dc, oldBrush);
            ::DeleteObject(pen);
            ::DeleteObject(brush);
            textRect.right = centre;
        }
        textRect.left += 9;
        textRect.right -= 6;
        if (state == 3)
            ::OffsetRect(&textRect, 1, 1);
        ::DrawTextW(dc, text, -1, &textRect, DT_END_ELLIPSIS | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
    }
    // Pixels of the printed header that differ from its items drawn in their states.
    int Differences(int hotItem, int hotState)
    {
        RECT rc;
        ::GetClientRect(header, &rc);
        DibCanvas actual(rc.right, rc.bottom, RGB(255, 0, 255)), expected(rc.right, rc.bottom);
        rwtest::PrintClient(header, actual);
        expected.Fill(manager.GetMetrics()->GetColor(COLOR_BTNFACE));
        HGDIOBJ oldFont = ::SelectObject(expected.dc(), HFONT(::SendMessageW(header, WM_GETFONT, 0, 0)));
        ::SetTextColor(expected.dc(), manager.GetMetrics()->GetColor(COLOR_BTNTEXT));
        ::SetBkMode(expected.dc(), TRANSPARENT);
        int count = int(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
        LONG itemsRight = 0;
        for (int index = 0; index < count; ++index)
        {
            DrawItem(expected.dc(), index, index == hotItem ? hotState : 1);
            itemsRight = std::max(itemsRight, ItemRect(index).right);
        }
        RECT rest = {itemsRight, 0, rc.right, rc.bottom};
        manager.GetSkinClass(L"HEADER")->DrawThemeBackground(expected.dc(), 0, 0, &rest);
        ::SelectObject(expected.dc(), oldFont);
        ::GdiFlush();
        return rwtest::RegionDifferences(actual, rc, expected);
    }
    // Where a solid image stands in the printed header: its left edge, or -1.
    int ImageLeft(const RECT& item)
    {
        RECT rc;
        ::GetClientRect(header, &rc);
        DibCanvas actual(rc.right, rc.bottom);
        rwtest::PrintClient(header, actual);
        int y = item.top + (item.bottom - item.top - 16) / 2;
        DWORD red = DibCanvas::Raw(kImageColor, 0);
        for (int x = item.left; x < item.right; ++x)
            if (actual.Rgb(x, y) == red)
            {
                for (int dy = 0; dy < 16; ++dy)
                    for (int dx = 0; dx < 16; ++dx)
                        if (actual.Rgb(x + dx, y + dy) != red)
                            return -2;
                return x;
            }
        return -1;
    }
    HWND header = nullptr;
    CWVPSkinObjectHeader* object = nullptr;
    HIMAGELIST images = nullptr;
};

// Normal items with the first one's sort arrow; the item under the real cursor is hot, pressed
// while the button is down on it (text moved by a pixel), hot again after, normal once the cursor
// leaves.
TEST_P(SkinObjectHeaderTest, ItemsFollowCursorAndPress)
{
    EXPECT_EQ(0, Differences(-1, 1));
    RECT second = ItemRect(1);
    rwtest::MoveCursorToClient(header, second);
    EXPECT_TRUE(rwtest::SkinGallery::PumpUntil([&] { return object->GetHotItem() == 1; }));
    EXPECT_EQ(0, Differences(1, 2));

    LPARAM at = MAKELPARAM((second.left + second.right) / 2, (second.top + second.bottom) / 2);
    ::SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_TRUE(object->IsPressed());
    EXPECT_EQ(3, object->GetItemState(1));
    EXPECT_EQ(0, Differences(1, 3));
    ::SendMessageW(header, WM_LBUTTONUP, 0, at);
    EXPECT_FALSE(object->IsPressed());
    EXPECT_EQ(0, Differences(1, 2));

    ParkCursor();
    EXPECT_TRUE(rwtest::SkinGallery::PumpUntil([&] { return object->GetHotItem() == -1; }));
    EXPECT_EQ(0, Differences(-1, 1));
}

// An owner-drawn item whose parent does not draw it keeps the skin's text.
TEST_P(SkinObjectHeaderTest, OwnerDrawnItemKeepsItsTextWhenTheParentDeclines)
{
    SetFormat(2, HDF_OWNERDRAW | HDF_STRING | HDF_LEFT);
    EXPECT_EQ(0, Differences(-1, 1));
}

// An image goes at the bitmap margin, or after the text with HDF_BITMAP_ON_RIGHT, one pixel
// further right while pressed.
TEST_P(SkinObjectHeaderTest, ImagesStandAtTheirSide)
{
    images = ::ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    DibCanvas red(16, 16, kImageColor);
    HBITMAP bitmap = ::CreateCompatibleBitmap(red.dc(), 16, 16);
    HDC dc = ::CreateCompatibleDC(red.dc());
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    ::BitBlt(dc, 0, 0, 16, 16, red.dc(), 0, 0, SRCCOPY);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ASSERT_EQ(0, ::ImageList_Add(images, bitmap, nullptr));
    ::DeleteObject(bitmap);
    ::SendMessageW(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));

    RECT item = ItemRect(1);
    int margin = int(::SendMessageW(header, HDM_GETBITMAPMARGIN, 0, 0));
    if (margin == 0)
        margin = 3 * ::GetSystemMetrics(SM_CXEDGE);
    SetFormat(1, HDF_STRING | HDF_LEFT | HDF_IMAGE, 0);
    EXPECT_EQ(item.left + margin, ImageLeft(item));

    SetFormat(1, HDF_STRING | HDF_LEFT | HDF_IMAGE | HDF_BITMAP_ON_RIGHT, 0);
    WCHAR text[256] = {};
    Item(1, text);
    HDC screen = ::GetDC(header);
    HGDIOBJ oldFont = ::SelectObject(screen, HFONT(::SendMessageW(header, WM_GETFONT, 0, 0)));
    SIZE size = {};
    ::GetTextExtentPoint32W(screen, text, ::lstrlenW(text), &size);
    ::SelectObject(screen, oldFont);
    ::ReleaseDC(header, screen);
    int right = std::max<int>(std::min<int>(item.left + 2 * margin + size.cx + 9, item.right - 3 - 16), item.left + 6);
    EXPECT_EQ(right, ImageLeft(item));

    rwtest::MoveCursorToClient(header, item);
    ASSERT_TRUE(rwtest::SkinGallery::PumpUntil([&] { return object->GetHotItem() == 1; }));
    LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    ::SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_EQ(right + 1, ImageLeft(item));
    ::SendMessageW(header, WM_LBUTTONUP, 0, at);
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinObjectHeaderTest, ::testing::Values(L"NORMALBLUE_INI", L"NORMALAQUA_INI"));

} // namespace
