#include "uilib/commandbars/CommandBarManagerOptions.h"

CWVPCommandBarManagerOptions::CWVPCommandBarManagerOptions()
    : bAutoUpdateShortcuts(TRUE), bShowStatusDescriptions(TRUE), bDisableCommandIfNoHandler(TRUE)
{
}
