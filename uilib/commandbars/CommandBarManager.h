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
class CWVPControls;
class CWVPCommandBar;
class CWVPCommandBarKeyboardTip;
class CWVPToolTipContext;
class CWVPToolBar;
class CWVPDockBar;
class CWVPPropExchange;

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
    // Whether the program offers the customize command in its bars' lists.
    BOOL m_bCustomizeAvail = FALSE;
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
    // The frame's bars in keyboard order. The list does not own them: a bar leaves it when it goes.
    void AddBar(CWVPCommandBar* pBar);
    void RemoveBar(CWVPCommandBar* pBar);
    int GetBarCount() const
    {
        return int(m_bars.GetSize());
    }
    CWVPCommandBar* GetBar(int index) const
    {
        return index >= 0 && index < m_bars.GetSize() ? m_bars[index] : nullptr;
    }
    // The first menu bar of the list, or null.
    CWVPCommandBar* GetMenuBar() const;

    // Keyboard options: bit 0 lets navigation and frame accelerators continue into the next bar, the
    // value 2 turns frame accelerators off, bit 2 makes only '&' letters accelerators.
    int m_nKeyboardOptions;
    // Keypad digits count as accelerator keys.
    BOOL m_bKeypadAccelerators;
    // Alt+key at the frame: the tracking bar, else the menu bar, takes the key; TRUE when a
    // control was found and activated.
    BOOL OnFrameAccel(UINT key);
    CWVPControl* FindAccelControl(CWVPCommandBar* pBar, UINT key, BOOL* ambiguous);
    // Moves keyboard tracking to a bar (with a direction, to the next shown bar that way).
    BOOL SetKeyboardFocus(CWVPCommandBar* pBar, int direction);
    int GetNextVisibleBar(int index, int direction) const;
    // The next control in keyboard order, continuing into the next shown bar with option bit 0.
    CWVPControl* GetNextControl(CWVPControls*& pControls, int index) const;

    // The tooltip context the manager's bars share, made on first use.
    CWVPToolTipContext* GetToolTipContext();
    // Ends the tracking of every tracked bar of the thread.
    void ClosePopups();
    // Told whenever one of its bars starts or stops tracking.
    virtual void OnTrackingModeChanged(CWVPCommandBar* pBar, int mode);

    // ---- Tool bars and docking (CommandBarManagerDocking.cpp) ----
    // How a program uses it: make the manager on its frame with Create (it makes the frame's four
    // dock bars, which take part in the frame's RecalcLayout through WM_SIZEPARENT), add tool bars
    // with AddToolBar (docked at the top, made from a TOOLBAR resource with LoadToolBar), move them
    // with DockCommandBarAt or FloatCommandBar, and keep their places between runs with
    // SaveBarState and LoadBarState, which write each bar's id, position, visibility, row order
    // and floating place through a property exchange (a floating place that no monitor shows any
    // more is moved into the work area). The manager owns the bars it added and deletes them.
    // Frame-specific managers override the operations the bars call: RelayoutFrame,
    // ShowContextMenu, FillExpandPopup, FillCustomizePopup, OnCommandBarRemoved.
    BOOL Create(CFrameWnd* pFrame);
    CWVPToolBar* AddToolBar(LPCWSTR caption, UINT id, BOOL tearOff = FALSE);
    // A bar made elsewhere joins the manager (which then owns one reference of it).
    void AddCommandBar(CWVPCommandBar* pBar);
    CWVPDockBar* GetDockBar(int position) const
    {
        return position >= 0 && position < 4 ? m_pDockBars[position] : nullptr;
    }
    BOOL DockCommandBar(CWVPToolBar* pBar, LPCRECT lpRect, CWVPDockBar* pDockBar);
    BOOL DockCommandBarAt(CWVPToolBar* pBar, int position);
    BOOL FloatCommandBar(CWVPToolBar* pBar);
    // The dock bar that takes a bar dragged to the screen point, trying the current one first.
    CWVPDockBar* CanDock(CPoint pt, CWVPDockBar* pCurrent) const;
    // The frame's delayed layout, when one is pending; and the frame's layout at once.
    void RecalcFrameLayout();
    void RecalcFrameLayoutNow();
    BOOL IsLayoutRTL() const;
    BOOL IsCustomizeAllowed() const
    {
        return m_bCustomizeAllowed;
    }
    void SetCustomizeAllowed(BOOL allowed)
    {
        m_bCustomizeAllowed = allowed;
    }
    CWVPCommandBar* GetAt(int index) const
    {
        return GetBar(index);
    }
    int FindIndex(CWVPCommandBar* pBar) const;
    CWVPCommandBar* FindCommandBar(UINT barId) const;
    void ToggleVisible(int index);
    void RemoveCommandBar(CWVPCommandBar* pBar);
    // The bars' places; FALSE when nothing was saved under the exchange.
    void SaveBarState(CWVPPropExchange* pPX);
    BOOL LoadBarState(CWVPPropExchange* pPX);
    virtual void RelayoutFrame(BOOL notify);
    virtual void ShowContextMenu(CPoint ptScreen);
    virtual void FillExpandPopup(CWVPToolBar* pBar, CWVPCommandBar* pPopup);
    virtual void FillCustomizePopup(CWVPToolBar* pBar, CWVPCommandBar* pPopup);
    virtual void OnCommandBarRemoved(CWVPCommandBar* pBar);

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
    CArray<CWVPCommandBarKeyboardTip*, CWVPCommandBarKeyboardTip*> m_keyboardTips;
    CWnd* m_pKeyboardTipsWindow;
    int m_nKeyboardTipsLevel;
    BOOL m_bKeyboardCuesVisible;
    CWVPToolTipContext* m_pToolTipContext;
    CArray<CWVPCommandBar*, CWVPCommandBar*> m_bars;
    CWVPDockBar* m_pDockBars[4] = {};
    BOOL m_bCustomizeAllowed = TRUE;
    BOOL m_bRightToLeft = FALSE;
    // The bars the manager holds a reference of (those added through it).
    CArray<CWVPCommandBar*, CWVPCommandBar*> m_ownedBars;
    void ReleaseDockedBars();
};
