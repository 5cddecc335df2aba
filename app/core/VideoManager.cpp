#include "app/core/VideoManager.h"

#include "app/core/HandleHolder.h"
#include "app/core/Helpers.h"
#include "engine/Encoder.h"
#include "engine/Engine.h"
#include "engine/media/MediaInfo.h"
#include "engine/preview/PlayThread.h"

#include <algorithm>

std::vector<ConvertTask*> g_tasks;
INT32 g_lastTaskId = 1000;
INT32 g_maxTasks = 3;
bool g_deleteUncompleted = true;

namespace
{
const WCHAR kKeyMediaProbe[] = L"err_media_probe";
const WCHAR kKeyPathAnsi[] = L"err_path_ansi";
const WCHAR kKeyFileMissing[] = L"err_file_missing";
const WCHAR kKeyFolder[] = L"err_add_folder";
const WCHAR kKeyEmptyFile[] = L"err_add_empty";
const WCHAR kKeyTextFile[] = L"err_add_text";
// How much of a file is read to tell text from data.
const DWORD kTextSniffBytes = 4096;
const char kSourceMissing[] = "Reelwright: the source file no longer exists\n";
const char kJobNotCreated[] = "Reelwright: the conversion job could not be started\n";
const char kJobDied[] = "Reelwright: the conversion ended without a result (its worker thread ended)\n";
const double kProgressDoneAbove = 100.0;

CString g_lastAddError;

// Text in any 8-bit encoding or with a UTF-16 byte-order mark: no control characters but the ones
// of line layout.
bool LooksLikeText(const BYTE* bytes, DWORD count)
{
    if (count >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF)))
        return true;
    for (DWORD i = 0; i < count; ++i)
        if (bytes[i] < 0x20 && bytes[i] != '\t' && bytes[i] != '\n' && bytes[i] != '\r' && bytes[i] != '\f')
            return false;
    return true;
}

// Why a path the engine could not read is no media file, as a language key.
const WCHAR* UnreadableReason(const CString& path)
{
    const DWORD attributes = ::GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return kKeyFileMissing;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return kKeyFolder;
    CFileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    BYTE head[kTextSniffBytes];
    DWORD read = 0;
    if (!file.Valid() || !::ReadFile(file.Get(), head, sizeof head, &read, nullptr))
        return kKeyMediaProbe;
    if (read == 0)
        return kKeyEmptyFile;
    return LooksLikeText(head, read) ? kKeyTextFile : kKeyMediaProbe;
}

void Widen(const char* text, WCHAR* out, int capacity)
{
    out[0] = 0;
    if (::MultiByteToWideChar(CP_ACP, 0, text, -1, out, capacity) <= 0)
        out[0] = 0;
    out[capacity - 1] = 0;
}

void CopyMediaInfo(const MediaInfo& from, TaskMediaInfo& to)
{
    to.duration = from.duration;
    to.fileSize = from.fileSize;
    Widen(from.container, to.container, kTaskMediaTextSize);
    to.hasVideo = from.hasVideo;
    Widen(from.videoCodec, to.videoCodec, kTaskMediaTextSize);
    to.frameRate = from.frameRate;
    to.width = from.width;
    to.height = from.height;
    Widen(from.pixelFormat, to.pixelFormat, kTaskMediaTextSize);
    to.videoBitRate = from.videoBitRate;
    to.hasAudio = from.hasAudio;
    Widen(from.audioCodec, to.audioCodec, kTaskMediaTextSize);
    to.sampleRate = from.sampleRate;
    to.bitsPerSample = from.bitsPerSample;
    to.channels = from.channels;
    Widen(from.sampleFormat, to.sampleFormat, kTaskMediaTextSize);
    to.audioBitRate = from.audioBitRate;
    to.hasSubtitles = from.hasSubtitles;
    to.reserved = from.reserved;
    Widen(from.subtitleCodec, to.subtitleCodec, kTaskMediaTextSize);
}

CString WidenPath(const char* path)
{
    WCHAR wide[MAX_PATH] = {};
    if (!path[0] || ::MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH) <= 0)
        return CString();
    return wide;
}

// The job's output by its long name: an output the system code page cannot spell reaches the
// engine by its short name, and the engine names the segments after the long one.
CString LongOutputPath(const char* outputPath)
{
    const CString output = WidenPath(outputPath);
    WCHAR longPath[MAX_PATH] = {};
    const DWORD length = output.IsEmpty() ? 0 : ::GetLongPathNameW(output, longPath, MAX_PATH);
    return length > 0 && length < MAX_PATH ? CString(longPath) : output;
}

