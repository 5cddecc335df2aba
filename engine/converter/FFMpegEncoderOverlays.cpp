// The frame decorations of a conversion job: text watermark, logo and subtitles, made from the
// job settings when the job starts and drawn into every decoded video frame.
#include "engine/converter/FFMpegEncoder.h"

#include "engine/decorations/FrameDecorations.h"

namespace
{
const int kMicrosecondsPerMillisecond = 1000;
}

int CFFMpegEncoder::CreateOverlays()
{
    return CreateDecorations(m_settings, m_textWatermark, m_logo, m_overlayLog);
}

void CFFMpegEncoder::CreateSubtitles()
{
    CreateSubtitleDecoration(m_settings, m_subtitles, m_overlayLog);
}

void CFFMpegEncoder::DestroyOverlays()
{
    DestroyDecorations(m_textWatermark, m_logo, m_subtitles);
}

int ApplyFrameOverlays(CFFMpegEncoder* job, AVFrame* picture, int pixelFormat, int width, int height,
                       int64_t frameTime)
{
    if (!job || !picture)
        return -1;
    for (const std::string& line : job->m_overlayLog) // why a decoration is missing
        av_log(job->LogContext(), AV_LOG_WARNING, "%s\n", line.c_str());
    job->m_overlayLog.clear();
    if (!job->HasOverlays())
    {
        job->m_overlaysNeeded = 0;
        return 0;
    }
    // The decorations draw into the frame: it must not share its buffers with the decoder.
    if (picture->buf[0] && av_frame_make_writable(picture) < 0)
        return -1;
    uint8_t* pixels = ConvertFrameToBGRA(job, picture, pixelFormat, width, height);
    if (!pixels)
        return -1;
    const int milliseconds = static_cast<int>(frameTime / kMicrosecondsPerMillisecond);
    DrawDecorations(pixels, width, height, milliseconds, job->m_logo, job->m_textWatermark, job->m_subtitles);
    if (job->m_toBgra)
        sws_scale(job->m_fromBgra, job->m_bgraData, job->m_bgraLinesize, 0, height, picture->data, picture->linesize);
    return 0;
}
