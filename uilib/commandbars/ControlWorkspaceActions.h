#pragma once
// The workspace actions of a Window menu (new horizontal or vertical tab group, move to the next
// or previous group): items offered while the frame's MDI client shows its windows as tab groups.
#include "uilib/commandbars/ControlButton.h"

const int WVP_ID_WORKSPACEACTIONS = 35002;

class CWVPControlWorkspaceActions : public CWVPControlButton
{
    DECLARE_SERIAL(CWVPControlWorkspaceActions)

  public:
    CWVPControlWorkspaceActions();

    void OnCalcDynamicSize(DWORD mode) override;
};
