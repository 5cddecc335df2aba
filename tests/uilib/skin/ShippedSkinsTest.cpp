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

// Draws a small window of every kind of part into build/skins/preview-<skin>.bmp, so that people
// can judge the look, and checks that the parts land where they were put.
TEST_P(ShippedSkinsTest, DrawsAPreviewWindow)
{
    const int w = 360, h = 230;
    COLORREF face = manager.GetMetrics()->GetColor(COLOR_BTNFACE);
    DWORD faceRgb = DWORD(GetRValue(face)) << 16 | DWORD(GetGValue(face)) << 8 | GetBValue(face);
    DibCanvas canvas(w, h, face);
    auto part = [&](const wchar_t* cls, int partId, int state, RECT rc) {
        EXPECT_TRUE(manager.GetSkinClass(cls)->DrawThemeBackground(canvas.dc(), partId, state, &rc));
    };
    auto text = [&](const wchar_t* cls, int partId, int state, const wchar_t* label, RECT rc, HFONT font, DWORD flags) {
        HGDIOBJ old = SelectObject(canvas.dc(), font);
        manager.GetSkinClass(cls)->DrawThemeText(canvas.dc(), partId, state, label, flags, &rc);
        SelectObject(canvas.dc(), old);
    };
    CWVPSkinManagerMetrics* metrics = manager.GetMetrics();
    HFONT uiFont = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    const int top = 29, border = 4;
    part(L"WINDOW", 1, 1, {0, 0, w, top});
    part(L"WINDOW", 7, 1, {0, top, border, h - border});
    part(L"WINDOW", 8, 1, {w - border, top, w, h - border});
    part(L"WINDOW", 9, 1, {0, h - border, w, h});
    SetTextColor(canvas.dc(), manager.GetThemeSysColor(1610));
    text(L"WINDOW", 1, 1, L"Reelwright", {border + 6, 4, 200, top}, metrics->m_fntCaption,
         DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    part(L"WINDOW", 18, 1, {w - border - 23, 5, w - border - 2, 26});
    part(L"WINDOW", 17, 2, {w - border - 46, 5, w - border - 25, 26});
    part(L"WINDOW", 15, 1, {w - border - 69, 5, w - border - 48, 26});

    SetTextColor(canvas.dc(), manager.GetMetrics()->GetColor(COLOR_BTNTEXT));
    const wchar_t* labels[] = {L"Convert", L"Preview", L"Default"};
    const int states[] = {1, 2, 5};
    for (int i = 0; i < 3; ++i)
    {
        RECT rc = {12 + i * 82, 40, 88 + i * 82, 63};
        part(L"BUTTON", 1, states[i], rc);
        text(L"BUTTON", 1, states[i], labels[i], rc, uiFont, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
    part(L"BUTTON", 3, 5, {12, 74, 25, 87});
    text(L"BUTTON", 3, 5, L"Two passes", {30, 72, 120, 89}, uiFont, DT_SINGLELINE | DT_VCENTER);
    part(L"BUTTON", 3, 2, {12, 94, 25, 107});
    text(L"BUTTON", 3, 2, L"Keep the size", {30, 92, 120, 109}, uiFont, DT_SINGLELINE | DT_VCENTER);
    part(L"BUTTON", 2, 5, {130, 74, 143, 87});
    text(L"BUTTON", 2, 5, L"Video", {148, 72, 220, 89}, uiFont, DT_SINGLELINE | DT_VCENTER);
    part(L"BUTTON", 2, 1, {130, 94, 143, 107});
    text(L"BUTTON", 2, 1, L"Audio only", {148, 92, 220, 109}, uiFont, DT_SINGLELINE | DT_VCENTER);

    part(L"EDIT", 1, 5, {12, 116, 250, 137});
    text(L"EDIT", 1, 5, L"C:\\Videos\\holiday.mp4", {16, 116, 246, 137}, uiFont, DT_SINGLELINE | DT_VCENTER);
    part(L"PROGRESS", 1, 1, {12, 144, 250, 160});
    part(L"PROGRESS", 3, 1, {14, 146, 150, 158});
    for (int i = 0; i < 3; ++i)
        part(L"TAB", 5, i == 0 ? 3 : 1, {12 + i * 64, 168, 74 + i * 64, 189});
    part(L"TAB", 9, 1, {12, 188, 250, 220});
    part(L"TRACKBAR", 1, 1, {40, 202, 220, 206});
    part(L"TRACKBAR", 4, 2, {120, 194, 131, 214});

    const int sx = w - border - 17;
    part(L"SCROLLBAR", 1, 1, {sx, top, sx + 17, top + 17});
    part(L"SCROLLBAR", 6, 1, {sx, top + 17, sx + 17, h - border - 17});
    part(L"SCROLLBAR", 3, 2, {sx, top + 40, sx + 17, top + 90});
    part(L"SCROLLBAR", 9, 2, {sx, top + 40, sx + 17, top + 90});
    part(L"SCROLLBAR", 1, 5, {sx, h - border - 17, sx + 17, h - border});
    part(L"COMBOBOX", 1, 1, {262, 116, 279, 137});
    DeleteObject(uiFont);

    // The caption's rounded corners stay transparent; the parts landed where they were put.
    EXPECT_EQ(faceRgb, canvas.Rgb(0, 0));
    EXPECT_NE(faceRgb, canvas.Rgb(w / 2, 2));
    EXPECT_NE(faceRgb, canvas.Rgb(50, 52));
    EXPECT_NE(faceRgb, canvas.Rgb(sx + 8, top + 60));

    // Written as a 32-bit BMP for people to look at.
    std::string path = std::string(RW_BINARY_DIR) + "/skins/preview-" + GetParam().folder + ".bmp";
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    BITMAPFILEHEADER file = {0x4D42, DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + w * h * 4), 0, 0,
                             DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER))};
    BITMAPINFOHEADER info = {sizeof info, w, -h, 1, 32, BI_RGB};
    GdiFlush();
    fwrite(&file, sizeof file, 1, f);
    fwrite(&info, sizeof info, 1, f);
    fwrite(canvas.bits(), 4, size_t(w) * h, f);
    fclose(f);
}

