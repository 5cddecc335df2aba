// The visual-style wrapper: the system's state in this prefix, failure values for a missing
// module and for functions that fault, the two shared tables' binding, the COMCTL32 gate and the
// composition functions.
#include "RwTest.h"

#include "ThemeState.h"
#include "uilib/foundation/ModuleHandle.h"
#include "uilib/foundation/WinThemeWrapper.h"

namespace
{
volatile int* volatile g_nowhere = nullptr;

BOOL WINAPI FaultingBool()
{
    *g_nowhere = 1;
    return TRUE;
}
HRESULT WINAPI FaultingDraw(HTHEME, HDC, int, int, const RECT*, const RECT*)
{
    *g_nowhere = 1;
    return S_OK;
}
HRESULT WINAPI FaultingColor(HTHEME, int, int, int, COLORREF*)
{
    *g_nowhere = 1;
    return S_OK;
}
HTHEME WINAPI FaultingOpen(HWND, LPCWSTR)
{
    *g_nowhere = 1;
    return (HTHEME)1;
}
HRESULT WINAPI FaultingName(LPWSTR, int, LPWSTR, int, LPWSTR, int)
{
    *g_nowhere = 1;
    return S_OK;
}
BOOL WINAPI AlwaysTrue()
{
    return TRUE;
}
MARGINS g_margins;
HRESULT WINAPI RecordMargins(HWND, const MARGINS* margins)
{
    g_margins = *margins;
    return S_OK;
}

// Puts the real tables back after a test replaced parts of them.
struct RestoreTables
{
    ~RestoreTables()
    {
        WVPSetComCtlVersion(0);
        CWVPWinThemeWrapper::ResetSharedTables();
    }
};
} // namespace

TEST(WinThemeWrapper, FollowsThePrefixsVisualStyleState)
{
    bool themed = ExpectThemed();
    CWVPWinThemeWrapper wrapper;
    EXPECT_EQ(themed, wrapper.IsThemeActive() != FALSE);
    EXPECT_FALSE(wrapper.IsThemeUsable()); // no handle open yet
    EXPECT_FALSE(wrapper.IsThemeOpen());
    HTHEME theme = wrapper.OpenThemeData(nullptr, L"BUTTON");
    EXPECT_EQ(themed, theme != nullptr);
    EXPECT_EQ(themed, wrapper.IsThemeUsable() != FALSE);
    EXPECT_FALSE(wrapper.IsVisualStyleReady()); // COMCTL32 5.81
    WCHAR file[260] = {0}, color[260] = {0}, size[260] = {0};
    HRESULT hr = wrapper.GetCurrentThemeName(file, 260, color, 260, size, 260);
    EXPECT_EQ(themed, SUCCEEDED(hr));
    if (themed)
    {
        // A push button drawn by the style changes the pixels it covers.
        CWVPWinThemeWrapper own(FALSE);
        EXPECT_NE(nullptr, own.OpenThemeData(nullptr, L"BUTTON"));
        HDC dc = ::CreateCompatibleDC(nullptr);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = 40;
        info.bmiHeader.biHeight = -20;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        DWORD* bits = nullptr;
        HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, (void**)&bits, nullptr, 0);
        HGDIOBJ old = ::SelectObject(dc, bitmap);
        for (int i = 0; i < 800; ++i)
            bits[i] = 0x00FF00FF;
        RECT button = {0, 0, 40, 20};
        EXPECT_EQ(S_OK, own.DrawThemeBackground(dc, 1, 1, &button, nullptr));
        ::GdiFlush();
        EXPECT_NE(0x00FF00FFu, bits[10 * 40 + 20] & 0x00FFFFFF);
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
    }
    wrapper.CloseThemeData();
    EXPECT_FALSE(wrapper.IsThemeOpen());
}

TEST(WinThemeWrapper, MissingModuleGivesFailureValues)
{
    RestoreTables restore;
    for (BOOL follow : {FALSE, TRUE})
    {
        CWVPWinThemeWrapper::ResetSharedTables();
        CWVPWinThemeWrapper::OverrideSharedModule(follow, nullptr);
        CWVPWinThemeWrapper wrapper(follow);
        RECT rect = {0, 0, 10, 10};
        COLORREF color = 0;
        int value = 0;
        SIZE size = {};
        HDC paintDC = nullptr;
        EXPECT_EQ(E_FAIL, wrapper.DrawThemeBackground(nullptr, 1, 1, &rect, nullptr));
        EXPECT_EQ(E_FAIL, wrapper.DrawThemeTextEx(nullptr, 1, 1, L"x", 1, 0, &rect, nullptr));
        EXPECT_EQ(E_FAIL, wrapper.GetThemeColor(0, 0, 3801, &color));
        EXPECT_EQ(E_FAIL, wrapper.GetThemeInt(0, 0, 0, &value));
        EXPECT_EQ(E_FAIL, wrapper.GetThemePartSize(nullptr, 1, 1, &rect, TS_TRUE, &size));
        EXPECT_FALSE(wrapper.GetThemeSysBool(1001));
        EXPECT_EQ(nullptr, wrapper.BeginBufferedPaint(nullptr, &rect, BPBF_COMPATIBLEBITMAP, nullptr, &paintDC));
        wrapper.EndBufferedPaint(nullptr, TRUE);
        if (!follow)
        {
            // The own table keeps the module it has; the following one would rebind to the loaded one.
            EXPECT_EQ(nullptr, wrapper.OpenThemeData(nullptr, L"BUTTON"));
            EXPECT_FALSE(wrapper.IsThemeUsable());
            EXPECT_FALSE(wrapper.IsThemeActive());
            WCHAR file[260];
            EXPECT_EQ(E_FAIL, wrapper.GetCurrentThemeName(file, 260, file, 260, file, 260));
        }
    }
}

