#include "DibCanvas.h"
#include "RwTest.h"
#include "SkinGallery.h"
#include "uilib/skin/SkinButtonDraw.h"
#include "uilib/skin/SkinManager.h"

namespace
{

const COLORREF kBackground = RGB(10, 200, 30);

struct SkinName
{
    const wchar_t* ini;
    const char* name;
};

const SkinName kSkins[] = {{L"NORMALBLUE_INI", "blue"}, {L"NORMALAQUA_INI", "aqua"}};

class SkinButtonDrawTest : public ::testing::TestWithParam<SkinName>
{
  protected:
    void SetUp() override
    {
        manager.GetResourceFile()->m_hCallerModule = ::GetModuleHandleW(nullptr);
        ASSERT_TRUE(manager.LoadSkin(nullptr, GetParam().ini));
        ASSERT_NE(nullptr, gallery.hwnd());
        brush = ::CreateSolidBrush(kBackground);
    }
    void TearDown() override
    {
        ::DeleteObject(brush);
    }
    SIZE ClientSize(HWND hwnd)
    {
        RECT rc;
        ::GetClientRect(hwnd, &rc);
        return {rc.right, rc.bottom};
    }
    // The button drawn by the skin into a canvas of its client size.
    // The canvas starts in another colour than the background, except for group boxes, which draw
    // straight onto the parent's erased background.
    void Draw(CWVPSkinButtonDraw& draw, HWND hwnd, DibCanvas& canvas, COLORREF erased = RGB(255, 0, 255))
    {
        canvas.Fill(erased);
        draw.OnDraw(canvas.dc(), brush);
        ::GdiFlush();
        (void)hwnd;
    }
    // The part in the state, drawn over the background into a canvas of the rectangle's size.
    void Expect(DibCanvas& expected, int part, int state, const RECT& partRect)
    {
        expected.Fill(kBackground);
        manager.GetSkinClass(L"BUTTON")->DrawThemeBackground(expected.dc(), part, state, &partRect);
        ::GdiFlush();
    }

    CWVPSkinManager manager;
    rwtest::SkinGallery gallery;
    HBRUSH brush = nullptr;
};

struct PushCase
{
    int id;
    bool hot, pushed;
    int state;
};

// Push buttons: the whole client rectangle holds the part; the edge band around the content never
// holds text or focus, so it must match the part exactly.
TEST_P(SkinButtonDrawTest, PushButtonsDrawTheirStateOverTheWholeButton)
{
    const PushCase cases[] = {
        {rwtest::kGalleryPush, false, false, 1},       {rwtest::kGalleryPush, true, false, 2},
        {rwtest::kGalleryPush, true, true, 3},         {rwtest::kGalleryDefault, false, false, 5},
        {rwtest::kGalleryDefault, true, false, 2},     {rwtest::kGalleryDefault, false, true, 3},
        {rwtest::kGalleryDisabledPush, true, true, 4},
    };
    for (const PushCase& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "control " << c.id << " hot " << c.hot << " pushed " << c.pushed);
        HWND hwnd = gallery.Item(c.id);
        SIZE size = ClientSize(hwnd);
        CWVPSkinButtonDraw draw(hwnd, &manager);
        draw.m_bHot = c.hot;
        draw.m_bPushed = c.pushed;
        EXPECT_EQ(c.state, draw.GetPartState());
        DibCanvas actual(size.cx, size.cy), expected(size.cx, size.cy);
        Draw(draw, hwnd, actual);
        Expect(expected, 1, c.state, RECT{0, 0, size.cx, size.cy});
        RECT all = {0, 0, size.cx, size.cy};
        RECT inner = all;
        int edge = ::GetSystemMetrics(SM_CXEDGE);
        ::InflateRect(&inner, -edge, -edge);
        EXPECT_EQ(0, rwtest::RegionDifferences(actual, all, expected, &inner));
        // The caption is drawn inside: the content differs from the bare part.
        int captionPixels = 0;
        for (int y = inner.top; y < inner.bottom; ++y)
            for (int x = inner.left; x < inner.right; ++x)
                captionPixels += actual.Rgb(x, y) != expected.Rgb(x, y);
        EXPECT_GT(captionPixels, 0);
    }
}

struct CheckCase
{
    int id;
    int check;
    bool hot, pushed;
    int part, state;
};

