#pragma once
// The edit window of an editable combo box on a bar: it reports focus, text changes, Enter, clicks
// and mouse moves to its combo box and the bar, as the edit field's window does.
#include "uilib/commandbars/Edit.h"

class CWVPControlComboBox;

// Posted to the edit window when the shell's auto-complete drop-down appears.
const UINT WVP_WM_SHELLDROPDOWNSHOWN = 10354;

class CWVPControlComboBoxEditCtrl : public CWVPEdit
{
  public:
    CWVPControlComboBoxEditCtrl() : m_pControl(nullptr)
    {
    }
    // Sends the combo box's colours to the window (a rich edit shows them; a plain edit ignores it).
    void UpdateCharFormat();
    // Null once the combo box is gone.
    CWVPControlComboBox* m_pControl;

  protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // The edit's own change notification, reflected from the bar.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
