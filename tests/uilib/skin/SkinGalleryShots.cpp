// Photographs the control gallery in each shipped skin and state into PNG files, for a person to
// look at (tools/screenshots.sh runs it; it is not a test). Usage: SkinGalleryShots OUTPUT-FOLDER
#include <windows.h>

#include "PngFile.h"
#include "SkinGallery.h"
#include "uilib/skin/SkinManager.h"

#include <stdio.h>

#include <memory>
#include <string>
#include <vector>

namespace
{

struct ShotSkin
{
    const wchar_t* ini;
    const char* name;
};

const ShotSkin kShotSkins[] = {{L"NORMALBLUE_INI", "blue"}, {L"NORMALAQUA_INI", "aqua"}};

// Controls photographed one by one in their hot, pressed and focused states.
const int kStateControls[] = {rwtest::kGalleryPush,     rwtest::kGalleryDefault,  rwtest::kGalleryCheck,
                              rwtest::kGalleryTriState, rwtest::kGalleryRadio,    rwtest::kGalleryEdit,
                              rwtest::kGallerySpin,     rwtest::kGalleryListBox,  rwtest::kGalleryDropList,
                              rwtest::kGalleryDropDown, rwtest::kGalleryDateTime, rwtest::kGalleryTrackBar,
                              rwtest::kGalleryTab,      rwtest::kGalleryToolBar,  rwtest::kGalleryList};

class Photographer
{
  public:
    explicit Photographer(const std::string& folder) : m_folder(folder), m_screen(1280, 1024)
    {
    }

    // The whole screen area from the top-left corner to the rectangle's corner (so that dropped
    // lists and menus below the gallery are in the picture).
    bool Shoot(const std::string& name, const RECT& rc)
    {
        rwtest::SkinGallery::Pump();
        HDC screen = ::GetDC(nullptr);
        ::BitBlt(m_screen.dc(), 0, 0, m_screen.width(), m_screen.height(), screen, 0, 0, SRCCOPY);
        ::ReleaseDC(nullptr, screen);
        ::GdiFlush();
        RECT clipped = rc;
        RECT all = {0, 0, m_screen.width(), m_screen.height()};
        ::IntersectRect(&clipped, &clipped, &all);
        std::string path = m_folder + "/" + name + ".png";
        bool ok = rwtest::WritePng(path, m_screen, clipped);
        printf("%s %s\n", ok ? "wrote" : "FAILED", path.c_str());
        m_failures += !ok;
        return ok;
    }
    int failures() const
    {
        return m_failures;
    }

  private:
    std::string m_folder;
    DibCanvas m_screen;
    int m_failures = 0;
};

RECT ScreenRect(HWND hwnd, int margin)
{
    RECT rc;
    ::GetWindowRect(hwnd, &rc);
    ::InflateRect(&rc, margin, margin);
    rc.left = rc.left < 0 ? 0 : rc.left;
    rc.top = rc.top < 0 ? 0 : rc.top;
    return rc;
}

void MoveCursorOver(HWND hwnd)
{
    RECT rc;
    ::GetWindowRect(hwnd, &rc);
    ::SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    rwtest::SkinGallery::Pump();
}

void ShootSkin(Photographer& camera, const ShotSkin& skin)
{
    std::string prefix = std::string(skin.name) + "-";
    rwtest::SkinGallery gallery;
    HWND dlg = gallery.hwnd();
    RECT whole = ScreenRect(dlg, 0);
    ::SetCursorPos(1200, 1000);
    camera.Shoot(prefix + "gallery", whole);

    for (int id : kStateControls)
    {
        HWND control = gallery.Item(id);
        char number[16];
        snprintf(number, sizeof(number), "%d", id - rwtest::kGalleryPush);
        std::string base = prefix + "control" + number;
        MoveCursorOver(control);
        camera.Shoot(base + "-hot", ScreenRect(control, 4));
        ::SetFocus(control);
        ::SetCursorPos(1200, 1000);
        camera.Shoot(base + "-focused", ScreenRect(control, 4));
        if (id <= rwtest::kGalleryRadio)
        {
            ::SendMessageW(control, BM_SETSTATE, TRUE, 0);
            camera.Shoot(base + "-pressed", ScreenRect(control, 4));
            ::SendMessageW(control, BM_SETSTATE, FALSE, 0);
        }
    }

    ::SendMessageW(gallery.Item(rwtest::kGalleryDropList), CB_SHOWDROPDOWN, TRUE, 0);
    camera.Shoot(prefix + "combo-open", whole);
    ::SendMessageW(gallery.Item(rwtest::kGalleryDropList), CB_SHOWDROPDOWN, FALSE, 0);

    for (HWND child = ::GetWindow(dlg, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ::EnableWindow(child, FALSE);
    camera.Shoot(prefix + "disabled", whole);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        fprintf(stderr, "usage: SkinGalleryShots OUTPUT-FOLDER\n");
        return 2;
    }
    Photographer camera(argv[1]);
    CWVPSkinManager* manager = WVPSkinManager();
    manager->GetResourceFile()->m_hCallerModule = ::GetModuleHandleW(nullptr);
    {
        rwtest::SkinGallery gallery;
        ::SetCursorPos(1200, 1000);
        camera.Shoot("system-gallery", ScreenRect(gallery.hwnd(), 0));
    }
    for (const ShotSkin& skin : kShotSkins)
    {
        if (!manager->LoadSkin(nullptr, skin.ini))
        {
            fprintf(stderr, "cannot load the skin %s\n", skin.name);
            return 1;
        }
        ShootSkin(camera, skin);
    }
    WVPSkinManagerDestroy();
    return camera.failures() ? 1 : 0;
}
