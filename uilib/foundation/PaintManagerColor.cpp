#include "uilib/foundation/PaintManagerColor.h"

#include "platform/mfc/Archive.h"

void CWVPPaintManagerColor::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << (DWORD)m_clrDefault << (DWORD)m_clrOverride;
    }
    else
    {
        DWORD value = 0;
        ar >> value;
        m_clrDefault = value;
        ar >> value;
        m_clrOverride = value;
    }
}

void CWVPPaintManagerColorGradient::SetDefaults(COLORREF from, COLORREF to, float factor)
{
    clrLight.SetDefault(from);
    clrDark.SetDefault(to);
    m_fGradientFactor = factor;
}

void CWVPPaintManagerColorGradient::SetDefaultsFrom(const CWVPPaintManagerColorGradient& other)
{
    SetDefaults(other.clrLight.GetColor(), other.clrDark.GetColor(), other.m_fGradientFactor);
}

void CWVPPaintManagerColorGradient::SetDefaultSolid(COLORREF color)
{
    SetDefaults(color, color, 0.5f);
}

void CWVPPaintManagerColorGradient::Serialize(CArchive& ar)
{
    clrLight.Serialize(ar);
    clrDark.Serialize(ar);
    if (ar.IsStoring())
        ar << m_fGradientFactor;
    else
        ar >> m_fGradientFactor;
}
