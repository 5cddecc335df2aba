#include "engine/media/FFMpegReader.h"

#include "engine/CodecLock.h"

extern "C" {
#include <libavutil/imgutils.h>
}

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace
{
// Bytes behind a scaled picture that the scaler may write (it works in blocks of pixels).
const size_t kScalerSlack = 256;
const int kTryAgain = -11;
const int kMaxTryAgain = 1000;
const int kKindVideo = 0;
const int kKindAudio = 1;
const int kDeliveredBytesPerSample = 2; // packed signed 16-bit
const AVRational kMicroseconds = {1, 1000000};
// Sound whose own time strays further than this from the samples counted so far follows its time.
const int64_t kAudioClockTolerance = 100000;

AVPixelFormat ToFFmpegPixelFormat(int readerFormat)
{
    return readerFormat == kReaderPixelFormatBGRA ? AV_PIX_FMT_BGRA : static_cast<AVPixelFormat>(readerFormat);
}
}

FFMpegReader::FFMpegReader()
    : m_streamCount(0), m_outputWidth(-1), m_outputHeight(-1), m_insetLeft(0), m_insetTop(0), m_insetRight(0),
      m_insetBottom(0), m_outputPixelFormat(kReaderPixelFormatBGRA), m_outputFrameRate(0.0), m_outputChannels(-1),
      m_outputBitsPerSample(-1), m_outputSampleRate(-1), m_videoStream(-1), m_audioStream(-1), m_inputEnded(false),
      m_timeOrigin(0)
{
    m_path[0] = 0;
}

FFMpegReader::~FFMpegReader()
{
    CloseFile();
}

void FFMpegReader::SetPath(const char* path)
{
    std::snprintf(m_path, sizeof(m_path), "%s", path ? path : "");
}

int FFMpegReader::Open()
{
    return OpenFile();
}

int FFMpegReader::Close()
{
    return CloseFile();
}

int FFMpegReader::OpenFile()
{
    CloseFile();
    media::FormatPtr file = media::OpenMediaFile(m_path);
    if (!file)
        return -1;
    // Streams past the table are left out: not described, not decoded, their packets dropped.
    int count = static_cast<int>(std::min<unsigned>(file->nb_streams, kMaxStreams));
    int video = -1;
    int audio = -1;
    for (int i = 0; i < count; ++i)
    {
        ReaderStream& entry = m_streams[i];
        entry.decoder = media::OpenStreamDecoder(file->streams[i]);
        if (!entry.decoder)
        {
            for (int j = 0; j <= i; ++j)
                m_streams[j] = ReaderStream();
            return -1;
        }
        entry.stream = file->streams[i];
        if (entry.decoder->codec_type == AVMEDIA_TYPE_VIDEO)
            video = i;
        else if (entry.decoder->codec_type == AVMEDIA_TYPE_AUDIO)
            audio = i;
    }
    m_frame.reset(av_frame_alloc());
    if (!m_frame)
    {
        for (int i = 0; i < count; ++i)
            m_streams[i] = ReaderStream();
        return -1;
    }
    m_file = std::move(file);
    m_streamCount = count;
    m_videoStream = video;
    m_audioStream = audio;
    m_inputEnded = false;
    m_timeOrigin = m_file->start_time == AV_NOPTS_VALUE ? 0 : m_file->start_time;
    m_audioBuffer.assign(kAudioBufferSize, 0);
    FillOutputValues();
    return 0;
}

void FFMpegReader::FillOutputValues()
{
    const AVCodecContext* video = m_videoStream >= 0 ? m_streams[m_videoStream].decoder.get() : nullptr;
    const AVCodecContext* audio = m_audioStream >= 0 ? m_streams[m_audioStream].decoder.get() : nullptr;
    if (m_outputWidth <= 0)
        m_outputWidth = video ? video->width : -1;
    if (m_outputHeight <= 0)
        m_outputHeight = video ? video->height : -1;
    if (m_outputFrameRate <= 1.0)
    {
        m_outputFrameRate = -1.0;
        if (video)
        {
            const AVStream* stream = m_streams[m_videoStream].stream;
            if (stream->r_frame_rate.num && stream->r_frame_rate.den)
                m_outputFrameRate = av_q2d(stream->r_frame_rate);
            else if (stream->time_base.num && stream->time_base.den)
                m_outputFrameRate = 1.0 / av_q2d(stream->time_base);
        }
    }
    if (m_outputChannels <= 0)
        m_outputChannels = audio ? audio->ch_layout.nb_channels : -1;
    if (m_outputBitsPerSample <= 0)
        m_outputBitsPerSample = audio ? kDeliveredBytesPerSample * 8 : -1;
    if (m_outputSampleRate <= 0)
        m_outputSampleRate = audio ? audio->sample_rate : -1;
}

