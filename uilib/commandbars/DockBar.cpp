#include "uilib/commandbars/DockBar.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/DockContext.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/commandbars/ToolBar.h"
#include "uilib/foundation/DrawHelpers.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CWVPDockBar, CWnd)

BEGIN_MESSAGE_MAP(CWVPDockBar, CWnd)
ON_WM_PAINT()
ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
ON_WM_RBUTTONDOWN()
ON_WM_NCHITTEST()
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

namespace
{
const LPCWSTR kWindowClass = L"WVPDockBar";
// Dock-style bits: alignment with the border on the frame's client side.
const DWORD kFixedWidthBits = 0x04 | 0x01;
const DWORD kHorizontalLayout = LM_HORZ | LM_HORZDOCK;
const DWORD kHideWrapLayout = 0x80;
const int kStretchedLength = 32767;

CRect Transposed(const CRect& rc)
{
    return CRect(rc.top, rc.left, rc.bottom, rc.right);
}

CSize Transposed(CSize size)
{
    return CSize(size.cy, size.cx);
}
} // namespace

CWVPDockBar::CWVPDockBar() : m_dwDockStyle(0), m_arrBars(1, nullptr), m_pCommandBars(nullptr)
{
    CWVPDrawHelpers::RegisterWindowClass(nullptr, kWindowClass, 0);
}

CWVPDockBar::~CWVPDockBar()
{
    if (::IsWindow(m_hWnd))
        DestroyWindow();
}

BOOL CWVPDockBar::Create(CWnd* pFrame, DWORD alignment, CWVPCommandBarManager* pManager)
{
    m_pCommandBars = pManager;
    switch (alignment & CBRS_ALIGN_ANY)
    {
    case CBRS_ALIGN_TOP:
        m_dwDockStyle = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
        break;
    case CBRS_ALIGN_BOTTOM:
        m_dwDockStyle = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
        break;
    case CBRS_ALIGN_LEFT:
        m_dwDockStyle = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
        break;
    default:
        m_dwDockStyle = CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT;
        break;
    }
    const DWORD style = WS_CHILD | WS_VISIBLE | (m_dwDockStyle & CBRS_ALIGN_ANY);
    return CreateEx(0, kWindowClass, L"", style, CRect(0, 0, 0, 0), pFrame, 0);
}

BOOL CWVPDockBar::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= WS_CLIPSIBLINGS;
    return CWnd::PreCreateWindow(cs);
}

int CWVPDockBar::GetPosition() const
{
    if (m_dwDockStyle & CBRS_ALIGN_TOP)
        return wvpBarTop;
    if (m_dwDockStyle & CBRS_ALIGN_BOTTOM)
        return wvpBarBottom;
    if (m_dwDockStyle & CBRS_ALIGN_LEFT)
        return wvpBarLeft;
    return wvpBarRight;
}

int CWVPDockBar::FindBar(CWVPToolBar* pBar, int skipIndex) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (i != skipIndex && m_arrBars[i] == pBar)
            return i;
    return -1;
}

DWORD CWVPDockBar::GetDockMode(BOOL horizontal, CWVPToolBar* pBar) const
{
    DWORD mode = horizontal ? kHorizontalLayout : LM_VERTDOCK;
    if (pBar->GetFlags() & WVP_BARFLAG_STRETCHED)
        mode |= LM_STRETCH;
    if ((pBar->GetFlags() & WVP_BARFLAG_HIDEWRAP) && !(m_pCommandBars && m_pCommandBars->IsCustomizeMode()))
        mode |= kHideWrapLayout;
    return mode;
}

void CWVPDockBar::RelayoutFrame()
{
    if (m_pCommandBars)
        m_pCommandBars->RelayoutFrame(FALSE);
}

