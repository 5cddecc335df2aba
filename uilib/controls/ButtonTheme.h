#pragma once
// How a themed button looks: its colours, its visual-style data for "BUTTON", its content
// rectangles and the drawing of push-button faces, check and radio marks and group boxes. One per
// CWVPButton.
#include "platform/mfc/Mfc.h"
#include "uilib/foundation/PaintManagerColor.h"
#include "uilib/foundation/WinThemeWrapper.h"

class CWVPButton;

class CWVPButtonTheme : public CCmdTarget
{
  public:
    // Content rectangles, by kind.
    enum RectKind
    {
        rectNone = 0,
        rectCheckMark = 1,
        rectRadioMark = 2,
        rectCheckText = 3,
        rectRadioText = 4,
        rectGroupCaption = 5,
        rectGroupFrame = 6,
        rectPushContent = 7,
    };

    CWVPButtonTheme();
    ~CWVPButtonTheme() override;

    virtual void DrawButtonBackground(CDC* pDC, CWVPButton* pButton);
    virtual void RefreshMetrics(CWVPButton* pButton);
    virtual void DrawCheckMark(CDC* pDC, CWVPButton* pButton);
    virtual void DrawRadioMark(CDC* pDC, CWVPButton* pButton);
    virtual void DrawGroupBox(CDC* pDC, CWVPButton* pButton);

    CRect CalcRect(CDC* pDC, CWVPButton* pButton, int nKind);
    // The rectangle kind of a button type (0 to 11); push-like buttons always use the push content.
    static int KindOfType(CWVPButton* pButton);
    // Text and image of a push-like button, the drop-down arrow, the focus.
    void DrawPushContent(CDC* pDC, CWVPButton* pButton);
    void DrawDropDownArrow(CDC* pDC, CWVPButton* pButton);
    void DrawPushFocus(CDC* pDC, CWVPButton* pButton);
    // The text (or BS_BITMAP/BS_ICON image) of check boxes, radio buttons and group boxes, with focus.
    void DrawCheckText(CDC* pDC, CWVPButton* pButton);
    BOOL UseVisualStyles(CWVPButton* pButton);

    CWVPPaintManagerColor m_crTextDisabled;
    CWVPPaintManagerColor m_crFace;
    CWVPPaintManagerColor m_crShadow;
    CWVPPaintManagerColor m_crHighlight;
    CWVPPaintManagerColor m_crDarkShadow;
    CWVPPaintManagerColor m_crBack;
    CWVPPaintManagerColor m_crText;
    CWVPWinThemeWrapper m_themeButton;
    BOOL m_bOffsetHiLite;
    int m_nFocusInset;
    BOOL m_bFlatFrames;
    int m_cxBorder;
    int m_cyBorder;
    int m_cyEdge;
    int m_cxEdge;

  private:
    CSize MarkSize(CDC* pDC, int nPart);
    UINT TextFormat(CWVPButton* pButton) const;
};
