// The preview player in a child window under Xvfb: pictures on screen, clocks, pause, seek,
// volume and mute on the delivered samples, snapshots, bad files and stopping.
#include "RwTest.h"
#include "TestMedia.h"

#include "engine/Engine.h"
#include "engine/preview/PlayThread.h"
#include "engine/preview/PlayerState.h"

#include <SDL.h>
#undef main

#include <tlhelp32.h>

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace
{
const int kWidth = rwtest::kClipWidth;
const int kHeight = rwtest::kClipHeight;
const DWORD kWaitLimitMs = 10000;
const DWORD kStopLimitMs = 2000;
// After a seek the picture follows within this time.
const DWORD kSeekLimitMs = 1500;

// Set: the host paints its whole client area grey, as an application's window does.
bool g_paintsItself = false;

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_PAINT)
    {
        // Leave the player's picture alone, unless asked to paint.
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        if (g_paintsItself)
            ::FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wp, lp);
}

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Pumps messages until pred holds or the limit passes; whether it held.
bool WaitUntil(const std::function<bool()>& pred, DWORD limitMs = kWaitLimitMs)
{
    DWORD start = ::GetTickCount();
    while (!pred())
    {
        if (::GetTickCount() - start > limitMs)
            return false;
        Pump();
        ::Sleep(20);
    }
    return true;
}

void PumpFor(DWORD ms)
{
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < ms)
    {
        Pump();
        ::Sleep(10);
    }
}

int ThreadCount()
{
    HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 te = {};
    te.dwSize = sizeof(te);
    int count = 0;
    DWORD self = ::GetCurrentProcessId();
    for (BOOL ok = ::Thread32First(snap, &te); ok; ok = ::Thread32Next(snap, &te))
        count += te.th32OwnerProcessID == self;
    ::CloseHandle(snap);
    return count;
}

struct Pixels
{
    std::vector<uint32_t> bgra;
    uint32_t At(int x, int y) const
    {
        return bgra[y * kWidth + x];
    }
    int Luma(int x, int y) const
    {
        uint32_t p = At(x, y);
        return static_cast<int>(0.299 * ((p >> 16) & 0xff) + 0.587 * ((p >> 8) & 0xff) + 0.114 * (p & 0xff));
    }
    int Counter() const
    {
        std::vector<uint8_t> luma(kWidth * kHeight);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                luma[y * kWidth + x] = static_cast<uint8_t>(Luma(x, y));
        return rwtest::ReadFrameCounter(luma.data(), kWidth, kWidth, kHeight);
    }
};

// The 75 % bars as they look on screen, sampled at the middle of each bar near the top.
const uint32_t kBarColours[] = {0xbfbfbf, 0xbfbf00, 0x00bfbf, 0x00bf00, 0xbf00bf, 0xbf0000, 0x0000bf, 0x000000};

bool Near(uint32_t a, uint32_t b, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8)
    {
        if (std::abs(static_cast<int>((a >> shift) & 0xff) - static_cast<int>((b >> shift) & 0xff)) > tolerance)
            return false;
    }
    return true;
}

bool ShowsBars(const Pixels& px)
{
    for (int b = 0; b < 8; ++b)
    {
        int x = kWidth * (2 * b + 1) / 16;
        if (!Near(px.At(x, 10) & 0xffffff, kBarColours[b], 40))
            return false;
    }
    return true;
}

std::string ReadFile(const std::string& path)
{
    std::string data;
    if (FILE* f = fopen(path.c_str(), "rb"))
    {
        char buf[65536];
        size_t n;
        while ((n = fread(buf, 1, sizeof(buf), f)) > 0)
            data.append(buf, n);
        fclose(f);
    }
    return data;
}

// One host window for the whole suite: a top-level window takes seconds to go away under Xvfb.
class PlayThreadTest : public testing::Test
{
  protected:
    static HWND s_top;
    static HWND m_child;
    std::string m_scratch;

