// A loaded-module handle that knows how it was obtained (found loaded or loaded by itself, and
// so whether it must free it) and reads the module's version through DllGetVersion. Used to bind
// optional system functions by name.
#pragma once

#include <windows.h>
#include <shlwapi.h>

#include "platform/mfc/String.h"

class CWVPModuleHandle
{
  public:
    enum Mode
    {
        ModeNone = 0,
        ModeFoundLoaded = 1,
        ModeLoadedHere = 2,
    };

    CWVPModuleHandle();
    explicit CWVPModuleHandle(LPCWSTR name);
    virtual ~CWVPModuleHandle();
    CWVPModuleHandle(const CWVPModuleHandle&) = delete;
    CWVPModuleHandle& operator=(const CWVPModuleHandle&) = delete;

    // The loaded module of that name, else the module loaded now.
    BOOL Init(LPCWSTR name);
    BOOL LoadLibrary(LPCWSTR name);
    BOOL GetModuleHandle(LPCWSTR name);
    // Frees the module only when this object loaded it; forgets it in every case.
    BOOL FreeLibrary();

    // major << 16 | minor from the module's DllGetVersion; 0 without one.
    DWORD GetVersion();
    // The entry point of the name, refused (null) when the module is older than minVersion.
    BOOL GetProcAddress(FARPROC* proc, LPCSTR name, DWORD minVersion = 0);
    template <typename T> BOOL GetProcAddress(T* proc, LPCSTR name, DWORD minVersion = 0)
    {
        FARPROC raw = nullptr;
        BOOL found = GetProcAddress(&raw, name, minVersion);
        *proc = reinterpret_cast<T>(raw);
        return found;
    }

    HMODULE GetHandle() const
    {
        return m_hModule;
    }
    operator HMODULE() const
    {
        return m_hModule;
    }
    int GetMode() const
    {
        return m_mode;
    }
    const CString& GetName() const
    {
        return m_name;
    }

  private:
    CString m_name;
    HMODULE m_hModule;
    int m_mode;
    DLLVERSIONINFO m_version;
};

// COMCTL32's version, major << 16 | minor, read once; 0x40000 when it reports none.
DWORD WVPGetComCtlVersion();
// The version a COMCTL32 module reports, 0x40000 when it has no DllGetVersion.
DWORD WVPComCtlVersionOf(CWVPModuleHandle& module);
// Replaces the cached COMCTL32 version (0 reads it again on next use).
void WVPSetComCtlVersion(DWORD version);
