// Reads a converted file back through libavformat for the job tests: what its streams are, how
// long it is, whether every packet decodes, and a checksum per decoded video frame.
#pragma once

#include <stdint.h>

#include <memory>
#include <string>
#include <vector>

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/crc.h>
}

namespace rwtest
{
struct OutputFacts
{
    bool opened = false;
    AVCodecID videoCodec = AV_CODEC_ID_NONE;
    uint32_t videoTag = 0;
    int width = 0;
    int height = 0;
    double frameRate = 0.0;
    AVCodecID audioCodec = AV_CODEC_ID_NONE;
    int sampleRate = 0;
    int channels = 0;
    double duration = 0.0; // seconds
    int packets = 0;
    int undecodablePackets = 0;
    int videoFrames = 0;
    std::vector<uint32_t> frameChecksums; // luma plane of each decoded video frame
};

namespace detail
{
struct InputCloser
{
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct CodecFreer
{
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct PacketFreer
{
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FrameFreer
{
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};

inline uint32_t LumaChecksum(const AVFrame* frame)
{
    const AVCRC* table = av_crc_get_table(AV_CRC_32_IEEE);
    uint32_t crc = 0;
    for (int y = 0; y < frame->height; ++y)
        crc = av_crc(table, crc, frame->data[0] + (ptrdiff_t)y * frame->linesize[0], frame->width);
    return crc;
}

// Receives every frame the decoder has ready; false on a decoding error.
inline bool Drain(AVCodecContext* decoder, AVFrame* frame, bool isVideo, OutputFacts* facts)
{
    for (;;)
    {
        int result = avcodec_receive_frame(decoder, frame);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return true;
        if (result < 0)
            return false;
        if (isVideo)
        {
            ++facts->videoFrames;
            facts->frameChecksums.push_back(LumaChecksum(frame));
        }
        av_frame_unref(frame);
    }
}
}

inline OutputFacts ProbeOutput(const std::string& path)
{
    OutputFacts facts;
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0)
        return facts;
    std::unique_ptr<AVFormatContext, detail::InputCloser> input(raw);
    if (avformat_find_stream_info(input.get(), nullptr) < 0)
        return facts;
    facts.opened = true;
    std::vector<std::unique_ptr<AVCodecContext, detail::CodecFreer>> decoders(input->nb_streams);
    std::vector<int64_t> streamEnd(input->nb_streams, 0);
    for (unsigned i = 0; i < input->nb_streams; ++i)
    {
        AVStream* stream = input->streams[i];
        AVCodecParameters* parameters = stream->codecpar;
        if (parameters->codec_type == AVMEDIA_TYPE_VIDEO && facts.videoCodec == AV_CODEC_ID_NONE)
        {
            facts.videoCodec = parameters->codec_id;
            facts.videoTag = parameters->codec_tag;
            facts.width = parameters->width;
            facts.height = parameters->height;
            AVRational rate = stream->avg_frame_rate.num ? stream->avg_frame_rate : stream->r_frame_rate;
            facts.frameRate = rate.den ? av_q2d(rate) : 0.0;
        }
        else if (parameters->codec_type == AVMEDIA_TYPE_AUDIO && facts.audioCodec == AV_CODEC_ID_NONE)
        {
            facts.audioCodec = parameters->codec_id;
            facts.sampleRate = parameters->sample_rate;
            facts.channels = parameters->ch_layout.nb_channels;
        }
        const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
        if (!codec)
            continue;
        decoders[i].reset(avcodec_alloc_context3(codec));
        avcodec_parameters_to_context(decoders[i].get(), parameters);
        if (avcodec_open2(decoders[i].get(), codec, nullptr) < 0)
            decoders[i].reset();
    }
    std::unique_ptr<AVPacket, detail::PacketFreer> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, detail::FrameFreer> frame(av_frame_alloc());
    while (av_read_frame(input.get(), packet.get()) >= 0)
    {
        int index = packet->stream_index;
        AVStream* stream = input->streams[index];
        ++facts.packets;
        int64_t end = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        if (end != AV_NOPTS_VALUE)
        {
            end = av_rescale_q(end + packet->duration - (stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0),
                               stream->time_base, AVRational{1, 1000000});
            if (end > streamEnd[index])
                streamEnd[index] = end;
        }
        AVCodecContext* decoder = decoders[index].get();
        bool isVideo = stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
        if (!decoder || avcodec_send_packet(decoder, packet.get()) < 0 ||
            !detail::Drain(decoder, frame.get(), isVideo, &facts))
            ++facts.undecodablePackets;
        av_packet_unref(packet.get());
    }
    for (unsigned i = 0; i < decoders.size(); ++i)
    {
        if (!decoders[i])
            continue;
        avcodec_send_packet(decoders[i].get(), nullptr);
        detail::Drain(decoders[i].get(), frame.get(), input->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO,
                      &facts);
    }
    for (int64_t end : streamEnd)
    {
        if (end / 1000000.0 > facts.duration)
            facts.duration = end / 1000000.0;
    }
    return facts;
}
}
