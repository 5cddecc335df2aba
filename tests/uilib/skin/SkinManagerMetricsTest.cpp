#include "RwTest.h"
#include "WideText.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinSchemaNames.h"

namespace
{

struct Invert : CWVPSkinManagerColorFilter
{
    void ApplyColorFilter(COLORREF& clr) override
    {
        clr = ~clr & 0xFFFFFF;
    }
};

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
    LOGBRUSH logBrush = {};
    ASSERT_TRUE(GetObjectW(held, sizeof logBrush, &logBrush)) << "a brush a caller holds outlives the unload";
    EXPECT_EQ(skinned, logBrush.lbColor);
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
