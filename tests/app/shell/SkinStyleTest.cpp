// The C++ streams first: windows.h defines min and max macros that break them.
#include <fstream>
#include <sstream>
#include <string>

#include "RwTest.h"
#include "app/shell/ColorFilterMonochrome.h"
#include "app/shell/SkinStyle.h"
#include "uilib/foundation/DrawHelpers.h"
#include "uilib/skin/SkinManager.h"

namespace
{
// Records what an update handler sets on a menu item.
class RecordingCmdUI : public CCmdUI
{
  public:
    explicit RecordingCmdUI(UINT id)
    {
        m_nID = id;
    }
    void Enable(BOOL on) override
    {
        enabled = on;
    }
    void SetCheck(int check) override
    {
        checked = check;
    }
    int enabled = -1;
    int checked = -1;
};

COLORREF Filtered(COLORREF colour)
{
    WVPSkinManager()->ApplyColorFilters(colour);
    return colour;
}

int Lightness(COLORREF colour)
{
    return (CWVPDrawHelpers::ColorToHLS(colour) >> 16) & 0xFF;
}

class SkinStyleTest : public ::testing::Test
{
  protected:
    void TearDown() override
    {
        WVPSkinManager()->RemoveColorFilters();
        WVPSkinManager()->LoadSkin(nullptr, nullptr);
    }
};
} // namespace

// Every colour takes the tint's hue and saturation and keeps 95 % of its lightness; black as a
// tint greys everything, slightly darker; white under the first tint stays nearly white.
TEST(ColorFilterMonochromeTest, TintsKeepLightness)
{
    COLORREF black = 0;
    ASSERT_TRUE(CSkinStyle::TintOf(8, &black));
    CColorFilterMonochrome grey(CWVPDrawHelpers::ColorToHLS(black));
    COLORREF c = RGB(40, 120, 220);
    const int before = Lightness(c);
    grey.ApplyColorFilter(c);
    EXPECT_EQ(GetRValue(c), GetGValue(c));
    EXPECT_EQ(GetGValue(c), GetBValue(c));
    EXPECT_NEAR(before * 95 / 100, Lightness(c), 1);

    COLORREF sand = 0;
    ASSERT_TRUE(CSkinStyle::TintOf(1, &sand));
    const DWORD sandHls = CWVPDrawHelpers::ColorToHLS(sand);
    CColorFilterMonochrome tint(sandHls);
    COLORREF white = RGB(255, 255, 255);
    tint.ApplyColorFilter(white);
    EXPECT_NEAR(static_cast<int>(240 * 0.95 + ((sandHls >> 16) & 0xFF) * 0.05), Lightness(white), 1);
    EXPECT_GT(GetRValue(white), 200);
    COLORREF mid = RGB(0, 128, 0);
    tint.ApplyColorFilter(mid);
    EXPECT_NEAR(static_cast<int>(sandHls & 0xFF), static_cast<int>(CWVPDrawHelpers::ColorToHLS(mid) & 0xFF), 4);
}

// The manager deletes its filters through their virtual destructor.
TEST(ColorFilterMonochromeTest, ManagerRunsTheFiltersDestructors)
{
    static int destroyed = 0;
    struct Counting : CColorFilterMonochrome
    {
        Counting() : CColorFilterMonochrome(0)
        {
        }
        ~Counting() override
        {
            ++destroyed;
        }
    };
    CWVPSkinManager manager;
    manager.AddColorFilter(new Counting);
    manager.AddColorFilter(new Counting);
    manager.RemoveColorFilters();
    EXPECT_EQ(2, destroyed);
    EXPECT_FALSE(manager.HasColorFilters());
}

// The tint table and its commands; 32890 is no tint.
TEST(SkinStyleTableTest, TintsAndCommands)
{
    const COLORREF packed[] = {0x70A2C8, 0xF0085A, 0xED2608, 0x58A870, 0x21160B, 0x4E03E1, 0x2C38B4, 0};
    for (int i = 1; i <= 8; ++i)
    {
        COLORREF tint = 1;
        ASSERT_TRUE(CSkinStyle::TintOf(i, &tint));
        EXPECT_EQ(packed[i - 1], tint) << i;
        const SkinTintEntry* entry = CSkinStyle::FindTint(CSkinStyle::Tint(i).command);
        ASSERT_NE(nullptr, entry);
        EXPECT_EQ(i, entry->value);
    }
    COLORREF unused = 0;
    for (int outside : {0, -1, 9})
        EXPECT_FALSE(CSkinStyle::TintOf(outside, &unused)) << outside;
    EXPECT_EQ(nullptr, CSkinStyle::FindTint(32890));
    EXPECT_EQ(32893u, CSkinStyle::Tint(8).command);
}

