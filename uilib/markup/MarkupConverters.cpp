#include "uilib/markup/MarkupConverters.h"

#include "uilib/markup/MarkupBrush.h"
#include "uilib/markup/MarkupBuilder.h"
#include "uilib/markup/MarkupContext.h"
#include "uilib/markup/MarkupInputElement.h"
#include "uilib/markup/MarkupStyle.h"
#include "uilib/markup/MarkupType.h"
#include "uilib/markup/MarkupValues.h"

namespace
{
struct NamedColor
{
    LPCWSTR name;
    DWORD rgb; // 0xRRGGBB
};

// The extended colour keywords; the grey shades only in their spelling with "a".
const NamedColor kNamedColors[] = {
    {L"ALICEBLUE", 0xF0F8FF}, {L"ANTIQUEWHITE", 0xFAEBD7}, {L"AQUA", 0x00FFFF}, {L"AQUAMARINE", 0x7FFFD4},
    {L"AZURE", 0xF0FFFF}, {L"BEIGE", 0xF5F5DC}, {L"BISQUE", 0xFFE4C4}, {L"BLACK", 0x000000},
    {L"BLANCHEDALMOND", 0xFFEBCD}, {L"BLUE", 0x0000FF}, {L"BLUEVIOLET", 0x8A2BE2}, {L"BROWN", 0xA52A2A},
    {L"BURLYWOOD", 0xDEB887}, {L"CADETBLUE", 0x5F9EA0}, {L"CHARTREUSE", 0x7FFF00}, {L"CHOCOLATE", 0xD2691E},
    {L"CORAL", 0xFF7F50}, {L"CORNFLOWERBLUE", 0x6495ED}, {L"CORNSILK", 0xFFF8DC}, {L"CRIMSON", 0xDC143C},
    {L"CYAN", 0x00FFFF}, {L"DARKBLUE", 0x00008B}, {L"DARKCYAN", 0x008B8B}, {L"DARKGOLDENROD", 0xB8860B},
    {L"DARKGRAY", 0xA9A9A9}, {L"DARKGREEN", 0x006400}, {L"DARKKHAKI", 0xBDB76B}, {L"DARKMAGENTA", 0x8B008B},
    {L"DARKOLIVEGREEN", 0x556B2F}, {L"DARKORANGE", 0xFF8C00}, {L"DARKORCHID", 0x9932CC}, {L"DARKRED", 0x8B0000},
    {L"DARKSALMON", 0xE9967A}, {L"DARKSEAGREEN", 0x8FBC8F}, {L"DARKSLATEBLUE", 0x483D8B},
    {L"DARKSLATEGRAY", 0x2F4F4F}, {L"DARKTURQUOISE", 0x00CED1}, {L"DARKVIOLET", 0x9400D3}, {L"DEEPPINK", 0xFF1493},
    {L"DEEPSKYBLUE", 0x00BFFF}, {L"DIMGRAY", 0x696969}, {L"DODGERBLUE", 0x1E90FF}, {L"FIREBRICK", 0xB22222},
    {L"FLORALWHITE", 0xFFFAF0}, {L"FORESTGREEN", 0x228B22}, {L"FUCHSIA", 0xFF00FF}, {L"GAINSBORO", 0xDCDCDC},
    {L"GHOSTWHITE", 0xF8F8FF}, {L"GOLD", 0xFFD700}, {L"GOLDENROD", 0xDAA520}, {L"GRAY", 0x808080},
    {L"GREEN", 0x008000}, {L"GREENYELLOW", 0xADFF2F}, {L"HONEYDEW", 0xF0FFF0}, {L"HOTPINK", 0xFF69B4},
    {L"INDIANRED", 0xCD5C5C}, {L"INDIGO", 0x4B0082}, {L"IVORY", 0xFFFFF0}, {L"KHAKI", 0xF0E68C},
    {L"LAVENDER", 0xE6E6FA}, {L"LAVENDERBLUSH", 0xFFF0F5}, {L"LAWNGREEN", 0x7CFC00}, {L"LEMONCHIFFON", 0xFFFACD},
    {L"LIGHTBLUE", 0xADD8E6}, {L"LIGHTCORAL", 0xF08080}, {L"LIGHTCYAN", 0xE0FFFF},
    {L"LIGHTGOLDENRODYELLOW", 0xFAFAD2}, {L"LIGHTGRAY", 0xD3D3D3}, {L"LIGHTGREEN", 0x90EE90},
    {L"LIGHTPINK", 0xFFB6C1}, {L"LIGHTSALMON", 0xFFA07A}, {L"LIGHTSEAGREEN", 0x20B2AA}, {L"LIGHTSKYBLUE", 0x87CEFA},
    {L"LIGHTSLATEGRAY", 0x778899}, {L"LIGHTSTEELBLUE", 0xB0C4DE}, {L"LIGHTYELLOW", 0xFFFFE0}, {L"LIME", 0x00FF00},
    {L"LIMEGREEN", 0x32CD32}, {L"LINEN", 0xFAF0E6}, {L"MAGENTA", 0xFF00FF}, {L"MAROON", 0x800000},
    {L"MEDIUMAQUAMARINE", 0x66CDAA}, {L"MEDIUMBLUE", 0x0000CD}, {L"MEDIUMORCHID", 0xBA55D3},
    {L"MEDIUMPURPLE", 0x9370DB}, {L"MEDIUMSEAGREEN", 0x3CB371}, {L"MEDIUMSLATEBLUE", 0x7B68EE},
    {L"MEDIUMSPRINGGREEN", 0x00FA9A}, {L"MEDIUMTURQUOISE", 0x48D1CC}, {L"MEDIUMVIOLETRED", 0xC71585},
    {L"MIDNIGHTBLUE", 0x191970}, {L"MINTCREAM", 0xF5FFFA}, {L"MISTYROSE", 0xFFE4E1}, {L"MOCCASIN", 0xFFE4B5},
    {L"NAVAJOWHITE", 0xFFDEAD}, {L"NAVY", 0x000080}, {L"OLDLACE", 0xFDF5E6}, {L"OLIVE", 0x808000},
    {L"OLIVEDRAB", 0x6B8E23}, {L"ORANGE", 0xFFA500}, {L"ORANGERED", 0xFF4500}, {L"ORCHID", 0xDA70D6},
    {L"PALEGOLDENROD", 0xEEE8AA}, {L"PALEGREEN", 0x98FB98}, {L"PALETURQUOISE", 0xAFEEEE},
    {L"PALEVIOLETRED", 0xDB7093}, {L"PAPAYAWHIP", 0xFFEFD5}, {L"PEACHPUFF", 0xFFDAB9}, {L"PERU", 0xCD853F},
    {L"PINK", 0xFFC0CB}, {L"PLUM", 0xDDA0DD}, {L"POWDERBLUE", 0xB0E0E6}, {L"PURPLE", 0x800080},
    {L"RED", 0xFF0000}, {L"ROSYBROWN", 0xBC8F8F}, {L"ROYALBLUE", 0x4169E1}, {L"SADDLEBROWN", 0x8B4513},
    {L"SALMON", 0xFA8072}, {L"SANDYBROWN", 0xF4A460}, {L"SEAGREEN", 0x2E8B57}, {L"SEASHELL", 0xFFF5EE},
    {L"SIENNA", 0xA0522D}, {L"SILVER", 0xC0C0C0}, {L"SKYBLUE", 0x87CEEB}, {L"SLATEBLUE", 0x6A5ACD},
    {L"SLATEGRAY", 0x708090}, {L"SNOW", 0xFFFAFA}, {L"SPRINGGREEN", 0x00FF7F}, {L"STEELBLUE", 0x4682B4},
    {L"TAN", 0xD2B48C}, {L"TEAL", 0x008080}, {L"THISTLE", 0xD8BFD8}, {L"TOMATO", 0xFF6347},
    {L"TURQUOISE", 0x40E0D0}, {L"VIOLET", 0xEE82EE}, {L"WHEAT", 0xF5DEB3}, {L"WHITE", 0xFFFFFF},
    {L"WHITESMOKE", 0xF5F5F5}, {L"YELLOW", 0xFFFF00}, {L"YELLOWGREEN", 0x9ACD32},
};
const int kKeyTextSize = 1024;
const int kMinColorName = 3;
const int kMaxColorName = 20;

struct SystemColorName
{
    LPCWSTR name;
    int index;
};

// In alphabetical order: a name matches the first key it begins.
const SystemColorName kSystemColorNames[] = {
    {L"ActiveBorder", 10}, {L"ActiveCaption", 2}, {L"ActiveCaptionText", 9}, {L"AppWorkspace", 12},
    {L"Control", 15}, {L"ControlDark", 16}, {L"ControlDarkDark", 21}, {L"ControlLight", 22},
    {L"ControlLightLight", 20}, {L"ControlText", 18}, {L"Desktop", 1}, {L"GradientActiveCaption", 27},
    {L"GradientInactiveCaption", 28}, {L"GrayText", 17}, {L"Highlight", 13}, {L"HighlightText", 14},
    {L"HotTrack", 26}, {L"InactiveBorder", 11}, {L"InactiveCaption", 3}, {L"InactiveCaptionText", 19},
    {L"Info", 24}, {L"InfoText", 23}, {L"Menu", 4}, {L"MenuBar", 30}, {L"MenuHighlight", 29},
    {L"MenuText", 7}, {L"ScrollBar", 0}, {L"Window", 5}, {L"WindowFrame", 6}, {L"WindowText", 8},
};

WCHAR Upper(WCHAR c)
{
    return c >= 'a' && c <= 'z' ? (WCHAR)(c - 'a' + 'A') : c;
}

struct EnumWord
{
    LPCWSTR word;
    int value;
};

// The enumeration value of a string value among words (case-insensitive, whole text), or null.
template <size_t N> CWVPMarkupObject* ConvertWords(CWVPMarkupObject* value, const EnumWord (&words)[N])
{
    if (!value || value->GetType() != CWVPMarkupString::Type())
        return nullptr;
    const CWVPMarkupString* text = static_cast<const CWVPMarkupString*>(value);
    for (const EnumWord& w : words)
        if (MarkupTextLength(w.word) == text->GetLength() && MarkupTextEqualNoCase(w.word, text->GetText()))
            return CWVPMarkupEnum::CreateValue(w.value);
    return nullptr;
}

BOOL EndsWith(LPCWSTR text, int length, LPCWSTR suffix)
{
    int n = MarkupTextLength(suffix);
    return length >= n && ::memcmp(text + length - n, suffix, n * sizeof(WCHAR)) == 0;
}
} // namespace

