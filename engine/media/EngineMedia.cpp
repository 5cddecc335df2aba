// The engine-interface entry points that look at a file without converting it: its media
// information and a BMP thumbnail of its first picture.
#include "engine/Engine.h"
#include "engine/CodecLock.h"
#include "engine/MediaHandles.h"
#include "engine/UnixPath.h"
#include "engine/media/MediaInfo.h"

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
}

#include <cstdio>
#include <cstring>

namespace
{
const int kThumbnailMaxPackets = 1000;
const int kTryAgain = -11;

void CopyText(char destination[kMediaInfoTextSize], const char* text)
{
    std::snprintf(destination, kMediaInfoTextSize, "%s", text ? text : "");
}

struct CodecParameters
{
    AVCodecContext* context = avcodec_alloc_context3(nullptr);
    ~CodecParameters()
    {
        avcodec_free_context(&context);
    }
};

void FillVideo(MediaInfo& info, const AVStream* stream, const AVCodecContext* context)
{
    info.hasVideo = 1;
    GetCodecDisplayName(context, info.videoCodec);
    info.frameRate = GetVideoFrameRate(stream);
    info.width = context->width;
    info.height = context->height;
    CopyText(info.pixelFormat, context->pix_fmt == AV_PIX_FMT_NONE ? "" : av_get_pix_fmt_name(context->pix_fmt));
    info.videoBitRate = BitRateField(context->bit_rate);
}

void FillAudio(MediaInfo& info, const AVCodecContext* context)
{
    info.hasAudio = 1;
    GetCodecDisplayName(context, info.audioCodec);
    info.sampleRate = context->sample_rate;
    info.bitsPerSample = av_get_bytes_per_sample(context->sample_fmt) * 8;
    info.channels = context->ch_layout.nb_channels;
    CopyText(info.sampleFormat, av_get_sample_fmt_name(context->sample_fmt));
    info.audioBitRate = BitRateField(GetAudioBitRate(context));
}

void FillSubtitle(MediaInfo& info, const AVCodecContext* context)
{
    info.hasSubtitles = 1;
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get(context->codec_id);
    CopyText(info.subtitleCodec, descriptor ? descriptor->name : "");
}

// Decodes packets of the stream until the first complete picture; null when none comes.
media::FramePtr DecodeFirstPicture(AVFormatContext* file, int streamIndex, AVCodecContext* decoder)
{
    media::PacketPtr packet(av_packet_alloc());
    media::FramePtr frame(av_frame_alloc());
    if (!packet || !frame)
        return nullptr;
    bool flushed = false;
    for (int read = 0; read < kThumbnailMaxPackets && !flushed; ++read)
    {
        int result = av_read_frame(file, packet.get());
        if (result == kTryAgain)
            continue;
        if (result < 0)
        {
            avcodec_send_packet(decoder, nullptr); // pictures held back by the decoder
            flushed = true;
        }
        else if (packet->stream_index != streamIndex)
        {
            av_packet_unref(packet.get());
            continue;
        }
        else
        {
            avcodec_send_packet(decoder, packet.get());
            av_packet_unref(packet.get());
        }
        if (avcodec_receive_frame(decoder, frame.get()) >= 0)
            return frame;
    }
    return nullptr;
}

}

int EngineGetMediaInfo(const char* path, MediaInfo* info)
{
    if (!path || !info)
        return -1;
    media::FormatPtr file = media::OpenMediaFile(path);
    if (!file)
        return -1;
    MediaInfo filled;
    std::memset(&filled, 0, sizeof(filled));
    filled.duration = file->duration == AV_NOPTS_VALUE ? 0.0 : static_cast<double>(file->duration);
    filled.fileSize = file->pb ? avio_size(file->pb) : 0;
    const AVInputFormat* format = file->iformat;
    CopyText(filled.container, format->long_name && *format->long_name ? format->long_name : format->name);
    for (unsigned i = 0; i < file->nb_streams; ++i)
    {
        const AVStream* stream = file->streams[i];
        CodecParameters parameters;
        if (!parameters.context || avcodec_parameters_to_context(parameters.context, stream->codecpar) < 0)
            continue;
        switch (parameters.context->codec_type)
        {
        case AVMEDIA_TYPE_VIDEO:
            FillVideo(filled, stream, parameters.context);
            break;
        case AVMEDIA_TYPE_AUDIO:
            FillAudio(filled, parameters.context);
            break;
        case AVMEDIA_TYPE_SUBTITLE:
            FillSubtitle(filled, parameters.context);
            break;
        default:
            break;
        }
    }
    *info = filled;
    return 0;
}

int EngineMakeThumbnail(const char* mediaPath, const char* bmpPath)
{
    if (!mediaPath || !bmpPath)
        return -1;
    media::FormatPtr file = media::OpenMediaFile(mediaPath);
    if (!file)
        return -1;
    int streamIndex = media::LastStreamOfType(file.get(), AVMEDIA_TYPE_VIDEO);
    if (streamIndex < 0)
        return -1;
    media::CodecPtr decoder = media::OpenStreamDecoder(file->streams[streamIndex]);
    if (!decoder || decoder->width <= 0 || decoder->height <= 0)
        return -1;
    media::FramePtr decoded = DecodeFirstPicture(file.get(), streamIndex, decoder.get());
    if (!decoded)
        return -1;

    // The width is raised to a multiple of 4; the picture is stretched to it, not padded.
    const int width = (decoded->width + 3) & ~3;
    const int height = decoded->height;
    media::ScalerPtr scaler(sws_getContext(decoded->width, decoded->height, static_cast<AVPixelFormat>(decoded->format),
                                           width, height, AV_PIX_FMT_BGR24, SWS_BICUBLIN, nullptr, nullptr, nullptr));
    media::FramePtr picture(av_frame_alloc());
    if (!scaler || !picture)
        return -1;
    picture->width = width;
    picture->height = height;
    picture->format = AV_PIX_FMT_BGR24;
    if (av_frame_get_buffer(picture.get(), 0) < 0)
        return -1;
    sws_scale(scaler.get(), decoded->data, decoded->linesize, 0, decoded->height, picture->data, picture->linesize);

    return media::WriteBmpFile(picture.get(), bmpPath);
}
