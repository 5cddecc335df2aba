#include "platform/mfc/StringFormat.h"

#include <climits>
#include <cstdio>
#include <cstring>

namespace
{
enum ArgSize
{
    kSizeDefault,
    kSizeChar,  // hh
    kSizeShort, // h
    kSizeLong,  // l, w (32 bits, as the framework's long)
    kSize64,    // ll, I64, I, z, t, j
    kSizeLongDouble
};

struct Spec
{
    bool left = false;
    bool plus = false;
    bool space = false;
    bool alt = false;
    bool zero = false;
    int width = 0;
    int precision = -1;
    ArgSize size = kSizeDefault;
    bool narrowArg = false; // h prefix on s/c
    bool wideArg = false;   // l or w prefix on s/c
};

template <typename XCHAR> void AppendRepeat(CStringT<XCHAR>& out, XCHAR ch, int count)
{
    for (int i = 0; i < count; ++i)
        out.AppendChar(ch);
}

// Appends body padded to the field width (spaces, or zeros after the prefix when asked).
template <typename XCHAR>
void AppendField(CStringT<XCHAR>& out, const Spec& spec, const char* prefix, const XCHAR* body, int nBody, bool zeroPad)
{
    int nPrefix = static_cast<int>(std::strlen(prefix));
    int pad = spec.width - nPrefix - nBody;
    if (pad < 0)
        pad = 0;
    if (!spec.left && !zeroPad)
        AppendRepeat(out, XCHAR(' '), pad);
    for (int i = 0; i < nPrefix; ++i)
        out.AppendChar(XCHAR(prefix[i]));
    if (!spec.left && zeroPad)
        AppendRepeat(out, XCHAR('0'), pad);
    out.Append(body, nBody);
    if (spec.left)
        AppendRepeat(out, XCHAR(' '), pad);
}

template <typename XCHAR>
void AppendInteger(CStringT<XCHAR>& out, const Spec& spec, XCHAR conv, ULONGLONG magnitude, bool negative)
{
    unsigned base = 10;
    const char* digits = "0123456789abcdef";
    if (conv == 'x' || conv == 'p')
        base = 16;
    else if (conv == 'X')
    {
        base = 16;
        digits = "0123456789ABCDEF";
    }
    else if (conv == 'o')
        base = 8;

    XCHAR buffer[96];
    int n = 0;
    for (ULONGLONG v = magnitude; v; v /= base)
        buffer[n++] = XCHAR(digits[v % base]);
    int precision = spec.precision < 0 ? 1 : spec.precision;
    if (precision > 64)
        precision = 64;
    while (n < precision)
        buffer[n++] = XCHAR('0');
    if (conv == 'o' && spec.alt && (n == 0 || buffer[n - 1] != '0'))
        buffer[n++] = XCHAR('0');
    for (int i = 0, j = n - 1; i < j; ++i, --j)
    {
        XCHAR t = buffer[i];
        buffer[i] = buffer[j];
        buffer[j] = t;
    }

    const char* prefix = "";
    if (negative)
        prefix = "-";
    else if (conv == 'd' || conv == 'i')
        prefix = spec.plus ? "+" : spec.space ? " " : "";
    else if (spec.alt && magnitude != 0 && conv == 'x')
        prefix = "0x";
    else if (spec.alt && magnitude != 0 && conv == 'X')
        prefix = "0X";
    AppendField(out, spec, prefix, buffer, n, spec.zero && !spec.left && spec.precision < 0);
}

template <typename XCHAR> int BoundedLength(const XCHAR* p, int max)
{
    int n = 0;
    while ((max < 0 || n < max) && p[n])
        ++n;
    return n;
}

// Appends a text given in either width (null prints as "(null)"), cut to the precision.
template <typename XCHAR> void AppendText(CStringT<XCHAR>& out, const Spec& spec, const WCHAR* wide, const char* narrow)
{
    CStringT<XCHAR> text;
    if (!wide && !narrow)
        text = "(null)";
    else if (sizeof(XCHAR) == sizeof(WCHAR) && wide)
        text = CStringT<XCHAR>(reinterpret_cast<const XCHAR*>(wide), BoundedLength(wide, spec.precision));
    else if (sizeof(XCHAR) == sizeof(char) && narrow)
        text = CStringT<XCHAR>(reinterpret_cast<const XCHAR*>(narrow), BoundedLength(narrow, spec.precision));
    else if (wide)
        text = wide;
    else
        text = narrow;
    if (spec.precision >= 0 && text.GetLength() > spec.precision)
        text = text.Left(spec.precision);
    AppendField(out, spec, "", text.GetString(), text.GetLength(), false);
}

template <typename XCHAR> void AppendFloat(CStringT<XCHAR>& out, const Spec& spec, char conv, va_list& args)
{
    char fmt[32];
    int n = 0;
    fmt[n++] = '%';
    if (spec.left)
        fmt[n++] = '-';
    if (spec.plus)
        fmt[n++] = '+';
    if (spec.space)
        fmt[n++] = ' ';
    if (spec.alt)
        fmt[n++] = '#';
    if (spec.zero)
        fmt[n++] = '0';
    fmt[n++] = '*';
    fmt[n++] = '.';
    fmt[n++] = '*';
    if (spec.size == kSizeLongDouble)
        fmt[n++] = 'L';
    fmt[n++] = conv;
    fmt[n] = 0;
    int precision = spec.precision < 0 ? 6 : spec.precision;
    if (precision > 400)
        precision = 400;
    char shortText[128];
    int needed;
    CStringA text;
    if (spec.size == kSizeLongDouble)
    {
        long double value = va_arg(args, long double);
        needed = std::snprintf(shortText, sizeof(shortText), fmt, spec.width, precision, value);
        if (needed >= static_cast<int>(sizeof(shortText)))
            std::snprintf(text.GetBufferSetLength(needed), needed + 1, fmt, spec.width, precision, value);
    }
    else
    {
        double value = va_arg(args, double);
        needed = std::snprintf(shortText, sizeof(shortText), fmt, spec.width, precision, value);
        if (needed >= static_cast<int>(sizeof(shortText)))
            std::snprintf(text.GetBufferSetLength(needed), needed + 1, fmt, spec.width, precision, value);
    }
    if (needed < 0)
        return;
    const char* p = needed < static_cast<int>(sizeof(shortText)) ? shortText : text.GetString();
    for (int i = 0; i < needed; ++i)
        out.AppendChar(XCHAR(static_cast<unsigned char>(p[i])));
}

template <typename XCHAR> int ReadNumber(const XCHAR*& p)
{
    int value = 0;
    while (*p >= '0' && *p <= '9')
    {
        if (value < 100000)
            value = value * 10 + (*p - '0');
        ++p;
    }
    return value;
}

template <typename XCHAR> void Format(CStringT<XCHAR>& out, const XCHAR* p, va_list args)
{
    const bool wideFormat = sizeof(XCHAR) == sizeof(WCHAR);
    va_list ap;
    va_copy(ap, args);
    while (p && *p)
    {
        if (*p != '%')
        {
            const XCHAR* run = p;
            while (*p && *p != '%')
                ++p;
            out.Append(run, static_cast<int>(p - run));
            continue;
        }
        ++p;
        if (*p == '%')
        {
            out.AppendChar(XCHAR('%'));
            ++p;
            continue;
        }
        Spec spec;
        for (;; ++p)
        {
            if (*p == '-')
                spec.left = true;
            else if (*p == '+')
                spec.plus = true;
            else if (*p == ' ')
                spec.space = true;
            else if (*p == '#')
                spec.alt = true;
            else if (*p == '0')
                spec.zero = true;
            else
                break;
        }
        if (*p == '*')
        {
            spec.width = va_arg(ap, int);
            if (spec.width < 0)
            {
                spec.left = true;
                spec.width = spec.width == INT_MIN ? 0 : -spec.width;
            }
            ++p;
        }
        else
            spec.width = ReadNumber(p);
        if (*p == '.')
        {
            ++p;
            if (*p == '*')
            {
                spec.precision = va_arg(ap, int);
                if (spec.precision < 0)
                    spec.precision = -1;
                ++p;
            }
            else
                spec.precision = ReadNumber(p);
        }
        if (p[0] == 'I' && p[1] == '6' && p[2] == '4')
        {
            spec.size = kSize64;
            p += 3;
        }
        else if (p[0] == 'I' && p[1] == '3' && p[2] == '2')
        {
            spec.size = kSizeLong;
            p += 3;
        }
        else if (p[0] == 'I' || p[0] == 'z' || p[0] == 't' || p[0] == 'j')
        {
            spec.size = kSize64;
            ++p;
        }
        else if (p[0] == 'l' && p[1] == 'l')
        {
            spec.size = kSize64;
            p += 2;
        }
        else if (p[0] == 'l' || p[0] == 'w')
        {
            spec.size = kSizeLong;
            spec.wideArg = true;
            ++p;
        }
        else if (p[0] == 'h' && p[1] == 'h')
        {
            spec.size = kSizeChar;
            p += 2;
        }
        else if (p[0] == 'h')
        {
            spec.size = kSizeShort;
            spec.narrowArg = true;
            ++p;
        }
        else if (p[0] == 'L')
        {
            spec.size = kSizeLongDouble;
            ++p;
        }

        XCHAR conv = *p;
        if (!conv)
            break;
        ++p;
        switch (conv)
        {
        case 'd':
        case 'i': {
            LONGLONG value;
            if (spec.size == kSize64)
                value = va_arg(ap, LONGLONG);
            else
            {
                int v = va_arg(ap, int);
                value = spec.size == kSizeShort ? short(v) : spec.size == kSizeChar ? (signed char)(v) : v;
            }
            ULONGLONG magnitude = value < 0 ? 0 - ULONGLONG(value) : ULONGLONG(value);
            AppendInteger(out, spec, conv, magnitude, value < 0);
            break;
        }
        case 'u':
        case 'x':
        case 'X':
        case 'o': {
            ULONGLONG value;
            if (spec.size == kSize64)
                value = va_arg(ap, ULONGLONG);
            else
            {
                unsigned v = va_arg(ap, unsigned);
                value = spec.size == kSizeShort ? (unsigned short)(v) : spec.size == kSizeChar ? (unsigned char)(v) : v;
            }
            AppendInteger(out, spec, conv, value, false);
            break;
        }
        case 'p': {
            Spec pointer = spec;
            pointer.precision = 2 * sizeof(void*);
            pointer.alt = false;
            AppendInteger(out, pointer, XCHAR('X'), ULONGLONG(ULONG_PTR(va_arg(ap, void*))), false);
            break;
        }
        case 'c':
        case 'C': {
            int value = va_arg(ap, int);
            bool wide = spec.wideArg || (!spec.narrowArg && ((conv == 'c') == wideFormat));
            if (wide)
            {
                WCHAR text[2] = {WCHAR(value), 0};
                AppendText(out, spec, text, nullptr);
            }
            else
            {
                char text[2] = {char(value), 0};
                AppendText(out, spec, nullptr, text);
            }
            break;
        }
        case 's':
        case 'S': {
            bool wide = spec.wideArg || (!spec.narrowArg && ((conv == 's') == wideFormat));
            if (wide)
            {
                AppendText(out, spec, va_arg(ap, const WCHAR*), nullptr);
            }
            else
            {
                AppendText(out, spec, nullptr, va_arg(ap, const char*));
            }
            break;
        }
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            AppendFloat(out, spec, char(conv), ap);
            break;
        case 'n':
            // Writing through a format argument is never honoured.
            (void)va_arg(ap, void*);
            break;
        default:
            out.AppendChar(conv);
            break;
        }
    }
    va_end(ap);
}
} // namespace

void AFXAPI AfxFormatAppend(CStringW& target, const WCHAR* pszFormat, va_list args)
{
    Format(target, pszFormat, args);
}

void AFXAPI AfxFormatAppend(CStringA& target, const char* pszFormat, va_list args)
{
    Format(target, pszFormat, args);
}
