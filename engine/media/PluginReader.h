// The engine's reader interface: one media file described stream by stream and read as decoded
// audio and scaled video. The RealMedia job and the Loomgate plug-in call it through this table of
// operations, whose order, arguments and units are fixed between the two deliverables.
#pragma once

#include <stdint.h>

// Pixel-format number of packed BGRA in this interface (independent of FFmpeg's own numbering).
const int kReaderPixelFormatBGRA = 30;

class IPluginReader
{
public:
    virtual int Open() = 0;
    virtual int Close() = 0;
    virtual int64_t GetDuration() = 0;
    virtual int GetStreamCount() = 0;
    virtual int GetStreamType(int stream) = 0;
    virtual int GetPixelFormat(int stream) = 0;
    virtual int GetWidth(int stream) = 0;
    virtual int GetHeight(int stream) = 0;
    virtual double GetFrameRate(int stream) = 0;
    virtual int GetChannels(int stream) = 0;
    virtual int GetBitsPerSample(int stream) = 0;
    virtual int GetSampleRate(int stream) = 0;
    // Both reads: bytes delivered with start and end in microseconds; 0 at the end of the stream.
    virtual int ReadAudio(int stream, unsigned char* buffer, int size, int64_t* start, int64_t* end) = 0;
    virtual int ReadVideo(int stream, unsigned char* buffer, int size, int64_t* start, int64_t* end) = 0;
    virtual int CheckOpen() = 0;

protected:
    // The plug-in never owns a reader: no destruction through this interface.
    ~IPluginReader() = default;
};
