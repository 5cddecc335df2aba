// A dialog of our own holding one of every control kind the skin draws, with content that shows
// their parts: skin tests draw it and compare each control's parts, and the screenshot program
// photographs it. Also the capture helpers both use.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "DibCanvas.h"

namespace rwtest
{

// Control identifiers of the gallery.
enum GalleryId
{
    kGalleryPush = 1001,
    kGalleryDefault,
    kGalleryDisabledPush,
    kGalleryCheck,
    kGalleryTriState,
    kGalleryRadio,
    kGalleryLeftTextCheck,
    kGalleryGroup,
    kGalleryGroupRadio,
    kGalleryEdit,
    kGalleryBuddy,
    kGallerySpin,
    kGalleryListBox,
    kGalleryDropList,
    kGalleryDropDown,
    kGalleryDateTime,
    kGalleryTrackBar,
    kGalleryProgress,
    kGalleryTab,
    kGalleryTree,
    kGalleryList,
    kGalleryToolBar,
    kGalleryMonthCal,
    kGalleryStatus,
    kGalleryDateTimeNone,
    // Track bar and progress looks the first row leaves out.
    kGalleryVertTrackBar,
    kGalleryVertProgress,
    kGalleryMarquee,
};

// One control of the gallery: where it sits in dialog client coordinates and what it is.
struct GalleryControl
{
    int id;
    LPCWSTR className;
    LPCWSTR text;
    DWORD style;
    DWORD exStyle;
    int x, y, cx, cy;
};

const DWORD kGalleryChild = WS_CHILD | WS_VISIBLE;

// Every control of the gallery, in tab order. The spin follows its buddy so that it attaches to it.
inline const GalleryControl* GalleryControls(int* count)
{
    static const GalleryControl kControls[] = {
        {kGalleryPush, L"Button", L"Push", kGalleryChild | WS_TABSTOP | BS_PUSHBUTTON, 0, 8, 8, 90, 26},
        {kGalleryDefault, L"Button", L"Default", kGalleryChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 104, 8, 90, 26},
        {kGalleryDisabledPush, L"Button", L"Disabled", kGalleryChild | WS_DISABLED | BS_PUSHBUTTON, 0, 200, 8, 90, 26},
        {kGalleryCheck, L"Button", L"Check", kGalleryChild | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 296, 10, 90, 20},
        {kGalleryTriState, L"Button", L"Three states", kGalleryChild | WS_TABSTOP | BS_AUTO3STATE, 0, 392, 10, 110, 20},
        {kGalleryRadio, L"Button", L"Radio", kGalleryChild | WS_TABSTOP | BS_AUTORADIOBUTTON | WS_GROUP, 0, 508, 10, 90,
         20},
        {kGalleryLeftTextCheck, L"Button", L"Left text", kGalleryChild | WS_TABSTOP | BS_AUTOCHECKBOX | BS_LEFTTEXT, 0,
         8, 40, 100, 20},
        {kGalleryGroup, L"Button", L"Group", kGalleryChild | BS_GROUPBOX, 0, 116, 40, 150, 80},
        {kGalleryGroupRadio, L"Button", L"Inside", kGalleryChild | WS_TABSTOP | BS_AUTORADIOBUTTON | WS_GROUP, 0, 128,
         64, 110, 20},
        {kGalleryEdit, L"Edit", L"One\r\nTwo\r\nThree\r\nFour\r\nFive\r\nSix\r\nSeven\r\nEight\r\nNine\r\nTen",
         kGalleryChild | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, WS_EX_CLIENTEDGE, 274,
         44, 150, 76},
        {kGalleryBuddy, L"Edit", L"5", kGalleryChild | WS_TABSTOP | ES_NUMBER, WS_EX_CLIENTEDGE, 432, 44, 70, 22},
        {kGallerySpin, UPDOWN_CLASSW, L"",
         kGalleryChild | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_AUTOBUDDY | UDS_NOTHOUSANDS, 0, 0, 0, 0,
         0},
        {kGalleryListBox, L"ListBox", L"", kGalleryChild | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
         WS_EX_CLIENTEDGE, 510, 44, 120, 76},
        {kGalleryDropList, L"ComboBox", L"", kGalleryChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 8, 132, 150,
         160},
        {kGalleryDropDown, L"ComboBox", L"", kGalleryChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN, 0, 166, 132, 150,
         160},
        {kGalleryDateTime, DATETIMEPICK_CLASSW, L"", kGalleryChild | WS_TABSTOP | DTS_SHORTDATEFORMAT, 0, 324, 132, 150,
         24},
        {kGalleryTrackBar, TRACKBAR_CLASSW, L"", kGalleryChild | WS_TABSTOP | TBS_AUTOTICKS | TBS_BOTTOM, 0, 482, 128,
         150, 34},
        {kGalleryProgress, PROGRESS_CLASSW, L"", kGalleryChild, 0, 8, 172, 200, 18},
        {kGalleryTab, WC_TABCONTROLW, L"", kGalleryChild | WS_TABSTOP, 0, 216, 170, 200, 96},
        {kGalleryTree, WC_TREEVIEWW, L"",
         kGalleryChild | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
         WS_EX_CLIENTEDGE, 424, 170, 208, 96},
        {kGalleryList, WC_LISTVIEWW, L"", kGalleryChild | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE,
         8, 276, 300, 100},
        {kGalleryToolBar, TOOLBARCLASSNAMEW, L"",
         kGalleryChild | TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, 0, 316, 276,
         556, 28},
        {kGalleryMonthCal, MONTHCAL_CLASSW, L"", kGalleryChild, 0, 640, 8, 0, 0},
        {kGalleryStatus, STATUSCLASSNAMEW, L"Ready", kGalleryChild | SBARS_SIZEGRIP, 0, 0, 0, 0, 0},
        {kGalleryDateTimeNone, DATETIMEPICK_CLASSW, L"",
         kGalleryChild | WS_TABSTOP | DTS_SHORTDATEFORMAT | DTS_SHOWNONE | DTS_UPDOWN, 0, 316, 312, 150, 24},
        {kGalleryVertTrackBar, TRACKBAR_CLASSW, L"",
         kGalleryChild | WS_TABSTOP | TBS_VERT | TBS_BOTH | TBS_AUTOTICKS | TBS_ENABLESELRANGE, 0, 640, 196, 48, 76},
        {kGalleryVertProgress, PROGRESS_CLASSW, L"", kGalleryChild | PBS_VERTICAL, 0, 696, 196, 18, 76},
        {kGalleryMarquee, PROGRESS_CLASSW, L"", kGalleryChild | PBS_MARQUEE, 0, 722, 196, 150, 18},
    };
    *count = int(sizeof(kControls) / sizeof(kControls[0]));
    return kControls;
}

// The gallery dialog: made visible at the screen's top-left corner, filled with content, and
// destroyed with the object.
class SkinGallery
{
  public:
    static const int kWidth = 880;
    static const int kHeight = 420;

