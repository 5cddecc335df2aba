#include "uilib/commandbars/ControlPopup.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/commandbars/PopupBar.h"
#include "uilib/commandbars/ShadowManager.h"

IMPLEMENT_SERIAL(CWVPControlPopup, CWVPControlButton, VERSIONABLE_SCHEMA | 0x21)

namespace
{
// The bar's hover timer, stopped so that a press on a split button's button part in a menu does
// not open its submenu.
const UINT kHoverTimer = 112223;

BOOL IsPopupTypeBar(const CWVPCommandBar* pBar)
{
    return pBar && (pBar->GetType() == wvpBarTypePopup || pBar->GetPosition() == wvpBarPopup);
}
} // namespace

CWVPControlPopup::CWVPControlPopup()
    : m_bPopuped(FALSE), m_pCommandBar(nullptr), m_nLoadedBarId(0), m_bControlShadow(TRUE)
{
    m_nType = wvpControlPopup;
}

CWVPControlPopup::~CWVPControlPopup()
{
    SetCommandBar(nullptr);
}

CWVPControlPopup* AFX_CDECL CWVPControlPopup::CreatePopupControl(int type)
{
    CWVPControlPopup* pPopup = static_cast<CWVPControlPopup*>(RUNTIME_CLASS(CWVPControlPopup)->CreateObject());
    pPopup->m_nType = type;
    return pPopup;
}

void CWVPControlPopup::SetCommandBar(CWVPCommandBar* pBar)
{
    if (pBar)
        pBar->InternalAddRef();
    if (m_pCommandBar)
    {
        if (m_pCommandBar->IsKindOf(RUNTIME_CLASS(CWVPPopupBar)) &&
            static_cast<CWVPPopupBar*>(m_pCommandBar)->GetControlPopup() == this)
            static_cast<CWVPPopupBar*>(m_pCommandBar)->SetControlPopup(nullptr);
        m_pCommandBar->InternalRelease();
    }
    m_pCommandBar = pBar;
    if (pBar && pBar->IsKindOf(RUNTIME_CLASS(CWVPPopupBar)))
        static_cast<CWVPPopupBar*>(pBar)->SetControlPopup(this);
}

CWVPCommandBar* CWVPControlPopup::GetCommandBar() const
{
    return m_pCommandBar;
}

BOOL CWVPControlPopup::GetPopuped() const
{
    return m_bPopuped;
}

BOOL CWVPControlPopup::OnSetPopup(BOOL open)
{
    if (!m_pCommandBar)
        return FALSE;
    if (m_nType == wvpControlSplitButtonPopup && GetEnabled() == WVP_SPLIT_BUTTON_ONLY)
        return FALSE;
    if (!m_pParent || !m_pParent->GetSafeHwnd())
        return FALSE;
    m_bPopuped = open;
    if (!open)
    {
        m_pCommandBar->SetTrackingMode(0, TRUE);
        RedrawParent(TRUE);
        return TRUE;
    }
    RedrawParent(FALSE);
    if (HWND site = m_pParent->GetOwnerSite())
        ::UpdateWindow(site);
    ::UpdateWindow(m_pParent->GetSafeHwnd());
    if (m_pCommandBar->GetTrackingMode() != 0)
        return TRUE;
    if (!m_pCommandBar->Popup(this, m_nSelected == 2 || m_nSelected == 3))
    {
        m_bPopuped = FALSE;
        return FALSE;
    }
    UpdateShadow();
    return TRUE;
}

