#include "uilib/commandbars/PaintManager.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/ControlGalleryPaintManager.h"
#include "uilib/commandbars/ProgressPaintManager.h"
#include "uilib/commandbars/ShadowManager.h"
#include "uilib/commandbars/SliderPaintManager.h"
#include "uilib/foundation/ColorManager.h"
#include "uilib/foundation/DrawHelpers.h"
#include "uilib/foundation/ImageManager.h"
#include "uilib/foundation/OSVersionInfo.h"
#include "uilib/foundation/ResourceManager.h"
#include "uilib/themes/ThemeFactory.h"

#include "platform/mfc/ExitSequence.h"

#include <algorithm>

namespace
{
// The size the non-client metrics record is read with on every system.
const UINT kNonClientMetricsSize = 500;
const int kBoldWeight = 700;
const int kVerticalEscapement = 2700;
const int kVerticalOrientation = 900;
const BYTE kClearTypeQuality = 5;
const int kMinControlHeight = 22;
const int kColorButtonFace = 15;
const int kColorButtonShadow = 16;
const int kColorButtonText = 18;
const int kColorButtonHighlight = 20;
const int kColorInfoText = 23;
const int kColorWorkspace = 12;
const int kStatusTextColorProp = 3803;

BOOL ClearTypeAvailable()
{
    OSVERSIONINFOW info = {sizeof info};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExW(&info);
#pragma GCC diagnostic pop
    return info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion >= 1);
}

void ReleaseInstanceAtExit(void*)
{
    CWVPPaintManager::ReleaseInstance();
}
} // namespace

CWVPPaintManager* CWVPPaintManager::s_pInstance = nullptr;

CWVPPaintManager::CWVPPaintManager()
    : m_statusBarTextColor(0), m_infoTextColor(0), m_bThickCheckMarks(FALSE), m_bShowPopupShadows(TRUE),
      m_bThemedStatusBar(FALSE), m_bThemedCheckBoxes(FALSE), m_bClearTypeText(FALSE), m_bCharsetFromLanguage(FALSE),
      m_bFlatToolBar(FALSE), m_bFlatMenuBar(FALSE), m_nPopupTextGap(4), m_bThemeOption(FALSE),
      m_bEnableAnimation(FALSE), m_bCompactArrows(FALSE), m_bIndentPopupLabels(TRUE), m_bSplitCaptions(TRUE),
      m_nSplitArrowWidth(11), m_nPopupSplitArrowWidth(20), m_bAutoResizeIcons(FALSE), m_nThemeMetric(20),
      m_pGalleryPaintManager(nullptr), m_pSliderPaintManager(nullptr), m_pProgressPaintManager(nullptr),
      m_pfnSetLayeredWindowAttributes(nullptr), m_rcThemeMargins(0, 0, 0, 0), m_nTextHeight(0), m_nEditHeight(0),
      m_bUseOwnFace(FALSE), m_strFaceName(L"Tahoma"), m_bStandardBarFont(TRUE), m_bEmbossedDisabledText(TRUE),
      m_nThemeNumber(0), m_bFadedIcons(FALSE), m_bDisabledIconImages(FALSE), m_bIconShadows(FALSE),
      m_bOfficeDisabledIcons(FALSE), m_nAnimationSteps(10), m_nAnimationTime(100), m_nKeyboardCues(-1),
      m_nColorScheme(wvpSystemColorDefault), m_pShadowManager(nullptr)
{
    WVPRegisterCommandBarClasses();
    WVPImageManager()->RefreshAll();
    m_pGalleryPaintManager = new CWVPControlGalleryPaintManager(this);
    m_pSliderPaintManager = new CWVPSliderPaintManager(this);
    m_pProgressPaintManager = new CWVPProgressPaintManager(this);
    if (HMODULE user32 = ::GetModuleHandleW(L"USER32"))
        m_pfnSetLayeredWindowAttributes = reinterpret_cast<WVPSetLayeredWindowAttributesProc>(
            reinterpret_cast<void*>(::GetProcAddress(user32, "SetLayeredWindowAttributes")));
    m_pShadowManager = new CWVPShadowManager;
}

CWVPPaintManager::~CWVPPaintManager()
{
    delete m_pGalleryPaintManager;
    delete m_pSliderPaintManager;
    delete m_pProgressPaintManager;
    m_pShadowManager->InternalRelease();
    m_themeStatus.CloseThemeData();
    m_themeButton.CloseThemeData();
}

COLORREF CWVPPaintManager::GetColor(int index) const
{
    if (index < 0 || index > LastColor)
        return (COLORREF)index;
    return m_colors[index].GetColor();
}

void CWVPPaintManager::SetColors(int count, const int* indexes, const COLORREF* colors)
{
    for (int i = 0; i < count; ++i)
        if (indexes[i] >= 0 && indexes[i] <= LastColor)
            m_colors[indexes[i]].SetDefault(colors[i]);
}

