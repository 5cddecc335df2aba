#include "DibCanvas.h"
#include "RwTest.h"
#include "TestPaths.h"
#include "WideText.h"
#include "uilib/foundation/DibReader.h"
#include "uilib/skin/SkinImage.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinSchemaNames.h"

#include <vector>

namespace
{

const DWORD kBackground = 0x00404040;

// What the framework reads of a skin: every class and part with the number of states its
// drawing asks for. Each must be an image with that many frames.
struct ImagePart
{
    const char* cls;
    int part;
    int states;
};

const ImagePart kImageParts[] = {
    {"WINDOW", 1, 2},    {"WINDOW", 2, 2},    {"WINDOW", 3, 2},    {"WINDOW", 5, 2},     {"WINDOW", 7, 2},
    {"WINDOW", 8, 2},    {"WINDOW", 9, 2},    {"WINDOW", 10, 2},   {"WINDOW", 11, 2},    {"WINDOW", 12, 2},
    {"WINDOW", 15, 4},   {"WINDOW", 16, 4},   {"WINDOW", 17, 4},   {"WINDOW", 18, 4},    {"WINDOW", 19, 4},
    {"WINDOW", 20, 4},   {"WINDOW", 21, 4},   {"WINDOW", 22, 4},   {"WINDOW", 23, 4},    {"WINDOW", 24, 4},
    {"BUTTON", 1, 5},    {"BUTTON", 2, 8},    {"BUTTON", 3, 12},   {"BUTTON", 4, 1},     {"SCROLLBAR", 1, 16},
    {"SCROLLBAR", 2, 4}, {"SCROLLBAR", 3, 4}, {"SCROLLBAR", 4, 4}, {"SCROLLBAR", 5, 4},  {"SCROLLBAR", 6, 4},
    {"SCROLLBAR", 7, 4}, {"SCROLLBAR", 8, 4}, {"SCROLLBAR", 9, 4}, {"SCROLLBAR", 10, 2}, {"COMBOBOX", 1, 4},
    {"HEADER", 1, 3},    {"HEADER", 4, 2},    {"PROGRESS", 1, 1},  {"PROGRESS", 2, 1},   {"PROGRESS", 3, 1},
    {"PROGRESS", 4, 1},  {"TRACKBAR", 1, 1},  {"TRACKBAR", 2, 1},  {"TRACKBAR", 3, 5},   {"TRACKBAR", 4, 5},
    {"TRACKBAR", 5, 5},  {"TRACKBAR", 6, 5},  {"TRACKBAR", 7, 5},  {"TRACKBAR", 8, 5},   {"TAB", 1, 5},
    {"TAB", 2, 5},       {"TAB", 3, 5},       {"TAB", 4, 5},       {"TAB", 5, 5},        {"TAB", 6, 5},
    {"TAB", 7, 5},       {"TAB", 8, 5},       {"TAB", 9, 1},       {"TAB", 10, 1},       {"TOOLBAR", 1, 6},
    {"TOOLBAR", 2, 6},   {"TOOLBAR", 3, 6},   {"TOOLBAR", 4, 6},   {"TOOLBAR", 5, 1},    {"TOOLBAR", 6, 1},
    {"SPIN", 1, 4},      {"SPIN", 2, 4},      {"SPIN", 3, 4},      {"SPIN", 4, 4},       {"TREEVIEW", 2, 2},
    {"STATUS", 3, 1},
};

// Classes drawn as a bordered fill.
const char* const kBorderFillClasses[] = {"EDIT", "LISTBOX", "LISTVIEW", "TREEVIEW", "COMBOBOX"};

struct ShippedSkin
{
    const wchar_t* ini;
    const char* folder;
};

const ShippedSkin kSkins[] = {{L"NORMALBLUE_INI", "NormalBlue"}, {L"NORMALAQUA_INI", "NormalAqua"}};

class ShippedSkinsTest : public ::testing::TestWithParam<ShippedSkin>
{
  protected:
    void SetUp() override
    {
        manager.GetResourceFile()->m_hCallerModule = GetModuleHandleW(nullptr);
        ASSERT_TRUE(manager.LoadSkin(nullptr, reinterpret_cast<LPCWSTR>(GetParam().ini)));
    }
    CWVPSkinManager manager;
};

TEST(ShippedSkins, ThemesIndexNamesTheBlueSkinFirst)
{
    CWVPSkinManager manager;
    manager.GetResourceFile()->m_hCallerModule = GetModuleHandleW(nullptr);
    ASSERT_TRUE(manager.LoadSkin(nullptr, L"NORMALBLUE_INI"));
    EXPECT_EQ("NormalBlue_ini", rwtest::Utf8(manager.GetResourceFile()->GetDefaultIniName()));
}

TEST_P(ShippedSkinsTest, CoverEveryPartTheFrameworkReads)
{
    for (const ImagePart& p : kImageParts)
    {
        CString cls(p.cls);
        CWVPSkinManagerClass* skinClass = manager.GetSkinClass(cls);
        ASSERT_NE(nullptr, skinClass) << p.cls;
        EXPECT_EQ(kSkinBgImageFile, skinClass->GetThemeEnumValue(p.part, 0, kSkinPropBgType, 0)) << p.cls << p.part;
        EXPECT_EQ(p.states, skinClass->GetThemeInt(p.part, 0, kSkinPropImageCount, 0)) << p.cls << "." << p.part;
        SIZE size = {};
        ASSERT_TRUE(skinClass->GetThemePartSize(p.part, 1, nullptr, CWVPSkinManagerClass::kSizeTrue, size))
            << p.cls << "." << p.part;
        EXPECT_GT(size.cx, 0);
        EXPECT_GT(size.cy, 0);
        CWVPSkinImage* image =
            skinClass->GetImageCache().GetImage(manager.GetResourceFile(), skinClass->GetImageFileName(p.part, 1));
        ASSERT_NE(nullptr, image);
        EXPECT_EQ(size.cy * p.states, image->GetHeight()) << p.cls << "." << p.part;
    }
    for (const char* name : kBorderFillClasses)
    {
        CString cls(name);
        CWVPSkinManagerClass* skinClass = manager.GetSkinClass(cls);
        ASSERT_NE(nullptr, skinClass);
        EXPECT_EQ(kSkinBgBorderFill, skinClass->GetThemeEnumValue(0, 0, kSkinPropBgType, 0)) << name;
        EXPECT_NE(CLR_INVALID, skinClass->GetThemeColor(0, 0, kSkinPropBorderColor, CLR_INVALID)) << name;
        EXPECT_NE(CLR_INVALID, skinClass->GetThemeColor(0, 0, kSkinPropFillColor, CLR_INVALID)) << name;
    }
    CWVPSkinManagerSchema* schema = manager.GetSchema();
    for (int i = 0; i < CWVPSkinManagerMetrics::kColorCount; ++i)
    {
        COLORREF clr;
        EXPECT_EQ(S_OK, schema->GetColorProperty(kSkinClassSysMetrics, 0, 0, kSkinPropFirstSysColor + i, clr)) << i;
    }
    for (int font = 801; font <= 806; ++font)
    {
        LOGFONTW lf;
        ASSERT_EQ(S_OK, schema->GetFontProperty(kSkinClassSysMetrics, 0, 0, font, lf)) << font;
        // The face the prefix really makes of it.
        HFONT handle = CreateFontIndirectW(&lf);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, handle);
        WCHAR face[LF_FACESIZE] = {};
        GetTextFaceW(dc, LF_FACESIZE, face);
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(handle);
        EXPECT_EQ(CSTR_EQUAL, CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, face, -1, L"Tahoma", -1)) << font;
    }
    for (int size : {1202, 1203, 1205, 1207})
    {
        int value = 0;
        EXPECT_EQ(S_OK, schema->GetIntProperty(kSkinClassSysMetrics, 0, 0, size, value));
        EXPECT_GT(value, 10);
    }
}

