#include "uilib/controls/ListBase.h"

#include "uilib/controls/HeaderCtrlTheme.h"
#include "uilib/foundation/AuxData.h"
#include "uilib/foundation/ColorBlend.h"
#include "uilib/foundation/RegistryManager.h"

#include <algorithm>
#include <vector>

namespace
{
const wchar_t kDefaultSection[] = L"Settings";
const wchar_t kDefaultEntry[] = L"Column Info";
const int kItemTextChars = 256;
// How much darker than the list's background the sorted column is.
const COLORREF kSortShade = RGB(8, 8, 8);
// Room beside a heading's text, and the sort arrow's room.
const int kHeadingPadding = 12;
const int kSortArrowRoom = 24;
const int kRowSortBlend = 50;
// The header tells a user's click (button 0) from its own sort menu's (button 1).
const int kUserClick = 0;
const int kMenuClick = 1;

// Field n of a comma-separated list read as a decimal integer; false when the field is missing or
// empty.
bool DecimalField(const CString& text, int n, int& value)
{
    int start = 0;
    for (int i = 0; i < n; ++i)
    {
        start = text.Find(L',', start);
        if (start < 0)
            return false;
        ++start;
    }
    int pos = start;
    bool negative = false;
    if (pos < text.GetLength() && (text[pos] == L'-' || text[pos] == L'+'))
        negative = text[pos++] == L'-';
    const int digits = pos;
    value = 0;
    for (; pos < text.GetLength() && text[pos] >= L'0' && text[pos] <= L'9'; ++pos)
        value = value * 10 + (text[pos] - L'0');
    if (negative)
        value = -value;
    return pos > digits;
}

COLORREF SysColorUnless(bool use, COLORREF color, int sysColor)
{
    return use && color != CWVListBase::kNoColor ? color : ::GetSysColor(sysColor);
}
} // namespace

CWVListBase::CWVListBase()
    : m_nMinColWidth(0), m_nMaxColWidth(0), m_nSortCol(-1), m_bUseUIFont(false), m_bPersistColumns(false),
      m_bCustomColors(false), m_bRowColors(false), m_bSortColors(false), m_bSortAscending(true),
      m_bColumnsLocked(false), m_crText(kNoColor), m_crBack(kNoColor), m_crSortText(kNoColor), m_crSortBack(kNoColor),
      m_arRowColors(10), m_pList(nullptr)
{
    RefreshColors();
}

CWVListBase::~CWVListBase() = default;

void CWVListBase::RefreshColors()
{
    m_nMaxColWidth = ::GetSystemMetrics(SM_CXFULLSCREEN);
    m_crSortBack = WVPSubtractColors(GetBackColor(), kSortShade);
    m_crSortText = SysColorUnless(m_bCustomColors, m_crText, COLOR_WINDOWTEXT);
}

COLORREF CWVListBase::GetBackColor() const
{
    return SysColorUnless(m_bCustomColors, m_crBack, COLOR_WINDOW);
}

COLORREF CWVListBase::GetTextColor() const
{
    return SysColorUnless(m_bCustomColors, m_crText, COLOR_WINDOWTEXT);
}

COLORREF CWVListBase::GetSortBackColor() const
{
    return m_crSortBack != kNoColor ? m_crSortBack : GetBackColor();
}

COLORREF CWVListBase::GetSortTextColor() const
{
    return m_crSortText != kNoColor ? m_crSortText : GetTextColor();
}

BOOL CWVListBase::IsReportView() const
{
    return m_pList && m_pList->GetSafeHwnd() && (m_pList->GetStyle() & LVS_TYPEMASK) == LVS_REPORT;
}

CHeaderCtrl* CWVListBase::GetListHeader() const
{
    if (!IsReportView())
        return nullptr;
    HWND hHeader = ::GetDlgItem(m_pList->GetSafeHwnd(), 0);
    return hHeader ? static_cast<CHeaderCtrl*>(CWnd::FromHandle(hHeader)) : nullptr;
}

std::vector<int> CWVListBase::ColumnOrder() const
{
    CHeaderCtrl* pHeader = GetListHeader();
    std::vector<int> order;
    if (!pHeader)
        return order;
    order.resize(std::max(pHeader->GetItemCount(), 0));
    for (size_t p = 0; p < order.size(); ++p)
        order[p] = pHeader->OrderToIndex(static_cast<int>(p));
    return order;
}

int CWVListBase::SetSortArrow(int iSortCol, BOOL bSortAsc)
{
    const int iPrevious = m_nSortCol;
    m_nSortCol = iSortCol;
    m_bSortAscending = bSortAsc == TRUE;
    auto* pHeader = DYNAMIC_DOWNCAST(CWVHeaderCtrl, GetListHeader());
    if (pHeader && pHeader->GetSafeHwnd())
        return pHeader->SetSortArrow(iSortCol, bSortAsc);
    return iPrevious;
}

