#include "RwTest.h"

#include "CoreTestUtil.h"
#include "app/core/FileMD5.h"

using coretest::WinPath;
using coretest::WriteFile;

namespace
{
std::string Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = char(((i * 31 + 7) ^ (i >> 11)) & 0xFF);
    return bytes;
}

CString DigestOf(const std::string& dir, const std::string& name, const std::string& content)
{
    const std::string path = dir + "/" + name;
    WriteFile(path, content);
    FileMD5 md5;
    md5.Compute(WinPath(path));
    EXPECT_TRUE(md5.IsOk()) << name << ": " << md5.GetMessage();
    EXPECT_EQ(UINT64(content.size()), md5.GetByteCount());
    return md5.GetDigest();
}
} // namespace

TEST(FileMD5Test, GivesTheStandardDigests)
{
    const std::string dir = rwtest::ScratchDir("FileMD5Digests");
    struct Case
    {
        std::string content;
        const WCHAR* digest;
    } cases[] = {
        // The test suite of RFC 1321.
        {"", L"d41d8cd98f00b204e9800998ecf8427e"},
        {"a", L"0cc175b9c0f1b6a831c399e269772661"},
        {"abc", L"900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", L"f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", L"c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", L"d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         L"57edf4a22be3c955ac49da2e2107b67a"},
        // Around the block size: the pad byte and the length in one block, or a block of their own.
        {Pattern(63), L"2f0301069e1c40af7f6c8f843b1b13f2"},
        {Pattern(64), L"b6bf87c24b1bc334e2541387a92b981b"},
        {Pattern(65), L"f168246f08b6134d66bd2a10343fa9f1"},
        // One object, two files in turn: nothing of the first stays.
        {Pattern(10), L"f07c9050cdd8ccd95e03fb23dabfaaeb"},
        {Pattern(128), L"3e85b70ffc8df5c735ecf2a8f14f1bee"},
        // Several megabytes, read in many chunks with messages dispatched on the way.
        {Pattern(3 * 1024 * 1024 + 17), L"4993ce39ccd6f148cb400d2521af3d53"},
    };
    int index = 0;
    for (const Case& c : cases)
        EXPECT_EQ(CString(c.digest), DigestOf(dir, "f" + std::to_string(index++), c.content)) << c.content.size();

    FileMD5 reused;
    for (int i : {10, 11})
    {
        const std::string path = dir + "/f" + std::to_string(i);
        reused.Compute(WinPath(path));
        EXPECT_EQ(CString(cases[i].digest), reused.GetDigest());
    }
}

TEST(FileMD5Test, ReportsTheFirstFailure)
{
    FileMD5 md5;
    md5.Compute(L"");
    EXPECT_FALSE(md5.IsOk());
    EXPECT_EQ(CString(L"Have not assign a file !"), md5.GetMessage());
    EXPECT_TRUE(md5.GetDigest().IsEmpty());

    FileMD5 missing;
    missing.Compute(L"Z:\\no\\x.bin");
    EXPECT_FALSE(missing.IsOk());
    EXPECT_EQ(CString(L"Can not open the file [ Z:\\no\\x.bin ] !"), missing.GetMessage());

    // A long path is cut with the message, which holds at most 49 characters.
    const std::string dir = rwtest::ScratchDir("FileMD5Failure");
    const CString longPath = WinPath(dir) + L"\\" + CString(L'x', 40);
    missing.Compute(longPath);
    EXPECT_EQ(int(FileMD5::kMessageCapacity), missing.GetMessage().GetLength());
    EXPECT_EQ(0, missing.GetMessage().Find(L"Can not open the file [ "));
}

TEST(FileMD5Test, KeepsAQuitMessageForTheMessageLoop)
{
    const std::string dir = rwtest::ScratchDir("FileMD5Quit");
    WriteFile(dir + "/big", Pattern(2 * 1024 * 1024));
    ::PostQuitMessage(7);
    FileMD5 md5;
    md5.Compute(WinPath(dir + "/big"));
    EXPECT_TRUE(md5.IsOk());
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(WPARAM(7), msg.wParam);
}
