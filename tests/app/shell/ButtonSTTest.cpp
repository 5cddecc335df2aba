// The bitmap button: one picture of four per state (a disabled button shows its disabled picture
// whatever else holds), pictures cut or scaled to the button, the plain look without a bitmap,
// tooltips, and a disabled button gives the focus away only when it had it.
#include "RwTest.h"

#include "DibCanvas.h"
#include "tests/platform/mfc/MfcTestApp.h"

#include "app/shell/ButtonST.h"

namespace
{
const WORD ID_EDIT = 1001;
const WORD ID_BUTTON = 1002;
const WORD ID_OTHER = 1003;
const int kSize = 32;
const COLORREF kStateColours[] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(90, 90, 90)};
const COLORREF kMagenta = RGB(255, 0, 255);

// Four images side by side, each of one colour, with a second colour from (inner, inner) on.
HBITMAP MakeStrip(int imageSize, int inner, COLORREF innerColour)
{
    DibCanvas canvas(imageSize * 4, imageSize);
    for (int image = 0; image < 4; ++image)
    {
        RECT whole = {image * imageSize, 0, (image + 1) * imageSize, imageSize};
        HBRUSH brush = ::CreateSolidBrush(kStateColours[image]);
        ::FillRect(canvas.dc(), &whole, brush);
        ::DeleteObject(brush);
        RECT rest = {image * imageSize + inner, inner, (image + 1) * imageSize, imageSize};
        brush = ::CreateSolidBrush(innerColour);
        ::FillRect(canvas.dc(), &rest, brush);
        ::DeleteObject(brush);
    }
    // A device-dependent copy, as a loaded resource would be.
    HDC screen = ::GetDC(nullptr);
    HBITMAP copy = ::CreateCompatibleBitmap(screen, imageSize * 4, imageSize);
    ::ReleaseDC(nullptr, screen);
    HDC memory = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(memory, copy);
    ::BitBlt(memory, 0, 0, imageSize * 4, imageSize, canvas.dc(), 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return copy;
}

class ButtonSTTest : public ::testing::Test
{
  protected:
    DialogTemplate m_template{WS_POPUP | WS_CAPTION | WS_VISIBLE, 200, 80, L"buttons"};
    CDialog m_dialog;
    CButtonST m_button;

    void SetUp() override
    {
        TestApp();
        m_template.AddControl(L"EDIT", L"", WS_BORDER | WS_TABSTOP, 5, 5, 100, 12, ID_EDIT);
        m_template.AddControl(L"BUTTON", L"Start", BS_PUSHBUTTON | WS_TABSTOP, 5, 25, 40, 14, ID_BUTTON);
        m_template.AddControl(L"BUTTON", L"Other", BS_PUSHBUTTON | WS_TABSTOP, 60, 25, 40, 14, ID_OTHER);
        ASSERT_TRUE(m_dialog.CreateIndirect(m_template.Get()));
        ASSERT_TRUE(m_button.SubclassDlgItem(ID_BUTTON, &m_dialog));
        PumpPending();
    }
    void TearDown() override
    {
        m_dialog.DestroyWindow();
    }

    // The button's picture as it paints itself now.
    COLORREF PixelAt(int x, int y)
    {
        DibCanvas canvas(kSize, kSize, RGB(1, 2, 3));
        m_button.SendMessage(WM_PRINTCLIENT, (WPARAM)canvas.dc(), PRF_CLIENT);
        return canvas.At(x, y);
    }
    void MouseAt(int x, int y)
    {
        m_button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    }
};

TEST_F(ButtonSTTest, TheButtonIsOwnerDrawnAndSizedToOnePicture)
{
    EXPECT_EQ((DWORD)BS_OWNERDRAW, m_button.GetStyle() & BS_TYPEMASK);
    ASSERT_TRUE(m_button.SetBitmap(MakeStrip(kSize, kSize, 0)));
    CRect rect;
    m_button.GetClientRect(&rect);
    EXPECT_EQ(kSize, rect.Width());
    EXPECT_EQ(kSize, rect.Height());
    // A missing resource keeps the picture.
    EXPECT_FALSE(m_button.SetBitmap(4711u));
    EXPECT_EQ(kStateColours[0], PixelAt(10, 10));
}

TEST_F(ButtonSTTest, EachStateShowsItsPicture)
{
    ASSERT_TRUE(m_button.SetBitmap(MakeStrip(kSize, kSize, 0)));
    EXPECT_EQ(kStateColours[0], PixelAt(10, 10));
    MouseAt(5, 5);
    EXPECT_EQ(kStateColours[1], PixelAt(10, 10));
    m_button.SendMessage(BM_SETSTATE, TRUE);
    EXPECT_EQ(kStateColours[2], PixelAt(10, 10));
    // Disabled wins over pressed and hovering.
    m_button.EnableWindow(FALSE);
    EXPECT_EQ(kStateColours[3], PixelAt(10, 10));
    m_button.EnableWindow(TRUE);
    m_button.SendMessage(BM_SETSTATE, FALSE);
    EXPECT_EQ(kStateColours[1], PixelAt(10, 10));
    // Leaving repaints the normal picture at once.
    m_button.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(kStateColours[0], PixelAt(10, 10));
    EXPECT_FALSE(m_button.m_bHover);
}

TEST_F(ButtonSTTest, LargerPicturesAreCutUnlessTransparentWhichScalesThem)
{
    // 64-pixel images: their top-left 32 x 32 in the state colour, the rest white.
    ASSERT_TRUE(m_button.SetBitmap(MakeStrip(2 * kSize, kSize, RGB(255, 255, 255))));
    m_button.SetWindowPos(nullptr, 0, 0, kSize, kSize, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(kStateColours[0], PixelAt(kSize - 1, kSize - 1));

    m_button.m_bTransparent = TRUE;
    m_button.m_crTransparent = kMagenta;
    EXPECT_EQ(RGB(255, 255, 255), PixelAt(kSize - 1, kSize - 1));
    EXPECT_EQ(kStateColours[0], PixelAt(2, 2));

    // The transparent colour lets the saved background through.
    m_button.m_crTransparent = RGB(255, 255, 255);
    DibCanvas parent(400, 300, RGB(10, 120, 30));
    m_button.SaveParentBackground(CDC::FromHandle(parent.dc()));
    EXPECT_EQ(RGB(10, 120, 30), PixelAt(kSize - 1, kSize - 1));
}

TEST_F(ButtonSTTest, WithoutABitmapTheButtonDrawsItsFrameAndFace)
{
    m_button.SetWindowPos(nullptr, 0, 0, kSize, kSize, SWP_NOMOVE | SWP_NOZORDER);
    m_button.SetWindowText(L"");
    EXPECT_EQ(::GetSysColor(COLOR_BTNHIGHLIGHT), PixelAt(0, 0));
    EXPECT_EQ(::GetSysColor(COLOR_3DDKSHADOW), PixelAt(kSize - 1, kSize - 1));
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), PixelAt(kSize / 2, kSize / 2));
    m_button.m_bPushedLook = TRUE;
    EXPECT_EQ(::GetSysColor(COLOR_3DDKSHADOW), PixelAt(0, 0));
}