bool CWVListBase::StoredColumnWidth(int iCol, int& nWidth)
{
    CWVRegistryManager registry(HKEY_CURRENT_USER);
    return DecimalField(registry.GetProfileString(m_strSection, m_strEntry, m_strDefault), iCol, nWidth);
}

int CWVListBase::LoadColumnWidth(int iCol)
{
    int nWidth = 0;
    return StoredColumnWidth(iCol, nWidth) ? nWidth : 0;
}

void CWVListBase::RestoreColumnWidth(int iCol)
{
    // A column the stored text does not mention (nothing stored yet, or a column added since)
    // keeps its width instead of vanishing at width 0.
    int nWidth = 0;
    if (m_pList && m_pList->GetSafeHwnd() && StoredColumnWidth(iCol, nWidth))
        m_pList->SetColumnWidth(iCol, nWidth);
}

void CWVListBase::RestoreColumnWidths()
{
    for (int iCol : ColumnOrder())
        RestoreColumnWidth(iCol);
}

void CWVListBase::SaveColumnWidths()
{
    CHeaderCtrl* pHeader = GetListHeader();
    if (!pHeader)
        return;
    // Listed by column index, the way LoadColumnWidth reads them back.
    CString text;
    const int nCount = pHeader->GetItemCount();
    for (int i = 0; i < nCount; ++i)
        text.AppendFormat(L"%d,", m_pList->GetColumnWidth(i));
    CWVRegistryManager registry(HKEY_CURRENT_USER);
    registry.WriteProfileString(m_strSection, m_strEntry, text);
}

void CWVListBase::PersistColumnWidths(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszDefault)
{
    m_bPersistColumns = true;
    m_strSection = lpszSection ? lpszSection : kDefaultSection;
    m_strEntry = lpszEntry ? lpszEntry : kDefaultEntry;
    if (lpszDefault)
        m_strDefault = lpszDefault;
    RestoreColumnWidths();
}

int CWVListBase::MeasureHeading(int iCol) const
{
    WCHAR szText[kItemTextChars] = {};
    LVCOLUMNW lvc = {};
    lvc.mask = LVCF_TEXT;
    lvc.pszText = szText;
    lvc.cchTextMax = kItemTextChars;
    m_pList->GetColumn(iCol, &lvc);
    CHeaderCtrl* pHeader = GetListHeader();
    HDC hScreen = ::GetDC(nullptr);
    HGDIOBJ hOldFont = ::SelectObject(hScreen, reinterpret_cast<HFONT>(pHeader->SendMessage(WM_GETFONT)));
    SIZE size = {};
    ::GetTextExtentPoint32W(hScreen, szText, ::lstrlenW(szText), &size);
    ::SelectObject(hScreen, hOldFont);
    ::ReleaseDC(nullptr, hScreen);
    int nWidth = size.cx + kHeadingPadding;
    auto* pFlat = DYNAMIC_DOWNCAST(CWVFlatHeaderCtrl, pHeader);
    if (pFlat && pFlat->GetTheme() && (pFlat->GetTheme()->GetDrawStyle() & CWVHeaderCtrlTheme::styleSortArrow) &&
        iCol == m_nSortCol)
        nWidth += kSortArrowRoom;
    return nWidth;
}

void CWVListBase::AutoSizeColumn(int iCol)
{
    if (!GetListHeader())
        return;
    const int nFirst = iCol < 0 ? 0 : iCol;
    const int nLast = iCol < 0 ? GetColumnCount() - 1 : iCol;
    m_pList->SetRedraw(FALSE);
    for (int p = nFirst; p <= nLast; ++p)
    {
        m_pList->SetColumnWidth(p, LVSCW_AUTOSIZE);
        const int nContents = m_pList->GetColumnWidth(p);
        int nWidth = std::max(nContents, MeasureHeading(p));
        nWidth = std::min(std::max(nWidth, m_nMinColWidth), m_nMaxColWidth);
        m_pList->SetColumnWidth(p, nWidth);
    }
    m_pList->SetRedraw(TRUE);
    m_pList->Invalidate(TRUE);
}

BOOL CWVListBase::SubclassHeader(BOOL bBoldFont)
{
    if (!IsReportView() || m_flatHeader.GetSafeHwnd())
        return FALSE;
    HWND hHeader = ::GetDlgItem(m_pList->GetSafeHwnd(), 0);
    if (!hHeader || !m_flatHeader.SubclassWindow(hHeader))
        return FALSE;
    m_flatHeader.InitializeHeader(bBoldFont);
    return TRUE;
}

BOOL CWVListBase::SortList(int, BOOL)
{
    return TRUE;
}