// The path of the output's segment with that number.
CString SegmentPath(const CString& output, int number)
{
    const int dot = output.ReverseFind(L'.');
    if (dot <= output.ReverseFind(L'\\'))
        return CString();
    CStringA middle; // " - 01."
    middle.Format(kSegmentNameFormat, "", number, "");
    return output.Left(dot) + WidenPath(middle) + output.Mid(dot + 1);
}

bool IsEmptyFile(const CString& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return ::GetFileAttributesExW(path, GetFileExInfoStandard, &data) &&
           !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && data.nFileSizeHigh == 0 && data.nFileSizeLow == 0;
}

// Cleans up after the task's job ended. The name the task manager reserved goes when it stayed
// empty (a segmented job never writes it). An unfinished job's output, with every segment it
// wrote, goes when the "del_uncompleted" setting says so.
void ClearJobOutput(ConvertTask& task, bool unfinished)
{
    const CString output = LongOutputPath(task.m_job.outputPath);
    if (output.IsEmpty())
        return;
    const bool deletePartial = unfinished && g_deleteUncompleted;
    if (deletePartial || IsEmptyFile(output))
        ::DeleteFileW(output);
    if (deletePartial && IsSegmentedJob(task.m_job.argumentText))
    {
        // The name was reserved only while no segment of it existed: the numbered files from 1 up
        // are this job's.
        for (int number = 1;; ++number)
        {
            const CString segment = SegmentPath(output, number);
            if (segment.IsEmpty() || !::DeleteFileW(segment))
                break;
        }
    }
}

// Ends the task's engine job; the job's state before that, or -1 when the engine knows no job.
int DestroyJob(const ConvertTask& task)
{
    CEncoder* job = task.m_jobId > 0 ? EngineFindJob(task.m_jobId) : nullptr;
    if (!job)
        return -1;
    const int state = job->m_state;
    EngineDestroyJob(task.m_jobId);
    return state;
}

// Starts or resumes one queued task; true when it runs afterwards.
bool StartQueued(ConvertTask& task)
{
    CEncoder* job = task.m_jobId > 0 ? EngineFindJob(task.m_jobId) : nullptr;
    if (job && job->m_state == kEncoderPaused)
    {
        task.m_state = job->Resume() < 0 ? kTaskFailed : kTaskRunning;
        return task.m_state == kTaskRunning;
    }
    // A done or failed task queued again still has its finished job: end it before the new one.
    if (job)
        EngineDestroyJob(task.m_jobId);
    task.m_jobId = -1;
    if (!FileExists(task.m_sourcePath))
    {
        task.m_log += kSourceMissing;
        task.m_state = kTaskFailed;
        return false;
    }
    if (task.BuildJob(task.m_outputFolder) < 0)
    {
        task.m_state = kTaskFailed;
        return false;
    }
    task.PrepareSubtitle();
    const int jobId = EngineCreateJob(&task.m_job);
    if (jobId <= 0)
    {
        ClearJobOutput(task, true);
        task.m_log += kJobNotCreated;
        task.m_state = kTaskFailed;
        return false;
    }
    task.m_jobId = jobId;
    task.m_progress = 0.0f;
    task.m_startClock = ::GetTickCount();
    task.m_state = kTaskRunning;
    return true;
}

// Pauses the task's job; true when the task is paused afterwards.
bool PauseJob(ConvertTask& task)
{
    CEncoder* job = EngineFindJob(task.m_jobId);
    if (!job || job->Pause() < 0)
        return false;
    task.m_state = kTaskPaused;
    return true;
}

// Applies a command to every listed task and, when it changed one, reschedules from the first
// listed task; -1 for an empty list.
template <typename Command> int ForEachListed(const std::vector<int>& ids, Command command)
{
    if (ids.empty())
        return -1;
    bool changed = false;
    for (int id : ids)
    {
        ConvertTask* task = nullptr;
        if (CVideoManager::FindTask(id, &task) && command(*task))
            changed = true;
    }
    const int first = CVideoManager::IndexOfTask(ids.front());
    if (changed && first >= 0)
        CVideoManager::Schedule(first);
    return 0;
}

void FreeTaskAt(size_t index)
{
    ConvertTask* task = g_tasks[index];
    const int state = DestroyJob(*task);
    if (state >= 0)
        ClearJobOutput(*task, state == kEncoderRunning || state == kEncoderPaused);
    delete task;
    g_tasks.erase(g_tasks.begin() + (std::ptrdiff_t)index);
}
} // namespace

int CVideoManager::ProbeMediaInfo(const CString& sourcePath, TaskMediaInfo& info)
{
    char path[kJobPathCapacity];
    if (!ToEnginePath(sourcePath, path, kJobPathCapacity))
        return -2;
    MediaInfo media = {};
    const int result = EngineGetMediaInfo(path, &media);
    if (result >= 0)
        CopyMediaInfo(media, info);
    return result;
}

