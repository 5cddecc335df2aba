#include "RwTest.h"
#include "ArchiveBytes.h"
#include "uilib/foundation/PropExchangeArchive.h"
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <vector>

namespace
{
using Bytes = std::vector<BYTE>;

// Runs an exchange routine storing into memory and returns the bytes written.
Bytes Store(const std::function<void(CWVPPropExchange&)>& routine)
{
    return StoreArchiveBytes([&](CArchive& ar) {
        CWVPPropExchangeArchive px(ar);
        routine(px);
    });
}

// Runs an exchange routine loading from the bytes; the cause of an archive exception, or -1.
int Load(const Bytes& bytes, const std::function<void(CWVPPropExchange&)>& routine)
{
    return LoadArchiveBytes(bytes, [&](CArchive& ar) {
        CWVPPropExchangeArchive px(ar);
        routine(px);
    });
}

Bytes Hex(std::initializer_list<int> values)
{
    return Bytes(values.begin(), values.end());
}

// A polymorphic child of the class tree the round trip stores.
class CShapeItem : public CObject
{
    DECLARE_SERIAL(CShapeItem)
  public:
    long m_nSize = 0;
    CString m_strName;
    virtual void DoPropExchange(CWVPPropExchange* pPX)
    {
        WVPExchangeLong(pPX, L"Size", m_nSize, 0);
        WVPExchangeString(pPX, L"Name", m_strName, L"");
    }
};
IMPLEMENT_SERIAL(CShapeItem, CObject, VERSIONABLE_SCHEMA | 33)

class CCircleItem : public CShapeItem
{
    DECLARE_SERIAL(CCircleItem)
  public:
    CRect m_rcBounds;
    void DoPropExchange(CWVPPropExchange* pPX) override
    {
        CShapeItem::DoPropExchange(pPX);
        WVPExchangeRect(pPX, L"Bounds", m_rcBounds, CRect());
    }
};
IMPLEMENT_SERIAL(CCircleItem, CShapeItem, VERSIONABLE_SCHEMA | 33)

class CUnrelatedItem : public CObject
{
    DECLARE_SERIAL(CUnrelatedItem)
};
IMPLEMENT_SERIAL(CUnrelatedItem, CObject, VERSIONABLE_SCHEMA | 33)

// A document: values of every kind, a list of polymorphic items in compact sections, a blob.
struct Document
{
    short s = -2;
    long l = 0x12345678;
    float f = 1.5f;
    double d = -0.25;
    CY cy = {};
    COleDateTime date = COleDateTime(2024, 2, 29, 12, 0, 0);
    BOOL b = TRUE;
    COleVariant v = COleVariant(7);
    BYTE by = 0xAB;
    CString text = L"Reelwright";
    CRect rc = CRect(1, 2, 3, 4);
    CSize sz = CSize(5, 6);
    std::vector<CShapeItem*> items;
    Bytes blob = {1, 2, 3, 4, 5};

    ~Document()
    {
        for (CShapeItem* item : items)
            delete item;
    }

    void Exchange(CWVPPropExchange& px)
    {
        px.ExchangeSchema();
        px.ExchangeProp(L"S", WVPPropShort, &s);
        WVPExchangeLong(&px, L"L", l, 0);
        px.ExchangeProp(L"F", WVPPropFloat, &f);
        px.ExchangeProp(L"D", WVPPropDouble, &d);
        px.ExchangeProp(L"Cy", WVPPropCurrency, &cy);
        px.ExchangeProp(L"Date", WVPPropDate, &date);
        WVPExchangeBool(&px, L"B", b, FALSE);
        px.ExchangeProp(L"V", WVPPropVariant, &v);
        px.ExchangeProp(L"By", WVPPropByte, &by);
        WVPExchangeString(&px, L"Text", text);
        WVPExchangeRect(&px, L"Rc", rc, CRect());
        WVPExchangeSize(&px, L"Sz", sz, CSize());

        CWVPPropExchangeEnumeratorRef items(px.GetEnumerator(L"Item"));
        POSITION pos = items->GetPosition(DWORD(this->items.size()));
        for (size_t i = 0; pos; ++i)
        {
            CWVPPropExchangeSectionRef section(items->GetNext(pos));
            if (px.IsLoading())
                this->items.push_back(nullptr);
            CObject* object = this->items[i];
            if (!section->ExchangeObjectInstance(object, RUNTIME_CLASS(CShapeItem)))
                AfxThrowArchiveException(CArchiveException::badClass, nullptr);
            this->items[i] = static_cast<CShapeItem*>(object);
            this->items[i]->DoPropExchange(section);
        }

        BYTE* data = px.IsLoading() ? nullptr : blob.data();
        DWORD size = DWORD(blob.size());
        WVPExchangeBlob(&px, L"Blob", data, size);
        if (px.IsLoading())
        {
            blob.assign(data, data + size);
            std::free(data);
        }
    }
};

Document MakeDocument()
{
    Document doc;
    doc.cy.int64 = -123456789;
    CCircleItem* circle = new CCircleItem;
    circle->m_nSize = 3;
    circle->m_strName = L"circle";
    circle->m_rcBounds = CRect(-1, -2, 10, 20);
    CShapeItem* plain = new CShapeItem;
    plain->m_nSize = 4;
    doc.items = {circle, plain, new CCircleItem};
    return doc;
}
} // namespace

