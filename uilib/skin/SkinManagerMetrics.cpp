#include "uilib/skin/SkinManagerMetrics.h"

#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinSchemaNames.h"

#include <algorithm>

namespace
{

const COLORREF kDefaultColors[CWVPSkinManagerMetrics::kColorCount] = {
    RGB(192, 192, 192), RGB(58, 110, 165),  RGB(0, 0, 128),     RGB(128, 128, 128), RGB(192, 192, 192),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
    RGB(192, 192, 192), RGB(192, 192, 192), RGB(128, 128, 128), RGB(0, 0, 128),     RGB(255, 255, 255),
    RGB(192, 192, 192), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(192, 192, 192),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(223, 223, 223), RGB(0, 0, 0),       RGB(255, 255, 225),
    RGB(180, 180, 180), RGB(0, 0, 255),     RGB(16, 132, 208),  RGB(181, 181, 181), RGB(0, 0, 128),
    RGB(192, 192, 192),
};

// The smallest bound of a skin's sizes, whatever the screen.
const int kMinSizeBound = 480;

// A caption or scroll-bar size the skin asks for, held between the smallest sensible size and a
// screen's height: beyond that no window could show its client, and drawing would stretch the
// skin's pictures over millions of pixels for minutes.
int BoundedSize(int nValue, int nMinimum)
{
    int bound = std::max(kMinSizeBound, ::GetSystemMetrics(SM_CYSCREEN));
    return std::min(std::max(nValue, nMinimum), bound);
}

} // namespace

CWVPSkinManagerMetrics::CWVPSkinManagerMetrics(CWVPSkinManager* pManager) : m_pManager(pManager)
{
    for (int i = 0; i < kColorCount; ++i)
    {
        m_clrTheme[i] = CLR_INVALID;
        m_brTheme[i] = nullptr;
    }
}

CWVPSkinManagerMetrics::~CWVPSkinManagerMetrics()
{
    for (HBRUSH& brush : m_brTheme)
        RetireBrush(brush);
    RetireBrush(m_brushBtnFace);
    RetireBrush(m_brushTabControl);
    FreeRetiredBrushes();
}

void CWVPSkinManagerMetrics::FreeRetiredBrushes()
{
    for (HBRUSH brush : m_retiredBrushes)
        ::DeleteObject(brush);
    m_retiredBrushes.clear();
}

COLORREF CWVPSkinManagerMetrics::GetDefaultColor(int nIndex)
{
    return nIndex >= 0 && nIndex < kColorCount ? kDefaultColors[nIndex] : 0;
}

COLORREF CWVPSkinManagerMetrics::GetColor(int nIndex) const
{
    return nIndex >= 0 && nIndex < kColorCount ? m_clrTheme[nIndex] : 0;
}

HBRUSH CWVPSkinManagerMetrics::GetBrush(int nIndex) const
{
    return nIndex >= 0 && nIndex < kColorCount ? m_brTheme[nIndex] : nullptr;
}

BOOL CWVPSkinManagerMetrics::IsMetricObject(HGDIOBJ hObject) const
{
    if (!hObject || ::GetObjectType(hObject) != OBJ_BRUSH)
        return FALSE;
    for (HBRUSH brush : m_brTheme)
        if (brush == hObject)
            return TRUE;
    return FALSE;
}

void CWVPSkinManagerMetrics::RetireBrush(HBRUSH& hBrush)
{
    if (hBrush)
        m_retiredBrushes.push_back(hBrush);
    hBrush = nullptr;
}

void CWVPSkinManagerMetrics::ReplaceFont(CFont& font, const LOGFONTW& logFont)
{
    font.DeleteObject();
    font.CreateFontIndirect(&logFont);
}

