#include "uilib/controls/HeaderCtrl.h"

#include "uilib/controls/HeaderCtrlTheme.h"
#include "uilib/foundation/AuxData.h"
#include "uilib/foundation/BufferDC.h"
#include "uilib/foundation/PopupMenu.h"
#include "uilib/foundation/ResourceManager.h"

#include <vector>

namespace
{
const UINT_PTR kHotTimer = 1;
const UINT kHotTimerMs = 10;
const int kItemTextChars = 256;
const int kBuiltInSubMenu = 2;
const UINT kFormatAlignMask = 3;

bool IsListWindow(HWND hWnd)
{
    WCHAR szClass[64] = {};
    return hWnd && ::GetClassNameW(hWnd, szClass, 64) && ::lstrcmpiW(szClass, WC_LISTVIEWW) == 0;
}

DWORD WindowStyle(HWND hWnd)
{
    return static_cast<DWORD>(::GetWindowLongW(hWnd, GWL_STYLE));
}
} // namespace

IMPLEMENT_DYNAMIC(CWVHeaderCtrl, CHeaderCtrl)

CWVHeaderCtrl::CWVHeaderCtrl()
    : CWVThemeManagerStyleHost(RUNTIME_CLASS(CWVHeaderCtrlThemeFactory)), m_nMinColWidth(0), m_nSubMenuIndex(0),
      m_iHotItem(-1), m_iSortCol(-1), m_bRTL(false), m_bAutoFitColumns(false), m_bEnableMenus(TRUE), m_bSortAsc(TRUE),
      m_bLBtnDown(FALSE), m_bPainted(FALSE), m_nMenuID(0), m_pt(0, 0), m_arrFixedCols(10)
{
    m_bRTL = IsRightToLeftReading() != FALSE;
}

CWVHeaderCtrl::~CWVHeaderCtrl() = default;

CWVHeaderCtrlTheme* CWVHeaderCtrl::GetTheme() const
{
    return static_cast<CWVHeaderCtrlTheme*>(CWVThemeManagerStyleHost::GetTheme());
}

int CWVHeaderCtrl::HitTest(int x, int y, UINT* pFlags) const
{
    HDHITTESTINFO info = {};
    info.pt.x = x;
    info.pt.y = y;
    const int nItem = static_cast<int>(SendMessage(HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (pFlags)
        *pFlags = info.flags;
    return nItem;
}

int CWVHeaderCtrl::SetSortArrow(int iSortCol, BOOL bSortAsc)
{
    const int iPrevious = m_iSortCol;
    m_iSortCol = iSortCol;
    m_bSortAsc = bSortAsc;
    if (GetSafeHwnd())
        RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
    return iPrevious;
}

int CWVHeaderCtrl::GetSortColumn(BOOL* pbSortAsc) const
{
    if (pbSortAsc)
        *pbSortAsc = m_bSortAsc;
    return m_iSortCol;
}

void CWVHeaderCtrl::SetAutoFitColumns(BOOL bAutoFit)
{
    m_bAutoFitColumns = bAutoFit != FALSE;
}

void CWVHeaderCtrl::SetMinColumnWidth(int nMinWidth)
{
    m_nMinColWidth = nMinWidth;
}

void CWVHeaderCtrl::AddFixedColumn(int iCol)
{
    if (!IsFixedColumn(iCol))
        m_arrFixedCols.AddTail(iCol);
}

void CWVHeaderCtrl::RemoveFixedColumn(int iCol)
{
    for (POSITION pos = m_arrFixedCols.GetHeadPosition(); pos;)
    {
        POSITION current = pos;
        if (m_arrFixedCols.GetNext(pos) == iCol)
        {
            m_arrFixedCols.RemoveAt(current);
            return;
        }
    }
}

BOOL CWVHeaderCtrl::IsFixedColumn(int iCol) const
{
    for (POSITION pos = m_arrFixedCols.GetHeadPosition(); pos;)
        if (m_arrFixedCols.GetNext(pos) == iCol)
            return TRUE;
    return FALSE;
}

void CWVHeaderCtrl::EnablePopupMenus(BOOL bEnable)
{
    m_bEnableMenus = bEnable;
}

void CWVHeaderCtrl::UpdateLayout()
{
    HWND hParent = ::GetParent(m_hWnd);
    if (!m_hWnd || !hParent)
        return;
    CRect rc;
    GetClientRect(&rc);
    WINDOWPOS wp = {};
    HDLAYOUT layout = {&rc, &wp};
    SendMessage(HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout));
    ::SetWindowPos(m_hWnd, wp.hwndInsertAfter, wp.x, wp.y, wp.cx, wp.cy, wp.flags | SWP_FRAMECHANGED);
    // The parent recomputes its layout when its size changes.
    CRect rcParent;
    ::GetWindowRect(hParent, &rcParent);
    ::SetWindowPos(hParent, nullptr, 0, 0, rcParent.Width(), rcParent.Height() + 1, SWP_NOMOVE | SWP_NOZORDER);
    ::SetWindowPos(hParent, nullptr, 0, 0, rcParent.Width(), rcParent.Height(), SWP_NOMOVE | SWP_NOZORDER);
}

void CWVHeaderCtrl::OnThemeChanged()
{
    UpdateLayout();
}

HWND CWVHeaderCtrl::ParentList() const
{
    HWND hParent = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    return IsListWindow(hParent) ? hParent : nullptr;
}

void CWVHeaderCtrl::SendItemClick(int iCol)
{
    HWND hList = ParentList();
    if (!hList)
        return;
    WCHAR szText[kItemTextChars] = {};
    HDITEMW hdi = {};
    hdi.mask = HDI_BITMAP | HDI_FORMAT | HDI_HEIGHT | HDI_IMAGE | HDI_LPARAM | HDI_ORDER | HDI_TEXT | HDI_WIDTH;
    hdi.pszText = szText;
    hdi.cchTextMax = kItemTextChars;
    GetItem(iCol, &hdi);
    NMHEADERW nmh = {};
    nmh.hdr.hwndFrom = m_hWnd;
    nmh.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(m_hWnd));
    nmh.hdr.code = HDN_ITEMCLICKW;
    nmh.iItem = iCol;
    nmh.iButton = 1;
    nmh.pitem = &hdi;
    ::SendMessageW(hList, WM_NOTIFY, nmh.hdr.idFrom, reinterpret_cast<LPARAM>(&nmh));
    CWnd::FromHandle(hList)->SendMessageToDescendants(WM_NOTIFY, nmh.hdr.idFrom, reinterpret_cast<LPARAM>(&nmh), TRUE,
                                                      TRUE);
}

