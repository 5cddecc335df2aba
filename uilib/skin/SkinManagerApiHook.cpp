#include "uilib/skin/SkinManagerApiHook.h"

#include "platform/mfc/ExitSequence.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinManagerApiReplacements.h"

#include <exception>
#include <new>

const HMODULE WVP_SKIN_UXTHEME_HANDLE = reinterpret_cast<HMODULE>(0x21FFFF1);

namespace
{

CWVPSkinManagerApiHook* g_pApiHook = nullptr;

// Libraries whose imports stay as they are: the system's own plumbing, whose calls among
// themselves the skin must not see.
const CWVPSkinManagerApiHook::EXCLUDEDMODULE kExcludedModules[] = {
    {nullptr, L"SHLWAPI.DLL", TRUE},  {nullptr, L"COMCTL32.DLL", TRUE},    {nullptr, L"KERNEL32.DLL", FALSE},
    {nullptr, L"USER32.DLL", FALSE},  {nullptr, L"GDI32.DLL", FALSE},      {nullptr, L"WININET.DLL", FALSE},
    {nullptr, L"NTDLL.DLL", FALSE},   {nullptr, L"KERNELBASE.DLL", FALSE}, {nullptr, L"WIN32U.DLL", FALSE},
    {nullptr, L"WINEX11.DRV", FALSE}, {nullptr, L"UXTHEME.DLL", FALSE},    {nullptr, L"IMM32.DLL", FALSE},
};

// The order in which the hooks go in; each is installed only when its apply option is set.
const int kInstallOrder[] = {
    kApiLoadLibraryA,        kApiLoadLibraryW,    kApiLoadLibraryExA,   kApiLoadLibraryExW,   kApiGetProcAddress,
    kApiGetModuleHandleA,    kApiCreateThread,    kApiRegisterClassA,   kApiRegisterClassW,   kApiGetSysColor,
    kApiGetSysColorBrush,    kApiDrawEdge,        kApiFillRect,         kApiDeleteObject,     kApiOpenThemeData,
    kApiDrawThemeBackground, kApiCloseThemeData,  kApiGetThemeColor,    kApiIsAppThemed,      kApiIsThemeActive,
    kApiGetCurrentThemeName, kApiGetThemeSysBool, kApiGetThemeSysColor, kApiGetThemePartSize, kApiDrawFrameControl,
    kApiSetScrollInfo,       kApiSetScrollPos,    kApiGetScrollInfo,    kApiEnableScrollBar,  kApiSystemParametersInfoW,
    kApiAdjustWindowRectEx,  kApiDefWindowProcA,  kApiDefWindowProcW,   kApiDefFrameProcA,    kApiDefFrameProcW,
    kApiDefDlgProcA,         kApiDefDlgProcW,     kApiDefMDIChildProcA, kApiDefMDIChildProcW, kApiCallWindowProcA,
    kApiCallWindowProcW,
};

const char kUxThemeDll[] = "UXTHEME.DLL";
// Loads that map a file only to read it: there is no import table in use to patch.
const DWORD kDataOnlyLoads =
    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE | LOAD_LIBRARY_AS_IMAGE_RESOURCE;

} // namespace

static void DestroyApiHook(void*)
{
    WVPSkinManagerApiHookDestroy();
}

CWVPSkinManagerApiHook* WVPSkinManagerApiHook()
{
    if (!g_pApiHook)
    {
        g_pApiHook = new (std::nothrow) CWVPSkinManagerApiHook;
        // Every patched import is put back before the entry function returns.
        if (g_pApiHook)
            AfxRegisterExitHandler(&DestroyApiHook, nullptr);
    }
    return g_pApiHook;
}

void WVPSkinManagerApiHookDestroy()
{
    delete g_pApiHook;
    g_pApiHook = nullptr;
}

CWVPSkinManagerApiHook::CWVPSkinManagerApiHook()
    : m_arrExcludedModules(std::begin(kExcludedModules), std::end(kExcludedModules))
{
}

CWVPSkinManagerApiHook::~CWVPSkinManagerApiHook()
{
    UnhookAllFunctions();
}

void CWVPSkinManagerApiHook::RefreshExcludedModules(bool bOnlyMissing)
{
    for (EXCLUDEDMODULE& module : m_arrExcludedModules)
    {
        if (!bOnlyMissing || !module.hModule)
            module.hModule = ::GetModuleHandleW(module.lpszName);
    }
}

