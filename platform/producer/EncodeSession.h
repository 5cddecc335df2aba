// One run of an encoding job: pulls every stream of the input plug-in to its end, encodes the
// chosen video and audio stream (RealVideo 1.0/2.0 with AC-3, or RealAudio 1.0 for 8 kHz mono) into
// a spool file in a first phase, and writes the spool into RealMedia files in a second one.
#pragma once

#include "platform/producer/ProducerSdk.h"

#include <stdint.h>

#include <atomic>
#include <functional>
#include <string>

class CInput;

struct EncodeSettings
{
    CInput* input;
    IUnknown* outputTarget; // what the plug-in's outputs are connected to
    std::string outputPath; // Win32 or Unix path of the first output file
    int64_t rollSize;       // bytes; 0: no size limit
    int64_t rollTimeMs;     // 0: no time limit
    bool audioOnly;         // ".ra"
    bool withoutAudio;      // the media profile asks to leave the audio out
    std::string videoCodec; // "rv10" or "rv20"; empty: no video in the audience
    int videoBitRate;       // bits per second
    double keyFrameSeconds; // largest key-frame distance
    std::string audioCodec; // "ac3" or "real_144"; empty: no audio in the audience
    int audioBitRate;       // bits per second
};

class CEncodeSession
{
  public:
    // progress(event type, percent) is called on the session's thread.
    CEncodeSession(const EncodeSettings& settings, std::atomic<bool>* cancel,
                   std::function<void(UINT32, UINT32)> progress);
    ~CEncodeSession();

    HX_RESULT Run();
    // Why Run failed, for the job's "errorText".
    const std::string& Error() const
    {
        return m_error;
    }

    // A frame size the RealVideo encoders take: the nearest multiple of 16, at least 16.
    static int EncodableSize(int size);
    // The channels AC-3 sound of a source with that many channels gets at the audience's bit rate
    // (0: no rate asked).
    static int Ac3Channels(int sourceChannels, int bitRate);

  private:
    struct Impl;
    Impl* m_impl;
    std::string m_error;
};
