#pragma once
// The skin object of the system's popup menu windows ("#32768"): paints their border and background
// in the skin's colours and lets the menu draw its own items over that background.
#include "uilib/skin/SkinObjectFrame.h"

class CWVPSkinObjectMenu : public CWVPSkinObjectFrame
{
    DECLARE_DYNCREATE(CWVPSkinObjectMenu)
  public:
    CWVPSkinObjectMenu();
    ~CWVPSkinObjectMenu() override;

    // A one-pixel band of the skin's button shadow around the window, and inside it a band of the
    // skin's menu colour as wide as the rest of the frame.
    void DrawMenuBorder(HDC hDC);
    // The skin's menu colour under the items the menu itself prints.
    void DrawMenuClient(HDC hDC);

  protected:
    // The width of the menu's frame: its non-client border, or the edge width where the menu draws
    // its frame inside its client area (menus without a non-client border do).
    int GetFrameWidth(bool* pInsideClient) const;
    void DrawFrameBands(HDC hDC, RECT rc, int nWidth);
    // Default handling with redrawing off, then one repaint of the whole menu.
    LRESULT DefaultRedrawOnce(UINT nMessage, WPARAM wParam, LPARAM lParam);

    LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    LRESULT OnPrint(WPARAM wParam, LPARAM lParam);
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    LRESULT OnSelectItem(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnSysKeyDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnChar(WPARAM wParam, LPARAM lParam);
    LRESULT OnWindowPosChanging(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
