// The engine's description of a media file (duration, size, container, the last video, audio and
// subtitle stream), filled by EngineGetMediaInfo for the task manager, and the helpers that fill it.
#pragma once

#include <stdint.h>

struct AVCodecContext;
struct AVStream;

const int kMediaInfoTextSize = 32;

struct MediaInfo
{
    double duration;  // microseconds, 0 when the container gives none
    int64_t fileSize; // bytes
    char container[kMediaInfoTextSize];
    int hasVideo;
    char videoCodec[kMediaInfoTextSize];
    float frameRate;
    int width;
    int height;
    char pixelFormat[kMediaInfoTextSize];
    int videoBitRate;
    int hasAudio;
    char audioCodec[kMediaInfoTextSize];
    int sampleRate;
    int bitsPerSample;
    int channels;
    char sampleFormat[kMediaInfoTextSize];
    int audioBitRate;
    int hasSubtitles;
    int reserved;
    char subtitleCodec[kMediaInfoTextSize];
};

// Display name of a stream's codec: the decoder's name, else the codec's own name, else its tag.
void GetCodecDisplayName(const AVCodecContext* context, char destination[kMediaInfoTextSize]);
// Bits per second of an audio stream; computed from the sample layout for uncompressed PCM.
int64_t GetAudioBitRate(const AVCodecContext* context);
// A bit rate as the record's field holds it: within 0..INT_MAX.
int BitRateField(int64_t bitsPerSecond);
// Frames per second of a video stream, -1 for other streams or when nothing gives a rate.
float GetVideoFrameRate(const AVStream* stream);
