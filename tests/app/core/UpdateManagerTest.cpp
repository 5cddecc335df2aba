#include "RwTest.h"

#include "HttpTestServer.h"
#include "UpdateTestUtil.h"
#include "app/core/ComHolders.h"
#include "app/core/FileMD5.h"
#include "app/core/Helpers.h"
#include "app/core/XmlDocument.h"

#include <ctime>
#include <vector>

using coretest::ReadFile;
using coretest::Utf8;
using coretest::WinPath;
using coretest::WriteFile;
using updatetest::IsUnixFile;
using updatetest::PumpUntil;

namespace
{
const char kPackageDigest[] = "568da5ebe0c5e1f841fa6de5a69a93e6";

std::string PackageBytes()
{
    std::string bytes;
    for (int i = 0; i < 100; ++i)
        bytes += "PK-package-bytes";
    return bytes;
}

std::string Description(const std::string& latest, const std::string& partialUri, const std::string& partialMd5,
                        const std::string& minVersion = "5.0.0.1")
{
    return "[UpdateInfo]\r\nLatestVersion=" + latest + "\r\nMinVersion=" + minVersion +
           "\r\nBuildDate=2026-12-01\r\nImportance=1\r\n[Partial]\r\nURI=" + partialUri + "\r\nMD5=" + partialMd5 +
           "\r\n[FullSetup]\r\nURI=setup.exe\r\nMD5=" + kPackageDigest + "\r\n";
}

// What the manager asked, showed and started.
struct Script
{
    int askAnswer = IDOK;
    INT_PTR tipAnswer = IDOK;
    bool startSucceeds = true;
    std::vector<CString> asked;
    int tips = 0;
    std::vector<CString> started;
    std::vector<CString> folders;
};
Script* g_script = nullptr;

int ScriptedAsk(const CString& key)
{
    g_script->asked.push_back(key);
    return g_script->askAnswer;
}

INT_PTR ScriptedTip(UpdateManager&)
{
    ++g_script->tips;
    return g_script->tipAnswer;
}

bool ScriptedStart(const CString& commandLine, const CString& folder)
{
    g_script->started.push_back(commandLine);
    g_script->folders.push_back(folder);
    return g_script->startSucceeds;
}

// A program folder of its own with an updater in it, a manager pointed at it and at the server.
class UpdateManagerTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        g_script = &script;
        g_updateAsk = ScriptedAsk;
        g_updateTip = ScriptedTip;
        g_updateStart = ScriptedStart;
        dir = rwtest::ScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
        WriteFile(dir + "/updater.exe", "stand-in");
        manager.m_programDir = WinPath(dir) + L"\\";
        manager.m_serverUrl = Utf8(server.BaseUrl());
        server.Set("/pkg.zip", 200, PackageBytes());
        server.Set("/setup.exe", 200, PackageBytes());
    }
    void TearDown() override
    {
        manager.StopDownload();
        g_script = nullptr;
    }
    bool Settled()
    {
        return PumpUntil([&] { return !manager.m_download && manager.m_state != kUpdateChecking; });
    }
    CString UpdateDir() const
    {
        return manager.m_programDir + L"update";
    }

    Script script;
    HttpTestServer server;
    updatetest::NotifyWindow window;
    UpdateManager manager;
    std::string dir;
};
} // namespace

