#include "uilib/commandbars/ToolBar.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/DockBar.h"
#include "uilib/commandbars/DockContext.h"
#include "uilib/commandbars/MouseManager.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/commandbars/PopupBar.h"
#include "uilib/foundation/DCGuards.h"
#include "uilib/foundation/DrawHelpers.h"
#include "uilib/foundation/ResourceManager.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CWVPToolBar, CWVPCommandBar)

BEGIN_MESSAGE_MAP(CWVPToolBar, CWVPCommandBar)
ON_WM_SETCURSOR()
ON_WM_RBUTTONDOWN()
ON_WM_NCCREATE()
ON_WM_NCACTIVATE()
ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
ON_WM_MOUSEACTIVATE()
ON_WM_LBUTTONDOWN()
ON_WM_NCHITTEST()
ON_WM_NCLBUTTONDOWN()
ON_WM_SETFOCUS()
ON_WM_CLOSE()
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

namespace
{
const LPCWSTR kWindowClass = L"WVPToolBar";
// WS_CLIPSIBLINGS | WS_CLIPCHILDREN and the float-status bit, with WS_POPUP or WS_CHILD.
const DWORD kFloatingStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WVP_BARWINDOW_FLOATSTATUS;
const DWORD kDockedStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WVP_BARWINDOW_FLOATSTATUS;
const CSize kDefaultFloatingSize(100, 100);
const DWORD kDockedLayout = LM_HORZ | LM_HORZDOCK | LM_COMMIT;
const DWORD kStretchLayout = LM_STRETCH;
const DWORD kHideWrapLayout = 0x80;
const DWORD kFloatingRelayout = LM_HORZ | LM_MRUWIDTH | LM_COMMIT;
// The special-control kinds the paint manager draws for the tool bar's own buttons.
const int kDrawExpandDocked = 0;
const int kDrawHideButton = 2;
const int kDrawExpandFloating = 3;
const DWORD kExpandControlFlags = 0x1C;
const DWORD kHideControlFlags = 0x1A;
const DWORD kManualUpdateFlag = 0x8;
const UINT kNoMoveSizeActivate = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
const UINT kShowHideFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;

BOOL IsDockedPosition(int position)
{
    return position >= wvpBarTop && position <= wvpBarRight;
}

void SendSiteSize(HWND site)
{
    if (!::IsWindow(site))
        return;
    CRect rc;
    ::GetClientRect(site, &rc);
    ::SendMessageW(site, WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.Width(), rc.Height()));
}
} // namespace

// ---- The chevron ----

CWVPToolBar::CControlButtonExpand::CControlButtonExpand() : m_bHiddenControls(FALSE)
{
    SetType(wvpControlButtonPopup);
    SetFlags(kExpandControlFlags);
    SetID(WVP_ID_TOOLBAR_EXPAND);
    SetTemporary(TRUE);
    SetCommandBar(CWVPPopupBar::CreatePopupBar(nullptr));
    if (m_pCommandBar)
        m_pCommandBar->InternalRelease();
}

CWVPToolBar::CControlButtonExpand::~CControlButtonExpand() = default;

void CWVPToolBar::CControlButtonExpand::SetRect(CRect rc)
{
    CWVPControlPopup::SetRect(rc);
    m_bHiddenControls = FALSE;
    if (CWVPCommandBar* pBar = GetParent())
        for (int i = 0; i < pBar->GetControlCount(); ++i)
            if (pBar->GetControl(i)->GetHideFlags() == WVP_HIDE_WRAP)
                m_bHiddenControls = TRUE;
}

void CWVPToolBar::CControlButtonExpand::Draw(CDC* pDC)
{
    CWVPCommandBar* pBar = GetParent();
    const int kind = pBar && pBar->GetPosition() == wvpBarFloating ? kDrawExpandFloating : kDrawExpandDocked;
    GetPaintManager()->DrawSpecialControl(pDC, kind, this, pBar, TRUE, CSize(m_bHiddenControls, 0));
}

CSize CWVPToolBar::CControlButtonExpand::GetSize(CDC*)
{
    return GetRect().Size();
}

