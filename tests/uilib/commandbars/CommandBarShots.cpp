// Photographs command bars drawn by the classic theme into PNG files, for a person to look at
// (tools/screenshots.sh runs it; it is not a test): a tool bar with buttons in every state, icons
// with and without captions, a split button and a drop-down, and a popup column; then a bar window
// with a hot and a pressed button, and the same bar tracking with its keyboard tips up; and an
// open popup menu with its submenu.
// Usage: CommandBarShots OUTPUT-FOLDER
#include <windows.h>

#include "CommandBarFieldShots.h"
#include "DibCanvas.h"
#include "PngWriter.h"
#include "SkinGallery.h"
#include "platform/mfc/ExitSequence.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/ControlPopup.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/commandbars/PopupBar.h"
#include "uilib/commandbars/ShadowManager.h"
#include "uilib/foundation/ImageManager.h"

#include <stdio.h>

#include <string>

namespace
{
const int kWidth = 720;
const int kHeight = 330;
const UINT kIconFirst = 100;
const int kIconCount = 8;
const LPCWSTR kClassName = L"RwCommandBarShots";

// Simple pictures for the buttons: a coloured tile with a dark border and a light corner, drawn
// into a 32-bit bitmap whose key colour is the image manager's mask colour.
void AddIcons(int side)
{
    static const COLORREF kColors[kIconCount] = {RGB(30, 110, 200), RGB(40, 160, 60),  RGB(210, 60, 50),
                                                 RGB(230, 170, 20), RGB(130, 70, 170), RGB(20, 150, 150),
                                                 RGB(200, 100, 20), RGB(90, 90, 90)};
    CWVPImageManager* images = WVPImageManager();
    const COLORREF mask = images->GetMaskColor();
    for (int i = 0; i < kIconCount; ++i)
    {
        DWORD* bits = nullptr;
        HBITMAP bitmap = CWVPImageManager::CreateDIBSection32(nullptr, side, side, reinterpret_cast<void**>(&bits));
        const int inset = side / 8;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
            {
                COLORREF c = mask;
                if (x >= inset && x < side - inset && y >= inset && y < side - inset)
                {
                    const bool edge = x == inset || y == inset || x == side - inset - 1 || y == side - inset - 1;
                    const bool corner = x < side / 2 && y < side / 2 && (x + y) % 3 == 0;
                    c = edge ? RGB(20, 20, 40) : corner ? RGB(250, 250, 250) : kColors[i];
                }
                bits[y * side + x] = DWORD(GetRValue(c)) << 16 | DWORD(GetGValue(c)) << 8 | GetBValue(c);
            }
        const UINT id = kIconFirst + UINT(i);
        images->SetIconsFromBitmap(bitmap, &id, 1, side, side, 0, FALSE);
        ::DeleteObject(bitmap);
    }
}

CWVPControl* AddButton(CWVPCommandBar* bar, int type, int id, LPCWSTR caption, int style = 0)
{
    CWVPControl* control = bar->GetControls()->AddByType(type, id);
    control->SetCaption(caption);
    control->SetStyle(style);
    return control;
}

// The bars of the picture, laid out once.
struct Bars
{
    CWVPCommandBar* toolBar = nullptr;
    CWVPCommandBar* captionBar = nullptr;
    CWVPPopupBar* popup = nullptr;
    CSize toolSize, captionSize, popupSize;

