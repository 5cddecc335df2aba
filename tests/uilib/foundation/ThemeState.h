// The visual-style state a suite runs in: the test scripts run it in the classic prefix or in its
// themed copy and say which through RW_THEME_STATE.
#pragma once

#include <windows.h>

inline bool ExpectThemed()
{
    char state[32] = {0};
    ::GetEnvironmentVariableA("RW_THEME_STATE", state, sizeof(state));
    return lstrcmpA(state, "themed") == 0;
}
