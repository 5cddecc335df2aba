#include "engine/preview/PlayThread.h"

#include "engine/MediaHandles.h"
#include "engine/preview/PlayerState.h"
#include "engine/UnixPath.h"

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libswscale/swscale.h>
}

#include <SDL.h>
#undef main

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

std::atomic<PlayerState*> g_playerState{nullptr};
std::atomic<char*> g_snapshotPath{nullptr};
int g_previewScreenWidth = 0;
int g_previewScreenHeight = 0;
SDL_Surface* g_previewScreen = nullptr;

namespace
{
// The host window every picture is copied into.
HWND g_previewWindow = nullptr;
// A snapshot request on its way through the event queue: a second request is dropped until the
// first has been written.
std::atomic<bool> g_snapshotQueued{false};

const Uint32 kSdlSubsystems = SDL_INIT_TIMER | SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE;
const int kSurfaceBitsPerPixel = 32;
const Uint32 kSurfaceFlags = SDL_SWSURFACE;
const int kFallbackWidth = 640;
const int kFallbackHeight = 480;

struct WindowDc
{
    HWND hwnd;
    HDC hdc;
    explicit WindowDc(HWND window) : hwnd(window), hdc(::GetDC(window))
    {
    }
    ~WindowDc()
    {
        if (hdc)
            ::ReleaseDC(hwnd, hdc);
    }
};

// The last picture copied into the host window, kept for its repaints; written by the player's
// thread, read by the host window's.
struct KeptPicture
{
    std::mutex lock;
    std::vector<Uint8> pixels; // rows of `width` 32-bit pixels
    int width = 0;
    int height = 0;
    RECT drawn = {}; // what the player has drawn of it: the rest (a letterbox's bands) stays the window's
};
KeptPicture g_kept;
// The host window's own procedure while the preview paints through it.
WNDPROC g_hostProc = nullptr;
HWND g_hostWindow = nullptr;

// Copies the columns x..x+w of `h` top-down rows of 32-bit pixels, `rowPixels` wide, into the
// window at (x, y).
void CopyRows(HWND window, const Uint8* rows, int rowPixels, int x, int y, int w, int h)
{
    WindowDc dc(window);
    if (!dc.hdc)
        return;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = rowPixels;
    bi.bmiHeader.biHeight = -h; // top-down rows
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = kSurfaceBitsPerPixel;
    bi.bmiHeader.biCompression = BI_RGB;
    ::StretchDIBits(dc.hdc, x, y, w, h, x, 0, w, h, rows, &bi, DIB_RGB_COLORS, SRCCOPY);
}

void DrawKeptPicture(HWND window)
{
    std::lock_guard<std::mutex> guard(g_kept.lock);
    const RECT& r = g_kept.drawn;
    if (!g_kept.pixels.empty() && r.right > r.left && r.bottom > r.top)
        CopyRows(window, g_kept.pixels.data() + static_cast<size_t>(r.top) * g_kept.width * 4, g_kept.width, r.left,
                 r.top, r.right - r.left, r.bottom - r.top);
}

// Copies rows of the drawing surface into the kept picture.
void KeepRows(const SDL_Surface* screen, const SDL_Rect& rect)
{
    const int top = rect.y;
    const int rows = rect.h;
    std::lock_guard<std::mutex> guard(g_kept.lock);
    const int width = screen->pitch / 4;
    if (g_kept.width != width || g_kept.height != screen->h)
    {
        g_kept.width = width;
        g_kept.height = screen->h;
        g_kept.pixels.assign(static_cast<size_t>(screen->pitch) * screen->h, 0);
        g_kept.drawn = RECT{};
    }
    RECT part = {rect.x, rect.y, rect.x + rect.w, rect.y + rect.h};
    RECT& all = g_kept.drawn;
    if (all.right <= all.left || all.bottom <= all.top)
        all = part;
    else
        ::UnionRect(&all, &all, &part);
    const Uint8* source = static_cast<const Uint8*>(screen->pixels) + static_cast<size_t>(top) * screen->pitch;
    memcpy(g_kept.pixels.data() + static_cast<size_t>(top) * screen->pitch, source,
           static_cast<size_t>(rows) * screen->pitch);
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try
    {
        WNDPROC original = g_hostProc;
        LRESULT result = original ? ::CallWindowProcW(original, window, message, wParam, lParam)
                                  : ::DefWindowProcW(window, message, wParam, lParam);
        // The window has painted itself: the picture goes back on top.
        if (message == WM_PAINT)
            DrawKeptPicture(window);
        return result;
    }
    catch (...)
    {
        return 0;
    }
}

void ClearPendingSnapshot()
{
    free(g_snapshotPath.exchange(nullptr));
    g_snapshotQueued = false;
}

// Copies a rectangle of the drawing surface into the host window.
void PresentRect(const SDL_Rect& rect)
{
    SDL_Surface* screen = g_previewScreen;
    if (!screen || !g_previewWindow || rect.w == 0 || rect.h == 0)
        return;
    const Uint8* rows = static_cast<const Uint8*>(screen->pixels) + rect.y * screen->pitch;
    CopyRows(g_previewWindow, rows, screen->pitch / 4, rect.x, rect.y, rect.w, rect.h);
    if (rect.y + rect.h <= screen->h)
        KeepRows(screen, rect);
}

SDL_Surface* SetVideoMode(int width, int height)
{
    return SDL_SetVideoMode(width, height, kSurfaceBitsPerPixel, kSurfaceFlags);
}
} // namespace

