// Shared helpers of the engine's job tests: job settings from test paths, waiting for a job's end
// and a log sink that records what reaches it.
#pragma once

#include "RwTest.h"

#include "engine/Encoder.h"
#include "engine/Engine.h"
#include "engine/JobSettings.h"
#include "engine/Thread.h"

#include <string.h>

#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace rwtest
{
// Job settings as the task manager fills them: Win32 paths in the ANSI code page. An empty
// output keeps the field empty.
inline JobSettings MakeJobSettings(const std::string& sourceUnix, const std::string& outputUnix,
                                   const std::string& arguments = std::string())
{
    JobSettings settings;
    memset(&settings, 0, sizeof(settings));
    std::string source = ToWin32Path(sourceUnix);
    std::string output = outputUnix.empty() ? std::string() : ToWin32Path(outputUnix);
    if (source.empty())
        source = "Z:" + sourceUnix; // a missing file's folder may be missing too
    strncpy(settings.sourcePath, source.c_str(), sizeof(settings.sourcePath) - 1);
    strncpy(settings.outputPath, output.c_str(), sizeof(settings.outputPath) - 1);
    strncpy(settings.argumentText, arguments.c_str(), sizeof(settings.argumentText) - 1);
    return settings;
}

inline bool IsJobFinished(EncoderState state)
{
    return state != kEncoderRunning && state != kEncoderPaused && state != kEncoderIdle;
}

// Polls the job every 10 ms until it has ended; gives its state (kEncoderRunning on time-out).
inline EncoderState WaitForJobEnd(int jobId, DWORD timeoutMilliseconds = 60000)
{
    DWORD start = ::GetTickCount();
    for (;;)
    {
        CEncoder* job = EngineFindJob(jobId);
        if (!job)
            return kEncoderFailed;
        EncoderState state = job->m_state;
        if (IsJobFinished(state))
            return state;
        if (::GetTickCount() - start > timeoutMilliseconds)
            return kEncoderRunning;
        ::Sleep(10);
    }
}

// Records every line handed to the engine's log sink.
class LogRecorder
{
public:
    LogRecorder()
    {
        CThread::MarkWin32Thread();
        Lines().clear();
        OffWin32Calls() = 0;
        g_engineLogSink = Record;
    }
    ~LogRecorder()
    {
        g_engineLogSink = nullptr;
        EXPECT_EQ(0, OffWin32Calls());
    }

    static std::vector<std::pair<int, std::string>> Snapshot()
    {
        std::lock_guard<std::mutex> guard(Lock());
        return Lines();
    }
    static int CountFor(int jobId, const std::string& text)
    {
        int count = 0;
        for (const auto& line : Snapshot())
            count += line.first == jobId && line.second == text;
        return count;
    }
    static int CountContaining(const std::string& part)
    {
        int count = 0;
        for (const auto& line : Snapshot())
            count += line.second.find(part) != std::string::npos;
        return count;
    }

    // Calls of the sink on threads that may not call Win32: must stay 0.
    static int& OffWin32Calls()
    {
        static int calls = 0;
        return calls;
    }

private:
    static int Record(int jobId, const char* text)
    {
        if (!CThread::IsWin32Thread())
            ++OffWin32Calls();
        std::lock_guard<std::mutex> guard(Lock());
        Lines().emplace_back(jobId, text);
        return 0;
    }
    static std::mutex& Lock()
    {
        static std::mutex lock;
        return lock;
    }
    static std::vector<std::pair<int, std::string>>& Lines()
    {
        static std::vector<std::pair<int, std::string>> lines;
        return lines;
    }
};
}