    static void SetUpTestSuite()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"RwPreviewHost";
        ::RegisterClassW(&wc);
        s_top = ::CreateWindowExW(0, L"RwPreviewHost", L"host", WS_POPUP | WS_VISIBLE, 0, 0, kWidth + 40, kHeight + 40,
                                  nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        m_child = ::CreateWindowExW(0, L"RwPreviewHost", L"video", WS_CHILD | WS_VISIBLE, 20, 20, kWidth, kHeight,
                                    s_top, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        Pump();
    }

    static void TearDownTestSuite()
    {
        ::DestroyWindow(s_top);
        Pump();
    }

    void SetUp() override
    {
        ASSERT_TRUE(m_child);
        m_scratch = rwtest::ScratchDir("PlayThreadTest");
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        g_previewMute = 1;
        g_previewVolume = 128;
    }

    void TearDown() override
    {
        if (g_playThread)
            EngineStopPreview();
        g_paintsItself = false;
    }

    // Has the host window paint itself over, as when it is uncovered.
    void Repaint()
    {
        ::InvalidateRect(m_child, nullptr, TRUE);
        ::UpdateWindow(m_child);
        Pump();
    }

    // Paints the child grey, so that what a player shows next is its own picture.
    void Blank()
    {
        HDC dc = ::GetDC(m_child);
        RECT rc = {0, 0, kWidth, kHeight};
        HBRUSH grey = static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
        ::FillRect(dc, &rc, grey);
        ::ReleaseDC(m_child, dc);
    }

    int Start(const char* media)
    {
        Blank();
        return EngineStartPreview(rwtest::ToWin32Path(rwtest::Media(media)).c_str(), m_child);
    }

    Pixels Capture()
    {
        Pixels px;
        px.bgra.resize(kWidth * kHeight);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = kWidth;
        bi.bmiHeader.biHeight = -kHeight;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP dib = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        HDC mem = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(mem, dib);
        HDC dc = ::GetDC(m_child);
        ::BitBlt(mem, 0, 0, kWidth, kHeight, dc, 0, 0, SRCCOPY);
        ::ReleaseDC(m_child, dc);
        ::GdiFlush();
        memcpy(px.bgra.data(), bits, px.bgra.size() * 4);
        ::SelectObject(mem, old);
        ::DeleteDC(mem);
        ::DeleteObject(dib);
        return px;
    }

    // Seconds of the picture on screen, from its frame counter.
    double ScreenSeconds()
    {
        return Capture().Counter() / static_cast<double>(rwtest::kClipFps);
    }

    double Position()
    {
        int64_t pos = -1;
        if (EngineGetPreviewPosition(&pos) < 0)
            return -1;
        return pos / 1e6;
    }

    // Waits until the picture on screen shows the bars and a frame at or after the given second.
    bool WaitForPicture(double atLeast)
    {
        return WaitUntil([&] {
            Pixels px = Capture();
            return ShowsBars(px) && px.Counter() >= atLeast * rwtest::kClipFps;
        });
    }

    static DWORD TimedStop()
    {
        DWORD start = ::GetTickCount();
        EngineStopPreview();
        return ::GetTickCount() - start;
    }
};

HWND PlayThreadTest::s_top = nullptr;
HWND PlayThreadTest::m_child = nullptr;

// The picture follows the sound's clock, not the wall clock. The sound device plays at three
// quarters of real time (SDL's disk driver waits kSlowSoundDelayMs for each buffer of 1024
// samples), so a picture timed by the wall clock would run ahead of it by a third of a second per
// second. A loaded machine may hold either thread back for a while: the picture then catches up,
// so the test waits for the two to agree while the sound is in the middle of the clip.
TEST_F(PlayThreadTest, PlaysTheClipIntoTheChildWindowInStepWithTheSound)
{
    const char* const kSlowSoundDelayMs = "31";
    const double kInStepFrom = 1.0;  // sound seconds: the window where the two must meet
    const double kInStepUntil = 2.4; // (the picture stops at the clip's end, 3 s)
    const double kInStep = 0.15;     // seconds between the picture's time and the sound's
    std::string out = m_scratch + "/sound.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", kSlowSoundDelayMs, 1);
    ASSERT_EQ(kPreviewJobId, Start(rwtest::kClipMp4));
    ASSERT_TRUE(WaitForPicture(0.2));
    PlayerState* is = g_playerState.load();
    ASSERT_TRUE(is);
    ASSERT_TRUE(is->audioSt);

