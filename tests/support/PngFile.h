// Writes a rectangle of a DIB canvas as a PNG file: the screenshot programs' output.
#pragma once

#include <windows.h>

#include "uilib/foundation/LibPng.h"

#include "DibCanvas.h"

#include <stdio.h>

#include <memory>
#include <string>
#include <vector>

namespace rwtest
{
struct FileCloser
{
    void operator()(FILE* f) const
    {
        fclose(f);
    }
};

// Writes the canvas's rectangle as an 8-bit RGB PNG file.
inline bool WritePng(const std::string& path, const DibCanvas& canvas, const RECT& rc)
{
    std::unique_ptr<FILE, FileCloser> file(fopen(path.c_str(), "wb"));
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info)
    {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    int width = rc.right - rc.left, height = rc.bottom - rc.top;
    std::vector<png_byte> row(size_t(width) * 3);
    bool ok = false;
    if (!setjmp(png_jmpbuf(png)))
    {
        png_init_io(png, file.get());
        png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = rc.top; y < rc.bottom; ++y)
        {
            for (int x = rc.left; x < rc.right; ++x)
            {
                DWORD v = canvas.Rgb(x, y);
                png_byte* p = &row[size_t(x - rc.left) * 3];
                p[0] = png_byte(v >> 16);
                p[1] = png_byte(v >> 8);
                p[2] = png_byte(v);
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&png, &info);
    return ok;
}

} // namespace rwtest
