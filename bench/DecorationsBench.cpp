// decorations-bench [WIDTHxHEIGHT] [FRAMES]
// The cost of the frame decorations per converted frame: ApplyFrameOverlays with a text watermark
// and a two-line subtitle on YUV 4:2:0 frames (conversion to BGRA and back included), against the
// same frames with decorations off (not touched). Prints microseconds per frame and the share of
// the frame interval at 25 frames per second. Needs the subtitle font in the prefix's fonts folder.
#include "engine/converter/FFMpegEncoder.h"
#include "engine/decorations/SubtitleRenderer.h"
#include "engine/decorations/TextWatermark.h"
#include "platform/mfc/ExitSequence.h"

extern "C" {
#include <libavutil/frame.h>
}

#include <stdio.h>
#include <stdlib.h>

#include <string>

#include <windows.h>

namespace
{
const char kSubtitles[] = "1\r\n00:00:00,000 --> 01:00:00,000\r\nA subtitle of two lines\r\nburnt into every frame\r\n";

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

AVFrame* MakeFrame(int width, int height)
{
    AVFrame* frame = av_frame_alloc();
    frame->width = width;
    frame->height = height;
    frame->format = AV_PIX_FMT_YUV420P;
    if (av_frame_get_buffer(frame, 0) < 0)
        return nullptr;
    for (int p = 0; p < 3; ++p)
        for (int y = 0; y < (p ? height / 2 : height); ++y)
            for (int x = 0; x < (p ? width / 2 : width); ++x)
                frame->data[p][y * frame->linesize[p] + x] = static_cast<uint8_t>((x * 3 + y * 5 + p * 70) & 0xFF);
    return frame;
}

// Microseconds per frame of ApplyFrameOverlays over the frames.
double TimeOverlays(CFFMpegEncoder& job, AVFrame* frame, int frames)
{
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < frames; ++i)
        ApplyFrameOverlays(&job, frame, frame->format, frame->width, frame->height, i * 40000LL);
    ::QueryPerformanceCounter(&end);
    return Seconds(start, end) * 1e6 / frames;
}

// Microseconds per frame of the conversion to BGRA and back alone.
double TimeConversion(AVFrame* frame, int frames)
{
    CFFMpegEncoder job;
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < frames; ++i)
    {
        ConvertFrameToBGRA(&job, frame, frame->format, frame->width, frame->height);
        sws_scale(job.m_fromBgra, job.m_bgraData, job.m_bgraLinesize, 0, frame->height, frame->data, frame->linesize);
    }
    ::QueryPerformanceCounter(&end);
    return Seconds(start, end) * 1e6 / frames;
}
}

int main(int argc, char** argv)
{
    int width = 640, height = 480, frames = 500;
    if (argc > 1 && sscanf(argv[1], "%dx%d", &width, &height) != 2)
    {
        fprintf(stderr, "usage: decorations-bench [WIDTHxHEIGHT] [FRAMES]\n");
        return 1;
    }
    if (argc > 2)
        frames = atoi(argv[2]);
    int result = 1;
    {
        char folder[MAX_PATH];
        ::GetTempPathA(MAX_PATH, folder);
        std::string srt = std::string(folder) + "decorations-bench.srt";
        HANDLE file = ::CreateFileA(srt.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return 1;
        DWORD written = 0;
        ::WriteFile(file, kSubtitles, sizeof(kSubtitles) - 1, &written, nullptr);
        ::CloseHandle(file);
        WCHAR wideSrt[MAX_PATH];
        ::MultiByteToWideChar(CP_ACP, 0, srt.c_str(), -1, wideSrt, MAX_PATH);

        CFFMpegEncoder job;
        job.m_subtitles = new SubtitleRenderer;
        job.m_subtitles->SetPixelSize(height / 15);
        if (job.m_subtitles->Load(kSubtitleModeFile, "", wideSrt) <= 0 || !job.m_subtitles->HasFont())
        {
            fprintf(stderr, "decorations-bench: subtitles or their font cannot be loaded\n");
            AfxRunExitHandlers();
            return 1;
        }
        job.m_subtitles->SetPixelSize(height / 15);
        const int placement[kPlacementCount] = {0, 0, 0, 0, 160, 0, 0};
        TextWatermarkStyle style = {};
        style.fontHeight = height / 12;
        style.fontStyle = FW_BOLD;
        ::lstrcpyW(style.faceName, L"Tahoma");
        style.textColour = 0xFFFFFF;
        style.backgroundColour = kTransparentColour;
        ::lstrcpyW(style.text, L"Reelwright");
        job.m_textWatermark = new TextWatermark;
        job.m_textWatermark->Render(placement, style);
        job.m_overlaysNeeded = 1;

        AVFrame* frame = MakeFrame(width, height);
        if (frame)
        {
            TimeOverlays(job, frame, 10); // warm-up: scalers, glyph layout
            double on = TimeOverlays(job, frame, frames);
            double conversion = TimeConversion(frame, frames);
            double interval = 1e6 / 25;
            printf("frames: %d of %dx%d YUV 4:2:0\n", frames, width, height);
            printf("decorations off: 0 us per frame (the frame is not touched)\n");
            printf("decorations on (watermark + two-line subtitle): %.1f us per frame, %.1f %% of a 25 fps frame "
                   "interval\n",
                   on, on * 100 / interval);
            printf("  of which the conversion to BGRA and back: %.1f us\n", conversion);
            av_frame_free(&frame);
            result = 0;
        }
        ::DeleteFileA(srt.c_str());
    }
    AfxRunExitHandlers();
    return result;
}
