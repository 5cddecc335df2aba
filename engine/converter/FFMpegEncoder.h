// The conversion job of the built-in converter: builds a command line from its job settings,
// parses it into its own transcode context under the option lock and runs the transcode loop on
// its worker thread, once per output segment when the arguments limit time or size.
#pragma once

#include "engine/Encoder.h"
#include "engine/Thread.h"
#include "engine/converter/TranscodeContext.h"

#include <stdint.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

extern "C"
{
#include <libavutil/frame.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

class TextWatermark;
class LogoSequence;
class SubtitleRenderer;
class CFFMpegEncoder;

// The object a job's lines are logged with: FFmpeg reads an AVClass pointer first.
struct JobLogContext
{
    const AVClass* avClass;
    CFFMpegEncoder* job;
};

class CFFMpegEncoder : public CEncoder, public CThread
{
public:
    CFFMpegEncoder();
    ~CFFMpegEncoder() override;

    int Start(const JobSettings* settings) override;
    int Stop() override;
    int Pause() override;
    int Resume() override;
    int OwnsLogContext(void* context) override;
    float GetProgress() override;
    bool WorkerEnded() override { return HasEnded(); }
    int Run() override;
    void OnFault(DWORD code) override;

    // A processor fault on one of the job's threads (the worker or a stage of its transcode
    // loop): logged with the fault's name and where it happened; the job ends as failed.
    void NoteFault(DWORD code, const char* where);

    // The steps of the worker that the DPG job changes. PrepareSegment parses the command line of
    // the next converter run (0, or -1 to end); ContinueAfterRun decides after a run that did not
    // fail; OutputComplete tells success at the end; OnOutputIncomplete cleans up after failure.
    virtual int PrepareSegment();
    virtual bool ContinueAfterRun(double offsetBefore);
    virtual bool OutputComplete();
    virtual void OnOutputIncomplete() {}
    // Parses "label -y -i source arguments outputPart" under the option lock into the context and
    // seeks to the segment start: 0, or -1 when the parse failed.
    int ParseRun(const std::string& arguments, const std::string& outputPart);
    void SeekToSegmentStart();
    int CreateOverlays();
    void CreateSubtitles();
    void DestroyOverlays();
    bool HasOverlays() const { return m_textWatermark || m_logo || m_subtitles; }
    // Frames go through ApplyFrameOverlays while there is a decoration, or a line saying why one
    // was left out (logged with the first frame, once the job has its id).
    bool OverlaysNeeded() const { return HasOverlays() || !m_overlayLog.empty(); }

    // The log context for lines that belong to this job: av_log(job->LogContext(), level, ...)
    // reaches the application's log with this job's id while the job runs.
    void* LogContext() { return &m_logContext; }

    // Called by the transcode loop once per turn: stores (segment start offset + output time)
    // in percent of the input's duration, kept within [0, 99] and never going back; an unknown
    // or zero duration reports 0.
    void UpdateProgress(double outputSeconds, int64_t inputDurationMicroseconds);

    // Guards the state change and the release of the transcode context against OwnsLogContext.
    // Recursive: FFmpeg may log from inside a release that holds it.
    std::recursive_mutex m_jobLock;
    TranscodeContext m_context;
    std::atomic<int> m_inputFinished;
    int m_segmentNumber;
    double m_segmentStartOffset; // seconds of the segments already written
    std::atomic<int> m_stopFlag;
    int m_overlaysNeeded; // call ApplyFrameOverlays for each decoded video frame
    TextWatermark* m_textWatermark;
    LogoSequence* m_logo;
    SubtitleRenderer* m_subtitles;
    // Why a decoration was left out, noted when the job starts (before it has an id) and logged
    // with the first frame.
    std::vector<std::string> m_overlayLog;

    // Frame-conversion cache of ConvertFrameToBGRA.
    uint8_t* m_bgraData[4];
    int m_bgraLinesize[4];
    int m_cacheFormat;
    int m_cacheWidth;
    int m_cacheHeight;
    SwsContext* m_toBgra;
    SwsContext* m_fromBgra;

    int m_framesWritten; // frames of the first output stream when the last run ended
    int m_emptyStreams;  // output streams of the last run that received no data
    // The rates the last run wrote its first video and audio stream with (0 without such a stream).
    double m_videoFrameRate;
    int m_audioSampleRate;

    // The job settings' paths as Unix paths, made on the worker before the first run.
    std::string m_sourceUnixPath;
    std::string m_outputUnixPath;

    // Frees the frame-conversion cache.
    void FreeFrameCache();

    // Files the job's runs created; a failed job removes them.
    std::vector<std::string> m_writtenOutputs;
    void RemoveWrittenOutputs();
    // True (with a line in the log) when writing the path would destroy the source.
    bool OutputOverwritesSource(const std::string& outputUnixPath);

private:
    bool ResolvePaths();
    // Publishes the job's end (after its last line has been delivered).
    void EndRun(EncoderState state);
    // Counts the job among the running conversions from its start to its end (once).
    void CountRunning(bool running);

    JobLogContext m_logContext;
    std::atomic<bool> m_pauseRequested; // survives the idle state between two runs
    std::atomic<bool> m_stopAsked{false}; // Stop was called: a run it ends short ends "stopped"
    std::atomic<bool> m_faulted{false};   // a thread of the job faulted
    std::atomic<bool> m_counted{false};  // counted among the running conversions
};

// Makes the lines the calling thread logs (a stage thread of the job's transcode loop) belong to
// the job; null ends that.
void SetThreadJob(CFFMpegEncoder* job);

// BGRA pixels of the frame (the frame's own plane when it is BGRA already and no cache exists),
// or null when the conversion cannot be set up.
uint8_t* ConvertFrameToBGRA(CFFMpegEncoder* job, AVFrame* picture, int pixelFormat, int width, int height);

// Draws the job's decorations (logo, text watermark, subtitles, in this order) into the frame.
// frameTime in microseconds. 0, or -1 when the frame cannot be converted.
int ApplyFrameOverlays(CFFMpegEncoder* job, AVFrame* picture, int pixelFormat, int width, int height,
                       int64_t frameTime);
