// Pixel arithmetic of the layout passes that stays correct when an available size is "no limit"
// (0x7FFFFFFF): sums and differences are taken in 64 bits and saturated to the 32-bit range.
#pragma once

#include <climits>

inline int MarkupSaturate(long long value)
{
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

inline int MarkupAddSize(int a, int b)
{
    return MarkupSaturate(static_cast<long long>(a) + b);
}

inline int MarkupSubtractSize(int a, int b)
{
    return MarkupSaturate(static_cast<long long>(a) - b);
}
