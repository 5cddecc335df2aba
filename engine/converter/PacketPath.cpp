#ifndef NOMINMAX
#define NOMINMAX
#endif
#include "engine/converter/PacketPath.h"

#include "engine/CodecLock.h"
#include "engine/converter/CommandLine.h"
#include "engine/converter/FFMpegEncoder.h"
#include "engine/converter/TranscodePipeline.h"

#include <errno.h>
#include <math.h>
#include <stdarg.h>
#include <string.h>

#include <algorithm>
#include <mutex>

extern "C"
{
#include <libavutil/imgutils.h>
#include <libavutil/intreadwrite.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}

namespace
{
const int kMaxSubtitleSize = 65536;
const double kMicroseconds = 1000000.0;
const int kVolumeUnity = 256;
const int kDriftSamplesTolerance = 50;
const int kPcmChunkSamples = 1024;
// Scaling splits the picture across a thread per this many source pixels (half a 1080p picture),
// up to kMostScalerThreads. Every share costs CPU time of its own (the rows the filter needs on
// both sides of a seam are scaled twice, and the threads wake for each picture): pictures up to
// 720p scale on one thread, which keeps pace with the encoder.
const int kPixelsPerScalerThread = 1920 * 1080 / 2;
const int kMostScalerThreads = 4;
// Target pictures kept per video stream for the encoders to release: the encoder queue's depth
// and the pictures an encoder holds back for its B-frames.
const size_t kMostSparePictures = 16;

thread_local PacketCollector* t_packetCollector = nullptr;

// Each plane's pointer moved right by x pixels and down by y lines, chroma planes subsampled.
void OffsetPlanes(const AVPixFmtDescriptor* desc, uint8_t* data[4], const int linesize[4], int x, int y)
{
    int steps[4] = {};
    av_image_fill_max_pixsteps(steps, nullptr, desc);
    for (int p = 0; p < 4 && data[p]; ++p)
    {
        bool chroma = (p == 1 || p == 2) && !(desc->flags & AV_PIX_FMT_FLAG_RGB);
        int px = chroma ? x >> desc->log2_chroma_w : x;
        int py = chroma ? y >> desc->log2_chroma_h : y;
        data[p] += static_cast<ptrdiff_t>(py) * linesize[p] + static_cast<ptrdiff_t>(px) * steps[p];
    }
}

template <typename T, typename Wide> void ScaleSamples(T* samples, int count, int volume, Wide low, Wide high)
{
    for (int i = 0; i < count; ++i)
    {
        Wide value = (static_cast<Wide>(samples[i]) * volume + 128) >> 8;
        samples[i] = static_cast<T>(std::min(high, std::max(low, value)));
    }
}

void ScaleFloatSamples(float* samples, int count, int volume)
{
    for (int i = 0; i < count; ++i)
        samples[i] = samples[i] * volume / kVolumeUnity;
}

// Scales samples by volume / 256, clipping integer samples to their range.
void ApplyVolume(AVFrame* frame, int volume)
{
    if (volume == kVolumeUnity)
        return;
    AVSampleFormat format = static_cast<AVSampleFormat>(frame->format);
    int planar = av_sample_fmt_is_planar(format);
    int channels = frame->ch_layout.nb_channels;
    int planes = planar ? channels : 1;
    int count = frame->nb_samples * (planar ? 1 : channels);
    for (int p = 0; p < planes; ++p)
    {
        uint8_t* data = frame->extended_data[p];
        switch (av_get_packed_sample_fmt(format))
        {
        case AV_SAMPLE_FMT_S16:
            ScaleSamples<int16_t, int>(reinterpret_cast<int16_t*>(data), count, volume, INT16_MIN, INT16_MAX);
            break;
        case AV_SAMPLE_FMT_S32:
            ScaleSamples<int32_t, int64_t>(reinterpret_cast<int32_t*>(data), count, volume, INT32_MIN, INT32_MAX);
            break;
        case AV_SAMPLE_FMT_FLT:
            ScaleFloatSamples(reinterpret_cast<float*>(data), count, volume);
            break;
        default:
            break;
        }
    }
}

// Linear-blend deinterlacing of 8-bit planar pictures, in place. False for other formats.
bool DeinterlacePicture(AVFrame* picture)
{
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(picture->format));
    if (!(desc->flags & AV_PIX_FMT_FLAG_PLANAR) || (desc->flags & AV_PIX_FMT_FLAG_RGB) || desc->comp[0].depth != 8)
        return false;
    std::vector<uint8_t> previous;
    for (int p = 0; p < 3 && picture->data[p]; ++p)
    {
        int height = p ? AV_CEIL_RSHIFT(picture->height, desc->log2_chroma_h) : picture->height;
        int width = p ? AV_CEIL_RSHIFT(picture->width, desc->log2_chroma_w) : picture->width;
        previous.assign(picture->data[p], picture->data[p] + width);
        for (int y = 1; y + 1 < height; ++y)
        {
            uint8_t* row = picture->data[p] + y * picture->linesize[p];
            const uint8_t* below = row + picture->linesize[p];
            for (int x = 0; x < width; ++x)
            {
                uint8_t current = row[x];
                row[x] = static_cast<uint8_t>((previous[x] + 2 * current + below[x] + 2) >> 2);
                previous[x] = current;
            }
        }
    }
    return true;
}

void FreeFrame(AVFrame*& frame)
{
    av_frame_free(&frame);
}

// Whether a source time (microseconds) belongs to this run's segment.
bool InSegment(const TranscodeRun* run, int64_t pts)
{
    return (run->context->startTime == 0 || pts >= run->context->startTime) && pts < run->endTime;
}

int64_t StartTimeIn(const TranscodeRun* run, AVRational timeBase)
{
    return av_rescale_q(run->context->startTime, AV_TIME_BASE_Q, timeBase);
}
} // namespace

