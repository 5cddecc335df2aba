// The transcode loop of one converter run: pairs output streams with input streams, opens the
// codecs, writes the headers, feeds the packet path and ends with the trailers.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include "engine/CodecLock.h"
#include "engine/converter/CommandLine.h"
#include "engine/Engine.h"
#include "engine/FaultGuard.h"
#include "engine/converter/FFMpegEncoder.h"
#include "engine/converter/PacketPath.h"
#include "engine/converter/TranscodeContext.h"
#include "engine/converter/RunningConversions.h"
#include "engine/converter/TranscodePipeline.h"

#include <windows.h>

#include <errno.h>
#include <math.h>
#include <stdarg.h>
#include <string.h>

#include <memory>
#include <mutex>
#include <string>

extern "C"
{
#include <libavutil/opt.h>
}

namespace
{
const int kSetupFailed = -22;
const int kOutOfMemory = -12;
const DWORD kPausedSleepMs = 100;
const DWORD kBackgroundSleepMs = 1;
const DWORD kTryAgainSleepMs = 1000;
const double kShortestSegmentSeconds = 0.5;
const int kSdpCapacity = 2048;

// A setup error of the codec-opening step: kept and written after the stream mapping.
struct SetupError
{
    std::string text;
    void Set(const char* format, ...) __attribute__((format(printf, 2, 3)))
    {
        char buffer[1024];
        va_list args;
        va_start(args, format);
        vsnprintf(buffer, sizeof(buffer), format, args);
        va_end(args);
        text = buffer;
    }
};

bool TagMapsToCodec(const AVOutputFormat* format, const AVCodecParameters* input)
{
    if (!format->codec_tag)
        return true;
    if (av_codec_get_id(format->codec_tag, input->codec_tag) == input->codec_id)
        return true;
    unsigned int tag = 0;
    return !av_codec_get_tag2(format->codec_tag, input->codec_id, &tag);
}

void SetupStreamCopy(TranscodeRun* run, OutputStreamRecord* ost, InputStreamRecord* ist)
{
    AVCodecParameters* out = ost->stream->codecpar;
    const AVCodecParameters* in = ist->stream->codecpar;
    AVFormatContext* file = run->context->outputFiles[ost->fileIndex];
    unsigned forcedTag = out->codec_tag;
    if (in->codec_type == AVMEDIA_TYPE_AUDIO && run->context->audioVolume != 256)
        TranscodeFail(run, "-acodec copy and -vol are incompatible (frames are not decoded)\n");
    if (avcodec_parameters_copy(out, in) < 0)
        TranscodeFail(run, "Could not copy stream parameters\n");
    out->codec_tag = forcedTag ? forcedTag : (TagMapsToCodec(file->oformat, in) ? in->codec_tag : 0);
    ost->stream->time_base = ist->stream->time_base;
    ost->stream->avg_frame_rate = ist->stream->avg_frame_rate;
    ost->stream->r_frame_rate = ist->stream->r_frame_rate;
    ost->stream->sample_aspect_ratio = ist->stream->sample_aspect_ratio;
    float aspect = ost->setup->displayAspectRatio;
    if (in->codec_type == AVMEDIA_TYPE_VIDEO && aspect > 0 && in->width > 0 && in->height > 0)
        out->sample_aspect_ratio = ost->stream->sample_aspect_ratio =
            av_d2q(static_cast<double>(aspect) * in->height / in->width, 255);
    if (in->codec_type == AVMEDIA_TYPE_AUDIO &&
        ((in->codec_id == AV_CODEC_ID_MP3 && in->block_align == 1) || in->codec_id == AV_CODEC_ID_AC3))
        out->block_align = 0;
}

// libx264 keeps its statistics itself, by default in one file of the working folder for every
// job: it is pointed at the job's own pass log instead. Pass 2 needs that file to exist. True when
// the encoder handles its statistics itself.
bool SetupEncoderOwnPassLog(TranscodeRun* run, OutputStreamRecord* ost, const std::string& name)
{
    const AVCodec* codec = ost->setup->encoder;
    if (!codec || strcmp(codec->name, "libx264") != 0)
        return false;
    if (ost->encoder->flags & AV_CODEC_FLAG_PASS2)
    {
        FILE* file = fopen(name.c_str(), "rb");
        if (!file)
            TranscodeFail(run, "Cannot read log file '%s' for pass-2 encoding: %s\n", name.c_str(), strerror(errno));
        fclose(file);
    }
    av_dict_set(&ost->setup->privateOptions, "stats", name.c_str(), 0);
    return true;
}

// Two-pass statistics: pass 1 writes "<prefix>-<stream>.log", pass 2 reads it whole.
void SetupPassLog(TranscodeRun* run, OutputStreamRecord* ost, int streamNumber)
{
    AVCodecContext* enc = ost->encoder;
    if (!(enc->flags & (AV_CODEC_FLAG_PASS1 | AV_CODEC_FLAG_PASS2)))
        return;
    std::string name = std::string(run->context->passLogPrefix ? run->context->passLogPrefix : "ffmpeg2pass") + "-" +
                       std::to_string(streamNumber) + ".log";
    if (SetupEncoderOwnPassLog(run, ost, name))
        return;
    if (enc->flags & AV_CODEC_FLAG_PASS1)
    {
        ost->passLogFile = fopen(name.c_str(), "wb");
        if (!ost->passLogFile)
            TranscodeFail(run, "Cannot write log file '%s' for pass-1 encoding: %s\n", name.c_str(), strerror(errno));
        return;
    }
    FILE* file = fopen(name.c_str(), "rb");
    if (!file)
        TranscodeFail(run, "Cannot read log file '%s' for pass-2 encoding: %s\n", name.c_str(), strerror(errno));
    fseek(file, 0, SEEK_END);
    long size = ftell(file);
    fseek(file, 0, SEEK_SET);
    char* text = size >= 0 ? static_cast<char*>(av_malloc(size + 1)) : nullptr;
    if (!text)
    {
        fclose(file);
        TranscodeFail(run, "Could not allocate log buffer\n");
    }
    size_t read = fread(text, 1, size, file);
    fclose(file);
    text[read] = 0;
    av_free(enc->stats_in);
    enc->stats_in = text;
}

void SetupVideoEncoding(TranscodeRun* run, OutputStreamRecord* ost, InputStreamRecord* ist)
{
    TranscodeContext* context = run->context;
    AVCodecContext* enc = ost->encoder;
    const AVCodecParameters* in = ist->stream->codecpar;
    if (in->format == AV_PIX_FMT_NONE)
        TranscodeFail(run, "Video pixel format is unknown, stream cannot be decoded\n");
    ost->cropTop = context->cropTop;
    ost->cropBottom = context->cropBottom;
    ost->cropLeft = context->cropLeft;
    ost->cropRight = context->cropRight;
    ost->padTop = context->padTop;
    ost->padBottom = context->padBottom;
    ost->padLeft = context->padLeft;
    ost->padRight = context->padRight;
    bool banded = ost->cropTop || ost->cropBottom || ost->cropLeft || ost->cropRight || ost->padTop || ost->padBottom ||
                  ost->padLeft || ost->padRight;
    ost->convertPicture = banded || in->width != enc->width || in->height != enc->height || in->format != enc->pix_fmt;
    if (!ost->convertPicture)
        return;
    AllocateTargetPicture(run, ost);
}

int OpenEncoders(TranscodeRun* run, SetupError* error)
{
    for (OutputStreamRecord* ost : run->outputStreams)
    {
        if (!ost->encodingNeeded)
            continue;
        const AVCodec* codec = ost->setup->encoder;
        if (!codec)
        {
            error->Set("Unsupported codec for output stream #%d.%d", ost->fileIndex, ost->index);
            return kSetupFailed;
        }
        if (!ost->encoder->thread_count)
            ost->encoder->thread_count = run->codecThreads;
        AVDictionary* options = nullptr;
        av_dict_copy(&options, ost->setup->privateOptions, 0);
        int result = EngineOpenCodec(ost->encoder, codec, &options);
        av_dict_free(&options);
        if (result < 0)
        {
            error->Set("Error while opening codec for output stream #%d.%d - maybe incorrect parameters such as "
                       "bit_rate, rate, width or height",
                       ost->fileIndex, ost->index);
            return kSetupFailed;
        }
        unsigned forcedTag = ost->encoder->codec_tag;
        if (avcodec_parameters_from_context(ost->stream->codecpar, ost->encoder) < 0)
            return kOutOfMemory;
        ost->stream->codecpar->codec_tag = forcedTag;
        ost->stream->time_base = ost->encoder->time_base;
        if (ost->encoder->codec_type == AVMEDIA_TYPE_VIDEO)
            ost->stream->avg_frame_rate = ost->encoder->framerate;
        if (ost->encoder->codec_type == AVMEDIA_TYPE_AUDIO)
        {
            ost->fifo = av_audio_fifo_alloc(ost->encoder->sample_fmt, ost->encoder->ch_layout.nb_channels, 1024);
            ost->convertedFrame = av_frame_alloc();
            if (!ost->fifo || !ost->convertedFrame)
                return kOutOfMemory;
        }
    }
    return 0;
}

int OpenDecoders(TranscodeRun* run, SetupError* error)
{
    TranscodeContext* context = run->context;
    for (size_t i = 0; i < run->inputStreams.size(); ++i)
    {
        InputStreamRecord* ist = run->inputStreams[i];
        if (!ist->decodingNeeded)
            continue;
        const AVCodecParameters* par = ist->stream->codecpar;
        const AVCodec* codec = i < static_cast<size_t>(context->inputDecoderCount) && context->inputDecoders[i]
                                   ? context->inputDecoders[i]
                                   : avcodec_find_decoder(par->codec_id);
        if (!codec)
        {
            error->Set("Unsupported codec (id=%d) for input stream #%d.%d", par->codec_id, ist->fileIndex,
                       ist->streamIndex);
            return kSetupFailed;
        }
        ist->decoder = avcodec_alloc_context3(codec);
        ist->frame = av_frame_alloc();
        if (!ist->decoder || !ist->frame || avcodec_parameters_to_context(ist->decoder, par) < 0)
            return kOutOfMemory;
        ist->decoder->pkt_timebase = ist->stream->time_base;
        ist->decoder->thread_count = run->codecThreads;
        AVDictionary* options = nullptr;
        if (i < static_cast<size_t>(context->inputDecoderCount))
            av_dict_copy(&options, context->inputDecoderOptions[i], 0);
        int result = EngineOpenCodec(ist->decoder, codec, &options);
        av_dict_free(&options);
        if (result < 0)
        {
            error->Set("Error while opening codec for input stream #%d.%d", ist->fileIndex, ist->streamIndex);
            return kSetupFailed;
        }
    }
    return 0;
}

int SetupBitstreamFilters(OutputStreamRecord* ost)
{
    if (!ost->setup->bitstreamFilters)
        return 0;
    std::string chain = ost->setup->bitstreamFilters;
    size_t start = 0;
    AVCodecParameters* par = ost->stream->codecpar;
    while (start <= chain.size())
    {
        size_t comma = chain.find(',', start);
        std::string name = chain.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        start = comma == std::string::npos ? chain.size() + 1 : comma + 1;
        const AVBitStreamFilter* filter = av_bsf_get_by_name(name.c_str());
        AVBSFContext* bsf = nullptr;
        if (!filter || av_bsf_alloc(filter, &bsf) < 0)
            return kOutOfMemory;
        ost->filters.push_back(bsf);
        if (avcodec_parameters_copy(bsf->par_in, par) < 0)
            return kOutOfMemory;
        bsf->time_base_in = ost->stream->time_base;
        if (av_bsf_init(bsf) < 0)
            return kSetupFailed;
        par = bsf->par_out;
    }
    return 0;
}

// Chooses the source input stream of every output stream.
void PairStreams(TranscodeRun* run)
{
    TranscodeContext* context = run->context;
    int outputCount = static_cast<int>(run->outputStreams.size());
    if (context->streamMapCount && context->streamMapCount != outputCount)
        TranscodeFail(run, "Number of stream maps must match number of output streams\n");
    for (int i = 0; i < context->streamMapCount; ++i)
    {
        const StreamMap& map = context->streamMaps[i];
        if (map.file < 0 || map.file >= context->inputFileCount || map.stream < 0 ||
            map.stream >= static_cast<int>(context->inputFiles[map.file]->nb_streams))
            TranscodeFail(run, "Could not find input stream #%d.%d\n", map.file, map.stream);
        if (map.syncFile < 0 || map.syncFile >= context->inputFileCount || map.syncStream < 0 ||
            map.syncStream >= static_cast<int>(context->inputFiles[map.syncFile]->nb_streams))
            TranscodeFail(run, "Could not find sync stream #%d.%d\n", map.syncFile, map.syncStream);
    }
    for (int i = 0; i < outputCount; ++i)
    {
        OutputStreamRecord* ost = run->outputStreams[i];
        AVMediaType type = ost->stream->codecpar->codec_type;
        int source = -1;
        if (context->streamMapCount)
        {
            const StreamMap& map = context->streamMaps[i];
            source = run->inputStreamBase[map.file] + map.stream;
            if (run->inputStreams[source]->stream->codecpar->codec_type != type)
                TranscodeFail(run, "Codec type mismatch for mapping #%d.%d -> #%d.%d\n", map.file, map.stream,
                              ost->fileIndex, ost->index);
            ost->syncStream = run->inputStreams[run->inputStreamBase[map.syncFile] + map.syncStream];
        }
        else
        {
            auto fits = [&](InputStreamRecord* ist) {
                if (ist->stream->codecpar->codec_type != type || ist->stream->discard == AVDISCARD_ALL)
                    return false;
                if (!context->programId)
                    return true;
                AVFormatContext* file = context->inputFiles[ist->fileIndex];
                for (unsigned p = 0; p < file->nb_programs; ++p)
                    if (file->programs[p]->id == context->programId)
                        for (unsigned k = 0; k < file->programs[p]->nb_stream_indexes; ++k)
                            if (static_cast<int>(file->programs[p]->stream_index[k]) == ist->streamIndex)
                                return true;
                return false;
            };
            for (size_t j = 0; j < run->inputStreams.size() && source < 0; ++j)
                if (run->inputStreams[j]->discard && fits(run->inputStreams[j]))
                    source = static_cast<int>(j);
            for (size_t j = run->inputStreams.size(); j-- > 0 && source < 0;)
                if (fits(run->inputStreams[j]))
                    source = static_cast<int>(j);
            if (source < 0)
                TranscodeFail(run, "Could not find input stream matching output stream #%d.%d\n", ost->fileIndex,
                              ost->index);
            ost->syncStream = run->inputStreams[source];
        }
        ost->sourceIndex = source;
        run->inputStreams[source]->discard = 0;
    }
}

void BuildTables(TranscodeRun* run)
{
    TranscodeContext* context = run->context;
    run->files.resize(context->inputFileCount);
    for (int f = 0; f < context->inputFileCount; ++f)
    {
        run->inputStreamBase.push_back(static_cast<int>(run->inputStreams.size()));
        AVFormatContext* file = context->inputFiles[f];
        for (unsigned s = 0; s < file->nb_streams; ++s)
        {
            InputStreamRecord* ist = new InputStreamRecord;
            run->inputStreams.push_back(ist);
            ist->fileIndex = f;
            ist->streamIndex = static_cast<int>(s);
            ist->stream = file->streams[s];
        }
        run->files[f].streamCount = static_cast<int>(file->nb_streams);
    }
    for (int f = 0; f < context->outputFileCount; ++f)
    {
        AVFormatContext* file = context->outputFiles[f];
        if (!file->nb_streams)
            TranscodeFail(run, "Output file #%d does not contain any stream\n", f);
        for (unsigned s = 0; s < file->nb_streams; ++s)
        {
            OutputStreamRecord* ost = new OutputStreamRecord;
            run->outputStreams.push_back(ost);
            ost->fileIndex = f;
            ost->index = static_cast<int>(s);
            ost->stream = file->streams[s];
            ost->setup = &context->outputStreams[f][s];
            ost->encoder = ost->setup->codecContext;
            ost->encodingNeeded = !ost->setup->streamCopy;
            ost->packet = av_packet_alloc();
            if (!ost->packet)
                throw std::bad_alloc();
        }
    }
}

// The setup of one run; 0, or the result TranscodeMain gives for a failed setup.
int SetupRun(TranscodeRun* run)
{
    TranscodeContext* context = run->context;
    // Decided once per run, from the conversions running when it opens its codecs.
    run->codecThreads = RunningConversions::ThreadsFor(context->threadCount);
    BuildTables(run);
    PairStreams(run);
    for (size_t i = 0; i < run->outputStreams.size(); ++i)
    {
        OutputStreamRecord* ost = run->outputStreams[i];
        InputStreamRecord* ist = run->inputStreams[ost->sourceIndex];
        if (!av_dict_get(ost->stream->metadata, "language", nullptr, 0))
        {
            AVDictionaryEntry* language = av_dict_get(ist->stream->metadata, "language", nullptr, 0);
            if (language)
                av_dict_set(&ost->stream->metadata, "language", language->value, 0);
        }
        if (!ost->encodingNeeded)
        {
            SetupStreamCopy(run, ost, ist);
            continue;
        }
        ist->decodingNeeded = 1;
        if (ost->encoder->codec_type == AVMEDIA_TYPE_VIDEO)
            SetupVideoEncoding(run, ost, ist);
        SetupPassLog(run, ost, static_cast<int>(i));
    }

    SetupError error;
    int result = OpenEncoders(run, &error);
    if (!result)
        result = OpenDecoders(run, &error);
    for (int i = 0; !result && i < context->metaDataMapCount; ++i)
    {
        const MetaDataMap& map = context->metaDataMaps[i];
        if (map.outputFile < 0 || map.outputFile >= context->outputFileCount)
        {
            error.Set("Invalid output file index %d map_meta_data(%d,%d)", map.outputFile, map.outputFile,
                      map.inputFile);
            result = kSetupFailed;
        }
        else if (map.inputFile < 0 || map.inputFile >= context->inputFileCount)
        {
            error.Set("Invalid input file index %d map_meta_data(%d,%d)", map.inputFile, map.outputFile, map.inputFile);
            result = kSetupFailed;
        }
        else
            av_dict_copy(&context->outputFiles[map.outputFile]->metadata, context->inputFiles[map.inputFile]->metadata,
                         0);
    }
    for (OutputStreamRecord* ost : run->outputStreams)
        if (!result)
            result = SetupBitstreamFilters(ost);
    for (int f = 0; !result && f < context->outputFileCount; ++f)
        if (avformat_write_header(context->outputFiles[f], nullptr) < 0)
        {
            error.Set("Could not write header for output file #%d (incorrect codec parameters ?)", f);
            result = kSetupFailed;
        }

    ConverterInfo("Stream mapping:\n");
    for (OutputStreamRecord* ost : run->outputStreams)
    {
        InputStreamRecord* ist = run->inputStreams[ost->sourceIndex];
        char sync[64] = "";
        if (ost->syncStream != ist)
            snprintf(sync, sizeof(sync), " [sync #%d.%d]", ost->syncStream->fileIndex, ost->syncStream->streamIndex);
        ConverterInfo("  Stream #%d.%d -> #%d.%d%s\n", ist->fileIndex, ist->streamIndex, ost->fileIndex, ost->index,
                      sync);
    }
    if (result == kSetupFailed && !error.text.empty())
        ConverterMessage("%s\n", error.text.c_str());
    bool allRtp = context->outputFileCount > 0;
    for (int f = 0; f < context->outputFileCount; ++f)
        allRtp = allRtp && !strcmp(context->outputFiles[f]->oformat->name, "rtp");
    if (!result && allRtp)
    {
        char sdp[kSdpCapacity] = "";
        av_sdp_create(context->outputFiles, context->outputFileCount, sdp, sizeof(sdp));
        printf("SDP:\n%s\n", sdp);
        fflush(stdout);
    }
    return result;
}

// Adds the file's offset and scale to a packet's times and follows timestamp jumps of formats
// with discontinuous timestamps.
void RetimePacket(TranscodeRun* run, InputStreamRecord* ist, AVPacket* packet)
{
    TranscodeContext* context = run->context;
    AVStream* st = ist->stream;
    int64_t offset = av_rescale_q(context->inputTimestampOffsets[ist->fileIndex], AV_TIME_BASE_Q, st->time_base);
    if (packet->dts != AV_NOPTS_VALUE)
        packet->dts += offset;
    if (packet->pts != AV_NOPTS_VALUE)
        packet->pts += offset;
    double scale =
        ist->streamIndex < kMaxStreamsPerFile ? context->inputTimestampScales[ist->fileIndex][ist->streamIndex] : 0.0;
    if (scale != 0.0)
    {
        if (packet->dts != AV_NOPTS_VALUE)
            packet->dts = static_cast<int64_t>(packet->dts * scale);
        if (packet->pts != AV_NOPTS_VALUE)
            packet->pts = static_cast<int64_t>(packet->pts * scale);
    }
    AVFormatContext* file = context->inputFiles[ist->fileIndex];
    if (packet->dts != AV_NOPTS_VALUE && ist->nextPts != AV_NOPTS_VALUE && !context->copyTimestamps &&
        (file->iformat->flags & AVFMT_TS_DISCONT))
    {
        int64_t packetDts = av_rescale_q(packet->dts, st->time_base, AV_TIME_BASE_Q);
        int64_t delta = packetDts - ist->nextPts;
        if (llabs(delta) > static_cast<int64_t>(context->dtsDeltaThreshold * AV_TIME_BASE) &&
            st->codecpar->codec_type != AVMEDIA_TYPE_SUBTITLE)
        {
            context->inputTimestampOffsets[ist->fileIndex] -= delta;
            int64_t shift = av_rescale_q(delta, AV_TIME_BASE_Q, st->time_base);
            packet->dts -= shift;
            if (packet->pts != AV_NOPTS_VALUE)
                packet->pts -= shift;
        }
    }
}

int64_t InputDuration(const TranscodeContext* context, int fileIndex)
{
    if (fileIndex < 0 || fileIndex >= context->inputFileCount)
        return 0;
    int64_t duration = context->inputFiles[fileIndex]->duration;
    return duration == AV_NOPTS_VALUE ? 0 : duration;
}

enum LoopEnd
{
    kEndOfInput,
    kLimitReached,
    kStopped
};

// A copied stream can only be cut before one of its key frames. A segment that reaches its limit
// with copied streams goes on to the next key frame of the cut stream (a copied video stream, else
// the first copied stream): that frame's time ends the segment for every stream, and the next
// segment starts there, so each source packet lands in exactly one segment.
class SegmentCut
{
  public:
    explicit SegmentCut(TranscodeRun* run) : m_run(run)
    {
        for (OutputStreamRecord* ost : run->outputStreams)
        {
            if (ost->encodingNeeded)
                continue;
            InputStreamRecord* ist = run->inputStreams[ost->sourceIndex];
            if (!m_stream || (ist->stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
                              m_stream->stream->codecpar->codec_type != AVMEDIA_TYPE_VIDEO))
                m_stream = ist;
        }
    }

