#include "uilib/foundation/OSVersionInfo.h"

namespace
{
const DWORD kPlatform9x = VER_PLATFORM_WIN32_WINDOWS; // 1
const DWORD kPlatformNT = VER_PLATFORM_WIN32_NT;      // 2
} // namespace

CWVPOSVersionInfo::CWVPOSVersionInfo()
{
    Reload();
}

CWVPOSVersionInfo::CWVPOSVersionInfo(const OSVERSIONINFOW& record)
{
    Assign(record);
}

void CWVPOSVersionInfo::Assign(const OSVERSIONINFOW& record)
{
    m_info = record;
    m_info.dwOSVersionInfoSize = sizeof(m_info);
}

void CWVPOSVersionInfo::Reload()
{
    ::ZeroMemory(&m_info, sizeof(m_info));
    m_info.dwOSVersionInfoSize = sizeof(m_info);
    ::GetVersionExW(&m_info);
}

BOOL CWVPOSVersionInfo::IsWin95() const
{
    return m_info.dwPlatformId == kPlatform9x && m_info.dwMajorVersion == 4 && m_info.dwMinorVersion < 10;
}

BOOL CWVPOSVersionInfo::IsWin98() const
{
    return m_info.dwPlatformId == kPlatform9x && IsVersion(4, 10);
}

BOOL CWVPOSVersionInfo::IsWin9x() const
{
    return m_info.dwPlatformId == kPlatform9x;
}

BOOL CWVPOSVersionInfo::IsWinNT4() const
{
    return m_info.dwPlatformId == kPlatformNT && IsVersion(4, 0);
}

BOOL CWVPOSVersionInfo::IsWin2K() const
{
    return m_info.dwPlatformId == kPlatformNT && IsVersion(5, 0);
}

BOOL CWVPOSVersionInfo::IsWinXP() const
{
    return m_info.dwPlatformId == kPlatformNT && IsVersion(5, 1);
}

BOOL CWVPOSVersionInfo::IsWinNT4OrGreater() const
{
    return m_info.dwPlatformId >= kPlatformNT && m_info.dwMajorVersion >= 4;
}

BOOL CWVPOSVersionInfo::IsWin2KOrGreater() const
{
    return m_info.dwPlatformId >= kPlatformNT && m_info.dwMajorVersion >= 5;
}

BOOL CWVPOSVersionInfo::IsWinXPOrGreater() const
{
    return m_info.dwPlatformId > kPlatform9x && IsVersionOrGreater(5, 1);
}

BOOL CWVPOSVersionInfo::IsVersionOrGreater(DWORD major, DWORD minor) const
{
    return m_info.dwMajorVersion > major || (m_info.dwMajorVersion == major && m_info.dwMinorVersion >= minor);
}

BOOL CWVPOSVersionInfo::IsVersion(DWORD major, DWORD minor) const
{
    return m_info.dwMajorVersion == major && m_info.dwMinorVersion == minor;
}

CWVPOSVersionInfo& WVPOSVersionInfo()
{
    // Never freed: the record holds no resource and is read until the very end.
    static CWVPOSVersionInfo* instance = new CWVPOSVersionInfo;
    return *instance;
}
