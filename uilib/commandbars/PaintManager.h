#pragma once
// The command bars' paint manager: the one object that knows how bars and their controls look.
// Bars and controls ask it for fonts, colours and metrics and hand it the drawing of faces,
// captions, glyphs and separators. This base holds what every look shares; the themes derive from
// it. Its triangle routine is also used without a paint manager: style menus, themed buttons and
// the skin framework draw their arrows with it.
#include "platform/mfc/Mfc.h"
#include "uilib/commandbars/PaintManagerFont.h"
#include "uilib/foundation/PaintManagerColor.h"
#include "uilib/foundation/WinThemeWrapper.h"

class CWVPControl;
class CWVPCommandBarKeyboardTip;
class CWVPCommandBar;
class CWVPImageManagerIcon;
class CWVPControlGalleryPaintManager;
class CWVPSliderPaintManager;
class CWVPProgressPaintManager;
class CWVPShadowManager;

// The command-bar themes; the number a paint manager answers from GetThemeType.
enum WVPPaintTheme
{
    wvpThemeDefault = 0,
    wvpThemeOffice = 1,
    wvpThemeOffice2003 = 2,
    wvpThemeNativeXP = 3,
    wvpThemeWhidbey = 4,
    wvpThemeOffice2007 = 5,
    wvpThemeRibbon = 6,
    wvpThemeVisualStudio2008 = 7,
    wvpThemeCustom = 8,
};

typedef BOOL(WINAPI* WVPSetLayeredWindowAttributesProc)(HWND, COLORREF, BYTE, DWORD);

class CWVPPaintManager : public CCmdTarget
{
  public:
    enum
    {
        ColorCount = 63,
        LastColor = ColorCount - 1,
    };

    CWVPPaintManager();
    ~CWVPPaintManager() override;

