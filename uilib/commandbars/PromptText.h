#pragma once
// The parts of a prompt string "description\ntooltip\ncaption\nkeyboard tip": missing parts are
// empty, parts beyond the fourth are ignored.
#include "platform/mfc/Mfc.h"

struct WVPPromptParts
{
    CString parts[4];
    BOOL hasNewLine = FALSE;
    int count = 0;
};

WVPPromptParts WVPSplitPrompt(LPCWSTR text);
