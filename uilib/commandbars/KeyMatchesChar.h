#pragma once
// Whether a virtual key types a character under any installed keyboard layout (shifted or not):
// how bars match mnemonics and keyboard tips to the keys the user presses.
#include "platform/mfc/Mfc.h"

BOOL WVPKeyMatchesChar(WCHAR ch, UINT vk);
// The upper case of one character, as the user's locale has it.
WCHAR WVPUpperChar(WCHAR ch);
// The character a caption is matched on: the one after its first '&' when that is not the last
// character (`marked` set), else its first character; 0 for an empty caption.
WCHAR WVPCaptionAccelerator(const CString& caption, BOOL* marked);
