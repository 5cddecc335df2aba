#include "uilib/commandbars/ControlToolbars.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/ListControlItems.h"

IMPLEMENT_SERIAL(CWVPControlToolbars, CWVPControlButton, VERSIONABLE_SCHEMA | 0x21)

// The run-time class of the nested item class, written out: the class macros take plain names.
CObject* CWVPControlToolbars::CWVPControlToolbar::CreateObject()
{
    return new CWVPControlToolbar;
}
CRuntimeClass CWVPControlToolbars::CWVPControlToolbar::classCWVPControlToolbar = {"CWVPControlToolbar",
                                                                                  sizeof(CWVPControlToolbar),
                                                                                  0xFFFF,
                                                                                  CWVPControlToolbar::CreateObject,
                                                                                  RUNTIME_CLASS(CWVPControlButton),
                                                                                  nullptr,
                                                                                  nullptr};
static const AFX_CLASSINIT s_initControlToolbar(&CWVPControlToolbars::CWVPControlToolbar::classCWVPControlToolbar);
CRuntimeClass* CWVPControlToolbars::CWVPControlToolbar::GetRuntimeClass() const
{
    return &classCWVPControlToolbar;
}

namespace
{
const LPCWSTR kToolbarItemParameter = L"CWVPControlToolbar";

BOOL IsToolbarItem(const CWVPControl*, const CWVPControl* pItem)
{
    return pItem->GetParameter() == kToolbarItemParameter;
}

// The bars a user can show and hide from the list: the manager's tool bars.
BOOL IsListedBar(const CWVPCommandBar* pBar)
{
    return pBar && pBar->GetType() == wvpBarTypeNormal;
}
} // namespace

CWVPControlToolbars::CWVPControlToolbars()
{
    m_nType = wvpControlButton;
}

BOOL CWVPControlToolbars::IsCustomizeDragOverAvail(CWVPCommandBar* pBar)
{
    return WVPListControlDropAllowed(pBar);
}

void CWVPControlToolbars::OnCalcDynamicSize(DWORD)
{
    if (!WVPBeginListRebuild(this, IsToolbarItem))
        return;
    SetHideFlags(WVP_HIDE_HIDDEN);
    if (m_pParent)
        AddToolbarItems(m_pParent, GetIndex() + 1, m_nId, FALSE, m_bBeginGroup);
}

void CWVPControlToolbars::AddToolbarItems(CWVPCommandBar* pBar, int index, int id, BOOL addCustomize, BOOL beginGroup)
{
    CWVPCommandBarManager* manager = pBar ? pBar->GetCommandBars() : nullptr;
    if (!manager)
        return;
    CWVPControls* controls = pBar->GetControls();
    BOOL first = TRUE;
    for (int i = 0; i < manager->GetBarCount(); ++i)
    {
        CWVPCommandBar* pListed = manager->GetBar(i);
        if (!IsListedBar(pListed))
            continue;
        CWVPControl* pItem = controls->AddControl(new CWVPControlToolbar, id, kToolbarItemParameter, index++, TRUE);
        pItem->SetTag(DWORD_PTR(i));
        pItem->SetCaption(WVPFormatMenuCaption(pListed->GetTitle(), 0));
        pItem->SetChecked(pListed->GetSafeHwnd() && ::IsWindowVisible(pListed->GetSafeHwnd()));
        pItem->SetFlags(pItem->GetFlags() | WVP_CONTROLFLAG_MANUALUPDATE);
        pItem->SetBeginGroup(first && beginGroup);
        first = FALSE;
    }
    if (addCustomize && manager->m_bCustomizeAvail)
    {
        CWVPControl* pCustomize = controls->AddByType(wvpControlButton, WVP_ID_CUSTOMIZE, L"", index, TRUE);
        if (pCustomize)
            pCustomize->SetBeginGroup(TRUE);
    }
}

void CWVPControlToolbars::CWVPControlToolbar::OnExecute()
{
    CWVPCommandBarManager* manager = m_pParent ? m_pParent->GetCommandBars() : nullptr;
    if (!manager)
        return;
    manager->ClosePopups();
    CWVPCommandBar* pBar = manager->GetBar(int(m_nTag));
    if (!pBar || !pBar->GetSafeHwnd())
        return;
    // Shows or hides the bar and lets the frame lay its bars out again.
    pBar->ShowWindow(::IsWindowVisible(pBar->GetSafeHwnd()) ? SW_HIDE : SW_SHOWNA);
    if (CFrameWnd* pFrame = pBar->GetSiteFrame())
        pFrame->RecalcLayout();
}
