// The number scanners against the C runtime they follow: Wine's msvcrt swscanf and wcstol, taken
// with GetProcAddress and called through Microsoft-ABI function pointers, on a table of inputs.
#include "RwTest.h"

#include "WideText.h"
#include "uilib/markup/MarkupScan.h"

namespace
{
typedef int(__attribute__((ms_abi)) * SwscanfFn)(const WCHAR*, const WCHAR*, ...);
typedef LONG(__attribute__((ms_abi)) * WcstolFn)(const WCHAR*, WCHAR**, int);

struct Runtime
{
    HMODULE module = ::LoadLibraryW(L"msvcrt.dll");
    SwscanfFn swscanf = module ? reinterpret_cast<SwscanfFn>(::GetProcAddress(module, "swscanf")) : nullptr;
    WcstolFn wcstol = module ? reinterpret_cast<WcstolFn>(::GetProcAddress(module, "wcstol")) : nullptr;
};

Runtime& Crt()
{
    static Runtime runtime;
    return runtime;
}

const LPCWSTR kInputs[] = {
    L"1e3", L"1E3", L"1e", L"1e+", L"1e-2", L"-1.5", L"+.5", L".5", L".", L"-", L"+", L"abc", L"", L"   ",
    L"  42", L"0.1", L"3.4028236e38", L"1e400", L"1e-50", L"12abc", L"0x10", L"010", L"08", L"-0x1F", L"0X1f",
    L"1, 2,3,4", L"1 ,2,3,4", L"1,2,3", L"1,2,3,4", L" 5 , 6", L"0.5,1", L"0.5", L"0.5 ,1", L"0.5, 1",
    L"1,\t2,\n3, 4", L"4294967295", L"4294967296", L"-2147483649", L"2147483648", L"99999999999999999999",
    L"ff", L"FF00", L"#FF", L"0x", L"1.5e3,2", L"7,", L"\t\n 3", L"1.", L"-.e1", L"1.2.3", L"00012", L"1ex", L"1e+x", L"-x", L".x", L"0xg", L"-0", L"1e5,", L"2,1e", L"0x7FFFFFFF", L"0x80000000",
};

std::string Show(LPCWSTR s)
{
    return "\"" + rwtest::Utf8(s) + "\"";
}
} // namespace

TEST(MarkupScan, FloatMatchesTheRuntime)
{
    ASSERT_NE(nullptr, Crt().swscanf);
    for (LPCWSTR input : kInputs)
    {
        float mine = -7, theirs = -7;
        int a = MarkupScanFormat(input, "%f", &mine);
        int b = Crt().swscanf(input, L"%f", &theirs);
        EXPECT_EQ(b, a) << Show(input);
        if (a == 1 && b == 1)
            EXPECT_EQ(theirs, mine) << Show(input);
    }
}

TEST(MarkupScan, IntegersMatchTheRuntime)
{
    ASSERT_NE(nullptr, Crt().swscanf);
    for (LPCWSTR input : kInputs)
    {
        int mine = -7, theirs = -7;
        int a = MarkupScanFormat(input, "%i", &mine);
        int b = Crt().swscanf(input, L"%i", &theirs);
        EXPECT_EQ(b, a) << Show(input);
        if (a == 1 && b == 1)
            EXPECT_EQ(theirs, mine) << Show(input);
        unsigned mineHex = 7, theirsHex = 7;
        a = MarkupScanFormat(input, "%x", &mineHex);
        b = Crt().swscanf(input, L"%x", &theirsHex);
        EXPECT_EQ(b, a) << "%x " << Show(input);
        if (a == 1 && b == 1)
            EXPECT_EQ(theirsHex, mineHex) << "%x " << Show(input);
    }
}

TEST(MarkupScan, CompositeFormatsMatchTheRuntime)
{
    ASSERT_NE(nullptr, Crt().swscanf);
    for (LPCWSTR input : kInputs)
    {
        int m[4] = {0, 0, 0, 0}, t[4] = {0, 0, 0, 0};
        int a = MarkupScanFormat(input, "%i, %i, %i, %i", &m[0], &m[1], &m[2], &m[3]);
        int b = Crt().swscanf(input, L"%i, %i, %i, %i", &t[0], &t[1], &t[2], &t[3]);
        EXPECT_EQ(b, a) << "thickness " << Show(input);
        for (int i = 0; i < a && i < b; ++i)
            EXPECT_EQ(t[i], m[i]) << "thickness " << Show(input) << " field " << i;
        float mf[2] = {0, 0}, tf[2] = {0, 0};
        a = MarkupScanFormat(input, "%f,%f", &mf[0], &mf[1]);
        b = Crt().swscanf(input, L"%f,%f", &tf[0], &tf[1]);
        EXPECT_EQ(b, a) << "point " << Show(input);
        for (int i = 0; i < a && i < b; ++i)
            EXPECT_EQ(tf[i], mf[i]) << "point " << Show(input) << " field " << i;
    }
    // Colour pairs, as the hexadecimal colour form reads them.
    const LPCWSTR colours[] = {L"#FF0000", L"#ff8000", L"#80FF0000", L"#GG0000", L"#F0F0FG", L"# F0000", L"#12"};
    for (LPCWSTR input : colours)
    {
        unsigned m[3] = {0, 0, 0}, t[3] = {0, 0, 0};
        int a = MarkupScanFormat(input, "#%2x%2x%2x", &m[0], &m[1], &m[2]);
        int b = Crt().swscanf(input, L"#%2x%2x%2x", &t[0], &t[1], &t[2]);
        EXPECT_EQ(b, a) << Show(input);
        for (int i = 0; i < a && i < b; ++i)
            EXPECT_EQ(t[i], m[i]) << Show(input) << " field " << i;
    }
}

TEST(MarkupScan, LongMatchesTheRuntime)
{
    ASSERT_NE(nullptr, Crt().wcstol);
    for (LPCWSTR input : kInputs)
        EXPECT_EQ(Crt().wcstol(input, nullptr, 10), MarkupScanLong(input)) << Show(input);
}
