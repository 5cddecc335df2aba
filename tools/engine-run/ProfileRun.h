// The driver's profile commands ("--list-profiles", "--profile NAME SOURCE OUTPUT-FOLDER").
#pragma once

bool IsProfileCommand(int argc, char** argv);
// The process exit code.
int RunProfileCommand(int argc, char** argv);
