#include "uilib/controls/HeaderCtrlTheme.h"

#include "uilib/commandbars/PaintManager.h"
#include "uilib/controls/HeaderCtrl.h"
#include "uilib/foundation/ColorManager.h"
#include "uilib/foundation/DCGuards.h"

#include <algorithm>
#include <vector>

namespace
{
const int kTextBufferChars = 256;
const int kHeaderPart = 0;
const int kHeaderItemPart = 1; // HP_HEADERITEM
const int kItemStateNormal = 1;
const int kItemStateHot = 2;
const int kItemStatePressed = 3;
const UINT kItemHot = 0x40; // ODS_HOTLIGHT
const COLORREF kExplorerArrow = 0x99A8AC;
const int kPlainDrawStyle =
    CWVHeaderCtrlTheme::styleVisualStyles | CWVHeaderCtrlTheme::styleHotTracking | CWVHeaderCtrlTheme::styleSortArrow;

COLORREF SysColor(UINT index)
{
    return WVPColorManager()->GetColor(index);
}

// A one-pixel line, end point excluded.
void Line(CDC* pDC, int x0, int y0, int x1, int y1, COLORREF clr)
{
    CPen pen(PS_SOLID, 1, clr);
    CWVPPenDC penGuard(pDC, &pen);
    pDC->MoveTo(x0, y0);
    pDC->LineTo(x1, y1);
}

CDC* DCOf(LPDRAWITEMSTRUCT lpDIS)
{
    return CDC::FromHandle(lpDIS->hDC);
}

// The header background common to every look: the face colour with a raised frame, whose right
// edge lies past the header so that only the top, left and bottom edges show. The frame rectangle.
CRect FillFramedFace(LPDRAWITEMSTRUCT lpDIS, COLORREF clrFace, COLORREF clrHighlight, COLORREF clrBottomRight)
{
    CDC* pDC = DCOf(lpDIS);
    CRect rc(lpDIS->rcItem);
    pDC->FillSolidRect(rc, clrFace);
    rc.right += 2;
    pDC->Draw3dRect(rc, clrHighlight, clrBottomRight);
    return rc;
}

// The flat looks' column separator: a shadow and a highlight line from y 2 down to nBottom.
void FlatSeparator(LPDRAWITEMSTRUCT lpDIS, int nBottom, COLORREF clrShadow, COLORREF clrHighlight)
{
    CDC* pDC = DCOf(lpDIS);
    const int x = lpDIS->rcItem.right;
    Line(pDC, x - 2, 2, x - 2, nBottom, clrShadow);
    Line(pDC, x - 1, 2, x - 1, nBottom, clrHighlight);
}

// Puts the device context's state back when painting ends.
class CSavedDC
{
  public:
    explicit CSavedDC(HDC hDC) : m_hDC(hDC), m_nSaved(::SaveDC(hDC))
    {
    }
    ~CSavedDC()
    {
        ::RestoreDC(m_hDC, m_nSaved);
    }
    CSavedDC(const CSavedDC&) = delete;
    CSavedDC& operator=(const CSavedDC&) = delete;

  private:
    HDC m_hDC;
    int m_nSaved;
};
} // namespace

// ---------------------------------------------------------------------------------------------
// CWVHeaderCtrlTheme

CWVHeaderCtrlTheme::CWVHeaderCtrlTheme()
    : m_nArrowGap(10), m_dwDrawStyle(kPlainDrawStyle), m_bUseWinThemes(FALSE), m_nImageGap(6), m_sizeArrow(8, 7),
      m_clrText(0), m_clrFace(0), m_clrShadow(0), m_clrDarkShadow(0), m_clrHighlight(0)
{
}

CWVHeaderCtrlTheme::~CWVHeaderCtrlTheme() = default;

