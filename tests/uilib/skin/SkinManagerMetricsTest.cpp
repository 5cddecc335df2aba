#include "DibCanvas.h"
#include "RwTest.h"
#include "TestPaths.h"
#include "WideText.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinSchemaNames.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>

namespace
{

struct Invert : CWVPSkinManagerColorFilter
{
    void ApplyColorFilter(COLORREF& clr) override
    {
        clr = ~clr & 0xFFFFFF;
    }
};

// GetGuiResources' count of GDI objects (GR_GDIOBJECTS, which Wine's headers lack).
const DWORD kGuiGdiObjects = 0;

class SkinManagerMetricsTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        manager.GetResourceFile()->m_hCallerModule = GetModuleHandleW(nullptr);
        ASSERT_TRUE(manager.LoadSkin(nullptr, L"NORMALBLUE_INI"));
        metrics = manager.GetMetrics();
    }
    CWVPSkinManager manager;
    CWVPSkinManagerMetrics* metrics = nullptr;
};

TEST_F(SkinManagerMetricsTest, SkinSetsCaptionHeightsScrollBarSizesAndColours)
{
    EXPECT_EQ(25, metrics->m_cyCaption);      // CaptionBarHeight 24 + 1
    EXPECT_EQ(19, metrics->m_cySmallCaption); // SmCaptionBarHeight 18 + 1
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), metrics->m_cyOsCaption);
    EXPECT_EQ(17, metrics->m_cxVScroll);
    EXPECT_EQ(17, metrics->m_cxHScroll);
    EXPECT_EQ(17, metrics->m_cyHScroll);
    EXPECT_EQ(17, metrics->m_cyVScroll);
    COLORREF face;
    ASSERT_EQ(S_OK, manager.GetSchema()->GetColorProperty(kSkinClassSysMetrics, 0, 0, 1601 + COLOR_BTNFACE, face));
    EXPECT_EQ(face, metrics->GetColor(COLOR_BTNFACE));
    EXPECT_EQ(face, manager.GetThemeSysColor(1616));
    EXPECT_EQ(CLR_INVALID, manager.GetThemeSysColor(1600));
    EXPECT_EQ(CLR_INVALID, manager.GetThemeSysColor(1632));
    EXPECT_EQ(0u, metrics->GetColor(31));
    EXPECT_EQ(metrics->GetColor(COLOR_BTNSHADOW), metrics->m_clrEdgeShadow);
    EXPECT_TRUE(metrics->IsMetricObject(metrics->GetBrush(COLOR_WINDOW)));
    EXPECT_FALSE(metrics->IsMetricObject(GetStockObject(WHITE_BRUSH)));
    EXPECT_FALSE(manager.GetThemeSysBool(1001)); // FlatMenus = false
    LOGFONTW font = {};
    ASSERT_TRUE(GetObjectW(metrics->m_fntCaption, sizeof font, &font));
    EXPECT_EQ("TAHOMA", rwtest::Utf8(font.lfFaceName));
    EXPECT_EQ(700, font.lfWeight);
}

TEST_F(SkinManagerMetricsTest, WithoutTheMetricsOptionTheSystemSizesStay)
{
    // Only the scroll bars and colours taken: option 1 off keeps the system's sizes.
    manager.SetApplyOptions(CWVPSkinManager::kApplyScrollBars | CWVPSkinManager::kApplyColors);
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), metrics->m_cyCaption);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), metrics->m_cxVScroll);
    manager.SetApplyOptions(CWVPSkinManager::kApplyAll);
    EXPECT_EQ(25, metrics->m_cyCaption);
}

TEST_F(SkinManagerMetricsTest, UnloadingRestoresSystemColoursAndKeepsHeldBrushesValid)
{
    HBRUSH held = metrics->GetBrush(COLOR_BTNFACE);
    ASSERT_NE(nullptr, held);
    COLORREF skinned = metrics->GetColor(COLOR_BTNFACE);

    // A filter and a refresh change the colour and the brush; the old brush still works.
    manager.AddColorFilter(new Invert);
    manager.Refresh();
    EXPECT_EQ(~skinned & 0xFFFFFF, metrics->GetColor(COLOR_BTNFACE));
    EXPECT_NE(held, metrics->GetBrush(COLOR_BTNFACE));
    EXPECT_EQ(OBJ_BRUSH, DWORD(GetObjectType(held)));
    EXPECT_FALSE(metrics->IsMetricObject(held));
    manager.RemoveColorFilters();

    EXPECT_FALSE(manager.LoadSkin(nullptr, nullptr));
    EXPECT_FALSE(manager.IsSkinLoaded());
    for (int i = 0; i < CWVPSkinManagerMetrics::kColorCount; ++i)
    {
        EXPECT_EQ(GetSysColor(i), metrics->GetColor(i)) << i;
        EXPECT_EQ(nullptr, metrics->GetBrush(i)) << i;
    }
    EXPECT_FALSE(metrics->IsMetricObject(held));
    // The brush retired by the refresh had its generation: the unload frees it.
    EXPECT_EQ(0u, DWORD(GetObjectType(held)));
}

