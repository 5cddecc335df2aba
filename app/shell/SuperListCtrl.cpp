#include "app/shell/SuperListCtrl.h"

namespace
{
const int kDateLength = 10;

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

bool AllDigits(const CString& text)
{
    for (int i = 0; i < text.GetLength(); ++i)
        if (!IsDigit(text[i]))
            return false;
    return true;
}

// dd/mm/yyyy: digits at 0, 1, 3, 4, 6 to 9 and slashes at 2 and 5.
bool IsDate(const CString& text)
{
    if (text.GetLength() != kDateLength || text[2] != L'/' || text[5] != L'/')
        return false;
    for (int i : {0, 1, 3, 4, 6, 7, 8, 9})
        if (!IsDigit(text[i]))
            return false;
    return true;
}

// The leading decimal number of a text (0 without one).
long long LeadingNumber(LPCWSTR text, int length)
{
    int i = 0;
    while (i < length && (text[i] == L' ' || text[i] == L'\t'))
        ++i;
    bool negative = false;
    if (i < length && (text[i] == L'-' || text[i] == L'+'))
        negative = text[i++] == L'-';
    long long value = 0;
    for (; i < length && IsDigit(text[i]); ++i)
        value = value * 10 + (text[i] - L'0');
    return negative ? -value : value;
}

// The number in characters [from, from + count) of a text; characters past its end count as absent.
long long Field(const CString& text, int from, int count)
{
    if (from >= text.GetLength())
        return 0;
    const int available = text.GetLength() - from;
    return LeadingNumber(text.GetString() + from, count < available ? count : available);
}

int Order(long long first, long long second)
{
    return first < second ? -1 : first > second ? 1 : 0;
}
} // namespace

IMPLEMENT_DYNCREATE(CSuperListCtrl, CListCtrl)

BEGIN_MESSAGE_MAP(CSuperListCtrl, CListCtrl)
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_SIZE()
ON_WM_WINDOWPOSCHANGED()
ON_NOTIFY_REFLECT(LVN_DELETEALLITEMS, OnDeleteAllItems)
ON_NOTIFY_REFLECT(LVN_DELETEITEM, OnDeleteItem)
ON_MESSAGE(WM_SUPERLIST_POSITIONBARS, OnPositionBars)
ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, OnColumnClick)
END_MESSAGE_MAP()

CSuperListCtrl::CProgressEntry::~CProgressEntry()
{
    if (::IsWindow(m_hBar))
        ::DestroyWindow(m_hBar);
}

CSuperListCtrl::CSuperListCtrl() = default;

CSuperListCtrl::~CSuperListCtrl()
{
    m_progressEntries.clear();
}

void CSuperListCtrl::PreSubclassWindow()
{
    CListCtrl::PreSubclassWindow();
    if (HWND header = ::GetDlgItem(m_hWnd, 0))
        m_header.SubclassWindow(header);
}

void CSuperListCtrl::AddProgressEntry(std::unique_ptr<CProgressEntry> entry)
{
    const int row = entry->m_nRow;
    m_progressEntries[row] = std::move(entry);
}

void CSuperListCtrl::PositionProgressBars()
{
    for (const auto& item : m_progressEntries)
    {
        const CProgressEntry& entry = *item.second;
        CRect bounds;
        if (!::IsWindow(entry.m_hBar) || !GetSubItemRect(entry.m_nRow, entry.m_nColumn, LVIR_BOUNDS, bounds))
            continue;
        ::MoveWindow(entry.m_hBar, bounds.left, bounds.top, bounds.Width(), bounds.Height(), TRUE);
    }
}

void CSuperListCtrl::OnHScroll(UINT, UINT, CScrollBar*)
{
    PositionProgressBars();
    Default();
}

void CSuperListCtrl::OnVScroll(UINT, UINT, CScrollBar*)
{
    PositionProgressBars();
    Default();
}

void CSuperListCtrl::OnSize(UINT, int, int)
{
    Default();
    PositionProgressBars();
}

void CSuperListCtrl::OnWindowPosChanged(WINDOWPOS*)
{
    Default();
    PositionProgressBars();
}