    // False when the run can end at once (nothing is copied).
    bool Begin()
    {
        m_pending = m_stream != nullptr;
        return m_pending;
    }
    bool Pending() const
    {
        return m_pending;
    }

    // Before a packet is processed: a key frame of the cut stream after the segment's start ends
    // the segment once its limit was reached, or when the frame lies at or past the time limit
    // (timeLimitApplies: the rest of the input is long enough for a segment of its own).
    void SeePacket(InputStreamRecord* ist, const AVPacket* packet, bool timeLimitApplies)
    {
        if (!m_stream || m_run->endTime != INT64_MAX || ist != m_stream || !(packet->flags & AV_PKT_FLAG_KEY) ||
            packet->dts == AV_NOPTS_VALUE)
            return;
        const TranscodeContext* context = m_run->context;
        int64_t time = av_rescale_q(packet->dts, ist->stream->time_base, AV_TIME_BASE_Q);
        if (time <= context->startTime)
            return;
        // The time limit counts in presentation time, which runs ahead of the decoding time of a
        // stream with reordered frames.
        int64_t shown =
            packet->pts != AV_NOPTS_VALUE ? av_rescale_q(packet->pts, ist->stream->time_base, AV_TIME_BASE_Q) : time;
        if (m_pending || (timeLimitApplies && shown - context->startTime >= context->recordingTime))
        {
            m_pending = true;
            m_run->endTime = time;
        }
    }

