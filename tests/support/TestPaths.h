// Where tests find the program folder, the generated media and scratch space.
#pragma once

#include <string>

namespace rwtest
{
// Unix paths (for FFmpeg and file checks from the test side).
std::string ProgramDir();
std::string MediaDir();
std::string Media(const std::string& name);
// A fresh, empty scratch folder for one test, below the build folder.
std::string ScratchDir(const std::string& name);
// The Unix folder of the running test program: the program folder the code under test sees.
std::string RunningProgramDir();
// A Unix path as the Win32 path the program sees (Z:\...), in UTF-8.
std::string ToWin32Path(const std::string& unixPath);
}
