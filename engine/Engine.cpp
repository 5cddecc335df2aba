#include "engine/Engine.h"

#include "engine/EncoderFactory.h"
#include "engine/converter/FFMpegEncoder.h"
#include "engine/Thread.h"
#include "engine/UnixPath.h"
#include "platform/mfc/ExitSequence.h"

#include <dlfcn.h>
#include <stdio.h>
#include <string.h>

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

extern "C"
{
#include <libavdevice/version_major.h>
#include <libavutil/log.h>
#include <libavutil/macros.h>
}

std::atomic<EngineLogSink> g_engineLogSink(nullptr);
std::atomic<int> g_backgroundConversion(0);
std::atomic<int> g_pipelinedConversion(1);
std::mutex g_optionParserLock;

namespace
{
const int kLogLineCapacity = 4096;
const size_t kMaxQueuedLogLines = 256;

// The job registry: walked by every thread that logs, changed by the UI thread. A job is erased
// only after it has stopped, and always under the lock, so a walker never meets a deleted job.
std::mutex g_jobMapLock;
int g_nextJobId = kFirstJobId - 1;

std::map<int, CEncoder*>& JobMap()
{
    // Never destroyed: static destructors run after Wine has detached its DLLs.
    static std::map<int, CEncoder*>* map = new std::map<int, CEncoder*>;
    return *map;
}

// Lines logged on threads that may not call Win32, waiting for a Win32 thread to deliver them.
struct QueuedLogLine
{
    int jobId;
    std::string text;
};
std::mutex g_logQueueLock;

std::deque<QueuedLogLine>& LogQueue()
{
    static std::deque<QueuedLogLine>* queue = new std::deque<QueuedLogLine>;
    return *queue;
}

bool IsExtension(const char* extension, const char* name)
{
    return ::lstrcmpiA(extension, name) == 0;
}

// The extension of the output's real name, with its ".": a short name such as "CLIP~1.RMV" stands
// for a file whose long name ends in ".rmvb", and the long name chooses the job. Empty when the
// file name has none.
std::string OutputExtension(const char* outputPath)
{
    std::string unixPath;
    const std::string path = EngineToUnixPath(outputPath, &unixPath) ? unixPath : std::string(outputPath);
    const size_t dot = path.rfind('.');
    const size_t separator = path.find_last_of("/\\");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator))
        return std::string();
    return path.substr(dot);
}

CEncoder* CreateJobForOutput(const char* extension)
{
    if (IsExtension(extension, ".rmvb") || IsExtension(extension, ".rm") || IsExtension(extension, ".ra"))
        return CreateHelixEncoder();
    if (IsExtension(extension, ".dpg"))
        return CreateDpgEncoder();
    return new CFFMpegEncoder();
}

std::vector<int> JobsOwningContext(void* context)
{
    std::vector<int> ids;
    std::lock_guard<std::mutex> guard(g_jobMapLock);
    for (const auto& entry : JobMap())
    {
        if (entry.second->OwnsLogContext(context))
            ids.push_back(entry.first);
    }
    return ids;
}

void ShutdownAtExit(void*)
{
    EngineShutdown();
}

// Runs the start-up when the engine is linked into a program.
struct EngineStartupAtLoad
{
    EngineStartupAtLoad() { EngineStartup(); }
} g_engineStartupAtLoad;
}

void EngineStartup()
{
    static std::once_flag once;
    std::call_once(once, [] {
        av_log_set_callback(FFmpegLogCallback);
        AfxRegisterExitHandler(ShutdownAtExit, nullptr);
    });
}

bool EngineRegisterDevices()
{
    static std::once_flag once;
    static bool registered = false;
    std::call_once(once, [] {
        void* library = dlopen("libavdevice.so." AV_STRINGIFY(LIBAVDEVICE_VERSION_MAJOR), RTLD_NOW | RTLD_GLOBAL);
        void (*registerAll)() = library ? reinterpret_cast<void (*)()>(dlsym(library, "avdevice_register_all")) : nullptr;
        if (registerAll)
            registerAll();
        registered = registerAll != nullptr;
    });
    return registered;
}

void EngineShutdown()
{
    EngineDestroyAllJobs();
}

