#include "platform/producer/EncodeSession.h"

#include "engine/MediaHandles.h"
#include "platform/producer/ComPtr.h"
#include "platform/producer/HostObjects.h"
#include "platform/producer/JobObjects.h"
#include "platform/producer/RealMediaRepair.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <memory>
#include <vector>

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace
{
const int kMaxOutputs = 20;
const int kRealAudio144Rate = 8000;
const int kRealAudio144BitRate = 8000;
const int kRealAudio144FrameSize = 160; // samples per packet; the encoder does not say so itself
const int kAc3Rates[] = {48000, 44100, 32000};
const int kAc3DefaultRate = 44100;
// The most channels AC-3 carries at a bit rate: below these rates the encoder runs out of bits
// for every channel and fails, so the sound is mixed down to what the audience can carry.
const struct
{
    int minBitRate;
    int channels;
} kAc3ChannelLimits[] = {{192000, 6}, {48000, 2}, {0, 1}};
// Sound whose time strays further than this (seconds) from the samples counted so far is moved
// back to its time with silence.
const double kAudioGapSeconds = 0.04;
// A longer jump in the pictures' times is taken as a new clock, not filled with repeated pictures.
const double kLongestPictureGapSeconds = 60.0;
const int kVideoStreamId = 0;
const int kAudioStreamId = 1;
const int kMaxSegments = 999;

struct CodecContextDeleter
{
    void operator()(AVCodecContext* c) const
    {
        avcodec_free_context(&c);
    }
};
struct FifoDeleter
{
    void operator()(AVAudioFifo* f) const
    {
        av_audio_fifo_free(f);
    }
};
struct FileDeleter
{
    void operator()(FILE* f) const
    {
        fclose(f);
    }
};
typedef std::unique_ptr<AVCodecContext, CodecContextDeleter> CodecPtr;

// An output file of the muxer; written out and closed when it ends.
struct MuxerDeleter
{
    void operator()(AVFormatContext* m) const
    {
        if (m->pb)
            avio_closep(&m->pb);
        avformat_free_context(m);
    }
};
typedef std::unique_ptr<AVFormatContext, MuxerDeleter> MuxerPtr;

// One encoded packet in the spool file, followed by its bytes.
struct SpoolRecord
{
    INT32 stream;
    INT32 flags;
    INT64 pts;
    INT64 dts;
    INT64 duration;
    INT32 size;
};

std::string ToUnixPath(const std::string& path)
{
    if (path.empty() || path[0] == '/')
        return path;
    int length = ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (length <= 0)
        return std::string();
    std::vector<WCHAR> wide(length);
    ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), length);
    char* converted = wine_get_unix_file_name(wide.data());
    if (!converted)
        return std::string();
    std::string result = converted;
    ::HeapFree(::GetProcessHeap(), 0, converted);
    return result;
}

// "clip.rm" and 2 give "clip - 02.rm".
std::string SegmentName(const std::string& path, int number)
{
    if (number <= 1)
        return path;
    size_t dot = path.rfind('.');
    size_t slash = path.rfind('/');
    char suffix[16];
    snprintf(suffix, sizeof(suffix), " - %0.2d", number);
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + suffix;
    return path.substr(0, dot) + suffix + path.substr(dot);
}

int PopCount(UINT32 value)
{
    int count = 0;
    for (; value; value &= value - 1)
        ++count;
    return count;
}

AVSampleFormat PackedFormat(int bits)
{
    switch (bits)
    {
    case 8:
        return AV_SAMPLE_FMT_U8;
    case 16:
        return AV_SAMPLE_FMT_S16;
    case 32:
        return AV_SAMPLE_FMT_S32;
    default:
        return AV_SAMPLE_FMT_NONE;
    }
}

// What the plug-in said of one of its outputs.
struct OutputInfo
{
    int kind = -1; // 0 video, 1 audio
    int width = 0;
    int height = 0;
    double frameRate = 0;
    int channels = 0;
    int bits = 0;
    int sampleRate = 0;
    bool ended = false;
    int64_t lastEnd = 0; // ms
    int64_t samples = 0; // samples with data
};
} // namespace

struct CEncodeSession::Impl
{
    EncodeSettings settings;
    std::atomic<bool>* cancel;
    std::function<void(UINT32, UINT32)> progress;
    std::string* error;