void CWVPDockBar::DockCommandBar(CWVPToolBar* pBar, LPCRECT lpRect)
{
    if (!pBar)
        return;
    const int oldIndex = FindBar(pBar);
    if (oldIndex > 0 && pBar->GetDockBar() == this)
    {
        CRect rcWindow;
        pBar->GetWindowRect(&rcWindow);
        if (!lpRect || rcWindow == *lpRect)
            return;
    }
    int newIndex;
    CRect rc(0, 0, 0, 0);
    if (lpRect)
    {
        rc = *lpRect;
        ScreenToClient(&rc);
        newIndex = InsertBar(pBar, rc, rc.CenterPoint());
    }
    else
    {
        m_arrBars.push_back(pBar);
        m_arrBars.push_back(nullptr);
        newIndex = GetCount() - 2;
    }
    if (CWVPDockContext* context = pBar->GetDockContext())
        context->m_rcLastDocked = rc;
    if (::GetParent(pBar->m_hWnd) != m_hWnd)
        ::SetParent(pBar->m_hWnd, m_hWnd);
    CWVPDockBar* pOld = pBar->GetDockBar();
    if (pOld == this)
    {
        const int other = FindBar(pBar, newIndex);
        if (other >= 0)
        {
            // Removing the other occurrence keeps this one in place.
            m_arrBars.erase(m_arrBars.begin() + other);
            if (other > 0 && other < GetCount() && !m_arrBars[other - 1] && !m_arrBars[other])
                m_arrBars.erase(m_arrBars.begin() + other);
        }
    }
    else if (pOld)
        pOld->RemoveCommandBar(pBar);
    pBar->SetDockBar(this);
    SeparateStretchedBars();
    RelayoutFrame();
}

BOOL CWVPDockBar::RemoveCommandBar(CWVPToolBar* pBar, int skipIndex)
{
    const int index = pBar ? FindBar(pBar, skipIndex) : -1;
    if (index <= 0)
        return FALSE;
    m_arrBars.erase(m_arrBars.begin() + index);
    if (index < GetCount() && !m_arrBars[index - 1] && !m_arrBars[index])
        m_arrBars.erase(m_arrBars.begin() + index);
    pBar->SetDockBar(nullptr);
    RelayoutFrame();
    return TRUE;
}

int CWVPDockBar::InsertBar(CWVPToolBar* pBar, CRect rc, CPoint ptMid)
{
    const BOOL horizontal = IsHorizontal();
    const int mid = horizontal ? ptMid.y : ptMid.x;
    const BOOL skipFirstRow = m_pCommandBars && m_pCommandBars->GetMenuBar() &&
                              m_pCommandBars->GetMenuBar()->IsRibbonBar() &&
                              FindBar(static_cast<CWVPToolBar*>(m_pCommandBars->GetMenuBar())) > 0;
    (void)rc;
    int previousEdge = 0;
    int rowStart = 0;
    int row = 0;
    for (int i = 1; i < GetCount(); ++i)
    {
        if (m_arrBars[i])
            continue;
        // Entries rowStart+1 .. i-1 form one row.
        int farEdge = previousEdge;
        BOOL any = FALSE;
        for (int j = rowStart + 1; j < i; ++j)
        {
            CWVPToolBar* pRowBar = m_arrBars[j];
            if (pRowBar == pBar || !::IsWindow(pRowBar->m_hWnd) || !::IsWindowVisible(pRowBar->m_hWnd))
                continue;
            CRect rcBar;
            pRowBar->GetWindowRect(&rcBar);
            ScreenToClient(&rcBar);
            farEdge = std::max<int>(any ? farEdge : 0, horizontal ? rcBar.bottom : rcBar.right);
            any = TRUE;
        }
        if (any && !(skipFirstRow && row == 0) && farEdge > mid)
        {
            int at = rowStart + 1;
            if (mid < 0 || (row > 0 && mid == previousEdge))
                m_arrBars.insert(m_arrBars.begin() + at++, nullptr);
            m_arrBars.insert(m_arrBars.begin() + at, pBar);
            return at;
        }
        if (any)
        {
            previousEdge = farEdge;
            ++row;
        }
        rowStart = i;
    }
    m_arrBars.push_back(pBar);
    m_arrBars.push_back(nullptr);
    return GetCount() - 2;
}

void CWVPDockBar::RestoreRows(const std::vector<CWVPToolBar*>& rows)
{
    m_arrBars.assign(1, nullptr);
    for (CWVPToolBar* pBar : rows)
    {
        if (pBar && pBar->GetDockBar() && pBar->GetDockBar() != this)
            pBar->GetDockBar()->RemoveCommandBar(pBar);
        if (pBar && FindBar(pBar) > 0)
            continue;
        if (!pBar && !m_arrBars.back())
            continue;
        m_arrBars.push_back(pBar);
        if (!pBar)
            continue;
        if (::IsWindow(pBar->m_hWnd) && ::GetParent(pBar->m_hWnd) != m_hWnd)
            ::SetParent(pBar->m_hWnd, m_hWnd);
        pBar->SetDockBar(this);
        pBar->m_barPosition = GetPosition();
    }
    if (m_arrBars.back())
        m_arrBars.push_back(nullptr);
    SeparateStretchedBars();
    RelayoutFrame();
}