// Fills a whole picture with the pad colour (Y, U, V); pictures that are not YUV become black.
void FillPadColor(AVFrame* picture, const int color[3])
{
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(picture->format));
    bool yuv = !(desc->flags & AV_PIX_FMT_FLAG_RGB) && (desc->flags & AV_PIX_FMT_FLAG_PLANAR);
    for (int p = 0; p < 4 && picture->data[p]; ++p)
    {
        bool chroma = p == 1 || p == 2;
        int height = chroma ? AV_CEIL_RSHIFT(picture->height, desc->log2_chroma_h) : picture->height;
        int value = yuv && p < 3 ? color[p] : (p == 3 ? 255 : 0);
        int depth = desc->comp[0].depth;
        for (int y = 0; y < height; ++y)
        {
            uint8_t* row = picture->data[p] + y * picture->linesize[p];
            if (depth > 8)
            {
                uint16_t wide = static_cast<uint16_t>(value << (depth - 8));
                for (int x = 0; x < picture->linesize[p] / 2; ++x)
                    reinterpret_cast<uint16_t*>(row)[x] = wide;
            }
            else
                memset(row, value, picture->linesize[p]);
        }
    }
}

void FillPadColumns(AVFrame* picture, const int color[3], int fromX, int toX)
{
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(picture->format));
    if ((desc->flags & AV_PIX_FMT_FLAG_RGB) || !(desc->flags & AV_PIX_FMT_FLAG_PLANAR) || desc->comp[0].depth > 8)
        return;
    for (int p = 0; p < 3 && picture->data[p]; ++p)
    {
        const bool chroma = p == 1 || p == 2;
        const int shift = chroma ? desc->log2_chroma_w : 0;
        const int height = chroma ? AV_CEIL_RSHIFT(picture->height, desc->log2_chroma_h) : picture->height;
        const int from = fromX >> shift, to = AV_CEIL_RSHIFT(toX, shift);
        for (int y = 0; y < height; ++y)
            memset(picture->data[p] + y * picture->linesize[p] + from, color[p], to - from);
    }
}

InputStreamRecord::~InputStreamRecord()
{
    if (decoder)
    {
        EngineCloseCodec(decoder);
        avcodec_free_context(&decoder);
    }
    av_frame_free(&frame);
}

OutputStreamRecord::~OutputStreamRecord()
{
    sws_freeContext(scaler);
    FreeFrame(picture);
    for (AVFrame*& spare : sparePictures)
        FreeFrame(spare);
    swr_free(&resampler);
    av_channel_layout_uninit(&resamplerLayout);
    if (fifo)
        av_audio_fifo_free(fifo);
    FreeFrame(convertedFrame);
    if (passLogFile)
        fclose(passLogFile);
    for (AVBSFContext*& filter : filters)
        av_bsf_free(&filter);
    av_packet_free(&packet);
}

TranscodeRun::~TranscodeRun()
{
    for (OutputStreamRecord* ost : outputStreams)
        delete ost;
    for (InputStreamRecord* ist : inputStreams)
        delete ist;
}

void TranscodeFail(TranscodeRun* run, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    ConverterMessageV(AV_LOG_ERROR, format, args);
    va_end(args);
    if (run->pipeline)
        throw StageFailure();
    ReleaseTranscodeContext(run->job, 1);
    throw -1;
}

PacketCollector::~PacketCollector()
{
    for (auto& entry : packets)
        av_packet_free(&entry.second);
}

void SetThreadPacketCollector(PacketCollector* collector)
{
    t_packetCollector = collector;
}

double OutputStreamSeconds(const OutputStreamRecord* ost)
{
    if (!ost->encodingNeeded)
        return ost->copiedSeconds;
    return ost->syncOpts * av_q2d(ost->encoder->time_base);
}

void WritePacket(TranscodeRun* run, OutputStreamRecord* ost, AVPacket* packet)
{
    packet->stream_index = ost->stream->index;
    // Bit-stream filters: each one takes the packet and gives out what it made of it.
    for (size_t i = 0; i < ost->filters.size(); ++i)
    {
        AVBSFContext* filter = ost->filters[i];
        int result = av_bsf_send_packet(filter, packet);
        if (result >= 0)
            result = av_bsf_receive_packet(filter, packet);
        if (result == AVERROR(EAGAIN))
            return;
        if (result < 0)
        {
            const char* codecName = ost->encoder && ost->encoder->codec ? ost->encoder->codec->name : "copy";
            ConverterMessage("%s failed for stream %d, codec %s", filter->filter->name, ost->index, codecName);
            PrintOpenError(LegacyErrorCode(result), "");
            TranscodeFail(run, "%s", "");
        }
    }
    if (t_packetCollector)
    {
        AVPacket* kept = av_packet_alloc();
        if (!kept)
            TranscodeFail(run, "Could not allocate packet\n");
        av_packet_move_ref(kept, packet);
        t_packetCollector->packets.emplace_back(ost->fileIndex, kept);
        return;
    }
    MuxPacket(run, ost->fileIndex, packet);
}

void MuxPacket(TranscodeRun* run, int fileIndex, AVPacket* packet)
{
    AVFormatContext* file = run->context->outputFiles[fileIndex];
    int result = av_interleaved_write_frame(file, packet);
    // A failed write (a full disk) shows in the file's I/O context before the muxer reports it.
    if (result >= 0 && file->pb && file->pb->error < 0)
        result = file->pb->error;
    if (result < 0)
    {
        PrintOpenError(LegacyErrorCode(result), "av_interleaved_write_frame()");
        TranscodeFail(run, "%s", "");
    }
}