    OutputInfo outputs[kMaxOutputs];
    int outputCount = 0;
    int videoOutput = -1;
    int audioOutput = -1;
    int64_t durationMs = 0;
    UINT32 lastPercent = (UINT32)-1;

    CodecPtr video;
    CodecPtr audio;
    media::ScalerPtr scaler;
    media::ResamplerPtr resampler;
    std::unique_ptr<AVAudioFifo, FifoDeleter> fifo;
    media::FramePtr frame;
    media::PacketPtr packet;
    int64_t lastVideoPts = -1;
    INT64 lastVideoStartMs = -1;
    int64_t videoPtsShift = 0;       // added to the pictures' stamps after a jump in their clock
    int64_t picturesWithoutTime = 0; // dropped: their time went back
    int64_t audioPts = 0;
    int64_t packetsSpooled[2] = {0, 0};
    // Where the last key frame was forced for rolling: spool bytes since then, and its time.
    int64_t bytesSinceRollKey = 0;
    int64_t rollKeyMs = 0;

    std::string outputUnix;
    std::string spoolPath;
    std::unique_ptr<FILE, FileDeleter> spool;

    HX_RESULT Fail(HX_RESULT code, const char* text)
    {
        if (error->empty())
            *error = text;
        return code;
    }

    void Report(UINT32 type, double fraction)
    {
        UINT32 percent = fraction <= 0 ? 0 : fraction >= 1 ? 100 : (UINT32)(fraction * 100);
        if (percent == lastPercent)
            return;
        lastPercent = percent;
        progress(type, percent);
    }

    HX_RESULT DescribeOutputs();
    HX_RESULT OpenVideo();
    HX_RESULT OpenAudio();
    HX_RESULT Connect();
    HX_RESULT PullAll();
    HX_RESULT EncodeVideo(IHXTMediaSample* sample);
    HX_RESULT EncodeAudio(IHXTMediaSample* sample);
    HX_RESULT AddSilence(int64_t samples);
    HX_RESULT DrainAudio(bool flush);
    HX_RESULT SendFrame(AVCodecContext* codec, AVFrame* picture, int streamId);
    HX_RESULT Flush();
    HX_RESULT Mux();
    void EndStreams();
};

HX_RESULT CEncodeSession::Impl::DescribeOutputs()
{
    IHXTConnectionAgent* connection = settings.input->Connection();
    outputCount = (int)connection->GetOutputCount();
    if (outputCount > kMaxOutputs)
        outputCount = kMaxOutputs;
    for (int i = 0; i < outputCount; ++i)
    {
        OutputInfo& info = outputs[i];
        ComPtr<IHXTPropertyBag> bag;
        const char* format = nullptr;
        if (connection->GetOutputProperties((UINT32)i, bag.Out()) < 0 || !bag ||
            bag->GetString("MediaFormat", &format) < 0)
            continue;
        UINT32 value = 0;
        if (strcmp(format, "UncompressedVideo") == 0)
        {
            info.kind = kVideoStreamId;
            if (bag->GetUINT("videoFrameWidth", &value) >= 0)
                info.width = (int)value;
            if (bag->GetUINT("videoFrameHeight", &value) >= 0)
                info.height = (int)value;
            bag->GetDouble("videoFrameRate", &info.frameRate);
            if (videoOutput < 0 && info.width > 0 && info.height > 0)
                videoOutput = i;
        }
        else if (strcmp(format, "UncompressedAudio") == 0)
        {
            info.kind = kAudioStreamId;
            if (bag->GetUINT("audioChannelFormat", &value) >= 0)
                info.channels = PopCount(value);
            if (bag->GetUINT("audioSampleFormat", &value) >= 0)
                info.bits = (int)(value >> 6);
            if (bag->GetUINT("audioSampleRate", &value) >= 0)
                info.sampleRate = (int)value;
            if (audioOutput < 0 && info.channels > 0 && info.sampleRate > 0 &&
                PackedFormat(info.bits) != AV_SAMPLE_FMT_NONE)
                audioOutput = i;
        }
    }
    if (settings.audioOnly || settings.videoCodec.empty())
        videoOutput = -1;
    if (settings.withoutAudio || settings.audioCodec.empty())
        audioOutput = -1;
    if (!settings.audioOnly && videoOutput < 0)
        return Fail(E_FAIL, "the source has no video stream that can be encoded");
    if (settings.audioOnly && audioOutput < 0)
        return Fail(E_FAIL, "the source has no audio stream that can be encoded");
    return HXR_OK;
}

