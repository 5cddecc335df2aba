#include "engine/converter/FFMpegEncoder.h"

#include "engine/Engine.h"
#include "engine/FaultGuard.h"
#include "engine/UnixPath.h"
#include "engine/converter/RunningConversions.h"

#include <math.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include <vector>

extern "C"
{
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/pixfmt.h>
}

namespace
{
// The first word of every converter command line; the parser skips it.
const char kProgramLabel[] = "reelwright";
const double kMicroseconds = 1000000.0;

const char* JobItemName(void*)
{
    return "job";
}

const AVClass* JobLogClass()
{
    static const AVClass jobClass = [] {
        AVClass value;
        memset(&value, 0, sizeof(value));
        value.class_name = "job";
        value.item_name = JobItemName;
        value.version = LIBAVUTIL_VERSION_INT;
        return value;
    }();
    return &jobClass;
}

// The job whose worker runs on this thread.
thread_local CFFMpegEncoder* t_currentJob = nullptr;

class CurrentJobScope
{
public:
    explicit CurrentJobScope(CFFMpegEncoder* job) { t_currentJob = job; }
    ~CurrentJobScope() { t_currentJob = nullptr; }
    CurrentJobScope(const CurrentJobScope&) = delete;
    CurrentJobScope& operator=(const CurrentJobScope&) = delete;
};

// Whether two Unix paths name one file (also through links or different spellings).
bool IsSameFile(const std::string& first, const std::string& second)
{
    struct stat a, b;
    if (stat(first.c_str(), &a) == 0 && stat(second.c_str(), &b) == 0)
        return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
    return first == second;
}
}

CFFMpegEncoder::CFFMpegEncoder()
    : m_inputFinished(0), m_segmentNumber(0), m_segmentStartOffset(0.0), m_stopFlag(0), m_overlaysNeeded(0),
      m_textWatermark(nullptr), m_logo(nullptr), m_subtitles(nullptr), m_bgraLinesize{}, m_cacheFormat(AV_PIX_FMT_NONE),
      m_cacheWidth(0), m_cacheHeight(0), m_toBgra(nullptr), m_fromBgra(nullptr), m_framesWritten(0), m_emptyStreams(0),
      m_videoFrameRate(0.0), m_audioSampleRate(0), m_logContext{JobLogClass(), this}, m_pauseRequested(false)
{
    InitTranscodeContext(&m_context);
    memset(m_bgraData, 0, sizeof(m_bgraData));
}

CFFMpegEncoder::~CFFMpegEncoder()
{
    try
    {
        DestroyOverlays();
    }
    catch (...)
    {
    }
    // A worker that was never stopped would still use the context.
    m_stopFlag = 1;
    CThread::Stop(-1);
    CountRunning(false);
    FreeTranscodeContextContents(&m_context);
    FreeFrameCache();
}

int CFFMpegEncoder::Start(const JobSettings* settings)
{
    if (!settings)
        return -1;
    m_state = kEncoderRunning;
    m_settings = *settings;
    TerminateJobTexts(&m_settings);
    CreateOverlays();
    CreateSubtitles();
    m_overlaysNeeded = OverlaysNeeded() ? 1 : 0;
    // Counted before its worker runs: jobs started together see each other when they open codecs.
    CountRunning(true);
    if (!CThread::Start())
    {
        CountRunning(false);
        // Without a worker the job would stay "running" for ever.
        m_state = kEncoderFailed;
        m_progress = kProgressFailed;
        return -1;
    }
    return 0;
}

int CFFMpegEncoder::Stop()
{
    m_stopAsked = true;
    m_stopFlag = 1;
    CThread::Stop(-1);
    // The worker has ended. A job that reached its end keeps its final state (a stop pressed just
    // after a job ended done must not turn it into a stopped one); only a job still working, or
    // one whose worker never ran, is marked stopped here.
    EncoderState state = m_state;
    while (!IsFinalEncoderState(state) && !m_state.compare_exchange_weak(state, kEncoderStopped))
    {
    }
    return 0;
}