// The records of the stream, byte for byte.
TEST(PropExchangeTest, RecordsAreWrittenByteForByte)
{
    EXPECT_EQ(Hex({0xBF, 0xAD, 0xF0, 0x0F, 0x21, 0, 0, 0}), Store([](CWVPPropExchange& px) { px.ExchangeSchema(); }));
    EXPECT_EQ(Hex({0xFE, 0xFF}), Store([](CWVPPropExchange& px) { px.WriteCount(65534); }));
    EXPECT_EQ(Hex({0xFF, 0xFF, 0xFF, 0xFF, 0, 0}), Store([](CWVPPropExchange& px) { px.WriteCount(65535); }));

    for (int length : {254, 255})
    {
        CString text(L'x', length);
        const Bytes bytes = Store([&](CWVPPropExchange& px) { WVPExchangeString(&px, L"T", text); });
        const Bytes head = length < 255 ? Hex({0xFF, 0xFE, 0xFF, 0xFE}) : Hex({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00});
        ASSERT_EQ(head.size() + 2 * length, bytes.size()) << length;
        EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin())) << length;
    }

    // Three compact elements: the count record, then the sections one after another.
    const Bytes three = Store([](CWVPPropExchange& px) {
        CWVPPropExchangeEnumeratorRef list(px.GetEnumerator(L"E"));
        POSITION pos = list->GetPosition(3);
        BYTE value = 0x10;
        while (pos)
        {
            CWVPPropExchangeSectionRef section(list->GetNext(pos));
            section->ExchangeProp(L"V", WVPPropByte, &value);
            ++value;
        }
    });
    EXPECT_EQ(Hex({3, 0, 0x10, 0x11, 0x12}), three);

    // A class record the first time, then a back reference.
    const Bytes classes = Store([](CWVPPropExchange& px) {
        CRuntimeClass* c = RUNTIME_CLASS(CShapeItem);
        px.ExchangeRuntimeClass(L"C", c, nullptr);
        px.ExchangeRuntimeClass(L"C", c, nullptr);
    });
    const Bytes head = Hex({0xFF, 0xFF, 33, 0, 10, 0, 'C', 'S', 'h', 'a', 'p', 'e', 'I', 't', 'e', 'm', 0x01, 0x80});
    EXPECT_EQ(head, classes);
}

// Store, load and store again give the same bytes; every value comes back.
TEST(PropExchangeTest, AClassTreeRoundTrips)
{
    Document original = MakeDocument();
    const Bytes first = Store([&](CWVPPropExchange& px) { original.Exchange(px); });

    Document loaded;
    loaded.s = 0, loaded.l = 0, loaded.text.Empty(), loaded.blob.clear();
    EXPECT_EQ(-1, Load(first, [&](CWVPPropExchange& px) {
        loaded.Exchange(px);
        EXPECT_EQ(33u, px.GetSchema());
    }));
    EXPECT_EQ(-2, loaded.s);
    EXPECT_EQ(0x12345678, loaded.l);
    EXPECT_EQ(-123456789, loaded.cy.int64);
    EXPECT_TRUE(loaded.date == original.date);
    EXPECT_EQ(L"Reelwright", loaded.text);
    EXPECT_EQ(CRect(1, 2, 3, 4), loaded.rc);
    EXPECT_EQ(CSize(5, 6), loaded.sz);
    EXPECT_EQ(original.blob, loaded.blob);
    ASSERT_EQ(3u, loaded.items.size());
    EXPECT_TRUE(loaded.items[0]->IsKindOf(RUNTIME_CLASS(CCircleItem)));
    EXPECT_FALSE(loaded.items[1]->IsKindOf(RUNTIME_CLASS(CCircleItem)));
    EXPECT_EQ(CRect(-1, -2, 10, 20), static_cast<CCircleItem*>(loaded.items[0])->m_rcBounds);
    EXPECT_EQ(L"circle", loaded.items[0]->m_strName);
    EXPECT_EQ(4, loaded.items[1]->m_nSize);

    EXPECT_EQ(first, Store([&](CWVPPropExchange& px) { loaded.Exchange(px); }));

    // Every truncation fails with end-of-file.
    for (size_t size = 0; size < first.size(); ++size)
    {
        Document partial;
        const Bytes cut(first.begin(), first.begin() + size);
        EXPECT_EQ(int(CArchiveException::endOfFile), Load(cut, [&](CWVPPropExchange& px) { partial.Exchange(px); }))
            << size;
    }
}