int CEncodeSession::Ac3Channels(int sourceChannels, int bitRate)
{
    for (const auto& limit : kAc3ChannelLimits)
    {
        if (bitRate <= 0 || bitRate >= limit.minBitRate)
            return sourceChannels < limit.channels ? sourceChannels : limit.channels;
    }
    return 1;
}

int CEncodeSession::EncodableSize(int size)
{
    int rounded = (size + 8) / 16 * 16;
    return rounded < 16 ? 16 : rounded;
}

HX_RESULT CEncodeSession::Impl::OpenVideo()
{
    const OutputInfo& info = outputs[videoOutput];
    AVCodecID id = settings.videoCodec == "rv10" ? AV_CODEC_ID_RV10 : AV_CODEC_ID_RV20;
    const AVCodec* codec = avcodec_find_encoder(id);
    if (!codec)
        return Fail(E_FAIL, "the RealVideo encoder is missing");
    video.reset(avcodec_alloc_context3(codec));
    if (!video)
        return Fail(E_OUTOFMEMORY, "out of memory");
    double fps = info.frameRate > 0 && info.frameRate < 1000 ? info.frameRate : 25.0;
    AVRational rate = av_d2q(fps, 60000);
    video->width = CEncodeSession::EncodableSize(info.width);
    video->height = CEncodeSession::EncodableSize(info.height);
    video->pix_fmt = AV_PIX_FMT_YUV420P;
    video->time_base = av_inv_q(rate);
    video->framerate = rate;
    video->bit_rate = settings.videoBitRate > 0 ? settings.videoBitRate : 200000;
    video->gop_size = (int)(fps * (settings.keyFrameSeconds > 0 ? settings.keyFrameSeconds : 8.0));
    video->max_b_frames = 0;
    if (avcodec_open2(video.get(), codec, nullptr) < 0)
        return Fail(E_FAIL, "the RealVideo encoder does not accept the picture");
    scaler.reset(sws_getContext(info.width, info.height, AV_PIX_FMT_BGRA, video->width, video->height,
                                AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!scaler)
        return Fail(E_FAIL, "the picture cannot be scaled");
    return HXR_OK;
}

HX_RESULT CEncodeSession::Impl::OpenAudio()
{
    const OutputInfo& info = outputs[audioOutput];
    bool narrow = settings.audioCodec == "real_144" || (info.sampleRate == kRealAudio144Rate && info.channels == 1);
    const AVCodec* codec = avcodec_find_encoder(narrow ? AV_CODEC_ID_RA_144 : AV_CODEC_ID_AC3);
    if (!codec)
        return Fail(E_FAIL, "the audio encoder is missing");
    audio.reset(avcodec_alloc_context3(codec));
    if (!audio)
        return Fail(E_OUTOFMEMORY, "out of memory");
    int channels = narrow ? 1 : Ac3Channels(info.channels, settings.audioBitRate);
    av_channel_layout_default(&audio->ch_layout, channels);
    if (narrow)
    {
        audio->sample_rate = kRealAudio144Rate;
        audio->sample_fmt = AV_SAMPLE_FMT_S16;
        audio->bit_rate = kRealAudio144BitRate;
    }
    else
    {
        audio->sample_rate = kAc3DefaultRate;
        for (int rate : kAc3Rates)
        {
            if (rate == info.sampleRate)
                audio->sample_rate = rate;
        }
        audio->sample_fmt = AV_SAMPLE_FMT_FLTP;
        audio->bit_rate = settings.audioBitRate > 0 ? settings.audioBitRate : 96000;
    }
    audio->time_base = AVRational{1, audio->sample_rate};
    if (avcodec_open2(audio.get(), codec, nullptr) < 0)
    {
        // Let the encoder pick its own rate when the audience asks one it does not have.
        audio->bit_rate = 0;
        if (avcodec_open2(audio.get(), codec, nullptr) < 0)
            return Fail(E_FAIL, "the audio encoder does not accept the sound");
    }
    if (narrow && audio->frame_size <= 0)
        audio->frame_size = kRealAudio144FrameSize;
    AVChannelLayout inLayout;
    av_channel_layout_default(&inLayout, info.channels);
    SwrContext* swr = nullptr;
    int made = swr_alloc_set_opts2(&swr, &audio->ch_layout, audio->sample_fmt, audio->sample_rate, &inLayout,
                                   PackedFormat(info.bits), info.sampleRate, 0, nullptr);
    av_channel_layout_uninit(&inLayout);
    resampler.reset(swr);
    if (made < 0 || !resampler || swr_init(resampler.get()) < 0)
        return Fail(E_FAIL, "the sound cannot be resampled");
    fifo.reset(av_audio_fifo_alloc(audio->sample_fmt, channels, audio->frame_size > 0 ? audio->frame_size : 1024));
    if (!fifo)
        return Fail(E_OUTOFMEMORY, "out of memory");
    return HXR_OK;
}

HX_RESULT CEncodeSession::Impl::Connect()
{
    IHXTConnectionAgent* connection = settings.input->Connection();
    IHXTInputFilter* filter = settings.input->Filter();
    ComPtr<IHXTSampleAllocator> allocator;
    HX_RESULT result = CreateObject<CSampleAllocator>(allocator.Out());
    for (int i = 0; i < outputCount && result >= 0; ++i)
    {
        result = connection->SetOutputTarget((UINT32)i, settings.outputTarget);
        if (result >= 0)
            result = filter->SetSampleAllocator((UINT32)i, allocator.Get());
    }
    if (result >= 0)
        result = filter->OnInitialize(nullptr);
    if (result < 0)
        return Fail(result, "the input plug-in refused to start");
    return HXR_OK;
}

namespace
{
const char* EncodingFailure(int streamId)
{
    return streamId == kVideoStreamId ? "the pictures cannot be encoded" : "the sound cannot be encoded";
}
} // namespace

HX_RESULT CEncodeSession::Impl::SendFrame(AVCodecContext* codec, AVFrame* picture, int streamId)
{
    if (avcodec_send_frame(codec, picture) < 0)
        return Fail(E_FAIL, EncodingFailure(streamId));
    for (;;)
    {
        int got = avcodec_receive_packet(codec, packet.get());
        if (got == AVERROR(EAGAIN) || got == AVERROR_EOF)
            return HXR_OK;
        if (got < 0)
            return Fail(E_FAIL, EncodingFailure(streamId));
        SpoolRecord record = {streamId, packet->flags, packet->pts, packet->dts, packet->duration, packet->size};
        bool written = fwrite(&record, sizeof(record), 1, spool.get()) == 1 &&
                       fwrite(packet->data, 1, (size_t)packet->size, spool.get()) == (size_t)packet->size;
        av_packet_unref(packet.get());
        if (!written)
            return Fail(E_FAIL, "the temporary file cannot be written (is the disk full?)");
        ++packetsSpooled[streamId];
        bytesSinceRollKey += record.size;
    }
}

HX_RESULT CEncodeSession::Impl::EncodeVideo(IHXTMediaSample* sample)
{
    const OutputInfo& info = outputs[videoOutput];
    if (sample->GetDataSize() < (UINT32)(info.width * info.height * 4))
        return HXR_OK;
    INT64 start = 0;
    INT64 end = 0;
    sample->GetTime(&start, &end);
    // Pictures are stamped at the stream's own frame rate; one that falls on a stamp already
    // taken is dropped, so a faster source is thinned out to that rate. A picture whose time does
    // not advance (a source without times) takes the next stamp; one whose time goes back is dropped.
    int64_t pts;
    if (lastVideoStartMs >= 0 && start == lastVideoStartMs)
        pts = lastVideoPts + 1;
    else if (lastVideoStartMs >= 0 && start < lastVideoStartMs)
    {
        ++picturesWithoutTime;
        return HXR_OK;
    }
    else
        pts = av_rescale_q(start, AVRational{1, 1000}, video->time_base) + videoPtsShift;
    if (pts <= lastVideoPts)
        return HXR_OK;
    // The file is timed by counting pictures: a gap in the pictures' times is filled by showing
    // the picture longer, so that the pictures keep in step with the sound.
    int64_t longestGap = (int64_t)(kLongestPictureGapSeconds / av_q2d(video->time_base));
    if (pts - lastVideoPts - 1 > longestGap)
    {
        videoPtsShift -= pts - lastVideoPts - 1;
        pts = lastVideoPts + 1;
    }
    lastVideoStartMs = start;
    av_frame_unref(frame.get());
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = video->width;
    frame->height = video->height;
    if (av_frame_get_buffer(frame.get(), 0) < 0)
        return Fail(E_OUTOFMEMORY, "out of memory");
    const uint8_t* source[4] = {sample->GetDataStartForWriting(), nullptr, nullptr, nullptr};
    int sourceStride[4] = {info.width * 4, 0, 0, 0};
    sws_scale(scaler.get(), source, sourceStride, 0, info.height, frame->data, frame->linesize);
    for (int64_t next = lastVideoPts + 1; next <= pts; ++next)
    {
        frame->pts = next;
        frame->pict_type = AV_PICTURE_TYPE_NONE;
        // The second phase rolls to the next file only at a key frame: make one where a roll falls due.
        if (next == pts && ((settings.rollSize > 0 && bytesSinceRollKey >= settings.rollSize) ||
                            (settings.rollTimeMs > 0 && start - rollKeyMs >= settings.rollTimeMs)))
        {
            frame->pict_type = AV_PICTURE_TYPE_I;
            bytesSinceRollKey = 0;
            rollKeyMs = start;
        }
        HX_RESULT result = SendFrame(video.get(), frame.get(), kVideoStreamId);
        if (result < 0)
            return result;
    }
    lastVideoPts = pts;
    return HXR_OK;
}

HX_RESULT CEncodeSession::Impl::DrainAudio(bool flush)
{
    int frameSize = audio->frame_size > 0 ? audio->frame_size : 1024;
    while (av_audio_fifo_size(fifo.get()) >= frameSize || (flush && av_audio_fifo_size(fifo.get()) > 0))
    {
        av_frame_unref(frame.get());
        frame->format = audio->sample_fmt;
        frame->sample_rate = audio->sample_rate;
        frame->nb_samples = frameSize;
        av_channel_layout_copy(&frame->ch_layout, &audio->ch_layout);
        if (av_frame_get_buffer(frame.get(), 0) < 0)
            return Fail(E_OUTOFMEMORY, "out of memory");
        int read = av_audio_fifo_read(fifo.get(), reinterpret_cast<void**>(frame->data), frameSize);
        if (read < frameSize)
            av_samples_set_silence(frame->data, read, frameSize - read, audio->ch_layout.nb_channels,
                                   audio->sample_fmt);
        frame->pts = audioPts;
        audioPts += frameSize;
        HX_RESULT result = SendFrame(audio.get(), frame.get(), kAudioStreamId);
        if (result < 0)
            return result;
    }
    return HXR_OK;
}

HX_RESULT CEncodeSession::Impl::AddSilence(int64_t samples)
{
    const int kChunk = 4096;
    uint8_t** silence = nullptr;
    if (av_samples_alloc_array_and_samples(&silence, nullptr, audio->ch_layout.nb_channels, kChunk, audio->sample_fmt,
                                           0) < 0)
        return Fail(E_OUTOFMEMORY, "out of memory");
    av_samples_set_silence(silence, 0, kChunk, audio->ch_layout.nb_channels, audio->sample_fmt);
    HX_RESULT result = HXR_OK;
    while (samples > 0 && result >= 0)
    {
        int part = samples < kChunk ? (int)samples : kChunk;
        if (av_audio_fifo_write(fifo.get(), reinterpret_cast<void**>(silence), part) < part)
            result = Fail(E_OUTOFMEMORY, "out of memory");
        samples -= part;
        if (result >= 0)
            result = DrainAudio(false);
    }
    av_freep(&silence[0]);
    av_freep(&silence);
    return result;
}

HX_RESULT CEncodeSession::Impl::EncodeAudio(IHXTMediaSample* sample)
{
    const OutputInfo& info = outputs[audioOutput];
    int bytesPerFrame = info.channels * info.bits / 8;
    int count = (int)(sample->GetDataSize() / (UINT32)bytesPerFrame);
    if (count <= 0)
        return HXR_OK;
    // The file is timed by counting samples: sound that starts late, or after a gap, gets silence
    // before it so that it plays at its own time.
    INT64 start = 0;
    INT64 end = 0;
    sample->GetTime(&start, &end);
    int64_t due = av_rescale(start, audio->sample_rate, 1000);
    int64_t reached = audioPts + av_audio_fifo_size(fifo.get()) + swr_get_delay(resampler.get(), audio->sample_rate);
    if (due - reached > (int64_t)(kAudioGapSeconds * audio->sample_rate))
    {
        HX_RESULT result = AddSilence(due - reached);
        if (result < 0)
            return result;
    }
    const uint8_t* source[1] = {sample->GetDataStartForWriting()};
    int room = swr_get_out_samples(resampler.get(), count);
    if (room < 0)
        return Fail(E_FAIL, "the sound cannot be resampled");
    uint8_t** converted = nullptr;
    if (av_samples_alloc_array_and_samples(&converted, nullptr, audio->ch_layout.nb_channels, room + 1,
                                           audio->sample_fmt, 0) < 0)
        return Fail(E_OUTOFMEMORY, "out of memory");
    int made = swr_convert(resampler.get(), converted, room + 1, source, count);
    int written = made > 0 ? av_audio_fifo_write(fifo.get(), reinterpret_cast<void**>(converted), made) : made;
    av_freep(&converted[0]);
    av_freep(&converted);
    if (made < 0 || written < made)
        return Fail(E_FAIL, "the sound cannot be resampled");
    return DrainAudio(false);
}

void CEncodeSession::Impl::EndStreams()
{
    for (int i = 0; i < outputCount; ++i)
    {
        if (!outputs[i].ended)
        {
            outputs[i].ended = true;
            settings.input->Filter()->OnUnInitialize((UINT32)i);
        }
    }
}

// First phase: pulls the outputs in step (always the one furthest behind) until each has given
// its end-of-stream sample, encoding the chosen ones into the spool.
HX_RESULT CEncodeSession::Impl::PullAll()
{
    IHXTInputFilter* filter = settings.input->Filter();
    for (;;)
    {
        if (*cancel)
            return Fail(HXR_CANCELLED, "the encoding was cancelled");
        int next = -1;
        for (int i = 0; i < outputCount; ++i)
        {
            if (!outputs[i].ended && (next < 0 || outputs[i].lastEnd < outputs[next].lastEnd))
                next = i;
        }
        if (next < 0)
            return HXR_OK;
        OutputInfo& info = outputs[next];
        ComPtr<IHXTMediaSample> sample;
        HX_RESULT result = filter->PullSample((UINT32)next, sample.Out());
        if (result < 0 || (sample && (sample->GetSampleFlags() & kHXTSampleReadFailed)))
            return Fail(result < 0 ? result : E_FAIL, "reading the source failed");
        if (!sample || (sample->GetSampleFlags() & kHXTSampleEndOfStream))
        {
            info.ended = true;
            filter->OnUnInitialize((UINT32)next);
        }
        if (!sample || sample->GetDataSize() == 0)
            continue;
        ++info.samples;
        INT64 start = 0;
        INT64 end = 0;
        sample->GetTime(&start, &end);
        info.lastEnd = end > start ? end : start;
        if (next == videoOutput)
            result = EncodeVideo(sample.Get());
        else if (next == audioOutput)
            result = EncodeAudio(sample.Get());
        if (result < 0)
            return result;
        int64_t reached = 0;
        for (int i = 0; i < outputCount; ++i)
        {
            if (i == videoOutput || i == audioOutput)
                reached = reached == 0 || outputs[i].lastEnd < reached ? outputs[i].lastEnd : reached;
        }
        if (durationMs > 0)
            Report(kHXTEventFirstPassProgress, (double)reached / (double)durationMs);
    }
}

HX_RESULT CEncodeSession::Impl::Flush()
{
    HX_RESULT result = HXR_OK;
    if (video)
        result = SendFrame(video.get(), nullptr, kVideoStreamId);
    if (result >= 0 && audio)
        result = DrainAudio(true);
    if (result >= 0 && audio)
        result = SendFrame(audio.get(), nullptr, kAudioStreamId);
    if (result < 0)
        return result;
    if (video && (outputs[videoOutput].samples == 0 || packetsSpooled[kVideoStreamId] == 0))
        return Fail(E_FAIL, "no picture could be read from the source");
    if (video && picturesWithoutTime * 2 > outputs[videoOutput].samples)
        return Fail(E_FAIL, "most pictures of the source have no usable time");
    if (audio && (outputs[audioOutput].samples == 0 || packetsSpooled[kAudioStreamId] == 0))
        return Fail(E_FAIL, "no sound could be read from the source");
    return HXR_OK;
}

namespace
{
// The RealMedia files of the second phase, one after the other when the output rolls.
class CSegmentWriter
{
  public:
    CSegmentWriter(const std::string& path, AVCodecContext* video, AVCodecContext* audio)
        : m_path(path), m_number(0), m_videoIndex(-1), m_audioIndex(-1)
    {
        m_sources[kVideoStreamId] = video;
        m_sources[kAudioStreamId] = audio;
        m_offsets[0] = m_offsets[1] = 0;
    }
    ~CSegmentWriter()
    {
        Close();
    }

    int Number() const
    {
        return m_number;
    }
    int64_t Size() const
    {
        return m_file && m_file->pb ? avio_tell(m_file->pb) : 0;
    }

    bool Open(const int64_t startPts[2])
    {
        if (!Close() || m_number >= kMaxSegments)
            return false;
        ++m_number;
        std::string name = SegmentName(m_path, m_number);
        m_name = name;
        AVFormatContext* made = nullptr;
        if (avformat_alloc_output_context2(&made, nullptr, "rm", name.c_str()) < 0 || !made)
            return false;
        m_file.reset(made);
        m_videoIndex = m_audioIndex = -1;
        for (int id = 0; id < 2; ++id)
        {
            AVCodecContext* source = m_sources[id];
            if (!source)
                continue;
            AVStream* stream = avformat_new_stream(made, nullptr);
            if (!stream || avcodec_parameters_from_context(stream->codecpar, source) < 0)
                return false;
            stream->time_base = source->time_base;
            (id == kVideoStreamId ? m_videoIndex : m_audioIndex) = stream->index;
            m_offsets[id] = startPts[id];
        }
        if (avio_open(&made->pb, name.c_str(), AVIO_FLAG_WRITE) < 0)
            return false;
        if (avformat_write_header(made, nullptr) < 0)
        {
            // A file that cannot be started is not left behind.
            avio_closep(&made->pb);
            ::remove(name.c_str());
            return false;
        }
        m_headerWritten = true;
        return true;
    }

    bool Write(int id, AVPacket* packet)
    {
        int index = id == kVideoStreamId ? m_videoIndex : m_audioIndex;
        if (index < 0)
            return true;
        AVStream* stream = m_file->streams[index];
        packet->stream_index = index;
        if (packet->pts != AV_NOPTS_VALUE)
            packet->pts -= m_offsets[id];
        if (packet->dts != AV_NOPTS_VALUE)
            packet->dts -= m_offsets[id];
        av_packet_rescale_ts(packet, m_sources[id]->time_base, stream->time_base);
        return av_interleaved_write_frame(m_file.get(), packet) >= 0;
    }

    bool Close()
    {
        bool ok = true;
        bool written = m_file && m_headerWritten;
        if (written)
            ok = av_write_trailer(m_file.get()) >= 0;
        m_headerWritten = false;
        m_file.reset();
        // RealAudio 1.0 packets leave the muxer without times: they are counted in afterwards.
        AVCodecContext* sound = m_sources[kAudioStreamId];
        if (ok && written && sound && sound->codec_id == AV_CODEC_ID_RA_144 && sound->sample_rate > 0)
            ok = StampRealMediaPackets(m_name, m_audioIndex, sound->frame_size * 1000 / sound->sample_rate);
        return ok;
    }

  private:
    std::string m_path;
    std::string m_name; // the file being written
    int m_number;
    AVCodecContext* m_sources[2];
    int64_t m_offsets[2];
    MuxerPtr m_file;
    bool m_headerWritten = false;
    int m_videoIndex;
    int m_audioIndex;
};
} // namespace

// Second phase: the spool into the RealMedia file, rolling to a new file at a key frame once the
// size or time limit is reached.
HX_RESULT CEncodeSession::Impl::Mux()
{
    if (fflush(spool.get()) != 0 || fseek(spool.get(), 0, SEEK_END) != 0)
        return Fail(E_FAIL, "the temporary file cannot be read");
    long total = ftell(spool.get());
    rewind(spool.get());
    CSegmentWriter writer(outputUnix, video.get(), audio.get());
    int64_t starts[2] = {0, 0};
    if (!writer.Open(starts))
        return Fail(E_FAIL, "the output file cannot be written");
    int64_t segmentStartMs = 0;
    int rollStream = video ? kVideoStreamId : kAudioStreamId;
    std::vector<uint8_t> bytes;
    SpoolRecord record;
    int64_t lastPts[2] = {0, 0};
    while (fread(&record, sizeof(record), 1, spool.get()) == 1)
    {
        if (*cancel)
            return Fail(HXR_CANCELLED, "the encoding was cancelled");
        if (record.size < 0 || record.stream < 0 || record.stream > 1)
            return Fail(E_FAIL, "the temporary file is damaged");
        if (av_new_packet(packet.get(), record.size) < 0)
            return Fail(E_OUTOFMEMORY, "out of memory");
        if (fread(packet->data, 1, (size_t)record.size, spool.get()) != (size_t)record.size)
            return Fail(E_FAIL, "the temporary file is damaged");
        packet->pts = record.pts;
        packet->dts = record.dts;
        packet->duration = record.duration;
        packet->flags = record.flags;
        AVCodecContext* source = record.stream == kVideoStreamId ? video.get() : audio.get();
        int64_t timeMs =
            record.pts == AV_NOPTS_VALUE ? 0 : av_rescale_q(record.pts, source->time_base, AVRational{1, 1000});
        bool keyFrame = (record.flags & AV_PKT_FLAG_KEY) != 0;
        if (record.stream == rollStream && keyFrame && writer.Size() > 0 &&
            ((settings.rollSize > 0 && writer.Size() >= settings.rollSize) ||
             (settings.rollTimeMs > 0 && timeMs - segmentStartMs >= settings.rollTimeMs)))
        {
            // Each rolled file starts its clock at its own first packet.
            int64_t next[2] = {lastPts[0], lastPts[1]};
            next[record.stream] = record.pts;
            if (!writer.Open(next))
                return Fail(E_FAIL, "the next output file cannot be written");
            segmentStartMs = timeMs;
        }
        if (record.pts != AV_NOPTS_VALUE)
            lastPts[record.stream] = record.pts;
        bool written = writer.Write(record.stream, packet.get());
        av_packet_unref(packet.get());
        if (!written)
            return Fail(E_FAIL, "the output file cannot be written");
        if (total > 0)
            Report(kHXTEventSecondPassProgress, (double)ftell(spool.get()) / (double)total);
    }
    if (!writer.Close())
        return Fail(E_FAIL, "the output file cannot be finished");
    return HXR_OK;
}

CEncodeSession::CEncodeSession(const EncodeSettings& settings, std::atomic<bool>* cancel,
                               std::function<void(UINT32, UINT32)> progress)
    : m_impl(new Impl)
{
    m_impl->settings = settings;
    m_impl->cancel = cancel;
    m_impl->progress = progress;
    m_impl->error = &m_error;
}

CEncodeSession::~CEncodeSession()
{
    delete m_impl;
}

HX_RESULT CEncodeSession::Run()
{
    Impl& s = *m_impl;
    s.progress(kHXTEventEncodingStarted, 0);
    s.durationMs = s.settings.input->DurationMs();
    HX_RESULT result = s.DescribeOutputs();
    if (result >= 0)
        result = s.Connect();
    s.outputUnix = ToUnixPath(s.settings.outputPath);
    if (result >= 0 && s.outputUnix.empty())
        result = s.Fail(E_FAIL, "the output folder does not exist");
    s.frame.reset(av_frame_alloc());
    s.packet.reset(av_packet_alloc());
    if (result >= 0 && (!s.frame || !s.packet))
        result = s.Fail(E_OUTOFMEMORY, "out of memory");
    if (result >= 0 && s.videoOutput >= 0)
        result = s.OpenVideo();
    if (result >= 0 && s.audioOutput >= 0)
        result = s.OpenAudio();
    if (result >= 0)
    {
        s.spoolPath = s.outputUnix + ".spool";
        s.spool.reset(fopen(s.spoolPath.c_str(), "w+b"));
        if (!s.spool)
            result = s.Fail(E_FAIL, "the output folder cannot be written");
    }
    if (result >= 0)
        result = s.PullAll();
    s.EndStreams();
    if (result >= 0)
        result = s.Flush();
    if (result >= 0)
    {
        s.Report(kHXTEventFirstPassProgress, 1.0);
        s.lastPercent = (UINT32)-1;
        result = s.Mux();
    }
    if (s.spool)
    {
        s.spool.reset();
        ::remove(s.spoolPath.c_str());
    }
    if (result >= 0)
        s.Report(kHXTEventSecondPassProgress, 1.0);
    return result;
}
