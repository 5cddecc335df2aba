#include "uilib/commandbars/ControlWorkspaceActions.h"
#include "uilib/commandbars/ListControlItems.h"

IMPLEMENT_SERIAL(CWVPControlWorkspaceActions, CWVPControlButton, VERSIONABLE_SCHEMA | 0x21)

namespace
{
const int kFirstWorkspaceAction = 9155;
const int kLastWorkspaceAction = 9158;

BOOL IsWorkspaceItem(const CWVPControl*, const CWVPControl* pItem)
{
    return pItem->GetID() >= kFirstWorkspaceAction && pItem->GetID() <= kLastWorkspaceAction;
}
} // namespace

CWVPControlWorkspaceActions::CWVPControlWorkspaceActions()
{
    m_nType = wvpControlButton;
}

void CWVPControlWorkspaceActions::OnCalcDynamicSize(DWORD)
{
    if (!m_pParent)
        return;
    // The actions exist only for a tab-group MDI client, which this library's frames do not
    // have: the items of an earlier layout go and the control keeps its hide flags.
    WVPRemoveGeneratedItems(this, IsWorkspaceItem);
}
