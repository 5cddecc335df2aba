#include "app/shell/PreviewSession.h"

#include "app/core/ConvertTask.h"
#include "app/core/Helpers.h"
#include "app/core/VideoManager.h"
#include "engine/Engine.h"
#include "engine/preview/PlayerEvents.h"

#include <shlobj.h>

namespace
{
const LONGLONG kMicroseconds = 1000000;
const int kPercent = 100;
} // namespace

CPreviewSession::CPreviewSession(PreviewSettings* settings)
    : m_settings(settings), m_state(kStopped), m_previewId(0), m_playingTaskId(0)
{
}

bool CPreviewSession::PlayerExists()
{
    return g_playThread != nullptr;
}

ConvertTask* CPreviewSession::PlayingTask() const
{
    ConvertTask* task = nullptr;
    if (m_previewId <= 0 || !CVideoManager::FindTask(m_playingTaskId, &task))
        return nullptr;
    return task;
}

int CPreviewSession::PlayingSeconds() const
{
    ConvertTask* task = PlayingTask();
    return task ? static_cast<int>(task->m_mediaInfo.duration / kMicroseconds) : 0;
}

void CPreviewSession::ApplyAudio() const
{
    if (!PlayerExists())
        return;
    // The setting comes from the settings file too, where any number can stand.
    g_previewVolume = ClampVolume(m_settings->volume) * kEngineVolumeMax / kPercent;
    g_previewMute = m_settings->silent ? 1 : 0;
}

bool CPreviewSession::Start(int taskId, HWND video)
{
    ConvertTask* task = nullptr;
    if (!CVideoManager::FindTask(taskId, &task))
        return false;
    char path[kJobPathCapacity];
    if (!ToEnginePath(task->m_sourcePath, path, kJobPathCapacity))
        return false;
    const int id = EngineStartPreview(path, video);
    if (id <= 0)
        return false;
    m_previewId = id;
    m_playingTaskId = taskId;
    m_state = kPlaying;
    ApplyAudio();
    return true;
}

void CPreviewSession::Stop()
{
    if (m_previewId >= 1 && PlayerExists())
        EngineStopPreview();
    m_previewId = 0;
    m_playingTaskId = 0;
    m_state = kStopped;
}

bool CPreviewSession::Pause()
{
    if (!PlayerExists())
    {
        Stop();
        return false;
    }
    PlayerPushPause();
    m_state = kPaused;
    return true;
}

bool CPreviewSession::Resume()
{
    if (!PlayerExists())
    {
        Stop();
        return false;
    }
    PlayerPushResume();
    ApplyAudio();
    m_state = kPlaying;
    return true;
}

bool CPreviewSession::Seek(int seconds)
{
    if (m_previewId < 1 || !PlayerExists() || seconds < 0 || seconds > PlayingSeconds())
        return false;
    return PlayerPushSeek(seconds * kMicroseconds) == 0;
}

int CPreviewSession::PollPosition() const
{
    int64_t position = 0;
    if (m_previewId < 1 || EngineGetPreviewPosition(&position) < 0)
        return -1;
    const LONGLONG seconds = position / kMicroseconds;
    return seconds >= 0 && seconds < PlayingSeconds() ? static_cast<int>(seconds) : -1;
}

int CPreviewSession::ClampVolume(int percent)
{
    return percent < 0 ? 0 : (percent > kPercent ? kPercent : percent);
}

void CPreviewSession::SetVolume(int percent)
{
    m_settings->volume = ClampVolume(percent);
    if (m_previewId > 0 && PlayerExists())
        EngineSetPreviewVolume(m_settings->volume);
}

void CPreviewSession::SetSilent(bool silent)
{
    m_settings->silent = silent;
    if (m_previewId > 0 && PlayerExists())
        g_previewMute = silent ? 1 : 0;
}

CString CPreviewSession::PicturesFolder()
{
    WCHAR folder[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_MYPICTURES, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return CString();
    return folder;
}

CString CPreviewSession::SnapshotFolder()
{
    if (m_settings->snapshotPath.IsEmpty())
        m_settings->snapshotPath = PicturesFolder();
    return m_settings->snapshotPath;
}

bool CPreviewSession::EnsureFolder(const CString& path)
{
    if (path.IsEmpty())
        return false;
    if (FolderExists(path))
        return true;
    if (::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES)
        return false;
    CreateDirectoryPath(path);
    return FolderExists(path);
}

bool CPreviewSession::Snapshot()
{
    const CString folder = SnapshotFolder();
    if (!PlayingTask() || !EnsureFolder(folder))
        return false;
    return CVideoManager::TakeSnapshot(folder, m_playingTaskId);
}