BOOL CWVPToolBar::CControlButtonExpand::OnSetPopup(BOOL open)
{
    m_bPopuped = open;
    CWVPToolBar* pBar = DYNAMIC_DOWNCAST(CWVPToolBar, GetParent());
    if (!open)
    {
        if (m_pCommandBar)
            m_pCommandBar->SetTrackingMode(0, TRUE, FALSE);
        RedrawParent();
        return TRUE;
    }
    if (!pBar)
        return FALSE;
    CWVPCommandBarManager* manager = pBar->GetCommandBars();
    CWVPCommandBar* pPopup = nullptr;
    BOOL keepCustomizable = FALSE;
    const HWND site = pBar->GetOwnerSite();
    if (::IsWindow(site))
    {
        CREATE_BAR_NOTIFY notify = {};
        notify.popup = TRUE;
        if (::SendMessageW(site, WVP_WM_CREATEPOPUPBAR, 0, LPARAM(&notify)) && notify.pCreated &&
            notify.pCreated->IsKindOf(RUNTIME_CLASS(CWVPCommandBar)))
        {
            pPopup = static_cast<CWVPCommandBar*>(notify.pCreated);
            keepCustomizable = !pPopup->IsPopupBar();
        }
    }
    if (!pPopup)
        pPopup = CWVPPopupBar::CreatePopupBar(manager);
    SetCommandBar(pPopup);
    pPopup->InternalRelease();
    (void)keepCustomizable;
    pPopup->GetControls()->RemoveAll();
    if (manager && pBar->GetDockContext())
    {
        manager->FillExpandPopup(pBar, pPopup);
        if (manager->GetCommandBarsOptions()->bAlwaysShowExpandButton || manager->IsCustomizeAllowed())
        {
            const BOOL hadControls = pPopup->GetControlCount() > 0;
            CWVPControl* pCustomize =
                pPopup->GetControls()->AddByType(wvpControlPopup, WVP_ID_TOOLBAR_CUSTOMIZE, L"", -1, TRUE);
            if (pCustomize)
            {
                pCustomize->SetFlags(pCustomize->GetFlags() | kManualUpdateFlag);
                pCustomize->SetBeginGroup(hadControls);
                if (CWVPCommandBar* pSub = pCustomize->GetCommandBar())
                    manager->FillCustomizePopup(pBar, pSub);
            }
        }
    }
    else
        pBar->AddHiddenControlsToPopup(pPopup);
    const int selected = pBar->GetKeyboardSelection();
    pPopup->Popup(this, selected == 2 || selected == 3);
    RedrawParent();
    return TRUE;
}

// ---- The close button ----

CWVPToolBar::CControlButtonHide::CControlButtonHide()
{
    SetFlags(kHideControlFlags);
    SetID(WVP_ID_TOOLBAR_HIDE);
    SetTemporary(TRUE);
}

void CWVPToolBar::CControlButtonHide::Draw(CDC* pDC)
{
    GetPaintManager()->DrawSpecialControl(pDC, kDrawHideButton, this, GetParent(), TRUE, CSize(0, 0));
}

CSize CWVPToolBar::CControlButtonHide::GetSize(CDC*)
{
    return GetRect().Size();
}

void CWVPToolBar::CControlButtonHide::OnExecute()
{
    if (CWVPCommandBar* pBar = GetParent())
        pBar->SetVisible(FALSE);
}

// ---- The tool bar ----

CWVPToolBar::CWVPToolBar()
    : m_nMRUFloatWidth(0), m_pDockBar(nullptr), m_pDockContext(nullptr), m_pExpandButton(nullptr),
      m_pHideButton(nullptr), m_bBuiltIn(TRUE), m_bTearOff(FALSE), m_bCloseable(TRUE), m_bShowExpandButton(TRUE),
      m_bContextMenuPresent(TRUE), m_bInRelayout(FALSE), m_bVisible(FALSE)
{
    m_barType = wvpBarTypeNormal;
    m_barPosition = wvpBarNone;
    m_dwFlags = 0x3F;
    m_pDockContext = new CWVPDockContext(this);
    CWVPDrawHelpers::RegisterWindowClass(nullptr, kWindowClass, CS_DBLCLKS);
}

