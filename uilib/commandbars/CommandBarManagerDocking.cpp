// The manager's tool bars: creating the frame's dock bars, adding, docking, floating and removing
// bars, and saving and loading where they are.
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/DockBar.h"
#include "uilib/commandbars/DockContext.h"
#include "uilib/commandbars/MouseManager.h"
#include "uilib/commandbars/ToolBar.h"
#include "uilib/foundation/MonitorHelper.h"
#include "uilib/foundation/PropExchange.h"

#include <vector>

namespace
{
const DWORD kDockAlignments[4] = {CBRS_ALIGN_TOP, CBRS_ALIGN_BOTTOM, CBRS_ALIGN_LEFT, CBRS_ALIGN_RIGHT};
const DWORD kFloatingLayout = LM_HORZ | LM_MRUWIDTH | LM_COMMIT;
// Version of the saved bar state.
const long kBarStateVersion = 1;

BOOL AcceptsPoint(CWVPDockBar* pDockBar, CPoint pt)
{
    if (!pDockBar || !::IsWindow(pDockBar->m_hWnd) || !(pDockBar->GetDockStyle() & CBRS_ALIGN_ANY))
        return FALSE;
    CRect rc;
    pDockBar->GetWindowRect(&rc);
    return rc.left - WVP_DOCK_REACH < pt.x && pt.x < rc.right + WVP_DOCK_REACH && rc.top - WVP_DOCK_REACH < pt.y &&
           pt.y < rc.bottom + WVP_DOCK_REACH;
}
} // namespace

BOOL CWVPCommandBarManager::Create(CFrameWnd* pFrame)
{
    if (!pFrame || !::IsWindow(pFrame->m_hWnd))
        return FALSE;
    m_hwndSite = pFrame->m_hWnd;
    for (int i = 0; i < 4; ++i)
    {
        if (m_pDockBars[i])
            continue;
        auto* pDockBar = static_cast<CWVPDockBar*>(RUNTIME_CLASS(CWVPDockBar)->CreateObject());
        if (!pDockBar->Create(pFrame, kDockAlignments[i], this))
        {
            delete pDockBar;
            return FALSE;
        }
        m_pDockBars[i] = pDockBar;
    }
    return TRUE;
}

void CWVPCommandBarManager::ReleaseDockedBars()
{
    while (m_ownedBars.GetSize())
        RemoveCommandBar(m_ownedBars[m_ownedBars.GetSize() - 1]);
    for (CWVPDockBar*& pDockBar : m_pDockBars)
    {
        delete pDockBar;
        pDockBar = nullptr;
    }
}

void CWVPCommandBarManager::AddCommandBar(CWVPCommandBar* pBar)
{
    if (!pBar || FindIndex(pBar) >= 0)
        return;
    AddBar(pBar);
    m_ownedBars.Add(pBar);
    pBar->SetOwnerSite(m_hwndSite);
}

CWVPToolBar* CWVPCommandBarManager::AddToolBar(LPCWSTR caption, UINT id, BOOL tearOff)
{
    auto* pBar = static_cast<CWVPToolBar*>(RUNTIME_CLASS(CWVPToolBar)->CreateObject());
    pBar->SetTitle(caption ? caption : L"");
    pBar->SetBarID(id);
    pBar->SetTearOff(tearOff);
    AddCommandBar(pBar);
    pBar->SetVisible(TRUE);
    if (!DockCommandBarAt(pBar, wvpBarTop))
    {
        RemoveCommandBar(pBar);
        return nullptr;
    }
    return pBar;
}

int CWVPCommandBarManager::FindIndex(CWVPCommandBar* pBar) const
{
    for (int i = 0; i < GetBarCount(); ++i)
        if (m_bars[i] == pBar)
            return i;
    return -1;
}

CWVPCommandBar* CWVPCommandBarManager::FindCommandBar(UINT barId) const
{
    if (barId == 0)
        return nullptr;
    for (int i = 0; i < GetBarCount(); ++i)
        if (m_bars[i]->GetBarID() == barId)
            return m_bars[i];
    return nullptr;
}

void CWVPCommandBarManager::ToggleVisible(int index)
{
    if (CWVPCommandBar* pBar = GetBar(index))
        pBar->SetVisible(!pBar->IsVisible());
    m_pOptions->bLayoutChanged = TRUE;
}

void CWVPCommandBarManager::RemoveCommandBar(CWVPCommandBar* pBar)
{
    const int index = FindIndex(pBar);
    if (index < 0)
        return;
    if (::IsWindow(pBar->m_hWnd))
        ::ShowWindow(pBar->m_hWnd, SW_HIDE);
    auto* pToolBar = DYNAMIC_DOWNCAST(CWVPToolBar, pBar);
    if (pToolBar)
    {
        pToolBar->SetVisible(FALSE);
        if (CWVPDockBar* pDockBar = pToolBar->GetDockBar())
        {
            pDockBar->RemoveCommandBar(pToolBar);
            pToolBar->SetDockBar(nullptr);
            RelayoutFrame(FALSE);
        }
    }
    OnCommandBarRemoved(pBar);
    pBar->EndTracking();
    if (::IsWindow(pBar->m_hWnd))
        pBar->DestroyWindow();
    RemoveBar(pBar);
    for (INT_PTR i = 0; i < m_ownedBars.GetSize(); ++i)
        if (m_ownedBars[i] == pBar)
        {
            m_ownedBars.RemoveAt(i);
            pBar->InternalRelease();
            break;
        }
}