void CWVPDockBar::SeparateStretchedBars()
{
    for (int i = 1; i < GetCount(); ++i)
    {
        CWVPToolBar* pBar = m_arrBars[i];
        if (!pBar || !(pBar->GetFlags() & WVP_BARFLAG_STRETCHED))
            continue;
        if (m_arrBars[i - 1])
            m_arrBars.insert(m_arrBars.begin() + i++, nullptr);
        if (i + 1 < GetCount() && m_arrBars[i + 1])
            m_arrBars.insert(m_arrBars.begin() + i + 1, nullptr);
    }
}

LRESULT CWVPDockBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (!layout || !(::GetWindowLongW(m_hWnd, GWL_STYLE) & WS_VISIBLE))
        return 0;
    CRect rcLayout(layout->rect);
    const BOOL horizontal = IsHorizontal();
    DWORD mode = layout->bStretch ? LM_STRETCH : 0;
    if ((m_dwDockStyle & kFixedWidthBits) == kFixedWidthBits)
        mode |= LM_HORZ | LM_MRUWIDTH;
    else
        mode |= horizontal ? kHorizontalLayout : LM_VERTDOCK;
    CSize size = CalcFixedLayout(horizontal ? rcLayout.Width() : rcLayout.Height(), mode, layout);
    size.cx = std::min<int>(size.cx, rcLayout.Width());
    size.cy = std::min<int>(size.cy, rcLayout.Height());
    CRect rcBar = rcLayout;
    switch (GetPosition())
    {
    case wvpBarTop:
        rcBar.bottom = rcBar.top + size.cy;
        layout->rect.top += size.cy;
        break;
    case wvpBarBottom:
        rcBar.top = rcBar.bottom - size.cy;
        layout->rect.bottom -= size.cy;
        break;
    case wvpBarLeft:
        rcBar.right = rcBar.left + size.cx;
        layout->rect.left += size.cx;
        break;
    default:
        rcBar.left = rcBar.right - size.cx;
        layout->rect.right -= size.cx;
        break;
    }
    if (horizontal)
    {
        layout->sizeTotal.cy += size.cy;
        layout->sizeTotal.cx = std::max<LONG>(layout->sizeTotal.cx, size.cx);
    }
    else
    {
        layout->sizeTotal.cx += size.cx;
        layout->sizeTotal.cy = std::max<LONG>(layout->sizeTotal.cy, size.cy);
    }
    if (layout->hDWP)
        layout->hDWP = ::DeferWindowPos(layout->hDWP, m_hWnd, nullptr, rcBar.left, rcBar.top, rcBar.Width(),
                                        rcBar.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return 0;
}

CSize CWVPDockBar::CalcFixedLayout(int length, DWORD mode, AFX_SIZEPARENTPARAMS* lpLayout)
{
    const BOOL horizontal = IsHorizontal();
    CSize size(0, 0);
    if (mode & LM_STRETCH)
        (horizontal ? size.cx : size.cy) = kStretchedLength;
    AFX_SIZEPARENTPARAMS local = {};
    AFX_SIZEPARENTPARAMS* batch = nullptr;
    if (lpLayout && lpLayout->hDWP)
    {
        local.hDWP = ::BeginDeferWindowPos(GetCount());
        batch = &local;
    }
    int offset = 0;
    std::vector<CWVPToolBar*> row;
    for (int i = 1; i < GetCount(); ++i)
    {
        CWVPToolBar* pBar = m_arrBars[i];
        if (pBar)
        {
            if (CWVPToolBar::IsBarShown(pBar) || (::IsWindow(pBar->m_hWnd) && pBar->IsVisible()))
                row.push_back(pBar);
            continue;
        }
        if (row.empty())
            continue;
        const int thickness = LayoutRow(row, offset, length, horizontal, batch);
        if (thickness)
        {
            offset += thickness;
            (horizontal ? size.cy : size.cx) = std::max<int>(horizontal ? size.cy : size.cx, offset);
        }
        row.clear();
    }
    if (batch && batch->hDWP)
        ::EndDeferWindowPos(batch->hDWP);
    return size;
}

