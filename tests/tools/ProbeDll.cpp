// A minimal DLL: proves that our DLL targets load by full path and export by name.
#include <windows.h>

extern "C" int WINAPI ProbeAnswer()
{
    return 4242;
}
