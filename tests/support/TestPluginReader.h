// A reader of made-up media for tests of the plug-in and the producer library: streams of the kinds
// asked for, BGRA pictures with a moving bar and packed 16-bit sine sound, stamped in microseconds.
// It counts its opens and closes and can be told to fail.
#pragma once

#include "engine/media/PluginReader.h"

#include <windows.h>

#include <math.h>
#include <string.h>

#include <new>
#include <vector>

namespace rwtest
{
class TestPluginReader : public IPluginReader
{
  public:
    std::vector<int> kinds{0, 1}; // per stream: 0 video, 1 audio, other kinds as the reader gives them
    int width = 160;
    int height = 120;
    double frameRate = 25.0;
    int channels = 2;
    int bitsPerSample = 16;
    int sampleRate = 44100;
    int64_t duration = 2000000;    // microseconds
    int audioChunkBytes = 0x10000; // bytes per audio read at most
    bool failOpen = false;
    int failAfterReads = -1; // >= 0: every read after this many returns -1

    int opens = 0;
    int closes = 0;
    int reads = 0;
    int lastAudioStream = -1; // the stream of the last audio read
    // How the pictures' times run: forward, standing still at 0 (a source without times), or back.
    enum VideoTimes
    {
        kTimesForward,
        kTimesStandStill,
        kTimesGoBack
    };
    VideoTimes videoTimes = kTimesForward;

    int Open() override
    {
        if (failOpen)
            return -1;
        ++opens;
        m_open = true;
        m_videoTime.assign(kinds.size(), 0);
        m_audioTime.assign(kinds.size(), 0);
        return 0;
    }
    int Close() override
    {
        if (m_open)
            ++closes;
        m_open = false;
        return 0;
    }
    int64_t GetDuration() override
    {
        return duration;
    }
    int GetStreamCount() override
    {
        return m_open ? (int)kinds.size() : 0;
    }
    int GetStreamType(int stream) override
    {
        return m_open && stream >= 0 && stream < (int)kinds.size() ? kinds[stream] : -1;
    }
    int GetPixelFormat(int) override
    {
        return kReaderPixelFormatBGRA;
    }
    int GetWidth(int) override
    {
        return width;
    }
    int GetHeight(int) override
    {
        return height;
    }
    double GetFrameRate(int) override
    {
        return frameRate;
    }
    int GetChannels(int) override
    {
        return channels;
    }
    int GetBitsPerSample(int) override
    {
        return bitsPerSample;
    }
    int GetSampleRate(int) override
    {
        return sampleRate;
    }
    int CheckOpen() override
    {
        return m_open ? 0 : -1;
    }

    int ReadVideo(int stream, unsigned char* buffer, int size, int64_t* start, int64_t* end) override
    {
        if (!Readable(stream))
            return failAfterReads >= 0 && reads > failAfterReads ? -1 : 0;
        int64_t frameTime = (int64_t)(1000000.0 / frameRate);
        int64_t& clock = m_videoTime[stream];
        if (clock >= duration)
            return 0;
        int bytes = width * height * 4;
        if (bytes > size)
            bytes = size;
        int frame = (int)(clock / frameTime);
        for (int i = 0; i < bytes / 4; ++i)
        {
            int x = i % width;
            bool bar = (x / 8) == frame % (width / 8);
            buffer[i * 4 + 0] = (unsigned char)(bar ? 255 : x);
            buffer[i * 4 + 1] = (unsigned char)(bar ? 255 : 128);
            buffer[i * 4 + 2] = (unsigned char)(bar ? 255 : 255 - x);
            buffer[i * 4 + 3] = 255;
        }
        *start = videoTimes == kTimesForward ? clock : videoTimes == kTimesStandStill ? 0 : duration - clock;
        *end = videoTimes == kTimesStandStill ? 0 : *start + frameTime;
        clock += frameTime;
        return bytes;
    }

    int ReadAudio(int stream, unsigned char* buffer, int size, int64_t* start, int64_t* end) override
    {
        if (!Readable(stream))
            return failAfterReads >= 0 && reads > failAfterReads ? -1 : 0;
        lastAudioStream = stream;
        int64_t& clock = m_audioTime[stream];
        if (clock >= duration)
            return 0;
        int frameBytes = channels * bitsPerSample / 8;
        int bytes = size < audioChunkBytes ? size : audioChunkBytes;
        int frames = bytes / frameBytes;
        int64_t first = clock * sampleRate / 1000000;
        short* samples = reinterpret_cast<short*>(buffer);
        for (int i = 0; i < frames; ++i)
        {
            short value = (short)(6000 * sin(2 * M_PI * 440.0 * (double)(first + i) / sampleRate));
            for (int c = 0; c < channels; ++c)
            {
                if (bitsPerSample == 16)
                    samples[i * channels + c] = value;
                else
                    buffer[i * channels + c] = (unsigned char)(128 + value / 256);
            }
        }
        *start = clock;
        *end = clock + (int64_t)frames * 1000000 / sampleRate;
        clock = *end;
        return frames * frameBytes;
    }

  private:
    bool Readable(int stream)
    {
        ++reads;
        if (failAfterReads >= 0 && reads > failAfterReads)
            return false;
        return m_open && stream >= 0 && stream < (int)kinds.size();
    }

    bool m_open = false;
    std::vector<int64_t> m_videoTime;
    std::vector<int64_t> m_audioTime;
};

// Reserves and commits memory at an address above 4 GB, so that its address needs all 64 bits.
inline void* AllocateAbove4GB(size_t size)
{
    for (UINT64 base = 0x100000000ull * 3; base < 0x100000000ull * 256; base += 0x100000000ull)
    {
        void* memory = ::VirtualAlloc(reinterpret_cast<void*>(base), size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        if (memory)
            return memory;
    }
    return nullptr;
}

// A TestPluginReader placed above 4 GB; destroyed and freed with FreeHighReader.
inline TestPluginReader* NewHighReader()
{
    void* memory = AllocateAbove4GB(sizeof(TestPluginReader));
    return memory ? new (memory) TestPluginReader() : nullptr;
}

inline void FreeHighReader(TestPluginReader* reader)
{
    if (!reader)
        return;
    reader->~TestPluginReader();
    ::VirtualFree(reader, 0, MEM_RELEASE);
}
} // namespace rwtest