    SkinGallery()
    {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&icc);
        // An empty dialog template: the controls are created below from the table.
        struct
        {
            DLGTEMPLATE dlg;
            WORD menu, windowClass, title;
        } tmpl = {};
        tmpl.dlg.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
        m_hWnd = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), &tmpl.dlg, nullptr, &DialogProc, 0);
        if (!m_hWnd)
            return;
        ::SetWindowTextW(m_hWnd, L"Gallery");
        RECT rc = {0, 0, kWidth, kHeight};
        ::AdjustWindowRectEx(&rc, DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE)), FALSE,
                             DWORD(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)));
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE);
        int count = 0;
        const GalleryControl* controls = GalleryControls(&count);
        for (int i = 0; i < count; ++i)
        {
            const GalleryControl& c = controls[i];
            ::CreateWindowExW(c.exStyle, c.className, c.text, c.style, c.x, c.y, c.cx, c.cy, m_hWnd,
                              reinterpret_cast<HMENU>(INT_PTR(c.id)), ::GetModuleHandleW(nullptr), nullptr);
        }
        Fill();
        ::ShowWindow(m_hWnd, SW_SHOW);
        ::SetForegroundWindow(m_hWnd);
        ::UpdateWindow(m_hWnd);
        Pump();
    }
    ~SkinGallery()
    {
        if (m_hWnd)
            ::DestroyWindow(m_hWnd);
        Pump();
    }
    SkinGallery(const SkinGallery&) = delete;
    SkinGallery& operator=(const SkinGallery&) = delete;

    HWND hwnd() const
    {
        return m_hWnd;
    }
    HWND Item(int id) const
    {
        return ::GetDlgItem(m_hWnd, id);
    }
    // Dispatches everything waiting for this thread, then repaints what is invalid.
    static void Pump()
    {
        MSG msg;
        for (int round = 0; round < 3; ++round)
        {
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            ::GdiFlush();
        }
    }

    // Dispatches messages until the condition holds, waiting for timer-driven ones (mouse
    // tracking) for at most the given time; answers the condition.
    template <typename Condition> static bool PumpUntil(Condition condition, DWORD maxMilliseconds = 5000)
    {
        DWORD start = ::GetTickCount();
        for (;;)
        {
            Pump();
            if (condition())
                return true;
            if (::GetTickCount() - start > maxMilliseconds)
                return false;
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
    }

  private:
    static INT_PTR CALLBACK DialogProc(HWND, UINT message, WPARAM, LPARAM)
    {
        return message == WM_INITDIALOG;
    }

    void Fill()
    {
        static const wchar_t* const kWords[] = {L"Alpha",   L"Bravo", L"Charlie", L"Delta", L"Echo",
                                                L"Foxtrot", L"Golf",  L"Hotel",   L"India", L"Juliet"};
        for (const wchar_t* word : kWords)
        {
            ::SendMessageW(Item(kGalleryListBox), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(word));
            ::SendMessageW(Item(kGalleryDropList), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(word));
            ::SendMessageW(Item(kGalleryDropDown), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(word));
        }
        ::SendMessageW(Item(kGalleryListBox), LB_SETCURSEL, 1, 0);
        ::SendMessageW(Item(kGalleryDropList), CB_SETCURSEL, 2, 0);
        ::SendMessageW(Item(kGalleryDropDown), CB_SETCURSEL, 3, 0);
        ::SendMessageW(Item(kGalleryCheck), BM_SETCHECK, BST_CHECKED, 0);
        ::SendMessageW(Item(kGalleryTriState), BM_SETCHECK, BST_INDETERMINATE, 0);
        ::SendMessageW(Item(kGalleryRadio), BM_SETCHECK, BST_CHECKED, 0);

        ::SendMessageW(Item(kGallerySpin), UDM_SETRANGE32, 0, 10);
        ::SendMessageW(Item(kGallerySpin), UDM_SETPOS32, 0, 5);

        HWND track = Item(kGalleryTrackBar);
        ::SendMessageW(track, TBM_SETRANGE, FALSE, MAKELPARAM(0, 10));
        ::SendMessageW(track, TBM_SETTICFREQ, 2, 0);
        ::SendMessageW(track, TBM_SETPOS, TRUE, 4);
        ::SendMessageW(Item(kGalleryProgress), PBM_SETRANGE32, 0, 100);
        ::SendMessageW(Item(kGalleryProgress), PBM_SETPOS, 60, 0);
        HWND vertTrack = Item(kGalleryVertTrackBar);
        ::SendMessageW(vertTrack, TBM_SETRANGE, FALSE, MAKELPARAM(0, 20));
        ::SendMessageW(vertTrack, TBM_SETTICFREQ, 5, 0);
        ::SendMessageW(vertTrack, TBM_SETSEL, FALSE, MAKELPARAM(4, 12));
        ::SendMessageW(vertTrack, TBM_SETPOS, TRUE, 8);
        ::SendMessageW(Item(kGalleryVertProgress), PBM_SETRANGE32, 0, 100);
        ::SendMessageW(Item(kGalleryVertProgress), PBM_SETPOS, 35, 0);
        // A still marquee, moved on by hand so that pictures of it stay the same.
        ::SendMessageW(Item(kGalleryMarquee), PBM_SETMARQUEE, TRUE, 0);
        for (int step = 0; step < 3; ++step)
            ::SendMessageW(Item(kGalleryMarquee), PBM_STEPIT, 0, 0);

        static const wchar_t* const kTabs[] = {L"General", L"Video", L"Audio"};
        for (int i = 0; i < 3; ++i)
        {
            TCITEMW item = {};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<LPWSTR>(kTabs[i]);
            ::SendMessageW(Item(kGalleryTab), TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
        }

        HWND tree = Item(kGalleryTree);
        HTREEITEM parent = InsertTreeItem(tree, TVI_ROOT, L"Videos");
        InsertTreeItem(tree, parent, L"Holiday.mp4");
        InsertTreeItem(tree, parent, L"Concert.avi");
        HTREEITEM music = InsertTreeItem(tree, TVI_ROOT, L"Music");
        InsertTreeItem(tree, music, L"Song.mp3");
        ::SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
        ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(parent));

        HWND list = Item(kGalleryList);
        static const wchar_t* const kColumns[] = {L"Name", L"Size", L"Status"};
        for (int i = 0; i < 3; ++i)
        {
            LVCOLUMNW column = {};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            column.fmt = LVCFMT_LEFT;
            column.cx = i == 0 ? 120 : 80;
            column.pszText = const_cast<LPWSTR>(kColumns[i]);
            ::SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
        }
        for (int row = 0; row < 3; ++row)
        {
            LVITEMW item = {};
            item.mask = LVIF_TEXT;
            item.iItem = row;
            item.pszText = const_cast<LPWSTR>(kWords[row]);
            ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        }
        HDITEMW sorted = {};
        sorted.mask = HDI_FORMAT;
        sorted.fmt = HDF_STRING | HDF_LEFT | HDF_SORTUP;
        ::SendMessageW(reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0)), HDM_SETITEMW, 0,
                       reinterpret_cast<LPARAM>(&sorted));

        HWND toolBar = Item(kGalleryToolBar);
        ::SendMessageW(toolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        ::SendMessageW(toolBar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
        static const wchar_t kStrings[] = L"Open\0Save\0Checked\0Off\0Menu\0More\0";
        ::SendMessageW(toolBar, TB_ADDSTRINGW, 0, reinterpret_cast<LPARAM>(kStrings));
        TBBUTTON buttons[] = {
            {I_IMAGENONE, 1, TBSTATE_ENABLED, BTNS_BUTTON | BTNS_AUTOSIZE, {}, 0, 0},
            {I_IMAGENONE, 2, TBSTATE_ENABLED, BTNS_BUTTON | BTNS_AUTOSIZE, {}, 0, 1},
            {0, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, 0},
            {I_IMAGENONE, 3, TBSTATE_ENABLED | TBSTATE_CHECKED, BTNS_CHECK | BTNS_AUTOSIZE, {}, 0, 2},
            {I_IMAGENONE, 4, 0, BTNS_BUTTON | BTNS_AUTOSIZE, {}, 0, 3},
            {I_IMAGENONE, 5, TBSTATE_ENABLED, BTNS_DROPDOWN | BTNS_AUTOSIZE, {}, 0, 4},
            {I_IMAGENONE, 6, TBSTATE_ENABLED, BTNS_WHOLEDROPDOWN | BTNS_AUTOSIZE, {}, 0, 5},
        };
        ::SendMessageW(toolBar, TB_ADDBUTTONSW, sizeof(buttons) / sizeof(buttons[0]),
                       reinterpret_cast<LPARAM>(buttons));

        ::SendMessageW(Item(kGalleryDateTimeNone), DTM_SETSYSTEMTIME, GDT_NONE, 0);

        HWND monthCal = Item(kGalleryMonthCal);
        RECT need = {};
        ::SendMessageW(monthCal, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
        ::SetWindowPos(monthCal, nullptr, 0, 0, need.right - need.left, need.bottom - need.top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    static HTREEITEM InsertTreeItem(HWND tree, HTREEITEM parent, LPCWSTR text)
    {
        TVINSERTSTRUCTW insert = {};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = const_cast<LPWSTR>(text);
        return reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    }

    HWND m_hWnd = nullptr;
};

// The window's client area as the window prints it (WM_PRINTCLIENT) into a canvas.
inline void PrintClient(HWND hwnd, DibCanvas& canvas)
{
    ::SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    ::GdiFlush();
}

// Puts the real cursor on the middle of a rectangle of the window's client area.
inline void MoveCursorToClient(HWND hwnd, const RECT& rc)
{
    POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ::ClientToScreen(hwnd, &pt);
    ::SetCursorPos(pt.x, pt.y);
    SkinGallery::Pump();
}

// The window's whole rectangle as it stands on the screen.
inline void CaptureScreen(HWND hwnd, DibCanvas& canvas)
{
    RECT rc;
    ::GetWindowRect(hwnd, &rc);
    HDC screen = ::GetDC(nullptr);
    ::BitBlt(canvas.dc(), 0, 0, rc.right - rc.left, rc.bottom - rc.top, screen, rc.left, rc.top, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
    ::GdiFlush();
}

// Pixels of the canvas inside the rectangle (less the excluded one) that differ from the expected
// canvas, whose origin sits at the rectangle's top-left corner.
inline int RegionDifferences(const DibCanvas& actual, const RECT& rc, const DibCanvas& expected,
                             const RECT* exclude = nullptr)
{
    int differences = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
        {
            POINT pt = {x, y};
            if (exclude && ::PtInRect(exclude, pt))
                continue;
            if (actual.Rgb(x, y) != expected.Rgb(x - rc.left, y - rc.top) && ++differences <= 5)
                ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << actual.Rgb(x, y) << " expected "
                              << expected.Rgb(x - rc.left, y - rc.top) << std::dec;
        }
    return differences;
}

} // namespace rwtest
