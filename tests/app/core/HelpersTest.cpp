#include "RwTest.h"

#include "CoreTestUtil.h"
#include "app/core/Helpers.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

using coretest::WinPath;
using coretest::WriteFile;

namespace
{
bool IsUnixFile(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsUnixFolder(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The scratch paths are plain ASCII, so their UTF-8 form is their ANSI form.
std::string AnsiWinPath(const std::string& unixPath)
{
    return rwtest::ToWin32Path(unixPath);
}
} // namespace

TEST(HelpersTest, FormatsNumbersSizesAndDurations)
{
    struct IntCase
    {
        int value;
        const WCHAR* text;
    } thousands[] = {{1234567, L"1,234,567"}, {999, L"999"}, {1000, L"1,000"}, {0, L"0"}, {2147483647, L"2,147,483,647"}};
    for (const IntCase& c : thousands)
        EXPECT_EQ(CString(c.text), FormatThousands(c.value));

    struct SizeCase
    {
        INT64 bytes;
        const WCHAR* text;
    } sizes[] = {{1536, L"1.50 KB"},
                 {1023, L"1,023"},
                 {0, L"0 bytes"},
                 {-5, L"0 bytes"},
                 {1610612736, L"1.50 GB"},
                 {2147483647, L"2.00 GB"},
                 {1048576 * 1500LL, L"1.46 GB"},
                 {1048576 * 1023LL + 524288, L"1,023.50 MB"},
                 {1099511627776LL * 3, L"3,072.00 GB"}};
    for (const SizeCase& c : sizes)
        EXPECT_EQ(CString(c.text), FormatFileSize(c.bytes)) << c.bytes;

    struct DurationCase
    {
        int seconds;
        const WCHAR* text;
    } durations[] = {{3725, L"01:02:05"}, {360000, L"100:00:00"}, {0, L"00:00:00"}, {59, L"00:00:59"}};
    for (const DurationCase& c : durations)
        EXPECT_EQ(CString(c.text), FormatDuration(c.seconds));
}

TEST(HelpersTest, SplitsErrorEntriesAndHandsThemOver)
{
    CStringArray entries;
    EXPECT_EQ(1, AddErrorEntry(L"C:\\clip.avi", L"broken file", entries));
    ASSERT_EQ(1, (int)entries.GetSize());
    CString text = entries[0], first = L"old";
    SplitAtChar(first, text, kErrorEntrySeparator);
    EXPECT_EQ(CString(L"C:\\clip.avi"), first);
    EXPECT_EQ(CString(L"broken file"), text);
    text = L"no separator";
    SplitAtChar(first, text, L'|');
    EXPECT_EQ(CString(), first);
    EXPECT_EQ(CString(L"no separator"), text);

    static int calls;
    static CString shownFirst;
    calls = 0;
    g_errorListHandler = [](const CString&, const CString&, const CStringArray& shown) {
        ++calls;
        shownFirst = shown[0];
    };
    ShowErrorList(CStringArray());
    EXPECT_EQ(0, calls);
    ShowErrorList(entries);
    EXPECT_EQ(1, calls);
    EXPECT_EQ(entries[0], shownFirst);
    g_errorListHandler = nullptr;
}

TEST(HelpersTest, CreatesFoldersAndFindsFiles)
{
    const std::string dir = rwtest::ScratchDir("HelpersFolders");
    const CString deep = WinPath(dir) + L"\\one\\two\\three";
    EXPECT_TRUE(CreateDirectoryPath(deep));
    EXPECT_TRUE(IsUnixFolder(dir + "/one/two/three"));
    EXPECT_FALSE(CreateDirectoryPath(deep));
    EXPECT_FALSE(CreateDirectoryPath(L"nofolder"));

    WriteFile(dir + "/a.txt", "a");
    WriteFile(dir + "/one/b.txt", "b");
    WriteFile(dir + "/one/two/three/c.txt", "c");
    for (const CString& folder : {WinPath(dir), WinPath(dir) + L"\\", WinPath(dir) + L"\\\\"})
    {
        std::vector<CString> files = {L"kept"};
        EXPECT_EQ(3, FindFilesRecursive(folder, files)) << folder;
        ASSERT_EQ(4u, files.size());
        EXPECT_EQ(CString(L"kept"), files[0]);
    }
    std::vector<CString> none;
    EXPECT_EQ(-1, FindFilesRecursive(L"\\\\\\", none));

    // Links are not followed: two links to the parent would make the scan exponential.
    ASSERT_EQ(0, ::symlink(dir.c_str(), (dir + "/one/up").c_str()));
    ASSERT_EQ(0, ::symlink(dir.c_str(), (dir + "/one/two/up").c_str()));
    ASSERT_EQ(0, ::symlink((dir + "/one").c_str(), (dir + "/one/two/three/again").c_str()));
    std::vector<CString> linked;
    EXPECT_EQ(3, FindFilesRecursive(WinPath(dir), linked));
    EXPECT_EQ(3u, linked.size());
    EXPECT_EQ(-2, FindFilesRecursive(WinPath(dir) + L"\\missing", none));

    EXPECT_TRUE(FileExists(WinPath(dir + "/a.txt")));
    EXPECT_FALSE(FileExists(WinPath(dir) + L"\\nothing.txt"));
    EXPECT_TRUE(FileExists(WinPath(dir) + L"\\nofolder\\nothing.txt")); // not "file not found"
}

TEST(HelpersTest, UniqueNamesAreTakenAtOnce)
{
    const std::string dir = rwtest::ScratchDir("HelpersUnique");
    ::mkdir((dir + "/out.v2").c_str(), 0755);
    struct Case
    {
        const char* given;    // relative to the scratch folder
        const char* existing; // files made before the call, ";"-separated
        const char* chosen;
        bool segmented;
    } cases[] = {
        {"clip.mp4", "", "clip.mp4", false},
        {"clip.mp4", "clip.mp4", "clip (1).mp4", false},
        {"clip.mp4", "clip.mp4;clip (1).mp4", "clip (2).mp4", false},
        {"noext", "noext", "noext (1)", false},
        {"out.v2/clip", "out.v2/clip", "out.v2/clip (1)", false},
        {"out.v2/clip.avi", "out.v2/clip.avi", "out.v2/clip (1).avi", false},
        // A segmented job's name is taken while an earlier run's segments of it exist.
        {"clip.mp4", "clip - 01.mp4", "clip.mp4", false},
        {"clip.mp4", "clip - 01.mp4;clip - 02.mp4", "clip (1).mp4", true},
        {"clip.mp4", "clip - 01.mp4;clip (1) - 07.mp4", "clip (2).mp4", true},
        {"clip.mp4", "clip - 01.avi", "clip.mp4", true},
    };
    for (const Case& c : cases)
    {
        rwtest::ScratchDir("HelpersUnique/run");
        const std::string base = dir + "/run/";
        ::mkdir((base + "out.v2").c_str(), 0755);
        for (std::string rest = c.existing; !rest.empty();)
        {
            const size_t semi = rest.find(';');
            WriteFile(base + rest.substr(0, semi), "x");
            rest = semi == std::string::npos ? "" : rest.substr(semi + 1);
        }
        char buffer[MAX_PATH] = {};
        const std::string given = AnsiWinPath(base + c.given), expected = AnsiWinPath(base + c.chosen);
        EXPECT_EQ((int)expected.size(), MakeUniqueFileName(given.c_str(), buffer, MAX_PATH, c.segmented));
        EXPECT_EQ(expected, std::string(buffer)) << c.given;
        EXPECT_TRUE(IsUnixFile(base + c.chosen)) << c.chosen;
    }
}

TEST(HelpersTest, UniqueNamesAreNeverCutAndMustBeCreated)
{
    // A folder whose Win32 path has 247 characters: "task0.mp4" fits 260, "task0 (1).mp4" does not,
    // and "task0 (1).m" (what a cut would name) is someone's file.
    std::string dir = rwtest::ScratchDir("HelpersLongName");
    const size_t want = 247 - 2; // "Z:" in front of the Unix path
    while (dir.size() < want)
    {
        dir += "/" + std::string(std::min<size_t>(want - dir.size() - 1, 100), 'd');
        ::mkdir(dir.c_str(), 0755);
    }
    ASSERT_EQ(247u, AnsiWinPath(dir).size());
    WriteFile(dir + "/task0.mp4", "first");
    WriteFile(dir + "/task0 (1).m", "keep me");
    char buffer[MAX_PATH] = {};
    EXPECT_EQ(kUniqueNameTooLong, MakeUniqueFileName(AnsiWinPath(dir + "/task0.mp4").c_str(), buffer, MAX_PATH));
    EXPECT_STREQ("", buffer);
    EXPECT_EQ("keep me", coretest::ReadFile(dir + "/task0 (1).m"));
    EXPECT_EQ("first", coretest::ReadFile(dir + "/task0.mp4"));

    // A name that cannot be created is not handed out.
    const std::string missing = rwtest::ScratchDir("HelpersLongName2") + "/no/such/folder/clip.mp4";
    EXPECT_EQ(kUniqueNameNotCreated, MakeUniqueFileName(AnsiWinPath(missing).c_str(), buffer, MAX_PATH));
    EXPECT_STREQ("", buffer);
}

TEST(HelpersTest, ShutdownAsksWindowsToShutDown)
{
    static UINT flagsSeen;
    flagsSeen = 0;
    struct Stub
    {
        static BOOL WINAPI Exit(UINT flags, DWORD) { return flagsSeen = flags, TRUE; }
        static BOOL WINAPI Fail(UINT, DWORD) { return FALSE; }
    };
    g_exitWindows = Stub::Exit;
    EXPECT_EQ(0, ShutdownSystem());
    EXPECT_EQ((UINT)(EWX_SHUTDOWN | EWX_FORCEIFHUNG), flagsSeen);
    g_exitWindows = Stub::Fail;
    EXPECT_EQ(-3, ShutdownSystem());
    g_exitWindows = ::ExitWindowsEx;
}

TEST(HelpersTest, KnowsTheProgramFolderAndTemporaryFiles)
{
    const CString dir = GetAppDir();
    ASSERT_FALSE(dir.IsEmpty());
    EXPECT_EQ(L'\\', dir[dir.GetLength() - 1]);
    const CString temp = MakeTempFileName();
    ASSERT_FALSE(temp.IsEmpty());
    EXPECT_GE(temp.Find(L"sqv"), 0);
    EXPECT_TRUE(FileExists(temp));
    ::DeleteFileW(temp);
    EXPECT_EQ(CString(), LoadResString(40027));
}