    Bars()
    {
        toolBar = static_cast<CWVPCommandBar*>(CWVPCommandBar::CreateObject());
        toolBar->SetPosition(wvpBarTop);
        // Icons only, in their states: normal, hot, pressed, checked, checked and hot, disabled.
        AddButton(toolBar, wvpControlButton, kIconFirst, L"Normal");
        AddButton(toolBar, wvpControlButton, kIconFirst + 1, L"Hot")->SetSelectedState(1);
        CWVPControl* pressed = AddButton(toolBar, wvpControlButton, kIconFirst + 2, L"Pressed");
        pressed->SetSelectedState(1);
        pressed->SetPressed(1);
        AddButton(toolBar, wvpControlButton, kIconFirst + 3, L"Checked")->SetChecked(1);
        CWVPControl* checkedHot = AddButton(toolBar, wvpControlButton, kIconFirst + 4, L"Checked, hot");
        checkedHot->SetChecked(1);
        checkedHot->SetSelectedState(1);
        AddButton(toolBar, wvpControlButton, kIconFirst + 5, L"Disabled")->SetEnabled(0);
        // Icons with captions, a split button and a drop-down, after a separator.
        CWVPControl* open = AddButton(toolBar, wvpControlButton, kIconFirst, L"&Open", wvpButtonIconAndCaption);
        open->SetBeginGroup(TRUE);
        AddButton(toolBar, wvpControlSplitButtonPopup, kIconFirst + 6, L"&Undo", wvpButtonIconAndCaption);
        AddButton(toolBar, wvpControlSplitButtonPopup, kIconFirst + 7, L"Redo")->SetSelectedState(1);
        AddButton(toolBar, wvpControlPopup, 0, L"&View");
        AddButton(toolBar, wvpControlButton, kIconFirst + 1, L"Disabled", wvpButtonIconAndCaption)->SetEnabled(0);

        captionBar = static_cast<CWVPCommandBar*>(CWVPCommandBar::CreateObject());
        captionBar->SetPosition(wvpBarTop);
        AddButton(captionBar, wvpControlButton, 0, L"Caption only");
        AddButton(captionBar, wvpControlButton, 0, L"Hot caption")->SetSelectedState(1);
        AddButton(captionBar, wvpControlButton, 0, L"Checked caption")->SetChecked(1);
        AddButton(captionBar, wvpControlButton, 0, L"Disabled caption")->SetEnabled(0);
        CWVPControl* large = AddButton(captionBar, wvpControlButton, kIconFirst + 2, L"Large button",
                                       wvpButtonIconAndCaptionBelow);
        large->SetBeginGroup(TRUE);
        AddButton(captionBar, wvpControlSplitButtonPopup, kIconFirst + 3, L"Large split",
                  wvpButtonIconAndCaptionBelow);

        popup = CWVPPopupBar::CreatePopupBar(nullptr);
        AddButton(popup, wvpControlButton, kIconFirst, L"&New\tCtrl+N");
        AddButton(popup, wvpControlButton, kIconFirst + 1, L"&Open...\tCtrl+O")->SetSelectedState(1);
        AddButton(popup, wvpControlButton, 0, L"&Word wrap")->SetChecked(1);
        CWVPControl* checkedIcon = AddButton(popup, wvpControlButton, kIconFirst + 3, L"Show &toolbar");
        checkedIcon->SetChecked(1);
        AddButton(popup, wvpControlButton, kIconFirst + 5, L"&Disabled item")->SetEnabled(0);
        CWVPControl* recent = AddButton(popup, wvpControlPopup, 0, L"&Recent files");
        recent->SetBeginGroup(TRUE);
        AddButton(popup, wvpControlSplitButtonPopup, kIconFirst + 6, L"&Split item");
        AddButton(popup, wvpControlButton, 0, L"E&xit\tAlt+F4");
    }
    ~Bars()
    {
        toolBar->InternalRelease();
        captionBar->InternalRelease();
        popup->InternalRelease();
    }