int CVideoManager::AddTask(const CString& displayName, const CString& sourcePath, const ConvertSetting& setting)
{
    g_lastAddError.Empty();
    ConvertTask* task = new ConvertTask();
    const int probe = ProbeMediaInfo(sourcePath, task->m_mediaInfo);
    if (probe < 0)
    {
        // A path the system code page cannot spell would name another file: refuse it.
        g_lastAddError = probe == -2 ? kKeyPathAnsi : UnreadableReason(sourcePath);
        delete task;
        return 0;
    }
    task->m_id = ++g_lastTaskId;
    task->m_snapshotCount = 0;
    task->m_displayName = displayName;
    task->m_sourcePath = sourcePath;
    task->m_setting.CopyFrom(setting);
    task->m_durationText = FormatDuration((int)(task->m_mediaInfo.duration / 1000000.0));
    ToEnginePath(sourcePath, task->m_job.sourcePath, kJobPathCapacity);
    task->m_state = kTaskIdle;
    g_tasks.push_back(task);
    return task->m_id;
}

CString CVideoManager::LastAddError()
{
    return g_lastAddError;
}

int CVideoManager::FindTask(int taskId, ConvertTask** task)
{
    const int index = IndexOfTask(taskId);
    if (index < 0)
        return 0;
    *task = g_tasks[(size_t)index];
    return 1;
}

int CVideoManager::IndexOfTask(int taskId)
{
    for (size_t i = 0; i < g_tasks.size(); ++i)
        if (g_tasks[i]->m_id == taskId)
            return (int)i;
    return -1;
}

int CVideoManager::ReorderTasks(const std::vector<int>& ids)
{
    if (ids.size() != g_tasks.size())
        return 0;
    for (size_t i = 0; i < ids.size(); ++i)
    {
        const int at = IndexOfTask(ids[i]);
        if (at >= 0 && (size_t)at != i)
            std::swap(g_tasks[i], g_tasks[(size_t)at]);
    }
    return 1;
}

int CVideoManager::RemoveTask(int taskId)
{
    const int index = IndexOfTask(taskId);
    if (index < 0)
        return 0;
    FreeTaskAt((size_t)index);
    if (!g_tasks.empty())
        Schedule(0);
    return 1;
}

void CVideoManager::RemoveAll()
{
    while (!g_tasks.empty())
        FreeTaskAt(0);
}

int CVideoManager::StartTasks(const CString& outputFolder, const std::vector<int>& ids)
{
    if (ids.empty())
        return -1;
    for (int id : ids)
    {
        ConvertTask* task = nullptr;
        if (!FindTask(id, &task))
            continue;
        if (task->m_state != kTaskPaused && task->m_state != kTaskQueued)
            task->m_outputFolder = outputFolder;
        if (task->m_state != kTaskRunning)
            task->m_state = kTaskQueued;
    }
    ScheduleFrom(ids.front());
    return 0;
}

int CVideoManager::PauseTasks(const std::vector<int>& ids)
{
    return ForEachListed(ids, [](ConvertTask& task) { return task.m_state == kTaskRunning && PauseJob(task); });
}

int CVideoManager::StopTasks(const std::vector<int>& ids)
{
    return ForEachListed(ids, [](ConvertTask& task) {
        if (task.m_state == kTaskQueued)
        {
            task.m_state = kTaskStopped;
            return true;
        }
        if (task.m_state != kTaskRunning && task.m_state != kTaskPaused)
            return false;
        // The task's state is as old as the last poll: the job may have ended since. Once the stop
        // has ended its worker, the job's own state tells; a job that ended done keeps its file.
        CEncoder* job = EngineFindJob(task.m_jobId);
        if (job)
            job->Stop();
        if (job && job->m_state == kEncoderDone)
        {
            task.m_progress = job->GetProgress();
            task.m_state = kTaskDone;
            ClearJobOutput(task, false);
            return true;
        }
        const bool stopped = EngineDestroyJob(task.m_jobId) >= 0;
        if (stopped)
            task.m_state = kTaskStopped;
        ClearJobOutput(task, true);
        return stopped;
    });
}

int CVideoManager::Schedule(int startPosition)
{
    const int count = (int)g_tasks.size();
    if (count == 0 || startPosition < 0 || startPosition >= count)
        return -1;
    int running = CountRunning();
    if (running >= g_maxTasks)
        return -1;
    // From the start position to the end, then once from the first task up to the start.
    for (int step = 0; step < count; ++step)
    {
        ConvertTask& task = *g_tasks[(size_t)((startPosition + step) % count)];
        if (task.m_state != kTaskQueued)
            continue;
        if (StartQueued(task) && ++running >= g_maxTasks)
            break;
    }
    return running;
}

