#include "uilib/foundation/ColorManager.h"

#include <algorithm>
#include <cmath>

#include "platform/mfc/ExitSequence.h"
#include "platform/mfc/String.h"
#include "uilib/foundation/WinThemeWrapper.h"

namespace
{
// The weighted colour space in which contrast is measured.
const double kRedSpan = 195.0;
const double kGreenSpan = 390.0;
const double kBlueSpan = 65.0;
const double kWhiteBrightness = 442.0;
const double kBrightnessCap = 220.0;
const int kThemeNameChars = 260;
const int kTreeBorderProperty = 3801; // TMT_BORDERCOLOR
const int kLowColorBits = 8;
int g_displayBitsOverride = 0;

struct Weighted
{
    double v[3];
};
const double kSpans[3] = {kRedSpan, kGreenSpan, kBlueSpan};

Weighted ToWeighted(COLORREF c)
{
    return {{GetRValue(c) * kRedSpan / 255.0, GetGValue(c) * kGreenSpan / 255.0, GetBValue(c) * kBlueSpan / 255.0}};
}

COLORREF FromWeighted(const Weighted& w)
{
    int channel[3];
    for (int i = 0; i < 3; ++i)
    {
        double v = std::min(std::max(w.v[i], 0.0), kSpans[i]);
        channel[i] = std::min(std::max((int)(v * 255.0 / kSpans[i] + 0.5), 0), 255);
    }
    return RGB(channel[0], channel[1], channel[2]);
}

double Brightness(COLORREF c)
{
    return CWVPColorManager::ColorDistance(c, 0);
}

// One mixing row of the refresh: target = MixColors(G(first), G(second), weight).
struct MixRow
{
    int target, first, second, weight;
};
const MixRow kMixRows[] = {{30, 5, 15, 165}, {31, 13, 5, 30}, {33, 13, 5, 50}, {41, 15, 5, 143},
                           {35, 17, 5, 70},  {38, 16, 5, 75}, {39, 16, 5, 70}, {43, 46, 16, 20},
                           {61, 46, 16, 15}, {40, 16, 5, 90}, {42, 15, 16, 90}};

// One contrast row: unless G(colour) is far enough from G(reference), move it away.
struct ContrastRow
{
    int target, reference, color, threshold;
};
const ContrastRow kContrastRows[] = {{31, 30, 31, 50},  {32, 30, 13, 100}, {33, 30, 33, 30},  {35, 41, 35, 80},
                                     {37, 33, 37, 100}, {38, 30, 38, 85},  {39, 30, 39, 50},  {43, 41, 43, 100},
                                     {61, 30, 61, 100}, {40, 30, 40, 80},  {44, 41, 44, 180}, {45, 31, 45, 180},
                                     {46, 30, 46, 180}, {47, 33, 47, 180}};

// The initial derived values: slot = G(source).
const int kInitialSources[][2] = {{30, 15}, {31, 5},  {32, 13}, {33, 13}, {34, 16}, {35, 17}, {36, 5},  {37, 13},
                                  {38, 16}, {39, 16}, {40, 16}, {41, 5},  {42, 16}, {43, 16}, {44, 8},  {45, 7},
                                  {46, 18}, {47, 14}, {48, 16}, {49, 14}, {50, 13}, {51, 15}, {52, 16}, {53, 15},
                                  {54, 16}, {55, 15}, {56, 15}, {57, 16}, {58, 17}, {60, 16}, {61, 16}};

// The high-contrast assignments of a black-and-white scheme: slot = G(source).
const int kHighContrastSources[][2] = {{31, 13}, {36, 13}, {45, 14}, {32, 18}, {37, 18}, {50, 13}, {43, 18}, {38, 18}};

struct GradientCell
{
    COLORREF from, to;
    float factor;
};
// The scheme sets of gradients 0 to 6 and the colour they put into slot 54.
struct SchemeGradients
{
    COLORREF slot54;
    GradientCell cells[7];
};
const SchemeGradients kBlueSet = {0x962D00,
                                  {{0xD68759, 0x962D00, 0.5f},
                                   {0xF5BE9E, 0xFADAC4, 0.5f},
                                   {0xD68759, 0x962D00, 0.5f},
                                   {0xFEECDD, 0xE2A981, 0.75f},
                                   {0xFFEFE3, 0xE4AD87, 0.5f},
                                   {0xF6DDCB, 0xDCA179, 0.5f},
                                   {0xFFEFE3, 0xE7B593, 0.5f}}};
const SchemeGradients kOliveSet = {0x588060,
                                   {{0x82C0AF, 0x447A63, 0.5f},
                                    {0xA7D9D9, 0xE4F1F2, 0.5f},
                                    {0x6F8E78, 0x435B49, 0.5f},
                                    {0xDEF7F4, 0x91C6B7, 0.3f},
                                    {0xEDFFFF, 0x92C7B8, 0.3f},
                                    {0xD1E6E6, 0x78B4A4, 0.3f},
                                    {0xD5F0EC, 0x9FCEC2, 0.5f}}};
const SchemeGradients kSilverSet = {0x947C7C,
                                    {{0xBFA7A8, 0x916F70, 0.5f},
                                     {0xE5D7D7, 0xF7F3F3, 0.5f},
                                     {0xBFA7A8, 0x977677, 0.5f},
                                     {0xFFF9F9, 0xB79B9C, 0.75f},
                                     {0xFFF9F9, 0xB99D9F, 0.75f},
                                     {0xE2D7D7, 0x9E7E80, 0.75f},
                                     {0xF1E7E9, 0xCDB9BA, 0.5f}}};

const SchemeGradients* SchemeSet(int scheme)
{
    switch (scheme)
    {
    case wvpSystemColorBlue:
    case wvpSystemColorRoyale:
    case wvpSystemColorAero:
        return &kBlueSet;
    case wvpSystemColorOlive:
        return &kOliveSet;
    case wvpSystemColorSilver:
        return &kSilverSet;
    default:
        return nullptr;
    }
}

// Theme file names and the scheme they give; a luna file's scheme depends on its colour name.
struct LunaColor
{
    LPCWSTR colorName;
    int scheme;
};
const LunaColor kLunaColors[] = {
    {L"normalcolor", wvpSystemColorBlue}, {L"homestead", wvpSystemColorOlive}, {L"metallic", wvpSystemColorSilver}};
const LPCWSTR kLunaFiles[] = {L"luna.msstyles", L"winxp.luna.wvstyles"};
struct ThemeFile
{
    LPCWSTR fileName;
    int scheme;
};
const ThemeFile kThemeFiles[] = {{L"royale.msstyles", wvpSystemColorRoyale},
                                 {L"winxp.royale.wvstyles", wvpSystemColorRoyale},
                                 {L"aero.msstyles", wvpSystemColorAero}};

COLORREF ScaleChannels(COLORREF c, int numerator, int denominator)
{
    return RGB(numerator * GetRValue(c) / denominator, numerator * GetGValue(c) / denominator,
               numerator * GetBValue(c) / denominator);
}

int MaxChannel(COLORREF c)
{
    return std::max(std::max((int)GetRValue(c), (int)GetGValue(c)), (int)GetBValue(c));
}

CWVPColorManager* g_colorManager = nullptr;

void DestroyColorManager(void*)
{
    delete g_colorManager;
    g_colorManager = nullptr;
}
} // namespace

