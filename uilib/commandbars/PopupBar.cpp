#include "uilib/commandbars/PopupBar.h"
#include "uilib/commandbars/MenuSoundPlayer.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/ControlPopup.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/MouseManager.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/commandbars/ShadowManager.h"
#include "uilib/foundation/DCGuards.h"
#include "uilib/foundation/DrawHelpers.h"
#include "uilib/foundation/ImageManager.h"
#include "uilib/foundation/MonitorHelper.h"

IMPLEMENT_DYNCREATE(CWVPPopupBar, CWVPCommandBar)

BEGIN_MESSAGE_MAP(CWVPPopupBar, CWVPCommandBar)
ON_WM_MOUSEACTIVATE()
ON_WM_NCACTIVATE()
ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
ON_WM_MOUSEMOVE()
ON_WM_MOUSELEAVE()
ON_WM_TIMER()
END_MESSAGE_MAP()

namespace
{
const LPCWSTR kWindowClass = L"WVPPopupBar";
// WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN and the bit that makes a floating window answer
// WM_FLOATSTATUS.
const DWORD kWindowStyle = 0x86000100;
// A popup's bottom edge keeps this far from the work area's.
const int kBottomGap = 5;
// Shown without activation at the top of the z-order; an already visible popup keeps its place.
const UINT kShowFlags = SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
const UINT kMoveFlags = kShowFlags | SWP_NOZORDER;
const DWORD kLayoutRightToLeft = WS_EX_LAYOUTRTL | WS_EX_RIGHT;
// A control whose popup opens toward the left.
const DWORD kControlOpensLeft = 0x4;
// Accessibility events for a popup opening and closing.
const DWORD kEventMenuPopupStart = 6;
const DWORD kEventMenuPopupEnd = 7;

BOOL IsPopupTypeBar(const CWVPCommandBar* pBar)
{
    return pBar && (pBar->GetType() == wvpBarTypePopup || pBar->GetPosition() == wvpBarPopup);
}

BOOL Intersect(const CRect& a, const CRect& b)
{
    CRect common;
    return common.IntersectRect(&a, &b);
}
} // namespace

CWVPPopupBar::CWVPPopupBar()
    : m_pControlPopup(nullptr), m_bShowShadow(TRUE), m_bExpanded(FALSE), m_ptPopup(0, 0), m_rcExclude(0, 0, 0, 0),
      m_dwOpenDirection(0), m_bScrolling(FALSE), m_bInLayout(FALSE), m_nFirstVisible(0),
      m_nEndIndex(0), m_scrollTimers{FALSE, FALSE}, m_pReturnCommand(nullptr)
{
    m_barType = wvpBarTypePopup;
    m_barPosition = wvpBarPopup;
}

CWVPPopupBar::~CWVPPopupBar()
{
    if (::IsWindow(m_hWnd))
        DestroyWindow();
}

CWVPPopupBar* AFX_CDECL CWVPPopupBar::CreatePopupBar(CWVPCommandBarManager* manager)
{
    CWVPPopupBar* pBar = static_cast<CWVPPopupBar*>(RUNTIME_CLASS(CWVPPopupBar)->CreateObject());
    pBar->SetCommandBars(manager);
    return pBar;
}

CWVPPopupBar* CWVPPopupBar::Clone(BOOL recursive)
{
    CWVPPopupBar* pBar = static_cast<CWVPPopupBar*>(GetRuntimeClass()->CreateObject());
    pBar->SetCommandBars(m_pCommandBars);
    pBar->m_strTitle = m_strTitle;
    pBar->m_bShowShadow = m_bShowShadow;
    pBar->GetControls()->Copy(m_pControls, recursive);
    return pBar;
}

CWVPCommandBar* CWVPPopupBar::GetParentCommandBar() const
{
    return m_pControlPopup ? m_pControlPopup->GetParent() : nullptr;
}

