// COleCurrency: an OLE currency value (a 64-bit count of ten-thousandths) with a validity
// status, for the library's property exchange and sorting.
#pragma once

#include "platform/mfc/Afx.h"
#include "platform/mfc/String.h"

#include <oleauto.h>

class COleCurrency
{
public:
    enum CurrencyStatus
    {
        valid = 0,
        invalid = 1,
        null = 2
    };

    COleCurrency();
    COleCurrency(CURRENCY value);
    // Whole units and ten-thousandths (both with the same sign).
    COleCurrency(long units, long fractionalUnits);

    CURRENCY m_cur;
    CurrencyStatus m_status;

    CurrencyStatus GetStatus() const { return m_status; }
    void SetStatus(CurrencyStatus status) { m_status = status; }
    void SetCurrency(long units, long fractionalUnits);
    operator CURRENCY() const { return m_cur; }

    bool ParseCurrency(LPCWSTR text, DWORD flags = 0, LCID lcid = LANG_USER_DEFAULT);
    CString Format(DWORD flags = 0, LCID lcid = LANG_USER_DEFAULT) const;

    COleCurrency operator+(const COleCurrency& other) const;
    COleCurrency operator-(const COleCurrency& other) const;
    COleCurrency operator-() const;
    COleCurrency operator*(long factor) const;
    COleCurrency operator/(long divisor) const;
    const COleCurrency& operator+=(const COleCurrency& other) { return *this = *this + other; }
    const COleCurrency& operator-=(const COleCurrency& other) { return *this = *this - other; }

    bool operator==(const COleCurrency& other) const
    {
        return m_status == other.m_status && m_cur.int64 == other.m_cur.int64;
    }
    bool operator!=(const COleCurrency& other) const { return !(*this == other); }
    bool operator<(const COleCurrency& other) const { return m_cur.int64 < other.m_cur.int64; }
    bool operator>(const COleCurrency& other) const { return other < *this; }
    bool operator<=(const COleCurrency& other) const { return !(other < *this); }
    bool operator>=(const COleCurrency& other) const { return !(*this < other); }
};
