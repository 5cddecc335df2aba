#pragma once
// Whether a virtual key types a character under any installed keyboard layout (shifted or not):
// how bars match mnemonics and keyboard tips to the keys the user presses.
#include <windows.h>

BOOL WVPKeyMatchesChar(WCHAR ch, UINT vk);