void CWVHeaderCtrlTheme::RefreshMetrics()
{
    m_clrText = SysColor(COLOR_BTNTEXT);
    m_clrFace = SysColor(COLOR_BTNFACE);
    m_clrShadow = SysColor(COLOR_BTNSHADOW);
    m_clrDarkShadow = SysColor(COLOR_3DDKSHADOW);
    m_clrHighlight = SysColor(COLOR_BTNHIGHLIGHT);
    m_themeHeader.OpenThemeData(nullptr, L"HEADER");
}

BOOL CWVHeaderCtrlTheme::IsVisualStyleEnabled(CWVHeaderCtrl* pHeader)
{
    if (!(m_dwDrawStyle & styleVisualStyles))
        return FALSE;
    if (!m_themeHeader.IsThemeOpen())
        m_themeHeader.OpenThemeData(pHeader->GetSafeHwnd(), L"HEADER");
    return m_themeHeader.IsThemeActive() && m_themeHeader.IsThemeOpen();
}

void CWVHeaderCtrlTheme::SetDrawStyle(DWORD dwDrawStyle, CWVHeaderCtrl* pHeader)
{
    m_dwDrawStyle = dwDrawStyle;
    m_bUseWinThemes = IsVisualStyleEnabled(pHeader) && (dwDrawStyle & styleVisualStyles);
}

DWORD CWVHeaderCtrlTheme::GetDrawStyle() const
{
    return m_dwDrawStyle;
}

BOOL CWVHeaderCtrlTheme::Layout(LPHDLAYOUT lpHDL, CWVHeaderCtrl* pHeader)
{
    return static_cast<BOOL>(pHeader->DefWindowProc(HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(lpHDL)));
}

void CWVHeaderCtrlTheme::CleanUp(CWVHeaderCtrl* pHeader)
{
    if (!pHeader->GetSafeHwnd())
        return;
    for (int i = 0; i < pHeader->GetItemCount(); ++i)
    {
        HDITEMW hdi = {};
        hdi.mask = HDI_FORMAT | HDI_BITMAP;
        if (pHeader->GetItem(i, &hdi) && (hdi.fmt & HDF_BITMAP) && hdi.hbm)
        {
            ::ImageList_Destroy(reinterpret_cast<HIMAGELIST>(hdi.hbm));
            hdi.mask = HDI_FORMAT | HDI_BITMAP;
            hdi.fmt &= ~HDF_BITMAP;
            hdi.hbm = nullptr;
            pHeader->SetItem(i, &hdi);
        }
    }
}

BOOL CWVHeaderCtrlTheme::SetItemBitmap(int nCol, UINT nBitmap, BOOL bRemove, COLORREF crMask, CWVHeaderCtrl* pHeader)
{
    HDITEMW hdi = {};
    hdi.mask = HDI_FORMAT | HDI_BITMAP;
    if (!pHeader->GetItem(nCol, &hdi))
        return FALSE;
    if ((hdi.fmt & HDF_BITMAP) && hdi.hbm)
        ::ImageList_Destroy(reinterpret_cast<HIMAGELIST>(hdi.hbm));
    hdi.fmt &= ~HDF_BITMAP;
    hdi.hbm = nullptr;
    pHeader->SetItem(nCol, &hdi);
    pHeader->Invalidate();
    if (bRemove)
        return FALSE;

    CBitmap bitmap;
    BITMAP bm = {};
    if (!bitmap.Attach(::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nBitmap))) ||
        !::GetObjectW(bitmap.GetSafeHandle(), sizeof bm, &bm))
        return FALSE;
    HIMAGELIST hList = ::ImageList_Create(bm.bmWidth, bm.bmHeight, ILC_COLOR24 | ILC_MASK, 0, 1);
    if (!hList)
        return FALSE;
    if (::ImageList_AddMasked(hList, static_cast<HBITMAP>(bitmap.GetSafeHandle()), crMask) < 0)
    {
        ::ImageList_Destroy(hList);
        return FALSE;
    }
    hdi.mask = HDI_FORMAT | HDI_BITMAP;
    hdi.fmt = HDF_BITMAP;
    hdi.hbm = reinterpret_cast<HBITMAP>(hList);
    pHeader->SetItem(nCol, &hdi);
    pHeader->Invalidate();
    return TRUE;
}

