// The preview entry points of the engine interface: start, stop, volume and position of the one
// preview player.
#include "engine/Engine.h"
#include "engine/preview/PlayThread.h"
#include "engine/preview/PlayerState.h"
#include "platform/mfc/ExitSequence.h"

#include <SDL.h>
#undef main

#include <new>

PlayThread* g_playThread = nullptr;
std::atomic<int> g_previewVolume(128);
std::atomic<int> g_previewMute(1);

// How long a stop waits for the player's thread before it is terminated.
const int kPreviewStopTimeoutMs = 2000;

// A preview still running when the program ends is stopped before the libraries go away.
static void StopPreviewAtExit(void*)
{
    EngineStopPreview();
}

int EngineStartPreview(const char* path, HWND hwndVideo)
{
    try
    {
        static bool exitHandlerRegistered = false;
        if (!exitHandlerRegistered)
        {
            AfxRegisterExitHandler(StopPreviewAtExit, nullptr);
            exitHandlerRegistered = true;
        }
        if (g_playThread)
            EngineStopPreview();
        PlayThread* player = new (std::nothrow) PlayThread(path, hwndVideo);
        if (!player)
            return -1;
        g_playThread = player;
        if (player->StartPlayback() < 0)
            return -1;
        return kPreviewJobId;
    }
    catch (...)
    {
        return -1;
    }
}

int EngineStopPreview()
{
    PlayThread* player = g_playThread;
    if (!player)
        return 0;
    PlayerPushQuit();
    if (player->Stop(kPreviewStopTimeoutMs) == 0)
    {
        // The event loop was terminated: release whatever still waits on the player's queues
        // before SDL closes the sound device, and leave the player's memory alone.
        if (PlayerState* is = g_playerState.exchange(nullptr))
        {
            is->abortRequest = 1;
            PlayerPacketQueueAbort(&is->audioq);
            PlayerPacketQueueAbort(&is->videoq);
        }
        SDL_Quit();
    }
    delete player;
    g_playThread = nullptr;
    PlayerReleaseHostWindow();
    return 0;
}

int EngineSetPreviewVolume(int percent)
{
    if (!g_playThread)
        return -1;
    const int kFullPercent = 100;
    const int kFullVolume = 128;
    int clamped = percent < 0 ? 0 : (percent > kFullPercent ? kFullPercent : percent);
    g_previewVolume = clamped * kFullVolume / kFullPercent;
    return 0;
}

int EngineGetPreviewPosition(int64_t* position)
{
    PlayerState* is = g_playerState.load();
    if (!g_playThread || !is || !position || is->openFailed)
        return -1;
    *position = static_cast<int64_t>(is->videoCurrentPts * 1000000.0);
    return 0;
}
