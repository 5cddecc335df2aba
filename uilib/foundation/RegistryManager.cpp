#include "uilib/foundation/RegistryManager.h"
#include <vector>

namespace
{
// Read and write access of a section key when a value is written.
const REGSAM kReadWrite = 0x2001F;

struct KeyCloser
{
    HKEY key;
    ~KeyCloser()
    {
        if (key)
            ::RegCloseKey(key);
    }
};
} // namespace

CWVRegistryManager::CWVRegistryManager(HKEY hKeyBase) : m_hKeyBase(hKeyBase)
{
}

BOOL CWVRegistryManager::GetAppNames()
{
    if (!m_strRegistryKey.IsEmpty() && !m_strProfileName.IsEmpty())
        return TRUE;
    CWinApp* app = AfxGetApp();
    if (app && app->m_pszRegistryKey && app->m_pszProfileName)
    {
        m_strRegistryKey = app->m_pszRegistryKey;
        m_strProfileName = app->m_pszProfileName;
    }
    return !m_strRegistryKey.IsEmpty() && !m_strProfileName.IsEmpty();
}

HKEY CWVRegistryManager::GetAppRegistryKey(REGSAM samDesired)
{
    if (!GetAppNames())
        return nullptr;
    HKEY software = nullptr;
    m_lResult = ::RegOpenKeyExW(m_hKeyBase, L"Software", 0, samDesired, &software);
    if (m_lResult != ERROR_SUCCESS)
        return nullptr;
    KeyCloser closeSoftware{software};
    HKEY company = nullptr;
    DWORD disposition = 0;
    m_lResult = ::RegCreateKeyExW(software, m_strRegistryKey, 0, nullptr, REG_OPTION_NON_VOLATILE, samDesired, nullptr,
                                  &company, &disposition);
    if (m_lResult != ERROR_SUCCESS)
        return nullptr;
    KeyCloser closeCompany{company};
    HKEY app = nullptr;
    m_lResult = ::RegCreateKeyExW(company, m_strProfileName, 0, nullptr, REG_OPTION_NON_VOLATILE, samDesired, nullptr,
                                  &app, &disposition);
    return m_lResult == ERROR_SUCCESS ? app : nullptr;
}

HKEY CWVRegistryManager::GetSectionKey(LPCWSTR lpszSection, REGSAM samDesired)
{
    if (!lpszSection)
        return nullptr;
    HKEY app = GetAppRegistryKey(samDesired);
    if (!app)
        return nullptr;
    KeyCloser closeApp{app};
    HKEY section = nullptr;
    DWORD disposition = 0;
    m_lResult = ::RegCreateKeyExW(app, lpszSection, 0, nullptr, REG_OPTION_NON_VOLATILE, samDesired, nullptr, &section,
                                  &disposition);
    return m_lResult == ERROR_SUCCESS ? section : nullptr;
}

BOOL CWVRegistryManager::WriteProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszValue)
{
    if (!lpszSection || !GetAppNames())
        return FALSE;
    if (!lpszEntry)
    {
        HKEY app = GetAppRegistryKey();
        if (!app)
            return FALSE;
        KeyCloser closeApp{app};
        m_lResult = ::RegDeleteKeyW(app, lpszSection);
        return m_lResult == ERROR_SUCCESS;
    }
    HKEY section = GetSectionKey(lpszSection, kReadWrite);
    if (!section)
        return FALSE;
    KeyCloser closeSection{section};
    if (!lpszValue)
        m_lResult = ::RegDeleteValueW(section, lpszEntry);
    else
        m_lResult = ::RegSetValueExW(section, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                                     DWORD((::lstrlenW(lpszValue) + 1) * sizeof(WCHAR)));
    return m_lResult == ERROR_SUCCESS;
}

CString CWVRegistryManager::GetProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszDefault)
{
    const CString fallback(lpszDefault ? lpszDefault : L"");
    if (!GetAppNames())
        return fallback;
    HKEY section = GetSectionKey(lpszSection, KEY_READ);
    if (!section)
        return fallback;
    KeyCloser closeSection{section};
    DWORD type = 0;
    DWORD size = 0;
    m_lResult = ::RegQueryValueExW(section, lpszEntry, nullptr, &type, nullptr, &size);
    if (m_lResult != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return fallback;
    // One character more than the value holds, so that a value stored without its terminating zero
    // still ends.
    std::vector<WCHAR> text(size / sizeof(WCHAR) + 2, 0);
    DWORD capacity = DWORD((text.size() - 1) * sizeof(WCHAR));
    m_lResult = ::RegQueryValueExW(section, lpszEntry, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &capacity);
    if (m_lResult != ERROR_SUCCESS)
        return fallback;
    text.back() = 0;
    return CString(text.data());
}
