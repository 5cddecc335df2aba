// Exceptions of the window layer's callers: OLE failures carry their status code, missing
// resources have their own type, and a failed `new` on a framework thread throws the framework's
// memory exception while other threads keep std::bad_alloc.
#include "RwTest.h"

#include <new>

#include "MfcTestApp.h"

namespace
{
// Far beyond what the process can get: every allocation of this size fails.
volatile size_t g_hugeSize = (size_t)1 << 62;

enum class Outcome
{
    none,
    memoryException,
    badAlloc,
    other
};

Outcome AllocateHuge()
{
    try
    {
        char* p = new char[g_hugeSize];
        delete[] p;
        return Outcome::none;
    }
    catch (CException* e)
    {
        Outcome outcome = e->IsKindOf(RUNTIME_CLASS(CMemoryException)) ? Outcome::memoryException : Outcome::other;
        e->Delete();
        return outcome;
    }
    catch (const std::bad_alloc&)
    {
        return Outcome::badAlloc;
    }
}

DWORD WINAPI AllocateOnPlainThread(LPVOID param)
{
    *static_cast<Outcome*>(param) = AllocateHuge();
    return 0;
}

TEST(Exceptions, OleExceptionsCarryTheirStatusCode)
{
    try
    {
        AfxThrowOleException(E_ACCESSDENIED);
    }
    catch (CException* e)
    {
        ASSERT_TRUE(e->IsKindOf(RUNTIME_CLASS(COleException)));
        EXPECT_EQ(E_ACCESSDENIED, static_cast<COleException*>(e)->m_sc);
        EXPECT_EQ(E_ACCESSDENIED, COleException::Process(e));
        wchar_t text[256] = {0};
        EXPECT_TRUE(e->GetErrorMessage(text, 256));
        EXPECT_GT(::lstrlenW(text), 0);
        e->Delete();
    }
    CMemoryException memory(FALSE);
    EXPECT_EQ(E_OUTOFMEMORY, COleException::Process(&memory));
    CNotSupportedException unsupported(FALSE);
    EXPECT_EQ(E_NOTIMPL, COleException::Process(&unsupported));
    EXPECT_EQ(E_UNEXPECTED, COleException::Process(nullptr));
}

TEST(Exceptions, AMissingResourceHasItsOwnException)
{
    try
    {
        AfxThrowResourceException();
    }
    catch (CException* e)
    {
        EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CResourceException)));
        wchar_t text[128] = {0};
        EXPECT_TRUE(e->GetErrorMessage(text, 128));
        EXPECT_EQ("A required resource was unavailable.", Narrow(text));
        e->Delete();
    }
}

TEST(Exceptions, AFailedNewThrowsTheMemoryExceptionOnFrameworkThreadsOnly)
{
    TestApp(); // installs the framework's new handler; this thread is the application's
    EXPECT_EQ(Outcome::memoryException, AllocateHuge());

    Outcome plain = Outcome::none;
    HANDLE thread = ::CreateThread(nullptr, 0, AllocateOnPlainThread, &plain, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread, 10000));
    ::CloseHandle(thread);
    EXPECT_EQ(Outcome::badAlloc, plain);

    // The nothrow form still answers null.
    char* p = new (std::nothrow) char[g_hugeSize];
    EXPECT_EQ(nullptr, p);
}
} // namespace