int CFFMpegEncoder::Pause()
{
    m_pauseRequested = true;
    // Only a running job pauses; one that has ended keeps its final state. Between two runs the
    // request is kept and applied when the next run starts.
    EncoderState expected = kEncoderRunning;
    m_state.compare_exchange_strong(expected, kEncoderPaused);
    return 0;
}

int CFFMpegEncoder::Resume()
{
    m_pauseRequested = false;
    EncoderState expected = kEncoderPaused;
    m_state.compare_exchange_strong(expected, kEncoderRunning);
    return 0;
}

int CFFMpegEncoder::OwnsLogContext(void* context)
{
    if (!context)
        return 0;
    // Never wait here: a thread that holds the job lock may be logging while this walk holds the
    // registry lock. Without the lock only the job's own log context is recognised.
    // The job's own lines belong to it until it shows its end, also between two runs (state 0)
    // where they carry the reason of a failure. Its end is shown only after its last line.
    EncoderState state = m_state;
    bool working = state == kEncoderRunning || state == kEncoderPaused;
    if (!working && state != kEncoderIdle)
        return 0;
    if (context == this || context == &m_logContext)
        return 1;
    std::unique_lock<std::recursive_mutex> lock(m_jobLock, std::try_to_lock);
    if (!working)
        return 0;
    if (!lock.owns_lock())
        return 0;
    for (AVCodecContext* options : m_context.codecOptions)
    {
        if (options && context == options)
            return 1;
    }
    return 0;
}

float CFFMpegEncoder::GetProgress()
{
    float progress = m_progress;
    EncoderState state = m_state;
    bool running = state == kEncoderRunning || state == kEncoderPaused || state == kEncoderIdle;
    if (running && !(progress >= 0.0f && progress <= kProgressRunningMax))
        return isnan(progress) || progress < 0.0f ? 0.0f : kProgressRunningMax;
    return progress;
}

void CFFMpegEncoder::UpdateProgress(double outputSeconds, int64_t inputDurationMicroseconds)
{
    if (inputDurationMicroseconds <= 0 || !isfinite(outputSeconds))
        return;
    float position = (float)(m_segmentStartOffset + outputSeconds);
    double percent = position * kMicroseconds * 99.0 / (double)inputDurationMicroseconds;
    if (!(percent >= 0.0))
        percent = 0.0;
    if (percent > kProgressRunningMax)
        percent = kProgressRunningMax;
    float current = m_progress;
    if ((float)percent > current)
        m_progress = (float)percent;
}

bool CFFMpegEncoder::ResolvePaths()
{
    if (!EngineToUnixPath(m_settings.sourcePath, &m_sourceUnixPath))
    {
        av_log(LogContext(), AV_LOG_ERROR, "%s: No such file or directory\n", m_settings.sourcePath);
        return false;
    }
    if (!EngineToUnixPath(m_settings.outputPath, &m_outputUnixPath))
    {
        av_log(LogContext(), AV_LOG_ERROR, "%s: No such file or directory\n", m_settings.outputPath);
        return false;
    }
    return !OutputOverwritesSource(m_outputUnixPath);
}

bool CFFMpegEncoder::OutputOverwritesSource(const std::string& outputUnixPath)
{
    if (!IsSameFile(outputUnixPath, m_sourceUnixPath))
        return false;
    av_log(LogContext(), AV_LOG_ERROR, "%s: the output file is the source file; nothing was written\n",
           m_settings.outputPath);
    return true;
}

void CFFMpegEncoder::RemoveWrittenOutputs()
{
    for (const std::string& name : m_writtenOutputs)
    {
        struct stat info;
        if (stat(name.c_str(), &info) == 0 && S_ISREG(info.st_mode)) // never a device such as /dev/null
            remove(name.c_str());
    }
    m_writtenOutputs.clear();
}