// Takes every packet the encoder has ready and writes it. Gives the size of the last one.
static int DrainEncoder(TranscodeRun* run, OutputStreamRecord* ost, const char* failure, EncodedFrameStats* stats)
{
    AVCodecContext* enc = ost->encoder;
    int lastSize = 0;
    for (;;)
    {
        int result = avcodec_receive_packet(enc, ost->packet);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            break;
        if (result < 0)
            TranscodeFail(run, "%s", failure);
        if (ost->passLogFile && enc->stats_out)
            fputs(enc->stats_out, ost->passLogFile);
        if (enc->codec_type == AVMEDIA_TYPE_AUDIO)
            ost->packet->flags |= AV_PKT_FLAG_KEY;
        lastSize = ost->packet->size;
        if (enc->codec_type == AVMEDIA_TYPE_VIDEO)
        {
            __atomic_add_fetch(&run->context->videoBytesWritten, lastSize, __ATOMIC_RELAXED);
            // Quality (4 bytes), picture type, error count, 2 reserved bytes, then the error sums.
            size_t sideSize = 0;
            const uint8_t* side = av_packet_get_side_data(ost->packet, AV_PKT_DATA_QUALITY_STATS, &sideSize);
            if (side && sideSize >= 5 && stats)
            {
                stats->quality = AV_RL32(side);
                stats->pictureType = side[4];
                stats->hasError = sideSize >= 16 && side[5] > 0;
                stats->error = stats->hasError ? AV_RL64(side + 8) : 0;
            }
        }
        av_packet_rescale_ts(ost->packet, enc->time_base, ost->stream->time_base);
        WritePacket(run, ost, ost->packet);
        av_packet_unref(ost->packet);
    }
    return lastSize;
}

// frameNumber and clock (encoder time-base units) are what the statistics line shows.
static void SendToEncoder(TranscodeRun* run, OutputStreamRecord* ost, AVFrame* frame, const char* failure,
                          int frameNumber, int64_t clock)
{
    EncodedFrameStats stats;
    if (avcodec_send_frame(ost->encoder, frame) < 0)
        TranscodeFail(run, "%s", failure);
    int size = DrainEncoder(run, ost, failure, &stats);
    if (size > 0 && run->context->statsFileName && ost->encoder->codec_type == AVMEDIA_TYPE_VIDEO)
        WriteVideoStats(run, ost, frameNumber, clock * av_q2d(ost->encoder->time_base), size, stats);
}

void RunEncodeWork(TranscodeRun* run, OutputStreamRecord* ost, EncodeWork& work)
{
    const char* failure =
        ost->encoder->codec_type == AVMEDIA_TYPE_VIDEO ? "Video encoding failed\n" : "Audio encoding failed\n";
    for (EncodeFrame& item : work.frames)
    {
        SendToEncoder(run, ost, item.frame.get(), failure, item.frameNumber, item.frame->pts);
        item.frame.reset();
    }
    if (work.flush)
        SendToEncoder(run, ost, nullptr, failure, work.flushFrameNumber, work.flushClock);
}

// The encoder's part of the work, on the pipeline's encoder thread or here and now.
static void DispatchEncodeWork(TranscodeRun* run, OutputStreamRecord* ost, EncodeWork& work)
{
    if (run->pipeline)
        run->pipeline->SubmitEncode(ost, std::move(work));
    else
        RunEncodeWork(run, ost, work);
}

void WriteVideoStats(TranscodeRun* run, OutputStreamRecord* ost, int frameNumber, double seconds, int frameSize,
                     const EncodedFrameStats& stats)
{
    TranscodeContext* context = run->context;
    std::lock_guard<std::mutex> guard(run->statsLock);
    if (!context->statsFile)
    {
        context->statsFile = fopen(context->statsFileName, "w");
        if (!context->statsFile)
        {
            perror("fopen");
            TranscodeFail(run, "%s", "");
        }
    }
    AVCodecContext* enc = ost->encoder;
    fprintf(context->statsFile, "frame= %5d q= %2.1f ", frameNumber, stats.quality / 118.0);
    if ((enc->flags & AV_CODEC_FLAG_PSNR) && stats.hasError)
    {
        double scaled = static_cast<double>(stats.error) / (enc->width * enc->height * 255.0 * 255.0);
        fprintf(context->statsFile, "PSNR= %6.2f ", scaled > 0 ? -10.0 * log10(scaled) : 99.99);
    }
    seconds = std::max(0.01, seconds);
    double frameRate = 1.0 / av_q2d(enc->time_base);
    int64_t bytesWritten = __atomic_load_n(&context->videoBytesWritten, __ATOMIC_RELAXED);
    fprintf(context->statsFile, "f_size= %6d ", frameSize);
    fprintf(context->statsFile, "s_size= %8.0fkB time= %0.3f br= %7.1fkbits/s avg_br= %7.1fkbits/s ",
            bytesWritten / 1024.0, seconds, frameSize * 8 * frameRate / 1000.0, bytesWritten * 8 / seconds / 1000.0);
    fprintf(context->statsFile, "type= %c\n", av_get_picture_type_char(static_cast<AVPictureType>(stats.pictureType)));
}

void PrepareVideoFrame(TranscodeRun* run, AVFrame* picture, int64_t pts)
{
    CFFMpegEncoder* job = run->job;
    if (!run->context->deinterlace && !job->m_overlaysNeeded)
        return;
    // The decorations and the deinterlacer must never draw into the decoder's own buffers.
    if (av_frame_make_writable(picture) < 0)
        return;
    if (run->context->deinterlace && !DeinterlacePicture(picture))
        ConverterMessage("Deinterlacing failed\n");
    if (job->m_overlaysNeeded)
        ApplyFrameOverlays(job, picture, picture->format, picture->width, picture->height, pts);
}