int CWVPDockBar::LayoutRow(std::vector<CWVPToolBar*>& row, int offset, int length, BOOL horizontal,
                           AFX_SIZEPARENTPARAMS* lpLayout)
{
    int total = 0;
    std::vector<CWVPToolBar*> current = row;
    while (!current.empty())
    {
        std::vector<CWVPToolBar*> overflow;
        for (;;)
        {
            CWVPToolBar* pOverflow = nullptr;
            const int thickness = AdjustRow(current, offset, length, horizontal, lpLayout, pOverflow);
            if (thickness >= 0)
            {
                total += thickness;
                offset += thickness;
                break;
            }
            current.erase(std::find(current.begin(), current.end(), pOverflow));
            overflow.insert(overflow.begin(), pOverflow);
        }
        // Keep the overflowing bars in their row order.
        std::vector<CWVPToolBar*> next;
        for (CWVPToolBar* pBar : row)
            if (std::find(overflow.begin(), overflow.end(), pBar) != overflow.end())
                next.push_back(pBar);
        row = next;
        current = next;
    }
    return total;
}

int CWVPDockBar::AdjustRow(std::vector<CWVPToolBar*>& row, int offset, int length, BOOL horizontal,
                           AFX_SIZEPARENTPARAMS* lpLayout, CWVPToolBar*& pOverflow)
{
    CDockInfoArray infos;
    for (size_t i = 0; i < row.size(); ++i)
    {
        CWVPToolBar* pBar = row[i];
        const CSize natural = pBar->CalcDockingLayout(length, GetDockMode(horizontal, pBar));
        const CRect docked = pBar->GetDockContext() ? pBar->GetDockContext()->m_rcLastDocked : CRect(0, 0, 0, 0);
        const int along = horizontal ? docked.left : docked.top;
        CRect rc = horizontal ? CRect(CPoint(along, offset), natural) : CRect(CPoint(offset, along), natural);
        if (!horizontal)
            rc = Transposed(rc);
        infos.push_back(DOCK_INFO{pBar, rc, rc, int(i), 0, 0});
    }
    std::stable_sort(infos.begin(), infos.end(),
                     [](const DOCK_INFO& a, const DOCK_INFO& b) { return a.rcBar.left < b.rcBar.left; });
    std::vector<BOOL> moved(infos.size(), FALSE);
    // Forward: overlaps move right, unless the bar before came later in the row and stayed.
    int edge = 0;
    for (size_t i = 0; i < infos.size(); ++i)
    {
        DOCK_INFO& info = infos[i];
        const BOOL keeps = i > 0 && infos[i - 1].index > info.index && !moved[i - 1];
        if (info.rcBar.left < edge && !keeps)
        {
            info.rcBar.OffsetRect(edge - info.rcBar.left, 0);
            moved[i] = TRUE;
        }
        edge = info.rcBar.right;
    }
    // Backward: bars past the end move left.
    int limit = length;
    for (size_t n = infos.size(); n-- > 0;)
    {
        DOCK_INFO& info = infos[n];
        const BOOL keeps = n + 1 < infos.size() && infos[n + 1].index > info.index && !moved[n + 1];
        if (info.rcBar.right > limit && !keeps)
        {
            info.rcBar.OffsetRect(limit - info.rcBar.right, 0);
            moved[n] = TRUE;
        }
        limit = info.rcBar.left;
    }
    edge = 0;
    for (DOCK_INFO& info : infos)
    {
        if (info.rcBar.left < edge)
            info.rcBar.OffsetRect(edge - info.rcBar.left, 0);
        edge = info.rcBar.right;
    }
    if (!infos.empty() && infos.back().rcBar.right > length)
    {
        int preceding = 0;
        for (DOCK_INFO& info : infos)
        {
            const DWORD mode = GetDockMode(horizontal, info.pBar);
            int minimum = length;
            if (mode & kHideWrapLayout)
            {
                const CSize shortest = info.pBar->CalcDockingLayout(1, mode);
                minimum = horizontal ? shortest.cx : shortest.cy;
            }
            info.minLength = minimum;
            info.precedingMin = preceding;
            preceding += minimum;
        }
        limit = length;
        for (size_t n = infos.size(); n-- > 0;)
        {
            DOCK_INFO& info = infos[n];
            int left = std::min(info.rcWanted.left, info.rcBar.left);
            left = std::max<int>(left, limit - info.rcBar.Width());
            left = std::max(left, info.precedingMin);
            left = std::min(left, limit - info.minLength);
            if ((limit - left < info.minLength || left < info.precedingMin) && infos.size() > 1)
            {
                pOverflow = infos.back().pBar;
                return -1;
            }
            info.rcBar.left = std::max(left, 0);
            info.rcBar.right = limit;
            limit = info.rcBar.left;
        }
    }
    if (!horizontal)
        for (DOCK_INFO& info : infos)
            info.rcBar = Transposed(info.rcBar);
    int thickness = 0;
    for (DOCK_INFO& info : infos)
    {
        const int along = horizontal ? info.rcBar.Width() : info.rcBar.Height();
        const CSize size = info.pBar->CalcDockingLayout(along, GetDockMode(horizontal, info.pBar));
        thickness = std::max<int>(thickness, horizontal ? size.cy : size.cx);
    }
    if (!lpLayout || !lpLayout->hDWP)
        return thickness;
    for (size_t i = 0; i < infos.size(); ++i)
    {
        DOCK_INFO& info = infos[i];
        CWVPToolBar* pBar = info.pBar;
        DWORD mode = GetDockMode(horizontal, pBar) | LM_COMMIT;
        if (pBar->GetFlags() & WVP_BARFLAG_FILLROW)
        {
            mode |= LM_STRETCH;
            const int from = i == 0 ? 0 : (horizontal ? infos[i - 1].rcBar.right : infos[i - 1].rcBar.bottom);
            const int to = i + 1 == infos.size() ? length : (horizontal ? infos[i + 1].rcBar.left : infos[i + 1].rcBar.top);
            if (horizontal)
                info.rcBar.left = from, info.rcBar.right = to;
            else
                info.rcBar.top = from, info.rcBar.bottom = to;
        }
        const int along = horizontal ? info.rcBar.Width() : info.rcBar.Height();
        CSize size = pBar->CalcDockingLayout(along, mode);
        if (horizontal)
            size.cy = thickness;
        else
            size.cx = thickness;
        const CRect rcNew(info.rcBar.TopLeft(), size);
        // The dock context keeps where the bar now is: its place in the row for the next layout,
        // and where a docking toggle floats it.
        if (CWVPDockContext* context = pBar->GetDockContext())
        {
            context->m_nLastDockIndex = GetPosition();
            context->m_rcLastDocked = rcNew;
        }
        pBar->m_barPosition = GetPosition();
        CRect rcWindow;
        pBar->GetWindowRect(&rcWindow);
        ScreenToClient(&rcWindow);
        if (rcWindow != rcNew)
        {
            lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, pBar->m_hWnd, nullptr, rcNew.left, rcNew.top,
                                              rcNew.Width(), rcNew.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
            pBar->Redraw();
        }
    }
    return thickness;
}

CWVPPaintManager* CWVPDockBar::GetPaintManager() const
{
    return m_pCommandBars ? m_pCommandBars->GetPaintManager() : CWVPPaintManager::GetInstance();
}

void CWVPDockBar::OnPaint()
{
    CPaintDC dc(this);
    GetPaintManager()->FillDockBar(&dc, this);
}

LRESULT CWVPDockBar::OnPrintClient(WPARAM wParam, LPARAM)
{
    GetPaintManager()->FillDockBar(CDC::FromHandle(HDC(wParam)), this);
    return 1;
}

void CWVPDockBar::OnRButtonDown(UINT, CPoint pt)
{
    if (!m_pCommandBars)
        return;
    ClientToScreen(&pt);
    m_pCommandBars->ShowContextMenu(pt);
}

LRESULT CWVPDockBar::OnNcHitTest(CPoint pt)
{
    (void)pt;
    if (GetPosition() == wvpBarTop && m_pCommandBars && m_pCommandBars->GetMenuBar() &&
        m_pCommandBars->GetMenuBar()->IsRibbonBar() &&
        FindBar(static_cast<CWVPToolBar*>(m_pCommandBars->GetMenuBar())) > 0)
        return HTTRANSPARENT;
    return LRESULT(Default());
}
