#include "DialogTemplate.h"
#include "DibCanvas.h"
#include "RwTest.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinObjectFrame.h"

#include <commctrl.h>
#include <prsht.h>

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

TEST_F(SkinObjectFrameTest, TheCaptionsRoundCornersAreCutFromTheWindowRegion)
{
    RECT windowRect;
    GetWindowRect(window, &windowRect);
    int width = windowRect.right - windowRect.left, height = windowRect.bottom - windowRect.top;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, GetWindowRgn(window, region));
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, width - 1, 0));
    EXPECT_TRUE(PtInRegion(region, width / 2, 1));
    EXPECT_TRUE(PtInRegion(region, 0, height - 1));
    EXPECT_TRUE(PtInRegion(region, width / 2, height / 2));

    // A new size gets a region of its own; detaching gives the window its plain shape back.
    SetWindowPos(window, nullptr, 0, 0, width + 40, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_NE(ERROR, GetWindowRgn(window, region));
    EXPECT_FALSE(PtInRegion(region, width + 39, 0));
    EXPECT_TRUE(PtInRegion(region, width + 20, 1));
    manager.Remove(window);
    EXPECT_EQ(ERROR, GetWindowRgn(window, region));
    DeleteObject(region);
}

TEST_F(SkinObjectFrameTest, AWindowsOwnScrollBarIsDrawnByTheSkin)
{
    HWND scrolled = CreateWindowExW(0, kFrameClass, L"", WS_POPUP | WS_BORDER | WS_VSCROLL | WS_VISIBLE, 0, 0, 120, 150,
                                    nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, scrolled);
    SCROLLINFO si = {sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 0, 0};
    SetScrollInfo(scrolled, SB_VERT, &si, TRUE);
    RECT windowRect, client;
    GetWindowRect(scrolled, &windowRect);
    GetClientRect(scrolled, &client);
    int width = windowRect.right - windowRect.left, height = windowRect.bottom - windowRect.top;
    const int border = 1; // WS_BORDER
    EXPECT_EQ(width - 2 * border - manager.GetMetrics()->m_cxVScroll, client.right);
    EXPECT_EQ(HTVSCROLL, SendMessageW(scrolled, WM_NCHITTEST, 0,
                                      MAKELPARAM(windowRect.right - border - 3, windowRect.top + height / 2)));

    DibCanvas printed(width, height, RGB(1, 2, 3));
    SendMessageW(scrolled, WM_PRINT, WPARAM(printed.dc()), PRF_NONCLIENT);
    int barLeft = width - border - manager.GetMetrics()->m_cxVScroll;
    RECT up = {barLeft, border, width - border, border + manager.GetMetrics()->m_cyVScroll};
    DibCanvas expected(width, height, RGB(1, 2, 3));
    ASSERT_TRUE(manager.GetSkinClass(L"SCROLLBAR")->DrawThemeBackground(expected.dc(), 1, 1, &up));
    EXPECT_EQ(expected.At(barLeft + 8, border + 8), printed.At(barLeft + 8, border + 8));
    EXPECT_EQ(expected.At(barLeft + 2, border + 2), printed.At(barLeft + 2, border + 2));
    DestroyWindow(scrolled);
}

TEST_F(SkinObjectFrameTest, TheSmallestTrackingSizeKeepsTheCaptionButtonsAndBorders)
{
    MINMAXINFO info = {};
    SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    RECT borders = frame->GetBorders();
    LONG buttons = LONG(frame->GetCaptionButtons().size());
    ASSERT_EQ(3, buttons);
    EXPECT_EQ(buttons * borders.top + 2 * GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CYSIZE),
              info.ptMinTrackSize.x);
    EXPECT_EQ(borders.top + borders.bottom, info.ptMinTrackSize.y);
}

