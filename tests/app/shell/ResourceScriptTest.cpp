// The program's resource script read back from the linked resources: every template creates its
// window with the controls the panels and dialogs bind, the menus and accelerators carry their
// commands, and the generated pictures have their sizes and magenta key.
#include "RwTest.h"
#include "WideText.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace
{
INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

struct TemplateCase
{
    int id;
    bool child;
    std::vector<int> controls;
};

const TemplateCase kTemplates[] = {
    {IDD_ABOUTBOX, false, {1220, 1221, 1229, 1225, 1228, 1226, 1223, IDOK}},
    {IDD_OPTION_GENERAL, true, {1240, 1038, 1241, 1103, 1200, 1023, 1026}},
    {IDD_OPTION_CONVERT, true, {1040, 1039, 1238, 1239, 1100, 1015}},
    {IDD_BUTTONBAR, true, {32772, 32773, 32774, 32775, 32780, 32776, 32777}},
    {IDD_MAINWND, true, {1105, 1006, 1013, 1108, 1008, 1010, 1012, 1236, 1014}},
    {IDD_PARAMWND,
     true,
     {1003, 1110, 1001, 1111, 1002, 1241, 1112, 1005, 1115, 1007, 1116, 1009, 1117, 1011, 1245, 1246, 1244}},
    {IDD_PLAYERWND, true, {1036, 1032, 1022, 1025, 1028, 1034, 1030}},
    {IDD_LISTWND, true, {1004}},
    {IDD_PROPERTY, false, {1016, 1019, 1020, IDOK}},
    {IDD_PROP_GENERAL, true, {1119, 1120, 1121, 1017, 1122, 1123, 1124, 1125, 1126, 1127, 1128,
                              1129, 1130, 1131, 1132, 1133, 1135, 1137, 1027, 1029, 1031, 1024,
                              1033, 1035, 1037, 1039, 1041, 1043, 1101, 1104, 1107, 1109}},
    {IDD_LOGDLG, false, {1237, IDOK, IDCANCEL}},
    {IDD_ERRORLIST, false, {IDOK, 1306, 1309}},
    {IDD_CUSTOMSPLIT, false, {1203, 1205, 1208, IDOK, IDCANCEL}},
    {IDD_RESOLUTION, false, {1211, 1206, 1106, 1209, 1213, 1214, IDOK, IDCANCEL}},
};

std::string ClassOf(HWND window)
{
    WCHAR name[64] = {};
    ::GetClassNameW(window, name, 64);
    return rwtest::Utf8(name);
}

std::string TextOf(HWND window)
{
    WCHAR text[256] = {};
    ::GetWindowTextW(window, text, 256);
    return rwtest::Utf8(text);
}

// Command ids of a menu tree, depth first, separators as 0 and sub-menus as -1.
void CollectIds(HMENU menu, std::vector<int>& ids)
{
    for (int i = 0; i < ::GetMenuItemCount(menu); i++)
    {
        HMENU sub = ::GetSubMenu(menu, i);
        if (sub)
        {
            ids.push_back(-1);
            CollectIds(sub, ids);
        }
        else
            ids.push_back(int(::GetMenuItemID(menu, i)));
    }
}

std::vector<int> MenuIds(int id)
{
    HMENU menu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
    std::vector<int> ids;
    if (menu)
    {
        CollectIds(menu, ids);
        ::DestroyMenu(menu);
    }
    return ids;
}
} // namespace

TEST(ResourceScript, EveryTemplateCreatesItsControls)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, 0xFF};
    ASSERT_TRUE(::InitCommonControlsEx(&icc));
    HWND host = ::CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr, nullptr,
                                  nullptr);
    ASSERT_NE(host, nullptr);
    for (const TemplateCase& t : kTemplates)
    {
        SCOPED_TRACE(t.id);
        HWND dialog =
            ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(t.id), host, QuietDialogProc, 0);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ((::GetWindowLongW(dialog, GWL_STYLE) & WS_CHILD) != 0, t.child);
        for (int control : t.controls)
            EXPECT_NE(::GetDlgItem(dialog, control), nullptr) << "control " << control;
        ::DestroyWindow(dialog);
    }
    ::DestroyWindow(host);
}