CWVPToolBar::~CWVPToolBar()
{
    if (::IsWindow(m_hWnd))
        DestroyWindow();
    delete m_pDockContext;
}

BOOL CWVPToolBar::SetPosition(int position)
{
    if (!m_pCommandBars)
        return FALSE;
    if (IsDockedPosition(position))
        return m_pCommandBars->DockCommandBarAt(this, position);
    if (position == wvpBarFloating)
        return m_pCommandBars->FloatCommandBar(this);
    return FALSE;
}

BOOL CWVPToolBar::IsBarShown(CWVPCommandBar* pBar)
{
    if (!pBar || !::IsWindow(pBar->m_hWnd) || !pBar->IsVisible() || !::IsWindowVisible(pBar->m_hWnd))
        return FALSE;
    CRect rc;
    ::GetWindowRect(pBar->m_hWnd, &rc);
    return !rc.IsRectEmpty();
}

void CWVPToolBar::AddHiddenControlsToPopup(CWVPCommandBar* pPopup)
{
    if (!pPopup)
        return;
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CWVPControl* pControl = GetControl(i);
        if (pControl->GetHideFlags() != WVP_HIDE_WRAP)
            continue;
        CWVPControl* pCopy = pPopup->GetControls()->AddClone(pControl, -1, TRUE);
        if (!pCopy)
            continue;
        pCopy->SetHideFlags(0);
        pCopy->SetBeginGroup(FALSE);
    }
}

BOOL CWVPToolBar::LoadToolBar(UINT id, BOOL loadBitmap)
{
    m_nBarID = id;
    if (!CWVPCommandBar::LoadToolBar(id, loadBitmap))
        return FALSE;
    m_pControls->CreateOriginalControls();
    return TRUE;
}

BOOL CWVPToolBar::CreateToolBar(CWnd* pParent, BOOL floating)
{
    if (!::IsWindow(m_hWnd))
    {
        const CSize size = m_pDockContext ? m_pDockContext->m_szFloating : kDefaultFloatingSize;
        const DWORD exStyle = m_pCommandBars && m_pCommandBars->IsLayoutRTL() ? WS_EX_LAYOUTRTL : 0;
        if (!CreateEx(exStyle, kWindowClass, m_strTitle, floating ? kFloatingStyle : kDockedStyle,
                      CRect(CPoint(0, 0), size), pParent, 0))
            return FALSE;
        ::ShowWindow(m_hWnd, m_bVisible ? SW_SHOWNA : SW_HIDE);
    }
    const DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    const HWND parent = pParent ? pParent->GetSafeHwnd() : nullptr;
    if (floating)
    {
        if (style & WS_CHILD)
        {
            ::SetParent(m_hWnd, nullptr);
            ::SetWindowLongW(m_hWnd, GWL_STYLE, LONG((style & ~WS_CHILD) | WS_POPUP | WVP_BARWINDOW_FLOATSTATUS));
        }
        ::SetWindowLongPtrW(m_hWnd, GWLP_HWNDPARENT, LONG_PTR(parent));
    }
    else if (style & WS_POPUP)
        ::SetWindowLongW(m_hWnd, GWL_STYLE, LONG((style & ~WS_POPUP) | WS_CHILD));
    return TRUE;
}

CRect CWVPToolBar::GetBorders()
{
    if (m_barPosition == wvpBarFloating)
        return CRect(WVP_FLOATING_BORDER, WVP_FLOATING_BORDER, WVP_FLOATING_BORDER, WVP_FLOATING_BORDER);
    CRect borders = GetPaintManager()->GetCommandBarBorders(this);
    if (GetShowGripper())
    {
        CClientDC dc(::IsWindow(m_hWnd) ? this : nullptr);
        const CSize gripper = GetPaintManager()->DrawCommandBarGripper(&dc, this, FALSE);
        borders.left += gripper.cx;
        borders.top += gripper.cy;
    }
    return borders;
}

