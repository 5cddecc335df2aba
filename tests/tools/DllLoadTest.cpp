#include "RwTest.h"

TEST(DllLoad, LoadsFromFullPathAndFindsExport)
{
    std::string path = rwtest::ToWin32Path(std::string(RW_BINARY_DIR) + "/tests/probe/rwprobe.dll");
    ASSERT_FALSE(path.empty());
    HMODULE module = ::LoadLibraryA(path.c_str());
    ASSERT_NE(module, nullptr) << "error " << ::GetLastError() << " loading " << path;
    typedef int(WINAPI * ProbeFn)();
    ProbeFn fn = reinterpret_cast<ProbeFn>(::GetProcAddress(module, "ProbeAnswer"));
    ASSERT_NE(fn, nullptr);
    EXPECT_EQ(fn(), 4242);
    EXPECT_EQ(::GetProcAddress(module, "NoSuchExport"), nullptr);
    ::FreeLibrary(module);
}

TEST(DllLoad, MissingFileFails)
{
    std::string path = rwtest::ToWin32Path(std::string(RW_BINARY_DIR) + "/tests/probe/absent.dll");
    EXPECT_EQ(::LoadLibraryA(path.c_str()), nullptr);
}