BOOL CWVPPopupBar::ExpandHiddenItems()
{
    if (m_bExpanded)
        return FALSE;
    BOOL any = FALSE;
    for (int i = 0; i < m_pControls->GetCount(); ++i)
    {
        CWVPControl* pControl = m_pControls->GetAt(i);
        if (pControl->GetHideFlags() & WVP_HIDE_EXPAND)
        {
            pControl->SetHideFlags(pControl->GetHideFlags() & ~WVP_HIDE_EXPAND);
            pControl->SetExpandReveal(TRUE);
            any = TRUE;
        }
    }
    if (!any)
        return FALSE;
    m_bExpanded = TRUE;
    SetPopuped(-1);
    SetSelected(-1);
    DelayLayout();
    return TRUE;
}

BOOL CWVPPopupBar::IsWrapAllowed() const
{
    return IsMultiColumn();
}

void CWVPPopupBar::AdjustExcludeRect(CRect& rc, BOOL vertical)
{
    if (m_pControlPopup)
        m_pControlPopup->AdjustExcludeRect(rc, vertical);
}

void CWVPPopupBar::UpdateExcludeRect()
{
    CWVPCommandBar* pParentBar = GetParentCommandBar();
    if (!m_pControlPopup || !pParentBar)
        return;
    m_dwOpenDirection = 0;
    if ((m_pControlPopup->GetFlags() & kControlOpensLeft) ||
        (::IsWindow(m_hWnd) && (::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL)))
        m_dwOpenDirection |= WVP_POPUP_OPENLEFT;

    const int position = pParentBar->GetPosition();
    const BOOL parentIsPopup = pParentBar->IsKindOf(RUNTIME_CLASS(CWVPPopupBar));
    const BOOL floatingPopupType = position == wvpBarFloating && pParentBar->GetType() == wvpBarTypePopup;
    BOOL vertical = FALSE;
    if (parentIsPopup && (pParentBar->GetFlags() & WVP_BARFLAG_LARGEBUTTONS))
        m_dwOpenDirection |= WVP_POPUP_OPENBELOW;
    else if (position == wvpBarRight)
    {
        m_dwOpenDirection = WVP_POPUP_OPENLEFT;
        vertical = TRUE;
    }
    else if (position == wvpBarLeft || position == wvpBarPopup || floatingPopupType)
    {
        vertical = TRUE;
        if (parentIsPopup && (static_cast<CWVPPopupBar*>(pParentBar)->m_dwOpenDirection & WVP_POPUP_OPENLEFT))
            m_dwOpenDirection = WVP_POPUP_OPENLEFT;
    }
    else
        m_dwOpenDirection |= WVP_POPUP_OPENBELOW;

    CRect rc = m_pControlPopup->GetRect();
    if (m_pControlPopup->GetType() == wvpControlComboBox && position != wvpBarPopup)
        m_dwOpenDirection |= WVP_POPUP_OPENBELOW;
    else
        AdjustExcludeRect(rc, vertical);
    if (::IsWindow(pParentBar->GetSafeHwnd()))
        ::MapWindowPoints(pParentBar->GetSafeHwnd(), nullptr, reinterpret_cast<POINT*>(&rc), 2);
    m_rcExclude = rc;
    m_ptPopup = (m_dwOpenDirection & WVP_POPUP_OPENBELOW) ? CPoint(rc.left, rc.bottom) : CPoint(rc.right, rc.top);
}

