#include "RwTest.h"

#include "platform/mfc/Mfc.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{
int g_liveObjects = 0;

// A node of a small object graph: owns its child, refers to a peer without owning it.
class CNode : public CObject
{
    DECLARE_SERIAL(CNode)
  public:
    CNode()
    {
        ++g_liveObjects;
    }
    ~CNode() override
    {
        delete m_pChild;
        --g_liveObjects;
    }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
        {
            ar << m_nValue << m_strName << m_pChild << m_pPeer;
            return;
        }
        m_nSchema = ar.GetObjectSchema();
        ar >> m_nValue >> m_strName >> m_pChild;
        CObject* pPeer = nullptr;
        ar >> pPeer;
        m_pPeer = static_cast<CNode*>(pPeer);
    }

    int m_nValue = 0;
    CString m_strName;
    CNode* m_pChild = nullptr;
    CNode* m_pPeer = nullptr;
    UINT m_nSchema = 0;
};
IMPLEMENT_SERIAL(CNode, CObject, VERSIONABLE_SCHEMA | 33)

// A class with a fixed schema: streams of any other schema are refused.
class CLeaf : public CObject
{
    DECLARE_SERIAL(CLeaf)
  public:
    CLeaf()
    {
        ++g_liveObjects;
    }
    ~CLeaf() override
    {
        --g_liveObjects;
    }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << m_wData;
        else
            ar >> m_wData;
    }
    WORD m_wData = 0;
};
IMPLEMENT_SERIAL(CLeaf, CObject, 2)

std::vector<BYTE> Bytes(CMemFile& file)
{
    std::vector<BYTE> bytes(size_t(file.GetLength()));
    file.SeekToBegin();
    if (!bytes.empty())
        file.Read(bytes.data(), UINT(bytes.size()));
    return bytes;
}

// Stores through fn into memory and returns the bytes.
template <typename Fn> std::vector<BYTE> Store(Fn fn)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        fn(ar);
        ar.Close();
    }
    return Bytes(file);
}

// Loads the bytes through fn; returns the archive exception's cause, or -1 when none was thrown.
template <typename Fn> int Load(const std::vector<BYTE>& bytes, Fn fn)
{
    CMemFile file;
    if (!bytes.empty())
        file.Write(bytes.data(), UINT(bytes.size()));
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    try
    {
        fn(ar);
    }
    catch (CArchiveException* e)
    {
        int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}

// root -> child -> grandchild, the grandchild's peer is the root, the root's peer is null.
CNode* MakeGraph()
{
    CNode* root = new CNode;
    root->m_nValue = 1;
    root->m_strName = L"root \x00e9\x4e2d";
    root->m_pChild = new CNode;
    root->m_pChild->m_nValue = 2;
    root->m_pChild->m_strName = CString(L'x', 300);
    root->m_pChild->m_pChild = new CNode;
    root->m_pChild->m_pChild->m_nValue = 3;
    root->m_pChild->m_pChild->m_pPeer = root;
    return root;
}

void StoreEverything(CArchive& ar, CNode* root)
{
    ar << BYTE(0xAB) << WORD(0xBEEF) << LONG(-7) << DWORD(0xDEADBEEF) << int(-100000) << UINT(100000) << short(-2)
       << char('c') << true << false << 1.5f << -2.25 << LONGLONG(-1234567890123LL) << ULONGLONG(9876543210ULL);
    ar << CString(L"wide") << CStringA("narrow") << CString();
    ar.WriteCount(5);
    ar.WriteCount(70000);
    ar << root;
    ar << static_cast<CObject*>(nullptr);
    ar << root->m_pChild;
}

void LoadEverything(CArchive& ar, CNode*& root, CNode*& shared)
{
    BYTE b;
    WORD w;
    LONG l;
    DWORD dw;
    int i;
    UINT u;
    short s;
    char c;
    bool t, f;
    float fl;
    double d;
    LONGLONG ll;
    ULONGLONG ull;
    ar >> b >> w >> l >> dw >> i >> u >> s >> c >> t >> f >> fl >> d >> ll >> ull;
    EXPECT_EQ(b, 0xAB);
    EXPECT_EQ(w, 0xBEEF);
    EXPECT_EQ(l, -7);
    EXPECT_EQ(dw, 0xDEADBEEFu);
    EXPECT_EQ(i, -100000);
    EXPECT_EQ(u, 100000u);
    EXPECT_EQ(s, -2);
    EXPECT_EQ(c, 'c');
    EXPECT_TRUE(t);
    EXPECT_FALSE(f);
    EXPECT_EQ(fl, 1.5f);
    EXPECT_EQ(d, -2.25);
    EXPECT_EQ(ll, -1234567890123LL);
    EXPECT_EQ(ull, 9876543210ULL);
    CString wide, empty;
    CStringA narrow;
    ar >> wide >> narrow >> empty;
    EXPECT_TRUE(wide == L"wide");
    EXPECT_TRUE(narrow == "narrow");
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_EQ(ar.ReadCount(), 5u);
    EXPECT_EQ(ar.ReadCount(), 70000u);
    ar >> root;
    CObject* none = reinterpret_cast<CObject*>(1);
    ar >> none;
    EXPECT_EQ(none, nullptr);
    ar >> shared;
}
} // namespace

