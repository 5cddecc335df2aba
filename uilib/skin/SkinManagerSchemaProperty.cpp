#include "uilib/skin/SkinManagerSchemaProperty.h"

#include "uilib/skin/SkinSchemaNames.h"

namespace
{

const int kFontFaceMax = LF_FACESIZE - 1; // characters of the face name
const int kFontStyleMax = 49;             // characters of the style word
const int kFontWeightBold = 700;
const int kFontWeightNormal = 400;
const int kPointsPerInch = 72;

void SkipBlanks(LPCWSTR& text)
{
    while (WVPSkinIsBlank(*text))
        ++text;
}

// Matches one literal separator after optional blanks; the separators of the value formats.
bool Expect(LPCWSTR& text, WCHAR separator)
{
    LPCWSTR p = text;
    SkipBlanks(p);
    if (*p != separator)
        return false;
    text = p + 1;
    return true;
}

int DigitValue(WCHAR ch)
{
    if (ch >= L'0' && ch <= L'9')
        return ch - L'0';
    if (ch >= L'a' && ch <= L'f')
        return ch - L'a' + 10;
    if (ch >= L'A' && ch <= L'F')
        return ch - L'A' + 10;
    return 99;
}

// Up to n integers separated by the separator (0 for blanks); the ones not read stay 0.
void ParseInts(LPCWSTR text, WCHAR separator, int base, LONGLONG* values, int n)
{
    for (int i = 0; i < n; ++i)
    {
        if (i > 0 && separator && !Expect(text, separator))
            return;
        if (!WVPSkinParseInt(text, values[i], base))
            return;
    }
}

bool SameText(LPCWSTR a, LPCWSTR b)
{
    return ::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a, -1, b, -1) == CSTR_EQUAL;
}

void ParseFont(LPCWSTR text, LOGFONTW& font)
{
    {
        HDC screen = ::GetWindowDC(nullptr);
        font.lfCharSet = BYTE(::GetTextCharset(screen));
        ::ReleaseDC(nullptr, screen);
    }
    // "face, points, style": the face runs up to the first comma.
    int length = 0;
    while (text[length] && text[length] != L',')
        ++length;
    if (length == 0)
        return;
    for (int i = 0; i < length && i < kFontFaceMax; ++i)
        font.lfFaceName[i] = text[i];
    text += length;
    font.lfWeight = kFontWeightNormal;
    LONGLONG points = 0;
    if (!Expect(text, L',') || !WVPSkinParseInt(text, points, 10))
        return;
    HDC screen = ::GetDC(nullptr);
    int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    font.lfHeight = -::MulDiv(int(points), dpi, kPointsPerInch);
    if (!Expect(text, L','))
        return;
    SkipBlanks(text);
    WCHAR style[kFontStyleMax + 1] = {};
    for (int i = 0; i < kFontStyleMax && text[i] && !WVPSkinIsBlank(text[i]); ++i)
        style[i] = text[i];
    if (SameText(style, L"BOLD"))
        font.lfWeight = kFontWeightBold;
}

} // namespace

BOOL WVPSkinParseInt(LPCWSTR& text, LONGLONG& value, int base)
{
    LPCWSTR p = text;
    SkipBlanks(p);
    bool negative = false;
    if (*p == L'+' || *p == L'-')
        negative = *p++ == L'-';
    if (base == 0 || base == 16)
    {
        if (p[0] == L'0' && (p[1] == L'x' || p[1] == L'X') && DigitValue(p[2]) < 16)
        {
            p += 2;
            base = 16;
        }
        else if (base == 0)
            base = p[0] == L'0' ? 8 : 10;
    }
    if (DigitValue(*p) >= base)
        return FALSE;
    ULONGLONG result = 0;
    for (; DigitValue(*p) < base; ++p)
        result = result * ULONGLONG(base) + ULONGLONG(DigitValue(*p)); // wraps like the C library's
    value = negative ? -LONGLONG(result) : LONGLONG(result);
    text = p;
    return TRUE;
}

void CWVPSkinManagerSchemaProperty::ClearProperty()
{
    m_strValue.Empty();
    m_pFont.reset();
    m_nValueType = kSkinValueNone;
}

CWVPSkinManagerSchemaProperty* WVPSkinCreateProperty(LPCWSTR propertyName, int valueType, LPCWSTR valueText)
{
    if (!valueText)
        valueText = L"";
    std::unique_ptr<CWVPSkinManagerSchemaProperty> property(new CWVPSkinManagerSchemaProperty);
    property->m_nValueType = valueType;
    switch (valueType)
    {
    case kSkinValueString:
        property->m_strValue = valueText;
        break;
    case kSkinValueInt: {
        LONGLONG value = 0;
        LPCWSTR p = valueText;
        WVPSkinParseInt(p, value, 10);
        property->m_nValue = int(value);
        break;
    }
    case kSkinValueBool:
        property->m_bValue = SameText(valueText, L"TRUE");
        break;
    case kSkinValueColor: {
        LONGLONG rgb[3] = {};
        ParseInts(valueText, 0, 0, rgb, 3);
        property->m_clrValue = RGB(BYTE(rgb[0]), BYTE(rgb[1]), BYTE(rgb[2]));
        break;
    }
    case kSkinValueRect: {
        // Written in the order of margins: left, right, top, bottom.
        LONGLONG v[4] = {};
        ParseInts(valueText, L',', 10, v, 4);
        property->m_rcValue = {LONG(v[0]), LONG(v[2]), LONG(v[1]), LONG(v[3])};
        break;
    }
    case kSkinValueFont:
        property->m_pFont.reset(new LOGFONTW());
        ParseFont(valueText, *property->m_pFont);
        break;
    case kSkinValueEnum:
        property->m_nValue = WVPSkinGetEnumValue(propertyName, valueText);
        break;
    case kSkinValuePosition: {
        LONGLONG v[2] = {};
        ParseInts(valueText, L',', 0, v, 2);
        property->m_ptValue = {LONG(v[0]), LONG(v[1])};
        break;
    }
    default:
        return nullptr;
    }
    return property.release();
}

bool WVPSkinIsBlank(WCHAR ch)
{
    return ch == L' ' || ch == L'\t' || ch == L'\r' || ch == L'\n' || ch == L'\v' || ch == L'\f';
}
