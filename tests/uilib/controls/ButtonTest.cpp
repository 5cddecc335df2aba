#include "RwTest.h"
#include "DibCanvas.h"
#include "../foundation/ThemeState.h"
#include "uilib/controls/Button.h"
#include "uilib/controls/ButtonTheme.h"

#include <algorithm>
#include <vector>

namespace
{
const UINT kButtonId = 40;

// A framework window that records the commands its buttons send.
class CommandHost : public CWnd
{
  public:
    std::vector<WPARAM> commands;

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND)
            commands.push_back(wParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class ButtonFixture : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), L"host", WS_POPUP | WS_VISIBLE, 0, 0, 300, 100, nullptr,
                                    nullptr));
    }
    void TearDown() override
    {
        if (m_button.GetSafeHwnd())
            m_button.DestroyWindow();
        m_host.DestroyWindow();
    }
    void Create(LPCWSTR text, DWORD style, int width = 120, int height = 30)
    {
        ASSERT_TRUE(
            m_button.Create(text, WS_CHILD | WS_VISIBLE | style, CRect(0, 0, width, height), &m_host, kButtonId));
    }
    int Count(UINT code) const
    {
        int n = 0;
        for (WPARAM w : m_host.commands)
            n += LOWORD(w) == kButtonId && HIWORD(w) == code;
        return n;
    }
    void Press(int x, int y)
    {
        m_button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    }
    void Release(int x, int y)
    {
        m_button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    // The button's client area as drawn through WM_PRINTCLIENT.
    void Print(DibCanvas& canvas)
    {
        canvas.Fill(RGB(1, 2, 3));
        EXPECT_EQ(1, m_button.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT));
    }
    CommandHost m_host;
    CWVPButton m_button;
};
} // namespace

// A drop-down button tells its parent once, at the press (code 7), and the system's click follows
// the release as usual; Space and Enter drop it down from the keyboard.
TEST_F(ButtonFixture, DropDownNotifiesOnceAtThePress)
{
    Create(L"Menu", BS_PUSHBUTTON);
    m_button.m_nPushButtonStyle = CWVPButton::pushDropDown;
    Press(10, 10);
    EXPECT_EQ(1, Count(CWVPButton::kDropDownCode));
    EXPECT_EQ(0, Count(BN_CLICKED));
    Release(10, 10);
    EXPECT_EQ(1, Count(CWVPButton::kDropDownCode));
    EXPECT_EQ(1, Count(BN_CLICKED));
    EXPECT_EQ(0, m_button.IsPushed());

    m_button.SendMessage(WM_CHAR, VK_SPACE, 0);
    m_button.SendMessage(WM_CHAR, VK_RETURN, 0);
    EXPECT_EQ(3, Count(CWVPButton::kDropDownCode));
    MSG enter = {m_button.GetSafeHwnd(), WM_KEYDOWN, VK_RETURN, 0};
    EXPECT_TRUE(m_button.SendMessage(WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) & DLGC_WANTMESSAGE);

    // A plain button sends only its click.
    m_button.m_nPushButtonStyle = CWVPButton::pushNormal;
    m_host.commands.clear();
    Press(10, 10);
    Release(10, 10);
    EXPECT_EQ(0, Count(CWVPButton::kDropDownCode));
    EXPECT_EQ(1, Count(BN_CLICKED));
}

// A split button drops down only for a press in its arrow part; elsewhere it is a plain button.
TEST_F(ButtonFixture, SplitButtonDropsDownOnlyFromItsArrowPart)
{
    Create(L"Split", BS_PUSHBUTTON, 120);
    m_button.m_nPushButtonStyle = CWVPButton::pushSplitDropDown;
    Press(30, 10);
    Release(30, 10);
    EXPECT_EQ(0, Count(CWVPButton::kDropDownCode));
    EXPECT_EQ(1, Count(BN_CLICKED));
    Press(120 - 19, 10);
    EXPECT_EQ(1, Count(CWVPButton::kDropDownCode));
    Release(120 - 19, 10);
    EXPECT_EQ(1, Count(BN_CLICKED));
    EXPECT_EQ(0, m_button.IsPushed());
    Press(120 - 21, 10);
    Release(120 - 21, 10);
    EXPECT_EQ(1, Count(CWVPButton::kDropDownCode));
    EXPECT_EQ(2, Count(BN_CLICKED));
}

