#pragma once
// Reads and writes strings under the application's registry key (HKCU\Software\<company>\<profile>):
// the list controls keep their column widths with it. Failures give null keys or FALSE and keep the
// Win32 error; readers fall back to their default text.
#include "platform/mfc/Mfc.h"

class CWVRegistryManager
{
  public:
    explicit CWVRegistryManager(HKEY hKeyBase = HKEY_CURRENT_USER);
    virtual ~CWVRegistryManager() = default;

    // TRUE when the application's registry key and profile name are both known.
    BOOL GetAppNames();
    virtual HKEY GetAppRegistryKey(REGSAM samDesired = KEY_READ | KEY_WRITE);
    virtual HKEY GetSectionKey(LPCWSTR lpszSection, REGSAM samDesired = KEY_READ | KEY_WRITE);

    // A null entry deletes the section; a null value deletes the entry.
    BOOL WriteProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszValue);
    CString GetProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszDefault = nullptr);

    LONG GetLastError() const
    {
        return m_lResult;
    }

  private:
    HKEY m_hKeyBase;
    CString m_strRegistryKey;
    CString m_strProfileName;
    LONG m_lResult = ERROR_SUCCESS;
};