TEST_P(ShippedSkinsTest, EveryStateDrawsItsFrameExactly)
{
    // Each state drawn at its own size shows the generated bitmap's frame, with the transparent
    // magenta left out, read back from the bitmap file on its own.
    for (const ImagePart& p : kImageParts)
    {
        CString cls(p.cls);
        CWVPSkinManagerClass* skinClass = manager.GetSkinClass(cls);
        CString fileName = skinClass->GetImageFileName(p.part, 1);
        int slash = fileName.Find(L'\\');
        CStringA leaf(fileName.Mid(slash + 1));
        std::string path = std::string(RW_BINARY_DIR) + "/skins/" + GetParam().folder + "/";
        // The INI's names are upper case; the files keep their case, so find the file by name.
        std::string dir = rwtest::ToWin32Path(path);
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((dir + "\\" + leaf.GetString()).c_str(), &found);
        ASSERT_NE(INVALID_HANDLE_VALUE, find) << leaf.GetString();
        FindClose(find);
        CWVPDibImage expected;
        CString file((dir + "\\" + found.cFileName).c_str());
        ASSERT_TRUE(CWVPDibReader::ReadFile(file, expected));
        bool transparent = skinClass->GetThemeBool(p.part, 1, kSkinPropTransparent, false);
        bool borderOnly = skinClass->GetThemeBool(p.part, 1, kSkinPropBorderOnly, false);
        RECT m = skinClass->GetThemeRect(p.part, 1, kSkinPropSizingMargins);
        int frameH = expected.height / p.states;
        for (int state = 1; state <= p.states; ++state)
        {
            DibCanvas canvas(expected.width, frameH, kBackground);
            RECT rc = {0, 0, expected.width, frameH};
            ASSERT_TRUE(skinClass->DrawThemeBackground(canvas.dc(), p.part, state, &rc));
            int differences = 0;
            for (int y = 0; y < frameH; ++y)
                for (int x = 0; x < expected.width; ++x)
                {
                    const BYTE* px = &expected.pixels[(size_t((state - 1) * frameH + y) * expected.width + x) * 4];
                    DWORD want = DWORD(px[2]) << 16 | DWORD(px[1]) << 8 | px[0];
                    bool centre = x >= m.left && x < expected.width - m.right && y >= m.top && y < frameH - m.bottom;
                    if ((transparent && want == 0xFF00FF) || (borderOnly && centre))
                        want = kBackground;
                    differences += canvas.Rgb(x, y) != want;
                }
            EXPECT_EQ(0, differences) << p.cls << "." << p.part << " state " << state;
        }
    }
}

