// The job for ".rm", ".rmvb" and ".ra" output: loads the RealMedia producer SDK from the program's
// "helixsdk" folder and runs an SDK encoding job whose input plug-in reads the source through this
// very object, which is the job's media reader and draws the job's decorations into each frame.
#pragma once

#include "engine/Encoder.h"
#include "engine/media/FFMpegReader.h"
#include "engine/realmedia/RealMediaSettings.h"
#include "engine/Thread.h"
#include "platform/producer/ProducerSdk.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

class CSampleEventSink;
class TextWatermark;
class LogoSequence;
class SubtitleRenderer;

class CHelixEncoder : public FFMpegReader, public CEncoder, public CThread
{
  public:
    static const int kAccessPathCapacity = 2048;

    CHelixEncoder();
    ~CHelixEncoder() override;

    int Start(const JobSettings* settings) override;
    // Cancels the SDK job, or keeps it from starting, and waits for the worker.
    int Stop() override;
    bool WorkerEnded() override { return HasEnded(); }
    int OwnsLogContext(void* context) override;
    // Also hands the worker's pending log lines to the log (on the caller's thread).
    float GetProgress() override;
    int Run() override;
    int ReadVideo(int stream, unsigned char* buffer, int size, int64_t* start, int64_t* end) override;

    int ParseRealMediaOptions();
    int CreateOverlays();
    void ApplyOutputWishes();
    HX_RESULT SetupEncodingJob();
    HX_RESULT LoadProducerSdk();
    HX_RESULT CreateEncodingJob();
    HX_RESULT AddInputPlugin();
    HX_RESULT AddPrefilters();
    HX_RESULT AddFileDestination();
    HX_RESULT SetEncodingModes();
    HX_RESULT AddAudiences();
    HX_RESULT Encode();
    int ReleaseProducerSdk();

    // The audience the job asks for: "computer - N" or "mobile - N" with N the video kbit/s.
    std::string AudienceName() const;
    // The folder the "helixsdk" folder is looked for in: the program folder, ending in "\"; empty
    // when it cannot be found.
    virtual std::string ProgramFolder() const;
    // Takes the log lines the worker has noted so far (GetProgress hands them to the log).
    std::vector<std::string> TakePendingLog();

    IHXTClassFactory* m_jobFactory;
    IHXTEncodingJob* m_encodingJob;
    CSampleEventSink* m_eventSink;
    char m_accessPaths[kAccessPathCapacity];
    HMODULE m_sdkLibrary;
    UINT8 m_blackLevelPrefilter;
    UINT8 m_audioGainPrefilter;
    int m_videoMode;
    int m_audioMode;
    UINT8 m_twoPass;
    const char* m_destinationPlugin;
    RealMediaSettings m_realMedia;
    TextWatermark* m_textWatermark;
    LogoSequence* m_logo;
    SubtitleRenderer* m_subtitles;

  private:
    // Lines of the worker wait here until the job is known to the log routing.
    void Log(const std::string& line);
    HX_RESULT Fail(HX_RESULT result, const std::string& line);

    std::atomic<bool> m_stopFlag;
    std::mutex m_sdkLock; // guards m_encodingJob between the worker and Stop
    std::mutex m_logLock;
    std::vector<std::string> m_pendingLog;
    std::vector<std::string> m_overlayLog;
};
