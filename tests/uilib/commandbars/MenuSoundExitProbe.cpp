// A console program for the menu sound player's exit test: requests the menu sounds, runs the exit
// sequence as the program's entry function does, and returns the exit code given on its command
// line, or a code of its own (90 and up) when the sound thread is still there.
#include "uilib/commandbars/MenuSoundPlayer.h"

#include <cstdlib>

namespace
{
enum Failure
{
    kNoThread = 90,
    kThreadLeft,
};

int Run()
{
    WVPMenuSoundPlayer()->RequestSound(CWVPMenuSoundPlayer::kPopupSound);
    WVPMenuSoundPlayer()->RequestSound(CWVPMenuSoundPlayer::kCommandSound);
    HANDLE thread = nullptr;
    if (!::DuplicateHandle(::GetCurrentProcess(), WVPMenuSoundPlayer()->GetThreadHandle(), ::GetCurrentProcess(),
                           &thread, SYNCHRONIZE, FALSE, 0))
        return kNoThread;
    AfxRunExitHandlers();
    const BOOL ended = ::WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
    ::CloseHandle(thread);
    return ended ? -1 : kThreadLeft;
}
} // namespace

int main(int argc, char** argv)
{
    const int code = argc > 1 ? std::atoi(argv[1]) : 0;
    const int failure = Run();
    AfxRunExitHandlers();
    return failure >= 0 ? failure : code;
}
