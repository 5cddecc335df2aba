#include "RwTest.h"
#include "WideText.h"
#include "app/shell/SplitOption.h"

// Presets are byte limits of their megabytes (210 MB cuts at 220200960 bytes, not 210 KB) and
// are found again from their values; the largest goes beyond 32 bits.
TEST(SplitOptionTest, PresetsAreBytes)
{
    struct Case
    {
        int preset;
        const char* text;
        const char* value;
    } cases[] = {
        {1, "210 MB", "220200960"},  {2, "630 MB", "660602880"}, {3, "700 MB", "734003200"},
        {4, "800 MB", "838860800"},  {5, "1 GB", "1048576000"},  {6, "1.4 GB", "1468006400"},
        {7, "4.7 GB", "4928307200"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.text, rwtest::Utf8(CSplitOption::PresetText(c.preset)));
        EXPECT_EQ(c.value, rwtest::Utf8(CSplitOption::PresetValue(c.preset)));
        EXPECT_EQ(c.preset, CSplitOption::PresetIndex(CSplitOption::ReadValue(CSplitOption::PresetValue(c.preset))));
    }
    EXPECT_EQ(0, CSplitOption::PresetIndex(0));
    EXPECT_EQ(-1, CSplitOption::PresetIndex(215040)); // an old kilobyte value is a custom size
    EXPECT_EQ(nullptr, CSplitOption::PresetText(0));
    EXPECT_EQ(nullptr, CSplitOption::PresetText(8));
}

// Custom sizes from 2048 MB up keep their value; minutes become seconds.
TEST(SplitOptionTest, CustomValues)
{
    EXPECT_EQ("2147483648", rwtest::Utf8(CSplitOption::SizeValue(2048)));
    EXPECT_EQ("10737418240", rwtest::Utf8(CSplitOption::SizeValue(10240)));
    EXPECT_EQ("1048576", rwtest::Utf8(CSplitOption::SizeValue(1)));
    EXPECT_EQ("180", rwtest::Utf8(CSplitOption::TimeValue(3)));
    EXPECT_EQ(4928307200LL, CSplitOption::ReadValue(L" 4928307200"));
}

// The typed number: its leading number with its fraction, refused unless above 0; an absurdly
// large one is taken as the largest. A tenth of a minute is six seconds, not nothing.
TEST(SplitOptionTest, ParsesInput)
{
    struct Case
    {
        const wchar_t* text;
        bool accepted;
        double number;
        const char* seconds; // the "t" value of the number as minutes
    } cases[] = {
        {L"", false, 0, nullptr},
        {L"abc", false, 0, nullptr},
        {L"0", false, 0, nullptr},
        {L"0.0", false, 0, nullptr},
        {L"-3", false, -3, nullptr},
        {L"0.1", true, 0.1, "6"},
        {L"0,5", true, 0.5, "30"},
        {L"0.001", true, 0.001, "1"},
        {L"1", true, 1, "60"},
        {L"12abc", true, 12, "720"},
        {L" 7", true, 7, "420"},
        {L"3.9", true, 3.9, "234"},
        {L"2048", true, 2048, "122880"},
        {L"99999999999", true, 2147483647.0, "128849018820"},
    };
    for (const Case& c : cases)
    {
        double number = -100;
        EXPECT_EQ(c.accepted, CSplitOption::ParseInput(c.text, &number)) << rwtest::Utf8(c.text);
        EXPECT_NEAR(c.number, number, 1e-9) << rwtest::Utf8(c.text);
        if (c.seconds)
            EXPECT_EQ(c.seconds, rwtest::Utf8(CSplitOption::TimeValue(number))) << rwtest::Utf8(c.text);
    }
    EXPECT_EQ("524288", rwtest::Utf8(CSplitOption::SizeValue(0.5)));
}