void CWVPToolBar::ForgetRemovedButtons()
{
    BOOL expandFound = FALSE, hideFound = FALSE;
    for (int i = 0; i < GetControlCount(); ++i)
    {
        expandFound |= GetControl(i) == m_pExpandButton;
        hideFound |= GetControl(i) == m_pHideButton;
    }
    if (!expandFound)
        m_pExpandButton = nullptr;
    if (!hideFound)
        m_pHideButton = nullptr;
}

CWVPToolBar::CControlButtonExpand* CWVPToolBar::EnsureExpandButton()
{
    ForgetRemovedButtons();
    if (!m_pExpandButton)
    {
        m_pExpandButton = new CControlButtonExpand();
        m_pControls->Add(m_pExpandButton);
    }
    m_pExpandButton->SetHideFlags(m_pExpandButton->GetHideFlags() | WVP_HIDE_HIDDEN);
    return m_pExpandButton;
}

CWVPToolBar::CControlButtonHide* CWVPToolBar::EnsureHideButton()
{
    ForgetRemovedButtons();
    if (!m_pHideButton)
    {
        m_pHideButton = new CControlButtonHide();
        m_pControls->Add(m_pHideButton);
    }
    m_pHideButton->SetHideFlags(m_pHideButton->GetHideFlags() | WVP_HIDE_HIDDEN);
    return m_pHideButton;
}

void CWVPToolBar::RedrawIfLayoutPending(DWORD mode)
{
    if ((mode & LM_COMMIT) && (m_dwLayoutFlags & 1))
    {
        m_dwLayoutFlags &= ~DWORD(1);
        Redraw();
    }
}

CSize CWVPToolBar::CalcDynamicLayout(int length, DWORD mode)
{
    CClientDC dc(::IsWindow(m_hWnd) ? this : nullptr);
    CWVPPaintManager* paintManager = GetPaintManager();
    CWVPFontDC font(&dc, paintManager->GetControlFont(this, FALSE));
    const int caption = paintManager->DrawCommandBarGripper(&dc, this, FALSE).cy;
    CRect borders = GetBorders();
    borders.top += caption + 1;
    if (m_bCloseable)
        EnsureHideButton();
    if (m_pCommandBars && m_bShowExpandButton)
        EnsureExpandButton();
    CSize size;
    if (m_barType == wvpBarTypePopup)
    {
        UpdateShortcuts();
        size = m_pControls->CalcPopupSize(&dc, length, m_nMRUWidth, borders);
    }
    else
        size = m_pControls->CalcDynamicSize(&dc, length, mode, borders);
    if (m_pHideButton)
    {
        const CRect rcClose(size.cx - WVP_FLOATING_BORDER - caption, WVP_FLOATING_BORDER,
                            size.cx - WVP_FLOATING_BORDER, WVP_FLOATING_BORDER + caption);
        m_pHideButton->SetHideFlags(m_pHideButton->GetHideFlags() & ~WVP_HIDE_HIDDEN);
        m_pHideButton->SetRect(rcClose);
        if (m_pExpandButton)
        {
            m_pExpandButton->SetFlags(m_pExpandButton->GetFlags() | WVP_CONTROLFLAG_WRAPROW);
            const BOOL allowed = !m_pCommandBars || m_pCommandBars->GetCommandBarsOptions()->bAlwaysShowExpandButton ||
                                 m_pCommandBars->IsCustomizeAllowed();
            if (allowed && rcClose.left - caption > WVP_FLOATING_BORDER)
            {
                m_pExpandButton->SetHideFlags(m_pExpandButton->GetHideFlags() & ~WVP_HIDE_HIDDEN);
                m_pExpandButton->SetRect(CRect(rcClose.left - caption, rcClose.top, rcClose.left, rcClose.bottom));
            }
        }
    }
    RedrawIfLayoutPending(mode);
    return size;
}

