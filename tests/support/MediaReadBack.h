// Reads an output file back through libavformat: its streams' codecs, frame widths and audio
// formats, the length its header gives, and where each stream's packets start and end in time.
// Lengths come from the header and packet times only, never from adding up packet durations:
// a file whose header or packet times are missing must show it.
#pragma once

extern "C"
{
#include <libavformat/avformat.h>
}

#include <sys/stat.h>

#include <string>
#include <vector>

namespace rwtest
{
struct StreamReadBack
{
    AVMediaType type = AVMEDIA_TYPE_UNKNOWN;
    AVCodecID codec = AV_CODEC_ID_NONE;
    int width = 0;
    int channels = 0;
    int sampleRate = 0;
    int packets = 0;
    int packetsAtZero = 0; // packets stamped at time 0
    double first = -1;     // seconds: the earliest packet time
    double end = 0;        // seconds: the latest packet time and that packet's length
};

struct ReadBack
{
    bool opened = false;
    std::vector<AVCodecID> codecs;
    std::vector<int> widths;
    std::vector<StreamReadBack> streams;
    double seconds = 0; // the length in the file's header

    const StreamReadBack* Find(AVMediaType type) const
    {
        for (const StreamReadBack& s : streams)
        {
            if (s.type == type)
                return &s;
        }
        return nullptr;
    }
};

// A packet's length in seconds: its own duration, or one frame of its stream.
inline double PacketSeconds(const AVStream* stream, const AVPacket* packet)
{
    if (packet->duration > 0)
        return packet->duration * av_q2d(stream->time_base);
    const AVCodecParameters* par = stream->codecpar;
    if (par->codec_type == AVMEDIA_TYPE_AUDIO && par->sample_rate > 0)
    {
        int samples = av_get_audio_frame_duration2(const_cast<AVCodecParameters*>(par), packet->size);
        if (samples <= 0)
            samples = par->frame_size;
        return samples > 0 ? samples / (double)par->sample_rate : 0;
    }
    AVRational rate = stream->avg_frame_rate.num ? stream->avg_frame_rate : stream->r_frame_rate;
    return rate.num && rate.den ? 1.0 / av_q2d(rate) : 0;
}

inline ReadBack ReadMediaFile(const std::string& path)
{
    ReadBack back;
    AVFormatContext* file = nullptr;
    if (avformat_open_input(&file, path.c_str(), nullptr, nullptr) < 0)
        return back;
    if (avformat_find_stream_info(file, nullptr) >= 0)
    {
        back.opened = true;
        for (unsigned i = 0; i < file->nb_streams; ++i)
        {
            const AVCodecParameters* par = file->streams[i]->codecpar;
            back.codecs.push_back(par->codec_id);
            back.widths.push_back(par->width);
            StreamReadBack stream;
            stream.type = par->codec_type;
            stream.codec = par->codec_id;
            stream.width = par->width;
            stream.channels = par->ch_layout.nb_channels;
            stream.sampleRate = par->sample_rate;
            back.streams.push_back(stream);
        }
        if (file->duration != AV_NOPTS_VALUE && file->duration > 0)
            back.seconds = file->duration / (double)AV_TIME_BASE;
        AVPacket* packet = av_packet_alloc();
        while (packet && av_read_frame(file, packet) >= 0)
        {
            const AVStream* stream = file->streams[packet->stream_index];
            StreamReadBack& s = back.streams[packet->stream_index];
            int64_t stamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            if (stamp != AV_NOPTS_VALUE)
            {
                double at = stamp * av_q2d(stream->time_base);
                s.first = s.first < 0 || at < s.first ? at : s.first;
                double end = at + PacketSeconds(stream, packet);
                s.end = end > s.end ? end : s.end;
                s.packetsAtZero += stamp == 0;
            }
            ++s.packets;
            av_packet_unref(packet);
        }
        av_packet_free(&packet);
    }
    avformat_close_input(&file);
    return back;
}

inline bool FileExists(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}
} // namespace rwtest