TEST_F(UpdateManagerTest, RunsEachDescriptionToItsEnd)
{
    const std::string digest = kPackageDigest;
    struct Case
    {
        const char* name;
        int status;
        std::string description;
        int mode;
        INT_PTR tip;
        int state;
        bool packageFetched;
    } cases[] = {
        {"newer", 200, Description("5.0.0.9", "pkg.zip", digest), kUpdateModeDownload, IDOK, kUpdateRestart, true},
        // Versions are numbers: 5.0.0.10 is newer than 5.0.0.8, 5.0.0.7 is older.
        {"numeric", 200, Description("5.0.0.10", "pkg.zip", digest), kUpdateModeDownload, IDOK, kUpdateRestart, true},
        {"same", 200, Description("5.0.0.8", "pkg.zip", digest), kUpdateModeDownload, IDOK, kUpdateNewest, false},
        {"older", 200, Description("5.0.0.7", "pkg.zip", digest), kUpdateModeDownload, IDOK, kUpdateNewest, false},
        {"empty", 200, "", kUpdateModeDownload, IDOK, kUpdateNewest, false},
        {"missing", 404, "", kUpdateModeDownload, IDOK, kUpdateNetError, false},
        {"declined", 200, Description("5.0.0.9", "pkg.zip", digest), kUpdateModeAsk, IDCANCEL, kUpdateAborted, false},
        {"accepted", 200, Description("5.0.0.9", "pkg.zip", digest), kUpdateModeAsk, IDOK, kUpdateRestart, true},
        // Bad descriptions start nothing.
        {"path", 200, Description("5.0.0.9", "..\\..\\x.exe", digest), kUpdateModeDownload, IDOK, kUpdateError, false},
        {"slash", 200, Description("5.0.0.9", "sub/pkg.zip", digest), kUpdateModeDownload, IDOK, kUpdateError, false},
        {"digest", 200, Description("5.0.0.9", "pkg.zip", "1234"), kUpdateModeDownload, IDOK, kUpdateError, false},
        {"nouri", 200, "[UpdateInfo]\r\nLatestVersion=5.0.0.9\r\n", kUpdateModeDownload, IDOK, kUpdateError, false},
        {"version", 200, Description("5.0 -x", "pkg.zip", digest), kUpdateModeDownload, IDOK, kUpdateError, false},
        // A part beyond 32 bits would read as 5.0.0.8.
        {"overflow", 200, Description("5.0.0.4294967304", "pkg.zip", digest), kUpdateModeDownload, IDOK, kUpdateError,
         false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        UpdateManager local;
        local.m_programDir = manager.m_programDir;
        local.m_serverUrl = manager.m_serverUrl + Utf8(c.name) + L"/";
        local.m_mode = c.mode;
        script = Script();
        script.tipAnswer = c.tip;
        const std::string base = std::string("/") + c.name + "/";
        server.Set(base + "update.txt", c.status, c.description);
        server.Set(base + "pkg.zip", 200, PackageBytes());
        ASSERT_TRUE(local.StartCheck());
        EXPECT_EQ(kUpdateChecking, local.m_state);
        ASSERT_TRUE(PumpUntil([&] {
            return !local.m_download && local.m_state != kUpdateChecking && local.m_state != kUpdateDownloading;
        }));
        EXPECT_EQ(c.state, local.m_state);
        EXPECT_EQ(c.packageFetched ? 1 : 0, server.RequestCount(base + "pkg.zip"));
        EXPECT_EQ(c.mode == kUpdateModeAsk && c.state != kUpdateNewest ? 1 : 0, script.tips);
        if (c.state == kUpdateNewest)
            EXPECT_LE(std::abs(INT64(local.m_lastCheck) - INT64(std::time(nullptr))), 5);
        else
            EXPECT_EQ(DWORD(0), local.m_lastCheck);
        EXPECT_EQ(c.state == kUpdateRestart ? 1u : 0u, script.started.size());
    }
}

TEST_F(UpdateManagerTest, HandsAVerifiedPackageToTheUpdater)
{
    server.Set("/update.txt", 200, Description("5.0.0.9", "pkg.zip", kPackageDigest));
    manager.m_mode = kUpdateModeDownload;
    updatetest::NotifyWindow::s_closeCount = 0;
    ASSERT_TRUE(manager.StartCheck());
    ASSERT_TRUE(PumpUntil([&] { return manager.m_state == kUpdateRestart; }));
    EXPECT_EQ(ULONG(PackageBytes().size()), manager.m_maximum);
    EXPECT_EQ(manager.m_maximum, manager.m_progress);
    ASSERT_EQ(1u, script.started.size());
    EXPECT_EQ(std::vector<CString>{L"update_ok"}, script.asked);

    WCHAR module[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    CString programName = module;
    programName = programName.Mid(programName.ReverseFind(L'\\') + 1);
    const CString folder = WinPath(dir);
    CString expected;
    expected.Format(L"\"%s\\updater.exe\" \"%s\\update\" %d \"%s\" \"%s\" -deleteupdate -setver=5.0.0.9", folder,
                    folder, int(::GetCurrentProcessId()), folder, programName);
    EXPECT_EQ(expected, script.started[0]);
    EXPECT_EQ(folder, script.folders[0]);
    EXPECT_EQ(PackageBytes(), ReadFile(dir + "/update/update.mar"));
    EXPECT_FALSE(IsUnixFile(dir + "/update/pkg.zip"));
    EXPECT_TRUE(PumpUntil([] { return updatetest::NotifyWindow::s_closeCount == 1; }));
}

TEST_F(UpdateManagerTest, KeepsALaterUpdateAndFallsBackWhenNothingStarts)
{
    // The user wants the update later: it waits as the pending package.
    server.Set("/update.txt", 200, Description("5.0.0.9", "pkg.zip", kPackageDigest));
    manager.m_mode = kUpdateModeDownload;
    script.askAnswer = IDCANCEL;
    ASSERT_TRUE(manager.StartCheck());
    ASSERT_TRUE(PumpUntil([&] { return manager.m_state == kUpdateRestart; }));
    EXPECT_EQ(CString(L"pkg.zip"), manager.m_pendingFile);
    EXPECT_EQ(CString(L"5.0.0.9"), manager.m_pendingVersion);
    EXPECT_TRUE(script.started.empty());
    EXPECT_TRUE(IsUnixFile(dir + "/update/pkg.zip"));

    // An updater that cannot start: nothing pending, the update folder gone, the program stays.
    script.startSucceeds = false;
    EXPECT_FALSE(manager.RunUpdater(manager.GetPackagePath(), L"5.0.0.9"));
    EXPECT_TRUE(manager.m_pendingFile.IsEmpty());
    EXPECT_TRUE(manager.m_pendingVersion.IsEmpty());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(UpdateDir()));
}

TEST_F(UpdateManagerTest, DeletesAPackageThatFailsVerification)
{
    struct Case
    {
        const char* name;
        std::string body;
        HttpTestServer::Behaviour behaviour;
        int status;
        int state;
    } cases[] = {
        {"wrong", "other bytes", HttpTestServer::kServe, 200, kUpdateError},
        {"cut", PackageBytes(), HttpTestServer::kTruncate, 200, kUpdateNetError},
        {"absent", "", HttpTestServer::kServe, 404, kUpdateNetError},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        UpdateManager local;
        local.m_programDir = manager.m_programDir;
        local.m_serverUrl = manager.m_serverUrl + Utf8(c.name) + L"/";
        local.m_mode = kUpdateModeDownload;
        script = Script();
        const std::string base = std::string("/") + c.name + "/";
        server.Set(base + "update.txt", 200, Description("5.0.0.9", "pkg.zip", kPackageDigest));
        server.Set(base + "pkg.zip", c.status, c.body, c.behaviour);
        ASSERT_TRUE(local.StartCheck());
        ASSERT_TRUE(PumpUntil([&] {
            return !local.m_download && local.m_state != kUpdateChecking && local.m_state != kUpdateDownloading;
        }));
        EXPECT_EQ(c.state, local.m_state);
        EXPECT_FALSE(IsUnixFile(dir + "/update/pkg.zip"));
        EXPECT_TRUE(script.started.empty());
        EXPECT_TRUE(script.asked.empty());
        EXPECT_TRUE(local.m_pendingFile.IsEmpty());
    }
}

TEST_F(UpdateManagerTest, AbortsAStalledPackageDownloadPromptly)
{
    server.Set("/update.txt", 200, Description("5.0.0.9", "pkg.zip", kPackageDigest));
    server.Set("/pkg.zip", 200, std::string(2000000, 'p'), HttpTestServer::kStall);
    manager.m_mode = kUpdateModeDownload;
    ASSERT_TRUE(manager.StartCheck());
    ASSERT_TRUE(PumpUntil([&] { return manager.m_state == kUpdateDownloading && manager.m_progress > 0; }));
    // What the update dialog's abort button does.
    manager.m_abort = 1;
    const DWORD start = ::GetTickCount();
    manager.StopDownload();
    EXPECT_LT(::GetTickCount() - start, DWORD(5000));
    EXPECT_EQ(nullptr, manager.m_download);
    ASSERT_TRUE(PumpUntil([&] { return manager.m_state == kUpdateAborted; }));
    EXPECT_FALSE(IsUnixFile(dir + "/update/pkg.zip"));
    EXPECT_TRUE(script.started.empty());
}

TEST_F(UpdateManagerTest, ChoosesTheFullInstallerBelowTheMinimumVersion)
{
    struct Case
    {
        const char* current;
        const char* minimum;
        bool full;
    } cases[] = {
        {"5.0.0.8", "5.0.0.9", true}, {"5.0.0.10", "5.0.0.8", false}, {"5.0.0.8", "5.0.0.8", false},
        {"4.9", "5.0", true},         {"5.0.0.8", "", false},
    };
    const std::string path = dir + "/info.ini";
    for (const Case& c : cases)
    {
        WriteFile(path, Description("9.0", "pkg.zip", kPackageDigest, c.minimum));
        manager.m_curVersion = Utf8(c.current);
        EXPECT_EQ(1, manager.ParseUpdateInfo(WinPath(path))) << c.current;
        EXPECT_EQ(c.full, manager.m_fullSetup != FALSE) << c.current << " " << c.minimum;
        EXPECT_EQ(CString(c.full ? L"setup.exe" : L"pkg.zip"), manager.m_packageUri);
        EXPECT_EQ(CString(L"2026-12-01"), manager.m_buildDate);
        EXPECT_EQ(1, manager.m_importance);
    }
    // The installer is started with its own path only.
    EXPECT_TRUE(manager.RunInstaller(L"C:\\x\\setup.exe"));
    EXPECT_EQ(CString(L"\"C:\\x\\setup.exe\""), script.started.back());
}

TEST_F(UpdateManagerTest, EndsACheckThatGetsNoAnswer)
{
    // A server that closes without a reply is a network failure, not "newest version".
    server.Set("/closed/update.txt", 200, "", HttpTestServer::kClose);
    manager.m_serverUrl = Utf8(server.BaseUrl() + "closed/");
    ASSERT_TRUE(manager.StartCheck());
    ASSERT_TRUE(Settled());
    EXPECT_EQ(kUpdateNetError, manager.m_state);
    EXPECT_EQ(DWORD(0), manager.m_lastCheck);

    // One that accepts and never answers runs into the time limit; a new check may start then.
    server.Set("/silent/update.txt", 200, "", HttpTestServer::kSilent);
    manager.m_serverUrl = Utf8(server.BaseUrl() + "silent/");
    manager.m_checkTimeLimitMs = 1000;
    ASSERT_TRUE(manager.StartCheck());
    ASSERT_TRUE(Settled());
    EXPECT_EQ(kUpdateNetError, manager.m_state);
    EXPECT_EQ(DWORD(0), manager.m_lastCheck);

    // The user can abort a check that waits, and check again.
    HttpTestServer other;
    other.Set("/update.txt", 200, "", HttpTestServer::kSilent);
    manager.m_serverUrl = Utf8(other.BaseUrl());
    manager.m_checkTimeLimitMs = 600000;
    ASSERT_TRUE(manager.StartCheck());
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(kUpdateChecking, manager.m_state);
    manager.Abort();
    EXPECT_EQ(kUpdateAborted, manager.m_state);
    EXPECT_EQ(nullptr, manager.m_download);
    EXPECT_TRUE(manager.StartCheck());
    manager.Abort();
}

TEST_F(UpdateManagerTest, KeepsTheVersionAnUpdateSet)
{
    const std::string path = dir + "/Reelwright.xml";
    struct Case
    {
        const char* stored;
        const WCHAR* loaded;
    } cases[] = {{"5.0.0.12", L"5.0.0.12"}, {"1.0", L"5.0.0.8"}, {"5.0.0.4294967304", L"5.0.0.8"}, {"x", L"5.0.0.8"}};
    for (const Case& c : cases)
    {
        WriteFile(path, std::string("<?xml version=\"1.0\"?><Corvantis><Update><curversion>") + c.stored +
                            "</curversion></Update></Corvantis>");
        UpdateManager restarted;
        restarted.m_programDir = manager.m_programDir;
        CXmlFile file;
        ASSERT_TRUE(CXmlDocument::Load(file.Get(), WinPath(path), false));
        CComHolder<IXMLDOMNode> root(CXmlDocument::SelectNode(file.Get(), nullptr, L"Corvantis"));
        CComHolder<IXMLDOMNode> section(CXmlDocument::SelectNode(file.Get(), root.Get(), L"Update"));
        restarted.LoadSettings(file.Get(), section.Get());
        EXPECT_EQ(CString(c.loaded), restarted.m_curVersion) << c.stored;
    }
    // The version the updater set is not offered again.
    const std::string info = dir + "/update.ini";
    WriteFile(info, Description("5.0.0.12", "pkg.zip", kPackageDigest));
    manager.m_curVersion = L"5.0.0.12";
    EXPECT_EQ(0, manager.ParseUpdateInfo(WinPath(info)));
    // A version beyond 32 bits per part on the command line is not taken either.
    EXPECT_TRUE(manager.ParseCommandLine(L"reelwright.exe -setver=5.0.0.4294967304"));
    EXPECT_EQ(CString(L"5.0.0.12"), manager.m_curVersion);
}

TEST_F(UpdateManagerTest, ComparesVersionsAsNumbers)
{
    struct Case
    {
        const WCHAR* a;
        const WCHAR* b;
        bool before;
    } cases[] = {
        {L"5.0.0.8", L"5.0.0.10", true}, {L"5.0.0.10", L"5.0.0.8", false}, {L"5.0.0.8", L"5.0.0.8", false},
        {L"5.0", L"5.0.0.1", true},      {L"5.0.0.0", L"5.0", false},      {L"10.0", L"9.9.9", false},
        {L"", L"0.0.1", true},           {L"1.2", L"1.10", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.before, CompareVersionText(c.a, c.b)) << CString(c.a) << " " << CString(c.b);
}

TEST_F(UpdateManagerTest, ReadsTheCommandLineOptions)
{
    ::CreateDirectoryW(UpdateDir(), nullptr);
    WriteFile(dir + "/update/left.bin", "x");
    struct Case
    {
        const WCHAR* commandLine;
        bool options;
        const WCHAR* version;
        bool pendingCleared;
    } cases[] = {
        {L"\"C:\\p\\reelwright.exe\"", false, L"5.0.0.8", false},
        {L"\"C:\\p\\reelwright.exe\" file.avi", false, L"5.0.0.8", false},
        {L"reelwright.exe -setver=5.0.0.9", true, L"5.0.0.9", false},
        {L"reelwright.exe -setver:5.1", true, L"5.1", false},
        {L"reelwright.exe \"-setver= 5.1\"", true, L"5.1", false},
        {L"reelwright.exe -SETVER=6", true, L"6", false},
        {L"reelwright.exe -DeleteUpdate", true, L"5.0.0.8", true},
        {L"reelwright.exe -deleteupdate -setver=5.0.0.9", true, L"5.0.0.9", true},
    };
    for (const Case& c : cases)
    {
        manager.m_curVersion = L"5.0.0.8";
        manager.m_pendingFile = L"pkg.zip";
        manager.m_pendingVersion = L"5.0.0.9";
        EXPECT_EQ(c.options, manager.ParseCommandLine(c.commandLine));
        EXPECT_EQ(CString(c.version), manager.m_curVersion);
        EXPECT_EQ(c.pendingCleared, manager.m_pendingFile.IsEmpty());
        EXPECT_EQ(c.pendingCleared, manager.m_pendingVersion.IsEmpty());
    }
    // "-deleteupdate" empties the update folder even without a pending package.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(UpdateDir()));
}

TEST_F(UpdateManagerTest, AppliesAPendingPackageAtStart)
{
    struct Case
    {
        const char* file;
        const char* version;
        bool exists;
        int ask;
        bool started;
    } cases[] = {
        {"pkg.ZIP", "5.0.0.9", true, IDOK, true},
        {"pkg.zip", "5.0.0.9", false, IDOK, false},
        {"pkg.zip", "", true, IDOK, false},
        {"setup.exe", "5.0.0.9", true, IDOK, true},
        {"setup.exe", "5.0.0.9", true, IDCANCEL, false},
        {"..\\pkg.zip", "5.0.0.9", true, IDOK, false},
        {"pkg.zip", "5 -x", true, IDOK, false},
    };
    for (const Case& c : cases)
    {
        script = Script();
        script.askAnswer = c.ask;
        CreateDirectoryW(UpdateDir(), nullptr);
        if (c.exists)
        {
            WriteFile(dir + "/update/pkg.ZIP", "zip");
            WriteFile(dir + "/update/pkg.zip", "zip");
            WriteFile(dir + "/update/setup.exe", "exe");
            WriteFile(dir + "/pkg.zip", "zip");
        }
        manager.m_pendingFile = Utf8(c.file);
        manager.m_pendingVersion = Utf8(c.version);
        EXPECT_EQ(c.started, manager.ApplyPendingUpdate()) << c.file;
        EXPECT_EQ(c.started ? 1u : 0u, script.started.size()) << c.file;
        EXPECT_TRUE(manager.m_pendingFile.IsEmpty());
        EXPECT_TRUE(manager.m_pendingVersion.IsEmpty());
        if (c.started && CString(c.file).Right(4) == L".ZIP")
            EXPECT_NE(-1, script.started[0].Find(L"-deleteupdate -setver=5.0.0.9"));
        DeleteFolderTree(UpdateDir());
    }
    // Without a package to apply, a newer updater waiting beside the program replaces the old one.
    WriteFile(dir + "/updater-newer.ex1", "newer updater");
    EXPECT_FALSE(manager.ApplyPendingUpdate());
    EXPECT_EQ("newer updater", ReadFile(dir + "/updater.exe"));
    EXPECT_FALSE(IsUnixFile(dir + "/updater-newer.ex1"));
}

TEST_F(UpdateManagerTest, ChecksOnlyWhenDueAndOncePerRun)
{
    const DWORD now = DWORD(std::time(nullptr));
    struct Case
    {
        int mode;
        DWORD lastCheck;
        bool due;
    } cases[] = {
        {kUpdateModeDownload, 0, true},           {kUpdateModeDownload, now - 43000, false},
        {kUpdateModeDownload, now - 43300, true}, {kUpdateModeAsk, now + 43300, true},
        {kUpdateModeAsk, now + 100, false},       {kUpdateModeNever, 0, false},
    };
    for (const Case& c : cases)
    {
        manager.m_mode = c.mode;
        manager.m_lastCheck = c.lastCheck;
        EXPECT_EQ(c.due, manager.IsCheckDue()) << c.mode << " " << c.lastCheck;
    }
    // Switched off in the settings means no automatic check, whatever the file held.
    manager.SetAutoUpdate(false);
    manager.m_lastCheck = 0;
    EXPECT_FALSE(manager.IsCheckDue());
    manager.SetAutoUpdate(true);
    EXPECT_TRUE(manager.IsCheckDue());

    server.Set("/update.txt", 200, Description("5.0.0.8", "pkg.zip", kPackageDigest));
    ASSERT_TRUE(manager.StartCheck());
    EXPECT_FALSE(manager.StartCheck());
    ASSERT_TRUE(Settled());
    EXPECT_EQ(kUpdateNewest, manager.m_state);
    EXPECT_FALSE(manager.StartCheck());
    EXPECT_EQ(1, server.RequestCount("/update.txt"));

    // No updater beside the program: no check at all.
    UpdateManager bare;
    bare.m_programDir = WinPath(rwtest::ScratchDir("UpdateNoUpdater")) + L"\\";
    EXPECT_FALSE(bare.StartCheck());
    EXPECT_EQ(kUpdateError, bare.m_state);
}

TEST_F(UpdateManagerTest, MapsTheSettingsUpdateSection)
{
    const std::string path = dir + "/Reelwright.xml";
    WriteFile(path, "<?xml version=\"1.0\"?><Corvantis><Update><updatemethod>2</updatemethod>"
                    "<curversion>1.0</curversion><updatetype>3</updatetype><lastupdate>12345</lastupdate>"
                    "<updatefile>pkg.zip</updatefile><updatever>5.0.0.9</updatever>"
                    "<updateserver>http://127.0.0.1:9/u</updateserver><other>kept</other></Update></Corvantis>");
    {
        CXmlFile file;
        ASSERT_TRUE(CXmlDocument::Load(file.Get(), WinPath(path), false));
        IXMLDOMNode* root = CXmlDocument::SelectNode(file.Get(), nullptr, L"Corvantis");
        IXMLDOMNode* section = CXmlDocument::SelectNode(file.Get(), root, L"Update");
        manager.LoadSettings(file.Get(), section);
        manager.SetAutoUpdate(false);
        EXPECT_EQ(kUpdateModeNever, manager.m_mode);
        EXPECT_EQ(CString(L"5.0.0.8"), manager.m_curVersion);
        EXPECT_EQ(3, manager.m_updateType);
        EXPECT_EQ(DWORD(12345), manager.m_lastCheck);
        EXPECT_EQ(CString(L"pkg.zip"), manager.m_pendingFile);
        EXPECT_EQ(CString(L"5.0.0.9"), manager.m_pendingVersion);
        EXPECT_EQ(CString(L"http://127.0.0.1:9/u/"), manager.m_serverUrl);
        manager.m_curVersion = L"5.0.0.9";
        ASSERT_TRUE(manager.SaveSettings(file.Get(), section));
        ASSERT_TRUE(CXmlDocument::Save(file.Get()));
        section->Release();
        root->Release();
    }
    const std::string saved = ReadFile(path);
    for (const char* element :
         {"<updatemethod>2</updatemethod>", "<curversion>5.0.0.9</curversion>", "<lastupdate>12345</lastupdate>",
          "<updateserver>http://127.0.0.1:9/u/</updateserver>", "<other>kept</other>"})
        EXPECT_NE(std::string::npos, saved.find(element)) << element << "\n" << saved;
}

TEST_F(UpdateManagerTest, TurnsAwayAReportThatArrivesWhileAPackageIsVerified)
{
    // A package large enough for the digest to dispatch messages while it reads.
    ::CreateDirectoryW(UpdateDir(), nullptr);
    WriteFile(dir + "/update/pkg.zip", std::string(3 * 1024 * 1024, 'z'));
    FileMD5 digest;
    digest.Compute(manager.m_programDir + L"update\\pkg.zip");
    manager.m_state = kUpdateDownloading;
    manager.m_packageUri = L"pkg.zip";
    manager.m_packageMd5 = digest.GetDigest();
    manager.m_latestVersion = L"5.0.0.9";
    // A second report waits in the queue: the digest's dispatching delivers it mid-way.
    ::PostMessageW(window.Get(), WM_RW_DOWNLOAD_DONE, kDownloadOk, 0);
    EXPECT_EQ(0, manager.OnDownloadDone(kDownloadOk));
    MSG msg;
    EXPECT_FALSE(::PeekMessageW(&msg, window.Get(), WM_RW_DOWNLOAD_DONE, WM_RW_DOWNLOAD_DONE, PM_NOREMOVE));
    EXPECT_EQ(kUpdateRestart, manager.m_state);
    EXPECT_EQ(std::vector<CString>{L"update_ok"}, script.asked);
    EXPECT_EQ(1u, script.started.size());
}
