#pragma once
// The skin's system metrics: its 31 system colours with one solid brush each, its caption, small
// caption and menu fonts, and the frame and scroll-bar sizes. The skinned system-colour, brush,
// FillRect and DeleteObject functions answer from it; a brush that callers may still hold stays
// valid for one generation: it is freed by the refresh after the one that replaced it.
#include "platform/mfc/Font.h"
#include <windows.h>

#include <vector>

class CWVPSkinManager;

class CWVPSkinManagerMetrics
{
  public:
    static const int kColorCount = 31; // COLOR_SCROLLBAR to COLOR_MENUBAR

    explicit CWVPSkinManagerMetrics(CWVPSkinManager* pManager);
    virtual ~CWVPSkinManagerMetrics();
    CWVPSkinManagerMetrics(const CWVPSkinManagerMetrics&) = delete;
    CWVPSkinManagerMetrics& operator=(const CWVPSkinManagerMetrics&) = delete;

    // Takes colours, brushes, fonts and sizes from the loaded skin, or the system's colours
    // when no skin is loaded.
    virtual void RefreshMetrics();

    // The colour of a COLOR_ index; 0 above 30.
    COLORREF GetColor(int nIndex) const;
    HBRUSH GetBrush(int nIndex) const;
    // Whether the handle is one of the current colour brushes.
    BOOL IsMetricObject(HGDIOBJ hObject) const;
    // The skin's default colour of a COLOR_ index, used where the skin sets none.
    static COLORREF GetDefaultColor(int nIndex);

    CFont m_fntCaption;
    CFont m_fntMenu;
    CFont m_fntSmCaption;
    CWVPSkinManager* m_pManager;
    HBRUSH m_brushBtnFace = nullptr;
    HBRUSH m_brushTabControl = nullptr;
    COLORREF m_clrEdgeLight = 0, m_clrEdgeHighLight = 0, m_clrEdgeShadow = 0, m_clrEdgeDkShadow = 0;
    COLORREF m_clrTheme[kColorCount];
    HBRUSH m_brTheme[kColorCount];
    int m_nBorderSize = 1;
    int m_cxBorder = 0, m_cyBorder = 0, m_cxEdge = 0, m_cyEdge = 0;
    int m_cxHScroll = 0, m_cyHScroll = 0, m_cxVScroll = 0, m_cyVScroll = 0;
    int m_cyCaption = 0, m_cySmallCaption = 0, m_cyOsCaption = 0, m_cyOsSmallCaption = 0;

  private:
    // A brush replaced or dropped by a refresh: callers of the skinned GetSysColorBrush may still
    // hold it, so it lives on until the next refresh (or until the metrics are destroyed).
    void RetireBrush(HBRUSH& hBrush);
    void FreeRetiredBrushes();
    void ReplaceFont(CFont& font, const LOGFONTW& logFont);

    std::vector<HBRUSH> m_retiredBrushes;
};
