#include "RwTest.h"

#include "TestZip.h"
#include "platform/mfc/Mfc.h"
#include "platform/updater/ZipPackage.h"

#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>

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

namespace
{
// Every path below the folder with its content ("<folder>" for folders, "<link>" and the target
// for links), so that a refused package can be shown to have changed nothing.
std::map<std::string, std::string> g_snapshot;
std::string g_snapshotRoot;

int TakeEntry(const char* path, const struct stat* st, int type, struct FTW*)
{
    std::string content;
    if (type == FTW_SL)
    {
        char target[4096] = {};
        content = "<link>" + std::string(target, std::max<ssize_t>(0, ::readlink(path, target, sizeof target - 1)));
    }
    else if (S_ISDIR(st->st_mode))
        content = "<folder>";
    else
        content = ReadUnix(path);
    g_snapshot[std::string(path).substr(g_snapshotRoot.size())] = content;
    return 0;
}

std::map<std::string, std::string> Snapshot(const std::string& folder)
{
    g_snapshot.clear();
    g_snapshotRoot = folder;
    ::nftw(folder.c_str(), TakeEntry, 16, FTW_PHYS);
    return g_snapshot;
}

void WriteUnix(const std::string& path, const std::string& content)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f != nullptr) << path;
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
}

// Changes a byte of an entry's stored data (found after its local header), or the compression
// method in both of its headers.
void Damage(const std::string& zipPath, const std::string& name, bool method)
{
    std::string bytes = ReadUnix(zipPath);
    const size_t local = bytes.find("PK\x03\x04");
    size_t header = local;
    while (header != std::string::npos && bytes.compare(header + 30, name.size(), name) != 0)
        header = bytes.find("PK\x03\x04", header + 4);
    ASSERT_NE(std::string::npos, header) << name;
    if (method)
    {
        bytes[header + 8] = 97; // no such method
        const size_t central = bytes.find("PK\x01\x02");
        for (size_t at = central; at != std::string::npos; at = bytes.find("PK\x01\x02", at + 4))
            if (bytes.compare(at + 46, name.size(), name) == 0)
                bytes[at + 10] = 97;
    }
    else
    {
        const size_t nameLength = size_t((unsigned char)bytes[header + 26]) | size_t((unsigned char)bytes[header + 27])
                                                                                  << 8;
        const size_t extraLength = size_t((unsigned char)bytes[header + 28]) | size_t((unsigned char)bytes[header + 29])
                                                                                   << 8;
        bytes[header + 30 + nameLength + extraLength + 10] ^= 0x55;
    }
    WriteUnix(zipPath, bytes);
}
} // namespace

TEST(ZipPackageTest, RefusedPackagesLeaveTheProgramFolderAsItWas)
{
    const std::string dir = rwtest::ScratchDir("ZipPackageRefused");
    const std::string program = dir + "/program", outside = dir + "/outside";
    ::mkdir(program.c_str(), 0755);
    ::mkdir(outside.c_str(), 0755);
    ::mkdir((program + "/lang").c_str(), 0755);
    ::mkdir((program + "/plugins.dll").c_str(), 0755);
    WriteUnix(program + "/reelwright.exe", "old program");
    WriteUnix(program + "/lang/English.xml", "old language");
    WriteUnix(outside + "/victim.txt", "outside");
    ASSERT_EQ(0, ::symlink(outside.c_str(), (program + "/linked").c_str()));
    ASSERT_EQ(0, ::symlink((outside + "/victim.txt").c_str(), (program + "/notes.txt").c_str()));
    const std::map<std::string, std::string> before = Snapshot(program), outsideBefore = Snapshot(outside);
    const std::string big(300000, 'z'); // deflates to a few hundred bytes

    struct Case
    {
        const char* name;
        rwtest::ZipEntries entries;
        const char* damaged; // entry whose data is damaged, or null
        bool method;         // damage the compression method instead
    } cases[] = {
        // Write failures in the middle of the package: the earlier entries are not kept.
        {"crc",
         {{"reelwright.exe", "new program"}, {"lang/English.xml", big}, {"z.txt", "new"}},
         "lang/English.xml",
         false},
        {"method", {{"reelwright.exe", "new program"}, {"a.bin", big}, {"z.txt", "new"}}, "a.bin", true},
        {"folder", {{"reelwright.exe", "new program"}, {"plugins.dll", "a file"}, {"z.txt", "new"}}, nullptr, false},
        {"long", {{"reelwright.exe", "new program"}, {std::string(1100, 'n'), "x"}}, nullptr, false},
        // Refused as a whole.
        {"case", {{"reelwright.exe", "new program"}, {"REELWRIGHT.EXE", "other"}}, nullptr, false},
        {"fileasfolder", {{"reelwright.exe", "new program"}, {"Reelwright.exe/x", "other"}}, nullptr, false},
        {"staged", {{"reelwright.exe", "new program"}, {"reelwright.exe.rwnew", "mine"}}, nullptr, false},
        {"backup", {{"lang/x.RWOLD", "mine"}}, nullptr, false},
        {"folders", {{"lang/", ""}, {"new/", ""}}, nullptr, false},
        {"link", {{"reelwright.exe", "new program"}, {"linked/victim.txt", "changed"}}, nullptr, false},
        {"filelink", {{"reelwright.exe", "new program"}, {"notes.txt", "changed"}}, nullptr, false},
        {"count", {{"1", "1"}, {"2", "2"}, {"3", "3"}, {"4", "4"}}, nullptr, false},
        {"size", {{"reelwright.exe", "new program"}, {"huge.bin", std::string(2000000, 0)}}, nullptr, false},
    };
    for (const Case& c : cases)
    {
        const std::string zipPath = dir + "/" + c.name + ".zip";
        ASSERT_TRUE(rwtest::WriteZip(zipPath, c.entries)) << c.name;
        if (c.damaged)
            Damage(zipPath, c.damaged, c.method);
        CZipPackage package;
        package.SetLimits(1000000, 3);
        if (!package.Load(Win32(zipPath)))
        {
            EXPECT_TRUE(c.damaged) << c.name; // a damage the reader already sees is refused as well
            continue;
        }
        EXPECT_FALSE(package.ApplyTo(Win32(program))) << c.name;
        EXPECT_STRNE("", package.GetError()) << c.name;
        EXPECT_EQ(before, Snapshot(program)) << c.name << ": " << package.GetError();
        EXPECT_EQ(outsideBefore, Snapshot(outside)) << c.name;
    }

    // An archive without entries.
    const std::string emptyZip = dir + "/empty.zip";
    WriteUnix(emptyZip, std::string("PK\x05\x06", 4) + std::string(18, '\0'));
    CZipPackage empty;
    EXPECT_FALSE(empty.Load(Win32(emptyZip)) && empty.ApplyTo(Win32(program)));
    EXPECT_EQ(before, Snapshot(program));

    // Within the limits, the same kind of package applies, and leaves no backup behind.
    ASSERT_TRUE(rwtest::WriteZip(dir + "/fine.zip", {{"reelwright.exe", "new program"}, {"lang/English.xml", big}}));
    CZipPackage fine;
    ASSERT_TRUE(fine.Load(Win32(dir + "/fine.zip")));
    ASSERT_TRUE(fine.ApplyTo(Win32(program))) << fine.GetError();
    std::map<std::string, std::string> after = before;
    after["/reelwright.exe"] = "new program";
    after["/lang/English.xml"] = big;
    EXPECT_EQ(after, Snapshot(program));
}
