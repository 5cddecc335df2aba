// Real mouse input for tests that run in a virtual desktop of their own (tools/wineprefix.sh):
// SendInput with the pointer placed exactly on a screen pixel.
#pragma once

#include <windows.h>

namespace rwtest
{
inline void SendMouse(DWORD flags, POINT at)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    // Wine maps x to (dx * width) >> 16: the smallest dx that lands exactly on the pixel.
    const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    input.mi.dx = (at.x * 65536 + width - 1) / width;
    input.mi.dy = (at.y * 65536 + height - 1) / height;
    ::SendInput(1, &input, sizeof input);
}
} // namespace rwtest