CRect CWVPPopupBar::CalcPopupPosition(CPoint pt, CSize size)
{
    CWVPMonitorHelper& monitors = WVPMonitorHelper();
    CRect exclude = m_rcExclude;
    const BOOL noExclude = exclude.IsRectEmpty();
    CRect work = noExclude ? monitors.GetWorkAreaAtPoint(pt) : monitors.GetWorkAreaOfRect(exclude);
    const CRect screen = noExclude ? monitors.GetScreenAreaAtPoint(pt) : monitors.GetScreenAreaOfRect(exclude);
    // A point or control over a task bar may use the whole monitor.
    if (noExclude ? (screen.PtInRect(pt) && !work.PtInRect(pt))
                  : (!Intersect(work, exclude) && Intersect(screen, exclude)))
        work = screen;
    work.bottom -= kBottomGap;

    const BOOL wrap = IsWrapAllowed();
    int cx = size.cx, cy = size.cy;
    int x = pt.x, y = pt.y;
    BOOL scroll = FALSE;

    // Vertical placement.
    if (noExclude && (m_dwOpenDirection & WVP_POPUP_OPENUP))
        y = pt.y - cy;
    if (noExclude && pt.y > work.bottom)
        y = pt.y - cy;
    else
    {
        if (y + cy > work.bottom)
        {
            if (noExclude)
                y = pt.y - work.top < work.Height() / 2 ? work.bottom - cy : pt.y - cy;
            else if (!(m_dwOpenDirection & WVP_POPUP_OPENBELOW))
                y = work.bottom - cy;
            else
            {
                y = exclude.top - cy;
                if (y < work.top)
                {
                    if (wrap && m_pControlPopup && GetParentCommandBar())
                    {
                        // No room above or below: open beside the control instead.
                        m_dwOpenDirection &= ~WVP_POPUP_OPENBELOW;
                        CRect rc = m_pControlPopup->GetRect();
                        AdjustExcludeRect(rc, TRUE);
                        if (HWND parent = GetParentCommandBar()->GetSafeHwnd())
                            ::MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&rc), 2);
                        exclude = m_rcExclude = rc;
                        y = work.bottom - cy;
                        if (!(m_dwOpenDirection & WVP_POPUP_OPENLEFT))
                            x = exclude.right;
                    }
                    else
                    {
                        scroll = TRUE;
                        if (exclude.CenterPoint().y - work.top > work.Height() / 2)
                        {
                            cy = exclude.top - work.top;
                            y = work.top;
                        }
                        else
                        {
                            cy = work.bottom - exclude.bottom;
                            y = exclude.bottom;
                        }
                    }
                }
            }
        }
        if (y < work.top)
            y = work.top;
        if (y + cy > work.bottom)
        {
            if (wrap && m_barType == wvpBarTypePopup && !IsMultiColumn())
            {
                const CSize wrapped = CalcPopupLayout(work.Height());
                cx = wrapped.cx;
                cy = wrapped.cy;
            }
            if (y + cy > work.bottom)
            {
                cy = work.bottom - y;
                scroll = TRUE;
            }
        }
    }

    // Horizontal placement.
    const BOOL left = (m_dwOpenDirection & WVP_POPUP_OPENLEFT) != 0;
    if (!noExclude &&
        (m_dwOpenDirection & (WVP_POPUP_OPENLEFT | WVP_POPUP_OPENBELOW)) == (WVP_POPUP_OPENLEFT | WVP_POPUP_OPENBELOW))
        x = exclude.right - cx;
    else if (!noExclude && left)
        x = exclude.left - cx;
    else if (noExclude && left)
        x = pt.x - cx;
    if (x + cx > work.right)
    {
        if (noExclude)
            x = x > work.right ? x - cx : work.right - cx;
        else if (m_dwOpenDirection & WVP_POPUP_OPENBELOW)
            x = work.right - cx;
        else
        {
            x = exclude.left - cx;
            m_dwOpenDirection |= WVP_POPUP_OPENLEFT;
        }
        if (x < work.left)
            x = work.left;
    }
    if (x < work.left)
    {
        if (!noExclude)
        {
            if (m_dwOpenDirection & WVP_POPUP_OPENBELOW)
                x = work.left;
            else
            {
                x = exclude.right;
                m_dwOpenDirection &= ~WVP_POPUP_OPENLEFT;
            }
        }
        else if (m_dwOpenDirection & WVP_POPUP_OPENLEFT)
        {
            x = work.left;
            m_dwOpenDirection &= ~WVP_POPUP_OPENLEFT;
        }
    }
    // A popup wider than the room beside its control still never leaves the work area.
    if (x + cx > work.right)
        x = work.right - cx;
    if (x < work.left)
        x = work.left;

    m_bScrolling = scroll && m_barType == wvpBarTypePopup && m_barPosition == wvpBarPopup;
    return CRect(x, y, x + cx, y + cy);
}

