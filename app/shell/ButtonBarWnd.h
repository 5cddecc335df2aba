// The tool bar panel of the main window: seven picture buttons (add files, add folder, delete,
// start, pause, stop, options) whose clicks travel as commands to the main frame, which also
// enables and disables them in its idle update. Right-clicking between the buttons shows the
// whole main menu, so that it stays reachable while the menu bar is hidden.
#pragma once

#include "app/shell/ButtonST.h"
#include "app/shell/ResizableDialog.h"

class CButtonBarWnd : public CResizableDialog
{
  public:
    enum
    {
        IDD = 131,
        kContextMenu = 135,
        kButtonCount = 7,
    };
    static const COLORREF kTransparentColour = RGB(255, 0, 255);

    CButtonBarWnd();
    ~CButtonBarWnd() override;

    BOOL Create(CWnd* parent);
    // Sets the buttons' tooltips from the language; an empty translation keeps a tooltip as it was.
    void ReloadTexts();
    CButtonST& Button(int index)
    {
        return m_buttons[index];
    }
    // The command id of the button at an index (table order).
    static UINT ButtonId(int index);

    // Shows a context menu (translated, owned by the top-level window); tests replace it.
    typedef void (*PopupMenuFunction)(HWND owner, UINT menuId, int x, int y);
    static PopupMenuFunction s_showPopupMenu;

    BOOL PreTranslateMessage(MSG* msg) override;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    afx_msg void OnContextMenu(CWnd* wnd, CPoint point);
    afx_msg void OnPaint();
    afx_msg LRESULT OnPanelReloadTexts(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

  private:
    bool IsOverButton(CPoint screenPoint) const;

    CButtonST m_buttons[kButtonCount];
};
