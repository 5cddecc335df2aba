// The paint manager's theme selection, colours, metrics and the glyphs every theme shares.
#include "../foundation/ThemeState.h"
#include "DibCanvas.h"
#include "RwTest.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/commandbars/PopupBar.h"
#include "uilib/themes/DefaultTheme.h"

#include <string>
#include <uxtheme.h>

namespace
{
// A classic theme that reports its destruction.
class CWatchedTheme : public CWVPDefaultTheme
{
  public:
    explicit CWatchedTheme(bool* destroyed) : m_destroyed(destroyed)
    {
    }
    ~CWatchedTheme() override
    {
        *m_destroyed = true;
    }
    bool* m_destroyed;
};

std::string Narrow(const CString& text)
{
    return std::string(CStringA(text).GetString());
}
} // namespace

TEST(PaintManagerBaseTest, ThemeNumbersAndTheProcessWideSlot)
{
    for (int number : {0, 1, 2, 3, 4, 5, 6, 7, 12, -1})
    {
        CWVPPaintManager* made = CWVPPaintManager::CreateTheme(number);
        EXPECT_EQ(number, made->m_nThemeNumber);
        EXPECT_EQ(int(wvpThemeDefault), made->GetThemeType());
        made->InternalRelease();
    }
    CWVPPaintManager::SetTheme(12);
    ASSERT_NE(nullptr, CWVPPaintManager::GetCurrent());
    EXPECT_EQ(12, CWVPPaintManager::GetCurrent()->m_nThemeNumber);
    EXPECT_GT(CWVPPaintManager::GetCurrent()->m_nTextHeight, 6);

    bool destroyed = false;
    CWatchedTheme* custom = new CWatchedTheme(&destroyed);
    CWVPPaintManager::SetCustomTheme(custom);
    EXPECT_EQ(custom, CWVPPaintManager::GetCurrent());
    EXPECT_EQ(int(wvpThemeCustom), custom->m_nThemeNumber);
    EXPECT_GT(custom->m_nTextHeight, 6); // its metrics were refreshed
    CWVPPaintManager::ReleaseInstance();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(nullptr, CWVPPaintManager::GetCurrent());
    EXPECT_NE(nullptr, CWVPPaintManager::GetInstance());
    CWVPPaintManager::ReleaseInstance();
}

TEST(PaintManagerBaseTest, ColoursAndMetrics)
{
    CWVPDefaultTheme* theme = new CWVPDefaultTheme;
    theme->RefreshMetrics();
    EXPECT_EQ(63u, theme->GetColor(63));
    EXPECT_EQ(RGB(9, 9, 9) + 0u, theme->GetColor(RGB(9, 9, 9)));
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), theme->GetColor(COLOR_BTNFACE));
    theme->m_colors[5].SetOverride(RGB(1, 2, 3));
    EXPECT_EQ(RGB(1, 2, 3), theme->GetColor(5));
    const int index = 5;
    const COLORREF value = RGB(7, 7, 7);
    theme->SetColors(1, &index, &value);
    EXPECT_EQ(RGB(1, 2, 3), theme->GetColor(5)); // the override stays

    theme->m_nTextHeight = 19;
    theme->m_nEditHeight = 0;
    EXPECT_EQ(27, theme->GetSplitDropDownHeight());
    EXPECT_EQ(22, theme->GetControlHeight());
    EXPECT_EQ(CSize(16, 16), theme->GetDefaultIconSize(FALSE));
    theme->m_bAutoResizeIcons = TRUE;
    EXPECT_EQ(CSize(16, 16), theme->GetDefaultIconSize(FALSE));
    EXPECT_EQ(CSize(32, 32), theme->GetDefaultIconSize(TRUE));
    theme->m_nTextHeight = 40;
    EXPECT_EQ(CSize(32, 32), theme->GetDefaultIconSize(FALSE));
    EXPECT_EQ(CSize(72, 72), theme->GetDefaultIconSize(TRUE));
    theme->InternalRelease();
}

TEST(PaintManagerBaseTest, GlyphsAndBlends)
{
    // The combo box's arrow: rows of 5, 3, 1 pixels in a 10-pixel box; 13 down to 1 in 20.
    for (int width : {10, 20})
    {
        DibCanvas canvas(30, 30);
        CDC dc;
        dc.Attach(canvas.dc());
        CWVPDefaultTheme* theme = new CWVPDefaultTheme;
        theme->DrawComboExpandMark(&dc, CRect(0, 0, width, 20), RGB(200, 0, 0));
        dc.Detach();
        ::GdiFlush();
        EXPECT_EQ(width == 10 ? 9 : 49, canvas.Painted()) << width;
        theme->InternalRelease();
    }

    DWORD first[2] = {0x11000000, 0x22FFFFFF}, second[2] = {0x00FFFFFF, 0x00000000}, target[2] = {0xAA000000, 0xBB000000};
    CWVPPaintManager::AlphaBlendPixels(target, first, 2, 1, second, 128);
    EXPECT_EQ(0xAA7F7F7Fu, target[0]); // (255 x 128) >> 8; the fourth byte stays
    EXPECT_EQ(0xBB7E7E7Eu, target[1]); // (255 x 127) >> 8
}

