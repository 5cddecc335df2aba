#include "engine/UnixPath.h"

#include "platform/mfc/WinePath.h"

bool EngineToUnixPath(const char* path, std::string* unixPath)
{
    if (!path || !*path || !unixPath)
        return false;
    if (path[0] == '/')
    {
        *unixPath = path;
        return true;
    }
    CStringA converted = AfxToUnixPathA(path);
    if (converted.IsEmpty())
        return false;
    *unixPath = converted.GetString();
    return true;
}
