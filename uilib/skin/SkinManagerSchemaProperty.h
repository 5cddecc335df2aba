#pragma once
// One typed value of a skin's class-data text (string, int, bool, colour, rectangle, font,
// enumeration or position), made from a property line by WVPSkinCreateProperty and kept in the
// schema's map.
#include "platform/mfc/String.h"
#include <windows.h>

#include <memory>

class CWVPSkinManagerSchemaProperty
{
  public:
    int m_nValueType = 0;
    int m_nPropertyId = 0;
    CString m_strValue;
    int m_nValue = 0; // ints and enumerations
    bool m_bValue = false;
    COLORREF m_clrValue = 0;
    RECT m_rcValue = {}; // left, top, right, bottom
    std::unique_ptr<LOGFONTW> m_pFont;
    POINT m_ptValue = {};

    // Frees the string or font and forgets the type.
    void ClearProperty();
};

// A new property of the value type from a property line's value text (upper case), or null for
// the types that are not stored (integer lists and unknown types).
CWVPSkinManagerSchemaProperty* WVPSkinCreateProperty(LPCWSTR propertyName, int valueType, LPCWSTR valueText);

// Whether the character is a blank of the class-data text: space, tab, line and page breaks.
bool WVPSkinIsBlank(WCHAR ch);

// Parses one integer as the C library's "%i" would (optional sign, 0x hexadecimal, leading-0
// octal) after leading blanks; advances the text past it. FALSE when no digit is there.
BOOL WVPSkinParseInt(LPCWSTR& text, LONGLONG& value, int base = 0);
