// The classic theme's faces, marks and icons read back pixel by pixel.
#include "DibCanvas.h"
#include "RwTest.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/foundation/ImageManager.h"
#include "uilib/foundation/ImageManagerIcon.h"
#include "uilib/themes/DefaultTheme.h"

#include <string>

namespace
{
const COLORREF kMarker = RGB(1, 2, 3);

struct Theme
{
    CWVPDefaultTheme* theme = new CWVPDefaultTheme;
    Theme()
    {
        theme->RefreshMetrics();
    }
    ~Theme()
    {
        theme->InternalRelease();
    }
    COLORREF Color(int index) const
    {
        return theme->GetColor(index) & 0xFFFFFF;
    }
};

// A canvas with a CDC over it.
struct Canvas : DibCanvas
{
    CDC cdc;
    Canvas(int width, int height) : DibCanvas(width, height, kMarker)
    {
        cdc.Attach(dc());
    }
    ~Canvas()
    {
        cdc.Detach();
    }
};

DWORD Raw(COLORREF c)
{
    return DWORD(GetRValue(c)) << 16 | DWORD(GetGValue(c)) << 8 | GetBValue(c);
}
} // namespace

// Faces of tool-bar buttons in their states: what the frame's corners and the inside show.
TEST(DefaultThemeTest, ButtonFacesInEveryState)
{
    Theme t;
    const DWORD face = Raw(t.Color(15)), shadow = Raw(t.Color(16)), light = Raw(t.Color(20));
    const DWORD highlight = Raw(t.Color(13)), marker = Raw(kMarker);
    struct Case
    {
        const char* name;
        int selected, pressed, enabled, checked, popuped, barType;
        DWORD topLeft, bottomRight, inside, insideNext;
    } cases[] = {
        {"normal: nothing", 0, 0, 1, 0, 0, 1, marker, marker, marker, marker},
        {"hot: raised", 1, 0, 1, 0, 0, 1, light, shadow, marker, marker},
        {"pressed: sunken", 1, 1, 1, 0, 0, 1, shadow, light, marker, marker},
        {"kept down while running: sunken", 0, 2, 1, 0, 0, 1, shadow, light, marker, marker},
        {"popped up: sunken", 0, 0, 1, 0, 1, 1, shadow, light, marker, marker},
        {"checked: checkerboard and sunken", 0, 0, 1, 1, 0, 1, shadow, light, light, face},
        {"checked and hot: sunken only", 1, 0, 1, 1, 0, 1, shadow, light, marker, marker},
        {"disabled and hot by mouse: nothing", 1, 0, 0, 0, 0, 1, marker, marker, marker, marker},
        {"disabled and selected by keyboard: sunken", 2, 0, 0, 0, 0, 1, shadow, light, marker, marker},
        {"disabled and checked: sunken", 0, 0, 0, 1, 0, 1, shadow, light, marker, marker},
        {"popup item selected: highlight", 1, 0, 1, 0, 0, 2, highlight, highlight, highlight, highlight},
        {"popup item not selected: nothing", 0, 0, 1, 0, 0, 2, marker, marker, marker, marker},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Canvas canvas(24, 24);
        t.theme->DrawRectangle(&canvas.cdc, CRect(2, 2, 22, 22), c.selected, c.pressed, c.enabled, c.checked,
                               c.popuped, c.barType, wvpBarTop);
        ::GdiFlush();
        EXPECT_EQ(c.topLeft, canvas.Rgb(2, 2));
        EXPECT_EQ(c.bottomRight, canvas.Rgb(21, 21));
        EXPECT_EQ(c.inside, canvas.Rgb(4, 4));
        EXPECT_EQ(c.insideNext, canvas.Rgb(5, 4));
        EXPECT_EQ(marker, canvas.Rgb(0, 0));
    }
}

TEST(DefaultThemeTest, HalftoneIsAOnePixelCheckerboard)
{
    Theme t;
    Canvas canvas(8, 8);
    t.theme->FillHalftoneRect(&canvas.cdc, CRect(0, 0, 8, 8));
    ::GdiFlush();
    const DWORD face = Raw(t.Color(15)), light = Raw(t.Color(20));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ((x + y) % 2 == 0 ? light : face, canvas.Rgb(x, y)) << x << "," << y;
}

