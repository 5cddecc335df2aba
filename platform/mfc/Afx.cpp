#include "platform/mfc/Afx.h"

#include "platform/mfc/String.h"

#include <atomic>
#include <cstdio>

namespace
{
std::atomic<HINSTANCE> g_hInstResource{nullptr};
std::atomic<HINSTANCE> g_hInstance{nullptr};
} // namespace

void AFXAPI AfxAssertFailed(const char* file, int line, const char* expression)
{
    char text[512];
    std::snprintf(text, sizeof(text), "%s(%d): assertion failed: %s\n", file, line, expression);
    ::OutputDebugStringA(text);
}

void AFX_CDECL AfxTrace(const WCHAR* format, ...)
{
    CStringW text;
    va_list args;
    va_start(args, format);
    text.FormatV(format, args);
    va_end(args);
    ::OutputDebugStringW(text);
}

void AFX_CDECL AfxTrace(const char* format, ...)
{
    CStringA text;
    va_list args;
    va_start(args, format);
    text.FormatV(format, args);
    va_end(args);
    ::OutputDebugStringA(text);
}

HINSTANCE AFXAPI AfxGetInstanceHandle()
{
    HINSTANCE h = g_hInstance.load();
    return h ? h : ::GetModuleHandleW(nullptr);
}

void AFXAPI AfxSetInstanceHandle(HINSTANCE hInstance)
{
    g_hInstance = hInstance;
}

HINSTANCE AFXAPI AfxGetResourceHandle()
{
    HINSTANCE h = g_hInstResource.load();
    return h ? h : AfxGetInstanceHandle();
}

void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource)
{
    g_hInstResource = hInstResource;
}
