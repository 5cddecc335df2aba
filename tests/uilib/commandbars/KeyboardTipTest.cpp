// Keyboard tips as the paint manager draws them: info background, border, centred letters,
// greyed on a disabled control, nothing when only the region is asked for.
#include "DibCanvas.h"
#include "RwTest.h"
#include "uilib/commandbars/CommandBarKeyboardTip.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/themes/DefaultTheme.h"

#include <algorithm>
#include <climits>

namespace
{
const int kTipWidth = 40;
const int kTipHeight = 22;
const COLORREF kBack = RGB(250, 240, 10);
const COLORREF kText = RGB(200, 0, 0);
const COLORREF kGrey = RGB(0, 0, 200);

struct TipPixels
{
    int text = 0, grey = 0;
    CRect box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
};

// Draws a tip window of the given text through the theme into a canvas of its size.
TipPixels DrawTip(CWVPPaintManager* theme, const CString& text, BOOL enabled, BOOL regionOnly, DibCanvas& canvas)
{
    CWVPCommandBarKeyboardTip tip(nullptr, text, enabled);
    EXPECT_TRUE(tip.CreateEx(WS_EX_TOOLWINDOW, L"Static", L"", WS_POPUP, 0, 0, kTipWidth, kTipHeight, nullptr,
                             nullptr));
    CDC dc;
    dc.Attach(canvas.dc());
    theme->DrawKeyboardTip(&dc, &tip, regionOnly);
    dc.Detach();
    tip.DestroyWindow();
    TipPixels pixels;
    for (int y = 1; y < kTipHeight - 1; ++y)
        for (int x = 1; x < kTipWidth - 1; ++x)
        {
            const COLORREF c = canvas.At(x, y);
            if (c == kBack)
                continue;
            pixels.text += c == kText;
            pixels.grey += c == kGrey;
            pixels.box.left = std::min<int>(pixels.box.left, x);
            pixels.box.top = std::min<int>(pixels.box.top, y);
            pixels.box.right = std::max<int>(pixels.box.right, x + 1);
            pixels.box.bottom = std::max<int>(pixels.box.bottom, y + 1);
        }
    return pixels;
}
} // namespace

TEST(KeyboardTipTest, TipsAreFramedCentredAndGreyedWhenDisabled)
{
    CWVPDefaultTheme* theme = new CWVPDefaultTheme;
    theme->RefreshMetrics();
    theme->m_colors[24].SetOverride(kBack);
    theme->m_colors[23].SetOverride(kText);
    theme->m_colors[17].SetOverride(kGrey);
    const COLORREF border = ::GetSysColor(COLOR_BTNSHADOW);

    {
        DibCanvas canvas(kTipWidth, kTipHeight, RGB(1, 2, 3));
        const TipPixels enabled = DrawTip(theme, L"FW", TRUE, FALSE, canvas);
        for (CPoint corner : {CPoint(0, 0), CPoint(kTipWidth - 1, 0), CPoint(0, kTipHeight - 1),
                              CPoint(kTipWidth - 1, kTipHeight - 1), CPoint(kTipWidth / 2, 0)})
            EXPECT_EQ(border, canvas.At(corner.x, corner.y)) << corner.x << "," << corner.y;
        EXPECT_EQ(kBack, canvas.At(1, 1));
        EXPECT_EQ(kBack, canvas.At(kTipWidth - 2, kTipHeight - 2));
        EXPECT_GT(enabled.text, 5);
        EXPECT_EQ(0, enabled.grey);
        // The letters sit in the middle of the tip.
        EXPECT_NEAR(kTipWidth, enabled.box.left + enabled.box.right, 3);
        EXPECT_NEAR(kTipHeight, enabled.box.top + enabled.box.bottom, 3);
    }
    {
        DibCanvas canvas(kTipWidth, kTipHeight, RGB(1, 2, 3));
        const TipPixels disabled = DrawTip(theme, L"FW", FALSE, FALSE, canvas);
        EXPECT_GT(disabled.grey, 5);
        EXPECT_EQ(0, disabled.text);
    }
    {
        DibCanvas canvas(kTipWidth, kTipHeight, RGB(1, 2, 3));
        DrawTip(theme, L"FW", TRUE, TRUE, canvas);
        EXPECT_EQ(0, canvas.Painted());
    }
    theme->InternalRelease();
}
