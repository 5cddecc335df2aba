#include "platform/mfc/OleDateTime.h"

#include <cmath>

namespace
{
// A DATE as a number that grows with time: before day 0 the fraction counts forwards from the
// (negative) day, so -1.25 is 18 hours before 0.0, i.e. -0.75.
double Chronological(DATE dt)
{
    if (dt >= 0)
        return dt;
    double day = std::ceil(dt);
    return day + (day - dt);
}
} // namespace

COleDateTime::COleDateTime() : m_dt(0), m_status(valid)
{
}

COleDateTime::COleDateTime(DATE dtSrc) : m_dt(dtSrc), m_status(valid)
{
}

COleDateTime::COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) : m_dt(0), m_status(valid)
{
    SYSTEMTIME st = {};
    st.wYear = WORD(nYear);
    st.wMonth = WORD(nMonth);
    st.wDay = WORD(nDay);
    st.wHour = WORD(nHour);
    st.wMinute = WORD(nMin);
    st.wSecond = WORD(nSec);
    bool inRange = nYear >= 100 && nYear <= 9999 && nMonth >= 1 && nMonth <= 12 && nDay >= 1 && nDay <= 31 &&
                   nHour >= 0 && nHour <= 23 && nMin >= 0 && nMin <= 59 && nSec >= 0 && nSec <= 59;
    SYSTEMTIME back = {};
    // SystemTimeToVariantTime rolls impossible days over; a round trip shows them.
    if (!inRange || !::SystemTimeToVariantTime(&st, &m_dt) || !::VariantTimeToSystemTime(m_dt, &back) ||
        back.wDay != st.wDay || back.wMonth != st.wMonth)
    {
        m_dt = 0;
        m_status = invalid;
    }
}

bool COleDateTime::ParseDateTime(LPCTSTR lpszDate, DWORD dwFlags, LCID lcid)
{
    m_dt = 0;
    if (!lpszDate || FAILED(::VarDateFromStr(lpszDate, lcid, dwFlags, &m_dt)))
    {
        m_dt = 0;
        m_status = invalid;
        return false;
    }
    m_status = valid;
    return true;
}

bool COleDateTime::operator==(const COleDateTime& date) const
{
    return m_status == date.m_status && Chronological(m_dt) == Chronological(date.m_dt);
}

bool COleDateTime::operator<(const COleDateTime& date) const
{
    return Chronological(m_dt) < Chronological(date.m_dt);
}