BOOL CWVHeaderCtrl::IsItemPressed(int iItem) const
{
    if (!m_bLBtnDown)
        return FALSE;
    POINT pt = {};
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWnd, &pt);
    UINT flags = 0;
    return HitTest(pt.x, pt.y, &flags) == iItem && (flags & HHT_ONHEADER);
}

void CWVHeaderCtrl::SetFontBold(BOOL bBoldFont)
{
    CWVAuxData* pData = WVPAuxData();
    CFont& font = bBoldFont ? pData->fontBold : pData->font;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.GetSafeHandle()), FALSE);
}

void CWVHeaderCtrl::InitializeHeader(BOOL bBoldFont)
{
    SetFontBold(bBoldFont);
    RedrawWindow();
}

void CWVHeaderCtrl::SetPopupMenu(int nMenuID, int nSubMenuIndex)
{
    m_nMenuID = nMenuID;
    m_nSubMenuIndex = nSubMenuIndex;
}

void CWVHeaderCtrl::ShowSortArrow(BOOL bShowSortArrow)
{
    CWVHeaderCtrlTheme* pTheme = GetTheme();
    if (!pTheme)
        return;
    DWORD dwStyle = pTheme->GetDrawStyle() & ~CWVHeaderCtrlTheme::styleSortArrow;
    if (bShowSortArrow)
        dwStyle |= CWVHeaderCtrlTheme::styleSortArrow;
    pTheme->SetDrawStyle(dwStyle, this);
}

void CWVHeaderCtrl::SetColumnAlignment(int nFormat)
{
    HWND hList = ParentList();
    if (!hList)
        return;
    const int iCol = HitTest(m_pt.x, m_pt.y);
    if (iCol < 0)
        return;
    LVCOLUMNW lvc = {};
    lvc.mask = LVCF_FMT;
    if (!::SendMessageW(hList, LVM_GETCOLUMNW, iCol, reinterpret_cast<LPARAM>(&lvc)))
        return;
    lvc.fmt = (lvc.fmt & ~kFormatAlignMask) | (nFormat & kFormatAlignMask);
    ::SendMessageW(hList, LVM_SETCOLUMNW, iCol, reinterpret_cast<LPARAM>(&lvc));
    ::SendMessageW(hList, LVM_SETWORKAREAS, 0, 0);
}

BOOL CWVHeaderCtrl::IsRightToLeftReading() const
{
    HDC hScreen = ::GetDC(nullptr);
    const UINT align = ::GetTextAlign(hScreen);
    ::ReleaseDC(nullptr, hScreen);
    return align != GDI_ERROR && (align & TA_RTLREADING);
}