    // The position is the time of the picture on screen and follows the sound's clock.
    double audio = 0;
    double pos = 0;
    double screen = 0;
    ASSERT_TRUE(WaitUntil([&] {
        audio = PlayerAudioClock(is);
        pos = Position();
        screen = ScreenSeconds();
        bool met = std::fabs(audio - pos) < kInStep && std::fabs(screen - pos) < kInStep;
        return audio > kInStepUntil || (audio >= kInStepFrom && met);
    }));
    EXPECT_LE(audio, kInStepUntil) << "picture " << pos << " s, on screen " << screen << " s";
}

TEST_F(PlayThreadTest, PauseHoldsThePositionAndResumeGoesOn)
{
    ASSERT_EQ(kPreviewJobId, Start(rwtest::kClipMp4));
    ASSERT_TRUE(WaitForPicture(0.4));
    ASSERT_EQ(0, PlayerPushPause());
    ASSERT_EQ(0, PlayerPushPause()); // a second pause keeps it paused
    PumpFor(400);                    // a picture decoded before the pause may still be shown
    double held = Position();
    int shown = Capture().Counter();
    PumpFor(700);
    EXPECT_EQ(held, Position());
    EXPECT_EQ(shown, Capture().Counter());

    // Resuming neither jumps ahead by the time spent paused nor stands still: the sound goes on
    // from where it stood and the picture does not run ahead of it (a picture that lagged behind
    // the sound on a loaded machine may catch up at once).
    PlayerState* is = g_playerState.load();
    double sound = PlayerAudioClock(is);
    DWORD resumed = ::GetTickCount();
    ASSERT_EQ(0, PlayerPushResume());
    PumpFor(100);
    double elapsed = (::GetTickCount() - resumed) / 1000.0;
    EXPECT_LT(PlayerAudioClock(is), sound + elapsed + 0.1);
    EXPECT_LT(Position(), PlayerAudioClock(is) + 0.3);
    EXPECT_TRUE(WaitUntil([&] { return Position() > held + 0.3; }));
}

TEST_F(PlayThreadTest, SeeksLandNearTheTargetAlsoAfterTheEndOfTheFile)
{
    ASSERT_EQ(kPreviewJobId, Start(rwtest::kClipMp4));
    ASSERT_TRUE(WaitForPicture(0.2));

    struct Case
    {
        double target;
        double waitFrom; // the picture shows a frame at or after this second
    };
    const Case cases[] = {{0.0, 0.0}, {1.2, 1.0}, {2.0, 2.0}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.target);
        ASSERT_EQ(0, PlayerPushSeek(static_cast<int64_t>(c.target * 1e6)));
        ASSERT_TRUE(WaitUntil([&] {
            double s = ScreenSeconds();
            return s >= c.waitFrom && s < c.target + 1.0 && std::fabs(Position() - s) < 0.2;
        }));
        EXPECT_NEAR(c.target, Position(), 1.0);
    }

    // Play to the end: the last picture stays, the player stays open and a seek plays again.
    ASSERT_TRUE(WaitUntil([&] { return Capture().Counter() >= rwtest::kClipFrames - 1; }));
    PumpFor(300);
    EXPECT_EQ(rwtest::kClipFrames - 1, Capture().Counter());
    ASSERT_EQ(0, PlayerPushSeek(1000000));
    ASSERT_TRUE(WaitUntil([&] {
        int n = Capture().Counter();
        return n >= 25 && n < 50;
    }));
    EXPECT_TRUE(WaitUntil([&] { return Capture().Counter() >= 50; }));
}

TEST_F(PlayThreadTest, AForwardSeekMovesThePictureAtOnce)
{
    ASSERT_EQ(kPreviewJobId, Start(rwtest::kLong25s));
    ASSERT_TRUE(WaitUntil([&] { return Capture().Counter() >= rwtest::kClipFps; }));
    ASSERT_EQ(0, PlayerPushSeek(8000000));
    // The picture shows the new place soon (seeks land on the key frame before the target, one
    // each second) and plays on from there with the sound.
    ASSERT_TRUE(WaitUntil([&] { return Capture().Counter() >= 7 * rwtest::kClipFps; }, kSeekLimitMs));
    int landed = Capture().Counter();
    PumpFor(600);
    EXPECT_GE(Capture().Counter(), landed + 6);
    EXPECT_NEAR(Position(), ScreenSeconds(), 0.2);
    EXPECT_NEAR(Position(), PlayerAudioClock(g_playerState.load()), 0.3);
}

