// The colour manager: its 63 slots and ten gradients against a computation written here from the
// tables of rules, over several sets of system colours and schemes and over this prefix's own
// state; scheme detection from theme names; the mixing and contrast helpers' edge cases.
#include "RwTest.h"

#include <algorithm>
#include <cmath>
#include <vector>

extern "C"
{
#include <uxtheme.h>
}

#include "ThemeState.h"
#include "platform/mfc/Archive.h"
#include "platform/mfc/MemFile.h"
#include "uilib/foundation/ColorManager.h"

namespace
{
// ---- The reference computation -------------------------------------------------------------
struct Rgb
{
    int r, g, b;
};
Rgb Split(COLORREF c)
{
    return {(int)(c & 0xFF), (int)((c >> 8) & 0xFF), (int)((c >> 16) & 0xFF)};
}
COLORREF Join(int r, int g, int b)
{
    return (COLORREF)(r | (g << 8) | (b << 16));
}

COLORREF Mix(COLORREF a, COLORREF b, int w)
{
    Rgb x = Split(a), y = Split(b);
    int d = w < 100 ? 100 : 1000;
    return Join((w * x.r + (d - w) * y.r + d / 2) / d, (w * x.g + (d - w) * y.g + d / 2) / d,
                (w * x.b + (d - w) * y.b + d / 2) / d);
}

const double kMax[3] = {195, 390, 65};
std::vector<double> W(COLORREF c)
{
    Rgb x = Split(c);
    return {x.r * 195.0 / 255, x.g * 390.0 / 255, x.b * 65.0 / 255};
}
COLORREF Unweight(std::vector<double> v)
{
    int out[3];
    for (int i = 0; i < 3; ++i)
    {
        v[i] = (std::min)((std::max)(v[i], 0.0), kMax[i]);
        out[i] = (std::min)((std::max)((int)(v[i] * 255 / kMax[i] + 0.5), 0), 255);
    }
    return Join(out[0], out[1], out[2]);
}
float DistSq(COLORREF a, COLORREF b)
{
    auto x = W(a), y = W(b);
    return (float)((x[0] - y[0]) * (x[0] - y[0]) + (x[1] - y[1]) * (x[1] - y[1]) + (x[2] - y[2]) * (x[2] - y[2]));
}
double Dist(COLORREF a, COLORREF b)
{
    return (float)std::sqrt((double)DistSq(a, b));
}
double Scaled(COLORREF reference, int threshold)
{
    int brightness = (std::min)((int)Dist(reference, 0), 220);
    return (2.0 - brightness / 220.0) * threshold;
}
bool Above(COLORREF a, COLORREF b, int threshold)
{
    double d = Scaled(a, threshold);
    return DistSq(a, b) > d * d;
}
COLORREF Ensure(COLORREF reference, COLORREF color, int threshold)
{
    double d = Scaled(reference, threshold);
    double rb = Dist(reference, 0);
    double turn = rb < Dist(color, 0) ? 442 - d : d;
    bool mirror = turn >= rb;
    auto a = W(reference), b = W(color);
    if (mirror)
        for (int i = 0; i < 3; ++i)
            a[i] = kMax[i] - a[i], b[i] = kMax[i] - b[i];
    double dot = a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
    double len = (std::max)(std::sqrt(b[0] * b[0] + b[1] * b[1] + b[2] * b[2]), 0.001);
    double t = dot / (len * len);
    double p = 0;
    for (int i = 0; i < 3; ++i)
        p += (a[i] - t * b[i]) * (a[i] - t * b[i]);
    double s = dot / len - std::sqrt((std::max)(d * d - p, 0.0));
    std::vector<double> n(3);
    for (int i = 0; i < 3; ++i)
        n[i] = mirror ? kMax[i] - b[i] * s / len : b[i] * s / len;
    return Unweight(n);
}
COLORREF Limit(COLORREF reference, COLORREF color, int threshold)
{
    double dist = Dist(reference, color), d = Scaled(reference, threshold);
    auto r = W(reference), c = W(color);
    std::vector<double> n(3);
    for (int i = 0; i < 3; ++i)
        n[i] = c[i] + (dist - d) / dist * (r[i] - c[i]);
    return Unweight(n);
}

struct Gradient
{
    COLORREF from, to;
    float factor;
};
struct Expected
{
    COLORREF slots[63];
    Gradient gradients[10];
};

Expected Reference(const WVPColorInputs& in)
{
    Expected e = {};
    COLORREF* G = e.slots;
    for (int i = 1; i < 30; ++i)
        G[i] = in.sysColors[i];
    const int initial[][2] = {{30, 15}, {31, 5},  {32, 13}, {33, 13}, {34, 16}, {35, 17}, {36, 5},  {37, 13},
                              {38, 16}, {39, 16}, {40, 16}, {41, 5},  {42, 16}, {43, 16}, {44, 8},  {45, 7},
                              {46, 18}, {47, 14}, {48, 16}, {49, 14}, {50, 13}, {51, 15}, {52, 16}, {53, 15},
                              {54, 16}, {55, 15}, {56, 15}, {57, 16}, {58, 17}, {60, 16}, {61, 16}};
    for (auto& row : initial)
        G[row[0]] = G[row[1]];
    bool low = in.lowColor;
    bool bw = (G[15] == 0 && G[18] == 0xFFFFFF) || (G[15] == 0xFFFFFF && G[18] == 0);
    if (!low)
    {
        if (bw)
        {
            G[31] = G[13], G[36] = G[13], G[45] = G[14], G[32] = G[18], G[37] = G[18], G[50] = G[13];
            G[43] = G[18], G[38] = G[18];
        }
        else
        {
            const int rows[][4] = {{30, 5, 15, 165}, {31, 13, 5, 30}, {33, 13, 5, 50}, {41, 15, 5, 143},
                                   {35, 17, 5, 70},  {38, 16, 5, 75}, {39, 16, 5, 70}, {43, 46, 16, 20},
                                   {61, 46, 16, 15}, {40, 16, 5, 90}, {42, 15, 16, 90}};
            for (auto& r : rows)
                G[r[0]] = Mix(G[r[1]], G[r[2]], r[3]);
        }
        if (Above(G[15], G[30], 35))
            G[30] = Limit(G[15], G[30], 35);
        const int contrast[][4] = {{31, 30, 31, 50},  {32, 30, 13, 100}, {33, 30, 33, 30},  {35, 41, 35, 80},
                                   {37, 33, 37, 100}, {38, 30, 38, 85},  {39, 30, 39, 50},  {43, 41, 43, 100},
                                   {61, 30, 61, 100}, {40, 30, 40, 80},  {44, 41, 44, 180}, {45, 31, 45, 180},
                                   {46, 30, 46, 180}, {47, 33, 47, 180}};
        for (auto& r : contrast)
            if (!Above(G[r[1]], G[r[2]], r[3]))
                G[r[0]] = Ensure(G[r[1]], G[r[2]], r[3]);
        if (Above(G[41], G[35], 145))
            G[35] = Limit(G[41], G[35], 145);
        if (!bw)
        {
            Rgb a = Split(G[30]), b = Split(G[5]), c = Split(G[13]);
            G[36] = Join((a.r * 50 / 100 + b.r * 40 / 100 + c.r * 10 / 100) & 0xFF,
                         (a.g * 50 / 100 + b.g * 40 / 100 + c.g * 10 / 100) & 0xFF,
                         (a.b * 50 / 100 + b.b * 40 / 100 + c.b * 10 / 100) & 0xFF);
        }
        Rgb face = Split(G[15]);
        int m = (std::max)({face.r, face.g, face.b});
        int n = m + (std::min)(35, 255 - m);
        G[48] = m == 0 ? 0x232323 : Join(n * face.r / m, n * face.g / m, n * face.b / m);
        Rgb shadow = Split(G[16]);
        m = (std::max)({shadow.r, shadow.g, shadow.b});
        n = (std::max)(m - 43, 0);
        G[49] = G[15] == 0 ? 0x7F7F7F : m == 0 ? 0 : Join(n * shadow.r / m, n * shadow.g / m, n * shadow.b / m);
        Rgb light = Split(G[31]);
        G[34] = Join((int)(light.r * 0.75), (int)(light.g * 0.75), (int)(light.b * 0.75));
        G[22] = Join((std::min)(face.r + 15, 255), (std::min)(face.g + 15, 255), (std::min)(face.b + 15, 255));
        G[53] = G[30], G[58] = G[40], G[60] = G[40];
    }
    // Gradients 0 to 6 by scheme.
    const Gradient blue[7] = {{0xD68759, 0x962D00, .5f},  {0xF5BE9E, 0xFADAC4, .5f}, {0xD68759, 0x962D00, .5f},
                              {0xFEECDD, 0xE2A981, .75f}, {0xFFEFE3, 0xE4AD87, .5f}, {0xF6DDCB, 0xDCA179, .5f},
                              {0xFFEFE3, 0xE7B593, .5f}};
    const Gradient olive[7] = {{0x82C0AF, 0x447A63, .5f}, {0xA7D9D9, 0xE4F1F2, .5f}, {0x6F8E78, 0x435B49, .5f},
                               {0xDEF7F4, 0x91C6B7, .3f}, {0xEDFFFF, 0x92C7B8, .3f}, {0xD1E6E6, 0x78B4A4, .3f},
                               {0xD5F0EC, 0x9FCEC2, .5f}};
    const Gradient silver[7] = {{0xBFA7A8, 0x916F70, .5f},  {0xE5D7D7, 0xF7F3F3, .5f},  {0xBFA7A8, 0x977677, .5f},
                                {0xFFF9F9, 0xB79B9C, .75f}, {0xFFF9F9, 0xB99D9F, .75f}, {0xE2D7D7, 0x9E7E80, .75f},
                                {0xF1E7E9, 0xCDB9BA, .5f}};
    const Gradient* set = nullptr;
    if (in.scheme == 1 || in.scheme == 4 || in.scheme == 5)
        set = blue, G[54] = 0x962D00;
    else if (in.scheme == 2)
        set = olive, G[54] = 0x588060;
    else if (in.scheme == 3)
        set = silver, G[54] = 0x947C7C;
    if (set)
        std::copy(set, set + 7, e.gradients);
    else
    {
        COLORREF f = G[15], w = G[5], s = G[16];
        e.gradients[0] = {s, s, .5f};
        e.gradients[1] = {f, Mix(f, w, 215), .5f};
        e.gradients[2] = {f, s, .5f};
        e.gradients[3] = {Mix(f, w, 205), f, .5f};
        e.gradients[4] = {Mix(f, w, 145), Mix(f, w, 93), .5f};
        e.gradients[5] = {Mix(f, w, 40), Mix(f, s, 95), .5f};
        e.gradients[6] = {Mix(f, w, 165), Mix(f, w, 42), .5f};
    }
    if (low)
        e.gradients[3] = e.gradients[1] = {G[15], G[15], .5f};
    e.gradients[7] = {0x8CD5FF, 0x55ADFF, .5f};
    e.gradients[8] = {0x4B8EFE, 0x8BCFFF, .5f};
    e.gradients[9] = {0xC8F2FF, 0x97D4FF, .5f};
    if (!low && in.hasTreeBorder)
        G[57] = in.treeBorder;
    return e;
}

void ExpectMatches(const CWVPColorManager& manager, const Expected& expected, const char* what)
{
    for (int i = 0; i < 63; ++i)
        EXPECT_EQ(expected.slots[i], manager.GetColor(i)) << what << ": slot " << i;
    for (int i = 0; i < 10; ++i)
    {
        const CWVPPaintManagerColorGradient& g = manager.m_grcGradients[i];
        EXPECT_EQ(expected.gradients[i].from, g.clrLight.GetColor()) << what << ": gradient " << i;
        EXPECT_EQ(expected.gradients[i].to, g.clrDark.GetColor()) << what << ": gradient " << i;
        EXPECT_FLOAT_EQ(expected.gradients[i].factor, g.m_fGradientFactor) << what << ": gradient " << i;
    }
}

WVPColorInputs Inputs(COLORREF face, COLORREF text, COLORREF window, COLORREF shadow, COLORREF highlight, unsigned seed)
{
    WVPColorInputs in = {};
    for (int i = 1; i < 30; ++i)
    {
        seed = seed * 1103515245u + 12345u;
        in.sysColors[i] = (seed >> 8) & 0xFFFFFF;
    }
    in.sysColors[COLOR_BTNFACE] = face;
    in.sysColors[COLOR_BTNTEXT] = text;
    in.sysColors[COLOR_WINDOW] = window;
    in.sysColors[COLOR_BTNSHADOW] = shadow;
    in.sysColors[COLOR_HIGHLIGHT] = highlight;
    return in;
}
} // namespace

