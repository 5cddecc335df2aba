// The main window's menu: a flat tool bar with one text button per top-level item of a menu.
// A button (its access key, or Alt/F10 and the arrows) drops its popup below it, and the arrows
// or the mouse slide to the neighbouring popups as in a window menu. The frame hands every key
// to TranslateFrameMessage first; a hook on the frame watches its menu-selection messages.
#pragma once

#include "app/shell/FlatToolBar.h"
#include "app/shell/SubclassWnd.h"

class CMenuBar;

// Removes the window menu of the window in wParam (posted so that it happens after the current
// message).
const UINT WM_RW_MENUBAR_SETMENU = WM_USER + 1100;

class CMenuBarFrameHook : public CSubclassWnd
{
  public:
    explicit CMenuBarFrameHook(CMenuBar* bar) : m_pMenuBar(bar)
    {
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    CMenuBar* m_pMenuBar;
};

class CMenuBar : public CFlatToolBar
{
  public:
    // The tracking states.
    enum
    {
        kStateNone = 0,
        kStateButton = 1,
        kStatePopup = 2,
    };

    CMenuBar();
    ~CMenuBar() override;

    // Shows the menu's top-level items; returns the menu shown before (the caller destroys it).
    HMENU LoadMenu(HMENU menu);
    HMENU GetMenu() const
    {
        return m_hmenu;
    }
    // Keyboard and mouse messages of the frame; true when the bar consumed it.
    virtual BOOL TranslateFrameMessage(MSG* msg);
    // Messages seen inside an open popup (from the message-filter hook); true when consumed.
    virtual BOOL OnMenuInput(MSG& msg);
    // Opens the popup of a button and follows the user to neighbouring popups until one closes.
    void TrackPopup(int button);
    void OnBarStyleChange(DWORD oldStyle, DWORD newStyle) override;

    int GetNextButton(int index, bool backwards) const;
    int HitTestButton(CPoint client) const;
    void ToggleTrackButtonMode();
    void CancelMenuAndTrackNewOne(int button);
    int GetTrackingState() const
    {
        return m_iTrackingState;
    }
    int GetHotButton() const;

    CMenuBarFrameHook m_frameHook;
    CStringArray m_arStrings;
    HMENU m_hmenu;
    bool m_bAutoRemoveFrameMenu;
    int m_iPopupTracking;
    int m_iNewPopup;
    bool m_bProcessRightArrow;
    bool m_bProcessLeftArrow;
    bool m_bEscapeWasPressed;
    CPoint m_ptMouse;
    HMENU m_hMenuTracking;
    int m_iTrackingState;

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnUpdateMenuButton(CCmdUI* state);
    afx_msg LRESULT OnSetMenu(WPARAM wParam, LPARAM lParam);

  protected:
    DECLARE_MESSAGE_MAP()

  private:
    void SetTrackingState(int state, int button = -1);
    void RecomputeFrame();
    CWnd* OwnerWindow() const;
    static LRESULT CALLBACK MenuInputFilter(int code, WPARAM wParam, LPARAM lParam);
};

// The menu bar of the main frame: its border and background in the skin's button-face colour.
class CustomMenuBar : public CMenuBar
{
  public:
    CustomMenuBar();
    CRect m_insets;

    afx_msg void OnNcCalcSize(BOOL calcValid, NCCALCSIZE_PARAMS* params);
    afx_msg void OnNcPaint();
    afx_msg void OnPaint();

  protected:
    DECLARE_MESSAGE_MAP()
};

// The face colour of the bar: the skin's button face while a skin is loaded, else the system's.
COLORREF MenuBarFaceColor();
