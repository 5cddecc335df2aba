// The pictures of a four-state button strip (normal, hot, pressed, disabled side by side, square
// states on a magenta background) compared with what a button shows: the preview panel's tests and
// screenshot checks use it.
#pragma once

#include <windows.h>

#include "DibCanvas.h"

namespace rwtest
{
const COLORREF kStripMask = RGB(255, 0, 255);

// Pixels of `shown` (a button's square picture) that differ from state `state` (0 normal, 1 hot,
// 2 pressed, 3 disabled) of the strip resource: the strip's own pixels exactly, and anything but
// magenta where the strip is magenta. -1 when the resource cannot be loaded.
inline int StripStateDifferences(const DibCanvas& shown, int bitmap, int state)
{
    const int size = shown.width();
    HBITMAP strip = static_cast<HBITMAP>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmap), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!strip)
        return -1;
    DibCanvas expected(size, size);
    HDC memory = ::CreateCompatibleDC(expected.dc());
    HGDIOBJ old = ::SelectObject(memory, strip);
    ::BitBlt(expected.dc(), 0, 0, size, size, memory, state * size, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(strip);
    int differences = 0;
    for (int y = 0; y < size && y < shown.height(); ++y)
        for (int x = 0; x < size; ++x)
        {
            const COLORREF want = expected.At(x, y);
            differences += want == kStripMask ? shown.At(x, y) == kStripMask : shown.At(x, y) != want;
        }
    return differences;
}
} // namespace rwtest