TEST(ColorManager, SlotsAndGradientsOverSetsOfSystemColours)
{
    struct Case
    {
        const char* name;
        WVPColorInputs in;
    };
    std::vector<Case> cases = {
        {"classic grey", Inputs(0xC0C0C0, 0x000000, 0xFFFFFF, 0x808080, 0x800000, 1)},
        {"xp beige", Inputs(0xD8E9EC, 0x000000, 0xFFFFFF, 0x99A8AC, 0xC56A31, 2)},
        {"high contrast black", Inputs(0x000000, 0xFFFFFF, 0x000000, 0x808080, 0x800080, 3)},
        {"high contrast white", Inputs(0xFFFFFF, 0x000000, 0xFFFFFF, 0x808080, 0x000000, 4)},
        {"black face, grey text", Inputs(0x000000, 0x808080, 0x202020, 0x000000, 0xFF0000, 5)},
        {"dark", Inputs(0x303030, 0xE0E0E0, 0x101010, 0x202020, 0x00A0FF, 6)},
        {"random a", Inputs(0x7A3F12, 0x11EE22, 0x4040C0, 0x0A0B0C, 0xFFFF00, 7)},
        {"random b", Inputs(0xF0F0F0, 0xF0F0F0, 0xF0F0F0, 0xF0F0F0, 0xF0F0F0, 8)},
    };
    cases[1].in.hasTreeBorder = TRUE;
    cases[1].in.treeBorder = 0x123456;
    CWVPColorManager manager;
    for (int scheme = 0; scheme <= 5; ++scheme)
    {
        for (Case& c : cases)
        {
            c.in.scheme = scheme;
            for (BOOL low : {FALSE, TRUE})
            {
                c.in.lowColor = low;
                manager.RefreshColorsFrom(c.in);
                std::string what = std::string(c.name) + " scheme " + std::to_string(scheme) + (low ? " low" : "");
                ExpectMatches(manager, Reference(c.in), what.c_str());
                EXPECT_EQ(scheme, manager.GetDetectedColorScheme());
                EXPECT_EQ(scheme, manager.GetEffectiveColorScheme());
            }
        }
    }
}