BOOL MarkupTextEqualNoCase(LPCWSTR a, LPCWSTR b)
{
    if (!a || !b)
        return a == b;
    for (;; ++a, ++b)
    {
        if (Upper(*a) != Upper(*b))
            return FALSE;
        if (!*a)
            return TRUE;
    }
}

BOOL WVPMarkupNamedColor(LPCWSTR name, COLORREF* color)
{
    int length = MarkupTextLength(name);
    if (length < kMinColorName || length > kMaxColorName)
        return FALSE;
    WCHAR first = Upper(name[0]);
    if (first < 'A' || first > 'Z')
        return FALSE;
    for (const NamedColor& c : kNamedColors)
    {
        if (c.name[0] != first || MarkupTextLength(c.name) != length || !MarkupTextEqualNoCase(c.name, name))
            continue;
        if (color)
            *color = RGB((c.rgb >> 16) & 0xFF, (c.rgb >> 8) & 0xFF, c.rgb & 0xFF);
        return TRUE;
    }
    return FALSE;
}

int WVPMarkupSystemColorIndex(LPCWSTR name, int length)
{
    if (length <= 0)
        return -1;
    for (const SystemColorName& key : kSystemColorNames)
        if (MarkupTextLength(key.name) >= length && ::memcmp(key.name, name, length * sizeof(WCHAR)) == 0)
            return key.index;
    return -1;
}

