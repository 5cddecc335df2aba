#pragma once
// The classic look of the command bars: grey faces, raised and sunken frames in the system's
// button colours, a solid highlight on popup items and a checkerboard on checked buttons. Theme
// number 0, and the theme every unknown number falls back to.
#include "uilib/commandbars/PaintManager.h"

class CWVPControlEdit;

class CWVPDefaultTheme : public CWVPPaintManager
{
  public:
    CWVPDefaultTheme();

    CSize DrawPopupBarControl(CDC* pDC, CWVPControl* pControl, BOOL bDraw) override;
    void DrawSplitButtonFrame(CDC* pDC, CWVPControl* pControl, CRect rc) override;
    // Measuring also gives a combo box its label and arrow widths.
    CSize DrawComboBoxControl(CDC* pDC, CWVPControl* pControl, BOOL bDraw) override;
    CSize DrawListBoxControl(CDC* pDC, CWVPControl* pControl, CRect rc, BOOL bSelected, BOOL bDraw) override;
    void FillCommandBarEntry(CDC* pDC, CWVPCommandBar* pBar) override;
    COLORREF GetRectangleTextColor(BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopuped,
                                   int barType, int barPosition) override;
    void DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked,
                       BOOL bPopuped, int barType, int barPosition) override;
    CSize DrawCommandBarGripper(CDC* pDC, CWVPCommandBar* pBar, BOOL bDraw) override;
    CSize DrawCommandBarSeparator(CDC* pDC, CWVPCommandBar* pBar, CWVPControl* pControl, BOOL bDraw) override;
    void AdjustExcludeRect(CRect& rc, CWVPControl* pControl, BOOL bVertical) override;
    void RefreshMetrics() override;
    CSize DrawSpecialControl(CDC* pDC, int kind, CWVPControl* pControl, CWVPCommandBar* pBar, BOOL bDraw,
                             CSize extra) override;
    CRect GetCommandBarBorders(CWVPCommandBar* pBar) override;
    CSize DrawTearOffGripper(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw) override;
    void DrawPopupResizeGripper(CDC* pDC, CRect rc, int kind) override;
    void DrawImage(CDC* pDC, CPoint pt, CSize sz, CWVPImageManagerIcon* pIcon, BOOL bSelected, BOOL bPressed,
                   BOOL bEnabled, BOOL bChecked, BOOL bPopuped) override;
    CSize DrawDialogBarGripper(CDC* pDC, CWVPCommandBar* pBar, BOOL bDraw) override;
    int GetThemeType() override;
    CSize GetPopupBarIconCellSize(CWVPCommandBar* pBar) override;
    CSize DrawEditControl(CDC* pDC, CWVPControl* pControl, BOOL bDraw) override;

    // Edit and combo-box fields on bars.
    virtual void DrawControlEditFrame(CDC* pDC, CRect rc, BOOL bEnabled, int selected);
    virtual void DrawControlComboBoxButton(CDC* pDC, CRect rc, BOOL bEnabled, int selected, BOOL bDroppedDown);
    virtual void DrawControlEditSpin(CDC* pDC, CWVPControlEdit* pControl);

    // A one-pixel checkerboard of face and highlight.
    void FillHalftoneRect(CDC* pDC, CRect rc);

    // The colour index of the normal text of popup items and of enabled check marks.
    int m_nMenuTextColor;
    // Popup items are highlighted over their whole row.
    BOOL m_bSelectWholeRow;
};