int CFFMpegEncoder::PrepareSegment()
{
    std::string name = m_outputUnixPath;
    if (IsSegmentedJob(m_settings.argumentText))
    {
        size_t slash = m_outputUnixPath.rfind('/');
        size_t dot = m_outputUnixPath.rfind('.');
        if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
            return -1;
        std::string stem = m_outputUnixPath.substr(0, dot);
        std::string extension = m_outputUnixPath.substr(dot + 1);
        std::vector<char> buffer(stem.size() + extension.size() + 32);
        snprintf(buffer.data(), buffer.size(), kSegmentNameFormat, stem.c_str(), m_segmentNumber, extension.c_str());
        name = buffer.data();
        if (OutputOverwritesSource(name))
            return -1;
    }
    if (ParseRun(m_settings.argumentText, "\"" + name + "\"") < 0)
        return -1;
    m_writtenOutputs.push_back(name);
    return 0;
}

int CFFMpegEncoder::ParseRun(const std::string& arguments, const std::string& outputPart)
{
    std::string commandLine =
        std::string(kProgramLabel) + " -y -i \"" + m_sourceUnixPath + "\" " + arguments + " " + outputPart;
    int result;
    {
        std::lock_guard<std::mutex> guard(g_optionParserLock);
        result = ParseJobCommandLine(commandLine.c_str(), &m_context);
    }
    if (result < 0)
        return -1;
    SeekToSegmentStart();
    return 0;
}

void CFFMpegEncoder::SeekToSegmentStart()
{
    m_context.startTime += llround(m_segmentStartOffset * kMicroseconds);
    if (m_context.startTime <= 0 || m_context.inputFileCount < 1 || !m_context.inputFiles[0])
        return;
    AVFormatContext* input = m_context.inputFiles[0];
    int64_t target = m_context.startTime;
    if (input->start_time != AV_NOPTS_VALUE)
        target += input->start_time;
    av_seek_frame(input, -1, target, AVSEEK_FLAG_BACKWARD);
}

void SetThreadJob(CFFMpegEncoder* job)
{
    t_currentJob = job;
}

int EngineLogToCurrentJob(int level, const char* text)
{
    if (!t_currentJob || !text || !EngineLogReachesJob(t_currentJob->LogContext()))
        return 0;
    av_log(t_currentJob->LogContext(), level, "%s", text);
    return 1;
}

int CFFMpegEncoder::Run()
{
    CurrentJobScope current(this);
    try
    {
        if (!ResolvePaths())
            m_stopFlag = 1;
        while (!m_stopFlag)
        {
            ++m_segmentNumber;
            m_inputFinished = 0;
            // The release after a run leaves the job idle: it runs (or stays paused) again.
            m_state = m_pauseRequested ? kEncoderPaused : kEncoderRunning;
            if (PrepareSegment() < 0)
                break;
            double offsetBefore = m_segmentStartOffset;
            m_emptyStreams = 0;
            int result = TranscodeMain(this, &m_context);
            ReleaseTranscodeContext(this, 0);
            EngineFlushLog();
            if (result < 0 || m_emptyStreams || !ContinueAfterRun(offsetBefore))
                break;
        }
    }
    catch (...)
    {
        try
        {
            ReleaseTranscodeContext(this, 0);
        }
        catch (...)
        {
        }
        EndRun(m_faulted ? kEncoderFailed : kEncoderException);
        return -1;
    }
    EndRun(OutputComplete() ? kEncoderDone : kEncoderFailed);
    return 0;
}

void CFFMpegEncoder::CountRunning(bool running)
{
    if (m_counted.exchange(running) == running)
        return;
    if (running)
        RunningConversions::Enter();
    else
        RunningConversions::Leave();
}

void CFFMpegEncoder::NoteFault(DWORD code, const char* where)
{
    m_faulted = true;
    av_log(LogContext(), AV_LOG_ERROR, "%s (exception %08lx) in the %s; the conversion ends\n", FaultName(code),
           static_cast<unsigned long>(code), where);
}