// Check and radio marks: drawn in the mark's rectangle exactly as the system (classic) or the
// visual style (themed) draws that state; the unchecked mark differs from the checked one.
TEST_F(ButtonFixture, MarksDrawnForTheThemeState)
{
    const bool themed = ExpectThemed();
    const struct
    {
        DWORD style;
        int part;
        UINT frame;
    } kinds[] = {{BS_AUTOCHECKBOX, 3, DFCS_BUTTONCHECK}, {BS_AUTORADIOBUTTON, 2, DFCS_BUTTONRADIO}};
    for (const auto& kind : kinds)
    {
        SCOPED_TRACE(kind.part);
        if (m_button.GetSafeHwnd())
            m_button.DestroyWindow();
        Create(L"Option", kind.style, 120, 24);
        CWVPButtonTheme* theme = m_button.GetTheme();
        EXPECT_EQ(themed, theme->UseVisualStyles(&m_button) != FALSE);
        m_button.SetCheck(BST_CHECKED);
        DibCanvas drawn(120, 24), unchecked(120, 24), reference(120, 24, ::GetSysColor(COLOR_BTNFACE));
        Print(drawn);
        const CRect mark =
            theme->CalcRect(CDC::FromHandle(drawn.dc()), &m_button,
                            kind.part == 3 ? CWVPButtonTheme::rectCheckMark : CWVPButtonTheme::rectRadioMark);
        ASSERT_FALSE(mark.IsRectEmpty());
        CRect rc = mark;
        if (themed)
            ASSERT_EQ(S_OK, theme->m_themeButton.DrawThemeBackground(reference.dc(), kind.part, 5, &rc, nullptr));
        else
            ASSERT_TRUE(::DrawFrameControl(reference.dc(), &rc, DFC_BUTTON, kind.frame | DFCS_CHECKED));
        int differences = 0;
        for (int y = mark.top; y < mark.bottom; ++y)
            for (int x = mark.left; x < mark.right; ++x)
                differences += drawn.At(x, y) != reference.At(x, y);
        EXPECT_EQ(0, differences);

        m_button.SetCheck(BST_UNCHECKED);
        Print(unchecked);
        int changed = 0;
        for (int y = mark.top; y < mark.bottom; ++y)
            for (int x = mark.left; x < mark.right; ++x)
                changed += drawn.At(x, y) != unchecked.At(x, y);
        EXPECT_GT(changed, 0);
        // The text lies right of the mark.
        int textPixels = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = mark.right + 3; x < 120; ++x)
                textPixels += unchecked.At(x, y) == ::GetSysColor(COLOR_BTNTEXT);
        EXPECT_GT(textPixels, 0);
    }
}

// Push buttons: the classic face (highlight and dark shadow edges, sunk when pushed), a flat button
// that is not hot shows only its content, and the drop-down arrow is a black triangle on the right.
TEST_F(ButtonFixture, PushButtonFacesAndArrow)
{
    Create(L"", BS_PUSHBUTTON, 60, 24);
    CWVPButtonTheme* theme = m_button.GetTheme();
    m_button.m_bUseVisualStyle = FALSE;
    DibCanvas canvas(60, 24);
    Print(canvas);
    EXPECT_EQ(theme->m_crHighlight.GetColor(), canvas.At(0, 10));
    EXPECT_EQ(theme->m_crDarkShadow.GetColor(), canvas.At(59, 10));
    EXPECT_EQ(theme->m_crShadow.GetColor(), canvas.At(58, 10));
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), canvas.At(30, 12));
    m_button.SendMessage(BM_SETSTATE, TRUE);
    Print(canvas);
    EXPECT_EQ(theme->m_crDarkShadow.GetColor(), canvas.At(0, 10));
    EXPECT_EQ(theme->m_crHighlight.GetColor(), canvas.At(59, 10));
    m_button.SendMessage(BM_SETSTATE, FALSE);

    m_button.m_bFlat = TRUE;
    Print(canvas);
    for (int x = 0; x < 60; ++x)
        EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), canvas.At(x, 0)) << x;

    m_button.m_nPushButtonStyle = CWVPButton::pushDropDown;
    Print(canvas);
    // No text or image: the arrow is centred in the client less the border gap.
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(30, 12));
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(27, 10));
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), canvas.At(30, 16));
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), canvas.At(20, 12));
}

