// Guarded codec open and close: FFmpeg's codec open and close must never run in two threads at
// once, so every open and close of the program happens while the caller holds g_codecLock. A
// re-entry counter logs the callers that forgot it.
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

// The same, taking g_codecLock themselves.
int EngineOpenCodec(AVCodecContext* context, const AVCodec* codec, AVDictionary** options = nullptr);
int EngineCloseCodec(AVCodecContext* context);
