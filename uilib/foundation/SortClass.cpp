#include "uilib/foundation/SortClass.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace
{
// The value of a cell's decimal digits alone: any other character (a sign, a thousands separator,
// a unit) is dropped first. Saturates like a 32-bit long conversion.
LONG DigitsValue(const CString& text)
{
    long long value = 0;
    for (int i = 0; i < text.GetLength(); ++i)
    {
        const WCHAR ch = text[i];
        if (ch < L'0' || ch > L'9')
            continue;
        value = value * 10 + (ch - L'0');
        if (value > LONG_MAX)
            return LONG_MAX;
    }
    return static_cast<LONG>(value);
}

WCHAR LowerChar(WCHAR ch)
{
    return static_cast<WCHAR>(reinterpret_cast<UINT_PTR>(::CharLowerW(reinterpret_cast<LPWSTR>(UINT_PTR(ch)))));
}

// Case-insensitive ordinal comparison: each character folded to lower case.
int CompareNoCase(const CString& a, const CString& b)
{
    const int n = std::min(a.GetLength(), b.GetLength());
    for (int i = 0; i < n; ++i)
    {
        const int d = int(LowerChar(a[i])) - int(LowerChar(b[i]));
        if (d)
            return d;
    }
    return a.GetLength() - b.GetLength();
}

const int kMaxDecimalBytes = 255;

double DecimalValue(const CString& text)
{
    char buffer[kMaxDecimalBytes + 1] = {};
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, kMaxDecimalBytes, nullptr, nullptr);
    buffer[kMaxDecimalBytes] = 0;
    return std::atof(buffer);
}
} // namespace

CWVSortClass::CWVSortClass(CListCtrl* pList, int nColumn) : m_pList(pList)
{
    if (!m_pList || !m_pList->GetSafeHwnd())
        return;
    const int count = m_pList->GetItemCount();
    m_records.reserve(count);
    for (int i = 0; i < count; ++i)
    {
        auto* pItem = new CSortItem{m_pList->GetItemData(i), m_pList->GetItemText(i, nColumn)};
        m_records.push_back(pItem);
        m_pList->SetItemData(i, reinterpret_cast<DWORD_PTR>(pItem));
    }
    std::sort(m_records.begin(), m_records.end());
}

CWVSortClass::~CWVSortClass()
{
    if (m_pList && m_pList->GetSafeHwnd())
    {
        const int count = m_pList->GetItemCount();
        for (int i = 0; i < count; ++i)
        {
            auto* pItem = reinterpret_cast<CSortItem*>(m_pList->GetItemData(i));
            if (std::binary_search(m_records.begin(), m_records.end(), pItem))
                m_pList->SetItemData(i, pItem->dwPrevData);
        }
    }
    for (CSortItem* pItem : m_records)
        delete pItem;
}

void CWVSortClass::Sort(BOOL bAscending, int nType)
{
    if (!m_pList || !m_pList->GetSafeHwnd())
        return;
    m_pList->SortItems(&CWVSortClass::Compare,
                       static_cast<DWORD_PTR>(static_cast<LONG_PTR>(bAscending ? nType : -nType)));
}

int CALLBACK CWVSortClass::Compare(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort)
{
    const auto* pItem1 = reinterpret_cast<const CSortItem*>(lParam1);
    const auto* pItem2 = reinterpret_cast<const CSortItem*>(lParam2);
    if (!pItem1 || !pItem2)
        return 0;
    const int value = static_cast<int>(lParamSort);
    const int sign = value < 0 ? -1 : 1;
    switch (value < 0 ? -value : value)
    {
    case typeInt:
        return (DigitsValue(pItem1->strText) - DigitsValue(pItem2->strText)) * sign;
    case typeString:
        return CompareNoCase(pItem1->strText, pItem2->strText) * sign;
    case typeDateTime: {
        COleDateTime t1, t2;
        if (!t1.ParseDateTime(pItem1->strText) || !t2.ParseDateTime(pItem2->strText))
            return 0;
        return (t1 < t2 ? -1 : 1) * sign;
    }
    case typeDecimal:
        // Equal values answer 1 ascending (-1 descending), like the date comparison.
        return (DecimalValue(pItem1->strText) < DecimalValue(pItem2->strText) ? -1 : 1) * sign;
    default:
        return 0;
    }
}
