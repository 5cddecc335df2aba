#include "app/core/TextNumbers.h"

#include <climits>
#include <cmath>

namespace
{
bool IsSpace(WCHAR c)
{
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

bool IsDigit(WCHAR c)
{
    return c >= L'0' && c <= L'9';
}

// Skips white space and reads a sign; returns the position after them.
const WCHAR* ReadSign(const WCHAR* p, bool* negative)
{
    while (IsSpace(*p))
        ++p;
    *negative = *p == L'-';
    if (*p == L'-' || *p == L'+')
        ++p;
    return p;
}
} // namespace

int ReadLeadingInt(const WCHAR* text)
{
    if (!text)
        return 0;
    bool negative = false;
    const WCHAR* p = ReadSign(text, &negative);
    long long value = 0;
    for (; IsDigit(*p); ++p)
    {
        value = value * 10 + (*p - L'0');
        if (value > (long long)INT_MAX + 1)
            value = (long long)INT_MAX + 1; // saturate instead of overflowing
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    return (int)value;
}

double ReadLeadingFloat(const WCHAR* text)
{
    if (!text)
        return 0.0;
    bool negative = false;
    const WCHAR* p = ReadSign(text, &negative);
    double value = 0.0;
    for (; IsDigit(*p); ++p)
        value = value * 10.0 + (*p - L'0');
    if (*p == L'.')
    {
        double scale = 0.1;
        for (++p; IsDigit(*p); ++p, scale /= 10.0)
            value += (*p - L'0') * scale;
    }
    if ((*p == L'e' || *p == L'E') && (IsDigit(p[1]) || ((p[1] == L'-' || p[1] == L'+') && IsDigit(p[2]))))
    {
        bool expNegative = false;
        p = ReadSign(p + 1, &expNegative);
        int exponent = 0;
        for (; IsDigit(*p); ++p)
            exponent = exponent < 10000 ? exponent * 10 + (*p - L'0') : exponent;
        value *= std::pow(10.0, expNegative ? -exponent : exponent);
    }
    return negative ? -value : value;
}

bool StartsWithNumber(const WCHAR* text)
{
    if (!text)
        return false;
    bool negative = false;
    const WCHAR* p = ReadSign(text, &negative);
    return IsDigit(*p) || (*p == L'.' && IsDigit(p[1]));
}