void CWVHeaderCtrl::DistributeWidth(int nWidth)
{
    const int nCount = GetItemCount();
    const int n = nCount - static_cast<int>(m_arrFixedCols.GetCount());
    HWND hList = ::GetParent(m_hWnd);
    if (n <= 0 || !hList)
        return;
    const int nShare = nWidth / n;
    if (nShare <= m_nMinColWidth)
        return;
    for (int i = 0; i < nCount; ++i)
        if (!IsFixedColumn(i))
            ::SendMessageW(hList, LVM_SETCOLUMNWIDTH, i, MAKELPARAM(nShare, 0));
}

void CWVHeaderCtrl::FitColumnsToWidth(int nWidth)
{
    if (nWidth <= 0)
    {
        CRect rc;
        GetWindowRect(&rc);
        nWidth = rc.Width();
    }
    HWND hList = ParentList();
    if (hList && (WindowStyle(hList) & WS_VSCROLL))
        nWidth -= ::GetSystemMetrics(SM_CXVSCROLL);
    DistributeWidth(nWidth - GetFixedColumnsWidth());
}

int CWVHeaderCtrl::GetFixedColumnsWidth() const
{
    int nWidth = 0;
    for (POSITION pos = m_arrFixedCols.GetHeadPosition(); pos;)
    {
        CRect rc;
        if (GetItemRect(m_arrFixedCols.GetNext(pos), &rc))
            nWidth += rc.Width();
    }
    return nWidth;
}

void CWVHeaderCtrl::OnPaint()
{
    CPaintDC dcPaint(this);
    CWVPBufferDC dc(dcPaint);
    GetTheme()->DrawHeader(&dc, this);
}

void CWVHeaderCtrl::OnTimer()
{
    POINT pt = {};
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWnd, &pt);
    const int iItem = HitTest(pt.x, pt.y);
    if (iItem < 0)
    {
        KillTimer(kHotTimer);
        if (m_bPainted)
            RedrawWindow();
        m_bPainted = FALSE;
        m_iHotItem = -1;
        return;
    }
    if (iItem != m_iHotItem)
    {
        m_iHotItem = iItem;
        m_bPainted = FALSE;
    }
    if (!m_bPainted)
    {
        RedrawWindow();
        m_bPainted = TRUE;
    }
}

BOOL CWVHeaderCtrl::OnSetCursor()
{
    if (m_arrFixedCols.IsEmpty())
        return FALSE;
    POINT pt = {};
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWnd, &pt);
    const int iItem = HitTest(pt.x, pt.y);
    if (iItem < 0)
        return FALSE;
    BOOL bArrow = IsFixedColumn(iItem);
    if (!bArrow)
    {
        // The divider before this column belongs to the preceding column, which may be fixed.
        CRect rc;
        GetItemRect(iItem, &rc);
        const int iPreceding = m_bRTL ? iItem + 1 : iItem - 1;
        const BOOL bNearHalf = m_bRTL ? pt.x >= rc.CenterPoint().x : pt.x < rc.CenterPoint().x;
        bArrow = iPreceding >= 0 && IsFixedColumn(iPreceding) && bNearHalf;
    }
    if (bArrow)
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    return bArrow;
}

void CWVHeaderCtrl::OnRButtonDown(CPoint point)
{
    m_pt = point;
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    if (m_nMenuID)
    {
        CMenu menu;
        if (!menu.LoadMenu(m_nMenuID))
            return;
        CMenu* pPopup = menu.GetSubMenu(m_nSubMenuIndex);
        if (!pPopup)
            return;
        HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
        if (!hOwner)
            hOwner = ::GetParent(m_hWnd);
        ::TrackPopupMenu(pPopup->GetSafeHmenu(), TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, 0, hOwner, nullptr);
        return;
    }
    const int iCol = HitTest(point.x, point.y);
    if (iCol < 0)
        return;
    CMenu menu;
    if (!WVPResourceManager()->LoadMenu(&menu, idHeaderMenu))
        return;
    CMenu* pPopup = menu.GetSubMenu(kBuiltInSubMenu);
    if (!pPopup)
        return;
    if (iCol == m_iSortCol)
        pPopup->CheckMenuItem(m_bSortAsc ? idSortAscending : idSortDescending, MF_BYCOMMAND | MF_CHECKED);
    if (HWND hList = ParentList())
    {
        LVCOLUMNW lvc = {};
        lvc.mask = LVCF_FMT;
        if (::SendMessageW(hList, LVM_GETCOLUMNW, iCol, reinterpret_cast<LPARAM>(&lvc)))
        {
            static const UINT kAlignCommand[] = {idAlignLeft, idAlignRight, idAlignCenter, idAlignLeft};
            pPopup->CheckMenuItem(kAlignCommand[lvc.fmt & kFormatAlignMask], MF_BYCOMMAND | MF_CHECKED);
        }
    }
    // The menu notifies no one: the chosen command comes back and reaches the header as the
    // menu's own WM_COMMAND would.
    const UINT nCommand = (UINT)WVPTrackPopupMenu(pPopup, TPM_RIGHTBUTTON | TPM_RETURNCMD, ptScreen.x, ptScreen.y,
                                                  this, idHeaderToolBar, TRUE);
    if (nCommand && ::IsWindow(m_hWnd))
        SendMessage(WM_COMMAND, nCommand, 0);
}

