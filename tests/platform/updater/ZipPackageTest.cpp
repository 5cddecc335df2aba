#include "RwTest.h"

#include "TestZip.h"
#include "platform/mfc/Mfc.h"
#include "platform/updater/ZipPackage.h"

#include <cstdio>

namespace
{
std::string ReadUnix(const std::string& path)
{
    std::string content;
    if (FILE* f = std::fopen(path.c_str(), "rb"))
    {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
            content.append(buffer, n);
        std::fclose(f);
    }
    return content;
}

bool Exists(const std::string& path)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f)
        std::fclose(f);
    return f != nullptr;
}

CString Win32(const std::string& unixPath)
{
    return CString(rwtest::ToWin32Path(unixPath).c_str());
}
} // namespace

TEST(ZipPackageTest, TakesOnlyNamesBelowTheFolder)
{
    struct Case
    {
        const char* name;
        bool safe;
    } cases[] = {
        {"readme.txt", true},
        {"lang/Extra.xml", true},
        {"lang\\Extra.xml", true},
        {"lang/", true},
        {"a/b/c/d.bin", true},
        {"..x/y", true},
        {"", false},
        {"../x.exe", false},
        {"..\\..\\x.exe", false},
        {"a/../../x", false},
        {"a/..", false},
        {"/etc/passwd", false},
        {"\\windows\\x", false},
        {"C:\\x.exe", false},
        {"C:x.exe", false},
        {"a//b", false},
        {"./x", false},
        {"a/./x", false},
        {"x\x01y", false},
        {"a/b?", false},
        {"file.txt:stream", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.safe, CZipPackage::IsSafeEntryName(c.name)) << c.name;
}

TEST(ZipPackageTest, AppliesAWholePackageOrNothing)
{
    const std::string dir = rwtest::ScratchDir("ZipPackageApply");
    const std::string good = dir + "/good.zip";
    ASSERT_TRUE(rwtest::WriteZip(good, {{"readme.txt", "new readme"},
                                        {"lang/", ""},
                                        {"lang/Extra.xml", "<langfile/>"},
                                        {"deep/er/file.bin", std::string(100000, 'd')}}));
    const std::string program = dir + "/program";
    ::CreateDirectoryW(Win32(program), nullptr);
    FILE* old = std::fopen((program + "/readme.txt").c_str(), "wb");
    std::fputs("old readme", old);
    std::fclose(old);

    CZipPackage package;
    ASSERT_TRUE(package.Load(Win32(good)));
    ASSERT_TRUE(package.ApplyTo(Win32(program))) << package.GetError();
    EXPECT_EQ("new readme", ReadUnix(program + "/readme.txt"));
    EXPECT_EQ("<langfile/>", ReadUnix(program + "/lang/Extra.xml"));
    EXPECT_EQ(std::string(100000, 'd'), ReadUnix(program + "/deep/er/file.bin"));
    EXPECT_FALSE(Exists(program + "/readme.txt.rwnew"));

    // One hostile entry refuses the package before anything is written.
    const char* hostile[] = {"../escape.txt", "sub/../../escape.txt", "/tmp/escape.txt", "C:\\escape.txt"};
    for (const char* name : hostile)
    {
        const std::string evil = dir + "/evil.zip";
        ASSERT_TRUE(rwtest::WriteZip(evil, {{"first.txt", "changed"}, {name, "outside"}}));
        CZipPackage refused;
        ASSERT_TRUE(refused.Load(Win32(evil)));
        EXPECT_FALSE(refused.ApplyTo(Win32(program))) << name;
        EXPECT_FALSE(Exists(program + "/first.txt")) << name;
        EXPECT_FALSE(Exists(dir + "/escape.txt")) << name;
    }

    // Not an archive at all, or no file.
    FILE* junk = std::fopen((dir + "/junk.zip").c_str(), "wb");
    std::fputs("this is not a zip archive", junk);
    std::fclose(junk);
    CZipPackage broken;
    EXPECT_FALSE(broken.Load(Win32(dir + "/junk.zip")));
    EXPECT_FALSE(broken.Load(Win32(dir + "/missing.zip")));
    EXPECT_FALSE(broken.ApplyTo(Win32(program)));
}
