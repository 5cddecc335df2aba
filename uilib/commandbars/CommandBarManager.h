#pragma once
// The manager of a frame's command bars as the controls and their collections see it: its site
// window, its paint and image managers, its actions and its customise state.
#include "platform/mfc/Mfc.h"

class CWVPPaintManager;
class CWVPImageManager;
class CWVPControl;
class CWVPControlAction;
class CWVPControlActions;
class CWVPCommandBar;
class CWVPCommandBarKeyboardTip;
class CWVPToolTipContext;

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

    // Keyboard tips: shown for one bar (or window) at a level, hidden by a navigation key, a
    // choice, Escape or a new show. The manager owns the tip windows.
    void ShowKeyboardTips(CWnd* pWnd, int level = 1);
    void HideKeyboardTips();
    CWnd* GetKeyboardTipsWindow() const
    {
        return m_pKeyboardTipsWindow;
    }
    int GetKeyboardTipsLevel() const
    {
        return m_nKeyboardTipsLevel;
    }
    CArray<CWVPCommandBarKeyboardTip*, CWVPCommandBarKeyboardTip*>& GetKeyboardTips()
    {
        return m_keyboardTips;
    }
    // Typing into the shown tips: the length of the prefix typed so far.
    int m_nKeyboardTipsPrefix;
    // Whether keyboard tips are shown at all.
    BOOL m_bShowKeyboardTips;
    // Accelerator underlines: with the option off they always show.
    void ShowKeyboardCues(BOOL show);
    BOOL IsKeyboardCuesVisible() const
    {
        return !m_bKeyboardCuesOption || m_bKeyboardCuesVisible || m_bCustomizeMode;
    }
    BOOL m_bKeyboardCuesOption;
    // The tooltip context the manager's bars share, made on first use.
    CWVPToolTipContext* GetToolTipContext();
    // Ends the tracking of every tracked bar of the thread.
    void ClosePopups();
    // Told whenever one of its bars starts or stops tracking.
    virtual void OnTrackingModeChanged(CWVPCommandBar* pBar, int mode);

  private:
    HWND m_hwndSite;
    CWVPPaintManager* m_pPaintManager;
    CWVPImageManager* m_pImageManager;
    CWVPControlActions* m_pActions;
    BOOL m_bCustomizeMode;
    CWVPControl* m_pDragControl;
    CMap<UINT, UINT, BOOL, BOOL> m_usedCommands;
    CArray<CWVPCommandBarKeyboardTip*, CWVPCommandBarKeyboardTip*> m_keyboardTips;
    CWnd* m_pKeyboardTipsWindow;
    int m_nKeyboardTipsLevel;
    BOOL m_bKeyboardCuesVisible;
    CWVPToolTipContext* m_pToolTipContext;
};
