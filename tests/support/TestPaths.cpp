#include "TestPaths.h"

#include <windows.h>

#include <cstdlib>
#include <string>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

extern "C" WCHAR* CDECL wine_get_dos_file_name(const char* unixName);
extern "C" char* CDECL wine_get_unix_file_name(const WCHAR* dosName);

namespace rwtest
{
std::string ProgramDir()
{
    return RW_PROGRAM_DIR;
}

std::string MediaDir()
{
    return RW_TEST_MEDIA_DIR;
}

std::string Media(const std::string& name)
{
    return MediaDir() + "/" + name;
}

static int RemoveEntry(const char* path, const struct stat*, int, struct FTW*)
{
    return ::remove(path);
}

static void MakeDirs(const std::string& dir)
{
    for (size_t pos = 1; pos != std::string::npos; pos = dir.find('/', pos + 1))
        ::mkdir(dir.substr(0, pos).c_str(), 0755);
    ::mkdir(dir.c_str(), 0755);
}

std::string ScratchDir(const std::string& name)
{
    // A test program registered twice (in another mode) gets a scratch root of its own.
    char root[1024] = "";
    DWORD length = ::GetEnvironmentVariableA("RW_SCRATCH_DIR", root, sizeof(root));
    std::string base =
        length > 0 && length < sizeof(root) ? std::string(root) : std::string(RW_BINARY_DIR) + "/scratch";
    std::string dir = base + "/" + name;
    ::nftw(dir.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
    MakeDirs(dir);
    return dir;
}

std::string RunningProgramDir()
{
    WCHAR path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::string();
    char* unixPath = wine_get_unix_file_name(path);
    if (!unixPath)
        return std::string();
    std::string folder(unixPath);
    ::HeapFree(::GetProcessHeap(), 0, unixPath);
    const size_t slash = folder.rfind('/');
    return slash == std::string::npos ? std::string() : folder.substr(0, slash);
}

std::string ToWin32Path(const std::string& unixPath)
{
    WCHAR* dos = wine_get_dos_file_name(unixPath.c_str());
    if (!dos)
        return std::string();
    char buf[4 * MAX_PATH];
    ::WideCharToMultiByte(CP_UTF8, 0, dos, -1, buf, sizeof(buf), nullptr, nullptr);
    ::HeapFree(::GetProcessHeap(), 0, dos);
    return buf;
}
}
