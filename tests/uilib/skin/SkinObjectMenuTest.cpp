#include "DibCanvas.h"
#include "MenuWindow.h"
#include "RwTest.h"
#include "SkinGallery.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinObjectMenu.h"

namespace
{

const UINT_PTR kShotTimer = 77;

// What the timer saw of the open popup menu.
struct MenuShot
{
    CWVPSkinManager* manager = nullptr;
    bool objectFound = false;
    int width = 0, height = 0, border = 0;
    std::unique_ptr<DibCanvas> printed;
    std::unique_ptr<DibCanvas> screen;
};
MenuShot g_shot;

void CALLBACK ShootMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND menu = rwtest::ThreadMenuWindow();
    if (menu)
    {
        ::KillTimer(nullptr, id);
        CWVPSkinObject* object = g_shot.manager->Lookup(menu);
        g_shot.objectFound = object && object->IsKindOf(RUNTIME_CLASS(CWVPSkinObjectMenu));
        RECT rc;
        ::GetWindowRect(menu, &rc);
        POINT client = {0, 0};
        ::ClientToScreen(menu, &client);
        g_shot.width = rc.right - rc.left;
        g_shot.height = rc.bottom - rc.top;
        // Menus without a non-client border draw their frame, as wide as an edge, inside their client.
        g_shot.border = client.x - rc.left;
        if (g_shot.border < 2)
            g_shot.border = ::GetSystemMetrics(SM_CXEDGE);
        g_shot.printed.reset(new DibCanvas(g_shot.width, g_shot.height, RGB(255, 0, 255)));
        ::SendMessageW(menu, WM_PRINT, reinterpret_cast<WPARAM>(g_shot.printed->dc()), PRF_NONCLIENT | PRF_CLIENT);
        ::RedrawWindow(menu, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
        g_shot.screen.reset(new DibCanvas(g_shot.width, g_shot.height, RGB(255, 0, 255)));
        rwtest::CaptureScreen(menu, *g_shot.screen);
        ::EndMenu();
    }
}

class SkinObjectMenuTest : public ::testing::TestWithParam<const wchar_t*>
{
};

// The open popup menu carries the menu object; printed and on screen it shows the skin's shadow
// line around it and the skin's menu colour in the rest of its frame, although the system's own
// printing paints its frame in the system's colours.
TEST_P(SkinObjectMenuTest, PopupMenuShowsTheSkinsBorderBands)
{
    CWVPSkinManager manager;
    manager.GetResourceFile()->m_hCallerModule = ::GetModuleHandleW(nullptr);
    ASSERT_TRUE(manager.LoadSkin(nullptr, GetParam()));
    rwtest::SkinGallery gallery;
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING, 1, L"Open");
    ::AppendMenuW(menu, MF_STRING, 2, L"Save");
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING | MF_GRAYED, 3, L"Close");
    g_shot = MenuShot();
    g_shot.manager = &manager;
    ::SetTimer(nullptr, kShotTimer, 50, &ShootMenu);
    ::SetForegroundWindow(gallery.hwnd());
    ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, 100, 100, 0, gallery.hwnd(), nullptr);
    ::DestroyMenu(menu);
    ASSERT_TRUE(g_shot.printed && g_shot.screen);
    EXPECT_TRUE(g_shot.objectFound);
    ASSERT_GT(g_shot.border, 1);
    COLORREF shadow = manager.GetMetrics()->GetColor(COLOR_BTNSHADOW);
    COLORREF face = manager.GetMetrics()->GetColor(COLOR_MENU);
    for (DibCanvas* canvas : {g_shot.printed.get(), g_shot.screen.get()})
    {
        SCOPED_TRACE(canvas == g_shot.printed.get() ? "printed" : "screen");
        int w = g_shot.width, h = g_shot.height;
        for (int x = 0; x < w; x += 7)
        {
            EXPECT_EQ(shadow, canvas->At(x, 0)) << x;
            EXPECT_EQ(shadow, canvas->At(x, h - 1)) << x;
        }
        for (int y = 0; y < h; y += 7)
        {
            EXPECT_EQ(shadow, canvas->At(0, y)) << y;
            EXPECT_EQ(shadow, canvas->At(w - 1, y)) << y;
        }
        for (int i = 1; i < g_shot.border; ++i)
        {
            EXPECT_EQ(face, canvas->At(w / 2, i)) << i;
            EXPECT_EQ(face, canvas->At(i, h / 2)) << i;
            EXPECT_EQ(face, canvas->At(w - 1 - i, h / 2)) << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinObjectMenuTest, ::testing::Values(L"NORMALBLUE_INI", L"NORMALAQUA_INI"));

} // namespace