TEST_P(ShippedSkinsTest, CaptionsStretchBetweenTheirCornersAndLeaveTheCornersOut)
{
    CWVPSkinManagerClass* window = manager.GetSkinClass(L"WINDOW");
    RECT margins = window->GetThemeRect(1, 1, kSkinPropSizingMargins);
    SIZE frame = {};
    ASSERT_TRUE(window->GetThemePartSize(1, 1, nullptr, CWVPSkinManagerClass::kSizeTrue, frame));
    DibCanvas narrow(frame.cx, frame.cy, kBackground), wide(300, frame.cy, kBackground);
    RECT rcSmall = {0, 0, frame.cx, frame.cy}, rcWide = {0, 0, 300, frame.cy};
    ASSERT_TRUE(window->DrawThemeBackground(narrow.dc(), 1, 1, &rcSmall));
    ASSERT_TRUE(window->DrawThemeBackground(wide.dc(), 1, 1, &rcWide));
    for (int y = 0; y < frame.cy; ++y)
    {
        for (int x = 0; x < margins.left; ++x)
            EXPECT_EQ(narrow.Rgb(x, y), wide.Rgb(x, y)) << x << "," << y;
        for (int x = 0; x < margins.right; ++x)
            EXPECT_EQ(narrow.Rgb(frame.cx - 1 - x, y), wide.Rgb(299 - x, y)) << x << "," << y;
    }
    // The rounded top corners are transparent, so a region can cut them away.
    EXPECT_EQ(kBackground, wide.Rgb(0, 0));
    EXPECT_EQ(kBackground, wide.Rgb(299, 0));
    EXPECT_NE(kBackground, wide.Rgb(150, 0));
    EXPECT_NE(kBackground, wide.Rgb(150, frame.cy - 1));
    // Active and inactive captions differ.
    DibCanvas inactive(300, frame.cy, kBackground);
    ASSERT_TRUE(window->DrawThemeBackground(inactive.dc(), 1, 2, &rcWide));
    EXPECT_NE(wide.Rgb(150, frame.cy / 2), inactive.Rgb(150, frame.cy / 2));
}

