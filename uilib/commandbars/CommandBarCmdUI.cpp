#include "uilib/commandbars/CommandBarCmdUI.h"
#include "uilib/commandbars/Control.h"

CWVPCommandBar::CCommandBarCmdUI::CCommandBarCmdUI(CWVPControl* pControl) : m_pControl(pControl), m_bCheckChanged(FALSE)
{
    m_nID = UINT(pControl->GetID());
}

void CWVPCommandBar::CCommandBarCmdUI::Enable(BOOL on)
{
    m_bEnableChanged = TRUE;
    // A control bound to an action follows the action while it is enabled.
    if (m_pControl->GetAction())
        m_pControl->SetEnabled(on ? -1 : 0);
    else
        m_pControl->SetEnabled(on ? 1 : 0);
    // A disabled command shows no check mark unless its handler sets one in the same update.
    if (!on && !m_bCheckChanged)
        m_pControl->SetChecked(0);
}

void CWVPCommandBar::CCommandBarCmdUI::SetCheck(int check)
{
    m_bCheckChanged = TRUE;
    m_pControl->SetChecked(check);
}

void CWVPCommandBar::CCommandBarCmdUI::SetText(LPCWSTR text)
{
    m_pControl->SetCaption(text);
}
