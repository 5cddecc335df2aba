#pragma once
// The edit window of a bar's edit field: it reports focus, text changes, Enter, clicks and mouse
// moves to its control and the bar.
#include "uilib/commandbars/Edit.h"

class CWVPControlEdit;

class CWVPControlEditCtrl : public CWVPEdit
{
  public:
    CWVPControlEditCtrl() : m_pControl(nullptr)
    {
    }

    // Sends the control's colours to the window (a rich edit shows them; a plain edit ignores it).
    void UpdateCharFormat();

    // Null once the control is gone.
    CWVPControlEdit* m_pControl;

  protected:
    // Pastes the clipboard's text up to its first NUL or line break (a single-line field); FALSE
    // when the clipboard holds no text.
    BOOL PasteFirstLine();
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // The bar reflects the window's change notification here.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
