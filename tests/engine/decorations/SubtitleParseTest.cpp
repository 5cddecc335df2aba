#define NOMINMAX // before the first windows.h: the tests use std::min and std::max
#include "RwTest.h"

#include "engine/decorations/SubtitleCompanion.h"
#include "engine/decorations/SubtitleParse.h"

#include <cstdio>
#include <vector>

#include <unistd.h>

namespace
{
using Bytes = std::vector<unsigned char>;

void WriteFile(const std::string& path, const Bytes& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f) << path;
    if (!bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

WideText Win32Path(const std::string& unixPath)
{
    return WideFromMultiByte(rwtest::ToWin32Path(unixPath).c_str(), CP_UTF8);
}

Bytes Encode(const WideText& text, UINT codePage)
{
    int n = ::WideCharToMultiByte(codePage, 0, Win32Text(text), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                  nullptr);
    Bytes out(n);
    ::WideCharToMultiByte(codePage, 0, Win32Text(text), static_cast<int>(text.size()),
                          reinterpret_cast<char*>(out.data()), n, nullptr, nullptr);
    return out;
}

Bytes Utf16(const WideText& text, bool mark)
{
    Bytes out;
    if (mark)
        out = {0xFF, 0xFE};
    for (char16_t c : text)
    {
        out.push_back(c & 0xFF);
        out.push_back(c >> 8);
    }
    return out;
}

Bytes Cat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A character of the system's ANSI code page beyond ASCII, so that the ANSI file is not plain ASCII.
WideText AnsiAccent()
{
    const WideText candidates[] = {u"\u00e9", u"\u4e2d", u"\u0436", u"\u00fc"};
    for (const WideText& c : candidates)
    {
        BOOL lost = FALSE;
        char buffer[8];
        int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, Win32Text(c), 1, buffer, sizeof(buffer), nullptr,
                                      &lost);
        if (n > 0 && !lost && static_cast<unsigned char>(buffer[0]) >= 0x80)
            return c;
    }
    return u"e";
}

const WideText kSample = u"1\r\n00:00:01,000 --> 00:00:02,500\r\nFirst line\r\nsecond ACCENT\r\n\r\n"
                         u"2\r\n00:01:02,500 --> 00:01:05,000\r\nLater\r\n";

WideText Sample()
{
    WideText text = kSample;
    text.replace(text.find(u"ACCENT"), 6, AnsiAccent());
    return text;
}

std::vector<SubtitleEntry> Parse(const WideText& text)
{
    std::vector<SubtitleEntry> entries;
    ParseSrtText(text, entries);
    return entries;
}

WideText Shown(const CSubtitleParse& parser, int key, int time, int* result = nullptr)
{
    WCHAR out[1024];
    int capacity = 1023;
    int r = parser.FindText(key, time, out, &capacity);
    if (result)
        *result = r;
    return r == 0 ? ToWideText(out) : WideText();
}
}

TEST(SubtitleParse, ReadsEveryEncodingToTheSameEntries)
{
    const std::string dir = rwtest::ScratchDir("SubtitleEncodings");
    const WideText text = Sample();
    WideText lineFeeds;
    for (char16_t c : text)
        if (c != u'\r')
            lineFeeds += c;
    struct Case
    {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"utf8bom.srt", Cat({0xEF, 0xBB, 0xBF}, Encode(text, CP_UTF8))},
        {"utf8.srt", Encode(text, CP_UTF8)},
        {"utf16.srt", Utf16(text, true)},
        {"utf16nomark.srt", Utf16(text, false)},
        {"ansi.srt", Encode(text, CP_ACP)},
        {"linefeeds.srt", Encode(lineFeeds, CP_UTF8)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        WriteFile(dir + "/" + c.name, c.bytes);
        CSubtitleParse parser;
        int key = parser.LoadFile(Win32Text(Win32Path(dir + "/" + c.name)));
        ASSERT_GT(key, 0);
        EXPECT_TRUE(Shown(parser, key, 999).empty());
        EXPECT_TRUE(Shown(parser, key, 1000) == u"First line\r\nsecond " + AnsiAccent());
        EXPECT_TRUE(Shown(parser, key, 2500) == u"First line\r\nsecond " + AnsiAccent());
        EXPECT_TRUE(Shown(parser, key, 62500) == u"Later");
        EXPECT_TRUE(Shown(parser, key, 65000) == u"Later");
        EXPECT_TRUE(Shown(parser, key, 65001).empty());
    }
}

