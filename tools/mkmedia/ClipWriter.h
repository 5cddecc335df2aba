// Encodes and muxes one generated clip from a ClipSpec: the test pattern, the tone on each audio
// stream and, where asked, a small data stream. Used by the media generator's main table.
#pragma once

#include <cstdint>
#include <string>

namespace mkmedia
{
struct VideoSpec
{
    const char* codec; // encoder name, or nullptr for no video
    int width;
    int height;
    int fps;
    uint32_t tag; // container tag to force (0: the muxer's default)
    const char* pixelFormat = nullptr; // the encoder's pixel format (nullptr: yuv420p)
};

struct AudioSpec
{
    const char* codec; // encoder name, or nullptr for no audio
    int sampleRate;
    int channels;
};

struct ClipSpec
{
    const char* name;   // file name in the media folder
    const char* format; // muxer name
    VideoSpec video;
    AudioSpec audio;
    int audioStreams; // copies of the audio stream, each with its own pitch
    bool dataStream;  // adds a stream of small timed data packets
    double seconds;
    double audioDelay = 0;            // seconds of the video before the sound starts
    bool subtitleBeforeAudio = false; // a text subtitle stream between the video and the sound
    bool litEdges = false; // no black at the picture's edges, so that bands added later can be told apart
    double timeOffset = 0; // seconds added to every written time (a part that continues another)
};

// Writes the clip to `path`; on failure returns false with the cause in `error`.
bool WriteClip(const ClipSpec& spec, const std::string& path, std::string& error);
} // namespace mkmedia