// A brush a caller holds stays valid for one generation: through the refresh or unload that
// replaces it, freed by the next one.
TEST_F(SkinManagerMetricsTest, HeldBrushesStayValidForOneGeneration)
{
    HBRUSH held = metrics->GetBrush(COLOR_BTNFACE);
    COLORREF skinned = metrics->GetColor(COLOR_BTNFACE);
    EXPECT_FALSE(manager.LoadSkin(nullptr, nullptr));
    LOGBRUSH logBrush = {};
    ASSERT_TRUE(GetObjectW(held, sizeof logBrush, &logBrush)) << "a brush a caller holds outlives the unload";
    EXPECT_EQ(skinned, logBrush.lbColor);
    ASSERT_TRUE(manager.LoadSkin(nullptr, L"NORMALBLUE_INI"));
    EXPECT_EQ(0u, DWORD(GetObjectType(held)));

    held = metrics->GetBrush(COLOR_WINDOW);
    manager.AddColorFilter(new Invert);
    manager.Refresh();
    EXPECT_EQ(OBJ_BRUSH, DWORD(GetObjectType(held)));
    manager.RemoveColorFilters();
    manager.Refresh();
    EXPECT_EQ(0u, DWORD(GetObjectType(held)));
}

// Refreshes, tint changes, unloads and loads of either skin free what they retire: of all the
// brushes the skin handed out over fifty rounds, no more than two generations stay alive, and
// the process's count of GDI objects stays flat.
TEST_F(SkinManagerMetricsTest, RepeatedRefreshesLoadsAndLookChangesKeepTheGdiCountFlat)
{
    std::set<HBRUSH> handedOut;
    auto collect = [&] {
        for (int i = 0; i < CWVPSkinManagerMetrics::kColorCount; ++i)
            if (HBRUSH brush = metrics->GetBrush(i))
                handedOut.insert(brush);
    };
    auto round = [&](int n) {
        collect();
        manager.Refresh();
        collect();
        manager.AddColorFilter(new Invert);
        manager.Refresh();
        collect();
        manager.RemoveColorFilters();
        manager.LoadSkin(nullptr, nullptr);
        collect();
        manager.LoadSkin(nullptr, n % 2 ? L"NORMALBLUE_INI" : L"NORMALAQUA_INI");
        collect();
    };
    round(0);
    DWORD before = GetGuiResources(GetCurrentProcess(), kGuiGdiObjects);
    for (int n = 1; n <= 50; ++n)
        round(n);
    DWORD after = GetGuiResources(GetCurrentProcess(), kGuiGdiObjects);
    int alive = 0;
    for (HBRUSH brush : handedOut)
        alive += GetObjectType(brush) == OBJ_BRUSH;
    EXPECT_GT(handedOut.size(), size_t(50 * CWVPSkinManagerMetrics::kColorCount));
    EXPECT_LE(alive, 2 * CWVPSkinManagerMetrics::kColorCount);
    // Where the system counts its GDI objects (Wine does not), the count is the same.
    if (before)
        EXPECT_LE(after, before + 2);
}

// Writes a class-data text as UTF-16LE with a byte-order mark.
void WriteUtf16(const std::string& path, const char* text)
{
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    fputc(0xFF, f), fputc(0xFE, f);
    for (const char* p = text; *p; ++p)
    {
        if (*p == '\n')
            fputc('\r', f), fputc(0, f);
        fputc(*p, f), fputc(0, f);
    }
    fclose(f);
}

const char kAbsurdSkin[] = "[SysMetrics]\n"
                           "CaptionBarHeight = 100000\n"
                           "SmCaptionBarHeight = 100000\n"
                           "ScrollbarWidth = 100000\n"
                           "ScrollbarHeight = 100000\n"
                           "[Window.Caption]\n"
                           "BgType = ImageFile\n"
                           "ImageFile = Caption.bmp\n"
                           "ImageCount = 100000000\n"
                           "ImageLayout = Vertical\n"
                           "SizingMargins = 10, 10, 9, 4\n";

