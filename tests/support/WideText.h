// UTF-16 texts as UTF-8 std::string for comparisons and messages: the C++ library's wide strings
// assume a 4-byte wchar_t and cannot be used here.
#pragma once

#include <windows.h>

#include <string>

namespace rwtest
{
inline std::string Utf8(LPCWSTR text, int length = -1)
{
    if (!text)
        return std::string();
    int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(size_t(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, length, &out[0], size, nullptr, nullptr);
    if (length < 0 && !out.empty())
        out.pop_back(); // the terminating zero
    return out;
}
} // namespace rwtest