LRESULT CSuperListCtrl::OnPositionBars(WPARAM, LPARAM)
{
    PositionProgressBars();
    return 0;
}

void CSuperListCtrl::OnDeleteAllItems(NMHDR*, LRESULT* result)
{
    m_progressEntries.clear();
    *result = 0;
}

void CSuperListCtrl::OnDeleteItem(NMHDR* header, LRESULT* result)
{
    *result = 0;
    const int row = reinterpret_cast<NMLISTVIEW*>(header)->iItem;
    auto found = m_progressEntries.find(row);
    if (found == m_progressEntries.end())
        return;
    m_progressEntries.erase(found);
    // The entries of the rows below move up, as far as they run without a gap.
    for (int k = row + 1;; ++k)
    {
        auto next = m_progressEntries.find(k);
        if (next == m_progressEntries.end())
            break;
        std::unique_ptr<CProgressEntry> entry = std::move(next->second);
        m_progressEntries.erase(next);
        entry->m_nRow = k - 1;
        m_progressEntries[k - 1] = std::move(entry);
    }
    PositionProgressBars();
}

int CSuperListCtrl::CompareTexts(const CString& first, const CString& second)
{
    if (first.IsEmpty() || AllDigits(first))
        return Order(LeadingNumber(first, first.GetLength()), LeadingNumber(second, second.GetLength()));
    if (IsDate(first))
    {
        // Year, then month, then day; a shorter second text has no further fields to read.
        const int fields[][2] = {{6, 4}, {3, 2}, {0, 2}};
        for (const auto& field : fields)
        {
            const int order = Order(Field(first, field[0], field[1]), Field(second, field[0], field[1]));
            if (order)
                return order;
        }
        return 0;
    }
    const int order = ::lstrcmpW(first, second);
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

int CALLBACK CSuperListCtrl::CompareRows(LPARAM first, LPARAM second, LPARAM listParam)
{
    const CSuperListCtrl* list = reinterpret_cast<const CSuperListCtrl*>(listParam);
    const auto& texts = list->m_sortTexts;
    if (first < 0 || second < 0 || (size_t)first >= texts.size() || (size_t)second >= texts.size())
        return 0;
    const CString& t1 = texts[(size_t)first];
    const CString& t2 = texts[(size_t)second];
    return list->m_bAscending ? CompareTexts(t1, t2) : CompareTexts(t2, t1);
}

void CSuperListCtrl::OnColumnClick(NMHDR* header, LRESULT* result)
{
    *result = 0;
    const int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
    CWnd* parent = GetParent();
    if (parent)
        parent->SendMessage(WM_SUPERLIST_SORTSTART, (WPARAM)column);

    // Each row remembers its old index; the comparison reads the texts taken before the sort.
    const int count = GetItemCount();
    m_sortTexts.clear();
    for (int i = 0; i < count; ++i)
    {
        SetItemData(i, (DWORD_PTR)i);
        m_sortTexts.push_back(GetItemText(i, column));
    }
    m_bAscending = column == m_nSortColumn ? !m_bAscending : TRUE;
    m_nSortColumn = column;
    if (m_header.m_hWnd)
        m_header.SetSortArrow(column, m_bAscending);
    SortItems(CompareRows, (DWORD_PTR)this);
    m_sortTexts.clear();

    // The entries follow their rows.
    std::map<int, std::unique_ptr<CProgressEntry>> before;
    before.swap(m_progressEntries);
    for (int i = 0; i < count; ++i)
    {
        const int old = (int)GetItemData(i);
        auto found = before.find(old);
        if (found == before.end())
            continue;
        found->second->m_nRow = i;
        m_progressEntries[i] = std::move(found->second);
    }
    // An entry whose row no longer exists keeps its key.
    for (auto& rest : before)
        if (rest.second && !m_progressEntries.count(rest.first))
            m_progressEntries[rest.first] = std::move(rest.second);

    PositionProgressBars();
    if (parent)
        parent->SendMessage(WM_SUPERLIST_SORTDONE, (WPARAM)column);
}