TEST(WinThemeWrapper, FaultInsideTheSystemFunctionBecomesTheFailureValue)
{
    RestoreTables restore;
    CWVPWinThemeWrapper::ResetSharedTables();
    CWVPWinThemeWrapper::OverrideEntryPoint(FALSE, "IsThemeActive", (FARPROC)&FaultingBool);
    CWVPWinThemeWrapper::OverrideEntryPoint(FALSE, "OpenThemeData", (FARPROC)&FaultingOpen);
    CWVPWinThemeWrapper::OverrideEntryPoint(FALSE, "DrawThemeBackground", (FARPROC)&FaultingDraw);
    CWVPWinThemeWrapper::OverrideEntryPoint(FALSE, "GetThemeColor", (FARPROC)&FaultingColor);
    CWVPWinThemeWrapper::OverrideEntryPoint(FALSE, "GetCurrentThemeName", (FARPROC)&FaultingName);
    CWVPWinThemeWrapper wrapper(FALSE);
    EXPECT_FALSE(wrapper.IsThemeActive());
    EXPECT_EQ(nullptr, wrapper.OpenThemeData(nullptr, L"BUTTON"));
    RECT rect = {0, 0, 4, 4};
    EXPECT_EQ(E_FAIL, wrapper.DrawThemeBackground(nullptr, 1, 1, &rect, nullptr));
    COLORREF color = 0;
    EXPECT_EQ(E_FAIL, wrapper.GetThemeColor(0, 0, 3801, &color));
    WCHAR file[260];
    EXPECT_EQ(E_FAIL, wrapper.GetCurrentThemeName(file, 260, file, 260, file, 260));
    // The process carries on normally after the faults.
    EXPECT_EQ(E_FAIL, CWVPWinThemeWrapper(FALSE).DrawThemeBackground(nullptr, 1, 1, &rect, nullptr));
}

TEST(WinThemeWrapper, FollowingTableRebindsWhenTheLoadedModuleChanges)
{
    RestoreTables restore;
    bool themed = ExpectThemed();
    CWVPWinThemeWrapper::ResetSharedTables();
    // Both tables believe in a module other than the one the process has loaded.
    HMODULE other = ::GetModuleHandleW(L"kernel32.dll");
    CWVPWinThemeWrapper::OverrideSharedModule(TRUE, other);
    CWVPWinThemeWrapper::OverrideSharedModule(FALSE, other);
    CWVPWinThemeWrapper following(TRUE), own(FALSE);
    EXPECT_EQ(nullptr, own.OpenThemeData(nullptr, L"BUTTON"));
    EXPECT_FALSE(own.IsThemeActive());
    EXPECT_EQ(themed, following.OpenThemeData(nullptr, L"BUTTON") != nullptr);
    EXPECT_EQ(themed, following.IsThemeActive() != FALSE);
}

TEST(WinThemeWrapper, VisualStylesAreReadyOnlyWithComCtlSix)
{
    RestoreTables restore;
    bool themed = ExpectThemed();
    for (DWORD version : {0x50052u, 0x60000u})
    {
        WVPSetComCtlVersion(version);
        CWVPWinThemeWrapper::ResetSharedTables();
        CWVPWinThemeWrapper wrapper;
        EXPECT_EQ(themed && version >= 0x60000, wrapper.IsVisualStyleReady() != FALSE) << std::hex << version;
    }
    // With the style forced on through the table, the version alone decides.
    for (DWORD version : {0x50052u, 0x60000u})
    {
        WVPSetComCtlVersion(version);
        CWVPWinThemeWrapper::ResetSharedTables();
        CWVPWinThemeWrapper::OverrideEntryPoint(FALSE, "IsThemeActive", (FARPROC)&AlwaysTrue);
        CWVPWinThemeWrapper wrapper(FALSE);
        EXPECT_EQ(version >= 0x60000, wrapper.IsVisualStyleReady() != FALSE) << std::hex << version;
    }
}

TEST(WinThemeWrapper, CompositionFunctions)
{
    RestoreTables restore;
    CWVPWinThemeWrapper wrapper;
    CWVPWinThemeWrapper::OverrideCompositionModule(nullptr);
    LRESULT result = 0;
    EXPECT_EQ(E_FAIL, wrapper.DwmDefWindowProc(nullptr, WM_NCHITTEST, 0, 0, &result));
    EXPECT_EQ(E_FAIL, wrapper.DwmExtendFrameIntoClientArea(nullptr, 1, 2, 3, 4));
    CWVPWinThemeWrapper::OverrideCompositionEntryPoint("DwmExtendFrameIntoClientArea", (FARPROC)&RecordMargins);
    EXPECT_EQ(S_OK, wrapper.DwmExtendFrameIntoClientArea(nullptr, 1, 2, 3, 4));
    EXPECT_EQ(1, g_margins.cxLeftWidth);
    EXPECT_EQ(3, g_margins.cxRightWidth);
    EXPECT_EQ(2, g_margins.cyTopHeight);
    EXPECT_EQ(4, g_margins.cyBottomHeight);
}