CSize CWVPToolBar::CalcDockingLayout(int length, DWORD mode)
{
    CClientDC dc(::IsWindow(m_hWnd) ? this : nullptr);
    CWVPPaintManager* paintManager = GetPaintManager();
    CWVPFontDC font(&dc, paintManager->GetControlFont(this, FALSE));
    CRect borders = GetBorders();
    ForgetRemovedButtons();
    if (m_pHideButton)
        m_pHideButton->SetHideFlags(m_pHideButton->GetHideFlags() | WVP_HIDE_HIDDEN);
    if (!m_bShowExpandButton)
        return m_pControls->CalcDynamicSize(&dc, length, mode, borders);

    EnsureExpandButton();
    CSize size = m_pControls->CalcDynamicSize(&dc, length, mode, borders);
    BOOL reserve = m_pCommandBars && m_pCommandBars->GetCommandBarsOptions()->bAlwaysShowExpandButton;
    if (!reserve && (mode & LM_COMMIT))
        for (int i = 0; i < GetControlCount() && !reserve; ++i)
            reserve = GetControl(i)->GetHideFlags() == WVP_HIDE_WRAP;
    if (reserve)
    {
        if (mode & LM_HORZDOCK)
            borders.right += WVP_EXPAND_BUTTON_SPACE;
        else
            borders.bottom += WVP_EXPAND_BUTTON_SPACE;
        size = m_pControls->CalcDynamicSize(&dc, length, mode, borders);
        // The chevron is laid out by the paint manager, never wrapped with the controls.
        m_pExpandButton->SetHideFlags(0);
        paintManager->DrawSpecialControl(&dc, kDrawExpandDocked, m_pExpandButton, this, FALSE, size);
    }
    if (!(mode & LM_COMMIT))
    {
        const CSize shortest = m_pControls->CalcDynamicSize(&dc, 1, mode, borders);
        if (m_pControls->GetVisibleCount(FALSE) > 1)
        {
            if (mode & LM_HORZDOCK)
                size.cx = std::max(size.cx, shortest.cx + WVP_EXPAND_BUTTON_SPACE);
            else if (mode & LM_VERTDOCK)
                size.cy = std::max(size.cy, shortest.cy + WVP_EXPAND_BUTTON_SPACE);
        }
    }
    RedrawIfLayoutPending(mode);
    return size;
}

LRESULT CWVPToolBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (!layout || !(::GetWindowLongW(m_hWnd, GWL_STYLE) & WS_VISIBLE))
        return 0;
    DWORD mode = kDockedLayout;
    if (m_dwFlags & WVP_BARFLAG_STRETCHED)
        mode |= kStretchLayout;
    if (m_dwFlags & WVP_BARFLAG_HIDEWRAP)
        mode |= kHideWrapLayout;
    if (!layout->hDWP)
        mode &= ~LM_COMMIT;
    const CRect rcLayout(layout->rect);
    CSize size = CalcDockingLayout(rcLayout.Width(), mode);
    size.cx = std::min(size.cx, rcLayout.Width());
    size.cy = std::min(size.cy, rcLayout.Height());
    const CRect rcBar(rcLayout.left, rcLayout.top, rcLayout.left + size.cx, rcLayout.top + size.cy);
    layout->rect.top += size.cy;
    layout->sizeTotal.cy += size.cy;
    layout->sizeTotal.cx = std::max<LONG>(layout->sizeTotal.cx, size.cx);
    if (layout->hDWP)
        layout->hDWP = ::DeferWindowPos(layout->hDWP, m_hWnd, nullptr, rcBar.left, rcBar.top, rcBar.Width(),
                                        rcBar.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    Redraw();
    return 0;
}

void CWVPToolBar::OnControlsChanged()
{
    if (!::IsWindow(m_hWnd) || !IsVisible() || m_bInRelayout)
        return;
    m_bInRelayout = TRUE;
    if (IsDockedPosition(m_barPosition))
    {
        if (m_pCommandBars)
            m_pCommandBars->RelayoutFrame(FALSE);
        else
            SendSiteSize(GetSite());
    }
    else if (m_barPosition == wvpBarFloating)
    {
        const CSize size = CalcDynamicLayout(-1, kFloatingRelayout);
        CRect rc;
        ::GetWindowRect(m_hWnd, &rc);
        ::MoveWindow(m_hWnd, rc.left, rc.top, size.cx, size.cy, TRUE);
    }
    Redraw();
    m_bInRelayout = FALSE;
}

