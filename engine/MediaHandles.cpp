#include "engine/MediaHandles.h"

#include "engine/CodecLock.h"
#include "engine/UnixPath.h"

#include <cstdio>

namespace media
{
void CodecCloser::operator()(AVCodecContext* c) const
{
    if (!c)
        return;
    EngineCloseCodec(c);
    avcodec_free_context(&c);
}

int WriteBmpFile(const AVFrame* picture, const char* ansiPath)
{
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_BMP);
    if (!codec)
        return -1;
    CodecPtr encoder(avcodec_alloc_context3(codec));
    if (!encoder)
        return -1;
    encoder->width = picture->width;
    encoder->height = picture->height;
    encoder->pix_fmt = AV_PIX_FMT_BGR24;
    encoder->time_base = AVRational{1, 25};
    if (EngineOpenCodec(encoder.get(), codec) < 0)
        return -1;
    PacketPtr packet(av_packet_alloc());
    if (!packet || avcodec_send_frame(encoder.get(), picture) < 0 ||
        avcodec_receive_packet(encoder.get(), packet.get()) < 0 || packet->size <= 0)
        return -1;
    std::string path;
    FILE* out = ansiPath && EngineToUnixPath(ansiPath, &path) ? std::fopen(path.c_str(), "wb+") : nullptr;
    if (!out)
        return -1;
    size_t written = std::fwrite(packet->data, 1, packet->size, out);
    int closed = std::fclose(out);
    return written == static_cast<size_t>(packet->size) && closed == 0 ? 0 : -1;
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
} // namespace media
