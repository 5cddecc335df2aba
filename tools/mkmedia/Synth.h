// The deterministic picture and sound every generated clip carries: colour bars with a moving
// white box and frame-counter blocks, and a 440 Hz tone that gets louder for a beep each second.
#pragma once

#include <cstdint>

extern "C"
{
#include <libavutil/frame.h>
}

namespace mkmedia
{
constexpr double kToneHz = 440.0;
constexpr double kToneLevel = 0.2;   // of full scale, between beeps
constexpr double kBeepLevel = 0.6;   // of full scale, during the beep
constexpr double kBeepSeconds = 0.1; // the beep starts on each whole second
constexpr int kCounterBits = 10;     // frame-counter blocks along the bottom edge
constexpr int kBoxFrames = 100;      // frames the moving box takes to cross the picture

// Draws frame `index` into a YUV420P frame of the frame's own size. With `litEdges` the black bar
// and the counter's zero bits are grey, so that no edge of the picture is black.
void DrawPattern(AVFrame* frame, int64_t index, bool litEdges = false);

// Writes `count` interleaved 16-bit samples per channel starting at sample `first`.
// Stream `voice` shifts the pitch so that the streams of one file can be told apart.
void MakeTone(int16_t* out, int64_t first, int count, int channels, int sampleRate, int voice);

// A fixed linear congruential generator for garbage bytes that are the same on every run.
class Lcg
{
  public:
    explicit Lcg(uint32_t seed) : m_state(seed)
    {
    }
    uint8_t NextByte()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return static_cast<uint8_t>(m_state >> 24);
    }

  private:
    uint32_t m_state;
};
} // namespace mkmedia