TEST(PaintManagerBaseTest, CaptionsSplitNearTheirMiddle)
{
    struct Case
    {
        const wchar_t* caption;
        const char* first;
        const char* second;
    } cases[] = {
        {L" leading", " leading", ""},   {L"nospace", "nospace", ""},   {L"abc de fgh", "abc de", "fgh"},
        {L"New Document", "New", "Document"}, {L"a b", "a b", ""},     {L"", "", ""},
    };
    for (const Case& c : cases)
    {
        CString first, second;
        CWVPPaintManager::SplitCaption(c.caption, first, second);
        EXPECT_EQ(c.first, Narrow(first)) << Narrow(c.caption);
        EXPECT_EQ(c.second, Narrow(second)) << Narrow(c.caption);
    }
}

// The expanding animation stretches the band of revealed items; its last frame is the popup.
TEST(PaintManagerBaseTest, ExpandingEndsOnTheWholePopup)
{
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 60, nullptr, nullptr, nullptr, nullptr);
    CWVPPopupBar* popup = CWVPPopupBar::CreatePopupBar(nullptr);
    popup->Attach(window);
    for (int i = 0; i < 3; ++i)
    {
        CWVPControl* item = popup->GetControls()->AddByType(wvpControlButton, 10 + i);
        item->SetRect(CRect(0, 20 * i, 50, 20 * i + 20));
        item->SetExpandReveal(i == 1);
    }
    DibCanvas source(50, 60), dest(50, 60, RGB(1, 2, 3));
    const COLORREF bands[3] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)};
    for (int i = 0; i < 3; ++i)
    {
        RECT rc = {0, 20 * i, 50, 20 * i + 20};
        HBRUSH brush = ::CreateSolidBrush(bands[i]);
        ::FillRect(source.dc(), &rc, brush);
        ::DeleteObject(brush);
    }
    CWVPDefaultTheme* theme = new CWVPDefaultTheme;
    theme->m_nAnimationSteps = 4;
    theme->m_nAnimationTime = 0;
    CDC sourceDC, destDC;
    sourceDC.Attach(source.dc());
    destDC.Attach(dest.dc());
    for (BOOL topDown : {TRUE, FALSE})
    {
        EXPECT_EQ(4, theme->AnimateExpanding(popup, &destDC, &sourceDC, topDown));
        ::GdiFlush();
        for (int y : {0, 19, 20, 39, 40, 59})
            EXPECT_EQ(source.At(25, y), dest.At(25, y)) << y << (topDown ? " top down" : " bottom up");
    }
    sourceDC.Detach();
    destDC.Detach();
    theme->InternalRelease();
    popup->Detach();
    popup->InternalRelease();
    ::DestroyWindow(window);
}

// With themed check boxes on, the marks come from the "BUTTON" visual style where one is active
// (the themed prefix) and from the classic frame controls otherwise.
TEST(PaintManagerBaseTest, CheckBoxMarksFollowTheVisualStyle)
{
    CWVPDefaultTheme* theme = new CWVPDefaultTheme;
    theme->m_bThemedCheckBoxes = TRUE;
    theme->RefreshMetrics();
    const CRect rc(2, 2, 15, 15);
    DibCanvas canvas(17, 17, RGB(1, 2, 3));
    CDC dc;
    dc.Attach(canvas.dc());
    EXPECT_EQ(CSize(13, 13), theme->DrawControlCheckBoxMark(&dc, rc, TRUE, FALSE, FALSE, 1, TRUE));
    dc.Detach();
    EXPECT_GT(canvas.Painted(), 50);

    HTHEME button = ::OpenThemeData(nullptr, L"BUTTON");
    EXPECT_EQ(ExpectThemed(), button != nullptr);
    EXPECT_TRUE(canvas.Shows([&](HDC hdc) {
        if (button)
            ::DrawThemeBackground(button, hdc, 3, 5, &rc, nullptr); // checked, normal
        else
        {
            CRect box = rc;
            ::DrawFrameControl(hdc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
        }
    }));
    if (button)
        ::CloseThemeData(button);
    theme->InternalRelease();
}
