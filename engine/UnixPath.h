// Turns the Win32 paths of the job settings into the Unix paths FFmpeg opens. Call on a Win32
// thread. A path that begins with "/" is a Unix path already and is kept.
#pragma once

#include <string>

// path: 8-bit text in the system ANSI code page. False when the path cannot be converted (for
// example when its folder does not exist).
bool EngineToUnixPath(const char* path, std::string* unixPath);