    void Layout(CDC* pDC)
    {
        const DWORD mode = 0x08 | 0x40; // docked horizontally, commit
        toolSize = toolBar->GetControls()->CalcDynamicSize(pDC, kWidth - 20, mode, CRect(2, 2, 2, 2));
        captionSize = captionBar->GetControls()->CalcDynamicSize(pDC, kWidth - 20, mode, CRect(2, 2, 2, 2));
        CWVPPaintManager* pm = CWVPPaintManager::GetInstance();
        popupSize = popup->GetControls()->CalcPopupSize(pDC, 0, 0, pm->GetCommandBarBorders(popup));
    }
};

// A bar's background and controls drawn at an origin.
void DrawBar(CDC* pDC, CWVPCommandBar* bar, CPoint origin, CSize size)
{
    CWVPPaintManager* pm = CWVPPaintManager::GetInstance();
    POINT old;
    ::SetViewportOrgEx(pDC->GetSafeHdc(), origin.x, origin.y, &old);
    CRect rc(CPoint(0, 0), size);
    pDC->FillSolidRect(rc, pm->GetColor(COLOR_BTNFACE));
    if (bar->GetType() == wvpBarTypePopup)
    {
        pm->Draw3dRect(pDC, rc, COLOR_BTNFACE, COLOR_3DDKSHADOW);
        rc.DeflateRect(1, 1);
    }
    pm->Draw3dRect(pDC, rc, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    CWVPControls* controls = bar->GetControls();
    for (int i = 0; i < controls->GetCount(); ++i)
    {
        CWVPControl* control = controls->GetAt(i);
        if (!control->IsVisible(0))
            continue;
        if (control->GetBeginGroup() && i > 0)
            pm->DrawCommandBarSeparator(pDC, bar, control, TRUE);
        control->Draw(pDC);
    }
    ::SetViewportOrgEx(pDC->GetSafeHdc(), old.x, old.y, nullptr);
}

// Photographs the window as the screen shows it (popups over it included) into the folder; 1 when
// the picture could not be written.

// A bar window in a host: hot and pressed buttons, then tracking with its keyboard tips shown.
int ShootBarWindow(const std::string& folder)
{
    const int width = 520, height = 90;
    HWND host = ::CreateWindowExW(0, kClassName, L"Bar window", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                                  nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    CWVPCommandBarManager* manager = new CWVPCommandBarManager;
    manager->SetSite(host);
    CWVPCommandBar* bar = static_cast<CWVPCommandBar*>(CWVPCommandBar::CreateObject());
    bar->SetPosition(wvpBarTop);
    bar->SetCommandBars(manager);
    bar->CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), L"", WS_CHILD | WS_VISIBLE, 10, 10, width - 20, 30, host,
                  nullptr);
    AddButton(bar, wvpControlButton, kIconFirst, L"&New", wvpButtonIconAndCaption);
    AddButton(bar, wvpControlButton, kIconFirst + 1, L"&Open", wvpButtonIconAndCaption);
    AddButton(bar, wvpControlButton, kIconFirst + 2, L"Save", wvpButtonIconAndCaption);
    AddButton(bar, wvpControlButton, kIconFirst + 3, L"Save As", wvpButtonIconAndCaption);
    AddButton(bar, wvpControlButton, 0, L"Settings")->SetBeginGroup(TRUE);
    AddButton(bar, wvpControlButton, 0, L"E&xit")->SetEnabled(0);
    {
        CClientDC dc(bar);
        const DWORD mode = 0x08 | 0x40; // docked horizontally, commit
        // The gripper takes the left edge.
        const CSize size = bar->GetControls()->CalcDynamicSize(&dc, width - 20, mode, CRect(10, 2, 2, 2));
        ::SetWindowPos(bar->GetSafeHwnd(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    }
    // Hot: Open under the mouse; pressed: Save held down.
    bar->SetSelected(1, FALSE);
    bar->GetControl(2)->SetSelectedState(1);
    bar->GetControl(2)->SetPressed(1);
    ::RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    rwtest::SkinGallery::Pump();
    int failures = 0;
    auto shoot = [&](const char* name) { failures += ShootScreen(host, folder, name); };
    shoot("commandbar-window.png");

    // As after Alt: the bar tracks from the keyboard and labels its controls.
    bar->GetControl(2)->SetPressed(0);
    bar->GetControl(2)->SetSelectedState(0);
    bar->SetTrackingMode(1, TRUE, TRUE);
    manager->ShowKeyboardTips(bar, 1);
    ::RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    rwtest::SkinGallery::Pump();
    shoot("commandbar-keytips.png");
    bar->SetTrackingMode(0, TRUE, FALSE);
    bar->InternalRelease();
    manager->InternalRelease();
    ::DestroyWindow(host);
    return failures;
}

// An open popup menu built from a menu, with its submenu open: shortcut texts, a checked item, a
// disabled item and the shadows (forced on: the system setting is off here).
int ShootPopupMenu(const std::string& folder)
{
    const int width = 520, height = 300;
    HWND host = ::CreateWindowExW(0, kClassName, L"Popup menu", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                                  nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING, 200, L"&New\tCtrl+N");
    ::AppendMenuW(menu, MF_STRING, 201, L"&Open...\tCtrl+O");
    ::AppendMenuW(menu, MF_STRING | MF_CHECKED, 202, L"&Word wrap");
    ::AppendMenuW(menu, MF_STRING | MF_GRAYED, 203, L"&Paste\tCtrl+V");
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    HMENU recent = ::CreatePopupMenu();
    ::AppendMenuW(recent, MF_STRING, 210, L"&1 holiday.avi");
    ::AppendMenuW(recent, MF_STRING | MF_CHECKED, 211, L"&2 concert.mp4");
    ::AppendMenuW(recent, MF_STRING | MF_GRAYED, 212, L"&3 missing.wmv");
    ::AppendMenuW(menu, MF_POPUP, UINT_PTR(recent), L"&Recent files");
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, 204, L"E&xit\tAlt+F4");

    CWVPPaintManager* pm = CWVPPaintManager::GetInstance();
    pm->m_pShadowManager->SetShadowOptions(CWVPShadowManager::ShadowOptionForce);
    CWVPPopupBar* popup = CWVPPopupBar::CreatePopupBar(nullptr);
    popup->LoadMenu(CMenu::FromHandle(menu), TRUE);
    popup->SetSite(host);
    popup->SetPopupPoint(CPoint(20, 20));
    popup->SetOpenDirection(WVP_POPUP_OPENBELOW);
    int failures = 0;
    if (popup->Popup(nullptr, FALSE))
    {
        // The submenu opens from its item, and its second item is hot.
        popup->SetPopuped(4, FALSE);
        CWVPControl* item = popup->GetControl(4);
        CWVPCommandBar* sub = item ? item->GetCommandBar() : nullptr;
        if (sub)
            sub->SetSelected(1, FALSE);
        ::RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        rwtest::SkinGallery::Pump();
        failures += ShootScreen(host, folder, "commandbar-popup.png");
        popup->SetTrackingMode(0);
    }
    else
    {
        printf("FAILED to open the popup menu\n");
        ++failures;
    }
    popup->InternalRelease();
    pm->m_pShadowManager->SetShadowOptions(0);
    ::DestroyMenu(menu);
    ::DestroyWindow(host);
    return failures;
}

Bars* g_bars = nullptr;

void Paint(HDC hdc)
{
    CDC dc;
    dc.Attach(hdc);
    CWVPPaintManager* pm = CWVPPaintManager::GetInstance();
    dc.FillSolidRect(0, 0, kWidth, kHeight, pm->GetColor(COLOR_APPWORKSPACE));
    g_bars->Layout(&dc);
    DrawBar(&dc, g_bars->toolBar, CPoint(10, 10), g_bars->toolSize);
    DrawBar(&dc, g_bars->captionBar, CPoint(10, 20 + g_bars->toolSize.cy), g_bars->captionSize);
    DrawBar(&dc, g_bars->popup, CPoint(10, 30 + g_bars->toolSize.cy + g_bars->captionSize.cy), g_bars->popupSize);
    dc.Detach();
}

LRESULT CALLBACK ShotProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    try
    {
        switch (message)
        {
        case WM_PAINT:
        {
            if (!g_bars)
                break;
            PAINTSTRUCT ps;
            HDC hdc = ::BeginPaint(hwnd, &ps);
            Paint(hdc);
            ::EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_PRINTCLIENT:
            if (!g_bars)
                break;
            Paint(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_ERASEBKGND:
            if (!g_bars)
                break;
            return 1;
        default:
            break;
        }
    }
    catch (...)
    {
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}
} // namespace

int ShootScreen(HWND hwnd, const std::string& folder, const char* name)
{
    RECT rc;
    ::GetWindowRect(hwnd, &rc);
    DibCanvas canvas(rc.right - rc.left, rc.bottom - rc.top);
    rwtest::CaptureScreen(hwnd, canvas);
    RECT all = {0, 0, rc.right - rc.left, rc.bottom - rc.top};
    const std::string path = folder + "/" + name;
    const bool ok = rwtest::WritePng(path, canvas, all);
    printf("%s %s\n", ok ? "wrote" : "FAILED", path.c_str());
    return ok ? 0 : 1;
}

// A long popup menu scrolled to its middle (CommandBarScrollShots.cpp).
int ShootScrollingMenu(const std::string& folder);

int main(int argc, char** argv)
{
    const std::string folder = argc > 1 ? argv[1] : ".";
    CWVPPaintManager::SetTheme(0);
    AddIcons(16);
    AddIcons(32);
    int failures = 0;
    {
        Bars bars;
        g_bars = &bars;
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ShotProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kClassName;
        wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        wc.hbrBackground = HBRUSH(COLOR_APPWORKSPACE + 1);
        ::RegisterClassW(&wc);
        HWND hwnd = ::CreateWindowExW(0, kClassName, L"Command bars", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight,
                                      nullptr, nullptr, wc.hInstance, nullptr);
        ::UpdateWindow(hwnd);
        rwtest::SkinGallery::Pump();

        DibCanvas canvas(kWidth, kHeight);
        rwtest::PrintClient(hwnd, canvas);
        RECT all = {0, 0, kWidth, kHeight};
        const std::string path = folder + "/commandbars-default.png";
        const bool ok = rwtest::WritePng(path, canvas, all);
        printf("%s %s\n", ok ? "wrote" : "FAILED", path.c_str());
        failures += !ok;
        ::DestroyWindow(hwnd);
        g_bars = nullptr;
        failures += ShootBarWindow(folder);
        failures += ShootPopupMenu(folder);
        failures += ShootScrollingMenu(folder);
        failures += ShootFieldsBar(folder);
    }
    CWVPPaintManager::ReleaseInstance();
    AfxRunExitHandlers();
    return failures ? 1 : 0;
}
