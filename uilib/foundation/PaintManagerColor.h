// Colour records of the paint managers: a colour with a default and an override (the override
// wins when set, -1 means unset), and a two-colour gradient with the fraction at which its middle
// colour lies. The colour manager's gradients and the command-bar and tab colour sets use them.
#pragma once

#include <windows.h>

class CArchive;

const COLORREF WVP_COLOR_UNSET = (COLORREF)-1;

class CWVPPaintManagerColor
{
  public:
    CWVPPaintManagerColor() : m_clrDefault(WVP_COLOR_UNSET), m_clrOverride(WVP_COLOR_UNSET)
    {
    }
    virtual ~CWVPPaintManagerColor() = default;

    COLORREF GetColor() const
    {
        return m_clrOverride != WVP_COLOR_UNSET ? m_clrOverride : m_clrDefault;
    }
    operator COLORREF() const
    {
        return GetColor();
    }
    COLORREF GetDefault() const
    {
        return m_clrDefault;
    }
    void SetDefault(COLORREF color)
    {
        m_clrDefault = color;
    }
    void SetOverride(COLORREF color)
    {
        m_clrOverride = color;
    }
    BOOL IsOverridden() const
    {
        return m_clrOverride != WVP_COLOR_UNSET;
    }

    // Stores the default, then the override, as two 32-bit words; loads them in the same order.
    virtual void Serialize(CArchive& ar);

  private:
    COLORREF m_clrDefault;
    COLORREF m_clrOverride;
};

class CWVPPaintManagerColorGradient
{
  public:
    CWVPPaintManagerColorGradient() : m_fGradientFactor(0.5f)
    {
    }
    virtual ~CWVPPaintManagerColorGradient() = default;

    void SetDefaults(COLORREF from, COLORREF to, float factor = 0.5f);
    void SetDefaultsFrom(const CWVPPaintManagerColorGradient& other);
    void SetDefaultSolid(COLORREF color);

    // From colour, to colour, then the factor as a 32-bit float.
    virtual void Serialize(CArchive& ar);

    CWVPPaintManagerColor clrLight;
    CWVPPaintManagerColor clrDark;
    float m_fGradientFactor;
};