void CWVPToolBar::SetVisible(BOOL visible)
{
    if (visible == m_bVisible)
        return;
    m_bVisible = visible;
    if (!visible)
        SetTrackingMode(0, TRUE, FALSE);
    if (::IsWindow(m_hWnd))
        ::ShowWindow(m_hWnd, visible ? SW_SHOWNA : SW_HIDE);
    if (visible)
        OnControlsChanged();
    else if (IsDockedPosition(m_barPosition))
    {
        if (m_pCommandBars)
            m_pCommandBars->RelayoutFrame(FALSE);
        else
        {
            SendSiteSize(GetSite());
            return;
        }
    }
    if (!m_pCommandBars)
        return;
    CWVPCommandBarManager* manager = m_pCommandBars;
    if (::IsWindow(manager->GetSite()))
        ::SendMessageW(manager->GetSite(), WVP_WM_BARVISIBLECHANGED, WPARAM(this), LPARAM(visible));
    if (!visible && m_bTearOff)
        manager->RemoveCommandBar(this);
    manager->GetCommandBarsOptions()->bLayoutChanged = TRUE;
}

void CWVPToolBar::Copy(CWVPToolBar* pSource, BOOL recursive)
{
    if (!pSource || pSource == this)
        return;
    m_strTitle = pSource->m_strTitle;
    m_nBarID = pSource->m_nBarID;
    m_dwFlags = pSource->m_dwFlags;
    m_dwStyle = pSource->m_dwStyle;
    m_barType = pSource->m_barType;
    m_bCustomizable = pSource->m_bCustomizable;
    m_pCommandBars = pSource->m_pCommandBars;
    m_pControls->Copy(pSource->m_pControls, recursive);
    m_bBuiltIn = pSource->m_bBuiltIn;
    m_bTearOff = pSource->m_bTearOff;
    m_bCloseable = pSource->m_bCloseable;
}

CWVPToolBar* CWVPToolBar::Clone(BOOL recursive)
{
    auto* pBar = static_cast<CWVPToolBar*>(GetRuntimeClass()->CreateObject());
    pBar->Copy(this, recursive);
    return pBar;
}

void CWVPToolBar::Reset(BOOL confirm)
{
    if (!m_bBuiltIn || !m_bCustomizable || !m_nBarID)
        return;
    if (confirm)
    {
        CString format, text;
        WVPResourceManager()->LoadString(&format, WVP_IDS_CONFIRMRESET);
        text.Format(format, LPCWSTR(m_strTitle));
        if (WVPResourceManager()->ShowMessageBox(text, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK)
            return;
    }
    if (CWVPOriginalControls* pOriginal = m_pControls->GetOriginalControls())
    {
        pOriginal->InternalAddRef();
        m_pControls->RemoveAll();
        for (int i = 0; i < pOriginal->GetCount(); ++i)
            if (!pOriginal->GetAt(i)->IsTemporary())
                m_pControls->AddClone(pOriginal->GetAt(i), -1, TRUE);
        pOriginal->InternalRelease();
    }
    else
        CWVPCommandBar::LoadToolBar(m_nBarID, FALSE);
    if (::IsWindow(GetOwnerSite()))
        ::SendMessageW(GetOwnerSite(), WVP_WM_TOOLBARRESET, 0, LPARAM(this));
    OnIdleUpdate();
    OnControlsChanged();
}

BOOL CWVPToolBar::CanReset()
{
    if (!m_bCustomizable)
        return FALSE;
    CWVPOriginalControls* pOriginal = m_pControls->GetOriginalControls();
    return !pOriginal || !m_pControls->IsEqual(pOriginal);
}

CRect CWVPToolBar::GetGripperRect()
{
    if (!GetShowGripper() || !IsDockedPosition(m_barPosition) || !m_pDockContext || !(m_dwFlags & WVP_BARFLAG_MOVABLE))
        return CRect(0, 0, 0, 0);
    CRect rcClient;
    GetClientRect(&rcClient);
    CClientDC dc(this);
    const CSize gripper = GetPaintManager()->DrawCommandBarGripper(&dc, this, FALSE);
    const CRect borders = GetPaintManager()->GetCommandBarBorders(this);
    if (IsVerticalPosition())
        return CRect(rcClient.left, rcClient.top, rcClient.right, rcClient.top + gripper.cy + borders.top);
    return CRect(rcClient.left, rcClient.top, rcClient.left + gripper.cx + borders.left, rcClient.bottom);
}

BOOL CWVPToolBar::OnSetCursor(CWnd* pWnd, UINT hitTest, UINT message)
{
    const CRect rcGripper = GetGripperRect();
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    if (!rcGripper.IsRectEmpty() && rcGripper.PtInRect(pt))
    {
        ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEALL));
        return TRUE;
    }
    return CWVPCommandBar::OnSetCursor(pWnd, hitTest, message);
}