// Seeks asked for at once, while the player still opens the file, are kept: the newest one is
// served as soon as the file is open. Played from the start instead, the picture could not reach
// the fourteenth second before the wait's limit.
TEST_F(PlayThreadTest, SeeksMadeWhileTheFileOpensAreKeptAndTheNewestWins)
{
    ASSERT_EQ(kPreviewJobId, Start(rwtest::kLong25s));
    ASSERT_EQ(0, PlayerPushSeek(3000000));
    ASSERT_EQ(0, PlayerPushSeek(15000000));
    ASSERT_TRUE(WaitUntil([&] { return Capture().Counter() >= 14 * rwtest::kClipFps; }));
    EXPECT_LT(Capture().Counter(), 20 * rwtest::kClipFps);
}

TEST_F(PlayThreadTest, RepaintsKeepThePictureWhilePausedAndAtTheEnd)
{
    g_paintsItself = true;
    ASSERT_EQ(kPreviewJobId, Start(rwtest::kClipMp4));
    ASSERT_TRUE(WaitForPicture(0.4));
    ASSERT_EQ(0, PlayerPushPause());
    PumpFor(400);
    int shown = Capture().Counter();
    Repaint();
    Pixels paused = Capture();
    EXPECT_TRUE(ShowsBars(paused));
    EXPECT_EQ(shown, paused.Counter());

    ASSERT_EQ(0, PlayerPushResume());
    ASSERT_TRUE(WaitUntil([&] { return Capture().Counter() >= rwtest::kClipFrames - 1; }));
    PumpFor(300);
    Repaint();
    Pixels end = Capture();
    EXPECT_TRUE(ShowsBars(end));
    EXPECT_EQ(rwtest::kClipFrames - 1, end.Counter());

    // Once the preview is stopped the window paints itself alone again.
    EngineStopPreview();
    Repaint();
    EXPECT_FALSE(ShowsBars(Capture()));
}

TEST_F(PlayThreadTest, VolumeStaysInItsRange)
{
    ASSERT_EQ(kPreviewJobId, Start(rwtest::kAudioWav));
    const struct
    {
        int percent;
        int volume;
    } cases[] = {{150, 128}, {100, 128}, {50, 64}, {0, 0}, {-20, 0}};
    for (const auto& c : cases)
    {
        ASSERT_EQ(0, EngineSetPreviewVolume(c.percent));
        EXPECT_EQ(c.volume, g_previewVolume) << c.percent;
    }
}

// A host window folded to no height shows nothing, plays on and says nothing about it.
TEST_F(PlayThreadTest, AFlatHostWindowPlaysQuietly)
{
    HWND flat = ::CreateWindowExW(0, L"RwPreviewHost", L"flat", WS_CHILD | WS_VISIBLE, 0, 0, kWidth, 0, s_top, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(flat);
    std::string log = m_scratch + "/stderr.txt";
    fflush(stderr);
    int saved = dup(2);
    int file = open(log.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0644);
    ASSERT_GE(file, 0);
    dup2(file, 2);
    close(file);
    int started = EngineStartPreview(rwtest::ToWin32Path(rwtest::Media(rwtest::kClipMp4)).c_str(), flat);
    bool played = started == kPreviewJobId && WaitUntil([&] { return Position() > 1.0; });
    EngineStopPreview();
    fflush(stderr);
    dup2(saved, 2);
    close(saved);
    ::DestroyWindow(flat);
    EXPECT_TRUE(played);
    EXPECT_EQ(std::string::npos, ReadFile(log).find("SDL")) << ReadFile(log);
}

// The samples SDL is handed, through its disk driver: silent while muted, scaled by the volume.
TEST_F(PlayThreadTest, VolumeAndMuteActOnTheDeliveredSamples)
{
    struct Case
    {
        int mute;
        int percent;
        double peak; // of full scale
    };
    const Case cases[] = {{1, 100, 0.0}, {0, 100, rwtest::kBeepLevel}, {0, 50, rwtest::kBeepLevel / 2}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.percent + 1000 * c.mute);
        std::string out = m_scratch + "/sound.raw";
        remove(out.c_str());
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "20", 1);
        // Set before the first samples, as the entry point sets it afterwards.
        g_previewVolume = c.percent * 128 / 100;
        g_previewMute = c.mute;
        ASSERT_EQ(kPreviewJobId, Start(rwtest::kAudioWav));
        ASSERT_EQ(0, EngineSetPreviewVolume(c.percent));
        EXPECT_EQ(c.percent * 128 / 100, g_previewVolume);
        // Past the first beep and into the second.
        ASSERT_TRUE(WaitUntil([&] { return PlayerAudioClock(g_playerState.load()) > 1.2; }));
        EngineStopPreview();
        std::string raw = ReadFile(out);
        ASSERT_GT(raw.size(), 44100u * 4);
        const int16_t* s = reinterpret_cast<const int16_t*>(raw.data());
        int peak = 0;
        for (size_t i = 0; i < raw.size() / 2; ++i)
            peak = (std::max)(peak, std::abs(static_cast<int>(s[i])));
        EXPECT_NEAR(c.peak, peak / 32768.0, 0.03);
    }
}