TEST(SubtitleParse, KeysCountTheLoadedFiles)
{
    const std::string dir = rwtest::ScratchDir("SubtitleKeys");
    WriteFile(dir + "/a.srt", Encode(Sample(), CP_UTF8));
    CSubtitleParse parser;
    const WideText path = Win32Path(dir + "/a.srt");
    EXPECT_EQ(1, parser.LoadFile(Win32Text(path)));
    EXPECT_EQ(kSubtitleCannotOpen, parser.LoadFile(Win32Text(Win32Path(dir + "/missing.srt"))));
    EXPECT_EQ(2, parser.LoadFile(Win32Text(path)));
    int result = 0;
    Shown(parser, 3, 1000, &result);
    EXPECT_EQ(kSubtitleNoText, result);
}

TEST(SubtitleParse, BadFilesGiveNoEntriesAndNoCrash)
{
    const std::string dir = rwtest::ScratchDir("SubtitleBad");
    Bytes binary;
    unsigned seed = 12345;
    for (int i = 0; i < 4096; ++i)
        binary.push_back((seed = seed * 1103515245 + 12345) >> 16);
    struct Case
    {
        const char* name;
        Bytes bytes;
        int result;
    } cases[] = {
        {"empty.srt", {}, kSubtitleNoEntries},
        {"binary.srt", binary, kSubtitleNoEntries},
        {"notimes.srt", Encode(u"1\r\nhello\r\nworld\r\n", CP_UTF8), kSubtitleNoEntries},
        {"zeros.srt", Bytes(64, 0), kSubtitleNoEntries},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        WriteFile(dir + "/" + c.name, c.bytes);
        CSubtitleParse parser;
        EXPECT_EQ(c.result, parser.LoadFile(Win32Text(Win32Path(dir + "/" + c.name))));
    }
}

TEST(SubtitleParse, RefusesAFileBeyondTheSizeLimitWithoutReadingIt)
{
    const std::string dir = rwtest::ScratchDir("SubtitleHuge");
    const std::string path = dir + "/huge.srt";
    WriteFile(path, Encode(Sample(), CP_UTF8));
    // Sparse: valid entries at the start, then zeros up to one byte past the limit.
    ASSERT_EQ(0, truncate(path.c_str(), kMaxSubtitleFileBytes + 1));
    CSubtitleParse parser;
    EXPECT_EQ(kSubtitleFileTooLarge, parser.LoadFile(Win32Text(Win32Path(path))));
}

TEST(SubtitleParse, KeepsTheGoodEntriesOfADamagedFile)
{
    // Truncated in the middle of the last entry, times out of order, and an overlap.
    std::vector<SubtitleEntry> entries = Parse(u"2\r\n00:00:05,000 --> 00:00:06,000\r\nlate\r\n\r\n"
                                               u"1\r\n00:00:01,000 --> 00:00:05,500\r\nearly\r\n\r\n"
                                               u"-3\r\n00:00:07,000 --> 00:00:08,000\r\nnegative index\r\n\r\n"
                                               u"4\r\n00:00:09,000 --> 00:00:10,000\r\n\r\n"
                                               u"5\r\n00:00:1");
    ASSERT_EQ(2u, entries.size());
    EXPECT_EQ(2, entries[0].index);
    EXPECT_EQ(1, entries[1].index);
}

