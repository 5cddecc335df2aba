// A date and time as an OLE DATE (days since 30 December 1899, the fraction being the time of
// day), with a validity status; parsed from text through the locale's date formats. Used where
// lists sort columns of dates.
#pragma once

#include "platform/mfc/Afx.h"

#include <oleauto.h>

class COleDateTime
{
  public:
    enum DateTimeStatus
    {
        error = -1,
        valid = 0,
        invalid = 1,
        null = 2
    };

    COleDateTime();
    COleDateTime(DATE dtSrc);
    // An invalid date (status invalid) when the parts do not form one.
    COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);

    DateTimeStatus GetStatus() const
    {
        return m_status;
    }
    void SetStatus(DateTimeStatus status)
    {
        m_status = status;
    }
    operator DATE() const
    {
        return m_dt;
    }

    // Parses a date, a time or both in the given locale's formats; false (status invalid) when
    // the text is not one.
    bool ParseDateTime(LPCTSTR lpszDate, DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT);

    // Chronological order (DATE values before 1899 store the time of day in the other direction).
    bool operator==(const COleDateTime& date) const;
    bool operator!=(const COleDateTime& date) const
    {
        return !(*this == date);
    }
    bool operator<(const COleDateTime& date) const;
    bool operator>(const COleDateTime& date) const
    {
        return date < *this;
    }
    bool operator<=(const COleDateTime& date) const
    {
        return !(date < *this);
    }
    bool operator>=(const COleDateTime& date) const
    {
        return !(*this < date);
    }

    DATE m_dt;
    DateTimeStatus m_status;
};