// The English menu names each tint after the colour it gives a skin colour: the hue of a grey run
// through the tint's filter lies in the hue range of the name (degrees), and "Grey" keeps it grey.
TEST(SkinStyleTableTest, EnglishTintNamesNameTheColourTheyGive)
{
    struct Hues
    {
        const char* name;
        int from, to; // degrees; from > to wraps through 0
    };
    const Hues kHues[] = {
        {"Red", 350, 15},    {"Orange", 15, 45},       {"Tan", 20, 45},      {"Yellow", 45, 70},
        {"Green", 80, 150},  {"Cyan", 170, 195},       {"Steel Blue", 195, 225}, {"Blue", 220, 250},
        {"Violet", 250, 290}, {"Purple", 265, 300},    {"Crimson", 330, 355},
    };
    std::ifstream file(rwtest::ProgramDir() + "/lang/English.xml", std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    const std::string xml = text.str();
    for (int i = 1; i <= 8; ++i)
    {
        const std::string key = "menu_ui_color" + std::to_string(i);
        const size_t open = xml.find("<" + key + ">");
        ASSERT_NE(std::string::npos, open) << key;
        const size_t start = open + key.size() + 2;
        const std::string name = xml.substr(start, xml.find("</", start) - start);
        COLORREF tint = 0;
        ASSERT_TRUE(CSkinStyle::TintOf(i, &tint));
        CColorFilterMonochrome filter(CWVPDrawHelpers::ColorToHLS(tint));
        COLORREF colour = RGB(128, 128, 128);
        filter.ApplyColorFilter(colour);
        const int r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
        const int high = r > g ? (r > b ? r : b) : (g > b ? g : b);
        const int low = r < g ? (r < b ? r : b) : (g < b ? g : b);
        if (name == "Grey")
        {
            EXPECT_LE(high - low, 8) << key << " gives " << r << "," << g << "," << b;
            continue;
        }
        ASSERT_GT(high - low, 8) << key << " \"" << name << "\" gives a grey";
        double hue = high == r ? 60.0 * (g - b) / (high - low) : high == g ? 120 + 60.0 * (b - r) / (high - low)
                                                                          : 240 + 60.0 * (r - g) / (high - low);
        hue = hue < 0 ? hue + 360 : hue;
        const Hues* range = nullptr;
        for (const Hues& h : kHues)
            if (name == h.name)
                range = &h;
        ASSERT_NE(nullptr, range) << key << ": no hue known for \"" << name << "\"";
        const bool inside = range->from < range->to ? hue >= range->from && hue < range->to
                                                    : hue >= range->from || hue < range->to;
        EXPECT_TRUE(inside) << key << " \"" << name << "\" gives the hue " << hue << " (" << r << "," << g << "," << b
                            << ")";
    }
}

// A tint is installed only under a skinned look; "normal" and value 0 remove it.
TEST_F(SkinStyleTest, ApplySkinColorInstallsTheTintUnderSkinnedLooks)
{
    CSkinStyle::ApplySkinColor(L"aroma", 8);
    COLORREF c = Filtered(RGB(200, 40, 40));
    EXPECT_EQ(GetRValue(c), GetBValue(c));
    CSkinStyle::ApplySkinColor(L"aroma", 3);
    EXPECT_TRUE(WVPSkinManager()->HasColorFilters());
    EXPECT_NE(Filtered(RGB(200, 40, 40)), RGB(200, 40, 40));
    CSkinStyle::ApplySkinColor(L"aroma", 0);
    EXPECT_FALSE(WVPSkinManager()->HasColorFilters());
    CSkinStyle::ApplySkinColor(L"normal", 3);
    EXPECT_FALSE(WVPSkinManager()->HasColorFilters());
    CSkinStyle::ApplySkinColor(L"aroma", 12);
    EXPECT_FALSE(WVPSkinManager()->HasColorFilters());
}

// "aroma" then "simple" load their skins and keep the tint; "normal" unloads the skin and resets
// the tint to 0.
TEST_F(SkinStyleTest, StyleCommandsLoadSkinsAndResetTheTint)
{
    CString style = L"normal";
    int colour = 0;
    ASSERT_TRUE(CSkinStyle::RunStyleCommand(32873, style, colour));
    EXPECT_EQ(CString(L"aroma"), style);
    EXPECT_TRUE(WVPSkinManager()->IsSkinLoaded());
    ASSERT_TRUE(CSkinStyle::RunTintCommand(32887, style, colour));
    EXPECT_EQ(3, colour);
    EXPECT_TRUE(WVPSkinManager()->HasColorFilters());

    ASSERT_TRUE(CSkinStyle::RunStyleCommand(32874, style, colour));
    EXPECT_EQ(CString(L"simple"), style);
    EXPECT_EQ(3, colour);
    EXPECT_TRUE(WVPSkinManager()->IsSkinLoaded());
    EXPECT_TRUE(WVPSkinManager()->HasColorFilters());

    ASSERT_TRUE(CSkinStyle::RunStyleCommand(32872, style, colour));
    EXPECT_EQ(CString(L"normal"), style);
    EXPECT_EQ(0, colour);
    EXPECT_FALSE(WVPSkinManager()->IsSkinLoaded());
    EXPECT_FALSE(WVPSkinManager()->HasColorFilters());
    EXPECT_FALSE(CSkinStyle::RunStyleCommand(32884, style, colour));
    EXPECT_FALSE(CSkinStyle::RunTintCommand(32873, style, colour));
}

// Looks are checked by exact name; tints are greyed under "normal" and checked by value.
TEST(SkinStyleTableTest, UpdateHandlers)
{
    struct Case
    {
        UINT id;
        const wchar_t* style;
        int colour;
        int enabled, checked;
    } cases[] = {
        {32872, L"normal", 0, -1, 1}, {32873, L"normal", 0, -1, 0}, {32873, L"aroma", 0, -1, 1},
        {32874, L"Simple", 0, -1, 0}, {32884, L"normal", 0, 0, 1},  {32891, L"aroma", 6, 1, 1},
        {32893, L"simple", 6, 1, 0},
    };
    for (const Case& c : cases)
    {
        RecordingCmdUI ui(c.id);
        ASSERT_TRUE(CSkinStyle::UpdateItem(&ui, c.style, c.colour));
        EXPECT_EQ(c.enabled, ui.enabled) << c.id;
        EXPECT_EQ(c.checked, ui.checked) << c.id;
    }
    RecordingCmdUI other(32890);
    EXPECT_FALSE(CSkinStyle::UpdateItem(&other, L"aroma", 0));
}
