// The single source of colours of the library's painting code: 63 slots (0 black, 1-29 the system
// colours, 30-61 derived from them by mixing and contrast rules, 62 black) and ten standard
// gradients chosen by the detected visual-style colour scheme. RefreshColors rebuilds them.
#pragma once

#include <windows.h>

#include "platform/mfc/CmdTarget.h"
#include "uilib/foundation/PaintManagerColor.h"

enum WVPSystemColorScheme
{
    wvpSystemColorNone = 0,
    wvpSystemColorBlue = 1,
    wvpSystemColorOlive = 2,
    wvpSystemColorSilver = 3,
    wvpSystemColorRoyale = 4,
    wvpSystemColorAero = 5,
    wvpSystemColorUnknown = 6, // as a selection: follow the detected scheme
    wvpSystemColorDefault = 7, // as a selection: follow the detected scheme
};

// Everything a refresh reads of the system, so that a refresh can be computed for any system.
struct WVPColorInputs
{
    COLORREF sysColors[30]; // GetSysColor(i) for i = 1 to 29; [0] unused
    int scheme;             // the detected WVPSystemColorScheme
    BOOL lowColor;          // 8 bits per pixel or fewer
    BOOL hasTreeBorder;     // the visual style gives the tree view's border colour
    COLORREF treeBorder;
};

class CWVPColorManager : public CCmdTarget
{
  public:
    enum
    {
        ColorCount = 63,
        GradientCount = 10,
        LastColor = ColorCount - 1,
    };

    CWVPColorManager();
    ~CWVPColorManager() override = default;

    COLORREF GetColor(UINT index) const
    {
        return index > LastColor ? (COLORREF)index : m_colors[index];
    }
    static COLORREF MixColors(COLORREF a, COLORREF b, int weight);
    static BOOL IsLowColorDisplay(HDC dc);
    int GetDetectedColorScheme() const
    {
        return m_detectedScheme;
    }
    int GetEffectiveColorScheme() const;
    BOOL AreLunaColorsDisabled() const
    {
        return m_bLunaColorsDisabled;
    }

    int DetectColorScheme();
    void RefreshColors();
    // The refresh from the given system state.
    void RefreshColorsFrom(const WVPColorInputs& inputs);
    // The system state a refresh reads now.
    WVPColorInputs ReadSystemInputs();
    // The scheme of a visual style from its theme file and colour names.
    static int DetectColorSchemeFrom(BOOL themeActive, BOOL lowColor, HRESULT nameResult, LPCWSTR fileName,
                                     LPCWSTR colorName);

    static double WeightedRed(COLORREF c);
    static double WeightedGreen(COLORREF c);
    static double WeightedBlue(COLORREF c);
    static float ColorDistanceSquared(COLORREF a, COLORREF b);
    static float ColorDistance(COLORREF a, COLORREF b);
    static double ScaleContrastThreshold(double brightness, double threshold);
    static BOOL IsColorDistanceAbove(COLORREF a, COLORREF b, BOOL scale, double threshold);
    static COLORREF EnsureContrast(COLORREF reference, COLORREF color, double threshold);
    static COLORREF LimitContrast(COLORREF reference, COLORREF color, double threshold);

    // Pretends the display has this many bits per pixel (0: ask the device context).
    static void OverrideDisplayBitsPerPixel(int bits);

    CWVPPaintManagerColorGradient m_grcGradients[GradientCount];

  private:
    void RefreshGradients(BOOL lowColor);

    COLORREF m_colors[ColorCount];
    int m_detectedScheme;
    int m_selectedScheme;
    BOOL m_bLunaColorsDisabled;
};

CWVPColorManager* WVPColorManager();
void WVPRefreshColors();
