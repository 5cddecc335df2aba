// Reads a module's import address table: which address the module calls for one imported
// function, so that skin tests can see whether a hook is in place or was put back.
#pragma once

#include <windows.h>

namespace rwtest
{
// The value of the import slot through which the module calls a function of the DLL, when that
// slot holds either of the two addresses; null when it has none.
inline FARPROC ImportSlotValue(HMODULE module, const char* dll, FARPROC real, FARPROC replacement)
{
    BYTE* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* desc = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); desc->Name; ++desc)
    {
        if (lstrcmpiA(reinterpret_cast<char*>(base + desc->Name), dll) != 0)
            continue;
        for (auto* slot = reinterpret_cast<FARPROC*>(base + desc->FirstThunk); *slot; ++slot)
        {
            if (*slot == real || *slot == replacement)
                return *slot;
        }
    }
    return nullptr;
}
} // namespace rwtest
