#include "engine/MediaHandles.h"

#include "engine/CodecLock.h"
#include "engine/UnixPath.h"

namespace media
{
void CodecCloser::operator()(AVCodecContext* c) const
{
    if (!c)
        return;
    EngineCloseCodec(c);
    avcodec_free_context(&c);
}

FormatPtr OpenMediaFile(const char* ansiPath)
{
    std::string path;
    if (!ansiPath || !EngineToUnixPath(ansiPath, &path) || path.empty())
        return nullptr;
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0)
        return nullptr;
    FormatPtr file(raw);
    if (avformat_find_stream_info(file.get(), nullptr) < 0)
        return nullptr;
    return file;
}

CodecPtr OpenStreamDecoder(const AVStream* stream)
{
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        return nullptr;
    CodecPtr context(avcodec_alloc_context3(codec));
    if (!context || avcodec_parameters_to_context(context.get(), stream->codecpar) < 0)
        return nullptr;
    context->thread_count = 1;
    context->pkt_timebase = stream->time_base;
    if (EngineOpenCodec(context.get(), codec) < 0)
        return nullptr;
    return context;
}

int LastStreamOfType(const AVFormatContext* file, AVMediaType type)
{
    int found = -1;
    for (unsigned i = 0; i < file->nb_streams; ++i)
        if (file->streams[i]->codecpar->codec_type == type)
            found = static_cast<int>(i);
    return found;
}
}