void CWVPControlPopup::OnClick(BOOL keyboard, CPoint pt)
{
    if (!GetEnabled())
        return;
    const BOOL customize = IsCustomizeMode();
    if (customize && (!m_pParent || !m_pParent->GetCommandBars()))
        return;
    if (m_bPopuped && m_pParent && m_pParent->GetPosition() != wvpBarPopup)
    {
        m_pParent->SetTrackingMode(0);
        return;
    }
    if (m_nType == wvpControlSplitButtonPopup && !customize)
    {
        const int enabled = GetEnabled();
        if (keyboard)
        {
            if (enabled == WVP_SPLIT_ARROW_ONLY)
            {
                if (m_pParent)
                    m_pParent->SetPopuped(m_nIndex, TRUE);
            }
            else
                OnExecute();
            return;
        }
        const CRect command = GetPaintManager()->GetSplitButtonCommandRect(this);
        if (command.PtInRect(pt))
        {
            if (IsPopupTypeBar(m_pParent))
            {
                if (m_pParent && m_pParent->GetSafeHwnd())
                    ::KillTimer(m_pParent->GetSafeHwnd(), kHoverTimer);
            }
            else if (enabled != WVP_SPLIT_ARROW_ONLY)
                ClickToolBarButton(command);
            return;
        }
        if (enabled == WVP_SPLIT_BUTTON_ONLY)
            return;
    }
    if (m_pParent && (!customize || !m_pCommandBar || m_pCommandBar->IsCustomizable()))
        m_pParent->SetPopuped(m_nIndex, keyboard);
}

void CWVPControlPopup::OnLButtonUp(CPoint pt)
{
    if (!m_pCommandBar)
    {
        CWVPControlButton::OnLButtonUp(pt);
        return;
    }
    if (m_nType == wvpControlSplitButtonPopup && m_pParent && m_pParent->GetType() == wvpBarTypePopup)
    {
        const int enabled = GetEnabled();
        if (enabled && enabled != WVP_SPLIT_ARROW_ONLY &&
            pt.x + GetPaintManager()->m_nPopupSplitArrowWidth < m_rcControl.right)
            OnExecute();
    }
}

BOOL CWVPControlPopup::OnLButtonDblClk(CPoint pt)
{
    CWVPPopupBar* pPopup = m_pCommandBar && m_pCommandBar->IsKindOf(RUNTIME_CLASS(CWVPPopupBar))
                               ? static_cast<CWVPPopupBar*>(m_pCommandBar)
                               : nullptr;
    if (!(m_nType == wvpControlPopup || m_nType == wvpControlButtonPopup) || !pPopup)
    {
        OnClick(FALSE, pt);
        return TRUE;
    }
    if (!m_bPopuped && m_pParent)
        m_pParent->SetPopuped(m_nIndex);
    if (!m_bPopuped)
        return FALSE;
    CWVPControls* pControls = pPopup->GetControls();
    for (int i = 0; i < pControls->GetCount(); ++i)
    {
        CWVPControl* pItem = pControls->GetAt(i);
        if (pItem->GetParent() == pPopup && pItem->IsVisible(0) && pItem->GetDefaultItem())
        {
            pItem->OnExecute();
            return TRUE;
        }
    }
    return pPopup->ExpandHiddenItems();
}

void CWVPControlPopup::OnMouseMove(CPoint pt)
{
    if (m_nType != wvpControlSplitButtonPopup || !m_pCommandBar || !GetEnabled() || !m_nSelected)
        return;
    const int state = GetPaintManager()->GetSplitButtonCommandRect(this).PtInRect(pt) ? 4 : 5;
    if (state != m_nSelected)
    {
        m_nSelected = state;
        RedrawParent(FALSE);
    }
}

void CWVPControlPopup::OnMouseHover()
{
    if (GetEnabled() && m_pCommandBar && m_pParent &&
        (m_pParent->GetTrackingMode() == 2 || m_pParent->GetPosition() == wvpBarPopup))
    {
        m_pParent->SetPopuped(m_nIndex);
        return;
    }
    CWVPControl::OnMouseHover();
}

BOOL CWVPControlPopup::OnSetSelected(int state)
{
    if (!CWVPControl::OnSetSelected(state))
        return FALSE;
    if (!m_pCommandBar || !m_pParent)
        return TRUE;
    const BOOL barIsPopup = m_pParent->GetPosition() == wvpBarPopup;
    if (m_nType == wvpControlPopup || IsPopupTypeBar(m_pParent))
    {
        if (state && GetEnabled() && m_pParent->GetTrackingMode() == 2 && !barIsPopup)
            m_pParent->SetPopuped(m_nIndex);
        else if (!state && m_bPopuped && !barIsPopup)
            m_pParent->SetPopuped(-1);
    }
    else if ((state == 2 || state == 3) && GetEnabled() && m_pParent->GetTrackingMode() == 2)
        m_pParent->SetPopuped(m_nIndex, TRUE);
    return TRUE;
}

