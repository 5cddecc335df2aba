#pragma once
// The command-update object of a bar's idle update: the application's update handlers enable,
// check and retitle one control of the bar through it.
#include "uilib/commandbars/CommandBar.h"

class CWVPCommandBar::CCommandBarCmdUI : public CCmdUI
{
  public:
    explicit CCommandBarCmdUI(CWVPControl* pControl);

    void Enable(BOOL on = TRUE) override;
    void SetCheck(int check = 1) override;
    void SetText(LPCWSTR text) override;

    CWVPControl* m_pControl;
    BOOL m_bCheckChanged;
};
