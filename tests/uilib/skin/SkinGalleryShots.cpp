// Photographs the control gallery in each shipped skin and state into PNG files, for a person to
// look at (tools/screenshots.sh runs it; it is not a test). Usage: SkinGalleryShots OUTPUT-FOLDER
#include <windows.h>

#include "PngWriter.h"
#include "SkinGallery.h"
#include "SkinMdiFrame.h"
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
                              rwtest::kGalleryTab,      rwtest::kGalleryToolBar,  rwtest::kGalleryList,
                              rwtest::kGalleryDateTimeNone};

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

    // The picker's drop button opens its calendar.
    HWND picker = gallery.Item(rwtest::kGalleryDateTime);
    RECT pickerRect;
    ::GetClientRect(picker, &pickerRect);
    LPARAM dropPoint = MAKELPARAM(pickerRect.right - 4, pickerRect.bottom / 2);
    ::SendMessageW(picker, WM_LBUTTONDOWN, MK_LBUTTON, dropPoint);
    ::SendMessageW(picker, WM_LBUTTONUP, 0, dropPoint);
    camera.Shoot(prefix + "datetime-open", whole);
    if (HWND calendar = reinterpret_cast<HWND>(::SendMessageW(picker, DTM_GETMONTHCAL, 0, 0)))
        ::ShowWindow(calendar, SW_HIDE);

    // Pressed looks of the tool bar's first button and the spin's upper half.
    HWND toolBar = gallery.Item(rwtest::kGalleryToolBar);
    ::SendMessageW(toolBar, TB_PRESSBUTTON, 1, TRUE);
    camera.Shoot(prefix + "toolbar-pressed", ScreenRect(toolBar, 4));
    ::SendMessageW(toolBar, TB_PRESSBUTTON, 1, FALSE);
    HWND spin = gallery.Item(rwtest::kGallerySpin);
    RECT spinRect;
    ::GetClientRect(spin, &spinRect);
    ::SendMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(spinRect.right / 2, spinRect.bottom / 4));
    RECT buddyAndSpin, buddyRect = ScreenRect(gallery.Item(rwtest::kGalleryBuddy), 4);
    RECT spinScreen = ScreenRect(spin, 4);
    ::UnionRect(&buddyAndSpin, &buddyRect, &spinScreen);
    camera.Shoot(prefix + "spin-pressed", buddyAndSpin);
    ::SendMessageW(spin, WM_LBUTTONUP, 0, MAKELPARAM(spinRect.right / 2, spinRect.bottom / 4));

    for (HWND child = ::GetWindow(dlg, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ::EnableWindow(child, FALSE);
    camera.Shoot(prefix + "disabled", whole);
}

// An MDI frame with two children side by side, then with one of them maximised.
void ShootMdi(Photographer& camera, const ShotSkin& skin)
{
    std::string prefix = std::string(skin.name) + "-";
    rwtest::SkinMdiFrame frame;
    HWND first = frame.AddChild(L"First", 10, 10, 220, 160);
    frame.AddChild(L"Second", 120, 80, 220, 160);
    RECT whole = ScreenRect(frame.hwnd(), 0);
    camera.Shoot(prefix + "mdi", whole);
    ::SendMessageW(frame.client(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(first), 0);
    RECT rc;
    ::GetWindowRect(frame.hwnd(), &rc);
    ::SetWindowPos(frame.hwnd(), nullptr, 0, 0, rc.right - rc.left + 20, rc.bottom - rc.top, SWP_NOMOVE | SWP_NOZORDER);
    camera.Shoot(prefix + "mdi-maximized", ScreenRect(frame.hwnd(), 0));
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
        ShootMdi(camera, skin);
    }
    WVPSkinManagerDestroy();
    return camera.failures() ? 1 : 0;
}
