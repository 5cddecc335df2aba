// The user's persistent choices and their file "Reelwright.xml" in the program folder: defaults,
// loading (with validation), saving in a fixed element order. Held by the application object;
// changes live in memory and are written at start-up when needed and at shutdown. UI thread only.
#pragma once

#include "platform/mfc/Mfc.h"

class UpdateManager;

struct AppSettings
{
    bool showmenu = false;
    bool istray = false;
    bool autoupdate = false;
    CString snap_path;
    bool del_uncompleted = false;
    bool background = false;
    INT32 action_completed = 0;
    INT32 max_tasks = 0;
    bool voice_enable = false;
    INT32 voice_volume = 0;
    CString skinstyle;
    INT32 skincolor = 0;
    CString language;
    CString output_path;
    CString param_sel;
    RECT mainwndpos = {0, 0, 0, 0};
    INT32 mainwndstate = 0;
};

// The settings file's limits and names.
const INT32 kMinTasks = 1;
const INT32 kMaxTasks = 9;
const INT32 kMaxSkinColor = 8;

// Program folder + "Reelwright.xml".
CString GetSettingsPath(const CString& programDir);
// The user's video folder, else the documents folder, else the program folder.
CString GetDefaultMediaFolder(const CString& programDir);
void SetDefaultSettings(AppSettings& settings, const CString& programDir);
// True when the file was read. A file that exists but cannot be parsed is moved aside to
// "Reelwright.xml.bad" (kept for the user) so that the defaults written next replace nothing.
bool LoadSettings(AppSettings& settings, UpdateManager& update, const CString& programDir);
bool ValidateSettings(AppSettings& settings);
// Applies the loaded settings to the engine, the task manager and the update manager.
void ApplySettings(const AppSettings& settings, UpdateManager& update);
bool SaveSettings(const AppSettings& settings, const UpdateManager& update, const CString& programDir);