DWORD CWVListBase::SetExtendedStyle(DWORD dwExStyle)
{
    if (!m_pList || !m_pList->GetSafeHwnd())
        return 0;
    return static_cast<DWORD>(m_pList->SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, GetExtendedStyle() | dwExStyle));
}

DWORD CWVListBase::GetExtendedStyle()
{
    if (!m_pList || !m_pList->GetSafeHwnd())
        return 0;
    return static_cast<DWORD>(m_pList->SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE));
}

BOOL CWVListBase::ModifyExtendedStyle(DWORD dwRemove, DWORD dwAdd)
{
    if (!m_pList || !m_pList->GetSafeHwnd())
        return FALSE;
    const DWORD dwCurrent = GetExtendedStyle();
    const DWORD dwNew = dwAdd | (dwCurrent & ~dwRemove);
    if (dwNew == dwCurrent)
        return FALSE;
    m_pList->SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, dwNew);
    return TRUE;
}

void CWVListBase::LockColumnWidths(BOOL bLock)
{
    m_bColumnsLocked = bLock != FALSE;
}

int CWVListBase::HitTestEx(CPoint& point, int* pCol) const
{
    if (pCol)
        *pCol = 0;
    if (!m_pList || !m_pList->GetSafeHwnd())
        return -1;
    const int iRow = m_pList->HitTest(point);
    if (!IsReportView())
        return iRow;
    const std::vector<int> order = ColumnOrder();
    if (order.empty())
        return -1;
    const int nTop = m_pList->GetTopIndex();
    const int nEnd = std::min(nTop + m_pList->GetCountPerPage() + 1, m_pList->GetItemCount());
    for (int row = nTop; row < nEnd; ++row)
    {
        CRect rc;
        if (!m_pList->GetItemRect(row, &rc, LVIR_BOUNDS) || !rc.PtInRect(point))
            continue;
        int x = rc.left;
        for (size_t p = 0; p < order.size(); ++p)
        {
            const int nWidth = m_pList->GetColumnWidth(order[p]);
            if (point.x >= x && point.x <= x + nWidth)
            {
                if (pCol)
                    *pCol = static_cast<int>(p);
                return row;
            }
            x += nWidth;
        }
    }
    return -1;
}

int CWVListBase::AddColumn(LPCWSTR lpszHeading, int nWidth, int nFormat)
{
    const int nCount = GetColumnCount();
    if (nCount < 0)
        return -1;
    if (nWidth == -1)
        nWidth = nCount > 0 ? m_pList->GetColumnWidth(nCount - 1) : 0;
    return m_pList->InsertColumn(nCount, lpszHeading, nFormat, nWidth);
}

BOOL CWVListBase::BuildColumns(int nCols, const int* pWidths, const LPCWSTR* pHeadings)
{
    for (int i = 0; i < nCols; ++i)
        if (m_pList->InsertColumn(i, pHeadings[i], LVCFMT_LEFT, pWidths[i]) == -1)
            return FALSE;
    return TRUE;
}

BOOL CWVListBase::BuildColumnsFromResources(int nCols, const int* pWidths, const UINT* pStringIds)
{
    for (int i = 0; i < nCols; ++i)
    {
        CString heading;
        heading.LoadString(pStringIds[i]);
        if (m_pList->InsertColumn(i, heading, LVCFMT_LEFT, pWidths[i]) == -1)
            return FALSE;
    }
    return TRUE;
}

int CWVListBase::GetColumnCount() const
{
    CHeaderCtrl* pHeader = GetListHeader();
    return pHeader ? pHeader->GetItemCount() : -1;
}

int CWVListBase::CopyRow(int nFrom, int nTo)
{
    if (nFrom < 0 || nTo < 0 || nFrom == nTo || !m_pList)
        return -1;
    WCHAR szText[kItemTextChars] = {};
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = nFrom;
    item.pszText = szText;
    item.cchTextMax = kItemTextChars;
    if (!m_pList->GetItem(&item))
        return -1;
    item.iItem = nTo;
    if (m_pList->InsertItem(&item) == -1)
        return -1;
    const int nSource = nTo < nFrom ? nFrom + 1 : nFrom;
    const int nCount = GetColumnCount();
    for (int col = 1; col < nCount; ++col)
    {
        const CString text = m_pList->GetItemText(nSource, col);
        if (!text.IsEmpty())
            m_pList->SetItemText(nTo, col, text);
    }
    return nSource;
}

BOOL CWVListBase::MoveRow(int nFrom, int nTo)
{
    const int nSource = CopyRow(nFrom, nTo);
    return nSource >= 0 && m_pList->DeleteItem(nSource);
}

const CWVListBase::ROWCOLOR* CWVListBase::FindRowColor(int iRow) const
{
    for (POSITION pos = m_arRowColors.GetHeadPosition(); pos;)
    {
        const ROWCOLOR& rc = m_arRowColors.GetNext(pos);
        if (rc.iRow == iRow)
            return &rc;
    }
    return nullptr;
}