// True once a BMP file is written whole: as long as its header says.
bool BmpComplete(const std::string& path)
{
    const std::string bmp = ReadFile(path);
    return bmp.size() >= sizeof(BITMAPFILEHEADER) &&
           bmp.size() >= reinterpret_cast<const BITMAPFILEHEADER*>(bmp.data())->bfSize;
}

// Checks a snapshot file: a 24-bit BMP of the coded size whose top rows show the bars.
void ExpectBarsBmp(const std::string& path, int width, int height)
{
    std::string bmp = ReadFile(path);
    ASSERT_GE(bmp.size(), 54u + width * height * 3);
    const BITMAPFILEHEADER* bfh = reinterpret_cast<const BITMAPFILEHEADER*>(bmp.data());
    const BITMAPINFOHEADER* bih = reinterpret_cast<const BITMAPINFOHEADER*>(bmp.data() + sizeof(BITMAPFILEHEADER));
    EXPECT_EQ('B', bmp[0]);
    EXPECT_EQ('M', bmp[1]);
    EXPECT_EQ(width, bih->biWidth);
    EXPECT_EQ(height, std::abs(bih->biHeight));
    EXPECT_EQ(24, bih->biBitCount);
    // The file's rows run bottom-up when the height is positive.
    const uint8_t* pixels = reinterpret_cast<const uint8_t*>(bmp.data()) + bfh->bfOffBits;
    int stride = (width * 3 + 3) & ~3;
    int row = bih->biHeight > 0 ? height - 1 - 10 : 10;
    for (int b = 0; b < 8; ++b)
    {
        const uint8_t* p = pixels + row * stride + width * (2 * b + 1) / 16 * 3;
        uint32_t colour = p[0] | p[1] << 8 | p[2] << 16;
        EXPECT_TRUE(Near(colour, kBarColours[b], 40)) << b;
    }
}

TEST_F(PlayThreadTest, SnapshotWritesTheShownPictureAtItsCodedSize)
{
    ASSERT_EQ(kPreviewJobId, Start(rwtest::kClipAvi));
    ASSERT_TRUE(WaitForPicture(0.2));
    std::string first = m_scratch + "/first.bmp";
    std::string second = m_scratch + "/second.bmp";
    ASSERT_EQ(0, g_playThread->RequestSnapshot(rwtest::ToWin32Path(first).c_str()));
    // Still pending: dropped.
    ASSERT_EQ(0, g_playThread->RequestSnapshot(rwtest::ToWin32Path(second).c_str()));
    ASSERT_TRUE(WaitUntil([&] { return BmpComplete(first); }));
    PumpFor(300);
    EXPECT_TRUE(ReadFile(second).empty());
    ExpectBarsBmp(first, kWidth, kHeight);

    // Without a player there is nothing to snapshot.
    PlayThread* player = g_playThread;
    PlayerPushQuit();
    ASSERT_TRUE(WaitUntil([] { return g_playerState.load() == nullptr; }));
    EXPECT_EQ(-1, player->RequestSnapshot(rwtest::ToWin32Path(second).c_str()));

    // A width whose rows need padding.
    ASSERT_EQ(kPreviewJobId, Start(rwtest::kWide302));
    ASSERT_TRUE(WaitUntil([&] { return Position() > 0.1; }));
    std::string wide = m_scratch + "/wide.bmp";
    ASSERT_EQ(0, g_playThread->RequestSnapshot(rwtest::ToWin32Path(wide).c_str()));
    ASSERT_TRUE(WaitUntil([&] { return BmpComplete(wide); }));
    ExpectBarsBmp(wide, rwtest::kWide302Width, kHeight);
}

