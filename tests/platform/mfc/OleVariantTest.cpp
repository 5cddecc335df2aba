// OLE value types: variants keep their values through the archive form the property exchange
// stores (and compare equal afterwards); currency arithmetic stays exact and reports overflow.
#include "RwTest.h"

#include "platform/mfc/Mfc.h"

namespace
{
COleVariant RoundTrip(const COleVariant& value, std::vector<BYTE>* bytes = nullptr)
{
    CMemFile file;
    {
        CArchive out(&file, CArchive::store);
        out << value;
        out.Close();
    }
    if (bytes)
    {
        bytes->resize((size_t)file.GetLength());
        file.SeekToBegin();
        file.Read(bytes->data(), (UINT)bytes->size());
    }
    file.SeekToBegin();
    COleVariant back;
    CArchive in(&file, CArchive::load);
    in >> back;
    in.Close();
    return back;
}

TEST(OleVariantTest, ValuesSurviveTheArchiveForm)
{
    COleCurrency price(12, 3400);
    const COleVariant values[] = {
        COleVariant(),
        COleVariant((BYTE)200),
        COleVariant((short)-3),
        COleVariant(123456),
        COleVariant(1, VT_BOOL),
        COleVariant(2.5f),
        COleVariant(-1.25),
        COleVariant(price),
        COleVariant(COleDateTime(2009, 7, 1, 12, 30, 0)),
        COleVariant(L"Reelwright"),
        COleVariant(L""),
    };
    for (const COleVariant& value : values)
    {
        COleVariant back = RoundTrip(value);
        EXPECT_TRUE(back == value) << "type " << V_VT(&value);
    }
}

TEST(OleVariantTest, TheArchiveFormStartsWithTheTypeAndStoresLittleEndianValues)
{
    std::vector<BYTE> bytes;
    RoundTrip(COleVariant(0x01020304), &bytes);
    EXPECT_EQ((std::vector<BYTE>{VT_I4, 0, 4, 3, 2, 1}), bytes);
    RoundTrip(COleVariant(COleCurrency(1, 0)), &bytes); // 10000 ten-thousandths: low word, then high word
    EXPECT_EQ((std::vector<BYTE>{VT_CY, 0, 0x10, 0x27, 0, 0, 0, 0, 0, 0}), bytes);

    // By-reference variants store their type only and come back empty.
    VARIANT reference;
    ::VariantInit(&reference);
    LONG target = 5;
    V_VT(&reference) = VT_BYREF | VT_I4;
    V_I4REF(&reference) = &target;
    COleVariant byRef;
    memcpy(static_cast<VARIANT*>(&byRef), &reference, sizeof(VARIANT)); // not owned: nothing to clear
    COleVariant back = RoundTrip(byRef, &bytes);
    EXPECT_EQ(2u, bytes.size());
    EXPECT_EQ(VT_EMPTY, V_VT(&back));
    V_VT(&byRef) = VT_EMPTY;
}

TEST(OleVariantTest, CopiesOwnTheirTextsAndTypesChange)
{
    COleVariant text(L"42");
    COleVariant copy = text;
    EXPECT_TRUE(copy == text);
    EXPECT_NE(V_BSTR(&copy), V_BSTR(&text));
    EXPECT_TRUE(copy.ChangeType(VT_I4));
    EXPECT_EQ(42, V_I4(&copy));
    EXPECT_FALSE(COleVariant(L"not a number").ChangeType(VT_I4));
}

TEST(OleCurrencyTest, ArithmeticIsExactAndOverflowMakesTheValueInvalid)
{
    COleCurrency a(10, 5000); // 10.5
    COleCurrency b(0, 2500);  // 0.25
    EXPECT_EQ(107500, (a + b).m_cur.int64);
    EXPECT_EQ(102500, (a - b).m_cur.int64);
    EXPECT_EQ(315000, (a * 3).m_cur.int64);
    EXPECT_EQ(52500, (a / 2).m_cur.int64);
    EXPECT_TRUE(b < a);
    EXPECT_EQ(COleCurrency::valid, (a + b).GetStatus());

    CURRENCY huge;
    huge.int64 = 0x7FFFFFFFFFFFFFF0LL;
    EXPECT_EQ(COleCurrency::invalid, (COleCurrency(huge) + a).GetStatus());
    EXPECT_EQ(COleCurrency::invalid, (a / 0).GetStatus());

    COleCurrency parsed;
    EXPECT_TRUE(parsed.ParseCurrency(L"12.34", 0, MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT)));
    EXPECT_EQ(123400, parsed.m_cur.int64);
    EXPECT_FALSE(parsed.ParseCurrency(L"twelve"));
    EXPECT_EQ(COleCurrency::invalid, parsed.GetStatus());
}
}
