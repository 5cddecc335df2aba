// The task manager: owns every conversion task of the run in the task list's order, turns the
// user's commands into state changes and runs the scheduler that keeps at most g_maxTasks engine
// jobs converting at once. The window shell calls it on the UI thread only.
#pragma once

#include "app/core/ConvertTask.h"

#include <vector>

extern std::vector<ConvertTask*> g_tasks;
extern INT32 g_lastTaskId;
extern INT32 g_maxTasks;
// The "del_uncompleted" setting: delete the partial output of a stopped or removed job.
extern bool g_deleteUncompleted;

class CVideoManager
{
public:
    // The new task's id, or 0 when the file cannot be added (LastAddError says why).
    static int AddTask(const CString& displayName, const CString& sourcePath, const ConvertSetting& setting);
    // The language key of the reason the last AddTask refused a file.
    static CString LastAddError();
    static int FindTask(int taskId, ConvertTask** task);
    static int IndexOfTask(int taskId);
    static int ReorderTasks(const std::vector<int>& ids);
    static int RemoveTask(int taskId);
    static void RemoveAll();
    static int StartTasks(const CString& outputFolder, const std::vector<int>& ids);
    static int PauseTasks(const std::vector<int>& ids);
    static int StopTasks(const std::vector<int>& ids);
    static int Schedule(int startPosition);
    static int ScheduleFrom(int taskId);
    static bool EnforceMaxTasks();
    static int CountRunning();
    static bool AllFinished();
    static int PollProgress();
    static int AppendLog(int jobId, const WCHAR* text);
    static CString GetThumbnail(int taskId);
    // Asks the running preview to save its picture as "folder\name (n).bmp"; true when accepted.
    static bool TakeSnapshot(const CString& folder, int taskId);
    static int ProbeMediaInfo(const CString& sourcePath, TaskMediaInfo& info);
    static int DeleteTempFiles();
};