static bool HasPadBands(const OutputStreamRecord* ost)
{
    return ost->padTop || ost->padBottom || ost->padLeft || ost->padRight;
}

void AllocateTargetPicture(TranscodeRun* run, OutputStreamRecord* ost)
{
    AVCodecContext* enc = ost->encoder;
    ost->picture = av_frame_alloc();
    if (!ost->picture)
        TranscodeFail(run, "Cannot allocate temp picture, check pix fmt\n");
    ost->picture->format = enc->pix_fmt;
    ost->picture->width = enc->width;
    ost->picture->height = enc->height;
    if (enc->width <= 0 || enc->height <= 0 || av_frame_get_buffer(ost->picture, 0) < 0)
        TranscodeFail(run, "Cannot allocate temp picture, check pix fmt\n");
    // The pad bands keep this colour: only the inner rectangle is scaled into from now on.
    if (HasPadBands(ost))
        FillPadColor(ost->picture, run->context->padColor);
}

// The scaler and target picture of an output stream for a source of this size and format.
static void PrepareVideoConversion(TranscodeRun* run, OutputStreamRecord* ost, InputStreamRecord* ist,
                                   const AVFrame* picture)
{
    AVCodecContext* enc = ost->encoder;
    bool first = ost->sourceFormat < 0;
    if (!first && picture->width == ost->sourceWidth && picture->height == ost->sourceHeight &&
        picture->format == ost->sourceFormat)
        return;
    int flags = SWS_SPLINE;
    if (first)
    {
        int64_t configured = SWS_BICUBIC;
        if (run->context->scalerOptions)
            av_opt_get_int(run->context->scalerOptions, "sws_flags", 0, &configured);
        flags = static_cast<int>(configured);
    }
    else
    {
        ConverterMessage("Input Stream #%d.%d frame size changed to %dx%d, %s\n", ist->fileIndex, ist->streamIndex,
                         picture->width, picture->height,
                         av_get_pix_fmt_name(static_cast<AVPixelFormat>(picture->format)));
        // The crop bands keep their proportion to the picture and stay even.
        auto scale = [](int band, int now, int before) { return before ? (band * now / before) & ~1 : 0; };
        ost->cropTop = scale(ost->cropTop, picture->height, ost->sourceHeight);
        ost->cropBottom = scale(ost->cropBottom, picture->height, ost->sourceHeight);
        ost->cropLeft = scale(ost->cropLeft, picture->width, ost->sourceWidth);
        ost->cropRight = scale(ost->cropRight, picture->width, ost->sourceWidth);
    }
    sws_freeContext(ost->scaler);
    ost->scaler = nullptr;
    int sourceWidth = picture->width - ost->cropLeft - ost->cropRight;
    int sourceHeight = picture->height - ost->cropTop - ost->cropBottom;
    int targetWidth = enc->width - ost->padLeft - ost->padRight;
    int targetHeight = enc->height - ost->padTop - ost->padBottom;
    if (sourceWidth > 0 && sourceHeight > 0 && targetWidth > 0 && targetHeight > 0)
        ost->scaler = sws_alloc_context();
    int threads = std::max(1, std::min(kMostScalerThreads, sourceWidth * sourceHeight / kPixelsPerScalerThread));
    // Conversions side by side share the cores: the scaler takes no more than the codecs' share.
    if (run->context->threadCount == 0 && run->codecThreads > 0)
        threads = std::min(threads, run->codecThreads);
    const struct
    {
        const char* name;
        int64_t value;
    } settings[] = {{"srcw", sourceWidth}, {"srch", sourceHeight}, {"src_format", picture->format},
                    {"dstw", targetWidth}, {"dsth", targetHeight}, {"dst_format", enc->pix_fmt},
                    {"sws_flags", flags},  {"threads", threads}};
    bool configured = ost->scaler != nullptr;
    for (const auto& setting : settings)
        configured = configured && av_opt_set_int(ost->scaler, setting.name, setting.value, 0) >= 0;
    if (!configured || sws_init_context(ost->scaler, nullptr, nullptr) < 0)
        TranscodeFail(run, "Cannot get resampling context\n");
    ost->sourceWidth = picture->width;
    ost->sourceHeight = picture->height;
    ost->sourceFormat = picture->format;
}

// How many times a picture is written to fill a gap of delta frames before it. A jump beyond the
// discontinuity threshold is a broken or restarted clock, not a gap: the picture is written once.
// No gap is filled beyond what the input's duration leaves for the output.
static int DuplicatesForGap(TranscodeRun* run, OutputStreamRecord* ost, InputStreamRecord* ist, double delta,
                            double timeBase)
{
    TranscodeContext* context = run->context;
    if (delta * timeBase > context->dtsDeltaThreshold)
        return 1;
    double count = delta;
    int64_t duration = context->inputFiles[ist->fileIndex]->duration;
    if (duration > 0 && duration != AV_NOPTS_VALUE)
    {
        double remaining = (duration - context->startTime) / kMicroseconds / timeBase - ost->syncOpts;
        count = std::min(count, std::max(1.0, remaining));
    }
    return static_cast<int>(std::max(1L, lrint(count)));
}