// Check boxes and radio buttons: the glyph sits vertically centred at the left (at the right with
// left text), in the state that adds the check to the mouse state.
TEST_P(SkinButtonDrawTest, GlyphsShowCheckAndMouseState)
{
    const CheckCase cases[] = {
        {rwtest::kGalleryCheck, BST_UNCHECKED, false, false, 3, 1},
        {rwtest::kGalleryCheck, BST_CHECKED, false, false, 3, 5},
        {rwtest::kGalleryCheck, BST_CHECKED, true, false, 3, 6},
        {rwtest::kGalleryCheck, BST_UNCHECKED, true, true, 3, 3},
        {rwtest::kGalleryTriState, BST_INDETERMINATE, true, false, 3, 10},
        {rwtest::kGalleryTriState, BST_INDETERMINATE, false, false, 3, 9},
        {rwtest::kGalleryRadio, BST_CHECKED, false, false, 2, 5},
        {rwtest::kGalleryRadio, BST_UNCHECKED, true, false, 2, 2},
        {rwtest::kGalleryLeftTextCheck, BST_CHECKED, false, false, 3, 5},
    };
    for (const CheckCase& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "control " << c.id << " check " << c.check << " hot " << c.hot);
        HWND hwnd = gallery.Item(c.id);
        ::SendMessageW(hwnd, BM_SETCHECK, c.check, 0);
        SIZE size = ClientSize(hwnd);
        CWVPSkinButtonDraw draw(hwnd, &manager);
        draw.m_bHot = c.hot;
        draw.m_bPushed = c.pushed;
        EXPECT_EQ(c.state, draw.GetPartState());
        DibCanvas actual(size.cx, size.cy);
        Draw(draw, hwnd, actual);
        SIZE glyph = {13, 13};
        RECT probe = {0, 0, 13, 13};
        manager.GetSkinClass(L"BUTTON")->GetThemePartSize(c.part, 1, &probe, CWVPSkinManagerClass::kSizeDraw, glyph);
        bool leftText = c.id == rwtest::kGalleryLeftTextCheck;
        int left = leftText ? size.cx - glyph.cx : 0;
        int top = (size.cy - glyph.cy) / 2;
        RECT glyphRect = {left, top, left + glyph.cx, top + glyph.cy};
        DibCanvas expected(glyph.cx, glyph.cy);
        Expect(expected, c.part, c.state, RECT{0, 0, glyph.cx, glyph.cy});
        EXPECT_EQ(0, rwtest::RegionDifferences(actual, glyphRect, expected));
        // The caption lies on the other side of the glyph.
        int textPixels = 0;
        for (int y = 0; y < size.cy; ++y)
            for (int x = leftText ? 0 : glyph.cx + 3; x < (leftText ? size.cx - glyph.cx - 3 : size.cx); ++x)
                textPixels += actual.At(x, y) != kBackground;
        EXPECT_GT(textPixels, 0);
    }
    ::SendMessageW(gallery.Item(rwtest::kGalleryTriState), BM_SETCHECK, BST_INDETERMINATE, 0);
}

// A group box draws its frame a half line down and keeps the caption free of the frame line; right
// alignment puts the caption 6 + SM_CXBORDER pixels from the right edge.
TEST_P(SkinButtonDrawTest, GroupBoxFrameStopsUnderCaption)
{
    HWND hwnd = gallery.Item(rwtest::kGalleryGroup);
    SIZE size = ClientSize(hwnd);
    for (DWORD align : {DWORD(0), DWORD(BS_RIGHT)})
    {
        SCOPED_TRACE(align ? "right" : "left");
        ::SetWindowLongW(hwnd, GWL_STYLE, (::GetWindowLongW(hwnd, GWL_STYLE) & ~BS_CENTER) | align);
        CWVPSkinButtonDraw draw(hwnd, &manager);
        DibCanvas actual(size.cx, size.cy), expected(size.cx, size.cy);
        Draw(draw, hwnd, actual, kBackground);
        HFONT font = reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0));
        HGDIOBJ old = font ? ::SelectObject(expected.dc(), font) : nullptr;
        SIZE blank = {}, caption = {};
        ::GetTextExtentPoint32W(expected.dc(), L" ", 1, &blank);
        ::GetTextExtentPoint32W(expected.dc(), L"Group", 5, &caption);
        if (old)
            ::SelectObject(expected.dc(), old);
        Expect(expected, 4, 1, RECT{0, blank.cy / 2, size.cx, size.cy});
        int captionWidth = caption.cx + 2 * ::GetSystemMetrics(SM_CXEDGE);
        int border = ::GetSystemMetrics(SM_CXBORDER);
        RECT captionRect = align ? RECT{size.cx - 6 - border - captionWidth, 0, size.cx - 6 - border, caption.cy}
                                 : RECT{8 + border, 0, 8 + border + captionWidth, caption.cy};
        // Outside the caption the frame is the part's; under the caption the frame line is gone.
        RECT all = {0, 0, size.cx, size.cy};
        EXPECT_EQ(0, rwtest::RegionDifferences(actual, all, expected, &captionRect));
        int frameRow = blank.cy / 2, lineLeft = 0;
        for (int x = captionRect.left; x < captionRect.right; ++x)
            lineLeft += actual.Rgb(x, frameRow) == expected.Rgb(x, frameRow);
        EXPECT_LT(lineLeft, (captionRect.right - captionRect.left) / 4);
    }
    ::SetWindowLongW(hwnd, GWL_STYLE, ::GetWindowLongW(hwnd, GWL_STYLE) & ~BS_CENTER);
}

// The focused push button shows a dotted focus rectangle inside its content; the unfocused one none.
TEST_P(SkinButtonDrawTest, FocusRectangleOnlyWhenFocused)
{
    HWND hwnd = gallery.Item(rwtest::kGalleryPush);
    ::SendMessageW(hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    SIZE size = ClientSize(hwnd);
    CWVPSkinButtonDraw draw(hwnd, &manager);
    DibCanvas unfocused(size.cx, size.cy), focused(size.cx, size.cy);
    ::SetFocus(gallery.Item(rwtest::kGalleryCheck));
    Draw(draw, hwnd, unfocused);
    ::SetFocus(hwnd);
    ASSERT_EQ(hwnd, ::GetFocus());
    Draw(draw, hwnd, focused);
    int inset = ::GetSystemMetrics(SM_CXEDGE) + ::GetSystemMetrics(SM_CXBORDER);
    int changedOnLine = 0;
    for (int x = inset; x < size.cx - inset; ++x)
        changedOnLine += focused.Rgb(x, inset) != unfocused.Rgb(x, inset);
    EXPECT_GT(changedOnLine, (size.cx - 2 * inset) / 3);
    for (int x = 0; x < size.cx; ++x)
        EXPECT_EQ(unfocused.Rgb(x, 0), focused.Rgb(x, 0));
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinButtonDrawTest, ::testing::ValuesIn(kSkins),
                         [](const ::testing::TestParamInfo<SkinName>& info) { return std::string(info.param.name); });

} // namespace
