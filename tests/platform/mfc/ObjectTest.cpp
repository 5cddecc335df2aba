#include "RwTest.h"

#include "platform/mfc/Mfc.h"

#include <cstring>

namespace
{
class CShape : public CObject
{
    DECLARE_SERIAL(CShape)
};
IMPLEMENT_SERIAL(CShape, CObject, VERSIONABLE_SCHEMA | 33)

class CCircle : public CShape
{
    DECLARE_DYNCREATE(CCircle)
  public:
    int radius = 3;
};
IMPLEMENT_DYNCREATE(CCircle, CShape)

class CAbstractThing : public CObject
{
    DECLARE_DYNAMIC(CAbstractThing)
};
IMPLEMENT_DYNAMIC(CAbstractThing, CObject)
} // namespace

TEST(RuntimeClass, RecordsNameSizeSchemaAndBase)
{
    const CRuntimeClass* shape = RUNTIME_CLASS(CShape);
    EXPECT_STREQ(shape->m_lpszClassName, "CShape");
    EXPECT_EQ(shape->m_nObjectSize, int(sizeof(CShape)));
    EXPECT_EQ(shape->m_wSchema, 0x80000021u);
    EXPECT_EQ(shape->m_pBaseClass, RUNTIME_CLASS(CObject));
    EXPECT_EQ(RUNTIME_CLASS(CCircle)->m_wSchema, 0xFFFFu);
    EXPECT_TRUE(RUNTIME_CLASS(CCircle)->IsDerivedFrom(RUNTIME_CLASS(CShape)));
    EXPECT_TRUE(RUNTIME_CLASS(CCircle)->IsDerivedFrom(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(RUNTIME_CLASS(CShape)->IsDerivedFrom(RUNTIME_CLASS(CCircle)));
    EXPECT_FALSE(RUNTIME_CLASS(CAbstractThing)->IsDerivedFrom(RUNTIME_CLASS(CShape)));
}

TEST(RuntimeClass, FindsRegisteredClassesByExactName)
{
    struct Case
    {
        const char* name;
        CRuntimeClass* expected;
    };
    const Case cases[] = {
        {"CShape", RUNTIME_CLASS(CShape)},
        {"CCircle", RUNTIME_CLASS(CCircle)},
        {"CAbstractThing", RUNTIME_CLASS(CAbstractThing)},
        {"CObject", RUNTIME_CLASS(CObject)},
        {"CFileException", RUNTIME_CLASS(CFileException)},
        {"cshape", nullptr},
        {"CShape ", nullptr},
        {"CSha", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CRuntimeClass::FromName(c.name), c.expected) << c.name;
    EXPECT_EQ(CRuntimeClass::FromName(L"CCircle"), RUNTIME_CLASS(CCircle));
    EXPECT_EQ(CRuntimeClass::FromName(static_cast<LPCSTR>(nullptr)), nullptr);
}

TEST(RuntimeClass, CreatesObjectsOfCreatableClassesOnly)
{
    CObject* made = CRuntimeClass::CreateObject("CCircle");
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CShape)));
    EXPECT_EQ(made->GetRuntimeClass(), RUNTIME_CLASS(CCircle));
    CCircle* circle = DYNAMIC_DOWNCAST(CCircle, made);
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(circle->radius, 3);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CAbstractThing, made), nullptr);
    EXPECT_EQ(STATIC_DOWNCAST(CShape, made), made);
    EXPECT_FALSE(made->IsSerializable());
    delete made;

    CObject* shape = RUNTIME_CLASS(CShape)->CreateObject();
    ASSERT_NE(shape, nullptr);
    EXPECT_TRUE(shape->IsSerializable());
    delete shape;
    EXPECT_EQ(RUNTIME_CLASS(CAbstractThing)->CreateObject(), nullptr);
    EXPECT_EQ(CRuntimeClass::CreateObject("CNoSuchClass"), nullptr);
}

TEST(Exceptions, ThrownAsPointersWithCausesAndMessages)
{
    struct Case
    {
        void (*thrower)();
        CRuntimeClass* expectedClass;
        const char* messagePart;
    };
    const Case cases[] = {
        {[] { AfxThrowFileException(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, L"C:\\x.txt"); },
         RUNTIME_CLASS(CFileException), "C:\\x.txt was not found."},
        {[] { AfxThrowArchiveException(CArchiveException::endOfFile, L"a.bin"); }, RUNTIME_CLASS(CArchiveException),
         "Unexpected end of file while reading a.bin."},
        {[] { AfxThrowArchiveException(CArchiveException::badClass); }, RUNTIME_CLASS(CArchiveException),
         "an unnamed file contains an unexpected object."},
        {AfxThrowMemoryException, RUNTIME_CLASS(CMemoryException), "Out of memory."},
        {AfxThrowNotSupportedException, RUNTIME_CLASS(CNotSupportedException), "unsupported"},
        {AfxThrowInvalidArgException, RUNTIME_CLASS(CInvalidArgException), "invalid argument"},
        {AfxThrowUserException, RUNTIME_CLASS(CUserException), ""},
    };
    for (const Case& c : cases)
    {
        CRuntimeClass* caught = nullptr;
        char message[256] = "unset";
        try
        {
            c.thrower();
        }
        catch (CException* e)
        {
            caught = e->GetRuntimeClass();
            WCHAR text[256];
            e->GetErrorMessage(text, _countof(text));
            ::WideCharToMultiByte(CP_ACP, 0, text, -1, message, sizeof(message), nullptr, nullptr);
            e->Delete();
        }
        EXPECT_EQ(caught, c.expectedClass);
        EXPECT_NE(std::strstr(message, c.messagePart), nullptr) << message;
    }

    // The cause numbers other code and stored results rely on.
    EXPECT_EQ(CArchiveException::none, 0);
    EXPECT_EQ(CArchiveException::genericException, 1);
    EXPECT_EQ(CArchiveException::readOnly, 2);
    EXPECT_EQ(CArchiveException::endOfFile, 3);
    EXPECT_EQ(CArchiveException::writeOnly, 4);
    EXPECT_EQ(CArchiveException::badIndex, 5);
    EXPECT_EQ(CArchiveException::badClass, 6);
    EXPECT_EQ(CArchiveException::badSchema, 7);
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_SHARING_VIOLATION), CFileException::sharingViolation);
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_PATH_NOT_FOUND), CFileException::badPath);
    EXPECT_EQ(CFileException::OsErrorToException(12345), CFileException::genericException);

    // A small buffer gets a cut, terminated message.
    CFileException shortBuffer(CFileException::diskFull, ERROR_DISK_FULL, L"file");
    WCHAR tiny[5];
    EXPECT_TRUE(shortBuffer.GetErrorMessage(tiny, _countof(tiny)));
    EXPECT_EQ(tiny[4], 0);
}