void CWVPToolBar::OnRButtonDown(UINT flags, CPoint pt)
{
    if (CWVPControl* pControl = m_pControls->HitTest(pt))
        if (pControl->OnRButtonDown(pt))
            return;
    if (!m_pCommandBars)
        return;
    if (IsCustomizeMode())
    {
        CWVPCommandBar::OnRButtonDown(flags, pt);
        return;
    }
    SetTrackingMode(0, TRUE, FALSE);
    SetSelected(-1);
    Redraw();
    CPoint ptScreen = pt;
    ClientToScreen(&ptScreen);
    m_pCommandBars->ShowContextMenu(ptScreen);
}

BOOL CWVPToolBar::OnNcCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (!CWVPCommandBar::OnNcCreate(lpCreateStruct))
        return FALSE;
    if (::GetWindowLongW(m_hWnd, GWL_STYLE) & WVP_BARWINDOW_FLOATSTATUS)
    {
        const HWND top = ::GetAncestor(m_hWnd, GA_ROOTOWNER);
        const HWND foreground = ::GetForegroundWindow();
        BOOL active = top && foreground == top;
        if (!active && top && foreground && ::GetLastActivePopup(top) == foreground)
            active = ::SendMessageW(foreground, WM_FLOATSTATUS, FS_SYNCACTIVE, 0) != 0;
        SendMessage(WM_FLOATSTATUS, active ? FS_ACTIVATE : FS_DEACTIVATE, 0);
    }
    return TRUE;
}

BOOL CWVPToolBar::OnNcActivate(BOOL active)
{
    if (active)
        return FALSE;
    return CWVPCommandBar::OnNcActivate(active);
}

LRESULT CWVPToolBar::OnFloatStatus(WPARAM wParam, LPARAM)
{
    if (wParam & FS_SYNCACTIVE)
        return (::GetWindowLongW(m_hWnd, GWL_STYLE) & WVP_BARWINDOW_FLOATSTATUS) != 0;
    if (m_barPosition != wvpBarFloating || !m_bVisible)
        return 0;
    const HWND top = ::GetAncestor(m_hWnd, GA_ROOTOWNER);
    const BOOL follow = !m_pCommandBars || m_pCommandBars->GetCommandBarsOptions()->bSyncFloatingBars;
    if (follow)
    {
        const BOOL topActive = CWVPMouseManager::IsTopParentActive(m_hWnd);
        if ((wParam & FS_DEACTIVATE) && !topActive)
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, kShowHideFlags | SWP_HIDEWINDOW);
        if ((wParam & FS_ACTIVATE) && topActive && !::IsWindowVisible(m_hWnd))
        {
            const HWND foreground = ::GetForegroundWindow();
            if (foreground && ::IsWindowVisible(foreground) && !::IsIconic(foreground))
                ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, kShowHideFlags | SWP_SHOWWINDOW);
        }
        (void)top;
    }
    if (wParam & FS_SHOW)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, kShowHideFlags | SWP_SHOWWINDOW);
    if (wParam & FS_HIDE)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, kShowHideFlags | SWP_HIDEWINDOW);
    if (wParam & FS_ENABLE)
        ::EnableWindow(m_hWnd, TRUE);
    if (wParam & FS_DISABLE)
        ::EnableWindow(m_hWnd, FALSE);
    return 0;
}