TEST(ColorManager, ProcessInstanceFollowsThisPrefix)
{
    bool themed = ExpectThemed();
    WVPRefreshColors();
    CWVPColorManager* manager = WVPColorManager();
    EXPECT_EQ(manager, WVPColorManager());
    WVPColorInputs in = {};
    for (int i = 1; i < 30; ++i)
        in.sysColors[i] = ::GetSysColor(i);
    in.scheme = 0; // Wine's own style is none of the known schemes
    in.lowColor = FALSE;
    HTHEME tree = ::OpenThemeData(nullptr, L"TREEVIEW");
    EXPECT_EQ(themed, tree != nullptr);
    if (tree)
    {
        in.hasTreeBorder = SUCCEEDED(::GetThemeColor(tree, 0, 0, 3801, &in.treeBorder));
        ::CloseThemeData(tree);
    }
    ExpectMatches(*manager, Reference(in), themed ? "themed prefix" : "classic prefix");
    EXPECT_EQ(0, manager->GetDetectedColorScheme());
    EXPECT_EQ(0, manager->DetectColorScheme());
    EXPECT_FALSE(manager->AreLunaColorsDisabled());
    EXPECT_FALSE(CWVPColorManager::IsLowColorDisplay(nullptr));

    // An 8-bit display: scheme 0, gradients 1 and 3 solid in the button face, derived slots untouched.
    CWVPColorManager::OverrideDisplayBitsPerPixel(8);
    manager->RefreshColors();
    CWVPColorManager::OverrideDisplayBitsPerPixel(0);
    in.lowColor = TRUE;
    ExpectMatches(*manager, Reference(in), "8-bit display");
    EXPECT_EQ(0, manager->GetDetectedColorScheme());
    manager->RefreshColors();
}

