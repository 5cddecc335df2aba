// The program's entry function: the framework runs the global application object. It lives
// in its own file so that only programs that enter at wWinMain take it in.
#include "platform/mfc/WinApp.h"

extern "C" int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show)
{
    return AfxWinMain(instance, previous, commandLine, show);
}