int FFMpegReader::CloseFile()
{
    for (ReaderStream& entry : m_streams)
        entry = ReaderStream();
    m_streamCount = 0;
    m_scaler.reset();
    m_frame.reset();
    m_file.reset();
    m_audioBuffer.clear();
    m_audioBuffer.shrink_to_fit();
    m_inputEnded = false;
    return 0;
}

int FFMpegReader::CheckOpen()
{
    return m_file ? 0 : -1;
}

int64_t FFMpegReader::GetDuration()
{
    return m_file ? m_file->duration : 0;
}

int FFMpegReader::GetStreamCount()
{
    return m_file ? m_streamCount : 0;
}

int FFMpegReader::GetStreamType(int stream)
{
    if (!m_file || stream < 0 || stream >= m_streamCount)
        return -1;
    return m_streams[stream].stream->codecpar->codec_type;
}

int FFMpegReader::GetPixelFormat(int)
{
    return m_outputPixelFormat;
}

int FFMpegReader::GetWidth(int)
{
    return m_outputWidth;
}

int FFMpegReader::GetHeight(int)
{
    return m_outputHeight;
}

double FFMpegReader::GetFrameRate(int)
{
    return m_outputFrameRate;
}

int FFMpegReader::GetChannels(int stream)
{
    // Each audio stream is delivered with its own channels and rate.
    if (IsReadable(stream, kKindAudio))
        return m_streams[stream].decoder->ch_layout.nb_channels;
    return m_outputChannels;
}

int FFMpegReader::GetBitsPerSample(int)
{
    return m_outputBitsPerSample;
}

int FFMpegReader::GetSampleRate(int stream)
{
    if (IsReadable(stream, kKindAudio))
        return m_streams[stream].decoder->sample_rate;
    return m_outputSampleRate;
}

int FFMpegReader::ReadAudio(int stream, unsigned char* buffer, int size, int64_t* start, int64_t* end)
{
    return ReadAudioChunk(stream, buffer, size, start, end);
}

int FFMpegReader::ReadVideo(int stream, unsigned char* buffer, int size, int64_t* start, int64_t* end)
{
    return ReadVideoFrame(stream, buffer, size, start, end);
}

bool FFMpegReader::IsReadable(int stream, int kind) const
{
    if (!m_file || stream < 0 || stream >= m_streamCount)
        return false;
    AVMediaType type = m_streams[stream].stream->codecpar->codec_type;
    return kind == kKindVideo ? type == AVMEDIA_TYPE_VIDEO : type == AVMEDIA_TYPE_AUDIO;
}

int FFMpegReader::FillStream(int stream)
{
    int tries = 0;
    while (m_streams[stream].queue.empty())
    {
        if (m_inputEnded)
            return 1;
        media::PacketPtr packet(av_packet_alloc());
        if (!packet)
            return 1;
        int result = av_read_frame(m_file.get(), packet.get());
        if (result == kTryAgain && ++tries < kMaxTryAgain)
            continue;
        if (result < 0)
        {
            // End of input: drain what the decoders still hold so that no picture or sample is lost.
            m_inputEnded = true;
            DecodePacket(nullptr);
            continue;
        }
        DecodePacket(packet.get());
    }
    return 0;
}

void FFMpegReader::DecodePacket(const AVPacket* packet)
{
    for (int i = 0; i < m_streamCount; ++i)
    {
        if (packet && packet->stream_index != i)
            continue;
        ReaderStream& entry = m_streams[i];
        if (entry.decoder->codec_type == AVMEDIA_TYPE_AUDIO)
            DecodeAudio(entry, packet);
        else if (entry.decoder->codec_type == AVMEDIA_TYPE_VIDEO)
            DecodeVideo(entry, packet);
    }
}