void CWVHeaderCtrlTheme::DrawItemBackground(LPDRAWITEMSTRUCT lpDIS)
{
    CRect rc = FillFramedFace(lpDIS, m_clrFace, m_clrHighlight, m_clrDarkShadow);
    rc.DeflateRect(1, 1);
    DCOf(lpDIS)->Draw3dRect(rc, m_clrFace, m_clrShadow);
}

BOOL CWVHeaderCtrlTheme::DrawThemedBackground(LPDRAWITEMSTRUCT lpDIS)
{
    if (!(m_dwDrawStyle & styleHotTracking))
        return FALSE;
    return SUCCEEDED(
        m_themeHeader.DrawThemeBackground(lpDIS->hDC, kHeaderPart, kItemStateNormal, &lpDIS->rcItem, nullptr));
}

void CWVHeaderCtrlTheme::DrawItemBorder(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = DCOf(lpDIS);
    const CRect rc(lpDIS->rcItem);
    if (lpDIS->itemState & ODS_SELECTED)
    {
        pDC->Draw3dRect(rc, m_clrShadow, m_clrShadow);
        Line(pDC, rc.right, rc.top, rc.right, rc.bottom, m_clrHighlight);
        Line(pDC, rc.left + 1, rc.bottom - 2, rc.right - 1, rc.bottom - 2, m_clrFace);
        return;
    }
    Line(pDC, rc.right - 2, 1, rc.right - 2, rc.bottom - 1, m_clrShadow);
    Line(pDC, rc.right - 1, 0, rc.right - 1, rc.bottom - 1, m_clrDarkShadow);
    Line(pDC, rc.right, 1, rc.right, rc.bottom - 1, m_clrHighlight);
}

BOOL CWVHeaderCtrlTheme::DrawThemedItemBackground(LPDRAWITEMSTRUCT lpDIS)
{
    const int state = (lpDIS->itemState & ODS_SELECTED) ? kItemStatePressed
                      : (lpDIS->itemState & kItemHot)   ? kItemStateHot
                                                        : kItemStateNormal;
    return SUCCEEDED(m_themeHeader.DrawThemeBackground(lpDIS->hDC, kHeaderItemPart, state, &lpDIS->rcItem, nullptr));
}

void CWVHeaderCtrlTheme::DrawSortArrow(LPDRAWITEMSTRUCT lpDIS, CRect& rcText, BOOL bAscending)
{
    int x = rcText.right + m_nArrowGap;
    if (x < rcText.left)
        return;
    int y = rcText.top + (rcText.Height() - m_sizeArrow.cy) / 2;
    if (lpDIS->itemState & ODS_SELECTED)
        ++x;
    else
        --y;
    const int w = m_sizeArrow.cx;
    const int h = m_sizeArrow.cy;
    // Base left, base right, apex.
    POINT pts[3];
    if (bAscending)
    {
        pts[0] = {x, y + h};
        pts[1] = {x + w, y + h};
        pts[2] = {x + w / 2, y};
    }
    else
    {
        pts[0] = {x, y};
        pts[1] = {x + w, y};
        pts[2] = {x + w / 2, y + h};
    }
    DrawArrowTriangle(DCOf(lpDIS), pts, bAscending);
}

void CWVHeaderCtrlTheme::DrawArrowTriangle(CDC* pDC, POINT* pts, BOOL bAscending)
{
    const POINT& left = pts[0];
    const POINT& right = pts[1];
    const POINT& apex = pts[2];
    if (bAscending)
    {
        Line(pDC, apex.x, apex.y, right.x, right.y, m_clrHighlight);
        Line(pDC, right.x, right.y, left.x, left.y, m_clrHighlight);
        Line(pDC, left.x, left.y, apex.x, apex.y, m_clrShadow);
    }
    else
    {
        Line(pDC, apex.x, apex.y, left.x, left.y, m_clrShadow);
        Line(pDC, left.x, left.y, right.x, right.y, m_clrShadow);
        Line(pDC, apex.x, apex.y, right.x, right.y, m_clrHighlight);
    }
}