TEST(Archive, RoundTripsValuesTextsAndObjectGraphs)
{
    CNode* original = MakeGraph();
    std::vector<BYTE> bytes = Store([&](CArchive& ar) { StoreEverything(ar, original); });
    delete original;
    ASSERT_EQ(g_liveObjects, 0);

    CNode* root = nullptr;
    CNode* shared = nullptr;
    EXPECT_EQ(Load(bytes, [&](CArchive& ar) { LoadEverything(ar, root, shared); }), -1);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(g_liveObjects, 3);
    EXPECT_EQ(root->m_nValue, 1);
    EXPECT_TRUE(root->m_strName == L"root \x00e9\x4e2d");
    EXPECT_EQ(root->m_nSchema, 33u);
    ASSERT_NE(root->m_pChild, nullptr);
    EXPECT_EQ(root->m_pChild->m_strName.GetLength(), 300);
    ASSERT_NE(root->m_pChild->m_pChild, nullptr);
    EXPECT_EQ(root->m_pChild->m_pChild->m_nValue, 3);
    // References to objects already read come back as the same object.
    EXPECT_EQ(root->m_pChild->m_pChild->m_pPeer, root);
    EXPECT_EQ(shared, root->m_pChild);
    EXPECT_EQ(root->m_pPeer, nullptr);
    delete root;
    EXPECT_EQ(g_liveObjects, 0);
}

TEST(Archive, EveryTruncationFailsWithEndOfFileAndLeaksNothing)
{
    CNode* original = MakeGraph();
    std::vector<BYTE> bytes = Store([&](CArchive& ar) { StoreEverything(ar, original); });
    delete original;
    for (size_t n = 0; n < bytes.size(); ++n)
    {
        std::vector<BYTE> cut(bytes.begin(), bytes.begin() + n);
        CNode* root = nullptr;
        CNode* shared = nullptr;
        int cause = Load(cut, [&](CArchive& ar) { LoadEverything(ar, root, shared); });
        EXPECT_EQ(cause, CArchiveException::endOfFile) << "cut at " << n;
        // A graph read completely before the cut is the caller's; nothing else may survive.
        delete root;
        EXPECT_EQ(g_liveObjects, 0) << "cut at " << n;
        if (cause != CArchiveException::endOfFile || g_liveObjects != 0)
            break;
    }
}