TEST_F(SkinObjectFrameTest, TheCornerBetweenTwoScrollBarsOfASizableWindowIsASizeGrip)
{
    HWND scrolled = CreateWindowExW(0, kFrameClass, L"", WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0,
                                    0, 200, 160, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, scrolled);
    auto* object = static_cast<CWVPSkinObjectFrame*>(manager.Lookup(scrolled));
    ASSERT_NE(nullptr, object);
    EXPECT_TRUE(object->HasSizeGrip());
    RECT windowRect, client;
    GetWindowRect(scrolled, &windowRect);
    GetClientRect(scrolled, &client);
    POINT origin = {0, 0};
    ClientToScreen(scrolled, &origin);
    const CWVPSkinManagerMetrics* metrics = manager.GetMetrics();
    int width = windowRect.right - windowRect.left, height = windowRect.bottom - windowRect.top;
    DibCanvas printed(width, height, RGB(1, 2, 3));
    SendMessageW(scrolled, WM_PRINT, WPARAM(printed.dc()), PRF_NONCLIENT);
    RECT grip = {origin.x - windowRect.left + client.right, origin.y - windowRect.top + client.bottom, 0, 0};
    grip.right = grip.left + metrics->m_cxVScroll;
    grip.bottom = grip.top + metrics->m_cyHScroll;
    CWVPSkinManagerClass* scrollBar = manager.GetSkinClass(L"SCROLLBAR");
    auto sizeBox = [&](HDC dc) { scrollBar->DrawThemeBackground(dc, 10, 1, &grip); };
    DibCanvas alone(width, height, RGB(1, 2, 3));
    sizeBox(alone.dc());
    ASSERT_GT(alone.Painted(), 0) << "the skin has a size-box picture";
    EXPECT_TRUE(printed.Shows(sizeBox));
    POINT corner = {origin.x + client.right + metrics->m_cxVScroll / 2,
                    origin.y + client.bottom + metrics->m_cyHScroll / 2};
    EXPECT_EQ(HTBOTTOMRIGHT, SendMessageW(scrolled, WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y)));

    // A child that does not reach its sizable parent's corner has no grip.
    HWND child = CreateWindowExW(0, kFrameClass, L"", WS_CHILD | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0, 0, 60, 60,
                                 scrolled, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, child);
    EXPECT_FALSE(static_cast<CWVPSkinObjectFrame*>(manager.Lookup(child))->HasSizeGrip());
    DestroyWindow(scrolled);
}

TEST_F(SkinObjectFrameTest, HoveringAScrollBarArrowMakesItHot)
{
    HWND scrolled = CreateWindowExW(0, kFrameClass, L"", WS_POPUP | WS_VSCROLL | WS_VISIBLE, 0, 0, 120, 150, nullptr,
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, scrolled);
    auto* object = static_cast<CWVPSkinObjectFrame*>(manager.Lookup(scrolled));
    SCROLLINFO si = {sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 0, 0};
    SetScrollInfo(scrolled, SB_VERT, &si, TRUE);
    SendMessageW(scrolled, WM_NCPAINT, 1, 0);
    const CWVPSkinObjectFrame::SCROLLBARPOSINFO* bar = object->GetScrollBarPosInfo(1);
    RECT windowRect;
    GetWindowRect(scrolled, &windowRect);
    POINT arrow = {windowRect.left + (bar->rc.left + bar->rc.right) / 2, windowRect.top + bar->rc.top + 3};
    EXPECT_EQ(0, SendMessageW(scrolled, WM_NCMOUSEMOVE, HTVSCROLL, MAKELPARAM(arrow.x, arrow.y)));
    EXPECT_EQ(CWVPSkinObjectFrame::kScrollFirstArrow, bar->ht);
    SendMessageW(scrolled, WM_NCMOUSELEAVE, 0, 0);
    EXPECT_EQ(CWVPSkinObjectFrame::kScrollNone, bar->ht);
    DestroyWindow(scrolled);
}

const wchar_t kMdiFrameClass[] = L"RwSkinMdiFrame";
const wchar_t kMdiChildClass[] = L"RwSkinMdiChild";
HWND g_mdiClient = nullptr;

LRESULT CALLBACK MdiFrameProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefFrameProcW(hWnd, g_mdiClient, message, wParam, lParam);
}

LRESULT CALLBACK MdiChildProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefMDIChildProcW(hWnd, message, wParam, lParam);
}

// An MDI frame with its client and one child of 200 x 150; the frame is destroyed with the holder.
struct MdiWindows
{
    MdiWindows()
    {
        WNDCLASSW wc = {};
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpfnWndProc = &MdiFrameProc;
        wc.lpszClassName = kMdiFrameClass;
        RegisterClassW(&wc);
        wc.lpfnWndProc = &MdiChildProc;
        wc.lpszClassName = kMdiChildClass;
        RegisterClassW(&wc);
        g_mdiClient = nullptr;
        frame = CreateWindowExW(0, kMdiFrameClass, L"MDI", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 400, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
        CLIENTCREATESTRUCT ccs = {};
        g_mdiClient = frame ? CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0,
                                              400, 300, frame, nullptr, GetModuleHandleW(nullptr), &ccs)
                            : nullptr;
        MDICREATESTRUCTW mcs = {
            kMdiChildClass, L"Child", GetModuleHandleW(nullptr), 10, 10, 200, 150, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0};
        child = g_mdiClient
                    ? reinterpret_cast<HWND>(SendMessageW(g_mdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)))
                    : nullptr;
    }
    ~MdiWindows()
    {
        if (frame)
            DestroyWindow(frame);
        g_mdiClient = nullptr;
    }
    HWND frame = nullptr;
    HWND child = nullptr;
};

