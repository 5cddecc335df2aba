#include "RwTest.h"

#include "platform/mfc/Mfc.h"

namespace
{
const LCID kEnglishUS = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);
}

TEST(OleDateTime, ParsesDatesAndTimesOrRefusesThem)
{
    struct Case
    {
        const WCHAR* text;
        bool ok;
        COleDateTime expected;
    };
    const Case cases[] = {
        {L"3/15/2009", true, COleDateTime(2009, 3, 15, 0, 0, 0)},
        {L"3/15/2009 10:30:05", true, COleDateTime(2009, 3, 15, 10, 30, 5)},
        {L"2009-03-15 10:30", true, COleDateTime(2009, 3, 15, 10, 30, 0)},
        {L"not a date", false, COleDateTime()},
        {L"", false, COleDateTime()},
    };
    for (const Case& c : cases)
    {
        COleDateTime parsed;
        EXPECT_EQ(parsed.ParseDateTime(c.text, 0, kEnglishUS), c.ok) << CStringA(c.text).GetString();
        EXPECT_EQ(parsed.GetStatus(), c.ok ? COleDateTime::valid : COleDateTime::invalid);
        if (c.ok)
            EXPECT_TRUE(parsed == c.expected) << CStringA(c.text).GetString() << " " << DATE(parsed);
    }
    COleDateTime none;
    EXPECT_FALSE(none.ParseDateTime(nullptr));
}

TEST(OleDateTime, OrdersChronologicallyOnBothSidesOfDayZero)
{
    // Dates before 30 December 1899 store their time of day backwards (-1.25 is 29 Dec, 06:00).
    const COleDateTime ordered[] = {
        COleDateTime(1899, 12, 28, 23, 0, 0), COleDateTime(1899, 12, 29, 6, 0, 0),
        COleDateTime(1899, 12, 29, 18, 0, 0), COleDateTime(1899, 12, 30, 0, 0, 0),
        COleDateTime(1899, 12, 30, 12, 0, 0), COleDateTime(2009, 3, 15, 10, 30, 0),
    };
    EXPECT_EQ(DATE(ordered[1]), -1.25);
    for (size_t i = 0; i + 1 < _countof(ordered); ++i)
    {
        EXPECT_TRUE(ordered[i] < ordered[i + 1]) << i;
        EXPECT_FALSE(ordered[i + 1] < ordered[i]) << i;
        EXPECT_TRUE(ordered[i] != ordered[i + 1]) << i;
        EXPECT_TRUE(ordered[i + 1] >= ordered[i]) << i;
    }
    EXPECT_EQ(COleDateTime(2009, 2, 30, 0, 0, 0).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(2009, 13, 1, 0, 0, 0).GetStatus(), COleDateTime::invalid);
}
