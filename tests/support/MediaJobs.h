// Helpers of the DPG and decoration job tests: a job run to its end through the engine interface
// and a file read back with the pixels of every frame.
#pragma once

#include "RwTest.h"

#include "JobFixture.h"

#include "engine/Encoder.h"
#include "engine/Engine.h"
#include "engine/JobSettings.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <cstring>
#include <string>
#include <vector>

namespace mediajobs
{
// Runs a job to its end; its final state and progress.
struct JobEnd
{
    EncoderState state = kEncoderRunning;
    float progress = 0.0f;
};
inline JobEnd RunJob(const JobSettings& settings)
{
    JobEnd end;
    int id = EngineCreateJob(&settings);
    EXPECT_GE(id, kFirstJobId);
    if (id < kFirstJobId)
        return end;
    end.state = rwtest::WaitForJobEnd(id);
    end.progress = EngineFindJob(id)->GetProgress();
    EngineDestroyJob(id);
    return end;
}

// A file read back: its first video and audio stream, every frame decoded.
struct Decoded
{
    AVCodecID videoCodec = AV_CODEC_ID_NONE, audioCodec = AV_CODEC_ID_NONE;
    int width = 0, height = 0, sampleRate = 0;
    int undecodable = 0;
    int audioFrames = 0;
    std::vector<std::vector<uint8_t>> luma; // per video frame
    std::vector<std::vector<uint8_t>> blue; // Cb plane per video frame (4:2:0)
};

inline void Keep(Decoded& d, const AVFrame* frame)
{
    d.width = frame->width;
    d.height = frame->height;
    std::vector<uint8_t> y(frame->width * frame->height), u(frame->width * frame->height / 4);
    for (int r = 0; r < frame->height; ++r)
        std::memcpy(&y[r * frame->width], frame->data[0] + r * frame->linesize[0], frame->width);
    for (int r = 0; r < frame->height / 2 && frame->data[1]; ++r)
        std::memcpy(&u[r * frame->width / 2], frame->data[1] + r * frame->linesize[1], frame->width / 2);
    d.luma.push_back(std::move(y));
    d.blue.push_back(std::move(u));
}

inline Decoded Decode(const std::string& path, const char* format = nullptr)
{
    Decoded d;
    AVFormatContext* file = nullptr;
    if (avformat_open_input(&file, path.c_str(), format ? av_find_input_format(format) : nullptr, nullptr) < 0)
        return d;
    avformat_find_stream_info(file, nullptr);
    std::vector<AVCodecContext*> decoders(file->nb_streams, nullptr);
    for (unsigned i = 0; i < file->nb_streams; ++i)
    {
        const AVCodecParameters* p = file->streams[i]->codecpar;
        AVCodecID& id = p->codec_type == AVMEDIA_TYPE_VIDEO ? d.videoCodec : d.audioCodec;
        if ((p->codec_type != AVMEDIA_TYPE_VIDEO && p->codec_type != AVMEDIA_TYPE_AUDIO) || id != AV_CODEC_ID_NONE)
            continue;
        id = p->codec_id;
        if (p->codec_type == AVMEDIA_TYPE_AUDIO)
            d.sampleRate = p->sample_rate;
        const AVCodec* codec = avcodec_find_decoder(p->codec_id);
        decoders[i] = avcodec_alloc_context3(codec);
        avcodec_parameters_to_context(decoders[i], p);
        if (avcodec_open2(decoders[i], codec, nullptr) < 0)
            avcodec_free_context(&decoders[i]);
    }
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    auto drain = [&](AVCodecContext* decoder) {
        while (avcodec_receive_frame(decoder, frame) >= 0)
        {
            if (decoder->codec_type == AVMEDIA_TYPE_VIDEO)
                Keep(d, frame);
            else
                ++d.audioFrames;
        }
    };
    while (av_read_frame(file, packet) >= 0)
    {
        AVCodecContext* decoder = decoders[packet->stream_index];
        if (decoder)
        {
            if (avcodec_send_packet(decoder, packet) < 0)
                ++d.undecodable;
            drain(decoder);
        }
        av_packet_unref(packet);
    }
    for (AVCodecContext* decoder : decoders)
        if (decoder)
        {
            avcodec_send_packet(decoder, nullptr);
            drain(decoder);
            avcodec_free_context(&decoder);
        }
    av_frame_free(&frame);
    av_packet_free(&packet);
    avformat_close_input(&file);
    return d;
}
}