// ---- Enumeration converters -----------------------------------------------------------------
CWVPMarkupObject* MarkupConvertTextDecorations(CWVPMarkupContext*, CWVPMarkupObject* value)
{
    static const EnumWord words[] = {{L"Underline", 1}, {L"Strikethrough", 2}, {L"", 0}};
    return ConvertWords(value, words);
}

CWVPMarkupObject* MarkupConvertFontWeight(CWVPMarkupContext*, CWVPMarkupObject* value)
{
    static const EnumWord words[] = {{L"Thin", 100},      {L"ExtraLight", 200}, {L"Light", 300},  {L"Normal", 400},
                                     {L"Regular", 400},   {L"Medium", 500},     {L"SemiBold", 600}, {L"DemiBold", 600},
                                     {L"Bold", 700},      {L"ExtraBold", 800},  {L"UltraBold", 800}, {L"Black", 900},
                                     {L"Heavy", 900},     {L"ExtraBlack", 950}};
    return ConvertWords(value, words);
}

CWVPMarkupObject* MarkupConvertFontStyle(CWVPMarkupContext*, CWVPMarkupObject* value)
{
    static const EnumWord words[] = {{L"Normal", 0}, {L"Italic", 1}};
    return ConvertWords(value, words);
}

CWVPMarkupObject* MarkupConvertFontQuality(CWVPMarkupContext*, CWVPMarkupObject* value)
{
    static const EnumWord words[] = {{L"ClearType", 5}};
    return ConvertWords(value, words);
}