// How many copies of the picture the output stream takes (0 drops it, more duplicate it) and
// at which output time: moves the stream's clock and frame count on.
static VideoPlanEntry PlanVideoFrames(TranscodeRun* run, OutputStreamRecord* ost, InputStreamRecord* ist)
{
    TranscodeContext* context = run->context;
    AVCodecContext* enc = ost->encoder;
    AVFormatContext* file = context->outputFiles[ost->fileIndex];
    double timeBase = av_q2d(enc->time_base);
    double syncSeconds = (ist->pts - context->startTime) / kMicroseconds;
    int frameCount = 1;
    int method = context->videoSyncMethod;
    if (method > 0 || (method && timeBase > 0.001))
    {
        double delta = syncSeconds / timeBase - ost->syncOpts;
        if (delta < -1.1)
            frameCount = 0;
        else if (method == 2 || (method < 0 && (file->oformat->flags & AVFMT_VARIABLE_FPS)))
        {
            if (delta <= -0.6)
                frameCount = 0;
            else if (delta > 0.6)
                ost->syncOpts = llrint(syncSeconds / timeBase);
        }
        else if (delta > 1.1)
            frameCount = DuplicatesForGap(run, ost, ist, delta, timeBase);
    }
    else
        ost->syncOpts = llrint(syncSeconds / timeBase);
    VideoPlanEntry entry;
    entry.ost = ost;
    entry.frameCount = std::max(0, std::min(frameCount, context->frameLimits[0] - ost->frameNumber));
    entry.firstPts = ost->syncOpts;
    entry.firstFrameNumber = ost->frameNumber;
    ost->syncOpts += entry.frameCount;
    ost->frameNumber += entry.frameCount;
    return entry;
}

// A target picture the scaler can write into while the encoders may still hold the last one: a
// spare they have released, else a new one. The pad bands never change, so every picture is
// filled once, when it is made.
static void MakeTargetWritable(TranscodeRun* run, OutputStreamRecord* ost)
{
    if (av_frame_is_writable(ost->picture))
        return;
    std::vector<AVFrame*>& spares = ost->sparePictures;
    auto released =
        std::find_if(spares.begin(), spares.end(), [](AVFrame* spare) { return av_frame_is_writable(spare); });
    if (released != spares.end())
    {
        std::swap(*released, ost->picture);
        return;
    }
    if (spares.size() < kMostSparePictures)
        spares.push_back(ost->picture);
    else
        FreeFrame(ost->picture); // the encoders keep their own reference
    ost->picture = nullptr;
    AllocateTargetPicture(run, ost);
}

// The encoder's picture of a decoded one: cropped, scaled and padded when the stream converts.
static AVFrame* ConvertPicture(TranscodeRun* run, OutputStreamRecord* ost, InputStreamRecord* ist, AVFrame* picture)
{
    AVCodecContext* enc = ost->encoder;
    if (!ost->convertPicture &&
        (picture->width != enc->width || picture->height != enc->height || picture->format != enc->pix_fmt))
    {
        // The source changed its picture in the middle of the stream: scale from now on.
        AllocateTargetPicture(run, ost);
        ost->convertPicture = 1;
        ost->sourceWidth = enc->width;
        ost->sourceHeight = enc->height;
        ost->sourceFormat = enc->pix_fmt;
    }
    if (!ost->convertPicture)
        return picture;
    PrepareVideoConversion(run, ost, ist, picture);
    MakeTargetWritable(run, ost);
    // Views of the inner rectangles: the source without its crop bands, the target without its pad bands.
    FramePtr source(av_frame_clone(picture));
    FramePtr target(av_frame_clone(ost->picture));
    if (!source || !target)
        TranscodeFail(run, "Cannot allocate temp picture, check pix fmt\n");
    OffsetPlanes(av_pix_fmt_desc_get(static_cast<AVPixelFormat>(picture->format)), source->data, source->linesize,
                 ost->cropLeft, ost->cropTop);
    source->width -= ost->cropLeft + ost->cropRight;
    source->height -= ost->cropTop + ost->cropBottom;
    OffsetPlanes(av_pix_fmt_desc_get(enc->pix_fmt), target->data, target->linesize, ost->padLeft, ost->padTop);
    target->width -= ost->padLeft + ost->padRight;
    target->height -= ost->padTop + ost->padBottom;
    if (sws_scale_frame(ost->scaler, target.get(), source.get()) < 0)
        TranscodeFail(run, "Cannot scale the picture\n");
    // The scaler writes its rows in whole blocks of pixels, past the picture into the right band.
    if (ost->padRight)
        FillPadColumns(ost->picture, run->context->padColor, enc->width - ost->padRight, enc->width);
    return ost->picture;
}

void RunVideoWork(TranscodeRun* run, InputStreamRecord* ist, VideoWork& work)
{
    TranscodeContext* context = run->context;
    AVFrame* picture = work.picture.get();
    if (picture)
        PrepareVideoFrame(run, picture, work.pts);
    for (VideoPlanEntry& entry : work.entries)
    {
        OutputStreamRecord* ost = entry.ost;
        AVCodecContext* enc = ost->encoder;
        EncodeWork encode;
        encode.collector = entry.collector;
        if (!picture)
        {
            encode.flush = true;
            encode.flushFrameNumber = entry.firstFrameNumber;
            encode.flushClock = entry.firstPts;
        }
        AVFrame* target = picture ? ConvertPicture(run, ost, ist, picture) : nullptr;
        for (int i = 0; i < entry.frameCount; ++i)
        {
            EncodeFrame item;
            item.frame.reset(av_frame_clone(target));
            if (!item.frame)
                TranscodeFail(run, "Video encoding failed\n");
            AVFrame* frame = item.frame.get();
            if (enc->flags & (AV_CODEC_FLAG_INTERLACED_DCT | AV_CODEC_FLAG_INTERLACED_ME))
            {
                frame->interlaced_frame = picture->interlaced_frame;
                frame->top_field_first =
                    context->topFieldFirst == -1 ? picture->top_field_first : context->topFieldFirst;
            }
            frame->pict_type = AV_PICTURE_TYPE_NONE;
            if (context->sameQuality)
                frame->quality = picture->quality;
            frame->pts = entry.firstPts + i;
            item.frameNumber = entry.firstFrameNumber + i;
            encode.frames.push_back(std::move(item));
        }
        DispatchEncodeWork(run, ost, encode);
    }
}

