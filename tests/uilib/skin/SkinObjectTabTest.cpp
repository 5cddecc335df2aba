#include "SkinGalleryFixture.h"
#include "uilib/skin/SkinObjectTab.h"

namespace
{

const int kNormal = 1;
const int kHot = 2;
const int kSelected = 3;
const int kDisabled = 4;

// The gallery's tab control with its three tabs "General", "Video" and "Audio".
class SkinObjectTabTest : public rwtest::SkinGalleryFixture
{
  protected:
    HWND Tab()
    {
        return gallery->Item(rwtest::kGalleryTab);
    }
    CWVPSkinObjectTab* TabObject()
    {
        return Object<CWVPSkinObjectTab>(rwtest::kGalleryTab);
    }
    RECT ItemRect(int index)
    {
        RECT rc = {};
        ::SendMessageW(Tab(), TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc));
        return rc;
    }
    void ClearTexts()
    {
        for (int i = 0; i < 3; ++i)
        {
            TCITEMW item = {};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<LPWSTR>(L"");
            ::SendMessageW(Tab(), TCM_SETITEMW, i, reinterpret_cast<LPARAM>(&item));
        }
    }
    // The tab control painted (without texts) against the parent's background, the pane below the
    // strip and the tabs drawn in index order and the selected one again, each in its part.
    int Differences(const int (&states)[3])
    {
        auto actual = Paint(Tab());
        DibCanvas expected(actual->width(), actual->height(), Color(COLOR_BTNFACE));
        RECT client = {0, 0, actual->width(), actual->height()};
        int selected = int(::SendMessageW(Tab(), TCM_GETCURSEL, 0, 0));
        RECT pane = client;
        RECT selectedRect = ItemRect(selected < 0 ? 0 : selected);
        pane.top = int(::SendMessageW(Tab(), TCM_GETROWCOUNT, 0, 0)) * (selectedRect.bottom - selectedRect.top) +
                   manager.GetMetrics()->m_cyEdge;
        CWVPSkinManagerClass* tab = SkinClass(L"TAB");
        tab->DrawThemeBackground(expected.dc(), CWVPSkinObjectTab::kPartPane, 0, &pane);
        for (int pass = 0; pass < 2; ++pass)
            for (int i = 0; i < 3; ++i)
            {
                if (pass == 1 && i != selected)
                    continue;
                RECT rc = ItemRect(i);
                if (i == selected)
                    ::InflateRect(&rc, 2, 2);
                int part = CWVPSkinObjectTab::GetTabPart(i, 3, i == selected);
                tab->DrawThemeBackground(expected.dc(), part, states[i], &rc);
            }
        ::GdiFlush();
        return SkinGalleryFixture::Differences(*actual, expected, client);
    }
};

TEST_P(SkinObjectTabTest, TabsAndPaneDrawTheirParts)
{
    ASSERT_NE(nullptr, TabObject());
    EXPECT_EQ(CWVPSkinObjectTab::kPartTopTabItemLeftEdge, CWVPSkinObjectTab::GetTabPart(0, 3, true));
    EXPECT_EQ(CWVPSkinObjectTab::kPartTopTabItemRightEdge, CWVPSkinObjectTab::GetTabPart(2, 3, false));
    EXPECT_EQ(CWVPSkinObjectTab::kPartTopTabItem, CWVPSkinObjectTab::GetTabPart(2, 3, true));
    ClearTexts();
    EXPECT_EQ(0, Differences({kSelected, kNormal, kNormal}));
    // The last tab selected draws the middle part, grown over its neighbours.
    ::SendMessageW(Tab(), TCM_SETCURSEL, 2, 0);
    EXPECT_EQ(0, Differences({kNormal, kNormal, kSelected}));
    // A disabled control shows every tab disabled.
    ::EnableWindow(Tab(), FALSE);
    EXPECT_EQ(0, Differences({kDisabled, kDisabled, kDisabled}));
    ::EnableWindow(Tab(), TRUE);
}

TEST_P(SkinObjectTabTest, TextsAreDrawnInTheButtonTextColour)
{
    auto actual = Paint(Tab());
    COLORREF text = SkinClass(L"TAB")->GetThemeColor(CWVPSkinObjectTab::kPartTopTabItemRightEdge, kNormal, 3803,
                                                     Color(COLOR_BTNTEXT));
    for (int i = 0; i < 3; ++i)
        EXPECT_GT(CountColor(*actual, ItemRect(i), text), 3) << i;
}

TEST_P(SkinObjectTabTest, HotTabFollowsTheCursor)
{
    ClearTexts();
    RECT rc = ItemRect(1);
    MoveCursorTo(Tab(), POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
    ASSERT_TRUE(rwtest::SkinGallery::PumpUntil([&] { return TabObject()->GetHotTab() == 1; }));
    EXPECT_EQ(0, Differences({kSelected, kHot, kNormal}));
    ParkCursor();
    ASSERT_TRUE(rwtest::SkinGallery::PumpUntil([&] { return TabObject()->GetHotTab() == -1; }));
    EXPECT_EQ(0, Differences({kSelected, kNormal, kNormal}));
}

// Button tabs draw the BUTTON class's push button and no pane.
TEST_P(SkinObjectTabTest, ButtonTabsDrawNoPane)
{
    HWND buttons = ::CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | TCS_BUTTONS, 8, 380, 200, 36,
                                     gallery->hwnd(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, buttons);
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPWSTR>(L"");
    ::SendMessageW(buttons, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    ::SendMessageW(buttons, TCM_INSERTITEMW, 1, reinterpret_cast<LPARAM>(&item));
    auto actual = Paint(buttons);
    DibCanvas expected(actual->width(), actual->height(), Color(COLOR_BTNFACE));
    for (int i = 0; i < 2; ++i)
    {
        RECT rc = {};
        ::SendMessageW(buttons, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rc));
        SkinClass(L"BUTTON")->DrawThemeBackground(expected.dc(), 1, i == 0 ? 3 : 1, &rc);
    }
    ::GdiFlush();
    RECT client = {0, 0, actual->width(), actual->height()};
    EXPECT_EQ(0, SkinGalleryFixture::Differences(*actual, expected, client));
    ::DestroyWindow(buttons);
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinObjectTabTest, ::testing::Values(L"NORMALBLUE_INI", L"NORMALAQUA_INI"));

} // namespace
