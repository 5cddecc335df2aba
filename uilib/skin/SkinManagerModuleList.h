#pragma once
// Lists the modules loaded in a process, through PSAPI when it is present and through the
// ToolHelp snapshot functions otherwise; the import-table hooks walk every module it lists, and
// the skin manager loads no skin where neither way exists.
#include <windows.h>

#include <psapi.h>
#include <vector>

class CWVPSkinManagerModuleList
{
  public:
    // How a list enumerates; the automatic choice prefers PSAPI.
    enum EnumMethod
    {
        kAutomatic,
        kPsapi,
        kToolHelp,
    };

    class CModuleEnumerator
    {
      public:
        explicit CModuleEnumerator(DWORD dwProcessId) : m_dwProcessId(dwProcessId)
        {
        }
        virtual ~CModuleEnumerator() = default;
        virtual HMODULE GetFirstModule() = 0;
        virtual HMODULE GetNextModule() = 0;
        virtual BOOL GetModuleInformation(HMODULE hModule, MODULEINFO* pInfo) = 0;

      protected:
        DWORD m_dwProcessId;
    };

    class CPsapiModuleEnumerator;
    class CToolHelpModuleEnumerator;

    explicit CWVPSkinManagerModuleList(DWORD dwProcessId, EnumMethod method = kAutomatic);
    ~CWVPSkinManagerModuleList();
    CWVPSkinManagerModuleList(const CWVPSkinManagerModuleList&) = delete;
    CWVPSkinManagerModuleList& operator=(const CWVPSkinManagerModuleList&) = delete;

    HMODULE GetFirstModule();
    HMODULE GetNextModule();
    BOOL GetModuleInformation(HMODULE hModule, MODULEINFO* pInfo);

    // Whether this process can enumerate its modules at all.
    static BOOL IsEnumerationAvailable();

  private:
    CModuleEnumerator* m_pEnumerator;
};