void CWVPSkinManagerMetrics::RefreshMetrics()
{
    // The brushes the previous refresh retired have had their generation: whoever held one has
    // been told of the change since and asked again.
    FreeRetiredBrushes();
    CWVPSkinManagerSchema* schema = m_pManager ? m_pManager->GetSchema() : nullptr;
    if (!schema)
    {
        for (int i = 0; i < kColorCount; ++i)
        {
            m_clrTheme[i] = ::GetSysColor(i);
            RetireBrush(m_brTheme[i]);
        }
        return;
    }
    NONCLIENTMETRICSW ncm = {};
    ncm.cbSize = sizeof ncm;
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
    {
        ReplaceFont(m_fntCaption, ncm.lfCaptionFont);
        ReplaceFont(m_fntSmCaption, ncm.lfSmCaptionFont);
        ReplaceFont(m_fntMenu, ncm.lfMenuFont);
    }
    if (!::SystemParametersInfoW(SPI_GETBORDER, 0, &m_nBorderSize, 0))
        m_nBorderSize = 1;
    m_cxBorder = ::GetSystemMetrics(SM_CXBORDER);
    m_cyBorder = ::GetSystemMetrics(SM_CYBORDER);
    m_cxEdge = ::GetSystemMetrics(SM_CXEDGE);
    m_cyEdge = ::GetSystemMetrics(SM_CYEDGE);
    m_cxHScroll = ::GetSystemMetrics(SM_CXHSCROLL);
    m_cyHScroll = ::GetSystemMetrics(SM_CYHSCROLL);
    m_cxVScroll = ::GetSystemMetrics(SM_CXVSCROLL);
    m_cyVScroll = ::GetSystemMetrics(SM_CYVSCROLL);
    m_cyCaption = m_cyOsCaption = ::GetSystemMetrics(SM_CYCAPTION);
    m_cySmallCaption = m_cyOsSmallCaption = ::GetSystemMetrics(SM_CYSMCAPTION);

    if (m_pManager->GetApplyOptions() & CWVPSkinManager::kApplyMetrics)
    {
        int value = 0;
        if (SUCCEEDED(schema->GetIntProperty(kSkinClassSysMetrics, 0, 0, kSkinPropCaptionBarHeight, value)))
            m_cyCaption = BoundedSize(value, 0);
        ++m_cyCaption;
        if (SUCCEEDED(schema->GetIntProperty(kSkinClassSysMetrics, 0, 0, kSkinPropSmCaptionBarHeight, value)))
            m_cySmallCaption = BoundedSize(value, 0);
        ++m_cySmallCaption;
        if (SUCCEEDED(schema->GetIntProperty(kSkinClassSysMetrics, 0, 0, kSkinPropScrollBarWidth, value)) && value > 0)
            m_cxVScroll = m_cxHScroll = BoundedSize(value, 1);
        if (SUCCEEDED(schema->GetIntProperty(kSkinClassSysMetrics, 0, 0, kSkinPropScrollBarHeight, value)) && value > 0)
            m_cyHScroll = m_cyVScroll = BoundedSize(value, 1);
        LOGFONTW font;
        if (SUCCEEDED(schema->GetFontProperty(kSkinClassSysMetrics, 0, 0, kSkinPropCaptionFont, font)))
            ReplaceFont(m_fntCaption, font);
        if (SUCCEEDED(schema->GetFontProperty(kSkinClassSysMetrics, 0, 0, kSkinPropSmallCaptionFont, font)))
            ReplaceFont(m_fntSmCaption, font);
    }

    for (int i = 0; i < kColorCount; ++i)
    {
        COLORREF clr;
        if (FAILED(schema->GetColorProperty(kSkinClassSysMetrics, 0, 0, kSkinPropFirstSysColor + i, clr)))
        {
            clr = kDefaultColors[i];
            m_pManager->ApplyColorFilters(clr);
        }
        if (clr != m_clrTheme[i] || !m_brTheme[i])
        {
            RetireBrush(m_brTheme[i]);
            m_brTheme[i] = ::CreateSolidBrush(clr);
        }
        m_clrTheme[i] = clr;
    }
    m_clrEdgeLight = m_clrTheme[COLOR_3DLIGHT];
    m_clrEdgeHighLight = m_clrTheme[COLOR_BTNHIGHLIGHT];
    m_clrEdgeShadow = m_clrTheme[COLOR_BTNSHADOW];
    m_clrEdgeDkShadow = m_clrTheme[COLOR_3DDKSHADOW];
    RetireBrush(m_brushBtnFace);
    m_brushBtnFace = ::CreateSolidBrush(m_clrTheme[COLOR_BTNFACE]);
    RetireBrush(m_brushTabControl);
}
