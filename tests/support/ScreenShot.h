// Photographs a part of the screen into a PNG file: the screenshot programs save what a person is
// to look at with it.
#pragma once

#include <windows.h>

#include "DibCanvas.h"
#include "PngWriter.h"

#include <stdio.h>

#include <string>

namespace rwtest
{
// The screen's pixels inside the rectangle (screen coordinates, cut to the screen) into "path".
inline bool ShootScreenRect(RECT rect, const std::string& path)
{
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    DibCanvas screen(width, height);
    HDC dc = ::GetDC(nullptr);
    ::BitBlt(screen.dc(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
    ::ReleaseDC(nullptr, dc);
    ::GdiFlush();
    const RECT all = {0, 0, width, height};
    ::IntersectRect(&rect, &rect, &all);
    const bool written = WritePng(path, screen, rect);
    printf("%s %s\n", written ? "wrote" : "could not write", path.c_str());
    return written;
}
} // namespace rwtest
