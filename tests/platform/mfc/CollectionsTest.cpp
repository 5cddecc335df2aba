#include "RwTest.h"

#include "platform/mfc/Mfc.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace
{
// Counts live instances, so that the containers' construction and destruction can be checked.
struct Tracked
{
    static int live;
    int value;
    Tracked(int v = 0) : value(v)
    {
        ++live;
    }
    Tracked(const Tracked& other) : value(other.value)
    {
        ++live;
    }
    Tracked& operator=(const Tracked&) = default;
    ~Tracked()
    {
        --live;
    }
    bool operator==(const Tracked& other) const
    {
        return value == other.value;
    }
};
int Tracked::live = 0;

template <class ARRAY> std::vector<int> Values(const ARRAY& a)
{
    std::vector<int> v;
    for (INT_PTR i = 0; i < a.GetSize(); ++i)
        v.push_back(int(a[i]));
    return v;
}

template <class LIST> std::vector<int> ListValues(const LIST& l)
{
    std::vector<int> v;
    for (POSITION pos = l.GetHeadPosition(); pos;)
        v.push_back(int(reinterpret_cast<INT_PTR>(l.GetNext(pos))));
    return v;
}

std::string Utf8(const CString& s)
{
    return std::string(CStringA(s).GetString());
}
} // namespace

TEST(Array, EditsKeepOrderAndBounds)
{
    CUIntArray a;
    for (UINT i = 0; i < 5; ++i)
        a.Add(i);
    a.InsertAt(2, 100, 2);
    EXPECT_EQ(Values(a), (std::vector<int>{0, 1, 100, 100, 2, 3, 4}));
    a.RemoveAt(1, 3);
    EXPECT_EQ(Values(a), (std::vector<int>{0, 2, 3, 4}));
    a.SetAtGrow(6, 9);
    EXPECT_EQ(Values(a), (std::vector<int>{0, 2, 3, 4, 0, 0, 9}));
    a.SetSize(2);
    EXPECT_EQ(Values(a), (std::vector<int>{0, 2}));
    EXPECT_EQ(a.GetUpperBound(), 1);
    CUIntArray b;
    b.Add(7);
    b.Append(a);
    b.InsertAt(1, &a);
    EXPECT_EQ(Values(b), (std::vector<int>{7, 0, 2, 0, 2}));
    b.Copy(a);
    EXPECT_EQ(Values(b), (std::vector<int>{0, 2}));

    struct BadCall
    {
        void (*call)(CUIntArray&);
    };
    const BadCall bad[] = {
        {[](CUIntArray& x) { x.GetAt(2); }},
        {[](CUIntArray& x) { x.SetAt(-1, 0); }},
        {[](CUIntArray& x) { x.RemoveAt(1, 2); }},
        {[](CUIntArray& x) { x.SetSize(-1); }},
    };
    for (const BadCall& c : bad)
    {
        bool threw = false;
        try
        {
            c.call(a);
        }
        catch (CException* e)
        {
            threw = true;
            e->Delete();
        }
        EXPECT_TRUE(threw);
    }
    EXPECT_EQ(Values(a), (std::vector<int>{0, 2}));
}

TEST(Array, GrowsByTheGivenStepAndDestroysElements)
{
    {
        CArray<Tracked> a;
        a.SetSize(0, 16);
        for (int i = 0; i < 40; ++i)
            a.Add(Tracked(i));
        EXPECT_EQ(Tracked::live, 40);
        // The element added may live in the array itself while it reallocates.
        for (int i = 0; i < 40; ++i)
            a.Add(a[0]);
        EXPECT_EQ(a[79].value, 0);
        a.RemoveAt(0, 10);
        EXPECT_EQ(a[0].value, 10);
        EXPECT_EQ(Tracked::live, 70);
        CArray<Tracked> copy(a);
        EXPECT_EQ(Tracked::live, 140);
        a.RemoveAll();
        EXPECT_EQ(Tracked::live, 70);
    }
    EXPECT_EQ(Tracked::live, 0);

    CStringArray texts;
    texts.Add(L"one");
    texts.Add(CString(L"two"));
    texts.InsertAt(0, L"zero");
    EXPECT_EQ(texts.GetSize(), 3);
    EXPECT_EQ(Utf8(texts[0] + texts[2]), "zerotwo");

    CTypedPtrArray<CPtrArray, int*> typed;
    int x = 5;
    typed.Add(&x);
    EXPECT_EQ(*typed[0], 5);
    EXPECT_EQ(typed.GetAt(0), &x);
}