    // Drawing or measuring of the controls (with bDraw clear only the size is computed).
    virtual CSize DrawPopupBarControl(CDC* pDC, CWVPControl* pControl, BOOL bDraw);
    virtual CSize DrawToolBarControl(CDC* pDC, CWVPControl* pControl, BOOL bDraw);
    virtual void DrawSplitButtonFrame(CDC* pDC, CWVPControl* pControl, CRect rc) = 0;
    virtual CSize DrawComboBoxControl(CDC* pDC, CWVPControl* pControl, BOOL bDraw);
    virtual COLORREF GetEditBackColor(CWVPControl* pControl);
    virtual CSize DrawEditControl(CDC* pDC, CWVPControl* pControl, BOOL bDraw);
    virtual CSize DrawListBoxControl(CDC* pDC, CWVPControl* pControl, CRect rc, BOOL bSelected, BOOL bDraw) = 0;
    virtual void FillCommandBarEntry(CDC* pDC, CWVPCommandBar* pBar) = 0;
    virtual void DrawControlEntry(CDC* pDC, CWVPControl* pControl);
    virtual COLORREF GetControlTextColor(CWVPControl* pControl);
    virtual COLORREF GetRectangleTextColor(BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopuped,
                                           int barType, int barPosition) = 0;
    virtual void DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked,
                               BOOL bPopuped, int barType, int barPosition) = 0;
    virtual CSize DrawCommandBarGripper(CDC* pDC, CWVPCommandBar* pBar, BOOL bDraw);
    virtual CSize DrawCommandBarSeparator(CDC* pDC, CWVPCommandBar* pBar, CWVPControl* pControl, BOOL bDraw) = 0;
    virtual void AdjustExcludeRect(CRect& rc, CWVPControl* pControl, BOOL bVertical) = 0;
    virtual void FillMessageBar(CDC* pDC, CRect rcClient);
    virtual void RefreshMetrics();
    virtual CSize DrawSpecialControl(CDC* pDC, int kind, CWVPControl* pControl, CWVPCommandBar* pBar, BOOL bDraw,
                                     CSize extra);
    virtual CRect GetCommandBarBorders(CWVPCommandBar* pBar);
    virtual CSize DrawTearOffGripper(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw) = 0;
    virtual void DrawPopupResizeGripper(CDC* pDC, CRect rc, int kind) = 0;
    virtual void DrawImage(CDC* pDC, CPoint pt, CSize sz, CWVPImageManagerIcon* pIcon, BOOL bSelected, BOOL bPressed,
                           BOOL bEnabled, BOOL bChecked, BOOL bPopuped) = 0;
    virtual CSize DrawDialogBarGripper(CDC* pDC, CWVPCommandBar* pBar, BOOL bDraw) = 0;
    virtual CRect GetSplitButtonCommandRect(CWVPControl* pControl);
    virtual void SetCommandBarRegion(CWVPCommandBar* pBar);
    virtual CSize DrawControlCheckBoxMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed, int checked,
                                         BOOL bEnabled);
    virtual CSize DrawControlRadioButtonMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed,
                                             int checked, BOOL bEnabled);
    virtual void DrawPopupBarGripper(CDC* pDC, int x, int y, int cx, int cy, BOOL bExpanded);
    virtual int GetThemeType() = 0;
    virtual CFont* GetControlFont(CWVPCommandBar* pBar, BOOL bBold);
    virtual void RefreshStandardFonts();
    virtual void RefreshColors();
    virtual void DrawCheckMark(CDC* pDC, CRect rc, COLORREF clr);
    virtual void DrawRadioMark(CDC* pDC, CRect rc, COLORREF clr);
    virtual void DrawComboExpandMark(CDC* pDC, CRect rc, COLORREF clr);
    virtual void DrawDropDownGlyph(CDC* pDC, CWVPControl* pControl, CPoint pt, BOOL bSelected, BOOL bPopuped,
                                   BOOL bEnabled, BOOL bSideways);
    virtual void Animate(CDC* pDestDC, CDC* pSrcDC, CRect rc, int kind);
    // A popup growing by its items shown on expanding: bands of revealed items stretch in steps.
    virtual int AnimateExpanding(CWVPCommandBar* pPopup, CDC* pDestDC, CDC* pSrcDC, BOOL topDown);
    virtual void AdjustCaptionForRTL(CString& caption);
    virtual int GetPopupBarGripperWidth(CWVPCommandBar* pBar);
    virtual void FillWorkspace(CDC* pDC, CRect rc);
    // The background of a frame's dock bar.
    virtual void FillDockBar(CDC* pDC, CWnd* pDockBar);
    // A keyboard tip's face; with bRegionOnly set only its window region would change (none here).
    virtual void DrawKeyboardTip(CDC* pDC, CWVPCommandBarKeyboardTip* pTip, BOOL bRegionOnly);
    virtual BOOL IsFlatBar(CWVPCommandBar* pBar);
    virtual CSize GetPopupBarIconCellSize(CWVPCommandBar* pBar);
    virtual int DrawPopupBarText(CDC* pDC, const CString& text, CRect& rc, UINT format, BOOL bDraw, BOOL bSelected,
                                 BOOL bEnabled);

    // Colours: 0..62 index the paint manager's copy of the colour manager's colours (the override
    // wins); anything larger is a colour and comes back unchanged.
    COLORREF GetColor(int index) const;
    void SetColors(int count, const int* indexes, const COLORREF* colors);
    int GetEffectiveColorScheme() const;

    static void AFX_CDECL GetNonClientMetrics(NONCLIENTMETRICSW* record);
    static void AFX_CDECL ZeroLogFont(LOGFONTW* record);
    void CreateBarFonts(const LOGFONTW* lf, BOOL standard);

    int GetControlHeight() const;
    int GetSplitDropDownHeight() const;
    CSize GetDefaultIconSize(BOOL large) const;
    CSize GetControlImageSize(CWVPControl* pControl);
    CSize ApplyControlSize(CWVPControl* pControl, int cx, int cy, BOOL vertical);
    CSize DrawControl(CDC* pDC, CWVPControl* pControl, BOOL bDraw);

    static BOOL AFX_CDECL IsDropDownType(int type);
    static BOOL AFX_CDECL IsPopupType(int type);
    static CString AFX_CDECL StripMnemonics(const CString& text);
    static BOOL AFX_CDECL FontExists(LPCWSTR face);
    void GradientFill(CDC* pDC, LPCRECT rc, COLORREF from, COLORREF to, BOOL horizontal, LPCRECT clip = nullptr);

    // Drawing primitives shared by every theme.
    // Fills the triangle of the three points in the colour, outline included; the device
    // context's pen and brush are selected again afterwards.
    static void AFX_CDECL DrawTriangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr);
    void Draw3dRect(CDC* pDC, CRect rc, int topLeft, int bottomRight);
    void HorizontalLine(CDC* pDC, int x0, int y, int x1, COLORREF clr);
    void VerticalLine(CDC* pDC, int x, int y0, int y1, COLORREF clr);
    void FillRectangleAndBorder(CDC* pDC, CRect rc, int fillIndex, int borderIndex);
    void Line(CDC* pDC, int x0, int y0, int x1, int y1);
    void LineColor(CDC* pDC, int x0, int y0, int x1, int y1, int colorIndex);
    static void AFX_CDECL AlphaBlendPixels(DWORD* target, const DWORD* first, int width, int height,
                                           const DWORD* second, int weight);
    static void AFX_CDECL MakeOpaque(CDC* pDC, CRect rc);
    static void AFX_CDECL DrawAntialiasedDisc(CDC* pDC, int x0, int y0, int x1, int y1, COLORREF fill,
                                              COLORREF edge);
    void DrawCheckMarkLines(CDC* pDC, CRect rc, COLORREF clr, BOOL rightToLeft);
    void DrawControlText(CDC* pDC, CWVPControl* pControl, const CString& caption, const CString& plain, CRect rc,
                         BOOL vertical, BOOL centred);
    void DrawTextOnGlass(CDC* pDC, const CString& text, CRect rc, UINT format, BOOL composited);
    static void AFX_CDECL SplitCaption(const CString& caption, CString& first, CString& second);

    // Caption layout of tool-bar controls.
    CSize DrawControlCaption(CDC* pDC, CWVPControl* pControl, CRect rc, BOOL bDraw, BOOL vertical, BOOL centred,
                             BOOL arrow);
    CSize LayoutCaption(CDC* pDC, CWVPControl* pControl, CRect rc, BOOL bDraw, BOOL arrow, int slotWidth,
                        int slotHeight, BOOL hasIcon);
    CSize DrawControlCaptionBelowIcon(CDC* pDC, CWVPControl* pControl, CRect rc, BOOL bDraw, BOOL vertical,
                                      BOOL arrow);
    // The face of a tool-bar control (a split button's two parts) and its text colour.
    void DrawToolBarControlFace(CDC* pDC, CWVPControl* pControl, CRect rc);

    // Theme selection and the process-wide paint manager.
    static CWVPPaintManager* AFX_CDECL CreateTheme(int number);
    static void AFX_CDECL SetTheme(int number);
    static void AFX_CDECL SetCustomTheme(CWVPPaintManager* paintManager);
    static void AFX_CDECL ReleaseInstance();
    // The process-wide paint manager, made with theme 0 when there is none yet.
    static CWVPPaintManager* AFX_CDECL GetInstance();
    // The current one, or null.
    static CWVPPaintManager* AFX_CDECL GetCurrent();

    COLORREF m_statusBarTextColor;
    COLORREF m_infoTextColor;
    CWVPPaintManagerColorGradient m_faceGradient;
    CWVPPaintManagerColor m_floatingCaptionColor;
    CWVPPaintManagerColor m_floatingCaptionTextColor;
    BOOL m_bThickCheckMarks;
    BOOL m_bShowPopupShadows;
    BOOL m_bThemedStatusBar;
    BOOL m_bThemedCheckBoxes;
    BOOL m_bClearTypeText;
    BOOL m_bCharsetFromLanguage;
    BOOL m_bFlatToolBar;
    BOOL m_bFlatMenuBar;
    int m_nPopupTextGap;
    BOOL m_bThemeOption;
    BOOL m_bEnableAnimation;
    BOOL m_bCompactArrows;
    BOOL m_bIndentPopupLabels;
    BOOL m_bSplitCaptions;
    CWVPPaintManagerFont m_fontSmallCaption;
    CWVPPaintManagerFont m_fontIcon;
    CWVPPaintManagerFont m_fontIconBold;
    CWVPPaintManagerFont m_fontStatus;
    int m_nSplitArrowWidth;
    int m_nPopupSplitArrowWidth;
    BOOL m_bAutoResizeIcons;
    int m_nThemeMetric;
    CWVPControlGalleryPaintManager* m_pGalleryPaintManager;
    CWVPSliderPaintManager* m_pSliderPaintManager;
    CWVPProgressPaintManager* m_pProgressPaintManager;
    WVPSetLayeredWindowAttributesProc m_pfnSetLayeredWindowAttributes;
    CRect m_rcThemeMargins;
    CFont m_fontBar;
    CFont m_fontBarBold;
    CFont m_fontBarVertical;
    CFont m_fontBarVerticalBold;
    int m_nTextHeight;
    int m_nEditHeight;
    BOOL m_bUseOwnFace;
    CString m_strFaceName;
    BOOL m_bStandardBarFont;
    BOOL m_bEmbossedDisabledText;
    CWVPWinThemeWrapper m_themeStatus;
    CWVPWinThemeWrapper m_themeButton;
    int m_nThemeNumber;
    BOOL m_bFadedIcons;
    BOOL m_bDisabledIconImages;
    BOOL m_bIconShadows;
    BOOL m_bOfficeDisabledIcons;
    int m_nAnimationSteps;
    int m_nAnimationTime;
    int m_nKeyboardCues;
    CWVPPaintManagerColor m_colors[ColorCount];
    int m_nColorScheme;
    CWVPShadowManager* m_pShadowManager;

  private:
    // A check-box or radio-button mark: the "BUTTON" style's part when themed, else the frame
    // control of that style.
    CSize DrawButtonMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed, int checked, BOOL bEnabled,
                         int part, UINT frameStyle);

    static CWVPPaintManager* s_pInstance;
};

// Registers the run-time classes of the command bars, so that streams can name them even where
// nothing else in a program refers to a class. Runs whenever a paint manager is made; idempotent.
void AFX_CDECL WVPRegisterCommandBarClasses();
