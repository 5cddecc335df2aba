#include "engine/decorations/LogoSequence.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstring>

namespace
{
const int kTryAgain = -11;
const int kMaxTryAgain = 1000;
}

int SplitBarList(const char* text, std::vector<std::string>& list)
{
    std::string piece;
    for (const char* p = text ? text : ""; *p;)
    {
        if (::IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1])
        {
            piece.append(p, 2);
            p += 2;
            continue;
        }
        if (*p == '|')
        {
            if (!piece.empty())
                list.push_back(piece);
            piece.clear();
        }
        else
            piece += *p;
        ++p;
    }
    if (!piece.empty())
        list.push_back(piece);
    return list.empty() ? 1 : 0;
}

LogoSequence::~LogoSequence()
{
    Close();
}

void LogoSequence::Log(const std::string& line) const
{
    if (m_log)
        m_log(line);
}

int LogoSequence::Open(const int placement[kPlacementCount], const char* list, size_t listCapacity,
                       int usePictureAlpha, int interval)
{
    std::memcpy(m_placement, placement, sizeof(m_placement));
    const size_t bound = std::min<size_t>(listCapacity, kLogoListSize - 1);
    m_list.assign(list ? list : "", list ? ::strnlen(list, bound) : 0);
    m_usePictureAlpha = usePictureAlpha;
    m_interval = interval;
    m_names.clear();
    SplitBarList(m_list.c_str(), m_names);
    m_index = 0;
    OpenCurrent();
    m_lastStep = -1;
    return 0;
}

int LogoSequence::OpenCurrent()
{
    Close();
    if (m_names.empty())
        return -1;
    const std::string& name = m_names[m_index % m_names.size()];
    media::FormatPtr file = media::OpenMediaFile(name.c_str());
    if (!file)
    {
        Log("logo: cannot open " + name);
        return -1;
    }
    int stream = media::LastStreamOfType(file.get(), AVMEDIA_TYPE_VIDEO);
    if (stream < 0)
    {
        Log("logo: no picture in " + name);
        return -1;
    }
    media::CodecPtr decoder = media::OpenStreamDecoder(file->streams[stream]);
    if (!decoder || decoder->width <= 0 || decoder->height <= 0)
    {
        Log("logo: cannot decode " + name);
        return -1;
    }
    media::ScalerPtr scaler(sws_getContext(decoder->width, decoder->height, decoder->pix_fmt, decoder->width,
                                           decoder->height, AV_PIX_FMT_BGRA, SWS_BICUBIC, nullptr, nullptr, nullptr));
    media::FramePtr frame(av_frame_alloc());
    if (!scaler || !frame)
    {
        Log("logo: cannot convert the picture of " + name);
        return -1;
    }
    m_width = decoder->width;
    m_height = decoder->height;
    m_file = std::move(file);
    m_decoder = std::move(decoder);
    m_scaler = std::move(scaler);
    m_frame = std::move(frame);
    m_stream = stream;
    m_flushed = false;
    return 0;
}

int LogoSequence::DecodeNext()
{
    if (!m_file)
        return -1;
    media::PacketPtr packet(av_packet_alloc());
    if (!packet)
        return 1;
    int tries = 0;
    for (;;)
    {
        if (avcodec_receive_frame(m_decoder.get(), m_frame.get()) >= 0)
            break;
        if (m_flushed)
            return 1;
        int result = av_read_frame(m_file.get(), packet.get());
        if (result == kTryAgain && ++tries < kMaxTryAgain)
            continue;
        if (result < 0)
        {
            avcodec_send_packet(m_decoder.get(), nullptr); // pictures the decoder still holds
            m_flushed = true;
            continue;
        }
        if (packet->stream_index == m_stream)
            avcodec_send_packet(m_decoder.get(), packet.get());
        av_packet_unref(packet.get());
    }
    // The picture keeps the size the file was opened with; a frame of another size is scaled to it.
    m_scaler.reset(sws_getCachedContext(m_scaler.release(), m_frame->width, m_frame->height,
                                        static_cast<AVPixelFormat>(m_frame->format), m_width, m_height,
                                        AV_PIX_FMT_BGRA, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!m_scaler)
    {
        av_frame_unref(m_frame.get());
        return 1;
    }
    m_picture.assign(static_cast<size_t>(m_width) * m_height * 4, 0);
    uint8_t* planes[4] = {m_picture.data(), nullptr, nullptr, nullptr};
    int lines[4] = {m_width * 4, 0, 0, 0};
    sws_scale(m_scaler.get(), m_frame->data, m_frame->linesize, 0, m_frame->height, planes, lines);
    av_frame_unref(m_frame.get());
    return 0;
}

int LogoSequence::Advance(int timeMs)
{
    if (m_lastStep == -1 || static_cast<long long>(timeMs) - m_lastStep >= m_interval)
    {
        if (DecodeNext() != 0)
        {
            Close();
            if (!m_names.empty())
                m_index = (m_index + 1) % m_names.size();
            if (OpenCurrent() == 0)
                DecodeNext();
        }
        m_lastStep = timeMs;
    }
    return m_file ? 0 : -1;
}

int LogoSequence::Apply(uint8_t* pixels, int width, int height) const
{
    if (m_picture.empty())
        return -1;
    const int regionWidth = m_placement[kPlacementWidth] > 0 ? m_placement[kPlacementWidth] : m_width;
    const int regionHeight = m_placement[kPlacementHeight] > 0 ? m_placement[kPlacementHeight] : m_height;
    const int opacity = m_usePictureAlpha ? kBlendPixelAlpha : m_placement[kPlacementOpacity];
    BgraImage frame = {pixels, width, height};
    BgraImage picture = {const_cast<uint8_t*>(m_picture.data()), m_width, m_height};
    BlendBGRA(regionWidth, regionHeight, frame, picture, opacity, kBlendNoKey);
    return 0;
}

int LogoSequence::Close()
{
    if (!m_file)
        return 0;
    m_picture.clear();
    m_decoder.reset();
    m_file.reset();
    m_scaler.reset();
    m_frame.reset();
    return 0;
}
