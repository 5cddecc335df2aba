// An update package: a ZIP archive whose entries are files below the program folder. The
// updater checks every entry name before it writes anything and refuses the whole package when
// one would land outside the folder.
#pragma once

#include <windows.h>

#include <string>

class CZipPackage
{
  public:
    // Reads the archive through Win32 (a Win32 path); false when it cannot be read or parsed.
    bool Load(const WCHAR* path);
    bool LoadBytes(const std::string& bytes);
    // Writes every entry below the folder (a Win32 path without a final backslash); false when an
    // entry name is refused (then nothing is written) or a file cannot be written.
    bool ApplyTo(const WCHAR* folder);
    // Why the last call failed, for the log.
    const char* GetError() const
    {
        return m_error;
    }

    // An entry name that stays below the folder: relative, no drive, no "." or ".." part, no
    // empty part and no character a file name cannot hold. "/" and "\" both separate parts.
    static bool IsSafeEntryName(const char* utf8Name);

  private:
    std::string m_bytes;
    const char* m_error = "";
};
