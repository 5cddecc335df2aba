// plain-transcode: the shortest honest transcode loop on the FFmpeg libraries, all on one thread
// (codec threads aside), the yardstick for the converter's own machinery: decode, scale,
// resample, encode, mux.
// Usage: plain-transcode SOURCE OUTPUT [key=value ...] with the keys (defaults in brackets)
//   vcodec [libx264] (none: audio only), size [source's], pad (a larger frame, WIDTHxHEIGHT, that
//   the picture of `size` is centred in on black), vb [1500] kbit/s, preset [medium], profile,
//   level, bf (libx264 settings), acodec [aac], ab [128] kbit/s, threads [0]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace
{
struct Deleters
{
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
    void operator()(AVFrame* f) const { av_frame_free(&f); }
    void operator()(AVPacket* p) const { av_packet_free(&p); }
    void operator()(SwsContext* s) const { sws_freeContext(s); }
    void operator()(SwrContext* s) const { swr_free(&s); }
    void operator()(AVAudioFifo* f) const { av_audio_fifo_free(f); }
};
template <typename T> using Owned = std::unique_ptr<T, Deleters>;

struct OutputCloser
{
    void operator()(AVFormatContext* c) const
    {
        if (c->pb)
            avio_closep(&c->pb);
        avformat_free_context(c);
    }
};

int Fail(const char* what)
{
    fprintf(stderr, "plain-transcode: %s\n", what);
    return 1;
}

struct Transcoder
{
    AVFormatContext* output = nullptr;
    AVStream* videoOut = nullptr;
    AVStream* audioOut = nullptr;
    Owned<AVCodecContext> videoEncoder, audioEncoder;
    Owned<AVPacket> packet{av_packet_alloc()};

    bool Drain(AVCodecContext* encoder, AVStream* stream)
    {
        for (;;)
        {
            int result = avcodec_receive_packet(encoder, packet.get());
            if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
                return true;
            if (result < 0)
                return false;
            av_packet_rescale_ts(packet.get(), encoder->time_base, stream->time_base);
            packet->stream_index = stream->index;
            if (av_interleaved_write_frame(output, packet.get()) < 0)
                return false;
        }
    }
    bool Encode(AVCodecContext* encoder, AVStream* stream, AVFrame* frame)
    {
        return avcodec_send_frame(encoder, frame) >= 0 && Drain(encoder, stream);
    }
};

Owned<AVCodecContext> OpenDecoder(AVStream* stream, int threads)
{
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        return nullptr;
    Owned<AVCodecContext> decoder(avcodec_alloc_context3(codec));
    avcodec_parameters_to_context(decoder.get(), stream->codecpar);
    decoder->thread_count = threads;
    decoder->pkt_timebase = stream->time_base;
    if (avcodec_open2(decoder.get(), codec, nullptr) < 0)
        return nullptr;
    return decoder;
}
}

