#include "RwTest.h"

#include "HttpTestServer.h"
#include "UpdateTestUtil.h"

#include <vector>

using coretest::ReadFile;
using coretest::Utf8;
using coretest::WinPath;

namespace
{
// Records the reports as they come from the worker thread.
class RecordingCallback : public download_callback
{
  public:
    LONG OnDownloadDone(int result, DWORD) override
    {
        m_result = result;
        ::SetEvent(m_done);
        return 0;
    }
    LONG OnDownloadProgress(ULONG progress, ULONG maximum) override
    {
        m_lastProgress = progress;
        m_lastMaximum = maximum;
        ::InterlockedIncrement(&m_progressCount);
        return 0;
    }
    HANDLE m_done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    volatile int m_result = -1;
    volatile LONG m_progressCount = 0;
    volatile ULONG m_lastProgress = 0;
    volatile ULONG m_lastMaximum = 0;
};

struct Download
{
    Download(const std::string& url, const std::string& target) : thread(Utf8(url), WinPath(target))
    {
        thread.SetCallback(&callback);
    }
    ~Download()
    {
        ::CloseHandle(callback.m_done);
    }
    RecordingCallback callback;
    DownloadThread thread;
};
} // namespace

TEST(DownloadThreadTest, ReportsTheOutcomeOfEachTransfer)
{
    HttpTestServer server;
    const std::string body(50000, 'b');
    server.Set("/file.bin", 200, body);
    server.Set("/gone", 404, "<html>not here</html>");
    server.Set("/broken", 500, "<html>oops</html>");
    server.Set("/cut", 200, body, HttpTestServer::kTruncate);
    const std::string dir = rwtest::ScratchDir("DownloadResults");
    struct Case
    {
        std::string url;
        int result;
        bool fileKept;
    } cases[] = {
        {server.BaseUrl() + "file.bin", kDownloadOk, true},
        {server.BaseUrl() + "gone", kDownloadNotFound, false},
        {server.BaseUrl() + "broken", kDownloadFailed, false},
        {server.BaseUrl() + "cut", kDownloadFailed, false},
        // Nothing listens on port 1.
        {"http://127.0.0.1:1/file.bin", kDownloadFailed, false},
    };
    int index = 0;
    for (const Case& c : cases)
    {
        const std::string target = dir + "/out" + std::to_string(index++);
        Download download(c.url, target);
        ASSERT_TRUE(download.thread.CreateThread());
        ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(download.callback.m_done, 20000)) << c.url;
        EXPECT_TRUE(download.thread.Stop());
        EXPECT_EQ(c.result, download.callback.m_result) << c.url;
        EXPECT_EQ(c.fileKept, updatetest::IsUnixFile(target)) << c.url;
        if (c.fileKept)
        {
            EXPECT_EQ(body, ReadFile(target));
            EXPECT_EQ(ULONG(body.size()), download.callback.m_lastMaximum);
            EXPECT_EQ(download.callback.m_lastProgress, download.callback.m_lastMaximum);
        }
    }
}

TEST(DownloadThreadTest, StopEndsAStalledTransferAsAborted)
{
    HttpTestServer server;
    server.Set("/slow", 200, std::string(1000000, 's'), HttpTestServer::kStall);
    const std::string target = rwtest::ScratchDir("DownloadStall") + "/slow";
    Download download(server.BaseUrl() + "slow", target);
    ASSERT_TRUE(download.thread.CreateThread());
    // Bytes arrive, then nothing more: no further progress report can see the abort flag.
    ASSERT_TRUE(updatetest::PumpUntil([&] { return download.callback.m_lastProgress > 0; }));
    const DWORD start = ::GetTickCount();
    EXPECT_TRUE(download.thread.Stop());
    EXPECT_LT(::GetTickCount() - start, DWORD(5000));
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(download.callback.m_done, 0));
    EXPECT_EQ(kDownloadAborted, download.callback.m_result);
    EXPECT_FALSE(updatetest::IsUnixFile(target));
}

TEST(DownloadThreadTest, AsksForTheNewestVersionAndClassifiesResults)
{
    DownloadThread thread(L"http://127.0.0.1:1/x", L"C:\\x");
    DWORD flags = BINDF_ASYNCHRONOUS;
    BINDINFO info = {};
    EXPECT_EQ(S_OK, thread.GetBindInfo(&flags, &info));
    EXPECT_EQ(DWORD(BINDF_ASYNCHRONOUS | 0x30), flags);
    EXPECT_EQ(E_POINTER, thread.GetBindInfo(nullptr, &info));
    void* object = nullptr;
    EXPECT_EQ(E_NOTIMPL, thread.QueryInterface(IID_IBindStatusCallback, &object));
    EXPECT_EQ(S_OK, thread.QueryInterface(IID_IHttpNegotiate, &object));

    struct Case
    {
        HRESULT hr;
        DWORD status;
        ULONG progress, maximum;
        int result;
    } cases[] = {
        {S_OK, 200, 10, 10, kDownloadOk},
        {S_OK, 200, 0, 0, kDownloadOk},
        {S_OK, 0, 0, 0, kDownloadFailed}, // closed without an answer
        {E_ABORT, 0, 0, 0, kDownloadAborted},
        {INET_E_RESOURCE_NOT_FOUND, 0, 0, 0, kDownloadNotFound},
        {INET_E_OBJECT_NOT_FOUND, 0, 0, 0, kDownloadNotFound},
        {INET_E_DOWNLOAD_FAILURE, 0, 0, 0, kDownloadFailed},
        {S_OK, 404, 21, 21, kDownloadNotFound},
        {S_OK, 403, 21, 21, kDownloadFailed},
        {S_OK, 200, 5, 10, kDownloadFailed},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.result, DownloadThread::ClassifyResult(c.hr, c.status, c.progress, c.maximum)) << std::hex << c.hr;
}
