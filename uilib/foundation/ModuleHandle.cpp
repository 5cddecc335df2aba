#include "uilib/foundation/ModuleHandle.h"

namespace
{
const DWORD kComCtlVersionWithout = 0x40000; // 4.0: a COMCTL32 without DllGetVersion
DWORD g_comCtlVersion = 0;
} // namespace

CWVPModuleHandle::CWVPModuleHandle() : m_hModule(nullptr), m_mode(ModeNone)
{
    ::ZeroMemory(&m_version, sizeof(m_version));
}

CWVPModuleHandle::CWVPModuleHandle(LPCWSTR name) : CWVPModuleHandle()
{
    Init(name);
}

CWVPModuleHandle::~CWVPModuleHandle()
{
    FreeLibrary();
}

BOOL CWVPModuleHandle::Init(LPCWSTR name)
{
    return GetModuleHandle(name) || LoadLibrary(name);
}

BOOL CWVPModuleHandle::LoadLibrary(LPCWSTR name)
{
    FreeLibrary();
    m_hModule = ::LoadLibraryW(name);
    if (!m_hModule)
        return FALSE;
    m_mode = ModeLoadedHere;
    m_name = name;
    return TRUE;
}

BOOL CWVPModuleHandle::GetModuleHandle(LPCWSTR name)
{
    FreeLibrary();
    m_hModule = ::GetModuleHandleW(name);
    if (!m_hModule)
        return FALSE;
    m_mode = ModeFoundLoaded;
    m_name = name;
    return TRUE;
}

BOOL CWVPModuleHandle::FreeLibrary()
{
    BOOL result = TRUE;
    if (m_hModule && m_mode == ModeLoadedHere)
        result = ::FreeLibrary(m_hModule);
    m_hModule = nullptr;
    m_mode = ModeNone;
    m_name.Empty();
    ::ZeroMemory(&m_version, sizeof(m_version));
    return result;
}

DWORD CWVPModuleHandle::GetVersion()
{
    if (m_version.cbSize == 0)
    {
        m_version.cbSize = sizeof(DLLVERSIONINFO);
        DLLGETVERSIONPROC getVersion = nullptr;
        if (m_hModule)
            getVersion = reinterpret_cast<DLLGETVERSIONPROC>(::GetProcAddress(m_hModule, "DllGetVersion"));
        if (getVersion && FAILED(getVersion(&m_version)))
            m_version.dwMajorVersion = m_version.dwMinorVersion = 0;
    }
    return MAKELONG(m_version.dwMinorVersion, m_version.dwMajorVersion);
}

BOOL CWVPModuleHandle::GetProcAddress(FARPROC* proc, LPCSTR name, DWORD minVersion)
{
    if (!m_hModule)
        return FALSE;
    if (minVersion > GetVersion())
    {
        *proc = nullptr;
        return FALSE;
    }
    *proc = ::GetProcAddress(m_hModule, name);
    return *proc != nullptr;
}

DWORD WVPGetComCtlVersion()
{
    if (g_comCtlVersion == 0)
    {
        CWVPModuleHandle comctl;
        comctl.Init(L"COMCTL32.DLL");
        g_comCtlVersion = WVPComCtlVersionOf(comctl);
    }
    return g_comCtlVersion;
}

DWORD WVPComCtlVersionOf(CWVPModuleHandle& module)
{
    DWORD version = module.GetVersion();
    return version ? version : kComCtlVersionWithout;
}

void WVPSetComCtlVersion(DWORD version)
{
    g_comCtlVersion = version;
}
