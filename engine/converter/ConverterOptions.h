// The converter's option table, its global option state and the handlers that open the input
// files and create the output files with their streams while a command line is parsed.
// Everything here runs with g_optionParserLock held.
#pragma once

#include <string>

struct TranscodeContext;

void ResetOptionDefaults();
void FreeOptionState();
int SetDefaultOption(const char* name, const char* value);
void SetContextOptions(void* optionContext, void* target, int mask);
void OpenInputFile(const char* fileName);
void OpenOutputFile(const char* fileName);
int MoveOptionsToContext(TranscodeContext* context);

// A path as FFmpeg needs it: Win32 paths (drive letter or backslashes) become Unix paths.
std::string ConverterUnixPath(const char* path);
