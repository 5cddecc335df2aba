// Conversions between the Win32 paths the program sees (Z:\home\..., C:\users\...) and the Unix
// paths that FFmpeg, FreeType, libpng and the C library open. Call them on Win32 threads.
#pragma once

#include "platform/mfc/String.h"

// The Unix path (UTF-8 bytes) of a Win32 path; empty when it has none.
CStringA AFXAPI AfxToUnixPath(LPCWSTR win32Path);
// The same for a Win32 path in the ANSI code page.
CStringA AFXAPI AfxToUnixPathA(LPCSTR ansiWin32Path);
// The Win32 path of a Unix path; empty when it has none.
CStringW AFXAPI AfxFromUnixPath(const char* unixPath);