int CWVPPaintManager::GetEffectiveColorScheme() const
{
    CWVPColorManager* colors = WVPColorManager();
    if (m_nColorScheme == wvpSystemColorDefault)
        return colors->AreLunaColorsDisabled() ? wvpSystemColorNone : colors->GetEffectiveColorScheme();
    if (m_nColorScheme == wvpSystemColorUnknown)
        return colors->GetDetectedColorScheme();
    return m_nColorScheme;
}

void AFX_CDECL CWVPPaintManager::GetNonClientMetrics(NONCLIENTMETRICSW* record)
{
    // Read in its 500-byte form (without the padded border width) on every system version.
    static_assert(sizeof(NONCLIENTMETRICSW) >= kNonClientMetricsSize, "record smaller than its read size");
    ::ZeroMemory(record, sizeof(NONCLIENTMETRICSW));
    record->cbSize = kNonClientMetricsSize;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, record, 0);
}

void AFX_CDECL CWVPPaintManager::ZeroLogFont(LOGFONTW* record)
{
    ::ZeroMemory(record, sizeof(LOGFONTW));
}

int CWVPPaintManager::GetControlHeight() const
{
    return std::max(m_nTextHeight, kMinControlHeight);
}

int CWVPPaintManager::GetSplitDropDownHeight() const
{
    const int h = m_nEditHeight > 0 ? m_nTextHeight : std::max(m_nTextHeight + 3, kMinControlHeight);
    return 2 * h - 17;
}

CSize CWVPPaintManager::GetDefaultIconSize(BOOL large) const
{
    if (!m_bAutoResizeIcons)
        return large ? CSize(32, 32) : CSize(16, 16);
    const int n = large ? 2 * GetControlHeight() - 8 : GetControlHeight() - 4;
    const int side = 8 * std::max(n / 8, 2);
    return CSize(side, side);
}

CSize CWVPPaintManager::GetControlImageSize(CWVPControl* pControl)
{
    CWVPCommandBar* pBar = pControl->GetParent();
    if (pBar && pControl->GetStyle() == wvpButtonIconAndCaptionBelow && pBar->GetType() != wvpBarTypePopup)
        return pBar->GetLargeIconSize();
    return pControl->GetIconSize();
}

CSize CWVPPaintManager::ApplyControlSize(CWVPControl* pControl, int cx, int cy, BOOL vertical)
{
    const int ownWidth = pControl->GetWidth(), ownHeight = pControl->GetHeight();
    if (vertical)
    {
        if (ownWidth > 0)
            cy = ownWidth;
        if (ownHeight > 0)
            cx = ownHeight;
    }
    else
    {
        if (ownWidth > 0)
            cx = ownWidth;
        if (ownHeight > 0)
            cy = ownHeight;
    }
    return CSize(cx, cy);
}

CSize CWVPPaintManager::DrawControl(CDC* pDC, CWVPControl* pControl, BOOL bDraw)
{
    switch (pControl->GetType())
    {
    case wvpControlEdit:
        return DrawEditControl(pDC, pControl, bDraw);
    case wvpControlComboBox:
        return DrawComboBoxControl(pDC, pControl, bDraw);
    default:
        break;
    }
    CWVPCommandBar* pBar = pControl->GetParent();
    if (pBar && pBar->GetType() == wvpBarTypePopup)
        return DrawPopupBarControl(pDC, pControl, bDraw);
    return DrawToolBarControl(pDC, pControl, bDraw);
}

CFont* CWVPPaintManager::GetControlFont(CWVPCommandBar* pBar, BOOL bBold)
{
    if (pBar && pBar->IsVerticalPosition())
        return bBold ? &m_fontBarVerticalBold : &m_fontBarVertical;
    return bBold ? &m_fontBarBold : &m_fontBar;
}

int CWVPPaintManager::GetPopupBarGripperWidth(CWVPCommandBar* pBar)
{
    if (!pBar || pBar->GetType() != wvpBarTypePopup)
        return 0;
    return GetPopupBarIconCellSize(pBar).cx + 1;
}

CSize CWVPPaintManager::GetPopupBarIconCellSize(CWVPCommandBar* pBar)
{
    const CSize icon = pBar ? pBar->GetIconSize() : CSize(16, 16);
    return CSize(std::max(m_nTextHeight + 4, icon.cx + 4), std::max(m_nTextHeight, icon.cy + 6));
}

BOOL AFX_CDECL CWVPPaintManager::IsDropDownType(int type)
{
    return type == wvpControlPopup || type == wvpControlButtonPopup || type == wvpControlComboBox;
}

BOOL AFX_CDECL CWVPPaintManager::IsPopupType(int type)
{
    return type == wvpControlPopup || type == wvpControlButtonPopup;
}

