#pragma once
// The options every bar and control of one manager reads; owned by the manager
// (CWVPCommandBarManager::GetCommandBarsOptions).
#include "platform/mfc/Mfc.h"

class CWVPCommandBarManagerOptions
{
  public:
    CWVPCommandBarManagerOptions();

    // Controls show the shortcut texts of the manager's shortcut table.
    BOOL bAutoUpdateShortcuts;
    // A selected control shows its description in the frame's status line.
    BOOL bShowStatusDescriptions;
    // The idle update disables controls whose command has no handler.
    BOOL bDisableCommandIfNoHandler;
    // Floating tool bars hide while their frame is inactive.
    BOOL bSyncFloatingBars;
    // Docked tool bars always keep room for their chevron, whose popup then offers customizing.
    BOOL bAlwaysShowExpandButton;
    // A double click floats a docked bar.
    BOOL bDblClickFloat;
    // Set whenever bars move, show or hide: the saved bar state is out of date.
    BOOL bLayoutChanged;
};
