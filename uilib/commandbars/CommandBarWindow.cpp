// The command bar as a window: creation, painting, hot tracking, clicks, selection, the open
// popup and the bar's timers.
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/ControlAction.h"
#include "uilib/commandbars/ControlPopup.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/KeyboardManager.h"
#include "uilib/commandbars/MouseManager.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/commandbars/PopupBar.h"
#include "uilib/controls/ToolTipContext.h"
#include "uilib/foundation/BufferDC.h"
#include "uilib/foundation/DCGuards.h"

namespace
{
// Help-hit-test answers are offset by these.
const LRESULT kHelpControlBase = 0x10000;
const LRESULT kHelpBarBase = 0x50000;
} // namespace

void CWVPCommandBar::OnFinalRelease()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
    CWnd::OnFinalRelease();
}

int CWVPCommandBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (m_pCommandBars)
    {
        // The bars of a manager share its tooltip context.
        CWVPToolTipContext* context = m_pCommandBars->GetToolTipContext();
        context->InternalAddRef();
        if (m_pToolTipContext)
            m_pToolTipContext->InternalRelease();
        m_pToolTipContext = context;
    }
    else if (m_barType != wvpBarTypePopup)
        EnableToolTips(TRUE);
    return 0;
}

void CWVPCommandBar::OnDestroy()
{
    if (m_nTrackingMode)
        SetTrackingMode(0, TRUE, FALSE);
    CWnd::OnDestroy();
}

BOOL CWVPCommandBar::IsMouseLockedFor() const
{
    CWVPMouseManager* mouse = WVPMouseManagerNA();
    return mouse && mouse->IsLocked() && !m_bIgnoreMouseLock;
}

void CWVPCommandBar::OnMouseMove(UINT, CPoint pt)
{
    if (!m_hWnd)
        return;
    CWVPMouseManager* mouse = WVPMouseManager();
    const BOOL active = m_nTrackingMode != 0 || CWVPMouseManager::IsTopParentActive(m_hWnd);
    if (mouse->IsBarInputBlocked(this) || (!active && m_barPosition != wvpBarPopup) || IsMouseLockedFor())
        return;
    if (IsCustomizeMode())
    {
        if (CWVPControl* pDrag = m_pCommandBars->GetDragControl())
            if (pDrag->GetParent() == this)
                pDrag->SetCustomizeResizeCursor(pt);
        return;
    }
    if (m_nPopuped != -1 && !m_bHover)
        return;
    int selection = -1;
    if (m_nTrackingMode && !(m_barPosition == wvpBarPopup && m_nPopuped == -1 && m_bKeyboardSelection == 0))
        selection = m_nSelected;
    CWVPControl* pControl = m_pControls->HitTest(pt);
    if (pControl && pControl->IsVisible(0))
    {
        selection = pControl->GetIndex();
        mouse->WatchMouseLeave(m_hWnd);
        pControl->OnMouseMove(pt);
    }
    SetSelected(selection, FALSE);
}

void CWVPCommandBar::OnMouseLeave()
{
    if (IsMouseLockedFor())
        return;
    if (m_nTrackingMode && m_barPosition != wvpBarPopup)
        return;
    if (m_barPosition == wvpBarPopup && m_nPopuped != -1 && m_nTrackingMode)
        return;
    if (m_nLockCount > 0)
        return;
    SetSelected(-1, FALSE);
}

void CWVPCommandBar::OnNcMouseMove(UINT, CPoint)
{
    OnMouseLeave();
    Default();
}

void CWVPCommandBar::OnLButtonDown(UINT, CPoint pt)
{
    if (m_barPosition == wvpBarPopup && m_barType == wvpBarTypeNormal && m_nPopuped != -1)
    {
        CWVPControl* pOpen = GetControl(m_nPopuped);
        if (pOpen && !pOpen->GetRect().PtInRect(pt))
        {
            if (m_nPopuped == m_nSelected)
                SetSelected(-1, FALSE);
            SetPopuped(-1, FALSE);
        }
    }
    CWVPControl* pControl = m_pControls->HitTest(pt);
    if (!pControl)
    {
        Default();
        return;
    }
    const BOOL customize = IsCustomizeMode();
    if (!customize || pControl->IsCustomizeMovable())
        pControl->OnClick(FALSE, pt);
}

