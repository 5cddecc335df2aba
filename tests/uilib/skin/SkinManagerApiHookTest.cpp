#include "DibCanvas.h"
#include "ImportSlot.h"
#include "ProbeProcess.h"
#include "RwTest.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinManagerApiHook.h"
#include "uilib/skin/SkinObject.h"

#include <commctrl.h>

namespace
{

using rwtest::ImportSlotValue;

HANDLE g_created = nullptr;
HWND g_threadWindow = nullptr;
HANDLE g_go = nullptr;

DWORD WINAPI CreateWindowThread(LPVOID)
{
    WaitForSingleObject(g_go, INFINITE);
    g_threadWindow = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    BOOL seen = g_threadWindow != nullptr;
    SetEvent(g_created);
    MSG msg;
    while (seen && GetMessageW(&msg, nullptr, 0, 0))
        DispatchMessageW(&msg);
    return 0;
}

class SkinManagerApiHookTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        InitCommonControls();
        manager.GetResourceFile()->m_hCallerModule = GetModuleHandleW(nullptr);
        user32 = GetModuleHandleW(L"user32.dll");
        comctl32 = GetModuleHandleW(L"comctl32.dll");
        realGetSysColor = GetProcAddress(user32, "GetSysColor");
        realFillRect = GetProcAddress(user32, "FillRect");
        systemFace = GetSysColor(COLOR_BTNFACE);
    }
    CWVPSkinManager manager;
    HMODULE user32 = nullptr;
    HMODULE comctl32 = nullptr;
    FARPROC realGetSysColor = nullptr;
    FARPROC realFillRect = nullptr;
    COLORREF systemFace = 0;
};