CWVPMarkupObject* MarkupConvertHorizontalAlignment(CWVPMarkupContext*, CWVPMarkupObject* value)
{
    static const EnumWord words[] = {{L"Left", 0}, {L"Center", 1}, {L"Right", 2}, {L"Stretch", 3}};
    return ConvertWords(value, words);
}

CWVPMarkupObject* MarkupConvertVerticalAlignment(CWVPMarkupContext*, CWVPMarkupObject* value)
{
    static const EnumWord words[] = {{L"Top", 0}, {L"Center", 1}, {L"Bottom", 2}, {L"Stretch", 3}};
    return ConvertWords(value, words);
}

CWVPMarkupObject* MarkupConvertVisibility(CWVPMarkupContext*, CWVPMarkupObject* value)
{
    static const EnumWord words[] = {{L"Visible", 0}, {L"Hidden", 1}, {L"Collapsed", 2}};
    return ConvertWords(value, words);
}

CWVPMarkupObject* MarkupConvertTextWrapping(CWVPMarkupContext*, CWVPMarkupObject* value)
{
    static const EnumWord words[] = {{L"NoWrap", 0}, {L"Wrap", 1}};
    return ConvertWords(value, words);
}

CWVPMarkupObject* MarkupConvertTextTrimming(CWVPMarkupContext*, CWVPMarkupObject* value)
{
    static const EnumWord words[] = {{L"None", 0}, {L"CharacterEllipsis", 1}, {L"WordEllipsis", 2}};
    return ConvertWords(value, words);
}

CWVPMarkupObject* MarkupConvertTextAlignment(CWVPMarkupContext*, CWVPMarkupObject* value)
{
    static const EnumWord words[] = {{L"Left", 0}, {L"Right", 1}, {L"Center", 2}};
    return ConvertWords(value, words);
}

CWVPMarkupObject* MarkupConvertOrientation(CWVPMarkupContext*, CWVPMarkupObject* value)
{
    static const EnumWord words[] = {{L"Horizontal", 0}, {L"Vertical", 1}};
    return ConvertWords(value, words);
}

CWVPMarkupObject* MarkupConvertBaselineAlignment(CWVPMarkupContext*, CWVPMarkupObject* value)
{
    static const EnumWord words[] = {{L"Top", 0},     {L"Center", 1},     {L"Bottom", 2},    {L"Baseline", 3},
                                     {L"TextTop", 4}, {L"TextBottom", 5}, {L"Subscript", 6}, {L"Superscript", 7}};
    return ConvertWords(value, words);
}

CWVPMarkupObject* MarkupConvertScrollBarVisibility(CWVPMarkupContext*, CWVPMarkupObject* value)
{
    static const EnumWord words[] = {{L"Disabled", 0}, {L"Auto", 1}, {L"Visible", 2}};
    return ConvertWords(value, words);
}

