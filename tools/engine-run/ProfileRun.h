// The driver's profile commands ("--list-profiles", "--profile NAME SOURCE OUTPUT-FOLDER").
#pragma once

#include "engine/Engine.h"

bool IsProfileCommand(int argc, char** argv);
// The process exit code; the job's log lines go to the sink.
int RunProfileCommand(int argc, char** argv, EngineLogSink sink);