// The window's region leaves out the caption's two upper corners and keeps the rest.
void ExpectRoundedCaptionRegion(HWND hWnd)
{
    RECT windowRect;
    GetWindowRect(hWnd, &windowRect);
    int width = windowRect.right - windowRect.left, height = windowRect.bottom - windowRect.top;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(ERROR, GetWindowRgn(hWnd, region)) << "the window has the skin's shape";
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, width - 1, 0));
    EXPECT_TRUE(PtInRegion(region, width / 2, 1));
    EXPECT_TRUE(PtInRegion(region, width / 2, height / 2));
    DeleteObject(region);
}

// A captioned child window (an MDI child) gets the skin's rounded corners as a top-level frame
// does, without the top-level frame's change of height.
TEST_F(SkinObjectFrameTest, AnMdiChildGetsTheRoundedCorners)
{
    MdiWindows mdi;
    ASSERT_NE(nullptr, mdi.child);
    ASSERT_NE(nullptr, manager.Lookup(mdi.child));
    ExpectRoundedCaptionRegion(mdi.child);
    RECT rc;
    GetWindowRect(mdi.child, &rc);
    EXPECT_EQ(150, rc.bottom - rc.top);
}

const wchar_t kOwnCreateClass[] = L"RwSkinOwnCreateWindow";

LRESULT CALLBACK OwnCreateProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        return 0; // the default procedure never sees the creation
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

// A frame whose own procedure answers WM_CREATE gets the skin's corners and caption height when
// it is first shown: the same shape and size as a frame created through the default procedure.
TEST_F(SkinObjectFrameTest, AFrameThatTakesItsOwnCreationGetsItsShapeWhenShown)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &OwnCreateProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kOwnCreateClass;
    RegisterClassW(&wc);
    HWND own = CreateWindowExW(0, kOwnCreateClass, L"Own", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, own);
    ShowWindow(own, SW_SHOWNOACTIVATE);
    ExpectRoundedCaptionRegion(own);
    RECT ownRect, plainRect;
    GetWindowRect(own, &ownRect);
    GetWindowRect(window, &plainRect);
    EXPECT_EQ(plainRect.bottom - plainRect.top, ownRect.bottom - ownRect.top);
    DestroyWindow(own);
}

TEST_F(SkinObjectFrameTest, AMaximizedMdiChildHidesTheSkinBordersBeyondTheClient)
{
    WNDCLASSW wc = {};
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpfnWndProc = &MdiFrameProc;
    wc.lpszClassName = kMdiFrameClass;
    RegisterClassW(&wc);
    wc.lpfnWndProc = &MdiChildProc;
    wc.lpszClassName = kMdiChildClass;
    RegisterClassW(&wc);
    g_mdiClient = nullptr;
    HWND mdiFrame = CreateWindowExW(0, kMdiFrameClass, L"MDI", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 400,
                                    nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, mdiFrame);
    CLIENTCREATESTRUCT ccs = {};
    g_mdiClient = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 400, 300,
                                  mdiFrame, nullptr, GetModuleHandleW(nullptr), &ccs);
    ASSERT_NE(nullptr, g_mdiClient);
    MDICREATESTRUCTW mcs = {
        kMdiChildClass, L"Child", GetModuleHandleW(nullptr), 10, 10, 200, 150, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0};
    HWND child = reinterpret_cast<HWND>(SendMessageW(g_mdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    ASSERT_NE(nullptr, child);
    auto* object = static_cast<CWVPSkinObjectFrame*>(manager.Lookup(child));
    ASSERT_NE(nullptr, object);

    SendMessageW(child, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_TRUE(IsZoomed(child));
    RECT client, placed;
    GetClientRect(g_mdiClient, &client);
    GetWindowRect(child, &placed);
    MapWindowPoints(nullptr, g_mdiClient, reinterpret_cast<POINT*>(&placed), 2);
    RECT borders = manager.GetSchema()->CalcFrameBorders(child);
    EXPECT_EQ(-borders.left, placed.left);
    EXPECT_EQ(-borders.top, placed.top);
    EXPECT_EQ(client.right + borders.right, placed.right);
    EXPECT_EQ(client.bottom + borders.bottom, placed.bottom);
    DestroyWindow(mdiFrame);
    g_mdiClient = nullptr;
}

int g_dialogActivations = 0;

INT_PTR CALLBACK CountingDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    if (message == WM_NCACTIVATE)
        ++g_dialogActivations;
    return message == WM_INITDIALOG;
}

TEST_F(SkinObjectFrameTest, ADialogsOwnProcedureSeesTheActivationTheSkinPaints)
{
    std::vector<WORD> dialog = rwtest::DialogTemplate(WS_POPUP | WS_CAPTION | WS_SYSMENU);
    HWND top = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<DLGTEMPLATE*>(dialog.data()),
                                          nullptr, &CountingDialogProc, 0);
    ASSERT_NE(nullptr, top);
    auto* object = static_cast<CWVPSkinObjectFrame*>(manager.Lookup(top));
    ASSERT_NE(nullptr, object);
    ASSERT_EQ(CWVPSkinObjectFrame::kWindowDialog, object->GetWindowKind());
    g_dialogActivations = 0;
    EXPECT_EQ(TRUE, SendMessageW(top, WM_NCACTIVATE, FALSE, 0));
    EXPECT_EQ(1, g_dialogActivations);
    EXPECT_FALSE(object->IsActive());
    EXPECT_EQ(TRUE, SendMessageW(top, WM_NCACTIVATE, TRUE, 0));
    EXPECT_EQ(2, g_dialogActivations);
    EXPECT_TRUE(object->IsActive());

    // A top-level dialog's controls get the skin's button face.
    HWND label =
        CreateWindowExW(0, L"STATIC", L"x", WS_CHILD | WS_VISIBLE, 0, 0, 20, 10, top, nullptr, nullptr, nullptr);
    DibCanvas canvas(4, 4);
    EXPECT_EQ(reinterpret_cast<LRESULT>(manager.GetMetrics()->GetBrush(COLOR_BTNFACE)),
              SendMessageW(top, WM_CTLCOLORSTATIC, WPARAM(canvas.dc()), LPARAM(label)));
    DestroyWindow(top);
}