TEST_F(ButtonSTTest, TooltipsNeedAText)
{
    EXPECT_FALSE(m_button.SetTooltipText(L""));
    EXPECT_EQ(nullptr, m_button.m_pToolTip);
    ASSERT_TRUE(m_button.SetTooltipText(L"Start converting"));
    ASSERT_TRUE(m_button.SetTooltipText(L"Start"));
    EXPECT_EQ(1, m_button.m_pToolTip->GetToolCount());
    TOOLINFOW info = {};
    info.cbSize = sizeof(info);
    info.hwnd = m_dialog.m_hWnd;
    info.uId = (UINT_PTR)m_button.m_hWnd;
    info.uFlags = TTF_IDISHWND;
    wchar_t text[80] = {0};
    info.lpszText = text;
    m_button.m_pToolTip->SendMessage(TTM_GETTEXTW, 80, (LPARAM)&info);
    EXPECT_EQ("Start", Narrow(text));
}

TEST_F(ButtonSTTest, DisablingMovesTheFocusOnlyFromTheButtonThatHadIt)
{
    CWnd* edit = m_dialog.GetDlgItem(ID_EDIT);
    edit->SetFocus();
    ASSERT_EQ(edit->m_hWnd, ::GetFocus());
    m_button.EnableWindow(FALSE);
    EXPECT_EQ(edit->m_hWnd, ::GetFocus());

    m_button.EnableWindow(TRUE);
    m_button.SetFocus();
    ASSERT_EQ(m_button.m_hWnd, ::GetFocus());
    m_button.EnableWindow(FALSE);
    EXPECT_EQ(m_dialog.GetDlgItem(ID_OTHER)->m_hWnd, ::GetFocus());
}
} // namespace
