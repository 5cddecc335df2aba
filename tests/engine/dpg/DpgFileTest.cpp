#include "RwTest.h"

#include "engine/dpg/DpgFile.h"

#include <vector>

TEST(DpgFile, HeaderBytes)
{
    DpgHeaderValues values = {60, 20.0, 32000, 1000, 5000};
    uint8_t header[kDpgHeaderSize];
    BuildDpgHeader(values, header);
    const std::vector<uint8_t> expected = {
        'D', 'P', 'G', '0',       // magic
        60, 0, 0, 0,              // frames
        0x00, 0x14, 0x00, 0x00,   // 20 frames per second as players read it: 20 x 256
        0x00, 0x7D, 0x00, 0x00,   // 32000 Hz
        0, 0, 0, 0,               //
        36, 0, 0, 0,              // audio offset
        0xE8, 0x03, 0, 0,         // audio length 1000
        0x0C, 0x04, 0, 0,         // video offset 36 + 1000
        0x88, 0x13, 0, 0,         // video length 5000
    };
    EXPECT_EQ(expected, std::vector<uint8_t>(header, header + kDpgHeaderSize));
}

TEST(DpgFile, FrameRateField)
{
    struct Case
    {
        double fps;
        uint32_t field;
    } cases[] = {{20.0, 0x1400}, {25.0, 0x1900}, {29.97, 7672}, {0.0, 0}, {15.0, 0x0F00}};
    for (const Case& c : cases)
    {
        DpgHeaderValues values = {0, c.fps, 0, 0, 0};
        uint8_t header[kDpgHeaderSize];
        BuildDpgHeader(values, header);
        EXPECT_EQ(c.field, header[8] | header[9] << 8 | header[10] << 16 | static_cast<uint32_t>(header[11]) << 24)
            << c.fps;
    }
}

TEST(DpgFile, NumbersFromTheArguments)
{
    const char* arguments = "-vcodec mpeg1video -r 20 -s 256x192 -acodec mp2 -ar 32000 -ac 2";
    EXPECT_DOUBLE_EQ(20.0, DpgArgumentNumber(arguments, "-r "));
    EXPECT_DOUBLE_EQ(32000.0, DpgArgumentNumber(arguments, "-ar "));
    EXPECT_DOUBLE_EQ(0.0, DpgArgumentNumber("-vcodec mpeg1video", "-r "));
    EXPECT_DOUBLE_EQ(0.0, DpgArgumentNumber("-r x", "-r "));
    EXPECT_DOUBLE_EQ(0.0, DpgArgumentNumber(nullptr, "-r "));
}

TEST(DpgFile, LimitsAreRemovedFromTheArguments)
{
    struct Case
    {
        const char* arguments;
        const char* expected;
    } cases[] = {
        {"-r 20 -t 600 -ar 32000", "-r 20 -ar 32000"},
        {"-fs 1000000 -r 20", "-r 20"},
        {"-t 10 -fs 5", ""},
        {"-r 20  -metadata \"title=a -t b\"", "-r 20 -metadata \"title=a -t b\""},
        {"-ss 30 -r 20", "-ss 30 -r 20"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, RemoveLimitOptions(c.arguments)) << c.arguments;
}