// Every drop-down list of the program opens at least kMinDroppedRows rows tall (all of them when it
// has fewer), while the closed box keeps the height of one row.
TEST(ResourceScript, EveryDropDownOpensSeveralRows)
{
    const int kMinDroppedRows = 8;
    const int kItems = 20;
    HWND host = ::CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr, nullptr,
                                  nullptr);
    int combos = 0;
    for (const TemplateCase& t : kTemplates)
    {
        HWND dialog =
            ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(t.id), host, QuietDialogProc, 0);
        ASSERT_NE(dialog, nullptr);
        for (HWND combo = ::GetWindow(dialog, GW_CHILD); combo; combo = ::GetWindow(combo, GW_HWNDNEXT))
        {
            if (ClassOf(combo) != "ComboBox")
                continue;
            ++combos;
            SCOPED_TRACE(std::to_string(t.id) + "/" + std::to_string(::GetDlgCtrlID(combo)));
            for (int i = 0; i < kItems; i++)
                ::SendMessageW(combo, CB_ADDSTRING, 0, LPARAM(L"entry"));
            RECT closed = {};
            ::GetWindowRect(combo, &closed);
            const int row = int(::SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
            ASSERT_GT(row, 0);
            ::SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
            COMBOBOXINFO info = {};
            info.cbSize = sizeof info;
            ASSERT_TRUE(::GetComboBoxInfo(combo, &info));
            RECT list = {};
            ::GetClientRect(info.hwndList, &list);
            EXPECT_GE(list.bottom / row, kMinDroppedRows);
            ::SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
            RECT after = {};
            ::GetWindowRect(combo, &after);
            EXPECT_EQ(closed.bottom - closed.top, after.bottom - after.top);
            EXPECT_LT(after.bottom - after.top, 2 * row + 8);
        }
        ::DestroyWindow(dialog);
    }
    EXPECT_EQ(combos, 9);
    ::DestroyWindow(host);
}

TEST(ResourceScript, ControlsHaveTheKindsTheirPanelsBind)
{
    HWND host = ::CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr, nullptr,
                                  nullptr);
    struct Kind
    {
        int dialog, control;
        const char* className;
    } kinds[] = {
        {IDD_LISTWND, 1004, "SysListView32"},
        {IDD_ERRORLIST, 1306, "SysListView32"},
        {IDD_PROPERTY, 1016, "SysTabControl32"},
        {IDD_PLAYERWND, 1032, "msctls_trackbar32"},
        {IDD_PLAYERWND, 1034, "msctls_trackbar32"},
        {IDD_PARAMWND, 1244, "msctls_updown32"},
        {IDD_MAINWND, 1008, "ComboBox"},
        {IDD_OPTION_CONVERT, 1239, "ComboBox"},
        {IDD_LOGDLG, 1237, "Edit"},
        {IDD_BUTTONBAR, 32775, "Button"},
    };
    for (const Kind& k : kinds)
    {
        HWND dialog =
            ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(k.dialog), host, QuietDialogProc, 0);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(ClassOf(::GetDlgItem(dialog, k.control)), k.className) << k.dialog << "/" << k.control;
        ::DestroyWindow(dialog);
    }
    // The list panel accepts dropped files; the custom resolution dialog keeps its own caption.
    HWND list =
        ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_LISTWND), host, QuietDialogProc, 0);
    EXPECT_TRUE(::GetWindowLongW(list, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    ::DestroyWindow(list);
    HWND resolution =
        ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_RESOLUTION), host, QuietDialogProc, 0);
    EXPECT_EQ(TextOf(resolution), "\xE8\xAE\xBE\xE7\xBD\xAE\xE5\x88\x86\xE8\xBE\xA8\xE7\x8E\x87");
    ::DestroyWindow(resolution);
    ::DestroyWindow(host);
}

TEST(ResourceScript, MenusCarryTheirCommands)
{
    const std::vector<int> main = MenuIds(IDR_MAINMENU);
    const std::vector<int> expectMain = {-1,    32772, 32773, 0,     32807, 0,     57665, // file
                                         -1,    32774, 32795, 0,     32796, 32797,        // edit
                                         -1,    32775, 32780, 32776,                      // action
                                         -1,    -1,    32820, -1,    32872, 32873, 32874, 0,
                                         -1,    32884, 0,     32885, 32886, 32887, 32888, 32889,
                                         32891, 32892, 32893, 0,     32777, 0,     32803,         // tools
                                         -1,    57667, 0,     32800, 0,     32801, 0,     57664}; // help
    EXPECT_EQ(main, expectMain);

    // Menu 135: the same tree under one popup, the show-menu item moved to its end.
    std::vector<int> title = MenuIds(IDR_TITLEMENU);
    std::vector<int> expectTitle = {-1};
    expectTitle.insert(expectTitle.end(), expectMain.begin(), expectMain.end());
    const auto showMenu = std::find(expectTitle.begin(), expectTitle.end(), 32803);
    expectTitle.erase(showMenu - 1, showMenu + 1); // with its separator
    expectTitle.push_back(0);
    expectTitle.push_back(32803);
    EXPECT_EQ(title, expectTitle);

    EXPECT_EQ(MenuIds(IDR_LISTMENU), (std::vector<int>{-1, 32772, 32773, 0, 32774, 32795, 32796, 32797, 0, 32909, 32910,
                                                       32911, 0, 32914, 32867, 0, 32807}));
    EXPECT_EQ(MenuIds(IDR_TRAYMENU), (std::vector<int>{-1, 32810, 32916, 0, 57665}));
}