void CWVHeaderCtrl::SortFromMenu(BOOL bAscending)
{
    const int iCol = HitTest(m_pt.x, m_pt.y);
    if (iCol < 0 || (iCol == m_iSortCol && m_bSortAsc == bAscending))
        return;
    m_bSortAsc = bAscending;
    m_iSortCol = iCol;
    SendItemClick(iCol);
}

BOOL CWVHeaderCtrl::OnMenuCommand(UINT nID)
{
    switch (nID)
    {
    case idSortAscending:
        SortFromMenu(TRUE);
        return TRUE;
    case idSortDescending:
        SortFromMenu(FALSE);
        return TRUE;
    case idAlignLeft:
        SetColumnAlignment(LVCFMT_LEFT);
        return TRUE;
    case idAlignCenter:
        SetColumnAlignment(LVCFMT_CENTER);
        return TRUE;
    case idAlignRight:
        SetColumnAlignment(LVCFMT_RIGHT);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CWVHeaderCtrl::OnWindowPosChanging(WINDOWPOS* pPos)
{
    if (!m_bAutoFitColumns)
        return FALSE;
    HWND hParent = ::GetParent(m_hWnd);
    if (GetItemCount() == 0 || (hParent && ::GetCapture() == hParent))
        return TRUE;
    CRect rc;
    GetWindowRect(&rc);
    if (!(pPos->flags & SWP_NOSIZE) && pPos->cx != rc.Width())
        FitColumnsToWidth(pPos->cx);
    return TRUE;
}

BOOL CWVHeaderCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_NOTIFY)
    {
        const auto* pNMH = reinterpret_cast<const NMHEADERW*>(lParam);
        if (pNMH->hdr.code == HDN_ITEMCHANGINGW && pNMH->pitem && (pNMH->pitem->mask & HDI_WIDTH) &&
            (IsFixedColumn(pNMH->iItem) || pNMH->pitem->cxy < m_nMinColWidth))
        {
            if (pResult)
                *pResult = TRUE;
            return TRUE;
        }
    }
    return CHeaderCtrl::OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT CWVHeaderCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    CWVHeaderCtrlTheme* pTheme = GetTheme();
    switch (message)
    {
    case WM_PAINT:
        if (!pTheme)
            break;
        OnPaint();
        return 0;
    case WM_PRINTCLIENT:
        if (!pTheme || !wParam)
            break;
        pTheme->DrawHeader(CDC::FromHandle(reinterpret_cast<HDC>(wParam)), this);
        return 1;
    case WM_ERASEBKGND:
        return TRUE;
    case HDM_LAYOUT:
        if (!pTheme)
            break;
        return pTheme->Layout(reinterpret_cast<LPHDLAYOUT>(lParam), this);
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
        if (pTheme)
            pTheme->RefreshMetrics();
        Invalidate();
        break;
    case WM_LBUTTONDOWN:
        m_bLBtnDown = TRUE;
        break;
    case WM_LBUTTONUP:
        m_bLBtnDown = FALSE;
        break;
    case WM_MOUSEMOVE:
        if (pTheme && pTheme->m_bUseWinThemes)
            SetTimer(kHotTimer, kHotTimerMs, nullptr);
        break;
    case WM_TIMER:
        if (wParam != kHotTimer)
            break;
        OnTimer();
        if (m_iHotItem < 0)
            return 0;
        break;
    case WM_SETCURSOR:
        if (OnSetCursor())
            return TRUE;
        break;
    case WM_WINDOWPOSCHANGING:
        if (OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam)))
            return 0;
        break;
    case WM_RBUTTONDOWN: {
        HWND hList = ParentList();
        const BOOL bNoSort = hList && (WindowStyle(hList) & LVS_NOSORTHEADER);
        if (bNoSort || !m_bEnableMenus)
            break;
        OnRButtonDown(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
        return 0;
    }
    case WM_DESTROY:
        if (pTheme)
            pTheme->CleanUp(this);
        break;
    case WM_COMMAND:
        if (lParam == 0 && OnMenuCommand(LOWORD(wParam)))
            return 0;
        break;
    default:
        break;
    }
    return CHeaderCtrl::WindowProc(message, wParam, lParam);
}

IMPLEMENT_DYNAMIC(CWVFlatHeaderCtrl, CWVHeaderCtrl)

CWVFlatHeaderCtrl::CWVFlatHeaderCtrl()
{
    SetTheme(new CWVHeaderCtrlThemeOfficeXP);
}