// A stream without the schema record is of the oldest schema and loses no byte; sections take the
// schema their parent had when they were made.
TEST(PropExchangeTest, SchemaWithoutMarkerAndInSections)
{
    const Bytes bytes = Hex({0x2A, 0, 0, 0});
    EXPECT_EQ(-1, Load(bytes, [](CWVPPropExchange& px) {
        px.ExchangeSchema();
        EXPECT_EQ(17u, px.GetSchema());
        long value = 0;
        WVPExchangeLong(&px, L"V", value);
        EXPECT_EQ(42, value);
    }));

    Store([](CWVPPropExchange& px) {
        px.SetSchema(20);
        px.UseDefaultOnLoad();
        CWVPPropExchangeSectionRef section(px.GetSection(L"S"));
        px.SetSchema(25);
        EXPECT_EQ(20u, section->GetSchema());
        EXPECT_TRUE(section->IsUseDefaultOnLoad());
        EXPECT_FALSE(section->IsRootSection());
        EXPECT_TRUE(px.IsRootSection());
    });
}

// Classes that do not derive from the expected base, blobs larger than their buffer and counts
// larger than the stream fail without reading out of step or allocating what is not there.
TEST(PropExchangeTest, BadStreamsFailCleanly)
{
    const Bytes unrelated = Store([](CWVPPropExchange& px) {
        CObject* object = new CUnrelatedItem;
        px.ExchangeObjectInstance(object, RUNTIME_CLASS(CObject));
        delete object;
    });
    EXPECT_EQ(int(CArchiveException::badClass), Load(unrelated, [](CWVPPropExchange& px) {
                  CObject* object = nullptr;
                  px.ExchangeObjectInstance(object, RUNTIME_CLASS(CShapeItem));
                  delete object;
              }));

    const Bytes blobThenValue = Store([](CWVPPropExchange& px) {
        BYTE data[6] = {1, 2, 3, 4, 5, 6};
        BYTE* p = data;
        DWORD size = 6;
        px.ExchangeBlob(L"B", p, size);
        BYTE after = 0x77;
        px.ExchangeProp(L"A", WVPPropByte, &after);
    });
    EXPECT_EQ(-1, Load(blobThenValue, [](CWVPPropExchange& px) {
        BYTE tooSmall[4] = {};
        BYTE* p = tooSmall;
        DWORD size = 4;
        EXPECT_FALSE(px.ExchangeBlob(L"B", p, size));
        BYTE after = 0;
        px.ExchangeProp(L"A", WVPPropByte, &after);
        EXPECT_EQ(0x77, after);
    }));

    // A count of 4 GiB in a stream of a few bytes.
    EXPECT_EQ(int(CArchiveException::endOfFile),
              Load(Hex({0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF, 1, 2}), [](CWVPPropExchange& px) {
                  BYTE* p = nullptr;
                  DWORD size = 0;
                  px.ExchangeBlob(L"B", p, size);
                  std::free(p);
              }));

    // Writing into a loading archive and reading from a storing one.
    EXPECT_EQ(int(CArchiveException::readOnly), Load(Hex({1}), [](CWVPPropExchange& px) {
                  static_cast<CWVPPropExchangeArchive&>(px).GetArchiveRef() << BYTE(1);
              }));
}

namespace
{
// An object whose serialization fails with an archive or an OLE exception.
class CFailingItem : public CObject
{
  public:
    explicit CFailingItem(bool ole) : m_bOle(ole)
    {
    }
    void Serialize(CArchive&) override
    {
        if (m_bOle)
            AfxThrowOleException(E_FAIL);
        AfxThrowArchiveException(CArchiveException::genericException);
    }
    bool m_bOle;
};
} // namespace