TEST_F(SkinManagerApiHookTest, ColoursBrushesAndFillsAnswerFromTheSkinUntilUnloaded)
{
    ASSERT_TRUE(manager.LoadSkin(nullptr, L"NORMALBLUE_INI"));
    CWVPSkinManagerMetrics* metrics = manager.GetMetrics();
    COLORREF face = metrics->GetColor(COLOR_BTNFACE);
    ASSERT_NE(systemFace, face) << "the skin's button face must differ from the system's for this test";
    EXPECT_EQ(face, GetSysColor(COLOR_BTNFACE));
    HBRUSH brush = GetSysColorBrush(COLOR_BTNFACE);
    EXPECT_EQ(metrics->GetBrush(COLOR_BTNFACE), brush);
    EXPECT_FALSE(DeleteObject(brush));
    LOGBRUSH logBrush = {};
    ASSERT_TRUE(GetObjectW(brush, sizeof logBrush, &logBrush));
    EXPECT_EQ(face, logBrush.lbColor);

    DibCanvas canvas(8, 8);
    RECT all = {0, 0, 8, 8};
    FillRect(canvas.dc(), &all, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    EXPECT_EQ(face, canvas.At(4, 4));

    // COMCTL32's imports hold the replacements, and its status bar paints the skin's face.
    FARPROC replacement = GetProcAddress(user32, "GetSysColor");
    EXPECT_NE(realGetSysColor, replacement);
    EXPECT_EQ(replacement, ImportSlotValue(comctl32, "user32.dll", realGetSysColor, replacement));
    HWND host =
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    HWND status =
        CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, host, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, status);
    SendMessageW(status, WM_SYSCOLORCHANGE, 0, 0);
    RECT statusRect = {};
    GetClientRect(status, &statusRect);
    ASSERT_GT(statusRect.right, 20);
    DibCanvas printed(statusRect.right, statusRect.bottom, RGB(1, 2, 3));
    SendMessageW(status, WM_PRINTCLIENT, WPARAM(printed.dc()), PRF_CLIENT | PRF_ERASEBKGND);
    EXPECT_EQ(face, printed.At(statusRect.right / 2, statusRect.bottom / 2));
    DestroyWindow(host);

    // The visual-style functions are handed out through the fake module.
    HMODULE fake = GetModuleHandleA("UxTheme.dll");
    EXPECT_EQ(WVP_SKIN_UXTHEME_HANDLE, fake);
    FARPROC open = GetProcAddress(fake, "OpenThemeData");
    ASSERT_NE(nullptr, open);
    auto openTheme = reinterpret_cast<void*(WINAPI*)(HWND, LPCWSTR)>(open);
    EXPECT_EQ(static_cast<void*>(manager.GetSkinClass(L"BUTTON")), openTheme(nullptr, L"Button"));

    EXPECT_FALSE(manager.LoadSkin(nullptr, nullptr));
    EXPECT_EQ(systemFace, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(realGetSysColor, GetProcAddress(user32, "GetSysColor"));
    EXPECT_EQ(realGetSysColor, ImportSlotValue(comctl32, "user32.dll", realGetSysColor, replacement));
    EXPECT_NE(WVP_SKIN_UXTHEME_HANDLE, GetModuleHandleA("UxTheme.dll"));
    FillRect(canvas.dc(), &all, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    EXPECT_EQ(systemFace, canvas.At(4, 4));
}

TEST_F(SkinManagerApiHookTest, WithoutTheColourOptionTheSystemColoursStay)
{
    ASSERT_TRUE(manager.LoadSkin(nullptr, L"NORMALBLUE_INI"));
    manager.SetApplyOptions(CWVPSkinManager::kApplyMetrics | CWVPSkinManager::kApplyScrollBars);
    EXPECT_EQ(systemFace, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(realFillRect, GetProcAddress(user32, "FillRect"));
    manager.SetApplyOptions(CWVPSkinManager::kApplyAll);
    EXPECT_EQ(manager.GetMetrics()->GetColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE));
    EXPECT_FALSE(manager.LoadSkin(nullptr, nullptr));
}

TEST_F(SkinManagerApiHookTest, ThreadsStartedAfterTheLoadCreateSkinnedWindows)
{
    g_created = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    g_go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE before = CreateThread(nullptr, 0, &CreateWindowThread, nullptr, 0, nullptr);
    ASSERT_TRUE(manager.LoadSkin(nullptr, L"NORMALBLUE_INI"));
    SetEvent(g_go);
    WaitForSingleObject(g_created, INFINITE);
    HWND earlier = g_threadWindow;
    ASSERT_NE(nullptr, earlier);
    EXPECT_EQ(nullptr, manager.Lookup(earlier));

    HANDLE after = CreateThread(nullptr, 0, &CreateWindowThread, nullptr, 0, nullptr);
    WaitForSingleObject(g_created, INFINITE);
    HWND later = g_threadWindow;
    ASSERT_NE(nullptr, later);
    EXPECT_NE(nullptr, manager.Lookup(later));

    for (HWND window : {earlier, later})
        PostMessageW(window, WM_QUIT, 0, 0);
    PostThreadMessageW(GetThreadId(before), WM_QUIT, 0, 0);
    PostThreadMessageW(GetThreadId(after), WM_QUIT, 0, 0);
    WaitForSingleObject(before, INFINITE);
    WaitForSingleObject(after, INFINITE);
    CloseHandle(before);
    CloseHandle(after);
    CloseHandle(g_created);
    CloseHandle(g_go);
    EXPECT_FALSE(manager.LoadSkin(nullptr, nullptr));
}

TEST_F(SkinManagerApiHookTest, UnhookedIndexesHaveNoOriginal)
{
    EXPECT_EQ(nullptr, WVPSkinManagerApiHook()->GetOriginalFunction(kApiGetSysColor));
    EXPECT_EQ(nullptr, WVPSkinManagerApiHook()->GetOriginalFunction(kApiCount));
    ASSERT_TRUE(manager.LoadSkin(nullptr, L"NORMALBLUE_INI"));
    EXPECT_EQ(realGetSysColor, WVPSkinManagerApiHook()->GetOriginalFunction(kApiGetSysColor));
    EXPECT_EQ(nullptr, WVPSkinManagerApiHook()->GetOriginalFunction(kApiCount));
    EXPECT_FALSE(manager.LoadSkin(nullptr, nullptr));
}

struct Invert : CWVPSkinManagerColorFilter
{
    void ApplyColorFilter(COLORREF& clr) override
    {
        clr = ~clr & 0xFFFFFF;
    }
};

TEST_F(SkinManagerApiHookTest, ATintFilterChangesColoursAndImagesAfterARefresh)
{
    ASSERT_TRUE(manager.LoadSkin(nullptr, L"NORMALBLUE_INI"));
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    RECT arrow = {0, 0, 17, 17};
    DibCanvas plain(17, 17), tinted(17, 17), restored(17, 17);
    ASSERT_TRUE(manager.GetSkinClass(L"SCROLLBAR")->DrawThemeBackground(plain.dc(), 1, 1, &arrow));

    manager.AddColorFilter(new Invert);
    EXPECT_EQ(face, GetSysColor(COLOR_BTNFACE)) << "nothing changes before the refresh";
    manager.Refresh();
    EXPECT_EQ(~face & 0xFFFFFF, GetSysColor(COLOR_BTNFACE));
    ASSERT_TRUE(manager.GetSkinClass(L"SCROLLBAR")->DrawThemeBackground(tinted.dc(), 1, 1, &arrow));
    EXPECT_EQ(~plain.At(8, 8) & 0xFFFFFF, tinted.At(8, 8));

    manager.RemoveColorFilters();
    manager.Refresh();
    EXPECT_EQ(face, GetSysColor(COLOR_BTNFACE));
    ASSERT_TRUE(manager.GetSkinClass(L"SCROLLBAR")->DrawThemeBackground(restored.dc(), 1, 1, &arrow));
    EXPECT_EQ(plain.At(8, 8), restored.At(8, 8));
    EXPECT_FALSE(manager.LoadSkin(nullptr, nullptr));
}

TEST_F(SkinManagerApiHookTest, TheProgramsStartAndExitLeaveNoHookBehind)
{
    ASSERT_TRUE(WVPSkinLoadFromResources(GetModuleHandleW(nullptr), L"NORMALBLUE_INI"));
    CWVPSkinManager* global = WVPSkinManager();
    ASSERT_TRUE(global->IsSkinLoaded());
    EXPECT_EQ(DWORD(CWVPSkinManager::kApplyAll), global->GetApplyOptions());
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    WNDPROC own = global->Lookup(window)->GetPreviousWndProc();
    FARPROC replacement = GetProcAddress(user32, "GetSysColor");
    EXPECT_NE(realGetSysColor, replacement);

    WVPSkinShutdown();
    EXPECT_FALSE(global->IsSkinLoaded());
    EXPECT_EQ(0, global->GetObjectCount());
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(own), GetWindowLongPtrW(window, GWLP_WNDPROC));
    EXPECT_EQ(realGetSysColor, ImportSlotValue(comctl32, "user32.dll", realGetSysColor, replacement));
    EXPECT_EQ(realGetSysColor, ImportSlotValue(GetModuleHandleW(nullptr), "user32.dll", realGetSysColor, replacement));
    EXPECT_EQ(systemFace, GetSysColor(COLOR_BTNFACE));
    DestroyWindow(window);
    WVPSkinManagerDestroy();
}

TEST_F(SkinManagerApiHookTest, LaterModulesClassesAndTheRealUxThemeAreHandledAsTheyCome)
{
    ASSERT_TRUE(manager.LoadSkin(nullptr, L"NORMALBLUE_INI"));
    FARPROC replacement = GetProcAddress(user32, "GetSysColor");
    ASSERT_NE(realGetSysColor, replacement);
    // A library loaded while skinned is patched as it loads.
    HMODULE later = LoadLibraryW(L"riched20.dll");
    ASSERT_NE(nullptr, later);
    EXPECT_EQ(replacement, ImportSlotValue(later, "user32.dll", realGetSysColor, replacement));

    // A class registered with the skin's DefWindowProcW keeps the system's as its procedure.
    FARPROC realDefWindowProc = WVPSkinManagerApiHook()->GetOriginalFunction(kApiDefWindowProcW);
    FARPROC skinDefWindowProc = GetProcAddress(user32, "DefWindowProcW");
    ASSERT_NE(realDefWindowProc, skinDefWindowProc);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = reinterpret_cast<WNDPROC>(skinDefWindowProc);
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"RwSkinDefProcClass";
    ASSERT_TRUE(RegisterClassW(&wc));
    WNDCLASSW stored = {};
    ASSERT_TRUE(GetClassInfoW(GetModuleHandleW(nullptr), L"RwSkinDefProcClass", &stored));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(realDefWindowProc), stored.lpfnWndProc);
    UnregisterClassW(L"RwSkinDefProcClass", GetModuleHandleW(nullptr));

    // The real visual-style library keeps its real functions; the fake handle hands out the skin's.
    HMODULE uxtheme = LoadLibraryW(L"uxtheme.dll");
    ASSERT_NE(nullptr, uxtheme);
    FARPROC skinOpen = GetProcAddress(WVP_SKIN_UXTHEME_HANDLE, "OpenThemeData");
    FARPROC realOpen = GetProcAddress(uxtheme, "OpenThemeData");
    ASSERT_NE(nullptr, realOpen);
    EXPECT_NE(skinOpen, realOpen);

    EXPECT_FALSE(manager.LoadSkin(nullptr, nullptr));
    EXPECT_EQ(realGetSysColor, ImportSlotValue(later, "user32.dll", realGetSysColor, replacement));
}

// A whole process: the skin loaded from the program's resources, windows skinned on two threads,
// the program's shutdown and then the exit handlers; the exit code survives and every import slot
// and window procedure is back (the probe answers 90 and up when one is not).
TEST(SkinCleanExitTest, TheExitCodeSurvivesAndNothingStaysHooked)
{
    std::string probe = std::string(RW_BINARY_DIR) + "/tests/rwskinexitprobe.exe.so";
    for (DWORD code : {37u, 0u, 255u})
        EXPECT_EQ(code, rwtest::RunProbe(probe, std::to_string(code)));
}

} // namespace
