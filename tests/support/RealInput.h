// Real keyboard and mouse input (SendInput) for tests that run in a virtual desktop of their own:
// only there does the input reliably reach the foreground window and the thread's hooks.
#pragma once

#include <windows.h>

namespace rwtest
{
// A key pressed and released.
inline void SendKey(UINT vk)
{
    INPUT input[2] = {};
    for (INPUT& in : input)
    {
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = WORD(vk);
        in.ki.wScan = WORD(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    }
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, input, sizeof(INPUT));
}

// The pointer moved to the screen point, with the button flags given (0 for a plain move).
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
