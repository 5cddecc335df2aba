#pragma once
// The settings the Options dialog edits, as the main frame hands them over and takes them back.
#include "platform/mfc/Mfc.h"

struct ConfigValues
{
    BOOL istray = TRUE;
    BOOL autoupdate = TRUE;
    BOOL showmenu = TRUE;
    CString snapPath;
    BOOL background = FALSE;
    BOOL delUncompleted = TRUE;
    int maxTasks = 1;
    int actionCompleted = 0;
};