CWVPMarkupObject* MarkupConvertStretch(CWVPMarkupContext*, CWVPMarkupObject* value)
{
    static const EnumWord words[] = {{L"None", 0}, {L"Fill", 1}, {L"Uniform", 2}, {L"UniformToFill", 3}};
    return ConvertWords(value, words);
}

CWVPMarkupObject* MarkupConvertTabNavigation(CWVPMarkupContext*, CWVPMarkupObject* value)
{
    static const EnumWord words[] = {{L"Continue", 0},  {L"Once", 1},  {L"Cycle", 2},
                                     {L"None", 3},      {L"Contained", 4}, {L"Local", 5}};
    return ConvertWords(value, words);
}

CWVPMarkupObject* MarkupConvertIsChecked(CWVPMarkupContext*, CWVPMarkupObject* value)
{
    static const EnumWord words[] = {{L"True", 1}, {L"False", 0}, {L"", 2}};
    return ConvertWords(value, words);
}

CWVPMarkupObject* MarkupConvertCursor(CWVPMarkupContext*, CWVPMarkupObject* value)
{
    static const EnumWord words[] = {{L"None", 0},        {L"Arrow", 32512},    {L"IBeam", 32513},  {L"Wait", 32514},
                                     {L"Cross", 32515},   {L"UpArrow", 32516},  {L"SizeNWSE", 32642},
                                     {L"SizeNESW", 32643}, {L"SizeWE", 32644},  {L"SizeNS", 32645},
                                     {L"SizeAll", 32646}, {L"No", 32648},       {L"Hand", 32649},
                                     {L"AppStarting", 32650}};
    CWVPMarkupObject* e = ConvertWords(value, words);
    if (!e)
        return nullptr;
    CWVPMarkupObject* result = new CWVPMarkupInt(CWVPMarkupEnum::ValueOf(e, 0));
    e->Release();
    return result;
}

// ---- Keys -----------------------------------------------------------------------------------
IMPLEMENT_MARKUP_TYPE(CWVPMarkupColorKey, kTypeColorKey)
IMPLEMENT_MARKUP_TYPE(CWVPMarkupBrushKey, kTypeBrushKey)

// ---- Builder conversions and extensions -----------------------------------------------------
CWVPMarkupObject* CWVPMarkupBuilder::ConvertValue(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* value)
{
    CWVPMarkupPropertyMetadata* metadata = property->GetMetadata();
    if (metadata && metadata->m_pfnConverter)
        if (CWVPMarkupObject* converted = metadata->m_pfnConverter(m_pContext, value))
            return converted;
    CWVPMarkupType* valueType = property->GetValueType();
    CWVPMarkupObject* fresh = m_pContext ? m_pContext->CreateObject(valueType) : valueType->CreateObject();
    if (fresh)
    {
        CWVPMarkupObject* converted = fresh->ConvertFrom(value);
        fresh->Release();
        if (converted)
            return converted;
    }
    ThrowError(L"Cannot convert string in attribute '%ls' to object of type '%ls'", property->GetName(),
               valueType->GetClassName());
}

CWVPMarkupObject* CWVPMarkupBuilder::ParseExtension(LPWSTR text)
{
    int length = MarkupTextLength(text);
    if (length == 0 || text[length - 1] != '}')
        ThrowError(L"Markup extension expressions must end with '}'");
    text[length - 1] = 0;
    struct Keyword
    {
        LPCWSTR word;
        int kind;
    };
    static const Keyword kKeywords[] = {
        {L"x:Static ", 0}, {L"StaticResource ", 1}, {L"DynamicResource ", 1}, {L"x:Type ", 2}};
    for (const Keyword& k : kKeywords)
    {
        int n = MarkupTextLength(k.word);
        if (length - 1 < n || ::memcmp(text, k.word, n * sizeof(WCHAR)) != 0)
            continue;
        LPWSTR rest = text + n;
        if (k.kind == 0)
            return GetStaticMember(rest);
        if (k.kind == 1)
            return FindResource(rest);
        CWVPMarkupType* type = CWVPMarkupType::FindTypeByTag(rest);
        if (!type)
            ThrowError(L"Cannot find type '%ls'", rest);
        type->AddRef();
        return type;
    }
    ThrowError(L"The tag '%ls' does not exist in XML namespace", text);
}