void CWVPCommandBar::OnLButtonUp(UINT, CPoint pt)
{
    if (IsCustomizeMode())
        return;
    if (CWVPControl* pControl = m_pControls->HitTest(pt))
        pControl->OnLButtonUp(pt);
    else
        Default();
}

void CWVPCommandBar::OnLButtonDblClk(UINT, CPoint pt)
{
    if (IsCustomizeMode())
        return;
    if (CWVPControl* pControl = m_pControls->HitTest(pt))
        pControl->OnLButtonDblClk(pt);
}

void CWVPCommandBar::OnRButtonUp(UINT, CPoint pt)
{
    if (IsCustomizeMode())
        return;
    if (CWVPControl* pControl = m_pControls->HitTest(pt))
    {
        CPoint client = pt;
        if (HWND site = GetSite())
            if (::SendMessageW(site, WVP_WM_CONTROLRBUTTONUP, WPARAM(&client), LPARAM(pControl)) == 1)
                return;
        if (GetRootParent()->m_bRightButtonTracking)
        {
            pControl->OnLButtonUp(pt);
            return;
        }
        pControl->OnRButtonUp(pt);
        return;
    }
    if (CWVPCommandBar* pParent = GetParentCommandBar())
    {
        (void)pParent;
        GetRootParent()->OnPopupRButtonUp(this, pt);
    }
}

BOOL CWVPCommandBar::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CWVPCommandBar::OnPaint()
{
    CPaintDC paintDC(this);
    CRect client;
    GetClientRect(&client);
    CWVPBufferDC dc(paintDC.GetSafeHdc(), client);
    DrawCommandBar(&dc, CRect(paintDC.m_ps.rcPaint));
}

LRESULT CWVPCommandBar::OnPrintClient(WPARAM wParam, LPARAM)
{
    HDC hdc = reinterpret_cast<HDC>(wParam);
    if (!hdc)
        return 1;
    CRect client;
    GetClientRect(&client);
    DrawCommandBar(CDC::FromHandle(hdc), client);
    return 1;
}

CFrameWnd* CWVPCommandBar::GetSiteFrame() const
{
    CWnd* pSite = CWnd::FromHandlePermanent(GetSite());
    return pSite && pSite->IsFrameWnd() ? static_cast<CFrameWnd*>(pSite) : nullptr;
}

BOOL CWVPCommandBar::IsHelpMode() const
{
    CFrameWnd* pFrame = GetSiteFrame();
    return pFrame && pFrame->m_bHelpMode;
}

LRESULT CWVPCommandBar::OnHelpHitTest(WPARAM, LPARAM lParam)
{
    const CPoint pt(short(LOWORD(lParam)), short(HIWORD(lParam)));
    if (CWVPControl* pControl = m_pControls->HitTest(pt))
    {
        if (pControl->GetHelpId() > 0)
            return pControl->GetHelpId() + kHelpControlBase;
        if (CWVPControlAction* pAction = pControl->GetAction())
            return (pAction->GetHelpId() > 0 ? pAction->GetHelpId() : pAction->GetId()) + kHelpControlBase;
        return pControl->GetID() + kHelpControlBase;
    }
    const int id = GetDlgCtrlID();
    return id ? id + kHelpBarBase : 0;
}

LRESULT CWVPCommandBar::OnNcHitTest(CPoint pt)
{
    if (!IsHelpMode())
        return LRESULT(Default());
    ScreenToClient(&pt);
    CWVPControl* pControl = m_pControls->HitTest(pt);
    const int type = pControl ? pControl->GetType() : 0;
    if (pControl && pControl->GetID() <= 0 &&
        (type == wvpControlPopup || type == wvpControlButtonPopup || type == wvpControlSplitButtonPopup))
        return HTMENU;
    return HTCLIENT;
}

void CWVPCommandBar::OnNcLButtonDown(UINT hitTest, CPoint pt)
{
    if (!IsHelpMode())
    {
        Default();
        return;
    }
    ScreenToClient(&pt);
    OnLButtonDown(hitTest, pt);
}

BOOL CWVPCommandBar::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (m_pToolTipContext)
        m_pToolTipContext->RelayToolTipMessage(this, message, wParam, lParam);
    return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

