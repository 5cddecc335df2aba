#include "uilib/commandbars/ControlActions.h"
#include "uilib/commandbars/ControlAction.h"
#include "uilib/foundation/ResourceManager.h"

#include <algorithm>

namespace
{
const int kLastActionId = 0x0FFFFFFE;

bool IdLess(const CWVPControlAction* action, int id)
{
    return action->GetId() < id;
}
} // namespace

CWVPControlActions::CWVPControlActions(CWVPCommandBarManager* owner) : m_pOwner(owner)
{
}

CWVPControlActions::~CWVPControlActions()
{
    RemoveAll();
}

void CWVPControlActions::RemoveAll()
{
    std::vector<CWVPControlAction*> actions;
    actions.swap(m_actions);
    for (CWVPControlAction* action : actions)
        action->InternalRelease();
}

CWVPControlAction* CWVPControlActions::GetAt(int index) const
{
    if (index < 0 || index >= GetCount())
        AfxThrowInvalidArgException();
    return m_actions[index];
}

CWVPControlAction* CWVPControlActions::FindAction(int id) const
{
    if (id < 1 || id > kLastActionId)
        return nullptr;
    auto it = std::lower_bound(m_actions.begin(), m_actions.end(), id, IdLess);
    return it != m_actions.end() && (*it)->GetId() == id ? *it : nullptr;
}

CWVPControlAction* CWVPControlActions::Insert(int id, CWVPControlAction* pAction)
{
    pAction->m_nId = id;
    CString text;
    if (WVPResourceManager()->LoadString(&text, id))
        pAction->SetPrompt(text);
    auto it = std::upper_bound(m_actions.begin(), m_actions.end(), id,
                               [](int value, const CWVPControlAction* action) { return value < action->GetId(); });
    m_actions.insert(it, pAction);
    return pAction;
}

CWVPControlAction* CWVPControlActions::Add(int id)
{
    if (CWVPControlAction* existing = FindAction(id))
        return existing;
    return Insert(id, new CWVPControlAction(this));
}
