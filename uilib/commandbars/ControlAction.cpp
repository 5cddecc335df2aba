#include "uilib/commandbars/ControlAction.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/ControlActions.h"
#include "uilib/commandbars/PromptText.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CWVPControlAction, CCmdTarget)

CWVPControlAction::CWVPControlAction(CWVPControlActions* ownerList)
    : m_pAttached(nullptr), m_nId(0), m_nIconId(0), m_nHelpId(0), m_nEnabled(1), m_nChecked(0), m_bVisible(TRUE),
      m_pOwnerList(ownerList)
{
}

CWVPControlAction::~CWVPControlAction()
{
    if (m_pAttached)
        m_pAttached->InternalRelease();
    // Controls that still point here follow their own state from now on.
    for (CWVPControl* pControl : m_controls)
        pControl->m_pAction = nullptr;
}

int CWVPControlAction::GetEnabled() const
{
    CWVPCommandBarManager* manager = m_pOwnerList ? m_pOwnerList->GetOwner() : nullptr;
    if (manager && manager->IsCustomizeMode())
        return 1;
    return m_nEnabled;
}

CString CWVPControlAction::GetCaption() const
{
    return m_strCaption.IsEmpty() ? m_strTooltip : m_strCaption;
}

void CWVPControlAction::SetEditHint(LPCWSTR hint)
{
    const CString value = hint ? hint : L"";
    if (value == m_strEditHint)
        return;
    OnChanging(PropertyEditHint);
    m_strEditHint = value;
    OnChanged(PropertyEditHint);
}

void CWVPControlAction::SetCaption(LPCWSTR text)
{
    CString caption = text ? text : L"";
    const int tab = caption.Find(L'\t');
    if (tab >= 0)
        caption = caption.Left(tab);
    if (caption == m_strCaption)
        return;
    OnChanging(PropertyCaption);
    m_strCaption = caption;
    OnChanged(PropertyCaption);
    for (CWVPControl* pControl : m_controls)
        pControl->DelayLayoutParent();
}

void CWVPControlAction::SetPrompt(LPCWSTR text)
{
    if (!text || !*text)
        return;
    const WVPPromptParts prompt = WVPSplitPrompt(text);
    if (prompt.hasNewLine)
    {
        m_strTooltip = prompt.parts[1];
        m_strDescription = prompt.parts[0];
    }
    else
        m_strTooltip = m_strDescription = text;
    if (m_strKeyboardTip.IsEmpty())
        m_strKeyboardTip = prompt.parts[3];
}

void CWVPControlAction::SetAttachedObject(CCmdTarget* object)
{
    if (m_pAttached)
        m_pAttached->InternalRelease();
    m_pAttached = object;
}

int CWVPControlAction::AddControl(CWVPControl* pControl)
{
    auto it = std::find(m_controls.begin(), m_controls.end(), pControl);
    if (it != m_controls.end())
        return int(it - m_controls.begin());
    m_controls.push_back(pControl);
    pControl->m_nEnabled = -1;
    pControl->m_nChecked = -1;
    pControl->m_nId = m_nId;
    pControl->m_strCaption.Empty();
    pControl->m_strTooltipText.Empty();
    pControl->m_strDescriptionText.Empty();
    pControl->m_strCategory.Empty();
    pControl->m_strShortcutText.Empty();
    pControl->m_strKeyboardTip.Empty();
    return int(m_controls.size()) - 1;
}

void CWVPControlAction::RemoveControl(CWVPControl* pControl)
{
    auto it = std::find(m_controls.begin(), m_controls.end(), pControl);
    if (it == m_controls.end())
        return;
    m_controls.erase(it);
    pControl->m_nEnabled = 1;
    pControl->m_nChecked = 0;
}

void CWVPControlAction::OnChanging(int property)
{
    const std::vector<CWVPControl*> controls = m_controls;
    for (CWVPControl* pControl : controls)
        pControl->OnActionChanging(property);
}

void CWVPControlAction::OnChanged(int property)
{
    const std::vector<CWVPControl*> controls = m_controls;
    for (CWVPControl* pControl : controls)
        pControl->OnActionChanged(property);
}
