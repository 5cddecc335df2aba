// The menu sound player: one background thread, the newest request wins, nothing requested while
// a sound plays is lost, and the thread ends in the program's exit sequence.
#include "ProbeProcess.h"
#include "RwTest.h"
#include "uilib/commandbars/MenuSoundPlayer.h"

#include <string>
#include <vector>

namespace
{
const DWORD kDeadline = 10000;

// Stands in for the sound driver: records each sound and its thread, then holds the sound thread
// until the test lets it go.
struct FakeDriver
{
    CRITICAL_SECTION lock;
    HANDLE entered = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::vector<LONG> sounds;
    std::vector<DWORD> threads;

    FakeDriver()
    {
        ::InitializeCriticalSection(&lock);
    }
    ~FakeDriver()
    {
        ::CloseHandle(entered);
        ::CloseHandle(release);
        ::DeleteCriticalSection(&lock);
    }
    std::vector<LONG> Sounds()
    {
        ::EnterCriticalSection(&lock);
        std::vector<LONG> copy = sounds;
        ::LeaveCriticalSection(&lock);
        return copy;
    }
};

FakeDriver* g_driver = nullptr;

void FakePlay(LONG sound)
{
    ::EnterCriticalSection(&g_driver->lock);
    g_driver->sounds.push_back(sound);
    g_driver->threads.push_back(::GetCurrentThreadId());
    ::LeaveCriticalSection(&g_driver->lock);
    ::SetEvent(g_driver->entered);
    ::WaitForSingleObject(g_driver->release, INFINITE);
}
} // namespace

TEST(MenuSoundPlayerTest, OneThreadPlaysTheNewestRequestMadeWhileASoundPlays)
{
    using P = CWVPMenuSoundPlayer;
    struct Case
    {
        const char* name;
        std::vector<LONG> whilePlaying;
        LONG next;
    } cases[] = {
        {"one request waits for the sound that plays", {P::kPopupSound}, P::kPopupSound},
        {"a newer request replaces the pending one", {P::kPopupSound, P::kCommandSound}, P::kCommandSound},
        {"and the other way round", {P::kCommandSound, P::kPopupSound}, P::kPopupSound},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        FakeDriver driver;
        g_driver = &driver;
        {
            CWVPMenuSoundPlayer player(&FakePlay);
            EXPECT_EQ(nullptr, player.GetThreadHandle());
            player.RequestSound(P::kCommandSound);
            const HANDLE thread = player.GetThreadHandle();
            ASSERT_NE(nullptr, thread);
            ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(driver.entered, kDeadline));
            for (LONG sound : c.whilePlaying)
                player.RequestSound(sound);
            EXPECT_EQ(thread, player.GetThreadHandle());
            ::SetEvent(driver.release);
            ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(driver.entered, kDeadline));
            player.StopThread();
            EXPECT_EQ(nullptr, player.GetThreadHandle());
        }
        EXPECT_EQ((std::vector<LONG>{P::kCommandSound, c.next}), driver.Sounds());
        ASSERT_EQ(2u, driver.threads.size());
        EXPECT_EQ(driver.threads[0], driver.threads[1]);
        EXPECT_NE(::GetCurrentThreadId(), driver.threads[0]);
        g_driver = nullptr;
    }
}

TEST(MenuSoundPlayerTest, ADisabledPlayerStartsNoThread)
{
    FakeDriver driver;
    g_driver = &driver;
    CWVPMenuSoundPlayer player(&FakePlay);
    player.EnableSound(FALSE);
    player.RequestSound(CWVPMenuSoundPlayer::kPopupSound);
    EXPECT_EQ(nullptr, player.GetThreadHandle());
    EXPECT_TRUE(driver.Sounds().empty());
    g_driver = nullptr;
}

TEST(MenuSoundPlayerTest, ASoundThatNeverEndsDoesNotHoldTheExitAndItsThreadEndsCleanlyLater)
{
    FakeDriver driver;
    g_driver = &driver;
    HANDLE thread = nullptr;
    {
        CWVPMenuSoundPlayer player(&FakePlay);
        player.RequestSound(CWVPMenuSoundPlayer::kPopupSound);
        ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(driver.entered, kDeadline));
        ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), player.GetThreadHandle(), ::GetCurrentProcess(), &thread,
                                      0, FALSE, DUPLICATE_SAME_ACCESS));
        player.RequestSound(CWVPMenuSoundPlayer::kCommandSound);
        // The player gives up waiting and goes; its thread is still in the driver.
    }
    EXPECT_EQ(WAIT_TIMEOUT, ::WaitForSingleObject(thread, 0));
    ::SetEvent(driver.release);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread, kDeadline));
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeThread(thread, &code);
    ::CloseHandle(thread);
    EXPECT_EQ(0u, code);
    // Stopped: the pending request was not played.
    EXPECT_EQ((std::vector<LONG>{CWVPMenuSoundPlayer::kPopupSound}), driver.Sounds());
    g_driver = nullptr;
}

// The helper program asks the process-wide player for sounds, runs the exit sequence and checks
// that the sound thread has ended; its exit code must come through unchanged.
TEST(MenuSoundPlayerTest, TheSoundThreadEndsInTheExitSequence)
{
    const std::string probe = std::string(RW_BINARY_DIR) + "/tests/rwmenusoundprobe.exe.so";
    for (DWORD code : {37u, 0u})
        EXPECT_EQ(code, rwtest::RunProbe(probe, std::to_string(code)));
}
