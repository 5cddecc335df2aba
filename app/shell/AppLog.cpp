#include "app/shell/AppLog.h"

#include "app/core/Helpers.h"
#include "app/core/HandleHolder.h"

#include <atomic>
#include <cstring>
#include <ctime>

namespace
{
const BYTE kByteOrderMark[2] = {0xFF, 0xFE};
const WCHAR kLogFile[] = L"log.txt";
const int kDateCapacity = 128;

CString& LogFolder()
{
    static CString* folder = new CString(); // never destroyed: log lines may come during exit
    return *folder;
}

std::atomic<HWND> g_engineLogWindow{nullptr};

const char* const kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};
} // namespace

void SetLogFolder(const CString& folder)
{
    LogFolder() = folder;
}

CString GetLogPath()
{
    return (LogFolder().IsEmpty() ? GetAppDir() : LogFolder()) + kLogFile;
}

int WriteLogText(const CString& text)
{
    const CString path = GetLogPath();
    CString line = text.GetLength() >= kLogLineCapacity ? text.Left(kLogLineCapacity - 1) : text;
    CFileHandle file(::CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return 0;
    DWORD written = 0;
    if (::GetLastError() != ERROR_ALREADY_EXISTS || ::GetFileSize(file.Get(), nullptr) == 0)
        ::WriteFile(file.Get(), kByteOrderMark, sizeof kByteOrderMark, &written, nullptr);
    ::WriteFile(file.Get(), (LPCWSTR)line, DWORD(line.GetLength() * sizeof(WCHAR)), &written, nullptr);
    return line.GetLength();
}

CString FormatLogDate(INT64 time)
{
    const time_t value = time_t(time);
    struct tm parts;
    if (!gmtime_r(&value, &parts))
        return CString();
    char text[kDateCapacity];
    snprintf(text, sizeof text, "%s, %s %02d, %d", kDays[parts.tm_wday], kMonths[parts.tm_mon], parts.tm_mday,
             parts.tm_year + 1900);
    return CString(text);
}

void SetEngineLogWindow(HWND window)
{
    g_engineLogWindow = window;
}

int EngineLogCallback(int jobId, const char* text)
{
    const HWND window = g_engineLogWindow;
    if (!window || !text)
        return 0;
    const int length = int(strlen(text));
    WCHAR* copy = new (std::nothrow) WCHAR[length + 1]();
    if (!copy)
        return 0;
    if (length > 0)
        ::MultiByteToWideChar(CP_ACP, 0, text, length, copy, length);
    const BOOL posted = ::PostMessageW(window, WM_RW_ENGINE_LOG, WPARAM(jobId), LPARAM(copy));
    if (!posted)
        delete[] copy;
    return posted;
}
