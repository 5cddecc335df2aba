#include "uilib/commandbars/CommandBarManagerOptions.h"

CWVPCommandBarManagerOptions::CWVPCommandBarManagerOptions()
    : bAutoUpdateShortcuts(TRUE), bShowStatusDescriptions(TRUE), bDisableCommandIfNoHandler(TRUE),
      bSyncFloatingBars(TRUE), bAlwaysShowExpandButton(FALSE), bDblClickFloat(TRUE), bLayoutChanged(FALSE)
{
}
