// The program's diagnostic log "log.txt" (UTF-16 LE with a byte-order mark, one line appended at a
// time, opened and closed for each line) and the engine's log sink, which hands each conversion
// log line to the main window as a posted message. WriteLog runs on the UI thread only.
#pragma once

#include "app/core/PrivateMessages.h"
#include "platform/mfc/Mfc.h"

// The longest log line, terminator included; longer lines are cut there.
const int kLogLineCapacity = 4096;
// WM_RW_ENGINE_LOG is posted to the main window for each engine log line: wParam the job id,
// lParam a UTF-16 text allocated with new[] that the receiver frees with delete[].

// The folder of "log.txt" (with its final backslash); the program folder unless set.
void SetLogFolder(const CString& folder);
CString GetLogPath();
// Appends the text as it is; the number of characters written, 0 when the file cannot be made.
int WriteLogText(const CString& text);
template <typename... Args> int WriteLog(LPCWSTR format, const Args&... args)
{
    CString line;
    line.Format(format, args...);
    return WriteLogText(line);
}
// A 64-bit time as "%A, %B %d, %Y" in UTC with the C library's default (English) names; empty
// when the time cannot be converted.
CString FormatLogDate(INT64 time);

// The window that receives the engine's log lines; captured once at start-up, cleared at shutdown,
// so worker threads never touch a window object.
void SetEngineLogWindow(HWND window);
// The engine's log sink: copies the 8-bit line (ANSI code page) into a new UTF-16 array and posts
// it to the log window. Runs on job worker threads.
int EngineLogCallback(int jobId, const char* text);