void CWVPSkinManagerApiHook::InitializeHookManagement()
{
    if (m_bInstalled)
        return;
    RefreshExcludedModules(false);
    CWVPSkinManager* manager = WVPActiveSkinManager();
    DWORD options = manager ? manager->GetApplyOptions() : 0;
    for (int index : kInstallOrder)
    {
        const WVP_SKIN_API_REPLACEMENT& entry = WVPSkinApiReplacement(index);
        if (!entry.dwOption || (options & entry.dwOption))
            AddHook(index, entry.lpszDllName, entry.lpszFuncName, entry.pfnReplacement);
    }
    m_bInstalled = TRUE;
}

void CWVPSkinManagerApiHook::UnhookAllFunctions()
{
    if (!m_bInstalled)
        return;
    // Entries go one by one, so that every replacement still reached meanwhile finds either its
    // real function or none (and then calls the system's own).
    for (CWVPSkinManagerApiFunction*& function : m_arrFunctions)
    {
        CWVPSkinManagerApiFunction* gone = function;
        if (gone)
            gone->UnhookImport();
        function = nullptr;
        delete gone;
    }
    m_bInstalled = FALSE;
}

FARPROC CWVPSkinManagerApiHook::GetOriginalFunction(int nIndex) const
{
    if (nIndex < 0 || nIndex >= kApiCount)
        return nullptr;
    CWVPSkinManagerApiFunction* function = m_arrFunctions[nIndex];
    return function ? function->GetOriginal() : nullptr;
}

CWVPSkinManagerApiFunction* CWVPSkinManagerApiHook::FindHook(LPCSTR lpszDllName, LPCSTR lpszFuncName) const
{
    for (CWVPSkinManagerApiFunction* function : m_arrFunctions)
    {
        if (function && ::lstrcmpiA(function->GetDllName(), lpszDllName) == 0 &&
            ::lstrcmpA(function->GetFuncName(), lpszFuncName) == 0)
            return function;
    }
    return nullptr;
}

CWVPSkinManagerApiFunction* CWVPSkinManagerApiHook::FindReplacement(FARPROC pfnNew) const
{
    for (CWVPSkinManagerApiFunction* function : m_arrFunctions)
    {
        if (function && function->GetReplacement() == pfnNew)
            return function;
    }
    return nullptr;
}

CWVPSkinManagerApiFunction* CWVPSkinManagerApiHook::AddHook(int nIndex, LPCSTR lpszDllName, LPCSTR lpszFuncName,
                                                            FARPROC pfnNew)
{
    try
    {
        if (nIndex < 0 || nIndex >= kApiCount || FindHook(lpszDllName, lpszFuncName))
            return nullptr;
        FARPROC original = nullptr;
        if (::lstrcmpiA(lpszDllName, kUxThemeDll) != 0)
        {
            // Past the hooks: GetProcAddress and GetModuleHandleA may be replaced already.
            auto getProc = WVPSkinOriginal(kApiGetProcAddress, &::GetProcAddress);
            auto getModule = WVPSkinOriginal(kApiGetModuleHandleA, &::GetModuleHandleA);
            HMODULE module = getModule(lpszDllName);
            original = module ? getProc(module, lpszFuncName) : nullptr;
            if (!original)
            {
                module = ::LoadLibraryA(lpszDllName);
                original = module ? getProc(module, lpszFuncName) : nullptr;
            }
            if (!original)
                return nullptr;
        }
        CWVPSkinManagerApiFunction* function =
            new CWVPSkinManagerApiFunction(this, lpszDllName, lpszFuncName, original, pfnNew);
        m_arrFunctions[nIndex] = function;
        if (original)
            function->HookImport();
        return function;
    }
    catch (...)
    {
        return nullptr;
    }
}

bool CWVPSkinManagerApiHook::IsExcludedModule(HMODULE hModule) const
{
    for (const EXCLUDEDMODULE& module : m_arrExcludedModules)
    {
        // Only 64-bit NT systems run this program: the entries meant for Windows 9x never apply.
        if (module.hModule == hModule && !module.bWin9x)
            return true;
    }
    return false;
}

void CWVPSkinManagerApiHook::OnLoadLibrary(HMODULE hModule, DWORD dwFlags)
{
    RefreshExcludedModules(true);
    if (!hModule || IsExcludedModule(hModule) || (dwFlags & kDataOnlyLoads))
        return;
    for (CWVPSkinManagerApiFunction* function : m_arrFunctions)
    {
        if (function && function->ReplaceInOneModule(function->GetDllName(), function->GetOriginal(),
                                                     function->GetReplacement(), hModule))
            function->SetHooked();
    }
}
