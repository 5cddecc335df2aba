// The skin objects of the views that paint themselves (list view, tree view) and of the status
// bar: which objects the gallery's controls get, and the skin's colours reaching the views.
#include "DibCanvas.h"
#include "RwTest.h"
#include "SkinGallery.h"
#include "SkinGalleryFixture.h"
#include "platform/mfc/StatusBar.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinObjectHeader.h"
#include "uilib/skin/SkinObjectListView.h"
#include "uilib/skin/SkinObjectProgress.h"
#include "uilib/skin/SkinObjectStatusBar.h"
#include "uilib/skin/SkinObjectTrackBar.h"
#include "uilib/skin/SkinObjectTreeView.h"

namespace
{

class SkinObjectListViewTest : public rwtest::SkinGalleryFixture
{
  protected:
    COLORREF Skin(int index)
    {
        return manager.GetMetrics()->GetColor(index);
    }
    // The colour the view prints at the bottom-left corner of its client area, below its items.
    static DWORD EmptyAreaColor(HWND view)
    {
        RECT rc;
        ::GetClientRect(view, &rc);
        DibCanvas canvas(rc.right, rc.bottom, RGB(255, 0, 255));
        ::SendMessageW(view, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT | PRF_ERASEBKGND);
        ::GdiFlush();
        return canvas.Rgb(2, rc.bottom - 2);
    }
};

TEST_P(SkinObjectListViewTest, ControlsGetTheirObjects)
{
    EXPECT_NE(nullptr, Object<CWVPSkinObjectTrackBar>(gallery->Item(rwtest::kGalleryTrackBar)));
    EXPECT_NE(nullptr, Object<CWVPSkinObjectProgress>(gallery->Item(rwtest::kGalleryProgress)));
    EXPECT_NE(nullptr, Object<CWVPSkinObjectTreeView>(gallery->Item(rwtest::kGalleryTree)));
    HWND list = gallery->Item(rwtest::kGalleryList);
    EXPECT_NE(nullptr, Object<CWVPSkinObjectListView>(list));
    EXPECT_NE(nullptr, Object<CWVPSkinObjectHeader>(reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0))));

    // The framework's status bar is a skinned one, framed by the schema's status-bar class.
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(CWnd::FromHandle(gallery->hwnd()), WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, 0xE801));
    for (HWND status : {gallery->Item(rwtest::kGalleryStatus), bar.GetSafeHwnd()})
    {
        CWVPSkinObjectStatusBar* object = Object<CWVPSkinObjectStatusBar>(status);
        ASSERT_NE(nullptr, object);
        ASSERT_NE(nullptr, object->GetSkinClass());
        EXPECT_EQ(CString(L"STATUS"), object->GetSkinClass()->GetClassName());
    }
    bar.DestroyWindow();
}

// Views made while the skin is loaded take its colours and print them; without a skin they go
// back to their defaults, and a skin loaded again gives its colours back.
TEST_P(SkinObjectListViewTest, ViewColorsFollowTheSkin)
{
    HWND list = gallery->Item(rwtest::kGalleryList);
    HWND tree = gallery->Item(rwtest::kGalleryTree);
    auto expectSkinned = [&] {
        EXPECT_EQ(Skin(COLOR_WINDOW), COLORREF(::SendMessageW(list, LVM_GETBKCOLOR, 0, 0)));
        EXPECT_EQ(Skin(COLOR_WINDOW), COLORREF(::SendMessageW(list, LVM_GETTEXTBKCOLOR, 0, 0)));
        EXPECT_EQ(Skin(COLOR_WINDOWTEXT), COLORREF(::SendMessageW(list, LVM_GETTEXTCOLOR, 0, 0)));
        EXPECT_EQ(Skin(COLOR_WINDOW), COLORREF(::SendMessageW(tree, TVM_GETBKCOLOR, 0, 0)));
        EXPECT_EQ(Skin(COLOR_WINDOWTEXT), COLORREF(::SendMessageW(tree, TVM_GETTEXTCOLOR, 0, 0)));
        EXPECT_EQ(Skin(COLOR_GRAYTEXT), COLORREF(::SendMessageW(tree, TVM_GETLINECOLOR, 0, 0)));
        DWORD window = DibCanvas::Raw(Skin(COLOR_WINDOW), 0);
        EXPECT_EQ(window, EmptyAreaColor(list));
        EXPECT_EQ(window, EmptyAreaColor(tree));
    };
    expectSkinned();

    EXPECT_FALSE(manager.LoadSkin(nullptr, L"NO_SUCH_SKIN_INI"));
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), COLORREF(::SendMessageW(list, LVM_GETBKCOLOR, 0, 0)));
    EXPECT_EQ(::GetSysColor(COLOR_WINDOWTEXT), COLORREF(::SendMessageW(list, LVM_GETTEXTCOLOR, 0, 0)));
    EXPECT_EQ(CLR_NONE, COLORREF(::SendMessageW(tree, TVM_GETBKCOLOR, 0, 0)));
    EXPECT_EQ(CLR_NONE, COLORREF(::SendMessageW(tree, TVM_GETTEXTCOLOR, 0, 0)));
    EXPECT_EQ(CLR_DEFAULT, COLORREF(::SendMessageW(tree, TVM_GETLINECOLOR, 0, 0)));

    ASSERT_TRUE(manager.LoadSkin(nullptr, GetParam()));
    expectSkinned();
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinObjectListViewTest, ::testing::Values(L"NORMALBLUE_INI", L"NORMALAQUA_INI"));

} // namespace
