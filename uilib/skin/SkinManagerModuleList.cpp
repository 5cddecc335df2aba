#include "uilib/skin/SkinManagerModuleList.h"

#include <tlhelp32.h>

namespace
{

const DWORD kProcessAccess = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;

typedef BOOL(WINAPI* EnumProcessModulesFn)(HANDLE, HMODULE*, DWORD, LPDWORD);
typedef BOOL(WINAPI* GetModuleInformationFn)(HANDLE, HMODULE, LPMODULEINFO, DWORD);
typedef HANDLE(WINAPI* CreateToolhelp32SnapshotFn)(DWORD, DWORD);
typedef BOOL(WINAPI* Module32WFn)(HANDLE, LPMODULEENTRY32W);

// Made on first use and kept for the process's life: PSAPI stays loaded once it was.
struct CSharedData
{
    HMODULE hPsapi;
    BOOL bEnumerationAvailable;

    CSharedData() : hPsapi(::LoadLibraryA("PSAPI.DLL")), bEnumerationAvailable(hPsapi != nullptr)
    {
        HMODULE kernel = ::GetModuleHandleA("KERNEL32.DLL");
        if (!bEnumerationAvailable && kernel && ::GetProcAddress(kernel, "CreateToolhelp32Snapshot"))
            bEnumerationAvailable = TRUE;
    }
};

CSharedData& SharedData()
{
    static CSharedData* data = new CSharedData; // never released, so no exit-time clean-up runs
    return *data;
}

template <class T> T Bind(HMODULE module, const char* name)
{
    return module ? reinterpret_cast<T>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

// Closes a handle when the scope ends; INVALID_HANDLE_VALUE and null are no handle.
struct HandleOwner
{
    HANDLE h;
    explicit HandleOwner(HANDLE handle) : h(handle)
    {
    }
    ~HandleOwner()
    {
        if (h && h != INVALID_HANDLE_VALUE)
            ::CloseHandle(h);
    }
    HandleOwner(const HandleOwner&) = delete;
    HandleOwner& operator=(const HandleOwner&) = delete;
};

} // namespace

class CWVPSkinManagerModuleList::CPsapiModuleEnumerator : public CModuleEnumerator
{
  public:
    CPsapiModuleEnumerator(DWORD dwProcessId, HMODULE hPsapi)
        : CModuleEnumerator(dwProcessId),
          m_pEnumProcessModules(Bind<EnumProcessModulesFn>(hPsapi, "EnumProcessModules")),
          m_pGetModuleInformation(Bind<GetModuleInformationFn>(hPsapi, "GetModuleInformation"))
    {
    }

    HMODULE GetFirstModule() override
    {
        m_modules.clear();
        m_nIndex = 0;
        if (!m_pEnumProcessModules)
            return nullptr;
        HandleOwner process(::OpenProcess(kProcessAccess, FALSE, m_dwProcessId));
        if (!process.h)
            return nullptr;
        HMODULE first = nullptr;
        DWORD needed = 0;
        if (!m_pEnumProcessModules(process.h, &first, sizeof(HMODULE), &needed) || needed < sizeof(HMODULE))
            return nullptr;
        // Modules may load between the two calls: ask until the array holds them all.
        for (;;)
        {
            m_modules.assign(needed / sizeof(HMODULE), nullptr);
            DWORD bytes = DWORD(m_modules.size() * sizeof(HMODULE));
            if (!m_pEnumProcessModules(process.h, m_modules.data(), bytes, &needed))
            {
                m_modules.clear();
                return nullptr;
            }
            if (needed <= bytes)
                break;
        }
        m_modules.resize(needed / sizeof(HMODULE));
        return m_modules.empty() ? nullptr : m_modules[0];
    }

    HMODULE GetNextModule() override
    {
        if (m_modules.empty() || m_nIndex + 1 >= m_modules.size())
            return nullptr;
        return m_modules[++m_nIndex];
    }

    BOOL GetModuleInformation(HMODULE hModule, MODULEINFO* pInfo) override
    {
        if (!m_pGetModuleInformation || !pInfo)
            return FALSE;
        HandleOwner process(::OpenProcess(kProcessAccess, FALSE, m_dwProcessId));
        return process.h && m_pGetModuleInformation(process.h, hModule, pInfo, sizeof(MODULEINFO));
    }