TEST(List, PositionsWalkBothWays)
{
    CPtrList list;
    auto P = [](INT_PTR v) { return reinterpret_cast<void*>(v); };
    list.AddTail(P(2));
    list.AddTail(P(3));
    POSITION one = list.AddHead(P(1));
    POSITION four = list.InsertAfter(list.GetTailPosition(), P(4));
    list.InsertBefore(one, P(0));
    list.InsertAfter(one, P(15));
    EXPECT_EQ(ListValues(list), (std::vector<int>{0, 1, 15, 2, 3, 4}));
    EXPECT_EQ(list.Find(P(15)), list.FindIndex(2));
    EXPECT_EQ(list.Find(P(99)), nullptr);
    EXPECT_EQ(list.Find(P(2), one), list.FindIndex(3));
    list.RemoveAt(list.Find(P(15)));
    EXPECT_EQ(list.RemoveHead(), P(0));
    EXPECT_EQ(list.RemoveTail(), P(4));
    (void)four;
    std::vector<int> backwards;
    for (POSITION pos = list.GetTailPosition(); pos;)
        backwards.push_back(int(reinterpret_cast<INT_PTR>(list.GetPrev(pos))));
    EXPECT_EQ(backwards, (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.FindIndex(3), nullptr);
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    bool threw = false;
    try
    {
        list.GetHead();
    }
    catch (CException* e)
    {
        threw = true;
        e->Delete();
    }
    EXPECT_TRUE(threw);
}

TEST(List, ReusesNodesAndDestroysElements)
{
    {
        CList<Tracked> list(4);
        for (int round = 0; round < 3; ++round)
        {
            for (int i = 0; i < 25; ++i)
                list.AddTail(Tracked(i));
            while (list.GetCount() > 5)
                list.RemoveHead();
        }
        EXPECT_EQ(Tracked::live, 5);
        EXPECT_EQ(list.GetHead().value, 20);
        CList<Tracked> copy(list);
        EXPECT_EQ(Tracked::live, 10);
    }
    EXPECT_EQ(Tracked::live, 0);

    CStringList names;
    names.AddTail(L"b");
    names.AddHead(L"a");
    EXPECT_NE(names.Find(L"b"), nullptr);
    EXPECT_EQ(Utf8(names.GetHead() + names.GetTail()), "ab");

    CTypedPtrList<CPtrList, int*> typed;
    int a = 1, b = 2;
    typed.AddTail(&a);
    typed.AddTail(&b);
    POSITION pos = typed.GetHeadPosition();
    EXPECT_EQ(*typed.GetNext(pos), 1);
    EXPECT_EQ(*typed.GetNext(pos), 2);
}

TEST(Map, LooksUpReplacesAndRemoves)
{
    CMapStringToString map(10);
    EXPECT_EQ(map.GetHashTableSize(), 17u);
    const struct
    {
        const WCHAR* key;
        const WCHAR* value;
    } entries[] = {{L"Open", L"Ouvrir"}, {L"Save", L"Enregistrer"}, {L"Close", L"Fermer"}, {L"open", L"lower"}};
    for (const auto& e : entries)
        map.SetAt(e.key, e.value);
    map[L"Save"] = L"Sauver";
    EXPECT_EQ(map.GetCount(), 4);
    CString value;
    EXPECT_TRUE(map.Lookup(L"Save", value));
    EXPECT_EQ(Utf8(value), "Sauver");
    EXPECT_TRUE(map.Lookup(L"open", value));
    EXPECT_EQ(Utf8(value), "lower");
    EXPECT_FALSE(map.Lookup(L"OPEN", value));
    EXPECT_TRUE(map.RemoveKey(L"Close"));
    EXPECT_FALSE(map.RemoveKey(L"Close"));
    EXPECT_EQ(map.PLookup(L"Close"), nullptr);
    ASSERT_NE(map.PLookup(L"Open"), nullptr);
    EXPECT_EQ(Utf8(map.PLookup(L"Open")->value), "Ouvrir");

    std::set<std::string> seen;
    for (POSITION pos = map.GetStartPosition(); pos;)
    {
        CString k, v;
        map.GetNextAssoc(pos, k, v);
        seen.insert(Utf8(k) + "=" + Utf8(v));
    }
    EXPECT_EQ(seen, (std::set<std::string>{"Open=Ouvrir", "Save=Sauver", "open=lower"}));
    map.RemoveAll();
    EXPECT_EQ(map.GetStartPosition(), nullptr);
}

TEST(Map, ManyKeysRehashAndIterateOnce)
{
    CMap<int, int, Tracked, const Tracked&> map;
    map.InitHashTable(7);
    for (int i = 0; i < 300; ++i)
        map[i * 37] = Tracked(i);
    map.InitHashTable(101);
    EXPECT_EQ(map.GetHashTableSize(), 101u);
    for (int i = 0; i < 300; i += 2)
        EXPECT_TRUE(map.RemoveKey(i * 37));
    std::map<int, int> seen;
    for (POSITION pos = map.GetStartPosition(); pos;)
    {
        int key;
        Tracked value;
        map.GetNextAssoc(pos, key, value);
        ++seen[key];
        EXPECT_EQ(key, value.value * 37);
    }
    EXPECT_EQ(seen.size(), 150u);
    for (const auto& entry : seen)
        EXPECT_EQ(entry.second, 1);
    int count = 0;
    for (auto* p = map.PGetFirstAssoc(); p; p = map.PGetNextAssoc(p))
        ++count;
    EXPECT_EQ(count, 150);
    map.RemoveAll();
    EXPECT_EQ(Tracked::live, 0);
}

TEST(Map, PointerMapsAndTypedMaps)
{
    CMapPtrToPtr ptrs;
    int a = 1, b = 2;
    ptrs[&a] = &b;
    void* found = nullptr;
    EXPECT_TRUE(ptrs.Lookup(&a, found));
    EXPECT_EQ(found, &b);
    EXPECT_FALSE(ptrs.Lookup(&b, found));

    CMapWordToPtr words;
    words.SetAt(7, &a);
    EXPECT_TRUE(words.Lookup(7, found));
    CMapPtrToWord toWord;
    toWord[&a] = 9;
    WORD w = 0;
    EXPECT_TRUE(toWord.Lookup(&a, w));
    EXPECT_EQ(w, 9);

    CTypedPtrMap<CMapStringToPtr, CString, int*> typed;
    typed.SetAt(L"a", &a);
    typed[L"b"] = &b;
    int* p = nullptr;
    EXPECT_TRUE(typed.Lookup(L"b", p));
    EXPECT_EQ(*p, 2);
    int total = 0;
    for (POSITION pos = typed.GetStartPosition(); pos;)
    {
        CString key;
        int* value;
        typed.GetNextAssoc(pos, key, value);
        total += *value;
    }
    EXPECT_EQ(total, 3);

    CMap<CString, const CString&, int, int> byString;
    byString[CString(L"x")] = 4;
    int v = 0;
    EXPECT_TRUE(byString.Lookup(CString(L"x"), v));
    EXPECT_EQ(v, 4);
}

namespace
{
// Stores a collection into memory and loads it into another; answers the bytes written.
template <class C> ULONGLONG RoundTrip(C& from, C& to)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        from.Serialize(ar);
        ar.Close();
    }
    ULONGLONG size = file.GetLength();
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    to.Serialize(ar);
    ar.Close();
    return size;
}

