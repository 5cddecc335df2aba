#include "uilib/commandbars/ControlButton.h"
#include "uilib/commandbars/CommandBar.h"

IMPLEMENT_SERIAL(CWVPControlButton, CWVPControl, VERSIONABLE_SCHEMA | 0x21)

CWVPControlButton::CWVPControlButton()
{
    m_nType = wvpControlButton;
}

void CWVPControlButton::OnClick(BOOL keyboard, CPoint pt)
{
    if (!GetEnabled())
        return;
    if (IsCustomizeMode())
    {
        if (m_pParent)
        {
            m_pParent->SetPopuped(-1);
            m_pParent->SetSelected(-1);
        }
        return;
    }
    (void)pt;
    if (keyboard)
    {
        OnExecute();
        return;
    }
    if (m_pParent && m_pParent->GetType() != wvpBarTypePopup)
        ClickToolBarButton(m_rcControl);
}

void CWVPControlButton::OnLButtonUp(CPoint)
{
    if (GetEnabled() && m_pParent &&
        (m_pParent->GetType() == wvpBarTypePopup || m_pParent->GetPosition() == wvpBarPopup))
        OnExecute();
}

void CWVPControlButton::Copy(CWVPControl* pSource, BOOL recursive)
{
    CWVPControl::Copy(pSource, recursive);
}

CWVPControl* CWVPControlButton::Clone(BOOL recursive)
{
    CWVPControl* pClone = static_cast<CWVPControl*>(GetRuntimeClass()->CreateObject());
    pClone->Copy(this, recursive);
    return pClone;
}