int main(int argc, char** argv)
{
    if (argc < 3)
        return Fail("usage: SOURCE OUTPUT [key=value ...]");
    std::map<std::string, std::string> settings = {{"vcodec", "libx264"}, {"vb", "1500"}, {"preset", "medium"},
                                                   {"acodec", "aac"},     {"ab", "128"},   {"threads", "0"}};
    for (int i = 3; i < argc; ++i)
    {
        const char* eq = strchr(argv[i], '=');
        if (!eq)
            return Fail("settings are key=value");
        settings[std::string(argv[i], eq - argv[i])] = eq + 1;
    }
    av_log_set_level(AV_LOG_ERROR);
    const int threads = atoi(settings["threads"].c_str());
    const bool withVideo = settings["vcodec"] != "none";
    const int fps = 25, sampleRate = 44100;

    AVFormatContext* rawInput = nullptr;
    if (avformat_open_input(&rawInput, argv[1], nullptr, nullptr) < 0)
        return Fail("cannot open the source");
    Owned<AVFormatContext> input(rawInput);
    avformat_find_stream_info(input.get(), nullptr);
    int videoIndex = withVideo ? av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0) : -1;
    int audioIndex = av_find_best_stream(input.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if ((withVideo && videoIndex < 0) || audioIndex < 0)
        return Fail("the source needs video and audio");
    Owned<AVCodecContext> videoDecoder = withVideo ? OpenDecoder(input->streams[videoIndex], threads) : nullptr;
    Owned<AVCodecContext> audioDecoder = OpenDecoder(input->streams[audioIndex], threads);
    if ((withVideo && !videoDecoder) || !audioDecoder)
        return Fail("cannot open the decoders");
    int width = withVideo ? videoDecoder->width : 0, height = withVideo ? videoDecoder->height : 0;
    if (!settings["size"].empty() && sscanf(settings["size"].c_str(), "%dx%d", &width, &height) != 2)
        return Fail("size is WIDTHxHEIGHT");
    int frameWidth = width, frameHeight = height;
    if (!settings["pad"].empty() &&
        (sscanf(settings["pad"].c_str(), "%dx%d", &frameWidth, &frameHeight) != 2 || frameWidth < width ||
         frameHeight < height))
        return Fail("pad is WIDTHxHEIGHT, at least size");
    // The picture's place in the frame, on even lines and columns for the 4:2:0 chroma planes.
    const int padLeft = (frameWidth - width) / 4 * 2, padTop = (frameHeight - height) / 4 * 2;

    Transcoder t;
    avformat_alloc_output_context2(&t.output, nullptr, nullptr, argv[2]);
    if (!t.output)
        return Fail("cannot create the output");
    std::unique_ptr<AVFormatContext, OutputCloser> outputOwner(t.output);

    const bool globalHeader = t.output->oformat->flags & AVFMT_GLOBALHEADER;
    AVCodecContext* venc = nullptr;
    if (withVideo)
    {
        const AVCodec* videoCodec = avcodec_find_encoder_by_name(settings["vcodec"].c_str());
        if (!videoCodec)
            return Fail("unknown video encoder");
        t.videoEncoder.reset(avcodec_alloc_context3(videoCodec));
        venc = t.videoEncoder.get();
        venc->width = frameWidth;
        venc->height = frameHeight;
        venc->pix_fmt = AV_PIX_FMT_YUV420P;
        venc->time_base = AVRational{1, fps};
        venc->framerate = AVRational{fps, 1};
        venc->bit_rate = atoi(settings["vb"].c_str()) * 1000;
        venc->thread_count = threads;
        if (globalHeader)
            venc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (!settings["bf"].empty())
            venc->max_b_frames = atoi(settings["bf"].c_str());
        if (!settings["level"].empty())
            venc->level = atoi(settings["level"].c_str());
        if (settings["vcodec"] == "libx264")
        {
            av_opt_set(venc->priv_data, "preset", settings["preset"].c_str(), 0);
            if (!settings["profile"].empty())
                av_opt_set(venc->priv_data, "profile", settings["profile"].c_str(), 0);
        }
        if (avcodec_open2(venc, videoCodec, nullptr) < 0)
            return Fail("cannot open the video encoder");
    }

    const AVCodec* audioCodec = avcodec_find_encoder_by_name(settings["acodec"].c_str());
    if (!audioCodec)
        return Fail("unknown audio encoder");
    t.audioEncoder.reset(avcodec_alloc_context3(audioCodec));
    AVCodecContext* aenc = t.audioEncoder.get();
    aenc->sample_rate = sampleRate;
    aenc->sample_fmt = audioCodec->sample_fmts ? audioCodec->sample_fmts[0] : AV_SAMPLE_FMT_FLTP;
    av_channel_layout_default(&aenc->ch_layout, 2);
    aenc->bit_rate = atoi(settings["ab"].c_str()) * 1000;
    aenc->time_base = AVRational{1, sampleRate};
    if (globalHeader)
        aenc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    aenc->thread_count = threads;
    if (avcodec_open2(aenc, audioCodec, nullptr) < 0)
        return Fail("cannot open the audio encoder");
    const AVSampleFormat sampleFormat = aenc->sample_fmt;

    if (withVideo)
    {
        t.videoOut = avformat_new_stream(t.output, nullptr);
        avcodec_parameters_from_context(t.videoOut->codecpar, venc);
        t.videoOut->time_base = venc->time_base;
    }
    t.audioOut = avformat_new_stream(t.output, nullptr);
    avcodec_parameters_from_context(t.audioOut->codecpar, aenc);
    t.audioOut->time_base = aenc->time_base;
    if (avio_open(&t.output->pb, argv[2], AVIO_FLAG_WRITE) < 0 || avformat_write_header(t.output, nullptr) < 0)
        return Fail("cannot write the output header");

    Owned<SwsContext> scaler;
    Owned<AVFrame> scaled(av_frame_alloc());
    scaled->format = AV_PIX_FMT_YUV420P;
    scaled->width = frameWidth;
    scaled->height = frameHeight;
    if (withVideo && av_frame_get_buffer(scaled.get(), 0) < 0)
        return Fail("cannot allocate the scaled picture");
    for (int plane = 0; withVideo && plane < 3; ++plane)
        memset(scaled->data[plane], plane ? 128 : 16, scaled->linesize[plane] * (plane ? frameHeight / 2 : frameHeight));

    Owned<SwrContext> resampler;
    Owned<AVAudioFifo> fifo(av_audio_fifo_alloc(sampleFormat, 2, aenc->frame_size * 4));
    Owned<AVFrame> audioFrame(av_frame_alloc());
    int64_t audioPts = 0, videoPts = 0;

    Owned<AVFrame> decoded(av_frame_alloc());
    Owned<AVPacket> packet(av_packet_alloc());

    auto handleVideo = [&]() -> bool {
        if (!scaler)
            scaler.reset(sws_getContext(decoded->width, decoded->height, (AVPixelFormat)decoded->format, width, height,
                                        AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr));
        av_frame_make_writable(scaled.get());
        uint8_t* planes[3];
        for (int plane = 0; plane < 3; ++plane)
            planes[plane] = scaled->data[plane] + (plane ? padTop / 2 * scaled->linesize[plane] + padLeft / 2
                                                         : padTop * scaled->linesize[plane] + padLeft);
        sws_scale(scaler.get(), decoded->data, decoded->linesize, 0, decoded->height, planes, scaled->linesize);
        scaled->pts = videoPts++;
        return t.Encode(venc, t.videoOut, scaled.get());
    };
    auto sendAudio = [&](bool flush) -> bool {
        while (av_audio_fifo_size(fifo.get()) >= aenc->frame_size ||
               (flush && av_audio_fifo_size(fifo.get()) > 0))
        {
            int samples = std::min(av_audio_fifo_size(fifo.get()), aenc->frame_size);
            av_frame_unref(audioFrame.get());
            audioFrame->nb_samples = samples;
            audioFrame->format = sampleFormat;
            audioFrame->sample_rate = sampleRate;
            av_channel_layout_copy(&audioFrame->ch_layout, &aenc->ch_layout);
            av_frame_get_buffer(audioFrame.get(), 0);
            av_audio_fifo_read(fifo.get(), (void**)audioFrame->data, samples);
            audioFrame->pts = audioPts;
            audioPts += samples;
            if (!t.Encode(aenc, t.audioOut, audioFrame.get()))
                return false;
        }
        return true;
    };
    auto handleAudio = [&]() -> bool {
        if (!resampler)
        {
            SwrContext* swr = nullptr;
            swr_alloc_set_opts2(&swr, &aenc->ch_layout, sampleFormat, sampleRate, &decoded->ch_layout,
                                (AVSampleFormat)decoded->format, decoded->sample_rate, 0, nullptr);
            resampler.reset(swr);
            if (!swr || swr_init(swr) < 0)
                return false;
        }
        int capacity = swr_get_out_samples(resampler.get(), decoded->nb_samples);
        uint8_t* planes[2] = {nullptr, nullptr};
        av_samples_alloc(planes, nullptr, 2, capacity, sampleFormat, 0);
        int converted =
            swr_convert(resampler.get(), planes, capacity, (const uint8_t**)decoded->extended_data, decoded->nb_samples);
        if (converted > 0)
            av_audio_fifo_write(fifo.get(), (void**)planes, converted);
        av_freep(&planes[0]);
        return sendAudio(false);
    };
    auto decode = [&](AVCodecContext* decoder, AVPacket* source, bool isVideo) -> bool {
        if (avcodec_send_packet(decoder, source) < 0)
            return true; // a broken packet is skipped
        while (avcodec_receive_frame(decoder, decoded.get()) >= 0)
        {
            bool ok = isVideo ? handleVideo() : handleAudio();
            av_frame_unref(decoded.get());
            if (!ok)
                return false;
        }
        return true;
    };

    while (av_read_frame(input.get(), packet.get()) >= 0)
    {
        bool ok = true;
        if (packet->stream_index == videoIndex)
            ok = decode(videoDecoder.get(), packet.get(), true);
        else if (packet->stream_index == audioIndex)
            ok = decode(audioDecoder.get(), packet.get(), false);
        av_packet_unref(packet.get());
        if (!ok)
            return Fail("encoding failed");
    }
    if (withVideo)
        decode(videoDecoder.get(), nullptr, true);
    decode(audioDecoder.get(), nullptr, false);
    sendAudio(true);
    if (withVideo)
        t.Encode(venc, t.videoOut, nullptr);
    t.Encode(aenc, t.audioOut, nullptr);
    av_write_trailer(t.output);
    return 0;
}
