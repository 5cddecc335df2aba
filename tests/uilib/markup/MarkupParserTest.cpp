// The tokenizer on its own: token streams with their texts, entities, truncation of long tokens,
// comment and CDATA markers across read pieces, line counting and 8-bit input.
#include "RwTest.h"

#include <string>

#include "WideText.h"
#include "uilib/markup/MarkupParser.h"

namespace
{
typedef CWVPMarkupParser P;

// The whole token stream as text: kind and the carried text, up to the end or an error.

std::string Stream(LPCWSTR text, int length = -1)
{
    if (length < 0)
        length = lstrlenW(text);
    P parser;
    parser.SetBuffer(text, text + length);
    std::string out;
    for (int guard = 0; guard < 100000; ++guard)
    {
        int t = parser.GetNextToken();
        switch (t)
        {
        case P::tokenError:
            return out + "error(" + rwtest::Utf8(parser.GetValue()) + ")";
        case P::tokenEnd:
            return out + "end";
        case P::tokenTagStart:
            out += "<" + rwtest::Utf8(parser.GetTagName()) + " ";
            break;
        case P::tokenTagEnd:
            out += "/" + rwtest::Utf8(parser.GetTagName()) + "> ";
            break;
        case P::tokenAttribute:
            out += rwtest::Utf8(parser.GetAttributeName()) + "=[" + rwtest::Utf8(parser.GetValue()) + "] ";
            break;
        case P::tokenWord:
            out += "w[" + rwtest::Utf8(parser.GetValue()) + "] ";
            break;
        case P::tokenSpace:
            out += "s" + std::to_string(lstrlenW(parser.GetValue())) + " ";
            break;
        case P::tokenData:
            out += "d[" + rwtest::Utf8(parser.GetValue()) + "] ";
            break;
        default:
            out += "t" + std::to_string(t) + " ";
            break;
        }
    }
    return out + "runaway";
}

struct Case
{
    LPCWSTR text;
    const char* tokens;
};

const Case kCases[] = {
    {L"<a/>", "<a /a> end"},
    {L"<a x='1' y=\"2\">t</a>", "<a x=[1] y=[2] w[t] /a> end"},
    {L"<a>one  two</a>", "<a w[one] s2 w[two] /a> end"},
    {L"<a>x&amp;y</a>", "<a w[x] w[&y] /a> end"},
    {L"<a b='&amp;&lt;'/>", "<a b=[&amp;&lt;] /a> end"},
    {L"<a>&#x41;&#65;&#X41;&Amp;</a>", "<a w[A] w[A] w[&#X41;] w[&Amp;] /a> end"},
    {L"<a>&unknown;</a>", "<a w[&unknown;] /a> end"},
    {L"<a>&abcdefghijabcdefghijabcdefghijX</a>", "<a w[&abcdefghijabcdefghijabcdefghijX;] /a> end"},
    {L"<a>&amp", "<a w[&amp] end"},
    {L"<!-- x -->", "t7 d[ x ] t8 end"},
    {L"<?xml version=\"1.0\" ?>", "t11 d[xmlversion=\"1.0\"] t12 end"},
    {L"<![CDATA[a<b]]>", "t9 d[a<b] t10 end"},
    {L"<a\t\r\nb = 'c' >", "<a b=[c] end"},
    {L"</a b>", "error(Unexpected token. The expected token is '>')"},
    {L"<a b>", "<a error('>' is an unexpected token. The expected token is '=')"},
    {L"<a b c='1'>", "<a error(Unexpected token. The expected token is '=')"},
    {L"<a b", "<a end"},
    {L"<a b='x", "<a error(Unexpected token. The expected token is '\"' or ''')"},
    {L"<a b=x>", "<a error(Unexpected token. The expected token is '\"' or ''')"},
    {L"<a/ >", "<a error(Unexpected token. The expected token is '>')"},
    {L"< a>", "< error('>' is an unexpected token. The expected token is '=')"},
    {L"<>", "< end"},
    };
} // namespace

TEST(MarkupParser, TokenStreams)
{
    for (const Case& c : kCases)
        EXPECT_EQ(c.tokens, Stream(c.text)) << rwtest::Utf8(c.text);
}

TEST(MarkupParser, LoneSurrogatesPassUnchanged)
{
    const WCHAR text[] = {'<', 'a', '>', 'x', 0xD800, 'y', 0xDFFF, '<', '/', 'a', '>', 0};
    P parser;
    parser.SetBuffer(text, text + 11);
    parser.GetNextToken();
    ASSERT_EQ(P::tokenWord, parser.GetNextToken());
    const WCHAR expected[] = {'x', 0xD800, 'y', 0xDFFF, 0};
    EXPECT_EQ(0, memcmp(expected, parser.GetValue(), sizeof(expected)));
}

