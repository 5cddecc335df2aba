#include "uilib/skin/SkinManagerApiFunction.h"

#include "platform/mfc/SyncObject.h"
#include "uilib/skin/SkinManagerApiHook.h"
#include "uilib/skin/SkinManagerModuleList.h"

#include <wine/exception.h>

namespace
{

// The import-address-table slot of the DLL's import whose value is pfnCurrent, or null. Reads the
// module's headers as they lie in memory.
FARPROC* FindImportSlot(HMODULE hModule, LPCSTR lpszDllName, FARPROC pfnCurrent)
{
    BYTE* base = reinterpret_cast<BYTE*>(hModule);
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE)
        return nullptr;
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE || nt->OptionalHeader.NumberOfRvaAndSizes <= IMAGE_DIRECTORY_ENTRY_IMPORT)
        return nullptr;
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress || !dir.Size)
        return nullptr;
    for (const IMAGE_IMPORT_DESCRIPTOR* desc =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
         desc->Name; ++desc)
    {
        if (::lstrcmpiA(reinterpret_cast<LPCSTR>(base + desc->Name), lpszDllName) != 0 || !desc->FirstThunk)
            continue;
        for (FARPROC* slot = reinterpret_cast<FARPROC*>(base + desc->FirstThunk); *slot; ++slot)
        {
            if (*slot == pfnCurrent)
                return slot;
        }
    }
    return nullptr;
}

bool WriteSlot(FARPROC* slot, FARPROC pfnNew)
{
    MEMORY_BASIC_INFORMATION info;
    if (!::VirtualQuery(slot, &info, sizeof info))
        return false;
    DWORD oldProtect = 0;
    if (!::VirtualProtect(info.BaseAddress, info.RegionSize, PAGE_READWRITE, &oldProtect))
        return false;
    *slot = pfnNew;
    DWORD ignored = 0;
    ::VirtualProtect(info.BaseAddress, info.RegionSize, oldProtect, &ignored);
    return true;
}

} // namespace

CWVPSkinManagerApiFunction::CWVPSkinManagerApiFunction(CWVPSkinManagerApiHook* pHook, LPCSTR lpszDllName,
                                                       LPCSTR lpszFuncName, FARPROC pfnOrig, FARPROC pfnNew)
    : m_pHook(pHook), m_pfnOrig(pfnOrig), m_pfnNew(pfnNew)
{
    ::lstrcpynA(m_szDllName, lpszDllName, sizeof m_szDllName);
    ::lstrcpynA(m_szFuncName, lpszFuncName, sizeof m_szFuncName);
}

CWVPSkinManagerApiFunction::~CWVPSkinManagerApiFunction()
{
    UnhookImport();
}

bool CWVPSkinManagerApiFunction::HookImport()
{
    m_bHooked = ReplaceInAllModules(m_szDllName, m_pfnOrig, m_pfnNew);
    return m_bHooked;
}

bool CWVPSkinManagerApiFunction::UnhookImport()
{
    if (m_bHooked)
    {
        ReplaceInAllModules(m_szDllName, m_pfnNew, m_pfnOrig);
        m_bHooked = false;
    }
    return true;
}

bool CWVPSkinManagerApiFunction::ReplaceInAllModules(LPCSTR lpszDllName, FARPROC pfnCurrent, FARPROC pfnNew)
{
    if (!pfnCurrent || !pfnNew)
        return false;
    HMODULE instance = ::GetModuleHandleW(nullptr);
    bool replaced = false;
    CWVPSkinManagerModuleList modules(::GetCurrentProcessId());
    for (HMODULE module = modules.GetFirstModule(); module; module = modules.GetNextModule())
    {
        if (module != instance && !m_pHook->IsExcludedModule(module))
            replaced |= ReplaceInOneModule(lpszDllName, pfnCurrent, pfnNew, module);
    }
    // The program's own module last: the replacements it contains must find everything else done.
    replaced |= ReplaceInOneModule(lpszDllName, pfnCurrent, pfnNew, instance);
    return replaced;
}

bool CWVPSkinManagerApiFunction::ReplaceInOneModule(LPCSTR lpszDllName, FARPROC pfnCurrent, FARPROC pfnNew,
                                                    HMODULE hModule)
{
    if (!pfnCurrent || !pfnNew || !hModule)
        return false;
    CSingleLock lock(&m_pHook->GetLock(), TRUE);
    volatile bool replaced = false;
    __TRY
    {
        if (FARPROC* slot = FindImportSlot(hModule, lpszDllName, pfnCurrent))
            replaced = WriteSlot(slot, pfnNew);
    }
    __EXCEPT_ALL
    {
        replaced = false;
    }
    __ENDTRY
    return replaced;
}
