// engine-run [--args "ARGUMENT TEXT"] [--parallel N] SOURCE OUTPUT
// (and the profile commands of ProfileRun.cpp)
// Runs N conversion jobs side by side through the engine interface, as the program does: job
// settings filled, job created, progress polled every 100 ms. Prints "progress P" whenever the
// (mean) progress changes, then "state S progress P" for each job. Exit code 0 when every job
// ended done. SOURCE and OUTPUT may be Unix or Win32 paths in any script: they reach the engine as
// the task manager hands them over (a name the code page cannot spell by its short name); with
// N > 1 the outputs are numbered ("out-1.mp4", "out-2.mp4", ...). The jobs' log lines go to the
// standard error stream.
// engine-run --info SOURCE and engine-run --thumb SOURCE OUT.bmp: see EngineRunMedia.h.
#include "ProfileRun.h"
#include "engine/Encoder.h"
#include "engine/Engine.h"
#include "engine/Thread.h"
#include "tools/engine-run/DriverPaths.h"
#include "tools/engine-run/EngineRunMedia.h"
#include "platform/mfc/ExitSequence.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

namespace
{
const DWORD kPollMilliseconds = 100;

int PrintLogLine(int jobId, const char* text)
{
    fprintf(stderr, "[%d] %s", jobId, text);
    size_t length = strlen(text);
    if (length == 0 || text[length - 1] != '\n')
        fputc('\n', stderr);
    return 0;
}

std::string NumberedOutput(const std::string& output, int number)
{
    size_t separator = output.find_last_of("/\\");
    size_t dot = output.rfind('.');
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator))
        return output + "-" + std::to_string(number);
    return output.substr(0, dot) + "-" + std::to_string(number) + output.substr(dot);
}

bool CopyText(char* field, size_t capacity, const std::string& text)
{
    if (text.empty() || text.size() >= capacity)
        return false;
    memcpy(field, text.c_str(), text.size() + 1);
    return true;
}

// The job's source and output as the engine takes them, or a message why they cannot be.
bool FillPaths(JobSettings& settings, const std::string& source, const std::string& output, CString& created)
{
    if (!DriverSourcePath(source, settings.sourcePath, sizeof settings.sourcePath))
    {
        fprintf(stderr, "engine-run: %s: no such file, or its path is too long\n", source.c_str());
        return false;
    }
    if (!DriverOutputPath(output, settings.outputPath, sizeof settings.outputPath, &created))
    {
        fprintf(stderr, "engine-run: %s: the output cannot be created, or its path is too long\n", output.c_str());
        return false;
    }
    return true;
}

int Usage()
{
    fprintf(stderr, "usage: engine-run [--args \"ARGUMENT TEXT\"] [--parallel N] SOURCE OUTPUT\n");
    return 1;
}

bool IsFinished(EncoderState state)
{
    return state != kEncoderRunning && state != kEncoderPaused && state != kEncoderIdle;
}

int RunJobs(int argc, char** argv)
{
    std::string arguments;
    int parallel = 1;
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i)
    {
        if (!strcmp(argv[i], "--args") && i + 1 < argc)
            arguments = argv[++i];
        else if (!strcmp(argv[i], "--parallel") && i + 1 < argc)
            parallel = atoi(argv[++i]);
        else
            paths.push_back(argv[i]);
    }
    if (paths.size() != 2 || parallel < 1)
        return Usage();

    CThread::MarkWin32Thread();
    g_engineLogSink = PrintLogLine;
    std::vector<int> jobs;
    std::vector<CString> created; // outputs the driver created for the engine
    bool allStarted = true;
    for (int n = 1; n <= parallel; ++n)
    {
        std::unique_ptr<JobSettings> settings(new JobSettings());
        memset(settings.get(), 0, sizeof(JobSettings));
        std::string output = parallel > 1 ? NumberedOutput(paths[1], n) : paths[1];
        const bool argumentsFit =
            arguments.empty() || CopyText(settings->argumentText, sizeof(settings->argumentText), arguments);
        if (!argumentsFit)
            fprintf(stderr, "engine-run: the argument text does not fit the job settings\n");
        created.push_back(CString());
        if (!argumentsFit || !FillPaths(*settings, paths[0], output, created.back()))
        {
            allStarted = false;
            jobs.push_back(-1);
            continue;
        }
        int id = EngineCreateJob(settings.get());
        if (id < 0)
        {
            fprintf(stderr, "engine-run: the job for %s could not be created\n", output.c_str());
            allStarted = false;
        }
        jobs.push_back(id);
    }

    float lastProgress = -2.0f;
    for (;;)
    {
        bool running = false;
        float sum = 0.0f;
        for (int id : jobs)
        {
            CEncoder* job = id < 0 ? nullptr : EngineFindJob(id);
            if (!job)
            {
                sum += kProgressFailed;
                continue;
            }
            sum += job->GetProgress();
            running = running || !IsFinished(job->m_state);
        }
        float progress = sum / (float)jobs.size();
        if (progress != lastProgress && running)
        {
            printf("progress %.2f\n", progress);
            fflush(stdout);
            lastProgress = progress;
        }
        EngineFlushLog();
        if (!running)
            break;
        ::Sleep(kPollMilliseconds);
    }

    bool allDone = allStarted;
    for (int id : jobs)
    {
        CEncoder* job = id < 0 ? nullptr : EngineFindJob(id);
        EncoderState state = job ? (EncoderState)job->m_state : kEncoderFailed;
        float progress = job ? job->GetProgress() : kProgressFailed;
        printf("state %d progress %.2f\n", state, progress);
        allDone = allDone && state == kEncoderDone;
        if (id >= 0)
            EngineDestroyJob(id);
    }
    for (const CString& path : created)
        DriverRemoveIfEmpty(path);
    fflush(stdout);
    g_engineLogSink = nullptr;
    return allDone ? 0 : 1;
}
}

int main(int, char**)
{
    int result = 1;
    try
    {
        // The words as typed: the 8-bit ones main receives lose what the code page cannot spell.
        std::vector<std::string> words = DriverArguments();
        std::vector<char*> pointers;
        for (std::string& word : words)
            pointers.push_back(&word[0]);
        pointers.push_back(nullptr);
        const int argc = int(words.size());
        char** const argv = pointers.data();
        int media = RunMediaCommand(argc, argv);
        if (media >= 0)
            result = media;
        else
            result = IsProfileCommand(argc, argv) ? RunProfileCommand(argc, argv, PrintLogLine) : RunJobs(argc, argv);
    }
    catch (...)
    {
        fprintf(stderr, "engine-run: unexpected failure\n");
    }
    AfxRunExitHandlers();
    return result;
}
