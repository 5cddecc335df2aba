// The names of the generated test media in build/media (rwtest::Media(name) gives the path) and
// the properties they were made with. Pictures: colour bars, a moving white box and the frame
// number in binary as blocks along the bottom edge. Sound: a 440 Hz tone with a louder beep for
// the first 100 ms of each second.
#pragma once

#include <cstdint>

namespace rwtest
{
// The standard clip: every clip_* file and the audio.* files are made with these properties.
constexpr int kClipWidth = 320;
constexpr int kClipHeight = 240;
constexpr int kClipFps = 25;
constexpr double kClipSeconds = 3.0;
constexpr int kClipFrames = 75;
constexpr int kClipSampleRate = 44100;
constexpr int kClipChannels = 2;
constexpr double kToneHz = 440.0;
constexpr double kToneLevel = 0.2;   // peak, of full scale, between beeps
constexpr double kBeepLevel = 0.6;   // peak, of full scale, during a beep
constexpr double kBeepSeconds = 0.1; // each beep starts on a whole second

// The frame number drawn into each picture: kCounterBits blocks along the bottom edge, each as
// wide as a tenth of the picture and a twelfth of its height tall, lowest bit at the left, white
// for 1 and black for 0. Reads it back from a decoded luma plane.
constexpr int kCounterBits = 10;
inline int ReadFrameCounter(const uint8_t* luma, int stride, int width, int height)
{
    const int strip = height / 12;
    const int row = height - strip / 2;
    int value = 0;
    for (int bit = 0; bit < kCounterBits; ++bit)
    {
        int x = (width * bit / kCounterBits + width * (bit + 1) / kCounterBits) / 2;
        if (luma[row * stride + x] > 128)
            value |= 1 << bit;
    }
    return value;
}

// Clips in the families the converter meets.
constexpr const char* kClipMp4 = "clip_h264_aac.mp4";  // H.264 + AAC
constexpr const char* kClipAvi = "clip_mpeg4_mp3.avi"; // MPEG-4 (DIVX tag) + MP3
constexpr const char* kClipWmv = "clip_wmv2_wma.wmv";  // WMV2 + WMAv2
constexpr const char* kClipFlv = "clip_flv.flv";       // FLV1 + MP3
constexpr const char* kClipMpg = "clip_mpeg2.mpg";     // MPEG-2 video + MP2, program stream
constexpr const char* kClipMkv = "clip_vorbis.mkv";    // MPEG-4 + Vorbis
constexpr const char* kClipMov = "clip_mov.mov";       // MPEG-4 + AAC
constexpr const char* kAudioMp3 = "audio.mp3";
constexpr const char* kAudioWav = "audio.wav"; // PCM 16-bit
constexpr const char* kAudioAac = "audio.aac"; // ADTS

// Awkward ones.
constexpr const char* kWide302 = "wide302.mp4"; // 302x240 H.264 + AAC
constexpr int kWide302Width = 302;
constexpr const char* kSurround51 = "surround51.mkv"; // MPEG-4 + 5.1 AC-3 at 48000 Hz
constexpr int kSurroundChannels = 6;
constexpr int kSurroundSampleRate = 48000;
constexpr const char* kMono8k = "mono8k.wav"; // mono 8000 Hz PCM 16-bit
constexpr int kMono8kSampleRate = 8000;
// MPEG-4 + 21 MP2 streams; audio stream k (from 0) carries the tone at 440 Hz * (1 + k / 4).
constexpr const char* kManyStreams = "many_streams.mkv";
constexpr int kManyStreamsAudio = 21;
constexpr const char* kWithData = "with_data.ts";       // MPEG-TS: H.264, MP2 and a KLV data stream
constexpr const char* kNoDuration = "no_duration.h264"; // raw H.264, the container gives no duration
constexpr const char* kLong25s = "long25s.mp4";         // 160x120 H.264 + AAC
constexpr double kLong25sSeconds = 25.0;
constexpr int kLong25sWidth = 160;
constexpr int kLong25sHeight = 120;
constexpr const char* kHd720 = "hd720.mp4"; // 1280x720 H.264 + AAC
constexpr double kHd720Seconds = 1.0;
constexpr int kHd720Width = 1280;
constexpr int kHd720Height = 720;

// Broken ones.
constexpr const char* kTruncatedMp4 = "truncated.mp4"; // kClipMp4 cut in half: the index at its end is lost
constexpr const char* kTruncatedAvi = "truncated.avi"; // kClipAvi cut at 60 % of its bytes
constexpr const char* kGarbageAvi = "garbage.avi";     // 4 KiB of pseudo-random bytes
constexpr const char* kEmptyMp4 = "empty.mp4";         // zero bytes
} // namespace rwtest
