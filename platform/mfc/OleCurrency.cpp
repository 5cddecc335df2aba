#include "platform/mfc/OleCurrency.h"

#include <limits.h>

namespace
{
const LONGLONG kScale = 10000;

// A result outside the 64-bit range makes the value invalid.
COleCurrency Checked(bool overflow, LONGLONG value, bool bothValid)
{
    COleCurrency result;
    result.m_cur.int64 = overflow ? 0 : value;
    result.m_status = (overflow || !bothValid) ? COleCurrency::invalid : COleCurrency::valid;
    return result;
}
}

COleCurrency::COleCurrency() : m_status(valid)
{
    m_cur.int64 = 0;
}

COleCurrency::COleCurrency(CURRENCY value) : m_cur(value), m_status(valid)
{
}

COleCurrency::COleCurrency(long units, long fractionalUnits) : m_status(valid)
{
    SetCurrency(units, fractionalUnits);
}

void COleCurrency::SetCurrency(long units, long fractionalUnits)
{
    LONGLONG whole = 0;
    if (__builtin_mul_overflow((LONGLONG)units, kScale, &whole) ||
        __builtin_add_overflow(whole, (LONGLONG)fractionalUnits, &m_cur.int64))
    {
        m_cur.int64 = 0;
        m_status = invalid;
        return;
    }
    m_status = valid;
}

bool COleCurrency::ParseCurrency(LPCWSTR text, DWORD flags, LCID lcid)
{
    CURRENCY value;
    if (!text || FAILED(::VarCyFromStr(const_cast<LPOLESTR>(text), lcid, flags, &value)))
    {
        m_cur.int64 = 0;
        m_status = invalid;
        return false;
    }
    m_cur = value;
    m_status = valid;
    return true;
}

CString COleCurrency::Format(DWORD flags, LCID lcid) const
{
    if (m_status != valid)
        return CString();
    VARIANT source;
    ::VariantInit(&source);
    V_VT(&source) = VT_CY;
    V_CY(&source) = m_cur;
    VARIANT text;
    ::VariantInit(&text);
    CString result;
    if (SUCCEEDED(::VariantChangeTypeEx(&text, &source, lcid, (USHORT)flags, VT_BSTR)))
        result = V_BSTR(&text);
    ::VariantClear(&text);
    return result;
}

COleCurrency COleCurrency::operator+(const COleCurrency& other) const
{
    LONGLONG sum = 0;
    bool overflow = __builtin_add_overflow(m_cur.int64, other.m_cur.int64, &sum);
    return Checked(overflow, sum, m_status == valid && other.m_status == valid);
}

COleCurrency COleCurrency::operator-(const COleCurrency& other) const
{
    LONGLONG difference = 0;
    bool overflow = __builtin_sub_overflow(m_cur.int64, other.m_cur.int64, &difference);
    return Checked(overflow, difference, m_status == valid && other.m_status == valid);
}

COleCurrency COleCurrency::operator-() const
{
    return Checked(m_cur.int64 == LLONG_MIN, -m_cur.int64, m_status == valid);
}

COleCurrency COleCurrency::operator*(long factor) const
{
    LONGLONG product = 0;
    bool overflow = __builtin_mul_overflow(m_cur.int64, (LONGLONG)factor, &product);
    return Checked(overflow, product, m_status == valid);
}

COleCurrency COleCurrency::operator/(long divisor) const
{
    // Dividing by zero gives an invalid value, not a crash.
    if (divisor == 0)
        return Checked(true, 0, false);
    return Checked(m_cur.int64 == LLONG_MIN && divisor == -1, m_cur.int64 / divisor, m_status == valid);
}
