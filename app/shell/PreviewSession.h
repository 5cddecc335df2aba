#pragma once
// What the preview panel knows apart from its windows: which task the preview plays (kept by id
// and looked up, so that a removed task is never touched and a selection change never redirects
// the snapshot, the seek range or the end test to another file), the play state, the volume the
// user chose and the snapshot folder. All on the UI thread.
#include "platform/mfc/Mfc.h"

class ConvertTask;

// The settings the preview reads and writes ("voice_volume", "voice_enable", "snap_path").
struct PreviewSettings
{
    int volume = 100;     // percent
    bool silent = true;   // "voice_enable": true plays without sound
    CString snapshotPath; // empty: the user's pictures folder
};

class CPreviewSession
{
  public:
    enum State
    {
        kStopped = 0,
        kPlaying = 1,
        kPaused = 2,
    };
    static const int kEngineVolumeMax = 128;

    explicit CPreviewSession(PreviewSettings* settings);

    // Starts the preview of a task in the window; false (nothing changes) when the task does not
    // exist or the engine refuses.
    bool Start(int taskId, HWND video);
    void Stop();
    // Pause or resume; false when the engine's player has gone (the session is then stopped).
    bool Pause();
    bool Resume();
    // Seek to a whole second of the playing file.
    bool Seek(int seconds);
    // The played position in whole seconds; -1 when the player has none or the end of the
    // playing task's range is reached (the caller then stops).
    int PollPosition() const;

    // The volume slider: always stored, handed to the player when one runs.
    void SetVolume(int percent);
    // A volume held to 0 ... 100 percent.
    static int ClampVolume(int percent);
    void SetSilent(bool silent);
    // Writes the picture of the playing task into the snapshot folder, which is created when it
    // is missing; false when nothing plays, the folder cannot be made or the player refuses.
    bool Snapshot();
    // The folder snapshots go to: the setting, or the pictures folder (then stored).
    CString SnapshotFolder();

    State GetState() const
    {
        return m_state;
    }
    int PreviewId() const
    {
        return m_previewId;
    }
    int PlayingTaskId() const
    {
        return m_playingTaskId;
    }
    // The playing task, looked up now; null when nothing plays or it was removed.
    ConvertTask* PlayingTask() const;
    // Whole seconds of the playing task's duration (0 when none).
    int PlayingSeconds() const;

    // A folder exists afterwards (created with its missing parents); false when it cannot be
    // made or the path names a file.
    static bool EnsureFolder(const CString& path);
    static CString PicturesFolder();
    static bool PlayerExists();

  private:
    void ApplyAudio() const;

    PreviewSettings* m_settings;
    State m_state;
    int m_previewId;
    int m_playingTaskId;
};
