#include "DibCanvas.h"
#include "RwTest.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinObjectFrame.h"

namespace
{

const wchar_t kFrameClass[] = L"RwSkinFrameTestWindow";
int g_closeCommands = 0;

LRESULT CALLBACK FrameProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE)
    {
        ++g_closeCommands;
        return 0;
    }
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

class SkinObjectFrameTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &FrameProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kFrameClass;
        RegisterClassW(&wc);
        manager.GetResourceFile()->m_hCallerModule = GetModuleHandleW(nullptr);
        ASSERT_TRUE(manager.LoadSkin(nullptr, L"NORMALBLUE_INI"));
        window = CreateWindowExW(0, kFrameClass, L"Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, window);
        frame = static_cast<CWVPSkinObjectFrame*>(manager.Lookup(window));
        ASSERT_NE(nullptr, frame);
        ASSERT_TRUE(frame->IsKindOf(RUNTIME_CLASS(CWVPSkinObjectFrame)));
    }
    void TearDown() override
    {
        DestroyWindow(window);
        manager.LoadSkin(nullptr, nullptr);
    }
    CWVPSkinManager manager;
    HWND window = nullptr;
    CWVPSkinObjectFrame* frame = nullptr;
};

TEST_F(SkinObjectFrameTest, TheClientAreaLiesInsideTheSkinBorders)
{
    RECT borders = manager.GetSchema()->CalcFrameBorders(window);
    EXPECT_EQ(manager.GetMetrics()->m_cyCaption, borders.top - borders.bottom);
    RECT windowRect, client;
    GetWindowRect(window, &windowRect);
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    EXPECT_EQ(borders.left, origin.x - windowRect.left);
    EXPECT_EQ(borders.top, origin.y - windowRect.top);
    EXPECT_EQ(windowRect.right - windowRect.left - borders.left - borders.right, client.right);
    EXPECT_EQ(windowRect.bottom - windowRect.top - borders.top - borders.bottom, client.bottom);
}

TEST_F(SkinObjectFrameTest, TheCaptionAndBordersArePaintedFromTheSkin)
{
    RECT windowRect;
    GetWindowRect(window, &windowRect);
    int width = windowRect.right - windowRect.left, height = windowRect.bottom - windowRect.top;
    DibCanvas printed(width, height, RGB(1, 2, 3));
    EXPECT_EQ(1, SendMessageW(window, WM_PRINT, WPARAM(printed.dc()), PRF_NONCLIENT));

    // The same parts drawn on their own.
    RECT borders = frame->GetBorders();
    CWVPSkinManagerClass* windowClass = manager.GetSkinClass(L"WINDOW");
    DibCanvas caption(width, borders.top, RGB(1, 2, 3));
    RECT captionRect = {0, 0, width, borders.top};
    ASSERT_TRUE(windowClass->DrawThemeBackground(caption.dc(), 1, frame->IsActive() ? 1 : 2, &captionRect));
    EXPECT_EQ(caption.At(width / 2, 1), printed.At(width / 2, 1));
    EXPECT_NE(RGB(1, 2, 3), printed.At(width / 2, 1));
    DibCanvas left(borders.left, height, RGB(1, 2, 3));
    RECT leftRect = {0, borders.top, borders.left, height - borders.bottom};
    ASSERT_TRUE(windowClass->DrawThemeBackground(left.dc(), 7, frame->IsActive() ? 1 : 2, &leftRect));
    EXPECT_EQ(left.At(0, height / 2), printed.At(0, height / 2));

    // Close, maximize and minimize buttons, right to left.
    auto& buttons = frame->GetCaptionButtons();
    ASSERT_EQ(3u, buttons.size());
    EXPECT_EQ(UINT(SC_CLOSE), buttons[0]->m_nCommand);
    EXPECT_EQ(UINT(SC_MAXIMIZE), buttons[1]->m_nCommand);
    EXPECT_EQ(UINT(SC_MINIMIZE), buttons[2]->m_nCommand);
    EXPECT_LT(buttons[1]->m_rcButton.right, buttons[0]->m_rcButton.left);
    EXPECT_GT(buttons[0]->m_rcButton.right, width / 2);
}

TEST_F(SkinObjectFrameTest, TheSkinCloseButtonHitsAndSendsItsCommand)
{
    SendMessageW(window, WM_NCPAINT, 1, 0);
    auto& buttons = frame->GetCaptionButtons();
    ASSERT_FALSE(buttons.empty());
    RECT windowRect;
    GetWindowRect(window, &windowRect);
    RECT close = buttons[0]->m_rcButton;
    POINT centre = {windowRect.left + (close.left + close.right) / 2, windowRect.top + (close.top + close.bottom) / 2};
    EXPECT_EQ(HTCLOSE, SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(centre.x, centre.y)));
    // Where the system would put its close button but the skin draws none, the caption answers.
    POINT caption = {windowRect.left + (windowRect.right - windowRect.left) / 2, windowRect.top + close.top + 2};
    EXPECT_EQ(HTCAPTION, SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y)));

    g_closeCommands = 0;
    PostMessageW(window, WM_LBUTTONUP, 0, 0);
    SendMessageW(window, WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(centre.x, centre.y));
    EXPECT_EQ(1, g_closeCommands);
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(SkinObjectFrameTest, AClassBackgroundOfASystemColourErasesWithTheSkinColour)
{
    DibCanvas erased(50, 50, RGB(1, 2, 3));
    SendMessageW(window, WM_ERASEBKGND, WPARAM(erased.dc()), 0);
    EXPECT_EQ(manager.GetMetrics()->GetColor(COLOR_BTNFACE), erased.At(10, 10));
    EXPECT_EQ(COLOR_BTNFACE + 1, GetClassLongPtrW(window, GCLP_HBRBACKGROUND));
}

} // namespace
