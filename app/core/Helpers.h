// Small services shared by the task manager, the profile and language loaders, the update
// checker and the window shell: program folder, files and folders, size and time texts, the
// error list hand-off, context menus and the system shutdown. UI thread only.
#pragma once

#include "platform/mfc/Mfc.h"

#include <commctrl.h>

#include <vector>

CString GetAppDir();
CString BrowseForFolder();
CString LoadResString(UINT id);
// Fills the task list's status image list (16x16, bitmap resource 133, magenta transparent).
bool CreateStatusImageList(HIMAGELIST* list);
// False only when the file is certainly not there (any other failure counts as existing).
bool FileExists(const CString& path);
// True when the path names an existing folder.
bool FolderExists(const CString& path);
bool OpenFolderAndSelect(const CString& path);
// Appends every file below the folder; the number appended, -1 for an empty folder text, -2 when
// the listing fails.
int FindFilesRecursive(const CString& folder, std::vector<CString>& files);
void ShowPopupMenu(HWND owner, UINT menuId, int x, int y);
bool GetFileTimeText(const CString& path, CString& out);
CString FormatThousands(int value);
CString FormatFileSize(INT64 bytes);
CString FormatDuration(int seconds);
int AddErrorEntry(const CString& file, const CString& reason, CStringArray& entries);
void ShowErrorList(const CStringArray& entries);
void ShowErrorListDialog(const CString& title, const CString& heading, const CStringArray& entries);
void SplitAtChar(CString& first, CString& text, WCHAR separator);
int ShutdownSystem();
bool CreateDirectoryPath(const CString& path);
CString MakeTempFileName();
void SetHeaderItemText(int column, HWND header, const CString& text);
// The first name from the given 8-bit path on that names no file ("%s (%d)%s" with a counter
// before the extension), created empty at once and copied into the buffer. With segmented set, a
// name is also taken while a numbered segment of it exists ("name - *.ext"). The name's length,
// or kUniqueNameTooLong when the free name does not fit the buffer (a name is never cut), or
// kUniqueNameNotCreated when it cannot be created.
int MakeUniqueFileName(const char* path, char* buffer, int bufferSize, bool segmented = false);
// True when the name exists, or when a file matches the segment pattern ("name - *.ext"; none
// when empty).
bool OutputNameTaken(const CString& name, const CString& segmentPattern);
const int kUniqueNameTooLong = -1;
const int kUniqueNameNotCreated = -2;
int DeleteFolderTree(const CString& folder);

// The separator of an error list entry's file and reason.
const WCHAR kErrorEntrySeparator = L'|';

// The window shell provides the error list dialog and the menu translation; it registers them
// at start-up (tests register their own).
typedef void (*ErrorListHandler)(const CString& title, const CString& heading, const CStringArray& entries);
extern ErrorListHandler g_errorListHandler;
typedef BOOL (*MenuLocaliser)(HMENU menu);
extern MenuLocaliser g_menuLocaliser;
// The system shutdown call; tests replace it, because it would end the Wine session.
typedef BOOL(WINAPI* ExitWindowsFunction)(UINT flags, DWORD reason);
extern ExitWindowsFunction g_exitWindows;