void CWVPCommandBar::OnTimer(UINT_PTR id)
{
    Default();
    switch (id)
    {
    case WVP_TIMER_SHOWKEYBOARDTIPS: {
        CWVPMouseManager* mouse = WVPMouseManagerNA();
        CWVPCommandBarManager* manager = GetCommandBars();
        if (mouse && manager && mouse->GetTopTrackedBar() == this && GetKeyboardTipsState() == 0)
            manager->ShowKeyboardTips(this, 1);
        break;
    }
    case WVP_TIMER_HOVER:
        if (m_nLockCount > 0)
            break;
        KillTimer(WVP_TIMER_HOVER);
        if (CWVPControl* pControl = GetControl(m_nSelected))
            pControl->OnMouseHover();
        break;
    case WVP_TIMER_EXPANDPOPUP: {
        if (m_nLockCount > 0)
            break;
        KillTimer(WVP_TIMER_EXPANDPOPUP);
        CWVPControl* pControl = GetControl(m_nSelected);
        if (!pControl || m_nPopuped != m_nSelected || !pControl->IsKindOf(RUNTIME_CLASS(CWVPControlPopup)) ||
            pControl->GetType() != wvpControlPopup || !pControl->IsCursorOver())
            break;
        CWVPCommandBar* pBar = pControl->GetCommandBar();
        if (pBar && pBar->IsKindOf(RUNTIME_CLASS(CWVPPopupBar)) && pBar->GetSafeHwnd())
            static_cast<CWVPPopupBar*>(pBar)->ExpandHiddenItems();
        break;
    }
    default:
        break;
    }
}

LRESULT CWVPCommandBar::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    OnIdleUpdate();
    return 0;
}

void CWVPCommandBar::OnIdleUpdate()
{
    if (!m_hWnd || !(GetStyle() & WS_VISIBLE))
        return;
    if (m_dwLayoutFlags & 2)
        Redraw();
    if (m_dwLayoutFlags & 1)
    {
        OnControlsChanged();
        m_dwLayoutFlags &= ~DWORD(1);
    }
}

void CWVPCommandBar::OnControlsChanged()
{
}

BOOL CWVPCommandBar::SetSelected(int index, BOOL keyboard)
{
    if (index == m_nSelected)
        return FALSE;
    m_bKeyboardSelection = keyboard;
    if (!m_hWnd)
        return FALSE;
    if (CWVPControl* pOld = GetControl(m_nSelected))
    {
        pOld->OnMouseMove(CPoint(-1, -1));
        pOld->OnSetSelected(0);
    }
    m_nSelected = index;
    if (index == -1)
    {
        KillTimer(WVP_TIMER_HOVER);
        return TRUE;
    }
    CWVPControl* pControl = GetControl(index);
    if (!pControl)
        return FALSE;
    int state = 1;
    if (keyboard)
    {
        EnsureVisible(pControl);
        state = keyboard > 1 ? keyboard : 2;
    }
    pControl->OnSetSelected(state);
    if (m_nTrackingMode)
        ::NotifyWinEvent(EVENT_OBJECT_FOCUS, m_hWnd, OBJID_MENU, index + 1);
    WVPMouseManager()->m_pHoverBar = this;
    if (!keyboard && m_bHover)
        SetTimer(WVP_TIMER_HOVER, WVP_HOVER_DELAY, nullptr);
    return TRUE;
}

BOOL CWVPCommandBar::SetPopuped(int index, BOOL keyboard)
{
    if (index == m_nPopuped)
        return FALSE;
    if (CWVPControl* pOpen = GetControl(m_nPopuped))
    {
        m_nPopuped = -1;
        pOpen->OnSetPopup(FALSE);
    }
    m_nPopuped = -1;
    if (index == -1)
        return TRUE;
    CWVPControl* pControl = GetControl(index);
    if (!pControl || !pControl->GetEnabled())
        return FALSE;
    const BOOL wasTracking = m_nTrackingMode != 0;
    m_nPopuped = index;
    SetTrackingMode(2, FALSE, keyboard);
    SetSelected(index, keyboard);
    if (!pControl->OnSetPopup(TRUE))
    {
        m_nPopuped = -1;
        // A popup that did not open must not leave the bar tracking (and the hooks installed).
        if (!wasTracking && m_nTrackingMode)
            SetTrackingMode(0, FALSE, FALSE);
        return FALSE;
    }
    return TRUE;
}

