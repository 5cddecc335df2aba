// The framework's basic types and macros: assertions, trace output, iteration positions and the
// calling-convention markers that framework-style code expects. Included by every framework header.
#pragma once

// std::min/std::max, not the Windows macros: framework headers mix with the C++ library's.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstddef>
#include <new>

#ifndef AFXAPI
#define AFXAPI
#endif
#ifndef AFX_INLINE
#define AFX_INLINE inline
#endif
#ifndef AFX_CDECL
#define AFX_CDECL
#endif
#ifndef DEBUG_NEW
#define DEBUG_NEW new
#endif
#ifndef _countof
#define _countof(array) (sizeof(array) / sizeof((array)[0]))
#endif

// An iteration position in a list or map; opaque to callers.
struct __POSITION
{
};
typedef __POSITION* POSITION;
#define BEFORE_START_POSITION ((POSITION)-1L)

// Reports a failed assertion through the debugger output; never ends the program.
void AFXAPI AfxAssertFailed(const char* file, int line, const char* expression);
// Writes formatted trace text to the debugger output (printf conventions of the framework).
void AFX_CDECL AfxTrace(const WCHAR* format, ...);
void AFX_CDECL AfxTrace(const char* format, ...);

#ifdef _DEBUG
#define ASSERT(f) ((f) ? (void)0 : AfxAssertFailed(__FILE__, __LINE__, #f))
#define VERIFY(f) ASSERT(f)
#define TRACE AfxTrace
#else
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#define TRACE(...) ((void)0)
#endif
#define ASSERT_VALID(pObject) ((void)0)
#define ENSURE(f) ((f) ? (void)0 : AfxThrowInvalidArgException())
#define ENSURE_ARG(f) ENSURE(f)
#define TRACE0(text) TRACE(text)
#define TRACE1(text, a) TRACE(text, a)
#define TRACE2(text, a, b) TRACE(text, a, b)
#define TRACE3(text, a, b, c) TRACE(text, a, b, c)

[[noreturn]] void AFXAPI AfxThrowInvalidArgException();

// The module whose resources (strings, dialogs, menus) the framework loads; the program itself
// unless the application sets another one.
HINSTANCE AFXAPI AfxGetResourceHandle();
void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource);
HINSTANCE AFXAPI AfxGetInstanceHandle();
void AFXAPI AfxSetInstanceHandle(HINSTANCE hInstance);