// The picture's part of the work, on the pipeline's picture thread or here and now.
static void DispatchVideoWork(TranscodeRun* run, InputStreamRecord* ist, VideoWork& work)
{
    if (run->pipeline)
        run->pipeline->SubmitVideo(ist, std::move(work));
    else
        RunVideoWork(run, ist, work);
}

// Encodes whole encoder frames from the FIFO (all of it when final, padded where the codec
// needs whole frames), and with final the encoder's end.
static void EncodeAudioFrames(TranscodeRun* run, OutputStreamRecord* ost, bool final)
{
    AVCodecContext* enc = ost->encoder;
    bool wholeFrames = enc->frame_size > 1 && !(enc->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
    int chunk = wholeFrames ? enc->frame_size : kPcmChunkSamples;
    EncodeWork work;
    for (;;)
    {
        int available = av_audio_fifo_size(ost->fifo);
        if (available <= 0 || (available < chunk && !final))
            break;
        int count = std::min(available, chunk);
        int frameSamples = count;
        if (wholeFrames && count < chunk && !(enc->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME))
            frameSamples = chunk; // padded with silence
        EncodeFrame item;
        item.frame.reset(av_frame_alloc());
        AVFrame* frame = item.frame.get();
        if (!frame)
            TranscodeFail(run, "Audio encoding failed\n");
        frame->nb_samples = frameSamples;
        frame->format = enc->sample_fmt;
        frame->sample_rate = enc->sample_rate;
        if (av_channel_layout_copy(&frame->ch_layout, &enc->ch_layout) < 0 || av_frame_get_buffer(frame, 0) < 0)
            TranscodeFail(run, "Audio encoding failed\n");
        if (frameSamples > count)
            av_samples_set_silence(frame->extended_data, 0, frameSamples, enc->ch_layout.nb_channels, enc->sample_fmt);
        if (av_audio_fifo_read(ost->fifo, reinterpret_cast<void**>(frame->extended_data), count) < count)
            TranscodeFail(run, "Audio encoding failed\n");
        frame->pts = ost->syncOpts;
        item.frameNumber = ost->frameNumber;
        ost->syncOpts += frameSamples;
        ost->frameNumber++;
        work.frames.push_back(std::move(item));
    }
    work.flush = final;
    work.flushFrameNumber = ost->frameNumber;
    work.flushClock = ost->syncOpts;
    if (!work.frames.empty() || work.flush)
        DispatchEncodeWork(run, ost, work);
}

// (Re)creates the resampler for the decoder's current output.
static void PrepareResampler(TranscodeRun* run, OutputStreamRecord* ost, const AVFrame* samples)
{
    if (ost->resampler && ost->resamplerRate == samples->sample_rate && ost->resamplerFormat == samples->format &&
        !av_channel_layout_compare(&ost->resamplerLayout, &samples->ch_layout))
        return;
    AVCodecContext* enc = ost->encoder;
    swr_free(&ost->resampler);
    AVChannelLayout inputLayout = {};
    if (samples->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&inputLayout, samples->ch_layout.nb_channels);
    else
        av_channel_layout_copy(&inputLayout, &samples->ch_layout);
    int result = swr_alloc_set_opts2(&ost->resampler, &enc->ch_layout, enc->sample_fmt, enc->sample_rate, &inputLayout,
                                     static_cast<AVSampleFormat>(samples->format), samples->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&inputLayout);
    if (result < 0 || swr_init(ost->resampler) < 0)
        TranscodeFail(run, "Can not resample %d channels @ %d Hz to %d channels @ %d Hz\n",
                      samples->ch_layout.nb_channels, samples->sample_rate, enc->ch_layout.nb_channels,
                      enc->sample_rate);
    av_channel_layout_uninit(&ost->resamplerLayout);
    av_channel_layout_copy(&ost->resamplerLayout, &samples->ch_layout);
    ost->resamplerRate = samples->sample_rate;
    ost->resamplerFormat = samples->format;
}

// Resamples (samples null: drains the resampler) into the FIFO, volume applied.
static void ResampleIntoFifo(TranscodeRun* run, OutputStreamRecord* ost, const AVFrame* samples)
{
    AVCodecContext* enc = ost->encoder;
    int inputCount = samples ? samples->nb_samples : 0;
    int capacity = swr_get_out_samples(ost->resampler, inputCount);
    if (capacity <= 0)
        return;
    AVFrame* converted = ost->convertedFrame;
    if (converted->nb_samples < capacity || !converted->data[0])
    {
        av_frame_unref(converted);
        converted->nb_samples = capacity;
        converted->format = enc->sample_fmt;
        converted->sample_rate = enc->sample_rate;
        if (av_channel_layout_copy(&converted->ch_layout, &enc->ch_layout) < 0 || av_frame_get_buffer(converted, 0) < 0)
            TranscodeFail(run, "Audio encoding failed\n");
    }
    int count = swr_convert(ost->resampler, converted->extended_data, capacity,
                            samples ? const_cast<const uint8_t**>(samples->extended_data) : nullptr, inputCount);
    if (count < 0)
    {
        fprintf(stdout, "av_audio_convert() failed\n");
        TranscodeFail(run, "%s", "");
    }
    if (count == 0)
        return;
    int allocated = converted->nb_samples;
    converted->nb_samples = count;
    ApplyVolume(converted, run->context->audioVolume);
    int written = av_audio_fifo_write(ost->fifo, reinterpret_cast<void**>(converted->extended_data), count);
    converted->nb_samples = allocated;
    if (written < count)
        TranscodeFail(run, "av_fifo_realloc2() failed\n");
}

void EncodeAudio(TranscodeRun* run, OutputStreamRecord* ost, InputStreamRecord* ist, AVFrame* samples)
{
    TranscodeContext* context = run->context;
    AVCodecContext* enc = ost->encoder;
    PrepareResampler(run, ost, samples);
    double inputSeconds = (ist->pts - context->startTime) / kMicroseconds;
    if (!ost->timeStarted)
    {
        // The output clock starts where the input is.
        ost->syncOpts = std::max<int64_t>(0, llrint(inputSeconds * enc->sample_rate));
        ost->timeStarted = 1;
    }
    if (context->audioSyncMethod)
    {
        double delta = inputSeconds * enc->sample_rate - ost->syncOpts - av_audio_fifo_size(ost->fifo) -
                       swr_get_delay(ost->resampler, enc->sample_rate);
        if (fabs(delta) > kDriftSamplesTolerance)
        {
            if (ist->isStart || fabs(delta) > context->audioDriftThreshold * enc->sample_rate)
            {
                if (delta < 0)
                    swr_drop_output(ost->resampler, static_cast<int>(std::min<double>(-delta, samples->nb_samples)));
                else
                    swr_inject_silence(ost->resampler, static_cast<int>(std::min<double>(delta, 131072 / 4)));
            }
            else if (context->audioSyncMethod > 1)
            {
                int compensation = static_cast<int>(
                    std::max<double>(-context->audioSyncMethod, std::min<double>(delta, context->audioSyncMethod)));
                swr_set_compensation(ost->resampler, compensation, enc->sample_rate);
            }
        }
    }
    ResampleIntoFifo(run, ost, samples);
    EncodeAudioFrames(run, ost, false);
}

void EncodeSubtitle(TranscodeRun* run, OutputStreamRecord* ost, InputStreamRecord* ist, AVSubtitle* subtitle,
                    int64_t pts)
{
    (void)ist;
    if (pts == AV_NOPTS_VALUE)
        TranscodeFail(run, "Subtitle packets must have a pts\n");
    TranscodeContext* context = run->context;
    if (!context->subtitleOutputBuffer)
    {
        context->subtitleOutputBuffer = static_cast<uint8_t*>(av_malloc(kMaxSubtitleSize));
        if (!context->subtitleOutputBuffer)
            TranscodeFail(run, "Subtitle encoding failed\n");
    }
    AVCodecContext* enc = ost->encoder;
    bool dvb = enc->codec_id == AV_CODEC_ID_DVB_SUBTITLE;
    int passes = dvb ? 2 : 1;
    for (int i = 0; i < passes; ++i)
    {
        int size = avcodec_encode_subtitle(enc, context->subtitleOutputBuffer, kMaxSubtitleSize, subtitle);
        if (size < 0)
            TranscodeFail(run, "Subtitle encoding failed\n");
        AVPacket* packet = ost->packet;
        if (av_new_packet(packet, size) < 0)
            TranscodeFail(run, "Subtitle encoding failed\n");
        memcpy(packet->data, context->subtitleOutputBuffer, size);
        int64_t start = av_rescale_q(pts - context->startTime, AV_TIME_BASE_Q, ost->stream->time_base);
        int64_t shift = dvb ? 90 * (i == 0 ? subtitle->start_display_time : subtitle->end_display_time) : 0;
        packet->pts = packet->dts = start + av_rescale_q(shift, AVRational{1, 90000}, ost->stream->time_base);
        packet->duration = av_rescale_q(subtitle->end_display_time - subtitle->start_display_time, AVRational{1, 1000},
                                        ost->stream->time_base);
        WritePacket(run, ost, packet);
        av_packet_unref(packet);
        if (dvb)
            subtitle->num_rects = 0; // the second packet clears the display
    }
    ost->frameNumber++;
}

// Stream copy: the packet, retimed for the output, from the first key frame on.
static void CopyPacket(TranscodeRun* run, OutputStreamRecord* ost, InputStreamRecord* ist, const AVPacket* packet)
{
    TranscodeContext* context = run->context;
    if (!ost->gotKeyFrame && !(packet->flags & AV_PKT_FLAG_KEY) && !context->copyInitialNonKeyFrames)
        return;
    ost->gotKeyFrame = 1;
    if (ost->frameNumber >= context->frameLimits[ist->stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO ? 0 : 1])
        return;
    AVPacket* copy = ost->packet;
    if (av_packet_ref(copy, packet) < 0)
        TranscodeFail(run, "Could not copy packet\n");
    AVRational outputBase = ost->stream->time_base;
    int64_t startOffset = StartTimeIn(run, outputBase);
    int64_t dts =
        packet->dts != AV_NOPTS_VALUE ? packet->dts : av_rescale_q(ist->pts, AV_TIME_BASE_Q, ist->stream->time_base);
    copy->dts = av_rescale_q(dts, ist->stream->time_base, outputBase) - startOffset;
    copy->pts = packet->pts != AV_NOPTS_VALUE
                    ? av_rescale_q(packet->pts, ist->stream->time_base, outputBase) - startOffset
                    : AV_NOPTS_VALUE;
    copy->duration = av_rescale_q(packet->duration, ist->stream->time_base, outputBase);
    copy->pos = -1;
    ost->copiedSeconds = copy->dts * av_q2d(outputBase);
    WritePacket(run, ost, copy);
    av_packet_unref(copy);
    ost->frameNumber++;
}

static void HandDecodedFrame(TranscodeRun* run, InputStreamRecord* ist, AVFrame* frame)
{
    TranscodeContext* context = run->context;
    bool video = ist->stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
    bool started = context->startTime == 0 || ist->pts >= context->startTime;
    bool inSegment = InSegment(run, ist->pts);
    VideoWork work;
    for (OutputStreamRecord* ost : run->outputStreams)
    {
        if (!inSegment || run->inputStreams[ost->sourceIndex] != ist || !ost->encodingNeeded)
            continue;
        if (!video)
            EncodeAudio(run, ost, ist, frame);
        else
        {
            VideoPlanEntry entry = PlanVideoFrames(run, ost, ist);
            if (entry.frameCount > 0)
                work.entries.push_back(entry);
        }
    }
    // Every picture is decorated, also one that no output stream takes: the decorations follow the
    // source's time.
    if (video && (!work.entries.empty() || run->job->m_overlaysNeeded || context->deinterlace))
    {
        work.picture.reset(av_frame_clone(frame));
        if (!work.picture)
            TranscodeFail(run, "Could not allocate picture\n");
        work.pts = ist->pts;
        DispatchVideoWork(run, ist, work);
    }
    if (started)
        ist->isStart = 0;
}

static int DecodeSubtitle(TranscodeRun* run, InputStreamRecord* ist, AVPacket* packet)
{
    if (!packet)
        return 0;
    AVSubtitle subtitle;
    int gotSubtitle = 0;
    if (avcodec_decode_subtitle2(ist->decoder, &subtitle, &gotSubtitle, packet) < 0)
        return -1;
    if (!gotSubtitle)
        return 0;
    int64_t pts = subtitle.pts;
    if (pts == AV_NOPTS_VALUE && packet->pts != AV_NOPTS_VALUE)
        pts = av_rescale_q(packet->pts, ist->stream->time_base, AV_TIME_BASE_Q);
    struct SubtitleOwner
    {
        AVSubtitle* subtitle;
        ~SubtitleOwner()
        {
            avsubtitle_free(subtitle);
        }
    } owner{&subtitle};
    if (InSegment(run, ist->pts))
        for (OutputStreamRecord* ost : run->outputStreams)
            if (run->inputStreams[ost->sourceIndex] == ist && ost->encodingNeeded)
                EncodeSubtitle(run, ost, ist, &subtitle, pts);
    return 0;
}

int ProcessInputPacket(TranscodeRun* run, InputStreamRecord* ist, AVPacket* packet)
{
    AVStream* st = ist->stream;
    if (ist->nextPts == AV_NOPTS_VALUE)
        ist->nextPts = ist->pts;
    if (packet && packet->dts != AV_NOPTS_VALUE)
        ist->nextPts = ist->pts = av_rescale_q(packet->dts, st->time_base, AV_TIME_BASE_Q);

    if (!ist->decodingNeeded)
    {
        if (!packet)
            return 0;
        if (InSegment(run, ist->pts))
            for (OutputStreamRecord* ost : run->outputStreams)
                if (run->inputStreams[ost->sourceIndex] == ist && !ost->encodingNeeded)
                    CopyPacket(run, ost, ist, packet);
        if (packet->duration > 0)
            ist->nextPts = ist->pts + av_rescale_q(packet->duration, st->time_base, AV_TIME_BASE_Q);
        return 0;
    }
    if (st->codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE)
        return DecodeSubtitle(run, ist, packet);

    int result = avcodec_send_packet(ist->decoder, packet);
    if (result < 0 && result != AVERROR_EOF)
        return result;
    for (;;)
    {
        result = avcodec_receive_frame(ist->decoder, ist->frame);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            break;
        if (result < 0)
            return result;
        AVFrame* frame = ist->frame;
        if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO)
        {
            if (frame->best_effort_timestamp != AV_NOPTS_VALUE)
                ist->pts = av_rescale_q(frame->best_effort_timestamp, st->time_base, AV_TIME_BASE_Q);
            else
                ist->pts = ist->nextPts;
            int64_t duration =
                frame->pkt_duration > 0
                    ? av_rescale_q(frame->pkt_duration, st->time_base, AV_TIME_BASE_Q)
                    : (ist->decoder->framerate.num ? av_rescale_q(1, av_inv_q(ist->decoder->framerate), AV_TIME_BASE_Q)
                                                   : 0);
            ist->nextPts = ist->pts + duration;
        }
        else
        {
            if (frame->pts != AV_NOPTS_VALUE)
                ist->pts = av_rescale_q(frame->pts, st->time_base, AV_TIME_BASE_Q);
            else
                ist->pts = ist->nextPts;
            if (frame->sample_rate > 0)
                ist->nextPts = ist->pts + static_cast<int64_t>(frame->nb_samples) * AV_TIME_BASE / frame->sample_rate;
        }
        HandDecodedFrame(run, ist, frame);
        av_frame_unref(frame);
    }
    return 0;
}

void FlushEncoders(TranscodeRun* run)
{
    for (OutputStreamRecord* ost : run->outputStreams)
    {
        if (!ost->encodingNeeded || !avcodec_is_open(ost->encoder))
            continue;
        AVMediaType type = ost->encoder->codec_type;
        if (type == AVMEDIA_TYPE_AUDIO)
        {
            if (ost->resampler)
                ResampleIntoFifo(run, ost, nullptr);
            EncodeAudioFrames(run, ost, true);
        }
        else if (type == AVMEDIA_TYPE_VIDEO)
        {
            // The end goes behind the pictures still on their way to the encoder.
            VideoWork end;
            VideoPlanEntry entry;
            entry.ost = ost;
            entry.firstPts = ost->syncOpts;
            entry.firstFrameNumber = ost->frameNumber;
            end.entries.push_back(entry);
            DispatchVideoWork(run, run->inputStreams[ost->sourceIndex], end);
        }
    }
}