// ---------------------------------------------------------------------------------------------

PlayThread::PlayThread(const char* sourcePath, HWND hostWindow) : m_pathTooLong(false), m_hostWindow(hostWindow)
{
    memset(m_sourcePath, 0, sizeof(m_sourcePath));
    memset(m_snapshotPath, 0, sizeof(m_snapshotPath));
    if (sourcePath)
    {
        size_t length = strlen(sourcePath);
        m_pathTooLong = length >= sizeof(m_sourcePath);
        if (!m_pathTooLong)
            memcpy(m_sourcePath, sourcePath, length);
    }
}

int PlayThread::StartPlayback()
{
    if (!::IsWindow(m_hostWindow) || m_pathTooLong)
        return -1;
    // SDL draws into memory only; the pictures reach the host window through GDI.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    SDL_WasInit(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO);
    SDL_Quit();
    if (SDL_Init(kSdlSubsystems) != 0)
        return -1;
    // Without a sound device the picture still plays.
    SDL_InitSubSystem(SDL_INIT_AUDIO);

    RECT client = {};
    ::GetClientRect(m_hostWindow, &client);
    g_previewScreenWidth = client.right - client.left;
    g_previewScreenHeight = client.bottom - client.top;
    g_previewScreen = nullptr;
    g_previewWindow = m_hostWindow;
    PlayerAttachHostWindow(m_hostWindow);

    SDL_EventState(SDL_ACTIVEEVENT, SDL_IGNORE);
    SDL_EventState(SDL_MOUSEMOTION, SDL_IGNORE);
    SDL_EventState(SDL_SYSWMEVENT, SDL_IGNORE);
    SDL_EventState(SDL_USEREVENT, SDL_IGNORE);

    if (PlayerOpenStream(m_sourcePath) < 0)
    {
        PlayerReleaseHostWindow();
        SDL_Quit();
        return -1;
    }
    if (!Start())
    {
        // No event loop will ever close the player: close it here.
        PlayerCloseStream(g_playerState.exchange(nullptr));
        PlayerReleaseHostWindow();
        SDL_Quit();
        return -1;
    }
    return 0;
}

int PlayThread::Run()
{
    try
    {
        EventLoop();
    }
    catch (...)
    {
    }
    SDL_Quit();
    ::OutputDebugStringA("SQL_Quit and thread over!!!\n");
    return 0;
}

int PlayThread::RequestSnapshot(const char* path)
{
    if (!g_playerState.load())
        return -1;
    if (g_snapshotPath.load() || g_snapshotQueued.exchange(true))
        return 0;
    memset(m_snapshotPath, 0, sizeof(m_snapshotPath));
    if (path)
        lstrcpynA(m_snapshotPath, path, sizeof(m_snapshotPath));
    SDL_Event event = {};
    event.type = kPlayerEventSnapshot;
    event.user.data2 = m_snapshotPath;
    if (SDL_PushEvent(&event) != 0)
        g_snapshotQueued = false;
    return 0;
}

void PlayThread::EventLoop()
{
    SDL_Event event;
    for (;;)
    {
        PlayerState* is = g_playerState.load();
        if (!is || is->abortRequest)
            break;
        if (!SDL_WaitEvent(&event))
        {
            // The event queue is gone: nothing can reach the player any more.
            PlayerCloseStream(g_playerState.exchange(nullptr));
            g_previewScreen = nullptr;
            break;
        }
        switch (event.type)
        {
        case SDL_QUIT:
        case kPlayerEventQuit:
            ::OutputDebugStringA("get FF_QUIT_EVENT!\n");
            if (PlayerState* open = g_playerState.exchange(nullptr))
                PlayerCloseStream(open);
            g_previewScreen = nullptr;
            ::OutputDebugStringA("do_exit!\n");
            break;
        case SDL_VIDEORESIZE:
            if (!is)
                return;
            g_previewScreen = SetVideoMode(event.resize.w, event.resize.h);
            is->width = g_previewScreenWidth = event.resize.w;
            is->height = g_previewScreenHeight = event.resize.h;
            break;
        case kPlayerEventAlloc:
            // Events of a player closed before are stale: only the open one is served.
            if (event.user.data1 == is)
            {
                if (!g_previewScreen)
                    PlayerVideoOpen(is);
                PlayerAllocPicture(is);
            }
            break;
        case kPlayerEventRefresh:
            if (event.user.data1 == is)
                PlayerRefresh(is);
            break;
        default:
            PlayerHandleEvent(&event);
            break;
        }
    }
}

// ---------------------------------------------------------------------------------------------

int PlayerOpenStream(const char* path)
{
    if (!path || !*path)
        return -1;
    std::string unixPath;
    if (!EngineToUnixPath(path, &unixPath))
        return -1;
    PlayerState* is = PlayerCreateState(unixPath.c_str());
    if (!is)
        return -1;
    g_playerState = is;
    ClearPendingSnapshot();
    return 0;
}

