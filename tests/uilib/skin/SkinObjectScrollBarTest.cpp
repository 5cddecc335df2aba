#include "DibCanvas.h"
#include "RwTest.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinObjectScrollBar.h"

#include <vector>

namespace
{

const wchar_t kParentClass[] = L"RwSkinScrollParent";
std::vector<int> g_codes;

LRESULT CALLBACK ParentProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_VSCROLL)
        g_codes.push_back(LOWORD(wParam));
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

class SkinObjectScrollBarTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &ParentProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kParentClass;
        RegisterClassW(&wc);
        manager.GetResourceFile()->m_hCallerModule = GetModuleHandleW(nullptr);
        ASSERT_TRUE(manager.LoadSkin(nullptr, L"NORMALBLUE_INI"));
        parent = CreateWindowExW(0, kParentClass, L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        bar = CreateWindowExW(0, L"ScrollBar", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, 10, 10, 17, 100, parent, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(parent && bar);
        object = static_cast<CWVPSkinObjectScrollBar*>(manager.Lookup(bar));
        ASSERT_NE(nullptr, object);
        ASSERT_TRUE(object->IsKindOf(RUNTIME_CLASS(CWVPSkinObjectScrollBar)));
        SCROLLINFO si = {sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 45, 0};
        SetScrollInfo(bar, SB_CTL, &si, TRUE);
        g_codes.clear();
    }
    void TearDown() override
    {
        DestroyWindow(parent);
        manager.LoadSkin(nullptr, nullptr);
    }
    CWVPSkinManager manager;
    HWND parent = nullptr;
    HWND bar = nullptr;
    CWVPSkinObjectScrollBar* object = nullptr;
};

TEST_F(SkinObjectScrollBarTest, TheThumbFollowsRangePageAndPosition)
{
    ASSERT_EQ(17, manager.GetMetrics()->m_cyVScroll);
    CWVPSkinObjectFrame::SCROLLBARPOSINFO info = {};
    info.fVert = TRUE;
    SCROLLINFO si = {sizeof si, SIF_ALL, 0, 99, 10, 45, 0};
    object->SetupScrollBarInfo(&info, RECT{0, 0, 17, 100}, si);
    EXPECT_EQ(8, info.pxThumbBottom) << "MulDiv(66, 10, 100) raised to half the arrow";
    EXPECT_EQ(58, info.pxFreeTrack);
    EXPECT_EQ(46, info.pxThumbStart);
    EXPECT_EQ(54, info.pxThumbEnd);
    EXPECT_EQ(CWVPSkinObjectFrame::kScrollFirstArrow,
              object->HitTestScrollBar(&(info.fVisible = TRUE, info), POINT{8, 5}));
    EXPECT_EQ(CWVPSkinObjectFrame::kScrollThumb, object->HitTestScrollBar(&info, POINT{8, 50}));
    EXPECT_EQ(CWVPSkinObjectFrame::kScrollPageAfter, object->HitTestScrollBar(&info, POINT{8, 70}));
    EXPECT_EQ(CWVPSkinObjectFrame::kScrollSecondArrow, object->HitTestScrollBar(&info, POINT{8, 90}));

    CWVPSkinObjectFrame::SCROLLBARPOSINFO shortBar = {};
    shortBar.fVert = TRUE;
    object->SetupScrollBarInfo(&shortBar, RECT{0, 0, 17, 20}, si);
    EXPECT_EQ(10, shortBar.pxUpArrow);
    EXPECT_EQ(10, shortBar.pxDownArrow);
}

TEST_F(SkinObjectScrollBarTest, TheControlPaintsItsPartsFromTheSkin)
{
    DibCanvas printed(17, 100, RGB(1, 2, 3));
    EXPECT_EQ(1, SendMessageW(bar, WM_PRINTCLIENT, WPARAM(printed.dc()), PRF_CLIENT));
    CWVPSkinManagerClass* scrollBar = manager.GetSkinClass(L"SCROLLBAR");
    DibCanvas expected(17, 100, RGB(1, 2, 3));
    RECT up = {0, 0, 17, 17}, down = {0, 83, 17, 100}, thumb = {0, 46, 17, 54};
    ASSERT_TRUE(scrollBar->DrawThemeBackground(expected.dc(), 1, 1, &up));
    ASSERT_TRUE(scrollBar->DrawThemeBackground(expected.dc(), 1, 5, &down));
    ASSERT_TRUE(scrollBar->DrawThemeBackground(expected.dc(), 3, 1, &thumb));
    for (POINT pt : {POINT{8, 8}, POINT{3, 3}, POINT{8, 91}, POINT{2, 50}, POINT{8, 47}})
        EXPECT_EQ(expected.At(pt.x, pt.y), printed.At(pt.x, pt.y)) << pt.x << "," << pt.y;
}

TEST_F(SkinObjectScrollBarTest, ClicksOnArrowsAndThumbSendTheirScrollCodes)
{
    PostMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(8, 90));
    SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 90));
    EXPECT_EQ((std::vector<int>{SB_LINEDOWN, SB_ENDSCROLL}), g_codes);
    EXPECT_EQ(nullptr, GetCapture());

    // A thumb press with the button already up ends at once, where it started.
    g_codes.clear();
    SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 50));
    EXPECT_EQ((std::vector<int>{SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL}), g_codes);
    EXPECT_EQ(nullptr, object->GetScrollBarTrackInfo());
}

} // namespace
