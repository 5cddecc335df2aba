// Guarded codec open and close: the program's one-thread codec opens and closes never run in two
// threads at once; each happens while the caller holds g_codecLock, and a re-entry counter logs the
// callers that forgot it. A context that runs threads of its own opens and closes without the lock:
// starting and joining its threads takes long, and other jobs, media information and thumbnails
// must not wait for that. FFmpeg itself serializes the codec initializers that are not thread-safe.
#pragma once

#include <atomic>
#include <mutex>

extern "C"
{
#include <libavcodec/avcodec.h>
}

extern std::mutex g_codecLock;
extern std::atomic<int> g_codecGuardCount;

// Caller holds g_codecLock. 0 opened; -1 when the context has a codec already or none was given;
// -22 invalid coded size; otherwise FFmpeg's negative result of the open. Private codec options
// (crf, coder, ...) go through options, as avcodec_open2 takes them.
int GuardedCodecOpen(AVCodecContext* context, const AVCodec* codec, AVDictionary** options = nullptr);
// Caller holds g_codecLock. Closes the codec; the context can be opened again. 0.
int GuardedCodecClose(AVCodecContext* context);

// Whether a context runs codec threads of its own (any thread count but 1, 0 meaning automatic).
bool CodecRunsThreads(const AVCodecContext* context);

// The same, taking g_codecLock themselves for one-thread contexts; contexts that run threads open
// and close outside it.
int EngineOpenCodec(AVCodecContext* context, const AVCodec* codec, AVDictionary** options = nullptr);
int EngineCloseCodec(AVCodecContext* context);

// Called with every context EngineOpenCodec opened, on the opening thread, where tests read back
// what the codecs were opened with (nullptr: nothing is called).
using CodecOpenObserver = void (*)(const AVCodecContext* context);
void SetCodecOpenObserver(CodecOpenObserver observer);