TEST_F(PlayThreadTest, StopsWithinTwoSecondsAndLeavesNoThreadBehind)
{
    enum Moment
    {
        Playing,
        Seeking,
        AtTheEnd,
        Paused
    };
    for (Moment moment : {Playing, Seeking, AtTheEnd, Paused})
    {
        SCOPED_TRACE(moment);
        int threads = ThreadCount();
        ASSERT_EQ(kPreviewJobId, Start(rwtest::kClipMkv));
        ASSERT_TRUE(WaitForPicture(0.1));
        if (moment == Seeking)
            PlayerPushSeek(2500000);
        if (moment == AtTheEnd)
            PlayerPushSeek(2500000);
        if (moment == AtTheEnd)
            ASSERT_TRUE(WaitUntil([&] { return Capture().Counter() >= rwtest::kClipFrames - 1; }));
        if (moment == Paused)
        {
            PlayerPushPause();
            PumpFor(200);
        }
        EXPECT_LT(TimedStop(), kStopLimitMs);
        EXPECT_EQ(nullptr, g_playThread);
        EXPECT_EQ(nullptr, g_playerState.load());
        EXPECT_EQ(0u, SDL_WasInit(SDL_INIT_EVERYTHING));
        EXPECT_LE(ThreadCount(), threads);
    }
}

TEST_F(PlayThreadTest, SurroundSoundIsMixedDownForTheDevice)
{
    ASSERT_EQ(kPreviewJobId, Start(rwtest::kSurround51));
    ASSERT_TRUE(WaitUntil([] {
        PlayerState* is = g_playerState.load();
        return is && is->audioSt && PlayerAudioClock(is) > 0.2;
    }));
    PlayerState* is = g_playerState.load();
    EXPECT_EQ(2, is->audioChannels);
    // The sound plays at its own speed: a device opened for the wrong channel count would not.
    double a0 = PlayerAudioClock(is);
    DWORD t0 = ::GetTickCount();
    PumpFor(800);
    double rate = (PlayerAudioClock(is) - a0) / ((::GetTickCount() - t0) / 1000.0);
    EXPECT_GT(rate, 0.5);
    EXPECT_LT(rate, 1.5);
    EXPECT_TRUE(WaitForPicture(0.5));
}

TEST_F(PlayThreadTest, StartingAgainReplacesTheRunningPreview)
{
    ASSERT_EQ(kPreviewJobId, Start(rwtest::kClipMp4));
    ASSERT_TRUE(WaitForPicture(0.2));
    int threads = ThreadCount();
    ASSERT_EQ(kPreviewJobId, Start(rwtest::kClipMov));
    EXPECT_TRUE(strstr(g_playerState.load()->filename, rwtest::kClipMov));
    EXPECT_TRUE(WaitForPicture(0.2));
    EXPECT_LE(ThreadCount(), threads);
}

// A 16:9 picture in the 4:3 window: full width, centred, nothing painted above or below it.
TEST_F(PlayThreadTest, WidePictureIsLetterboxed)
{
    const int pictureHeight = kWidth * 9 / 16;
    const int top = (kHeight - pictureHeight) / 2;
    ASSERT_EQ(kPreviewJobId, Start("hd720.mp4"));
    ASSERT_TRUE(WaitUntil([&] { return Near(Capture().At(kWidth / 16, top + 10), kBarColours[0], 40); }));
    Pixels px = Capture();
    const uint32_t grey = 0x808080;
    for (int x : {0, kWidth / 2, kWidth - 1})
    {
        EXPECT_EQ(grey, px.At(x, top - 2) & 0xffffff) << x;
        EXPECT_EQ(grey, px.At(x, top + pictureHeight + 1) & 0xffffff) << x;
        EXPECT_NE(grey, px.At(x, top + 2) & 0xffffff) << x;
        EXPECT_NE(grey, px.At(x, top + pictureHeight - 3) & 0xffffff) << x;
    }
    // A repaint puts back the picture, not the bands the player never drew.
    g_paintsItself = true;
    Repaint();
    Pixels repainted = Capture();
    for (int x : {0, kWidth / 2, kWidth - 1})
    {
        EXPECT_EQ(grey, repainted.At(x, top - 2) & 0xffffff) << x;
        EXPECT_EQ(grey, repainted.At(x, top + pictureHeight + 1) & 0xffffff) << x;
        EXPECT_NE(grey, repainted.At(x, top + 2) & 0xffffff) << x;
    }
}

