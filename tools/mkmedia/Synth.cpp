#include "Synth.h"

#include <cmath>

namespace mkmedia
{
namespace
{
struct Yuv
{
    uint8_t y, u, v;
};

// 75 % colour bars (white, yellow, cyan, green, magenta, red, blue, black), BT.601 limited range.
const Yuv kBars[] = {{180, 128, 128}, {162, 44, 142}, {131, 156, 44}, {112, 72, 58},
                     {84, 184, 198},  {65, 100, 212}, {35, 212, 114}, {16, 128, 128}};
const Yuv kWhite = {235, 128, 128};
const Yuv kBlack = {16, 128, 128};
const Yuv kGrey = {96, 128, 128};

void FillRect(AVFrame* f, int x, int y, int w, int h, Yuv c)
{
    if (x < 0)
        w += x, x = 0;
    if (y < 0)
        h += y, y = 0;
    if (x + w > f->width)
        w = f->width - x;
    if (y + h > f->height)
        h = f->height - y;
    if (w <= 0 || h <= 0)
        return;
    for (int row = y; row < y + h; ++row)
    {
        uint8_t* p = f->data[0] + row * f->linesize[0] + x;
        for (int i = 0; i < w; ++i)
            p[i] = c.y;
    }
    int cx = x / 2, cy = y / 2, cw = (x + w + 1) / 2 - cx, ch = (y + h + 1) / 2 - cy;
    for (int row = cy; row < cy + ch; ++row)
    {
        uint8_t* u = f->data[1] + row * f->linesize[1] + cx;
        uint8_t* v = f->data[2] + row * f->linesize[2] + cx;
        for (int i = 0; i < cw; ++i)
        {
            u[i] = c.u;
            v[i] = c.v;
        }
    }
}
} // namespace

void DrawPattern(AVFrame* f, int64_t index, bool litEdges)
{
    const int barCount = sizeof(kBars) / sizeof(kBars[0]);
    const Yuv dark = litEdges ? kGrey : kBlack;
    for (int b = 0; b < barCount; ++b)
    {
        int x0 = f->width * b / barCount, x1 = f->width * (b + 1) / barCount;
        FillRect(f, x0, 0, x1 - x0, f->height, b == barCount - 1 ? dark : kBars[b]);
    }
    // The box crosses the picture in kBoxFrames frames and starts again.
    int box = f->height / 6;
    int travel = f->width - box;
    FillRect(f, static_cast<int>(travel * (index % kBoxFrames) / kBoxFrames), f->height / 3, box, box, kWhite);
    // The frame number in binary, lowest bit at the left.
    int strip = f->height / 12;
    for (int bit = 0; bit < kCounterBits; ++bit)
    {
        int x0 = f->width * bit / kCounterBits, x1 = f->width * (bit + 1) / kCounterBits;
        FillRect(f, x0, f->height - strip, x1 - x0, strip, (index >> bit) & 1 ? kWhite : dark);
    }
}

void MakeTone(int16_t* out, int64_t first, int count, int channels, int sampleRate, int voice)
{
    const double hz = kToneHz * (1.0 + 0.25 * voice);
    const int64_t beepSamples = static_cast<int64_t>(kBeepSeconds * sampleRate);
    for (int i = 0; i < count; ++i)
    {
        int64_t n = first + i;
        double level = n % sampleRate < beepSamples ? kBeepLevel : kToneLevel;
        double phase = 2.0 * M_PI * hz * static_cast<double>(n % sampleRate) / sampleRate;
        auto s = static_cast<int16_t>(std::lround(32767.0 * level * std::sin(phase)));
        for (int c = 0; c < channels; ++c)
            *out++ = s;
    }
}
} // namespace mkmedia
