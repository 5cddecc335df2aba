// An update package: a ZIP archive whose entries are files below the program folder. The
// updater checks every entry before it writes anything, stages every file beside its target,
// then replaces all targets; any failure restores the folder as it was.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CZipPackage
{
  public:
    CZipPackage();
    // Reads the archive through Win32 (a Win32 path); false when it cannot be read or parsed.
    bool Load(const WCHAR* path);
    bool LoadBytes(const std::string& bytes);
    // Writes every entry below the folder (a Win32 path without a final backslash), all or
    // nothing: false, with the folder left as it was, when the package is refused (a name
    // outside the folder, too long, used twice ignoring case or kept by the updater; too many
    // entries or bytes; no file; a link or a file of the other kind in the way) or a file cannot
    // be unpacked (also when it unpacks to another size or checksum than its entry declares) or
    // replaced.
    bool ApplyTo(const WCHAR* folder);
    // What a package may hold: entries and unpacked bytes (tests lower them).
    void SetLimits(UINT64 maxUnpackedBytes, INT64 maxEntries)
    {
        m_maxUnpacked = maxUnpackedBytes;
        m_maxEntries = maxEntries;
    }
    // Why the last call failed, for the log.
    const char* GetError() const
    {
        return m_error;
    }
    // After an applied package: the files of the updater's own it could not remove (backups of
    // the replaced files), for the log; empty when none is left.
    const std::string& GetLeftovers() const
    {
        return m_leftovers;
    }

    // An entry name that stays below the folder: relative, no drive, no "." or ".." part, no
    // empty part and no character a file name cannot hold. "/" and "\" both separate parts.
    static bool IsSafeEntryName(const char* utf8Name);

  private:
    bool Refuse(const char* reason);
    bool CheckTarget(const std::vector<WCHAR>& target, size_t folderLength, bool folder);

    std::string m_bytes;
    const char* m_error = "";
    std::string m_leftovers;
    UINT64 m_maxUnpacked;
    INT64 m_maxEntries;
};
