// Small helpers shared by the services' tests: Win32 paths of test files as framework strings,
// and writing a text file.
#pragma once

#include "RwTest.h"
#include "app/core/Profiles.h"
#include "platform/mfc/Mfc.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace coretest
{
inline CString Utf8(const std::string& text)
{
    WCHAR buffer[4096] = {};
    ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, buffer, 4096);
    return buffer;
}

// The Win32 path of a Unix path.
inline CString WinPath(const std::string& unixPath)
{
    return Utf8(rwtest::ToWin32Path(unixPath));
}

// The Unix path of an 8-bit Win32 path in the system code page.
inline std::string UnixOf(const char* win32Path)
{
    WCHAR wide[MAX_PATH] = {};
    ::MultiByteToWideChar(CP_ACP, 0, win32Path, -1, wide, MAX_PATH);
    char* unixName = wine_get_unix_file_name(wide);
    std::string result = unixName ? unixName : "";
    ::HeapFree(::GetProcessHeap(), 0, unixName);
    return result;
}

inline void WriteFile(const std::string& unixPath, const std::string& content)
{
    FILE* f = std::fopen(unixPath.c_str(), "wb");
    ASSERT_TRUE(f != nullptr) << unixPath;
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
}

inline std::string ReadFile(const std::string& unixPath)
{
    std::string content;
    FILE* f = std::fopen(unixPath.c_str(), "rb");
    if (!f)
        return content;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
        content.append(buffer, n);
    std::fclose(f);
    return content;
}

inline std::string Narrow(const CString& text)
{
    char buffer[8192] = {};
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
}

// Loads the profiles of the program folder; the number of profiles in all categories.
inline int LoadShippedProfiles(CategoryArray& categories)
{
    LoadProfiles(categories, WinPath(rwtest::ProgramDir() + "/profiles"));
    int profiles = 0;
    for (INT_PTR c = 0; c < categories.GetSize(); ++c)
        profiles += (int)categories[c].m_profiles.GetSize();
    return profiles;
}

// A test's program folder is the folder of the running test program: the producer SDK's folder
// is linked in beside it (the RealMedia profiles need it). Test programs run side by side and
// share that folder, so the link is made once, replaced in one step when it points elsewhere,
// and left in place for the others.
class SdkFolderLink
{
  public:
    SdkFolderLink() : m_link(rwtest::RunningProgramDir() + "/helixsdk")
    {
        const std::string target = rwtest::ProgramDir() + "/helixsdk";
        char current[4096] = {};
        const ssize_t length = ::readlink(m_link.c_str(), current, sizeof current - 1);
        if (length > 0 && target == std::string(current, length))
            return;
        const std::string fresh = m_link + "." + std::to_string(::getpid());
        ::unlink(fresh.c_str());
        if (::symlink(target.c_str(), fresh.c_str()) == 0 && ::rename(fresh.c_str(), m_link.c_str()) != 0)
            ::unlink(fresh.c_str());
    }
    SdkFolderLink(const SdkFolderLink&) = delete;
    SdkFolderLink& operator=(const SdkFolderLink&) = delete;

  private:
    std::string m_link;
};
} // namespace coretest

inline std::ostream& operator<<(std::ostream& os, const CString& text)
{
    return os << coretest::Narrow(text);
}