int CVideoManager::ScheduleFrom(int taskId)
{
    const int index = IndexOfTask(taskId);
    if (index >= 0)
        Schedule(index);
    return 0;
}

bool CVideoManager::EnforceMaxTasks()
{
    int running = 0;
    for (ConvertTask* task : g_tasks)
    {
        if (task->m_state != kTaskRunning)
            continue;
        if (running >= g_maxTasks)
            PauseJob(*task);
        ++running;
    }
    return running < g_maxTasks;
}

int CVideoManager::CountRunning()
{
    return (int)std::count_if(g_tasks.begin(), g_tasks.end(),
                              [](const ConvertTask* task) { return task->m_state == kTaskRunning; });
}

bool CVideoManager::AllFinished()
{
    return std::all_of(g_tasks.begin(), g_tasks.end(), [](const ConvertTask* task) {
        return task->m_state == kTaskIdle || task->m_state == kTaskDone;
    });
}

int CVideoManager::PollProgress()
{
    for (size_t i = 0; i < g_tasks.size(); ++i)
    {
        ConvertTask& task = *g_tasks[i];
        if (task.m_state != kTaskRunning)
            continue;
        CEncoder* job = EngineFindJob(task.m_jobId);
        // Read before the state: a worker that ended normally gave its final state first.
        const bool workerEnded = job && job->WorkerEnded();
        const bool died = workerEnded && !IsFinalEncoderState(job->m_state);
        task.m_progress = job && !died ? job->GetProgress() : -1.0f;
        if (died)
            task.m_log += kJobDied;
        if (task.m_progress < 0)
            task.m_state = kTaskFailed;
        else if ((double)task.m_progress > kProgressDoneAbove)
            task.m_state = kTaskDone;
        else
            continue;
        ClearJobOutput(task, died);
        Schedule((int)i);
    }
    return 0;
}

int CVideoManager::AppendLog(int jobId, const WCHAR* text)
{
    for (ConvertTask* task : g_tasks)
        if (task->m_jobId == jobId)
        {
            task->m_log += text;
            return 1;
        }
    return 0;
}

CString CVideoManager::GetThumbnail(int taskId)
{
    ConvertTask* task = nullptr;
    if (!FindTask(taskId, &task))
        return CString();
    if (!task->m_thumbnailPath.IsEmpty())
        return task->m_thumbnailPath;
    const CString name = MakeTempFileName();
    char ansiName[kJobPathCapacity];
    if (name.IsEmpty() || !ToEnginePath(name, ansiName, kJobPathCapacity) ||
        EngineMakeThumbnail(task->m_job.sourcePath, ansiName) < 0)
        return CString();
    task->m_thumbnailPath = name;
    return name;
}

bool CVideoManager::TakeSnapshot(const CString& folder, int taskId)
{
    ConvertTask* task = nullptr;
    if (!FindTask(taskId, &task))
        return false;
    CString path = folder;
    if (path.IsEmpty() || path[path.GetLength() - 1] != L'\\')
        path += L"\\";
    path += task->m_displayName;
    // The next number not taken yet, so that the snapshots of an earlier session are kept. A name
    // the system code page cannot spell is made here with the wide API, and the player writes the
    // file through its short name.
    CString name;
    do
        name.Format(L"%s (%d).bmp", (const WCHAR*)path, ++task->m_snapshotCount);
    while (OutputNameTaken(name, CString()));
    char ansiName[kJobPathCapacity];
    if (!g_playThread)
        return false;
    const bool spelled = ToAnsiText(name, ansiName, kJobPathCapacity);
    if (!spelled && !CreateForEngine(name, ansiName, kJobPathCapacity))
        return false;
    if (g_playThread->RequestSnapshot(ansiName) >= 0)
        return true;
    if (!spelled)
        ::DeleteFileW(name);
    return false;
}

int CVideoManager::DeleteTempFiles()
{
    WCHAR folder[MAX_PATH] = {};
    if (!::GetTempPathW(MAX_PATH, folder))
        return 1;
    const CString base = folder;
    std::vector<CString> names;
    WIN32_FIND_DATAW found;
    {
        CFindHandle find(::FindFirstFileW(base + L"sqv*.tmp", &found));
        if (find.Valid())
            do
                names.push_back(base + found.cFileName);
            while (::FindNextFileW(find.Get(), &found));
    }
    for (const CString& name : names)
        ::DeleteFileW(name);
    return 1;
}
