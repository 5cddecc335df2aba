#include "RwTest.h"

#include "platform/mfc/Mfc.h"

#include <climits>
#include <string>

namespace
{
// Texts as UTF-8 for readable failure messages.
std::string Utf8(const CStringW& s)
{
    char buffer[1024];
    int n = ::WideCharToMultiByte(CP_UTF8, 0, s.GetString(), s.GetLength(), buffer, sizeof(buffer), nullptr, nullptr);
    return std::string(buffer, n);
}

std::string Utf8(const CStringA& s)
{
    return std::string(s.GetString(), s.GetLength());
}

template <typename... Args> std::string FormatW(const WCHAR* format, Args... args)
{
    CStringW s;
    s.Format(format, args...);
    return Utf8(s);
}

template <typename... Args> std::string FormatA(const char* format, Args... args)
{
    CStringA s;
    s.Format(format, args...);
    return Utf8(s);
}
} // namespace

TEST(StringFormat, WideFollowsTheFrameworkConventions)
{
    struct Case
    {
        std::string actual;
        const char* expected;
    };
    const Case cases[] = {
        {FormatW(L"%s|%S", L"wide", "narrow"), "wide|narrow"},
        {FormatW(L"%ls|%hs|%ws", L"a", "b", L"c"), "a|b|c"},
        {FormatW(L"%c%C%lc%hc", L'x', 'y', L'z', 'w'), "xyzw"},
        {FormatW(L"%d %i %u", -42, 7, 4294967295u), "-42 7 4294967295"},
        {FormatW(L"%x %X %#x %o", 255u, 255u, 255u, 8u), "ff FF 0xff 10"},
        {FormatW(L"%I64d %I64u %I64x", -9000000000LL, 18446744073709551615ULL, 0x123456789abULL),
         "-9000000000 18446744073709551615 123456789ab"},
        {FormatW(L"%lld %llu", -5LL, 5ULL), "-5 5"},
        {FormatW(L"%ld %lu", 1234567L, 4000000000UL), "1234567 4000000000"},
        {FormatW(L"[%5d][%-5d][%05d][%+d][% d]", 42, 42, 42, 42, 42), "[   42][42   ][00042][+42][ 42]"},
        {FormatW(L"[%.3d][%8.3d][%-8.3d]", 7, 7, -7), "[007][     007][-007    ]"},
        {FormatW(L"[%*d][%-*d][%.*s]", 4, 1, 3, 2, 2, L"abcdef"), "[   1][2  ][ab]"},
        {FormatW(L"[%10s][%-10s][%.2s][%5.1S]", L"right", L"left", L"cut", "xyz"),
         "[     right][left      ][cu][    x]"},
        {FormatW(L"%f %.2f %e %g %G", 3.5, 2.345, 1234.5, 0.0001, 1e20), "3.500000 2.35 1.234500e+03 0.0001 1E+20"},
        {FormatW(L"[%8.3f][%-8.1f][%+.0f]", 3.14159, 2.0, 2.5), "[   3.142][2.0     ][+2]"},
        {FormatW(L"%p", reinterpret_cast<void*>(0x1234)), "0000000000001234"},
        {FormatW(L"100%% %s", L"done"), "100% done"},
        {FormatW(L"%s", static_cast<const WCHAR*>(nullptr)), "(null)"},
        {FormatW(L"%hd %hu %hhd", 70000, 70000, 300), "4464 4464 44"},
        {FormatW(L"%Id %Iu %zu", INT_PTR(-3), UINT_PTR(3), size_t(9)), "-3 3 9"},
        {FormatW(L"%s", L"\x00e9\x4e2d"), "\xc3\xa9\xe4\xb8\xad"},
        {FormatW(L"%d", INT_MIN), "-2147483648"},
        {FormatW(L"%.0d|%#o|%#X", 0, 0u, 0u), "|0|0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.actual, c.expected);
}

TEST(StringFormat, NarrowSwapsTheTextWidths)
{
    struct Case
    {
        std::string actual;
        const char* expected;
    };
    const Case cases[] = {
        {FormatA("%s|%S", "narrow", L"wide"), "narrow|wide"},
        {FormatA("%ls|%hs", L"w", "n"), "w|n"},
        {FormatA("%c%C", 'a', L'b'), "ab"},
        {FormatA("%I64d|%I64X|%u", -1LL, 0xABCDEF0123ULL, 3u), "-1|ABCDEF0123|3"},
        {FormatA("[%-6s][%6.2f][%03x]", "ab", 1.005, 10u), "[ab    ][  1.00][00a]"},
        {FormatA("%S", static_cast<const WCHAR*>(nullptr)), "(null)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.actual, c.expected);
}

TEST(StringFormat, AppendFormatAndSelfReference)
{
    CString s(L"abc");
    s.AppendFormat(L"-%d", 5);
    EXPECT_EQ(Utf8(s), "abc-5");
    // An argument that points into the string itself.
    s.Format(L"[%s][%s]", s.GetString(), s.GetString());
    EXPECT_EQ(Utf8(s), "[abc-5][abc-5]");
    // String objects given directly stand for their texts, in either width.
    CString wide(L"wide");
    CStringA narrow("narrow");
    WCHAR array[] = L"array";
    s.Format(L"%s|%S|%s|%d", wide, narrow, array, 5);
    EXPECT_EQ(Utf8(s), "wide|narrow|array|5");
    CStringA a;
    a.Format("%s|%S", narrow, wide);
    EXPECT_EQ(Utf8(a), "narrow|wide");
    CString big;
    big.Format(L"%s%0300d", L"x", 1);
    EXPECT_EQ(big.GetLength(), 301);
}

TEST(String, EditingMembers)
{
    struct Case
    {
        std::string actual;
        const char* expected;
    };
    CString s(L"  Hello, World  ");
    CString trimmed = s;
    trimmed.Trim();
    CString left = s;
    left.TrimLeft();
    CString right = s;
    right.TrimRight();
    CString chars(L"xxabcxx");
    chars.Trim(L'x');
    CString set(L"-+abc+-");
    set.TrimLeft(L"+-");
    CString rep(L"one two one two");
    int replaced = rep.Replace(L"one", L"three");
    CString repChar(L"a.b.c");
    repChar.Replace(L'.', L'/');
    CString ins(L"held");
    ins.Insert(2, L"LLO wor");
    ins.Insert(100, L'!');
    ins.Insert(-5, L'>');
    CString del(L"abcdef");
    del.Delete(1, 2);
    del.Delete(10, 1);
    del.Delete(2, 100);
    CString rem(L"banana");
    int removed = rem.Remove(L'a');
    CString up(L"Mixed \x00e9");
    up.MakeUpper();
    CString low(L"MIXED \x00c9");
    low.MakeLower();
    CString rev(L"stressed");
    rev.MakeReverse();
    const Case cases[] = {
        {Utf8(trimmed), "Hello, World"},
        {Utf8(left), "Hello, World  "},
        {Utf8(right), "  Hello, World"},
        {Utf8(chars), "abc"},
        {Utf8(set), "abc+-"},
        {Utf8(rep), "three two three two"},
        {std::to_string(replaced), "2"},
        {Utf8(repChar), "a/b/c"},
        {Utf8(ins), ">heLLO world!"},
        {Utf8(del), "ad"},
        {Utf8(rem), "bnn"},
        {std::to_string(removed), "3"},
        {Utf8(up), "MIXED \xc3\x89"},
        {Utf8(low), "mixed \xc3\xa9"},
        {Utf8(rev), "desserts"},
        {Utf8(CString(L"abcdef").Mid(2)), "cdef"},
        {Utf8(CString(L"abcdef").Mid(2, 2)), "cd"},
        {Utf8(CString(L"abcdef").Mid(-1, 2)), "ab"},
        {Utf8(CString(L"abcdef").Mid(5, 10)), "f"},
        {Utf8(CString(L"abcdef").Mid(9)), ""},
        {Utf8(CString(L"abcdef").Left(3)), "abc"},
        {Utf8(CString(L"abcdef").Left(30)), "abcdef"},
        {Utf8(CString(L"abcdef").Right(2)), "ef"},
        {Utf8(CString(L"abcdef").Right(-2)), ""},
        {Utf8(CString(L"123abc").SpanIncluding(L"0123456789")), "123"},
        {Utf8(CString(L"abc;def").SpanExcluding(L";,")), "abc"},
        {Utf8(CString(L'z', 3)), "zzz"},
        {Utf8(CString(L"ab") + L"cd" + CString(L"ef") + L'g'), "abcdefg"},
        {Utf8(L"x" + CString(L"y")), "xy"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.actual, c.expected);
}

TEST(String, SearchingAndComparing)
{
    CString s(L"one,two;three,two");
    struct Case
    {
        int actual;
        int expected;
    };
    const Case cases[] = {
        {s.Find(L','), 3},
        {s.Find(L',', 4), 13},
        {s.Find(L"two"), 4},
        {s.Find(L"two", 5), 14},
        {s.Find(L"four"), -1},
        {s.Find(L"two", 100), -1},
        {s.ReverseFind(L','), 13},
        {s.ReverseFind(L'x'), -1},
        {s.FindOneOf(L";,"), 3},
        {s.FindOneOf(L"xyz"), -1},
        {CString(L"abc").Compare(L"abd") < 0, 1},
        {CString(L"abc").Compare(L"abc"), 0},
        {CString(L"b").Compare(L"abc") > 0, 1},
        {CString(L"\x00e9").Compare(L"z") > 0, 1},
        {CString(L"HeLLo").CompareNoCase(L"hello"), 0},
        {CString(L"\x00c9T\x00c9").CompareNoCase(L"\x00e9t\x00e9"), 0},
        {CString(L"apple").CompareNoCase(L"Banana") < 0, 1},
        {CString(L"a").Collate(L"B") < 0, 1},
        {CString(L"abc") == L"abc", 1},
        {CString(L"abc") != CString(L"abd"), 1},
        {CString(L"abc") < CString(L"abd"), 1},
        {L"abd" > CString(L"abc"), 1},
    };
    for (size_t i = 0; i < _countof(cases); ++i)
        EXPECT_EQ(cases[i].actual, cases[i].expected) << "case " << i;
}

TEST(String, TokenizeSplitsOnAnyDelimiter)
{
    CString s(L";;alpha;beta,,gamma;");
    std::string tokens;
    int pos = 0;
    for (CString token = s.Tokenize(L";,", pos); pos >= 0; token = s.Tokenize(L";,", pos))
        tokens += Utf8(token) + "|";
    EXPECT_EQ(tokens, "alpha|beta|gamma|");
    pos = 0;
    EXPECT_TRUE(CString(L";;;").Tokenize(L";", pos).IsEmpty());
    EXPECT_EQ(pos, -1);
}

TEST(String, BuffersAndElements)
{
    CString s;
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(s.GetString()[0], 0);
    WCHAR* p = s.GetBuffer(10);
    p[0] = 'h';
    p[1] = 'i';
    p[2] = 0;
    s.ReleaseBuffer();
    EXPECT_EQ(Utf8(s), "hi");
    p = s.GetBufferSetLength(4);
    p[2] = '!';
    p[3] = '?';
    s.ReleaseBuffer(3);
    EXPECT_EQ(Utf8(s), "hi!");
    EXPECT_EQ(s.GetLength(), 3);
    EXPECT_EQ(s[1], L'i');
    EXPECT_EQ(s.GetAt(2), L'!');
    s.SetAt(0, L'H');
    EXPECT_EQ(Utf8(s), "Hi!");
    const WCHAR* view = s;
    EXPECT_EQ(view[0], L'H');
    s.Empty();
    EXPECT_EQ(s.GetLength(), 0);

    // Out-of-range access throws the framework's exception instead of reading past the end.
    bool threw = false;
    try
    {
        s.SetAt(5, L'x');
    }
    catch (CException* e)
    {
        threw = e->IsKindOf(RUNTIME_CLASS(CInvalidArgException));
        e->Delete();
    }
    EXPECT_TRUE(threw);

    CString grow;
    for (int i = 0; i < 1000; ++i)
        grow += L'x';
    EXPECT_EQ(grow.GetLength(), 1000);
    CString self(L"abc");
    self += self;
    EXPECT_EQ(Utf8(self), "abcabc");
}

TEST(String, ConvertsThroughTheAnsiCodePage)
{
    // Windows-1252 (the prefix's ANSI code page under an English locale) or UTF-8 both map é.
    CStringA narrow(L"caf\x00e9");
    CStringW back(narrow);
    EXPECT_EQ(Utf8(back), "caf\xc3\xa9");
    CStringW fromNarrow("plain");
    EXPECT_EQ(Utf8(fromNarrow), "plain");
    CString assigned;
    assigned = "ascii";
    assigned += " more";
    EXPECT_EQ(Utf8(assigned), "ascii more");
    CStringA a2;
    a2 = L"wide";
    EXPECT_EQ(Utf8(a2), "wide");
    EXPECT_EQ(Utf8(CStringA("abc").Mid(1)), "bc");
    CStringA upper("shout");
    EXPECT_EQ(Utf8(upper.MakeUpper()), "SHOUT");
}

TEST(String, LoadsFromTheStringTable)
{
    CString s;
    EXPECT_TRUE(s.LoadString(101));
    EXPECT_EQ(Utf8(s), "Hello from the string table");
    EXPECT_TRUE(s.LoadString(118));
    EXPECT_EQ(Utf8(s), "Second block");
    EXPECT_FALSE(s.LoadString(103));
    EXPECT_TRUE(s.IsEmpty());
    CString fromId(MAKEINTRESOURCEW(101));
    EXPECT_EQ(Utf8(fromId), "Hello from the string table");
    CString formatted;
    formatted.Format(102, 3, L"five");
    EXPECT_EQ(Utf8(formatted), "Value 3 of five");
    CStringA narrow;
    EXPECT_TRUE(narrow.LoadString(101));
    EXPECT_EQ(Utf8(narrow), "Hello from the string table");
}

TEST(String, WideRuntimeReplacements)
{
    struct Case
    {
        const WCHAR* text;
        int base;
        LONG value;
        int consumed;
    };
    const Case cases[] = {
        {L"  -42abc", 10, -42, 5},
        {L"+17", 10, 17, 3},
        {L"0x1F", 16, 31, 4},
        {L"0x1F", 0, 31, 4},
        {L"017", 0, 15, 3},
        {L"99999999999", 10, 0x7FFFFFFF, 11},
        {L"-99999999999", 10, LONG(0x80000000), 12},
        {L"-2147483648", 10, LONG(0x80000000), 11},
        {L"z", 36, 35, 1},
        {L"abc", 10, 0, 0},
        {L"0x", 16, 0, 1},
        {L"", 10, 0, 0},
    };
    for (const Case& c : cases)
    {
        const WCHAR* end = nullptr;
        EXPECT_EQ(AfxWideToLong(c.text, &end, c.base), c.value) << CStringA(c.text).GetString();
        EXPECT_EQ(int(end - c.text), c.consumed) << CStringA(c.text).GetString();
    }
    EXPECT_EQ(AfxWideCompareNoCase(L"ABC", L"abc"), 0);
    EXPECT_LT(AfxWideCompareNoCase(L"abc", L"ABD"), 0);
    EXPECT_GT(AfxWideCompareNoCase(L"b", nullptr), 0);
}
