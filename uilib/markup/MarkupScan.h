// Number scanners for attribute texts, following the Microsoft C runtime's rules (wcstol and the
// formatted input of swscanf). glibc's wide functions assume a 4-byte wchar_t and cannot be used.
#pragma once

#include <windows.h>

// White space as the runtime's formatted input knows it: tab, LF, VT, FF, CR and space.
inline BOOL MarkupIsScanSpace(WCHAR c)
{
    return c == ' ' || (c >= 9 && c <= 13);
}

// The text's decimal value as wcstol reads it in base 10: optional leading white space and sign,
// digits up to the first other character; 0 without digits; out-of-range values are clamped.
LONG MarkupScanLong(LPCWSTR text);

// Formatted input over a UTF-16 text. The format may hold white space (matching any run of white
// space, also none), literal characters (matched exactly) and the conversions %f (float*), %i
// (int*), %d (int*) and %x (unsigned*), each with an optional width. Returns the number of values
// stored, or -1 when the text ended before the first conversion.
int MarkupScanFormat(LPCWSTR text, LPCSTR format, ...);