HWND g_pageLabel = nullptr;

INT_PTR CALLBACK LabelPageProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG)
    {
        g_pageLabel = CreateWindowExW(0, L"STATIC", L"Label", WS_CHILD | WS_VISIBLE, 10, 20, 60, 12, hWnd, nullptr,
                                      nullptr, nullptr);
        return TRUE;
    }
    return FALSE;
}

TEST_F(SkinObjectFrameTest, APropertyPagePaintsTheSkinsTabBody)
{
    InitCommonControls();
    std::vector<WORD> page = rwtest::DialogTemplate(WS_CHILD | DS_CONTROL, 160, 120);
    g_pageLabel = nullptr;
    HWND sheet = rwtest::CreateOnePageSheet(page, &LabelPageProc);
    ASSERT_NE(nullptr, sheet);
    HWND pageWindow = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    ASSERT_NE(nullptr, pageWindow);
    ASSERT_NE(nullptr, g_pageLabel);
    auto* object = static_cast<CWVPSkinObjectFrame*>(manager.Lookup(pageWindow));
    ASSERT_NE(nullptr, object);
    ASSERT_EQ(CWVPSkinObjectFrame::kWindowPropertyPage, object->GetWindowKind());

    // The body is the skin's tab-body picture tiled from the page's corner.
    RECT client;
    GetClientRect(pageWindow, &client);
    ASSERT_GT(client.bottom, 64);
    DibCanvas erased(client.right, client.bottom, RGB(1, 2, 3));
    EXPECT_EQ(1, SendMessageW(pageWindow, WM_ERASEBKGND, WPARAM(erased.dc()), 0));
    DibCanvas tiled(client.right, client.bottom, RGB(1, 2, 3));
    ASSERT_TRUE(manager.GetSkinClass(L"TAB")->DrawThemeBackground(tiled.dc(), 10, 1, &client));
    EXPECT_NE(tiled.At(2, 2), tiled.At(2, 50)) << "the body picture is a gradient";
    EXPECT_EQ(0, erased.Differences([&](int x, int y) {
        COLORREF c = tiled.At(x, y);
        return DWORD(GetRValue(c)) << 16 | DWORD(GetGValue(c)) << 8 | GetBValue(c);
    }));

    // Its controls draw transparently over the same picture, continued under them.
    DibCanvas label(60, 12, RGB(1, 2, 3));
    HBRUSH brush =
        reinterpret_cast<HBRUSH>(SendMessageW(pageWindow, WM_CTLCOLORSTATIC, WPARAM(label.dc()), LPARAM(g_pageLabel)));
    ASSERT_NE(nullptr, brush);
    EXPECT_NE(manager.GetMetrics()->GetBrush(COLOR_BTNFACE), brush);
    EXPECT_EQ(TRANSPARENT, GetBkMode(label.dc()));
    RECT labelRect = {0, 0, 60, 12};
    FillRect(label.dc(), &labelRect, brush);
    POINT at = {0, 0};
    MapWindowPoints(g_pageLabel, pageWindow, &at, 1);
    EXPECT_EQ(tiled.At(at.x + 5, at.y + 5), label.At(5, 5));
    EXPECT_EQ(tiled.At(at.x + 30, at.y + 11), label.At(30, 11));
    DestroyWindow(sheet);
}

} // namespace
