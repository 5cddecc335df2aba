#pragma once
// What all controls showing one command share: texts, icon, enabled, checked and visible state.
// Changing an action changes every control bound to it; the manager keeps the actions in a
// CWVPControlActions list sorted by id.
#include "platform/mfc/Mfc.h"

#include <vector>

class CWVPControl;
class CWVPControlActions;

class CWVPControlAction : public CCmdTarget
{
    DECLARE_DYNAMIC(CWVPControlAction)

  public:
    enum
    {
        PropertyEnabled = 0,
        PropertyVisible = 2,
        PropertyCaption = 3,
        PropertyEditHint = 4,
    };

    explicit CWVPControlAction(CWVPControlActions* ownerList);
    ~CWVPControlAction() override;

    int GetId() const
    {
        return m_nId;
    }
    int GetIconId() const
    {
        return m_nIconId;
    }
    void SetIconId(int id)
    {
        m_nIconId = id;
    }
    int GetHelpId() const
    {
        return m_nHelpId;
    }
    // Enabled whatever its own state while the manager is customising.
    int GetEnabled() const;
    void SetEnabled(int enabled)
    {
        m_nEnabled = enabled;
    }
    int GetChecked() const
    {
        return m_nChecked;
    }
    void SetChecked(int checked)
    {
        m_nChecked = checked;
    }
    BOOL IsVisible() const
    {
        return m_bVisible;
    }
    void SetVisible(BOOL visible)
    {
        m_bVisible = visible;
    }
    // The caption, or the tooltip when there is no caption.
    CString GetCaption() const;
    CString GetOwnCaption() const
    {
        return m_strCaption;
    }
    CString GetTooltip() const
    {
        return m_strTooltip;
    }
    CString GetDescription() const
    {
        return m_strDescription;
    }
    CString GetShortcutText() const
    {
        return m_strShortcutText;
    }
    void SetShortcutText(LPCWSTR text)
    {
        m_strShortcutText = text;
    }
    CString GetKeyboardTip() const
    {
        return m_strKeyboardTip;
    }
    void SetCaption(LPCWSTR text);
    void SetPrompt(LPCWSTR text);
    void SetTooltip(LPCWSTR text)
    {
        m_strTooltip = text;
    }
    void SetDescription(LPCWSTR text)
    {
        m_strDescription = text;
    }
    // The grey text of edit fields bound to the action while they are empty.
    CString GetEditHint() const
    {
        return m_strEditHint;
    }
    void SetEditHint(LPCWSTR hint);
    // An object the action owns (a gallery's items); the action takes over the reference.
    void SetAttachedObject(CCmdTarget* object);
    CCmdTarget* GetAttachedObject() const
    {
        return m_pAttached;
    }

    int AddControl(CWVPControl* pControl);
    void RemoveControl(CWVPControl* pControl);
    int GetControlCount() const
    {
        return int(m_controls.size());
    }
    CWVPControl* GetControl(int index) const
    {
        return m_controls[index];
    }
    void OnChanging(int property);
    void OnChanged(int property);
    CWVPControlActions* GetOwnerList() const
    {
        return m_pOwnerList;
    }

  private:
    friend class CWVPControlActions;

    CCmdTarget* m_pAttached;
    int m_nId;
    int m_nIconId;
    int m_nHelpId;
    int m_nEnabled;
    int m_nChecked;
    BOOL m_bVisible;
    CString m_strCaption;
    CString m_strTooltip;
    CString m_strDescription;
    CString m_strShortcutText;
    CString m_strKeyboardTip;
    CString m_strEditHint;
    std::vector<CWVPControl*> m_controls;
    CWVPControlActions* m_pOwnerList;
};
