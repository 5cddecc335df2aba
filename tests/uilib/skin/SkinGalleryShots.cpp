// Photographs the control gallery in each shipped skin and state into PNG files, for a person to
// look at (tools/screenshots.sh runs it; it is not a test). Usage: SkinGalleryShots OUTPUT-FOLDER
#include <windows.h>

#include "uilib/foundation/LibPng.h"

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

struct FileCloser
{
    void operator()(FILE* f) const
    {
        fclose(f);
    }
};

// Writes the canvas's rectangle as an 8-bit RGB PNG file.
bool WritePng(const std::string& path, const DibCanvas& canvas, const RECT& rc)
{
    std::unique_ptr<FILE, FileCloser> file(fopen(path.c_str(), "wb"));
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info)
    {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    int width = rc.right - rc.left, height = rc.bottom - rc.top;
    std::vector<png_byte> row(size_t(width) * 3);
    bool ok = false;
    if (!setjmp(png_jmpbuf(png)))
    {
        png_init_io(png, file.get());
        png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = rc.top; y < rc.bottom; ++y)
        {
            for (int x = rc.left; x < rc.right; ++x)
            {
                DWORD v = canvas.Rgb(x, y);
                png_byte* p = &row[size_t(x - rc.left) * 3];
                p[0] = png_byte(v >> 16);
                p[1] = png_byte(v >> 8);
                p[2] = png_byte(v);
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&png, &info);
    return ok;
}

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
        bool ok = WritePng(path, m_screen, clipped);
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

// The track bar's thumb and the list's column header under the cursor and pressed.
void ShootThumbsAndHeaders(Photographer& camera, const rwtest::SkinGallery& gallery, const std::string& prefix)
{
    for (int id : {rwtest::kGalleryTrackBar, rwtest::kGalleryVertTrackBar})
    {
        HWND track = gallery.Item(id);
        std::string base = prefix + (id == rwtest::kGalleryTrackBar ? "trackbar" : "vtrackbar");
        RECT thumb = {};
        ::SendMessageW(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        rwtest::MoveCursorToClient(track, thumb);
        camera.Shoot(base + "-hot", ScreenRect(track, 4));
        ::SetCapture(track);
        ::InvalidateRect(track, nullptr, FALSE);
        camera.Shoot(base + "-pressed", ScreenRect(track, 4));
        ::ReleaseCapture();
        ::SetCursorPos(1200, 1000);
        ::SetFocus(track);
        ::SendMessageW(gallery.hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        camera.Shoot(base + "-focused", ScreenRect(track, 4));
    }
    HWND header = reinterpret_cast<HWND>(::SendMessageW(gallery.Item(rwtest::kGalleryList), LVM_GETHEADER, 0, 0));
    RECT item = {};
    ::SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    rwtest::MoveCursorToClient(header, item);
    camera.Shoot(prefix + "header-hot", ScreenRect(header, 4));
    LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    ::SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    camera.Shoot(prefix + "header-pressed", ScreenRect(header, 4));
    ::SendMessageW(header, WM_LBUTTONUP, 0, at);
    ::SetCursorPos(1200, 1000);
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

    ShootThumbsAndHeaders(camera, gallery, prefix);

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