void CFFMpegEncoder::OnFault(DWORD code)
{
    // A fault outside the transcode loop's own guard (which ends its stages first): the context
    // is left as it is, since releasing what the fault may have damaged could fault again.
    NoteFault(code, "conversion job");
    EndRun(kEncoderFailed);
}

void CFFMpegEncoder::EndRun(EncoderState state)
{
    // A run that a stop ended short has not failed.
    if (state == kEncoderFailed && m_stopAsked && !m_faulted)
        state = kEncoderStopped;
    if (state != kEncoderDone)
    {
        try
        {
            OnOutputIncomplete();
            // A failed job leaves nothing that could pass for its result; a stopped one keeps
            // what it wrote.
            if (!m_stopFlag)
                RemoveWrittenOutputs();
        }
        catch (...)
        {
        }
    }
    // Every line of the job reaches its log before the job shows its end.
    EngineFlushLog();
    CountRunning(false);
    m_progress = state == kEncoderDone ? kProgressDone : kProgressFailed;
    m_state = state;
}

bool CFFMpegEncoder::ContinueAfterRun(double offsetBefore)
{
    if (m_inputFinished)
        return false;
    // A run that ended at a limit without getting anywhere would repeat for ever.
    if (!m_stopFlag && m_segmentStartOffset <= offsetBefore)
    {
        av_log(LogContext(), AV_LOG_ERROR, "Output segment %d is empty\n", m_segmentNumber);
        return false;
    }
    return true;
}

bool CFFMpegEncoder::OutputComplete()
{
    return m_inputFinished != 0 && !m_emptyStreams;
}

void CFFMpegEncoder::FreeFrameCache()
{
    sws_freeContext(m_toBgra);
    sws_freeContext(m_fromBgra);
    m_toBgra = nullptr;
    m_fromBgra = nullptr;
    av_freep(&m_bgraData[0]);
    memset(m_bgraData, 0, sizeof(m_bgraData));
    memset(m_bgraLinesize, 0, sizeof(m_bgraLinesize));
    m_cacheFormat = AV_PIX_FMT_NONE;
    m_cacheWidth = 0;
    m_cacheHeight = 0;
}

uint8_t* ConvertFrameToBGRA(CFFMpegEncoder* job, AVFrame* picture, int pixelFormat, int width, int height)
{
    if (!job || !picture || width <= 0 || height <= 0)
        return nullptr;
    bool cached = job->m_toBgra != nullptr;
    // The decorations draw into rows without gaps: a BGRA frame is used in place only when its rows have none.
    if (pixelFormat == AV_PIX_FMT_BGRA && !cached && picture->linesize[0] == width * 4)
        return picture->data[0];
    if (!cached || job->m_cacheFormat != pixelFormat || job->m_cacheWidth != width || job->m_cacheHeight != height)
    {
        job->FreeFrameCache();
        AVPixelFormat format = (AVPixelFormat)pixelFormat;
        job->m_toBgra = sws_getContext(width, height, format, width, height, AV_PIX_FMT_BGRA, SWS_SPLINE, nullptr,
                                       nullptr, nullptr);
        job->m_fromBgra = sws_getContext(width, height, AV_PIX_FMT_BGRA, width, height, format, SWS_SPLINE, nullptr,
                                         nullptr, nullptr);
        if (!job->m_toBgra || !job->m_fromBgra ||
            av_image_alloc(job->m_bgraData, job->m_bgraLinesize, width, height, AV_PIX_FMT_BGRA, 1) < 0)
        {
            job->FreeFrameCache();
            return nullptr;
        }
        job->m_cacheFormat = pixelFormat;
        job->m_cacheWidth = width;
        job->m_cacheHeight = height;
    }
    sws_scale(job->m_toBgra, picture->data, picture->linesize, 0, height, job->m_bgraData, job->m_bgraLinesize);
    return job->m_bgraData[0];
}
