#include "RwTest.h"
#include "uilib/foundation/AuxData.h"
#include "uilib/foundation/ColorBlend.h"
#include "uilib/foundation/PopupMenu.h"
#include "uilib/foundation/RegistryManager.h"

namespace
{
LOGFONTW FontOf(CFont& font)
{
    LOGFONTW lf = {};
    ::GetObjectW(font.GetSafeHandle(), sizeof lf, &lf);
    return lf;
}

bool FaceIs(const LOGFONTW& lf, LPCWSTR face)
{
    return ::lstrcmpiW(lf.lfFaceName, face) == 0;
}

const wchar_t kCompany[] = L"Reelwright Tests";
const wchar_t kProfile[] = L"AuxDataTest";
} // namespace

// Ten fonts from the system's metrics: bold, underlined, vertical, the symbol font; a face that
// is not installed changes nothing.
TEST(AuxDataTest, FontsFollowTheSystemMetrics)
{
    CWVAuxData* data = WVPAuxData();
    ASSERT_NE(nullptr, data);
    EXPECT_EQ(data, WVPAuxData());
    NONCLIENTMETRICSW ncm = {};
    ncm.cbSize = sizeof ncm;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);

    ASSERT_TRUE(data->UpdateFonts(L"No Such Face At All"));
    EXPECT_TRUE(FaceIs(FontOf(data->font), ncm.lfMenuFont.lfFaceName));
    EXPECT_EQ(ncm.lfMenuFont.lfHeight, FontOf(data->font).lfHeight);
    EXPECT_EQ(FW_BOLD, FontOf(data->fontBold).lfWeight);
    EXPECT_TRUE(FontOf(data->fontULine).lfUnderline);
    EXPECT_EQ(2700, FontOf(data->fontVert).lfEscapement);
    EXPECT_EQ(900, FontOf(data->fontVert).lfOrientation);
    EXPECT_EQ(FW_BOLD, FontOf(data->fontVertBold).lfWeight);
    EXPECT_EQ(FW_BOLD, FontOf(data->fontIconTitleBold).lfWeight);
    EXPECT_TRUE(FaceIs(FontOf(data->fontMarlett), L"Marlett"));
    EXPECT_EQ(DEFAULT_CHARSET, FontOf(data->fontMarlett).lfCharSet);
    EXPECT_EQ(FontOf(data->fontIconTitle).lfHeight, FontOf(data->fontMarlett).lfHeight);
    EXPECT_TRUE(FaceIs(FontOf(data->fontStatus), ncm.lfStatusFont.lfFaceName));

    // An installed face replaces the base, status and small-caption faces.
    LOGFONTW any = FontOf(data->fontIconTitle);
    ASSERT_TRUE(data->UpdateFonts(any.lfFaceName, any.lfFaceName));
    EXPECT_TRUE(FaceIs(FontOf(data->font), any.lfFaceName));
    EXPECT_TRUE(FaceIs(FontOf(data->fontSmCaption), any.lfFaceName));
    EXPECT_TRUE(FaceIs(FontOf(data->fontVert), any.lfFaceName));
}

