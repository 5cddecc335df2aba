// The window of a screenshot program and its photograph: a top-level popup of a class registered
// for the program's window procedure, and its client area printed into a PNG file.
#pragma once

#include <windows.h>

#include <stdio.h>

#include <string>

#include "DibCanvas.h"
#include "PngWriter.h"
#include "SkinGallery.h"

namespace rwtest
{
// A hidden popup window at the screen's origin with the given client size.
inline HWND CreateShotWindow(LPCWSTR className, WNDPROC proc, LPCWSTR title, int width, int height)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    ::RegisterClassW(&wc);
    return ::CreateWindowExW(0, className, title, WS_POPUP, 0, 0, width, height, nullptr, nullptr, wc.hInstance,
                             nullptr);
}

// Answers the painting messages of a screenshot window with one drawing routine: WM_PAINT and
// WM_PRINTCLIENT draw, the background is never erased. True when the message was one of them, with
// the message's result.
inline bool HandlePaintMessage(HWND hwnd, UINT message, WPARAM wParam, void (*paint)(HWND, HDC), LRESULT* result)
{
    *result = 0;
    if (message == WM_PAINT)
    {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        paint(hwnd, dc);
        ::EndPaint(hwnd, &ps);
        return true;
    }
    if (message == WM_PRINTCLIENT)
    {
        paint(hwnd, reinterpret_cast<HDC>(wParam));
        return true;
    }
    if (message == WM_ERASEBKGND)
    {
        *result = 1;
        return true;
    }
    return false;
}

// Shows the window, lets it paint, and writes what it prints of its client area; says which file
// it wrote (or failed to write).
inline bool WriteClientPng(HWND hwnd, int width, int height, const std::string& path)
{
    ::ShowWindow(hwnd, SW_SHOW);
    ::UpdateWindow(hwnd);
    SkinGallery::Pump();
    DibCanvas canvas(width, height);
    PrintClient(hwnd, canvas);
    const RECT all = {0, 0, width, height};
    const bool ok = WritePng(path, canvas, all);
    printf("%s %s\n", ok ? "wrote" : "FAILED", path.c_str());
    return ok;
}
} // namespace rwtest