CString AFX_CDECL CWVPPaintManager::StripMnemonics(const CString& text)
{
    CString plain = text;
    CWVPDrawHelpers::RemoveMnemonicMarksString(plain);
    return plain;
}

BOOL AFX_CDECL CWVPPaintManager::FontExists(LPCWSTR face)
{
    return CWVPDrawHelpers::FontExists(face);
}

void CWVPPaintManager::GradientFill(CDC* pDC, LPCRECT rc, COLORREF from, COLORREF to, BOOL horizontal, LPCRECT clip)
{
    WVPDrawHelpers()->FillGradientClipped(pDC, rc, from, to, horizontal, clip ? clip : rc);
}

COLORREF CWVPPaintManager::GetEditBackColor(CWVPControl* pControl)
{
    return GetColor(pControl->GetEnabled() ? COLOR_WINDOW : kColorButtonFace);
}

void CWVPPaintManager::DrawControlEntry(CDC* pDC, CWVPControl* pControl)
{
    CWVPCommandBar* pBar = pControl->GetParent();
    DrawRectangle(pDC, pControl->GetRect(), pControl->GetSelected(), pControl->GetPressed(), pControl->GetEnabled(),
                  pControl->GetChecked(), pControl->GetPopuped(), pBar ? pBar->GetType() : wvpBarTypeNormal,
                  pBar ? pBar->GetPosition() : wvpBarTop);
}

void CWVPPaintManager::FillMessageBar(CDC* pDC, CRect rcClient)
{
    pDC->FillSolidRect(rcClient, GetColor(kColorButtonFace));
}

CRect CWVPPaintManager::GetCommandBarBorders(CWVPCommandBar*)
{
    return CRect(2, 2, 2, 2);
}

void CWVPPaintManager::SetCommandBarRegion(CWVPCommandBar*)
{
}

void CWVPPaintManager::DrawPopupBarGripper(CDC*, int, int, int, int, BOOL)
{
}

void CWVPPaintManager::AdjustCaptionForRTL(CString&)
{
}

void CWVPPaintManager::FillWorkspace(CDC* pDC, CRect rc)
{
    pDC->FillSolidRect(rc, GetColor(kColorWorkspace));
}

void CWVPPaintManager::FillDockBar(CDC* pDC, CWnd* pDockBar)
{
    CRect rc;
    pDockBar->GetClientRect(&rc);
    pDC->FillSolidRect(rc, GetColor(kColorButtonFace));
}

BOOL CWVPPaintManager::IsFlatBar(CWVPCommandBar* pBar)
{
    return pBar && pBar->GetType() == wvpBarTypeMenuBar ? m_bFlatMenuBar : m_bFlatToolBar;
}

void CWVPPaintManager::RefreshMetrics()
{
    RefreshStandardFonts();
    RefreshColors();
    m_pShadowManager->SetShadowColor(0);
    m_statusBarTextColor = GetColor(kColorButtonText);
    m_infoTextColor = GetColor(kColorInfoText);
    m_floatingCaptionColor.SetDefault(GetColor(kColorButtonShadow));
    m_floatingCaptionTextColor.SetDefault(GetColor(kColorButtonHighlight));
    m_faceGradient.SetDefaults(GetColor(kColorButtonFace), GetColor(kColorButtonShadow), 0.5f);

    m_themeStatus.CloseThemeData();
    if (m_bThemedStatusBar && m_themeStatus.OpenThemeData(nullptr, L"STATUS") && m_themeStatus.IsThemeUsable())
    {
        COLORREF clr = 0;
        if (SUCCEEDED(m_themeStatus.GetThemeColor(1, 0, kStatusTextColorProp, &clr)))
            m_statusBarTextColor = clr;
    }
    m_themeButton.CloseThemeData();
    if (m_bThemedCheckBoxes)
        m_themeButton.OpenThemeData(nullptr, L"BUTTON");

    m_pGalleryPaintManager->RefreshMetrics();
    m_pSliderPaintManager->RefreshMetrics();
    m_pProgressPaintManager->RefreshMetrics();
}

void CWVPPaintManager::RefreshColors()
{
    CWVPColorManager* colors = WVPColorManager();
    colors->RefreshColors();
    for (int i = 0; i < ColorCount; ++i)
        m_colors[i].SetDefault(colors->GetColor(i));
}