// A skin that asks for absurd sizes loads with its sizes held to a screen's, and a captioned window
// with scroll bars draws with it (before, drawing stretched the caption for minutes).
TEST(SkinManagerMetricsBounds, AnAbsurdSkinIsHeldToAScreensSizeAndDraws)
{
    std::string dir = rwtest::ScratchDir("absurd-skin");
    std::string caption = rwtest::ProgramDir() + "/../skins/NormalBlue/Caption.bmp";
    ASSERT_TRUE(CopyFileW(CString(rwtest::ToWin32Path(caption).c_str()),
                          CString(rwtest::ToWin32Path(dir + "/Caption.bmp").c_str()), FALSE));
    WriteUtf16(dir + "/absurd.ini", kAbsurdSkin);
    CWVPSkinManager manager;
    ASSERT_TRUE(manager.LoadSkin(CString(rwtest::ToWin32Path(dir).c_str()), L"absurd.ini"));
    const CWVPSkinManagerMetrics* metrics = manager.GetMetrics();
    int screen = std::max(480, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_LE(metrics->m_cyCaption, screen + 1);
    EXPECT_LE(metrics->m_cySmallCaption, screen + 1);
    EXPECT_LE(metrics->m_cxVScroll, screen);
    EXPECT_LE(metrics->m_cyHScroll, screen);
    CWVPSkinManagerClass* window = manager.GetSkinClass(L"WINDOW");
    ASSERT_NE(nullptr, window);
    int count = 0;
    SIZE frame = window->GetStateFrameSize(1, 1, SIZE{64, 58}, &count);
    EXPECT_LE(count, 58);
    EXPECT_GE(frame.cy, 1);

    HWND hwnd = CreateWindowExW(0, L"Static", L"Absurd", WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 10,
                                10, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, hwnd);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    RECT rc;
    GetWindowRect(hwnd, &rc);
    DibCanvas canvas(rc.right - rc.left, rc.bottom - rc.top, RGB(255, 0, 255));
    SendMessageW(hwnd, WM_PRINT, WPARAM(canvas.dc()), PRF_NONCLIENT);
    GdiFlush();
    EXPECT_NE(DibCanvas::Raw(RGB(255, 0, 255), 0), canvas.Rgb((rc.right - rc.left) / 2, 10)) << "the caption drew";
    DestroyWindow(hwnd);
}

TEST_F(SkinManagerMetricsTest, ColourFiltersApplyToSetColoursNotToDefaults)
{
    CWVPSkinManagerClass* edit = manager.GetSkinClass(L"edit");
    ASSERT_NE(nullptr, edit);
    COLORREF border = edit->GetThemeColor(1, 1, kSkinPropBorderColor, CLR_INVALID);
    ASSERT_NE(CLR_INVALID, border);
    manager.AddColorFilter(new Invert);
    EXPECT_EQ(~border & 0xFFFFFF, edit->GetThemeColor(1, 1, kSkinPropBorderColor, CLR_INVALID));
    EXPECT_EQ(RGB(1, 2, 3), edit->GetThemeColor(1, 1, 3816 /* GLOWCOLOR, never set */, RGB(1, 2, 3)));
    // Asked as an int, a colour gives the default and is not cached as missing.
    EXPECT_EQ(-7, edit->GetThemeInt(1, 1, kSkinPropBorderColor, -7));
    EXPECT_EQ(~border & 0xFFFFFF, edit->GetThemeColor(1, 1, kSkinPropBorderColor, CLR_INVALID));
}

TEST_F(SkinManagerMetricsTest, PartSizesFollowTheImageAndTheSizingType)
{
    CWVPSkinManagerClass* button = manager.GetSkinClass(L"BUTTON");
    SIZE size = {};
    // The push button: 5 vertical states of 24 x 22, stretched.
    ASSERT_TRUE(button->GetThemePartSize(1, 1, nullptr, CWVPSkinManagerClass::kSizeTrue, size));
    EXPECT_EQ(24, size.cx);
    EXPECT_EQ(22, size.cy);
    RECT rc = {0, 0, 40, 20};
    ASSERT_TRUE(button->GetThemePartSize(1, 1, &rc, CWVPSkinManagerClass::kSizeDraw, size));
    EXPECT_EQ(40, size.cx);
    EXPECT_EQ(20, size.cy);
    // The check box is drawn at its true size whatever the rectangle.
    ASSERT_TRUE(button->GetThemePartSize(3, 5, &rc, CWVPSkinManagerClass::kSizeDraw, size));
    EXPECT_EQ(13, size.cx);
    EXPECT_EQ(13, size.cy);
    SIZE untouched = {-1, -1};
    ASSERT_TRUE(button->GetThemePartSize(1, 1, &rc, CWVPSkinManagerClass::kSizeMinimum, untouched));
    EXPECT_EQ(-1, untouched.cx);
    // Border-filled parts have no image, so no part size.
    EXPECT_FALSE(manager.GetSkinClass(L"EDIT")->GetThemePartSize(1, 1, &rc, CWVPSkinManagerClass::kSizeTrue, size));
}

} // namespace