    // After a packet: true once every output stream's source has read past the end.
    bool Reached() const
    {
        if (!m_pending || m_run->endTime == INT64_MAX)
            return false;
        for (OutputStreamRecord* ost : m_run->outputStreams)
        {
            const InputStreamRecord* ist = m_run->inputStreams[ost->sourceIndex];
            if (ist->pts < m_run->endTime && !m_run->files[ist->fileIndex].atEnd)
                return false;
        }
        return true;
    }

    // Seconds from the segment's start to its end.
    double Seconds() const
    {
        return (m_run->endTime - m_run->context->startTime) / 1000000.0;
    }

  private:
    TranscodeRun* m_run;
    InputStreamRecord* m_stream = nullptr;
    bool m_pending = false;
};

LoopEnd RunMainLoop(TranscodeRun* run, AVPacket* packet)
{
    CFFMpegEncoder* job = run->job;
    TranscodeContext* context = run->context;
    int lastReadFile = 0;
    SegmentCut cut(run);
    while (!job->m_stopFlag)
    {
        // A stage that failed ends the run.
        if (run->pipeline && run->pipeline->Ended())
            throw StageFailure();
        if (job->m_state == kEncoderPaused)
        {
            // What was decoded before the pause is encoded during it.
            if (run->pipeline)
            {
                run->pipeline->SubmitHeldWork();
                run->pipeline->WakeOwed();
            }
            ::Sleep(kPausedSleepMs);
            continue;
        }
        if (g_backgroundConversion)
            ::Sleep(kBackgroundSleepMs);

        int chosenFile = -1;
        double minInput = 1e300, minOutput = 1e300;
        bool limitReached = false;
        for (OutputStreamRecord* ost : run->outputStreams)
        {
            InputStreamRecord* ist = run->inputStreams[ost->sourceIndex];
            const InputFileRecord& file = run->files[ist->fileIndex];
            if (file.atEnd || file.tryAgain)
                continue;
            double outputSeconds = OutputStreamSeconds(ost);
            double inputTime = static_cast<double>(ist->pts);
            int kind = ost->stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO   ? 0
                       : ost->stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO ? 1
                       : ost->stream->codecpar->codec_type == AVMEDIA_TYPE_DATA  ? 2
                                                                                 : 3;
            if (ost->frameNumber >= context->frameLimits[kind])
            {
                limitReached = true;
                break;
            }
            if (context->inputSync ? inputTime < minInput : outputSeconds < minOutput)
                chosenFile = ist->fileIndex;
            if (inputTime < minInput)
                minInput = inputTime;
            if (outputSeconds < minOutput)
                minOutput = outputSeconds;
        }
        if (limitReached)
            chosenFile = -1;
        if (chosenFile < 0)
        {
            bool waiting = false;
            for (InputFileRecord& file : run->files)
            {
                waiting = waiting || file.tryAgain;
                file.tryAgain = 0;
            }
            if (waiting && !limitReached)
            {
                if (run->pipeline)
                    run->pipeline->WakeOwed();
                ::Sleep(kTryAgainSleepMs);
                continue;
            }
            job->m_inputFinished = 1;
            return kEndOfInput;
        }

        int64_t duration = InputDuration(context, lastReadFile);
        job->UpdateProgress(minOutput, duration);

        // A limit reached just before the end of the input leaves the rest in this segment
        // rather than in a segment of a few frames.
        double remaining = duration > 0 ? duration / 1000000.0 - (job->m_segmentStartOffset + minOutput) : 1e300;
        bool limitsApply = remaining >= kShortestSegmentSeconds;
        AVFormatContext* firstOutput = context->outputFiles[0];
        auto outputSize = [&] {
            return run->pipeline ? run->pipeline->OutputSizeNear(context->fileSizeLimit) : avio_tell(firstOutput->pb);
        };
        if (!cut.Pending() && limitsApply &&
            (minOutput >= context->recordingTime / 1000000.0 ||
             (context->fileSizeLimit && firstOutput->pb && outputSize() > context->fileSizeLimit)) &&
            !cut.Begin())
        {
            job->m_segmentStartOffset += minOutput;
            return kLimitReached;
        }

        AVFormatContext* input = context->inputFiles[chosenFile];
        int result = av_read_frame(input, packet);
        lastReadFile = chosenFile;
        if (result == AVERROR(EAGAIN))
        {
            run->files[chosenFile].tryAgain = 1;
            continue;
        }
        if (result < 0)
        {
            run->files[chosenFile].atEnd = 1;
            if (context->shortest)
            {
                job->m_inputFinished = 1;
                return kEndOfInput;
            }
            continue;
        }
        for (InputFileRecord& file : run->files)
            file.tryAgain = 0;
        struct PacketOwner
        {
            AVPacket* packet;
            ~PacketOwner()
            {
                av_packet_unref(packet);
            }
        } owner{packet};
        if (packet->stream_index < 0 || packet->stream_index >= run->files[chosenFile].streamCount)
            continue;
        InputStreamRecord* ist = run->inputStreams[run->inputStreamBase[chosenFile] + packet->stream_index];
        if (ist->discard)
            continue;
        FaultIfAsked(kFaultJobThread);
        FaultIfAsked(kFaultJobThreadExit);
        RetimePacket(run, ist, packet);
        cut.SeePacket(ist, packet, limitsApply);
        if (ProcessInputPacket(run, ist, packet) < 0)
            ConverterMessage("Error while decoding stream #%d.%d\n", ist->fileIndex, ist->streamIndex);
        if (run->pipeline)
            run->pipeline->HandOverInline();
        if (cut.Reached())
        {
            job->m_segmentStartOffset += cut.Seconds();
            return kLimitReached;
        }
    }
    return kStopped;
}

// Output streams that received nothing in a run that was not stopped: each one is named in the
// job's log, and the job fails rather than end "done" with a stream that is not there.
int CountEmptyStreams(TranscodeRun* run)
{
    int empty = 0;
    for (OutputStreamRecord* ost : run->outputStreams)
    {
        if (ost->frameNumber > 0)
            continue;
        ConverterMessage("Output stream #%d.%d received no data\n", ost->fileIndex, ost->index);
        ++empty;
    }
    return empty;
}

// The frame rate and sample rate the run's first video and audio stream were written with.
void NoteStreamRates(TranscodeRun* run)
{
    run->job->m_videoFrameRate = 0.0;
    run->job->m_audioSampleRate = 0;
    for (auto it = run->outputStreams.rbegin(); it != run->outputStreams.rend(); ++it)
    {
        const AVCodecContext* enc = (*it)->encodingNeeded ? (*it)->encoder : nullptr;
        const AVStream* st = (*it)->stream;
        AVRational rate = enc ? enc->framerate : st->avg_frame_rate;
        if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO)
            run->job->m_videoFrameRate = rate.num > 0 && rate.den > 0 ? av_q2d(rate) : 0.0;
        else if (st->codecpar->codec_type == AVMEDIA_TYPE_AUDIO)
            run->job->m_audioSampleRate = enc ? enc->sample_rate : st->codecpar->sample_rate;
    }
}

