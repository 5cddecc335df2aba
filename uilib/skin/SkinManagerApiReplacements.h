#pragma once
// The replacement functions of the import-table hooks, as a table the hook manager installs from.
#include <windows.h>

struct WVP_SKIN_API_REPLACEMENT
{
    int nIndex;
    LPCSTR lpszDllName;
    LPCSTR lpszFuncName;
    DWORD dwOption; // the apply option that installs it; 0 for always
    FARPROC pfnReplacement;
};

// The replacement of a hooked index.
const WVP_SKIN_API_REPLACEMENT& WVPSkinApiReplacement(int nIndex);
