#include "ClipWriter.h"

#include "AvFree.h"
#include "Synth.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/mathematics.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace mkmedia
{
namespace
{
constexpr int kPcmChunk = 1024;      // samples per frame for encoders without a frame size
constexpr int kDataIntervalMs = 200; // one data packet this often
constexpr int kSubtitleIntervalMs = 1000;
constexpr AVRational kMillis = {1, 1000};

// Encoder options; the encoder hands back what it did not use, which is freed with the rest.
struct Options
{
    AVDictionary* dict = nullptr;
    ~Options()
    {
        av_dict_free(&dict);
    }
};
// Closes the file (when opened) and frees the muxer context.
struct OutputFree
{
    void operator()(AVFormatContext* f) const
    {
        if (f->pb && !(f->oformat->flags & AVFMT_NOFILE))
            avio_closep(&f->pb);
        avformat_free_context(f);
    }
};
using CodecPtr = std::unique_ptr<AVCodecContext, AvFree<AVCodecContext, avcodec_free_context>>;
using FramePtr = std::unique_ptr<AVFrame, AvFree<AVFrame, av_frame_free>>;
using PacketPtr = std::unique_ptr<AVPacket, AvFree<AVPacket, av_packet_free>>;
using SwrPtr = std::unique_ptr<SwrContext, AvFree<SwrContext, swr_free>>;
// Frees a scaler (sws_freeContext takes the pointer itself).
struct SwsFree
{
    void operator()(SwsContext* s) const
    {
        sws_freeContext(s);
    }
};
using SwsPtr = std::unique_ptr<SwsContext, SwsFree>;
using OutputPtr = std::unique_ptr<AVFormatContext, OutputFree>;

enum class Kind
{
    Video,
    Audio,
    Data,
    Subtitle
};

// One output stream and where it has got to, in its encoder's time base (milliseconds for data).
struct Track
{
    explicit Track(Kind k) : kind(k)
    {
    }
    Kind kind;
    AVStream* stream = nullptr;
    CodecPtr enc;
    SwrPtr swr;
    SwsPtr sws;     // converts the drawn picture to the encoder's pixel format, where that differs
    FramePtr drawn; // the YUV420P picture the pattern is drawn into before sws converts it
    FramePtr frame;
    int voice = 0;
    int64_t next = 0; // next frame's pts
    int64_t end = 0;  // pts at which the track ends
    bool flushed = false;
    AVRational base() const
    {
        return enc ? enc->time_base : kMillis;
    }
};

int FrameCapacity(const AVCodecContext* enc)
{
    return enc->frame_size > 0 ? enc->frame_size : kPcmChunk;
}

std::string AvError(int err)
{
    char buf[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(err, buf, sizeof(buf));
    return buf;
}

class Writer
{
  public:
    Writer(const ClipSpec& spec, std::string& error) : m_spec(spec), m_error(error)
    {
    }

    bool Run(const std::string& path)
    {
        AVFormatContext* raw = nullptr;
        int err = avformat_alloc_output_context2(&raw, nullptr, m_spec.format, path.c_str());
        if (err < 0 || !raw)
            return Fail("no muxer " + std::string(m_spec.format), err);
        m_out.reset(raw);
        m_out->flags |= AVFMT_FLAG_BITEXACT;
        m_out->output_ts_offset = static_cast<int64_t>(m_spec.timeOffset * AV_TIME_BASE + 0.5);

        if (m_spec.video.codec && !AddVideo())
            return false;
        if (m_spec.subtitleBeforeAudio)
            AddTimedText(Kind::Subtitle, AVMEDIA_TYPE_SUBTITLE, AV_CODEC_ID_SUBRIP);
        for (int i = 0; m_spec.audio.codec && i < m_spec.audioStreams; ++i)
            if (!AddAudio(i))
                return false;
        if (m_spec.dataStream)
            AddTimedText(Kind::Data, AVMEDIA_TYPE_DATA, AV_CODEC_ID_SMPTE_KLV);

        if (!(m_out->oformat->flags & AVFMT_NOFILE) && (err = avio_open(&m_out->pb, path.c_str(), AVIO_FLAG_WRITE)) < 0)
            return Fail("cannot create " + path, err);
        if ((err = avformat_write_header(m_out.get(), nullptr)) < 0)
            return Fail("cannot write the header", err);

        m_packet.reset(av_packet_alloc());
        while (Track* t = NextTrack())
            if (!Step(*t))
                return false;
        if ((err = av_write_trailer(m_out.get())) < 0)
            return Fail("cannot write the trailer", err);
        return true;
    }

  private:
    bool Fail(const std::string& what, int err = 0)
    {
        m_error = what + (err < 0 ? ": " + AvError(err) : std::string());
        return false;
    }

    bool OpenEncoder(Track& t, const AVCodec* codec, AVDictionary** opts)
    {
        if (m_out->oformat->flags & AVFMT_GLOBALHEADER)
            t.enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        t.enc->flags |= AV_CODEC_FLAG_BITEXACT;
        t.enc->thread_count = 1;
        int err = avcodec_open2(t.enc.get(), codec, opts);
        if (err < 0)
            return Fail(std::string("cannot open encoder ") + codec->name, err);
        t.stream = avformat_new_stream(m_out.get(), nullptr);
        if (!t.stream)
            return Fail("cannot add a stream");
        t.stream->time_base = t.enc->time_base;
        if ((err = avcodec_parameters_from_context(t.stream->codecpar, t.enc.get())) < 0)
            return Fail("cannot copy codec parameters", err);
        return true;
    }

    bool AddVideo()
    {
        const VideoSpec& v = m_spec.video;
        const AVCodec* codec = avcodec_find_encoder_by_name(v.codec);
        if (!codec)
            return Fail(std::string("no encoder ") + v.codec);
        Track t(Kind::Video);
        t.enc.reset(avcodec_alloc_context3(codec));
        t.enc->width = v.width;
        t.enc->height = v.height;
        const AVPixelFormat format = v.pixelFormat ? av_get_pix_fmt(v.pixelFormat) : AV_PIX_FMT_YUV420P;
        if (format == AV_PIX_FMT_NONE)
            return Fail(std::string("no pixel format ") + v.pixelFormat);
        // The pattern is drawn in 4:2:0; full-range 4:2:0 (MJPEG) has the same planes.
        const bool drawDirectly = format == AV_PIX_FMT_YUV420P || format == AV_PIX_FMT_YUVJ420P;
        t.enc->pix_fmt = format;
        t.enc->time_base = AVRational{1, v.fps};
        t.enc->framerate = AVRational{v.fps, 1};
        t.enc->gop_size = v.fps; // a key frame each second
        t.enc->bit_rate = 400000;
        if (codec->id == AV_CODEC_ID_MJPEG)
            t.enc->color_range = AVCOL_RANGE_JPEG; // full-range pictures, as cameras write them
        Options opts;
        if (codec->id == AV_CODEC_ID_H264)
            av_dict_set(&opts.dict, "preset", "veryfast", 0);
        if (!OpenEncoder(t, codec, &opts.dict))
            return false;
        if (v.tag)
            t.stream->codecpar->codec_tag = v.tag;
        t.stream->avg_frame_rate = t.stream->r_frame_rate = t.enc->framerate; // Matroska's default duration
        t.frame.reset(av_frame_alloc());
        t.frame->format = format;
        t.frame->width = v.width;
        t.frame->height = v.height;
        if (av_frame_get_buffer(t.frame.get(), 0) < 0)
            return Fail("out of memory");
        if (!drawDirectly)
        {
            t.drawn.reset(av_frame_alloc());
            t.drawn->format = AV_PIX_FMT_YUV420P;
            t.drawn->width = v.width;
            t.drawn->height = v.height;
            t.sws.reset(sws_getContext(v.width, v.height, AV_PIX_FMT_YUV420P, v.width, v.height, format, SWS_BICUBIC,
                                       nullptr, nullptr, nullptr));
            if (av_frame_get_buffer(t.drawn.get(), 0) < 0 || !t.sws)
                return Fail("cannot set up the pixel format converter");
        }
        t.end = static_cast<int64_t>(m_spec.seconds * v.fps + 0.5);
        m_tracks.push_back(std::move(t));
        return true;
    }

    bool AddAudio(int voice)
    {
        const AudioSpec& a = m_spec.audio;
        const AVCodec* codec = avcodec_find_encoder_by_name(a.codec);
        if (!codec)
            return Fail(std::string("no encoder ") + a.codec);
        Track t(Kind::Audio);
        t.voice = voice;
        t.enc.reset(avcodec_alloc_context3(codec));
        t.enc->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
        t.enc->sample_rate = a.sampleRate;
        av_channel_layout_default(&t.enc->ch_layout, a.channels);
        t.enc->time_base = AVRational{1, a.sampleRate};
        t.enc->bit_rate = a.channels > 2 ? 384000 : 128000;
        if (!OpenEncoder(t, codec, nullptr))
            return false;

        SwrContext* swr = nullptr;
        int err = swr_alloc_set_opts2(&swr, &t.enc->ch_layout, t.enc->sample_fmt, a.sampleRate, &t.enc->ch_layout,
                                      AV_SAMPLE_FMT_S16, a.sampleRate, 0, nullptr);
        t.swr.reset(swr);
        if (err < 0 || (err = swr_init(swr)) < 0)
            return Fail("cannot set up the sample converter", err);

        int frameSize = FrameCapacity(t.enc.get());
        t.frame.reset(av_frame_alloc());
        t.frame->format = t.enc->sample_fmt;
        t.frame->sample_rate = a.sampleRate;
        t.frame->nb_samples = frameSize;
        av_channel_layout_copy(&t.frame->ch_layout, &t.enc->ch_layout);
        if (av_frame_get_buffer(t.frame.get(), 0) < 0)
            return Fail("out of memory");
        t.end = static_cast<int64_t>(m_spec.seconds * a.sampleRate + 0.5);
        t.next = static_cast<int64_t>(m_spec.audioDelay * a.sampleRate + 0.5);
        m_tracks.push_back(std::move(t));
        return true;
    }

    // A stream of small timed packets: data records or subtitle lines.
    void AddTimedText(Kind kind, AVMediaType type, AVCodecID codec)
    {
        Track t(kind);
        t.stream = avformat_new_stream(m_out.get(), nullptr);
        t.stream->codecpar->codec_type = type;
        t.stream->codecpar->codec_id = codec;
        t.stream->time_base = kMillis;
        t.end = static_cast<int64_t>(m_spec.seconds * 1000 + 0.5);
        m_tracks.push_back(std::move(t));
    }

    // The unfinished track that is furthest behind, so the muxer gets its packets nearly in order.
    Track* NextTrack()
    {
        Track* best = nullptr;
        for (Track& t : m_tracks)
            if (!t.flushed && (!best || av_compare_ts(t.next, t.base(), best->next, best->base()) < 0))
                best = &t;
        return best;
    }

    bool Step(Track& t)
    {
        if (t.kind == Kind::Data)
            return WriteData(t);
        if (t.kind == Kind::Subtitle)
            return WriteSubtitle(t);
        AVFrame* frame = nullptr;
        if (t.next < t.end)
        {
            if (t.kind == Kind::Audio)
                t.frame->nb_samples = FrameCapacity(t.enc.get());
            if (av_frame_make_writable(t.frame.get()) < 0)
                return Fail("out of memory");
            frame = t.frame.get();
            frame->pts = t.next;
            if (t.kind == Kind::Video)
            {
                if (t.sws)
                {
                    DrawPattern(t.drawn.get(), t.next, m_spec.litEdges);
                    sws_scale(t.sws.get(), t.drawn->data, t.drawn->linesize, 0, t.drawn->height, frame->data,
                              frame->linesize);
                }
                else
                    DrawPattern(frame, t.next, m_spec.litEdges);
                t.next += 1;
            }
            else if (!FillAudio(t))
                return false;
        }
        else
            t.flushed = true;
        int err = avcodec_send_frame(t.enc.get(), frame);
        if (err < 0)
            return Fail("cannot encode", err);
        return Drain(t);
    }

    bool FillAudio(Track& t)
    {
        AVFrame* frame = t.frame.get();
        int capacity = FrameCapacity(t.enc.get());
        int64_t left = t.end - t.next;
        bool shortLast =
            t.enc->codec->capabilities & (AV_CODEC_CAP_SMALL_LAST_FRAME | AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
        // Encoders that need whole frames get the tone carried on to the end of the last one.
        int count = left < capacity && shortLast ? static_cast<int>(left) : capacity;
        int channels = t.enc->ch_layout.nb_channels;
        std::vector<int16_t> pcm(static_cast<size_t>(count) * channels);
        MakeTone(pcm.data(), t.next, count, channels, t.enc->sample_rate, t.voice);
        const uint8_t* in[] = {reinterpret_cast<const uint8_t*>(pcm.data())};
        int got = swr_convert(t.swr.get(), frame->data, capacity, in, count);
        if (got != count)
            return Fail("the sample converter dropped samples");
        frame->nb_samples = count;
        t.next += count;
        return true;
    }

    bool Drain(Track& t)
    {
        for (;;)
        {
            int err = avcodec_receive_packet(t.enc.get(), m_packet.get());
            if (err == AVERROR(EAGAIN) || err == AVERROR_EOF)
                return true;
            if (err < 0)
                return Fail("cannot encode", err);
            if (t.kind == Kind::Video && m_packet->duration == 0)
                m_packet->duration = 1;
            if (!Write(t, t.enc->time_base))
                return false;
        }
    }

    bool WriteData(Track& t)
    {
        if (t.next >= t.end)
        {
            t.flushed = true;
            return true;
        }
        // A tiny tagged record: a fixed 16-byte key, a length and the time in milliseconds.
        uint8_t body[24] = {0x06, 0x0e, 0x2b, 0x34, 0x02, 0x0b, 0x01, 0x01, 0x0e, 0x01,
                            0x03, 0x01, 0x01, 0x00, 0x00, 0x00, 6,    'R',  'W'};
        uint32_t ms = static_cast<uint32_t>(t.next);
        body[19] = static_cast<uint8_t>(ms >> 24);
        body[20] = static_cast<uint8_t>(ms >> 16);
        body[21] = static_cast<uint8_t>(ms >> 8);
        body[22] = static_cast<uint8_t>(ms);
        if (av_new_packet(m_packet.get(), 23) < 0)
            return Fail("out of memory");
        memcpy(m_packet->data, body, 23);
        m_packet->pts = m_packet->dts = t.next;
        m_packet->duration = kDataIntervalMs;
        m_packet->flags |= AV_PKT_FLAG_KEY;
        t.next += kDataIntervalMs;
        return Write(t, kMillis);
    }

    // One line per second, shown for half of it.
    bool WriteSubtitle(Track& t)
    {
        if (t.next >= t.end)
        {
            t.flushed = true;
            return true;
        }
        char text[32];
        int length = snprintf(text, sizeof(text), "Second %d", static_cast<int>(t.next / 1000));
        if (av_new_packet(m_packet.get(), length) < 0)
            return Fail("out of memory");
        memcpy(m_packet->data, text, length);
        m_packet->pts = m_packet->dts = t.next;
        m_packet->duration = kSubtitleIntervalMs / 2;
        m_packet->flags |= AV_PKT_FLAG_KEY;
        t.next += kSubtitleIntervalMs;
        return Write(t, kMillis);
    }

    bool Write(Track& t, AVRational from)
    {
        av_packet_rescale_ts(m_packet.get(), from, t.stream->time_base);
        m_packet->stream_index = t.stream->index;
        int err = av_interleaved_write_frame(m_out.get(), m_packet.get());
        if (err < 0)
            return Fail("cannot write a packet", err);
        return true;
    }

    const ClipSpec& m_spec;
    std::string& m_error;
    OutputPtr m_out;
    PacketPtr m_packet;
    std::vector<Track> m_tracks;
};
} // namespace

bool WriteClip(const ClipSpec& spec, const std::string& path, std::string& error)
{
    Writer writer(spec, error);
    return writer.Run(path);
}
} // namespace mkmedia