CWVPMarkupObject* CWVPMarkupBuilder::ResolveResourceKey(LPWSTR text)
{
    if (text[0] == '{' && text[1] != '}')
        return ParseExtension(text + 1);
    if (text[0] == '{' && text[1] == '}')
        text += 2;
    return CWVPMarkupString::CreateValue(text);
}

CWVPMarkupObject* CWVPMarkupBuilder::FindResource(LPWSTR keyText)
{
    WCHAR original[kKeyTextSize];
    int n = 0;
    while (keyText[n] && n < kKeyTextSize - 1)
    {
        original[n] = keyText[n];
        ++n;
    }
    original[n] = 0;
    CWVPMarkupObject* key = ResolveResourceKey(keyText);
    if (!key)
        return nullptr;
    for (int i = m_nStack - 1; i >= 0; --i)
    {
        CWVPMarkupObject* element = m_ppStack[i];
        CWVPMarkupObject* found = nullptr;
        if (element->GetType() == CWVPMarkupObjectProperty::Type())
        {
            CWVPMarkupObject* value = static_cast<CWVPMarkupObjectProperty*>(element)->GetPropertyValue();
            if (value)
                found = WVPMarkupFindResource(value, key);
        }
        else
            found = WVPMarkupFindResource(element, key);
        if (found)
        {
            found->AddRef();
            key->Release();
            return found;
        }
    }
    int table = -1, index = 0;
    if (key->GetType() == CWVPMarkupColorKey::Type())
        table = kSystemColor, index = static_cast<CWVPMarkupColorKey*>(key)->m_nIndex;
    else if (key->GetType() == CWVPMarkupBrushKey::Type())
        table = kSystemBrush, index = static_cast<CWVPMarkupBrushKey*>(key)->m_nIndex;
    if (table >= 0)
    {
        key->Release();
        return GetSystemObject(table, index);
    }
    ThrowError(key, L"Cannot find resource named '%ls'. Resource names are case sensitive", original);
}

CWVPMarkupObject* CWVPMarkupBuilder::GetStaticMember(LPCWSTR name)
{
    static const WCHAR kPrefix[] = L"SystemColors.";
    const int prefix = 13;
    static const struct
    {
        LPCWSTR suffix;
        int table;
    } kForms[] = {{L"Color", kSystemColor}, {L"Brush", kSystemBrush}, {L"ColorKey", kSystemColorKey},
                  {L"BrushKey", kSystemBrushKey}};
    int length = MarkupTextLength(name);
    if (length >= 20 && ::memcmp(name, kPrefix, prefix * sizeof(WCHAR)) == 0)
    {
        for (const auto& form : kForms)
        {
            if (!EndsWith(name, length, form.suffix))
                continue;
            int keyLength = length - prefix - MarkupTextLength(form.suffix);
            int index = WVPMarkupSystemColorIndex(name + prefix, keyLength);
            if (index >= 0)
                return GetSystemObject(form.table, index);
        }
    }
    ThrowError(L"Cannot find the static member  '%ls'", name);
}

CWVPMarkupObject* CWVPMarkupBuilder::GetSystemObject(int table, int index)
{
    if (index < 0 || index >= kSystemColorCount || table < 0 || table > 3)
        return nullptr;
    if (!m_ppSystem)
        m_ppSystem = new CWVPMarkupObject*[4 * kSystemColorCount]();
    CWVPMarkupObject*& slot = m_ppSystem[table * kSystemColorCount + index];
    if (!slot)
    {
        switch (table)
        {
        case kSystemBrush:
            slot = new CWVPMarkupSolidColorBrush(::GetSysColor(index));
            break;
        case kSystemColor:
            slot = new CWVPMarkupColor(::GetSysColor(index));
            break;
        case kSystemBrushKey:
            slot = new CWVPMarkupBrushKey(index);
            break;
        default:
            slot = new CWVPMarkupColorKey(index);
            break;
        }
    }
    slot->AddRef();
    return slot;
}