void CWVPPaintManager::RefreshStandardFonts()
{
    NONCLIENTMETRICSW ncm;
    GetNonClientMetrics(&ncm);
    BYTE charset = ncm.lfMenuFont.lfCharSet;
    if (m_bCharsetFromLanguage && WVPResourceManager()->GetLanguageInfo())
        charset = (BYTE)WVPResourceManager()->GetLanguageInfo()->fontCharset;
    const BOOL clearType = m_bClearTypeText && ClearTypeAvailable();

    if (m_bStandardBarFont)
    {
        LOGFONTW lf = ncm.lfMenuFont;
        if (lf.lfHeight < 0 && lf.lfHeight > -11)
            lf.lfHeight = -11;
        lf.lfCharSet = charset;
        if (clearType)
            lf.lfQuality = kClearTypeQuality;
        CreateBarFonts(&lf, TRUE);
    }

    LOGFONTW lfIcon;
    ZeroLogFont(&lfIcon);
    ::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof lfIcon, &lfIcon, 0);
    LOGFONTW lfSmall = ncm.lfSmCaptionFont, lfStatus = ncm.lfStatusFont;
    for (LOGFONTW* lf : {&lfIcon, &lfSmall, &lfStatus})
    {
        lf->lfCharSet = charset;
        if (clearType)
            lf->lfQuality = kClearTypeQuality;
    }
    m_fontSmallCaption.Refresh(lfSmall);
    m_fontIcon.Refresh(lfIcon);
    LOGFONTW lfIconBold = lfIcon;
    lfIconBold.lfWeight = kBoldWeight;
    m_fontIconBold.Refresh(lfIconBold);
    m_fontStatus.Refresh(lfStatus);
}

void CWVPPaintManager::CreateBarFonts(const LOGFONTW* plf, BOOL standard)
{
    m_bStandardBarFont = standard;
    if (!plf)
        return;
    LOGFONTW lf = *plf;
    if (m_bClearTypeText && ClearTypeAvailable())
        lf.lfQuality = kClearTypeQuality;
    m_fontBar.DeleteObject();
    m_fontBarBold.DeleteObject();
    m_fontBarVertical.DeleteObject();
    m_fontBarVerticalBold.DeleteObject();
    m_fontIconBold.DeleteObject();

    if (m_strFaceName.CompareNoCase(lf.lfFaceName) == 0)
        m_bUseOwnFace = TRUE;
    if (standard && m_bUseOwnFace && FontExists(m_strFaceName))
        ::lstrcpynW(lf.lfFaceName, m_strFaceName, LF_FACESIZE);

    m_fontBar.CreateFontIndirect(&lf);
    LOGFONTW bold = lf;
    bold.lfWeight = kBoldWeight;
    m_fontBarBold.CreateFontIndirect(&bold);

    LOGFONTW vertical = lf;
    vertical.lfEscapement = kVerticalEscapement;
    vertical.lfOrientation = kVerticalOrientation;
    ::lstrcpynW(vertical.lfFaceName, CWVPDrawHelpers::GetDefaultFontName(m_bUseOwnFace), LF_FACESIZE);
    m_fontBarVertical.CreateFontIndirect(&vertical);
    vertical.lfWeight = kBoldWeight;
    m_fontBarVerticalBold.CreateFontIndirect(&vertical);

    HDC screen = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(screen, m_fontBar.GetSafeHandle());
    SIZE blank = {0, 0};
    ::GetTextExtentPoint32W(screen, L" ", 1, &blank);
    ::SelectObject(screen, old);
    ::ReleaseDC(nullptr, screen);
    m_nTextHeight = blank.cy + 6;
}

CWVPPaintManager* AFX_CDECL CWVPPaintManager::CreateTheme(int number)
{
    CWVPPaintManager* paintManager = WVPCreateThemePaintManager(number);
    paintManager->m_nThemeNumber = number;
    return paintManager;
}

void AFX_CDECL CWVPPaintManager::SetCustomTheme(CWVPPaintManager* paintManager)
{
    static BOOL s_exitHandler = FALSE;
    if (!s_exitHandler)
    {
        s_exitHandler = TRUE;
        AfxRegisterExitHandler(ReleaseInstanceAtExit, nullptr);
    }
    if (s_pInstance)
        s_pInstance->InternalRelease();
    s_pInstance = paintManager;
    if (!paintManager)
        return;
    paintManager->m_nThemeNumber = wvpThemeCustom;
    paintManager->RefreshMetrics();
}

void AFX_CDECL CWVPPaintManager::SetTheme(int number)
{
    SetCustomTheme(CreateTheme(number));
    s_pInstance->m_nThemeNumber = number;
}

void AFX_CDECL CWVPPaintManager::ReleaseInstance()
{
    if (!s_pInstance)
        return;
    CWVPPaintManager* paintManager = s_pInstance;
    s_pInstance = nullptr;
    paintManager->InternalRelease();
}

CWVPPaintManager* AFX_CDECL CWVPPaintManager::GetInstance()
{
    if (!s_pInstance)
        SetTheme(wvpThemeDefault);
    return s_pInstance;
}

CWVPPaintManager* AFX_CDECL CWVPPaintManager::GetCurrent()
{
    return s_pInstance;
}
