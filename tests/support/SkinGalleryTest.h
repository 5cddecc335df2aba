// The fixture of the skin objects' draw-compare tests: the skin the test's parameter names (a
// resource of the test program, such as L"NORMALBLUE_INI") loaded, the gallery shown, and the
// cursor parked away from it.
#pragma once

#include <memory>

#include "SkinGallery.h"
#include "uilib/skin/SkinManager.h"

namespace rwtest
{

class SkinGalleryTest : public ::testing::TestWithParam<const wchar_t*>
{
  protected:
    // Where the cursor waits while no control should be hot.
    static const int kParkX = 1200;
    static const int kParkY = 1000;

    void SetUp() override
    {
        manager.GetResourceFile()->m_hCallerModule = ::GetModuleHandleW(nullptr);
        ASSERT_TRUE(manager.LoadSkin(nullptr, GetParam()));
        gallery.reset(new SkinGallery);
        ASSERT_NE(nullptr, gallery->hwnd());
        ::SetCursorPos(kParkX, kParkY);
        SkinGallery::Pump();
    }
    void TearDown() override
    {
        gallery.reset();
    }
    // The window's skin object when it is of the class, else null.
    template <class T> T* Object(HWND hwnd)
    {
        return dynamic_cast<T*>(manager.Lookup(hwnd));
    }
    static void ParkCursor()
    {
        ::SetCursorPos(kParkX, kParkY);
    }

    CWVPSkinManager manager;
    std::unique_ptr<SkinGallery> gallery;
};

} // namespace rwtest
