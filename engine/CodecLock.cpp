#include "engine/CodecLock.h"

extern "C"
{
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
}

std::mutex g_codecLock;
std::atomic<int> g_codecGuardCount(0);

namespace
{
std::atomic<CodecOpenObserver> g_codecOpenObserver{nullptr};

// Counts one entry into the guarded routines for as long as it lives.
class CodecGuardEntry
{
public:
    explicit CodecGuardEntry(void* logContext)
    {
        if (++g_codecGuardCount != 1)
            av_log(logContext, AV_LOG_ERROR, "insufficient thread locking around avcodec_open/close()\n");
    }
    ~CodecGuardEntry() { --g_codecGuardCount; }
    CodecGuardEntry(const CodecGuardEntry&) = delete;
    CodecGuardEntry& operator=(const CodecGuardEntry&) = delete;
};

const int kInvalidSize = -22;

int OpenCodec(AVCodecContext* context, const AVCodec* codec, AVDictionary** options)
{
    if (!context || !codec || avcodec_is_open(context))
        return -1;
    if ((context->coded_width || context->coded_height) &&
        av_image_check_size(context->coded_width, context->coded_height, 0, context) < 0)
        return kInvalidSize;
    if ((context->width || context->height) && av_image_check_size(context->width, context->height, 0, context) < 0)
        return kInvalidSize;
    int result = avcodec_open2(context, codec, options);
    return result < 0 ? result : 0;
}
} // namespace

int GuardedCodecOpen(AVCodecContext* context, const AVCodec* codec, AVDictionary** options)
{
    CodecGuardEntry entry(context);
    return OpenCodec(context, codec, options);
}

int GuardedCodecClose(AVCodecContext* context)
{
    CodecGuardEntry entry(context);
    if (context)
        avcodec_close(context);
    return 0;
}

bool CodecRunsThreads(const AVCodecContext* context)
{
    return context && context->thread_count != 1;
}

int EngineOpenCodec(AVCodecContext* context, const AVCodec* codec, AVDictionary** options)
{
    int result;
    if (CodecRunsThreads(context))
        result = OpenCodec(context, codec, options);
    else
    {
        std::lock_guard<std::mutex> guard(g_codecLock);
        result = GuardedCodecOpen(context, codec, options);
    }
    CodecOpenObserver observer = g_codecOpenObserver;
    if (result == 0 && observer)
        observer(context);
    return result;
}

void SetCodecOpenObserver(CodecOpenObserver observer)
{
    g_codecOpenObserver = observer;
}

int EngineCloseCodec(AVCodecContext* context)
{
    if (CodecRunsThreads(context))
    {
        avcodec_close(context);
        return 0;
    }
    std::lock_guard<std::mutex> guard(g_codecLock);
    return GuardedCodecClose(context);
}