CSize CWVPPopupBar::CalcPopupLayout(int length)
{
    const BOOL wasInLayout = m_bInLayout;
    m_bInLayout = TRUE;
    CClientDC dc(::IsWindow(m_hWnd) ? this : nullptr);
    CWVPPaintManager* paintManager = GetPaintManager();
    CWVPFontDC font(&dc, paintManager->GetControlFont(this, FALSE));
    // Without a forced length the controls hear of the layout first (list controls rebuild here).
    if (length <= 0)
        for (int i = m_pControls->GetCount() - 1; i >= 0; --i)
            if (CWVPControl* pControl = m_pControls->GetAt(i); pControl && pControl->GetParent() == this)
                pControl->OnCalcDynamicSize(0);
    const CSize size = m_pControls->CalcPopupSize(&dc, length, m_nMRUWidth, paintManager->GetCommandBarBorders(this));
    m_bInLayout = wasInLayout;
    return size;
}

BOOL CWVPPopupBar::Create()
{
    if (::IsWindow(m_hWnd))
        return TRUE;
    CWVPDrawHelpers::RegisterWindowClass(nullptr, kWindowClass, CS_DBLCLKS | CS_SAVEBITS);
    DWORD exStyle = WS_EX_TOOLWINDOW;
    if (GetImageManager() && GetImageManager()->IsDrawReverted(nullptr))
        exStyle |= WS_EX_LAYOUTRTL;
    const HWND site = GetOwnerSite();
    return CreateEx(exStyle, kWindowClass, m_strTitle, kWindowStyle, CRect(0, 0, 0, 0),
                    CWnd::FromHandle(::IsWindow(site) ? site : nullptr), 0);
}

BOOL CWVPPopupBar::DestroyWindow()
{
    if (!::IsWindow(m_hWnd))
        return FALSE;
    const HWND site = GetOwnerSite();
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(m_hWnd, GW_CHILD))
    {
        ::ShowWindow(child, SW_HIDE);
        if (!::SetParent(child, ::IsWindow(site) ? site : nullptr))
            break;
    }
    return CWVPCommandBar::DestroyWindow();
}

BOOL CWVPPopupBar::Popup(CWVPControl* pControl, BOOL keyboard)
{
    // A popup without a single item to show does not open.
    if (m_pControls->GetVisibleCount() == 0)
        return FALSE;
    if (pControl && pControl->IsKindOf(RUNTIME_CLASS(CWVPControlPopup)))
        m_pControlPopup = static_cast<CWVPControlPopup*>(pControl);
    if (!Create())
        return FALSE;
    const HWND site = GetOwnerSite();
    if (::IsWindow(site))
        ::SendMessageW(site, WVP_WM_POPUPSHOWING, 0, LPARAM(this));
    if (IsCustomizeMode())
        m_bExpanded = TRUE;

    UpdateExcludeRect();
    const CSize size = CalcPopupLayout(0);
    const CRect rc = CalcPopupPosition(m_ptPopup, size);
    m_nFirstVisible = 0;
    if (m_bScrolling)
        LayoutScrolling(rc.Height(), FALSE, FALSE);
    else
        StopScrolling();
    const BOOL visible = ::IsWindowVisible(m_hWnd);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, rc.left, rc.top, rc.Width(), rc.Height(), visible ? kMoveFlags : kShowFlags);
    CWVPCommandBar* pParentBar = GetParentCommandBar();
    if (!::IsWindow(m_hWnd) || (pParentBar && !::IsWindow(pParentBar->GetSafeHwnd())))
    {
        DestroyWindow();
        return FALSE;
    }
    SetTrackingMode(1, keyboard, keyboard);
    // The controls' states are current before the first paint.
    m_dwLayoutFlags &= ~DWORD(1);
    OnIdleUpdate();
    GetPaintManager()->SetCommandBarRegion(this);
    WVPMenuSoundPlayer()->RequestSound(CWVPMenuSoundPlayer::kPopupSound);
    SetShadows();
    DelayLayout();
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return TRUE;
}