int CWVPToolBar::OnMouseActivate(CWnd* pDesktopWnd, UINT hitTest, UINT message)
{
    if (m_barPosition == wvpBarFloating || IsCustomizeMode())
        return MA_NOACTIVATE;
    if (CWnd* pFocus = CWnd::GetFocus())
    {
        CWnd* pFrame = pFocus->GetParentFrame();
        if (pFrame && pFrame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)))
            return MA_NOACTIVATE;
    }
    return CWVPCommandBar::OnMouseActivate(pDesktopWnd, hitTest, message);
}

void CWVPToolBar::OnLButtonDown(UINT flags, CPoint pt)
{
    if (m_barPosition == wvpBarFloating)
        ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, kNoMoveSizeActivate);
    if (m_pControls->HitTest(pt))
    {
        CWVPCommandBar::OnLButtonDown(flags, pt);
        return;
    }
    WVPMouseManager()->CloseTrackedBars();
    if (m_pDockContext && (m_dwFlags & WVP_BARFLAG_MOVABLE))
    {
        CPoint ptScreen = pt;
        ClientToScreen(&ptScreen);
        m_pDockContext->StartDrag(ptScreen);
    }
}

LRESULT CWVPToolBar::OnNcHitTest(CPoint pt)
{
    if (m_barPosition == wvpBarFloating && m_barType != wvpBarTypePopup)
    {
        CRect rc;
        GetWindowRect(&rc);
        if (pt.y < rc.top + WVP_FLOATING_BORDER)
            return HTTOP;
        if (pt.y >= rc.bottom - WVP_FLOATING_BORDER)
            return HTBOTTOM;
        if (pt.x < rc.left + WVP_FLOATING_BORDER)
            return HTLEFT;
        if (pt.x >= rc.right - WVP_FLOATING_BORDER)
            return HTRIGHT;
    }
    return CWVPCommandBar::OnNcHitTest(pt);
}

void CWVPToolBar::OnNcLButtonDown(UINT hitTest, CPoint pt)
{
    if (!m_pDockContext)
        return;
    if (hitTest >= HTLEFT && hitTest <= HTBOTTOMRIGHT)
    {
        if (HWND top = ::GetAncestor(m_hWnd, GA_ROOTOWNER))
            ::SetActiveWindow(top);
        ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, kNoMoveSizeActivate);
        WVPMouseManager()->CloseTrackedBars();
        m_pDockContext->StartResize(int(hitTest), pt);
        return;
    }
    CWVPCommandBar::OnNcLButtonDown(hitTest, pt);
}

void CWVPToolBar::OnSetFocus(CWnd* pOldWnd)
{
    if (!m_hwndSavedFocus && pOldWnd)
        m_hwndSavedFocus = pOldWnd->GetSafeHwnd();
    Default();
    if (!m_pDockContext)
        SetTrackingMode(1, TRUE, FALSE);
}

void CWVPToolBar::OnClose()
{
}

void CWVPToolBar::OnLButtonDblClk(UINT flags, CPoint pt)
{
    if (m_pDockContext && !m_pControls->HitTest(pt))
    {
        m_pDockContext->ToggleDocking();
        return;
    }
    CWVPCommandBar::OnLButtonDblClk(flags, pt);
}

int CWVPToolBar::OnHookKeyDown(UINT key, LPARAM lParam)
{
    if (!m_pDockContext && key == VK_TAB)
    {
        const HWND parent = ::GetParent(m_hWnd);
        const BOOL previous = ::GetKeyState(VK_SHIFT) < 0;
        const HWND next = parent ? ::GetNextDlgTabItem(parent, m_hWnd, previous) : nullptr;
        if (next && next != m_hWnd)
        {
            ::SetFocus(next);
            SetTrackingMode(0, TRUE, FALSE);
            return 1;
        }
    }
    return CWVPCommandBar::OnHookKeyDown(key, lParam);
}
