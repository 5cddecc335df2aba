// Reading numbers out of UTF-16 texts the way the C library's atoi and atof read 8-bit ones: the
// leading number only, 0 when there is none. Used by the profile, XML and task code (the C
// library's own wide functions assume a 4-byte wchar_t on this platform).
#pragma once

#include <windows.h>

// Skips leading white space, takes an optional sign and the decimal digits that follow.
int ReadLeadingInt(const WCHAR* text);
// The same for a decimal floating-point number with an optional fraction and exponent.
double ReadLeadingFloat(const WCHAR* text);
// True when the text starts with a number the readers above take (after white space and a sign).
bool StartsWithNumber(const WCHAR* text);
