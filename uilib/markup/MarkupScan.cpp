#include "uilib/markup/MarkupScan.h"

#include <cstdarg>
#include <cstdlib>

namespace
{
const LONG kLongMax = 0x7FFFFFFF;
const LONG kLongMin = (LONG)0x80000000u;

int DigitValue(WCHAR c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    return 99;
}

// A cursor over the input that honours a conversion's width (the characters it may consume).
struct Field
{
    LPCWSTR p;
    int width; // remaining characters, or -1 without limit

    WCHAR Peek() const
    {
        return width == 0 ? 0 : *p;
    }
    void Take()
    {
        ++p;
        if (width > 0)
            --width;
    }
};

// Reads an integer in the given base (0: decimal, 0x-prefixed hexadecimal or 0-prefixed octal).
BOOL ReadInteger(Field& f, int base, unsigned long long& out)
{
    BOOL negative = FALSE;
    if (f.Peek() == '-' || f.Peek() == '+')
    {
        negative = f.Peek() == '-';
        f.Take();
    }
    BOOL digits = FALSE;
    if ((base == 0 || base == 16) && f.Peek() == '0')
    {
        f.Take();
        digits = TRUE;
        if (f.Peek() == 'x' || f.Peek() == 'X')
        {
            // The prefix alone is no number.
            f.Take();
            base = 16;
            digits = FALSE;
        }
        else if (base == 0)
            base = 8;
    }
    if (base == 0)
        base = 10;
    unsigned long long value = 0;
    while (f.Peek() && DigitValue(f.Peek()) < base)
    {
        value = value * (unsigned)base + (unsigned)DigitValue(f.Peek());
        digits = TRUE;
        f.Take();
    }
    out = negative ? (unsigned long long)(0 - value) : value;
    return digits;
}

// Reads a decimal floating number: sign, digits, a point with digits, an exponent. As the runtime
// does, an exponent marker is consumed even when no digit follows it, and the number then fails;
// consumed reports whether any character was taken.
BOOL ReadFloat(Field& f, double& out, BOOL& consumed)
{
    char buffer[512];
    int n = 0;
    LPCWSTR start = f.p;
    auto put = [&](WCHAR c) {
        if (n < (int)sizeof(buffer) - 1)
            buffer[n++] = (char)c;
    };
    if (f.Peek() == '-' || f.Peek() == '+')
    {
        put(f.Peek());
        f.Take();
    }
    BOOL digits = FALSE;
    while (f.Peek() >= '0' && f.Peek() <= '9')
    {
        put(f.Peek());
        f.Take();
        digits = TRUE;
    }
    if (f.Peek() == '.')
    {
        put('.');
        f.Take();
        while (f.Peek() >= '0' && f.Peek() <= '9')
        {
            put(f.Peek());
            f.Take();
            digits = TRUE;
        }
    }
    BOOL exponentOk = TRUE;
    if (f.Peek() == 'e' || f.Peek() == 'E')
    {
        f.Take();
        char sign = 0;
        if (f.Peek() == '-' || f.Peek() == '+')
        {
            sign = (char)f.Peek();
            f.Take();
        }
        long long exponent = 0;
        exponentOk = FALSE;
        while (f.Peek() >= '0' && f.Peek() <= '9')
        {
            if (exponent < 100000)
                exponent = exponent * 10 + (f.Peek() - '0');
            f.Take();
            exponentOk = TRUE;
        }
        if (exponentOk)
        {
            put('e');
            if (sign)
                put(sign);
            char tail[16];
            int t = 0;
            do
            {
                tail[t++] = (char)('0' + exponent % 10);
                exponent /= 10;
            } while (exponent);
            while (t)
                put(tail[--t]);
        }
    }
    consumed = f.p != start;
    if (!digits || !exponentOk)
        return FALSE;
    buffer[n] = 0;
    out = std::strtod(buffer, nullptr);
    return TRUE;
}
} // namespace

LONG MarkupScanLong(LPCWSTR text)
{
    if (!text)
        return 0;
    while (MarkupIsScanSpace(*text))
        ++text;
    BOOL negative = FALSE;
    if (*text == '-' || *text == '+')
        negative = *text++ == '-';
    unsigned long long value = 0;
    BOOL overflow = FALSE;
    for (; *text >= '0' && *text <= '9'; ++text)
    {
        value = value * 10 + (unsigned)(*text - '0');
        if (value > 0x80000000ULL)
        {
            overflow = TRUE;
            value = 0x80000000ULL;
        }
    }
    if (negative)
        return value >= 0x80000000ULL ? (LONG)kLongMin : -(LONG)value;
    if (overflow || value > 0x7FFFFFFFULL)
        return kLongMax;
    return (LONG)value;
}

int MarkupScanFormat(LPCWSTR text, LPCSTR format, ...)
{
    va_list args;
    va_start(args, format);
    int stored = 0;
    LPCWSTR p = text ? text : L"";
    if (!*p)
    {
        va_end(args);
        return -1;
    }
    for (LPCSTR f = format; *f; ++f)
    {
        if (MarkupIsScanSpace((WCHAR)(unsigned char)*f))
        {
            while (MarkupIsScanSpace(*p))
                ++p;
            continue;
        }
        if (*f != '%')
        {
            if (*p != (WCHAR)(unsigned char)*f)
                break;
            ++p;
            continue;
        }
        ++f;
        int width = -1;
        if (*f >= '1' && *f <= '9')
        {
            width = 0;
            while (*f >= '0' && *f <= '9')
                width = width * 10 + (*f++ - '0');
        }
        while (MarkupIsScanSpace(*p))
            ++p;
        if (!*p)
            break;
        Field field = {p, width};
        BOOL ok = FALSE;
        if (*f == 'f')
        {
            double value = 0;
            BOOL consumed = FALSE;
            ok = ReadFloat(field, value, consumed);
            if (ok)
                *va_arg(args, float*) = (float)value;
            else if (consumed && stored == 0)
            {
                // A malformed first number counts as the end of the input, as in the runtime.
                va_end(args);
                return -1;
            }
        }
        else if (*f == 'i' || *f == 'd' || *f == 'x')
        {
            unsigned long long value = 0;
            ok = ReadInteger(field, *f == 'i' ? 0 : *f == 'd' ? 10 : 16, value);
            if (ok)
            {
                if (*f == 'x')
                    *va_arg(args, unsigned*) = (unsigned)value;
                else
                    *va_arg(args, int*) = (int)(unsigned)value;
            }
        }
        if (!ok)
            break;
        ++stored;
        p = field.p;
    }
    va_end(args);
    return stored;
}
