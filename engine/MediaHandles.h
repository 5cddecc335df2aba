// Owners of the FFmpeg objects that the engine's media code opens (files, decoders, frames, packets,
// scalers, resamplers), and the opening steps they share: paths in, opened objects out.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <memory>
#include <string>

namespace media
{
struct FormatCloser
{
    void operator()(AVFormatContext* f) const
    {
        avformat_close_input(&f);
    }
};
// Closes the decoder under the codec lock, then frees its context.
struct CodecCloser
{
    void operator()(AVCodecContext* c) const;
};
struct FrameFreer
{
    void operator()(AVFrame* f) const
    {
        av_frame_free(&f);
    }
};
struct PacketFreer
{
    void operator()(AVPacket* p) const
    {
        av_packet_free(&p);
    }
};
struct ScalerFreer
{
    void operator()(SwsContext* s) const
    {
        sws_freeContext(s);
    }
};
struct ResamplerFreer
{
    void operator()(SwrContext* s) const
    {
        swr_free(&s);
    }
};

using FormatPtr = std::unique_ptr<AVFormatContext, FormatCloser>;
using CodecPtr = std::unique_ptr<AVCodecContext, CodecCloser>;
using FramePtr = std::unique_ptr<AVFrame, FrameFreer>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFreer>;
using ScalerPtr = std::unique_ptr<SwsContext, ScalerFreer>;
using ResamplerPtr = std::unique_ptr<SwrContext, ResamplerFreer>;

// Opens and probes a media file given by an 8-bit path (Win32 or Unix); null when it cannot be
// opened or probed. Must run on a Win32 thread.
FormatPtr OpenMediaFile(const char* ansiPath);

// A decoder context for the stream, opened with one thread under the codec lock; null on failure.
CodecPtr OpenStreamDecoder(const AVStream* stream);

// Writes a BGR24 picture as a BMP file (FFmpeg's BMP encoder) at an 8-bit path (Win32 or Unix).
// 0, or -1 when it cannot be encoded or written. Must run on a Win32 thread.
int WriteBmpFile(const AVFrame* picture, const char* ansiPath);

// Index of the last stream of the kind, -1 when the file has none.
int LastStreamOfType(const AVFormatContext* file, AVMediaType type);
}