BOOL CWVPCommandBar::Popup(CWVPControl*, BOOL)
{
    // Only a popup bar knows how to show itself for a control.
    return FALSE;
}

void CWVPCommandBar::Redraw(LPCRECT rc, BOOL)
{
    if (m_nRedrawLock > 0)
    {
        DelayRedraw();
        return;
    }
    if (!rc)
        m_dwLayoutFlags &= ~DWORD(2);
    if (m_hWnd && IsVisible())
        ::InvalidateRect(m_hWnd, rc, FALSE);
    else if (!m_hWnd)
        DelayRedraw();
}

BOOL CWVPCommandBar::IsVisible() const
{
    return m_hWnd && ::IsWindowVisible(m_hWnd);
}

void CWVPCommandBar::EnsureVisible(CWVPControl*)
{
}

void CWVPCommandBar::EndTracking()
{
    SetTrackingMode(0, TRUE, FALSE);
}

void CWVPCommandBar::ClearSelection()
{
    SetSelected(-1, FALSE);
}

BOOL CWVPCommandBar::OnFrameAccel(UINT)
{
    return FALSE;
}

void CWVPCommandBar::OnPopupRButtonUp(CWVPCommandBar*, CPoint)
{
}

BOOL CWVPCommandBar::HitTestBar(POINT ptScreen) const
{
    if (!m_hWnd)
        return FALSE;
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    if (!::PtInRect(&rc, ptScreen))
        return FALSE;
    if (m_barType != wvpBarTypePopup)
        return TRUE;
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    const int kind = ::GetWindowRgn(m_hWnd, region);
    BOOL inside = TRUE;
    if (kind != ERROR && kind != NULLREGION)
        inside = ::PtInRegion(region, ptScreen.x - rc.left, ptScreen.y - rc.top);
    ::DeleteObject(region);
    return inside;
}

void CWVPCommandBar::FillCommandBar(CDC* pDC)
{
    GetPaintManager()->FillCommandBarEntry(pDC, this);
}

void CWVPCommandBar::DrawCommandBar(CDC* pDC, CRect rcClip)
{
    if (!pDC || !pDC->GetSafeHdc())
        return;
    CWVPPaintManager* paintManager = GetPaintManager();
    FillCommandBar(pDC);
    if (GetShowGripper() || m_barPosition == wvpBarFloating)
        paintManager->DrawCommandBarGripper(pDC, this, TRUE);
    pDC->SetBkMode(TRANSPARENT);
    BOOL first = TRUE;
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CWVPControl* pControl = GetControl(i);
        if (!pControl->IsVisible(0) || pControl->GetParent() != this)
            continue;
        if (pControl->GetBeginGroup() && !first)
            paintManager->DrawCommandBarSeparator(pDC, this, pControl, TRUE);
        first = FALSE;
        CRect rcMeet;
        if (!rcMeet.IntersectRect(pControl->GetRect(), rcClip))
            continue;
        CWVPFontDC font(pDC, paintManager->GetControlFont(this, pControl->GetDefaultItem()));
        pControl->Draw(pDC);
    }
    if (!IsCustomizeMode())
        return;
    if (CWVPControl* pDrag = m_pCommandBars->GetDragControl())
    {
        if (pDrag->GetParent() == this)
        {
            CRect rc = pDrag->GetRect();
            pDC->Draw3dRect(rc, RGB(0, 0, 0), RGB(0, 0, 0));
            rc.DeflateRect(1, 1);
            pDC->Draw3dRect(rc, RGB(0, 0, 0), RGB(0, 0, 0));
        }
    }
}

void CWVPCommandBar::ReleaseTracking()
{
    if (m_nTrackingMode)
        SetTrackingMode(0, TRUE, FALSE);
    if (m_pCommandBars && m_bListedInManager)
        m_pCommandBars->RemoveBar(this);
    WVPHookManager()->RemoveHookable(this);
    if (CWVPMouseManager* mouse = WVPMouseManagerNA())
    {
        if (mouse->m_pHoverBar == this)
            mouse->m_pHoverBar = nullptr;
        mouse->RemoveTrackedBar(this);
    }
    if (CWVPKeyboardManager* keyboard = WVPKeyboardManagerNA())
        keyboard->RemoveReceiver(this);
}
