#include "platform/mfc/WinePath.h"

extern "C" char* CDECL wine_get_unix_file_name(LPCWSTR dosName);
extern "C" WCHAR* CDECL wine_get_dos_file_name(const char* unixName);

CStringA AFXAPI AfxToUnixPath(LPCWSTR win32Path)
{
    if (!win32Path || !*win32Path)
        return CStringA();
    char* unixName = wine_get_unix_file_name(win32Path);
    if (!unixName)
        return CStringA();
    CStringA result(unixName);
    ::HeapFree(::GetProcessHeap(), 0, unixName);
    return result;
}

CStringA AFXAPI AfxToUnixPathA(LPCSTR ansiWin32Path)
{
    return AfxToUnixPath(CStringW(ansiWin32Path));
}

CStringW AFXAPI AfxFromUnixPath(const char* unixPath)
{
    if (!unixPath || !*unixPath)
        return CStringW();
    WCHAR* dosName = wine_get_dos_file_name(unixPath);
    if (!dosName)
        return CStringW();
    CStringW result(dosName);
    ::HeapFree(::GetProcessHeap(), 0, dosName);
    return result;
}