void CloseCodecs(TranscodeRun* run)
{
    for (OutputStreamRecord* ost : run->outputStreams)
        if (ost->encodingNeeded && ost->encoder)
        {
            EngineCloseCodec(ost->encoder);
            av_freep(&ost->encoder->stats_in);
        }
    for (InputStreamRecord* ist : run->inputStreams)
        if (ist->decoder)
        {
            EngineCloseCodec(ist->decoder);
            avcodec_free_context(&ist->decoder);
        }
}
} // namespace

int TranscodeMain(CFFMpegEncoder* job, TranscodeContext* context)
{
    TranscodeRun run;
    run.job = job;
    run.context = context;
    int result;
    try
    {
        result = SetupRun(&run);
    }
    catch (const std::bad_alloc&)
    {
        result = kOutOfMemory;
    }
    if (result < 0)
    {
        CloseCodecs(&run);
        return result;
    }

    std::unique_ptr<AVPacket, void (*)(AVPacket*)> packet(av_packet_alloc(), [](AVPacket* p) { av_packet_free(&p); });
    if (!packet)
        TranscodeFail(&run, "Could not allocate packet\n");
    std::unique_ptr<TranscodePipeline> pipeline;
    if (context->pipelined)
    {
        pipeline.reset(new TranscodePipeline(&run));
        if (pipeline->Start())
            run.pipeline = pipeline.get();
        else
            pipeline.reset(); // the one-thread run still works
    }
    LoopEnd end = kStopped;
    DWORD fault = 0;
    bool faulted = false;
    try
    {
        auto loop = [&] {
            end = RunMainLoop(&run, packet.get());
            if (end == kEndOfInput)
                for (InputStreamRecord* ist : run.inputStreams)
                    if (ist->decodingNeeded && ist->decoder)
                        ProcessInputPacket(&run, ist, nullptr);
            // A run that ends at a limit still gives out what its encoders hold: the segment keeps
            // every frame up to the limit. A stopped run keeps what it has decoded so far, as a
            // one-thread run would have written it: the work already queued in the stages is
            // encoded and written (a few frames per stage), only the encoders are not drained.
            if (end != kStopped)
                FlushEncoders(&run);
            if (run.pipeline)
                run.pipeline->Finish();
        };
        faulted = !FaultGuarded(loop, &fault);
    }
    catch (const StageFailure&)
    {
        run.pipeline->Fail();
    }
    if (faulted)
    {
        // The stages are ended with the run; nothing more is written into files the fault may
        // have left half-made.
        job->NoteFault(fault, "transcode loop");
        if (run.pipeline)
            run.pipeline->Fail();
    }
    if (run.pipeline)
    {
        // Every stage has ended before the files are closed or the context is released.
        bool failed = run.pipeline->Failed();
        run.pipeline->Shutdown();
        run.pipeline = nullptr;
        if (failed)
            ReleaseTranscodeContext(job, 1);
    }
    if (faulted)
        ReleaseTranscodeContext(job, 1);
    for (int f = 0; f < context->outputFileCount; ++f)
    {
        AVFormatContext* file = context->outputFiles[f];
        int written = av_write_trailer(file);
        if (written >= 0 && file->pb)
        {
            avio_flush(file->pb);
            written = file->pb->error;
        }
        // Output that did not reach the disk is no success.
        if (written < 0)
        {
            PrintOpenError(LegacyErrorCode(written), "av_write_trailer()");
            TranscodeFail(&run, "%s", "");
        }
    }
    if (!run.outputStreams.empty())
        job->m_framesWritten = run.outputStreams[0]->frameNumber;
    if (end != kStopped)
        job->m_emptyStreams = CountEmptyStreams(&run);
    NoteStreamRates(&run);
    CloseCodecs(&run);
    return 0;
}

int ReleaseTranscodeContext(CFFMpegEncoder* job, int throwAfter)
{
    {
        std::lock_guard<std::recursive_mutex> lock(job->m_jobLock);
        job->m_state = kEncoderIdle;
        // Encoders still open (a run that failed) join their threads before the lock is taken.
        for (auto& file : job->m_context.outputStreams)
            for (OutputStreamSetup& setup : file)
                if (setup.codecContext)
                    EngineCloseCodec(setup.codecContext);
        std::lock_guard<std::mutex> codecGuard(g_codecLock);
        FreeTranscodeContextContents(&job->m_context);
    }
    if (throwAfter)
        throw -1;
    return 0;
}
