#include "RwTest.h"

#include "CoreTestUtil.h"
#include "app/core/ConvertSetting.h"
#include "engine/converter/CommandLine.h"

#include <stdlib.h>

#include <string>
#include <vector>

namespace
{
SubParameters Param(const WCHAR* group, const WCHAR* key, const WCHAR* type, const WCHAR* value,
                    const WCHAR* steps = L"")
{
    SubParameters p;
    p.m_name = key;
    p.m_group = group;
    p.m_key = key;
    p.m_type = type;
    p.m_value = value;
    for (CString rest = steps; !rest.IsEmpty();)
    {
        const int comma = rest.Find(L',');
        p.m_valueList.Add(comma < 0 ? rest : rest.Left(comma));
        rest = comma < 0 ? CString() : rest.Mid(comma + 1);
    }
    return p;
}
} // namespace

TEST(ProfileModelTest, ClampsValuesByType)
{
    struct Case
    {
        const WCHAR* type;
        const WCHAR* min;
        const WCHAR* max;
        const WCHAR* input;
        const WCHAR* expected;
    } cases[] = {
        {L"integer", L"8", L"64", L"100", L"64"}, {L"integer", L"8", L"64", L"3", L"8"},
        {L"integer", L"8", L"64", L"abc", L"8"},  {L"integer", L"8", L"64", L"", L""},
        {L"INTEGER", L"", L"", L"-12x", L"-12"},  {L"float", L"", L"", L"1.5", L"1.500000"},
        {L"float", L"0.5", L"2", L"7", L"2.000000"}, {L"list", L"1", L"2", L"999", L"999"},
        {L"size", L"", L"", L"5368709120", L"5368709120"}, // sizes beyond 32 bits stay as written
        {L"integer", L"low", L"high", L"12", L"12"},         // bounds that are no numbers do not bind
        {L"integer", L"-5", L"x", L"-9", L"-5"},
    };
    for (const Case& c : cases)
    {
        SubParameters p;
        p.m_type = c.type;
        p.m_min = c.min;
        p.m_max = c.max;
        p.SetValueClamped(c.input);
        EXPECT_EQ(CString(c.expected), p.m_value) << c.type << " " << CString(c.input);
    }
}

TEST(ProfileModelTest, BuildsArgumentText)
{
    ConvertSetting s;
    s.m_extension = L"mp4";
    s.m_params.Add(Param(L"video", L"vcodec", L"text", L"libx264"));
    s.m_params.Add(Param(L"video", L"", L"text", L"ignored"));  // no key
    s.m_params.Add(Param(L"audio", L"ab", L"list", L""));       // no value
    s.m_params.Add(Param(L"video", L"s", L"list", L"320x240"));
    struct Case
    {
        const WCHAR* format;
        const WCHAR* expected;
    } cases[] = {
        {L"", L"-vcodec libx264 -s 320x240 "},
        {L"MP4", L"-vcodec libx264 -s 320x240 "},
        {L"ipod", L"-vcodec libx264 -s 320x240 -f ipod"},
    };
    for (const Case& c : cases)
    {
        s.m_format = c.format;
        EXPECT_EQ(CString(c.expected), s.BuildArguments()) << CString(c.format);
    }
}

TEST(ProfileModelTest, ValuesStayOneWordOfTheConverterCommandLine)
{
    struct Case
    {
        const WCHAR* value;
        const char* word; // what the converter reads
    } cases[] = {
        {L"My Clip", "My Clip"},      {L"a\tb", "a\tb"},     {L"x -vn 1", "x -vn 1"},
        {L"plain", "plain"},          {L"\"", ""},            {L"say \"hi\" -t 5", "say hi -t 5"},
        {L"tail\"", "tail"},          {L" ", " "},
    };
    for (const Case& c : cases)
    {
        ConvertSetting s;
        s.m_extension = L"mp4";
        s.m_format = L"mp4";
        s.m_params.Add(Param(L"meta", L"metadata", L"text", c.value));
        s.m_params.Add(Param(L"video", L"vcodec", L"text", L"mpeg4"));
        const CStringA text(s.BuildArguments());
        int count = 0;
        char** words = SplitCommandLine(text, &count);
        ASSERT_TRUE(words != nullptr);
        const std::vector<std::string> got(words, words + count);
        free(words);
        const std::vector<std::string> expected = {"-metadata", c.word, "-vcodec", "mpeg4"};
        EXPECT_EQ(expected, got) << (const char*)text;
    }
    ConvertSetting s;
    s.m_extension = L"mp4";
    s.m_format = L"odd format";
    const CStringA format(s.BuildArguments());
    EXPECT_STREQ("-f \"odd format\"", format);
}