BOOL CWVPControlPopup::ActivateByKeyboard()
{
    if (m_pCommandBar && m_pParent)
        return m_pParent->SetPopuped(m_nIndex, TRUE);
    OnExecute();
    return TRUE;
}

BOOL CWVPControlPopup::Compare(CWVPControl* pOther)
{
    if (!CWVPControl::Compare(pOther) || !pOther->IsKindOf(RUNTIME_CLASS(CWVPControlPopup)))
        return FALSE;
    CWVPCommandBar* pOtherBar = pOther->GetCommandBar();
    if (m_pCommandBar && pOtherBar)
        return m_pCommandBar->GetControls()->IsEqual(pOtherBar->GetControls());
    return TRUE;
}

void CWVPControlPopup::Copy(CWVPControl* pSource, BOOL recursive)
{
    CWVPControlButton::Copy(pSource, recursive);
    CWVPCommandBar* pSourceBar = pSource->GetCommandBar();
    if (!pSourceBar)
    {
        SetCommandBar(nullptr);
        return;
    }
    if (recursive && pSourceBar->IsKindOf(RUNTIME_CLASS(CWVPPopupBar)))
    {
        CWVPCommandBar* pClone = static_cast<CWVPPopupBar*>(pSourceBar)->Clone(TRUE);
        SetCommandBar(pClone);
        pClone->InternalRelease();
    }
    else
        SetCommandBar(pSourceBar);
}

CWVPControl* CWVPControlPopup::Clone(BOOL recursive)
{
    CWVPControl* pClone = static_cast<CWVPControl*>(GetRuntimeClass()->CreateObject());
    pClone->Copy(this, recursive);
    return pClone;
}

BOOL CWVPControlPopup::IsCustomizeDragOverAvail(CWVPCommandBar* pBar)
{
    for (CWVPCommandBar* p = pBar; p; p = p->GetParentCommandBar())
        if (p == m_pCommandBar)
            return FALSE;
    return TRUE;
}

BOOL CWVPControlPopup::AdjustExcludeRect(CRect& rc, BOOL vertical)
{
    GetPaintManager()->AdjustExcludeRect(rc, this, vertical);
    return TRUE;
}

void CWVPControlPopup::UpdateShadow()
{
    if (!m_pCommandBar || !m_pParent || m_pParent->GetPosition() == wvpBarPopup)
        return;
    if (m_nType != wvpControlPopup && m_nType != wvpControlButtonPopup && m_nType != wvpControlSplitButtonPopup)
        return;
    if (m_pParent->GetPosition() == wvpBarFloating && m_pParent->GetType() == wvpBarTypePopup)
        return;
    if (!m_pCommandBar->IsKindOf(RUNTIME_CLASS(CWVPPopupBar)) ||
        !static_cast<CWVPPopupBar*>(m_pCommandBar)->IsShowShadow() || !m_bControlShadow || IsCustomizeMode())
        return;
    CWVPPaintManager* paintManager = GetPaintManager();
    if (!paintManager->m_bShowPopupShadows || !m_pParent->GetSafeHwnd())
        return;
    CRect rc = m_rcControl;
    ::MapWindowPoints(m_pParent->GetSafeHwnd(), nullptr, reinterpret_cast<POINT*>(&rc), 2);
    paintManager->m_pShadowManager->SetControlShadow(rc, m_pCommandBar);
}

BOOL CWVPControlPopup::HasPopupInTree(CWVPControlPopup* pOther) const
{
    if (!m_pCommandBar || !pOther->m_pCommandBar)
        return FALSE;
    if (pOther->m_pCommandBar == m_pCommandBar)
        return TRUE;
    CWVPControls* pControls = m_pCommandBar->GetControls();
    for (int i = 0; i < pControls->GetCount(); ++i)
    {
        CWVPControl* pItem = pControls->GetAt(i);
        if (pItem->IsKindOf(RUNTIME_CLASS(CWVPControlPopup)) &&
            static_cast<CWVPControlPopup*>(pItem)->HasPopupInTree(pOther))
            return TRUE;
    }
    return FALSE;
}