// A group box of style 2 draws nothing; a check box without text draws its mark but no focus.
TEST_F(ButtonFixture, EmptyContentDrawsNoFocusAndHiddenGroupNothing)
{
    Create(L"Group", BS_GROUPBOX, 100, 40);
    m_button.m_nGroupBoxStyle = CWVPButton::groupNone;
    DibCanvas canvas(100, 40);
    Print(canvas);
    EXPECT_EQ(0, canvas.Painted());
    m_button.m_nGroupBoxStyle = CWVPButton::groupFrame;
    Print(canvas);
    EXPECT_GT(canvas.Painted(), 0);
    m_button.DestroyWindow();

    Create(L"", BS_AUTOCHECKBOX, 100, 20);
    m_button.SetFocus();
    m_button.SendMessage(WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS));
    DibCanvas focused(100, 20);
    Print(focused);
    const CRect mark =
        m_button.GetTheme()->CalcRect(CDC::FromHandle(focused.dc()), &m_button, CWVPButtonTheme::rectCheckMark);
    for (int y = 0; y < 20; ++y)
        for (int x = mark.right + 1; x < 100; ++x)
            ASSERT_EQ(::GetSysColor(COLOR_BTNFACE), focused.At(x, y)) << x << "," << y;
}

// Hot tracking: a move into the client makes the button hot, leaving ends it; group boxes never are.
TEST_F(ButtonFixture, HotTracking)
{
    Create(L"Hot", BS_PUSHBUTTON);
    m_button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(m_button.IsHot());
    EXPECT_TRUE(m_button.IsHighlighted());
    m_button.SendMessage(WM_MOUSELEAVE);
    EXPECT_FALSE(m_button.IsHot());
    EXPECT_EQ(DWORD(BS_CENTER | BS_VCENTER), m_button.GetTextAlignment());
}

// An icon given by handle becomes the button's icon and is drawn left of the text.
TEST_F(ButtonFixture, IconDrawnBesideTheText)
{
    Create(L"Go", BS_PUSHBUTTON, 120, 30);
    m_button.m_bUseVisualStyle = FALSE;
    // A 16x16 icon of solid red.
    std::vector<BYTE> andMask(16 * 16 / 8, 0);
    std::vector<DWORD> colour(16 * 16, 0x00FF0000);
    HBITMAP hColour = ::CreateBitmap(16, 16, 1, 32, colour.data());
    HBITMAP hMask = ::CreateBitmap(16, 16, 1, 1, andMask.data());
    ICONINFO info = {TRUE, 0, 0, hMask, hColour};
    HICON hIcon = ::CreateIconIndirect(&info);
    ::DeleteObject(hColour);
    ::DeleteObject(hMask);
    ASSERT_TRUE(m_button.SetIcon(CSize(0, 0), hIcon));
    ::DestroyIcon(hIcon);
    EXPECT_EQ(CSize(16, 16), m_button.GetImageSize());
    DibCanvas canvas(120, 30);
    Print(canvas);
    int redLeft = 120, redRight = -1, textLeft = 120;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x)
        {
            if (canvas.At(x, y) == RGB(255, 0, 0))
            {
                redLeft = (std::min)(redLeft, x);
                redRight = (std::max)(redRight, x);
            }
            else if (canvas.At(x, y) == ::GetSysColor(COLOR_BTNTEXT) && x > 3 && x < 116 && y > 3 && y < 26)
                textLeft = (std::min)(textLeft, x);
        }
    EXPECT_EQ(15, redRight - redLeft);
    EXPECT_GT(textLeft, redRight);
}
