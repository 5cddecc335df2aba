#include "RwTest.h"

#include "HttpTestServer.h"
#include "TestZip.h"
#include "UpdateTestUtil.h"
#include "app/core/FileMD5.h"

#include <sys/stat.h>
#include <unistd.h>

using coretest::ReadFile;
using coretest::Utf8;
using coretest::WinPath;
using coretest::WriteFile;
using updatetest::IsUnixFile;

namespace
{
void CopyProgram(const std::string& from, const std::string& to)
{
    WriteFile(to, ReadFile(from));
    ::chmod(to.c_str(), 0755);
}

// Waits for the condition, looking twice a second, within the limit.
template <typename Condition> bool WaitFor(Condition condition, DWORD limitMs = 60000)
{
    const DWORD start = ::GetTickCount();
    while (!condition())
    {
        if (::GetTickCount() - start > limitMs)
            return condition();
        ::Sleep(500);
    }
    return true;
}

int CountStarts(const std::string& log)
{
    int count = 0;
    for (size_t at = 0; (at = log.find("start ", at)) != std::string::npos; ++at)
        ++count;
    return count;
}
} // namespace

// The whole road of an update: the program finds it, downloads and verifies it, hands it to the
// updater and ends; the updater applies it and starts the program again, which records the new
// version. A hostile package is refused and the program comes back unchanged.
TEST(UpdateHandOffTest, UpdaterAppliesThePackageAndRestartsTheProgram)
{
    HttpTestServer server;
    struct Case
    {
        const char* name;
        rwtest::ZipEntries entries;
        bool applied;
    } cases[] = {
        {"good", {{"readme.txt", "new readme"}, {"lang/Extra.xml", "<langfile/>"}}, true},
        {"hostile", {{"first.txt", "changed"}, {"../escape.txt", "outside"}}, false},
        // The last entry names the program's "plugins" folder: nothing of the package may stay.
        {"partial", {{"readme.txt", "new readme"}, {"lang/Extra.xml", "<langfile/>"}, {"plugins", "x"}}, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::string scratch = rwtest::ScratchDir(std::string("UpdateHandOff_") + c.name);
        const std::string program = scratch + "/program";
        ::CreateDirectoryW(WinPath(program), nullptr);
        CopyProgram(rwtest::ProgramDir() + "/updater.exe", program + "/updater.exe");
        CopyProgram(std::string(RW_BINARY_DIR) + "/tests/rwupdatehost.exe.so", program + "/reelwright.exe");
        WriteFile(program + "/readme.txt", "old readme");
        ::mkdir((program + "/plugins").c_str(), 0755);
        const std::string base = std::string("/") + c.name + "/";
        WriteFile(program + "/Reelwright.xml", "<?xml version=\"1.0\"?><Corvantis><Update><updateserver>" +
                                                   server.BaseUrl() + c.name + "/</updateserver></Update></Corvantis>");

        const std::string package = scratch + "/pkg.zip";
        ASSERT_TRUE(rwtest::WriteZip(package, c.entries));
        FileMD5 digest;
        digest.Compute(WinPath(package));
        ASSERT_TRUE(digest.IsOk());
        server.Set(base + "pkg.zip", 200, ReadFile(package));
        server.Set(base + "update.txt", 200,
                   "[UpdateInfo]\r\nLatestVersion=5.0.0.9\r\nMinVersion=5.0.0.1\r\n[Partial]\r\nURI=pkg.zip\r\nMD5=" +
                       coretest::Narrow(digest.GetDigest()) + "\r\n");

        const CString programPath = WinPath(program) + L"\\reelwright.exe";
        CString command = L"\"" + programPath + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(::CreateProcessW(nullptr, command.GetBuffer(), nullptr, nullptr, FALSE, 0, nullptr,
                                     WinPath(program), &startup, &process));
        command.ReleaseBuffer();
        ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(process.hProcess, 60000));
        DWORD exitCode = 0;
        ::GetExitCodeProcess(process.hProcess, &exitCode);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        EXPECT_EQ(DWORD(kUpdateRestart), exitCode);

        // The updater starts the program again once the first one has ended; the restarted program
        // runs with "-deleteupdate", which clears the update folder.
        const std::string log = program + "/host.log";
        ASSERT_TRUE(WaitFor([&] {
            return CountStarts(ReadFile(log)) == 2 &&
                   ReadFile(program + "/Reelwright.xml").find("<lastupdate>") != std::string::npos &&
                   ::GetFileAttributesW(WinPath(program + "/update")) == INVALID_FILE_ATTRIBUTES;
        })) << ReadFile(log);
        ASSERT_TRUE(WaitFor([&] {
            return ReadFile(program + "/Reelwright.xml").find(c.applied ? "5.0.0.9" : "5.0.0.8") != std::string::npos;
        }));
        const std::string restart = "start \"" + coretest::Narrow(programPath) + "\" -deleteupdate" +
                                    (c.applied ? " -setver=5.0.0.9" : "") + "\n";
        EXPECT_NE(std::string::npos, ReadFile(log).find(restart)) << ReadFile(log);
        const std::string settings = ReadFile(program + "/Reelwright.xml");
        EXPECT_NE(std::string::npos,
                  settings.find(c.applied ? "<curversion>5.0.0.9</curversion>" : "<curversion>5.0.0.8</curversion>"))
            << settings;
        EXPECT_EQ(c.applied ? "new readme" : "old readme", ReadFile(program + "/readme.txt"));
        EXPECT_EQ(c.applied, IsUnixFile(program + "/lang/Extra.xml"));
        EXPECT_EQ(c.applied, ::access((program + "/lang").c_str(), F_OK) == 0); // no folder of the package stays
        EXPECT_FALSE(IsUnixFile(program + "/first.txt"));
        EXPECT_FALSE(IsUnixFile(scratch + "/escape.txt"));
    }
}