TEST(SubtitleParse, OverlappingEntriesAreJoinedInFileOrder)
{
    const std::string dir = rwtest::ScratchDir("SubtitleOverlap");
    WriteFile(dir + "/o.srt", Encode(u"1\r\n00:00:01,000 --> 00:00:04,000\r\nA\r\n\r\n"
                                     u"2\r\n00:00:03,000 --> 00:00:05,000\r\nB\r\n",
                                     CP_UTF8));
    CSubtitleParse parser;
    int key = parser.LoadFile(Win32Text(Win32Path(dir + "/o.srt")));
    EXPECT_TRUE(Shown(parser, key, 2000) == u"A");
    EXPECT_TRUE(Shown(parser, key, 3500) == u"AB");
    EXPECT_TRUE(Shown(parser, key, 4500) == u"B");
    WCHAR tiny[2];
    int capacity = 2;
    EXPECT_EQ(kSubtitleTooLong, parser.FindText(key, 3500, tiny, &capacity));
    capacity = 2;
    EXPECT_EQ(0, parser.FindText(key, 2000, tiny, &capacity));
    EXPECT_EQ(1, capacity);
}

TEST(SubtitleParse, TimeLines)
{
    struct Case
    {
        const char16_t* line;
        bool accepted;
        int start, end, left, right, top, bottom;
    } cases[] = {
        {u"00:01:02,500 --> 00:01:05,000", true, 62500, 65000, 0, 0, 0, 0},
        {u"01:00:00,000 --> 01:00:00,001  ", true, 3600000, 3600001, 0, 0, 0, 0},
        {u"00:00:01 --> 00:00:02", true, 1000, 2000, 0, 0, 0, 0},
        {u"00:00:01,000 --> 00:00:02,000 X1:10 X2:20 Y1:5 Y2:15", true, 1000, 2000, 10, 20, 5, 15},
        {u"00:00:01,000 --> 00:00:02,000 X1:-10 X2:20 Y1:5 Y2:15", false},
        {u"00:00:01,000 --> 00:00:02,000 X1:10", false},
        {u"00:00:01,000 --> 00:00:00,000", false},
        {u"-01:00:01,000 --> 00:00:02,000", false},
        {u"00:01,000 --> 00:02,000", false},
        {u"garbage", false},
    };
    for (const Case& c : cases)
    {
        SubtitleEntry entry = {};
        bool accepted = ParseSrtTimeLine(c.line, entry);
        EXPECT_EQ(c.accepted, accepted) << ::testing::PrintToString(std::u16string(c.line).size());
        if (!c.accepted || !accepted)
            continue;
        EXPECT_EQ(c.start, entry.start);
        EXPECT_EQ(c.end, entry.end);
        EXPECT_EQ(c.left, entry.left);
        EXPECT_EQ(c.right, entry.right);
        EXPECT_EQ(c.top, entry.top);
        EXPECT_EQ(c.bottom, entry.bottom);
    }
}

TEST(SubtitleParse, LongTextKeepsItsFirst255Characters)
{
    WideText text(400, u'x');
    std::vector<SubtitleEntry> entries = Parse(u"1\r\n00:00:01,000 --> 00:00:02,000\r\n" + text);
    ASSERT_EQ(1u, entries.size());
    EXPECT_EQ(255, ::lstrlenW(entries[0].text));
}

TEST(SubtitleParse, RecognisesUtf8)
{
    struct Case
    {
        Bytes bytes;
        int expected;
    } cases[] = {
        {{'a', 'b'}, 0},                 // plain ASCII counts as not UTF-8
        {{0xC3, 0xA9}, 1},               // e acute
        {{0xE4, 0xB8, 0xAD, 'x'}, 1},    // a CJK character
        {{0xC3}, 0},                     // a continuation byte missing
        {{0x80, 'a'}, 0},                // a lone continuation byte
        {{0xC3, 'a'}, 0},                // a lead byte followed by ASCII
        {{0xE9, ' ', 'a'}, 0},           // Latin-1 e acute
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, IsValidUtf8(c.bytes.data(), static_cast<int>(c.bytes.size())));
    EXPECT_EQ(0, IsValidUtf8(nullptr, 0));
}

