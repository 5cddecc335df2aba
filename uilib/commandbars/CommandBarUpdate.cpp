// The bar's idle update (document-template visibility, command updates of its controls), the
// selection notice with the status line, and the automatic shortcut texts.
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/CommandBarCmdUI.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/ControlAction.h"
#include "uilib/commandbars/Controls.h"

namespace
{
// The hide flags under which a control still gets command updates: hidden by the user, scrolled
// out of a popup or waiting for the popup to expand.
const DWORD kUpdateHideMask = WVP_HIDE_HIDDEN | WVP_HIDE_SCROLL | WVP_HIDE_EXPAND;
// The reflected update request a bar answers for itself (CN_UPDATE_COMMAND_UI, reflected WM_COMMAND).
const int kReflectedUpdate = int(MAKELONG(0xFFFF, WM_REFLECT_BASE + WM_COMMAND));

// The help id that describes a selected control.
UINT SelectionHelpId(CWVPControl* pControl)
{
    if (pControl->GetHelpId() > 0)
        return UINT(pControl->GetHelpId());
    if (CWVPControlAction* pAction = pControl->GetAction())
        return UINT(pAction->GetHelpId() > 0 ? pAction->GetHelpId() : pAction->GetId());
    return UINT(pControl->GetID());
}

BOOL InMap(const CWVPControl::CDocTemplateMap& map, UINT id)
{
    BOOL value = FALSE;
    return map.Lookup(id, value);
}
} // namespace

UINT CWVPCommandBar::GetActiveDocTemplate() const
{
    return m_pCommandBars ? m_pCommandBars->GetActiveDocTemplate() : 0;
}

void CWVPCommandBar::UpdateDocTemplateControls()
{
    const UINT active = GetActiveDocTemplate();
    if (!active)
        return;
    BOOL changed = FALSE;
    for (int i = 0; i < m_pControls->GetCount(); ++i)
    {
        CWVPControl* pControl = m_pControls->GetAt(i);
        if (pControl->GetParent() != this)
            continue;
        DWORD flags = pControl->GetHideFlags();
        const CWVPControl::CDocTemplateMap& assigned = pControl->GetDocTemplatesAssigned();
        const CWVPControl::CDocTemplateMap& excluded = pControl->GetDocTemplatesExcluded();
        if (assigned.IsEmpty() && excluded.IsEmpty())
            continue;
        // Shown for the templates it is assigned to (all when none are), less those it is
        // excluded from.
        const BOOL shown = (assigned.IsEmpty() || InMap(assigned, active)) && !InMap(excluded, active);
        flags = shown ? flags & ~WVP_HIDE_DOCTEMPLATE : flags | WVP_HIDE_DOCTEMPLATE;
        if (flags != pControl->GetHideFlags())
        {
            pControl->SetHideFlags(flags);
            changed = TRUE;
        }
    }
    if (changed)
        DelayLayout();
}

void CWVPCommandBar::UpdateControlsCmdUI()
{
    const HWND site = GetOwnerSite();
    if (!GetSafeHwnd() || !site)
        return;
    CWVPCommandBarManager* manager = GetCommandBars();
    const BOOL disableIfNoHandler = manager ? manager->GetCommandBarsOptions()->bDisableCommandIfNoHandler : FALSE;
    const BOOL customize = IsCustomizeMode();
    const BOOL updates = !GetRootParent()->IsNoNotifyTracking();
    CWnd* pSite = CWnd::FromHandle(site);

    for (int i = 0; i < m_pControls->GetCount(); ++i)
    {
        CWVPControl* pControl = m_pControls->GetAt(i);
        if (!pControl->IsVisible(kUpdateHideMask))
            continue;
        pControl->OnIdleUpdate();
        if (!updates || (pControl->GetFlags() & WVP_CONTROLFLAG_MANUALUPDATE))
            continue;
        CCommandBarCmdUI state(pControl);
        state.m_pOther = this;
        state.m_nIndex = UINT(i);
        state.m_nIndexMax = UINT(m_pControls->GetCount());
        if (CWnd::OnCmdMsg(0, kReflectedUpdate, &state, nullptr))
            continue;
        if (OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state, nullptr))
            continue;
        if (!customize)
            state.DoUpdate(pSite, disableIfNoHandler);
        else if (pControl->GetOwnEnabled() != -1)
            pControl->SetEnabled(TRUE);
    }
    // Windows hosted on the bar (edit fields, combo boxes) update as dialog controls do.
    UpdateDialogControls(pSite, disableIfNoHandler);
}

void CWVPCommandBar::OnControlSelected(BOOL selected, CWVPControl* pControl)
{
    if (!pControl)
        return;
    if (HWND site = GetSite())
        ::SendMessageW(site, WVP_WM_CONTROLSELECTED, selected ? WPARAM(pControl) : 0, 0);
    if (CWVPCommandBarManager* manager = GetCommandBars())
        manager->SetHelpId(selected ? SelectionHelpId(pControl) : 0);
    if (pControl->GetIndex() != m_nStatusControl)
    {
        m_nStatusControl = -1;
        ShowStatusText(selected ? LPCWSTR(pControl->GetDescription()) : L"");
    }
    else if (!selected)
    {
        // The status line keeps what the control's command showed.
        m_nStatusControl = -1;
    }
}

void CWVPCommandBar::ShowStatusText(LPCWSTR text)
{
    CWVPCommandBarManager* manager = GetCommandBars();
    if (manager && !manager->GetCommandBarsOptions()->bShowStatusDescriptions)
        return;
    const HWND site = GetSite();
    if (!site)
        return;
    if (text && *text)
        ::SendMessageW(site, WM_SETMESSAGESTRING, 0, LPARAM(text));
    else
        ::SendMessageW(site, WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE, 0);
}

void CWVPCommandBar::UpdateShortcuts()
{
    CWVPCommandBarManager* manager = GetCommandBars();
    if (!manager || !manager->GetCommandBarsOptions()->bAutoUpdateShortcuts)
        return;
    for (int i = 0; i < m_pControls->GetCount(); ++i)
    {
        CWVPControl* pControl = m_pControls->GetAt(i);
        if (pControl->GetParent() == this && pControl->IsVisible() && pControl->GetID() > 0)
            pControl->SetShortcutTextAuto(manager->GetShortcutText(UINT(pControl->GetID())));
    }
}
