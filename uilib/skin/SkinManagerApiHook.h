#pragma once
// The process's import-table hooks: while a skin is loaded, every module but a few system
// libraries calls the skin's replacements of the colour, drawing, scroll-bar, metric and default
// window-procedure functions; modules loaded later are patched as they load.
#include "platform/mfc/SyncObject.h"
#include "uilib/skin/SkinManagerApiFunction.h"

#include <vector>

// The hooked functions' places in the table.
enum WVPSkinApiIndex
{
    kApiLoadLibraryA = 0,
    kApiLoadLibraryW,
    kApiLoadLibraryExA,
    kApiLoadLibraryExW,
    kApiGetProcAddress,
    kApiGetModuleHandleA,
    kApiRegisterClassA,
    kApiRegisterClassW,
    kApiGetSysColor,
    kApiGetSysColorBrush,
    kApiDrawEdge,
    kApiDrawFrameControl,
    kApiSetScrollInfo,
    kApiSetScrollPos,
    kApiGetScrollInfo,
    kApiEnableScrollBar,
    kApiOpenThemeData,
    kApiDrawThemeBackground,
    kApiCloseThemeData,
    kApiGetThemeColor,
    kApiIsAppThemed,
    kApiIsThemeActive,
    kApiGetCurrentThemeName,
    kApiGetThemeSysBool,
    kApiGetThemeSysColor,
    kApiGetThemePartSize,
    kApiSystemParametersInfoW,
    kApiDefWindowProcA,
    kApiDefWindowProcW,
    kApiDefMDIChildProcA,
    kApiDefMDIChildProcW,
    kApiDefFrameProcA,
    kApiDefFrameProcW,
    kApiDefDlgProcA,
    kApiDefDlgProcW,
    kApiCallWindowProcA,
    kApiCallWindowProcW,
    kApiCreateThread,
    kApiFillRect,
    kApiDeleteObject,
    kApiAdjustWindowRectEx,
    kApiCount
};

// What GetModuleHandleA answers for the visual-style library while the skin takes colours.
extern const HMODULE WVP_SKIN_UXTHEME_HANDLE;

class CWVPSkinManagerApiHook
{
  public:
    struct EXCLUDEDMODULE
    {
        HMODULE hModule;
        LPCWSTR lpszName;
        BOOL bWin9x;
    };

    CWVPSkinManagerApiHook();
    ~CWVPSkinManagerApiHook();
    CWVPSkinManagerApiHook(const CWVPSkinManagerApiHook&) = delete;
    CWVPSkinManagerApiHook& operator=(const CWVPSkinManagerApiHook&) = delete;

    // Installs the hooks the skin manager's apply options call for; nothing when installed.
    void InitializeHookManagement();
    // Restores every patched import and forgets every hook.
    void UnhookAllFunctions();
    BOOL IsInstalled() const
    {
        return m_bInstalled;
    }

    // The real function of a hooked index, or null.
    FARPROC GetOriginalFunction(int nIndex) const;
    CWVPSkinManagerApiFunction* AddHook(int nIndex, LPCSTR lpszDllName, LPCSTR lpszFuncName, FARPROC pfnNew);
    CWVPSkinManagerApiFunction* FindHook(LPCSTR lpszDllName, LPCSTR lpszFuncName) const;
    // The hook whose replacement is the address, or null.
    CWVPSkinManagerApiFunction* FindReplacement(FARPROC pfnNew) const;
    bool IsExcludedModule(HMODULE hModule) const;
    void OnLoadLibrary(HMODULE hModule, DWORD dwFlags);

    CCriticalSection& GetLock()
    {
        return m_csHook;
    }

  private:
    void RefreshExcludedModules(bool bOnlyMissing);

    CWVPSkinManagerApiFunction* m_arrFunctions[kApiCount] = {};
    BOOL m_bInstalled = FALSE;
    std::vector<EXCLUDEDMODULE> m_arrExcludedModules;
    CCriticalSection m_csHook;
};

// The process's hook manager, made on first call.
CWVPSkinManagerApiHook* WVPSkinManagerApiHook();
// Restores every import and destroys the hook manager; part of the library's exit sequence.
void WVPSkinManagerApiHookDestroy();

// The real function of a hooked index, or the system's own when the index is not hooked.
template <class F> F WVPSkinOriginal(int nIndex, F pfnSystem)
{
    FARPROC original = WVPSkinManagerApiHook()->GetOriginalFunction(nIndex);
    return original ? reinterpret_cast<F>(original) : pfnSystem;
}
