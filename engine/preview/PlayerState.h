// The decoding and timing core of the preview player: the one open player's state, its read and
// video threads, the audio callback, the picture queue and the audio-master clocks. PlayThread
// owns one of these through g_playerState and drives it from its event loop.
#pragma once

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "engine/preview/PlayerPacketQueue.h"

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwrContext;
struct SwsContext;
struct SDL_Overlay;
struct SDL_Rect;
typedef struct _SDL_TimerID* SDL_TimerID;

const int kPlayerAudioBufferSize = 288000;
const int kPlayerSampleRingSize = 2 * 65536;
const int kPlayerPictureQueueSize = 1;
const int kPlayerAudioQueueLimit = 81920;
const int kPlayerVideoQueueLimit = 0x140000;
const int kPlayerSdlAudioSamples = 1024;
const double kPlayerSyncThreshold = 0.01;
const double kPlayerNoSyncThreshold = 10.0;
const int kPlayerFirstRefreshMs = 40;
const double kPlayerInitialFrameDelay = 0.04;
const int kPlayerMaxPathLength = 1023;
// Scaler flags of every picture conversion of the preview (bicubic).
const int kPlayerScalerFlags = 4;
// A picture is never shown sooner than this after the one before it.
const double kPlayerMinFrameDelay = 0.010;
// No seek waits for the read thread.
const int64_t kPlayerNoSeek = INT64_MIN;

// The only synchronisation the preview uses: the picture follows the sound.
const int kPlayerSyncAudioMaster = 0;

struct PlayerPicture
{
    double pts = 0;
    SDL_Overlay* bmp = nullptr;
    int width = 0;
    int height = 0;
    bool allocated = false;
    int serial = 0; // seek generation the picture was decoded in
};

struct PlayerState
{
    HANDLE readThread = nullptr;
    HANDLE videoThread = nullptr;

    std::atomic<int> abortRequest{0};
    volatile int paused = 0;
    int lastPaused = 0;

    // The seek the read thread serves next, in microseconds from the start of the file, or
    // kPlayerNoSeek. A newer request replaces one not yet served; one made while the file is still
    // opening is served as soon as it is open.
    std::atomic<int64_t> seekOffset{kPlayerNoSeek};
    int seekFlags = 0;
    // Raised by the read thread at every seek; pictures of an older generation are dropped.
    std::atomic<int> seekSerial{0};
    // Raised by the video thread at each seek's flush mark in its queue: the generation of the
    // packets it decodes, which its pictures carry (a packet taken before the mark is older).
    int videoSerial = 0;

    AVFormatContext* ic = nullptr;
    int audioStream = -1;
    int avSyncType = kPlayerSyncAudioMaster;
    // Set by the read thread when the file or its codecs could not be opened.
    std::atomic<int> openFailed{0};
    // The file's start time (microseconds), set by the read thread when it has opened the file.
    int64_t startTime = 0;

    double audioClock = 0;

    AVStream* audioSt = nullptr;
    AVCodecContext* audioCtx = nullptr;
    PlayerPacketQueue audioq;
    int audioHwBufSize = 0;
    int audioChannels = 0; // as delivered to the device (the decoder's output is downmixed to it)
    int audioSampleRate = 0;

    uint8_t* audioBuf = nullptr; // kPlayerAudioBufferSize bytes of signed 16-bit samples
    int audioBufSize = 0;
    int audioBufIndex = 0;
    bool audioPacketPending = false; // a packet was sent and its frames are still being taken
    AVFrame* audioFrame = nullptr;
    SwrContext* audioConvert = nullptr;
    int audioSrcFormat = -1;
    int audioSrcChannels = 0;
    int audioSrcRate = 0;
    int64_t audioCallbackTime = 0;

    int showWaveform = 0;
    int16_t sampleArray[kPlayerSampleRingSize] = {};
    int sampleArrayIndex = 0;
    int lastWaveformStart = 0;

    double frameTimer = 0;
    int frameTimerSerial = 0; // seek generation the frame timer runs in
    double frameLastPts = 0;
    double frameLastDelay = 0;
    double videoClock = 0;

    int videoStream = -1;
    AVStream* videoSt = nullptr;
    AVCodecContext* videoCtx = nullptr;
    PlayerPacketQueue videoq;
    double videoCurrentPts = 0;
    int64_t videoCurrentPtsTime = 0;

    PlayerPicture pictq[kPlayerPictureQueueSize];
    int pictqSize = 0;
    int pictqRindex = 0;
    int pictqWindex = 0;
    std::mutex pictqMutex;
    std::condition_variable pictqCond;
    SwsContext* imgConvertCtx = nullptr;

    SDL_TimerID refreshTimer = nullptr;
    bool surfaceFailed = false; // the drawing surface could not be opened: said once, not tried again
    char filename[kPlayerMaxPathLength + 1] = {};
    int width = 0;
    int height = 0;
    int xleft = 0;
    int ytop = 0;
};

// Allocates the state for the file at the Unix path, schedules the first refresh and starts the
// read thread; null on failure.
PlayerState* PlayerCreateState(const char* unixPath);
// Stops every thread of the player, closes its codecs and file and frees it.
void PlayerCloseStream(PlayerState* is);

// The refresh step (event 25) and the overlay allocation (event 24, after the surface is open).
void PlayerRefresh(PlayerState* is);
void PlayerAllocPicture(PlayerState* is);
// Draws the picture at the read index into the preview surface; false when nothing was drawn.
bool PlayerShowPicture(PlayerState* is, SDL_Rect* drawn);
// Draws the sound of a file without pictures into the preview surface.
void PlayerShowWaveform(PlayerState* is, SDL_Rect* drawn);

double PlayerAudioClock(PlayerState* is);
double PlayerVideoClock(PlayerState* is);
double PlayerMasterClock(PlayerState* is);
// Asks the read thread to seek to offset (microseconds from the start of the file); the newest
// request wins.
void PlayerRequestSeek(PlayerState* is, int64_t offset);
// Resumes the player: the clocks are moved on by the time spent paused.
void PlayerResume(PlayerState* is);

int PlayerOpenComponent(PlayerState* is, int index);
void PlayerCloseComponent(PlayerState* is, int index);

// Current time in microseconds on a clock that never jumps.
int64_t PlayerNow();
