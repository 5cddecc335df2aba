#include "uilib/foundation/AuxData.h"
#include "platform/mfc/ExitSequence.h"
#include "uilib/foundation/ColorManager.h"
#include "uilib/foundation/DrawHelpers.h"

namespace
{
const LONG kBoldWeight = FW_BOLD;
// Vertical text runs top to bottom.
const LONG kVerticalOrientation = 900;
const LONG kVerticalEscapement = 2700;

CWVAuxData* g_pAuxData = nullptr;

void DestroyAuxData(void*)
{
    delete g_pAuxData;
    g_pAuxData = nullptr;
}

BOOL MakeFont(CFont& font, const LOGFONTW& lf)
{
    return font.CreateFontIndirect(&lf);
}

BOOL SameFace(LPCWSTR a, LPCWSTR b)
{
    return ::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a, -1, b, -1) == CSTR_EQUAL;
}

void SetFace(LOGFONTW& lf, LPCWSTR face)
{
    ::lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
}
} // namespace

CWVAuxData::CWVAuxData()
{
    WVPRefreshColors();
    UpdateFonts();
}

CWVAuxData::~CWVAuxData() = default;

BOOL CWVAuxData::UpdateFonts(LPCWSTR pszFaceName, LPCWSTR pszVertFaceName)
{
    CFont* fonts[] = {&font,          &fontBold,          &fontULine,   &fontVert,   &fontVertBold,
                      &fontIconTitle, &fontIconTitleBold, &fontMarlett, &fontStatus, &fontSmCaption};
    for (CFont* f : fonts)
        f->DeleteObject();

    NONCLIENTMETRICSW ncm = {};
    ncm.cbSize = sizeof ncm;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    LOGFONTW base = ncm.lfMenuFont;
    LOGFONTW status = ncm.lfStatusFont;
    LOGFONTW smallCaption = ncm.lfSmCaptionFont;
    if (pszFaceName && *pszFaceName && CWVPDrawHelpers::FontExists(pszFaceName))
    {
        SetFace(base, pszFaceName);
        SetFace(status, pszFaceName);
        SetFace(smallCaption, pszFaceName);
    }

    if (!MakeFont(font, base))
        return FALSE;
    LOGFONTW lf = base;
    lf.lfWeight = kBoldWeight;
    if (!MakeFont(fontBold, lf))
        return FALSE;
    lf = base;
    lf.lfUnderline = TRUE;
    if (!MakeFont(fontULine, lf))
        return FALSE;

    lf = base;
    if (pszVertFaceName && *pszVertFaceName && CWVPDrawHelpers::FontExists(pszVertFaceName))
        SetFace(lf, pszVertFaceName);
    else if (!SameFace(base.lfFaceName, L"Tahoma") && CWVPDrawHelpers::FontExists(L"Arial"))
        SetFace(lf, L"Arial");
    lf.lfOrientation = kVerticalOrientation;
    lf.lfEscapement = kVerticalEscapement;
    if (!MakeFont(fontVert, lf))
        return FALSE;
    lf.lfWeight = kBoldWeight;
    if (!MakeFont(fontVertBold, lf))
        return FALSE;

    LOGFONTW iconTitle = {};
    ::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof iconTitle, &iconTitle, 0);
    if (!MakeFont(fontIconTitle, iconTitle))
        return FALSE;
    lf = iconTitle;
    lf.lfWeight = kBoldWeight;
    if (!MakeFont(fontIconTitleBold, lf))
        return FALSE;

    if (!MakeFont(fontStatus, status) || !MakeFont(fontSmCaption, smallCaption))
        return FALSE;

    LOGFONTW symbol = {};
    symbol.lfHeight = iconTitle.lfHeight;
    symbol.lfCharSet = DEFAULT_CHARSET;
    SetFace(symbol, L"Marlett");
    return MakeFont(fontMarlett, symbol);
}

CWVAuxData* AFXAPI WVPAuxData()
{
    if (!g_pAuxData)
    {
        g_pAuxData = new CWVAuxData;
        AfxRegisterExitHandler(DestroyAuxData, nullptr);
    }
    return g_pAuxData;
}
