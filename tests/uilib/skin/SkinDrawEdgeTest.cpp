#include "DibCanvas.h"
#include "RwTest.h"
#include "uilib/skin/SkinDrawHelpers.h"
#include "uilib/skin/SkinManager.h"

namespace
{

class SkinDrawEdgeTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        manager.GetResourceFile()->m_hCallerModule = GetModuleHandleW(nullptr);
        ASSERT_TRUE(manager.LoadSkin(nullptr, L"NORMALBLUE_INI"));
        metrics = manager.GetMetrics();
        ASSERT_EQ(1, metrics->m_cxBorder);
        ASSERT_EQ(1, metrics->m_cyBorder);
    }
    void TearDown() override
    {
        manager.LoadSkin(nullptr, nullptr);
    }
    CWVPSkinManager manager;
    CWVPSkinManagerMetrics* metrics = nullptr;
};

TEST_F(SkinDrawEdgeTest, ASunkenEdgeDrawsTwoBandsInTheSkinColoursAndShrinksTheRectangle)
{
    const COLORREF background = RGB(1, 2, 3);
    DibCanvas canvas(10, 10, background);
    RECT rc = {0, 0, 10, 10};
    // Through the hooked system function, as any module calls it.
    ASSERT_TRUE(DrawEdge(canvas.dc(), &rc, EDGE_SUNKEN, BF_RECT | BF_ADJUST));
    EXPECT_EQ(2, rc.left);
    EXPECT_EQ(2, rc.top);
    EXPECT_EQ(8, rc.right);
    EXPECT_EQ(8, rc.bottom);
    EXPECT_EQ(metrics->m_clrEdgeShadow, canvas.At(0, 5));
    EXPECT_EQ(metrics->m_clrEdgeShadow, canvas.At(5, 0));
    EXPECT_EQ(metrics->m_clrEdgeHighLight, canvas.At(9, 5));
    EXPECT_EQ(metrics->m_clrEdgeHighLight, canvas.At(5, 9));
    EXPECT_EQ(metrics->m_clrEdgeDkShadow, canvas.At(1, 5));
    EXPECT_EQ(metrics->m_clrEdgeLight, canvas.At(8, 5));
    EXPECT_EQ(background, canvas.At(5, 5));
}

TEST_F(SkinDrawEdgeTest, RaisedAndSunkenTogetherDrawOnlyFlat)
{
    DibCanvas canvas(10, 10, RGB(1, 2, 3));
    RECT rc = {0, 0, 10, 10};
    EXPECT_FALSE(WVPSkinDrawEdge(canvas.dc(), &rc, BDR_RAISEDOUTER | BDR_SUNKENOUTER, BF_RECT));
    EXPECT_EQ(RGB(1, 2, 3), canvas.At(0, 5));
    EXPECT_TRUE(WVPSkinDrawEdge(canvas.dc(), &rc, BDR_RAISEDOUTER | BDR_SUNKENOUTER, BF_RECT | BF_FLAT));
    EXPECT_EQ(metrics->m_clrEdgeShadow, canvas.At(0, 5));
    EXPECT_EQ(metrics->m_clrEdgeShadow, canvas.At(9, 5));
}

TEST_F(SkinDrawEdgeTest, FrameControlsTheSkinDrawsAndTheOnesItLeaves)
{
    DibCanvas canvas(20, 20, RGB(1, 2, 3));
    RECT rc = {0, 0, 20, 20};
    ASSERT_TRUE(DrawFrameControl(canvas.dc(), &rc, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT));
    EXPECT_EQ(metrics->GetColor(COLOR_BTNFACE), canvas.At(10, 10));
    EXPECT_EQ(metrics->m_clrEdgeLight, canvas.At(0, 10));
    EXPECT_EQ(2, rc.left);
    RECT again = {0, 0, 20, 20};
    EXPECT_FALSE(WVPSkinDrawFrameControl(canvas.dc(), &again, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_CHECKED));

    // A scroll arrow is the skin's scroll-bar arrow part: right, disabled and pushed is state 16.
    DibCanvas arrow(17, 17, RGB(1, 2, 3));
    DibCanvas expected(17, 17, RGB(1, 2, 3));
    RECT square = {0, 0, 17, 17};
    ASSERT_TRUE(
        WVPSkinDrawFrameControl(arrow.dc(), &square, DFC_SCROLL, DFCS_SCROLLRIGHT | DFCS_INACTIVE | DFCS_PUSHED));
    ASSERT_TRUE(manager.GetSkinClass(L"SCROLLBAR")->DrawThemeBackground(expected.dc(), 1, 16, &square));
    for (int y = 0; y < 17; y += 4)
        for (int x = 0; x < 17; x += 4)
            EXPECT_EQ(expected.At(x, y), arrow.At(x, y)) << x << "," << y;
}

} // namespace