int PlayerHandleEvent(const SDL_Event* event)
{
    PlayerState* is = g_playerState.load();
    if (!is)
        return -1;
    switch (event->type)
    {
    case kPlayerEventPause:
        is->paused = 1;
        break;
    case kPlayerEventResume:
        PlayerResume(is);
        break;
    case kPlayerEventSeek:
        // Kept also while the file is still opening: the read thread serves it once it is open.
        PlayerRequestSeek(is, PlayerGetSeekOffset(event));
        break;
    case kPlayerEventSnapshot: {
        const char* path = static_cast<const char*>(event->user.data2);
        char* copy = path ? strdup(path) : nullptr;
        free(g_snapshotPath.exchange(copy));
        g_snapshotQueued = false;
        break;
    }
    default:
        break;
    }
    return 0;
}

int PlayerSaveSnapshot(PlayerPicture* picture)
{
    std::unique_ptr<char, decltype(&free)> path(g_snapshotPath.exchange(nullptr), free);
    if (!path)
        return -1;
    PlayerState* is = g_playerState.load();
    if (!is || !picture || !picture->bmp)
        return -1;
    int width = picture->width;
    int height = picture->height;

    media::ScalerPtr sws(sws_getContext(width, height, AV_PIX_FMT_YUV420P, width, height, AV_PIX_FMT_BGR24,
                                        kPlayerScalerFlags, nullptr, nullptr, nullptr));
    media::FramePtr bgr(av_frame_alloc());
    if (!sws || !bgr)
        return -1;
    bgr->width = width;
    bgr->height = height;
    bgr->format = AV_PIX_FMT_BGR24;
    if (av_frame_get_buffer(bgr.get(), 0) < 0)
        return -1;

    SDL_Overlay* bmp = picture->bmp;
    SDL_LockYUVOverlay(bmp);
    // A YV12 overlay stores the V plane before the U plane.
    const uint8_t* src[4] = {bmp->pixels[0], bmp->pixels[2], bmp->pixels[1], nullptr};
    int srcStride[4] = {bmp->pitches[0], bmp->pitches[2], bmp->pitches[1], 0};
    sws_scale(sws.get(), src, srcStride, 0, height, bgr->data, bgr->linesize);
    SDL_UnlockYUVOverlay(bmp);

    // A snapshot that cannot be written is consumed all the same.
    media::WriteBmpFile(bgr.get(), path.get());
    return 0;
}

void PlayerAttachHostWindow(HWND hostWindow)
{
    PlayerReleaseHostWindow();
    {
        std::lock_guard<std::mutex> guard(g_kept.lock);
        g_kept.pixels.clear();
        g_kept.width = g_kept.height = 0;
        g_kept.drawn = RECT{};
    }
    g_hostProc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hostWindow, GWLP_WNDPROC));
    if (!g_hostProc)
        return;
    g_hostWindow = hostWindow;
    ::SetWindowLongPtrW(hostWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HostWindowProc));
}

void PlayerReleaseHostWindow()
{
    // Handed back only while no one has put a procedure of their own on top of ours.
    if (g_hostWindow && ::IsWindow(g_hostWindow) &&
        ::GetWindowLongPtrW(g_hostWindow, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(HostWindowProc))
    {
        ::SetWindowLongPtrW(g_hostWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_hostProc));
        g_hostProc = nullptr;
    }
    g_hostWindow = nullptr;
    std::lock_guard<std::mutex> guard(g_kept.lock);
    g_kept.pixels.clear();
    g_kept.width = g_kept.height = 0;
    g_kept.drawn = RECT{};
}

int PlayerVideoOpen(PlayerState* is)
{
    if (is->surfaceFailed)
        return -1;
    int width = kFallbackWidth;
    int height = kFallbackHeight;
    // A host window without an area (folded away) gets nothing to see; the pictures are drawn
    // at their own size all the same, so that the preview keeps its clock.
    if (g_previewScreenWidth > 0 && g_previewScreenHeight > 0)
    {
        width = g_previewScreenWidth;
        height = g_previewScreenHeight;
    }
    else if (is->videoCtx && is->videoCtx->width)
    {
        width = is->videoCtx->width;
        height = is->videoCtx->height;
    }
    g_previewScreen = SetVideoMode(width, height);
    if (!g_previewScreen)
    {
        is->surfaceFailed = true;
        fprintf(stderr, "SDL: could not set video mode - exiting\n");
        return -1;
    }
    is->width = g_previewScreen->w;
    is->height = g_previewScreen->h;
    return 0;
}

void PlayerDisplay(PlayerState* is)
{
    if (!g_previewScreen && PlayerVideoOpen(is) < 0)
        return;
    SDL_Rect drawn = {};
    if (is->audioSt && !is->videoSt)
    {
        PlayerShowWaveform(is, &drawn);
        PresentRect(drawn);
    }
    else if (is->videoSt && PlayerShowPicture(is, &drawn))
    {
        PresentRect(drawn);
    }
}
