#include "app/shell/SplitOption.h"

namespace
{
struct SplitPreset
{
    LPCWSTR text;
    LONGLONG megabytes;
};

const SplitPreset kPresets[CSplitOption::kPresetCount] = {
    {L"210 MB", 210}, {L"630 MB", 630},  {L"700 MB", 700},  {L"800 MB", 800},
    {L"1 GB", 1000},  {L"1.4 GB", 1400}, {L"4.7 GB", 4700},
};

CString FormatNumber(LONGLONG value)
{
    CString text;
    text.Format(L"%I64d", value);
    return text;
}

bool IsDigit(WCHAR c)
{
    return c >= L'0' && c <= L'9';
}

// A typed number of big units as the nearest whole number of small ones, at least 1.
LONGLONG RoundedUnits(double number, LONGLONG unit)
{
    const LONGLONG units = static_cast<LONGLONG>(number * unit + 0.5);
    return units < 1 ? 1 : units;
}
// Moves past leading blanks and an optional sign; true for a minus.
bool SkipBlanksAndSign(const WCHAR*& p)
{
    while (*p == L' ' || *p == L'\t')
        ++p;
    if (*p == L'+' || *p == L'-')
        return *p++ == L'-';
    return false;
}
} // namespace

LPCWSTR CSplitOption::PresetText(int preset)
{
    return preset >= 1 && preset <= kPresetCount ? kPresets[preset - 1].text : nullptr;
}

LONGLONG CSplitOption::PresetBytes(int preset)
{
    return preset >= 1 && preset <= kPresetCount ? kPresets[preset - 1].megabytes * kMegabyte : 0;
}

int CSplitOption::PresetIndex(LONGLONG bytes)
{
    if (bytes == 0)
        return 0;
    for (int preset = 1; preset <= kPresetCount; ++preset)
        if (PresetBytes(preset) == bytes)
            return preset;
    return -1;
}

LONGLONG CSplitOption::ReadValue(const CString& text)
{
    const WCHAR* p = text;
    const bool negative = SkipBlanksAndSign(p);
    LONGLONG value = 0;
    const LONGLONG limit = 0x7FFFFFFFFFFFFFFFLL / 10 - 9;
    for (; IsDigit(*p); ++p)
        value = value < limit ? value * 10 + (*p - L'0') : value;
    return negative ? -value : value;
}

bool CSplitOption::ParseInput(const CString& text, double* number)
{
    const WCHAR* p = text;
    const bool negative = SkipBlanksAndSign(p);
    double value = 0;
    for (; IsDigit(*p); ++p)
        value = value * 10 + (*p - L'0');
    if (*p == L'.' || *p == L',')
        for (double scale = 0.1; IsDigit(*++p); scale /= 10)
            value += (*p - L'0') * scale;
    if (value > kMaxInput)
        value = static_cast<double>(kMaxInput);
    *number = negative ? -value : value;
    return *number > 0;
}

CString CSplitOption::SizeValue(double megabytes)
{
    return FormatNumber(RoundedUnits(megabytes, kMegabyte));
}

CString CSplitOption::TimeValue(double minutes)
{
    return FormatNumber(RoundedUnits(minutes, kSecondsPerMinute));
}

CString CSplitOption::PresetValue(int preset)
{
    return FormatNumber(PresetBytes(preset));
}