TEST(ProfileModelTest, SetsChoicesAndValuesByKey)
{
    ConvertSetting s;
    s.m_params.Add(Param(L"video", L"vb", L"list", L"768", L"1000,768,512"));
    s.m_params.Add(Param(L"audio", L"vol", L"integer", L"0"));
    s.m_params.ElementAt(1).m_max = L"200";

    EXPECT_TRUE(s.SetParamChoice(L"vb", 2));
    EXPECT_EQ(CString(L"512"), s.m_params[0].m_value);
    for (int bad : {-1, 3})
    {
        EXPECT_TRUE(s.SetParamChoice(L"vb", bad));
        EXPECT_EQ(CString(L"512"), s.m_params[0].m_value);
    }
    EXPECT_TRUE(s.SetParamChoice(L"vol", 0)); // not a list: nothing changes
    EXPECT_EQ(CString(L"0"), s.m_params[1].m_value);
    EXPECT_FALSE(s.SetParamChoice(L"ab", 0));
    EXPECT_TRUE(s.SetParamValue(L"vol", L"300"));
    EXPECT_EQ(CString(L"200"), s.m_params[1].m_value);
    EXPECT_FALSE(s.SetParamValue(L"VOL", L"1"));

    SubParameters found;
    EXPECT_TRUE(s.FindParam(L"audio", L"vol", found));
    EXPECT_EQ(CString(L"200"), found.m_value);
    EXPECT_FALSE(s.FindParam(L"video", L"vol", found));
}

TEST(ProfileModelTest, CopiesAreDeep)
{
    ConvertSetting a;
    a.m_name = L"DivX Movie";
    a.m_params.Add(Param(L"video", L"vb", L"list", L"768", L"1000,768"));
    ConvertSetting b;
    b.CopyFrom(a);
    b.SetParamChoice(L"vb", 0);
    b.m_params.ElementAt(0).m_valueList.Add(L"1");
    EXPECT_EQ(CString(L"768"), a.m_params[0].m_value);
    EXPECT_EQ(2, (int)a.m_params[0].m_valueList.GetSize());
    b.CopyFrom(b);
    EXPECT_EQ(CString(L"DivX Movie"), b.m_name);
    EXPECT_EQ(1, (int)b.m_params.GetSize());
}

TEST(ProfileModelTest, MergesTheSettingsOfSeveralTasks)
{
    ConvertSetting mine, other;
    mine.m_params.Add(Param(L"video", L"vb", L"list", L"768", L"1500,1000,768,512"));
    mine.m_params.Add(Param(L"video", L"s", L"list", L"320x240", L"640x480,320x240,176x144"));
    mine.m_params.Add(Param(L"audio", L"vol", L"integer", L"0"));
    mine.m_params.Add(Param(L"normal", L"t", L"integer", L"60")); // the other lacks it
    other.m_params.Add(Param(L"video", L"vb", L"list", L"768", L"1500,1000,768,512"));
    other.m_params.Add(Param(L"video", L"s", L"list", L"176x144", L"320x240,176x144,128x96"));
    other.m_params.Add(Param(L"audio", L"vol", L"integer", L"0"));

    EXPECT_TRUE(mine.MergeFrom(other));
    ASSERT_EQ(3, (int)mine.m_params.GetSize());
    EXPECT_EQ(CString(L"768"), mine.m_params[0].m_value);
    EXPECT_EQ(CString(L""), mine.m_params[1].m_value);
    ASSERT_EQ(2, (int)mine.m_params[1].m_valueList.GetSize());
    EXPECT_EQ(CString(L"320x240"), mine.m_params[1].m_valueList[0]);
    EXPECT_EQ(CString(L"0"), mine.m_params[2].m_value);

    other.SetParamValue(L"vb", L"512");
    mine.MergeFrom(other);
    EXPECT_EQ(CString(L""), mine.m_params[0].m_value);
    SubParameters differentKey = Param(L"audio", L"ab", L"list", L"128");
    EXPECT_FALSE(mine.m_params.ElementAt(2).MergeFrom(differentKey));
}

TEST(ProfileModelTest, NamesFrameSizes)
{
    EXPECT_EQ(CString(L"qntsc"), FrameSizeName(352, 240));
    EXPECT_EQ(CString(L"hd1080"), FrameSizeName(1920, 1080));
    EXPECT_EQ(CString(L""), FrameSizeName(300, 200));
    struct Case
    {
        const WCHAR* name;
        int width, height;
    } cases[] = {{L"HD720", 1280, 720}, {L"ntsc-film", 352, 240}, {L"whuxga", 7680, 4800}, {L"huge", 0, 0}};
    for (const Case& c : cases)
    {
        int w = -1, h = -1;
        ParseFrameSizeName(c.name, &w, &h);
        EXPECT_EQ(c.width, w) << CString(c.name);
        EXPECT_EQ(c.height, h) << CString(c.name);
    }
}