void CWVHeaderCtrlTheme::DrawItemImage(LPDRAWITEMSTRUCT lpDIS, CRect& rcText, CWVHeaderCtrl* pHeader)
{
    const auto* pItem = reinterpret_cast<const HDITEMW*>(lpDIS->itemData);
    HIMAGELIST hList = nullptr;
    int nImage = 0;
    if ((pItem->fmt & HDF_BITMAP) && pItem->hbm)
    {
        hList = reinterpret_cast<HIMAGELIST>(pItem->hbm);
    }
    else if (pItem->fmt & HDF_IMAGE)
    {
        hList = reinterpret_cast<HIMAGELIST>(pHeader->SendMessage(HDM_GETIMAGELIST));
        nImage = pItem->iImage;
        if (!hList || nImage < 0 || nImage >= ::ImageList_GetImageCount(hList))
            return;
    }
    int cx = 0, cy = 0;
    if (!hList || !::ImageList_GetIconSize(hList, &cx, &cy))
        return;
    const CRect rcItem(lpDIS->rcItem);
    const BOOL bPressed = (lpDIS->itemState & ODS_SELECTED) != 0;
    const int x = rcText.left + (bPressed ? 1 : 0);
    const int y = rcItem.top + (rcItem.Height() - cy) / 2 + (bPressed ? 1 : 0);
    if (x + cx <= rcItem.right && cy <= rcItem.Height())
        ::ImageList_Draw(hList, nImage, lpDIS->hDC, x, y, ILD_TRANSPARENT);
    rcText.left += cx + m_nImageGap;
}

void CWVHeaderCtrlTheme::DrawItem(LPDRAWITEMSTRUCT lpDIS, CWVHeaderCtrl* pHeader)
{
    CDC* pDC = DCOf(lpDIS);
    CWVPFontDC fontGuard(pDC, pHeader->GetFont());
    const auto* pItem = reinterpret_cast<const HDITEMW*>(lpDIS->itemData);
    const BOOL bPressed = (lpDIS->itemState & ODS_SELECTED) != 0;
    BOOL bAscending = TRUE;
    const BOOL bSortColumn = pHeader->GetSortColumn(&bAscending) == static_cast<int>(lpDIS->itemID);

    CRect rcContent(lpDIS->rcItem);
    rcContent.DeflateRect(m_nImageGap, 0);
    if (bSortColumn)
        rcContent.right -= 2 * m_nArrowGap + m_sizeArrow.cx;

    LPCWSTR pszText = pItem->pszText ? pItem->pszText : L"";
    const int nLength = ::lstrlenW(pszText);
    SIZE sizeText = {};
    ::GetTextExtentPoint32W(lpDIS->hDC, pszText, nLength, &sizeText);

    CRect rcText(rcContent);
    rcText.top = (rcContent.bottom - sizeText.cy - rcContent.top) / 2;
    rcText.bottom = rcText.top + sizeText.cy;

    const BOOL bImage = ((pItem->fmt & HDF_BITMAP) && pItem->hbm) || (pItem->fmt & HDF_IMAGE);
    if (bImage && !(pItem->fmt & HDF_BITMAP_ON_RIGHT))
        DrawItemImage(lpDIS, rcText, pHeader);

    switch (pItem->fmt & HDF_JUSTIFYMASK)
    {
    case HDF_RIGHT:
        rcText.left = rcText.right - sizeText.cx;
        break;
    case HDF_CENTER:
        rcText.left += (rcText.Width() - sizeText.cx) / 2;
        rcText.right = rcText.left + sizeText.cx;
        break;
    default:
        rcText.right = rcText.left + sizeText.cx;
        break;
    }
    rcText.left = std::max(rcText.left, rcContent.left);
    rcText.right = std::min(rcText.right, rcContent.right);

    if (bImage && (pItem->fmt & HDF_BITMAP_ON_RIGHT))
    {
        CRect rcImage(rcText);
        rcImage.left = rcText.right + m_nImageGap;
        DrawItemImage(lpDIS, rcImage, pHeader);
    }
    if ((m_dwDrawStyle & styleSortArrow) && bSortColumn)
        DrawSortArrow(lpDIS, rcText, bAscending);
    if (rcText.Width() > 0)
    {
        if (bPressed)
            rcText.OffsetRect(1, 1);
        pDC->DrawText(pszText, nLength, &rcText, DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER);
    }
}

