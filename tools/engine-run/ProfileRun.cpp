// engine-run --list-profiles
// engine-run --profile NAME SOURCE OUTPUT-FOLDER
// The driver's profile commands: list the categories and profiles of the program folder's
// "profiles" folder, or convert SOURCE with one profile exactly as the task manager does (its
// argument text, letterboxing and a unique output name in the folder; sources and folders whose
// names the code page cannot spell included). Prints "progress P" as it changes, then "output PATH"
// (its long name) and "state S progress P". Exit code 0 when the task ended done.
#include "ProfileRun.h"

#include "app/core/Helpers.h"
#include "app/core/Profiles.h"
#include "app/core/VideoManager.h"
#include "engine/Encoder.h"
#include "engine/Engine.h"
#include "engine/Thread.h"
#include "tools/engine-run/DriverPaths.h"

#include <stdio.h>
#include <string.h>

#include <string>

namespace
{
const DWORD kPollMilliseconds = 100;
const WCHAR kProfilesFolder[] = L"profiles";

CString FileNameOf(const CString& path)
{
    return path.Mid(path.ReverseFind(L'\\') + 1);
}

void LoadProgramProfiles(CategoryArray& categories)
{
    LoadProfiles(categories, GetAppDir() + kProfilesFolder);
}

int ListProfiles()
{
    CategoryArray categories;
    LoadProgramProfiles(categories);
    for (INT_PTR c = 0; c < categories.GetSize(); ++c)
        for (INT_PTR p = 0; p < categories[c].m_profiles.GetSize(); ++p)
            printf("%s / %s\n", Utf8(categories[c].m_name).c_str(), Utf8(categories[c].m_profiles[p].m_name).c_str());
    fflush(stdout);
    return categories.GetSize() > 0 ? 0 : 1;
}

int RunProfile(const char* name, const char* source, const char* folder, EngineLogSink sink)
{
    CategoryArray categories;
    LoadProgramProfiles(categories);
    ConvertSetting profile;
    if (!FindProfileByName(categories, FromUtf8(name), profile))
    {
        fprintf(stderr, "engine-run: no profile is named \"%s\"\n", name);
        return 1;
    }
    const CString sourcePath = DriverWin32Path(source), outputFolder = DriverWin32Path(folder);
    if (::GetFileAttributesW(outputFolder) == INVALID_FILE_ATTRIBUTES && !CreateDirectoryPath(outputFolder))
    {
        fprintf(stderr, "engine-run: the folder %s cannot be created\n", folder);
        return 1;
    }
    CThread::MarkWin32Thread();
    g_engineLogSink = sink;
    g_maxTasks = 1;
    const int id = CVideoManager::AddTask(FileNameOf(sourcePath), sourcePath, profile);
    ConvertTask* task = nullptr;
    if (!id || !CVideoManager::FindTask(id, &task))
    {
        fprintf(stderr, "engine-run: %s cannot be added (%s)\n", source, Utf8(CVideoManager::LastAddError()).c_str());
        g_engineLogSink = nullptr;
        return 1;
    }
    CVideoManager::StartTasks(outputFolder, {id});
    float lastProgress = -2.0f;
    while (task->m_state == kTaskRunning)
    {
        ::Sleep(kPollMilliseconds);
        EngineFlushLog();
        CVideoManager::PollProgress();
        if (task->m_state == kTaskRunning && task->m_progress != lastProgress)
        {
            printf("progress %.2f\n", task->m_progress);
            fflush(stdout);
            lastProgress = task->m_progress;
        }
    }
    EngineFlushLog();
    CEncoder* job = EngineFindJob(task->m_jobId);
    const EncoderState state = job ? (EncoderState)job->m_state : kEncoderFailed;
    fputs(Utf8(task->m_log).c_str(), stderr);
    printf("output %s\n", DriverDisplayPath(task->m_job.outputPath).c_str());
    printf("state %d progress %.2f\n", state, job ? job->GetProgress() : kProgressFailed);
    fflush(stdout);
    const bool done = task->m_state == kTaskDone;
    CVideoManager::RemoveAll();
    g_engineLogSink = nullptr;
    return done ? 0 : 1;
}
} // namespace

bool IsProfileCommand(int argc, char** argv)
{
    return argc >= 2 && (!strcmp(argv[1], "--list-profiles") || !strcmp(argv[1], "--profile"));
}

int RunProfileCommand(int argc, char** argv, EngineLogSink sink)
{
    if (argc == 2 && !strcmp(argv[1], "--list-profiles"))
        return ListProfiles();
    if (argc == 5 && !strcmp(argv[1], "--profile"))
        return RunProfile(argv[2], argv[3], argv[4], sink);
    fprintf(stderr, "usage: engine-run --list-profiles\n"
                    "       engine-run --profile NAME SOURCE OUTPUT-FOLDER\n");
    return 2;
}
