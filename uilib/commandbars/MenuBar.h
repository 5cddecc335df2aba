#pragma once
// The menu bar: the tool bar that takes the place of a frame window's menu. It builds its controls
// from a menu resource, takes the frame's own menu away and hooks the frame (and an MDI frame's
// client window) so that Alt alone starts keyboard tracking on it, as a menu would.
#include "uilib/commandbars/ToolBar.h"

// Bar flags of the menu bar: the dock positions, stretched over its row.
const DWORD WVP_MENUBAR_FLAGS = 0x5F;

class CWVPMenuBar : public CWVPToolBar
{
    DECLARE_DYNCREATE(CWVPMenuBar)

  public:
    CWVPMenuBar();
    ~CWVPMenuBar() override;

    // Builds the bar from the menu resource (0 keeps the controls), hooks the site frame and
    // removes the frame's menu, which the bar keeps as its default menu; FALSE when the menu does
    // not load or gives no controls, nothing hooked then.
    virtual BOOL LoadMenuBar(UINT id);

    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

    // The menu resource the bar was built from, and the template id whose controls show.
    UINT GetResourceId() const
    {
        return m_nResourceId;
    }
    UINT GetCurrentMenuId() const
    {
        return m_nCurrentMenuId;
    }
    // The frame's own menu, taken over by LoadMenuBar (the bar destroys it).
    HMENU GetDefaultMenu() const
    {
        return m_hMenuDefault;
    }
    BOOL IsMDIFrame() const
    {
        return m_bMDIFrame;
    }

  protected:
    // Hooks the site window and, for an MDI frame, its MDI client window.
    void HookFrameWindows();
    // Alt alone (the keyboard's SC_KEYMENU without a character): TRUE when the bar took it.
    BOOL OnKeyMenu();

    BOOL m_bMDIFrame;
    HWND m_hwndHookedChild;
    HMENU m_hMenuDefault;
    UINT m_nResourceId;
    UINT m_nCurrentMenuId;
};
