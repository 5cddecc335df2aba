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

// The time left of a running row: from the elapsed time and the progress, also at a progress so
// small that the estimate leaves the range of an int, and never below zero.
TEST(TaskCells, TimeLeftStaysWithinItsRangeAtAnyProgress)
{
    struct Case
    {
        DWORD elapsedMs;
        double percent;
        int seconds;
    };
    const Case cases[] = {
        {10000, 50, 11},                        // 1 + 10 s x 100 / 50 - 10 s
        {3600000, 100, 1},                      // done: the one second the estimate keeps
        {600000, 25, 1801},                     // 10 minutes for a quarter
        {60000, 0, kMaxSecondsLeft},            // no progress yet: a hundredth of a percent
        {1000000, 0.00001, kMaxSecondsLeft},    // 10^10 seconds: beyond 32 bits
        {4000000000u, 0.5, kMaxSecondsLeft},    // an elapsed time near the tick counter's wrap
        {5000, -1, 0},                          // a progress below zero
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.seconds, TaskSecondsLeft(c.elapsedMs, c.percent)) << c.elapsedMs << " ms, " << c.percent << " %";
}
} // namespace
