// The task list's value cells: size texts by their unit, lengths by their seconds, so that
// "10.00 M" sorts after "2.00 M" and "1:00:00" after "59:59"; texts without a value sort first.
#include "RwTest.h"

#include "tests/platform/mfc/MfcTestApp.h"

#include "app/shell/TaskCells.h"

namespace
{
TEST(TaskCells, SizeTextsChangeUnitAtOneAndAThousandMebibytes)
{
    struct Case
    {
        INT64 bytes;
        const char* text;
    };
    const Case cases[] = {
        {0, "0.00 K"},          {1536, "1.50 K"},      {1048575, "1024.00 K"},
        {1048576, "1.00 M"},    {10485760, "10.00 M"}, {1048575999, "1000.00 M"}, // rounded, still in M
        {1048576000, "0.98 G"}, {-2048, "-2.00 K"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text, Narrow(FormatTaskSize(c.bytes))) << c.bytes;
}

TEST(TaskCells, ValueColumnsSortByValueAndOthersAsText)
{
    struct Case
    {
        int column;
        LPCWSTR first;
        LPCWSTR second;
        int order;
    };
    const Case cases[] = {
        {kTaskColumnSize, L"10.00 M", L"2.00 M", 1},
        {kTaskColumnSize, L"900.00 K", L"1.00 M", -1},
        {kTaskColumnSize, L"1.00 G", L"999.00 M", 1},
        {kTaskColumnSize, L"1,024.00 K", L"1.00 M", 0},
        {kTaskColumnSize, L"-", L"0.00 K", -1},
        {kTaskColumnLength, L"00:10:00", L"00:09:59", 1},
        {kTaskColumnLength, L"1:00:00", L"59:59", 1},
        {kTaskColumnLength, L"", L"00:00:01", -1},
        {kTaskColumnLength, L"00:00:05", L"00:00:05", 0},
        {0, L"10.avi", L"2.avi", -1},
        {0, L"b.avi", L"A.avi", 1},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.order, CompareTaskCells(c.column, c.first, c.second))
            << Narrow(c.first) << " / " << Narrow(c.second);
        EXPECT_EQ(-c.order, CompareTaskCells(c.column, c.second, c.first))
            << Narrow(c.second) << " / " << Narrow(c.first);
    }
}
} // namespace