// Strings under HKCU\Software\<company>\<profile>\<section>: written, read, removed.
TEST(AuxDataTest, RegistryManagerKeepsStringsUnderTheApplicationKey)
{
    {
        // Without an application registry key nothing is read or written.
        CWinApp bare(L"bare");
        CWVRegistryManager none;
        EXPECT_FALSE(none.WriteProfileString(L"S", L"E", L"v"));
        EXPECT_EQ(L"fallback", none.GetProfileString(L"S", L"E", L"fallback"));
    }
    CWinApp app(kProfile);
    app.SetRegistryKey(kCompany);
    CWVRegistryManager registry;
    ASSERT_TRUE(registry.GetAppNames());
    ASSERT_TRUE(registry.WriteProfileString(L"Columns", L"Column Info", L"120,80,200,"));
    EXPECT_EQ(L"120,80,200,", registry.GetProfileString(L"Columns", L"Column Info", L""));
    EXPECT_EQ(L"dflt", registry.GetProfileString(L"Columns", L"Missing", L"dflt"));

    CString path;
    path.Format(L"Software\\%s\\%s\\Columns", kCompany, kProfile);
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &key));
    // A value stored without its terminating zero still reads as its text; other types are missing.
    ::RegSetValueExW(key, L"Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"abc"), 3 * sizeof(WCHAR));
    const DWORD number = 5;
    ::RegSetValueExW(key, L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    ::RegCloseKey(key);
    EXPECT_EQ(L"abc", registry.GetProfileString(L"Columns", L"Bare", L""));
    EXPECT_EQ(L"dflt", registry.GetProfileString(L"Columns", L"Number", L"dflt"));

    ASSERT_TRUE(registry.WriteProfileString(L"Columns", L"Column Info", nullptr));
    EXPECT_EQ(L"gone", registry.GetProfileString(L"Columns", L"Column Info", L"gone"));
    ASSERT_TRUE(registry.WriteProfileString(L"Columns", nullptr, nullptr));
    EXPECT_NE(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key));
    EXPECT_FALSE(registry.WriteProfileString(nullptr, L"E", L"v"));
}

TEST(AuxDataTest, ColourBlends)
{
    EXPECT_EQ(RGB(127, 0, 255), WVPBlendColors(RGB(255, 0, 255), RGB(0, 0, 255), 50));
    EXPECT_EQ(RGB(10, 20, 30), WVPBlendColors(RGB(10, 20, 30), RGB(200, 200, 200), 0));
    EXPECT_EQ(RGB(200, 200, 200), WVPBlendColors(RGB(10, 20, 30), RGB(200, 200, 200), 100));
    EXPECT_EQ(RGB(255, 0, 0), WVPBlendColors(RGB(255, 0, 0), RGB(255, 0, 0), 150)); // clamped
    EXPECT_EQ(RGB(0, 10, 0), WVPSubtractColors(RGB(5, 30, 40), RGB(10, 20, 200)));
}

namespace
{
HWND g_owner = nullptr;
UINT g_step = 0;

// Drives the popup menu's own modal loop: keys choose the second item, or WM_CANCELMODE ends it.
void CALLBACK DriveMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    if (g_step == 1)
    {
        ::PostMessageW(g_owner, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageW(g_owner, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageW(g_owner, WM_KEYDOWN, VK_RETURN, 0);
    }
    else
        ::SendMessageW(g_owner, WM_CANCELMODE, 0, 0);
}

BOOL g_trackerCalled = FALSE;
BOOL Tracker(HMENU, UINT, int, int, CWnd*, int nIDToolBar, BOOL, BOOL* result)
{
    g_trackerCalled = TRUE;
    *result = 4242 + nIDToolBar;
    return TRUE;
}
} // namespace

// Until the command bars give their popup bar, a context menu is the framework's popup menu.
TEST(AuxDataTest, PopupMenuShowsReturnsTheCommandAndCancels)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, 100, 100), nullptr, 0));
    g_owner = owner.GetSafeHwnd();
    ::SetForegroundWindow(g_owner);
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenuW(MF_STRING, 101, L"First");
    menu.AppendMenuW(MF_STRING, 102, L"Second");

    g_step = 1;
    ::SetTimer(nullptr, 0, 200, DriveMenu);
    EXPECT_EQ(102, WVPTrackPopupMenu(&menu, TPM_RETURNCMD, 10, 10, &owner));
    g_step = 2;
    ::SetTimer(nullptr, 0, 200, DriveMenu);
    EXPECT_EQ(0, WVPTrackPopupMenu(&menu, TPM_RETURNCMD, 10, 10, &owner));

    WVPSetPopupMenuTracker(Tracker);
    EXPECT_EQ(4242 + 7, WVPTrackPopupMenu(&menu, TPM_RETURNCMD, 10, 10, &owner, 7));
    EXPECT_TRUE(g_trackerCalled);
    WVPSetPopupMenuTracker(nullptr);
    EXPECT_FALSE(WVPTrackPopupMenu(nullptr, 0, 0, 0, &owner));
    owner.DestroyWindow();
}