struct PlainRecord
{
    int id;
    double ratio;
    bool operator==(const PlainRecord& other) const
    {
        return id == other.id && ratio == other.ratio;
    }
};
} // namespace

TEST(CollectionSerialization, ArraysListsAndMapsRoundTripTheirElements)
{
    CArray<int, int> numbers, numbersBack;
    for (int i = 0; i < 5000; ++i) // more than one block of the loader
        numbers.Add(i * 7 - 3);
    numbersBack.Add(99); // replaced, not appended to
    RoundTrip(numbers, numbersBack);
    ASSERT_EQ(numbers.GetSize(), numbersBack.GetSize());
    EXPECT_EQ(-3, numbersBack[0]);
    EXPECT_EQ(4999 * 7 - 3, numbersBack[4999]);

    CStringArray texts, textsBack;
    texts.Add(L"clip \x00e9\x4e2d");
    texts.Add(L"");
    RoundTrip(texts, textsBack);
    ASSERT_EQ(2, textsBack.GetSize());
    EXPECT_TRUE(textsBack[0] == L"clip \x00e9\x4e2d");
    EXPECT_TRUE(textsBack[1].IsEmpty());

    CArray<PlainRecord> records, recordsBack;
    records.Add({1, 0.5});
    records.Add({-2, 1e300});
    RoundTrip(records, recordsBack);
    ASSERT_EQ(2, recordsBack.GetSize());
    EXPECT_TRUE(recordsBack[1] == records[1]);

    CList<CString, const CString&> list, listBack;
    list.AddTail(CString(L"first"));
    list.AddTail(CString(L"second"));
    RoundTrip(list, listBack);
    ASSERT_EQ(2, listBack.GetCount());
    EXPECT_TRUE(listBack.GetHead() == L"first");
    EXPECT_TRUE(listBack.GetTail() == L"second");

    CMap<int, int, CString, LPCTSTR> map, mapBack;
    map[3] = L"three";
    map[-1] = L"minus one";
    mapBack[8] = L"stale";
    RoundTrip(map, mapBack);
    EXPECT_EQ(2, mapBack.GetCount());
    CString value;
    EXPECT_TRUE(mapBack.Lookup(-1, value));
    EXPECT_TRUE(value == L"minus one");
    EXPECT_FALSE(mapBack.Lookup(8, value));

    CMapStringToString names, namesBack;
    names[L"mp4"] = L"MPEG-4";
    RoundTrip(names, namesBack);
    EXPECT_TRUE(namesBack.Lookup(L"mp4", value));
    EXPECT_TRUE(value == L"MPEG-4");
}

TEST(CollectionSerialization, ACountBeyondTheDataFailsAtTheEndOfTheArchive)
{
    // A count of a billion elements followed by two: the load fails without claiming the memory.
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.WriteCount(1000000000);
        ar << 1 << 2;
        ar.Close();
    }
    file.SeekToBegin();
    CArray<int, int> numbers;
    int cause = -1;
    try
    {
        CArchive ar(&file, CArchive::load);
        numbers.Serialize(ar);
    }
    catch (CArchiveException* e)
    {
        cause = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(CArchiveException::endOfFile, cause);
    EXPECT_LE(numbers.GetSize(), 4096);
}
