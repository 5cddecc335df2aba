// The fixture of the skin objects' draw-compare tests: one of the shipped skins loaded (the test
// parameter names its resource), the control gallery shown, the cursor parked away from it, and
// helpers to find a control's skin object, move the real cursor and paint a control into a canvas.
#pragma once

#include <windows.h>

#include <memory>

#include "DibCanvas.h"
#include "RwTest.h"
#include "SkinGallery.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinManagerClass.h"
#include "uilib/skin/SkinManagerMetrics.h"

namespace rwtest
{

// Where the cursor waits while no control should be hot.
const POINT kParkedCursor = {1200, 1000};

class SkinGalleryFixture : public ::testing::TestWithParam<const wchar_t*>
{
  protected:
    void SetUp() override
    {
        manager.GetResourceFile()->m_hCallerModule = ::GetModuleHandleW(nullptr);
        ASSERT_TRUE(manager.LoadSkin(nullptr, GetParam()));
        ::SetCursorPos(kParkedCursor.x, kParkedCursor.y);
        gallery.reset(new SkinGallery);
        ASSERT_NE(nullptr, gallery->hwnd());
        SkinGallery::Pump();
    }
    void TearDown() override
    {
        gallery.reset();
        ::SetCursorPos(kParkedCursor.x, kParkedCursor.y);
    }

    template <class T> T* Object(HWND hwnd)
    {
        return dynamic_cast<T*>(manager.Lookup(hwnd));
    }
    template <class T> T* Object(int id)
    {
        return Object<T>(gallery->Item(id));
    }
    COLORREF Color(int index)
    {
        return manager.GetMetrics()->GetColor(index);
    }
    CWVPSkinManagerClass* SkinClass(LPCWSTR name)
    {
        return manager.GetSkinClass(name);
    }
    // Moves the real cursor to the client point of the window and dispatches what follows.
    static void MoveCursorTo(HWND hwnd, POINT client)
    {
        ::ClientToScreen(hwnd, &client);
        ::SetCursorPos(client.x, client.y);
        SkinGallery::Pump();
    }
    static void ParkCursor()
    {
        ::SetCursorPos(kParkedCursor.x, kParkedCursor.y);
        SkinGallery::Pump();
    }
    // The control's painting (WM_PAINT with the canvas's DC) into a canvas of its client size.
    static std::unique_ptr<DibCanvas> Paint(HWND hwnd, COLORREF fill = RGB(255, 0, 255))
    {
        RECT rc;
        ::GetClientRect(hwnd, &rc);
        std::unique_ptr<DibCanvas> canvas(new DibCanvas(rc.right, rc.bottom, fill));
        ::SendMessageW(hwnd, WM_PAINT, reinterpret_cast<WPARAM>(canvas->dc()), 0);
        ::GdiFlush();
        return canvas;
    }
    // The rectangle cut to the canvas.
    static RECT Inside(const DibCanvas& canvas, const RECT& rc)
    {
        RECT all = {0, 0, canvas.width(), canvas.height()}, inside = {};
        ::IntersectRect(&inside, &rc, &all);
        return inside;
    }
    // Pixels inside the rectangle that differ between the two canvases of the same size.
    static int Differences(const DibCanvas& actual, const DibCanvas& expected, const RECT& area)
    {
        RECT rc = Inside(actual, area);
        int differences = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                if (actual.Rgb(x, y) != expected.Rgb(x, y) && ++differences <= 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << actual.Rgb(x, y) << " expected "
                                  << expected.Rgb(x, y) << std::dec;
        return differences;
    }
    // Pixels of the colour inside the rectangle.
    static int CountColor(const DibCanvas& canvas, const RECT& area, COLORREF color)
    {
        RECT rc = Inside(canvas, area);
        DWORD rgb = DibCanvas::Raw(color, 0);
        int count = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                count += canvas.Rgb(x, y) == rgb;
        return count;
    }

    CWVPSkinManager manager;
    std::unique_ptr<SkinGallery> gallery;
};

} // namespace rwtest