TEST(Archive, WritesTheDocumentedByteLayout)
{
    CLeaf leaf1, leaf2;
    leaf1.m_wData = 0x1122;
    struct Case
    {
        std::vector<BYTE> actual;
        std::vector<BYTE> expected;
    };
    const Case cases[] = {
        // A new class: 0xFFFF, schema, name length, name; then the object. The second object of
        // the class refers to the class by index 1 with the class flag.
        {Store([&](CArchive& ar) { ar << &leaf1 << &leaf2 << &leaf1; }),
         {0xFF, 0xFF, 0x02, 0x00, 0x05, 0x00, 'C', 'L', 'e', 'a', 'f', 0x22, 0x11, 0x01, 0x80, 0x00, 0x00, 0x02, 0x00}},
        {Store([](CArchive& ar) { ar << CString(L"ab"); }), {0xFF, 0xFE, 0xFF, 0x02, 'a', 0, 'b', 0}},
        {Store([](CArchive& ar) { ar << CStringA("ab"); }), {0x02, 'a', 'b'}},
        {Store([](CArchive& ar) {
             ar.WriteCount(5);
             ar.WriteCount(0xFFFF);
         }),
         {0x05, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {Store([](CArchive& ar) { ar << static_cast<CObject*>(nullptr); }), {0x00, 0x00}},
        {Store([](CArchive& ar) {
             ar.WriteClass(RUNTIME_CLASS(CLeaf));
             ar.WriteClass(RUNTIME_CLASS(CLeaf));
         }),
         {0xFF, 0xFF, 0x02, 0x00, 0x05, 0x00, 'C', 'L', 'e', 'a', 'f', 0x01, 0x80}},
    };
    for (size_t i = 0; i < _countof(cases); ++i)
        EXPECT_EQ(cases[i].actual, cases[i].expected) << "case " << i;

    // Long texts switch to the escaped lengths.
    std::vector<BYTE> longText = Store([](CArchive& ar) { ar << CString(L'y', 0x10000); });
    EXPECT_EQ(std::vector<BYTE>(longText.begin(), longText.begin() + 10),
              (std::vector<BYTE>{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}));
    CString back;
    EXPECT_EQ(Load(longText, [&](CArchive& ar) { ar >> back; }), -1);
    EXPECT_EQ(back.GetLength(), 0x10000);
}

TEST(Archive, RefusesWrongClassesSchemasAndIndexes)
{
    CLeaf leaf;
    std::vector<BYTE> leafStream = Store([&](CArchive& ar) { ar << &leaf; });
    std::vector<BYTE> otherSchema = leafStream;
    otherSchema[2] = 3;
    std::vector<BYTE> unknownName = leafStream;
    unknownName[7] = 'X';
    std::vector<BYTE> hugeName = leafStream;
    hugeName[4] = 0xFF;

    CNode node;
    std::vector<BYTE> nodeStream = Store([&](CArchive& ar) { ar << &node; });
    std::vector<BYTE> nodeOtherSchema = nodeStream;
    nodeOtherSchema[2] = 40;

    struct Case
    {
        const char* what;
        std::vector<BYTE> bytes;
        bool asNode;
        int expected;
    };
    const Case cases[] = {
        {"wrong class", leafStream, true, CArchiveException::badClass},
        {"unknown class", unknownName, false, CArchiveException::badClass},
        {"over-long class name", hugeName, false, CArchiveException::badClass},
        {"other schema", otherSchema, false, CArchiveException::badSchema},
        {"versionable accepts any schema", nodeOtherSchema, true, -1},
        {"class index never defined", {0x05, 0x80}, false, CArchiveException::badIndex},
        {"object index never defined", {0x09, 0x00}, false, CArchiveException::badIndex},
        {"big class index never defined", {0xFF, 0x7F, 0x00, 0x90, 0x00, 0x80}, false, CArchiveException::badIndex},
        {"class index naming an object",
         {0xFF, 0xFF, 0x02, 0x00, 0x05, 0x00, 'C', 'L', 'e', 'a', 'f', 0x22, 0x11, 0x02, 0x80},
         false,
         CArchiveException::badIndex},
    };
    for (const Case& c : cases)
    {
        UINT schema = 0;
        int cause = Load(c.bytes, [&](CArchive& ar) {
            CObject* first = nullptr;
            if (c.asNode)
            {
                CNode* pNode = nullptr;
                ar >> pNode;
                schema = pNode ? pNode->m_nSchema : 0;
                first = pNode;
            }
            else
                ar >> first;
            std::unique_ptr<CObject> owner(first);
            if (!c.asNode)
            {
                CObject* second = nullptr;
                ar >> second;
            }
        });
        EXPECT_EQ(cause, c.expected) << c.what;
        if (c.expected == -1)
            EXPECT_EQ(schema, 40u) << c.what;
        EXPECT_EQ(g_liveObjects, 2) << c.what; // only the two stored here
    }
}

TEST(Archive, LargeIndexesUseTheEscapedForm)
{
    const int kCount = 0x8001;
    std::vector<CLeaf> leaves(kCount);
    CNode nodeA, nodeB;
    std::vector<BYTE> bytes = Store([&](CArchive& ar) {
        for (CLeaf& leaf : leaves)
            ar << &leaf;
        ar << &nodeA << &nodeB << &leaves[kCount - 1];
    });
    CObject* last = nullptr;
    std::vector<CObject*> loaded;
    int cause = Load(bytes, [&](CArchive& ar) {
        for (int i = 0; i < kCount; ++i)
        {
            CObject* p = nullptr;
            ar >> p;
            loaded.push_back(p);
        }
        CNode* a = nullptr;
        CNode* b = nullptr;
        ar >> a >> b;
        loaded.push_back(a);
        loaded.push_back(b);
        ar >> last;
    });
    EXPECT_EQ(cause, -1);
    ASSERT_EQ(loaded.size(), size_t(kCount + 2));
    EXPECT_EQ(last, loaded[kCount - 1]);
    EXPECT_TRUE(loaded[kCount + 1]->IsKindOf(RUNTIME_CLASS(CNode)));
    for (CObject* p : loaded)
        delete p;
}

TEST(Archive, DirectionFlushAndFiles)
{
    CMemFile memory;
    {
        CArchive ar(&memory, CArchive::store);
        int value = 0;
        bool threw = false;
        try
        {
            ar >> value;
        }
        catch (CArchiveException* e)
        {
            threw = e->m_cause == CArchiveException::writeOnly;
            e->Delete();
        }
        EXPECT_TRUE(threw);
        ar << 1;
    }
    EXPECT_EQ(memory.GetLength(), 4u);
    memory.SeekToBegin();
    {
        CArchive ar(&memory, CArchive::load);
        bool threw = false;
        try
        {
            ar << 2;
        }
        catch (CArchiveException* e)
        {
            threw = e->m_cause == CArchiveException::readOnly;
            e->Delete();
        }
        EXPECT_TRUE(threw);
    }

    // A file-backed archive larger than its buffer; a loading archive gives its read-ahead back.
    std::string dir = rwtest::ScratchDir("archive");
    CString path = CString(rwtest::ToWin32Path(dir).c_str()) + L"\\data.bin";
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        for (int i = 0; i < 5000; ++i)
            ar << i;
        ar.Close();
        EXPECT_EQ(file.GetLength(), 20000u);
    }
    {
        CFile file(path, CFile::modeRead);
        CArchive ar(&file, CArchive::load);
        EXPECT_EQ(ar.GetFile(), &file);
        EXPECT_TRUE(ar.IsLoading());
        int a = 0, b = 0;
        ar >> a >> b;
        EXPECT_EQ(b, 1);
        ar.Flush();
        EXPECT_EQ(file.GetPosition(), 8u);
        std::vector<int> rest(4998);
        EXPECT_EQ(ar.Read(rest.data(), UINT(rest.size() * sizeof(int))), rest.size() * sizeof(int));
        EXPECT_EQ(rest[4997], 4999);
        EXPECT_EQ(ar.Read(&a, sizeof(a)), 0u);
        ar.Close();
    }
    {
        // An aborted archive writes nothing.
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        ar << 42;
        ar.Abort();
        EXPECT_EQ(file.GetLength(), 0u);
    }
}
