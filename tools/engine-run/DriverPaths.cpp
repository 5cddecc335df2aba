#include "tools/engine-run/DriverPaths.h"

#include "app/core/ConvertTask.h"

#include <shellapi.h>
#include <string.h>

#include <memory>

namespace
{
struct LocalText
{
    void operator()(LPWSTR* p) const
    {
        ::LocalFree(p);
    }
};

struct HeapText
{
    void operator()(WCHAR* p) const
    {
        ::HeapFree(::GetProcessHeap(), 0, p);
    }
};
} // namespace

std::string Utf8(const CString& text)
{
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(length > 0 ? length : 1, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, &result[0], (int)result.size(), nullptr, nullptr);
    result.resize(strlen(result.c_str()));
    return result;
}

CString FromUtf8(const std::string& text)
{
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0)
        return CString();
    std::vector<WCHAR> wide(length);
    ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), length);
    return CString(wide.data());
}

std::vector<std::string> DriverArguments()
{
    int count = 0;
    std::unique_ptr<LPWSTR, LocalText> words(::CommandLineToArgvW(::GetCommandLineW(), &count));
    std::vector<std::string> arguments;
    for (int i = 0; words && i < count; ++i)
        arguments.push_back(Utf8(CString(words.get()[i])));
    return arguments;
}

CString DriverWin32Path(const std::string& utf8Path)
{
    if (!utf8Path.empty() && utf8Path[0] == '/')
    {
        std::unique_ptr<WCHAR, HeapText> dos(wine_get_dos_file_name(utf8Path.c_str()));
        return dos ? CString(dos.get()) : CString();
    }
    const CString path = FromUtf8(utf8Path);
    WCHAR full[MAX_PATH] = {};
    const DWORD length = path.IsEmpty() ? 0 : ::GetFullPathNameW(path, MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? CString(full) : path;
}

bool DriverSourcePath(const std::string& utf8Path, char* buffer, int capacity)
{
    const CString path = DriverWin32Path(utf8Path);
    return !path.IsEmpty() && ToEnginePath(path, buffer, capacity);
}

bool DriverOutputPath(const std::string& utf8Path, char* buffer, int capacity, CString* created)
{
    const CString path = DriverWin32Path(utf8Path);
    if (path.IsEmpty())
        return false;
    if (ToEnginePath(path, buffer, capacity))
        return true;
    if (!CreateForEngine(path, buffer, capacity))
        return false;
    if (created)
        *created = path;
    return true;
}

void DriverRemoveIfEmpty(const CString& created)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!created.IsEmpty() && ::GetFileAttributesExW(created, GetFileExInfoStandard, &data) &&
        !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && data.nFileSizeHigh == 0 && data.nFileSizeLow == 0)
        ::DeleteFileW(created);
}

std::string DriverDisplayPath(const char* enginePath)
{
    const CString path(enginePath);
    WCHAR longPath[MAX_PATH] = {};
    const DWORD length = path.IsEmpty() ? 0 : ::GetLongPathNameW(path, longPath, MAX_PATH);
    return Utf8(length > 0 && length < MAX_PATH ? CString(longPath) : path);
}
