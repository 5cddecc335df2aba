#pragma once
// One hooked system function: its real and replacement addresses, and the patching of the
// import tables of the process's modules from one to the other. The hook manager owns it.
#include <windows.h>

class CWVPSkinManagerApiHook;

class CWVPSkinManagerApiFunction
{
  public:
    CWVPSkinManagerApiFunction(CWVPSkinManagerApiHook* pHook, LPCSTR lpszDllName, LPCSTR lpszFuncName, FARPROC pfnOrig,
                               FARPROC pfnNew);
    // Puts the real function back where it was replaced.
    virtual ~CWVPSkinManagerApiFunction();
    CWVPSkinManagerApiFunction(const CWVPSkinManagerApiFunction&) = delete;
    CWVPSkinManagerApiFunction& operator=(const CWVPSkinManagerApiFunction&) = delete;

    bool HookImport();
    // True when no module holds the replacement any more.
    bool UnhookImport();
    bool ReplaceInAllModules(LPCSTR lpszDllName, FARPROC pfnCurrent, FARPROC pfnNew);
    // Rewrites the first import of the DLL whose slot holds pfnCurrent; false when none does.
    bool ReplaceInOneModule(LPCSTR lpszDllName, FARPROC pfnCurrent, FARPROC pfnNew, HMODULE hModule);

    LPCSTR GetDllName() const
    {
        return m_szDllName;
    }
    LPCSTR GetFuncName() const
    {
        return m_szFuncName;
    }
    FARPROC GetOriginal() const
    {
        return m_pfnOrig;
    }
    FARPROC GetReplacement() const
    {
        return m_pfnNew;
    }
    bool IsHooked() const
    {
        return m_bHooked;
    }
    void SetHooked()
    {
        m_bHooked = true;
    }

  private:
    CWVPSkinManagerApiHook* m_pHook;
    bool m_bHooked = false;
    char m_szDllName[20];
    char m_szFuncName[30];
    FARPROC m_pfnOrig;
    FARPROC m_pfnNew;
};
