// The abstract conversion job: what the job registry keeps under a job id and what the task
// manager pauses, resumes and polls. State and progress are the whole report of a running job.
#pragma once

#include "engine/JobSettings.h"

#include <atomic>

// A job's state integer, read directly by the task manager.
typedef int EncoderState;
const EncoderState kEncoderIdle = 0; // not started, or between two converter runs
const EncoderState kEncoderRunning = 1;
const EncoderState kEncoderPaused = 2;
const EncoderState kEncoderDone = 4;
const EncoderState kEncoderFailed = 5;
const EncoderState kEncoderStopped = 6;
const EncoderState kEncoderException = -1; // ended by an exception

// Whether the state is one a job ends in (done, failed, stopped or ended by an exception).
inline bool IsFinalEncoderState(EncoderState state)
{
    return state == kEncoderDone || state == kEncoderFailed || state == kEncoderStopped || state == kEncoderException;
}

// Progress in percent: at most 99 while running, exactly these values at the end.
const float kProgressDone = 100.01f;
const float kProgressFailed = -1.0f;
const float kProgressRunningMax = 99.0f;

class CEncoder
{
public:
    CEncoder();
    virtual ~CEncoder();

    // >= 0 started, < 0 failed.
    virtual int Start(const JobSettings* settings) = 0;
    virtual int Stop() = 0;
    virtual int Pause() { return 0; }
    virtual int Resume() { return 0; }
    virtual int ReservedOperation() { return 0; }
    // Whether a log line with this FFmpeg log context belongs to the job.
    virtual int OwnsLogContext(void* context) { (void)context; return 0; }
    virtual float GetProgress() { return m_progress; }
    // True when the job's worker thread has ended. A job that still reports running or paused
    // then never ends by itself: its thread died without giving its result.
    virtual bool WorkerEnded() { return false; }

    JobSettings m_settings;
    std::atomic<float> m_progress;
    std::atomic<EncoderState> m_state;
};
