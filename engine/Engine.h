// The media engine's interface to the rest of the program: plain values in and out (an id or 0 on
// success, -1 or null on failure), no exception ever leaves it. Conversion jobs are addressed by
// job ids from 1025 on; 1024 is the preview's id.
#pragma once

#include "engine/JobSettings.h"

#include <stdarg.h>
#include <stdint.h>
#include <windows.h>

#include <atomic>
#include <mutex>

class CEncoder;
class PlayThread;
struct MediaInfo;

// The application's log receiver: job id and an 8-bit line in the system code page, valid only
// during the call. Called on the worker thread that logged the line; must not wait for the UI.
typedef int (*EngineLogSink)(int jobId, const char* text);

const int kPreviewJobId = 1024;
const int kFirstJobId = 1025;

// Globals the application writes directly.
extern std::atomic<EngineLogSink> g_engineLogSink;
extern std::atomic<int> g_backgroundConversion; // non-zero: the transcode loop yields 1 ms per turn
extern std::atomic<int> g_pipelinedConversion;  // non-zero (default): transcode stages run side by side
extern std::atomic<int> g_previewVolume;        // 0..128
extern std::atomic<int> g_previewMute;          // non-zero: the preview is silent

// The running preview player, owned by the engine; null while no preview runs.
extern PlayThread* g_playThread;

// Held while one job's command line is parsed into the converter's global option state.
extern std::mutex g_optionParserLock;

// Jobs (UI thread).
int EngineCreateJob(const JobSettings* settings);
CEncoder* EngineFindJob(int jobId);
int EngineDestroyJob(int jobId);
int EngineDestroyAllJobs();

// Process-wide start-up (runs by itself at static initialisation; safe to call again) and
// shut-down (registered with the exit sequence; stops and deletes every job left).
void EngineStartup();
void EngineShutdown();
// Makes the capture and playback devices known as formats ("alsa", "x11grab", ...), once; false
// when their library cannot be loaded. Their library and the dozens it pulls in load only for a
// format name that no file format has, so that no start-up pays for them.
bool EngineRegisterDevices();

// Log routing. FFmpegLogCallback is installed as FFmpeg's log callback. EngineDispatchLog hands a
// line to the sink once for every job that claims the context; -1 without a sink, else 0. On a
// thread that may not call Win32 (FFmpeg's and libx264's own threads) the line is queued and
// delivered by the next Win32 thread that logs, or dropped when the queue is full.
void FFmpegLogCallback(void* context, int level, const char* format, va_list args);
int EngineDispatchLog(void* context, const char* text);
// Delivers the queued lines; call from a Win32 thread.
void EngineFlushLog();
// 1 when a log sink is installed and a registered job claims the context, else 0.
int EngineLogReachesJob(void* context);
// Logs a line for the job whose worker runs on the calling thread (nothing elsewhere): the
// converter's messages to the user reach that job's log this way. 1 when the line reached the
// log of a registered job, 0 when it went nowhere (no job on this thread, no sink).
int EngineLogToCurrentJob(int level, const char* text);

// Media information and thumbnails (UI thread): 0, or -1 when the file cannot be opened or probed
// or, for the thumbnail, has no decodable picture or the BMP file cannot be written.
int EngineGetMediaInfo(const char* path, MediaInfo* info);
int EngineMakeThumbnail(const char* mediaPath, const char* bmpPath);

// Preview (UI thread).
int EngineStartPreview(const char* path, HWND hwndVideo);
int EngineStopPreview();
int EngineSetPreviewVolume(int percent);
int EngineGetPreviewPosition(int64_t* position);