CWVPColorManager::CWVPColorManager()
    : m_detectedScheme(wvpSystemColorNone), m_selectedScheme(wvpSystemColorUnknown), m_bLunaColorsDisabled(FALSE)
{
    for (COLORREF& c : m_colors)
        c = 0;
    RefreshColors();
    m_grcGradients[7].SetDefaults(0x8CD5FF, 0x55ADFF);
    m_grcGradients[8].SetDefaults(0x4B8EFE, 0x8BCFFF);
    m_grcGradients[9].SetDefaults(0xC8F2FF, 0x97D4FF);
}

COLORREF CWVPColorManager::MixColors(COLORREF a, COLORREF b, int weight)
{
    int scale = weight < 100 ? 100 : 1000;
    auto mix = [&](int ca, int cb) { return (weight * ca + (scale - weight) * cb + scale / 2) / scale; };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

void CWVPColorManager::OverrideDisplayBitsPerPixel(int bits)
{
    g_displayBitsOverride = bits;
}

BOOL CWVPColorManager::IsLowColorDisplay(HDC dc)
{
    int bits = g_displayBitsOverride;
    if (bits == 0)
    {
        if (dc)
            bits = ::GetDeviceCaps(dc, BITSPIXEL);
        else
        {
            HWND desktop = ::GetDesktopWindow();
            HDC screen = ::GetDC(desktop);
            if (!screen)
                return FALSE;
            bits = ::GetDeviceCaps(screen, BITSPIXEL);
            ::ReleaseDC(desktop, screen);
        }
    }
    return bits >= 1 && bits <= kLowColorBits;
}

int CWVPColorManager::GetEffectiveColorScheme() const
{
    if (m_selectedScheme == wvpSystemColorUnknown || m_selectedScheme == wvpSystemColorDefault)
        return m_detectedScheme;
    return m_selectedScheme;
}

int CWVPColorManager::DetectColorSchemeFrom(BOOL themeActive, BOOL lowColor, HRESULT nameResult, LPCWSTR fileName,
                                            LPCWSTR colorName)
{
    if (!themeActive || lowColor || FAILED(nameResult) || !fileName)
        return wvpSystemColorNone;
    CString file(fileName);
    file.MakeLower();
    for (LPCWSTR luna : kLunaFiles)
    {
        if (file.Find(luna) < 0)
            continue;
        CString color(colorName ? colorName : L"");
        color.MakeLower();
        for (const LunaColor& row : kLunaColors)
            if (color == row.colorName)
                return row.scheme;
    }
    for (const ThemeFile& row : kThemeFiles)
        if (file.Find(row.fileName) >= 0)
            return row.scheme;
    return wvpSystemColorNone;
}

int CWVPColorManager::DetectColorScheme()
{
    CWVPWinThemeWrapper wrapper;
    if (!wrapper.IsThemeActive())
        return wvpSystemColorNone;
    if (IsLowColorDisplay(nullptr))
        return wvpSystemColorNone;
    WCHAR fileName[kThemeNameChars] = {0};
    WCHAR colorName[kThemeNameChars] = {0};
    WCHAR sizeName[kThemeNameChars] = {0};
    HRESULT hr =
        wrapper.GetCurrentThemeName(fileName, kThemeNameChars, colorName, kThemeNameChars, sizeName, kThemeNameChars);
    fileName[kThemeNameChars - 1] = colorName[kThemeNameChars - 1] = 0;
    return DetectColorSchemeFrom(TRUE, FALSE, hr, fileName, colorName);
}

WVPColorInputs CWVPColorManager::ReadSystemInputs()
{
    WVPColorInputs inputs = {};
    inputs.scheme = DetectColorScheme();
    inputs.lowColor = IsLowColorDisplay(nullptr);
    for (int i = 1; i < 30; ++i)
        inputs.sysColors[i] = ::GetSysColor(i);
    CWVPWinThemeWrapper tree;
    COLORREF border = 0;
    if (tree.OpenThemeData(nullptr, L"TREEVIEW") && tree.IsThemeUsable() &&
        SUCCEEDED(tree.GetThemeColor(0, 0, kTreeBorderProperty, &border)))
    {
        inputs.hasTreeBorder = TRUE;
        inputs.treeBorder = border;
    }
    return inputs;
}

void CWVPColorManager::RefreshColors()
{
    RefreshColorsFrom(ReadSystemInputs());
}

void CWVPColorManager::RefreshColorsFrom(const WVPColorInputs& in)
{
    COLORREF* g = m_colors;
    m_detectedScheme = in.scheme;
    g[0] = 0;
    for (int i = 1; i < 30; ++i)
        g[i] = in.sysColors[i];
    for (const auto& row : kInitialSources)
        g[row[0]] = g[row[1]];
    g[59] = 0;
    if (in.lowColor)
    {
        RefreshGradients(TRUE);
        return;
    }

    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    bool blackAndWhite = (g[COLOR_BTNFACE] == black && g[COLOR_BTNTEXT] == white) ||
                         (g[COLOR_BTNFACE] == white && g[COLOR_BTNTEXT] == black);
    if (blackAndWhite)
    {
        for (const auto& row : kHighContrastSources)
            g[row[0]] = g[row[1]];
    }
    else
    {
        for (const MixRow& row : kMixRows)
            g[row.target] = MixColors(g[row.first], g[row.second], row.weight);
    }

    if (IsColorDistanceAbove(g[15], g[30], TRUE, 35))
        g[30] = LimitContrast(g[15], g[30], 35);
    for (const ContrastRow& row : kContrastRows)
    {
        if (!IsColorDistanceAbove(g[row.reference], g[row.color], TRUE, row.threshold))
            g[row.target] = EnsureContrast(g[row.reference], g[row.color], row.threshold);
    }
    if (IsColorDistanceAbove(g[41], g[35], TRUE, 145))
        g[35] = LimitContrast(g[41], g[35], 145);

    if (!blackAndWhite)
    {
        auto part = [&](int shift) {
            int c30 = (g[30] >> shift) & 0xFF, c5 = (g[5] >> shift) & 0xFF, c13 = (g[13] >> shift) & 0xFF;
            return ((c30 * 50) / 100 + (c5 * 40) / 100 + (c13 * 10) / 100) & 0xFF;
        };
        g[36] = RGB(part(0), part(8), part(16));
    }

    int m = MaxChannel(g[15]);
    if (m == 0)
        g[48] = 0x232323;
    else
        g[48] = ScaleChannels(g[15], m + std::min(35, 255 - m), m);

    m = MaxChannel(g[16]);
    if (g[15] == black)
        g[49] = 0x7F7F7F;
    else if (m == 0)
        g[49] = black;
    else
        g[49] = ScaleChannels(g[16], std::max(m - 43, 0), m);

    g[34] = RGB((int)(GetRValue(g[31]) * 0.75), (int)(GetGValue(g[31]) * 0.75), (int)(GetBValue(g[31]) * 0.75));
    g[22] = RGB(std::min(GetRValue(g[15]) + 15, 255), std::min(GetGValue(g[15]) + 15, 255),
                std::min(GetBValue(g[15]) + 15, 255));
    g[53] = g[30];
    g[58] = g[40];
    g[60] = g[40];
    RefreshGradients(FALSE);
    if (in.hasTreeBorder)
        g[57] = in.treeBorder;
}

void CWVPColorManager::RefreshGradients(BOOL lowColor)
{
    COLORREF* g = m_colors;
    int scheme = m_bLunaColorsDisabled ? wvpSystemColorNone : GetEffectiveColorScheme();
    if (const SchemeGradients* set = SchemeSet(scheme))
    {
        g[54] = set->slot54;
        for (int i = 0; i < 7; ++i)
            m_grcGradients[i].SetDefaults(set->cells[i].from, set->cells[i].to, set->cells[i].factor);
    }
    else
    {
        COLORREF face = g[COLOR_BTNFACE], window = g[COLOR_WINDOW], shadow = g[COLOR_BTNSHADOW];
        m_grcGradients[0].SetDefaults(shadow, shadow);
        m_grcGradients[1].SetDefaults(face, MixColors(face, window, 215));
        m_grcGradients[2].SetDefaults(face, shadow);
        m_grcGradients[3].SetDefaults(MixColors(face, window, 205), face);
        m_grcGradients[4].SetDefaults(MixColors(face, window, 145), MixColors(face, window, 93));
        m_grcGradients[5].SetDefaults(MixColors(face, window, 40), MixColors(face, shadow, 95));
        m_grcGradients[6].SetDefaults(MixColors(face, window, 165), MixColors(face, window, 42));
    }
    if (lowColor)
    {
        m_grcGradients[3].SetDefaultSolid(g[COLOR_BTNFACE]);
        m_grcGradients[1].SetDefaultSolid(g[COLOR_BTNFACE]);
    }
}

double CWVPColorManager::WeightedRed(COLORREF c)
{
    return ToWeighted(c).v[0];
}

double CWVPColorManager::WeightedGreen(COLORREF c)
{
    return ToWeighted(c).v[1];
}

double CWVPColorManager::WeightedBlue(COLORREF c)
{
    return ToWeighted(c).v[2];
}

float CWVPColorManager::ColorDistanceSquared(COLORREF a, COLORREF b)
{
    Weighted wa = ToWeighted(a), wb = ToWeighted(b);
    double sum = 0;
    for (int i = 0; i < 3; ++i)
        sum += (wa.v[i] - wb.v[i]) * (wa.v[i] - wb.v[i]);
    return (float)sum;
}

float CWVPColorManager::ColorDistance(COLORREF a, COLORREF b)
{
    return (float)std::sqrt((double)ColorDistanceSquared(a, b));
}

double CWVPColorManager::ScaleContrastThreshold(double brightness, double threshold)
{
    int b = std::min((int)brightness, (int)kBrightnessCap);
    int t = (int)threshold;
    return (2.0 - b / kBrightnessCap) * t;
}

BOOL CWVPColorManager::IsColorDistanceAbove(COLORREF a, COLORREF b, BOOL scale, double threshold)
{
    if (scale)
        threshold = ScaleContrastThreshold(Brightness(a), threshold);
    return ColorDistanceSquared(a, b) > threshold * threshold;
}

COLORREF CWVPColorManager::EnsureContrast(COLORREF reference, COLORREF color, double threshold)
{
    double referenceBrightness = Brightness(reference);
    double d = ScaleContrastThreshold(referenceBrightness, threshold);
    double turn = referenceBrightness < Brightness(color) ? kWhiteBrightness - d : d;
    bool mirrored = turn >= referenceBrightness;
    Weighted a = ToWeighted(reference), b = ToWeighted(color);
    if (mirrored)
    {
        for (int i = 0; i < 3; ++i)
        {
            a.v[i] = kSpans[i] - a.v[i];
            b.v[i] = kSpans[i] - b.v[i];
        }
    }
    double dot = 0, lengthSquared = 0;
    for (int i = 0; i < 3; ++i)
    {
        dot += a.v[i] * b.v[i];
        lengthSquared += b.v[i] * b.v[i];
    }
    double length = std::max(std::sqrt(lengthSquared), 0.001);
    double t = dot / (length * length);
    double p = 0;
    for (int i = 0; i < 3; ++i)
        p += (a.v[i] - t * b.v[i]) * (a.v[i] - t * b.v[i]);
    // Rounding can put the point a hair inside the circle: the root of a negative is no distance.
    double s = dot / length - std::sqrt(std::max(d * d - p, 0.0));
    Weighted result;
    for (int i = 0; i < 3; ++i)
    {
        result.v[i] = b.v[i] * s / length;
        if (mirrored)
            result.v[i] = kSpans[i] - result.v[i];
    }
    return FromWeighted(result);
}

COLORREF CWVPColorManager::LimitContrast(COLORREF reference, COLORREF color, double threshold)
{
    double dist = ColorDistance(reference, color);
    if (dist <= 0)
        return color;
    double d = ScaleContrastThreshold(Brightness(reference), threshold);
    Weighted r = ToWeighted(reference), c = ToWeighted(color), result;
    for (int i = 0; i < 3; ++i)
        result.v[i] = c.v[i] + (dist - d) / dist * (r.v[i] - c.v[i]);
    return FromWeighted(result);
}

CWVPColorManager* WVPColorManager()
{
    if (!g_colorManager)
    {
        g_colorManager = new CWVPColorManager;
        AfxRegisterExitHandler(&DestroyColorManager, nullptr);
    }
    return g_colorManager;
}

void WVPRefreshColors()
{
    WVPColorManager()->RefreshColors();
}