// An object that fails to serialize itself, with either kind of exception, makes the exchange
// report FALSE and leaves the exchange usable.
TEST(PropExchangeTest, FailedSerializationReportsFalse)
{
    for (bool ole : {false, true})
    {
        SCOPED_TRACE(ole ? "OLE exception" : "archive exception");
        CFailingItem item(ole);
        BOOL result = TRUE;
        const Bytes bytes = Store([&](CWVPPropExchange& px) {
            result = WVPExchangeSerialized(&px, L"Data", &item);
            long after = 42;
            WVPExchangeLong(&px, L"After", after, 0);
        });
        EXPECT_FALSE(result);
        long after = 0;
        EXPECT_EQ(-1, Load(bytes, [&](CWVPPropExchange& px) { WVPExchangeLong(&px, L"After", after, 0); }));
        EXPECT_EQ(42, after);
    }
}

namespace
{
// A named exchange over a map of texts: what the base class does for exchanges that keep names.
class CNamedExchange : public CWVPPropExchange
{
  public:
    std::map<CString, CString>* m_pValues;
    CNamedExchange(std::map<CString, CString>* values, BOOL loading) : m_pValues(values)
    {
        m_bLoading = loading;
    }
    BOOL ExchangeProp(LPCWSTR name, WVPPropExchangeType type, void* value, const void* fallback) override
    {
        if (type == WVPPropString)
        {
            CString& text = *static_cast<CString*>(value);
            if (!m_bLoading)
                (*m_pValues)[name] = text;
            else if (m_pValues->count(name))
                text = (*m_pValues)[name];
            else
                return FALSE;
            return TRUE;
        }
        if (type == WVPPropLong)
        {
            LONG& number = *static_cast<LONG*>(value);
            CString text;
            if (!m_bLoading)
            {
                text.Format(L"%d", int(number));
                (*m_pValues)[name] = text;
            }
            else if (m_pValues->count(name))
                number = LONG(std::atoi(CStringA((*m_pValues)[name])));
            else if (fallback)
                number = *static_cast<const LONG*>(fallback);
            return TRUE;
        }
        return TRUE;
    }
    CWVPPropExchange* GetSection(LPCWSTR) override
    {
        CNamedExchange* section = new CNamedExchange(m_pValues, m_bLoading);
        InitSection(section);
        return section;
    }
};
} // namespace

// The base class's text forms: blobs as letter pairs, classes by name, counts and schemas by name.
TEST(PropExchangeTest, NamedExchangesUseTheBaseForms)
{
    std::map<CString, CString> values;
    CNamedExchange storing(&values, FALSE);
    BYTE data[2] = {0x12, 0xAB};
    BYTE* p = data;
    DWORD size = 2;
    ASSERT_TRUE(storing.ExchangeBlob(L"Blob", p, size));
    EXPECT_EQ(L"CBLK", values[L"Blob"]);
    CRuntimeClass* c = RUNTIME_CLASS(CCircleItem);
    ASSERT_TRUE(storing.ExchangeRuntimeClass(L"Class", c, nullptr));
    EXPECT_EQ(L"CCircleItem", values[L"Class"]);
    storing.ExchangeSchema();
    EXPECT_EQ(L"33", values[L"Schema"]);

    CNamedExchange loading(&values, TRUE);
    BYTE* back = nullptr;
    DWORD backSize = 0;
    ASSERT_TRUE(loading.ExchangeBlob(L"Blob", back, backSize));
    ASSERT_EQ(2u, backSize);
    EXPECT_EQ(0x12, back[0]);
    EXPECT_EQ(0xAB, back[1]);
    std::free(back);
    values[L"Odd"] = L"CBL";
    back = nullptr;
    EXPECT_FALSE(loading.ExchangeBlob(L"Odd", back, backSize));
    CRuntimeClass* loaded = nullptr;
    ASSERT_TRUE(loading.ExchangeRuntimeClass(L"Class", loaded, nullptr));
    EXPECT_EQ(RUNTIME_CLASS(CCircleItem), loaded);
    ASSERT_TRUE(loading.ExchangeRuntimeClass(L"Missing", loaded, RUNTIME_CLASS(CShapeItem)));
    EXPECT_EQ(RUNTIME_CLASS(CShapeItem), loaded);
    values[L"Wrong"] = L"cshapeitem"; // the lookup is exact
    EXPECT_FALSE(loading.ExchangeRuntimeClass(L"Wrong", loaded, nullptr));

    // Named enumerations count under "Count"; an empty one gives position 0 at once.
    CWVPPropExchangeEnumeratorRef list(loading.GetEnumerator(L"Row"));
    values[L"Count"] = L"0";
    EXPECT_EQ(nullptr, list->GetPosition(0, FALSE));
    EXPECT_TRUE(storing.SkipsDefaultValues());
    EXPECT_FALSE(storing.IsBinaryStream());
    long unused = 0;
    EXPECT_FALSE(WVPExchangeLong(nullptr, L"X", unused));
}
