#include "RwTest.h"
#include "SkinGallery.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinObjectEdit.h"
#include "uilib/skin/SkinObjectListBox.h"

namespace
{

class SkinObjectEditTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        manager.GetResourceFile()->m_hCallerModule = ::GetModuleHandleW(nullptr);
        ASSERT_TRUE(manager.LoadSkin(nullptr, L"NORMALBLUE_INI"));
        gallery.reset(new rwtest::SkinGallery);
        ASSERT_NE(nullptr, gallery->hwnd());
    }
    void TearDown() override
    {
        gallery.reset();
    }
    template <class T> T* Object(HWND hwnd)
    {
        CWVPSkinObject* object = manager.Lookup(hwnd);
        return dynamic_cast<T*>(object);
    }

    CWVPSkinManager manager;
    std::unique_ptr<rwtest::SkinGallery> gallery;
};

TEST_F(SkinObjectEditTest, EditsAndListsGetTheirObjects)
{
    EXPECT_NE(nullptr, Object<CWVPSkinObjectEdit>(gallery->Item(rwtest::kGalleryEdit)));
    EXPECT_NE(nullptr, Object<CWVPSkinObjectEdit>(gallery->Item(rwtest::kGalleryBuddy)));
    EXPECT_NE(nullptr, Object<CWVPSkinObjectListBox>(gallery->Item(rwtest::kGalleryListBox)));
    COMBOBOXINFO info = {sizeof(info)};
    ASSERT_TRUE(::GetComboBoxInfo(gallery->Item(rwtest::kGalleryDropDown), &info));
    EXPECT_NE(nullptr, Object<CWVPSkinObjectListBox>(info.hwndList));
    EXPECT_NE(nullptr, Object<CWVPSkinObjectEdit>(info.hwndItem));
}

// Keys move the edit's text and the wheel the list's items: the skin sees each new position.
TEST_F(SkinObjectEditTest, ScrollBarsFollowKeysAndWheel)
{
    HWND edit = gallery->Item(rwtest::kGalleryEdit);
    CWVPSkinObjectEdit* editObject = Object<CWVPSkinObjectEdit>(edit);
    ASSERT_NE(nullptr, editObject);
    ::SetFocus(edit);
    ::SendMessageW(edit, WM_KEYDOWN, VK_NEXT, 0);
    int position = ::GetScrollPos(edit, SB_VERT);
    EXPECT_GT(position, 0);
    EXPECT_EQ(position, editObject->GetLastScrollInfo(1).nPos);
    EXPECT_EQ(::SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), position);

    HWND list = gallery->Item(rwtest::kGalleryListBox);
    CWVPSkinObjectListBox* listObject = Object<CWVPSkinObjectListBox>(list);
    ASSERT_NE(nullptr, listObject);
    ::SetFocus(list);
    RECT rc;
    ::GetWindowRect(list, &rc);
    ::SendMessageW(list, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(rc.left + 5, rc.top + 5));
    position = ::GetScrollPos(list, SB_VERT);
    EXPECT_GT(position, 0);
    EXPECT_EQ(position, listObject->GetLastScrollInfo(1).nPos);
    EXPECT_EQ(::SendMessageW(list, LB_GETTOPINDEX, 0, 0), position);
}

// A read-only or disabled edit asks its parent for the static colours.
TEST_F(SkinObjectEditTest, ReadOnlyEditUsesStaticColours)
{
    HWND edit = gallery->Item(rwtest::kGalleryEdit);
    CWVPSkinObjectEdit* object = Object<CWVPSkinObjectEdit>(edit);
    ASSERT_NE(nullptr, object);
    EXPECT_EQ(UINT(WM_CTLCOLOREDIT), object->GetClientBrushMessage());
    ::SendMessageW(edit, EM_SETREADONLY, TRUE, 0);
    EXPECT_EQ(UINT(WM_CTLCOLORSTATIC), object->GetClientBrushMessage());
    ::SendMessageW(edit, EM_SETREADONLY, FALSE, 0);
    ::EnableWindow(edit, FALSE);
    EXPECT_EQ(UINT(WM_CTLCOLORSTATIC), object->GetClientBrushMessage());
    ::EnableWindow(edit, TRUE);
}

// The spin joined to its buddy covers the buddy's right border: that strip is left to the spin.
TEST_F(SkinObjectEditTest, AttachedSpinStripIsLeftOut)
{
    HWND buddy = gallery->Item(rwtest::kGalleryBuddy);
    CWVPSkinObjectEdit* object = Object<CWVPSkinObjectEdit>(buddy);
    ASSERT_NE(nullptr, object);
    RECT window, spin;
    ::GetWindowRect(buddy, &window);
    ::GetWindowRect(gallery->Item(rwtest::kGallerySpin), &spin);
    ASSERT_EQ(window.right - 2, spin.left);
    RECT strip;
    ASSERT_TRUE(object->GetUpDownStrip(strip));
    EXPECT_EQ(window.right - window.left - 2, strip.left);
    EXPECT_EQ(window.right - window.left, strip.right);
    EXPECT_EQ(0, strip.top);
    EXPECT_EQ(window.bottom - window.top, strip.bottom);
    // The plain edit has no neighbour over its frame.
    EXPECT_FALSE(Object<CWVPSkinObjectEdit>(gallery->Item(rwtest::kGalleryEdit))->GetUpDownStrip(strip));
}

} // namespace
