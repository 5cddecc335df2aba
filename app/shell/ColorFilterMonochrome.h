#pragma once
// The tint of the skinned looks: every skin colour takes the tint's hue and saturation and keeps
// nearly its own lightness. Installed into the skin manager by ApplySkinColor.
#include "uilib/skin/SkinManagerColorFilter.h"

class CColorFilterMonochrome : public CWVPSkinManagerColorFilter
{
  public:
    // The tint as packed hue, saturation and lightness (CWVPDrawHelpers::ColorToHLS).
    explicit CColorFilterMonochrome(DWORD tintHls) : m_tintHls(tintHls)
    {
    }
    void ApplyColorFilter(COLORREF& clr) override;

  private:
    DWORD m_tintHls;
};