void CWVHeaderCtrlTheme::DrawHeader(CDC* pDC, CWVHeaderCtrl* pHeader)
{
    CSavedDC saved(pDC->GetSafeHdc());
    CRect rcClient;
    pHeader->GetClientRect(&rcClient);
    HDITEMW hdi = {};
    WCHAR szText[kTextBufferChars] = {};
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_HEADER;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.hwndItem = pHeader->GetSafeHwnd();
    dis.hDC = pDC->GetSafeHdc();
    dis.rcItem = rcClient;
    dis.itemData = reinterpret_cast<ULONG_PTR>(&hdi);

    if (!(m_bUseWinThemes && DrawThemedBackground(&dis)))
        DrawItemBackground(&dis);

    CWVPFontDC fontGuard(pDC, pHeader->GetFont());
    pDC->SetBkColor(m_clrFace);
    pDC->SetTextColor(m_clrText);
    pDC->SetBkMode(TRANSPARENT);

    const int nCount = pHeader->GetItemCount();
    std::vector<int> order(nCount > 0 ? nCount : 0);
    for (int i = 0; i < nCount; ++i)
        order[i] = i;
    if (nCount > 0)
        pHeader->SendMessage(HDM_GETORDERARRAY, nCount, reinterpret_cast<LPARAM>(order.data()));

    POINT ptCursor = {};
    ::GetCursorPos(&ptCursor);
    ::ScreenToClient(pHeader->GetSafeHwnd(), &ptCursor);
    const int nHot = (m_dwDrawStyle & styleHotTracking) ? pHeader->HitTest(ptCursor.x, ptCursor.y) : -1;

    int x = rcClient.left;
    for (int nIndex : order)
    {
        hdi = {};
        hdi.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT | HDI_LPARAM | HDI_BITMAP | HDI_ORDER | HDI_IMAGE;
        hdi.pszText = szText;
        hdi.cchTextMax = kTextBufferChars - 1;
        szText[0] = 0;
        if (!pHeader->GetItem(nIndex, &hdi))
            continue;
        dis.itemID = nIndex;
        dis.rcItem = CRect(x, rcClient.top, x + hdi.cxy, rcClient.bottom);
        dis.itemState = (nHot == nIndex) ? kItemHot : 0;
        if (pHeader->IsItemPressed(nIndex))
            dis.itemState = ODS_SELECTED;
        if (!(m_bUseWinThemes && DrawThemedItemBackground(&dis)))
            DrawItemBorder(&dis);
        DrawItem(&dis, pHeader);
        x += hdi.cxy;
    }
}

// ---------------------------------------------------------------------------------------------
// Variants

CWVHeaderCtrlThemeOfficeXP::CWVHeaderCtrlThemeOfficeXP()
{
    m_dwDrawStyle = styleSortArrow;
}

void CWVHeaderCtrlThemeOfficeXP::DrawItemBackground(LPDRAWITEMSTRUCT lpDIS)
{
    FillFramedFace(lpDIS, m_clrFace, m_clrHighlight, m_clrShadow);
}

void CWVHeaderCtrlThemeOfficeXP::DrawItemBorder(LPDRAWITEMSTRUCT lpDIS)
{
    FlatSeparator(lpDIS, lpDIS->rcItem.bottom - 2, m_clrShadow, m_clrHighlight);
}

