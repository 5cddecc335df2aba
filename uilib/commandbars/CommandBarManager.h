#pragma once
// The manager of a frame's command bars as the controls and their collections see it: its site
// window, its paint and image managers, its actions and its customise state.
#include "platform/mfc/Mfc.h"
#include "uilib/commandbars/CommandBarManagerOptions.h"

#include <memory>

class CWVPPaintManager;
class CWVPImageManager;
class CWVPControl;
class CWVPControlAction;
class CWVPControlActions;

class CWVPCommandBarManager : public CCmdTarget
{
  public:
    CWVPCommandBarManager();
    ~CWVPCommandBarManager() override;

    HWND GetSite() const
    {
        return m_hwndSite;
    }
    void SetSite(HWND site)
    {
        m_hwndSite = site;
    }
    // The manager's own paint manager, else the process-wide one.
    CWVPPaintManager* GetPaintManager() const;
    CWVPImageManager* GetImageManager() const;

    // Controls are bound to shared actions only while the manager keeps an action list.
    void EnableActions();
    BOOL IsActionsEnabled() const
    {
        return m_pActions != nullptr;
    }
    CWVPControlActions* GetActions() const
    {
        return m_pActions;
    }
    CWVPControlAction* FindAction(int id) const;
    CWVPControlAction* CreateAction(int id);

    BOOL IsCustomizeMode() const
    {
        return m_bCustomizeMode;
    }
    void SetCustomizeMode(BOOL customize)
    {
        m_bCustomizeMode = customize;
    }
    // The control selected in customize mode (the one being dragged or resized), or null.
    CWVPControl* GetDragControl() const
    {
        return m_pDragControl;
    }
    void SetDragControl(CWVPControl* pControl)
    {
        m_pDragControl = pControl;
    }
    // Command ids the user ran, for the menus' recently used items.
    void SetCommandUsed(int id);
    BOOL IsCommandUsed(int id) const;

    // What the bars' idle update and status line read: the options, the shortcut texts of
    // command ids, the active document template (0 none) and the help id of the selection.
    CWVPCommandBarManagerOptions* GetCommandBarsOptions() const
    {
        return m_pOptions.get();
    }
    void SetShortcutText(UINT id, LPCWSTR text);
    CString GetShortcutText(UINT id) const;
    virtual UINT GetActiveDocTemplate()
    {
        return m_nActiveDocTemplate;
    }
    void SetActiveDocTemplate(UINT id)
    {
        m_nActiveDocTemplate = id;
    }
    UINT GetHelpId() const
    {
        return m_nHelpId;
    }
    void SetHelpId(UINT helpId)
    {
        m_nHelpId = helpId;
    }

  private:
    std::unique_ptr<CWVPCommandBarManagerOptions> m_pOptions = std::make_unique<CWVPCommandBarManagerOptions>();
    CMap<UINT, UINT, CString, LPCWSTR> m_shortcuts;
    UINT m_nActiveDocTemplate = 0;
    UINT m_nHelpId = 0;

    HWND m_hwndSite;
    CWVPPaintManager* m_pPaintManager;
    CWVPImageManager* m_pImageManager;
    CWVPControlActions* m_pActions;
    BOOL m_bCustomizeMode;
    CWVPControl* m_pDragControl;
    CMap<UINT, UINT, BOOL, BOOL> m_usedCommands;
};
