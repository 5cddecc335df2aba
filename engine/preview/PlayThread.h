// The preview player: plays one source file inside a host window of the application, with sound,
// and saves the picture on screen as a bitmap on request. The engine keeps the one running player
// in g_playThread; its state and settings are process-wide, as only one preview exists at a time.
#pragma once

#include "engine/preview/PlayerEvents.h"
#include "engine/Thread.h"

#include <windows.h>

#include <atomic>

struct PlayerPicture;
struct PlayerState;
struct SDL_Surface;

const int kPlayThreadPathCapacity = 260; // 259 characters and the terminator

// The open player; null when none.
extern std::atomic<PlayerState*> g_playerState;
// Snapshot waiting for the next shown picture (heap text), or null.
extern std::atomic<char*> g_snapshotPath;
// Size of the drawing area: the host window's client size.
extern int g_previewScreenWidth;
extern int g_previewScreenHeight;
// The software surface every picture is drawn into before it is copied into the host window.
extern SDL_Surface* g_previewScreen;

class PlayThread : public CThread
{
  public:
    PlayThread(const char* sourcePath, HWND hostWindow);

    // On the caller's thread: restarts SDL, opens the player and starts the event loop. 0 or -1.
    int StartPlayback();
    int Run() override;
    // -1 without an open player, else 0; the file is written at the next shown picture.
    int RequestSnapshot(const char* path);
    void EventLoop();

  private:
    char m_sourcePath[kPlayThreadPathCapacity];
    bool m_pathTooLong;
    HWND m_hostWindow;
    char m_snapshotPath[kPlayThreadPathCapacity];
};

// Prepares and opens the player for the source file (a Win32 or Unix path). 0 or -1.
int PlayerOpenStream(const char* path);
// Pause, resume, seek and snapshot events; -1 without an open player.
int PlayerHandleEvent(const SDL_Event* event);
// Writes the pending snapshot from the picture about to be shown; -1 when none was written.
int PlayerSaveSnapshot(PlayerPicture* picture);
// Opens the drawing surface; 0 or -1.
int PlayerVideoOpen(PlayerState* is);
// Draws the current picture (or the waveform of a sound-only file) and copies it into the host
// window.
void PlayerDisplay(PlayerState* is);
// The host window redraws the last picture shown whenever it paints (paused, at the end, after
// being covered) until it is released. On the host window's thread.
void PlayerAttachHostWindow(HWND hostWindow);
void PlayerReleaseHostWindow();
