// The updater: started by the program with
//   "updater.exe" "update folder" process-id "program folder" "program file" -deleteupdate -setver=version
// it waits for the program to end, applies update folder\update.mar to the program folder and
// starts the program again with "-deleteupdate -setver=" and the new version. A package it
// refuses changes nothing; the program then starts with "-deleteupdate" alone.
#include "platform/updater/ZipPackage.h"

#include <shellapi.h>

#include <cstdio>

namespace
{
const DWORD kProgramEndWaitMs = 60000;
const WCHAR kPackageName[] = L"\\update.mar";
const WCHAR kLogName[] = L"\\log.txt";
const WCHAR kVersionOption[] = L"-setver=";
const int kVersionOptionLength = 8;
const int kCommandCapacity = 1024;
const int kLineCapacity = 1024;
const WCHAR kByteOrderMark = 0xFEFF;

enum ExitCode
{
    kApplied = 0,
    kBadCommandLine = 1,
    kRefused = 2,
    kRestartFailed = 3,
    kProgramStillRuns = 4,
};

class CArgs
{
  public:
    CArgs() : m_args(::CommandLineToArgvW(::GetCommandLineW(), &m_count))
    {
    }
    ~CArgs()
    {
        ::LocalFree(m_args);
    }
    CArgs(const CArgs&) = delete;
    CArgs& operator=(const CArgs&) = delete;
    int Count() const
    {
        return m_args ? m_count : 0;
    }
    const WCHAR* operator[](int i) const
    {
        return m_args[i];
    }

  private:
    int m_count = 0;
    LPWSTR* m_args;
};

// Appends one line to the program's log (UTF-16 with a byte-order mark, as the program writes it).
void Log(const WCHAR* programFolder, const char* text)
{
    WCHAR path[MAX_PATH] = {};
    ::lstrcpynW(path, programFolder, MAX_PATH - 10);
    ::lstrcatW(path, kLogName);
    HANDLE file =
        ::CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    WCHAR line[kLineCapacity] = {};
    int length = 0;
    if (::GetFileSize(file, nullptr) == 0)
        line[length++] = kByteOrderMark;
    length += ::MultiByteToWideChar(CP_UTF8, 0, "updater: ", -1, line + length, kLineCapacity - length) - 1;
    length += ::MultiByteToWideChar(CP_UTF8, 0, text, -1, line + length, kLineCapacity - length - 2) - 1;
    line[length++] = L'\n';
    DWORD written = 0;
    ::WriteFile(file, line, DWORD(length * sizeof(WCHAR)), &written, nullptr);
    ::CloseHandle(file);
}

DWORD ParseNumber(const WCHAR* text)
{
    DWORD value = 0;
    for (; *text >= L'0' && *text <= L'9'; ++text)
        value = value * 10 + DWORD(*text - L'0');
    return value;
}

bool IsPlainName(const WCHAR* name)
{
    if (!*name)
        return false;
    for (const WCHAR* c = name; *c; ++c)
        if (*c == L'\\' || *c == L'/' || *c == L':' || *c == L'"')
            return false;
    return true;
}

bool IsVersion(const WCHAR* version)
{
    if (!*version)
        return false;
    for (const WCHAR* c = version; *c; ++c)
        if (!((*c >= L'0' && *c <= L'9') || *c == L'.'))
            return false;
    return true;
}

void WaitForProgram(DWORD processId, const WCHAR* programFolder, bool& stillRuns)
{
    stillRuns = false;
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process)
        return; // already gone
    stillRuns = ::WaitForSingleObject(process, kProgramEndWaitMs) != WAIT_OBJECT_0;
    ::CloseHandle(process);
    if (stillRuns)
        Log(programFolder, "the program did not end; nothing was changed");
}

bool StartProgram(const WCHAR* programFolder, const WCHAR* programName, const WCHAR* version)
{
    WCHAR command[kCommandCapacity] = {};
    if (version)
        ::wsprintfW(command, L"\"%s\\%s\" -deleteupdate -setver=%s", programFolder, programName, version);
    else
        ::wsprintfW(command, L"\"%s\\%s\" -deleteupdate", programFolder, programName);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, programFolder,
                          &startup, &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

int RunUpdater()
{
    CArgs args;
    if (args.Count() < 5)
        return kBadCommandLine;
    const WCHAR* updateFolder = args[1];
    const DWORD processId = ParseNumber(args[2]);
    const WCHAR* programFolder = args[3];
    const WCHAR* programName = args[4];
    const WCHAR* version = nullptr;
    for (int i = 5; i < args.Count(); ++i)
        if (::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, args[i], kVersionOptionLength, kVersionOption,
                             kVersionOptionLength) == CSTR_EQUAL)
            version = args[i] + kVersionOptionLength;
    if (!IsPlainName(programName) || !version || !IsVersion(version) ||
        ::lstrlenW(updateFolder) + ::lstrlenW(kPackageName) >= MAX_PATH)
    {
        Log(programFolder, "bad command line");
        return kBadCommandLine;
    }
    bool stillRuns = false;
    WaitForProgram(processId, programFolder, stillRuns);
    if (stillRuns)
        return kProgramStillRuns;

    WCHAR package[MAX_PATH] = {};
    ::lstrcpyW(package, updateFolder);
    ::lstrcatW(package, kPackageName);
    CZipPackage zip;
    const bool applied = zip.Load(package) && zip.ApplyTo(programFolder);
    if (!applied)
    {
        char line[kLineCapacity];
        std::snprintf(line, sizeof line, "the package was refused: %s", zip.GetError());
        Log(programFolder, line);
    }
    else if (!zip.GetLeftovers().empty())
    {
        char line[kLineCapacity / 2]; // leaves the log line room for its prefix
        std::snprintf(line, sizeof line, "%s", zip.GetLeftovers().c_str());
        Log(programFolder, line);
    }
    if (!StartProgram(programFolder, programName, applied ? version : nullptr))
    {
        Log(programFolder, "the program cannot be started again");
        return kRestartFailed;
    }
    return applied ? kApplied : kRefused;
}
} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    try
    {
        return RunUpdater();
    }
    catch (...)
    {
        return kRefused;
    }
}