TEST(MarkupParser, EmbeddedZeroEndsTheText)
{
    const WCHAR text[] = {'<', 'a', '>', 'x', 0, 'y', '<', '/', 'a', '>'};
    EXPECT_EQ("<a w[x] end", Stream(text, 10));
}

TEST(MarkupParser, LongTokensAreCut)
{
    std::u16string name(200, u'n'), value(3000, u'v'), word(5000, u'w');
    std::u16string text = u"<" + name + u" " + name + u"='" + value + u"'>" + word + u"</x>";
    P parser;
    const WCHAR* p = reinterpret_cast<const WCHAR*>(text.c_str());
    parser.SetBuffer(p, p + text.size());
    ASSERT_EQ(P::tokenTagStart, parser.GetNextToken());
    EXPECT_EQ(127, lstrlenW(parser.GetTagName()));
    ASSERT_EQ(P::tokenAttribute, parser.GetNextToken());
    EXPECT_EQ(127, lstrlenW(parser.GetAttributeName()));
    EXPECT_EQ(1023, lstrlenW(parser.GetValue()));
    ASSERT_EQ(P::tokenWord, parser.GetNextToken());
    EXPECT_EQ(1023, lstrlenW(parser.GetValue()));
    ASSERT_EQ(P::tokenTagEnd, parser.GetNextToken());
    EXPECT_EQ("x", rwtest::Utf8(parser.GetTagName()));
}

TEST(MarkupParser, ClosingMarkersSplitAcrossPiecesAreFound)
{
    // Bodies whose marker straddles the 1023-unit piece at every possible offset.
    for (int body = 1015; body <= 1030; ++body)
    {
        for (const char* kind : {"comment", "cdata", "pi"})
        {
            std::u16string open = kind[0] == 'c' && kind[1] == 'o' ? u"<!--" : kind[0] == 'c' ? u"<![CDATA[" : u"<?";
            std::u16string close = kind[0] == 'c' && kind[1] == 'o' ? u"-->" : kind[0] == 'c' ? u"]]>" : u"?>";
            std::u16string text = open + std::u16string(body, u'a') + close + u"<b/>";
            P parser;
            const WCHAR* p = reinterpret_cast<const WCHAR*>(text.c_str());
            parser.SetBuffer(p, p + text.size());
            parser.GetNextToken(); // start
            size_t data = 0;
            int t;
            while ((t = parser.GetNextToken()) == P::tokenData)
                data += lstrlenW(parser.GetValue());
            EXPECT_EQ((size_t)body, data) << kind << " " << body;
            EXPECT_NE(P::tokenEnd, t) << kind << " " << body;
            EXPECT_EQ(P::tokenTagStart, parser.GetNextToken()) << kind << " " << body;
        }
    }
}

TEST(MarkupParser, LinesAndColumns)
{
    LPCWSTR text = L"<a>\r\n<b\nc";
    P parser;
    parser.SetBuffer(text, text + lstrlenW(text));
    while (parser.GetNextToken() > 0)
    {
    }
    EXPECT_EQ(3, parser.GetLine()); // CR LF counts twice
    EXPECT_EQ(1, parser.GetColumn());
}

TEST(MarkupParser, EightBitInput)
{
    const char utf8[] = "<a>\xC3\xA9\xE2\x82\xAC</a>";
    P parser;
    parser.SetBuffer(utf8, utf8 + sizeof(utf8) - 1, 65001);
    ASSERT_EQ(P::tokenTagStart, parser.GetNextToken());
    ASSERT_EQ(P::tokenWord, parser.GetNextToken());
    EXPECT_EQ(0x00E9, parser.GetValue()[0]);
    EXPECT_EQ(0x20AC, parser.GetValue()[1]);
    const char four[] = "<a>x\xF0\x9F\x98\x80y</a>";
    P other;
    other.SetBuffer(four, four + sizeof(four) - 1, 65001);
    other.GetNextToken();
    ASSERT_EQ(P::tokenWord, other.GetNextToken());
    EXPECT_EQ("x", rwtest::Utf8(other.GetValue()));
    EXPECT_EQ(P::tokenEnd, other.GetNextToken());
    const char cut[] = "<a>x\xE2\x82";
    P third;
    third.SetBuffer(cut, cut + sizeof(cut) - 1, 65001);
    third.GetNextToken();
    ASSERT_EQ(P::tokenWord, third.GetNextToken());
    EXPECT_EQ("x", rwtest::Utf8(third.GetValue()));
}
