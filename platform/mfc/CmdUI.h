// CCmdUI: one update request for a command's user interface (a menu item, a tool-bar button,
// a dialog control): update handlers enable, check, select or retitle it through this object.
#pragma once

#include <windows.h>

class CCmdTarget;
class CMenu;
class CWnd;

class CCmdUI
{
public:
    CCmdUI();
    virtual ~CCmdUI() {}

    UINT m_nID;
    UINT m_nIndex;        // menu item position, or tool-bar button index
    CMenu* m_pMenu;       // the menu being updated, null otherwise
    CMenu* m_pSubMenu;    // the popup the item opens, when it is one
    CMenu* m_pParentMenu; // the menu holding m_pMenu when a popup is updated as one item
    CWnd* m_pOther;       // the window being updated (a control or a bar)
    UINT m_nIndexMax;     // number of items being walked
    BOOL m_bEnableChanged;
    BOOL m_bContinueRouting;

    virtual void Enable(BOOL on = TRUE);
    virtual void SetCheck(int check = 1);
    virtual void SetRadio(BOOL on = TRUE);
    virtual void SetText(LPCWSTR text);
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks the target's update handler; without one, disables the item when requested and no
    // command handler exists either. True when a handler answered.
    BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);
};