TEST(ResourceScript, AcceleratorsTitleAndIcon)
{
    HINSTANCE module = ::GetModuleHandleW(nullptr);
    HACCEL table = ::LoadAcceleratorsW(module, MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(table, nullptr);
    ACCEL entries[16];
    int count = ::CopyAcceleratorTableW(table, entries, 16);
    struct Key
    {
        BYTE flags;
        WORD key, command;
    } expect[] = {{FVIRTKEY | FCONTROL, 'F', 32772}, {FVIRTKEY | FCONTROL, 'R', 32773},
                  {FVIRTKEY | FCONTROL, 'S', 32775}, {FVIRTKEY | FCONTROL, 'E', 32780},
                  {FVIRTKEY | FCONTROL, 'T', 32776}, {FVIRTKEY | FCONTROL, 'M', 32803},
                  {FVIRTKEY, VK_F1, 57670},          {FVIRTKEY | FSHIFT, VK_F1, 57669}};
    ASSERT_EQ(count, int(sizeof expect / sizeof expect[0]));
    for (int i = 0; i < count; i++)
    {
        EXPECT_EQ(entries[i].fVirt & ~FNOINVERT, expect[i].flags) << i;
        EXPECT_EQ(entries[i].key, expect[i].key) << i;
        EXPECT_EQ(entries[i].cmd, expect[i].command) << i;
    }
    ::DestroyAcceleratorTable(table);

    WCHAR title[64] = {};
    ASSERT_GT(::LoadStringW(module, IDR_MAINFRAME, title, 64), 0);
    EXPECT_EQ(rwtest::Utf8(title), "Reelwright");

    for (int size : {16, 32, 48})
    {
        HICON icon = HICON(::LoadImageW(module, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info = {};
        ASSERT_TRUE(::GetIconInfo(icon, &info));
        BITMAP bm = {};
        ::GetObjectW(info.hbmColor, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, size);
        EXPECT_EQ(bm.bmHeight, size);
        ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
        ::DestroyIcon(icon);
    }
}

TEST(ResourceScript, PicturesHaveTheirSizesAndMagentaKey)
{
    struct Picture
    {
        int id, width, height;
        bool keyed;
    } pictures[] = {{133, 480, 16, true}, {420, 128, 32, true}, {421, 128, 32, true},  {422, 128, 32, true},
                    {423, 128, 32, true}, {424, 128, 32, true}, {425, 128, 32, true},  {426, 128, 32, true},
                    {148, 96, 24, true},  {149, 96, 24, true},  {427, 96, 24, true},   {428, 96, 24, true},
                    {429, 96, 24, true},  {430, 96, 24, true},  {159, 93, 223, false}, {418, 32, 32, true}};
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    for (const Picture& p : pictures)
    {
        SCOPED_TRACE(p.id);
        HBITMAP bitmap = HBITMAP(
            ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(p.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(bitmap, nullptr);
        BITMAP bm = {};
        ::GetObjectW(bitmap, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, p.width);
        EXPECT_EQ(bm.bmHeight, p.height);
        HGDIOBJ old = ::SelectObject(dc, bitmap);
        // Each image of a strip has magenta corners and a picture drawn over a good part of it.
        int cell = p.keyed && p.width > p.height ? p.height : p.width;
        for (int x0 = 0; x0 < p.width; x0 += cell)
        {
            if (p.keyed)
                EXPECT_EQ(::GetPixel(dc, x0, 0), RGB(255, 0, 255)) << "cell at " << x0;
            int drawn = 0;
            for (int y = 0; y < p.height; y++)
                for (int x = x0; x < x0 + cell; x++)
                    drawn += ::GetPixel(dc, x, y) != RGB(255, 0, 255);
            EXPECT_GT(drawn, cell * p.height / 10) << "cell at " << x0;
        }
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
    }
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
}
