// Reads an output file back through libavformat: its streams' codecs and frame widths and its
// length. A file whose header gives no length (RealAudio 1.0 files get none from the muxer) is
// measured by adding up its packets' durations, per stream.
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
struct ReadBack
{
    bool opened = false;
    std::vector<AVCodecID> codecs;
    std::vector<int> widths;
    double seconds = 0;
};

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
            back.codecs.push_back(file->streams[i]->codecpar->codec_id);
            back.widths.push_back(file->streams[i]->codecpar->width);
        }
        if (file->duration != AV_NOPTS_VALUE && file->duration > 0)
            back.seconds = file->duration / (double)AV_TIME_BASE;
        std::vector<double> lengths(file->nb_streams, 0.0);
        AVPacket* packet = av_packet_alloc();
        while (back.seconds == 0 && packet && av_read_frame(file, packet) >= 0)
        {
            lengths[packet->stream_index] += packet->duration * av_q2d(file->streams[packet->stream_index]->time_base);
            av_packet_unref(packet);
        }
        av_packet_free(&packet);
        for (double length : lengths)
            back.seconds = back.seconds > length ? back.seconds : length;
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
