// Screenshot of a popup menu taller than the screen, scrolled to its middle so that both arrow
// areas show, for CommandBarShots.
#include "DibCanvas.h"
#include "PngWriter.h"
#include "SkinGallery.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/PopupBar.h"

#include <stdio.h>

#include <string>

int ShootScrollingMenu(const std::string& folder)
{
    const int width = 360, height = ::GetSystemMetrics(SM_CYSCREEN);
    HWND host = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    CWVPPopupBar* popup = CWVPPopupBar::CreatePopupBar(nullptr);
    for (int i = 0; i < 80; ++i)
    {
        WCHAR caption[48];
        ::wsprintfW(caption, L"Conversion profile %d", i + 1);
        CWVPControl* item = popup->GetControls()->AddByType(wvpControlButton, 3000 + i);
        item->SetCaption(caption);
        item->SetBeginGroup(i > 0 && i % 8 == 0);
    }
    popup->SetSite(host);
    popup->SetPopupPoint(CPoint(20, 10));
    popup->SetOpenDirection(WVP_POPUP_OPENBELOW);
    int failures = 0;
    if (popup->Popup(nullptr, FALSE) && popup->IsScrolling())
    {
        // The keyboard brings item 50 into view: items above and below are cut off.
        popup->SetSelected(50, TRUE);
        ::RedrawWindow(popup->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        rwtest::SkinGallery::Pump();
        RECT rc;
        ::GetWindowRect(host, &rc);
        DibCanvas canvas(rc.right - rc.left, rc.bottom - rc.top);
        rwtest::CaptureScreen(host, canvas);
        RECT all = {0, 0, rc.right - rc.left, rc.bottom - rc.top};
        const std::string path = folder + "/commandbar-scrolling.png";
        const bool ok = rwtest::WritePng(path, canvas, all);
        printf("%s %s\n", ok ? "wrote" : "FAILED", path.c_str());
        failures += !ok;
        popup->SetTrackingMode(0);
    }
    else
    {
        printf("FAILED to open the long menu as a scrolling popup\n");
        ++failures;
    }
    popup->InternalRelease();
    ::DestroyWindow(host);
    return failures;
}