// Every state of the button parts has its own label colour: the disabled ones grey (the skin's
// grey-text colour), the others not.
TEST_P(ShippedSkinsTest, ButtonLabelsTakeTheStateColours)
{
    struct LabelPart
    {
        int part;
        int states;
        int disabledEvery; // a disabled state every n states, starting at disabledFirst
        int disabledFirst;
    };
    const LabelPart kParts[] = {{1, 5, 5, 4}, {2, 8, 4, 4}, {3, 12, 4, 4}, {4, 2, 2, 2}};
    CWVPSkinManagerClass* button = manager.GetSkinClass(L"BUTTON");
    ASSERT_NE(nullptr, button);
    COLORREF gray = manager.GetMetrics()->GetColor(COLOR_GRAYTEXT);
    for (const LabelPart& p : kParts)
    {
        for (int state = 1; state <= p.states; ++state)
        {
            COLORREF text = button->GetThemeColor(p.part, state, kSkinPropTextColor, CLR_INVALID);
            bool disabled = (state - p.disabledFirst) % p.disabledEvery == 0 && state >= p.disabledFirst;
            ASSERT_NE(CLR_INVALID, text) << "part " << p.part << " state " << state;
            if (disabled)
                EXPECT_EQ(gray, text) << "part " << p.part << " state " << state;
            else
                EXPECT_NE(gray, text) << "part " << p.part << " state " << state;
        }
        COLORREF normal = button->GetThemeColor(p.part, 1, kSkinPropTextColor, CLR_INVALID);
        COLORREF off = button->GetThemeColor(p.part, p.disabledFirst, kSkinPropTextColor, CLR_INVALID);
        EXPECT_NE(normal, off) << "a disabled label differs from an enabled one, part " << p.part;
    }
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
