// The driver's command line and paths: the words as typed (UTF-16 from the system, handed on in
// UTF-8, so that any file name survives), and paths turned into what the engine takes by the task
// manager's own route (the system code page, or else the short name every file has).
#pragma once

#include "platform/mfc/Mfc.h"

#include <string>
#include <vector>

// The words of the command line in UTF-8, the program's own first.
std::vector<std::string> DriverArguments();
// A command-line path as the Win32 path the program sees: a path beginning with "/" is a Unix
// path; any other is a Win32 path, a relative one taken from the current folder.
CString DriverWin32Path(const std::string& utf8Path);
// A file to read, for the engine's 8-bit interfaces; false when it has no name the engine takes.
bool DriverSourcePath(const std::string& utf8Path, char* buffer, int capacity);
// A file the engine is to write: its own name where the code page spells it or the file exists,
// else created empty (its Win32 path then goes to created) and named by its short name. False when
// it cannot be handed to the engine.
bool DriverOutputPath(const std::string& utf8Path, char* buffer, int capacity, CString* created = nullptr);
// Removes a file the driver created for the engine that stayed empty (a segmented or failed job).
void DriverRemoveIfEmpty(const CString& created);
// The long form of an 8-bit path the engine was given (a short name resolved), in UTF-8.
std::string DriverDisplayPath(const char* enginePath);
std::string Utf8(const CString& text);
CString FromUtf8(const std::string& text);