TEST(SubtitleCompanion, PartNumbers)
{
    struct Case
    {
        const char16_t* name;
        int part;
    } cases[] = {
        {u"Film CD2", 2},      {u"Film CD2.avi", 2}, {u"Film CD2 eng", 2}, {u"Film", -1},
        {u"movie (b)", 1},     {u"part1[a]", 0},     {u"part1[x]", 1},     {u"x-3", 3},
        {u"f", 5},             {u"Film 12_x", 12},   {u"cd2x", -1},        {u"", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.part, FindPartNumber(c.name)) << std::string(c.name, c.name + std::u16string(c.name).size());
    EXPECT_TRUE(SamePartNumber(u"Film CD2", u"Film CD2.avi"));
    EXPECT_FALSE(SamePartNumber(u"Film", u"Film.avi"));
}

TEST(SubtitleCompanion, SimilarNames)
{
    struct Case
    {
        const char16_t* candidate;
        const char16_t* video;
        bool similar;
    } cases[] = {
        {u"Film", u"Film.avi", true},           {u"Film.chs", u"Film.avi", true},
        {u"Film CD2", u"Film CD2.avi", true},   {u"Film CD1", u"Film CD2.avi", false},
        {u"Other", u"Film.avi", false},         {u"anything", u"film", true},
        {u"a b c d", u"a.b.c.d.e.avi", true},   {u"a b c", u"a.b.c.d.e.avi", false},
        {u"FILM_cd2", u"film-CD2.mkv", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.similar, NamesSimilar(c.candidate, c.video));
}

TEST(SubtitleCompanion, ChoosesByPartAndLanguage)
{
    const int chinese = MAKELCID(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), SORT_DEFAULT);
    std::vector<WideText> names;
    GetLocaleLanguageNames(names, chinese);
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), WideText(u"CHS")));
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), WideText(u"zh-CN")));

    EXPECT_TRUE(SelectCompanionName(chinese, u"Film.avi", {u"Film", u"Film.chs"}) == u"Film.chs");
    EXPECT_TRUE(SelectCompanionName(kDefaultLocale, u"Film.avi", {u"Film", u"Film.xyz"}) == u"Film");
    EXPECT_TRUE(SelectCompanionName(chinese, u"Film.avi", {u"Film"}).empty());
    EXPECT_TRUE(SelectCompanionName(kDefaultLocale, u"Film CD2.avi", {u"Film CD1", u"Film CD2"}) == u"Film CD2");
    EXPECT_TRUE(BuildCompanionPath(u"C:\\v", u"Film.avi", chinese, {u"Film.chs"}, u"srt") == u"C:\\v\\Film.chs.srt");
    EXPECT_TRUE(HasLanguageSuffix(u"Film_zh-CN", names)); // the text after "_" comes before the one after "-"
    EXPECT_FALSE(HasLanguageSuffix(u"Film", names));
}

TEST(SubtitleCompanion, LoadsTheFileBesideTheVideo)
{
    const std::string dir = rwtest::ScratchDir("SubtitleCompanion");
    WriteFile(dir + "/Film CD2.avi", {});
    WriteFile(dir + "/Film CD1.srt", Encode(u"1\r\n00:00:01,000 --> 00:00:02,000\r\nfirst disc\r\n", CP_UTF8));
    WriteFile(dir + "/Film CD2.SRT", Encode(u"1\r\n00:00:01,000 --> 00:00:02,000\r\nsecond disc\r\n", CP_UTF8));
    WriteFile(dir + "/Other.txt", {});
    std::vector<WideText> candidates;
    EXPECT_EQ(2, FindSubtitleCandidates(Win32Path(dir) + u"\\\\", candidates));

    CSubtitleParse parser;
    const std::string video = rwtest::ToWin32Path(dir + "/Film CD2.avi");
    int key = parser.LoadCompanion({kDefaultLocale}, video.c_str());
    ASSERT_GT(key, 0);
    EXPECT_TRUE(Shown(parser, key, 1500) == u"second disc");

    const std::string empty = rwtest::ScratchDir("SubtitleCompanionNone");
    WriteFile(empty + "/Film.avi", {});
    EXPECT_EQ(kSubtitleNoCandidate, parser.LoadCompanion({kDefaultLocale}, rwtest::ToWin32Path(empty + "/Film.avi").c_str()));
    EXPECT_EQ(kSubtitleNoFolder, parser.LoadCompanion({kDefaultLocale}, "Film.avi"));
    std::vector<WideText> none;
    EXPECT_EQ(-1, FindSubtitleCandidates(u"\\\\", none));
}
