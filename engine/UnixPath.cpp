#include "engine/UnixPath.h"

#include <memory>
#include <vector>

#include <windows.h>

namespace
{
struct HeapDeleter
{
    void operator()(char* p) const { ::HeapFree(::GetProcessHeap(), 0, p); }
};
}

bool EngineToUnixPath(const char* path, std::string* unixPath)
{
    if (!path || !*path || !unixPath)
        return false;
    if (path[0] == '/')
    {
        *unixPath = path;
        return true;
    }
    int length = ::MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    if (length <= 0)
        return false;
    std::vector<WCHAR> wide(length);
    ::MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), length);
    std::unique_ptr<char, HeapDeleter> converted(wine_get_unix_file_name(wide.data()));
    if (!converted)
        return false;
    *unixPath = converted.get();
    return true;
}