BOOL CWVPCommandBarManager::DockCommandBar(CWVPToolBar* pBar, LPCRECT lpRect, CWVPDockBar* pDockBar)
{
    if (!pBar || !pDockBar)
        return FALSE;
    if (!pBar->CreateToolBar(CWnd::FromHandle(m_hwndSite), FALSE))
        return FALSE;
    pDockBar->DockCommandBar(pBar, lpRect);
    pBar->m_barPosition = pDockBar->GetPosition();
    return TRUE;
}

BOOL CWVPCommandBarManager::DockCommandBarAt(CWVPToolBar* pBar, int position)
{
    return DockCommandBar(pBar, nullptr, GetDockBar(position));
}

BOOL CWVPCommandBarManager::FloatCommandBar(CWVPToolBar* pBar)
{
    if (!pBar || !pBar->CreateToolBar(CWnd::FromHandle(m_hwndSite), TRUE))
        return FALSE;
    if (CWVPDockBar* pDockBar = pBar->GetDockBar())
    {
        pDockBar->RemoveCommandBar(pBar);
        pBar->SetDockBar(nullptr);
    }
    pBar->m_barPosition = wvpBarFloating;
    return TRUE;
}

CWVPDockBar* CWVPCommandBarManager::CanDock(CPoint pt, CWVPDockBar* pCurrent) const
{
    if (pCurrent && AcceptsPoint(pCurrent, pt))
        return pCurrent;
    for (CWVPDockBar* pDockBar : m_pDockBars)
        if (AcceptsPoint(pDockBar, pt))
            return pDockBar;
    return nullptr;
}

void CWVPCommandBarManager::RecalcFrameLayout()
{
    CWnd* pSite = CWnd::FromHandlePermanent(m_hwndSite);
    auto* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, pSite);
    if (!pFrame || !(pFrame->m_nIdleFlags & CFrameWnd::idleLayout))
        return;
    pFrame->RecalcLayout(FALSE);
    pFrame->m_nIdleFlags &= ~CFrameWnd::idleLayout;
}

void CWVPCommandBarManager::RecalcFrameLayoutNow()
{
    auto* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, CWnd::FromHandlePermanent(m_hwndSite));
    if (pFrame)
    {
        pFrame->RecalcLayout(FALSE);
        pFrame->m_nIdleFlags &= ~CFrameWnd::idleLayout;
    }
}

BOOL CWVPCommandBarManager::IsLayoutRTL() const
{
    if (::IsWindow(m_hwndSite) && (::GetWindowLongW(m_hwndSite, GWL_EXSTYLE) & WS_EX_LAYOUTRTL))
        return TRUE;
    return m_bRightToLeft;
}

void CWVPCommandBarManager::RelayoutFrame(BOOL notify)
{
    auto* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, CWnd::FromHandlePermanent(m_hwndSite));
    if (pFrame)
        pFrame->RecalcLayout(notify);
}

void CWVPCommandBarManager::ShowContextMenu(CPoint)
{
}

void CWVPCommandBarManager::FillExpandPopup(CWVPToolBar* pBar, CWVPCommandBar* pPopup)
{
    if (pBar)
        pBar->AddHiddenControlsToPopup(pPopup);
}

void CWVPCommandBarManager::FillCustomizePopup(CWVPToolBar*, CWVPCommandBar*)
{
}

void CWVPCommandBarManager::OnCommandBarRemoved(CWVPCommandBar*)
{
}

void CWVPCommandBarManager::SaveBarState(CWVPPropExchange* pPX)
{
    long version = kBarStateVersion;
    WVPExchangeLong(pPX, L"Version", version);
    std::vector<CWVPToolBar*> bars;
    for (int i = 0; i < GetBarCount(); ++i)
        if (auto* pBar = DYNAMIC_DOWNCAST(CWVPToolBar, m_bars[i]))
            if (pBar->GetBarID())
                bars.push_back(pBar);
    long count = long(bars.size());
    WVPExchangeLong(pPX, L"Count", count);
    for (CWVPToolBar* pBar : bars)
    {
        long id = long(pBar->GetBarID());
        long position = pBar->GetPosition();
        BOOL visible = pBar->IsVisible();
        CRect rcWindow(0, 0, 0, 0);
        if (::IsWindow(pBar->m_hWnd))
            pBar->GetWindowRect(&rcWindow);
        CRect rcDocked = pBar->GetDockContext()->m_rcLastDocked;
        long lastDock = pBar->GetDockContext()->m_nLastDockIndex;
        WVPExchangeLong(pPX, L"BarID", id);
        WVPExchangeLong(pPX, L"Position", position);
        WVPExchangeBool(pPX, L"Visible", visible, TRUE);
        WVPExchangeRect(pPX, L"WindowRect", rcWindow, CRect(0, 0, 0, 0));
        WVPExchangeRect(pPX, L"DockedRect", rcDocked, CRect(0, 0, 0, 0));
        WVPExchangeLong(pPX, L"LastDock", lastDock);
    }
    // Each dock bar's rows: bar ids, 0 closing a row.
    for (CWVPDockBar* pDockBar : m_pDockBars)
    {
        std::vector<long> entries;
        for (int i = 1; pDockBar && i < pDockBar->GetCount(); ++i)
        {
            CWVPToolBar* pBar = pDockBar->GetAt(i);
            if (!pBar || pBar->GetBarID())
                entries.push_back(pBar ? long(pBar->GetBarID()) : 0);
        }
        long entryCount = long(entries.size());
        WVPExchangeLong(pPX, L"RowEntries", entryCount);
        for (long& entry : entries)
            WVPExchangeLong(pPX, L"Entry", entry);
    }
}

