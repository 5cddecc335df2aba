#include "app/shell/ModuleVersion.h"

#include "app/core/HandleHolder.h"

namespace
{
const int kUnread = -1;
int g_comCtlVersion = kUnread;
} // namespace

CModuleVersion::CModuleVersion() : m_info()
{
}

CModuleVersion::~CModuleVersion()
{
}

bool CModuleVersion::GetDLLVersionInfo(LPCWSTR module)
{
    m_info = DLLVERSIONINFO();
    CModuleHandle library(::LoadLibraryW(module));
    if (!library.Get())
        return false;
    typedef HRESULT(CALLBACK * GetVersionFunction)(DLLVERSIONINFO*);
    GetVersionFunction get = GetVersionFunction(::GetProcAddress(library.Get(), "DllGetVersion"));
    if (!get)
        return false;
    m_info.cbSize = sizeof m_info;
    if (FAILED(get(&m_info)))
    {
        m_info = DLLVERSIONINFO();
        return false;
    }
    return true;
}

int CModuleVersion::Packed() const
{
    return int(m_info.dwMajorVersion * 100 + m_info.dwMinorVersion);
}

int ComCtlVersion()
{
    if (g_comCtlVersion == kUnread)
    {
        CModuleVersion version;
        g_comCtlVersion = version.GetDLLVersionInfo(L"comctl32.dll") ? version.Packed() : 0;
    }
    return g_comCtlVersion;
}

void SetComCtlVersionForTest(int version)
{
    g_comCtlVersion = version < 0 ? kUnread : version;
}