bool FFMpegReader::AppendSamples(ReaderStream& stream, const AVFrame* frame, int& filled)
{
    const int channels = frame->ch_layout.nb_channels;
    if (channels <= 0 || frame->sample_rate <= 0)
        return false;
    if (!stream.resampler)
    {
        SwrContext* raw = nullptr;
        AVChannelLayout layout = frame->ch_layout;
        if (swr_alloc_set_opts2(&raw, &layout, AV_SAMPLE_FMT_S16, frame->sample_rate, &layout,
                                static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr) < 0)
            return false;
        stream.resampler.reset(raw);
        if (swr_init(raw) < 0)
        {
            stream.resampler.reset();
            return false;
        }
    }
    const int frameBytes = channels * kDeliveredBytesPerSample;
    const int room = (static_cast<int>(m_audioBuffer.size()) - filled) / frameBytes;
    if (room <= 0)
        return false;
    uint8_t* out = m_audioBuffer.data() + filled;
    int samples = swr_convert(stream.resampler.get(), &out, room, const_cast<const uint8_t**>(frame->extended_data),
                              frame->nb_samples);
    if (samples < 0)
        return false;
    filled += samples * frameBytes;
    return true;
}

int64_t FFMpegReader::FrameTime(const ReaderStream& stream, const AVFrame* frame) const
{
    int64_t stamp = frame->best_effort_timestamp;
    if (stamp == AV_NOPTS_VALUE)
        stamp = frame->pkt_dts;
    if (stamp == AV_NOPTS_VALUE)
        return AV_NOPTS_VALUE;
    return av_rescale_q(stamp, stream.stream->time_base, kMicroseconds) - m_timeOrigin;
}

void FFMpegReader::DecodeAudio(ReaderStream& stream, const AVPacket* packet)
{
    AVCodecContext* decoder = stream.decoder.get();
    if (avcodec_send_packet(decoder, packet) < 0)
        return; // a packet the decoder rejects is dropped whole
    int filled = 0;
    bool room = true;
    int64_t firstTime = AV_NOPTS_VALUE;
    while (avcodec_receive_frame(decoder, m_frame.get()) >= 0)
    {
        if (room && filled == 0)
            firstTime = FrameTime(stream, m_frame.get());
        if (room)
            room = AppendSamples(stream, m_frame.get(), filled);
        av_frame_unref(m_frame.get());
    }
    if (filled <= 0)
        return;
    DecodedChunk chunk;
    chunk.kind = kKindAudio;
    // The samples run on from the last chunk, unless their own time says they start elsewhere:
    // sound that starts after the picture, or after a gap, keeps its place.
    chunk.start = stream.clockEnd;
    if (firstTime != AV_NOPTS_VALUE &&
        (firstTime - stream.clockEnd > kAudioClockTolerance || stream.clockEnd - firstTime > kAudioClockTolerance))
        chunk.start = std::max<int64_t>(firstTime, 0);
    const int64_t bytesPerSecond =
        static_cast<int64_t>(decoder->sample_rate) * decoder->ch_layout.nb_channels * kDeliveredBytesPerSample;
    chunk.end = bytesPerSecond > 0 ? chunk.start + filled * static_cast<int64_t>(1000000) / bytesPerSecond
                                   : chunk.start;
    chunk.bytes.assign(m_audioBuffer.begin(), m_audioBuffer.begin() + filled);
    stream.clockStart = chunk.start;
    stream.clockEnd = chunk.end;
    stream.queue.push_back(std::move(chunk));
}

void FFMpegReader::DecodeVideo(ReaderStream& stream, const AVPacket* packet)
{
    AVCodecContext* decoder = stream.decoder.get();
    if (avcodec_send_packet(decoder, packet) < 0)
        return;
    while (avcodec_receive_frame(decoder, m_frame.get()) >= 0)
    {
        QueuePicture(stream, m_frame.get());
        av_frame_unref(m_frame.get());
    }
}

