// Runs one of the test suite's helper programs to its end and gives its exit code: the tests of
// clean exits check what a whole process leaves behind.
#pragma once

#include "RwTest.h"
#include "TestPaths.h"

#include <string>
#include <vector>

namespace rwtest
{
// Starts the program (a Unix path to its .exe.so image) with the arguments, waits for its end and
// returns its exit code; 0xFFFFFFFF when it could not be started.
inline DWORD RunProbe(const std::string& unixImage, const std::string& arguments)
{
    std::string command = "\"" + ToWin32Path(unixImage) + "\" " + arguments;
    int length = ::MultiByteToWideChar(CP_UTF8, 0, command.c_str(), -1, nullptr, 0);
    std::vector<WCHAR> wide(length > 0 ? length : 1);
    ::MultiByteToWideChar(CP_UTF8, 0, command.c_str(), -1, wide.data(), length);
    STARTUPINFOW si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return 0xFFFFFFFF;
    ::WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD exitCode = 0xFFFFFFFF;
    ::GetExitCodeProcess(pi.hProcess, &exitCode);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return exitCode;
}
} // namespace rwtest
