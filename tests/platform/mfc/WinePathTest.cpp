#include "RwTest.h"

#include "platform/mfc/Mfc.h"

#include <string>

namespace
{
CStringW FromUtf8(const std::string& text)
{
    WCHAR buffer[1024];
    int n = ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), int(text.size()), buffer, _countof(buffer));
    return CStringW(buffer, n);
}

bool EndsWith(const CStringA& text, const char* tail)
{
    CStringA end(tail);
    return text.GetLength() >= end.GetLength() && text.Right(end.GetLength()) == end;
}
} // namespace

TEST(WinePath, ConvertsBothWays)
{
    // A folder name outside ASCII: Unix paths are UTF-8 bytes whatever the ANSI code page is.
    std::string dir = rwtest::ScratchDir("wine p\xc3\xa4th");
    CStringW win32 = FromUtf8(rwtest::ToWin32Path(dir));
    ASSERT_FALSE(win32.IsEmpty());

    CStringA unixPath = AfxToUnixPath(win32);
    EXPECT_EQ(std::string(unixPath.GetString()), dir);
    EXPECT_EQ(AfxFromUnixPath(dir.c_str()), win32);
    EXPECT_EQ(std::string(AfxToUnixPath(AfxFromUnixPath(dir.c_str())).GetString()), dir);

    CStringA ansi(AfxFromUnixPath(rwtest::ScratchDir("plain").c_str()));
    EXPECT_TRUE(EndsWith(AfxToUnixPathA(ansi), "/scratch/plain"));
    EXPECT_TRUE(EndsWith(AfxToUnixPath(L"C:\\windows\\win.ini"), "/windows/win.ini"));

    EXPECT_TRUE(AfxToUnixPath(L"").IsEmpty());
    EXPECT_TRUE(AfxToUnixPath(nullptr).IsEmpty());
    EXPECT_TRUE(AfxFromUnixPath("").IsEmpty());
    EXPECT_TRUE(AfxFromUnixPath(nullptr).IsEmpty());
}