INSTANTIATE_TEST_SUITE_P(Skins, ShippedSkinsTest, ::testing::ValuesIn(kSkins));

TEST(ShippedSkins, BlueAndAquaShareGeometryButNotColours)
{
    CWVPSkinManager blue, aqua;
    for (CWVPSkinManager* m : {&blue, &aqua})
        m->GetResourceFile()->m_hCallerModule = GetModuleHandleW(nullptr);
    ASSERT_TRUE(blue.LoadSkin(nullptr, L"NORMALBLUE_INI"));
    ASSERT_TRUE(aqua.LoadSkin(nullptr, L"NORMALAQUA_INI"));
    EXPECT_EQ(blue.GetSchema()->GetPropertyCount(), aqua.GetSchema()->GetPropertyCount());
    EXPECT_NE(blue.GetMetrics()->GetColor(COLOR_ACTIVECAPTION), aqua.GetMetrics()->GetColor(COLOR_ACTIVECAPTION));
    for (const ImagePart& p : kImageParts)
    {
        CString cls(p.cls);
        SIZE a = {}, b = {};
        blue.GetSkinClass(cls)->GetThemePartSize(p.part, 1, nullptr, CWVPSkinManagerClass::kSizeTrue, a);
        aqua.GetSkinClass(cls)->GetThemePartSize(p.part, 1, nullptr, CWVPSkinManagerClass::kSizeTrue, b);
        EXPECT_EQ(a.cx, b.cx);
        EXPECT_EQ(a.cy, b.cy);
    }
}

// Wine's own "Light" visual style is written in the same class-data schema, with 32-bit bitmaps
// behind V4 and V5 headers.
TEST(ShippedSkins, WineLightThemeLoadsAndDraws)
{
    WCHAR windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    CString path = CString(windows) + L"\\resources\\themes\\light\\light.msstyles";
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "this prefix has no Light theme";
    CWVPSkinManager manager;
    ASSERT_TRUE(manager.LoadSkin(path, L"BLUE_INI"));
    EXPECT_GT(manager.GetSchema()->GetPropertyCount(), 300);
    EXPECT_EQ(RGB(245, 245, 245), manager.GetMetrics()->GetColor(COLOR_BTNFACE));
    struct Part
    {
        const wchar_t* cls;
        int part, state;
    } parts[] = {{L"BUTTON", 1, 1},    {L"BUTTON", 1, 3}, {L"BUTTON", 3, 5},   {L"BUTTON", 2, 1}, {L"SCROLLBAR", 1, 1},
                 {L"SCROLLBAR", 2, 1}, {L"TAB", 1, 3},    {L"PROGRESS", 1, 1}, {L"EDIT", 1, 1},   {L"HEADER", 1, 1}};
    int drawn = 0;
    for (const Part& p : parts)
    {
        CWVPSkinManagerClass* skinClass = manager.GetSkinClass(p.cls);
        ASSERT_NE(nullptr, skinClass);
        if (skinClass->GetThemeEnumValue(p.part, p.state, kSkinPropBgType, 0) == kSkinBgImageFile)
        {
            SIZE size = {};
            EXPECT_TRUE(skinClass->GetThemePartSize(p.part, p.state, nullptr, CWVPSkinManagerClass::kSizeTrue, size))
                << "part " << p.part;
        }
        DibCanvas canvas(60, 40, kBackground);
        RECT rc = {0, 0, 60, 40};
        if (skinClass->DrawThemeBackground(canvas.dc(), p.part, p.state, &rc) && canvas.Painted() > 0)
            ++drawn;
        else
            ADD_FAILURE() << "part " << p.part << " state " << p.state << " drew nothing";
    }
    EXPECT_EQ(int(sizeof parts / sizeof parts[0]), drawn);
}

} // namespace
