// A 32-bit top-down DIB section selected into a memory DC, filled with one colour: tests draw
// into it and read the pixels back.
#pragma once

#include <windows.h>

#include <functional>

#include "RwTest.h"

namespace rwtest
{
struct DibCanvas
{
    int w, h;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    DWORD* bits = nullptr;
    DWORD fill;

    DibCanvas(int width, int height, DWORD fillColour) : w(width), h(height), fill(fillColour & 0xFFFFFF)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        dc = CreateCompatibleDC(nullptr);
        old = SelectObject(dc, bitmap);
        for (int i = 0; i < w * h; ++i)
            bits[i] = fill;
    }
    ~DibCanvas()
    {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    // The pixel as 0xRRGGBB.
    DWORD At(int x, int y)
    {
        GdiFlush();
        return bits[y * w + x] & 0xFFFFFF;
    }
    // Pixels that no longer hold the fill colour.
    int Painted()
    {
        GdiFlush();
        int n = 0;
        for (int i = 0; i < w * h; ++i)
            n += (bits[i] & 0xFFFFFF) != fill;
        return n;
    }
    // Compares every pixel with the expected 0xRRGGBB function; reports the first few differences.
    int Differences(const std::function<DWORD(int, int)>& expected)
    {
        GdiFlush();
        int differences = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if ((bits[y * w + x] & 0xFFFFFF) != (expected(x, y) & 0xFFFFFF) && ++differences <= 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << (bits[y * w + x] & 0xFFFFFF)
                                  << " expected " << (expected(x, y) & 0xFFFFFF) << std::dec;
        return differences;
    }
};
} // namespace rwtest