BOOL CWVListBase::InitList()
{
    if (!m_pList || !m_pList->GetSafeHwnd())
        return FALSE;
    if (m_bUseUIFont)
        m_pList->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(WVPAuxData()->font.GetSafeHandle()));
    return TRUE;
}

void CWVListBase::OnHeaderItemClick(const NMHEADERW* pNMH)
{
    auto* pHeader = DYNAMIC_DOWNCAST(CWVFlatHeaderCtrl, CWnd::FromHandlePermanent(pNMH->hdr.hwndFrom));
    if (!pHeader)
        return;
    bool bAscending;
    if (pNMH->iButton == kUserClick)
        bAscending = pNMH->iItem == m_nSortCol ? !m_bSortAscending : true;
    else if (pNMH->iButton == kMenuClick)
    {
        BOOL bHeaderAsc = TRUE;
        pHeader->GetSortColumn(&bHeaderAsc);
        bAscending = bHeaderAsc != FALSE;
    }
    else
        return;
    m_nSortCol = pNMH->iItem;
    m_bSortAscending = bAscending;
    pHeader->SetSortArrow(m_nSortCol, bAscending);
    SortList(m_nSortCol, bAscending);
}

BOOL CWVListBase::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    auto* pNMH = reinterpret_cast<NMHEADERW*>(lParam);
    switch (pNMH->hdr.code)
    {
    case HDN_ITEMCHANGINGA:
    case HDN_ITEMCHANGINGW:
    case HDN_ENDTRACKW:
        if (pNMH->pitem && (pNMH->pitem->mask & HDI_WIDTH) && pNMH->pitem->cxy < m_nMinColWidth)
            pNMH->pitem->cxy = m_nMinColWidth;
        break;
    case HDN_BEGINTRACKW:
    case HDN_BEGINTRACKA:
    case HDN_DIVIDERDBLCLICKW:
    case HDN_DIVIDERDBLCLICKA:
        if (m_bColumnsLocked)
        {
            if (pResult)
                *pResult = 1;
            return TRUE;
        }
        break;
    case HDN_ITEMCLICKW:
    case HDN_ITEMCLICKA:
        OnHeaderItemClick(pNMH);
        break;
    default:
        break;
    }
    return FALSE;
}

void CWVListBase::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* pDraw = reinterpret_cast<NMLVCUSTOMDRAW*>(pNMHDR);
    switch (pDraw->nmcd.dwDrawStage)
    {
    case CDDS_PREPAINT:
    case CDDS_ITEMPREPAINT:
        *pResult = CDRF_NOTIFYSUBITEMDRAW;
        return;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        break;
    default:
        *pResult = CDRF_DODEFAULT;
        return;
    }
    *pResult = CDRF_DODEFAULT;
    const int iRow = static_cast<int>(pDraw->nmcd.dwItemSpec);
    const bool bSelected = (m_pList->GetItemState(iRow, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    const ROWCOLOR* pRow = m_bRowColors && !bSelected ? FindRowColor(iRow) : nullptr;
    const bool bSorted = m_bSortColors && pDraw->iSubItem == m_nSortCol;
    if (!m_pList->IsWindowEnabled())
    {
        pDraw->clrText = ::GetSysColor(COLOR_WINDOWTEXT);
        pDraw->clrTextBk = ::GetSysColor(COLOR_BTNFACE);
    }
    else if (bSorted && !pRow)
    {
        pDraw->clrText = GetSortTextColor();
        pDraw->clrTextBk = GetSortBackColor();
    }
    else if (bSorted)
    {
        pDraw->clrText = pRow->crText;
        pDraw->clrTextBk = WVPBlendColors(pRow->crBack, GetSortBackColor(), kRowSortBlend);
    }
    else if (pRow)
    {
        pDraw->clrText = pRow->crText;
        pDraw->clrTextBk = pRow->crBack;
    }
    else
    {
        pDraw->clrText = SysColorUnless(m_bCustomColors, m_crText, COLOR_WINDOWTEXT);
        pDraw->clrTextBk = SysColorUnless(m_bCustomColors, m_crBack, COLOR_WINDOW);
    }
}

void CWVListBase::FillSortColumn(CDC* pDC, const CRect& rcClient) const
{
    if (!m_bSortColors || m_nSortCol < 0)
        return;
    int x = -m_pList->GetScrollPos(SB_HORZ);
    for (int iCol : ColumnOrder())
    {
        const int nWidth = m_pList->GetColumnWidth(iCol);
        if (iCol == m_nSortCol)
            pDC->FillSolidRect(x, rcClient.top, nWidth, rcClient.Height(), GetSortBackColor());
        x += nWidth;
    }
}