BOOL CWVPCommandBarManager::LoadBarState(CWVPPropExchange* pPX)
{
    struct Saved
    {
        CWVPToolBar* pBar;
        long position;
        BOOL visible;
        CRect rcWindow;
    };
    long version = 0, count = 0;
    if (!WVPExchangeLong(pPX, L"Version", version) || version != kBarStateVersion)
        return FALSE;
    if (!WVPExchangeLong(pPX, L"Count", count) || count < 0)
        return FALSE;
    std::vector<Saved> saved;
    for (long n = 0; n < count; ++n)
    {
        long id = 0, position = 0, lastDock = 0;
        BOOL visible = TRUE;
        CRect rcWindow, rcDocked;
        if (!WVPExchangeLong(pPX, L"BarID", id) || !WVPExchangeLong(pPX, L"Position", position) ||
            !WVPExchangeBool(pPX, L"Visible", visible, TRUE) ||
            !WVPExchangeRect(pPX, L"WindowRect", rcWindow, CRect(0, 0, 0, 0)) ||
            !WVPExchangeRect(pPX, L"DockedRect", rcDocked, CRect(0, 0, 0, 0)) ||
            !WVPExchangeLong(pPX, L"LastDock", lastDock))
            return FALSE;
        auto* pBar = DYNAMIC_DOWNCAST(CWVPToolBar, FindCommandBar(UINT(id)));
        if (!pBar)
            continue;
        pBar->GetDockContext()->m_rcLastDocked = rcDocked;
        if (lastDock >= wvpBarTop && lastDock <= wvpBarRight)
            pBar->GetDockContext()->m_nLastDockIndex = int(lastDock);
        saved.push_back(Saved{pBar, position, visible, rcWindow});
    }
    for (CWVPDockBar* pDockBar : m_pDockBars)
    {
        long entryCount = 0;
        if (!WVPExchangeLong(pPX, L"RowEntries", entryCount) || entryCount < 0)
            return FALSE;
        std::vector<CWVPToolBar*> rows;
        for (long n = 0; n < entryCount; ++n)
        {
            long id = 0;
            if (!WVPExchangeLong(pPX, L"Entry", id))
                return FALSE;
            auto* pBar = id ? DYNAMIC_DOWNCAST(CWVPToolBar, FindCommandBar(UINT(id))) : nullptr;
            if (id && !pBar)
                continue;
            if (pBar && !pBar->CreateToolBar(CWnd::FromHandle(m_hwndSite), FALSE))
                continue;
            rows.push_back(pBar);
        }
        if (pDockBar)
            pDockBar->RestoreRows(rows);
    }
    for (const Saved& item : saved)
    {
        CWVPToolBar* pBar = item.pBar;
        if (item.position == wvpBarFloating && FloatCommandBar(pBar))
        {
            // A place that no monitor shows any more (saved on a larger screen) comes back into
            // the work area of the nearest monitor.
            CRect rc = item.rcWindow;
            if (rc.IsRectEmpty())
                rc = CRect(CPoint(0, 0), pBar->CalcDynamicLayout(0, kFloatingLayout));
            CWVPMonitorHelper& monitors = WVPMonitorHelper();
            const CRect work = monitors.GetWorkAreaOfRect(rc);
            CRect visible;
            if (!visible.IntersectRect(&rc, &work) || visible != rc)
            {
                rc.OffsetRect(std::min<int>(0, work.right - rc.right), std::min<int>(0, work.bottom - rc.bottom));
                rc.OffsetRect(std::max<int>(0, work.left - rc.left), std::max<int>(0, work.top - rc.top));
            }
            pBar->MoveWindow(&rc, TRUE);
            pBar->GetDockContext()->m_ptFloating = rc.TopLeft();
        }
        pBar->SetVisible(item.visible);
    }
    RelayoutFrame(FALSE);
    m_pOptions->bLayoutChanged = FALSE;
    return TRUE;
}
