// The printf-style formatter behind CString::Format, written for 2-byte wide characters (the C
// library's wide formatting assumes 4-byte ones). Follows the framework's conventions for the
// width of %s/%c arguments and its integer size prefixes (%I64d, %I32d, %Id, 32-bit %ld).
#pragma once

#include "platform/mfc/String.h"

// Appends the formatted text to target.
void AFXAPI AfxFormatAppend(CStringW& target, const WCHAR* pszFormat, va_list args);
void AFXAPI AfxFormatAppend(CStringA& target, const char* pszFormat, va_list args);
