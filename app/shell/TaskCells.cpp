#include "app/shell/TaskCells.h"

namespace
{
const double kKibibyte = 1024.0;
const INT64 kMebibyte = 1024 * 1024;
const INT64 kGigaThreshold = 1000 * kMebibyte;
const DWORD kMillisecondsPerSecond = 1000;
const double kFullPercent = 100.0;
// Progress this close to 0 counts as a hundredth of a percent.
const double kProgressEpsilon = 0.000001;
const double kProgressFloor = 0.01;

struct SizeUnit
{
    WCHAR letter;
    double bytes;
};
const SizeUnit kSizeUnits[] = {
    {L'K', kKibibyte}, {L'M', kKibibyte* kKibibyte}, {L'G', kKibibyte* kKibibyte* kKibibyte}};

bool IsDigit(WCHAR c)
{
    return c >= L'0' && c <= L'9';
}

// Reads a decimal number (digits, "," group marks, one ".") from position at; false without digits.
bool ReadNumber(const CString& text, int& at, double& value)
{
    value = 0;
    double scale = 0;
    bool digits = false;
    for (; at < text.GetLength(); ++at)
    {
        const WCHAR c = text[at];
        if (IsDigit(c))
        {
            digits = true;
            if (scale > 0)
            {
                value += (c - L'0') * scale;
                scale /= 10;
            }
            else
                value = value * 10 + (c - L'0');
        }
        else if (c == L'.' && scale == 0)
            scale = 0.1;
        else if (c != L',' || scale > 0)
            break;
    }
    return digits;
}

int Order(double first, double second)
{
    return first < second ? -1 : first > second ? 1 : 0;
}
} // namespace

int TaskSecondsLeft(DWORD elapsedMs, double percent)
{
    const double elapsed = static_cast<double>(elapsedMs / kMillisecondsPerSecond);
    if (percent > -kProgressEpsilon && percent < kProgressEpsilon)
        percent = kProgressFloor;
    const double left = 1 + kFullPercent * elapsed / percent - elapsed;
    // A NaN ends here too; the estimate never passes through an integer that could overflow.
    if (!(left < kMaxSecondsLeft))
        return kMaxSecondsLeft;
    return left > 0 ? static_cast<int>(left) : 0;
}

CString FormatTaskSize(INT64 bytes)
{
    CString text;
    if (bytes < kMebibyte)
        text.Format(L"%0.2f K", (double)bytes / kKibibyte);
    else if (bytes < kGigaThreshold)
        text.Format(L"%0.2f M", (double)bytes / kKibibyte / kKibibyte);
    else
        text.Format(L"%0.2f G", (double)bytes / kKibibyte / kKibibyte / kKibibyte);
    return text;
}

bool TaskCellValue(const CString& text, double& value)
{
    int at = 0;
    while (at < text.GetLength() && text[at] == L' ')
        ++at;
    const bool negative = at < text.GetLength() && text[at] == L'-';
    if (negative)
        ++at;
    if (!ReadNumber(text, at, value))
        return false;
    if (at < text.GetLength() && text[at] == L':')
    {
        // hh:mm:ss, each part a further sixty.
        double part = 0;
        while (at < text.GetLength() && text[at] == L':')
        {
            ++at;
            if (!ReadNumber(text, at, part))
                return false;
            value = value * 60 + part;
        }
    }
    else
    {
        while (at < text.GetLength() && text[at] == L' ')
            ++at;
        if (at < text.GetLength())
            for (const SizeUnit& unit : kSizeUnits)
                if (text[at] == unit.letter)
                    value *= unit.bytes;
    }
    if (negative)
        value = -value;
    return true;
}

int CompareTaskCells(int column, const CString& first, const CString& second)
{
    if (column == kTaskColumnLength || column == kTaskColumnSize)
    {
        double a = 0, b = 0;
        const bool hasA = TaskCellValue(first, a);
        const bool hasB = TaskCellValue(second, b);
        if (hasA != hasB)
            return hasA ? 1 : -1;
        if (hasA)
            return Order(a, b);
    }
    const int order = ::lstrcmpiW(first, second);
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}