TEST(ColorManager, SchemeDetectionFromThemeNames)
{
    struct Case
    {
        BOOL active, low;
        HRESULT hr;
        LPCWSTR file, color;
        int scheme;
    };
    const Case cases[] = {
        {TRUE, FALSE, S_OK, L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles", L"NormalColor", 1},
        {TRUE, FALSE, S_OK, L"c:\\x\\luna.msstyles", L"NORMALCOLOR", 1},
        {TRUE, FALSE, S_OK, L"c:\\x\\luna.msstyles", L"HomeStead", 2},
        {TRUE, FALSE, S_OK, L"c:\\x\\LUNA.MSSTYLES", L"Metallic", 3},
        {TRUE, FALSE, S_OK, L"c:\\x\\winxp.luna.wvstyles", L"metallic", 3},
        {TRUE, FALSE, S_OK, L"c:\\x\\luna.msstyles", L"Pink", 0},
        {TRUE, FALSE, S_OK, L"c:\\x\\Royale.msstyles", L"NormalColor", 4},
        {TRUE, FALSE, S_OK, L"c:\\x\\winxp.royale.wvstyles", L"", 4},
        {TRUE, FALSE, S_OK, L"C:\\Windows\\Resources\\Themes\\Aero\\Aero.msstyles", L"NormalColor", 5},
        {TRUE, FALSE, S_OK, L"C:\\windows\\resources\\themes\\light\\light.msstyles", L"Blue", 0},
        {FALSE, FALSE, S_OK, L"c:\\x\\luna.msstyles", L"NormalColor", 0},
        {TRUE, TRUE, S_OK, L"c:\\x\\luna.msstyles", L"NormalColor", 0},
        {TRUE, FALSE, E_FAIL, L"c:\\x\\luna.msstyles", L"NormalColor", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.scheme, CWVPColorManager::DetectColorSchemeFrom(c.active, c.low, c.hr, c.file, c.color));
}

TEST(ColorManager, MixingAndContrastHelpers)
{
    CWVPColorManager* manager = WVPColorManager();
    EXPECT_EQ(63u, manager->GetColor(63));
    EXPECT_EQ(0x00FF0000u, manager->GetColor(0x00FF0000));
    EXPECT_EQ(0u, manager->GetColor(0));
    EXPECT_EQ(0u, manager->GetColor(62));
    EXPECT_EQ((COLORREF)::GetSysColor(COLOR_WINDOW), manager->GetColor(COLOR_WINDOW));
    // Weight 100 is per mille: 10% of the first colour.
    EXPECT_EQ(Join(26, 230, 0), CWVPColorManager::MixColors(Join(255, 0, 0), Join(0, 255, 0), 100));
    EXPECT_EQ(Join(128, 128, 0), CWVPColorManager::MixColors(Join(255, 0, 0), Join(0, 255, 0), 50));
    EXPECT_EQ(Join(255, 0, 0), CWVPColorManager::MixColors(Join(255, 0, 0), Join(0, 255, 0), 1000));
    EXPECT_FALSE(CWVPColorManager::IsColorDistanceAbove(0x808080, 0x808080, FALSE, 0));
    EXPECT_TRUE(CWVPColorManager::IsColorDistanceAbove(0x808080, 0x818080, FALSE, 0));
    EXPECT_DOUBLE_EQ(70.0, CWVPColorManager::ScaleContrastThreshold(0, 35));
    EXPECT_DOUBLE_EQ(35.0, CWVPColorManager::ScaleContrastThreshold(300, 35));
    EXPECT_NEAR(440.85, CWVPColorManager::ColorDistance(0xFFFFFF, 0), 0.01);
    // Moving a colour away from its reference reaches the scaled distance.
    COLORREF moved = CWVPColorManager::EnsureContrast(0xC0C0C0, 0xB0B0B0, 50);
    EXPECT_NEAR(CWVPColorManager::ScaleContrastThreshold(CWVPColorManager::ColorDistance(0xC0C0C0, 0), 50),
                CWVPColorManager::ColorDistance(0xC0C0C0, moved), 3.0);
    COLORREF pulled = CWVPColorManager::LimitContrast(0xC0C0C0, 0x000000, 50);
    EXPECT_NEAR(CWVPColorManager::ScaleContrastThreshold(CWVPColorManager::ColorDistance(0xC0C0C0, 0), 50),
                CWVPColorManager::ColorDistance(0xC0C0C0, pulled), 3.0);
    // A colour already at the reference: no root of a negative number, no NaN in the result.
    EXPECT_EQ(Ensure(0x404040, 0x404040, 100), CWVPColorManager::EnsureContrast(0x404040, 0x404040, 100));
}

TEST(PaintManagerColor, EffectiveColourAndSerialisation)
{
    CWVPPaintManagerColorGradient gradient;
    EXPECT_EQ(WVP_COLOR_UNSET, gradient.clrLight.GetColor());
    EXPECT_FLOAT_EQ(0.5f, gradient.m_fGradientFactor);
    gradient.SetDefaults(0x112233, 0x445566, 0.3f);
    gradient.clrDark.SetOverride(0x778899);
    EXPECT_EQ(0x778899u, gradient.clrDark.GetColor());
    gradient.SetDefaults(0x010101, 0x020202, 0.75f);
    EXPECT_EQ(0x778899u, gradient.clrDark.GetColor()); // overrides survive new defaults
    CWVPPaintManagerColorGradient copy;
    copy.SetDefaultsFrom(gradient);
    EXPECT_EQ(0x778899u, copy.clrDark.GetDefault());
    EXPECT_FLOAT_EQ(0.75f, copy.m_fGradientFactor);
    copy.SetDefaultSolid(0xABCDEF);
    EXPECT_EQ(0xABCDEFu, copy.clrLight.GetColor());
    EXPECT_FLOAT_EQ(0.5f, copy.m_fGradientFactor);

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        gradient.Serialize(ar);
    }
    EXPECT_EQ(20u, (unsigned)file.GetLength());
    file.SeekToBegin();
    CWVPPaintManagerColorGradient loaded;
    {
        CArchive ar(&file, CArchive::load);
        loaded.Serialize(ar);
    }
    EXPECT_EQ(0x010101u, loaded.clrLight.GetColor());
    EXPECT_EQ(0x020202u, loaded.clrDark.GetDefault());
    EXPECT_EQ(0x778899u, loaded.clrDark.GetColor());
    EXPECT_FLOAT_EQ(0.75f, loaded.m_fGradientFactor);
}