// A disabled icon without alpha is embossed: its silhouette in the light colour one pixel down
// and right, then in the shadow colour where it stands.
TEST(DefaultThemeTest, DisabledIconsAreEmbossed)
{
    Theme t;
    CWVPImageManager* images = new CWVPImageManager;
    DWORD* bits = nullptr;
    HBITMAP bitmap = CWVPImageManager::CreateDIBSection32(nullptr, 16, 16, reinterpret_cast<void**>(&bits));
    const COLORREF mask = images->GetMaskColor();
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            bits[y * 16 + x] = (x >= 6 && x < 10 && y >= 6 && y < 10) ? 0 : Raw(mask);
    const UINT id = 7;
    ASSERT_TRUE(images->SetIconsFromBitmap(bitmap, &id, 1, 16, 16, 0, FALSE));
    CWVPImageManagerIcon* icon = images->GetImage(id, 16);
    ASSERT_NE(nullptr, icon);

    Canvas canvas(20, 20);
    t.theme->DrawImage(&canvas.cdc, CPoint(0, 0), CSize(16, 16), icon, FALSE, FALSE, FALSE, FALSE, FALSE);
    ::GdiFlush();
    const DWORD shadow = Raw(t.Color(16)), light = Raw(t.Color(20)), marker = Raw(kMarker);
    EXPECT_EQ(shadow, canvas.Rgb(6, 6));
    EXPECT_EQ(shadow, canvas.Rgb(9, 9));
    EXPECT_EQ(light, canvas.Rgb(10, 10));
    EXPECT_EQ(light, canvas.Rgb(10, 7));
    EXPECT_EQ(marker, canvas.Rgb(5, 5));
    EXPECT_EQ(marker, canvas.Rgb(11, 11));

    // Enabled, the icon's own pixels.
    Canvas normal(20, 20);
    t.theme->DrawImage(&normal.cdc, CPoint(0, 0), CSize(16, 16), icon, FALSE, FALSE, TRUE, FALSE, FALSE);
    ::GdiFlush();
    EXPECT_EQ(0u, normal.Rgb(6, 6));
    EXPECT_EQ(marker, normal.Rgb(10, 10));
    ::DeleteObject(bitmap);
    images->InternalRelease();
}

TEST(DefaultThemeTest, TextColoursFollowTheState)
{
    Theme t;
    EXPECT_EQ(t.Color(17), t.theme->GetRectangleTextColor(0, 0, FALSE, 0, 0, wvpBarTypeNormal, wvpBarTop) & 0xFFFFFF);
    EXPECT_EQ(t.Color(18), t.theme->GetRectangleTextColor(1, 0, TRUE, 0, 0, wvpBarTypeNormal, wvpBarTop) & 0xFFFFFF);
    EXPECT_EQ(t.Color(14), t.theme->GetRectangleTextColor(1, 0, TRUE, 0, 0, wvpBarTypePopup, wvpBarPopup) & 0xFFFFFF);
    EXPECT_EQ(t.Color(18), t.theme->GetRectangleTextColor(1, 0, TRUE, 1, 0, wvpBarTypePopup, wvpBarPopup) & 0xFFFFFF);
}

TEST(DefaultThemeTest, SeparatorsAndBorders)
{
    Theme t;
    CWVPCommandBar* bar = static_cast<CWVPCommandBar*>(CWVPCommandBar::CreateObject());
    EXPECT_EQ(CSize(6, 6), t.theme->DrawCommandBarSeparator(nullptr, bar, nullptr, FALSE));
    EXPECT_EQ(CRect(2, 2, 2, 2), t.theme->GetCommandBarBorders(bar));
    bar->m_barType = wvpBarTypePopup;
    EXPECT_EQ(CSize(8, 8), t.theme->DrawCommandBarSeparator(nullptr, bar, nullptr, FALSE));
    EXPECT_EQ(CRect(3, 3, 3, 3), t.theme->GetCommandBarBorders(bar));
    bar->InternalRelease();
}
