#pragma once
// The drawing styles of the column header: the plain look and its Office XP, Office 2003 and
// Explorer variants, made by the header family's theme factory. A header paints itself entirely
// through the theme in force.
#include "platform/mfc/Mfc.h"
#include "uilib/foundation/ThemeManager.h"
#include "uilib/foundation/WinThemeWrapper.h"

class CWVHeaderCtrl;

class CWVHeaderCtrlTheme : public CWVThemeManagerStyle
{
  public:
    // Draw-style flags.
    enum
    {
        styleVisualStyles = 1,
        styleHotTracking = 2,
        styleSortArrow = 4,
    };

    CWVHeaderCtrlTheme();
    ~CWVHeaderCtrlTheme() override;

    void RefreshMetrics() override;

    virtual void DrawHeader(CDC* pDC, CWVHeaderCtrl* pHeader);
    virtual BOOL IsVisualStyleEnabled(CWVHeaderCtrl* pHeader);
    virtual void SetDrawStyle(DWORD dwDrawStyle, CWVHeaderCtrl* pHeader);
    virtual DWORD GetDrawStyle() const;
    // Answers HDM_LAYOUT.
    virtual BOOL Layout(LPHDLAYOUT lpHDL, CWVHeaderCtrl* pHeader);
    virtual void CleanUp(CWVHeaderCtrl* pHeader);
    virtual BOOL SetItemBitmap(int nCol, UINT nBitmap, BOOL bRemove, COLORREF crMask, CWVHeaderCtrl* pHeader);
    virtual void DrawItemBackground(LPDRAWITEMSTRUCT lpDIS);
    virtual BOOL DrawThemedBackground(LPDRAWITEMSTRUCT lpDIS);
    virtual void DrawItemBorder(LPDRAWITEMSTRUCT lpDIS);
    virtual BOOL DrawThemedItemBackground(LPDRAWITEMSTRUCT lpDIS);
    virtual void DrawSortArrow(LPDRAWITEMSTRUCT lpDIS, CRect& rcText, BOOL bAscending);
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS, CWVHeaderCtrl* pHeader);
    virtual void DrawItemImage(LPDRAWITEMSTRUCT lpDIS, CRect& rcText, CWVHeaderCtrl* pHeader);
    virtual void DrawArrowTriangle(CDC* pDC, POINT* pts, BOOL bAscending);

    int m_nArrowGap;
    DWORD m_dwDrawStyle;
    BOOL m_bUseWinThemes;
    int m_nImageGap;
    CSize m_sizeArrow;
    COLORREF m_clrText;
    COLORREF m_clrFace;
    COLORREF m_clrShadow;
    COLORREF m_clrDarkShadow;
    COLORREF m_clrHighlight;
    CWVPWinThemeWrapper m_themeHeader;
};

// Flat columns: one shadow and one highlight line between them.
class CWVHeaderCtrlThemeOfficeXP : public CWVHeaderCtrlTheme
{
  public:
    CWVHeaderCtrlThemeOfficeXP();
    void DrawItemBackground(LPDRAWITEMSTRUCT lpDIS) override;
    void DrawItemBorder(LPDRAWITEMSTRUCT lpDIS) override;
};

// A blended bottom edge and a header height of the font's height plus a margin.
class CWVHeaderCtrlThemeOffice2003 : public CWVHeaderCtrlTheme
{
  public:
    CWVHeaderCtrlThemeOffice2003();
    BOOL Layout(LPHDLAYOUT lpHDL, CWVHeaderCtrl* pHeader) override;
    void DrawItemBackground(LPDRAWITEMSTRUCT lpDIS) override;
    void DrawItemBorder(LPDRAWITEMSTRUCT lpDIS) override;

    // Per channel trunc(a - x * (a - b)).
    static COLORREF BlendColors(COLORREF a, COLORREF b, double x);

  protected:
    int m_nHeightMargin;
};

// Office 2003 with a lower header and a filled, flatter sort arrow.
class CWVHeaderCtrlThemeExplorer : public CWVHeaderCtrlThemeOffice2003
{
  public:
    CWVHeaderCtrlThemeExplorer();
    void DrawArrowTriangle(CDC* pDC, POINT* pts, BOOL bAscending) override;
};

// The header family's factory: theme id 1 is Office XP, 2 Office 2003, any other the plain look.
class CWVHeaderCtrlThemeFactory : public CWVThemeManagerStyleFactory
{
    DECLARE_DYNCREATE(CWVHeaderCtrlThemeFactory)

  public:
    CWVThemeManagerStyle* CreateTheme(int nTheme) override;
};
