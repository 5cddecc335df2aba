#include "RwTest.h"
#include "uilib/foundation/SortClass.h"

#include <memory>
#include <vector>

namespace
{
std::string Narrow(const CString& text)
{
    return CStringA(text).GetString();
}

// A report-view list with one column, filled with texts whose item data is their first index.
class SortFixture : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_list.Create(WS_POPUP | LVS_REPORT, CRect(0, 0, 200, 200), nullptr, 0));
        m_list.InsertColumn(0, L"Value", LVCFMT_LEFT, 100);
    }
    void TearDown() override
    {
        m_list.DestroyWindow();
    }
    void Fill(const std::vector<const wchar_t*>& texts)
    {
        m_list.DeleteAllItems();
        m_filled.assign(texts.begin(), texts.end());
        for (size_t i = 0; i < texts.size(); ++i)
        {
            m_list.InsertItem(int(i), texts[i]);
            m_list.SetItemData(int(i), 1000 + i);
        }
    }
    // Sorts and gives the texts in their new order; checks that each row got its own item data back.
    std::vector<std::string> Sorted(BOOL ascending, int type)
    {
        {
            CWVSortClass sorter(&m_list, 0);
            sorter.Sort(ascending, type);
        }
        std::vector<std::string> after;
        for (int i = 0; i < m_list.GetItemCount(); ++i)
        {
            after.push_back(Narrow(m_list.GetItemText(i, 0)));
            const DWORD_PTR data = m_list.GetItemData(i);
            EXPECT_LE(1000u, data);
            if (data >= 1000 && data - 1000 < m_filled.size())
                EXPECT_EQ(Narrow(m_filled[data - 1000]), after.back());
        }
        return after;
    }
    CListCtrl m_list;
    std::vector<CString> m_filled;
};

std::vector<std::string> Texts(std::initializer_list<const wchar_t*> texts)
{
    std::vector<std::string> result;
    for (const wchar_t* text : texts)
        result.push_back(Narrow(text));
    return result;
}
} // namespace

// Every type in both directions: digits alone for integers, case-blind text, dates, decimals.
TEST_F(SortFixture, SortsByEachTypeInBothDirections)
{
    struct Case
    {
        std::vector<const wchar_t*> input;
        int type;
        std::vector<std::string> ascending;
    };
    const Case cases[] = {
        {{L"10", L"a7", L"-3", L"1,200"}, CWVSortClass::typeInt, Texts({L"-3", L"a7", L"10", L"1,200"})},
        {{L"beta", L"Alpha", L"gamma", L"ALPHB"},
         CWVSortClass::typeString,
         Texts({L"Alpha", L"ALPHB", L"beta", L"gamma"})},
        {{L"2024-03-01 10:00:00", L"2023-12-31", L"2024-03-01 09:59:59"},
         CWVSortClass::typeDateTime,
         Texts({L"2023-12-31", L"2024-03-01 09:59:59", L"2024-03-01 10:00:00"})},
        {{L"2.5", L"-1.25", L"10", L"0.001"}, CWVSortClass::typeDecimal, Texts({L"-1.25", L"0.001", L"2.5", L"10"})},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.type);
        Fill(c.input);
        EXPECT_EQ(c.ascending, Sorted(TRUE, c.type));
        std::vector<std::string> descending(c.ascending.rbegin(), c.ascending.rend());
        EXPECT_EQ(descending, Sorted(FALSE, c.type));
    }
}

// The comparison itself: missing records, unknown types, unparsable dates, equal decimals.
TEST_F(SortFixture, ComparisonEdgeCases)
{
    Fill({L"a7", L"10", L"not a date", L"2024-01-02", L"3.50", L"3.5"});
    CWVSortClass sorter(&m_list, 0);
    auto rec = [&](int row) { return LPARAM(m_list.GetItemData(row)); };
    EXPECT_EQ(0, CWVSortClass::Compare(0, rec(1), 1));
    EXPECT_EQ(0, CWVSortClass::Compare(rec(0), rec(1), 5));
    EXPECT_EQ(0, CWVSortClass::Compare(rec(0), rec(1), 0));
    EXPECT_LT(CWVSortClass::Compare(rec(0), rec(1), CWVSortClass::typeInt), 0);
    EXPECT_GT(CWVSortClass::Compare(rec(0), rec(1), -CWVSortClass::typeInt), 0);
    EXPECT_EQ(0, CWVSortClass::Compare(rec(2), rec(3), CWVSortClass::typeDateTime));
    EXPECT_EQ(1, CWVSortClass::Compare(rec(3), rec(3), CWVSortClass::typeDateTime));
    EXPECT_EQ(1, CWVSortClass::Compare(rec(4), rec(5), CWVSortClass::typeDecimal));
    EXPECT_EQ(-1, CWVSortClass::Compare(rec(4), rec(5), -CWVSortClass::typeDecimal));
}

// A sort object for no list, or a list without window, does nothing.
TEST(SortClassTest, NullListDoesNothing)
{
    {
        CWVSortClass sorter(nullptr, 0);
        sorter.Sort(TRUE, CWVSortClass::typeString);
    }
    CListCtrl unattached;
    CWVSortClass sorter(&unattached, 0);
    sorter.Sort(FALSE, CWVSortClass::typeInt);
}
