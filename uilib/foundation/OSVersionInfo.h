// The system's version record, read once with GetVersionExW, with the tests the library's
// drawing and binding code branch on. The record can be replaced so that callers' branches for
// other systems can be exercised.
#pragma once

#include <windows.h>

class CWVPOSVersionInfo
{
  public:
    CWVPOSVersionInfo();
    explicit CWVPOSVersionInfo(const OSVERSIONINFOW& record);

    // Replaces the record (platform id, major and minor version are what the tests read).
    void Assign(const OSVERSIONINFOW& record);
    // Reads the running system's record again.
    void Reload();
    const OSVERSIONINFOW& GetRecord() const
    {
        return m_info;
    }

    BOOL IsWin95() const;
    BOOL IsWin98() const;
    BOOL IsWin9x() const;
    BOOL IsWinNT4() const;
    BOOL IsWin2K() const;
    BOOL IsWinXP() const;
    BOOL IsWinNT4OrGreater() const;
    BOOL IsWin2KOrGreater() const;
    BOOL IsWinXPOrGreater() const;
    bool IsWinXPOrLater() const
    {
        return IsWinXPOrGreater() != FALSE;
    }
    BOOL IsVersionOrGreater(DWORD major, DWORD minor) const;
    BOOL IsVersion(DWORD major, DWORD minor) const;

  private:
    OSVERSIONINFOW m_info;
};

// The one record of the process, filled on first use.
CWVPOSVersionInfo& WVPOSVersionInfo();