void CWVPPopupBar::SetShadows()
{
    CWVPPaintManager* paintManager = GetPaintManager();
    if (paintManager->m_bShowPopupShadows && m_barPosition == wvpBarPopup && m_bShowShadow && !IsCustomizeMode())
    {
        paintManager->m_pShadowManager->RemoveShadows(this);
        paintManager->m_pShadowManager->SetShadow(this, m_rcExclude);
    }
}

void CWVPPopupBar::OnControlsChanged()
{
    if (!::IsWindow(m_hWnd) || !m_nTrackingMode || m_bInLayout)
        return;
    UpdateExcludeRect();
    const CRect rc = CalcPopupPosition(m_ptPopup, CalcPopupLayout(0));
    if (m_bScrolling)
        LayoutScrolling(rc.Height(), FALSE, FALSE);
    else
        StopScrolling();
    CRect now;
    ::GetWindowRect(m_hWnd, &now);
    if (rc != now)
    {
        GetPaintManager()->m_pShadowManager->RemoveShadows(this);
        ::SetWindowPos(m_hWnd, nullptr, rc.left, rc.top, rc.Width(), rc.Height(), kMoveFlags);
        GetPaintManager()->SetCommandBarRegion(this);
        SetShadows();
        if (m_pControlPopup)
            m_pControlPopup->UpdateShadow();
    }
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

int CWVPPopupBar::OnMouseActivate(CWnd*, UINT, UINT)
{
    return MA_NOACTIVATE;
}

BOOL CWVPPopupBar::OnNcActivate(BOOL bActive)
{
    return bActive ? FALSE : CWVPCommandBar::OnNcActivate(bActive);
}

LRESULT CWVPPopupBar::OnFloatStatus(WPARAM wParam, LPARAM)
{
    // The window has the style bit that makes it follow its owner's activation.
    return (wParam & FS_SYNCACTIVE) ? TRUE : 0;
}

BOOL CWVPPopupBar::SetTrackingMode(int mode, BOOL selectFirst, BOOL keyboard)
{
    if (!CWVPCommandBar::SetTrackingMode(mode, selectFirst, keyboard))
        return FALSE;
    if (mode)
        ::NotifyWinEvent(kEventMenuPopupStart, m_hWnd, OBJID_CLIENT, CHILDID_SELF);
    else
    {
        ::NotifyWinEvent(kEventMenuPopupEnd, m_hWnd, OBJID_CLIENT, CHILDID_SELF);
        StopScrolling();
        GetPaintManager()->m_pShadowManager->RemoveShadows(this);
        DestroyWindow();
        if (CWVPCommandBar* pParentBar = GetParentCommandBar())
            pParentBar->SetPopuped(-1);
        const HWND site = GetOwnerSite();
        if (::IsWindow(site))
            ::SendMessageW(site, WVP_WM_POPUPCLOSED, 0, LPARAM(this));
        m_pControlPopup = nullptr;
        m_bExpanded = FALSE;
    }
    const HWND site = GetOwnerSite();
    if (::IsWindow(site))
        ::UpdateWindow(site);
    return TRUE;
}

BOOL AFX_CDECL CWVPPopupBar::ReturnTrackedCommand(CWVPCommandBar* pRoot, int id)
{
    if (!pRoot || !pRoot->IsKindOf(RUNTIME_CLASS(CWVPPopupBar)))
        return FALSE;
    CWVPPopupBar* pPopup = static_cast<CWVPPopupBar*>(pRoot);
    int* pResult = pPopup->m_pReturnCommand;
    if (!pResult)
        return FALSE;
    if (pPopup->m_bRecursiveTracking)
        pPopup->EndTracking();
    else if (pPopup->GetCommandBars())
        pPopup->GetCommandBars()->ClosePopups();
    else
        WVPMouseManager()->CloseTrackedBars();
    *pResult = id;
    return TRUE;
}

int AFX_CDECL CWVPPopupBar::TrackPopupBar(CWVPCommandBar* pBar, UINT flags, int x, int y, HWND site, LPCRECT exclude,
                                          HWND owner)
{
    if (!pBar || !pBar->IsKindOf(RUNTIME_CLASS(CWVPPopupBar)))
        return 0;
    CWVPPopupBar* pPopup = static_cast<CWVPPopupBar*>(pBar);
    // A menu without a single item to show opens nothing.
    if (pPopup->GetControls()->GetVisibleCount() == 0)
        return 0;
    if (site)
        pPopup->SetSite(site);
    if (owner)
        pPopup->SetOwnerSite(owner);
    site = pPopup->GetSite();
    if (::IsWindow(site) && (::GetWindowLongW(site, GWL_EXSTYLE) & kLayoutRightToLeft))
        flags |= WVP_TRACK_RIGHTALIGN;

    // The chosen command lands in this call's own result, which the popup may only see while the
    // call runs: the popup outlives it.
    int result = (flags & WVP_TRACK_RETURNCMD) ? 0 : TRUE;
    pPopup->m_pReturnCommand = (flags & WVP_TRACK_RETURNCMD) ? &result : nullptr;
    pPopup->m_bRightButtonTracking = (flags & WVP_TRACK_RIGHTBUTTON) != 0;
    pPopup->m_bNoNotify = (flags & WVP_TRACK_NONOTIFY) != 0;
    const BOOL recursive = (flags & WVP_TRACK_RECURSE) != 0;
    pPopup->m_bRecursiveTracking = recursive;
    pPopup->m_dwOpenDirection =
        (flags & WVP_TRACK_RIGHTALIGN) ? WVP_POPUP_OPENLEFT | WVP_POPUP_OPENBELOW : WVP_POPUP_OPENBELOW;

    CWVPMouseManager* mouse = WVPMouseManager();
    if (recursive)
    {
        mouse->CloseUnlockedTrackedBars();
        mouse->LockTrackedBars(TRUE);
    }
    else
    {
        mouse->CloseTrackedBars();
        ::ReleaseCapture();
    }
    mouse->m_bSwallowButtonUp = TRUE;
    pPopup->m_ptPopup = CPoint(x, y);
    pPopup->m_rcExclude = exclude ? CRect(*exclude) : CRect(0, 0, 0, 0);

    pPopup->InternalAddRef();
    if (pPopup->Popup(nullptr, FALSE))
        pPopup->PumpTrackingMessages();
    else
        result = 0;
    if (recursive)
        mouse->LockTrackedBars(FALSE);
    pPopup->m_pReturnCommand = nullptr;
    pPopup->m_bNoNotify = FALSE;
    pPopup->InternalRelease();
    return result;
}

BOOL AFX_CDECL CWVPPopupBar::TrackMenu(HMENU hMenu, UINT nFlags, int x, int y, CWnd* pWnd, int nIDToolBar,
                                       BOOL bNoNotify, BOOL* pResult)
{
    if (!CWVPPaintManager::GetCurrent())
        CWVPPaintManager::SetTheme(wvpThemeDefault);
    if (!CWVPPaintManager::GetCurrent())
        return FALSE;
    CWVPPopupBar* pPopup = CreatePopupBar(nullptr);
    if (!pPopup->LoadMenu(CMenu::FromHandle(hMenu), TRUE))
    {
        pPopup->InternalRelease();
        *pResult = 0;
        return TRUE;
    }
    // The tool bar's pictures become the items' icons.
    if (nIDToolBar)
    {
        CWVPImageManager* pImages = new CWVPImageManager;
        if (pImages->LoadToolbar(UINT(nIDToolBar)))
            pPopup->SetImageManager(pImages);
        else
            pImages->InternalRelease();
    }
    if (bNoNotify)
        nFlags |= WVP_TRACK_NONOTIFY;
    *pResult = TrackPopupBar(pPopup, nFlags, x, y, pWnd ? pWnd->GetSafeHwnd() : nullptr);
    pPopup->InternalRelease();
    return TRUE;
}