void FFMpegReader::QueuePicture(ReaderStream& stream, const AVFrame* frame)
{
    const AVPixelFormat format = ToFFmpegPixelFormat(m_outputPixelFormat);
    if (m_outputWidth <= 0 || m_outputHeight <= 0 || frame->width <= 0 || frame->height <= 0)
        return;
    int size = av_image_get_buffer_size(format, m_outputWidth, m_outputHeight, 1);
    if (size <= 0)
        return;
    // Bands apply to the packed BGRA output only; the picture fills the rest.
    const bool banded = format == AV_PIX_FMT_BGRA && (m_insetLeft | m_insetTop | m_insetRight | m_insetBottom) != 0;
    const int pictureWidth = banded ? m_outputWidth - m_insetLeft - m_insetRight : m_outputWidth;
    const int pictureHeight = banded ? m_outputHeight - m_insetTop - m_insetBottom : m_outputHeight;
    if (pictureWidth <= 0 || pictureHeight <= 0)
        return;
    m_scaler.reset(sws_getCachedContext(m_scaler.release(), frame->width, frame->height,
                                        static_cast<AVPixelFormat>(frame->format), pictureWidth, pictureHeight,
                                        format, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!m_scaler)
        return;
    DecodedChunk chunk;
    chunk.kind = kKindVideo;
    // The scaler writes its rows in whole blocks of pixels: room behind the last row, cut off again
    // once the picture is in.
    chunk.bytes.resize(static_cast<size_t>(size) + kScalerSlack);
    uint8_t* planes[4];
    int lines[4];
    av_image_fill_arrays(planes, lines, chunk.bytes.data(), format, m_outputWidth, m_outputHeight, 1);
    if (banded)
    {
        static const uint8_t kOpaqueBlack[4] = {0, 0, 0, 0xFF};
        for (int i = 0; i < size; i += 4)
            std::memcpy(&chunk.bytes[i], kOpaqueBlack, 4);
        planes[0] += m_insetTop * lines[0] + m_insetLeft * 4;
    }
    sws_scale(m_scaler.get(), frame->data, frame->linesize, 0, frame->height, planes, lines);
    chunk.bytes.resize(size);
    if (banded && m_insetRight)
    {
        // What the scaler wrote past the picture into the right band is band again.
        static const uint8_t kBand[4] = {0, 0, 0, 0xFF};
        for (int y = m_insetTop; y < m_insetTop + pictureHeight; ++y)
            for (int x = m_outputWidth - m_insetRight; x < m_outputWidth; ++x)
                std::memcpy(&chunk.bytes[static_cast<size_t>(y) * lines[0] + static_cast<size_t>(x) * 4], kBand, 4);
    }

    const AVRational timeBase = stream.stream->time_base;
    // A picture without a time of its own, or whose time does not advance, follows the one before it.
    const int64_t stamp = FrameTime(stream, frame);
    const bool advances = stamp != AV_NOPTS_VALUE && (!stream.timed || stamp > stream.clockStart);
    chunk.start = advances ? stamp : stream.clockEnd;
    stream.timed = true;
    if (frame->pkt_duration > 0)
        chunk.end = chunk.start + av_rescale_q(frame->pkt_duration, timeBase, kMicroseconds);
    else if (m_outputFrameRate > 0.0)
        chunk.end = chunk.start + static_cast<int64_t>(1000000.0 / m_outputFrameRate);
    else
        chunk.end = std::max(chunk.start, stream.clockEnd);
    stream.clockStart = chunk.start;
    stream.clockEnd = chunk.end;
    stream.queue.push_back(std::move(chunk));
}

int FFMpegReader::ReadAudioChunk(int stream, unsigned char* buffer, int size, int64_t* start, int64_t* end)
{
    if (!IsReadable(stream, kKindAudio) || !buffer || size <= 0 || !start || !end)
        return 0;
    FillStream(stream);
    std::deque<DecodedChunk>& queue = m_streams[stream].queue;
    if (queue.empty())
        return 0;
    DecodedChunk& chunk = queue.front();
    const int length = static_cast<int>(chunk.bytes.size());
    if (size < length)
    {
        // Hand out the front part; the rest stays queued with its start moved on.
        std::memcpy(buffer, chunk.bytes.data(), size);
        *start = chunk.start;
        *end = chunk.start + (chunk.end - chunk.start) * size / length;
        chunk.start = *end;
        chunk.bytes.erase(chunk.bytes.begin(), chunk.bytes.begin() + size);
        return size;
    }
    std::memcpy(buffer, chunk.bytes.data(), length);
    *start = chunk.start;
    *end = chunk.end;
    queue.pop_front();
    return length;
}

int FFMpegReader::ReadVideoFrame(int stream, unsigned char* buffer, int size, int64_t* start, int64_t* end)
{
    if (!IsReadable(stream, kKindVideo) || !buffer || size <= 0 || !start || !end)
        return 0;
    FillStream(stream);
    std::deque<DecodedChunk>& queue = m_streams[stream].queue;
    if (queue.empty())
        return 0;
    DecodedChunk& chunk = queue.front();
    const int length = std::min(size, static_cast<int>(chunk.bytes.size()));
    std::memcpy(buffer, chunk.bytes.data(), length);
    *start = chunk.start;
    *end = chunk.end;
    queue.pop_front();
    return length;
}