int EngineCreateJob(const JobSettings* settings)
{
    try
    {
        CThread::MarkWin32Thread();
        if (!settings)
            return -1;
        size_t length = strnlen(settings->outputPath, sizeof(settings->outputPath));
        if (length == sizeof(settings->outputPath))
            return -1;
        const std::string extension = OutputExtension(settings->outputPath);
        if (extension.empty())
            return -1;
        std::unique_ptr<CEncoder> job(CreateJobForOutput(extension.c_str()));
        if (!job)
            return -1;
        // Registered before its worker starts, so that the worker's first lines already find
        // their job.
        int id;
        {
            std::lock_guard<std::mutex> guard(g_jobMapLock);
            JobMap().emplace(g_nextJobId + 1, job.get());
            id = ++g_nextJobId;
        }
        if (job->Start(settings) < 0)
        {
            // Stopped outside the registry lock: the worker may log while it ends.
            job->Stop();
            std::lock_guard<std::mutex> guard(g_jobMapLock);
            JobMap().erase(id);
            if (g_nextJobId == id)
                --g_nextJobId; // a job that never ran uses no id
            return -1;
        }
        job.release();
        return id;
    }
    catch (...)
    {
        return -1;
    }
}

CEncoder* EngineFindJob(int jobId)
{
    try
    {
        std::lock_guard<std::mutex> guard(g_jobMapLock);
        auto found = JobMap().find(jobId);
        return found == JobMap().end() ? nullptr : found->second;
    }
    catch (...)
    {
        return nullptr;
    }
}

int EngineDestroyJob(int jobId)
{
    try
    {
        CThread::MarkWin32Thread();
        CEncoder* job = EngineFindJob(jobId);
        if (!job)
            return -1;
        // Stop without the registry lock: the worker may log while it ends.
        job->Stop();
        {
            std::lock_guard<std::mutex> guard(g_jobMapLock);
            JobMap().erase(jobId);
        }
        delete job;
        EngineFlushLog();
        return 0;
    }
    catch (...)
    {
        return -1;
    }
}

int EngineDestroyAllJobs()
{
    std::vector<int> ids;
    try
    {
        std::lock_guard<std::mutex> guard(g_jobMapLock);
        for (const auto& entry : JobMap())
            ids.push_back(entry.first);
    }
    catch (...)
    {
        return 0;
    }
    for (int id : ids)
        EngineDestroyJob(id);
    return 0;
}

void FFmpegLogCallback(void* context, int level, const char* format, va_list args)
{
    if (level > av_log_get_level() || !format)
        return;
    char line[kLogLineCapacity];
    va_list copy;
    va_copy(copy, args);
    vsnprintf(line, sizeof(line), format, copy);
    va_end(copy);
    EngineDispatchLog(context, line);
}

int EngineDispatchLog(void* context, const char* text)
{
    try
    {
        EngineLogSink sink = g_engineLogSink;
        if (!sink)
            return -1;
        if (!context || !text)
            return 0;
        std::vector<int> ids = JobsOwningContext(context);
        if (CThread::IsWin32Thread())
        {
            EngineFlushLog();
            for (int id : ids)
                sink(id, text);
            return 0;
        }
        std::lock_guard<std::mutex> guard(g_logQueueLock);
        for (int id : ids)
        {
            if (LogQueue().size() < kMaxQueuedLogLines)
                LogQueue().push_back({id, text});
        }
        return 0;
    }
    catch (...)
    {
        return 0;
    }
}

int EngineLogReachesJob(void* context)
{
    try
    {
        return g_engineLogSink.load() && !JobsOwningContext(context).empty() ? 1 : 0;
    }
    catch (...)
    {
        return 0;
    }
}

void EngineFlushLog()
{
    if (!CThread::IsWin32Thread())
        return;
    try
    {
        std::deque<QueuedLogLine> lines;
        {
            std::lock_guard<std::mutex> guard(g_logQueueLock);
            lines.swap(LogQueue());
        }
        EngineLogSink sink = g_engineLogSink;
        if (!sink)
            return;
        for (const QueuedLogLine& line : lines)
            sink(line.jobId, line.text.c_str());
    }
    catch (...)
    {
    }
}
