#include "uilib/commandbars/PopupBar.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/ControlPopup.h"
#include "uilib/commandbars/Controls.h"

IMPLEMENT_DYNCREATE(CWVPPopupBar, CWVPCommandBar)

CWVPPopupBar::CWVPPopupBar() : m_pControlPopup(nullptr), m_bShowShadow(TRUE), m_bExpanded(FALSE)
{
    m_barType = wvpBarTypePopup;
    m_barPosition = wvpBarPopup;
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
