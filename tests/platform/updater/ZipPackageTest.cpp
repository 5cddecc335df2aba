#include "RwTest.h"

#include "TestZip.h"
#include "platform/mfc/Mfc.h"
#include "platform/updater/ZipPackage.h"

#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

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

namespace
{
void Put16(std::string& bytes, unsigned value)
{
    bytes += char(value & 0xFF);
    bytes += char((value >> 8) & 0xFF);
}

void Put32(std::string& bytes, unsigned long value)
{
    Put16(bytes, unsigned(value & 0xFFFF));
    Put16(bytes, unsigned((value >> 16) & 0xFFFF));
}

// One entry of a hand-built archive: its stored bytes as given, with whatever method, checksum
// and unpacked size it claims.
struct RawEntry
{
    std::string name;
    unsigned method;
    unsigned long crc;
    unsigned long declaredSize;
    std::string data;
};

// A ZIP archive whose headers say exactly what the entries claim.
std::string RawZip(const std::vector<RawEntry>& entries)
{
    std::string bytes, central;
    for (const RawEntry& e : entries)
    {
        const size_t offset = bytes.size();
        std::string common;
        Put16(common, 20); // version needed
        Put16(common, 0);  // flags
        Put16(common, e.method);
        Put32(common, 0); // time and date
        Put32(common, e.crc);
        Put32(common, e.data.size());
        Put32(common, e.declaredSize);
        Put16(common, unsigned(e.name.size()));
        Put16(common, 0); // extra field
        bytes += std::string("PK\x03\x04", 4) + common + e.name + e.data;
        central += std::string("PK\x01\x02", 4);
        Put16(central, 20); // made by
        central += common;
        Put16(central, 0); // comment
        Put16(central, 0); // disk
        Put16(central, 0); // internal attributes
        Put32(central, 0); // external attributes
        Put32(central, offset);
        central += e.name;
    }
    const size_t centralOffset = bytes.size();
    bytes += central + std::string("PK\x05\x06", 4);
    Put32(bytes, 0); // disks
    Put16(bytes, unsigned(entries.size()));
    Put16(bytes, unsigned(entries.size()));
    Put32(bytes, central.size());
    Put32(bytes, centralOffset);
    Put16(bytes, 0);
    return bytes;
}

std::string RawDeflate(const std::string& data)
{
    z_stream stream = {};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, uLong(data.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

unsigned long Crc(const std::string& data)
{
    return crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(data.data()), uInt(data.size()));
}
} // namespace

TEST(ZipPackageTest, RefusesEntriesThatUnpackToOtherBytesThanDeclared)
{
    const std::string dir = rwtest::ScratchDir("ZipPackageDeclared");
    const std::string program = dir + "/program";
    ::mkdir(program.c_str(), 0755);
    WriteUnix(program + "/a.txt", "old a");
    WriteUnix(program + "/b.txt", "old b");
    const std::map<std::string, std::string> before = Snapshot(program);
    const std::string bomb(10 * 1024 * 1024, 'x');
    const unsigned kStored = 0, kDeflated = 8, kBzip2 = 12;
    struct Case
    {
        const char* name;
        RawEntry entry;
    } cases[] = {
        // A bzip2 stream that ends at its header unpacks to nothing, whose checksum is 0.
        {"bzip2 header only", {"a.txt", kBzip2, 0, 5, "BZh9"}},
        {"more than declared", {"a.txt", kDeflated, Crc(bomb), 100, RawDeflate(bomb)}},
        {"fewer than declared", {"a.txt", kDeflated, Crc("new a"), 50, RawDeflate("new a")}},
        {"wrong checksum", {"a.txt", kStored, Crc("new a") ^ 1, 5, "new a"}},
        {"wrong checksum deflated", {"a.txt", kDeflated, Crc("new a") ^ 1, 5, RawDeflate("new a")}},
    };
    for (const Case& c : cases)
    {
        const std::string zipPath = dir + "/package.zip";
        WriteUnix(zipPath, RawZip({{"b.txt", kStored, Crc("new b"), 5, "new b"}, c.entry}));
        CZipPackage package;
        ASSERT_TRUE(package.Load(Win32(zipPath))) << c.name;
        EXPECT_FALSE(package.ApplyTo(Win32(program))) << c.name;
        // Compared whole but not printed: a wrong result may hold megabytes.
        EXPECT_TRUE(before == Snapshot(program)) << c.name << ": " << package.GetError();
        WriteUnix(program + "/a.txt", "old a");
        WriteUnix(program + "/b.txt", "old b");
    }

    // The same archive with honest headers applies.
    WriteUnix(dir + "/honest.zip", RawZip({{"b.txt", kStored, Crc("new b"), 5, "new b"},
                                           {"a.txt", kDeflated, Crc("new a"), 5, RawDeflate("new a")}}));
    CZipPackage honest;
    ASSERT_TRUE(honest.Load(Win32(dir + "/honest.zip")));
    ASSERT_TRUE(honest.ApplyTo(Win32(program))) << honest.GetError();
    EXPECT_EQ("new a", ReadUnix(program + "/a.txt"));
    EXPECT_EQ("new b", ReadUnix(program + "/b.txt"));
}

TEST(ZipPackageTest, ReplacesReadOnlyFilesWithoutLeavingBackups)
{
    const std::string dir = rwtest::ScratchDir("ZipPackageReadOnly");
    const std::string program = dir + "/program";
    ::mkdir(program.c_str(), 0755);
    WriteUnix(program + "/b.txt", "old b");
    ASSERT_EQ(0, ::chmod((program + "/b.txt").c_str(), 0444));
    ASSERT_TRUE(::GetFileAttributesW(Win32(program + "/b.txt")) & FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(rwtest::WriteZip(dir + "/package.zip", {{"b.txt", "new b"}}));

    CZipPackage package;
    ASSERT_TRUE(package.Load(Win32(dir + "/package.zip")));
    ASSERT_TRUE(package.ApplyTo(Win32(program))) << package.GetError();
    const std::map<std::string, std::string> expected = {{"", "<folder>"}, {"/b.txt", "new b"}};
    EXPECT_EQ(expected, Snapshot(program));
    EXPECT_EQ("", package.GetLeftovers());
}
