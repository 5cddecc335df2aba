#include "uilib/commandbars/ControlWindowList.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/ListControlItems.h"
#include "uilib/foundation/DrawHelpers.h"

IMPLEMENT_SERIAL(CWVPControlWindowList, CWVPControlButton, VERSIONABLE_SCHEMA | 0x21)

namespace
{
const int kMaxWindowItems = 9;
const UINT kWindowItemPrompt = 0xEF1F; // the prompt and help id of "activate this window"

// MDI clients number their children from a first id; frames that keep the classic ranges use
// 0x8000 or 1 instead of the usual 0xFF00.
const UINT kDefaultFirstChild = 0xFF00;
struct FirstChildRange
{
    UINT low, high;
};
const FirstChildRange kFirstChildRanges[] = {{0x8000, 0x802E}, {1, 46}};

UINT g_firstMDIChild = kDefaultFirstChild;

BOOL IsWindowItem(const CWVPControl*, const CWVPControl* pItem)
{
    return UINT(pItem->GetID()) >= g_firstMDIChild;
}
} // namespace

CWVPControlWindowList::CWVPControlWindowList()
{
    m_nType = wvpControlButton;
}

UINT CWVPControlWindowList::GetFirstMDIChild()
{
    return g_firstMDIChild;
}

BOOL CWVPControlWindowList::IsCustomizeDragOverAvail(CWVPCommandBar* pBar)
{
    return WVPListControlDropAllowed(pBar);
}

void CWVPControlWindowList::OnCalcDynamicSize(DWORD)
{
    if (!WVPBeginListRebuild(this, IsWindowItem))
        return;
    CFrameWnd* pFrame = m_pParent ? m_pParent->GetSiteFrame() : nullptr;
    CMDIFrameWnd* pMDIFrame =
        pFrame && pFrame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)) ? static_cast<CMDIFrameWnd*>(pFrame) : nullptr;
    const HWND client = pMDIFrame ? pMDIFrame->m_hWndMDIClient : nullptr;
    if (!client || !::IsWindow(client))
    {
        SetHideFlags(0);
        return;
    }
    SetHideFlags(WVP_HIDE_HIDDEN);

    const HWND active = HWND(::SendMessageW(client, WM_MDIGETACTIVE, 0, 0));
    if (active)
    {
        const UINT activeId = UINT(::GetDlgCtrlID(active));
        for (const FirstChildRange& range : kFirstChildRanges)
            if (activeId >= range.low && activeId <= range.high)
                g_firstMDIChild = range.low;
    }

    CString prompt;
    prompt.LoadString(kWindowItemPrompt);
    int added = 0;
    for (UINT id = g_firstMDIChild; added < kMaxWindowItems; ++id)
    {
        const HWND child = ::GetDlgItem(client, int(id));
        if (!child)
            break;
        if (!::IsWindowVisible(child))
            continue;
        CString text;
        CWVPDrawHelpers::GetDefWindowText(child, text);
        CWVPControl* pItem = m_pControls->AddByType(wvpControlButton, int(id), L"", GetIndex() + 1 + added, TRUE);
        if (!pItem)
            break;
        ++added;
        pItem->SetCaption(WVPFormatMenuCaption(text, added));
        pItem->SetChecked(child == active);
        pItem->SetHelpId(int(kWindowItemPrompt));
        pItem->SetPrompt(prompt);
        pItem->SetBeginGroup(added == 1);
        pItem->SetFlags(pItem->GetFlags() | WVP_CONTROLFLAG_MANUALUPDATE |
                        (added == 1 ? (m_dwFlags & WVP_CONTROLFLAG_WRAPROW) : 0));
    }
}