TEST_F(PlayThreadTest, PlaysPicturesWithoutASoundDevice)
{
    setenv("SDL_AUDIODRIVER", "none-such", 1);
    ASSERT_EQ(kPreviewJobId, Start(rwtest::kClipMp4));
    ASSERT_TRUE(WaitForPicture(0.5));
    EXPECT_EQ(nullptr, g_playerState.load()->audioSt);
    EXPECT_GT(Position(), 0.4);
}

TEST_F(PlayThreadTest, SoundOnlyFileDrawsItsWaveform)
{
    ASSERT_EQ(kPreviewJobId, Start(rwtest::kAudioMp3));
    ASSERT_TRUE(WaitUntil([&] {
        Pixels px = Capture();
        int white = 0;
        int black = 0;
        for (uint32_t p : px.bgra)
        {
            white += (p & 0xffffff) == 0xffffff;
            black += (p & 0xffffff) == 0;
        }
        return white > 500 && black > kWidth * kHeight / 2;
    }));
    EXPECT_EQ(0.0, Position());
}

// Files that cannot be played never hang the caller: the position reports the failure, or what
// can be played plays.
TEST_F(PlayThreadTest, BadFilesFailCleanly)
{
    struct Case
    {
        const char* name;
        bool plays;
    };
    const Case cases[] = {{"garbage.avi", false}, {"empty.mp4", false},      {"truncated.mp4", false},
                          {"missing.mp4", false}, {"truncated.avi", true},   {"no_duration.h264", true},
                          {"with_data.ts", true}, {"many_streams.mkv", true}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        DWORD start = ::GetTickCount();
        ASSERT_EQ(kPreviewJobId, Start(c.name));
        EXPECT_LT(::GetTickCount() - start, kStopLimitMs);
        if (c.plays)
            EXPECT_TRUE(WaitForPicture(0.2));
        else
            EXPECT_TRUE(WaitUntil([&] { return Position() < 0; }));
        EXPECT_LT(TimedStop(), kStopLimitMs);
    }
}

TEST_F(PlayThreadTest, StartRefusesWhatCannotPlay)
{
    // A window that is gone, an empty path, a path longer than 259 characters.
    HWND gone =
        ::CreateWindowExW(0, L"RwPreviewHost", L"gone", WS_CHILD, 0, 0, 10, 10, s_top, nullptr, nullptr, nullptr);
    ::DestroyWindow(gone);
    EXPECT_EQ(-1, EngineStartPreview(rwtest::ToWin32Path(rwtest::Media(rwtest::kClipMp4)).c_str(), gone));
    EXPECT_EQ(-1, EngineStartPreview("", m_child));
    std::string folder = rwtest::ToWin32Path(rwtest::MediaDir()) + "\\";
    std::string longPath = folder + std::string(259 - folder.size(), 'a');
    ASSERT_EQ(259u, longPath.size());
    EXPECT_EQ(kPreviewJobId, EngineStartPreview(longPath.c_str(), m_child));
    EXPECT_EQ(-1, EngineStartPreview((longPath + "a").c_str(), m_child));
    EXPECT_EQ(0, EngineStopPreview());
    EXPECT_EQ(-1, EngineSetPreviewVolume(50));
    int64_t pos;
    EXPECT_EQ(-1, EngineGetPreviewPosition(&pos));
}

TEST(PlayerEventsTest, SeekOffsetSurvivesTheTwoDataWords)
{
    for (int64_t offset : {INT64_C(0), INT64_C(60000000), INT64_C(0x80000000), INT64_C(0x1234567890), INT64_C(-1)})
    {
        SDL_Event event = {};
        PlayerSetSeekOffset(&event, offset);
        EXPECT_EQ(offset, PlayerGetSeekOffset(&event));
        EXPECT_EQ(static_cast<uint64_t>(offset) & 0xFFFFFFFFu, reinterpret_cast<uintptr_t>(event.user.data1));
    }
}
} // namespace
