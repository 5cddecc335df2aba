// The frame decorations of a conversion job: text watermark, logo and subtitles, made from the
// job settings when the job starts and drawn into every decoded video frame.
#include "engine/FFMpegEncoder.h"

#include "engine/LogoSequence.h"
#include "engine/SubtitleRenderer.h"
#include "engine/TextWatermark.h"

#include <cstdio>

namespace
{
const int kMicrosecondsPerMillisecond = 1000;
}

int CFFMpegEncoder::CreateOverlays()
{
    const JobSettings& s = m_settings;
    int result = 0;
    if ((s.decorationFlags & kDecorationTextWatermark) && s.watermarkText[0])
    {
        TextWatermarkStyle style = {};
        style.fontHeight = s.watermarkFontHeight;
        style.fontStyle = s.watermarkFontStyle;
        ::lstrcpynW(style.faceName, s.watermarkFontName, kWatermarkTextSize);
        style.textColour = s.watermarkTextColor;
        style.backgroundColour = s.watermarkBackColor;
        ::lstrcpynW(style.text, s.watermarkText, kWatermarkTextSize);
        m_textWatermark = new TextWatermark;
        int rendered = m_textWatermark->Render(s.placement, style);
        result |= rendered;
        if (rendered < 0 || !m_textWatermark->HasPicture())
        {
            m_overlayLog.push_back("Text watermark left out: its font or picture cannot be made");
            delete m_textWatermark;
            m_textWatermark = nullptr;
        }
    }
    if ((s.decorationFlags & kDecorationLogo) && s.logoList[0])
    {
        m_logo = new LogoSequence;
        // Logged with the next frame (on the worker), also for the files opened here at the start.
        m_logo->SetLogSink([this](const std::string& line) { m_overlayLog.push_back(line); });
        result |= m_logo->Open(s.placement, s.logoList, sizeof(s.logoList), s.logoOwnAlpha, s.logoInterval);
    }
    return result;
}

void CFFMpegEncoder::CreateSubtitles()
{
    const JobSettings& s = m_settings;
    if (s.subtitleMode == kSubtitleNone)
        return;
    SubtitleRenderer* renderer = new SubtitleRenderer;
    int key = renderer->Load(s.subtitleMode, s.sourcePath, s.subtitleFile);
    if (key < 0)
    {
        char line[96];
        std::snprintf(line, sizeof(line), "Subtitles left out: no subtitle entries could be read (%d)", key);
        m_overlayLog.push_back(line);
        delete renderer;
        return;
    }
    if (s.subtitleMargin > 1)
        renderer->SetBottomMargin(s.subtitleMargin);
    if (s.subtitlePixelSize > 0)
        renderer->SetPixelSize(s.subtitlePixelSize);
    if (s.subtitleText[0])
        renderer->SetStoredText(s.subtitleText);
    if (!renderer->HasFont())
        m_overlayLog.push_back("Subtitles left out: the subtitle font cannot be opened");
    m_subtitles = renderer;
}

void CFFMpegEncoder::DestroyOverlays()
{
    delete m_subtitles;
    m_subtitles = nullptr;
    delete m_textWatermark;
    m_textWatermark = nullptr;
    if (m_logo)
        m_logo->Close();
    delete m_logo;
    m_logo = nullptr;
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
    if (job->m_logo && job->m_logo->Advance(milliseconds) >= 0)
        job->m_logo->Apply(pixels, width, height);
    if (job->m_textWatermark)
        job->m_textWatermark->Apply(pixels, width, height);
    if (job->m_subtitles)
        job->m_subtitles->Draw(height, pixels, width, milliseconds);
    if (job->m_toBgra)
        sws_scale(job->m_fromBgra, job->m_bgraData, job->m_bgraLinesize, 0, height, picture->data, picture->linesize);
    return 0;
}
