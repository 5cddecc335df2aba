#pragma once
// The command-bar manager's actions, sorted by command id, one per id; the list owns them.
#include "platform/mfc/Mfc.h"

#include <vector>

class CWVPControlAction;
class CWVPCommandBarManager;

class CWVPControlActions
{
  public:
    explicit CWVPControlActions(CWVPCommandBarManager* owner);
    ~CWVPControlActions();
    CWVPControlActions(const CWVPControlActions&) = delete;
    CWVPControlActions& operator=(const CWVPControlActions&) = delete;

    int GetCount() const
    {
        return int(m_actions.size());
    }
    // The action at a position; a position outside the list throws the invalid-argument error.
    CWVPControlAction* GetAt(int index) const;
    // The action of an id; none for ids outside 1 to 0x0FFFFFFE.
    CWVPControlAction* FindAction(int id) const;
    // Gives the action its id and the texts of the id's string resource, then inserts it in order.
    CWVPControlAction* Insert(int id, CWVPControlAction* pAction);
    // The action of an id, made when there is none.
    CWVPControlAction* Add(int id);
    void RemoveAll();
    CWVPCommandBarManager* GetOwner() const
    {
        return m_pOwner;
    }

  private:
    std::vector<CWVPControlAction*> m_actions;
    CWVPCommandBarManager* m_pOwner;
};
