// One conversion task of the task list: the source file, its media information, the task's own
// copy of its profile, where the output goes and what the engine reports about its job. Created,
// owned and destroyed by the task manager; the window shell reads and edits it by pointer.
#pragma once

#include "app/core/ConvertSetting.h"
#include "engine/JobSettings.h"
#include "platform/mfc/Mfc.h"

const int kTaskMediaTextSize = 32;

// The engine's media information of a source with every text widened to UTF-16.
struct TaskMediaInfo
{
    double duration; // microseconds, 0 when unknown
    INT64 fileSize;
    WCHAR container[kTaskMediaTextSize];
    INT32 hasVideo;
    WCHAR videoCodec[kTaskMediaTextSize];
    float frameRate;
    INT32 width;
    INT32 height;
    WCHAR pixelFormat[kTaskMediaTextSize];
    INT32 videoBitRate;
    INT32 hasAudio;
    WCHAR audioCodec[kTaskMediaTextSize];
    INT32 sampleRate;
    INT32 bitsPerSample;
    INT32 channels;
    WCHAR sampleFormat[kTaskMediaTextSize];
    INT32 audioBitRate;
    INT32 hasSubtitles;
    INT32 reserved;
    WCHAR subtitleCodec[kTaskMediaTextSize];
};

// Task states.
const int kTaskIdle = 0;
const int kTaskRunning = 1;
const int kTaskPaused = 2;
const int kTaskStopped = 4;
const int kTaskQueued = 8;
const int kTaskDone = 16;
const int kTaskFailed = 0xFFFF;

// Task subtitle modes.
const UINT kTaskSubtitleAuto = 0;
const UINT kTaskSubtitleKeep = 1;
const UINT kTaskSubtitleFile = 2;

class ConvertTask
{
public:
    ConvertTask();
    ConvertTask(const ConvertTask& other);
    ConvertTask& operator=(const ConvertTask& other);
    ~ConvertTask();

    // Fills the output path and argument text of the job settings for a job writing into the
    // folder, and takes the output name at once. 0, or -1 when a text cannot be handed to the
    // engine, the extension is not plain or no output name can be taken (the reason is appended
    // to the log text; the output path is then empty).
    int BuildJob(const CString& outputFolder);
    void PrepareSubtitle();
    INT64 EstimateOutputSize() const;

    INT32 m_id;
    INT32 m_snapshotCount;
    CString m_displayName;
    CString m_sourcePath;
    CString m_thumbnailPath;
    CString m_durationText;
    CString m_outputFolder;
    TaskMediaInfo m_mediaInfo;
    INT32 m_jobId;
    INT32 m_state;
    DWORD m_startClock; // GetTickCount when the current job was created
    float m_progress;
    JobSettings m_job;
    CString m_log;
    ConvertSetting m_setting;
    INT32 m_keepAspect;
    UINT m_subtitleMode;
    CString m_subtitleFile;
};

// folder + "\" + the display name without its extension + ".".
CString BuildOutputPath(const CString& folder, const CString& displayName);
// A file extension without its ".": ASCII letters and digits only, so that the output stays a
// plain file in the output folder.
bool IsPlainExtension(const CString& extension);
// Removes a "-s 0x0" marker (1), or fits the frame size option to the source's aspect with
// padding bands when the task keeps the aspect (0).
int ApplyLetterbox(CString& arguments, const ConvertTask& task);
// Puts a "-r" option in front of the argument text when the source runs faster than the rate the
// profile's device plays ("maxfps"): the source's rate divided by the smallest whole number that
// brings it within the limit (60 to 30, 50 to 25, 59.94 to 29.97). 1 when it added one, else 0.
int ApplyFrameRateLimit(CString& arguments, const ConvertTask& task);
// Converts to the system code page into a fixed buffer; false when a character has no form
// there (the text would name something else) or the text does not fit.
bool ToAnsiText(const CString& text, char* buffer, int capacity);
// A path as the engine's 8-bit interfaces take it: in the system code page, or else by the short
// alternate name that every existing file and folder has. False when neither fits.
bool ToEnginePath(const CString& path, char* buffer, int capacity);
// Creates a new empty file with the wide API (so that any name can be made) and gives the engine's
// spelling of it (ToEnginePath), which the engine then writes through. False, and nothing left
// behind, when the file exists already or cannot be made.
bool CreateForEngine(const CString& path, char* buffer, int capacity);