CWVHeaderCtrlThemeOffice2003::CWVHeaderCtrlThemeOffice2003() : m_nHeightMargin(10)
{
    m_dwDrawStyle = styleSortArrow;
}

COLORREF CWVHeaderCtrlThemeOffice2003::BlendColors(COLORREF a, COLORREF b, double x)
{
    auto channel = [x](int ca, int cb) { return static_cast<int>(ca - x * (ca - cb)); };
    return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
               channel(GetBValue(a), GetBValue(b)));
}

BOOL CWVHeaderCtrlThemeOffice2003::Layout(LPHDLAYOUT lpHDL, CWVHeaderCtrl* pHeader)
{
    HDC hScreen = ::GetDC(nullptr);
    int nTextHeight = 0;
    {
        CWVPFontDC fontGuard(CDC::FromHandle(hScreen), pHeader->GetFont());
        TEXTMETRICW tm = {};
        ::GetTextMetricsW(hScreen, &tm);
        nTextHeight = tm.tmHeight;
    }
    ::ReleaseDC(nullptr, hScreen);
    const int nHeight = nTextHeight + m_nHeightMargin;
    RECT* prc = lpHDL->prc;
    WINDOWPOS* pwp = lpHDL->pwpos;
    // The list moves the window named here: left unset, its stack's leftovers would name another.
    pwp->hwnd = pHeader->GetSafeHwnd();
    pwp->hwndInsertAfter = nullptr;
    pwp->x = prc->left;
    pwp->y = prc->top;
    pwp->cx = prc->right - prc->left;
    pwp->cy = nHeight;
    pwp->flags = SWP_NOZORDER | SWP_NOACTIVATE;
    prc->top += nHeight;
    return TRUE;
}

void CWVHeaderCtrlThemeOffice2003::DrawItemBackground(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = DCOf(lpDIS);
    const CRect rc = FillFramedFace(lpDIS, m_clrFace, m_clrHighlight, BlendColors(m_clrFace, m_clrShadow, 0.6));
    pDC->FillSolidRect(rc.left, rc.bottom - 2, rc.Width(), 1, BlendColors(m_clrFace, m_clrShadow, 0.4));
    pDC->FillSolidRect(rc.left, rc.bottom - 3, rc.Width(), 1, BlendColors(m_clrFace, m_clrShadow, 0.25));
}

void CWVHeaderCtrlThemeOffice2003::DrawItemBorder(LPDRAWITEMSTRUCT lpDIS)
{
    FlatSeparator(lpDIS, lpDIS->rcItem.bottom - 4, m_clrShadow, m_clrHighlight);
}

CWVHeaderCtrlThemeExplorer::CWVHeaderCtrlThemeExplorer()
{
    m_dwDrawStyle = kPlainDrawStyle;
    m_sizeArrow = CSize(8, 4);
    m_nHeightMargin = 6;
}

void CWVHeaderCtrlThemeExplorer::DrawArrowTriangle(CDC* pDC, POINT* pts, BOOL /*bAscending*/)
{
    CWVPPaintManager::DrawTriangle(pDC, pts[0], pts[1], pts[2], kExplorerArrow);
}

// ---------------------------------------------------------------------------------------------
// CWVHeaderCtrlThemeFactory

IMPLEMENT_DYNCREATE(CWVHeaderCtrlThemeFactory, CWVThemeManagerStyleFactory)

CWVThemeManagerStyle* CWVHeaderCtrlThemeFactory::CreateTheme(int nTheme)
{
    CWVHeaderCtrlTheme* pTheme = nullptr;
    switch (nTheme)
    {
    case 1:
        pTheme = new CWVHeaderCtrlThemeOfficeXP;
        break;
    case 2:
        pTheme = new CWVHeaderCtrlThemeOffice2003;
        break;
    default:
        pTheme = new CWVHeaderCtrlTheme;
        break;
    }
    pTheme->m_nTheme = nTheme;
    return pTheme;
}