  private:
    EnumProcessModulesFn m_pEnumProcessModules;
    GetModuleInformationFn m_pGetModuleInformation;
    std::vector<HMODULE> m_modules;
    size_t m_nIndex = 0;
};

class CWVPSkinManagerModuleList::CToolHelpModuleEnumerator : public CModuleEnumerator
{
  public:
    explicit CToolHelpModuleEnumerator(DWORD dwProcessId) : CModuleEnumerator(dwProcessId)
    {
        HMODULE kernel = ::GetModuleHandleA("KERNEL32");
        m_pCreateSnapshot = Bind<CreateToolhelp32SnapshotFn>(kernel, "CreateToolhelp32Snapshot");
        m_pModuleFirst = Bind<Module32WFn>(kernel, "Module32FirstW");
        m_pModuleNext = Bind<Module32WFn>(kernel, "Module32NextW");
        m_entry.dwSize = sizeof(m_entry);
    }

    ~CToolHelpModuleEnumerator() override
    {
        CloseSnapshot();
    }

    HMODULE GetFirstModule() override
    {
        CloseSnapshot();
        if (!m_pCreateSnapshot || !m_pModuleFirst)
            return nullptr;
        m_hSnapshot = m_pCreateSnapshot(TH32CS_SNAPMODULE, m_dwProcessId);
        if (m_hSnapshot == INVALID_HANDLE_VALUE)
            return nullptr;
        m_entry.dwSize = sizeof(m_entry);
        return m_pModuleFirst(m_hSnapshot, &m_entry) ? m_entry.hModule : nullptr;
    }

    HMODULE GetNextModule() override
    {
        if (m_hSnapshot == INVALID_HANDLE_VALUE || !m_pModuleNext)
            return nullptr;
        return m_pModuleNext(m_hSnapshot, &m_entry) ? m_entry.hModule : nullptr;
    }

    BOOL GetModuleInformation(HMODULE hModule, MODULEINFO* pInfo) override
    {
        if (!pInfo || !m_pCreateSnapshot || !m_pModuleFirst || !m_pModuleNext)
            return FALSE;
        HandleOwner snapshot(m_pCreateSnapshot(TH32CS_SNAPMODULE, m_dwProcessId));
        if (snapshot.h == INVALID_HANDLE_VALUE)
            return FALSE;
        MODULEENTRY32W entry = {};
        entry.dwSize = sizeof(entry);
        for (BOOL more = m_pModuleFirst(snapshot.h, &entry); more; more = m_pModuleNext(snapshot.h, &entry))
            if (entry.hModule == hModule)
            {
                pInfo->lpBaseOfDll = entry.modBaseAddr;
                pInfo->SizeOfImage = entry.modBaseSize;
                pInfo->EntryPoint = nullptr;
                return TRUE;
            }
        return FALSE;
    }

  private:
    void CloseSnapshot()
    {
        if (m_hSnapshot != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_hSnapshot);
        m_hSnapshot = INVALID_HANDLE_VALUE;
    }

    HANDLE m_hSnapshot = INVALID_HANDLE_VALUE;
    CreateToolhelp32SnapshotFn m_pCreateSnapshot;
    Module32WFn m_pModuleFirst;
    Module32WFn m_pModuleNext;
    MODULEENTRY32W m_entry = {};
};

CWVPSkinManagerModuleList::CWVPSkinManagerModuleList(DWORD dwProcessId, EnumMethod method) : m_pEnumerator(nullptr)
{
    CSharedData& shared = SharedData();
    if (method == kPsapi || (method == kAutomatic && shared.hPsapi))
    {
        if (shared.hPsapi)
            m_pEnumerator = new CPsapiModuleEnumerator(dwProcessId, shared.hPsapi);
    }
    else if (shared.bEnumerationAvailable)
        m_pEnumerator = new CToolHelpModuleEnumerator(dwProcessId);
}

CWVPSkinManagerModuleList::~CWVPSkinManagerModuleList()
{
    delete m_pEnumerator;
}

HMODULE CWVPSkinManagerModuleList::GetFirstModule()
{
    return m_pEnumerator ? m_pEnumerator->GetFirstModule() : nullptr;
}

HMODULE CWVPSkinManagerModuleList::GetNextModule()
{
    return m_pEnumerator ? m_pEnumerator->GetNextModule() : nullptr;
}

BOOL CWVPSkinManagerModuleList::GetModuleInformation(HMODULE hModule, MODULEINFO* pInfo)
{
    return m_pEnumerator && hModule ? m_pEnumerator->GetModuleInformation(hModule, pInfo) : FALSE;
}

BOOL CWVPSkinManagerModuleList::IsEnumerationAvailable()
{
    return SharedData().bEnumerationAvailable;
}
