// UTF-16 text for the engine's own code. std::u16string is used because the C and C++ libraries'
// wide-character functions assume a 4-byte wchar_t; Win32 calls get the text through Win32Text.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

using WideText = std::u16string;

inline const WCHAR* Win32Text(const WideText& text)
{
    return reinterpret_cast<const WCHAR*>(text.c_str());
}

inline WideText ToWideText(const WCHAR* text)
{
    return text ? WideText(reinterpret_cast<const char16_t*>(text)) : WideText();
}

// An 8-bit text in the given code page as UTF-16; empty when it cannot be converted.
WideText WideFromMultiByte(const char* text, UINT codePage = CP_ACP);

// True for white space in the Unicode sense (blank, tab, line ends, ideographic space ...).
bool IsWideSpace(char16_t c);

// The text without white space at either end (TrimWideRight: at its end only).
WideText TrimWide(const WideText& text);
WideText TrimWideRight(const WideText& text);

// The leading decimal integer of the text as the C library's atoi reads it (0 without digits).
int ParseWideDecimal(const WideText& text);

// The text in lower case (by the system's rules).
WideText LowerWide(WideText text);
