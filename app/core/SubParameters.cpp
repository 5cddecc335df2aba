#include "app/core/SubParameters.h"

#include "app/core/TextNumbers.h"

namespace
{
void CopyStringArray(CStringArray& to, const CStringArray& from)
{
    to.RemoveAll();
    for (INT_PTR i = 0; i < from.GetSize(); ++i)
        to.Add(from.GetAt(i));
}

// A bound that is no number (a damaged profile) counts as no bound, so it cannot force every
// value to 0.
template <typename T> T Clamp(T value, const CString& min, const CString& max, T (*read)(const WCHAR*))
{
    if (StartsWithNumber(min) && value < read(min))
        value = read(min);
    if (StartsWithNumber(max) && value > read(max))
        value = read(max);
    return value;
}

int ReadInt(const WCHAR* text)
{
    return ReadLeadingInt(text);
}

float ReadFloat(const WCHAR* text)
{
    return (float)ReadLeadingFloat(text);
}
} // namespace

SubParameters::SubParameters() = default;

SubParameters::SubParameters(const SubParameters& other)
{
    CopyFrom(other);
}

SubParameters& SubParameters::operator=(const SubParameters& other)
{
    CopyFrom(other);
    return *this;
}

SubParameters::~SubParameters() = default;

void SubParameters::CopyFrom(const SubParameters& other)
{
    if (this == &other)
        return;
    m_name = other.m_name;
    m_group = other.m_group;
    m_key = other.m_key;
    m_extra1 = other.m_extra1;
    m_extra2 = other.m_extra2;
    m_extra3 = other.m_extra3;
    m_type = other.m_type;
    CopyStringArray(m_displayList, other.m_displayList);
    CopyStringArray(m_valueList, other.m_valueList);
    m_value = other.m_value;
    m_min = other.m_min;
    m_max = other.m_max;
}

void SubParameters::SetValueClamped(const CString& value)
{
    if (value.IsEmpty())
    {
        m_value = value;
    }
    else if (m_type.CompareNoCase(L"integer") == 0)
    {
        m_value.Format(L"%d", Clamp<int>(ReadInt(value), m_min, m_max, ReadInt));
    }
    else if (m_type.CompareNoCase(L"float") == 0)
    {
        m_value.Format(L"%f", (double)Clamp<float>(ReadFloat(value), m_min, m_max, ReadFloat));
    }
    else
    {
        m_value = value;
    }
}

bool SubParameters::MergeFrom(const SubParameters& other)
{
    if (m_key != other.m_key)
        return false;
    if (m_key == L"vb" || m_key == L"ab" || m_key == L"target")
    {
        const int mine = FindInStringArray(m_valueList, m_value);
        const int theirs = FindInStringArray(other.m_valueList, other.m_value);
        if (mine >= 0 && mine == theirs)
            return true;
        m_value.Empty();
        return false;
    }
    if (m_type == L"list")
    {
        CStringArray common;
        IntersectStringArrays(m_valueList, other.m_valueList, common);
        CopyStringArray(m_valueList, common);
    }
    if (m_value != other.m_value)
        m_value.Empty();
    return true;
}

int FindInStringArray(const CStringArray& array, const CString& text)
{
    for (INT_PTR i = 0; i < array.GetSize(); ++i)
        if (array.GetAt(i) == text)
            return (int)i;
    return -1;
}

bool IntersectStringArrays(const CStringArray& a, const CStringArray& b, CStringArray& out)
{
    for (INT_PTR i = 0; i < a.GetSize(); ++i)
        if (FindInStringArray(b, a.GetAt(i)) >= 0)
            out.Add(a.GetAt(i));
    return out.GetSize() > 0;
}
